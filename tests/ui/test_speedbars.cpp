// The four fixed speed bars on a real main window: the character buttons with and without actual
// characters, the simple tags and Repeat, menu commands run only when enabled, enabling by the
// window's state, hints, the bars' layout, and a hidden bar surviving a restart.
#include "support/DocumentFixture.h"

#include "platform/TextCodec.h"
#include "ui/app/SpeedBars.h"

#include <QDialog>
#include <QGridLayout>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

class SpeedBarTest : public DocumentTest {
protected:
    QToolButton *Btn(const QString &Name) const
    {
        auto *b = form->findChild<QToolButton *>(Name);
        EXPECT_NE(b, nullptr) << Name.toStdString();
        return b;
    }
    QToolButton *CharBtn(unsigned char Code) const { return Btn(CharacterButtonName(Code)); }
    void Press(const QString &Name) { Press(Btn(Name)); }
    static void Press(QToolButton *B)
    {
        ASSERT_NE(B, nullptr);
        B->click();
        Settle();
    }
    QObject *Last() const { return form->LastMarkupCommand.data(); }
    // The buttons of a bar from left to right (the extended bar's by row, then column).
    static QStringList Names(QToolBar *Bar)
    {
        QStringList names;
        for (QToolButton *b : Bar->findChildren<QToolButton *>())
            if (!b->objectName().startsWith("qt_"))
                names << b->objectName();
        return names;
    }
};

// Upper row of the extended bar, written out as the HTML 2.0 names of à to ÿ.
const char *const kSmallEntities[31] = {
    "&agrave;", "&aacute;", "&acirc;", "&atilde;", "&auml;", "&aring;", "&aelig;", "&ccedil;",
    "&egrave;", "&eacute;", "&ecirc;", "&euml;", "&igrave;", "&iacute;", "&icirc;", "&iuml;",
    "&eth;", "&ntilde;", "&ograve;", "&oacute;", "&ocirc;", "&otilde;", "&ouml;", "&oslash;",
    "&ugrave;", "&uacute;", "&ucirc;", "&uuml;", "&yacute;", "&thorn;", "&yuml;"};

// The lower row's entity: the partner's name with a capital, except the ligature, eth, thorn and ß.
std::string CapitalEntity(int Column)
{
    const std::string small = kSmallEntities[Column];
    if (small == "&aelig;")
        return "&AElig;";
    if (small == "&eth;")
        return "&ETH;";
    if (small == "&thorn;")
        return "&THORN;";
    if (small == "&yuml;")
        return "&szlig;";
    std::string capital = small;
    capital[1] = char(capital[1] - 'a' + 'A');
    return capital;
}

} // namespace

TEST_F(SpeedBarTest, CharacterButtonsInsertEntitiesOrTheCharacterItself)
{
    Start();
    TMDIChild *doc = NewDocument();
    ASSERT_FALSE(form->UseActualCharacters);
    for (unsigned char code : {233, 169, 189, 38})
        Press(CharBtn(static_cast<unsigned char>(code)));
    EXPECT_EQ(Text(doc), "&eacute;&copy;&#189;&amp;");
    EXPECT_EQ(Last(), CharBtn(38));
    EXPECT_EQ(CharBtn(38)->text(), "&&") << "shows as one ampersand";

    doc->Editor->ClearText();
    for (int code : {int('<'), int('>'), int('"'), 161, 173, 174, 191})
        Press(CharBtn(static_cast<unsigned char>(code)));
    EXPECT_EQ(Text(doc), "&lt;&gt;&quot;&#161;&#173;&reg;&#191;");

    // The tag-case rule leaves entities alone.
    doc->Editor->ClearText();
    form->SetupManager->SetLowerCaseTags(true);
    Press(CharBtn(201));
    EXPECT_EQ(Text(doc), "&Eacute;");
    form->SetupManager->SetLowerCaseTags(false);

    doc->Editor->ClearText();
    form->UseActualCharacters = true;
    Press(CharBtn('<'));
    Press(CharBtn(233));
    Press(CharBtn('&'));
    EXPECT_EQ(Text(doc), "<\xE9&");
    EXPECT_EQ(Last(), CharBtn('&'));

    // Repeat runs the character button again, still with the current setting.
    form->UseActualCharacters = false;
    Press("RepeatButton");
    EXPECT_EQ(Text(doc), "<\xE9&&amp;");
}

