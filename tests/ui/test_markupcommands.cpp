// Markup commands on real document windows: tag pairs with and without a selection, the
// tag-case rule, the title/heading and Center settings, the Shift variants, the recording rules,
// Repeat Last Markup (also after its window is gone), the questions, and the menus built from
// the catalogue and merged into the main menu bar.
#include "support/DocumentFixture.h"

#include "platform/TextCodec.h"
#include "ui/document/MarkupMenus.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

class MarkupCommandTest : public DocumentTest {
protected:
    QObject *Last() const { return form->LastMarkupCommand.data(); }
    static QAction *ActionOf(TMDIChild *Doc, const char *Name) { return Doc->findChild<QAction *>(Name); }
    static void Select(TMDIChild *Doc, int L1, int C1, int L2, int C2) { Doc->Editor->SetSelection(L1, C1, L2, C2, true); }
    // A fresh document holding Text with all of it selected.
    TMDIChild *Selected(const std::string &Text)
    {
        TMDIChild *doc = NewDocument();
        Type(doc, Text);
        doc->Editor->SelectAll(true);
        return doc;
    }
    QStringList MenuBarNames() const
    {
        QStringList names;
        for (QAction *a : form->menuBar()->actions())
            names << a->objectName();
        return names;
    }
};

TEST_F(MarkupCommandTest, BoldWrapsTheSelectionOrLeavesTheCaretBetweenTheTags)
{
    Start();
    TMDIChild *doc = NewDocument();
    Type(doc, "Hello");
    Select(doc, 1, 1, 1, 6);
    Click(doc, "Bold1");
    EXPECT_EQ(Text(doc), "<B>Hello</B>");
    EXPECT_EQ(Caret(doc), std::make_pair(1, 13));
    EXPECT_EQ(Last(), ActionOf(doc, "Bold1"));
    EXPECT_EQ(form->LineColPanel->text(), "1:13");
    EXPECT_EQ(form->ModifiedPanel->text(), "Modified");
    EXPECT_TRUE(form->FileSaveItem->isEnabled());

    TMDIChild *empty = NewDocument();
    Type(empty, "ab");
    Click(empty, "Bold1");
    EXPECT_EQ(Text(empty), "ab<B></B>");
    EXPECT_EQ(Caret(empty), std::make_pair(1, 6)) << "just after the start tag";
    EXPECT_EQ(form->LineColPanel->text(), "1:6");
    EXPECT_EQ(Last(), ActionOf(empty, "Bold1"));
}

TEST_F(MarkupCommandTest, LowerCaseTagsLowersTagsButNotQuotedValuesTextOrAnOpeningComment)
{
    Start();
    form->SetupManager->SetLowerCaseTags(true);

    TMDIChild *doc = Selected("Some <FONT SIZE=\"+1\">Text</FONT>");
    Click(doc, "Bold1");
    EXPECT_EQ(Text(doc), "<b>Some <font size=\"+1\">Text</font></b>");

    doc = NewDocument();
    doc->InsertMarkup("<IMG SRC=Pic.GIF ALT=\"A Pic\">");
    EXPECT_EQ(Text(doc), "<img src=pic.gif alt=\"A Pic\">");

    doc = Selected("<B>X</B>");
    Click(doc, "Comment1");
    EXPECT_EQ(Text(doc), "<!-- <b>X</b> -->");

    doc = Selected("Note");
    Click(doc, "Comment1");
    EXPECT_EQ(Text(doc), "<!-- Note -->") << "a text that opens with <! keeps its case";

    doc = NewDocument();
    doc->InsertMarkup("x<!-- Note -->");
    EXPECT_EQ(Text(doc), "x<!-- note -->");

    // Plain insertions never take the rule.
    doc = NewDocument();
    Click(doc, "FONT2");
    doc->InsertPlainText("<P>");
    EXPECT_EQ(Text(doc), "</FONT><P>");
}

