// The INI profile: reading hand-edited files, writes that keep the rest of the file, section
// erase, the per-user location of a bare name, and writes that fail without harming the file.
#include "core/settings/Profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/pelmar_profile_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
        const char *old = std::getenv("XDG_CONFIG_HOME");
        hadXdg = old != nullptr;
        if (old)
            oldXdg = old;
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    }
    void TearDown() override
    {
        if (hadXdg)
            ::setenv("XDG_CONFIG_HOME", oldXdg.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    std::string Path(const std::string &name) const { return (dir / name).string(); }
    static void Put(const std::string &path, const std::string &text)
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    static std::string Get(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    fs::path dir;
    bool hadXdg = false;
    std::string oldXdg;
};

TEST_F(ProfileTest, ReadsHandEditedFileWithWindowsSemantics)
{
    const std::string huge(5000, 'h');
    std::string garbage = "\x01\x02 garbage line\xff\n";
    garbage += std::string("bin\0ary=1\n", 10);
    Put(Path("a.ini"), "\xEF\xBB\xBF[Setup]\r\n"
                       "; a comment=123\r\n"
                       "  Maximize = 1  \r\n"
                       "hex=0x1F\r\n"
                       "HEXUPPER=0XfF\r\n"
                       "bareprefix=0x\r\n"
                       "notnum=abc\r\n"
                       "trailing=12abc\r\n"
                       "neg=-12\r\n"
                       "plus=+7\r\n"
                       "big=99999999999\r\n"
                       "allbits=0xFFFFFFFF\r\n"
                       "toolong=0x1FFFFFFFF\r\n"
                       "empty=\r\n"
                       "huge=" + huge + "\r\n"
                       "dup=first\r\n"
                       "dup=second\r\n"
                       + garbage +
                       "[setup]\r\n"
                       "later=in a second section of the same name\r\n"
                       "[Other\r\n"
                       "open=bracket\r\n");
    const TProfile p(Path("a.ini"));
    EXPECT_TRUE(p.ReadBool("SETUP", "maximize", false));
    EXPECT_EQ(p.ReadInteger("Setup", "hex", 0), 31);
    EXPECT_EQ(p.ReadInteger("Setup", "HexUpper", 0), 255);
    EXPECT_EQ(p.ReadInteger("Setup", "bareprefix", -5), -5);
    EXPECT_EQ(p.ReadInteger("Setup", "notnum", 77), 77);
    EXPECT_EQ(p.ReadInteger("Setup", "trailing", 77), 77);
    EXPECT_EQ(p.ReadInteger("Setup", "neg", 0), -12);
    EXPECT_EQ(p.ReadInteger("Setup", "plus", 0), 7);
    EXPECT_EQ(p.ReadInteger("Setup", "big", 3), 3);
    EXPECT_EQ(p.ReadInteger("Setup", "allbits", 3), -1);
    EXPECT_EQ(p.ReadInteger("Setup", "toolong", 3), 3);
    EXPECT_EQ(p.ReadInteger("Setup", "empty", 9), 9);
    EXPECT_EQ(p.ReadString("Setup", "empty", "def"), "");
    EXPECT_EQ(p.ReadString("Setup", "absent", "def"), "def");
    EXPECT_EQ(p.ReadString("Setup", "huge", ""), std::string(1023, 'h'));
    EXPECT_EQ(p.ReadString("Setup", "dup", ""), "first");
    EXPECT_EQ(p.ReadString("Setup", "later", ""), "in a second section of the same name");
    EXPECT_EQ(p.ReadString("Setup", "; a comment", "none"), "none");
    EXPECT_EQ(p.ReadString("Other", "open", ""), "bracket");
    EXPECT_TRUE(p.ReadBool("Missing", "key", true));
    EXPECT_FALSE(p.ReadBool("Setup", "notnum", false));
    EXPECT_TRUE(p.ReadBool("Setup", "notnum", true));
    EXPECT_TRUE(p.SectionExists("other"));
    EXPECT_FALSE(p.SectionExists("Missing"));
    EXPECT_TRUE(p.ValueExists("setup", "EMPTY"));
    EXPECT_FALSE(p.ValueExists("setup", "nothing"));

    const std::vector<std::string> keys = p.ReadSection("Setup");
    ASSERT_GE(keys.size(), 3u);
    EXPECT_EQ(keys.front(), "Maximize");
    EXPECT_EQ(keys.back(), "later");
    const std::vector<std::string> values = p.ReadSectionValues("setup");
    ASSERT_GE(values.size(), 2u);
    EXPECT_EQ(values[0], "Maximize=1");
    EXPECT_EQ(values[1], "hex=0x1F");
}

TEST_F(ProfileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt)
{
    TProfile p(Path("sub/dir/new.ini"));
    EXPECT_EQ(p.ReadInteger("S", "k", 42), 42);
    EXPECT_TRUE(p.ReadSection("S").empty());
    p.EraseSection("S");
    EXPECT_FALSE(fs::exists(Path("sub/dir/new.ini"))) << "erasing nothing must not create the file";
    p.WriteInteger("S", "k", -3);
    p.WriteBool("S", "b", true);
    p.WriteBool("S", "c", false);
    EXPECT_EQ(Get(Path("sub/dir/new.ini")), "[S]\nk=-3\nb=1\nc=0\n");
    EXPECT_EQ(p.ReadInteger("s", "K", 0), -3);
}

TEST_F(ProfileTest, WritesKeepEverythingElse)
{
    const std::string original = "; settings\r\n"
                                 "[Setup]\r\n"
                                 "WordWrap=0\r\n"
                                 "Unknown=kept\r\n"
                                 "\r\n"
                                 "; about fonts\r\n"
                                 "[Font]\r\n"
                                 "Name=Courier New\r\n";
    Put(Path("b.ini"), original);
    TProfile p(Path("b.ini"));
    p.WriteBool("setup", "WORDWRAP", true);    // replaces in place, whatever the case
    p.WriteString("Setup", "ProgPath", "/usr/bin/browser");  // appended after the section's last key
    p.WriteInteger("Position", "Top", 5);      // a new section at the end
    EXPECT_EQ(Get(Path("b.ini")), "; settings\r\n"
                                  "[Setup]\r\n"
                                  "WordWrap=1\r\n"
                                  "Unknown=kept\r\n"
                                  "ProgPath=/usr/bin/browser\r\n"
                                  "\r\n"
                                  "; about fonts\r\n"
                                  "[Font]\r\n"
                                  "Name=Courier New\r\n"
                                  "\r\n"
                                  "[Position]\r\n"
                                  "Top=5\r\n");

    // A value with line breaks must not turn into lines (or keys) of its own.
    p.WriteString("Font", "Name", "evil\n[Setup]\nMaximize=1");
    EXPECT_FALSE(p.ValueExists("Setup", "Maximize"));
    EXPECT_EQ(p.ReadString("Font", "Name", ""), "evil [Setup] Maximize=1");

    p.DeleteKey("setup", "unknown");
    EXPECT_FALSE(p.ValueExists("Setup", "Unknown"));
    EXPECT_EQ(p.ReadString("Setup", "ProgPath", ""), "/usr/bin/browser");
}

TEST_F(ProfileTest, EraseSectionRemovesEveryCopyAndOnlyThose)
{
    Put(Path("c.ini"), "[Recent Files]\n1=/a\n2=/b\n\n[Setup]\nx=1\n[recent files]\n3=/c\n[Tail]\ny=2\n");
    TProfile p(Path("c.ini"));
    p.EraseSection("RECENT FILES");
    EXPECT_EQ(Get(Path("c.ini")), "[Setup]\nx=1\n[Tail]\ny=2\n");
    EXPECT_FALSE(p.SectionExists("Recent Files"));
}

TEST_F(ProfileTest, BareNameLivesInConfigDirectory)
{
    TProfile p("PELMAR32.INI");
    EXPECT_EQ(p.FileName(), (dir / "config" / "PELMAR32.INI").string());
    EXPECT_EQ(ConfigDirectory(), (dir / "config").string());
    p.WriteString("Setup", "WorkDir", "");
    EXPECT_TRUE(fs::exists(dir / "config" / "PELMAR32.INI")) << "the configuration directory is created";

    // A relative XDG_CONFIG_HOME does not count; HOME/.config is used instead.
    const char *home = std::getenv("HOME");
    const std::string oldHome = home ? home : "";
    ::setenv("XDG_CONFIG_HOME", "relative/dir", 1);
    ::setenv("HOME", dir.c_str(), 1);
    EXPECT_EQ(TProfile("X.INI").FileName(), (dir / ".config" / "X.INI").string());
    if (home)
        ::setenv("HOME", oldHome.c_str(), 1);
    EXPECT_EQ(TProfile("./X.INI").FileName(), "./X.INI");
}

TEST_F(ProfileTest, FailedWritesRaiseAndLeaveTheFileWhole)
{
    // The configuration "directory" is a plain file: nothing can be created below it.
    Put(Path("blocker"), "x");
    TProfile blocked(Path("blocker/PELMAR32.INI"));
    try {
        blocked.WriteBool("Setup", "Maximize", true);
        FAIL() << "no error raised";
    } catch (const EProfileError &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + Path("blocker/PELMAR32.INI"));
    }

    // A file marked read-only is refused, even for root, and keeps its text.
    Put(Path("ro.ini"), "[Setup]\nMaximize=0\n");
    ::chmod(Path("ro.ini").c_str(), 0444);
    TProfile ro(Path("ro.ini"));
    EXPECT_THROW(ro.WriteBool("Setup", "Maximize", true), EProfileError);
    EXPECT_THROW(ro.EraseSection("Setup"), EProfileError);
    EXPECT_EQ(Get(Path("ro.ini")), "[Setup]\nMaximize=0\n");

    // A directory where the file should be.
    fs::create_directory(Path("isdir.ini"));
    TProfile d(Path("isdir.ini"));
    EXPECT_EQ(d.ReadInteger("S", "k", 4), 4);
    EXPECT_THROW(d.WriteInteger("S", "k", 1), EProfileError);

    // No temporary files are left behind by the failures or by successful writes.
    TProfile ok(Path("ok.ini"));
    ok.WriteInteger("S", "k", 1);
    int entries = 0;
    for (const auto &e : fs::directory_iterator(dir))
        if (e.path().filename().string().rfind(".", 0) == 0)
            ++entries;
    EXPECT_EQ(entries, 0);
}

TEST_F(ProfileTest, RewriteKeepsPermissionsAndSymbolicLinks)
{
    Put(Path("real.ini"), "[S]\nk=1\n");
    ::chmod(Path("real.ini").c_str(), 0600);
    fs::create_symlink(Path("real.ini"), Path("link.ini"));
    TProfile p(Path("link.ini"));
    p.WriteInteger("S", "k", 2);
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    EXPECT_EQ(Get(Path("real.ini")), "[S]\nk=2\n");
    struct stat st;
    ASSERT_EQ(::stat(Path("real.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

} // namespace
