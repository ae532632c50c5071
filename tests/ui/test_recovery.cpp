// Never losing typed text: recovery copies written while a document has unsaved changes and
// deleted by a save or close, the question when a file with a copy is opened and at start-up for
// untitled ones, failed copies, and the end of a run asked for by a signal or the session.
#include "core/editor/Recovery.h"
#include "core/editor/SafeFile.h"
#include "support/DocumentFixture.h"

#include "../shared/FileFaults.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long DeadPid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return long(child);
}

// One tick of the recovery timer, waiting for the copy it starts.
void Tick(TMDIChild *Doc)
{
    Doc->RecoveryTimerTick();
    Doc->FinishRecoveryCopy();
}

QString Question(const QString &Name, const QString &Copy)
{
    return QString::fromStdString(
        RecoveryQuestion(Name.toStdString(), QFileInfo(Copy).lastModified().toSecsSinceEpoch()));
}

class RecoveryUiTest : public DocumentTest {
protected:
    void TearDown() override
    {
        TMainForm::SetSessionExit({});
        DocumentTest::TearDown();
    }
    QString State(const QString &Name) const { return tmp.path() + "/state/pelmar32/" + Name; }
};

} // namespace

TEST_F(RecoveryUiTest, CopiesFollowTheTextAndGoWithASaveOrAClose)
{
    Put(Path("dos.htm"), "<P>one\r\ntwo\r\n");
    Put(Path("unix.htm"), "a\nb\n");
    TMDIChild *dos = OpenFile(Path("dos.htm"));
    ASSERT_NE(dos, nullptr);
    EXPECT_TRUE(dos->RecoveryTimer()->isActive());
    EXPECT_EQ(dos->RecoveryTimer()->interval(), 30000);

    // Nothing to copy while the text is as loaded.
    Tick(dos);
    EXPECT_TRUE(dos->RecoveryCopyName().isEmpty());
    Type(dos, "new ");
    Tick(dos);
    EXPECT_EQ(dos->RecoveryCopyName(), Path("dos.$$$"));
    EXPECT_EQ(Bytes(Path("dos.$$$")), "new <P>one\r\ntwo\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(Path("dos.$$$")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(Bytes(Path("dos.htm")), "<P>one\r\ntwo\r\n");
    // Unchanged since the last copy: not written again (a copy removed behind its back stays away).
    QFile::remove(Path("dos.$$$"));
    Tick(dos);
    EXPECT_FALSE(QFile::exists(Path("dos.$$$")));
    Type(dos, "x");
    Tick(dos);
    EXPECT_EQ(Bytes(Path("dos.$$$")), "new x<P>one\r\ntwo\r\n");
    // Undone back to the file's text: the copy goes.
    dos->Editor->Undo();
    dos->Editor->Undo();
    ASSERT_FALSE(dos->Editor->Modified());
    Tick(dos);
    EXPECT_FALSE(QFile::exists(Path("dos.$$$")));

    // A Unix file is copied with LF; a save deletes the copy.
    TMDIChild *unix = OpenFile(Path("unix.htm"));
    Type(unix, "z");
    Tick(unix);
    EXPECT_EQ(Bytes(Path("unix.$$$")), "za\nb\n");
    ASSERT_TRUE(unix->SaveDocument());
    EXPECT_FALSE(QFile::exists(Path("unix.$$$")));
    EXPECT_EQ(Bytes(Path("unix.htm")), "za\nb\n");

    // An untitled document's copy lives in the state directory, CR LF as its save would write.
    TMDIChild *untitled = NewDocument();
    Type(untitled, "draft\r\nline two");
    Tick(untitled);
    const QString copy = untitled->RecoveryCopyName();
    EXPECT_TRUE(copy.startsWith(State("recovery/untitled.") + QString::number(::getpid()) + ".")) << copy.toStdString();
    EXPECT_EQ(Bytes(copy), "draft\r\nline two\r\n");

    // Closing deletes the window's own copy, also after answering No.
    TScriptedPrompt prompt;
    prompt.ExpectMessage("\"Untitled\" has changed.  Save this file?", mrNo);
    untitled->close();
    Settle();
    EXPECT_FALSE(QFile::exists(copy));

    // RecoverySeconds 0 writes no copies at all.
    Stop();
    Setting("Setup", "RecoverySeconds", "0");
    TMDIChild *off = OpenFile(Path("dos.htm"));
    EXPECT_FALSE(off->RecoveryTimer()->isActive());
    Stop();
    Setting("Setup", "RecoverySeconds", "5");
    EXPECT_EQ(OpenFile(Path("dos.htm"))->RecoveryTimer()->interval(), 5000);
}

TEST_F(RecoveryUiTest, OpeningAFileWithACopyAsksYesNoOrCancel)
{
    const QByteArray file = "<P>saved\r\n";
    const QByteArray typed = "<P>saved\r\ntyped later  \r\n";
    const auto plant = [&] { WriteRecoveryFile(Path("page.$$$").toStdString(), typed.toStdString(), ""); };
    Put(Path("page.htm"), file);

    // Yes: the copy's text as unsaved changes; the file stays as it was until the user saves.
    plant();
    {
        TScriptedPrompt prompt;
        prompt.ExpectMessage(Question(Path("page.htm"), Path("page.$$$")), mrYes, TMsgDlgType::mtConfirmation,
                             mbYesNoCancel);
        TMDIChild *doc = OpenFile(Path("page.htm"));
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(Text(doc), "<P>saved\ntyped later  \n");
        EXPECT_TRUE(doc->Editor->Modified());
        EXPECT_EQ(form->ModifiedPanel->text(), "Modified");
        EXPECT_EQ(Bytes(Path("page.htm")), file);
        EXPECT_EQ(doc->Editor->FileName(), Path("page.htm"));
        // The copy is the window's own now: its next copy replaces it, the save deletes it.
        Type(doc, "!");
        Tick(doc);
        EXPECT_EQ(Bytes(Path("page.$$$")), "!" + typed);
        ASSERT_TRUE(doc->SaveDocument());
        EXPECT_EQ(Bytes(Path("page.htm")), "!" + typed);
        EXPECT_FALSE(QFile::exists(Path("page.$$$")));
        doc->close();
        Settle();
    }
    Put(Path("page.htm"), file);

    // No: the copy is deleted and the file opens as it is.
    plant();
    {
        TScriptedPrompt prompt;
        prompt.ExpectMessage(Question(Path("page.htm"), Path("page.$$$")), mrNo);
        TMDIChild *doc = OpenFile(Path("page.htm"));
        EXPECT_EQ(Text(doc), "<P>saved\n");
        EXPECT_FALSE(doc->Editor->Modified());
        EXPECT_FALSE(QFile::exists(Path("page.$$$")));
        doc->close();
        Settle();
    }

    // Cancel: the copy stays, also when the window is closed and after its own copies.
    plant();
    {
        TScriptedPrompt prompt;
        prompt.ExpectMessage(Question(Path("page.htm"), Path("page.$$$")), mrCancel);
        TMDIChild *doc = OpenFile(Path("page.htm"));
        EXPECT_EQ(Text(doc), "<P>saved\n");
        Type(doc, "other ");
        Tick(doc);
        EXPECT_NE(doc->RecoveryCopyName(), Path("page.$$$"));
        EXPECT_EQ(Bytes(Path("page.$$$")), typed);
        prompt.ExpectMessage("\"" + Path("page.htm") + "\" has changed.  Save this file?", mrNo);
        doc->close();
        Settle();
        EXPECT_EQ(Bytes(Path("page.$$$")), typed);
    }

    // A copy that holds just the file's bytes is dropped without a question; a relative name
    // finds the same copy as the full one.
    WriteRecoveryFile(Path("page.$$$").toStdString(), file.toStdString(), "");
    EXPECT_EQ(Text(OpenFile("page.htm")), "<P>saved\n");
    EXPECT_FALSE(QFile::exists(Path("page.$$$")));
}

TEST_F(RecoveryUiTest, StartUpOffersTheUntitledCopiesOfEndedRuns)
{
    const std::string first = UntitledRecoveryName(DeadPid(), 1);
    const std::string second = UntitledRecoveryName(DeadPid(), 2);
    const std::string third = UntitledRecoveryName(DeadPid(), 3);
    WriteRecoveryFile(first, "first draft\r\n", "");
    WriteRecoveryFile(second, "second draft\r\n", "");
    WriteRecoveryFile(third, "third draft\r\n", "");
    const timespec times[3][2] = {{{1000, 0}, {1000, 0}}, {{2000, 0}, {2000, 0}}, {{3000, 0}, {3000, 0}}};
    ::utimensat(AT_FDCWD, first.c_str(), times[0], 0);
    ::utimensat(AT_FDCWD, second.c_str(), times[1], 0);
    ::utimensat(AT_FDCWD, third.c_str(), times[2], 0);

    TScriptedPrompt prompt;
    prompt.ExpectMessage(QString::fromStdString(RecoveryQuestion("Untitled", 1000)), mrYes,
                         TMsgDlgType::mtConfirmation, mbYesNoCancel);
    prompt.ExpectMessage(QString::fromStdString(RecoveryQuestion("Untitled", 2000)), mrNo);
    prompt.ExpectMessage(QString::fromStdString(RecoveryQuestion("Untitled", 3000)), mrCancel);
    Start(); // the window shown, the copies are offered
    Settle();
    ASSERT_EQ(form->Children().size(), 1);
    auto *doc = dynamic_cast<TMDIChild *>(form->Children().first());
    EXPECT_EQ(doc->DocumentCaption(), "Untitled");
    EXPECT_EQ(Text(doc), "first draft\n");
    EXPECT_TRUE(doc->Editor->Modified());
    EXPECT_EQ(doc->RecoveryCopyName().toStdString(), first);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(second)));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(third)));

    // Saving the recovered document deletes the copy it came from.
    prompt.ExpectSave(Path("draft.htm"));
    ASSERT_TRUE(doc->SaveDocument());
    EXPECT_EQ(Bytes(Path("draft.htm")), "first draft\r\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(first)));
}