TEST_F(MarkupCommandTest, TitleAndHeadingsFollowNewlineAfterTitle)
{
    Setting("Setup", "NewlineAfterTitle", "1");
    Start();
    ASSERT_TRUE(form->NewlineAfterTitle);
    TMDIChild *doc = NewDocument();
    Click(doc, "Title1");
    EXPECT_EQ(Text(doc), "<TITLE></TITLE>\n");
    EXPECT_EQ(Caret(doc), std::make_pair(2, 1)) << "at the start of the new line";

    doc = Selected("Intro");
    Click(doc, "Style21");
    EXPECT_EQ(Text(doc), "<H2>Intro</H2>\n");
    EXPECT_EQ(Caret(doc), std::make_pair(2, 1));

    form->NewlineAfterTitle = false;
    doc = NewDocument();
    Click(doc, "Title1");
    EXPECT_EQ(Text(doc), "<TITLE></TITLE>");
    EXPECT_EQ(Caret(doc), std::make_pair(1, 8));
}

TEST_F(MarkupCommandTest, CenterUsesAParagraphUnlessCenterIsAllowed)
{
    Start();
    ASSERT_TRUE(form->NeverUseCENTER);
    TMDIChild *doc = Selected("middle");
    Click(doc, "Center1");
    EXPECT_EQ(Text(doc), "<P ALIGN=\"center\">middle</P>");

    form->NeverUseCENTER = false;
    doc = Selected("middle");
    Click(doc, "Center1");
    EXPECT_EQ(Text(doc), "<CENTER>middle</CENTER>");
}

TEST_F(MarkupCommandTest, ShiftVariantsOpenTheOptionsDialogsAndRepeatOpensThemAgain)
{
    Start();
    QStringList dialogs;
    Hook(TCommandKind::RuleDialog, [&](TMDIChild &, const TMarkupCommand &c) {
        dialogs << "rule " + QString::fromLatin1(c.Name.data(), qsizetype(c.Name.size()));
        return false;
    });
    Hook(TCommandKind::BlockDialog, [&](TMDIChild &, const TMarkupCommand &c) {
        dialogs << "block " + BytesToQString(std::string(c.DialogCaption)) + " " +
                       BytesToQString(std::string(c.Element));
        return false;
    });
    TMDIChild *doc = NewDocument();

    HoldShift(true);
    Click(doc, "HardRule1");
    EXPECT_EQ(Text(doc), "") << "no <HR> with Shift held";
    EXPECT_EQ(dialogs, QStringList{"rule HRwithOptions1"});
    EXPECT_EQ(Last(), ActionOf(doc, "HRwithOptions1")) << "the options command records itself in its place";

    HoldShift(false);
    Click(doc, "RepeatLastMarkup1");
    EXPECT_EQ(dialogs, (QStringList{"rule HRwithOptions1", "rule HRwithOptions1"}));
    EXPECT_EQ(Text(doc), "");

    HoldShift(true);
    Click(doc, "Paragraph1");
    Click(doc, "Style21");
    EXPECT_EQ(dialogs.mid(2), (QStringList{"block Paragraph P", "block Heading Style 2 H2"}));
    EXPECT_EQ(Last(), ActionOf(doc, "Style21"));
    EXPECT_EQ(Text(doc), "");

    HoldShift(false);
    Click(doc, "HardRule1");
    Click(doc, "Paragraph1");
    EXPECT_EQ(Text(doc), "<HR><P>");
    EXPECT_EQ(dialogs.size(), 4);
    EXPECT_EQ(Last(), ActionOf(doc, "Paragraph1"));
}

