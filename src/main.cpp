// Program entry: the application object, the main window and the message loop.
#include "ui/app/AboutBox.h"
#include "ui/app/CompositionRoot.h"
#include "ui/app/HelpViewer.h"
#include "ui/app/MainWindow.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

// --version and --help answer on standard output without opening a window (and without a display).
bool AnswerOption(int argc, char **argv, int &ExitCode)
{
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("Pelmar32 %s\n", ProgramVersion);
        ExitCode = 0;
        return true;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        QCoreApplication app(argc, argv);
        std::printf("Usage: pelmar32 [FILE]...\n"
                    "Edit hand-written HTML source. Every FILE is opened in its own document window.\n\n"
                    "  --version  print the version and exit\n"
                    "  --help     print this text and exit\n\n"
                    "Help topics: %s\n",
                    HelpDirectory().toLocal8Bit().constData());
        ExitCode = 0;
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    int exitCode = 0;
    if (AnswerOption(argc, argv, exitCode))
        return exitCode;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pelmar");
    QApplication::setApplicationVersion(ProgramVersion);
    // Ties the windows to the installed desktop entry (its name and icon in task bars).
    QGuiApplication::setDesktopFileName("pelmar32");
    QApplication::setWindowIcon(ProgramIcon());
    // Every argument names a file to open once the window is shown.
    const QStringList files = QApplication::arguments().mid(1);
    InstallMainWiring();
    TMainForm form(files);
    form.show();
    return app.exec();
}
