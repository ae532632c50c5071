// EdNextChar, EdPrevChar, EdCharCells: stepping by character over a paragraph's bytes.
#include "core/editor/Chars.h"

#include "core/editor/Encoding.h"
#include "core/editor/Search.h"

#include <utf8proc.h>

namespace {

bool IsAscii(char C) { return static_cast<unsigned char>(C) < 0x80; }

// The code point at Pos and its length; Valid is false for a byte that starts no valid sequence.
struct TCodePoint {
    char32_t Ch;
    std::size_t Len;
    bool Valid;
};

TCodePoint CodePointAt(std::string_view Text, std::size_t Pos)
{
    const unsigned char B = static_cast<unsigned char>(Text[Pos]);
    if (B < 0x80)
        return {B, 1, true};
    const auto [Ch, Len] = DecodeUtf8(Text, Pos);
    return {Ch, Len, Len > 1};
}

// The start of the code point before Pos (a code point start), as a forward decoding finds it.
std::size_t PrevCodePoint(std::string_view Text, std::size_t Pos)
{
    for (std::size_t K = 1; K <= 4 && K <= Pos; ++K) {
        const unsigned char B = static_cast<unsigned char>(Text[Pos - K]);
        if ((B & 0xC0) != 0x80)
            return K > 1 && DecodeUtf8(Text, Pos - K).second == K ? Pos - K : Pos - 1;
    }
    return Pos - 1;
}

int BoundClass(char32_t Ch) { return utf8proc_get_property(static_cast<utf8proc_int32_t>(Ch))->boundclass; }

// After a code point of class Other the grapheme rules break before one of this class, whatever
// came before.
bool Starts(int Class)
{
    return Class != UTF8PROC_BOUNDCLASS_EXTEND && Class != UTF8PROC_BOUNDCLASS_ZWJ &&
           Class != UTF8PROC_BOUNDCLASS_SPACINGMARK;
}

} // namespace

std::size_t EdNextChar(std::string_view Text, std::size_t Pos, bool Utf8)
{
    if (!Utf8 || Pos + 1 >= Text.size() || (IsAscii(Text[Pos]) && IsAscii(Text[Pos + 1])))
        return Pos + 1;
    const TCodePoint First = CodePointAt(Text, Pos);
    if (!First.Valid)
        return Pos + 1;
    // Code points join while the grapheme rules allow no break, counted from this character's
    // start only, so the boundaries found from any boundary are the same.
    utf8proc_int32_t State = 0;
    char32_t Prev = First.Ch;
    std::size_t At = Pos + First.Len;
    while (At < Text.size() && !IsAscii(Text[At])) {
        const TCodePoint Next = CodePointAt(Text, At);
        if (!Next.Valid || utf8proc_grapheme_break_stateful(static_cast<utf8proc_int32_t>(Prev),
                                                            static_cast<utf8proc_int32_t>(Next.Ch), &State))
            break;
        Prev = Next.Ch;
        At += Next.Len;
    }
    return At;
}

std::size_t EdPrevChar(std::string_view Text, std::size_t Pos, bool Utf8)
{
    if (Pos == 0)
        return 0;
    if (!Utf8 || Pos > Text.size())
        return Pos - 1;
    if (IsAscii(Text[Pos - 1]))
        return Pos - 1;
    // Back to a known boundary, then forward to the last boundary before Pos.
    std::size_t From = Pos;
    for (;;) {
        const std::size_t Q = PrevCodePoint(Text, From);
        From = Q;
        const TCodePoint AtQ = CodePointAt(Text, Q);
        if (Q == 0 || IsAscii(Text[Q]) || !AtQ.Valid)
            break;
        const TCodePoint Before = CodePointAt(Text, PrevCodePoint(Text, Q));
        if (!Before.Valid || (BoundClass(Before.Ch) == UTF8PROC_BOUNDCLASS_OTHER && Starts(BoundClass(AtQ.Ch))))
            break;
    }
    std::size_t Last = From;
    for (std::size_t At = From; At < Pos; At = EdNextChar(Text, At, true))
        Last = At;
    return Last;
}

std::size_t EdCharStart(std::string_view Text, std::size_t Pos, bool Utf8)
{
    if (!Utf8 || Pos >= Text.size() || IsAscii(Text[Pos]))
        return Pos;
    // The code point holding Pos, then the character ending with it.
    std::size_t Start = Pos;
    for (std::size_t K = 1; K <= 3 && K <= Pos && (static_cast<unsigned char>(Text[Pos - K + 1]) & 0xC0) == 0x80; ++K) {
        if ((static_cast<unsigned char>(Text[Pos - K]) & 0xC0) != 0x80) {
            if (DecodeUtf8(Text, Pos - K).second > K)
                Start = Pos - K;
            break;
        }
    }
    return EdPrevChar(Text, Start + CodePointAt(Text, Start).Len, true);
}

int EdCharCells(std::string_view Text, std::size_t Pos, std::size_t End, std::int64_t Width, int TabSize, bool Utf8)
{
    const char C = Text[Pos];
    if (C == '\t')
        return static_cast<int>(TabSize - Width % TabSize);
    if (!Utf8 || IsAscii(C) || End - Pos < 2)
        return 1;
    const int W = utf8proc_charwidth(static_cast<utf8proc_int32_t>(DecodeUtf8(Text, Pos).first));
    return W >= 2 ? 2 : 1; // a mark or control without a base of its own still shows in a cell
}

bool EdIsWordChar(std::string_view Text, std::size_t Pos, bool Utf8)
{
    const char C = Text[Pos];
    if (!Utf8 || IsAscii(C))
        return !IsWordDelimiter(C);
    const TCodePoint P = CodePointAt(Text, Pos);
    if (!P.Valid)
        return true; // a stray byte goes with the letters around it, as in an 8-bit text
    switch (utf8proc_category(static_cast<utf8proc_int32_t>(P.Ch))) {
    case UTF8PROC_CATEGORY_LU: case UTF8PROC_CATEGORY_LL: case UTF8PROC_CATEGORY_LT: case UTF8PROC_CATEGORY_LM:
    case UTF8PROC_CATEGORY_LO: case UTF8PROC_CATEGORY_MN: case UTF8PROC_CATEGORY_MC: case UTF8PROC_CATEGORY_ME:
    case UTF8PROC_CATEGORY_ND: case UTF8PROC_CATEGORY_NL: case UTF8PROC_CATEGORY_NO:
        return true;
    default:
        return false;
    }
}
