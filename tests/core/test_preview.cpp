// Browser preview without a window: names, directories, file URLs, conversation texts, the
// open-command template rule and the preview file writer's handling of planted links.
#include "core/editor/SafeFile.h"
#include "core/markup/PreviewFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Args = std::vector<std::string>;

std::string ReadAll(const std::string &Name)
{
    std::ifstream In(Name, std::ios::binary);
    std::ostringstream S;
    S << In.rdbuf();
    return S.str();
}

void WriteAll(const std::string &Name, const std::string &Bytes)
{
    std::ofstream(Name, std::ios::binary) << Bytes;
}

std::vector<std::string> Entries(const std::string &Dir)
{
    std::vector<std::string> Names;
    if (DIR *D = ::opendir(Dir.c_str())) {
        while (dirent *E = ::readdir(D))
            if (std::string(E->d_name) != "." && std::string(E->d_name) != "..")
                Names.push_back(E->d_name);
        ::closedir(D);
    }
    std::sort(Names.begin(), Names.end());
    return Names;
}

class PreviewFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char Template[] = "/tmp/pelmar-preview-XXXXXX";
        ASSERT_NE(::mkdtemp(Template), nullptr);
        Dir = Template;
    }
    void TearDown() override { std::system(("rm -rf '" + Dir + "'").c_str()); }

    void Write(const std::string &Name, const Args &Paras)
    {
        WritePreviewFile(Name, static_cast<int>(Paras.size()),
                         [&Paras](int I) { return std::string_view(Paras[static_cast<std::size_t>(I - 1)]); });
    }

    std::string Dir;
};

TEST(PreviewNamesTest, NamesDirectoriesAndUrls)
{
    EXPECT_EQ(PreviewFileName(1), "~htm0001.htm");
    EXPECT_EQ(PreviewFileName(42), "~htm0042.htm");
    EXPECT_EQ(PreviewFileName(12345), "~htm12345.htm") << "at least four digits, never cut";

    EXPECT_EQ(PreviewDirectory("/home/ann/web/A.HTM", "/work"), "/home/ann/web/");
    EXPECT_EQ(PreviewDirectory("Untitled", "/work"), "/work/");
    EXPECT_EQ(PreviewDirectory("Untitled", "/work/"), "/work/") << "one separator only";
    EXPECT_EQ(PreviewDirectory("/A.HTM", "/work"), "/");
    EXPECT_EQ(PreviewDirectory("/web/Untitled", "/work"), "/web/") << "only the bare caption is untitled";

    EXPECT_EQ(FileUrlForm("/web/~htm0001.htm"), "file:///web/~htm0001.htm");
    EXPECT_EQ(FileUrlForm("/my web/a#b?c%d\"e.htm"), "file:///my%20web/a%23b%3Fc%25d%22e.htm");
    EXPECT_EQ(FileUrlForm("/x/C:;$(rm)'@+,=.htm"), "file:///x/C:;$(rm)'@+,=.htm") << "path characters stay";
    EXPECT_EQ(FileUrlForm("/caf\xc3\xa9/\x7f\n"), "file:///caf%C3%A9/%7F%0A");
    EXPECT_EQ(FileUrlForm(std::string("/a\0b", 4)), "file:///a%00b");
}

TEST(PreviewNamesTest, ConversationTexts)
{
    EXPECT_EQ(IExploreOpenURLData("/web/~htm0001.htm"), "\"/web/~htm0001.htm\",,0xFFFFFFFF,0x3");
    EXPECT_EQ(NetscapeOpenURLData("file:///web/~htm0001.htm"), "file:///web/~htm0001.htm,,0xFFFFFFFF,0x3");
    EXPECT_STREQ(kPreviewActivateData, "0xFFFFFFFF,0x0");
}

