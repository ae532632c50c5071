// Text store speed: loading a large HTML text, walking its display lines, typing and undoing.
#include "core/editor/ParaList.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A hand-written-looking HTML text of about Bytes bytes, lines ended by CR LF.
const std::string &HtmlText(std::size_t Bytes)
{
    static std::vector<std::pair<std::size_t, std::string>> Made;
    for (const auto &[Size, Text] : Made)
        if (Size == Bytes)
            return Text;
    static const char *const Words[] = {"the", "editor", "<B>", "</B>", "<A HREF=\"index.html\">", "</A>",
                                        "&amp;", "paragraph", "<P>", "text", "hand-written", "HTML", "<TD>",
                                        "</TD>", "source", "-", "<IMG SRC=\"logo.gif\" WIDTH=32 HEIGHT=32>",
                                        "of", "a", "and", "Pelmar"};
    std::mt19937 R(42);
    std::string T;
    T.reserve(Bytes + 256);
    while (T.size() < Bytes) {
        const int Indent = static_cast<int>(R() % 5);
        T.append(static_cast<std::size_t>(Indent), '\t');
        const std::size_t Target = T.size() + R() % 110;
        while (T.size() < Target) {
            T += Words[R() % (sizeof Words / sizeof *Words)];
            T += ' ';
        }
        if (R() % 4 != 0)
            T.pop_back(); // most lines have no trailing blank
        T += "\r\n";
    }
    Made.emplace_back(Bytes, std::move(T));
    return Made.back().second;
}

std::vector<std::string_view> SplitLines(std::string_view T)
{
    std::vector<std::string_view> L;
    std::size_t I = 0;
    while (I < T.size()) {
        std::size_t J = T.find("\r\n", I);
        if (J == std::string_view::npos)
            J = T.size();
        L.push_back(T.substr(I, J - I));
        I = J + 2;
    }
    return L;
}

void LoadInto(TParaList &L, const std::vector<std::string_view> &Lines)
{
    for (const auto &S : Lines)
        L.AppendParagraph(S);
}

// Appending every line of an HTML text of 12.5, 25 and 50 MB: the load path must be linear.
void BM_AppendParagraphs(benchmark::State &State)
{
    const std::size_t Bytes = static_cast<std::size_t>(State.range(0)) * 1024 * 1024 / 2;
    const auto Lines = SplitLines(HtmlText(Bytes));
    for (auto _ : State) {
        TParaList L;
        L.SetWordWrap(State.range(1) != 0);
        LoadInto(L, Lines);
        benchmark::DoNotOptimize(L.LineCount());
    }
    State.SetComplexityN(static_cast<benchmark::IterationCount>(Lines.size()));
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) * static_cast<std::int64_t>(Bytes));
    State.counters["paragraphs"] = static_cast<double>(Lines.size());
}
BENCHMARK(BM_AppendParagraphs)
    ->ArgsProduct({{25, 50, 100}, {0}})
    ->ArgNames({"halfMB", "wrap"})
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendParagraphs)->Args({100, 1})->ArgNames({"halfMB", "wrap"})->Unit(benchmark::kMillisecond);

// Reading every display line of the 50 MB text in order, as painting and saving do.
void BM_WalkDisplayLines(benchmark::State &State)
{
    static TParaList Lists[2];
    const int Wrap = static_cast<int>(State.range(0));
    TParaList &L = Lists[Wrap];
    if (L.LineCount() == 1) {
        L.SetWrapColumn(60);
        L.SetWordWrap(Wrap != 0);
        LoadInto(L, SplitLines(HtmlText(50u * 1024 * 1024)));
    }
    for (auto _ : State) {
        std::size_t Sum = 0;
        const int N = L.LineCount();
        for (int I = 1; I <= N; ++I)
            Sum += L.GetLine(I).size();
        benchmark::DoNotOptimize(Sum);
    }
    State.SetItemsProcessed(static_cast<std::int64_t>(State.iterations()) * L.LineCount());
    State.counters["lines"] = L.LineCount();
}
BENCHMARK(BM_WalkDisplayLines)->Arg(0)->Arg(1)->ArgName("wrap")->Unit(benchmark::kMillisecond);

