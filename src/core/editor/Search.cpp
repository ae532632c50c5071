// TEdSearchPattern: word delimiters, upper-casing and the paragraph search of the editor.
#include "core/editor/Search.h"

#include "core/editor/Chars.h"
#include "core/editor/Encoding.h"

#include <utf8proc.h>

#include <algorithm>

namespace {

constexpr std::array<bool, 256> MakeDelimiters()
{
    std::array<bool, 256> d{};
    const char set[] = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";
    for (const char *p = set; *p; ++p)
        d[static_cast<unsigned char>(*p)] = true;
    return d;
}

constexpr std::array<bool, 256> Delimiters = MakeDelimiters();

} // namespace

bool IsWordDelimiter(char c)
{
    return Delimiters[static_cast<unsigned char>(c)];
}

unsigned char EdUpCase(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
    }
}

std::string EdUpperCase(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(EdUpCase(static_cast<unsigned char>(c)));
    return out;
}

std::string EdFoldUtf8(std::string_view text)
{
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (b < 0x80) {
            if (b >= 'a' && b <= 'z')
                out[i] = static_cast<char>(b - 32);
            ++i;
            continue;
        }
        const auto [ch, n] = DecodeUtf8(out, i);
        if (n > 1) {
            const auto upper = static_cast<char32_t>(utf8proc_toupper(static_cast<utf8proc_int32_t>(ch)));
            if (upper != ch) {
                std::string bytes;
                AppendUtf8(bytes, upper);
                if (bytes.size() == n)
                    out.replace(i, n, bytes);
            }
        }
        i += n;
    }
    return out;
}

