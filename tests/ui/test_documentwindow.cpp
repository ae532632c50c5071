// The document window: set-up from the settings, the three status panels, saving in both
// formats under the right name (and safely when the disk refuses), the close query and close.
#include "support/DocumentFixture.h"

#include "core/editor/SafeFile.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QTest>

#include <cerrno>

namespace {

class ChildWinTest : public DocumentTest {
protected:
    // Scripts the save dialog: checks its title and answers with a full name (empty: Cancel).
    static void AnswerSave(TScriptedPrompt &Prompt, const QString &Title, const QString &Answer)
    {
        Prompt.ExpectSaveWith([Title, Answer](TFileDialogRequest &r) {
            EXPECT_EQ(r.Title, Title);
            EXPECT_EQ(r.HelpContext, 7);
            EXPECT_TRUE(r.Filter.startsWith("HTML files (*.htm,*.html)|"));
            if (Answer.isEmpty())
                return false;
            r.FileName = Answer;
            return true;
        });
    }
    QString Panels() const
    {
        return form->LineColPanel->text() + "|" + form->ModifiedPanel->text() + "|" + form->UnixPanel->text();
    }
};

TEST_F(ChildWinTest, CreationTakesTheEditorSetUpFromTheSettings)
{
    Setting("Setup", "ChildMaximize", "1");
    Setting("Setup", "WordWrap", "1");
    Setting("Debug", "NoUndo", "1");
    Setting("Font", "Name", "No Such Font Anywhere");
    Setting("Font", "Size", "-15");
    Setting("Font", "Bold", "1");
    Setting("Font", "Italic", "1");
    Start();
    TMDIChild *doc = NewDocument();
    Settle();
    EXPECT_TRUE(doc->isMaximized());
    EXPECT_TRUE(doc->Editor->WordWrap());
    EXPECT_EQ(doc->Editor->ScrollBars(), ssVertical);
    EXPECT_EQ(doc->Editor->UndoBufferSize(), 0);
    EXPECT_FALSE(doc->Action("Undo1")->isEnabled());
    EXPECT_FALSE(doc->Action("Redo1")->isEnabled());
    EXPECT_TRUE(doc->Action("Paste1")->isEnabled());
    const QFont font = doc->Editor->FixedFont().Font();
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_EQ(font.pixelSize(), 15);
    EXPECT_NE(font.family(), "No Such Font Anywhere") << "a missing font gives the system's fixed font";
    EXPECT_EQ(doc->Editor->WrapColumn(), doc->Editor->VisibleColumns() - 1);
    EXPECT_EQ(doc->Editor->BackupExt(), "BAK");
    EXPECT_FALSE(doc->Editor->HideSelection());
    EXPECT_TRUE(doc->Editor->WantTab());
    EXPECT_EQ(doc->windowTitle(), "Untitled");

    Stop();
    Setting("Setup", "ChildMaximize", "0");
    Setting("Setup", "WordWrap", "0");
    Setting("Debug", "NoUndo", "0");
    Start();
    doc = NewDocument();
    EXPECT_FALSE(doc->isMaximized());
    EXPECT_EQ(doc->Editor->ScrollBars(), ssBoth);
    EXPECT_TRUE(doc->Action("Undo1")->isEnabled());
    EXPECT_GT(doc->Editor->UndoBufferSize(), 0);
    EXPECT_EQ(form->windowTitle(), "Pelmar32 - [Untitled]");
}

TEST_F(ChildWinTest, NewWindowsCascadeInsideTheClientArea)
{
    Setting("Setup", "ChildMaximize", "0");
    Start();
    const QSize area = form->MDIClient->viewport()->size();
    TMDIChild *first = NewDocument();
    Settle();
    EXPECT_EQ(first->pos(), QPoint(0, 0));
    QPoint last = first->pos();
    int wrapped = 0;
    for (int i = 0; i < 30 && wrapped == 0; ++i) {
        TMDIChild *doc = NewDocument();
        Settle();
        // Every window lies wholly inside the client area.
        EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(doc->geometry())) << i;
        if (doc->pos() == QPoint(0, 0)) {
            ++wrapped;
        } else {
            // Each one stands one step down and to the right of the one before.
            const QPoint step = doc->pos() - last;
            EXPECT_GT(step.x(), 0) << i;
            EXPECT_EQ(step.x(), step.y()) << i;
        }
        last = doc->pos();
    }
    EXPECT_EQ(wrapped, 1) << "the cascade starts again at the top left corner when it runs out of room";
}

