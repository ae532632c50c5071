// TCellProperty: the cell properties dialog of the table designer.
#include "ui/dialogs/CellPropertiesDialog.h"

#include "ui/dialogs/DialogParts.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TCellProperty::TCellProperty(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("CellProperty");
    HAlignCombo = NewEditableCombo(this, "HAlignCombo", {"left", "center", "right"});
    VAlignCombo = NewEditableCombo(this, "VAlignCombo", {"top", "center", "bottom", ""});
    TextEdit = NewEdit(this, "TextEdit");
    NoWrapCheck = new QCheckBox("NoWrap", this);
    NoWrapCheck->setObjectName("NoWrapCheck");
    const TDialogButtons buttons = NewDialogButtons(*this, nullptr);
    OKBtn = buttons.OK;
    CancelBtn = buttons.Cancel;
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto *form = new QFormLayout;
    form->addRow("Horizontal Alignment", HAlignCombo);
    form->addRow("Vertical Alignment", VAlignCombo);
    form->addRow("Text", TextEdit);
    form->addRow(NoWrapCheck);
    auto *row = NewButtonRow({OKBtn, CancelBtn});
    auto *main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(row);
}
