// The main window.
#include "ui/app/Main.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QMenu>

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName("MainForm");
    MDIClient = new QMdiArea(this);
    setCentralWidget(MDIClient);
    setWindowTitle("Pelmar32");
    QMenu *file = menuBar()->addMenu("&File");
    file->addAction("E&xit", this, &QWidget::close);
}
