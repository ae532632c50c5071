// The buttons of the four fixed speed bars and their handlers: main-window commands, the active
// document's menu commands, markup and tag pairs, the simple tags and the character buttons.
#include "ui/app/SpeedBars.h"

#include "core/markup/Entities.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <array>

namespace {

using A = TSpeedAction;
using P = TSpeedPicture;

constexpr const char *kHRHint = "Horizontal Rule|Horizontal Rule (Hold down Shift key for <HR> with options)";

const std::array<TSpeedButtonInfo, 20> kStandardButtons = {{
    {"NewBtn", "", "New", A::MainCommand, "FileNewItem", "", P::New},
    {"OpenBtn", "", "Open", A::MainCommand, "FileOpenItem", "", P::Open},
    {"SaveBtn", "", "Save", A::MainCommand, "FileSaveItem", "", P::Save},
    {"CutButton", "", "Cut", A::MenuCommand, "Cut1", "", P::Cut},
    {"CopyButton", "", "Copy", A::MenuCommand, "Copy1", "", P::Copy},
    {"PasteButton", "", "Paste", A::MenuCommand, "Paste1", "", P::Paste},
    {"UndoButton", "", "Undo", A::MenuCommand, "Undo1", "", P::Undo},
    {"ParagraphButton", "P", "Paragraph (Hold down Shift key for <P> with options)", A::MenuCommand, "Paragraph1"},
    {"SpeedButton8", "HR", kHRHint, A::MenuCommand, "HardRule1"},
    {"SpeedButton9", "BR", "Line Break", A::MenuCommand, "LineBreak1"},
    {"SpeedButton10", "Title", "Document Title", A::MenuCommand, "Title1"},
    {"SpeedButton11", "Link", "Link to an URL", A::MenuCommand, "Link2"},
    {"ImageButton", "Image", "Inline Image", A::MenuCommand, "Image1"},
    {"SpeedButton13", "U List", "Unordered List", A::MenuCommand, "UnorderedList1"},
    {"SpeedButton14", "D List", "Definition List", A::MenuCommand, "DefinitionList1"},
    {"SpeedButton15", "B", "Bold", A::MenuCommand, "Bold1"},
    {"SpeedButton16", "i", "Italic", A::MenuCommand, "Italic1"},
    {"SpeedButton17", "Center", "Center", A::MenuCommand, "Center1"},
    {"TestButton", "Test", "Test", A::MainCommand, "TestHTMLDocument1"},
    {"ExitBtn", "", "Exit", A::MainCommand, "FileExitItem", "", P::Exit},
}};

const std::array<TSpeedButtonInfo, 24> kCommonButtons = {{
    {"SpeedButton24", "H1", "Heading Style 1", A::MenuCommand, "Style11"},
    {"SpeedButton25", "H2", "Heading Style 2", A::MenuCommand, "Style21"},
    {"SpeedButton26", "H3", "Heading Style 3", A::MenuCommand, "Style31"},
    {"SpeedButton27", "H4", "Heading Style 4", A::MenuCommand, "Style41"},
    {"SpeedButton28", "H5", "Heading Style 5", A::MenuCommand, "Style51"},
    {"SpeedButton29", "H6", "Heading Style 6", A::MenuCommand, "Style61"},
    {"SpeedButton23", "/A", "End Anchor", A::CommonTag, ""},
    {"SpeedButton89", "/P", "End Paragraph", A::CommonTag, ""},
    {"SpeedButton3", "LI", "List Item", A::CommonTag, ""},
    {"SpeedButton1", "DT", "Definition Term", A::CommonTag, ""},
    {"SpeedButton2", "DD", "Definition Item", A::CommonTag, ""},
    {"SpeedButton4", "DL", "Start Definition List", A::CommonTag, ""},
    {"SpeedButton5", "/DL", "End Definition List", A::CommonTag, ""},
    {"SpeedButton19", "UL", "Start Unordered List", A::CommonTag, ""},
    {"SpeedButton20", "/UL", "End Unordered List", A::CommonTag, ""},
    {"SpeedButton21", "OL", "Start Ordered List", A::CommonTag, ""},
    {"SpeedButton22", "/OL", "End Ordered List", A::CommonTag, ""},
    {"StartCommentButton", "<!--", "Start Comment", A::Markup, "<!-- "},
    {"EndCommentButton", "-->", "End Comment", A::Markup, " -->"},
    {"SpeedButton90", "TR", "Table Row", A::TagPair, "<TR>", "</TR>"},
    {"SpeedButton91", "TH", "Table Heading", A::TagPair, "<TH>", "</TH>"},
    {"SpeedButton92", "TD", "Table Data", A::TagPair, "<TD>", "</TD>"},
    {"RepeatButton", "Repeat", "", A::MenuCommand, "RepeatLastMarkup1"},
    {"CloseButton", "Close", "Close the current window", A::MainCommand, "FileCloseItem"},
}};

const TSpeedButtonInfo kCharacterButton = {"", "", "", A::Character, ""};

// The upper row of the extended bar: à to ÿ without the division sign; the lower row holds
// each letter's capital (ß below ÿ).
std::array<unsigned char, 31> SmallLetters()
{
    std::array<unsigned char, 31> codes{};
    int i = 0;
    for (int c = 224; c <= 255; ++c)
        if (c != 247)
            codes[std::size_t(i++)] = static_cast<unsigned char>(c);
    return codes;
}

std::array<unsigned char, 31> CapitalLetters()
{
    std::array<unsigned char, 31> codes{};
    int i = 0;
    for (int c = 192; c <= 223; ++c)
        if (c != 215)
            codes[std::size_t(i++)] = static_cast<unsigned char>(c);
    return codes;
}

// ---- Pictures drawn when neither the theme nor the style has one.

QPixmap Canvas()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawPage(QPainter &P, const QRectF &R)
{
    P.setPen(QPen(QColor(64, 64, 64), 1));
    P.setBrush(Qt::white);
    P.drawRect(R);
    P.setPen(QPen(QColor(128, 128, 160), 1));
    for (qreal y = R.top() + 3; y < R.bottom() - 1; y += 2)
        P.drawLine(QPointF(R.left() + 2, y), QPointF(R.right() - 2, y));
}

QIcon DrawnIcon(TSpeedPicture Picture)
{
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (Picture) {
    case P::New:
        DrawPage(p, QRectF(3.5, 1.5, 9, 13));
        break;
    case P::Open:
        p.setPen(QPen(QColor(120, 90, 20), 1));
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
        p.drawRect(QRectF(1.5, 3.5, 5, 2));
        break;
    case P::Save:
        p.setPen(QPen(QColor(20, 20, 90), 1));
        p.setBrush(QColor(60, 80, 170));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
        break;
    case P::Cut:
        p.setPen(QPen(QColor(60, 60, 60), 1.3));
        p.drawLine(QPointF(4, 1), QPointF(10.5, 10));
        p.drawLine(QPointF(12, 1), QPointF(5.5, 10));
        p.setPen(QPen(QColor(180, 30, 30), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2, 10, 4.5, 4.5));
        p.drawEllipse(QRectF(9.5, 10, 4.5, 4.5));
        break;
    case P::Copy:
        DrawPage(p, QRectF(1.5, 1.5, 8, 10));
        DrawPage(p, QRectF(6.5, 4.5, 8, 10));
        break;
    case P::Paste:
        p.setPen(QPen(QColor(90, 60, 20), 1));
        p.setBrush(QColor(170, 120, 60));
        p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1.5, 1.5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4.5, 1.5, 4, 3));
        DrawPage(p, QRectF(7.5, 6.5, 7, 8));
        break;
    case P::Undo: {
        QPainterPath arc;
        arc.moveTo(4, 6);
        arc.cubicTo(8, 2, 15, 4, 13, 10);
        arc.cubicTo(12, 13, 9, 14, 7, 14);
        p.setPen(QPen(QColor(30, 70, 150), 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        QPainterPath head;
        head.moveTo(1, 7);
        head.lineTo(7, 2.5);
        head.lineTo(7, 9.5);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 70, 150));
        p.drawPath(head);
        break;
    }
    case P::Exit:
        p.setPen(QPen(QColor(90, 60, 20), 1));
        p.setBrush(QColor(160, 110, 60));
        p.drawRect(QRectF(3.5, 1.5, 8, 13));
        p.setPen(QPen(QColor(180, 30, 30), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 8), QPointF(15, 8));
        p.drawLine(QPointF(13, 6), QPointF(15, 8));
        p.drawLine(QPointF(13, 10), QPointF(15, 8));
        break;
    case P::None:
        break;
    }
    p.end();
    return QIcon(pixmap);
}

