// The Preferences dialog's rules: stored default extension, browser choice, colour texts, and
// the custom colours' keys and values in section CustomColors.
#include "core/settings/SetupRules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(SetupRules, DefaultExtensionAndBrowserChoice)
{
    EXPECT_EQ(DefFileExtFromEdit(".html"), "html");
    EXPECT_EQ(DefFileExtFromEdit("htm"), "htm");
    EXPECT_EQ(DefFileExtFromEdit(""), "");
    EXPECT_EQ(DefFileExtFromEdit("."), "");
    // Only a leading dot goes: dropping the first letter of "a.htm" would make Save As add "..htm".
    EXPECT_EQ(DefFileExtFromEdit("tar.gz"), "tar.gz");
    EXPECT_EQ(DefFileExtFromEdit(".tar.gz"), "tar.gz");

    EXPECT_EQ(BrowserChoiceOf("Netscape"), TBrowserChoice::Netscape);
    EXPECT_EQ(BrowserChoiceOf("IExplore"), TBrowserChoice::IExplore);
    EXPECT_EQ(BrowserChoiceOf(""), TBrowserChoice::Other);
    EXPECT_EQ(BrowserChoiceOf("/usr/bin/firefox"), TBrowserChoice::Other);
    EXPECT_EQ(BrowserChoiceOf("netscape"), TBrowserChoice::Other);
}

TEST(SetupRules, ColourTextsAndStoredValues)
{
    EXPECT_EQ(ColorRGBText({255, 0, 0}), "FF0000");
    EXPECT_EQ(ColorRGBText({0x0A, 0xBC, 0x01}), "0ABC01");
    EXPECT_EQ(ColorRGBText({0, 0, 0}), "000000");

    EXPECT_EQ(CustomColorKey(0), "ColorA");
    EXPECT_EQ(CustomColorKey(15), "ColorP");
    // The Windows colour value keeps blue in its high byte.
    EXPECT_EQ(CustomColorValue({255, 0, 0}), "0000FF");
    EXPECT_EQ(CustomColorValue({0x12, 0x34, 0xAB}), "AB3412");
    EXPECT_EQ(ParseCustomColorValue("AB3412"), (TColor{0x12, 0x34, 0xAB}));
    EXPECT_EQ(ParseCustomColorValue("ab3412"), (TColor{0x12, 0x34, 0xAB}));
    EXPECT_EQ(ParseCustomColorValue("FF"), (TColor{255, 0, 0}));
    EXPECT_EQ(ParseCustomColorValue(""), std::nullopt);
    EXPECT_EQ(ParseCustomColorValue("1000000"), std::nullopt);
    EXPECT_EQ(ParseCustomColorValue("12G456"), std::nullopt);
    EXPECT_EQ(ParseCustomColorValue("-1"), std::nullopt);
    for (const TColor c : {TColor{1, 2, 3}, TColor{255, 254, 0}, TColor{0, 128, 255}})
        EXPECT_EQ(ParseCustomColorValue(CustomColorValue(c)), c);
}

TEST(SetupRules, CustomColorsSection)
{
    const fs::path dir = fs::temp_directory_path() / ("setuprules_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "PELMAR32.INI").string();
    std::ofstream(file, std::ios::binary) << "[customcolors]\r\ncolora=0000FF\r\nColorC=zz\r\nColorP=FFFFFF\r\n"
                                             "ColorQ=123456\r\n";
    TProfile p(file);
    TCustomColors read = ReadCustomColors(p);
    EXPECT_EQ(read[0], (TColor{255, 0, 0}));
    EXPECT_EQ(read[1], std::nullopt);
    EXPECT_EQ(read[2], std::nullopt);
    EXPECT_EQ(read[15], (TColor{255, 255, 255}));

    std::array<TColor, kCustomColorCount> colors{};
    for (int i = 0; i < kCustomColorCount; ++i)
        colors[std::size_t(i)] = TColor{uint8_t(i), uint8_t(16 * i), uint8_t(255 - i)};
    WriteCustomColors(p, colors);
    read = ReadCustomColors(p);
    for (int i = 0; i < kCustomColorCount; ++i)
        EXPECT_EQ(read[std::size_t(i)], colors[std::size_t(i)]) << i;
    EXPECT_EQ(p.ReadString("CustomColors", "ColorB", ""), "FE1001");
    // The unknown key stays, and the keys are not doubled in another case.
    EXPECT_EQ(p.ReadString("CustomColors", "ColorQ", ""), "123456");
    EXPECT_EQ(p.ReadSection("CustomColors").size(), 17u);
    fs::remove_all(dir);
}
