// Helpers shared by the fuzz targets: reading choices from the input bytes, checks that abort
// with a message, and a scratch directory for targets that go through files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

// Reads the input from the front: small numbers and choices, then texts. Past the end every
// read gives zeros, so any input decodes into something.
class TFuzzInput {
public:
    TFuzzInput(const uint8_t *Data, std::size_t Size) : P(Data), Left(Size) {}

    bool Empty() const { return Left == 0; }
    std::size_t Remaining() const { return Left; }

    uint8_t Byte()
    {
        if (Left == 0)
            return 0;
        --Left;
        return *P++;
    }
    // A number in Lo..Hi (Hi - Lo below 65536).
    int Int(int Lo, int Hi)
    {
        const unsigned Span = static_cast<unsigned>(Hi - Lo) + 1;
        unsigned V = Byte();
        if (Span > 256)
            V = V << 8 | Byte();
        return Lo + static_cast<int>(V % Span);
    }
    bool Bool() { return (Byte() & 1) != 0; }
    // A text of 0..Max bytes, its length taken from the input first.
    std::string Text(std::size_t Max)
    {
        std::size_t N = Max < 256 ? Byte() % (Max + 1) : static_cast<std::size_t>(Int(0, static_cast<int>(Max)));
        if (N > Left)
            N = Left;
        std::string S(reinterpret_cast<const char *>(P), N);
        P += N;
        Left -= N;
        return S;
    }
    // A text of 0..Max bytes drawn from Alphabet, which makes interesting collisions likelier.
    std::string TextOf(std::string_view Alphabet, std::size_t Max)
    {
        const std::size_t N = Byte() % (Max + 1);
        std::string S;
        for (std::size_t I = 0; I < N && Left > 0; ++I)
            S += Alphabet[Byte() % Alphabet.size()];
        return S;
    }
    std::string_view Rest()
    {
        std::string_view S(reinterpret_cast<const char *>(P), Left);
        P += Left;
        Left = 0;
        return S;
    }

private:
    const uint8_t *P;
    std::size_t Left;
};

[[noreturn]] inline void FuzzFailure(const char *File, int Line, const char *What, const std::string &Detail)
{
    std::fprintf(stderr, "%s:%d: check failed: %s %s\n", File, Line, What, Detail.c_str());
    std::abort();
}

#define FUZZ_CHECK(Cond) \
    do { \
        if (!(Cond)) \
            FuzzFailure(__FILE__, __LINE__, #Cond, std::string()); \
    } while (0)
#define FUZZ_CHECK_MSG(Cond, Detail) \
    do { \
        if (!(Cond)) \
            FuzzFailure(__FILE__, __LINE__, #Cond, (Detail)); \
    } while (0)

// A private directory for the run, removed when the program ends normally.
class TFuzzScratch {
public:
    explicit TFuzzScratch(const std::string &Name)
    {
        std::error_code Ec;
        std::filesystem::path Base = "/dev/shm";
        if (!std::filesystem::is_directory(Base, Ec) || ::access(Base.c_str(), W_OK) != 0)
            Base = std::filesystem::temp_directory_path(Ec);
        Dir = (Base / ("pelmar-" + Name + "-" + std::to_string(::getpid()))).string();
        std::filesystem::create_directories(Dir, Ec);
    }
    ~TFuzzScratch()
    {
        std::error_code Ec;
        std::filesystem::remove_all(Dir, Ec);
    }
    TFuzzScratch(const TFuzzScratch &) = delete;
    TFuzzScratch &operator=(const TFuzzScratch &) = delete;

    std::string Path(const std::string &Name) const { return Dir + "/" + Name; }
    static void Put(const std::string &File, std::string_view Bytes)
    {
        std::ofstream Out(File, std::ios::binary | std::ios::trunc);
        Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    }
    static std::string Get(const std::string &File)
    {
        std::ifstream In(File, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    }

private:
    std::string Dir;
};