TEST_F(ChildWinTest, StatusPanelsFollowTheActiveDocument)
{
    Put(Path("dos.htm"), "one\r\ntwo\r\n");
    Put(Path("unix.htm"), "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nthe twelfth line\n");
    Start();
    TMDIChild *fresh = NewDocument();
    Settle();
    EXPECT_EQ(Panels(), "1:1||");
    TMDIChild *dos = OpenFile(Path("dos.htm"));
    Settle();
    EXPECT_EQ(Panels(), "1:1||DOS File");
    EXPECT_EQ(form->windowTitle(), "Pelmar32 - [" + Path("dos.htm") + "]");
    TMDIChild *unix = OpenFile(Path("unix.htm"));
    unix->Editor->SetCaretPosition(12, 5);
    Settle();
    EXPECT_EQ(Panels(), "12:5||Unix File");
    Type(unix, "x");
    Settle();
    EXPECT_EQ(Panels(), "12:6|Modified|Unix File");
    EXPECT_TRUE(form->FileSaveItem->isEnabled());

    // Save follows the active document only.
    form->MDIClient->setActiveSubWindow(dos);
    Settle();
    EXPECT_EQ(Panels(), "1:1||DOS File");
    EXPECT_FALSE(form->FileSaveItem->isEnabled()) << "another document's changes do not count";
    form->MDIClient->setActiveSubWindow(unix);
    Settle();
    form->FileSaveItem->trigger();
    Settle();
    EXPECT_EQ(Panels(), "12:6||Unix File");
    EXPECT_FALSE(form->FileSaveItem->isEnabled());
    EXPECT_EQ(Bytes(Path("unix.htm")), "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nthe xtwelfth line\n");
    (void)fresh;
}

TEST_F(ChildWinTest, SaveKeepsTheFormatAndTheExactFileName)
{
    Put(Path("Mixed.HTM"), "a\nb\n");
    Put(Path("Dos.Htm"), "a\r\nb\r\n");
    Start();
    TMDIChild *unix = OpenFile(Path("Mixed.HTM"));
    Type(unix, "<");
    ASSERT_TRUE(unix->SaveDocument());
    EXPECT_EQ(Bytes(Path("Mixed.HTM")), "<a\nb\n") << "a Unix file stays Unix";
    EXPECT_FALSE(QFile::exists(Path("mixed.htm"))) << "names are case-sensitive: the exact name is kept";
    EXPECT_EQ(unix->Editor->FileName(), Path("Mixed.HTM"));
    EXPECT_FALSE(unix->Editor->Modified());

    TMDIChild *dos = OpenFile(Path("Dos.Htm"));
    Type(dos, ">");
    ASSERT_TRUE(dos->SaveDocument());
    EXPECT_EQ(Bytes(Path("Dos.Htm")), ">a\r\nb\r\n");
    EXPECT_FALSE(QFile::exists(Path("dos.htm")));

    // A new document asks for a name with the DOS title and is written with CR LF.
    TScriptedPrompt prompt;
    TMDIChild *fresh = NewDocument();
    Type(fresh, "x\r\ny");
    AnswerSave(prompt, "Save As DOS File", Path("new.htm"));
    ASSERT_TRUE(fresh->SaveDocument());
    EXPECT_EQ(Bytes(Path("new.htm")), "x\r\ny\r\n");
    EXPECT_EQ(fresh->windowTitle(), Path("new.htm"));
    EXPECT_EQ(fresh->Editor->FileFormat(), ffDos);
    EXPECT_EQ(form->RecentFiles().value(0), Path("new.htm"));
}

