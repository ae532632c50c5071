// TTBackgroundBox: the body colors dialog, its colour grid and its sample.
#include "ui/dialogs/BodyColorsDialog.h"

#include "platform/DialogExec.h"
#include "platform/FileNameCase.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/dialogs/DialogParts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kCellSize = 24;

QColor ToQColor(TColor C)
{
    return QColor(C.R, C.G, C.B);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Colour grid

TBodyColorGrid::TBodyColorGrid(QWidget *Parent) : QWidget(Parent)
{
    setObjectName("ColorGrid1");
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TBodyColorGrid::SetForegroundIndex(int Index)
{
    if (Index < 0 || Index > 15 || Index == FForeground)
        return;
    FForeground = Index;
    update();
}

void TBodyColorGrid::SetBackgroundIndex(int Index)
{
    if (Index < 0 || Index > 15 || Index == FBackground)
        return;
    FBackground = Index;
    update();
}

QColor TBodyColorGrid::CellColor(int Index)
{
    return ToQColor(ColorIndexToColor(Index));
}

QRect TBodyColorGrid::CellRect(int Index) const
{
    const int w = width() / 4, h = height() / 4;
    return QRect((Index % 4) * w, (Index / 4) * h, w, h);
}

int TBodyColorGrid::CellAt(const QPoint &Pos) const
{
    for (int i = 0; i < 16; ++i)
        if (CellRect(i).contains(Pos))
            return i;
    return -1;
}

QSize TBodyColorGrid::sizeHint() const
{
    return QSize(4 * kCellSize, 4 * kCellSize);
}

void TBodyColorGrid::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    for (int i = 0; i < 16; ++i) {
        const QRect r = CellRect(i);
        const QColor c = CellColor(i);
        p.fillRect(r, c);
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        QString mark;
        if (i == FForeground)
            mark += "FG";
        if (i == FBackground)
            mark = (i == FForeground) ? QString("FB") : QString("BG");
        if (!mark.isEmpty()) {
            // The mark in the colour that stands out from the cell.
            p.setPen(c.lightness() > 128 ? Qt::black : Qt::white);
            p.drawText(r, Qt::AlignCenter, mark);
        }
    }
}

void TBodyColorGrid::mousePressEvent(QMouseEvent *E)
{
    const int cell = CellAt(E->position().toPoint());
    if (cell < 0)
        return;
    if (E->button() == Qt::LeftButton)
        FForeground = cell;
    else if (E->button() == Qt::RightButton)
        FBackground = cell;
    else
        return;
    update();
    emit Change();
}

// ---------------------------------------------------------------------------------------------
// Sample

TBodySample::TBodySample(const TBodyColors &Colors, QWidget *Parent) : QWidget(Parent), FColors(Colors)
{
    setObjectName("PaintBox1");
    setMinimumSize(sizeHint());
}

QSize TBodySample::sizeHint() const
{
    return QSize(260, 100);
}

void TBodySample::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor background = ToQColor(FColors.Choice(TBodyElement::Background).Color);
    p.fillRect(rect(), background);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setUnderline(false);
    p.setFont(font);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(background);
    const int ascent = p.fontMetrics().ascent();
    auto write = [&](int y, TBodyElement element, const char *text) {
        p.setPen(ToQColor(FColors.Choice(element).Color));
        p.drawText(10, y + ascent, QString::fromLatin1(text));
    };
    write(10, TBodyElement::Text, "This is the text color.");
    font.setUnderline(true);
    p.setFont(font);
    write(30, TBodyElement::Link, "This is a link");
    write(50, TBodyElement::VisitedLink, "This is a Visited Link");
    write(70, TBodyElement::ActiveLink, "This is an Active Link");
}

// ---------------------------------------------------------------------------------------------
// Dialog

