// TEdCells: which screen cells the characters of a display line take (a tab reaches the next tab
// stop, a wide East Asian character two cells, every other character one), what a cell shows, and
// TEdCellIndex, the checkpoints that answer these questions for a long paragraph without scanning
// it from its start. Offsets and columns count bytes; in a UTF-8 text a character's cells belong
// to its first byte, and the bytes after it take none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Cells an 8-bit character C takes when Width cells stand before it on its display line.
inline std::int64_t EdCellWidth(char C, std::int64_t Width, int TabSize)
{
    return C == '\t' ? TabSize - Width % TabSize : 1;
}

// The character a cell shows for byte C: a control character (below 32, or 127) shows as its
// visible symbol from the Unicode control pictures, so it never looks like a blank; every other
// byte shows as itself (0 here: the caller's own mapping of the byte). Tabs show as blanks.
char32_t EdControlPicture(unsigned char C);
// The letter of a control character's caret notation ('@' for NUL, 'Z' for Ctrl+Z, '?' for 127),
// shown in reversed colours where the font has no control pictures; 0 for other bytes.
char EdControlLetter(unsigned char C);

// Checkpoints over one paragraph: every Spacing bytes or so (always on a character boundary), the
// cells taken by the text before that point. An edit moves the checkpoints behind it in one pass over the checkpoints
// (after the first tab behind an edit every cell moves by the same amount), so typing into a
// long paragraph costs no scan of it.
class TEdCellIndex {
public:
    static constexpr int Spacing = 1024;   // bytes between two checkpoints, at most twice that
    static constexpr int MinLength = 4096; // shorter paragraphs are simply scanned

    TEdCellIndex(std::string_view Text, int TabSize, bool Utf8 = false);

    int TabSize() const { return Tab; }
    bool Utf8() const { return U8; }
    // Cells of the characters that start in Text's first Count bytes (0 <= Count <= Text.size()).
    std::int64_t Width(std::string_view Text, std::size_t Count) const;
    // The 0-based offset of (the first byte of) the character that covers 0-based cell Cell;
    // Text.size() beyond the end.
    std::size_t CharAt(std::string_view Text, std::int64_t Cell) const;
    std::int64_t TotalWidth() const { return Points.back().Cells; }
    // Text (as it is now) had Removed bytes at At replaced by Inserted ones.
    void Edited(std::string_view Text, std::size_t At, std::size_t Removed, std::size_t Inserted);

    // Whether the checkpoints agree with a fresh scan of Text; for tests.
    bool Check(std::string_view Text) const;

private:
    struct TPoint {
        std::size_t Offset;   // bytes before the point
        std::int64_t Cells;   // cells they take
        bool TabBefore;       // a tab lies between the previous point and this one
    };
    // Scans Text from point From (a valid point) up to the first character boundary at or behind
    // Stop, appending points to Out.
    void Scan(std::string_view Text, TPoint From, std::size_t Stop, std::vector<TPoint> &Out) const;
    std::size_t PointAtOrBefore(std::size_t Offset) const;

    int Tab;
    bool U8;
    std::vector<TPoint> Points; // the first at offset 0, the last at the end of the text
};

// A character shown in a slice of cells: its first cell (0-based from the slice's first cell), the
// cells it takes and its bytes.
struct TEdShownChar {
    int Cell;
    int Cells;
    std::string_view Bytes;
};

// One display line as cells: its text, tab size and encoding, and the paragraph's cell index when
// the line is a whole long paragraph (without one the line is scanned). Columns are byte columns
// counted from 1, as the caret's; past the end of the text every column is one cell.
class TEdCells {
public:
    TEdCells(std::string_view Text, int TabSize, const TEdCellIndex *Index = nullptr, bool Utf8 = false);

    std::string_view Text() const { return Line; }
    int TabSize() const { return Tab; }
    bool Utf8() const { return U8; }
    // Cells of the characters starting in the first Count bytes (past the end, one per missing
    // column).
    int Width(int Count) const;
    // Screen column of character column Col: the width before it plus 1.
    int ScreenColumn(int Col) const { return Width(Col - 1) + 1; }
    // Column of the character shown at ScreenCol (its first byte): a column inside a tab's or a
    // wide character's cells gives that character; beyond the end the columns continue one per cell.
    int CharColumn(int ScreenCol) const;
    // Cells of the whole line.
    int TotalWidth() const { return Width(static_cast<int>(Line.size())); }
    // The characters of cells First .. First + Count - 1 (0-based) as the line's bytes, tabs
    // expanded to blanks, and a wide character cut by either edge as a blank for each of its cells
    // inside; it ends early where the line does.
    std::string Slice(int First, int Count) const;
    // The same cells, one byte each: an 8-bit text as Slice; in a UTF-8 text one-byte characters
    // as themselves (tabs as blanks) and every cell of any other character as 0x80 (ShownChars
    // tells which).
    std::string CellBytes(int First, int Count) const;
    // The characters other than tabs that lie wholly in those cells, left to right.
    std::vector<TEdShownChar> ShownChars(int First, int Count) const;

private:
    // Calls Each(offset, end, cell, cells) for every character that takes cells from First on and
    // starts before cell First + Count, cells counted from the line's start.
    template <class F> void ForEachChar(std::int64_t First, std::int64_t Count, F Each) const;

    std::string_view Line;
    int Tab;
    bool U8;
    const TEdCellIndex *Index;
};