TEST_F(ChildWinTest, AFileChangedOnDiskIsAskedAboutOnceAndReloadedAsOneStep)
{
    Put(Path("page.htm"), "one\r\ntwo\r\nthree\r\n");
    Start();
    TMDIChild *doc = OpenFile(Path("page.htm"));
    doc->Editor->SetCaretPosition(3, 2);
    TScriptedPrompt prompt;
    doc->CheckFileOnDisk();  // nothing changed: no question

    // Unmodified: Reload it? Yes reads the new text, keeps the caret's line, and is one undo step.
    Put(Path("page.htm"), "uno\r\ndos\r\ntres\r\ncuatro\r\n");
    prompt.ExpectMessage(Path("page.htm") + " was changed by another program.  Reload it?", mrYes);
    doc->CheckFileOnDisk();
    EXPECT_EQ(Text(doc), "uno\ndos\ntres\ncuatro\n");
    EXPECT_EQ(Caret(doc).first, 3);
    EXPECT_FALSE(doc->Editor->Modified());
    doc->Editor->Undo();
    EXPECT_EQ(Text(doc), "one\ntwo\nthree\n");
    doc->Editor->Redo();
    EXPECT_EQ(Text(doc), "uno\ndos\ntres\ncuatro\n");
    doc->CheckFileOnDisk();  // the reloaded file is what was read

    // A reload takes the lines with their ends and the file's end as they are now: a Unix file
    // with a CR ending a line and no line end after its last one is saved back as it came. (The
    // redo above left the text modified against the reloaded file.)
    Put(Path("page.htm"), "a\nb\r\nc");
    prompt.ExpectMessage(Path("page.htm") + " was changed by another program.  Reload it and lose your changes?", mrYes);
    doc->CheckFileOnDisk();
    EXPECT_EQ(Text(doc), "a\nb\r\nc\n");
    EXPECT_EQ(doc->Editor->FileFormat(), ffUnix);
    doc->Editor->SetCaretPosition(1, 1);
    Type(doc, "<");
    ASSERT_TRUE(doc->SaveDocument());
    EXPECT_EQ(Bytes(Path("page.htm")), "<a\nb\r\nc");
    doc->CheckFileOnDisk(); // saved: nothing to ask

    // Modified: the question says what is lost; No keeps the text and is not asked again.
    Type(doc, "x");
    Put(Path("page.htm"), "other program\n");
    prompt.ExpectMessage(Path("page.htm") + " was changed by another program.  Reload it and lose your changes?", mrNo);
    doc->CheckFileOnDisk();
    doc->CheckFileOnDisk();
    EXPECT_TRUE(doc->Editor->Modified());
    EXPECT_NE(Text(doc).find('x'), std::string::npos);

    // Gone from the disk: the text becomes modified so that Save writes it again.
    prompt.ExpectMessagePrefix(Path("page.htm") + " has been changed", mrYes);
    ASSERT_TRUE(doc->SaveDocument());
    EXPECT_FALSE(doc->Editor->Modified());
    QFile::remove(Path("page.htm"));
    doc->CheckFileOnDisk();
    EXPECT_TRUE(doc->Editor->Modified());
}

