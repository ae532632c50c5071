// The right mouse button menu's stored name list and the menu editor's list rules.
#include "core/custom/RightMenu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

namespace {

class RightMenuProfile : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() / ("rmenu_" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        File = (Dir / "PELMAR32.INI").string();
    }
    void TearDown() override { fs::remove_all(Dir); }
    void Write(const std::string &Text) { std::ofstream(File, std::ios::binary) << Text; }
    std::string Slurp()
    {
        std::ifstream in(File, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path Dir;
    std::string File;
};

TRightMenuEntry Entry(const std::string &Caption, const std::string &Name,
                      TRightMenuTargetKind Kind = TRightMenuTargetKind::MenuItem)
{
    return {Caption, Name, Kind};
}

} // namespace

TEST_F(RightMenuProfile, ReadStopsAtFirstGap)
{
    TProfile p(File);
    EXPECT_EQ(ReadRightMenuNames(p), Names{}); // no file at all
    Write("[Setup]\nWorkDir=/x\n[Custom-Test]\n0=Bold1\n1=SpeedButton8\n3=CustomButton2\n");
    EXPECT_EQ(ReadRightMenuNames(p), (Names{"Bold1", "SpeedButton8"}));
    Write("[custom-test]\n1=Bold1\n");
    EXPECT_EQ(ReadRightMenuNames(p), Names{});
    Write("[Custom-Test]\n0=Bold1\n1=\n2=Italic1\n");
    EXPECT_EQ(ReadRightMenuNames(p), Names{"Bold1"});
    Write("[Custom-Test]\n");
    EXPECT_EQ(ReadRightMenuNames(p), Names{});
}

TEST_F(RightMenuProfile, WriteReplacesTheWholeSection)
{
    Write("[Setup]\nWorkDir=/x\n[Custom-Test]\n0=Old1\n1=Old2\n2=Old3\n7=Stray\n[Other]\na=b\n");
    TProfile p(File);
    WriteRightMenuNames(p, {"Bold1", "", "CustomButton3"});
    EXPECT_EQ(ReadRightMenuNames(p), (Names{"Bold1", "CustomButton3"}));
    EXPECT_EQ(p.ReadString("Custom-Test", "2", "none"), "none");
    EXPECT_EQ(p.ReadString("Custom-Test", "7", "none"), "none");
    EXPECT_EQ(p.ReadString("Setup", "WorkDir", ""), "/x");
    EXPECT_EQ(p.ReadString("Other", "a", ""), "b");
    WriteRightMenuNames(p, {});
    EXPECT_EQ(ReadRightMenuNames(p), Names{});
    EXPECT_EQ(Slurp().find("Bold1"), std::string::npos);
}

TEST(RightMenuEditor, ResolveSkipsUnknownNames)
{
    // Lookup order is the caller's; here a table stands for the windows' components.
    std::map<std::string, TRightMenuEntry> known = {
        {"Bold1", Entry("&Bold", "Bold1")},
        {"CustomButton1", Entry("Sig", "CustomButton1", TRightMenuTargetKind::CustomButton)}};
    auto lookup = [&](const std::string &n) -> std::optional<TRightMenuEntry> {
        auto it = known.find(n);
        return it == known.end() ? std::nullopt : std::optional(it->second);
    };
    auto entries = ResolveRightMenu({"CustomButton1", "Gone", "Bold1", "CustomButton3"}, lookup);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Caption, "Sig");
    EXPECT_EQ(entries[1].TargetName, "Bold1");
    // Dropped names vanish at the next store.
    EXPECT_EQ(TRightMenuList(entries).Names(), (Names{"CustomButton1", "Bold1"}));
}

TEST(RightMenuEditor, ListOperations)
{
    TRightMenuList list;
    list.MoveUp();
    list.MoveDown();
    list.Remove();
    EXPECT_EQ(list.Selected(), -1);

    EXPECT_FALSE(list.Drop(Entry("&Bold", "Bold1")));
    EXPECT_FALSE(list.Drop(Entry("Italic", "Italic1")));
    EXPECT_FALSE(list.Drop(Entry("Btn", "SpeedButton8", TRightMenuTargetKind::Button)));
    EXPECT_EQ(list.Selected(), 2);
    auto warning = list.Drop(Entry("&Bold", "Bold1"));
    ASSERT_TRUE(warning);
    EXPECT_EQ(*warning, "\"&Bold\" is already on the menu.");
    EXPECT_EQ(list.Entries().size(), 3u);
    EXPECT_EQ(list.Selected(), 2);

    list.MoveDown(); // last: nothing
    EXPECT_EQ(list.Names(), (Names{"Bold1", "Italic1", "SpeedButton8"}));
    list.MoveUp();
    EXPECT_EQ(list.Names(), (Names{"Bold1", "SpeedButton8", "Italic1"}));
    EXPECT_EQ(list.Selected(), 1);
    list.MoveUp();
    list.MoveUp(); // first: nothing
    EXPECT_EQ(list.Names(), (Names{"SpeedButton8", "Bold1", "Italic1"}));
    EXPECT_EQ(list.Selected(), 0);
    list.MoveDown();
    EXPECT_EQ(list.Selected(), 1);

    list.Select(2);
    list.Remove(); // the last: the new last is selected
    EXPECT_EQ(list.Names(), (Names{"Bold1", "SpeedButton8"}));
    EXPECT_EQ(list.Selected(), 1);
    list.Select(0);
    list.Remove(); // the next one takes its place
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(list.Names(), Names{"SpeedButton8"});
    list.Remove();
    EXPECT_EQ(list.Selected(), -1);
    list.Select(5);
    EXPECT_EQ(list.Selected(), -1);
}

TEST(RightMenuEditor, DrawingTextsAndCandidates)
{
    EXPECT_EQ(CaptionWithoutFirstAmpersand("&Save && Exit"), "Save && Exit"); // a second "&" is shown
    EXPECT_EQ(CaptionWithoutFirstAmpersand("Sa&ve"), "Save");
    EXPECT_EQ(CaptionWithoutFirstAmpersand("Plain"), "Plain");
    EXPECT_STREQ(RightMenuKindText(TRightMenuTargetKind::CustomButton), "Custom Button");
    EXPECT_STREQ(RightMenuKindText(TRightMenuTargetKind::Button), "Button");
    EXPECT_STREQ(RightMenuKindText(TRightMenuTargetKind::MenuItem), "Menu Item");
    EXPECT_STREQ(RightMenuKindText(TRightMenuTargetKind::Unknown), "Unknown");
    EXPECT_FALSE(IsOfferedCaption("-"));
    EXPECT_FALSE(IsOfferedCaption(""));
    EXPECT_TRUE(IsOfferedCaption("&File"));

    std::vector<TRightMenuEntry> c = {Entry("italic", "I"), Entry("&Bold", "B"), Entry("Anchor", "A"),
                                      Entry("bold", "b2")};
    SortRightMenuCandidates(c);
    EXPECT_EQ(c[0].TargetName, "B"); // "&" sorts before letters
    EXPECT_EQ(c[1].TargetName, "A");
    EXPECT_EQ(c[2].TargetName, "b2");
    EXPECT_EQ(c[3].TargetName, "I");
}
