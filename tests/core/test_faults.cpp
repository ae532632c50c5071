// Fault injection at the file layer for every writer of the core: the document writers (DOS and
// Unix), Save without HTML Tags, the preview file, the settings file, the history lists,
// CUSTOM.HTB and the page builder. Each fails at the creation of its new file, at a short write
// (the file size limit cuts a write short, the next one fails) and at the final rename; each time
// the previous file keeps its bytes, the failure reaches the caller and nothing is left behind.
#include "core/custom/CustomButtons.h"
#include "core/custom/CustomFiles.h"
#include "core/custom/HistoryList.h"
#include "core/editor/SafeFile.h"
#include "core/editor/TextFileIO.h"
#include "core/markup/DialogPageBuilder.h"
#include "core/markup/PreviewFile.h"
#include "core/markup/SaveWithoutTags.h"
#include "core/settings/Profile.h"

#include "../shared/FileFaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Runs Write under the fault; returns the failure's message, or "" when nothing was thrown.
std::string WithFault(TFault F, const std::function<void()> &Write)
{
    auto Run = [&]() -> std::string {
        try {
            Write();
        } catch (const std::exception &E) {
            return std::string("!") + E.what();
        }
        return "";
    };
    if (F == TFault::ShortWrite) {
        TFileSizeLimit Limit(5);
        return Run();
    }
    const TFileOp Op = F == TFault::Create ? TFileOp::Create : TFileOp::Rename;
    TFileFaultScope Faults([Op](TFileOp O, const std::string &) { return O == Op ? EIO : 0; });
    return Run();
}

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char Templ[] = "/tmp/pelmar-faults-XXXXXX";
        ASSERT_NE(::mkdtemp(Templ), nullptr);
        Dir = Templ;
    }
    void TearDown() override
    {
        std::error_code Ec;
        fs::remove_all(Dir, Ec);
    }
    std::string Path(const std::string &Name) const { return Dir + "/" + Name; }
    static void Put(const std::string &File, const std::string &Bytes) { std::ofstream(File, std::ios::binary) << Bytes; }
    static std::string Get(const std::string &File)
    {
        std::ifstream In(File, std::ios::binary);
        std::ostringstream S;
        S << In.rdbuf();
        return S.str();
    }
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> Names;
        for (const auto &E : fs::directory_iterator(Dir))
            Names.push_back(E.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }

    // One writer of File: under every fault the old bytes stay, the failure is raised with a
    // message holding Expected, and only the files there before remain; without a fault the
    // writer does write.
    void CheckWriter(const std::string &What, const std::string &File, const std::string &Expected,
                     const std::function<void()> &Write)
    {
        const std::string Old = "old content that must survive\r\n";
        for (TFault F : {TFault::Create, TFault::ShortWrite, TFault::Rename}) {
            SCOPED_TRACE(What + ", " + FaultName(F));
            Put(File, Old);
            const std::vector<std::string> Before = Listing();
            const std::string Failure = WithFault(F, Write);
            EXPECT_EQ(Failure.substr(0, 1), "!") << "the failure was not reported";
            EXPECT_NE(Failure.find(Expected), std::string::npos) << Failure;
            EXPECT_EQ(Get(File), Old);
            EXPECT_EQ(Listing(), Before) << "a temporary file was left behind";
        }
        Put(File, Old);
        Write();
        EXPECT_NE(Get(File), Old) << What << " wrote nothing without a fault";
    }

    std::string Dir;
};

} // namespace

TEST_F(FaultTest, DocumentWritersInBothFormatsAndWithABackup)
{
    const std::vector<std::string> Paras = {"<HTML>", "a longer line of text", ""};
    auto Source = [&Paras](int P) { return std::string_view(Paras[static_cast<std::size_t>(P - 1)]); };
    const std::string File = Path("page.htm");
    for (TFileFormat Format : {ffDos, ffUnix})
        CheckWriter(Format == ffDos ? "DOS" : "Unix", File, "page.htm",
                    [&] { SaveTextFile(File, Format, 3, Source); });
    EXPECT_EQ(Get(File), "<HTML>\na longer line of text\n");

    // With a backup: a failure leaves neither a backup nor a changed file.
    TTextSaveOptions Backup;
    Backup.MakeBackup = true;
    fs::remove(Path("page.BAK"));
    CheckWriter("DOS with backup", File, "page.htm", [&] {
        fs::remove(Path("page.BAK"));
        SaveTextFile(File, ffDos, 3, Source, Backup);
    });
    EXPECT_EQ(Get(Path("page.BAK")), "old content that must survive\r\n");
}

TEST_F(FaultTest, SaveWithoutTagsPreviewAndPageBuilder)
{
    Put(Path("doc.htm"), "<B>bold</B> text\r\n");
    CheckWriter("without tags", Path("doc.txt"), "doc.txt", [&] { SaveWithoutHTMLTags(Path("doc.htm"), Path("doc.txt")); });
    EXPECT_EQ(Get(Path("doc.txt")), "bold text\r\n");

    const std::vector<std::string> Paras = {"<P>preview", ""};
    CheckWriter("preview", Path("~htm0001.htm"), "~htm0001.htm", [&] {
        WritePreviewFile(Path("~htm0001.htm"), 2,
                         [&Paras](int P) { return std::string_view(Paras[static_cast<std::size_t>(P - 1)]); });
    });
    EXPECT_EQ(Get(Path("~htm0001.htm")), "<P>preview\r\n");

    TPageWizardAnswers Page;
    Page.Title = "My page";
    Page.FileName = Path("HOMEPAGE.HTM");
    CheckWriter("page builder", Page.FileName, "HOMEPAGE.HTM", [&] { WriteHomePage(Page); });
    EXPECT_NE(Get(Page.FileName).find("My page"), std::string::npos);
}