TEST_F(ChildWinTest, EachDocumentKeepsItsEncodingAndCanBeReopenedOrConverted)
{
    const QByteArray utf8 = "<p>\xD0\x96 \xE6\xBC\xA2 \xF0\x9F\x98\x80 e\xCC\x81</p>\r\n";
    Put(Path("utf8.htm"), utf8);
    Put(Path("bom.htm"), "\xEF\xBB\xBF" + utf8);
    QByteArray mostly = utf8;
    mostly.append("caf\xE9\r\n");
    Put(Path("mostly.htm"), mostly);
    Put(Path("latin.htm"), "caf\xE9\r\n");
    Start();

    // UTF-8 with and without the mark: edited elsewhere, every other byte comes back.
    for (const char *name : {"utf8.htm", "bom.htm"}) {
        TMDIChild *doc = OpenFile(Path(name));
        Settle();
        EXPECT_EQ(form->EncodingPanel->text(), QString(name) == "bom.htm" ? "UTF-8 BOM" : "UTF-8");
        Type(doc, "x");
        ASSERT_TRUE(doc->SaveDocument());
        EXPECT_EQ(Bytes(Path(name)), (QString(name) == "bom.htm" ? "\xEF\xBB\xBFx" : "x") + utf8);
    }

    // A few invalid bytes: Windows-1252, byte exact; Reopen as UTF-8 names the first bad offset.
    TScriptedPrompt prompt;
    TMDIChild *doc = OpenFile(Path("mostly.htm"));
    Settle();
    EXPECT_EQ(form->EncodingPanel->text(), "Windows-1252");
    prompt.ExpectMessagePrefix(Path("mostly.htm") + " cannot be read as UTF-8: the byte at offset " +
                                   QString::number(utf8.size() + 3),
                               mrOk);
    doc->ReopenInEncoding(TTextEncoding::Utf8);
    EXPECT_EQ(doc->Editor->Encoding(), TTextEncoding::Windows1252);
    // Markup from a dialog (Windows-1252 bytes) goes in as it is here, as UTF-8 in a UTF-8 text.
    doc->InsertMarkup("\xE9");
    ASSERT_TRUE(doc->SaveDocument());
    EXPECT_EQ(Bytes(Path("mostly.htm")), "\xE9" + mostly);

    // Reopen a UTF-8 file as Windows-1252 (asked, being modified) and back again.
    TMDIChild *u = OpenFile(Path("utf8.htm"));
    Type(u, "y");
    prompt.ExpectMessage("Reopen " + Path("utf8.htm") + " as Windows-1252 and lose your changes?", mrYes);
    u->ReopenInEncoding(TTextEncoding::Windows1252);
    EXPECT_EQ(u->Editor->Encoding(), TTextEncoding::Windows1252);
    EXPECT_FALSE(u->Editor->Modified());
    EXPECT_EQ(Text(u), "x" + std::string(utf8.constData(), utf8.size() - 2) + "\n");
    u->ReopenInEncoding(TTextEncoding::Utf8);
    EXPECT_EQ(u->Editor->Encoding(), TTextEncoding::Utf8);
    u->InsertMarkup("\xE9");
    EXPECT_EQ(u->Editor->ParaList().ParaText(1).substr(0, 3), "\xC3\xA9x");

    // Convert: one undo step that takes the encoding with it; references are counted.
    TMDIChild *latin = OpenFile(Path("latin.htm"));
    form->EncodingMenu->popup(QPoint(0, 0)); // the menu is enabled for the active document
    Settle();
    QAction *toUtf8 = form->EncodingMenu->findChild<QAction *>("ConvertToUtf8");
    ASSERT_NE(toUtf8, nullptr);
    EXPECT_TRUE(toUtf8->isEnabled());
    form->EncodingMenu->hide();
    toUtf8->trigger();
    EXPECT_EQ(Text(latin), "caf\xC3\xA9\n");
    EXPECT_TRUE(latin->Editor->Modified());
    EXPECT_EQ(form->EncodingPanel->text(), "UTF-8");
    latin->Editor->Undo();
    EXPECT_EQ(Text(latin), "caf\xE9\n");
    EXPECT_EQ(latin->Editor->Encoding(), TTextEncoding::Windows1252);
    latin->Editor->Redo();
    latin->Editor->SetCaretPosition(1, 1);
    Type(latin, "\xD0\x96");
    latin->ConvertToEncoding(TTextEncoding::Windows1252);
    EXPECT_EQ(Text(latin), "&#1046;caf\xE9\n");
    EXPECT_EQ(form->StatusLine->text(), "Converted to Windows-1252; 1 characters became numeric character references.");
    ASSERT_TRUE(latin->SaveDocument());
    EXPECT_EQ(Bytes(Path("latin.htm")), "&#1046;caf\xE9\r\n");

    // New documents take the preference.
    Setting("Setup", "NewDocEncoding", "UTF-8");
    TMDIChild *fresh = NewDocument();
    Settle();
    EXPECT_EQ(fresh->Editor->Encoding(), TTextEncoding::Utf8);
    EXPECT_EQ(form->EncodingPanel->text(), "UTF-8");
}

