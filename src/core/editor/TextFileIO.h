// TTextLineReader: text file readers and writers: DOS (CR LF) and Unix (LF) line ends, one paragraph
// per line, each line written back with the line end it was read with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/editor/Encoding.h"
#include "core/editor/LineEnds.h"

#include <optional>

constexpr std::size_t FormatTestSize = 512;
constexpr char CtrlZ = 26;

// The format test on the first 512 bytes: the first LF decides (after a CR: DOS, alone: Unix);
// without a LF among them, a CR means DOS and no line end at all Unix (also when empty).
TFileFormat DetectTextFormat(std::string_view Head);
// The format test on a file's first 512 bytes; throws EFileError when it cannot be read.
TFileFormat DetectFileFormat(const std::string &FileName);

struct TTextReadOptions {
    bool TrimWhiteSpace = true; // drop trailing spaces and tabs of every line
    // The encoding to read the file in; none: decided from its bytes (DetectEncoding), a file of
    // pure ASCII without a declaration taking NewDocuments.
    std::optional<TTextEncoding> Encoding;
    TTextEncoding NewDocuments = TTextEncoding::Windows1252;
};

struct TTextReadResult {
    TFileFormat Format = ffNone;
    std::size_t Lines = 0;       // lines of the file
    bool EndMark = false;        // the file's last byte was a Ctrl+Z: the end mark, not text
    bool NoFinalLineEnd = false; // the file's last line has no line end
    // ReadTextFile: the encoding the text was read in (a byte-order mark is not sent as text: the
    // encoding Utf8Bom says it was there) and the offset of the file's first byte that is not
    // valid UTF-8 (npos: every byte is).
    TTextEncoding Encoding = TTextEncoding::Windows1252;
    std::size_t FirstInvalidUtf8 = std::string_view::npos;
};

// Receives each line in file order with the line end it had (None for a last line without one);
// the view is valid only during the call. The text store's final empty paragraph is not
// sent: a text of n lines gives n calls.
using TParagraphSink = std::function<void(std::string_view Para, TLineEnd End)>;

// Splits a stream of bytes given in chunks of any size into lines, never cutting one.
// DOS: CR LF, a lone CR and a lone LF each end a line. Unix: LF ends a line, a CR is a character.
// A Ctrl+Z that is the file's last byte is its end mark; anywhere else it is a character, as
// every other byte (NUL included) is.
class TTextLineReader {
public:
    TTextLineReader(TFileFormat Format, const TTextReadOptions &Options, TParagraphSink Sink);

    void Feed(std::string_view Chunk);
    // Sends the last line when it has no line end; call once after the last chunk.
    TTextReadResult Finish();

private:
    void Process(std::string_view Data);
    void EndLine(std::string_view Line, TLineEnd End);

    TFileFormat Format;
    bool Trim;
    TParagraphSink Sink;
    std::string Carry;       // start of a line that spans chunks
    bool PendingCR = false;  // Carry ended at a CR that may be followed by a LF (DOS)
    bool PendingZ = false;   // the last byte fed was a Ctrl+Z, held back until more bytes come
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
// (Result.Format tells which), deciding its encoding on the way (Result.Encoding); throws
// EFileError on failure, after some paragraphs may have been sent.
TTextReadResult ReadTextFile(const std::string &FileName, TFileFormat Format, const TTextReadOptions &Options,
                             const TParagraphSink &Sink);

// A paragraph to write and the line end it was read with.
struct TParaOut {
    std::string_view Text;
    TLineEnd End = TLineEnd::Default;
    TParaOut(std::string_view T, TLineEnd E = TLineEnd::Default) : Text(T), End(E) {}
};
// Paragraph Para (1..ParaCount) of the text to write.
using TParagraphSource = std::function<TParaOut(int Para)>;
using TByteSink = std::function<void(std::string_view Bytes)>;

struct TTextWriteOptions {
    bool KeepLineEnds = true; // each line ends as it was read; false: every line as Format says
    bool EndMark = false;     // a Ctrl+Z follows the text
    bool ByteOrderMark = false; // the UTF-8 byte-order mark comes first
};

// Writes paragraphs 1..ParaCount, each followed by its line end (Default ones, or all when
// KeepLineEnds is false, by CR LF for ffDos and LF otherwise). A line read without a line end
// (None) gets none while only the empty last paragraph follows it, else the format's. The last
// paragraph has no line end of its own: an empty one is left out, a non-empty one gets one. So a
// text ends with exactly one line end, or with none when the file it came from had none.
void WriteText(TFileFormat Format, int ParaCount, const TParagraphSource &Source, const TByteSink &Out,
               const TTextWriteOptions &Options = {});
std::string TextBytes(TFileFormat Format, const std::vector<std::string> &Paras);

struct TTextSaveOptions {
    bool MakeBackup = false;
    std::string BackupExt = "BAK"; // at most 3 characters are used
    TTextWriteOptions Write;
};

// Writes the text safely (see TSafeFileWriter): on failure the old file is untouched and
// EFileError reaches the caller. With MakeBackup, the old file is kept under BackupFileName.
void SaveTextFile(const std::string &FileName, TFileFormat Format, int ParaCount, const TParagraphSource &Source,
                  const TTextSaveOptions &Options = {});

// A file name as it is stored and opened: one trailing "." removed when it has 2 characters or more.
std::string StripTrailingDot(const std::string &FileName);
