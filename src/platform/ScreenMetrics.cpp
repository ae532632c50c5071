// System metrics from the primary screen.
#include "platform/ScreenMetrics.h"

#include <QGuiApplication>
#include <QScreen>

TSystemMetrics PrimaryScreenMetrics()
{
    TSystemMetrics m;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->geometry();
        if (g.width() > 0 && g.height() > 0) {
            m.CXScreen = g.width();
            m.CYScreen = g.height();
        }
    }
    return m;
}