TTBackgroundBox::TTBackgroundBox(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("TBackgroundBox");
    setWindowTitle("BODY (Background Colors)");

    ColorGrid1 = new TBodyColorGrid(this);
    ColorGrid1->SetForegroundIndex(Colors.GridForeground());
    ColorGrid1->SetBackgroundIndex(Colors.GridBackground());
    auto radio = [this](const char *name, const char *text) {
        auto *r = new QRadioButton(QString::fromLatin1(text), this);
        r->setObjectName(name);
        return r;
    };
    TextRadio = radio("TextRadio", "Text");
    LinkRadio = radio("LinkRadio", "Link");
    VLinkRadio = radio("VLinkRadio", "Visited Link");
    ALinkRadio = radio("ALinkRadio", "Active Link");
    TextRadio->setChecked(true);
    PaintBox1 = new TBodySample(Colors, this);
    ImagePathEdit = NewEdit(this, "ImagePathEdit");
    BrowseBtn = NewButton(this, "BrowseBtn", "Browse");
    EndTagCheck = new QCheckBox("Include </BODY> tag", this);
    EndTagCheck->setObjectName("EndTagCheck");
    const TDialogButtons buttons = NewDialogButtons(*this, "body", "OkButton");
    OkButton = buttons.OK;
    CancelBtn = buttons.Cancel;
    HelpBtn = buttons.Help;

    auto *top = new QHBoxLayout;
    auto *gridColumn = new QVBoxLayout;
    gridColumn->addWidget(ColorGrid1);
    for (const char *text : {"Use right mouse button", "to select background color.", "Use left mouse button to",
                             "select others."})
        gridColumn->addWidget(new QLabel(QString::fromLatin1(text), this));
    gridColumn->addStretch();
    top->addLayout(gridColumn);
    auto *radios = new QVBoxLayout;
    for (QRadioButton *r : {TextRadio, LinkRadio, VLinkRadio, ALinkRadio})
        radios->addWidget(r);
    radios->addStretch();
    top->addLayout(radios);
    top->addWidget(PaintBox1, 1);
    auto *image = new QHBoxLayout;
    auto *imageLabel = new QLabel("Background Image", this);
    imageLabel->setBuddy(ImagePathEdit);
    image->addWidget(imageLabel);
    image->addWidget(ImagePathEdit, 1);
    image->addWidget(BrowseBtn);
    auto *row = new QHBoxLayout;
    row->addWidget(EndTagCheck);
    row->addStretch();
    row->addWidget(OkButton);
    row->addWidget(CancelBtn);
    row->addWidget(HelpBtn);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(image);
    main->addLayout(row);

    connect(ColorGrid1, &TBodyColorGrid::Change, this, &TTBackgroundBox::ColorGrid1Change);
    connect(TextRadio, &QRadioButton::clicked, this, [this] { RadioClick(TBodyElement::Text); });
    connect(LinkRadio, &QRadioButton::clicked, this, [this] { RadioClick(TBodyElement::Link); });
    connect(VLinkRadio, &QRadioButton::clicked, this, [this] { RadioClick(TBodyElement::VisitedLink); });
    connect(ALinkRadio, &QRadioButton::clicked, this, [this] { RadioClick(TBodyElement::ActiveLink); });
    connect(BrowseBtn, &QPushButton::clicked, this, [this] { Guarded([this] { BrowseBtnClick(); }); });
    connect(OkButton, &QPushButton::clicked, this, &TTBackgroundBox::OkButtonClick);
}

void TTBackgroundBox::ColorGrid1Change()
{
    Colors.GridChange(ColorGrid1->ForegroundIndex(), ColorGrid1->BackgroundIndex());
    PaintBox1->update();
}

void TTBackgroundBox::RadioClick(TBodyElement Element)
{
    Colors.SelectElement(Element);
    ColorGrid1->SetForegroundIndex(Colors.GridForeground());
}

void TTBackgroundBox::BrowseBtnClick()
{
    TFileDialogRequest request;
    request.Filter = "GIF Images (*.gif)|*.gif|JPEG Images (*.jpg)|*.jpg|All files (*.*)|*.*";
    if (!Prompt().OpenFile(request))
        return;
    SetEditText(*ImagePathEdit, BodyImageFromBrowse(QStringToBytes(request.FileName), MayLowerFileName(request.FileName)));
}

void TTBackgroundBox::OkButtonClick()
{
    ResultText = Colors.ComposeTag(EditText(*ImagePathEdit));
    accept();
}

std::optional<TBodyResult> ExecBackgroundBox(QWidget *Parent)
{
    TTBackgroundBox box(Parent);
    if (ExecDialog(box) != QDialog::Accepted)
        return std::nullopt;
    return TBodyResult{box.ResultText, box.EndTagCheck->isChecked()};
}
