// TTextEncoding: deciding a file's encoding and converting between Windows-1252 and UTF-8.
#include "core/editor/Encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes keep their C1 control value.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The length of the valid sequence starting at P (at most End - P bytes), or 0.
std::size_t SequenceLength(const unsigned char *P, const unsigned char *End)
{
    const unsigned char b = P[0];
    std::size_t n;
    unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        n = 2;
    else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0)
            lo = 0xA0;  // no overlong forms
        else if (b == 0xED)
            hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F;  // nothing above U+10FFFF
    } else
        return 0;
    if (static_cast<std::size_t>(End - P) < n)
        return 0;
    if (P[1] < lo || P[1] > hi)
        return 0;
    for (std::size_t i = 2; i < n; ++i)
        if ((P[i] & 0xC0) != 0x80)
            return 0;
    return n;
}

char Lower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C + 32) : C; }

} // namespace

namespace {

#if defined(__x86_64__)
// 32 bytes at a time with the processor's vector unit: each byte is classified together with the
// one, two and three before it through three 16-entry tables (the high nibble of the previous byte,
// its low nibble, the high nibble of this byte); every error of the UTF-8 rules leaves a bit set.
// Returns how many bytes from the start are known to hold no error, at most the whole blocks'
// length; High is set when a byte of 0x80 or above was seen. The caller checks the rest (a
// sequence cut by the last block's end, and the block with an error) one sequence at a time.
// A 16-entry table in both halves of a vector, for byte-wise lookups.
__attribute__((target("avx2"))) void Table16Avx2(std::initializer_list<std::uint8_t> t, __m256i *Out)
{
    alignas(32) std::uint8_t b[32];
    std::size_t i = 0;
    for (std::uint8_t v : t)
        b[i] = b[i + 16] = v, ++i;
    *Out = _mm256_load_si256(reinterpret_cast<const __m256i *>(b));
}

__attribute__((target("avx2"))) std::size_t ValidBlocksAvx2(const unsigned char *P, std::size_t N, bool &High)
{
    constexpr std::uint8_t TooShort = 1 << 0, TooLong = 1 << 1, Overlong3 = 1 << 2, TooLarge = 1 << 3,
                           Surrogate = 1 << 4, Overlong2 = 1 << 5, TooLarge1000 = 1 << 6, Overlong4 = 1 << 6,
                           TwoConts = 1 << 7;
    constexpr std::uint8_t Carry = TooShort | TooLong | TwoConts;
    __m256i byte1High, byte1Low, byte2High;
    Table16Avx2({TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TooLong,
                 TwoConts, TwoConts, TwoConts, TwoConts, TooShort | Overlong2, TooShort,
                 TooShort | Overlong3 | Surrogate,
                 TooShort | TooLarge | TooLarge1000 | Overlong4}, &byte1High);
    Table16Avx2({Carry | Overlong3 | Overlong2 | Overlong4, Carry | Overlong2, Carry, Carry,
                 Carry | TooLarge, Carry | TooLarge | TooLarge1000,
                 Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000,
                 Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000,
                 Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000,
                 Carry | TooLarge | TooLarge1000,
                 Carry | TooLarge | TooLarge1000 | Surrogate,
                 Carry | TooLarge | TooLarge1000, Carry | TooLarge | TooLarge1000}, &byte1Low);
    Table16Avx2({TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, TooShort,
                 TooLong | Overlong2 | TwoConts | Overlong3 | TooLarge1000 | Overlong4,
                 TooLong | Overlong2 | TwoConts | Overlong3 | TooLarge,
                 TooLong | Overlong2 | TwoConts | Surrogate | TooLarge,
                 TooLong | Overlong2 | TwoConts | Surrogate | TooLarge,
                 TooShort, TooShort, TooShort, TooShort}, &byte2High);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i high80 = _mm256_set1_epi8(static_cast<char>(0x80));
    // The last three bytes of a block must not start a sequence longer than what follows them.
    const __m256i incompleteMax = _mm256_setr_epi8(
        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
        -1, -1, static_cast<char>(0xF0 - 1), static_cast<char>(0xE0 - 1), static_cast<char>(0xC0 - 1));
    __m256i previous = _mm256_setzero_si256(), previousIncomplete = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 32 <= N; i += 32) {
        const __m256i input = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(P + i));
        __m256i error;
        if (_mm256_movemask_epi8(input) == 0) {
            error = previousIncomplete;
            previousIncomplete = _mm256_setzero_si256();
        } else {
            High = true;
            const __m256i shifted = _mm256_permute2x128_si256(previous, input, 0x21);
            const __m256i prev1 = _mm256_alignr_epi8(input, shifted, 15);
            const __m256i prev2 = _mm256_alignr_epi8(input, shifted, 14);
            const __m256i prev3 = _mm256_alignr_epi8(input, shifted, 13);
            const __m256i special = _mm256_and_si256(
                _mm256_and_si256(
                    _mm256_shuffle_epi8(byte1High, _mm256_and_si256(_mm256_srli_epi16(prev1, 4), nibble)),
                    _mm256_shuffle_epi8(byte1Low, _mm256_and_si256(prev1, nibble))),
                _mm256_shuffle_epi8(byte2High, _mm256_and_si256(_mm256_srli_epi16(input, 4), nibble)));
            // Third and fourth bytes of a sequence must be continuations, and nothing else may be.
            const __m256i must23 = _mm256_or_si256(_mm256_subs_epu8(prev2, _mm256_set1_epi8(0xE0 - 0x80)),
                                                   _mm256_subs_epu8(prev3, _mm256_set1_epi8(0xF0 - 0x80)));
            error = _mm256_xor_si256(_mm256_and_si256(must23, high80), special);
            previousIncomplete = _mm256_subs_epu8(input, incompleteMax);
        }
        if (!_mm256_testz_si256(error, error))
            return i;
        previous = input;
    }
    return i;
}
#endif

