// Fuzz target for the text file readers: any bytes, fed whole and in pieces, must give the same
// paragraphs, none longer than the limit, and the Unix reader without trimming loses no byte.
#include "core/editor/TextFileIO.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Chunked(std::string_view Bytes, TFileFormat Format, const TTextReadOptions &Options,
                                 unsigned Step)
{
    std::vector<std::string> P;
    TTextLineReader Reader(Format, Options, [&P](std::string_view S) { P.emplace_back(S); });
    for (std::size_t Pos = 0; Pos < Bytes.size(); Pos += Step)
        Reader.Feed(Bytes.substr(Pos, Step));
    Reader.Finish();
    return P;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1)
        return 0;
    const unsigned Control = Data[0];
    const std::string_view Bytes(reinterpret_cast<const char *>(Data + 1), Size - 1);
    const TTextReadOptions Options{1 + static_cast<int>(Control % 16), (Control & 16) != 0};
    const unsigned Step = 1 + (Control >> 5);

    for (TFileFormat Format : {ffDos, ffUnix}) {
        const std::vector<std::string> Whole = ReadTextParagraphs(Bytes, Format, Options);
        if (Chunked(Bytes, Format, Options, Step) != Whole)
            std::abort();
        for (const std::string &P : Whole)
            if (P.size() > static_cast<std::size_t>(Options.ParaLengthLimit))
                std::abort();
    }
    std::string Joined;
    for (const std::string &P : ReadTextParagraphs(Bytes, ffUnix, {DefaultParaLengthLimit, false}))
        Joined += P + "\n";
    if (!Bytes.empty() && Bytes.back() != '\n')
        Joined.pop_back();
    if (Joined != Bytes)
        std::abort();
    return 0;
}
