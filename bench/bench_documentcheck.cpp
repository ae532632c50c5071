// Check HTML Document on a 10 MB page in a document window, as the user waits for it: from the
// command to the findings listed (the text's copy, the check, the list filled).
#include "QuietPrompt.h"
#include "platform/Prompt.h"
#include "ui/app/MainWindow.h"
#include "ui/document/DocumentCheckList.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Hand-written HTML of the usual kind, a few faults every hundred sections.
std::string Page(std::size_t Bytes)
{
    std::string text = "<HTML>\r\n<HEAD><TITLE>Big</TITLE></HEAD>\r\n<BODY>\r\n";
    for (int i = 1; text.size() < Bytes; ++i) {
        const std::string n = std::to_string(i);
        text += "<H2>Section " + n + "</H2>\r\n<P>Some text with &eacute; and &copy; and <B>bold</B>, <A HREF=\"page" +
                std::to_string(i % 50) + ".htm\">link " + n + "</A>.\r\n<TABLE BORDER=1>\r\n<TR><TD>cell</TD><TD>" +
                "<IMG SRC=\"img" + std::to_string(i % 20) + ".gif\" ALT=\"x\"></TD></TR>\r\n</TABLE>\r\n";
        if (i % 100 == 0)
            text += "<P>broken &eacutx; <IMG SRC=\"Img1.GIF\"> <B><I>x</B></I>\r\n";
    }
    return text + "</BODY>\r\n</HTML>\r\n";
}

void BM_CheckHTMLDocument10MB(benchmark::State &State)
{
    QTemporaryDir site;
    for (int i = 0; i < 50; ++i)
        QFile(site.filePath(QString("page%1.htm").arg(i))).open(QIODevice::WriteOnly);
    for (int i = 0; i < 20; ++i)
        QFile(site.filePath(QString("img%1.gif").arg(i))).open(QIODevice::WriteOnly);
    {
        QFile page(site.filePath("page.htm"));
        page.open(QIODevice::WriteOnly);
        const std::string text = Page(10 << 20);
        page.write(text.data(), qint64(text.size()));
    }
    TQuietPrompt prompt;
    SetPrompt(&prompt);
    TMainForm form;
    auto *doc = dynamic_cast<TMDIChild *>(form.OpenDocument(site.filePath("page.htm"), false));
    int rows = 0;
    for (auto _ : State) {
        form.CheckHTMLDocument1->trigger();
        form.DocumentCheckList->WaitForCheck();
        QCoreApplication::processEvents();
        rows = form.DocumentCheckList->FindingList->topLevelItemCount();
    }
    if (rows < 200)
        State.SkipWithError("the faults were not found");
    State.counters["findings"] = rows;
    doc->Editor->SetModified(false);
    SetPrompt(nullptr);
    State.SetBytesProcessed(State.iterations() * std::int64_t(doc->Editor->ParaList().ByteCount()));
}
BENCHMARK(BM_CheckHTMLDocument10MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The main window reads and writes its settings: keep them away from the user's.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QDir::setCurrent(home.path());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
