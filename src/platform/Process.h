// Starting programs (the stand-in for WinExec): a command line is split into the program and
// its arguments by quoting rules and started detached, never through a shell.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Splits a command line at blanks outside double quotes. Quotes group and are removed; two
// double quotes inside a quoted part stand for one. Backslashes are ordinary characters.
QStringList SplitCommandLine(const QString &CommandLine);

// Starts the program of a command line detached, with its arguments. False when the line is
// empty or the program cannot be started.
bool StartProgram(const QString &CommandLine);

// Starts Program detached with Arguments as they are, through the starter below: every program
// this system starts (browsers, viewers) goes through here. False when it cannot be started.
bool StartDetached(const QString &Program, const QStringList &Arguments);

// Replaces the starter (tests record what would have been started); an empty one restores the
// real start. The starter gets the program and its arguments and says whether it started.
using TProgramStarter = std::function<bool(const QString &Program, const QStringList &Arguments)>;
void SetProgramStarter(TProgramStarter Starter);
