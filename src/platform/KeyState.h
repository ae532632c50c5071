// The state of Ctrl and Shift at this moment, behind an injectable function.
#pragma once

#include <Qt>
#include <functional>

Qt::KeyboardModifiers QueryKeyState();
// Replaces the query (tests); an empty function restores the real one.
void SetKeyStateQuery(std::function<Qt::KeyboardModifiers()> query);
