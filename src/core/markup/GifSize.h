// Reads the logical screen width and height stored in a GIF file's header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct TGifSize {
    uint16_t Width = 0;
    uint16_t Height = 0;
    bool operator==(const TGifSize &) const = default;
};

// The size from the first bytes of a file: bytes 6-7 width and 8-9 height, little-endian.
// A value whose bytes are missing is 0; data that does not start with "GIF" gives 0 by 0.
// Never reads past Size bytes.
TGifSize GifSizeFromBytes(const unsigned char *Data, size_t Size);

// The size of the named file (read as named, relative to the current directory); 0 by 0 when
// the file does not exist or cannot be read. Reads at most the first 10 bytes.
TGifSize ReadGifSize(const std::string &FileName);
