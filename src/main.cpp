// Program entry: the application object, the main window and the message loop.
#include "ui/app/Main.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pelmar");
    TMainForm form;
    form.show();
    return app.exec();
}
