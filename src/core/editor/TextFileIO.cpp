// Text file readers and writers: DOS (CR LF) and Unix (LF) line ends, one paragraph per line.
#include "core/editor/TextFileIO.h"

#include "core/editor/SafeFile.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr std::size_t ReadChunk = 256 * 1024;

bool IsBlank(char C) { return C == ' ' || C == '\t'; }

std::string_view TrimRight(std::string_view S)
{
    std::size_t N = S.size();
    while (N > 0 && IsBlank(S[N - 1]))
        --N;
    return S.substr(0, N);
}

} // namespace

TFileFormat DetectTextFormat(std::string_view Head)
{
    const std::size_t N = std::min(Head.size(), FormatTestSize);
    return N > 0 && std::memchr(Head.data(), '\r', N) ? ffDos : ffUnix;
}

TFileFormat DetectFileFormat(const std::string &FileName)
{
    TFileReader R(FileName);
    char Head[FormatTestSize];
    std::size_t Got = 0;
    while (Got < FormatTestSize) {
        const std::size_t N = R.Read(Head + Got, FormatTestSize - Got);
        if (N == 0)
            break;
        Got += N;
    }
    return DetectTextFormat(std::string_view(Head, Got));
}

TTextLineReader::TTextLineReader(TFileFormat Format, const TTextReadOptions &Options, TParagraphSink Sink)
    : Format(Format == ffDos ? ffDos : ffUnix),
      Limit(static_cast<std::size_t>(std::clamp(Options.ParaLengthLimit, 1, DefaultParaLengthLimit))),
      Trim(Options.TrimWhiteSpace), Sink(std::move(Sink))
{
    Result.Format = this->Format;
}

void TTextLineReader::Emit(std::string_view Para)
{
    Sink(Para);
    ++Result.Paragraphs;
}

void TTextLineReader::EndLine(std::string_view Line)
{
    ++Result.Lines;
    if (Trim)
        Line = TrimRight(Line);
    // A line over the limit is cut after the last blank within the limit, or at the limit.
    while (Line.size() > Limit) {
        std::size_t Cut = Limit;
        for (std::size_t I = Limit; I > 0; --I) {
            if (IsBlank(Line[I - 1])) {
                Cut = I;
                break;
            }
        }
        const std::string_view Part = Line.substr(0, Cut);
        Emit(Trim ? TrimRight(Part) : Part);
        Line.remove_prefix(Cut);
        Result.LinesSplit = true;
    }
    Emit(Line);
}

void TTextLineReader::Feed(std::string_view Chunk)
{
    if (Finished || Ended)
        return;
    bool EndMark = false;
    if (Format == ffDos) {
        if (const void *Z = std::memchr(Chunk.data(), CtrlZ, Chunk.size())) {
            Chunk = Chunk.substr(0, static_cast<std::size_t>(static_cast<const char *>(Z) - Chunk.data()));
            EndMark = true;
        }
        // The LF of a CR LF pair split between two chunks.
        if (AfterCR && !Chunk.empty()) {
            if (Chunk[0] == '\n')
                Chunk.remove_prefix(1);
            AfterCR = false;
        }
    }

    const char Eol = Format == ffDos ? '\r' : '\n';
    const char *P = Chunk.data();
    const char *const End = P + Chunk.size();
    while (P < End) {
        const char *E = static_cast<const char *>(std::memchr(P, Eol, static_cast<std::size_t>(End - P)));
        if (!E) {
            Carry.append(P, End);
            break;
        }
        if (Carry.empty()) {
            EndLine(std::string_view(P, static_cast<std::size_t>(E - P)));
        } else {
            Carry.append(P, E);
            EndLine(Carry);
            Carry.clear();
        }
        P = E + 1;
        if (Format == ffDos) {
            if (P < End) {
                if (*P == '\n')
                    ++P;
            } else {
                AfterCR = true;
            }
        }
    }
    if (EndMark) {
        Ended = true;
        Result.EndMarkSeen = true;
    }
}

