// Checking a 10 MB document: the whole check (markup checker in its own process and the editor's
// own checks, merged), and the two parts alone. The page is hand-written HTML of the usual kind
// with a few faults every hundred sections; its pictures and links point into a directory where
// most of them exist.
#include "core/markup/DocumentCheck.h"
#include "core/markup/TidyCheck.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string Page(std::size_t Bytes)
{
    std::string text = "<HTML>\n<HEAD><TITLE>Big</TITLE></HEAD>\n<BODY>\n";
    for (int i = 1; text.size() < Bytes; ++i) {
        const std::string n = std::to_string(i);
        text += "<H2>Section " + n + "</H2>\n<P>Some text with &eacute; and &copy; and <B>bold</B>, <A HREF=\"page" +
                std::to_string(i % 50) + ".htm\">link " + n + "</A>.\n<TABLE BORDER=1>\n<TR><TD>cell</TD><TD><IMG SRC=\"img" +
                std::to_string(i % 20) + ".gif\" ALT=\"x\"></TD></TR>\n</TABLE>\n";
        if (i % 100 == 0)
            text += "<P>broken &eacutx; <IMG SRC=\"Img1.GIF\"> <B><I>x</B></I>\n";
    }
    return text + "</BODY>\n</HTML>\n";
}

struct TSite {
    std::filesystem::path Dir = std::filesystem::temp_directory_path() / ("pelmar-bench-" + std::to_string(getpid()));
    std::string Text = Page(10 << 20);
    TSite()
    {
        std::filesystem::create_directories(Dir);
        for (int i = 0; i < 50; ++i)
            std::ofstream(Dir / ("page" + std::to_string(i) + ".htm")) << "x";
        for (int i = 0; i < 20; ++i)
            std::ofstream(Dir / ("img" + std::to_string(i) + ".gif")) << "x";
    }
    ~TSite() { std::filesystem::remove_all(Dir); }
};

TSite &Site()
{
    static TSite site;
    return site;
}

void BM_CheckDocument10MB(benchmark::State &State)
{
    std::size_t findings = 0;
    for (auto _ : State) {
        TDiskFileLookup disk;
        const TCheckReport report = CheckDocument({Site().Text, TCheckEncoding::Windows1252, Site().Dir.string()}, disk);
        findings = report.Findings.size();
        benchmark::DoNotOptimize(findings);
    }
    State.counters["findings"] = double(findings);
    State.SetBytesProcessed(std::int64_t(State.iterations()) * std::int64_t(Site().Text.size()));
}
BENCHMARK(BM_CheckDocument10MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MarkupChecker10MB(benchmark::State &State)
{
    for (auto _ : State)
        benchmark::DoNotOptimize(TidyMarkupReport(Site().Text, TCheckEncoding::Windows1252).Findings.size());
    State.SetBytesProcessed(std::int64_t(State.iterations()) * std::int64_t(Site().Text.size()));
}
BENCHMARK(BM_MarkupChecker10MB)->Unit(benchmark::kMillisecond);

void BM_OwnChecks10MB(benchmark::State &State)
{
    for (auto _ : State) {
        TDiskFileLookup disk;
        TDocumentChecker checker(disk, Site().Dir.string(), TCheckEncoding::Windows1252);
        benchmark::DoNotOptimize(checker.Check(Site().Text).size());
    }
    State.SetBytesProcessed(std::int64_t(State.iterations()) * std::int64_t(Site().Text.size()));
}
BENCHMARK(BM_OwnChecks10MB)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