// The first invalid offset of Bytes and whether any byte is 0x80 or above (up to the first fault).
std::size_t ScanUtf8(std::string_view Bytes, bool &High)
{
    const auto *begin = reinterpret_cast<const unsigned char *>(Bytes.data());
    const unsigned char *p = begin, *end = begin + Bytes.size();
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2 && Bytes.size() >= 64) {
        // No error before k, but a sequence that starts in the three bytes before k may be cut or
        // wrong after it: go on from its lead byte.
        const std::size_t k = ValidBlocksAvx2(begin, Bytes.size(), High);
        std::size_t from = k;
        for (std::size_t back = 1; back <= 3 && back <= k; ++back) {
            const unsigned char b = begin[k - back];
            if (b < 0x80)
                break;
            if (b >= 0xC0) {
                from = k - back;
                break;
            }
        }
        p = begin + from;
    }
#endif
    while (p < end) {
        // Eight ASCII bytes at a time: most of a page is markup.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ull)
                break;
            p += 8;
        }
        if (p >= end)
            break;
        if (*p >= 0x80)
            High = true;
        const std::size_t n = SequenceLength(p, end);
        if (n == 0)
            return static_cast<std::size_t>(p - begin);
        p += n;
    }
    return std::string_view::npos;
}

} // namespace

std::size_t FirstInvalidUtf8(std::string_view Bytes)
{
    bool high = false;
    return ScanUtf8(Bytes, high);
}

bool HasHighBytes(std::string_view Bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(Bytes.data());
    std::size_t i = 0;
    for (; i + 8 <= Bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ull)
            return true;
    }
    for (; i < Bytes.size(); ++i)
        if (p[i] >= 0x80)
            return true;
    return false;
}

bool DeclaresUtf8(std::string_view Head)
{
    Head = Head.substr(0, kCharsetSniffBytes);
    std::string lower(Head);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    // <meta charset="utf-8"> and <meta http-equiv=... content="text/html; charset=utf-8">: the
    // name, blanks around "=", an optional quote, the value.
    for (std::size_t at = lower.find("charset"); at != std::string::npos; at = lower.find("charset", at + 1)) {
        if (lower.rfind("<meta", at) == std::string::npos)
            continue;
        std::size_t i = at + 7;
        while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\t'))
            ++i;
        if (i >= lower.size() || lower[i] != '=')
            continue;
        ++i;
        while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\t' || lower[i] == '"' || lower[i] == '\''))
            ++i;
        const std::string_view value = std::string_view(lower).substr(i);
        if (value.substr(0, 5) == "utf-8" || value.substr(0, 4) == "utf8")
            return true;
    }
    return false;
}

