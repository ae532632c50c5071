// The Ctrl/Shift state query.
#include "platform/KeyState.h"

#include <QGuiApplication>

namespace {
std::function<Qt::KeyboardModifiers()> &Query()
{
    static std::function<Qt::KeyboardModifiers()> query;
    return query;
}
}

Qt::KeyboardModifiers QueryKeyState()
{
    if (Query())
        return Query()();
    return QGuiApplication::queryKeyboardModifiers();
}

void SetKeyStateQuery(std::function<Qt::KeyboardModifiers()> query)
{
    Query() = std::move(query);
}
