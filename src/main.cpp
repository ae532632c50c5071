// Program entry: the application object, the main window and the message loop.
#include "ui/app/AboutSW.h"
#include "ui/app/Main.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pelmar");
    QApplication::setWindowIcon(ProgramIcon());
    // Every argument names a file to open once the window is shown.
    const QStringList files = QApplication::arguments().mid(1);
    TMainForm form(files);
    form.show();
    return app.exec();
}