TEST_F(FaultTest, SettingsFileEveryKindOfWrite)
{
    const std::string Ini = Path("PELMAR32.INI");
    TProfile Profile(Ini);
    const std::string Unable = "Unable to write to " + Ini;
    CheckWriter("write", Ini, Unable, [&] { Profile.WriteString("Setup", "WorkDir", "/new"); });
    EXPECT_EQ(Profile.ReadString("Setup", "WorkDir", ""), "/new");
    // Erasing and deleting rewrite the file as well; they need something to remove.
    auto WithSection = [&] { Put(Ini, "[Setup]\r\nWorkDir=/old\r\n[Custom-Test]\r\nA=1\r\n"); };
    for (TFault F : {TFault::Create, TFault::ShortWrite, TFault::Rename}) {
        SCOPED_TRACE(FaultName(F));
        WithSection();
        EXPECT_EQ(WithFault(F, [&] { Profile.EraseSection("Custom-Test"); }), "!" + Unable);
        EXPECT_EQ(WithFault(F, [&] { Profile.DeleteKey("Setup", "WorkDir"); }), "!" + Unable);
        EXPECT_EQ(Get(Ini), "[Setup]\r\nWorkDir=/old\r\n[Custom-Test]\r\nA=1\r\n");
        EXPECT_EQ(Listing(), std::vector<std::string>{"PELMAR32.INI"});
    }
}

TEST_F(FaultTest, HistoryListsAndCustomButtons)
{
    const std::string His = HistoryFileName(Dir, URLsHistoryName);
    THistoryList List(His);
    List.Add("http://example.org/");
    List.Add("page.htm");
    CheckWriter("history", His, "Cannot create file " + His, [&] { List.Save(); });
    EXPECT_EQ(Get(His), "http://example.org/\r\npage.htm\r\n");

    const std::string Htb = Path(CustomButtonsFileName);
    TCustomButtonSet Set;
    TCustButton &B = Set.NewButton("Bold");
    B.OpeningTag = "<B>";
    B.ClosingTag = "</B>";
    CheckWriter("CUSTOM.HTB", Htb, "Cannot create file " + Htb, [&] { Set.Save(Htb); });
    ASSERT_EQ(LoadCustomButtonsFile(Htb).size(), 1u);
    EXPECT_EQ(LoadCustomButtonsFile(Htb)[0].OpeningTag, "<B>");
}

TEST_F(FaultTest, FailuresWhileSyncingOrClosingAlsoKeepTheOldFile)
{
    const std::string File = Path("sync.htm");
    for (TFileOp Op : {TFileOp::Write, TFileOp::Sync, TFileOp::Close}) {
        Put(File, "old\r\n");
        TFileFaultScope Faults([Op](TFileOp O, const std::string &) { return O == Op ? ENOSPC : 0; });
        EXPECT_THROW(SaveFileSafely(File, "new\r\n"), EFileError);
        EXPECT_EQ(Get(File), "old\r\n");
        EXPECT_EQ(Listing(), std::vector<std::string>{"sync.htm"});
    }
}

TEST_F(FaultTest, ReadOnlyFilesAreRefusedEvenForRootAndStampsTellFilesApart)
{
    // Marked read-only (no write bit for the owner): refused for everyone, with a plain reason.
    const std::string File = Path("ro.htm");
    Put(File, "locked\r\n");
    ::chmod(File.c_str(), 0444);
    try {
        SaveFileSafely(File, "new\r\n");
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const EFileError &E) {
        EXPECT_EQ(std::string(E.what()), "Cannot save file \"" + File + "\": the file is read-only: Permission denied");
        EXPECT_EQ(E.ErrorNumber(), EACCES);
    }
    EXPECT_EQ(Get(File), "locked\r\n");
    EXPECT_EQ(Listing(), std::vector<std::string>{"ro.htm"});

    // A stamp changes with the content's size, with its time, and with the file behind the name.
    const std::string Doc = Path("doc.htm");
    EXPECT_FALSE(FileStampOf(Doc).Exists);
    Put(Doc, "one\r\n");
    const TFileStamp First = FileStampOf(Doc);
    EXPECT_TRUE(First.Exists);
    EXPECT_EQ(First.Size, 5);
    EXPECT_EQ(FileStampOf(Doc), First);
    Put(Doc, "three\r\n");
    EXPECT_NE(FileStampOf(Doc), First);
    Put(Doc, "one\r\n");
    const timespec Times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, Doc.c_str(), Times, 0), 0);
    const TFileStamp Touched = FileStampOf(Doc);
    EXPECT_EQ(Touched.Size, First.Size);
    EXPECT_NE(Touched.ModifiedNs, First.ModifiedNs);
    SaveFileSafely(Doc, "one\r\n"); // same bytes, but a new file renamed over the name
    const TFileStamp Replaced = FileStampOf(Doc);
    EXPECT_NE(Replaced.Inode, Touched.Inode);
    // Through a link: the stamp of the file it leads to.
    ASSERT_EQ(::symlink("doc.htm", Path("link.htm").c_str()), 0);
    EXPECT_EQ(FileStampOf(Path("link.htm")), Replaced);
}
