// Reading and writing generated HTML text of 1, 10 and 50 MB: file and in-memory readers, writers
// and the safe save, against a plain memory copy as the yardstick.
#include "core/editor/TextFileIO.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// HTML-like lines of 20 to 120 characters with tags, entities, blanks and a few tabs.
const std::string &Html(int MegaBytes, bool Dos)
{
    static std::map<std::pair<int, bool>, std::string> Cache;
    std::string &Text = Cache[{MegaBytes, Dos}];
    if (!Text.empty())
        return Text;
    const std::size_t Size = static_cast<std::size_t>(MegaBytes) << 20;
    static const char *Words[] = {"<P>", "Lorem", "ipsum", "<B>dolor</B>", "sit", "amet", "&amp;", "consectetur",
                                  "<A HREF=\"index.htm\">adipiscing</A>", "elit", "\t", "sed", "do", "&lt;eiusmod&gt;"};
    unsigned Seed = 12345;
    Text.reserve(Size + 200);
    while (Text.size() < Size) {
        Seed = Seed * 1103515245u + 12345u;
        const std::size_t Len = 20 + (Seed >> 16) % 100;
        const std::size_t Start = Text.size();
        while (Text.size() - Start < Len) {
            Seed = Seed * 1103515245u + 12345u;
            Text += Words[(Seed >> 16) % (sizeof(Words) / sizeof(Words[0]))];
            Text += ' ';
        }
        Text.back() = '.';
        Text += Dos ? "\r\n" : "\n";
    }
    return Text;
}

std::string FileFor(int MegaBytes, bool Dos)
{
    const std::string Name = "/tmp/pelmar-bench-" + std::to_string(::getpid()) + "-" + std::to_string(MegaBytes) +
                             (Dos ? "-dos.htm" : "-unix.htm");
    static std::map<std::string, bool> Written;
    if (!Written[Name]) {
        std::ofstream(Name, std::ios::binary) << Html(MegaBytes, Dos);
        Written[Name] = true;
    }
    return Name;
}

std::vector<std::string> ParagraphsOf(int MegaBytes)
{
    std::vector<std::string> P = ReadTextParagraphs(Html(MegaBytes, true), ffDos);
    P.emplace_back();
    return P;
}

void Memcpy(benchmark::State &State)
{
    const std::string &Text = Html(static_cast<int>(State.range(0)), true);
    std::string Copy(Text.size(), '\0');
    for (auto _ : State) {
        std::memcpy(Copy.data(), Text.data(), Text.size());
        benchmark::DoNotOptimize(Copy.data());
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Text.size()));
}

// Parsing only: the whole text in memory, each paragraph handed to a sink that keeps a count.
void ReadBuffer(benchmark::State &State, bool Dos)
{
    const std::string &Text = Html(static_cast<int>(State.range(0)), Dos);
    std::size_t Paras = 0;
    for (auto _ : State) {
        std::size_t Bytes = 0;
        const TTextReadResult R = ReadText(Text, Dos ? ffDos : ffUnix, {},
                                           [&Bytes](std::string_view P, TLineEnd) { Bytes += P.size(); });
        benchmark::DoNotOptimize(Bytes);
        Paras = R.Lines;
    }
    State.counters["paragraphs"] = static_cast<double>(Paras);
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Text.size()));
}

// From the file (in the page cache after the first round), format detected, into a sink that
// copies each paragraph as a text store appending it would.
void ReadFile(benchmark::State &State, bool Dos)
{
    const int Mb = static_cast<int>(State.range(0));
    const std::string Name = FileFor(Mb, Dos);
    std::string Store;
    Store.reserve(Html(Mb, Dos).size());
    for (auto _ : State) {
        Store.clear();
        const TTextReadResult R =
            ReadTextFile(Name, ffNone, {}, [&Store](std::string_view P, TLineEnd) { Store.append(P); });
        benchmark::DoNotOptimize(Store.data());
        if (R.Format != (Dos ? ffDos : ffUnix))
            State.SkipWithError("wrong format detected");
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Html(Mb, Dos).size()));
}

void WriteBuffer(benchmark::State &State)
{
    const std::vector<std::string> P = ParagraphsOf(static_cast<int>(State.range(0)));
    std::size_t Size = 0;
    for (auto _ : State) {
        const std::string Bytes = TextBytes(ffDos, P);
        Size = Bytes.size();
        benchmark::DoNotOptimize(Bytes.data());
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Size));
}

// The whole safe save: temporary file, write, fsync, rename.
void SaveFile(benchmark::State &State)
{
    const int Mb = static_cast<int>(State.range(0));
    const std::vector<std::string> P = ParagraphsOf(Mb);
    const std::string Name = "/tmp/pelmar-bench-" + std::to_string(::getpid()) + "-save.htm";
    for (auto _ : State)
        SaveTextFile(Name, ffDos, static_cast<int>(P.size()),
                     [&P](int I) { return std::string_view(P[static_cast<std::size_t>(I - 1)]); });
    std::remove(Name.c_str());
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Html(Mb, true).size()));
}

void ReadBufferDos(benchmark::State &S) { ReadBuffer(S, true); }
void ReadBufferUnix(benchmark::State &S) { ReadBuffer(S, false); }
void ReadFileDos(benchmark::State &S) { ReadFile(S, true); }
void ReadFileUnix(benchmark::State &S) { ReadFile(S, false); }

struct Cleanup {
    ~Cleanup()
    {
        for (int Mb : {1, 10, 50})
            for (bool Dos : {true, false}) {
                const std::string Name = "/tmp/pelmar-bench-" + std::to_string(::getpid()) + "-" +
                                         std::to_string(Mb) + (Dos ? "-dos.htm" : "-unix.htm");
                std::remove(Name.c_str());
            }
    }
} TheCleanup;

} // namespace

BENCHMARK(Memcpy)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadBufferDos)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadBufferUnix)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadFileDos)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadFileUnix)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteBuffer)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveFile)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