TEST_F(MarkupCommandTest, RecordingRulesForEachKind)
{
    Start();
    TScriptedPrompt prompt;
    bool bodyAccepts = false;
    Hook(TCommandKind::BodyDialog, [&](TMDIChild &, const TMarkupCommand &) { return bodyAccepts; });
    TMDIChild *doc = NewDocument();

    // Recorded after acting.
    Click(doc, "Bold1");
    EXPECT_EQ(Last(), ActionOf(doc, "Bold1"));
    // Never recorded.
    Click(doc, "FONT2");
    Click(doc, "InsertCurrentTime1");
    EXPECT_EQ(Last(), ActionOf(doc, "Bold1"));
    // Only after an accepted dialog.
    Click(doc, "MarkasBODY1");
    EXPECT_EQ(Last(), ActionOf(doc, "Bold1"));
    bodyAccepts = true;
    Click(doc, "MarkasBODY1");
    EXPECT_EQ(Last(), ActionOf(doc, "MarkasBODY1"));
    // Recorded also when the question is cancelled; nothing is inserted.
    const std::string before = Text(doc);
    prompt.ExpectInput("Enter Anchor Name:", QString());
    Click(doc, "Anchor1");
    EXPECT_EQ(Last(), ActionOf(doc, "Anchor1"));
    EXPECT_EQ(Text(doc), before);

    // Recorded before acting: even a command that fails records itself; one recorded after
    // acting does not.
    std::string lines;
    for (int i = 0; i < 3000; ++i)
        lines += std::string(30, 'x') + "\r\n";
    TMDIChild *big = Selected(lines);
    const std::string bigText = Text(big);
    ASSERT_GT(bigText.size(), 90000u);
    prompt.ExpectMessage("Region is too large (> 64K)", mrOk);
    Click(big, "Bold1");
    EXPECT_EQ(Last(), ActionOf(doc, "Anchor1"));
    prompt.ExpectMessage("Region is too large (> 64K)", mrOk);
    Click(big, "ListItem1");
    EXPECT_EQ(Last(), ActionOf(big, "ListItem1"));
    EXPECT_TRUE(Text(big) == bigText) << "nothing inserted";
}

TEST_F(MarkupCommandTest, RepeatDoesNothingBeforeAnyMarkupOrAfterItsWindowIsGone)
{
    Start();
    TMDIChild *doc = NewDocument();
    Type(doc, "text");
    Click(doc, "RepeatLastMarkup1");
    EXPECT_EQ(Text(doc), "text");
    EXPECT_EQ(Last(), nullptr) << "Repeat records nothing";

    // A command recorded in another open window runs in the active one.
    TMDIChild *first = NewDocument();
    Click(first, "Italic1");
    TMDIChild *second = NewDocument();
    ASSERT_EQ(ActiveMDIChild(), second);
    Click(second, "RepeatLastMarkup1");
    EXPECT_EQ(Text(second), "<I></I>");
    EXPECT_EQ(Text(first), "<I></I>");

    // Its window closed: still being deleted, then gone.
    Click(first, "Underline1");
    first->Editor->SetModified(false);
    first->close();
    ASSERT_EQ(ActiveMDIChild(), second);
    Click(second, "RepeatLastMarkup1");
    EXPECT_EQ(Text(second), "<I></I>");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Last(), nullptr);
    Click(second, "RepeatLastMarkup1");
    EXPECT_EQ(Text(second), "<I></I>");
}