TEST_F(SpeedBarTest, ExtendedBarHasTwoRowsOfPartnersWithTheirNamedEntities)
{
    Start();
    TMDIChild *doc = NewDocument();
    auto *rows = form->ExtendedPanel->findChild<QWidget *>("ExtendedRows");
    ASSERT_NE(rows, nullptr);
    auto *grid = qobject_cast<QGridLayout *>(rows->layout());
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rowCount(), 2);
    ASSERT_EQ(grid->columnCount(), 31);
    for (int col = 0; col < 31; ++col) {
        auto *upper = qobject_cast<QToolButton *>(grid->itemAtPosition(0, col)->widget());
        auto *lower = qobject_cast<QToolButton *>(grid->itemAtPosition(1, col)->widget());
        ASSERT_TRUE(upper && lower);
        doc->Editor->ClearText();
        Press(upper);
        EXPECT_EQ(Text(doc), kSmallEntities[col]) << "column " << col;
        doc->Editor->ClearText();
        Press(lower);
        EXPECT_EQ(Text(doc), CapitalEntity(col)) << "column " << col;
    }
    EXPECT_EQ(qobject_cast<QToolButton *>(grid->itemAtPosition(0, 0)->widget())->text(), QString(QChar(0xE0)));
    EXPECT_EQ(qobject_cast<QToolButton *>(grid->itemAtPosition(1, 30)->widget())->text(), QString(QChar(0xDF)))
        << "sharp s below y with diaeresis";
    EXPECT_EQ(form->findChild<QToolButton *>(CharacterButtonName(247)), nullptr) << "no division sign";
    EXPECT_EQ(form->findChild<QToolButton *>(CharacterButtonName(215)), nullptr) << "no multiplication sign";

    // The special bar: 161 to 191 in code order, then the four markup characters.
    QStringList expected;
    for (int code = 161; code <= 191; ++code)
        expected << CharacterButtonName(static_cast<unsigned char>(code));
    for (unsigned char code : {'<', '>', '&', '"'})
        expected << CharacterButtonName(code);
    EXPECT_EQ(Names(form->SpecialPanel), expected);
}

TEST_F(SpeedBarTest, SimpleTagsRepeatAndMenuCommandsOnlyWhenEnabled)
{
    Start();
    TMDIChild *doc = NewDocument();
    Press("SpeedButton5");
    EXPECT_EQ(Text(doc), "</DL>");
    EXPECT_EQ(Last(), Btn("SpeedButton5"));
    Press("RepeatButton");
    EXPECT_EQ(Text(doc), "</DL></DL>");
    Press("RepeatButton");
    EXPECT_EQ(Text(doc), "</DL></DL></DL>");

    doc->Editor->ClearText();
    for (const char *name : {"SpeedButton23", "SpeedButton89", "SpeedButton3", "SpeedButton1", "SpeedButton2",
                             "SpeedButton4", "SpeedButton19", "SpeedButton20", "SpeedButton21", "SpeedButton22"})
        Press(name);
    EXPECT_EQ(Text(doc), "</A></P><LI><DT><DD><DL><UL></UL><OL></OL>");
    doc->Editor->ClearText();
    Press("StartCommentButton");
    Type(doc, "x");
    Press("EndCommentButton");
    EXPECT_EQ(Text(doc), "<!-- x -->");

    // A tag pair wraps the selection and records the button.
    doc->Editor->ClearText();
    Type(doc, "cell");
    doc->Editor->SelectAll(true);
    Press("SpeedButton92");
    EXPECT_EQ(Text(doc), "<TD>cell</TD>");
    EXPECT_EQ(Last(), Btn("SpeedButton92"));
    form->SetupManager->SetLowerCaseTags(true);
    Press("SpeedButton90");
    EXPECT_EQ(Text(doc), "<TD>cell</TD><tr></tr>");
    form->SetupManager->SetLowerCaseTags(false);

    // A menu command runs the document's item, which records itself; a disabled item does nothing.
    doc->Editor->ClearText();
    Type(doc, "Head");
    doc->Editor->SelectAll(true);
    doc->Action("Style11")->setEnabled(false);
    QObject *before = Last();
    Press("SpeedButton24");
    EXPECT_EQ(Text(doc), "Head");
    EXPECT_EQ(Last(), before);
    doc->Action("Style11")->setEnabled(true);
    Press("SpeedButton24");
    EXPECT_EQ(Text(doc), "<H1>Head</H1>");
    EXPECT_EQ(Last(), doc->Action("Style11"));

    doc->Editor->ClearText();
    Type(doc, "w");
    doc->Editor->SelectAll(true);
    Press("SpeedButton15");
    EXPECT_EQ(Text(doc), "<B>w</B>");
    EXPECT_EQ(Last(), doc->Action("Bold1"));
    Press("RepeatButton");
    EXPECT_EQ(Text(doc), "<B>w</B><B></B>");

    // Without a document window the handlers do nothing and record nothing.
    before = Last();
    doc->Editor->SetModified(false);
    doc->close();
    Settle();
    auto *bars = form->findChild<TSpeedBars *>("SpeedBars");
    ASSERT_NE(bars, nullptr);
    bars->CommonTagClick(Btn("SpeedButton5"));
    bars->SpeedButtonClick(CharBtn(233));
    EXPECT_EQ(Last(), before);
}

