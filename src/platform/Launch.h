// Starting a program for a file: a command template split into arguments by the command-line
// quoting rules, the file put into exactly one argument, the program started detached and
// never through a shell.
#pragma once

#include <QString>
#include <QStringList>

// Starts Arguments[0] detached with the other arguments as they are, through the program starter
// that tests replace to record (SetProgramStarter). False when the list or the program name is
// empty or the program cannot be started.
bool LaunchDetached(const QStringList &Arguments);

// The arguments of Template (split by SplitCommandLine) with File put in by the "%1" rule: the
// first "%1" becomes File, and without one File is appended as an argument of its own.
QStringList LaunchArguments(const QString &Template, const QString &File);

// Starts LaunchArguments(Template, File). A template without a program, or whose program is
// "%1", starts nothing: the file is never run as the program. False when nothing was started.
bool LaunchWithFile(const QString &Template, const QString &File);

// Starts the program of CommandLine (split by SplitCommandLine) with File appended as its last
// argument. False when the line names no program or it cannot be started.
bool LaunchAppending(const QString &CommandLine, const QString &File);