TEST_F(ChildWinTest, SaveAsLowerCasesTheTypedNameAddsTheExtensionAndAsksBeforeOverwriting)
{
    QDir(tmp.path()).mkpath("cwd/My.Site");
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = NewDocument();
    Type(doc, "text");

    AnswerSave(prompt, "Save As DOS File", Path("My.Site/Index"));
    ASSERT_TRUE(doc->SaveAsDOSFile());
    EXPECT_EQ(doc->windowTitle(), Path("My.Site/index.htm")) << "the directory is kept as chosen";
    EXPECT_EQ(Bytes(Path("My.Site/index.htm")), "text\r\n");
    EXPECT_FALSE(QFileInfo::exists(Path("my.site")));

    // The dialog starts from the name part of the previous choice.
    prompt.ExpectSaveWith([this](TFileDialogRequest &r) {
        EXPECT_EQ(r.FileName, "index.htm");
        EXPECT_EQ(r.Title, "Save As UNIX File");
        r.FileName = Path("Page.HTML");
        return true;
    });
    ASSERT_TRUE(doc->SaveAsUnixFile());
    EXPECT_EQ(doc->Editor->FileName(), Path("page.html"));
    EXPECT_EQ(Bytes(Path("page.html")), "text\n");
    EXPECT_EQ(doc->Editor->FileFormat(), ffUnix);
    EXPECT_EQ(form->UnixPanel->text(), "Unix File");

    // An existing file: No writes nothing and keeps the name; Yes overwrites.
    Put(Path("taken.htm"), "old");
    Type(doc, "!");
    AnswerSave(prompt, "Save As DOS File", Path("Taken"));
    prompt.ExpectMessage(Path("taken.htm") + " exists.  Overwrite?", mrNo, TMsgDlgType::mtConfirmation, mbYes | mbNo);
    EXPECT_FALSE(doc->SaveAsDOSFile());
    EXPECT_EQ(Bytes(Path("taken.htm")), "old");
    EXPECT_EQ(doc->Editor->FileName(), Path("page.html"));
    EXPECT_TRUE(doc->Editor->Modified());
    AnswerSave(prompt, "Save As DOS File", Path("taken.htm"));
    prompt.ExpectMessage(Path("taken.htm") + " exists.  Overwrite?", mrYes);
    EXPECT_TRUE(doc->SaveAsDOSFile());
    EXPECT_EQ(Bytes(Path("taken.htm")), "text!\r\n");
    // An existing file whose lower-case name would be another file is saved over, not beside.
    Put(Path("Old.HTM"), "old");
    AnswerSave(prompt, "Save As DOS File", Path("Old.HTM"));
    prompt.ExpectMessage(Path("Old.HTM") + " exists.  Overwrite?", mrYes);
    EXPECT_TRUE(doc->SaveAsDOSFile());
    EXPECT_EQ(Bytes(Path("Old.HTM")), "text!\r\n");
    EXPECT_FALSE(QFileInfo::exists(Path("old.htm")));
    AnswerSave(prompt, "Save As DOS File", Path("taken.htm"));
    prompt.ExpectMessage(Path("taken.htm") + " exists.  Overwrite?", mrYes);
    EXPECT_TRUE(doc->SaveAsDOSFile());

    // Cancelling the dialog changes nothing.
    AnswerSave(prompt, "Save As DOS File", QString());
    EXPECT_FALSE(doc->SaveAsDOSFile());
    EXPECT_EQ(doc->windowTitle(), Path("taken.htm"));
}

TEST_F(ChildWinTest, UnixWriterEndsWithOneLineFeedAndNeverWritesCR)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = NewDocument();
    Type(doc, "a\r\nb\r\n");
    ASSERT_EQ(doc->Editor->ParaCount(), 3);
    doc->WriteUnixFile(Path("abc.txt"));
    EXPECT_EQ(Bytes(Path("abc.txt")), "a\nb\n");
    EXPECT_FALSE(doc->Editor->Modified());

    doc = NewDocument();
    Type(doc, "a\r\nb");
    AnswerSave(prompt, "Save As UNIX File", Path("ab.txt"));
    ASSERT_TRUE(doc->SaveAsUnixFile());
    EXPECT_EQ(Bytes(Path("ab.txt")), "a\nb\n");
}

