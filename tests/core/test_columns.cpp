// Screen columns with tabs, word boundaries, scroll-bar scaling and paste blocks.
#include "core/editor/Columns.h"
#include "core/editor/Cells.h"
#include "core/editor/ParaList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

TEST(EdPosition, ScreenColumnsWithTabs)
{
    const std::string line = "a\tb";
    EXPECT_EQ(EdScreenColumn(line, 3, 8), 9);   // before b: 'a' plus the tab reach column 8
    EXPECT_EQ(EdScreenColumn(line, 2, 8), 2);
    EXPECT_EQ(EdScreenColumn(line, 4, 8), 10);
    EXPECT_EQ(EdScreenColumn(line, 6, 8), 12);  // past the end one column per character
    EXPECT_EQ(EdScreenColumn("\t\t", 3, 4), 9);
    // Inside the tab's cell the column maps to the tab.
    for (int s = 2; s <= 8; ++s)
        EXPECT_EQ(EdCharColumn(line, s, 8), 2) << s;
    EXPECT_EQ(EdCharColumn(line, 9, 8), 3);
    EXPECT_EQ(EdCharColumn(line, 20, 8), 14);
    EXPECT_EQ(EdCharColumn("", 20, 8), 20);
    EXPECT_EQ(EdExpandTabs("a\tb\t", 4), "a   b   ");
    // Round trip: every character column maps back to itself.
    const std::string mixed = "\tx\t\tyz \t";
    for (int c = 1; c <= 12; ++c)
        EXPECT_EQ(EdCharColumn(mixed, EdScreenColumn(mixed, c, 3), 3), c) << c;
}

TEST(EdPosition, WordBoundaries)
{
    const std::string p = "foo, bar<baz>  qux";
    EXPECT_EQ(EdWordRight(p, 0), 5u);
    EXPECT_EQ(EdWordRight(p, 5), 9u);
    EXPECT_EQ(EdWordRight(p, 14), 15u);
    EXPECT_EQ(EdWordRight(p, 15), 18u);
    EXPECT_EQ(EdWordLeft(p, 9), 5u);
    EXPECT_EQ(EdWordLeft(p, 5), 0u);
    EXPECT_EQ(EdWordLeft(p, 18), 15u);
    EXPECT_EQ(EdDeleteWordEnd(p, 9), 12u);    // "baz", no blanks after it
    EXPECT_EQ(EdDeleteWordEnd(p, 12), 15u);   // on ">": that character and the blanks
    EXPECT_EQ(EdDeleteWordEnd(p, 1), 3u);
    EXPECT_EQ(EdDeleteWordEnd(p, 18), 18u);
    EXPECT_EQ(EdWordAt(p, 10), (std::pair<std::size_t, std::size_t>{9, 12}));
    EXPECT_EQ(EdWordAt(p, 13), (std::pair<std::size_t, std::size_t>{9, 12}));  // on blanks: the word before
    EXPECT_EQ(EdWordAt("ab  cd", 3), (std::pair<std::size_t, std::size_t>{0, 4}));
    EXPECT_EQ(EdWordAt("ab  cd", 0), (std::pair<std::size_t, std::size_t>{0, 4}));
    EXPECT_EQ(EdWordAt("ab", 2), (std::pair<std::size_t, std::size_t>{0, 2}));
}

TEST(EdPosition, VerticalScrollScaling)
{
    auto small = EdVScrollMap(100, 20);
    EXPECT_EQ(small.Lines, 81);
    EXPECT_EQ(small.Factor, 1);
    EXPECT_EQ(small.Max, 81);
    EXPECT_EQ(small.TopLineAt(40), 40);
    auto big = EdVScrollMap(100000, 30);  // N = 99971
    EXPECT_EQ(big.Lines, 99971);
    EXPECT_EQ(big.Factor, 6);
    EXPECT_EQ(big.Max, 99971 / 6);
    EXPECT_LE(big.Max, 32767);
    EXPECT_EQ(big.TopLineAt(1), 1);
    EXPECT_EQ(big.TopLineAt(big.Max), 99971);  // the end of the bar reaches the last top line
    EXPECT_EQ(big.TopLineAt(1000), 6000);
    EXPECT_EQ(big.Position(6000), 1000);
    for (std::int32_t lines : {1, 5, 32767, 32768, 65535, 65536, 70000000})
        EXPECT_LE(EdVScrollMap(lines, 1).Max, 32767) << lines;
    // The horizontal range reaches the longest line, and 512 columns at least.
    EXPECT_EQ(EdHScrollMax(false, 80, 32767, 40), 512);
    EXPECT_EQ(EdHScrollMax(false, 80, 100, 40), 100);
    EXPECT_EQ(EdHScrollMax(false, 80, TParaList::MaxParaLength, 513), 1024);
    EXPECT_EQ(EdHScrollMax(false, 80, TParaList::MaxParaLength, 1024), 2048);
    EXPECT_EQ(EdHScrollMax(false, 80, TParaList::MaxParaLength, 5000000), 5000192);
    EXPECT_EQ(EdHScrollMax(true, 79, 32767, 5000000), 79);
}

