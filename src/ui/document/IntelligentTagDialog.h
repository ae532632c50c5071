// TIntelliTagDlg: the Intelligent Tag Insert dialog, which lines to find and where to put the tags.
#pragma once

#include "core/markup/TextTransform.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Intelligent Tag Insert": starts from the same state every time and remembers nothing.
class TIntelliTagDlg : public QDialog {
    Q_OBJECT
public:
    explicit TIntelliTagDlg(QWidget *Parent = nullptr);

    // The choices as the command reads them (texts as typed, bytes of the code page).
    TIntelliTagCriteria Criteria() const;

    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *StartingWith = nullptr, *Containing = nullptr, *EndingWith = nullptr;
    QLineEdit *SearchFor = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QRadioButton *StartOfLine = nullptr, *EndOfLine = nullptr, *Both = nullptr;
    QLineEdit *FirstTag = nullptr, *SecondTag = nullptr;
    QCheckBox *CaseSensitive = nullptr, *RequireConfirmation = nullptr;
    QPushButton *BitBtn1 = nullptr;       // Help
    QPushButton *BitBtn2 = nullptr;       // OK
    QPushButton *CancelButton = nullptr;
};
