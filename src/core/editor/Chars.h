// EdNextChar and its kin: where the characters of a paragraph's bytes begin and end, the cells a
// character takes and whether it belongs to a word, in either encoding of a document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A character of a Windows-1252 text is one byte. A character of a UTF-8 text is a code point
// with the marks, joiners and variation selectors that join it (the grapheme rules of Unicode),
// except that every ASCII byte starts a character of its own and an invalid byte is a character
// by itself. So a character boundary is known wherever an ASCII byte stands, and stepping back
// from any position looks no further back than the ASCII byte before it.

// The end of the character starting at Pos (Pos + 1 at or past the end of Text).
std::size_t EdNextChar(std::string_view Text, std::size_t Pos, bool Utf8);
// The start of the character before Pos (0 at 0; Pos - 1 past the end of Text, where every
// column is a blank of its own).
std::size_t EdPrevChar(std::string_view Text, std::size_t Pos, bool Utf8);
// The start of the character covering Pos (Pos itself at or past the end, and at a boundary).
std::size_t EdCharStart(std::string_view Text, std::size_t Pos, bool Utf8);
inline bool EdIsCharStart(std::string_view Text, std::size_t Pos, bool Utf8)
{
    return !Utf8 || EdCharStart(Text, Pos, Utf8) == Pos;
}

// Cells of the character Text[Pos, End) when Width cells stand before it on its display line: a
// tab reaches the next tab stop; a wide or fullwidth East Asian character takes two cells; every
// other character one (a control character shows as its picture; marks add none, they join the
// character before them).
int EdCharCells(std::string_view Text, std::size_t Pos, std::size_t End, std::int64_t Width, int TabSize,
                bool Utf8);

// Whether the character starting at Pos belongs to a word: a byte that is no word delimiter, and
// in a UTF-8 text any character whose first code point is a letter, a mark or a digit.
bool EdIsWordChar(std::string_view Text, std::size_t Pos, bool Utf8);
