// Command-line splitting and detached program start.
#include "platform/Process.h"

#include <QProcess>

namespace {

TProgramStarter &Starter()
{
    static TProgramStarter starter;
    return starter;
}

} // namespace

QStringList SplitCommandLine(const QString &CommandLine)
{
    QStringList args;
    QString current;
    bool inQuotes = false, haveArg = false;
    for (qsizetype i = 0; i < CommandLine.size(); ++i) {
        const QChar c = CommandLine.at(i);
        if (c == '"') {
            if (inQuotes && i + 1 < CommandLine.size() && CommandLine.at(i + 1) == '"') {
                current += '"';
                ++i;
            } else {
                inQuotes = !inQuotes;
            }
            haveArg = true;
        } else if (!inQuotes && (c == ' ' || c == '\t')) {
            if (haveArg) {
                args << current;
                current.clear();
                haveArg = false;
            }
        } else {
            current += c;
            haveArg = true;
        }
    }
    if (haveArg)
        args << current;
    return args;
}

bool StartProgram(const QString &CommandLine)
{
    QStringList args = SplitCommandLine(CommandLine);
    if (args.isEmpty() || args.first().isEmpty())
        return false;
    const QString program = args.takeFirst();
    return StartDetached(program, args);
}

bool StartDetached(const QString &Program, const QStringList &Arguments)
{
    if (Starter())
        return Starter()(Program, Arguments);
    return QProcess::startDetached(Program, Arguments);
}

void SetProgramStarter(TProgramStarter Starter_)
{
    Starter() = std::move(Starter_);
}
