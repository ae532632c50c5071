// The paragraph search: Boyer-Moore-Horspool with case, whole words, direction and scope.
#include "core/editor/Search.h"

#include <gtest/gtest.h>

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