TTextEncoding DetectEncoding(std::string_view Bytes, TTextEncoding NewDocuments)
{
    if (Bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        return TTextEncoding::Utf8Bom;
    if (FirstInvalidUtf8(Bytes) != std::string_view::npos)
        return TTextEncoding::Windows1252;
    if (HasHighBytes(Bytes))
        return TTextEncoding::Utf8;
    if (DeclaresUtf8(Bytes))
        return TTextEncoding::Utf8;
    return NewDocuments == TTextEncoding::Utf8Bom ? TTextEncoding::Utf8 : NewDocuments;
}

void TEncodingSniffer::Check(std::string_view Bytes, std::size_t BaseOffset)
{
    if (Invalid != std::string_view::npos)
        return;
    const std::size_t bad = ScanUtf8(Bytes, High);
    if (bad != std::string_view::npos) {
        Invalid = BaseOffset + bad;
        High = true; // an invalid byte is always one of 0x80 or above
    }
}

void TEncodingSniffer::Feed(std::string_view Chunk)
{
    if (Chunk.empty())
        return;
    if (Head.size() < kCharsetSniffBytes)
        Head.append(Chunk.substr(0, kCharsetSniffBytes - Head.size()));
    if (Offset == 0 || (Offset < kUtf8Bom.size() && Head.size() >= kUtf8Bom.size()))
        StartsWithBom = Head.substr(0, kUtf8Bom.size()) == kUtf8Bom;
    const std::size_t start = Offset - Carry.size();
    Offset += Chunk.size();
    if (Invalid != std::string_view::npos)
        return;
    if (!Carry.empty()) {
        // Complete the cut sequence with the chunk's first bytes and check the rest after it.
        const std::size_t take = std::min<std::size_t>(Chunk.size(), 4 - Carry.size());
        Carry.append(Chunk.substr(0, take));
        const std::size_t n = SequenceLength(reinterpret_cast<const unsigned char *>(Carry.data()),
                                             reinterpret_cast<const unsigned char *>(Carry.data()) + Carry.size());
        if (n == 0) {
            if (Carry.size() < 4 && take == Chunk.size())
                return; // still cut: wait for more
            Invalid = start;
            High = true;
            return;
        }
        High = true;
        const std::size_t used = n - (Carry.size() - take);
        Carry.clear();
        Chunk.remove_prefix(used);
    }
    // A sequence cut by the chunk's end: keep its bytes for the next chunk.
    std::size_t tail = Chunk.size();
    for (std::size_t back = 1; back <= 3 && back <= Chunk.size(); ++back) {
        const auto b = static_cast<unsigned char>(Chunk[Chunk.size() - back]);
        if ((b & 0xC0) != 0x80) {
            const std::size_t need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
            if (need > back)
                tail = Chunk.size() - back;
            break;
        }
    }
    Check(Chunk.substr(0, tail), Offset - Chunk.size());
    if (Invalid == std::string_view::npos)
        Carry.assign(Chunk.substr(tail));
}

TTextEncoding TEncodingSniffer::Finish(TTextEncoding NewDocuments)
{
    if (!Finished) {
        Finished = true;
        if (!Carry.empty() && Invalid == std::string_view::npos) {
            Invalid = Offset - Carry.size(); // cut off by the end of the file
            High = true;
        }
        Carry.clear();
    }
    if (StartsWithBom)
        return TTextEncoding::Utf8Bom;
    if (Invalid != std::string_view::npos)
        return TTextEncoding::Windows1252;
    if (High || DeclaresUtf8(Head))
        return TTextEncoding::Utf8;
    return NewDocuments == TTextEncoding::Utf8Bom ? TTextEncoding::Utf8 : NewDocuments;
}

char32_t Windows1252ToCodePoint(unsigned char Byte)
{
    return Byte >= 0x80 && Byte <= 0x9F ? kHigh[Byte - 0x80] : Byte;
}

std::optional<unsigned char> CodePointToWindows1252(char32_t Ch)
{
    if (Ch < 0x80 || (Ch >= 0xA0 && Ch <= 0xFF))
        return static_cast<unsigned char>(Ch);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == Ch)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

void AppendUtf8(std::string &Out, char32_t Ch)
{
    if (Ch < 0x80) {
        Out += static_cast<char>(Ch);
    } else if (Ch < 0x800) {
        Out += static_cast<char>(0xC0 | (Ch >> 6));
        Out += static_cast<char>(0x80 | (Ch & 0x3F));
    } else if (Ch < 0x10000) {
        Out += static_cast<char>(0xE0 | (Ch >> 12));
        Out += static_cast<char>(0x80 | ((Ch >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Ch & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (Ch >> 18));
        Out += static_cast<char>(0x80 | ((Ch >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((Ch >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Ch & 0x3F));
    }
}

std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view Text, std::size_t Pos)
{
    const auto *p = reinterpret_cast<const unsigned char *>(Text.data()) + Pos;
    const auto *end = reinterpret_cast<const unsigned char *>(Text.data()) + Text.size();
    const std::size_t n = SequenceLength(p, end);
    switch (n) {
    case 1: return {p[0], 1};
    case 2: return {static_cast<char32_t>((p[0] & 0x1F) << 6 | (p[1] & 0x3F)), 2};
    case 3: return {static_cast<char32_t>((p[0] & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F)), 3};
    case 4:
        return {static_cast<char32_t>((p[0] & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F)), 4};
    default: return {p[0], 1};
    }
}

std::string Windows1252ToUtf8(std::string_view Bytes)
{
    std::string out;
    out.reserve(Bytes.size() + Bytes.size() / 8);
    for (const char c : Bytes)
        AppendUtf8(out, Windows1252ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToWindows1252(std::string_view Text, int *Replaced)
{
    std::string out;
    out.reserve(Text.size());
    int count = 0;
    for (std::size_t i = 0; i < Text.size();) {
        const auto [ch, n] = DecodeUtf8(Text, i);
        i += n;
        if (const auto byte = CodePointToWindows1252(ch)) {
            out += static_cast<char>(*byte);
        } else {
            out += "&#" + std::to_string(static_cast<std::uint32_t>(ch)) + ";";
            ++count;
        }
    }
    if (Replaced)
        *Replaced = count;
    return out;
}