TEST_F(SpeedBarTest, EnablingFollowsTheWindowsAndHiddenBarsKeepTheirState)
{
    Start();
    const QStringList always = {"NewBtn", "OpenBtn", "ExitBtn"};
    for (const QString &name : always)
        EXPECT_TRUE(Btn(name)->isEnabled()) << name.toStdString();
    for (const char *name : {"SaveBtn", "CloseButton", "CutButton", "SpeedButton15", "TestButton", "RepeatButton",
                             "SpeedButton24", "SpeedButton92"})
        EXPECT_FALSE(Btn(name)->isEnabled()) << name;
    EXPECT_FALSE(CharBtn(233)->isEnabled());
    EXPECT_FALSE(CharBtn(161)->isEnabled());

    TMDIChild *doc = NewDocument();
    Settle();
    for (const char *name : {"CloseButton", "CutButton", "SpeedButton15", "TestButton", "SpeedButton24"})
        EXPECT_TRUE(Btn(name)->isEnabled()) << name;
    EXPECT_TRUE(CharBtn(233)->isEnabled());
    EXPECT_FALSE(Btn("SaveBtn")->isEnabled()) << "nothing to save yet";
    Press(CharBtn(233));
    EXPECT_TRUE(Btn("SaveBtn")->isEnabled());

    // Hidden, the extended bar keeps what it had; shown again, it keeps it until the next update.
    form->ExtendedSpeedBar->trigger();
    doc->Editor->SetModified(false);
    doc->close();
    Settle();
    EXPECT_FALSE(Btn("SpeedButton15")->isEnabled());
    EXPECT_TRUE(CharBtn(233)->isEnabled());
    form->ExtendedSpeedBar->trigger();
    EXPECT_TRUE(CharBtn(233)->isEnabled());
    form->UpdateMenuItems();
    EXPECT_FALSE(CharBtn(233)->isEnabled());
    EXPECT_FALSE(Btn("CloseButton")->isEnabled());
}

