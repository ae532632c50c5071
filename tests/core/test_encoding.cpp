// Deciding a file's encoding and converting between Windows-1252 and UTF-8.
#include "core/editor/Encoding.h"

#include <gtest/gtest.h>

TEST(Encoding, Utf8IsValidOnlyInItsShortestFormsBelowTheLastCodePoint)
{
    EXPECT_EQ(FirstInvalidUtf8("plain <b>ascii</b> text that is long enough"), std::string_view::npos);
    EXPECT_EQ(FirstInvalidUtf8("\xC3\xA9 \xD0\x96 \xE6\xBC\xA2 \xF0\x9F\x98\x80"), std::string_view::npos);
    EXPECT_EQ(FirstInvalidUtf8("abc\xC0\xAF"), 3u) << "overlong slash";
    EXPECT_EQ(FirstInvalidUtf8("abcdefgh\xE0\x80\xAF"), 8u) << "overlong three-byte form";
    EXPECT_EQ(FirstInvalidUtf8("a\xED\xA0\x80"), 1u) << "surrogate";
    EXPECT_EQ(FirstInvalidUtf8("\xF4\x90\x80\x80"), 0u) << "above U+10FFFF";
    EXPECT_EQ(FirstInvalidUtf8("ok\xF5\x80\x80\x80"), 2u);
    EXPECT_EQ(FirstInvalidUtf8("\xFF"), 0u);
    EXPECT_EQ(FirstInvalidUtf8("12345678\xE6\xBC"), 8u) << "cut off by the end";
    EXPECT_EQ(FirstInvalidUtf8("caf\xE9"), 3u) << "Windows-1252 e acute";
}

TEST(Encoding, DetectionFollowsTheMarkTheBytesAndTheDeclaration)
{
    using E = TTextEncoding;
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBFplain", E::Windows1252), E::Utf8Bom);
    EXPECT_EQ(DetectEncoding("Russkij: \xD0\xA0\xD1\x83", E::Windows1252), E::Utf8);
    EXPECT_EQ(DetectEncoding("mostly \xD0\xA0 but caf\xE9", E::Utf8), E::Windows1252);
    EXPECT_EQ(DetectEncoding("<META CHARSET=\"UTF-8\">", E::Windows1252), E::Utf8);
    EXPECT_EQ(DetectEncoding("<meta http-equiv=\"Content-Type\" content=\"text/html; charset = utf-8\">",
                             E::Windows1252),
              E::Utf8);
    EXPECT_EQ(DetectEncoding("<meta charset=iso-8859-1>", E::Utf8), E::Utf8) << "ASCII takes the preference";
    EXPECT_EQ(DetectEncoding("<meta charset=iso-8859-1>", E::Windows1252), E::Windows1252);
    EXPECT_EQ(DetectEncoding("charset=utf-8 in text, no meta", E::Windows1252), E::Windows1252);
    const std::string late = std::string(1100, ' ') + "<meta charset=utf-8>";
    EXPECT_EQ(DetectEncoding(late, E::Windows1252), E::Windows1252) << "only the first 1,024 bytes count";
}

TEST(Encoding, ConversionsKeepEveryCharacterAndReferenceWhatTheCodePageLacks)
{
    // Every Windows-1252 byte survives the way through UTF-8 and back.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_EQ(FirstInvalidUtf8(utf8), std::string_view::npos);
    int replaced = -1;
    EXPECT_EQ(Utf8ToWindows1252(utf8, &replaced), all);
    EXPECT_EQ(replaced, 0);
    EXPECT_EQ(Windows1252ToUtf8("\x80\x93\xE9"), "\xE2\x82\xAC\xE2\x80\x9C\xC3\xA9");
    // Characters without a byte become numeric references.
    EXPECT_EQ(Utf8ToWindows1252("\xC3\xA9 \xD0\x96 \xF0\x9F\x98\x80", &replaced), "\xE9 &#1046; &#128512;");
    EXPECT_EQ(replaced, 2);
    std::string out;
    for (char32_t c : {U'A', U'\u00E9', U'\u0416', U'\u6F22', U'\U0001F600'})
        AppendUtf8(out, c);
    std::size_t at = 0;
    for (char32_t c : {U'A', U'\u00E9', U'\u0416', U'\u6F22', U'\U0001F600'}) {
        const auto [ch, n] = DecodeUtf8(out, at);
        EXPECT_EQ(ch, c);
        at += n;
    }
    EXPECT_EQ(at, out.size());
}

