// Editor view costs in a 100,000-line document: one keystroke through to its repaint, a full
// screen paint, and a page move.
#include "ui/editor/EditorWidget.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// A main window with a menu bar of the size the program has, around one editor.
struct TBenchWindow {
    std::unique_ptr<QMainWindow> Window = std::make_unique<QMainWindow>();
    TEdCustomEditor *Ed = nullptr;

    explicit TBenchWindow(int Lines)
    {
        for (int m = 0; m < 10; ++m) {
            QMenu *menu = Window->menuBar()->addMenu(QString("Menu%1").arg(m));
            for (int i = 0; i < 25; ++i) {
                QAction *a = menu->addAction(QString("Item%1").arg(i));
                if (i < 12)
                    a->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key(Qt::Key_A + i)));
            }
        }
        Ed = new TEdCustomEditor(Window.get());
        Window->setCentralWidget(Ed);
        Window->resize(900, 700);
        std::string text;
        text.reserve(static_cast<std::size_t>(Lines) * 60);
        for (int i = 1; i <= Lines; ++i) {
            text += "<p>Line " + std::to_string(i) + " of the document, with\tsome <b>markup</b> in it.";
            if (i < Lines)
                text += "\r\n";
        }
        Ed->InsertString(text);
        Window->show();
        QApplication::setActiveWindow(Window.get());
        Ed->setFocus();
        Ed->SetCaretPosition(Lines / 2, 20);
        QCoreApplication::processEvents();
    }

    void Key(int Key, const QString &Text)
    {
        QKeyEvent over(QEvent::ShortcutOverride, Key, Qt::NoModifier, Text);
        QCoreApplication::sendEvent(Ed, &over);
        QKeyEvent press(QEvent::KeyPress, Key, Qt::NoModifier, Text);
        QCoreApplication::sendEvent(Ed, &press);
        QCoreApplication::processEvents();  // the posted status report and the repaint
    }
};

std::unique_ptr<TBenchWindow> TheDoc;

TBenchWindow &Doc()
{
    if (!TheDoc)
        TheDoc = std::make_unique<TBenchWindow>(100000);
    return *TheDoc;
}

void BM_KeystrokeToRepaint(benchmark::State &State)
{
    TBenchWindow &w = Doc();
    for (auto _ : State) {
        w.Key(Qt::Key_X, "x");
        w.Key(Qt::Key_Backspace, QString());
    }
    State.SetItemsProcessed(State.iterations() * 2);
    State.SetLabel("per item: one keystroke, mid-document of 100,000 lines");
}
BENCHMARK(BM_KeystrokeToRepaint)->Unit(benchmark::kMicrosecond);

void BM_EnterAndBackspace(benchmark::State &State)
{
    TBenchWindow &w = Doc();
    for (auto _ : State) {
        w.Key(Qt::Key_Return, "\r");
        w.Key(Qt::Key_Backspace, QString());
    }
    State.SetItemsProcessed(State.iterations() * 2);
}
BENCHMARK(BM_EnterAndBackspace)->Unit(benchmark::kMicrosecond);

void BM_FullScreenPaint(benchmark::State &State)
{
    TBenchWindow &w = Doc();
    QImage image(w.Ed->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : State)
        w.Ed->viewport()->render(&image);
    State.SetLabel(QString("%1 rows x %2 columns").arg(w.Ed->VisibleRows()).arg(w.Ed->VisibleColumns()).toStdString());
}
BENCHMARK(BM_FullScreenPaint)->Unit(benchmark::kMicrosecond);

void BM_PageDownUp(benchmark::State &State)
{
    TBenchWindow &w = Doc();
    for (auto _ : State) {
        w.Key(Qt::Key_PageDown, QString());
        w.Key(Qt::Key_PageUp, QString());
    }
    State.SetItemsProcessed(State.iterations() * 2);
}
BENCHMARK(BM_PageDownUp)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheDoc.reset();  // before the application goes
    return 0;
}