TEdSearchPattern::TEdSearchPattern(std::string_view Pattern, bool MatchCase, bool WholeWords, bool Utf8Text)
    : Pat(Pattern.substr(0, std::min(Pattern.size(), MaxLength))), Utf8(Utf8Text), CaseSensitive(MatchCase),
      Whole(WholeWords)
{
    if (!CaseSensitive)
        Pat = Utf8 ? EdFoldUtf8(Pat) : EdUpperCase(Pat);
    AsciiPattern = std::all_of(Pat.begin(), Pat.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    Skip.fill(Pat.size());
    for (std::size_t i = 0; i + 1 < Pat.size(); ++i)
        Skip[static_cast<unsigned char>(Pat[i])] = Pat.size() - 1 - i;
}

bool TEdSearchPattern::Matches(std::string_view Text) const
{
    if (Text.size() != Pat.size())
        return false;
    if (CaseSensitive)
        return Text == Pat;
    if (Utf8)
        return EdFoldUtf8(Text) == Pat;
    for (std::size_t i = 0; i < Pat.size(); ++i)
        if (EdUpCase(static_cast<unsigned char>(Text[i])) != static_cast<unsigned char>(Pat[i]))
            return false;
    return true;
}

bool TEdSearchPattern::Accept(std::string_view Text, std::size_t Pos) const
{
    const std::size_t end = Pos + Pat.size();
    if (Utf8) {
        // Never half a character (a letter without the mark that joins it, say).
        if (!EdIsCharStart(Text, Pos, true) || (end < Text.size() && !EdIsCharStart(Text, end, true)))
            return false;
        if (!Whole)
            return true;
        if (Pos > 0 && EdIsWordChar(Text, EdPrevChar(Text, Pos, true), true))
            return false;
        return end >= Text.size() || !EdIsWordChar(Text, end, true);
    }
    if (!Whole)
        return true;
    if (Pos > 0 && !IsWordDelimiter(Text[Pos - 1]))
        return false;
    const std::size_t after = Pos + Pat.size();
    return after >= Text.size() || IsWordDelimiter(Text[after]);
}

std::size_t TEdSearchPattern::FindForward(std::string_view Text, std::size_t From, std::size_t Limit) const
{
    Limit = std::min(Limit, Text.size());
    // Folding keeps every character's length, so a character beyond ASCII never folds to ASCII:
    // a pattern of ASCII only matches ASCII bytes, and the byte rule finds it without folding the
    // text (bytes of 0x80 and above stay at or above 0x80 under it, so they never match).
    if (Utf8 && !CaseSensitive && !AsciiPattern)
        return FindFolded(Text, From, Limit);
    return Scan(Text, reinterpret_cast<const unsigned char *>(Text.data()), 0, From, Limit, !CaseSensitive);
}

std::size_t TEdSearchPattern::FindFolded(std::string_view Text, std::size_t From, std::size_t Limit) const
{
    const std::size_t m = Pat.size();
    if (m == 0 || From > Limit || Limit - From < m)
        return npos;
    // Folded a window at a time, so that the next match costs a scan up to it and no more.
    constexpr std::size_t Window = 16384;
    std::string folded;
    for (std::size_t at = From; at + m <= Limit;) {
        std::size_t end = std::min(Limit, at + Window + m);
        while (end < Limit && (static_cast<unsigned char>(Text[end]) & 0xC0) == 0x80)
            ++end; // whole characters only
        folded = EdFoldUtf8(Text.substr(at, end - at));
        const std::size_t hit = Scan(Text, reinterpret_cast<const unsigned char *>(folded.data()), at, at, end, false);
        if (hit != npos || end >= Limit)
            return hit;
        at = end - m + 1;
    }
    return npos;
}

std::size_t TEdSearchPattern::Scan(std::string_view Text, const unsigned char *Compared, std::size_t Base,
                                   std::size_t From, std::size_t Limit, bool Fold) const
{
    const std::size_t m = Pat.size();
    if (m == 0 || From > Limit || Limit - From < m)
        return npos;
    // Positions count in Text; the bytes compared at pos are Compared[pos - Base].
    const auto text = [Compared, Base](std::size_t pos) { return Compared[pos - Base]; };
    const auto *pat = reinterpret_cast<const unsigned char *>(Pat.data());
    std::size_t pos = From;
    while (pos + m <= Limit) {
        std::size_t i = m;
        if (!Fold) {
            while (i > 0 && text(pos + i - 1) == pat[i - 1])
                --i;
        } else {
            while (i > 0 && EdUpCase(text(pos + i - 1)) == pat[i - 1])
                --i;
        }
        if (i == 0) {
            if (Accept(Text, pos))
                return pos;
            ++pos;  // a rejected candidate: go on one character further
            continue;
        }
        unsigned char last = text(pos + m - 1);
        if (Fold)
            last = EdUpCase(last);
        pos += Skip[last];
    }
    return npos;
}

std::size_t TEdSearchPattern::FindBackward(std::string_view Text, std::size_t Low, std::size_t Before) const
{
    std::size_t found = npos;
    for (std::size_t pos = FindForward(Text, Low, Before); pos != npos; pos = FindForward(Text, pos + 1, Before))
        found = pos;
    return found;
}

std::optional<TEdTextPos> EdFindInRange(const TEdSearchPattern &Pattern, const TEdParaSource &Source,
                                        TEdTextPos From, TEdTextPos Scope, bool Backward)
{
    if (Pattern.Empty())
        return std::nullopt;
    if (!Backward) {
        for (std::int32_t para = From.Para; para <= Scope.Para; ++para) {
            const std::string_view text = Source(para);
            const std::size_t from = para == From.Para ? static_cast<std::size_t>(std::max(From.Offset, 1) - 1) : 0;
            const std::size_t limit = para == Scope.Para ? static_cast<std::size_t>(std::max(Scope.Offset, 1) - 1)
                                                         : text.size();
            const std::size_t pos = Pattern.FindForward(text, from, limit);
            if (pos != TEdSearchPattern::npos)
                return TEdTextPos{para, static_cast<std::int32_t>(pos + 1)};
        }
    } else {
        for (std::int32_t para = From.Para; para >= Scope.Para && para >= 1; --para) {
            const std::string_view text = Source(para);
            const std::size_t before = para == From.Para ? static_cast<std::size_t>(std::max(From.Offset, 1) - 1)
                                                         : text.size();
            const std::size_t low = para == Scope.Para ? static_cast<std::size_t>(std::max(Scope.Offset, 1) - 1) : 0;
            const std::size_t pos = Pattern.FindBackward(text, low, before);
            if (pos != TEdSearchPattern::npos)
                return TEdTextPos{para, static_cast<std::int32_t>(pos + 1)};
        }
    }
    return std::nullopt;
}
