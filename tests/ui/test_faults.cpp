// Failing writes as the user meets them: document saves in both formats, Save As, Save without
// HTML Tags, the preview file, the settings file, the image history and the page builder, each
// failing at the creation of the new file, at a short write and at the final rename. Each time
// the previous file keeps its bytes, an error box says so, and nothing is reported as saved.
// CUSTOM.HTB likewise when the Custom Buttons dialog closes.
// Also: a file changed by another program since it was loaded or saved is not overwritten
// without asking, links stay links, permission bits stay, read-only files are refused.
#include "DialogScript.h"
#include "core/editor/SafeFile.h"
#include "core/markup/PreviewFile.h"
#include "support/DocumentFixture.h"
#include "support/RecordingHelp.h"
#include "core/custom/CustomButtons.h"
#include "ui/custom/CustomButtonBar.h"
#include "ui/custom/CustomButtonsDialog.h"
#include "ui/dialogs/PageBuilder.h"
#include "ui/dialogs/ImageDialog.h"

#include "../shared/FileFaults.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Makes the writing of one file fail while it lives: the new file beside it (whose name holds
// the target's name) cannot be created, or it is cut short by the file size limit once created
// (the write that crosses 3 bytes writes part, the next fails), or it cannot be renamed over the
// target. Writes of other files go through.
class TTargetFault {
public:
    TTargetFault(TFault F, const QString &Target)
        : Name(QFileInfo(Target).fileName().toStdString()),
          Scope([this, F](TFileOp Op, const std::string &Path) { return Fault(F, Op, Path); })
    {
    }
    TTargetFault(const TTargetFault &) = delete;
    TTargetFault &operator=(const TTargetFault &) = delete;

private:
    int Fault(TFault F, TFileOp Op, const std::string &Path)
    {
        if (Path.find(Name) == std::string::npos)
            return 0;
        if (Op == TFileOp::Create && F == TFault::Create)
            return EIO;
        if (Op == TFileOp::Create && F == TFault::ShortWrite && !Limit)
            Limit.emplace(3);
        if (Op == TFileOp::Rename && F == TFault::Rename)
            return EIO;
        return 0;
    }

    std::string Name;
    std::optional<TFileSizeLimit> Limit;
    TFileFaultScope Scope;
};