const char *ThemeIconName(TSpeedPicture Picture)
{
    switch (Picture) {
    case P::New: return "document-new";
    case P::Open: return "document-open";
    case P::Save: return "document-save";
    case P::Cut: return "edit-cut";
    case P::Copy: return "edit-copy";
    case P::Paste: return "edit-paste";
    case P::Undo: return "edit-undo";
    case P::Exit: return "application-exit";
    case P::None: break;
    }
    return "";
}

// The style's picture where it has a fitting one (none for the clipboard and undo).
QIcon StyleIcon(TSpeedPicture Picture)
{
    QStyle *style = QApplication::style();
    switch (Picture) {
    case P::New: return style->standardIcon(QStyle::SP_FileIcon);
    case P::Open: return style->standardIcon(QStyle::SP_DirOpenIcon);
    case P::Save: return style->standardIcon(QStyle::SP_DialogSaveButton);
    default: return {};
    }
}

} // namespace

QIcon SpeedButtonIcon(TSpeedPicture Picture)
{
    if (Picture == P::None)
        return {};
    const QString theme = QString::fromLatin1(ThemeIconName(Picture));
    if (QIcon::hasThemeIcon(theme))
        return QIcon::fromTheme(theme);
    const QIcon styled = StyleIcon(Picture);
    if (!styled.isNull() && !styled.availableSizes().isEmpty())
        return styled;
    return DrawnIcon(Picture);
}

