// TTextLineReader: the text file readers and writers.
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
    Head = Head.substr(0, std::min(Head.size(), FormatTestSize));
    const std::size_t Lf = Head.find('\n');
    if (Lf != std::string_view::npos)
        return Lf > 0 && Head[Lf - 1] == '\r' ? ffDos : ffUnix;
    return Head.find('\r') != std::string_view::npos ? ffDos : ffUnix;
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
    : Format(Format == ffDos ? ffDos : ffUnix), Trim(Options.TrimWhiteSpace), Sink(std::move(Sink))
{
    Result.Format = this->Format;
}

void TTextLineReader::EndLine(std::string_view Line, TLineEnd End)
{
    ++Result.Lines;
    if (Trim)
        Line = TrimRight(Line);
    Sink(Line, End);
}

void TTextLineReader::Feed(std::string_view Chunk)
{
    if (Finished || Chunk.empty())
        return;
    // A Ctrl+Z is the end mark only as the very last byte: hold it back until more bytes come.
    if (PendingZ) {
        PendingZ = false;
        const char Z = CtrlZ;
        Process(std::string_view(&Z, 1));
    }
    if (Chunk.back() == CtrlZ) {
        Chunk.remove_suffix(1);
        PendingZ = true;
    }
    Process(Chunk);
}

void TTextLineReader::Process(std::string_view Data)
{
    const char *P = Data.data();
    const char *const End = P + Data.size();
    if (PendingCR && P < End) {
        PendingCR = false;
        const bool Pair = *P == '\n';
        EndLine(Carry, Pair ? TLineEnd::CrLf : TLineEnd::Cr);
        Carry.clear();
        if (Pair)
            ++P;
    }
    // DOS: the next LF is kept across lines (a text of lone CRs is not searched again for each).
    const char *Lf = End;
    bool LfKnown = false;
    while (P < End) {
        const char *E;
        if (Format == ffDos) {
            if (!LfKnown || Lf < P) {
                Lf = static_cast<const char *>(std::memchr(P, '\n', static_cast<std::size_t>(End - P)));
                if (!Lf)
                    Lf = End;
                LfKnown = true;
            }
            E = static_cast<const char *>(std::memchr(P, '\r', static_cast<std::size_t>(Lf - P)));
            if (!E)
                E = Lf;
        } else {
            E = static_cast<const char *>(std::memchr(P, '\n', static_cast<std::size_t>(End - P)));
            if (!E)
                E = End;
        }
        if (E == End) {
            Carry.append(P, End);
            break;
        }
        std::string_view Line(P, static_cast<std::size_t>(E - P));
        if (!Carry.empty()) {
            Carry.append(P, E);
            Line = Carry;
        }
        if (*E == '\r' && E + 1 == End) {
            // Whether a LF follows shows only with the next bytes.
            if (Carry.empty())
                Carry.assign(Line);
            PendingCR = true;
            break;
        }
        TLineEnd Kind = TLineEnd::Lf;
        P = E + 1;
        if (*E == '\r') {
            Kind = *P == '\n' ? TLineEnd::CrLf : TLineEnd::Cr;
            if (Kind == TLineEnd::CrLf)
                ++P;
        }
        EndLine(Line, Kind);
        Carry.clear();
    }
}

TTextReadResult TTextLineReader::Finish()
{
    if (!Finished) {
        Finished = true;
        if (PendingCR) {
            EndLine(Carry, TLineEnd::Cr);
        } else if (!Carry.empty()) {
            EndLine(Carry, TLineEnd::None);
            Result.NoFinalLineEnd = true;
        }
        Result.EndMark = PendingZ;
        PendingCR = PendingZ = false;
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
        ReadText(Bytes, Format, Options, [&Paras](std::string_view P, TLineEnd) { Paras.emplace_back(P); });
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

    // A byte-order mark is not text, unless the file is read as Windows-1252 on purpose.
    TEncodingSniffer Sniffer;
    const std::string_view First(Buffer.get(), Got);
    Sniffer.Feed(First);
    const bool SkipBom = First.substr(0, kUtf8Bom.size()) == kUtf8Bom &&
                         Options.Encoding.value_or(TTextEncoding::Utf8Bom) != TTextEncoding::Windows1252;

    TTextLineReader Reader(Format, Options, Sink);
    Reader.Feed(SkipBom ? First.substr(kUtf8Bom.size()) : First);
    while (!AtEnd) {
        const std::size_t N = File.Read(Buffer.get(), ReadChunk);
        if (N == 0)
            break;
        Sniffer.Feed(std::string_view(Buffer.get(), N));
        Reader.Feed(std::string_view(Buffer.get(), N));
    }
    TTextReadResult Result = Reader.Finish();
    const TTextEncoding Found = Sniffer.Finish(Options.NewDocuments);
    Result.FirstInvalidUtf8 = Sniffer.FirstInvalid();
    if (SkipBom)
        Result.Encoding = TTextEncoding::Utf8Bom;
    else if (Options.Encoding)
        Result.Encoding = *Options.Encoding == TTextEncoding::Utf8Bom ? TTextEncoding::Utf8 : *Options.Encoding;
    else
        Result.Encoding = Found;
    return Result;
}

void WriteText(TFileFormat Format, int ParaCount, const TParagraphSource &Source, const TByteSink &Out,
               const TTextWriteOptions &Options)
{
    const auto EndOf = [&](TLineEnd End) {
        return LineEndBytes(Options.KeepLineEnds ? End : TLineEnd::Default, Format);
    };
    if (Options.ByteOrderMark)
        Out(kUtf8Bom);
    const bool LastEmpty = ParaCount >= 1 && Source(ParaCount).Text.empty();
    for (int I = 1; I <= ParaCount; ++I) {
        const TParaOut Para = Source(I);
        if (I == ParaCount) {
            // The paragraph after the last line break.
            if (!Para.Text.empty()) {
                Out(Para.Text);
                Out(EndOf(TLineEnd::Default));
            }
            break;
        }
        Out(Para.Text);
        // A line read without a line end keeps none while nothing follows it.
        if (Para.End != TLineEnd::None)
            Out(EndOf(Para.End));
        else if (!(LastEmpty && I == ParaCount - 1))
            Out(LineEndBytes(TLineEnd::Default, Format));
    }
    if (Options.EndMark)
        Out(std::string_view("\x1a", 1));
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
    WriteText(Format, ParaCount, Source, [&W](std::string_view B) { W.Write(B); }, Options.Write);
    W.Commit();
}

std::string StripTrailingDot(const std::string &FileName)
{
    if (FileName.size() >= 2 && FileName.back() == '.')
        return FileName.substr(0, FileName.size() - 1);
    return FileName;
}