TEST_F(ChildWinTest, AFailedSaveKeepsTheOldFileAndTheChanges)
{
    Put(Path("keep.htm"), "old\r\n");
    Put(Path("keepu.htm"), "old\n");
    Start();
    TScriptedPrompt prompt;
    for (const QString name : {"keep.htm", "keepu.htm"}) {
        TMDIChild *doc = OpenFile(Path(name));
        Type(doc, "new ");
        TFileFaultScope faults([](TFileOp Op, const std::string &) { return Op == TFileOp::Write ? ENOSPC : 0; });
        prompt.ExpectMessagePrefix("", mrOk);
        EXPECT_FALSE(doc->SaveDocument()) << name.toStdString();
        EXPECT_EQ(prompt.Records().back().type, TMsgDlgType::mtError);
        EXPECT_EQ(Bytes(Path(name)), name == "keep.htm" ? "old\r\n" : "old\n");
        EXPECT_TRUE(doc->Editor->Modified());
        Settle();
        EXPECT_EQ(form->ModifiedPanel->text(), "Modified");
        EXPECT_EQ(QDir(tmp.path() + "/cwd").entryList(QDir::Files).size(), 2) << "no temporary file left";
    }
}

TEST_F(ChildWinTest, CloseQueryAnswers)
{
    Start();
    TScriptedPrompt prompt;
    const QString question = "\"Untitled\" has changed.  Save this file?";

    TMDIChild *doc = NewDocument();
    QPointer<TMDIChild> alive(doc);
    Type(doc, "text");
    prompt.ExpectMessage(question, mrCancel, TMsgDlgType::mtWarning, mbYesNoCancel);
    EXPECT_FALSE(doc->close());
    // Yes, then a cancelled Save As: the window stays open.
    prompt.ExpectMessage(question, mrYes);
    AnswerSave(prompt, "Save As DOS File", QString());
    EXPECT_FALSE(doc->close());
    EXPECT_TRUE(alive && !alive->isHidden());
    // Yes with a name: saved, then closed.
    prompt.ExpectMessage(question, mrYes);
    AnswerSave(prompt, "Save As DOS File", Path("kept.htm"));
    EXPECT_TRUE(doc->close());
    EXPECT_EQ(Bytes(Path("kept.htm")), "text\r\n");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());

    // No: closed without saving; an unchanged window closes without a question.
    doc = NewDocument();
    Type(doc, "lost");
    prompt.ExpectMessage(question, mrNo);
    EXPECT_TRUE(doc->close());
    EXPECT_TRUE(NewDocument()->close());
}

TEST_F(ChildWinTest, KeysWorkWhileTheEditorHasTheFocusAndNoneIsTakenTwice)
{
    Start();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TMDIChild *doc = NewDocument();
    Settle();
    doc->Editor->setFocus();
    Settle();

    // No key is bound to two actions that both listen while the document has the focus.
    QHash<QString, QStringList> owners;
    for (QAction *a : form->findChildren<QAction *>()) {
        if (a->associatedObjects().isEmpty() && a->parent() != doc)
            continue;
        for (const QKeySequence &key : a->shortcuts())
            owners[key.toString()] << (a->objectName().isEmpty() ? a->text() : a->objectName());
    }
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        EXPECT_EQ(it.value().size(), 1) << it.key().toStdString() << " is bound to " << it.value().join(", ").toStdString();

    // File > Close by its key, typed into the editor.
    QPointer<TMDIChild> alive(doc);
    QTest::keyClick(doc->Editor, Qt::Key_W, Qt::ControlModifier);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull()) << "Ctrl+W closes the document";

    // With two documents open the keys act on the one that has the focus.
    TMDIChild *first = NewDocument();
    TMDIChild *second = NewDocument();
    QPointer<TMDIChild> firstAlive(first), secondAlive(second);
    Settle();
    second->Editor->setFocus();
    Settle();
    QTest::keyClick(second->Editor, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(second->Editor->GetLine(1), "<B></B>");
    EXPECT_EQ(first->Editor->GetLine(1), "");
    second->Editor->SetModified(false);
    QTest::keyClick(second->Editor, Qt::Key_W, Qt::ControlModifier);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(secondAlive.isNull());
    EXPECT_FALSE(firstAlive.isNull());
}