class FaultUiTest : public DocumentTest {
protected:
    QStringList Listing(const QString &Dir) const
    {
        return QDir(Dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    QString Ini() const { return tmp.path() + "/config/PELMAR32.INI"; }

    // Runs Write under each fault with the target holding Old first: the error box comes (its
    // text starting with Message), the target keeps Old, the directory keeps its files, and
    // Check adds what else must hold.
    void EveryFault(const QString &What, const QString &Target, const QString &Message,
                    const std::function<void()> &Write, const std::function<void()> &Check = {},
                    const std::function<void(TScriptedPrompt &)> &Asked = {})
    {
        const QByteArray Old = "old bytes\r\n";
        for (TFault F : AllFaults) {
            SCOPED_TRACE((What + ", " + FaultName(F)).toStdString());
            Put(Target, Old);
            const QStringList Before = Listing(QFileInfo(Target).path());
            {
                TScriptedPrompt prompt;
                if (Asked)
                    Asked(prompt); // the questions before the write
                prompt.ExpectMessagePrefix(Message, mrOk);
                {
                    TTargetFault Fault(F, Target);
                    Write();
                }
                ASSERT_TRUE(prompt.AllUsed());
                EXPECT_EQ(prompt.Records().back().type, TMsgDlgType::mtError);
            }
            EXPECT_EQ(Bytes(Target), Old);
            EXPECT_EQ(Listing(QFileInfo(Target).path()), Before) << "a temporary file was left behind";
            if (Check)
                Check();
        }
    }
    static unsigned Mode(const QString &File)
    {
        struct stat St;
        return ::stat(QFile::encodeName(File).constData(), &St) == 0 ? St.st_mode & 07777 : 0;
    }
    static bool IsLink(const QString &File)
    {
        struct stat St;
        return ::lstat(QFile::encodeName(File).constData(), &St) == 0 && S_ISLNK(St.st_mode);
    }
    static void Link(const QString &Target, const QString &Name)
    {
        ASSERT_EQ(::symlink(QFile::encodeName(Target).constData(), QFile::encodeName(Name).constData()), 0);
    }
    // Another program replaces the file: new content written beside it and renamed over it.
    static void ReplaceByRename(const QString &File, const QByteArray &Content)
    {
        Put(File + ".new", Content);
        ASSERT_EQ(::rename(QFile::encodeName(File + ".new").constData(), QFile::encodeName(File).constData()), 0);
    }
};

} // namespace

TEST_F(FaultUiTest, DocumentSavesInBothFormatsAndSaveAs)
{
    Start();
    for (const QString name : {"dos.htm", "unix.htm"}) {
        Put(Path(name), name == "dos.htm" ? "first\r\n" : "first\n");
        TMDIChild *doc = OpenFile(Path(name));
        ASSERT_NE(doc, nullptr);
        Type(doc, "typed ");
        // The old bytes put in place count as what the window loaded, not as a foreign change.
        auto save = [&] {
            doc->Editor->RememberFileStamp(Path(name));
            return doc->SaveDocument();
        };
        EveryFault(name, Path(name), "Cannot save file \"" + Path(name) + "\"", [&] { EXPECT_FALSE(save()); },
                   [&] {
                       EXPECT_TRUE(doc->Editor->Modified());
                       Settle();
                       EXPECT_EQ(form->ModifiedPanel->text(), "Modified");
                   });
        // Without a fault the same save goes through.
        {
            TScriptedPrompt prompt;
            EXPECT_TRUE(save());
        }
        EXPECT_EQ(Bytes(Path(name)), name == "dos.htm" ? "typed first\r\n" : "typed first\n");
        EXPECT_FALSE(doc->Editor->Modified());
    }

    // Save As over an existing file, in both formats.
    TMDIChild *doc = NewDocument();
    Type(doc, "new text");
    for (const bool unix : {false, true}) {
        const QString target = Path("other.htm");
        EveryFault(
            unix ? "Save As UNIX" : "Save As DOS", target, "Cannot save file \"" + target + "\"",
            [&] { EXPECT_FALSE(unix ? doc->SaveAsUnixFile() : doc->SaveAsDOSFile()); },
            [&] { EXPECT_TRUE(doc->Editor->Modified()); },
            [&](TScriptedPrompt &prompt) {
                prompt.ExpectSave(target);
                prompt.ExpectMessage(target + " exists.  Overwrite?", mrYes);
            });
    }
}

TEST_F(FaultUiTest, SaveWithoutTagsPreviewAndSettings)
{
    Start();
    Put(Path("src.htm"), "<B>bold</B> and more text\r\n");
    TMDIChild *doc = OpenFile(Path("src.htm"));
    ASSERT_NE(doc, nullptr);
    const int windows = form->Children().size();
    EveryFault(
        "without tags", Path("out.txt"), "Cannot save file \"" + Path("out.txt") + "\"",
        [&] { form->SavewithoutHTMLTags1->trigger(); },
        [&] { EXPECT_EQ(form->Children().size(), windows) << "nothing opened"; },
        [&](TScriptedPrompt &prompt) { prompt.ExpectSave(Path("out.txt")); });

    // The preview: each run takes the next name; a file already there keeps its bytes, and no
    // browser starts.
    const QString marker = tmp.path() + "/browser-ran";
    const QString browser = tmp.path() + "/browser.sh";
    Put(browser, "#!/bin/sh\ntouch '" + QFile::encodeName(marker) + "'\n");
    QFile::setPermissions(browser, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    form->SetupManager->SetProgPath(QFile::encodeName(browser).toStdString());
    Type(doc, "<P>");
    int run = 0;
    for (TFault F : AllFaults) {
        SCOPED_TRACE(FaultName(F));
        const QString file = Path(QString::fromStdString(PreviewFileName(++run)));
        Put(file, "old preview");
        TScriptedPrompt prompt;
        prompt.ExpectMessagePrefix("Cannot save file \"" + file + "\"", mrOk);
        {
            TTargetFault Fault(F, file);
            form->TestHTMLDocument1->trigger();
        }
        EXPECT_EQ(Bytes(file), "old preview");
        EXPECT_TRUE(doc->Editor->Modified());
        EXPECT_FALSE(form->PreviewFiles.contains(file));
    }
    QTest::qWait(200);
    EXPECT_FALSE(QFile::exists(marker)) << "the browser ran on a preview that was not written";

    // The settings file: a toggle that writes a key reports the failure; the file stays whole.
    form->SetupManager->SetProgPath("kept");
    const QByteArray ini = Bytes(Ini());
    ASSERT_TRUE(ini.contains("kept"));
    for (TFault F : AllFaults) {
        SCOPED_TRACE(FaultName(F));
        TScriptedPrompt prompt;
        prompt.ExpectMessage("Unable to write to " + Ini(), mrOk, TMsgDlgType::mtError);
        {
            TTargetFault Fault(F, Ini());
            form->StandardSpeedBar->trigger();
        }
        EXPECT_EQ(Bytes(Ini()), ini);
        EXPECT_EQ(Listing(tmp.path() + "/config"), QStringList{"PELMAR32.INI"});
    }
}

TEST_F(FaultUiTest, ImageHistoryAndPageBuilder)
{
    Start();
    TRecordingHelp help;
    const QString his = QDir::currentPath() + "/IMAGES.HIS";
    for (TFault F : AllFaults) {
        SCOPED_TRACE(FaultName(F));
        Put(his, "<IMG SRC=\"old.gif\">\r\n");
        TDialogScript script;
        script.Expect("Inline Image", [&](QDialog &d) {
            auto &box = static_cast<TInsertImageBox &>(d);
            ::Type(box.SrcEdit, "new.gif");
            return Press(d, box.OKBtn);
        });
        TScriptedPrompt prompt;
        prompt.ExpectMessage("Cannot create file " + his, mrOk, TMsgDlgType::mtError);
        std::optional<std::string> tag;
        {
            TTargetFault Fault(F, his);
            tag = ExecImageBox(nullptr, "");
        }
        EXPECT_EQ(tag, std::optional<std::string>("<IMG SRC=\"new.gif\">")) << "the tag still comes back";
        EXPECT_EQ(Bytes(his), "<IMG SRC=\"old.gif\">\r\n");
        EXPECT_EQ(Listing(QDir::currentPath()), QStringList{"IMAGES.HIS"});
    }

    const QString page = Path("HOMEPAGE.HTM");
    EveryFault("page builder", page, "Cannot save file \"" + page + "\"", [&] {
        TDialogScript script;
        script.Expect("HTML Page Builder", [&](QDialog &D) {
            auto &d = dynamic_cast<TPageWizDlg &>(D);
            d.TitleEdit->setText("Title");
            d.SaveBrowseEdit->setText(page);
            while (d.PageNumber() < 6)
                ::Click(d.NextButton);
            return Press(d, d.FinishButton);
        });
        form->HTMLPageBuilder1->trigger();
    }, [&] { EXPECT_TRUE(form->Children().isEmpty()) << "a page not written is not opened"; });
}

TEST_F(FaultUiTest, CustomButtonsFile)
{
    // The buttons file is written when the Custom Buttons dialog closes.
    TCustButton Bold;
    Bold.Caption = "Bold";
    Bold.OpeningTag = "<B>";
    Bold.ClosingTag = "</B>";
    const QByteArray stored = QByteArray::fromStdString(FormatCustomButtons({Bold}));
    Put(Path("CUSTOM.HTB"), stored);
    Start();
    const QString name = QString::fromStdString(TCustomButtonBar::ButtonsFileName());
    ASSERT_EQ(name, Path("CUSTOM.HTB"));
    int made = 0;
    for (TFault F : AllFaults) {
        SCOPED_TRACE(FaultName(F));
        TScriptedPrompt prompt;
        TDialogScript script;
        prompt.ExpectInput("Button Text:", "Fresh" + QString::number(++made));
        script.Expect("Custom Buttons", [&](QDialog &D) {
            dynamic_cast<TCustomButtonRemoveDlg &>(D).NewBtn->click();
            Settle();
            return int(QDialog::Accepted);
        });
        prompt.ExpectMessage("Cannot create file " + name, mrOk, TMsgDlgType::mtError);
        {
            TTargetFault Fault(F, name);
            form->CustomButtons1->trigger();
            Settle();
        }
        EXPECT_EQ(Bytes(name), stored);
        EXPECT_EQ(Listing(QFileInfo(name).path()), QStringList{"CUSTOM.HTB"});
    }
}

TEST_F(FaultUiTest, FileChangedByAnotherProgramIsNotOverwrittenWithoutAsking)
{
    Start();
    for (const QString name : {"dos.htm", "unix.htm"}) {
        SCOPED_TRACE(name.toStdString());
        const QString file = Path(name);
        const QByteArray eol = name == "dos.htm" ? "\r\n" : "\n";
        const QString question = file + " has been changed by another program.  Overwrite it?";
        Put(file, "mine" + eol);
        TMDIChild *doc = OpenFile(file);
        ASSERT_NE(doc, nullptr);
        TScriptedPrompt prompt;
        // Unchanged on disk: saved twice without a question (our own save is no foreign change).
        Type(doc, "a");
        EXPECT_TRUE(doc->SaveDocument());
        Type(doc, "b");
        EXPECT_TRUE(doc->SaveDocument());
        EXPECT_EQ(Bytes(file), "abmine" + eol);

        // Written over in place with another size: No keeps their bytes and our changes.
        Put(file, "theirs" + eol);
        Type(doc, "c");
        prompt.ExpectMessage(question, mrNo);
        EXPECT_FALSE(doc->SaveDocument());
        EXPECT_EQ(Bytes(file), "theirs" + eol);
        EXPECT_TRUE(doc->Editor->Modified());
        // Yes overwrites; the next save asks nothing.
        prompt.ExpectMessage(question, mrYes);
        EXPECT_TRUE(doc->SaveDocument());
        EXPECT_EQ(Bytes(file), "abcmine" + eol);
        Type(doc, "d");
        EXPECT_TRUE(doc->SaveDocument());

        // Replaced by a rename with the same size and bytes: another file now, so asked.
        ReplaceByRename(file, Bytes(file));
        prompt.ExpectMessage(question, mrNo);
        EXPECT_FALSE(doc->SaveDocument());
        // Touched only: its time changed.
        prompt.ExpectMessage(question, mrYes);
        EXPECT_TRUE(doc->SaveDocument());
        const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
        prompt.ExpectMessage(question, mrNo);
        EXPECT_FALSE(doc->SaveDocument());

        // Deleted by another program: saving just writes it again.
        QFile::remove(file);
        EXPECT_TRUE(doc->SaveDocument());
        EXPECT_EQ(Bytes(file), "abcdmine" + eol);

        // Closing a changed document over a changed file: No to overwriting keeps the window.
        Type(doc, "e");
        Put(file, "theirs again" + eol);
        QPointer<TMDIChild> alive(doc);
        prompt.ExpectMessage("\"" + file + "\" has changed.  Save this file?", mrYes);
        prompt.ExpectMessage(question, mrNo);
        EXPECT_FALSE(doc->close());
        EXPECT_TRUE(alive);
        EXPECT_EQ(Bytes(file), "theirs again" + eol);
        EXPECT_TRUE(prompt.AllUsed());
        doc->Editor->SetModified(false);
        doc->close();
    }
}

TEST_F(FaultUiTest, LinksPermissionsAndReadOnlyFiles)
{
    Start();
    TScriptedPrompt prompt;
    // A link stays a link; the file it points at gets the text and keeps its mode.
    QDir().mkpath(Path("real"));
    for (const QString name : {"dos.htm", "unix.htm"}) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray eol = name == "dos.htm" ? "\r\n" : "\n";
        const QString real = Path("real/" + name), link = Path("link-" + name);
        Put(real, "old" + eol);
        ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0751), 0);
        Link("real/" + name, link);
        TMDIChild *doc = OpenFile(link);
        ASSERT_NE(doc, nullptr);
        Type(doc, "new ");
        EXPECT_TRUE(doc->SaveDocument());
        EXPECT_TRUE(IsLink(link));
        EXPECT_EQ(Bytes(real), "new old" + eol);
        EXPECT_EQ(Mode(real), 0751u);
        // Save As onto the link's name keeps it a link too.
        TMDIChild *other = NewDocument();
        Type(other, "other");
        prompt.ExpectSave(link);
        prompt.ExpectMessage(link + " exists.  Overwrite?", mrYes);
        EXPECT_TRUE(name == "dos.htm" ? other->SaveAsDOSFile() : other->SaveAsUnixFile());
        EXPECT_TRUE(IsLink(link));
        EXPECT_EQ(Bytes(real), "other" + eol);
        EXPECT_EQ(Mode(real), 0751u);
    }

    // A read-only file (no write bit, whoever runs the program): the error names it, the text
    // stays with its changes, the file keeps its bytes and its mode.
    Put(Path("ro.htm"), "locked\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(Path("ro.htm")).constData(), 0444), 0);
    prompt.ExpectMessage("File is read-only.", mrOk, TMsgDlgType::mtWarning, mbOK);
    TMDIChild *ro = OpenFile(Path("ro.htm"));
    ASSERT_NE(ro, nullptr);
    Type(ro, "changed ");
    prompt.ExpectMessage("Cannot save file \"" + Path("ro.htm") + "\": the file is read-only: Permission denied", mrOk,
                         TMsgDlgType::mtError);
    EXPECT_FALSE(ro->SaveDocument());
    EXPECT_TRUE(ro->Editor->Modified());
    EXPECT_EQ(Text(ro), "changed locked\n");
    EXPECT_EQ(Bytes(Path("ro.htm")), "locked\r\n");
    EXPECT_EQ(Mode(Path("ro.htm")), 0444u);
    EXPECT_TRUE(prompt.AllUsed());
}

