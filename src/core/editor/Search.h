// TEdSearchPattern: word delimiters, the editor's upper-case mapping and the per-paragraph Boyer-Moore-Horspool search.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Bits of the search options byte.
enum : unsigned char {
    soBackward = 2,
    soMatchCase = 4,
    soWholeText = 8,      // start at the beginning (or the end when backward) instead of the caret
    soReplace = 16,
    soReplaceAll = 32,
    soWholeWords = 64,
    soSelectedOnly = 128,
};

// True for the 35 characters that separate words (tab, CR, LF, blank and punctuation).
bool IsWordDelimiter(char c);

// Upper case of one Windows-1252 byte (ASCII, Latin-1 letters and the three paired letters
// of 0x80..0x9F); every other byte is returned unchanged.
unsigned char EdUpCase(unsigned char c);
std::string EdUpperCase(std::string_view text);
// UTF-8 text with every character upper-cased where its upper case has a UTF-8 form of the same
// length (so offsets stay); bytes that start no valid sequence stay as they are.
std::string EdFoldUtf8(std::string_view text);

// A position in the text as paragraph and offset, both counted from 1.
struct TEdTextPos {
    std::int32_t Para = 1;
    std::int32_t Offset = 1;
    friend bool operator==(const TEdTextPos &, const TEdTextPos &) = default;
    friend auto operator<=>(const TEdTextPos &, const TEdTextPos &) = default;
};

// One search text prepared for repeated Boyer-Moore-Horspool scans of single paragraphs.
class TEdSearchPattern {
public:
    static constexpr std::size_t MaxLength = 255;
    static constexpr std::size_t npos = std::string_view::npos;

    // The pattern is cut to MaxLength characters; without MatchCase it is compared upper-cased.
    // In a UTF-8 text (Utf8) matches begin and end at character boundaries, letters beyond ASCII
    // compare by their Unicode case (where both cases have UTF-8 forms of one length, so a match
    // is as long as the pattern), and whole words are made of Unicode letters, marks and digits.
    TEdSearchPattern(std::string_view Pattern, bool MatchCase, bool WholeWords, bool Utf8 = false);

    std::size_t Length() const { return Pat.size(); }
    bool Empty() const { return Pat.empty(); }
    bool MatchCase() const { return CaseSensitive; }

    // 0-based index of the first match in Text starting at or after From and ending at or before
    // Limit (exclusive end, cut to Text's size); npos when none.
    std::size_t FindForward(std::string_view Text, std::size_t From, std::size_t Limit) const;
    // The last match starting at or after Low and ending at or before Before; npos when none.
    std::size_t FindBackward(std::string_view Text, std::size_t Low, std::size_t Before) const;
    // Whether Text[Pos..Pos+Length) equals the pattern under the case rule (ignores whole words).
    bool Matches(std::string_view Text) const;

private:
    bool Accept(std::string_view Text, std::size_t Pos) const;
    // The byte scan of Text[From, Limit): Fold applies the case rule of 8-bit text (EdUpCase),
    // else bytes compare as they are; the bytes compared are Compared[pos - Base] (Text itself, or
    // a folded copy of the part from Base on).
    std::size_t Scan(std::string_view Text, const unsigned char *Compared, std::size_t Base, std::size_t From,
                     std::size_t Limit, bool Fold) const;
    std::size_t FindFolded(std::string_view Text, std::size_t From, std::size_t Limit) const;

    std::string Pat;
    bool Utf8;
    bool AsciiPattern = true;
    std::array<std::size_t, 256> Skip{};
    bool CaseSensitive;
    bool Whole;
};

// Text of paragraph n (1-based) of the searched document.
using TEdParaSource = std::function<std::string_view(std::int32_t Para)>;

// Searches paragraph by paragraph. Forward: the first match at or after From that ends at or
// before Scope (a position after the last character allowed). Backward: the last match that ends
// at or before From and starts at or after Scope. Returns the match's start.
std::optional<TEdTextPos> EdFindInRange(const TEdSearchPattern &Pattern, const TEdParaSource &Source,
                                        TEdTextPos From, TEdTextPos Scope, bool Backward);
