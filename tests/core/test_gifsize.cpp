// GIF header size reading from bytes and from files, including damaged and foreign data.
#include "core/markup/GifSize.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<unsigned char> Header(const char *Sig, unsigned W, unsigned H)
{
    std::vector<unsigned char> b(Sig, Sig + 6);
    b.push_back(W & 0xFF);
    b.push_back(W >> 8);
    b.push_back(H & 0xFF);
    b.push_back(H >> 8);
    b.insert(b.end(), {0xF7, 0x00, 0x00});
    return b;
}

fs::path TempDir()
{
    fs::path d = fs::temp_directory_path() / ("gifsize_" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
}

void WriteFile(const fs::path &P, const std::vector<unsigned char> &Bytes)
{
    std::ofstream(P, std::ios::binary).write(reinterpret_cast<const char *>(Bytes.data()), Bytes.size());
}

} // namespace

TEST(GifSize, BothVersionsLittleEndian)
{
    auto a = Header("GIF87a", 120, 40);
    EXPECT_EQ(GifSizeFromBytes(a.data(), a.size()), (TGifSize{120, 40}));
    auto b = Header("GIF89a", 0x1234, 0xFEDC);
    EXPECT_EQ(GifSizeFromBytes(b.data(), b.size()), (TGifSize{0x1234, 0xFEDC}));
    // The version is not checked, only the signature.
    auto c = Header("GIF00z", 65535, 1);
    EXPECT_EQ(GifSizeFromBytes(c.data(), c.size()), (TGifSize{65535, 1}));
}

TEST(GifSize, TruncatedAndForeignHeaders)
{
    auto h = Header("GIF89a", 300, 200);
    // Each missing value reads as 0; the buffer is never read past its size (checked by ASan
    // builds, and by the copies below that end exactly at the cut).
    for (size_t n = 0; n <= 10; ++n) {
        std::vector<unsigned char> cut(h.begin(), h.begin() + n);
        TGifSize s = GifSizeFromBytes(cut.data(), cut.size());
        EXPECT_EQ(s.Width, n >= 8 ? 300 : 0) << n;
        EXPECT_EQ(s.Height, n >= 10 ? 200 : 0) << n;
    }
    EXPECT_EQ(GifSizeFromBytes(nullptr, 0), TGifSize{});
    auto png = Header("\x89PNG\r\n", 300, 200);
    EXPECT_EQ(GifSizeFromBytes(png.data(), png.size()), TGifSize{});
    auto lower = Header("gif89a", 300, 200);
    EXPECT_EQ(GifSizeFromBytes(lower.data(), lower.size()), TGifSize{});

    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        std::vector<unsigned char> junk(rng() % 16);
        for (auto &c : junk)
            c = static_cast<unsigned char>(rng());
        if (junk.size() >= 3 && i % 2 == 0)
            junk[0] = 'G', junk[1] = 'I', junk[2] = 'F';
        TGifSize s = GifSizeFromBytes(junk.data(), junk.size());
        if (junk.size() < 8 || junk[0] != 'G' || junk[1] != 'I' || junk[2] != 'F')
            EXPECT_EQ(s.Width, 0);
        else
            EXPECT_EQ(s.Width, junk[6] | junk[7] << 8);
    }
}

TEST(GifSize, Files)
{
    fs::path d = TempDir();
    WriteFile(d / "a.gif", Header("GIF87a", 120, 40));
    EXPECT_EQ(ReadGifSize((d / "a.gif").string()), (TGifSize{120, 40}));
    auto h = Header("GIF89a", 640, 480);
    h.resize(9);
    WriteFile(d / "short.gif", h);
    EXPECT_EQ(ReadGifSize((d / "short.gif").string()), (TGifSize{640, 0}));
    WriteFile(d / "empty.gif", {});
    EXPECT_EQ(ReadGifSize((d / "empty.gif").string()), TGifSize{});
    EXPECT_EQ(ReadGifSize((d / "missing.gif").string()), TGifSize{});
    fs::create_directories(d / "dir.gif");
    EXPECT_EQ(ReadGifSize((d / "dir.gif").string()), TGifSize{});
    EXPECT_EQ(ReadGifSize(""), TGifSize{});
    fs::remove_all(d);
}
