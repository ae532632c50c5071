// Fuzz target for the tag-case rule and the code page's case mappings: the rule is compared with
// a second, plainly written walk over the text, and the mappings with their own properties.
#include "core/custom/HistoryList.h"
#include "core/markup/TagCase.h"

#include "FuzzInput.h"

#include <cstdint>
#include <string>

namespace {

// The rule as a user would describe it: inside a tag, capitals are lowered except inside double
// quotes; a text opening with "<!" keeps the case of that first tag until a quote turns lowering on.
std::string ExpectedTagCase(std::string_view Text)
{
    std::string Out(Text);
    bool InTag = false, Lowering = false;
    for (std::size_t I = 0; I < Out.size(); ++I) {
        const char C = Out[I];
        if (C == '<') {
            InTag = true;
            Lowering = !(I == 0 && Out.size() > 1 && Out[1] == '!');
        } else if (C == '>') {
            InTag = Lowering = false;
        } else if (C == '"' && InTag) {
            Lowering = !Lowering;
        }
        if (Lowering && C >= 'A' && C <= 'Z')
            Out[I] = static_cast<char>(C + ('a' - 'A'));
    }
    return Out;
}

bool IsAsciiLetterPair(char From, char To) { return From >= 'A' && From <= 'Z' && To == From + ('a' - 'A'); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const std::string_view Text(reinterpret_cast<const char *>(Data), Size);

    FUZZ_CHECK(ApplyTagCase(Text, false) == Text);
    const std::string Lowered = ApplyTagCase(Text, true);
    FUZZ_CHECK(Lowered.size() == Text.size());
    FUZZ_CHECK(Lowered == ExpectedTagCase(Text));
    for (std::size_t I = 0; I < Text.size(); ++I)
        FUZZ_CHECK(Lowered[I] == Text[I] || IsAsciiLetterPair(Text[I], Lowered[I]));
    // Lowering touches no "<", ">" or quote, so a second pass finds nothing more to do.
    FUZZ_CHECK(ApplyTagCase(Lowered, true) == Lowered);
    // Any piece of markup that starts a new text behaves the same once it stands alone.
    const std::size_t Cut = Text.find('>');
    if (Cut != std::string_view::npos && Cut + 1 < Text.size() && Text[Cut + 1] != '<' &&
        Text.substr(0, Cut).find('<') != std::string_view::npos &&
        Text.substr(0, Cut).find('"') == std::string_view::npos) {
        const std::string Tail = ApplyTagCase(Text.substr(Cut + 1), true);
        FUZZ_CHECK(Lowered.substr(Cut + 1) == Tail);
    }

    const std::string Upper = AsciiUpperCase(Text);
    FUZZ_CHECK(Upper.size() == Text.size());
    for (std::size_t I = 0; I < Text.size(); ++I)
        FUZZ_CHECK(Upper[I] == Text[I] || IsAsciiLetterPair(Upper[I], Text[I]));

    const std::string AnsiLower = AnsiLowerCase(Text);
    const std::string AnsiUpper = AnsiUpperCase(Text);
    FUZZ_CHECK(AnsiLower.size() == Text.size() && AnsiUpper.size() == Text.size());
    FUZZ_CHECK(AnsiLowerCase(AnsiLower) == AnsiLower);
    FUZZ_CHECK(AnsiUpperCase(AnsiUpper) == AnsiUpper);
    FUZZ_CHECK(AnsiLowerCase(AnsiUpper) == AnsiLower);
    FUZZ_CHECK(AnsiUpperCase(AnsiLower) == AnsiUpper);
    // The history lists' case-blind comparison agrees with the code page's mappings.
    const std::size_t Half = Text.size() / 2;
    const std::string_view A = Text.substr(0, Half), B = Text.substr(Half, Half);
    FUZZ_CHECK(SameTextIgnoringCase(A, B) == (AnsiLowerCase(A) == AnsiLowerCase(B)));
    FUZZ_CHECK(SameTextIgnoringCase(Text, AnsiUpper) && SameTextIgnoringCase(AnsiLower, Text));
    FUZZ_CHECK((CompareTextIgnoringCase(A, B) == 0) == SameTextIgnoringCase(A, B));
    const int AB = CompareTextIgnoringCase(A, B), BA = CompareTextIgnoringCase(B, A);
    FUZZ_CHECK((AB < 0) == (BA > 0) && (AB == 0) == (BA == 0));
    return 0;
}