QString CharacterButtonName(unsigned char Code)
{
    return QString("CharButton%1").arg(int(Code));
}

// ---------------------------------------------------------------------------------------------

TSpeedBars::TSpeedBars(TMainForm &MainForm) : QObject(&MainForm), Form(MainForm)
{
    setObjectName("SpeedBars");
    BuildStandardBar();
    BuildCommonBar();
    BuildSpecialBar();
    BuildExtendedBar();
    BuildCustomPopupMenu();
}

TSpeedBars *InstallSpeedBars(TMainForm &Form)
{
    if (auto *bars = Form.findChild<TSpeedBars *>("SpeedBars", Qt::FindDirectChildrenOnly))
        return bars;
    return new TSpeedBars(Form);  // owned by the main window
}

QToolButton *TSpeedBars::Button(const QString &Name) const
{
    for (QToolBar *bar : {Form.StandardPanel, Form.CommonPanel, Form.SpecialPanel, Form.ExtendedPanel})
        if (auto *button = bar->findChild<QToolButton *>(Name))
            return button;
    return nullptr;
}

QToolButton *TSpeedBars::AddButton(QToolBar &Bar, const TSpeedButtonInfo &Info, bool ToolTips)
{
    auto *button = new QToolButton(&Bar);
    button->setObjectName(QString::fromLatin1(Info.Name));
    button->setFocusPolicy(Qt::NoFocus);
    if (Info.Picture != P::None) {
        button->setIcon(SpeedButtonIcon(Info.Picture));
        button->setIconSize(QSize(16, 16));
        button->setFixedSize(25, 25);
    } else {
        button->setText(BytesToQString(Info.Caption));
        button->setMinimumSize(25, Bar.minimumHeight() - 4);
    }
    const QString hint = QString::fromLatin1(Info.Hint);
    if (!hint.isEmpty()) {
        const int bar = int(hint.indexOf('|'));
        if (ToolTips)
            button->setToolTip(bar < 0 ? hint : hint.left(bar));
        button->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    }
    connect(button, &QToolButton::clicked, this, [this, button, Info] { Guarded([&] { Run(button, Info); }); });
    Bar.addWidget(button);
    return button;
}

QToolButton *TSpeedBars::NewCharacterButton(QWidget &Parent, unsigned char Code)
{
    auto *button = new QToolButton(&Parent);
    button->setObjectName(CharacterButtonName(Code));
    button->setFocusPolicy(Qt::NoFocus);
    // "&" is doubled so that it shows as itself rather than marking a mnemonic.
    button->setText(Code == '&' ? QString("&&") : BytesToQString(std::string(1, char(Code))));
    button->setFixedSize(19, 20);
    // Flat like the buttons the bars hold directly (the extended bar's sit in a grid of their own).
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this,
            [this, button] { Guarded([&] { Run(button, kCharacterButton); }); });
    return button;
}