TEST_F(SpeedBarTest, CaptionsPicturesHintsAndOrder)
{
    Start();
    EXPECT_EQ(Names(form->StandardPanel),
              (QStringList{"NewBtn", "OpenBtn", "SaveBtn", "CutButton", "CopyButton", "PasteButton", "UndoButton",
                           "ParagraphButton", "SpeedButton8", "SpeedButton9", "SpeedButton10", "SpeedButton11",
                           "ImageButton", "SpeedButton13", "SpeedButton14", "SpeedButton15", "SpeedButton16",
                           "SpeedButton17", "TestButton", "ExitBtn"}));
    EXPECT_EQ(Names(form->CommonPanel),
              (QStringList{"SpeedButton24", "SpeedButton25", "SpeedButton26", "SpeedButton27", "SpeedButton28",
                           "SpeedButton29", "SpeedButton23", "SpeedButton89", "SpeedButton3", "SpeedButton1",
                           "SpeedButton2", "SpeedButton4", "SpeedButton5", "SpeedButton19", "SpeedButton20",
                           "SpeedButton21", "SpeedButton22", "StartCommentButton", "EndCommentButton",
                           "SpeedButton90", "SpeedButton91", "SpeedButton92", "RepeatButton", "CloseButton"}));
    for (const char *name : {"NewBtn", "OpenBtn", "SaveBtn", "CutButton", "CopyButton", "PasteButton", "UndoButton",
                             "ExitBtn"}) {
        EXPECT_TRUE(Btn(name)->text().isEmpty()) << name;
        EXPECT_FALSE(Btn(name)->icon().isNull()) << name;
        EXPECT_FALSE(Btn(name)->icon().pixmap(16, 16).isNull()) << name;
    }
    EXPECT_EQ(Btn("SpeedButton16")->text(), "i");
    EXPECT_EQ(Btn("SpeedButton13")->text(), "U List");
    EXPECT_EQ(Btn("StartCommentButton")->text(), "<!--");

    // The standard bar's hints are tooltips; the two-part hint splits; other bars only use the
    // status line.
    EXPECT_EQ(Btn("SpeedButton8")->toolTip(), "Horizontal Rule");
    EXPECT_EQ(Btn("SpeedButton8")->statusTip(), "Horizontal Rule (Hold down Shift key for <HR> with options)");
    EXPECT_EQ(Btn("ParagraphButton")->toolTip(), "Paragraph (Hold down Shift key for <P> with options)");
    EXPECT_EQ(Btn("SpeedButton11")->statusTip(), "Link to an URL");
    EXPECT_EQ(Btn("SpeedButton24")->toolTip(), "");
    EXPECT_EQ(Btn("SpeedButton24")->statusTip(), "Heading Style 1");
    EXPECT_EQ(Btn("CloseButton")->statusTip(), "Close the current window");
    form->HintToStatusLine(Btn("SpeedButton8")->statusTip());
    EXPECT_EQ(form->StatusLine->text(), "Horizontal Rule (Hold down Shift key for <HR> with options)");

    // Pictures come from the theme, the style, or are drawn: every one of them has pixels.
    for (TSpeedPicture p : {TSpeedPicture::New, TSpeedPicture::Open, TSpeedPicture::Save, TSpeedPicture::Cut,
                            TSpeedPicture::Copy, TSpeedPicture::Paste, TSpeedPicture::Undo, TSpeedPicture::Exit}) {
        const QImage image = SpeedButtonIcon(p).pixmap(16, 16).toImage();
        bool painted = false;
        for (int y = 0; y < image.height() && !painted; ++y)
            for (int x = 0; x < image.width() && !painted; ++x)
                painted = qAlpha(image.pixel(x, y)) > 0;
        EXPECT_TRUE(painted) << int(p);
    }
}

TEST_F(SpeedBarTest, MainCommandButtonsAndTheCustomBarMenu)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = NewDocument();
    Type(doc, "x");
    Settle();
    prompt.ExpectSave("");  // Save on an untitled document asks for a name; cancelled
    Press("SaveBtn");
    EXPECT_EQ(prompt.Records().back().caption, "Save As DOS File");
    prompt.ExpectMessage("\"Untitled\" has changed.  Save this file?", mrNo);
    Press("CloseButton");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form->Children().isEmpty());

    QStringList entries;
    for (QAction *a : form->CustomButtonPopupMenu->actions())
        entries << a->text();
    EXPECT_EQ(entries, (QStringList{"New Button", "Modify..."}));
    int created = 0;
    form->NewCustomButton = [&created] { ++created; };
    form->CustomButtonPopupMenu->actions().first()->trigger();
    EXPECT_EQ(created, 1);
    int modified = 0;
    QObject::connect(form->CustomButtons1, &QAction::triggered, [&modified] { ++modified; });
    SetDialogExecHook([](QDialog &) { return int(QDialog::Rejected); }); // the dialog itself is closed at once
    form->CustomButtonPopupMenu->actions().last()->trigger();
    EXPECT_EQ(modified, 1) << "Modify... opens the Custom Buttons dialog";
}

TEST_F(SpeedBarTest, HiddenExtendedBarStaysHiddenAfterARestart)
{
    Start();
    ASSERT_FALSE(form->ExtendedPanel->isHidden());
    form->ExtendedSpeedBar->trigger();
    EXPECT_TRUE(form->ExtendedPanel->isHidden());
    form.reset();
    EXPECT_EQ(TProfile((tmp.path() + "/config/PELMAR32.INI").toStdString())
                  .ReadString("Setup", "DisplayExtendedSpeedBar", "?"),
              "0");
    Start();
    EXPECT_TRUE(form->ExtendedPanel->isHidden());
    EXPECT_FALSE(form->ExtendedSpeedBar->isChecked());
    EXPECT_FALSE(form->SpecialPanel->isHidden());
    EXPECT_NE(form->findChild<QToolButton *>(CharacterButtonName(233)), nullptr) << "its buttons exist all the same";
}