TEST(Encoding, TheSnifferAgreesWithTheWholeBufferWhereverTheChunksEnd)
{
    using E = TTextEncoding;
    const std::string cases[] = {
        "ascii only <meta charset=utf-8>",
        "\xEF\xBB\xBFmark",
        "a\xD0\x96" "b\xE6\xBC\xA2" "c\xF0\x9F\x98\x80" "d",
        "good \xD0\x96 then caf\xE9 bad",
        "cut at the end \xF0\x9F\x98",
        "\xE0\x80\xAF overlong",
        "\xED\xA0\x80 surrogate \xD0\x96",
        "\x80\x80\x80\x80 continuation bytes",
    };
    for (const std::string &s : cases)
        for (std::size_t a = 0; a <= s.size(); ++a)
            for (std::size_t b = a; b <= s.size(); ++b) {
                TEncodingSniffer sniffer;
                sniffer.Feed(std::string_view(s).substr(0, a));
                sniffer.Feed(std::string_view(s).substr(a, b - a));
                sniffer.Feed(std::string_view(s).substr(b));
                const E got = sniffer.Finish(E::Windows1252);
                ASSERT_EQ(got, DetectEncoding(s, E::Windows1252)) << s << " split " << a << "," << b;
                ASSERT_EQ(sniffer.FirstInvalid(), FirstInvalidUtf8(s)) << s << " split " << a << "," << b;
                ASSERT_EQ(sniffer.HighBytes(), HasHighBytes(s)) << s << " split " << a << "," << b;
            }
}

TEST(Encoding, LongTextsAreValidatedAlikeWhereverTheFaultLies)
{
    // Texts long enough for the block-wise check, with a fault (or none) at every kind of place:
    // inside a block, cut by a block's end, in the last bytes.
    const std::string pieces[] = {"a", "<p>", "\xC3\xA9", "\xD0\x96", "\xE6\xBC\xA2", "\xF0\x9F\x98\x80", "\xEF\xBF\xBF"};
    const std::string faults[] = {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5", "\xFF",
                                  "\x80", "\xC3", "\xE6\xBC", "\xF0\x9F\x98", "\xC3\xC3"};
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const std::size_t length = 32 + next() % 300;
        while (text.size() < length)
            text += pieces[next() % std::size(pieces)];
        std::size_t expected = std::string::npos;
        if (round % 4 != 0) {
            // The fault goes in at a character boundary, as a user's stray byte would.
            std::size_t at = 0;
            for (std::size_t k = next() % text.size(); at < k;)
                at += DecodeUtf8(text, at).second;
            const std::string &fault = faults[next() % std::size(faults)];
            text.insert(at, fault);
            expected = at;
        }
        // The rules read one sequence at a time give the reference.
        std::size_t plain = std::string::npos;
        for (std::size_t i = 0; i < text.size();) {
            const unsigned char b = static_cast<unsigned char>(text[i]);
            const std::size_t n = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
            const auto [cp, got] = DecodeUtf8(text, i);
            if (n == 0 || got != n || (n > 1 && cp < (n == 2 ? 0x80u : n == 3 ? 0x800u : 0x10000u))) {
                plain = i;
                break;
            }
            i += n;
        }
        ASSERT_EQ(FirstInvalidUtf8(text), plain) << round;
        if (expected != std::string::npos)
            EXPECT_LE(plain, expected) << round;
        else
            EXPECT_EQ(plain, std::string::npos) << round;
    }
}