TEST_F(FaultUiTest, FilesThatCannotBeReadOpenNoWindowAndOthersComeBackByteForByte)
{
    Setting("Setup", "KeepTrailingBlanks", "1");
    Start();
    TScriptedPrompt prompt;
    const int Windows = static_cast<int>(form->MDIClient->subWindowList().size());
    // No read permission (refused here by the fault hook, as the system refuses an ordinary
    // user): the message says so, no window stays bound to the file, and nothing is written.
    Put(Path("secret.htm"), "41 bytes of a file nobody may read here.\n");
    {
        TFileFaultScope Faults([&](TFileOp Op, const std::string &P) {
            return Op == TFileOp::Open && P == Path("secret.htm").toStdString() ? EACCES : 0;
        });
        prompt.ExpectMessage("Cannot open file \"" + Path("secret.htm") + "\": you have no permission to read it", mrOk,
                             TMsgDlgType::mtError);
        EXPECT_EQ(OpenFile(Path("secret.htm")), nullptr);
    }
    Settle();
    EXPECT_EQ(form->MDIClient->subWindowList().size(), Windows);
    EXPECT_EQ(Bytes(Path("secret.htm")), "41 bytes of a file nobody may read here.\n");
    // Not a regular file: refused without waiting for a writer.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.htm")).constData(), 0666), 0);
    prompt.ExpectMessage("Cannot open file \"" + Path("pipe.htm") + "\": it is not a regular file", mrOk,
                         TMsgDlgType::mtError);
    EXPECT_EQ(OpenFile(Path("pipe.htm")), nullptr);
    Settle();
    EXPECT_EQ(form->MDIClient->subWindowList().size(), Windows);

    // With trailing blanks kept, a file with them, mixed line ends, a stray CR, a Ctrl+Z inside
    // and at the end comes back byte for byte after an edit of its first line; a second name of
    // the file (a hard link) sees the new text.
    const QByteArray File = "<p>  \r\n<td>a\rb</td>\t\n\x1a" "x\r\nlast line  \x1a";
    Put(Path("page.htm"), File);
    ASSERT_EQ(::link(QFile::encodeName(Path("page.htm")).constData(),
                     QFile::encodeName(Path("second-name.htm")).constData()),
              0);
    TMDIChild *doc = OpenFile(Path("page.htm"));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Editor->FileFormat(), ffDos);
    Type(doc, "<!-- -->");
    EXPECT_TRUE(doc->SaveDocument());
    EXPECT_EQ(Bytes(Path("page.htm")), "<!-- -->" + File);
    EXPECT_EQ(Bytes(Path("second-name.htm")), "<!-- -->" + File);
    EXPECT_EQ(Listing(Path("")), (QStringList{"page.htm", "pipe.htm", "second-name.htm", "secret.htm"}));
    EXPECT_TRUE(prompt.AllUsed());
}
