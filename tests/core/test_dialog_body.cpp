// The body colors dialog: grid clicks per radio button, the initial-index rule and the BODY tag.
#include "core/markup/DialogBody.h"

#include <gtest/gtest.h>

TEST(BodyColors, InitialStateAndColourText)
{
    TBodyColors b;
    EXPECT_EQ(b.ComposeTag(""), "<BODY>");
    EXPECT_EQ(b.Selected(), TBodyElement::Text);
    EXPECT_EQ(b.GridForeground(), 0);
    EXPECT_EQ(b.GridBackground(), 7);
    EXPECT_EQ(b.Choice(TBodyElement::Background).Color, (TColor{192, 192, 192}));
    EXPECT_EQ(b.Choice(TBodyElement::Text).Color, (TColor{0, 0, 0}));
    EXPECT_EQ(b.Choice(TBodyElement::Link).Color, (TColor{0, 0, 255}));
    EXPECT_EQ(b.Choice(TBodyElement::VisitedLink).Color, (TColor{128, 0, 128}));
    EXPECT_EQ(b.Choice(TBodyElement::ActiveLink).Color, (TColor{255, 0, 0}));
    EXPECT_EQ(HTMLColorText({0xAB, 0x0C, 0xFF}), "#AB0CFF");
    EXPECT_EQ(HTMLColorText({0, 0, 0}), "#000000");
}

TEST(BodyColors, OnlyElementsAwayFromTheirInitialIndex)
{
    TBodyColors b;
    b.RightClick(15);
    EXPECT_EQ(b.ComposeTag(""), "<BODY BGCOLOR=\"#FFFFFF\">");
    b.RightClick(7); // back to silver: nothing written
    EXPECT_EQ(b.ComposeTag(""), "<BODY>");
    b.LeftClick(4);
    EXPECT_EQ(b.ComposeTag(""), "<BODY TEXT=\"#000080\">");
    b.LeftClick(0); // black again
    EXPECT_EQ(b.ComposeTag(""), "<BODY>");

    // Each radio button routes the left button to its own element only.
    b.SelectElement(TBodyElement::Link);
    EXPECT_EQ(b.GridForeground(), 12); // the mark follows the element's index
    b.LeftClick(2);
    EXPECT_EQ(b.Choice(TBodyElement::Text).Index, 0);
    EXPECT_EQ(b.Choice(TBodyElement::Link).Color, (TColor{0, 128, 0}));
    b.SelectElement(TBodyElement::VisitedLink);
    EXPECT_EQ(b.GridForeground(), 5);
    b.RightClick(3); // the background changes; the visited link keeps its index
    EXPECT_EQ(b.Choice(TBodyElement::VisitedLink).Index, 5);
    b.SelectElement(TBodyElement::ActiveLink);
    b.LeftClick(14);
    b.SelectElement(TBodyElement::Text);
    EXPECT_EQ(b.GridForeground(), 0);
    b.LeftClick(15);
    EXPECT_EQ(b.ComposeTag("Tile \"1\".gif"),
              "<BODY BACKGROUND=\"Tile \"1\".gif\" BGCOLOR=\"#808000\" TEXT=\"#FFFFFF\" LINK=\"#008000\" "
              "ALINK=\"#00FFFF\">");

    // Out-of-range grid reports change nothing.
    b.LeftClick(16);
    b.RightClick(-1);
    EXPECT_EQ(b.Choice(TBodyElement::Text).Index, 15);
    EXPECT_EQ(b.Choice(TBodyElement::Background).Index, 3);
}

TEST(BodyColors, BrowseGivesLowerCaseFileName)
{
    EXPECT_EQ(BodyImageFromBrowse("C:\\Img\\Back.GIF", true), "back.gif");
    EXPECT_EQ(BodyImageFromBrowse("/home/u/Tiles/Paper.JPG", true), "paper.jpg");
    EXPECT_EQ(BodyImageFromBrowse("/home/u/Tiles/Paper.JPG", false), "Paper.JPG");
}
