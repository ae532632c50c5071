// Fuzz target for the text file readers and writer: any bytes, fed whole and in pieces, must give
// the same lines with the same line ends, and without trimming both readers, written back with
// the line ends and the file's end they found, give every byte back.
#include "core/editor/TextFileIO.h"
#include "../shared/ReadOptions.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using TLines = std::vector<std::pair<std::string, TLineEnd>>;

TLines Read(std::string_view Bytes, TFileFormat Format, const TTextReadOptions &Options, unsigned Step,
            TTextReadResult &Result)
{
    TLines P;
    TTextLineReader Reader(Format, Options, [&P](std::string_view S, TLineEnd E) { P.emplace_back(S, E); });
    for (std::size_t Pos = 0; Pos < Bytes.size(); Pos += Step)
        Reader.Feed(Bytes.substr(Pos, Step));
    Result = Reader.Finish();
    return P;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1)
        return 0;
    const unsigned Control = Data[0];
    const std::string_view Bytes(reinterpret_cast<const char *>(Data + 1), Size - 1);
    TTextReadOptions Options;
    Options.TrimWhiteSpace = (Control & 16) != 0;
    const unsigned Step = 1 + (Control >> 5);

    for (TFileFormat Format : {ffDos, ffUnix}) {
        TTextReadResult RW, RC;
        const TLines Whole = Read(Bytes, Format, Options, static_cast<unsigned>(Bytes.size() + 1), RW);
        if (Read(Bytes, Format, Options, Step, RC) != Whole || RW.EndMark != RC.EndMark ||
            RW.NoFinalLineEnd != RC.NoFinalLineEnd || RW.Lines != Whole.size())
            std::abort();

        TTextReadResult R;
        TLines Raw = Read(Bytes, Format, Untrimmed(), Step, R);
        Raw.emplace_back(std::string(), TLineEnd::Default); // the text store's final paragraph
        std::string Back;
        WriteText(
            Format, static_cast<int>(Raw.size()),
            [&Raw](int I) {
                const auto &L = Raw[static_cast<std::size_t>(I - 1)];
                return TParaOut(L.first, L.second);
            },
            [&Back](std::string_view B) { Back.append(B); }, {true, R.EndMark});
        if (Back != Bytes)
            std::abort();
    }
    return 0;
}
