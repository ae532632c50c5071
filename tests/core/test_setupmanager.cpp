// TSetupManager and the settings around it: defaults from the screen, loading a prepared file,
// setters that write at once, colour indices, the settings file name and working directory,
// and the main window's own keys.
#include "core/settings/AppSettings.h"
#include "core/settings/SetupManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/pelmar_setup_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
        startDir = fs::current_path();
    }
    void TearDown() override
    {
        fs::current_path(startDir);
        ResetSettingsFileName();
        std::error_code ec;
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

    fs::path dir, startDir;
    TSystemMetrics metrics{2, 3, 1280, 1024, 40};
};

TEST_F(SetupTest, DefaultsWithoutAFile)
{
    const TSetupManager s(Path("none.ini"), metrics);
    EXPECT_EQ(s.WindowTop(), 3);
    EXPECT_EQ(s.WindowLeft(), 2);
    EXPECT_EQ(s.WindowWidth(), 1278);
    EXPECT_EQ(s.WindowHeight(), 1024 - 80 + 4);
    EXPECT_FALSE(s.WordWrap());
    EXPECT_TRUE(s.SyntaxHighlighting());
    EXPECT_EQ(s.TextColor(), (TColor{0, 0, 0}));
    EXPECT_EQ(s.ElementColor(), (TColor{0, 0, 255}));
    EXPECT_EQ(s.EntityColor(), (TColor{255, 0, 0}));
    EXPECT_FALSE(s.LowerCaseTags());
    EXPECT_FALSE(s.MDIChildMaximize());
    EXPECT_FALSE(s.Maximize());
    EXPECT_FALSE(s.NetscapeDDE());
    EXPECT_EQ(s.ProgPath(), "");
    EXPECT_EQ(s.Dictionary(), "english.dct");
    EXPECT_EQ(s.UserDictionary(), "user.udc");
    EXPECT_EQ(s.DefFileExt(), "htm");
    EXPECT_FALSE(fs::exists(Path("none.ini"))) << "loading writes nothing";
}

TEST_F(SetupTest, LoadsAPreparedFileAndRejectsBadValues)
{
    Put(Path("p.ini"), "[setup]\n"
                       "Maximize=0x1\n"
                       "WordWrap=yes\n"          // not a number: default false
                       "ChildMaximize=1\n"       // the key behind MDIChildMaximize
                       "MDIChildMaximize=0\n"
                       "SyntaxHighlighting=0\n"
                       "LowerCaseTags=2\n"
                       "NetscapeDDE=1\n"
                       "ProgPath=Netscape\n"
                       "Dictionary=\n"
                       "DefFileExt=html\n"
                       "[POSITION]\n"
                       "Top=0x10\nLeft=-7\nWidth=abc\nHeight=99999999999\n"
                       "[Syntax Highlighting]\n"
                       "TextColor=15\nElementColor=16\nEntityColor=-1\n");
    const TSetupManager s(Path("p.ini"), metrics);
    EXPECT_TRUE(s.Maximize());
    EXPECT_FALSE(s.WordWrap());
    EXPECT_TRUE(s.MDIChildMaximize());
    EXPECT_FALSE(s.SyntaxHighlighting());
    EXPECT_TRUE(s.LowerCaseTags());
    EXPECT_TRUE(s.NetscapeDDE());
    EXPECT_EQ(s.ProgPath(), "Netscape");
    EXPECT_EQ(s.Dictionary(), "");
    EXPECT_EQ(s.UserDictionary(), "user.udc");
    EXPECT_EQ(s.DefFileExt(), "html");
    EXPECT_EQ(s.WindowTop(), 16);
    EXPECT_EQ(s.WindowLeft(), -7);
    EXPECT_EQ(s.WindowWidth(), 1278);
    EXPECT_EQ(s.WindowHeight(), 948);
    EXPECT_EQ(s.TextColor(), (TColor{255, 255, 255}));
    // Indices outside 0..15 take the property's default.
    EXPECT_EQ(s.ElementColorIndex(), 12);
    EXPECT_EQ(s.ElementColor(), (TColor{0, 0, 255}));
    EXPECT_EQ(s.EntityColorIndex(), 9);
    EXPECT_EQ(s.EntityColor(), (TColor{255, 0, 0}));
}