// Jumps to random display lines of the 50 MB text (go to line, scroll-bar drags).
void BM_RandomLineLookup(benchmark::State &State)
{
    static TParaList L;
    if (L.LineCount() == 1) {
        L.SetWrapColumn(60);
        L.SetWordWrap(true);
        LoadInto(L, SplitLines(HtmlText(50u * 1024 * 1024)));
    }
    std::mt19937 R(7);
    for (auto _ : State) {
        const int Line = static_cast<int>(R() % static_cast<unsigned>(L.LineCount())) + 1;
        benchmark::DoNotOptimize(L.GetLine(Line));
        benchmark::DoNotOptimize(L.ParaToLine(L.LineToPara(Line)));
    }
}
BENCHMARK(BM_RandomLineLookup);

// Pasting 1,000 lines into the middle of the 50 MB text (800,000 paragraphs), then undoing it.
void BM_PasteThousandLinesInMiddle(benchmark::State &State)
{
    TParaList L(nullptr, 65535);
    LoadInto(L, SplitLines(HtmlText(50u * 1024 * 1024)));
    std::string Paste;
    for (int I = 0; I < 1000; ++I)
        Paste += "<LI>pasted line of a list\r\n";
    for (auto _ : State) {
        L.InsertText(L.ParaCount() / 2, 3, Paste);
        State.PauseTiming();
        while (L.Undo()) {
        }
        State.ResumeTiming();
    }
}
BENCHMARK(BM_PasteThousandLinesInMiddle)->Unit(benchmark::kMicrosecond);

// A 100,000-paragraph text for the typing benchmarks.
void LoadHundredThousand(TParaList &L)
{
    const auto Lines = SplitLines(HtmlText(8u * 1024 * 1024));
    for (std::size_t I = 0; I < 100000 && I < Lines.size(); ++I)
        L.AppendParagraph(Lines[I]);
}

// Typing 1,000 characters into the middle, an Enter after every 72, with the lookups the view
// makes for each keystroke (caret line, the changed line's text); then undoing all of it.
void TypeThousand(TParaList &L)
{
    static const std::string Typed = "Typing <B>bold</B> words into a hand-written page - and more of it. ";
    int P = L.ParaCount() / 2;
    int O = L.ParaLength(P) + 1;
    for (int I = 0; I < 1000; ++I) {
        if (I % 72 == 71) {
            L.SplitPara(P, O);
            ++P;
            O = 1;
        } else {
            L.InsertChars(P, O, std::string_view(&Typed[I % Typed.size()], 1));
            ++O;
        }
        const TLinePos Caret = L.ParaToLine({P, O});
        benchmark::DoNotOptimize(L.GetLine(L.ChangedFirstLine()));
        benchmark::DoNotOptimize(Caret);
    }
}

void BM_TypeThousandInMiddle(benchmark::State &State)
{
    TParaList L(nullptr, 65535);
    L.SetWordWrap(State.range(0) != 0);
    LoadHundredThousand(L);
    for (auto _ : State) {
        TypeThousand(L);
        State.PauseTiming();
        while (L.Undo()) {
        }
        State.ResumeTiming();
    }
    State.SetItemsProcessed(static_cast<std::int64_t>(State.iterations()) * 1000);
}
BENCHMARK(BM_TypeThousandInMiddle)->Arg(0)->Arg(1)->ArgName("wrap")->Unit(benchmark::kMicrosecond);

void BM_UndoThousandTyped(benchmark::State &State)
{
    TParaList L(nullptr, 65535);
    L.SetWordWrap(State.range(0) != 0);
    LoadHundredThousand(L);
    int Steps = 0;
    for (auto _ : State) {
        State.PauseTiming();
        TypeThousand(L);
        State.ResumeTiming();
        Steps = 0;
        while (L.Undo())
            ++Steps;
    }
    State.counters["undo_steps"] = Steps;
}
BENCHMARK(BM_UndoThousandTyped)->Arg(0)->Arg(1)->ArgName("wrap")->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
