// The paragraph search: Boyer-Moore-Horspool with case, whole words, direction and scope.
#include "core/editor/Search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

TEdParaSource SourceOf(const std::vector<std::string> &paras)
{
    return [&paras](std::int32_t n) { return std::string_view(paras.at(static_cast<std::size_t>(n - 1))); };
}

// The plain quadratic search the skip table must agree with.
std::size_t NaiveFind(const std::string &text, const std::string &pat, std::size_t from, std::size_t limit, bool icase)
{
    for (std::size_t p = from; p + pat.size() <= limit; ++p) {
        bool ok = true;
        for (std::size_t i = 0; i < pat.size() && ok; ++i) {
            unsigned char a = static_cast<unsigned char>(text[p + i]), b = static_cast<unsigned char>(pat[i]);
            ok = icase ? EdUpCase(a) == EdUpCase(b) : a == b;
        }
        if (ok)
            return p;
    }
    return std::string::npos;
}

} // namespace

TEST(EdSearch, DelimitersAreExactlyTheThirtyFiveSeparators)
{
    int count = 0;
    for (int c = 0; c < 256; ++c)
        count += IsWordDelimiter(static_cast<char>(c)) ? 1 : 0;
    EXPECT_EQ(count, 35);
    for (char c : std::string("\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*"))
        EXPECT_TRUE(IsWordDelimiter(c)) << int(c);
    for (char c : std::string("aZ09_\xE9"))
        EXPECT_FALSE(IsWordDelimiter(c)) << int(c);
}

TEST(EdSearch, UpperCaseFollowsTheCodePage)
{
    EXPECT_EQ(EdUpperCase("abc\xE9\xFF\x9A\xF7\xDF"), "ABC\xC9\x9F\x8A\xF7\xDF");
}

TEST(EdSearch, SkipTableSearchAgreesWithNaiveSearch)
{
    std::mt19937 rng(7);
    const std::string alphabet = "abAB \t<>";
    for (int round = 0; round < 3000; ++round) {
        std::string text, pat;
        const int n = static_cast<int>(rng() % 40), m = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < n; ++i)
            text.push_back(alphabet[rng() % alphabet.size()]);
        for (int i = 0; i < m; ++i)
            pat.push_back(alphabet[rng() % alphabet.size()]);
        const bool icase = rng() % 2;
        TEdSearchPattern p(pat, !icase, false);
        const std::size_t from = text.empty() ? 0 : rng() % (text.size() + 1);
        EXPECT_EQ(p.FindForward(text, from, text.size()), NaiveFind(text, pat, from, text.size(), icase))
            << text << " / " << pat;
        // Backward: the last match ending at or before the limit.
        const std::size_t before = text.empty() ? 0 : rng() % (text.size() + 1);
        std::size_t last = std::string::npos;
        for (std::size_t q = NaiveFind(text, pat, 0, before, icase); q != std::string::npos;
             q = NaiveFind(text, pat, q + 1, before, icase))
            last = q;
        EXPECT_EQ(p.FindBackward(text, 0, before), last) << text << " / " << pat;
    }
}

TEST(EdSearch, WholeWordsAndCase)
{
    TEdSearchPattern whole("abc", false, true);
    EXPECT_EQ(whole.FindForward("xabc", 0, 4), TEdSearchPattern::npos);
    EXPECT_EQ(whole.FindForward("<abc>", 0, 5), 1u);
    EXPECT_EQ(whole.FindForward("xabc abcd <ABC>", 0, 15), 11u);
    EXPECT_EQ(whole.FindForward("abc", 0, 3), 0u);  // paragraph edges count as delimiters
    TEdSearchPattern exact("Abc", true, false);
    EXPECT_EQ(exact.FindForward("abc ABC Abc", 0, 11), 8u);
    EXPECT_TRUE(exact.Matches("Abc"));
    EXPECT_FALSE(exact.Matches("abc"));
    EXPECT_TRUE(TEdSearchPattern("Abc", false, false).Matches("aBC"));
    // The text is cut to 255 characters.
    EXPECT_EQ(TEdSearchPattern(std::string(300, 'x'), true, false).Length(), 255u);
}

