// Fuzz target for the GIF size reader: any bytes, from memory and from a file, give the size the
// header rule describes and never more than the data holds.
#include "core/markup/GifSize.h"

#include "FuzzInput.h"

#include <cstdint>
#include <string>

namespace {

// The header rule, written out once more: "GIF" first, then width at bytes 6-7 and height at
// bytes 8-9, little-endian, 0 when a value's bytes are missing.
TGifSize ExpectedSize(const uint8_t *Data, size_t Size)
{
    TGifSize S;
    if (Size < 3 || std::string(reinterpret_cast<const char *>(Data), 3) != "GIF")
        return S;
    if (Size >= 8)
        S.Width = static_cast<uint16_t>(Data[6] + 256u * Data[7]);
    if (Size >= 10)
        S.Height = static_cast<uint16_t>(Data[8] + 256u * Data[9]);
    return S;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    static TFuzzScratch Scratch("gifsize");
    const TGifSize Expected = ExpectedSize(Data, Size);
    FUZZ_CHECK(GifSizeFromBytes(Data, Size) == Expected);

    // Every shorter prefix too: a value must never come from bytes past the end.
    for (size_t N = 0; N < Size && N < 12; ++N)
        FUZZ_CHECK(GifSizeFromBytes(Data, N) == ExpectedSize(Data, N));

    const std::string File = Scratch.Path("picture.gif");
    TFuzzScratch::Put(File, std::string_view(reinterpret_cast<const char *>(Data), Size));
    FUZZ_CHECK(ReadGifSize(File) == Expected);
    // A directory of that name and a missing file read as 0 by 0.
    FUZZ_CHECK(ReadGifSize(Scratch.Path("")) == TGifSize{});
    FUZZ_CHECK(ReadGifSize(Scratch.Path("missing.gif")) == TGifSize{});
    return 0;
}
