// Screen columns with tabs, word boundaries, scroll-bar scaling and paste blocks.
#include "core/editor/Columns.h"
#include "core/editor/Cells.h"
#include "core/editor/Chars.h"
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
// through the text store (where undo and redo edit too), with tabs of every width around; in UTF-8
// text with wide characters, combining marks (typed alone too, so that they join the character
// before an edit) and invalid bytes, where every checkpoint must sit on a character boundary.
TEST(EdCells, CellIndexAgreesWithAScanThroughEdits)
{
    std::mt19937 rng(4711);
    bool utf8 = false;
    const auto randomText = [&rng, &utf8](std::size_t n) {
        static const char *const pieces[] = {"\xD0\xB6", "\xE4\xB8\xAD", "\xCC\x81", "\xF0\x9F\x98\x80", "\xFF",
                                             "\xE2\x80\x8D", "e\xCC\x81"};
        std::string t;
        while (t.size() < n) {
            if (rng() % 9 == 0)
                t += '\t';
            else if (utf8 && rng() % 3 == 0)
                t += pieces[rng() % std::size(pieces)];
            else
                t += static_cast<char>('a' + rng() % 26);
        }
        return t;
    };
    const auto agree = [&rng, &utf8](const TEdCells &indexed, std::string_view text, int tab) {
        const TEdCells plain(text, tab, nullptr, utf8);
        ASSERT_EQ(indexed.TotalWidth(), plain.TotalWidth());
        for (int k = 0; k < 40; ++k) {
            const int col = 1 + static_cast<int>(rng() % (text.size() + 3));
            ASSERT_EQ(indexed.ScreenColumn(col), plain.ScreenColumn(col)) << col;
            const int screen = 1 + static_cast<int>(rng() % (plain.TotalWidth() + 3));
            ASSERT_EQ(indexed.CharColumn(screen), plain.CharColumn(screen)) << screen;
            ASSERT_TRUE(EdIsCharStart(text, static_cast<std::size_t>(indexed.CharColumn(screen) - 1), utf8));
            ASSERT_EQ(indexed.Slice(screen - 1, 7), plain.Slice(screen - 1, 7)) << screen;
        }
    };
    for (const bool u : {false, true}) {
        utf8 = u;
        for (int tab : {1, 4, 8}) {
            std::string text = randomText(9000);
            TEdCellIndex index(text, tab, utf8);
            for (int step = 0; step < (utf8 ? 120 : 300); ++step) {
                // Edits in a UTF-8 text start and end on code points, as the editor's do.
                std::size_t at = rng() % (text.size() + 1);
                std::size_t removed = std::min<std::size_t>(text.size() - at, rng() % 4 == 0 ? rng() % 3000 : rng() % 3);
                while (utf8 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
                    --at;
                while (utf8 && at + removed < text.size() && (static_cast<unsigned char>(text[at + removed]) & 0xC0) == 0x80)
                    ++removed;
                const std::string added = randomText(rng() % 5 == 0 ? rng() % 4000 : rng() % 3);
                text.replace(at, removed, added);
                index.Edited(text, at, removed, added.size());
                ASSERT_TRUE(index.Check(text)) << "tab " << tab << " step " << step << " utf8 " << utf8;
                agree(TEdCells(text, tab, &index, utf8), text, tab);
            }
        }

        TParaList list;
        if (utf8)
            list.SetEncoding(TTextEncoding::Utf8);
        ASSERT_EQ(list.AppendParagraph(randomText(20000)), 0);
        ASSERT_EQ(list.AppendParagraph("short\tline"), 0);
        for (int step = 0; step < 200; ++step) {
            const std::string_view para = list.ParaText(1);
            const int len = static_cast<int>(para.size());
            const int at = 1 + static_cast<int>(EdCharStart(para, rng() % (len + 1), utf8));
            // Up to N bytes from at, ending on a character boundary.
            const auto span = [&](std::size_t n) {
                const std::size_t from = static_cast<std::size_t>(at - 1);
                return static_cast<int>(EdCharStart(para, std::min(from + n, para.size()), utf8) - from);
            };
            switch (rng() % 5) {
            case 0: ASSERT_EQ(list.InsertChars(1, at, randomText(1 + rng() % 50)), 0); break;
            case 1: ASSERT_EQ(list.DeleteChars(1, at, span(rng() % 50)), 0); break;
            case 2: ASSERT_EQ(list.ReplaceChars(1, at, span(rng() % 5), randomText(rng() % 5)), 0); break;
            case 3: list.Undo(); break;
            default: list.Redo(); break;
            }
            agree(list.LineCells(1), list.ParaText(1), list.TabSize());
            ASSERT_GE(list.LongestLineWidth(), TEdCells(list.ParaText(1), list.TabSize(), nullptr, utf8).TotalWidth());
            std::string why;
            ASSERT_TRUE(list.CheckIntegrity(&why)) << why;
        }
        if (!utf8) {
            // A new tab size counts the cells afresh, and so does a change of encoding.
            list.SetTabSize(3);
            agree(list.LineCells(1), list.ParaText(1), 3);
            EXPECT_EQ(list.LongestLineWidth(), TEdCells(list.ParaText(1), 3).TotalWidth());
            list.SetEncoding(TTextEncoding::Utf8);
            utf8 = true;
            agree(list.LineCells(1), list.ParaText(1), 3);
            utf8 = false;
        }
    }
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

// Characters of a UTF-8 text: marks, joiners and variation selectors join the code point before
// them, an invalid byte stands alone, every ASCII byte starts a character; wide characters take
// two cells and a tab after one still reaches the next tab stop. Windows-1252 steps by byte.
TEST(EdChars, StepsAndCellsOfUtf8Characters)
{
    // a, e + acute, zhe, CJK, emoji, woman + joiner + laptop, heart + variation selector, 0xFF, tab, b
    const std::string t = "ae\xCC\x81\xD0\xB6\xE4\xB8\xAD\xF0\x9F\x98\x80\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB"
                          "\xE2\x9D\xA4\xEF\xB8\x8F\xFF\tb";
    const std::vector<std::size_t> starts = {0, 1, 4, 6, 9, 13, 24, 30, 31, 32, 33};
    std::vector<std::size_t> forward;
    for (std::size_t i = 0; i < t.size(); i = EdNextChar(t, i, true))
        forward.push_back(i);
    forward.push_back(t.size());
    EXPECT_EQ(forward, starts);
    std::vector<std::size_t> backward{t.size()};
    for (std::size_t i = t.size(); i > 0;) {
        i = EdPrevChar(t, i, true);
        backward.insert(backward.begin(), i);
    }
    EXPECT_EQ(backward, starts);
    for (std::size_t i = 0, k = 0; i <= t.size(); ++i) {
        if (k + 1 < starts.size() && i >= starts[k + 1])
            ++k;
        ASSERT_EQ(EdCharStart(t, i, true), i == t.size() ? i : starts[k]) << i;
        ASSERT_EQ(EdCharStart(t, i, false), i) << i;
    }
    EXPECT_EQ(EdNextChar(t, 1, false), 2u);
    EXPECT_EQ(EdPrevChar(t, 4, false), 3u);
    // A lone mark or joiner after ASCII joins it; after an invalid byte it is a character itself.
    EXPECT_EQ(EdNextChar("a\xCC\x81\xCC\x81z", 0, true), 5u);
    EXPECT_EQ(EdNextChar("\xFF\xCC\x81", 0, true), 1u);
    EXPECT_EQ(EdNextChar("\xFF\xCC\x81", 1, true), 3u);
    EXPECT_EQ(EdPrevChar("\xE4\xB8\xAD\xCC\x81\xCC\x81", 7, true), 0u);

    // Cells: a 1, e+acute 1, zhe 1, CJK 2, emoji 2, joined emoji 2, heart 1, invalid 1, tab to 16, b.
    const TEdCells cells(t, 8, nullptr, true);
    EXPECT_EQ(cells.TotalWidth(), 17);
    EXPECT_EQ(cells.ScreenColumn(7), 4);    // the CJK character starts in cell 4
    EXPECT_EQ(cells.ScreenColumn(10), 6);
    EXPECT_EQ(cells.ScreenColumn(33), 17);  // b after the tab
    EXPECT_EQ(cells.CharColumn(5), 7);      // the CJK character's second cell
    EXPECT_EQ(cells.CharColumn(3), 5);
    EXPECT_EQ(cells.CharColumn(11), 31);    // the invalid byte
    EXPECT_EQ(cells.CharColumn(14), 32);    // inside the tab
    EXPECT_EQ(cells.CharColumn(20), 36);    // past the end, one column per cell
    EXPECT_EQ(cells.Width(8), 5);           // a mid-character count takes the characters starting before it
    // Slices hold the bytes; a wide character cut by an edge shows as a blank.
    EXPECT_EQ(cells.Slice(0, 4), t.substr(0, 6) + " ");
    EXPECT_EQ(cells.Slice(4, 3), " " + t.substr(9, 4));
    EXPECT_EQ(cells.Slice(10, 3), "\xFF  ");
    EXPECT_EQ(cells.Slice(11, 9), "     b");
    EXPECT_EQ(cells.CellBytes(0, 17), "a" + std::string(10, '\x80') + "     b");
    const std::vector<TEdShownChar> shown = cells.ShownChars(3, 5);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].Cell, 0);
    EXPECT_EQ(shown[0].Cells, 2);
    EXPECT_EQ(shown[0].Bytes, t.substr(6, 3));
    EXPECT_EQ(shown[1].Cell, 2);
    EXPECT_EQ(shown[1].Bytes, t.substr(9, 4));
    // The same bytes as Windows-1252: one cell each.
    EXPECT_EQ(TEdCells(t, 8, nullptr, false).TotalWidth(), 33);

    // Words: letters of any script and marks are word characters, emoji and dashes are not.
    const std::string w = "\xD0\xB6\xD0\xB0\xD0\xBC\xE2\x80\x94\xE4\xB8\xAD\xE6\x96\x87 x";
    EXPECT_EQ(EdWordRight(w, 0, true), 9u);
    EXPECT_EQ(EdWordLeft(w, 15, true), 9u);
    EXPECT_EQ(EdDeleteWordEnd(w, 6, true), 9u);  // the dash alone
    EXPECT_EQ(EdWordAt(w, 10, true), (std::pair<std::size_t, std::size_t>{9, 16}));
}

