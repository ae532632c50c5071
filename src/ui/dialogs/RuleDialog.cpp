// THRBox: the horizontal rule dialog.
#include "ui/dialogs/RuleDialog.h"

#include "platform/DialogExec.h"
#include "ui/dialogs/DialogParts.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

THRBox::THRBox(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("HRBox");
    setWindowTitle("Horizontal Rule");
    AlignCombo = NewEditableCombo(this, "AlignCombo");
    for (const char *align : HRAlignments)
        AlignCombo->addItem(QString::fromLatin1(align));
    AlignCombo->setCurrentIndex(0);
    ClearCombo = NewEditableCombo(this, "ClearCombo");
    for (const char *clear : ClearValues)
        ClearCombo->addItem(QString::fromLatin1(clear));
    ClearCombo->setCurrentIndex(-1);
    ClearCombo->setEditText(QString());
    SizeEdit = NewEdit(this, "SizeEdit");
    WidthEdit = NewEdit(this, "WidthEdit");
    NoShadeCheck = new QCheckBox("NOSHADE", this);
    NoShadeCheck->setObjectName("NoShadeCheck");
    const TDialogButtons buttons = NewDialogButtons(*this, "hr");
    OKBtn = buttons.OK;
    CancelBtn = buttons.Cancel;
    HelpBtn = buttons.Help;
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto *form = new QFormLayout;
    form->addRow("Alignment", AlignCombo);
    form->addRow("Clear", ClearCombo);
    form->addRow("Size", SizeEdit);
    form->addRow("Width (abs. or %)", WidthEdit);
    form->addRow(NoShadeCheck);
    auto *row = NewButtonRow({OKBtn, CancelBtn, HelpBtn});
    auto *main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(row);
}

THRFields THRBox::Fields() const
{
    THRFields f;
    f.Align = ComboText(*AlignCombo);
    f.Clear = ComboText(*ClearCombo);
    f.Size = EditText(*SizeEdit);
    f.Width = EditText(*WidthEdit);
    f.NoShade = NoShadeCheck->isChecked();
    return f;
}

std::optional<std::string> ExecHRBox(QWidget *Parent)
{
    THRBox box(Parent);
    if (ExecDialog(box) != QDialog::Accepted)
        return std::nullopt;
    return ComposeHRTag(box.Fields());
}
