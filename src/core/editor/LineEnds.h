// TLineEnd and TFileFormat: how the lines of a file end, for the whole file and line by line.
#pragma once

#include <cstdint>
#include <string_view>

// FileFormat values.
enum class TFileFormat : int { None = 0, Unix = 1, Dos = 2 };
inline constexpr TFileFormat ffNone = TFileFormat::None;  // no file read or written yet
inline constexpr TFileFormat ffUnix = TFileFormat::Unix;  // LF line ends
inline constexpr TFileFormat ffDos = TFileFormat::Dos;    // CR LF line ends

// The line end a paragraph was read with. Default: the document's format (lines the user adds).
// None: the file's last line, read without one; it gets the format's line end once a line follows.
enum class TLineEnd : std::uint8_t { Default = 0, CrLf = 1, Lf = 2, Cr = 3, None = 4 };

// The bytes of line end End in a document of format Format (Default: LF unless Format is DOS).
inline std::string_view LineEndBytes(TLineEnd End, TFileFormat Format)
{
    switch (End) {
    case TLineEnd::CrLf: return "\r\n";
    case TLineEnd::Lf: return "\n";
    case TLineEnd::Cr: return "\r";
    case TLineEnd::Default:
    case TLineEnd::None: break;
    }
    return Format == ffDos ? std::string_view("\r\n") : std::string_view("\n");
}

// A line end as the text store keeps it: Default where it is the format's own, so that only the
// lines that differ carry one.
inline TLineEnd StoredLineEnd(TLineEnd End, TFileFormat Format)
{
    return End == (Format == ffDos ? TLineEnd::CrLf : TLineEnd::Lf) ? TLineEnd::Default : End;
}