TTextReadResult TTextLineReader::Finish()
{
    if (!Finished) {
        Finished = true;
        if (!Carry.empty())
            EndLine(Carry);
        Carry.clear();
        Carry.shrink_to_fit();
    }
    return Result;
}

TTextReadResult ReadText(std::string_view Bytes, TFileFormat Format, const TTextReadOptions &Options,
                         const TParagraphSink &Sink)
{
    if (Format != ffDos && Format != ffUnix)
        Format = DetectTextFormat(Bytes);
    TTextLineReader Reader(Format, Options, Sink);
    Reader.Feed(Bytes);
    return Reader.Finish();
}

std::vector<std::string> ReadTextParagraphs(std::string_view Bytes, TFileFormat Format, const TTextReadOptions &Options,
                                            TTextReadResult *Result)
{
    std::vector<std::string> Paras;
    const TTextReadResult R =
        ReadText(Bytes, Format, Options, [&Paras](std::string_view P) { Paras.emplace_back(P); });
    if (Result)
        *Result = R;
    return Paras;
}

TTextReadResult ReadTextFile(const std::string &FileName, TFileFormat Format, const TTextReadOptions &Options,
                             const TParagraphSink &Sink)
{
    TFileReader File(FileName);
    const auto Buffer = std::make_unique<char[]>(ReadChunk);
    std::size_t Got = 0;
    bool AtEnd = false;
    // The first chunk holds at least the bytes of the format test (unless the file is shorter).
    while (Got < FormatTestSize) {
        const std::size_t N = File.Read(Buffer.get() + Got, ReadChunk - Got);
        if (N == 0) {
            AtEnd = true;
            break;
        }
        Got += N;
    }
    if (Format != ffDos && Format != ffUnix)
        Format = DetectTextFormat(std::string_view(Buffer.get(), Got));

    TTextLineReader Reader(Format, Options, Sink);
    Reader.Feed(std::string_view(Buffer.get(), Got));
    while (!AtEnd) {
        const std::size_t N = File.Read(Buffer.get(), ReadChunk);
        if (N == 0)
            break;
        Reader.Feed(std::string_view(Buffer.get(), N));
    }
    return Reader.Finish();
}

void WriteText(TFileFormat Format, int ParaCount, const TParagraphSource &Source, const TByteSink &Out)
{
    const std::string_view Eol = Format == ffDos ? std::string_view("\r\n") : std::string_view("\n");
    for (int I = 1; I <= ParaCount; ++I) {
        const std::string_view Para = Source(I);
        if (I == ParaCount && Para.empty())
            break;
        Out(Para);
        Out(Eol);
    }
}

std::string TextBytes(TFileFormat Format, const std::vector<std::string> &Paras)
{
    std::size_t Size = 0;
    for (const std::string &P : Paras)
        Size += P.size() + 2;
    std::string Bytes;
    Bytes.reserve(Size);
    WriteText(
        Format, static_cast<int>(Paras.size()),
        [&Paras](int I) { return std::string_view(Paras[static_cast<std::size_t>(I - 1)]); },
        [&Bytes](std::string_view B) { Bytes.append(B); });
    return Bytes;
}

void SaveTextFile(const std::string &FileName, TFileFormat Format, int ParaCount, const TParagraphSource &Source,
                  const TTextSaveOptions &Options)
{
    TSafeFileWriter W(FileName);
    if (Options.MakeBackup)
        W.SetBackupName(BackupFileName(W.TargetPath(), Options.BackupExt));
    WriteText(Format, ParaCount, Source, [&W](std::string_view B) { W.Write(B); });
    W.Commit();
}

std::string StripTrailingDot(const std::string &FileName)
{
    if (FileName.size() >= 2 && FileName.back() == '.')
        return FileName.substr(0, FileName.size() - 1);
    return FileName;
}
