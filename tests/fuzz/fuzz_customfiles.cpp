// Fuzz target for the readers of the dialogs' stored files: CUSTOM.HTB, history lists and GIF
// headers. Any bytes must be accepted, limits must hold, and what is read must write back stably.
#include "core/custom/CustomButtons.h"
#include "core/custom/HistoryList.h"
#include "core/markup/GifSize.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const std::string_view Bytes(reinterpret_cast<const char *>(Data), Size);

    const std::vector<TCustButton> Buttons = ParseCustomButtons(Bytes);
    std::size_t Texts = 0;
    for (const auto &B : Buttons) {
        if (B.Caption.size() > CustomCaptionMax)
            std::abort();
        Texts += B.OpeningTag.size() + B.ClosingTag.size() + B.Caption.size();
    }
    if (Buttons.size() > static_cast<std::size_t>(CustomButtonsMaxLoad) || Texts > Size)
        std::abort();
    const std::string Written = FormatCustomButtons(Buttons);
    if (FormatCustomButtons(ParseCustomButtons(Written)) != Written)
        std::abort();

    const std::vector<std::string> Entries = ParseHistoryText(Bytes);
    if (ParseHistoryText(FormatHistoryText(Entries)) != Entries)
        std::abort();

    const TGifSize Gif = GifSizeFromBytes(Data, Size);
    if ((Size < 8 && Gif.Width != 0) || (Size < 10 && Gif.Height != 0))
        std::abort();
    return 0;
}
