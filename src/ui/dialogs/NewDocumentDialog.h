// TNewDocDlg: the new document options dialog: which skeleton elements a new document starts with, its
// title, base address and comment lines.
#pragma once

#include "core/markup/NewDocument.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "New HTML Document": starts from the same state every time and remembers nothing.
class TNewDocDlg : public QDialog {
    Q_OBJECT
public:
    explicit TNewDocDlg(QWidget *Parent = nullptr);

    // The fields as the new-document command reads them (the memo's lines as typed, empty ones
    // included: the skeleton skips them).
    TNewDocOptions Options() const;

    QCheckBox *HTMLCheckBox = nullptr;
    QCheckBox *BODYCheckBox = nullptr;
    QCheckBox *HEADCheckBox = nullptr;
    QCheckBox *AuthorCheckBox = nullptr;
    QLineEdit *TitleEdit = nullptr;
    QLineEdit *URLEdit = nullptr;
    QPlainTextEdit *CommentMemo = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *HelpButton = nullptr;

    void HelpButtonClick();
};