TEST(PreviewNamesTest, TemplateRuleKeepsTheFileInOneArgument)
{
    const std::string File = "/my web/a \"b\";$(rm -rf x) %1.htm";
    EXPECT_EQ(PreviewArguments({"/usr/bin/web", "%1"}, File), (Args{"/usr/bin/web", File}));
    EXPECT_EQ(PreviewArguments({"web", "--new", "--url=%1&x=%1", "%1"}, "/a"),
              (Args{"web", "--new", "--url=/a&x=%1", "%1"}))
        << "only the first %1 is replaced";
    EXPECT_EQ(PreviewArguments({"web", "-x"}, File), (Args{"web", "-x", File})) << "no %1: appended";
    EXPECT_EQ(PreviewArguments({"web", "100%", "%2"}, "-f"), (Args{"web", "100%", "%2", "-f"}));
    EXPECT_EQ(PreviewArguments({}, "/a"), (Args{"/a"}));
    // A %1 inside the file name itself is not replaced again.
    EXPECT_EQ(PreviewArguments({"web", "%1", "%1"}, "/x%1"), (Args{"web", "/x%1", "%1"}));
}

TEST_F(PreviewFileTest, WritesCrLfAndLeavesNothingElse)
{
    const std::string Name = Dir + "/~htm0001.htm";
    Write(Name, {"<HTML>", "caf\xe9 \x01", "</HTML>", ""});
    EXPECT_EQ(ReadAll(Name), "<HTML>\r\ncaf\xe9 \x01\r\n</HTML>\r\n");
    EXPECT_EQ(Entries(Dir), (Args{"~htm0001.htm"}));

    // An older file of the name (a previous run's) is replaced.
    Write(Name, {"new"});
    EXPECT_EQ(ReadAll(Name), "new\r\n");

    // A large text arrives whole.
    Args Many(20000, std::string(40, 'x'));
    Write(Name, Many);
    EXPECT_EQ(ReadAll(Name).size(), 20000u * 42u);
    EXPECT_EQ(Entries(Dir), (Args{"~htm0001.htm"}));
}

TEST_F(PreviewFileTest, PlantedLinksAreReplacedNotFollowed)
{
    const std::string Victim = Dir + "/victim.txt";
    WriteAll(Victim, "precious");
    const std::string Sym = Dir + "/~htm0001.htm";
    ASSERT_EQ(::symlink(Victim.c_str(), Sym.c_str()), 0);
    Write(Sym, {"<P>preview"});
    EXPECT_EQ(ReadAll(Victim), "precious");
    struct stat St;
    ASSERT_EQ(::lstat(Sym.c_str(), &St), 0);
    EXPECT_TRUE(S_ISREG(St.st_mode)) << "the link itself was replaced";
    EXPECT_EQ(ReadAll(Sym), "<P>preview\r\n");

    // A dangling link to a file that does not exist yet creates nothing there.
    const std::string Dangling = Dir + "/~htm0002.htm";
    ASSERT_EQ(::symlink((Dir + "/created-by-link").c_str(), Dangling.c_str()), 0);
    Write(Dangling, {"x"});
    EXPECT_EQ(::access((Dir + "/created-by-link").c_str(), F_OK), -1);

    // A hard link to another file: that file keeps its content.
    const std::string Hard = Dir + "/~htm0003.htm";
    ASSERT_EQ(::link(Victim.c_str(), Hard.c_str()), 0);
    Write(Hard, {"y"});
    EXPECT_EQ(ReadAll(Victim), "precious");
    EXPECT_EQ(ReadAll(Hard), "y\r\n");
    EXPECT_EQ(Entries(Dir), (Args{"victim.txt", "~htm0001.htm", "~htm0002.htm", "~htm0003.htm"}));
}

TEST_F(PreviewFileTest, FailuresRaiseAndLeaveNoTemporaryFile)
{
    const std::string Taken = Dir + "/~htm0001.htm";
    ASSERT_EQ(::mkdir(Taken.c_str(), 0755), 0);
    try {
        Write(Taken, {"x"});
        FAIL() << "a directory at the name cannot be replaced";
    } catch (const EFileError &E) {
        EXPECT_EQ(E.FileName(), Taken);
        EXPECT_NE(std::string(E.what()).find("Cannot save file \"" + Taken + "\""), std::string::npos) << E.what();
    }
    EXPECT_EQ(Entries(Dir), (Args{"~htm0001.htm"}));

    EXPECT_THROW(Write(Dir + "/missing/~htm0002.htm", {"x"}), EFileError);
    EXPECT_THROW(Write("", {"x"}), EFileError);
    EXPECT_EQ(Entries(Dir), (Args{"~htm0001.htm"}));
}

} // namespace
