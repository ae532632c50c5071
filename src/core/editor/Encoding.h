// TTextEncoding: the two encodings of a document's bytes (Windows-1252 and UTF-8), how a file's
// encoding is decided when it is read, and the conversions between them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class TTextEncoding { Windows1252 = 0, Utf8 = 1, Utf8Bom = 2 };

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// How far into a file a charset declaration is looked for.
inline constexpr std::size_t kCharsetSniffBytes = 1024;

// The byte offset of the first byte that does not start a valid UTF-8 sequence (shortest forms
// only, no surrogates, nothing above U+10FFFF, no sequence cut off by the end), or npos.
std::size_t FirstInvalidUtf8(std::string_view Bytes);
// Whether any byte is 0x80 or above.
bool HasHighBytes(std::string_view Bytes);
// Whether the head declares charset=utf-8 (in a meta element, either form, any letter case).
bool DeclaresUtf8(std::string_view Head);
// The encoding of a file's bytes: UTF-8 with a byte-order mark; UTF-8 when it holds high bytes
// and all of them form valid UTF-8; Windows-1252 when any does not; pure ASCII is UTF-8 when its
// head declares it and otherwise takes NewDocuments, the preference for new documents.
TTextEncoding DetectEncoding(std::string_view Bytes, TTextEncoding NewDocuments);

// The same decision for a file read in chunks: Feed every chunk in order, then Finish. A sequence
// cut by a chunk's end is checked when the next chunk comes; validation stops at the first fault.
class TEncodingSniffer {
public:
    void Feed(std::string_view Chunk);
    // The decision (as DetectEncoding) once every byte was fed.
    TTextEncoding Finish(TTextEncoding NewDocuments);
    // After Finish: whether the bytes began with the byte-order mark, held bytes of 0x80 or above,
    // and the file offset of the first invalid sequence (npos: all valid).
    bool Bom() const { return StartsWithBom; }
    bool HighBytes() const { return High; }
    std::size_t FirstInvalid() const { return Invalid; }

private:
    void Check(std::string_view Bytes, std::size_t BaseOffset);
    std::size_t Offset = 0;          // bytes fed so far
    std::string Carry;               // the start of a sequence cut by the last chunk's end
    std::string Head;                // the first kCharsetSniffBytes bytes
    std::size_t Invalid = std::string_view::npos;
    bool High = false;
    bool StartsWithBom = false;
    bool Finished = false;
};

// The character a Windows-1252 byte stands for (the five unassigned bytes keep their C1 value).
char32_t Windows1252ToCodePoint(unsigned char Byte);
// The Windows-1252 byte of a character, if it has one.
std::optional<unsigned char> CodePointToWindows1252(char32_t Ch);
// Appends the UTF-8 bytes of a character.
void AppendUtf8(std::string &Out, char32_t Ch);
// The character starting at Pos of valid UTF-8 text and its length in bytes (1 for an invalid byte,
// which stands for itself).
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view Text, std::size_t Pos);

// Windows-1252 bytes as UTF-8.
std::string Windows1252ToUtf8(std::string_view Bytes);
// UTF-8 text as Windows-1252: a character the code page cannot hold becomes a numeric character
// reference ("&#1046;"); Replaced, when given, receives how many did.
std::string Utf8ToWindows1252(std::string_view Text, int *Replaced = nullptr);
