// Recovery copies of a 50 MB document: how long the recovery timer holds up typing (taking the
// text), how long a keystroke waits while the copy is written, and the whole copy to disk.
#include "QuietPrompt.h"
#include "platform/Prompt.h"
#include "ui/app/MainWindow.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

using TClock = std::chrono::steady_clock;

std::string Page(std::size_t Bytes)
{
    std::string text;
    for (int i = 1; text.size() < Bytes; ++i)
        text += "<P>Paragraph " + std::to_string(i) + " with <B>bold</B> text and &eacute; entities.\r\n";
    return text;
}

struct TBigDocument {
    QTemporaryDir Dir;
    TQuietPrompt Prompt;
    std::unique_ptr<TMainForm> Form;
    TMDIChild *Doc = nullptr;

    TBigDocument()
    {
        QFile page(Dir.filePath("big.htm"));
        page.open(QIODevice::WriteOnly);
        const std::string text = Page(50 << 20);
        page.write(text.data(), qint64(text.size()));
        page.close();
        SetPrompt(&Prompt);
        Form = std::make_unique<TMainForm>();
        Doc = dynamic_cast<TMDIChild *>(Form->OpenDocument(Dir.filePath("big.htm"), false));
    }
    ~TBigDocument()
    {
        Doc->FinishRecoveryCopy();
        Doc->Editor->SetModified(false);
        Form.reset();
        SetPrompt(nullptr);
    }
};

// A timer tick starts a copy; a keystroke comes at once, while the copy is being written.
void BM_KeystrokeDuringRecoveryCopy50MB(benchmark::State &State)
{
    TBigDocument big;
    double tickMs = 0, keyMs = 0, keyMax = 0;
    for (auto _ : State) {
        big.Doc->Editor->InsertString("x");
        const auto t0 = TClock::now();
        big.Doc->RecoveryTimerTick();
        const auto t1 = TClock::now();
        big.Doc->Editor->InsertString("y");
        const auto t2 = TClock::now();
        big.Doc->FinishRecoveryCopy();
        const double key = std::chrono::duration<double, std::milli>(t2 - t1).count();
        tickMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        keyMs += key;
        keyMax = std::max(keyMax, key);
    }
    State.counters["tick_ms"] = tickMs / double(State.iterations());
    State.counters["key_ms"] = keyMs / double(State.iterations());
    State.counters["key_max_ms"] = keyMax;
}
BENCHMARK(BM_KeystrokeDuringRecoveryCopy50MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The whole copy, written and synced, as at a session's end.
void BM_RecoveryCopyWritten50MB(benchmark::State &State)
{
    TBigDocument big;
    for (auto _ : State) {
        big.Doc->Editor->InsertString("x");
        if (!big.Doc->WriteRecoveryCopy())
            State.SkipWithError("the copy failed");
    }
    State.SetBytesProcessed(State.iterations() * std::int64_t(big.Doc->Editor->ParaList().ByteCount()));
}
BENCHMARK(BM_RecoveryCopyWritten50MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and untitled copies stay away from the user's.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_STATE_HOME", home.path().toUtf8());
    QDir::setCurrent(home.path());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
