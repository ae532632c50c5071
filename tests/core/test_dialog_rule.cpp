// The horizontal rule, block element and font tags composed from the dialogs' fields.
#include "core/markup/DialogRule.h"

#include <gtest/gtest.h>

TEST(RuleDialog, HRTag)
{
    THRFields f;
    EXPECT_EQ(ComposeHRTag(f), "<HR ALIGN=\"left\">"); // untouched dialog
    f.Align.clear();
    EXPECT_EQ(ComposeHRTag(f), "<HR>");
    f.Width = "50%";
    EXPECT_EQ(ComposeHRTag(f), "<HR WIDTH=50%>");
    f = {};
    f.Align = "center";
    f.Clear = "all";
    f.Size = "4";
    f.Width = "200";
    f.NoShade = true;
    EXPECT_EQ(ComposeHRTag(f), "<HR ALIGN=\"center\" CLEAR=\"all\" SIZE=4 WIDTH=200 NOSHADE>");
    f = {};
    f.Align.clear();
    f.NoShade = true;
    EXPECT_EQ(ComposeHRTag(f), "<HR NOSHADE>");
}

TEST(RuleDialog, BlockTags)
{
    TBlockFields f;
    f.Element = "P";
    EXPECT_EQ(ComposeBlockStartTag(f), "<P ALIGN=\"left\">");
    EXPECT_EQ(ComposeEndTag("P"), "</P>");
    f.Element = "DIV";
    f.Align = "justify";
    f.Class = "My Own";
    f.Clear = "right";
    f.NoWrap = true;
    EXPECT_EQ(ComposeBlockStartTag(f), "<DIV ALIGN=\"justify\" CLASS=\"My Own\" CLEAR=\"right\" NOWRAP>");
    f = {};
    f.Element = HeadingElement(3);
    f.Align.clear();
    EXPECT_EQ(ComposeBlockStartTag(f), "<H3>");
    EXPECT_EQ(BlockEndCheckCaption(f.Element), "</H3>");
    EXPECT_EQ(HeadingDialogCaption(6), "Heading Style 6");
}

TEST(RuleDialog, FontTags)
{
    TFontFields f;
    EXPECT_EQ(ComposeFontStartTag(f), "<FONT>");
    f.Size = "+2";
    EXPECT_EQ(ComposeFontStartTag(f), "<FONT SIZE=\"+2\">");
    f.Color = "#FF0000"; // typed with its own "#": written with two
    EXPECT_EQ(ComposeFontStartTag(f), "<FONT SIZE=\"+2\" COLOR=\"##FF0000\">");
    f = {"BASEFONT", "", FontColorText(0x0A, 0xBC, 0xFF)};
    EXPECT_EQ(ComposeFontStartTag(f), "<BASEFONT COLOR=\"#0ABCFF\">");
    EXPECT_EQ(ComposeEndTag(f.Element), "</BASEFONT>");
}
