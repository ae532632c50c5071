// The stand-in for reading a default value under HKEY_CLASSES_ROOT. Only the open commands of
// class keys ("<class>\shell\open\command") have a value here: the desktop's default handler
// for text/html, its file placeholder written as %1, else "xdg-open %1".
#pragma once

#include <QString>

#include <functional>

// The default value of a key under the classes root, or "" when the key does not exist.
QString ReadClassesRootDefault(const QString &Key);

// The open command of a desktop entry file: its Exec line with %u, %U, %f or %F as %1 and the
// other field codes removed ("%%" stays one "%"); "" when the file has no Exec line.
QString DesktopEntryOpenCommand(const QString &DesktopFile);

// The open command for the desktop's default text/html handler (a desktop file name such as
// "firefox-esr.desktop", or ""): its Exec command; for this program's own entry the system's
// x-www-browser where there is one; else "xdg-open %1".
QString HtmlOpenCommandForHandler(const QString &DesktopId);

// Replaces the reader (tests); an empty function restores the real one.
void SetClassesRootReader(std::function<QString(const QString &Key)> Reader);