TEST_F(RecoveryUiTest, AFailedCopyIsToldOnceAndThePreviousOneStays)
{
    Put(Path("page.htm"), "text\n");
    TMDIChild *doc = OpenFile(Path("page.htm"));
    Type(doc, "1");
    Tick(doc);
    ASSERT_EQ(Bytes(Path("page.$$$")), "1text\n");
    for (const TFault fault : AllFaults) {
        SCOPED_TRACE(FaultName(fault));
        const QByteArray before = Bytes(Path("page.$$$"));
        std::optional<TFileSizeLimit> limit;
        TFileFaultScope scope([&](TFileOp Op, const std::string &Path) {
            if (Path.find("page.$$$") == std::string::npos)
                return 0;
            if (Op == TFileOp::Create && fault == TFault::ShortWrite && !limit)
                limit.emplace(3);
            return (Op == TFileOp::Create && fault == TFault::Create) ||
                           (Op == TFileOp::Rename && fault == TFault::Rename)
                       ? EIO
                       : 0;
        });
        form->StatusLine->clear();
        Type(doc, "2");
        Tick(doc);
        EXPECT_TRUE(form->StatusLine->text().startsWith("Cannot write the recovery copy \"" + Path("page.$$$") + "\""))
            << form->StatusLine->text().toStdString();
        // Typing goes on; the second failure in a row says nothing more.
        form->StatusLine->clear();
        Type(doc, "3");
        Tick(doc);
        EXPECT_EQ(form->StatusLine->text(), "");
        EXPECT_EQ(Bytes(Path("page.$$$")), before);
        EXPECT_EQ(QDir(WorkDir()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        limit.reset();
        // Working again: the copy catches up, and the next failure is told again.
        TFileFaultScope none({});
        Tick(doc);
        EXPECT_EQ(Bytes(Path("page.$$$")).toStdString(), Text(doc));
        ASSERT_TRUE(doc->Editor->Modified());
    }
}

TEST_F(RecoveryUiTest, ASignalEndsTheRunWithCopiesWrittenAndPreviewFilesGone)
{
    Put(Path("page.htm"), "saved\n");
    Put(Path("~htm0001.htm"), "preview");
    // A killed run's preview file is deleted at the next start.
    QDir().mkpath(State(""));
    Put(State("previews.") + QString::number(DeadPid()), (Path("~htm0001.htm") + "\n").toUtf8());
    Start();
    EXPECT_FALSE(QFile::exists(Path("~htm0001.htm")));

    TMDIChild *file = OpenFile(Path("page.htm"));
    TMDIChild *untitled = NewDocument();
    Type(file, "typed ");
    Type(untitled, "new text");
    // This run's preview file, listed on disk as it is written.
    Put(Path("~htm0002.htm"), "preview");
    form->PreviewFiles << Path("~htm0002.htm");
    TPreviewFileList().Add(Path("~htm0002.htm").toStdString());
    form->AddRecentFile(Path("page.htm"));

    int exitCode = -1;
    TMainForm::SetSessionExit([&](int Code) { exitCode = Code; });
    ASSERT_EQ(::raise(SIGTERM), 0);
    QElapsedTimer wait;
    wait.start();
    while (exitCode < 0 && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Bytes(Path("page.$$$")), "typed saved\n");
    const QString copy = untitled->RecoveryCopyName();
    EXPECT_EQ(Bytes(copy), "new text\r\n");
    EXPECT_FALSE(QFile::exists(Path("~htm0002.htm")));
    EXPECT_FALSE(QFile::exists(State("previews.") + QString::number(::getpid())));
    EXPECT_EQ(TProfile((tmp.path() + "/config/PELMAR32.INI").toStdString()).ReadString("Recent Files", "1", ""),
              Path("page.htm").toStdString());
    // Ending once is all: a second signal does nothing more.
    exitCode = -1;
    ::raise(SIGHUP);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(exitCode, -1);
    form.reset();
    BackToWorkDir();

    // The next run offers the untitled copy; opening the file offers its copy.
    TScriptedPrompt prompt;
    prompt.ExpectMessage(Question("Untitled", copy), mrYes);
    Start();
    ASSERT_EQ(form->Children().size(), 1);
    EXPECT_EQ(Text(dynamic_cast<TMDIChild *>(form->Children().first())), "new text\n");
    prompt.ExpectMessage(Question(Path("page.htm"), Path("page.$$$")), mrYes);
    EXPECT_EQ(Text(OpenFile(Path("page.htm"))), "typed saved\n");
}

TEST_F(RecoveryUiTest, TheSessionsEndAsksAsExitDoesWhenItMay)
{
    Put(Path("page.htm"), "saved\n");
    TMDIChild *doc = OpenFile(Path("page.htm"));
    Type(doc, "typed ");
    int exitCode = -1;
    TMainForm::SetSessionExit([&](int Code) { exitCode = Code; });
    {
        // Cancel keeps the session and the program going.
        TScriptedPrompt prompt;
        prompt.ExpectMessage("\"" + Path("page.htm") + "\" has changed.  Save this file?", mrCancel);
        EXPECT_FALSE(form->CommitData(true));
        EXPECT_EQ(exitCode, -1);
        // Yes saves, then the run ends.
        prompt.ExpectMessage("\"" + Path("page.htm") + "\" has changed.  Save this file?", mrYes);
        EXPECT_TRUE(form->CommitData(true));
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(Bytes(Path("page.htm")), "typed saved\n");
        EXPECT_FALSE(QFile::exists(Path("page.$$$")));
    }
    form.reset();
    BackToWorkDir();

    // Without interaction nothing is asked: the copy is written and the run ends.
    doc = OpenFile(Path("page.htm"));
    Type(doc, "more ");
    exitCode = -1;
    EXPECT_TRUE(form->CommitData(false));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Bytes(Path("page.$$$")), "more typed saved\n");
}
