// THRBox: the horizontal rule dialog (Horizontal Rule): alignment, clear, size, width and shading of an
// HR tag.
#pragma once

#include "core/markup/DialogRule.h"

#include <QDialog>

#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class THRBox : public QDialog {
    Q_OBJECT
public:
    explicit THRBox(QWidget *Parent = nullptr);

    QComboBox *AlignCombo = nullptr, *ClearCombo = nullptr;
    QLineEdit *SizeEdit = nullptr, *WidthEdit = nullptr;
    QCheckBox *NoShadeCheck = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;

    THRFields Fields() const;
};

// Runs the rule dialog once; the HR tag when it closed with OK.
std::optional<std::string> ExecHRBox(QWidget *Parent);
