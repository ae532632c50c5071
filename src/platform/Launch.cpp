// Starting a program for a file without a shell.
#include "platform/Launch.h"

#include "core/markup/PreviewFile.h"
#include "platform/Process.h"


bool LaunchDetached(const QStringList &Arguments)
{
    if (Arguments.isEmpty() || Arguments.first().isEmpty())
        return false;
    return StartDetached(Arguments.first(), Arguments.mid(1));
}

QStringList LaunchArguments(const QString &Template, const QString &File)
{
    std::vector<std::string> args;
    for (const QString &arg : SplitCommandLine(Template))
        args.push_back(arg.toStdString());
    QStringList result;
    for (const std::string &arg : PreviewArguments(std::move(args), File.toStdString()))
        result << QString::fromStdString(arg);
    return result;
}

bool LaunchWithFile(const QString &Template, const QString &File)
{
    // The preview file is a document, never the program to run.
    const QStringList templateArgs = SplitCommandLine(Template);
    if (templateArgs.isEmpty() || templateArgs.first().contains("%1"))
        return false;
    return LaunchDetached(LaunchArguments(Template, File));
}

bool LaunchAppending(const QString &CommandLine, const QString &File)
{
    QStringList args = SplitCommandLine(CommandLine);
    if (args.isEmpty())
        return false;
    args << File;
    return LaunchDetached(args);
}
