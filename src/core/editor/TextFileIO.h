// Text file readers and writers: DOS (CR LF) and Unix (LF) line ends, one paragraph per line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// FileFormat values.
enum class TFileFormat : int { None = 0, Unix = 1, Dos = 2 };
inline constexpr TFileFormat ffNone = TFileFormat::None;  // no file read or written yet
inline constexpr TFileFormat ffUnix = TFileFormat::Unix;  // LF line ends
inline constexpr TFileFormat ffDos = TFileFormat::Dos;    // CR LF line ends

constexpr int DefaultParaLengthLimit = 32767;
constexpr std::size_t FormatTestSize = 512;
constexpr char CtrlZ = 26;

// The format test: DOS when a CR lies among the first 512 bytes, else Unix (also when empty).
TFileFormat DetectTextFormat(std::string_view Head);
// The format test on a file's first 512 bytes; throws EFileError when it cannot be read.
TFileFormat DetectFileFormat(const std::string &FileName);

struct TTextReadOptions {
    int ParaLengthLimit = DefaultParaLengthLimit; // longer lines are split (values cut to 1..32767)
    bool TrimWhiteSpace = true;                   // drop trailing spaces and tabs of every line
};

struct TTextReadResult {
    TFileFormat Format = ffNone;
    std::size_t Lines = 0;      // lines of the file
    std::size_t Paragraphs = 0; // paragraphs handed out: more than Lines when lines were split
    bool LinesSplit = false;    // some line was longer than the limit (warn: saving breaks it)
    bool EndMarkSeen = false;   // a Ctrl+Z ended a DOS text early
};

// Receives each paragraph in file order; the view is valid only during the call. The text
// store's final empty paragraph is not sent: a text of n lines gives n calls.
using TParagraphSink = std::function<void(std::string_view Para)>;

// Splits a stream of bytes given in chunks of any size into paragraphs.
// DOS: CR or CR LF ends a line, a lone LF is a character, a Ctrl+Z ends the text.
// Unix: LF ends a line; CR and Ctrl+Z are characters. Every other byte, NUL included, is kept.
// A line longer than the limit is cut after the last blank within the limit, or at the limit
// when it has none; each part becomes a paragraph.
class TTextLineReader {
public:
    TTextLineReader(TFileFormat Format, const TTextReadOptions &Options, TParagraphSink Sink);

    void Feed(std::string_view Chunk);
    // Sends the last line when it has no line end; call once after the last chunk.
    TTextReadResult Finish();

private:
    void EndLine(std::string_view Line);
    void Emit(std::string_view Para);

    TFileFormat Format;
    std::size_t Limit;
    bool Trim;
    TParagraphSink Sink;
    std::string Carry;       // start of a line that spans chunks
    bool AfterCR = false;    // the last byte fed was a line-ending CR (DOS)
    bool Ended = false;      // Ctrl+Z seen (DOS)
    bool Finished = false;
    TTextReadResult Result;
};

// Whole-buffer readers.
TTextReadResult ReadText(std::string_view Bytes, TFileFormat Format, const TTextReadOptions &Options,
                         const TParagraphSink &Sink);
inline TTextReadResult ReadDosText(std::string_view Bytes, const TTextReadOptions &Options,
                                   const TParagraphSink &Sink) {
    return ReadText(Bytes, ffDos, Options, Sink);
}
inline TTextReadResult ReadUnixText(std::string_view Bytes, const TTextReadOptions &Options,
                                    const TParagraphSink &Sink) {
    return ReadText(Bytes, ffUnix, Options, Sink);
}
// The paragraphs of a buffer as strings (format ffNone: detected from the bytes).
std::vector<std::string> ReadTextParagraphs(std::string_view Bytes, TFileFormat Format,
                                            const TTextReadOptions &Options = {},
                                            TTextReadResult *Result = nullptr);

// Reads a file with the reader of Format, or detects the format first when it is ffNone
// (Result.Format tells which); throws EFileError on failure, after some paragraphs may have
// been sent.
TTextReadResult ReadTextFile(const std::string &FileName, TFileFormat Format, const TTextReadOptions &Options,
                             const TParagraphSink &Sink);

// Paragraph Para (1..ParaCount) of the text to write.
using TParagraphSource = std::function<std::string_view(int Para)>;
using TByteSink = std::function<void(std::string_view Bytes)>;

// Writes paragraphs 1..ParaCount, each followed by CR LF (ffDos) or LF (ffUnix); the last
// paragraph is left out when it is empty, so the text always ends with exactly one line end
// (or is empty).
void WriteText(TFileFormat Format, int ParaCount, const TParagraphSource &Source, const TByteSink &Out);
std::string TextBytes(TFileFormat Format, const std::vector<std::string> &Paras);

struct TTextSaveOptions {
    bool MakeBackup = false;
    std::string BackupExt = "BAK"; // at most 3 characters are used
};

// Writes the text safely (see TSafeFileWriter): on failure the old file is untouched and
// EFileError reaches the caller. With MakeBackup, the old file is kept under BackupFileName.
void SaveTextFile(const std::string &FileName, TFileFormat Format, int ParaCount, const TParagraphSource &Source,
                  const TTextSaveOptions &Options = {});

// A file name as it is stored and opened: one trailing "." removed when it has 2 characters or more.
std::string StripTrailingDot(const std::string &FileName);