TEST_F(SetupTest, SettersWriteAtOnce)
{
    {
        TSetupManager s(Path("w.ini"), metrics);
        s.SetMaximize(true);
        EXPECT_EQ(Get(Path("w.ini")), "[Setup]\nMaximize=1\n") << "written by the setter itself";
        s.SetWindowTop(10);
        s.SetWindowLeft(-20);
        s.SetWindowWidth(800);
        s.SetWindowHeight(600);
        s.SetWordWrap(true);
        s.SetSyntaxHighlighting(false);
        s.SetLowerCaseTags(true);
        s.SetMDIChildMaximize(true);
        s.SetNetscapeDDE(true);
        s.SetProgPath("/opt/browser/bin/browser --new");
        s.SetDictionary("d.dct");
        s.SetUserDictionary("u.udc");
        s.SetDefFileExt("html");
        s.SetTextColorIndex(4);
        s.SetElementColorIndex(13);
        s.SetEntityColorIndex(99);
        EXPECT_EQ(s.TextColor(), (TColor{0, 0, 128}));
        EXPECT_EQ(s.ElementColor(), (TColor{255, 0, 255}));
        EXPECT_EQ(s.EntityColorIndex(), 9);
    }
    const TProfile p(Path("w.ini"));
    EXPECT_EQ(p.ReadInteger("Setup", "ChildMaximize", 0), 1);
    EXPECT_EQ(p.ReadInteger("Syntax Highlighting", "TextColor", -1), 4);
    EXPECT_EQ(p.ReadInteger("Syntax Highlighting", "EntityColor", -1), 9);
    const TSetupManager r(Path("w.ini"), metrics);
    EXPECT_TRUE(r.Maximize());
    EXPECT_EQ(r.WindowTop(), 10);
    EXPECT_EQ(r.WindowLeft(), -20);
    EXPECT_EQ(r.WindowWidth(), 800);
    EXPECT_EQ(r.WindowHeight(), 600);
    EXPECT_TRUE(r.WordWrap());
    EXPECT_FALSE(r.SyntaxHighlighting());
    EXPECT_TRUE(r.LowerCaseTags());
    EXPECT_TRUE(r.MDIChildMaximize());
    EXPECT_TRUE(r.NetscapeDDE());
    EXPECT_EQ(r.ProgPath(), "/opt/browser/bin/browser --new");
    EXPECT_EQ(r.Dictionary(), "d.dct");
    EXPECT_EQ(r.UserDictionary(), "u.udc");
    EXPECT_EQ(r.DefFileExt(), "html");
    EXPECT_EQ(r.ElementColorIndex(), 13);
}

TEST_F(SetupTest, SetterOnAnUnwritableFileRaises)
{
    fs::create_directory(Path("PELMAR32.INI"));
    TSetupManager s(Path("PELMAR32.INI"), metrics);
    try {
        s.SetMaximize(true);
        FAIL() << "no error raised";
    } catch (const EProfileError &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + Path("PELMAR32.INI"));
    }
}

