// The markup editor with generated HTML files of 1, 10 and 50 MB: loading and saving through the
// widget, a plain read of the file as the yardstick, and a coloured 1200 x 900 paint at the top
// and in the middle of the 10 MB text.
#include "ui/editor/MarkupEditor.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// HTML lines of 20 to 120 characters: tags, entities, words, a few tabs.
std::string Html(int MegaBytes, bool Dos)
{
    const std::size_t Size = static_cast<std::size_t>(MegaBytes) << 20;
    static const char *Words[] = {"<P>", "Lorem", "ipsum", "<B>dolor</B>", "sit", "amet", "&amp;", "consectetur",
                                  "<A HREF=\"index.htm\">adipiscing</A>", "elit", "\t", "sed", "do", "&lt;eiusmod&gt;"};
    unsigned Seed = 4711;
    std::string Text;
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

// The generated files, removed at exit.
class TBenchFiles {
public:
    ~TBenchFiles()
    {
        for (const auto &[Key, Name] : Names)
            std::remove(Name.c_str());
        std::remove(SaveName().c_str());
    }
    const std::string &File(int MegaBytes, bool Dos)
    {
        std::string &Name = Names[{MegaBytes, Dos}];
        if (Name.empty()) {
            Name = "/tmp/pelmar-bench-edit-" + std::to_string(::getpid()) + "-" + std::to_string(MegaBytes) +
                   (Dos ? "-dos.htm" : "-unix.htm");
            std::ofstream(Name, std::ios::binary) << Html(MegaBytes, Dos);
        }
        return Name;
    }
    static std::string SaveName() { return "/tmp/pelmar-bench-edit-" + std::to_string(::getpid()) + "-saved.htm"; }

private:
    std::map<std::pair<int, bool>, std::string> Names;
};
TBenchFiles Files;

long long FileSize(const std::string &Name)
{
    std::ifstream In(Name, std::ios::binary | std::ios::ate);
    return static_cast<long long>(In.tellg());
}

std::unique_ptr<TMarkupEditor> NewEditor()
{
    auto Ed = std::make_unique<TMarkupEditor>();
    Ed->resize(1200, 900);
    Ed->SetSyntaxColors(QColor(0, 0, 0), QColor(128, 0, 0), QColor(0, 0, 128));
    Ed->SetHideSelection(false);
    Ed->show();
    QApplication::processEvents();
    return Ed;
}

void BM_ReadFileOnly(benchmark::State &State)
{
    const std::string &Name = Files.File(static_cast<int>(State.range(0)), true);
    std::vector<char> Buffer(256 * 1024);
    for (auto _ : State) {
        const int Fd = ::open(Name.c_str(), O_RDONLY);
        ssize_t N;
        while ((N = ::read(Fd, Buffer.data(), Buffer.size())) > 0)
            benchmark::DoNotOptimize(Buffer.data());
        ::close(Fd);
    }
    State.SetBytesProcessed(State.iterations() * FileSize(Name));
}
BENCHMARK(BM_ReadFileOnly)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_LoadDos(benchmark::State &State)
{
    const std::string &Name = Files.File(static_cast<int>(State.range(0)), true);
    auto Ed = NewEditor();
    for (auto _ : State)
        Ed->LoadFromFile(QString::fromStdString(Name));
    State.SetBytesProcessed(State.iterations() * FileSize(Name));
    State.SetLabel(std::to_string(Ed->ParaCount()) + " paragraphs");
}
BENCHMARK(BM_LoadDos)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_LoadUnix(benchmark::State &State)
{
    const std::string &Name = Files.File(static_cast<int>(State.range(0)), false);
    auto Ed = NewEditor();
    for (auto _ : State)
        Ed->LoadFromFile(QString::fromStdString(Name));
    State.SetBytesProcessed(State.iterations() * FileSize(Name));
}
BENCHMARK(BM_LoadUnix)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State &State)
{
    const std::string &Name = Files.File(static_cast<int>(State.range(0)), true);
    auto Ed = NewEditor();
    Ed->LoadFromFile(QString::fromStdString(Name));
    const QString Out = QString::fromStdString(TBenchFiles::SaveName());
    for (auto _ : State)
        Ed->SaveToFile(Out);
    State.SetBytesProcessed(State.iterations() * FileSize(Name));
}
BENCHMARK(BM_Save)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// A full paint of the 1200 x 900 view with colouring on; range(0): 0 top, 1 middle of the text.
std::unique_ptr<TMarkupEditor> PaintEditor;

void BM_PaintView(benchmark::State &State)
{
    std::unique_ptr<TMarkupEditor> &Ed = PaintEditor;
    if (!Ed) {
        Ed = NewEditor();
        Ed->LoadFromFile(QString::fromStdString(Files.File(10, true)));
    }
    Ed->SetTopLine(State.range(0) ? Ed->LineCount() / 2 : 1);
    // A selection across the view, so the three segments are drawn too.
    const int Top = Ed->TopLine();
    Ed->SetSelection(Top + 5, 10, Top + 20, 30, true);
    Ed->SetTopLine(State.range(0) ? Ed->LineCount() / 2 : 1);
    QImage Image(Ed->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : State) {
        Ed->viewport()->render(&Image);
        benchmark::DoNotOptimize(Image.constBits());
    }
    State.SetLabel(QString("top line %1, %2 x %3 cells")
                       .arg(Ed->TopLine())
                       .arg(Ed->VisibleColumns())
                       .arg(Ed->VisibleRows())
                       .toStdString());
}
BENCHMARK(BM_PaintView)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PaintEditor.reset(); // before the application goes
    return 0;
}