TEST(EdPosition, PasteBlocksCoverTheTextOnceWithoutSplittingLineBreaks)
{
    std::string text;
    std::mt19937 rng(3);
    while (text.size() < 150000)
        text += (rng() % 10 == 0) ? std::string("\r\n") : std::string(1, static_cast<char>('a' + rng() % 26));
    // CR LF pairs exactly at the 61,440-character boundaries.
    text.replace(EdPasteBlockSize - 1, 2, "\r\n");
    text.replace(EdPasteBlockSize, 2, "\r\n");
    const auto blocks = EdPasteBlocks(text);
    ASSERT_GE(blocks.size(), 3u);
    std::size_t expect = 0;
    std::string joined;
    for (auto [b, e] : blocks) {
        EXPECT_EQ(b, expect);
        EXPECT_GT(e, b);
        EXPECT_LE(e - b, EdPasteBlockMax);
        if (e < text.size()) {
            EXPECT_NE(text[e], '\n');  // never between CR and LF
            EXPECT_NE(text[e - 1], '\r');
        }
        joined.append(text, b, e - b);
        expect = e;
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(EdPasteBlocks(std::string(100, 'x')).size(), 1u);
    EXPECT_TRUE(EdPasteBlocks("").empty());
    // A lone CR at the boundary stays with the characters that follow it.
    std::string lone(EdPasteBlockSize + 10, 'x');
    lone[EdPasteBlockSize - 1] = '\r';
    const auto split = EdPasteBlocks(lone);
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].second, EdPasteBlockSize - 1);
}

// The cell index of a long paragraph against a plain scan, through random edits made directly and
// through the text store (where undo and redo edit too), with tabs of every width around.
TEST(EdCells, CellIndexAgreesWithAScanThroughEdits)
{
    std::mt19937 rng(4711);
    const auto randomText = [&rng](std::size_t n) {
        std::string t;
        for (std::size_t i = 0; i < n; ++i)
            t += rng() % 9 == 0 ? '\t' : static_cast<char>('a' + rng() % 26);
        return t;
    };
    const auto agree = [&rng](const TEdCells &indexed, std::string_view text, int tab) {
        const TEdCells plain(text, tab);
        ASSERT_EQ(indexed.TotalWidth(), plain.TotalWidth());
        for (int k = 0; k < 40; ++k) {
            const int col = 1 + static_cast<int>(rng() % (text.size() + 3));
            ASSERT_EQ(indexed.ScreenColumn(col), plain.ScreenColumn(col)) << col;
            const int screen = 1 + static_cast<int>(rng() % (plain.TotalWidth() + 3));
            ASSERT_EQ(indexed.CharColumn(screen), plain.CharColumn(screen)) << screen;
            ASSERT_EQ(indexed.Slice(screen - 1, 7), plain.Slice(screen - 1, 7)) << screen;
        }
    };
    for (int tab : {1, 4, 8}) {
        std::string text = randomText(9000);
        TEdCellIndex index(text, tab);
        for (int step = 0; step < 300; ++step) {
            const std::size_t at = rng() % (text.size() + 1);
            const std::size_t removed = std::min<std::size_t>(text.size() - at, rng() % 4 == 0 ? rng() % 3000 : rng() % 3);
            const std::string added = randomText(rng() % 5 == 0 ? rng() % 4000 : rng() % 3);
            text.replace(at, removed, added);
            index.Edited(text, at, removed, added.size());
            ASSERT_TRUE(index.Check(text)) << "tab " << tab << " step " << step;
            agree(TEdCells(text, tab, &index), text, tab);
        }
    }

    TParaList list;
    ASSERT_EQ(list.AppendParagraph(randomText(20000)), 0);
    ASSERT_EQ(list.AppendParagraph("short\tline"), 0);
    for (int step = 0; step < 200; ++step) {
        const int len = list.ParaLength(1);
        const int at = 1 + static_cast<int>(rng() % (len + 1));
        switch (rng() % 5) {
        case 0: ASSERT_EQ(list.InsertChars(1, at, randomText(1 + rng() % 50)), 0); break;
        case 1: ASSERT_EQ(list.DeleteChars(1, at, static_cast<int>(rng() % 50)), 0); break;
        case 2: ASSERT_EQ(list.ReplaceChars(1, at, static_cast<int>(rng() % 5), randomText(rng() % 5)), 0); break;
        case 3: list.Undo(); break;
        default: list.Redo(); break;
        }
        agree(list.LineCells(1), list.ParaText(1), list.TabSize());
        ASSERT_GE(list.LongestLineWidth(), TEdCells(list.ParaText(1), list.TabSize()).TotalWidth());
    }
    // A new tab size counts the cells afresh.
    list.SetTabSize(3);
    agree(list.LineCells(1), list.ParaText(1), 3);
    EXPECT_EQ(list.LongestLineWidth(), TEdCells(list.ParaText(1), 3).TotalWidth());
    // Control characters show as visible symbols, tabs and other bytes as themselves.
    EXPECT_EQ(EdControlPicture(0), U'\u2400');
    EXPECT_EQ(EdControlPicture(26), U'\u241A');
    EXPECT_EQ(EdControlPicture(127), U'\u2421');
    EXPECT_EQ(EdControlPicture('\t'), 0u);
    EXPECT_EQ(EdControlPicture('a'), 0u);
    EXPECT_EQ(EdControlPicture(0xE9), 0u);
    EXPECT_EQ(EdControlLetter(0), '@');
    EXPECT_EQ(EdControlLetter(26), 'Z');
    EXPECT_EQ(EdControlLetter(127), '?');
    EXPECT_EQ(EdControlLetter('\t'), 0);
    EXPECT_EQ(EdControlLetter(' '), 0);
}
