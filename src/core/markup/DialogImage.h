// The image dialog's composition of the IMG tag from its fields.
#pragma once

#include <string>

// The fields of the image dialog, as typed.
struct TImageFields {
    std::string Src;
    bool IncludeLocalPath = false;
    // Whether the source's file name may be written in lower case: the dialog says no where the
    // lower-case name would no longer name the file.
    bool LowerName = true;
    std::string Alt, Align, Width, Height, Border, VSpace, HSpace;
};

// The entries of the Align drop-down.
inline constexpr const char *ImageAlignments[] = {"left",   "right",    "top",    "texttop",  "middle",
                                                  "absmiddle", "baseline", "bottom", "absbottom"};

// When Src has the extension ".gif" (any case) and names a readable GIF with a positive width and
// height, puts that size into Width and Height. Returns true when either field changed.
bool ApplyImageGifSize(TImageFields &Fields);

// The IMG tag from the fields as they are (no file is read).
std::string ComposeImageTag(const TImageFields &Fields);

// One run of the dialog's tag composition: ApplyImageGifSize, then ComposeImageTag.
std::string UpdateImageTag(TImageFields &Fields);