TEST(EdSearch, RangeSearchCrossesParagraphsButNoMatchSpansThem)
{
    const std::vector<std::string> paras = {"one two", "tw", "o two", "", "two"};
    const auto src = SourceOf(paras);
    TEdSearchPattern two("two", true, false);
    auto hit = EdFindInRange(two, src, {1, 1}, {5, 4}, false);
    ASSERT_TRUE(hit);
    EXPECT_EQ(*hit, (TEdTextPos{1, 5}));
    hit = EdFindInRange(two, src, {1, 6}, {5, 4}, false);  // starting inside the first one
    ASSERT_TRUE(hit);
    EXPECT_EQ(*hit, (TEdTextPos{3, 3}));
    // The scope end cuts a match that would end after it.
    EXPECT_FALSE(EdFindInRange(two, src, {3, 4}, {5, 3}, false));
    // Backward from the end: the last one; from the start of the text: nothing.
    hit = EdFindInRange(two, src, {5, 4}, {1, 1}, true);
    ASSERT_TRUE(hit);
    EXPECT_EQ(*hit, (TEdTextPos{5, 1}));
    hit = EdFindInRange(two, src, {3, 5}, {1, 1}, true);  // ends before (3,5): only "two" of para 1
    ASSERT_TRUE(hit);
    EXPECT_EQ(*hit, (TEdTextPos{1, 5}));
    EXPECT_FALSE(EdFindInRange(two, src, {1, 1}, {1, 1}, true));
    // Backward scope: a match starting before the scope start is rejected.
    EXPECT_FALSE(EdFindInRange(two, src, {1, 8}, {1, 6}, true));
}

TEST(EdSearch, Utf8TextFoldsLettersBeyondAsciiAndMatchesWholeCharacters)
{
    // Unicode case, the three Greek sigmas alike, no Windows-1252 rule on UTF-8 bytes.
    EXPECT_EQ(EdFoldUtf8("a\xD0\xB6\xCF\x83\xCF\x82\xC3\xA9z"), "A\xD0\x96\xCE\xA3\xCE\xA3\xC3\x89Z");
    EXPECT_EQ(EdFoldUtf8("\xE6\xBC\xA2\xF0\x9F\x98\x80\xFF"), "\xE6\xBC\xA2\xF0\x9F\x98\x80\xFF");
    TEdSearchPattern zhe("\xD0\xB6", false, false, true);
    EXPECT_EQ(zhe.FindForward("ab \xD0\x96", 0, 5), 3u);
    EXPECT_TRUE(zhe.Matches("\xD0\x96"));
    EXPECT_EQ(TEdSearchPattern("\xD0\xB6", true, false, true).FindForward("ab \xD0\x96", 0, 5), TEdSearchPattern::npos);
    // "e" is not the first half of e with a combining acute; whole words are Unicode words.
    EXPECT_EQ(TEdSearchPattern("e", true, false, true).FindForward("e\xCC\x81 e", 0, 5), 4u);
    TEdSearchPattern word("\xD0\xB4\xD0\xB0", false, true, true); // "da"
    EXPECT_EQ(word.FindForward("\xD0\x94\xD0\x90\xD0\x96 \xD0\x94\xD0\x90.", 0, 14), 7u);

    // Against a plain search over whole characters, matches found across the scan's windows.
    const std::vector<std::string> chars = {"a", "A", "\xD0\xB6", "\xD0\x96", "\xCF\x83", "\xCF\x82", "\xCE\xA3",
                                            "\xC3\xA9", "\xC3\x89", "e\xCC\x81", " ", "\xE6\xBC\xA2"};
    std::mt19937 rng(11);
    for (int round = 0; round < 400; ++round) {
        std::string text, pat;
        std::vector<std::size_t> starts;
        const int n = round % 10 == 0 ? 9000 : static_cast<int>(rng() % 30);
        for (int i = 0; i < n; ++i) {
            starts.push_back(text.size());
            text += chars[rng() % chars.size()];
        }
        starts.push_back(text.size());
        for (int i = 0, m = 1 + static_cast<int>(rng() % 3); i < m; ++i)
            pat += chars[rng() % chars.size()];
        const bool icase = rng() % 2;
        const std::string want = icase ? EdFoldUtf8(pat) : pat;
        std::size_t expected = std::string::npos;
        for (std::size_t k = 0; k + 1 < starts.size() && expected == std::string::npos; ++k) {
            const std::size_t p = starts[k];
            if (p + pat.size() > text.size() || !std::binary_search(starts.begin(), starts.end(), p + pat.size()))
                continue;
            const std::string piece = text.substr(p, pat.size());
            if ((icase ? EdFoldUtf8(piece) : piece) == want)
                expected = p;
        }
        EXPECT_EQ(TEdSearchPattern(pat, !icase, false, true).FindForward(text, 0, text.size()), expected)
            << round << " / " << pat;
    }
}
