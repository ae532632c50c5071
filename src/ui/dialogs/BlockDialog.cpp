// TPBox: the block element dialog.
#include "ui/dialogs/BlockDialog.h"

#include "platform/DialogExec.h"
#include "platform/TextCodec.h"
#include "ui/dialogs/DialogParts.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TPBox::TPBox(const QString &Caption, const std::string &Element, QWidget *Parent)
    : QDialog(Parent), FElement(Element)
{
    setObjectName("PBox");
    setWindowTitle(Caption);
    AlignCombo = NewEditableCombo(this, "AlignCombo");
    for (const char *align : BlockAlignments)
        AlignCombo->addItem(QString::fromLatin1(align));
    AlignCombo->setCurrentIndex(0);
    ClassCombo = NewEditableCombo(this, "ClassCombo");
    for (const char *cls : BlockClasses)
        ClassCombo->addItem(QString::fromLatin1(cls));
    ClassCombo->setCurrentIndex(-1);
    ClassCombo->setEditText(QString());
    ClearCombo = NewEditableCombo(this, "ClearCombo");
    for (const char *clear : ClearValues)
        ClearCombo->addItem(QString::fromLatin1(clear));
    ClearCombo->setCurrentIndex(-1);
    ClearCombo->setEditText(QString());
    NoWrapCheck = new QCheckBox("NOWRAP", this);
    NoWrapCheck->setObjectName("NoWrapCheck");
    EndCheck = new QCheckBox(this);
    EndCheck->setObjectName("EndCheck");
    EndCheck->setChecked(true);
    // A check box shows "&" as a mnemonic marker; the end tag holds none.
    EndCheck->setText(BytesToQString(BlockEndCheckCaption(Element)).replace("&", "&&"));
    const TDialogButtons buttons = NewDialogButtons(*this, "paragraph");
    OKBtn = buttons.OK;
    CancelBtn = buttons.Cancel;
    HelpBtn = buttons.Help;
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto *form = new QFormLayout;
    form->addRow("Alignment", AlignCombo);
    form->addRow("Class", ClassCombo);
    form->addRow("Clear", ClearCombo);
    form->addRow(NoWrapCheck);
    form->addRow(EndCheck);
    auto *row = NewButtonRow({OKBtn, CancelBtn, HelpBtn});
    auto *main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(row);
}

TBlockFields TPBox::Fields() const
{
    TBlockFields f;
    f.Element = FElement;
    f.Align = ComboText(*AlignCombo);
    f.Class = ComboText(*ClassCombo);
    f.Clear = ComboText(*ClearCombo);
    f.NoWrap = NoWrapCheck->isChecked();
    f.EndTag = EndCheck->isChecked();
    return f;
}

std::optional<TBlockResult> ExecPBox(QWidget *Parent, const QString &Caption, const std::string &Element)
{
    TPBox box(Caption, Element, Parent);
    if (ExecDialog(box) != QDialog::Accepted)
        return std::nullopt;
    const TBlockFields f = box.Fields();
    TBlockResult result{ComposeBlockStartTag(f), std::nullopt};
    if (f.EndTag)
        result.End = ComposeEndTag(Element);
    return result;
}
