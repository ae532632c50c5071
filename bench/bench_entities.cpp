// Converting every character of a document to entities with the questions answered "All": the
// scan alone over lines in memory, and the whole command in a document window's editor (each
// replacement an edit of its own, the status reports that follow included).
#include "core/markup/EntityConvert.h"
#include "QuietPrompt.h"
#include "platform/Prompt.h"
#include "ui/app/CompositionRoot.h"
#include "ui/app/MainWindow.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kLineLength = 64;

// Lines of kLineLength characters, all of them e acute, Bytes in all (line ends not counted).
std::vector<std::string> AccentedLines(std::int64_t Bytes)
{
    std::vector<std::string> lines(std::size_t(Bytes / kLineLength), std::string(kLineLength, '\xE9'));
    return lines;
}

// "Confirm each replacement?" Yes, the first replacement All, every report OK.
class TAnswerAll final : public TMarkupQuestions {
public:
    TAnswer Confirm(const std::string &, TQuestionButtons Buttons) override
    {
        return Buttons == TQuestionButtons::YesNoAll ? TAnswer::All : TAnswer::Yes;
    }
    void Inform(const std::string &) override {}
};

class TAnswerAllPrompt final : public TQuietPrompt {
public:
    TModalResult MessageDlg(const QString &, TMsgDlgType, TMsgDlgButtons Buttons, int, const QString &) override
    {
        if (Buttons & mbAll)
            return mrAll;
        return (Buttons & mbYes) ? mrYes : mrOk;
    }
};

void BM_CharactersToEntities_Lines(benchmark::State &State)
{
    const std::int64_t bytes = State.range(0);
    const std::vector<std::string> lines = AccentedLines(bytes);
    TAnswerAll answers;
    for (auto _ : State) {
        State.PauseTiming();
        TStringLineDocument doc(lines);
        State.ResumeTiming();
        const int count = ConvertCharactersToEntities(doc, answers);
        benchmark::DoNotOptimize(count);
        if (count != bytes / kLineLength * kLineLength)
            State.SkipWithError("not every character was converted");
    }
    State.SetComplexityN(bytes);
    State.SetBytesProcessed(State.iterations() * bytes);
}
BENCHMARK(BM_CharactersToEntities_Lines)
    ->RangeMultiplier(2)->Range(128 << 10, 2 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_CharactersToEntities_DocumentWindow(benchmark::State &State)
{
    const std::int64_t bytes = State.range(0);
    std::string text;
    for (const std::string &line : AccentedLines(bytes))
        text += line + "\r\n";
    TAnswerAllPrompt prompt;
    SetPrompt(&prompt);
    TMainForm form;
    auto *doc = dynamic_cast<TMDIChild *>(form.OpenDocument("Untitled", true));
    for (auto _ : State) {
        State.PauseTiming();
        doc->Editor->ClearText();
        doc->Editor->InsertString(text);
        doc->Editor->SetCaretPosition(1, 1);
        QCoreApplication::processEvents();
        State.ResumeTiming();
        doc->Click("ConvertCharacterstoEntities1");
        // The status reports the edits queued belong to the command's cost.
        QCoreApplication::processEvents();
    }
    if (doc->Editor->ParaList().ByteCount() < bytes * 8)
        State.SkipWithError("not every character was converted");
    doc->Editor->SetModified(false);
    SetPrompt(nullptr);
    State.SetComplexityN(bytes);
    State.SetBytesProcessed(State.iterations() * bytes);
}
BENCHMARK(BM_CharactersToEntities_DocumentWindow)
    ->RangeMultiplier(2)->Range(128 << 10, 1 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)
    ->Iterations(2);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The main window reads and writes its settings: keep them away from the user's.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QDir::setCurrent(home.path());
    QApplication app(argc, argv);
    InstallMainWiring();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