void TSpeedBars::BuildStandardBar()
{
    for (const TSpeedButtonInfo &info : kStandardButtons)
        AddButton(*Form.StandardPanel, info, true);
}

void TSpeedBars::BuildCommonBar()
{
    for (const TSpeedButtonInfo &info : kCommonButtons)
        AddButton(*Form.CommonPanel, info, false);
}

void TSpeedBars::BuildSpecialBar()
{
    QToolBar &bar = *Form.SpecialPanel;
    for (int code = 161; code <= 191; ++code)
        bar.addWidget(NewCharacterButton(bar, static_cast<unsigned char>(code)));
    for (unsigned char code : {'<', '>', '&', '"'})
        bar.addWidget(NewCharacterButton(bar, code));
}

void TSpeedBars::BuildExtendedBar()
{
    QToolBar &bar = *Form.ExtendedPanel;
    auto *rows = new QWidget(&bar);
    rows->setObjectName("ExtendedRows");
    auto *grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    const auto small = SmallLetters();
    const auto capitals = CapitalLetters();
    for (int i = 0; i < 31; ++i) {
        grid->addWidget(NewCharacterButton(*rows, small[std::size_t(i)]), 0, i);
        grid->addWidget(NewCharacterButton(*rows, capitals[std::size_t(i)]), 1, i);
    }
    bar.addWidget(rows);
}

void TSpeedBars::BuildCustomPopupMenu()
{
    QMenu &menu = *Form.CustomButtonPopupMenu;
    QAction *newButton = menu.addAction("New Button");
    newButton->setObjectName("NewButton1");
    connect(newButton, &QAction::triggered, this, [this] {
        if (Form.NewCustomButton)
            Guarded(Form.NewCustomButton);
    });
    QAction *modify = menu.addAction("Modify...");
    modify->setObjectName("Modify1");
    connect(modify, &QAction::triggered, this, [this] { Form.CustomButtons1->trigger(); });
}

// ---------------------------------------------------------------------------------------------
// Clicks

void TSpeedBars::Run(QAbstractButton *Sender, const TSpeedButtonInfo &Info)
{
    switch (Info.Action) {
    case A::MainCommand:
        RunMainCommand(Info.Target);
        return;
    case A::MenuCommand:
        if (TDocumentWindowIntf *doc = Form.ActiveDocument())
            doc->Click(QString::fromLatin1(Info.Target));
        return;
    case A::Markup:
        InsertFromButton(Sender, Info.Target, nullptr);
        return;
    case A::TagPair: {
        const std::string end = Info.EndTag;
        InsertFromButton(Sender, Info.Target, &end);
        return;
    }
    case A::CommonTag:
        CommonTagClick(Sender);
        return;
    case A::Character:
        SpeedButtonClick(Sender);
        return;
    }
}

void TSpeedBars::RunMainCommand(const char *Name)
{
    const QString name = QString::fromLatin1(Name);
    for (QAction *action : {Form.FileNewItem, Form.FileOpenItem, Form.FileSaveItem, Form.TestHTMLDocument1,
                            Form.FileExitItem, Form.FileCloseItem})
        if (action && action->objectName() == name) {
            action->trigger();
            return;
        }
}

void TSpeedBars::InsertFromButton(QAbstractButton *Sender, const std::string &Start, const std::string *End)
{
    TDocumentWindowIntf *doc = Form.ActiveDocument();
    if (!doc)
        return;
    if (End)
        doc->InsertTagPair(Start, *End);
    else
        doc->InsertMarkup(Start);
    Form.LastMarkupCommand = Sender;
}

void TSpeedBars::CommonTagClick(QAbstractButton *Sender)
{
    InsertFromButton(Sender, "<" + QStringToBytes(Sender->text()) + ">", nullptr);
}

void TSpeedBars::SpeedButtonClick(QAbstractButton *Sender)
{
    const std::string caption = QStringToBytes(Sender->text());
    if (caption.empty())
        return;
    const auto code = static_cast<unsigned char>(caption[0]);
    InsertFromButton(Sender, CharacterButtonMarkup(code, Form.UseActualCharacters), nullptr);
}
