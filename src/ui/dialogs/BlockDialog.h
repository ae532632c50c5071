// TPBox: the block element dialog (paragraphs, divisions and headings with options): alignment, class,
// clear, no-wrap and whether the end tag goes in too.
#pragma once

#include "core/markup/DialogRule.h"

#include <QDialog>

#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QPushButton;

class TPBox : public QDialog {
    Q_OBJECT
public:
    // Caption such as "Paragraph"; Element such as "P", "DIV" or "H1", which also names the
    // end-tag check box ("</P>").
    TPBox(const QString &Caption, const std::string &Element, QWidget *Parent = nullptr);

    QComboBox *AlignCombo = nullptr, *ClassCombo = nullptr, *ClearCombo = nullptr;
    QCheckBox *NoWrapCheck = nullptr, *EndCheck = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;

    TBlockFields Fields() const;

private:
    std::string FElement;
};

// The markup the block dialog gives: the start tag, and the end tag when its box was checked
// (empty otherwise: the start tag goes in alone).
struct TBlockResult {
    std::string Start;
    std::optional<std::string> End;
};

// Runs the block element dialog once; its tags when it closed with OK.
std::optional<TBlockResult> ExecPBox(QWidget *Parent, const QString &Caption, const std::string &Element);
