// The main window: MDI frame, menus, speed bars and status bar.
#pragma once

#include <QMainWindow>

class QMdiArea;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    QMdiArea *ClientArea() const { return MDIClient; }

private:
    QMdiArea *MDIClient = nullptr;
};