TEST_F(SetupTest, ColourIndexRule)
{
    const TColor expected[16] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                 {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                 {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                                 {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(ColorIndexToColor(i), expected[i]) << i;
        EXPECT_EQ(ColorToColorIndex(expected[i]), i);
    }
    EXPECT_EQ(ColorIndexToColor(16), (TColor{0, 0, 0}));
    EXPECT_EQ(ColorIndexToColor(-1), (TColor{0, 0, 0}));
    EXPECT_EQ(ColorToColorIndex(TColor{192, 220, 192}), -1) << "the skipped palette entries are no index";
}

TEST_F(SetupTest, SettingsFileIsFixedByTheFirstWorkingDirectory)
{
    fs::create_directories(dir / "start");
    fs::create_directories(dir / "work");
    Put(Path("start/PELMAR32.INI"), "[Setup]\n");
    Put(Path("work/PELMAR32.INI"), "[Setup]\n");
    ResetSettingsFileName();
    EXPECT_TRUE(SetWorkingDirectory(Path("start") + "/"));
    EXPECT_EQ(SettingsFileName(), Path("start/PELMAR32.INI")) << "no doubled separator";
    EXPECT_TRUE(SetWorkingDirectory(Path("work")));
    EXPECT_EQ(SettingsFileName(), Path("start/PELMAR32.INI")) << "later calls keep the name";
    EXPECT_EQ(fs::current_path(), dir / "work");
    EXPECT_EQ(WorkingDirectory(), Path("work"));

    EXPECT_FALSE(SetWorkingDirectory(Path("missing")));
    EXPECT_EQ(fs::current_path(), dir / "work") << "a missing directory changes nothing";
    EXPECT_EQ(WorkingDirectory(), Path("work"));

    ResetSettingsFileName();
    EXPECT_TRUE(SetWorkingDirectory(dir.string()));
    EXPECT_EQ(SettingsFileName(), "PELMAR32.INI") << "no file there: the bare name";
}

TEST_F(SetupTest, MainWindowKeys)
{
    TProfile p(Path("m.ini"));
    const TAppFlags def = ReadAppFlags(p);
    EXPECT_FALSE(def.UseActualCharacters);
    EXPECT_FALSE(def.NewlineAfterTitle);
    EXPECT_TRUE(def.ForceHTMLExt);
    EXPECT_TRUE(def.NeverUseCENTER);

    Put(Path("m.ini"), "[Setup]\nUseActualCharacters=1\nNewlineAfterTitle=1\nForceHTMLExt=0\nNeverUseCENTER=x\n"
                       "DisplayExtendedSpeedBar=0\n"
                       "[QuickKeys]\nA=<B>\nz=last\n"
                       "[Recent Files]\n1=\n2=/b.htm\n4=/d.htm\n");
    const TAppFlags f = ReadAppFlags(p);
    EXPECT_TRUE(f.UseActualCharacters);
    EXPECT_TRUE(f.NewlineAfterTitle);
    EXPECT_FALSE(f.ForceHTMLExt);
    EXPECT_TRUE(f.NeverUseCENTER);
    EXPECT_FALSE(ReadSpeedBarVisible(p, TSpeedBar::Extended));
    EXPECT_TRUE(ReadSpeedBarVisible(p, TSpeedBar::Custom));

    const TQuickKeyTable q = ReadQuickKeys(p);
    EXPECT_EQ(q[0], "<B>");
    EXPECT_EQ(q[25], "last");
    EXPECT_EQ(q[1], "");

    EXPECT_EQ(ReadRecentFiles(p), (std::vector<std::string>{"/b.htm", "/d.htm"}));
    WriteRecentFiles(p, {"/x.htm", "/y.htm"});
    EXPECT_EQ(p.ReadSection("Recent Files"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(ReadRecentFiles(p), (std::vector<std::string>{"/x.htm", "/y.htm"}));
    WriteRecentFiles(p, {});
    EXPECT_FALSE(p.SectionExists("Recent Files"));

    WriteSpeedBarVisible(p, TSpeedBar::Custom, false);
    EXPECT_EQ(p.ReadString("Setup", "DisplayCustomSpeedBar", ""), "0");
    TQuickKeyTable w{};
    w[2] = "<CITE>";
    WriteQuickKeys(p, w);
    EXPECT_EQ(p.ReadSection("QuickKeys").size(), 26u);
    EXPECT_EQ(ReadQuickKeys(p)[2], "<CITE>");
    EXPECT_EQ(ReadQuickKeys(p)[0], "");
}

TEST_F(SetupTest, WindowRectangleIsKeptOnTheScreen)
{
    const TWindowRect def = DefaultWindowRect(metrics);
    EXPECT_EQ(def, (TWindowRect{2, 3, 1278, 948}));
    EXPECT_EQ(FitWindowRect({100, 50, 800, 600}, metrics), (TWindowRect{100, 50, 800, 600}));
    EXPECT_EQ(FitWindowRect({-700, 50, 800, 600}, metrics), (TWindowRect{0, 50, 800, 600})) << "moved on";
    EXPECT_EQ(FitWindowRect({900, 500, 800, 600}, metrics), (TWindowRect{480, 351, 800, 600}))
        << "right and bottom edges back within the default's";
    EXPECT_EQ(FitWindowRect({2000000000, 2000000000, 800, 600}, metrics), (TWindowRect{2, 3, 800, 600}));
    EXPECT_EQ(FitWindowRect({-2000000000, 10, 800, 600}, metrics), (TWindowRect{2, 3, 800, 600}));
    EXPECT_EQ(FitWindowRect({10, 10, 2000000000, -5}, metrics), (TWindowRect{2, 3, 1278, 948}));
    EXPECT_EQ(FitWindowRect({10, 10, 50, 600}, metrics), (TWindowRect{2, 3, 1278, 948}));
    // Kept at scale 1 on 1280 x 1024, read at scale 1.5 (a screen of 853 x 682): cut to fit.
    const TSystemMetrics scaled{1, 1, 853, 682, 32};
    EXPECT_EQ(FitWindowRect({1, 1, 1279, 964}, scaled), (TWindowRect{1, 1, 852, 622}));
    EXPECT_EQ(FitWindowRect({300, 200, 700, 500}, scaled), (TWindowRect{153, 123, 700, 500}));
}

} // namespace
