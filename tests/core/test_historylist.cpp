// History list files: parsing, case-blind adding, saving, and missing or unwritable files.
#include "core/custom/CustomFiles.h"
#include "core/custom/HistoryList.h"
#include "core/editor/SafeFile.h"

#include <cerrno>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

class HistoryFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() / ("hist_" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override
    {
        fs::permissions(Dir, fs::perms::owner_all);
        fs::remove_all(Dir);
    }
    std::string Slurp(const fs::path &P)
    {
        std::ifstream in(P, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path Dir;
};

} // namespace

TEST(HistoryText, LineEndsNulAndFormat)
{
    EXPECT_EQ(ParseHistoryText(""), Lines{});
    EXPECT_EQ(ParseHistoryText("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(ParseHistoryText("a\r\n\r\n\n\rb\r\n"), (Lines{"a", "", "", "", "b"}));
    EXPECT_EQ(ParseHistoryText("\r\n"), Lines{""});
    EXPECT_EQ(ParseHistoryText(std::string_view("one\r\ntw\0o\r\nthree", 17)), (Lines{"one", "tw"}));
    EXPECT_EQ(ParseHistoryText(std::string_view("\0abc", 4)), Lines{});
    EXPECT_EQ(FormatHistoryText({"<IMG SRC=\"a.gif\">", "", "x"}), "<IMG SRC=\"a.gif\">\r\n\r\nx\r\n");
    EXPECT_EQ(FormatHistoryText({}), "");
    Lines round{"a", "", "\xE9t\xE9", "last"};
    EXPECT_EQ(ParseHistoryText(FormatHistoryText(round)), round);
}

TEST(HistoryText, CaseBlindComparison)
{
    EXPECT_TRUE(SameTextIgnoringCase("<img SRC=\"A.gif\">", "<IMG src=\"a.GIF\">"));
    EXPECT_FALSE(SameTextIgnoringCase("a b", "a  b"));
    EXPECT_FALSE(SameTextIgnoringCase("ab", "abc"));
    EXPECT_TRUE(SameTextIgnoringCase("\xC9T\xC9", "\xE9t\xE9"));  // accented letters fold too
    EXPECT_TRUE(SameTextIgnoringCase("\x8A\x9F", "\x9A\xFF"));
    EXPECT_FALSE(SameTextIgnoringCase("\xD7", "\xF7"));            // multiply and divide signs
    EXPECT_FALSE(SameTextIgnoringCase("@", "`"));
    EXPECT_FALSE(SameTextIgnoringCase("[", "{"));
}

TEST_F(HistoryFiles, FileName)
{
    EXPECT_EQ(HistoryFileName("/w/dir", ImagesHistoryName), "/w/dir/IMAGES.HIS");
    EXPECT_EQ(HistoryFileName("/w/dir/", URLsHistoryName), "/w/dir/URLS.HIS");
    EXPECT_EQ(HistoryFileName("", HostsHistoryName), "HOSTS.HIS");
}

TEST_F(HistoryFiles, MissingFileThenFirstSaveCreatesIt)
{
    const std::string name = HistoryFileName(Dir.string(), ImagesHistoryName);
    THistoryList list(name);
    list.Add("stale");
    EXPECT_NO_THROW(list.Load()) << "a list never saved is empty, not a failure";
    EXPECT_TRUE(list.Items().empty());
    // Something under the name that cannot be read is still reported.
    fs::create_symlink(Dir / "nowhere", Dir / "URLS.HIS");
    THistoryList dangling(HistoryFileName(Dir.string(), URLsHistoryName));
    EXPECT_THROW(dangling.Load(), ECustomFileError);
    EXPECT_TRUE(list.Add(""));
    EXPECT_FALSE(list.Add("")); // an empty text is added once
    EXPECT_TRUE(list.Add("<IMG SRC=\"a.gif\">"));
    list.Save();
    EXPECT_EQ(Slurp(name), "\r\n<IMG SRC=\"a.gif\">\r\n");
}

TEST_F(HistoryFiles, UnreadableFileReported)
{
    const std::string name = HistoryFileName(Dir.string(), URLsHistoryName);
    std::ofstream(name, std::ios::binary) << "a\r\n";
    THistoryList list(name);
    for (TFileOp failing : {TFileOp::Open, TFileOp::Read}) {
        TFileFaultScope fault([&](TFileOp Op, const std::string &) { return Op == failing ? EIO : 0; });
        try {
            list.Load();
            FAIL() << "an unreadable file must be reported";
        } catch (const ECustomFileError &e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + name);
        }
        EXPECT_TRUE(list.Items().empty());
    }
    list.Load();
    EXPECT_EQ(list.Items(), Lines{"a"});
}

TEST_F(HistoryFiles, AddIgnoresCaseKeepsOrderAndSaveRewrites)
{
    const std::string name = HistoryFileName(Dir.string(), URLsHistoryName);
    std::ofstream(name, std::ios::binary) << "http://one/\nHTTP://Two/\r\nthree";
    THistoryList list(name);
    list.Add("stale"); // Load starts afresh
    list.Load();
    EXPECT_EQ(list.Items(), (Lines{"http://one/", "HTTP://Two/", "three"}));
    EXPECT_FALSE(list.Add("http://two/"));
    EXPECT_FALSE(list.Add("THREE"));
    EXPECT_TRUE(list.Add("three "));
    EXPECT_TRUE(list.Add("http://four/"));
    EXPECT_EQ(list.Items(), (Lines{"http://one/", "HTTP://Two/", "three", "three ", "http://four/"}));
    list.Save();
    EXPECT_EQ(Slurp(name), "http://one/\r\nHTTP://Two/\r\nthree\r\nthree \r\nhttp://four/\r\n");

    // The same tag in a second use adds nothing, yet the file is written again (normalised).
    std::ofstream(name, std::ios::binary) << "a\nb";
    THistoryList again(name);
    again.Load();
    EXPECT_FALSE(again.Add("A"));
    again.Save();
    EXPECT_EQ(Slurp(name), "a\r\nb\r\n");
}

TEST_F(HistoryFiles, UnwritableFileKeepsOldContent)
{
    const std::string name = HistoryFileName(Dir.string(), HostsHistoryName);
    std::ofstream(name, std::ios::binary) << "old\r\n";
    THistoryList list(name);
    list.Load();
    list.Add("new");
    for (TFileOp failing : {TFileOp::Create, TFileOp::Write, TFileOp::Sync, TFileOp::Rename}) {
        TFileFaultScope fault([&](TFileOp Op, const std::string &) { return Op == failing ? EIO : 0; });
        try {
            list.Save();
            FAIL() << "an unwritable file must be reported";
        } catch (const ECustomFileError &e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + name);
        }
        EXPECT_EQ(Slurp(name), "old\r\n");
    }
    if (::geteuid() != 0) {
        fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(list.Save(), ECustomFileError);
        fs::permissions(Dir, fs::perms::owner_all);
    }
    list.Save();
    EXPECT_EQ(Slurp(name), "old\r\nnew\r\n");
}

TEST_F(HistoryFiles, UnwritableTargetsReportedEvenForRoot)
{
    // A directory in the file's place and a missing directory fail for every user.
    fs::create_directories(Dir / "IMAGES.HIS");
    THistoryList dirList(HistoryFileName(Dir.string(), ImagesHistoryName));
    EXPECT_THROW(dirList.Load(), ECustomFileError);
    dirList.Add("x");
    EXPECT_THROW(dirList.Save(), ECustomFileError);
    EXPECT_TRUE(fs::is_directory(Dir / "IMAGES.HIS"));
    THistoryList noDir(HistoryFileName((Dir / "nowhere").string(), ImagesHistoryName));
    noDir.Add("x");
    EXPECT_THROW(noDir.Save(), ECustomFileError);
    // No temporary file is left behind by the failures.
    int count = 0;
    for ([[maybe_unused]] const auto &e : fs::directory_iterator(Dir))
        ++count;
    EXPECT_EQ(count, 1);
}

TEST_F(HistoryFiles, SaveKeepsPermissions)
{
    const fs::path name = Dir / "URLS.HIS";
    std::ofstream(name) << "x\r\n";
    fs::permissions(name, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    THistoryList list(name.string());
    list.Load();
    list.Add("y");
    list.Save();
    EXPECT_EQ(fs::status(name).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Slurp(name), "x\r\ny\r\n");
}