TEST_F(MarkupCommandTest, QuestionsBuildTheirMarkupFromTheAnswer)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = Selected("http://x.org/");
    prompt.ExpectInput("Enter text:", "Home");
    Click(doc, "MakeLinkFromURL1");
    EXPECT_EQ(Text(doc), "<A HREF=\"http://x.org/\">Home</A>");
    EXPECT_EQ(prompt.Records().back().caption, "Make Link from URL");

    doc = NewDocument();
    prompt.ExpectInput("Prompt text (empty for default):", "");
    Click(doc, "IsIndex1");
    EXPECT_EQ(Text(doc), "<ISINDEX>");
    prompt.ExpectInput("Prompt text (empty for default):", "Find");
    Click(doc, "IsIndex1");
    EXPECT_EQ(Text(doc), "<ISINDEX><ISINDEX PROMPT=\"Find\">");
    EXPECT_EQ(prompt.Records().back().caption, "ISINDEX");

    doc = Selected("me");
    prompt.ExpectInput("Enter e-mail address:", "a@b.c");
    Click(doc, "MailTo1");
    EXPECT_EQ(Text(doc), "<A HREF=\"mailto:a@b.c\">me</A>");

    doc = NewDocument();
    prompt.ExpectInput("Enter URL for this document:", "http://h/");
    Click(doc, "Base1");
    EXPECT_EQ(Text(doc), "<BASE HREF=\"http://h/\">");

    // Embed: the file's name part in lower case; not recorded.
    doc = NewDocument();
    form->LastMarkupCommand = nullptr;
    prompt.ExpectOpenWith([](TFileDialogRequest &r) {
        EXPECT_EQ(r.Title, "Embed OLE Object");
        EXPECT_EQ(r.Filter, "All files (*.*)|*.*");
        EXPECT_EQ(r.HelpContext, 11);
        r.FileName = "/Some/Dir/My.OBJ";
        return true;
    });
    Click(doc, "EmbedOLEobjectNetscape1");
    EXPECT_EQ(Text(doc), "<EMBED SRC=\"my.obj\">");
    EXPECT_EQ(Last(), nullptr);
}

TEST_F(MarkupCommandTest, FixedInsertionsOutlineCurrentTimeAndQuickKeys)
{
    Setting("QuickKeys", "A", "<HR>");
    Start();
    form->SetupManager->SetLowerCaseTags(true);
    TMDIChild *doc = NewDocument();
    Click(doc, "StandardDocumentOutline1");
    EXPECT_EQ(Text(doc), "<html>\n<head>\n\n</head>\n\n<body>\n\n</body>\n</html>");

    doc = NewDocument();
    const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    Click(doc, "InsertCurrentTime1");
    EXPECT_EQ(BytesToQString(Text(doc)).left(today.size()), today);

    // Quick keys insert without the tag-case rule and are not recorded.
    doc = NewDocument();
    form->LastMarkupCommand = nullptr;
    TScriptedPrompt prompt;
    doc->UserCommandHandler(256 + 0);
    EXPECT_EQ(Text(doc), "<HR>");
    EXPECT_EQ(Last(), nullptr);
    prompt.ExpectMessage("This QuickKey not defined.", mrOk, TMsgDlgType::mtInformation);
    doc->UserCommandHandler(256 + 15);
    doc->UserCommandHandler(256 + 26);  // not a quick key: ignored
    EXPECT_EQ(Text(doc), "<HR>");
}

