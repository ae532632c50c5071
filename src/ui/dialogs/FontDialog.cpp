// TFontDlg: the font dialog and its colour swatch.
#include "ui/dialogs/FontDialog.h"

#include "platform/DialogExec.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/settings/PreferencesDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

TColorSwatch::TColorSwatch(QWidget *Parent) : QWidget(Parent)
{
    setObjectName("Shape1");
    setMinimumSize(sizeHint());
}

void TColorSwatch::SetColor(const QColor &Color)
{
    FColor = Color;
    update();
}

void TColorSwatch::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), FColor);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

TFontDlg::TFontDlg(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("FontDlg");
    setWindowTitle("Font");
    SizeGroup = new QGroupBox("Size", this);
    SizeGroup->setObjectName("SizeGroup");
    SizeLabel = new QLabel("Enter size (1-7 or +/- relative to basefont):", SizeGroup);
    SizeLabel->setObjectName("SizeLabel");
    Edit1 = NewEdit(SizeGroup, "Edit1");
    SizeLabel->setBuddy(Edit1);
    ColorGroup = new QGroupBox("Color", this);
    ColorGroup->setObjectName("ColorGroup");
    ColorEdit = NewEdit(ColorGroup, "ColorEdit");
    Shape1 = new TColorSwatch(ColorGroup);
    OKButton = NewButton(ColorGroup, "OKButton", "&Choose...");
    Button2 = NewButton(this, "Button2", "OK");
    Button2->setDefault(true);
    Button3 = NewButton(this, "Button3", "Cancel");

    auto *size = new QVBoxLayout(SizeGroup);
    size->addWidget(SizeLabel);
    size->addWidget(Edit1);
    auto *color = new QHBoxLayout(ColorGroup);
    color->addWidget(ColorEdit, 1);
    color->addWidget(Shape1);
    color->addWidget(OKButton);
    auto *row = NewButtonRow({Button2, Button3});
    auto *main = new QVBoxLayout(this);
    main->addWidget(SizeGroup);
    main->addWidget(ColorGroup);
    main->addLayout(row);

    connect(OKButton, &QPushButton::clicked, this, [this] { Guarded([this] { OKButtonClick(); }); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

void TFontDlg::OKButtonClick()
{
    QColor color(Qt::black);
    QString text;
    PickColor(color, text);
    ColorEdit->setText(text);
    Shape1->SetColor(color);
}

TFontFields TFontDlg::Fields(const std::string &Element) const
{
    TFontFields f;
    f.Element = Element;
    f.Size = EditText(*Edit1);
    f.Color = EditText(*ColorEdit);
    return f;
}

std::optional<std::pair<std::string, std::string>> ExecFontDlg(QWidget *Parent, const std::string &Element,
                                                                const QString &Caption, const QString &SizeLabel)
{
    TFontDlg dlg(Parent);
    if (!Caption.isEmpty())
        dlg.setWindowTitle(Caption);
    if (!SizeLabel.isEmpty())
        dlg.SizeLabel->setText(SizeLabel);
    if (ExecDialog(dlg) != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(ComposeFontStartTag(dlg.Fields(Element)), ComposeEndTag(Element));
}