// Word wrap in a UTF-8 text counts cells and never breaks inside a character: a wide character
// that would cross the wrap column starts the next line, a mark stays with its letter.
TEST(EdChars, WordWrapKeepsCharactersWhole)
{
    TParaList list;
    list.SetEncoding(TTextEncoding::Utf8);
    list.SetWrapColumn(5);
    list.SetWordWrap(true);
    const std::string cjk = "\xE4\xB8\xAD";
    ASSERT_EQ(list.InsertText(1, 1, "a" + cjk + cjk + cjk + "e\xCC\x81" "bcde\xCC\x81" "f"), 0);
    ASSERT_EQ(list.LineCount(), 3);
    EXPECT_EQ(list.GetLine(1), "a" + cjk + cjk);
    EXPECT_EQ(list.GetLine(2), cjk + "e\xCC\x81" "bc");
    EXPECT_EQ(list.GetLine(3), "de\xCC\x81" "f");
    for (int line = 1; line <= 3; ++line)
        EXPECT_LE(list.LineCells(line).TotalWidth(), 5);
    std::string why;
    EXPECT_TRUE(list.CheckIntegrity(&why)) << why;
    // The same bytes as Windows-1252 wrap by byte.
    list.SetEncoding(TTextEncoding::Windows1252);
    EXPECT_EQ(list.GetLine(1), "a" + cjk.substr(0, 3) + cjk.substr(0, 1));
}