TEST_F(MarkupCommandTest, MenusComeFromTheCatalogueAndJoinTheMenuBarWhileActive)
{
    Start();
    EXPECT_EQ(MenuBarNames(), (QStringList{"File1", "Options1", "Window1", "Help1"}));
    TMDIChild *doc = NewDocument();
    EXPECT_EQ(MenuBarNames(), (QStringList{"File1", "Edit1", "Element1", "Flow1", "List1", "Link1", "Entity1", "Font1",
                                           "Style1", "Options1", "Window1", "Help1"}));
    EXPECT_EQ(form->menuBar()->actions().at(1)->menu(), doc->Edit1);

    // Every named entry is an action of that name with the row's caption, keys and hint.
    QHash<QString, QStringList> menuOrder;
    for (const TMarkupCommand &c : MarkupCommands()) {
        if (c.Name.empty())
            continue;
        const QString name = QString::fromLatin1(c.Name.data(), qsizetype(c.Name.size()));
        QAction *a = doc->Action(name);
        ASSERT_NE(a, nullptr) << c.Name;
        EXPECT_EQ(a->objectName(), name);
        const bool hiddenWithKey = (c.Flags & cfHidden) && !c.Shortcut.empty();
        if (c.Parent.empty() && !hiddenWithKey)
            menuOrder[QString::number(int(c.Menu))] << name;
        if (c.Kind == TCommandKind::Separator)
            continue;
        EXPECT_EQ(a->text(), BytesToQString(std::string(c.Caption))) << c.Name;
        EXPECT_EQ(a->shortcuts(), CatalogueShortcuts(c.Shortcut)) << c.Name;
        const QString hint = BytesToQString(std::string(c.Hint));
        EXPECT_EQ(a->statusTip(), hint) << c.Name;
        bool inMenu = false;
        for (QObject *o : a->associatedObjects())
            inMenu = inMenu || qobject_cast<QMenu *>(o);
        EXPECT_EQ(inMenu, !hiddenWithKey) << c.Name;
        if (!c.Shortcut.empty()) {
            EXPECT_TRUE(doc->actions().contains(a)) << c.Name << ": its key works inside the window";
        }
    }
    for (int m = 0; m < 8; ++m) {
        QStringList shown;
        for (QAction *a : doc->MergedMenus().at(m)->actions())
            if (!a->objectName().isEmpty())
                shown << a->objectName();
        EXPECT_EQ(shown, menuOrder.value(QString::number(m))) << "menu " << m;
    }
    EXPECT_EQ(doc->Action("LineBreak1")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}));
    for (const char *hidden : {"CheckSpelling1", "FormWiz1", "N9"})
        EXPECT_FALSE(doc->Action(hidden)->isVisible()) << hidden;
    EXPECT_TRUE(doc->Action("HiddenCut1")->isVisible()) << "hidden from menus but its key must fire";

    // Another window brings its own menus; closing the last one removes them.
    TMDIChild *other = NewDocument();
    EXPECT_EQ(form->menuBar()->actions().at(1)->menu(), other->Edit1);
    form->MDIClient->setActiveSubWindow(doc);
    EXPECT_EQ(form->menuBar()->actions().at(1)->menu(), doc->Edit1);
    form->CloseAll1Click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MenuBarNames(), (QStringList{"File1", "Options1", "Window1", "Help1"}));
}

TEST_F(MarkupCommandTest, MenuKeysComeBeforeTheEditorsKeyTable)
{
    Setting("QuickKeys", "A", "qa");
    Start();
    form->show();
    TMDIChild *doc = NewDocument();
    TMDIChild *other = NewDocument();
    form->MDIClient->setActiveSubWindow(doc);
    form->activateWindow();
    doc->Editor->setFocus();
    if (!QTest::qWaitForWindowActive(form.get()) || QApplication::focusWidget() != doc->Editor)
        GTEST_SKIP() << "this platform gives no keyboard focus";
    QTest::keyClick(doc->Editor, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(doc->Editor, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(Text(doc), "<BR><BR>") << "Ctrl+Enter is Line Break, not a new line";
    QTest::keyClick(doc->Editor, Qt::Key_1, Qt::ControlModifier);
    QTest::keyClick(doc->Editor, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(Text(doc), "<BR><BR><B></B>") << "Ctrl+1 does nothing; Ctrl+B is Bold";
    EXPECT_EQ(Text(other), "") << "the inactive window's keys do not fire";

    // Ctrl+Q is no menu key: it reaches the editor's table, whose quick-key command inserts.
    doc->Editor->SetCaretPosition(1, 1);
    QTest::keyClick(doc->Editor, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(doc->Editor, Qt::Key_A);
    Settle();
    EXPECT_EQ(Text(doc), "qa<BR><BR><B></B>");
    // The hidden clipboard entries work by their keys.
    doc->Editor->SetSelection(1, 1, 1, 3, true);
    QTest::keyClick(doc->Editor, Qt::Key_Insert, Qt::ControlModifier);
    doc->Editor->SetCaretPosition(1, 5);
    QTest::keyClick(doc->Editor, Qt::Key_Insert, Qt::ShiftModifier);
    Settle();
    EXPECT_EQ(Text(doc), "qa<BqaR><BR><B></B>");
    doc->Editor->SetSelection(1, 1, 1, 3, true);
    QTest::keyClick(doc->Editor, Qt::Key_Delete, Qt::ShiftModifier);
    Settle();
    EXPECT_EQ(Text(doc), "<BqaR><BR><B></B>");
}

} // namespace
