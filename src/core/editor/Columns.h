// TEdVScrollMap: column arithmetic of the editor view: screen columns of short lines (through TEdCells),
// words, scroll-bar scaling and the blocks in which long clipboard texts are inserted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

// Screen width of the first Count bytes of a display line (tab stops every TabSize columns).
int EdScreenWidth(std::string_view Line, int Count, int TabSize, bool Utf8 = false);
// Screen column (from 1) of character column Col (from 1): the width before it plus 1.
inline int EdScreenColumn(std::string_view Line, int Col, int TabSize)
{
    return EdScreenWidth(Line, Col - 1, TabSize) + 1;
}
// Character column (from 1) shown at screen column ScreenCol: a column inside a tab's cell gives
// the tab; beyond the line end the columns continue one per screen column.
int EdCharColumn(std::string_view Line, int ScreenCol, int TabSize);
// The text with its tabs expanded to blanks up to the next tab stop.
std::string EdExpandTabs(std::string_view Line, int TabSize, bool Utf8 = false);

// True for blank and tab.
inline bool EdIsBlank(char c) { return c == ' ' || c == '\t'; }

// 0-based word boundaries inside one paragraph, stepping by character (in a UTF-8 text words are
// Unicode letters, marks and digits besides the ASCII word characters; see EdIsWordChar).
// The start of the word left of Pos: delimiters skipped leftwards, then word characters.
std::size_t EdWordLeft(std::string_view Para, std::size_t Pos, bool Utf8 = false);
// The start of the next word: word characters skipped, then delimiters.
std::size_t EdWordRight(std::string_view Para, std::size_t Pos, bool Utf8 = false);
// The end of what deleting a word removes: the rest of the word and the blanks after it
// (at least one character when Pos is inside the text).
std::size_t EdDeleteWordEnd(std::string_view Para, std::size_t Pos, bool Utf8 = false);
// The word under Pos for a double click, with the blanks that follow it: [first, second).
std::pair<std::size_t, std::size_t> EdWordAt(std::string_view Para, std::size_t Pos, bool Utf8 = false);

// The vertical scroll bar over N = LineCount - VisibleRows + 1 top lines, scaled to 1..32767.
struct TEdVScrollMap {
    std::int32_t Lines = 1;   // N, the last possible top line
    std::int32_t Factor = 1;  // F
    std::int32_t Max = 1;     // the bar's range is 1..Max
    std::int32_t Position(std::int32_t TopLine) const { return Factor > 1 ? TopLine / Factor : TopLine; }
    // The top line for thumb position P.
    std::int32_t TopLineAt(std::int32_t P) const;
};
TEdVScrollMap EdVScrollMap(std::int32_t LineCount, std::int32_t VisibleRows);
// The horizontal range's end: the wrap column when wrapping (at most 512 columns); else 512
// columns (less when the paragraph length limit is lower), or past the longest line's cells up to
// the next multiple of 1,024.
int EdHScrollMax(bool WordWrap, int WrapColumn, int ParaLengthLimit, int LongestLine);

// The pieces [start, end) in which a long text is pasted: 61,440 characters each, extended over
// a CR/LF run at the boundary (to at most 65,520, never past the end), so that no line break is
// split between two pieces.
constexpr std::size_t EdPasteBlockSize = 61440;
constexpr std::size_t EdPasteBlockMax = 65520;
std::vector<std::pair<std::size_t, std::size_t>> EdPasteBlocks(std::string_view Text);