TEST_F(ChildWinTest, CloseDeletesTheTemporaryCopyAndExitAsksEveryDocument)
{
    Put(Path("page.htm"), "x\r\n");
    Put(Path("page.$$$"), "temp");
    Put(Path("plain"), "y\r\n");
    Put(Path("plain.$$$"), "temp");
    Start();
    TScriptedPrompt prompt;
    // A ".$$$" file left beside a file is a recovery copy: opening asks, No deletes it; a close
    // deletes only the window's own copy.
    prompt.ExpectMessagePrefix("A recovery copy of " + Path("page.htm") + " from ", mrNo);
    EXPECT_TRUE(OpenFile(Path("page.htm"))->close());
    EXPECT_FALSE(QFile::exists(Path("page.$$$")));
    EXPECT_TRUE(QFile::exists(Path("page.htm")));
    prompt.ExpectMessagePrefix("A recovery copy of " + Path("plain") + " from ", mrNo);
    EXPECT_TRUE(OpenFile(Path("plain"))->close());
    EXPECT_FALSE(QFile::exists(Path("plain.$$$")));

    TMDIChild *first = NewDocument();
    Type(first, "1");
    TMDIChild *second = NewDocument();
    Type(second, "2");
    // The active window is asked first; one refusal cancels the exit.
    prompt.ExpectMessage("\"Untitled\" has changed.  Save this file?", mrNo);
    prompt.ExpectMessage("\"Untitled\" has changed.  Save this file?", mrCancel);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(form->Children().size(), 2);
    EXPECT_EQ(Text(first), "1");
    EXPECT_EQ(Text(second), "2");
}

TEST_F(ChildWinTest, SpeedButtonsRunEnabledItemsAndPreferencesRepaintInTheNewColours)
{
    Setting("Debug", "NoUndo", "1");
    Start();
    TMDIChild *doc = NewDocument();
    QPushButton button("B");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; doc->InsertTagPair("<B>", "</B>"); });
    // A button that runs a menu item is what gets recorded, and Repeat clicks it again.
    EXPECT_TRUE(doc->Click("Italic1", &button));
    EXPECT_EQ(form->LastMarkupCommand.data(), &button);
    Click(doc, "RepeatLastMarkup1");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Text(doc), "<I><B></B></I>");
    // A disabled item does not run.
    EXPECT_FALSE(doc->Click("Undo1", &button));
    EXPECT_FALSE(doc->Click("NoSuchItem1", &button));

    form->SetupManager->SetSyntaxHighlighting(true);
    form->SetupManager->SetElementColorIndex(10);
    form->SetupManager->SetEntityColorIndex(13);
    doc->ApplyEditorColors();
    EXPECT_EQ(doc->Editor->ElementColor(), QColor(0, 255, 0));
    EXPECT_EQ(doc->Editor->EntityColor(), QColor(255, 0, 255));
}

TEST_F(ChildWinTest, BodyTagReplacesTheOldStartTagOrGoesAtTheCaret)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = NewDocument();
    Type(doc, "<html>\r\n<body bgcolor=\"#FFFFFF\">\r\ntext");
    doc->InsertBodyTag("<BODY TEXT=\"#000000\">", false);
    EXPECT_EQ(Text(doc), "<html>\n<BODY TEXT=\"#000000\">\ntext");

    doc = NewDocument();
    Type(doc, "<BODY\r\nno end");
    prompt.ExpectMessage("Incomplete <BODY> element", mrOk, TMsgDlgType::mtWarning);
    doc->InsertBodyTag("<BODY>", false);
    EXPECT_EQ(Text(doc), "<BODY\nno end");

    doc = NewDocument();
    Type(doc, "plain");
    doc->InsertBodyTag("<BODY>", false);
    EXPECT_EQ(Text(doc), "plain<BODY>");

    doc = NewDocument();
    Type(doc, "all");
    doc->Editor->SelectAll(true);
    doc->InsertBodyTag("<BODY>", true);
    EXPECT_EQ(Text(doc), "<BODY>all</BODY>");
}

} // namespace
