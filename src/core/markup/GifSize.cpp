// Reads the logical screen width and height stored in a GIF file's header.
#include "core/markup/GifSize.h"

#include <cstdio>
#include <memory>

#include <sys/stat.h>

TGifSize GifSizeFromBytes(const unsigned char *Data, size_t Size)
{
    TGifSize size;
    // A file that merely carries a ".gif" name must not put a made-up size into the fields.
    if (Size < 3 || Data[0] != 'G' || Data[1] != 'I' || Data[2] != 'F')
        return size;
    if (Size >= 8)
        size.Width = static_cast<uint16_t>(Data[6] | (Data[7] << 8));
    if (Size >= 10)
        size.Height = static_cast<uint16_t>(Data[8] | (Data[9] << 8));
    return size;
}

TGifSize ReadGifSize(const std::string &FileName)
{
    // Opening a pipe or a device named like a picture would wait for a writer for ever.
    struct stat st {};
    if (::stat(FileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    std::unique_ptr<FILE, int (*)(FILE *)> f(std::fopen(FileName.c_str(), "rb"), &std::fclose);
    if (!f)
        return {};
    unsigned char header[10];
    const size_t got = std::fread(header, 1, sizeof header, f.get());
    return GifSizeFromBytes(header, got);
}
