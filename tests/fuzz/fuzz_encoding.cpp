// Fuzz target for the encoding detector and the conversions: any bytes give a decision that agrees
// with a plain second reading of the UTF-8 rules, and no character is lost either way.
#include "core/editor/Encoding.h"

#include "FuzzInput.h"

#include <cstdint>
#include <string>

namespace {

// The UTF-8 rules once more, by code point: decode each sequence fully and reject overlong
// forms, surrogates, values above U+10FFFF and sequences cut off.
size_t PlainFirstInvalid(const std::string &S)
{
    size_t i = 0;
    while (i < S.size()) {
        const unsigned char b = static_cast<unsigned char>(S[i]);
        size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > S.size())
            return i;
        uint32_t cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        for (size_t k = 1; k < n; ++k) {
            const unsigned char c = static_cast<unsigned char>(S[i + k]);
            if ((c & 0xC0) != 0x80)
                return i;
            cp = cp << 6 | (c & 0x3F);
        }
        const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return i;
        i += n;
    }
    return std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const std::string Bytes(reinterpret_cast<const char *>(Data), Size);
    const size_t Invalid = FirstInvalidUtf8(Bytes);
    FUZZ_CHECK(Invalid == PlainFirstInvalid(Bytes));

    const TTextEncoding E = DetectEncoding(Bytes, TTextEncoding::Windows1252);
    if (Bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        FUZZ_CHECK(E == TTextEncoding::Utf8Bom);
    else if (Invalid != std::string::npos)
        FUZZ_CHECK(E == TTextEncoding::Windows1252);
    else if (HasHighBytes(Bytes))
        FUZZ_CHECK(E == TTextEncoding::Utf8);

    // Read in chunks that end anywhere, the file gets the same decision.
    TEncodingSniffer Sniffer;
    for (size_t At = 0, Step = 1; At < Bytes.size(); At += Step, Step = Step * 5 % 11 + 1)
        Sniffer.Feed(std::string_view(Bytes).substr(At, Step));
    FUZZ_CHECK(Sniffer.Finish(TTextEncoding::Windows1252) == E);
    FUZZ_CHECK(Sniffer.FirstInvalid() == Invalid);

    // Windows-1252 bytes go to valid UTF-8 and come back byte for byte.
    const std::string Utf8 = Windows1252ToUtf8(Bytes);
    FUZZ_CHECK(FirstInvalidUtf8(Utf8) == std::string::npos);
    int Replaced = -1;
    FUZZ_CHECK(Utf8ToWindows1252(Utf8, &Replaced) == Bytes);
    FUZZ_CHECK(Replaced == 0);

    // Valid UTF-8 decodes character by character to the same bytes, and its Windows-1252 form
    // turns back into them once the references are read as characters.
    if (Invalid == std::string::npos) {
        std::string Again;
        for (size_t I = 0; I < Bytes.size();) {
            const auto [Ch, N] = DecodeUtf8(Bytes, I);
            FUZZ_CHECK(N >= 1 && I + N <= Bytes.size());
            AppendUtf8(Again, Ch);
            I += N;
        }
        FUZZ_CHECK(Again == Bytes);
    }
    return 0;
}
