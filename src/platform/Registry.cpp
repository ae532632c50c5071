// The classes-root open commands, answered from the desktop's default HTML handler.
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

std::function<QString(const QString &)> &Reader()
{
    static std::function<QString(const QString &)> reader;
    return reader;
}

// The arguments of an Exec value: blanks separate, double quotes group with \" \` \$ \\ escapes.
QStringList ExecArguments(const QString &Exec)
{
    QStringList args;
    QString current;
    bool inQuotes = false, haveArg = false;
    for (qsizetype i = 0; i < Exec.size(); ++i) {
        const QChar c = Exec.at(i);
        if (inQuotes) {
            if (c == '\\' && i + 1 < Exec.size() && QString("\"`$\\").contains(Exec.at(i + 1))) {
                current += Exec.at(++i);
            } else if (c == '"') {
                inQuotes = false;
            } else {
                current += c;
            }
        } else if (c == '"') {
            inQuotes = true;
            haveArg = true;
        } else if (c == ' ' || c == '\t') {
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

// One argument with its field codes resolved: the file codes become %1, the others go.
QString ResolveFieldCodes(const QString &Arg, bool &HasFile)
{
    QString out;
    for (qsizetype i = 0; i < Arg.size(); ++i) {
        if (Arg.at(i) != '%' || i + 1 >= Arg.size()) {
            out += Arg.at(i);
            continue;
        }
        const QChar code = Arg.at(++i);
        if (code == '%') {
            out += '%';
        } else if (QString("fFuU").contains(code) && !HasFile) {
            out += "%1";
            HasFile = true;
        }
    }
    return out;
}

QString QuoteArgument(const QString &Arg)
{
    if (!Arg.isEmpty() && !Arg.contains(' ') && !Arg.contains('\t') && !Arg.contains('"'))
        return Arg;
    QString quoted = Arg;
    quoted.replace("\"", "\"\"");
    return "\"" + quoted + "\"";
}

QString FindDesktopFile(const QString &Id)
{
    QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString &dir : dirs) {
        const QString path = QDir(dir).filePath(Id);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

QString DefaultHtmlOpenCommand()
{
    QProcess query;
    query.start("xdg-mime", {"query", "default", "text/html"});
    if (query.waitForStarted(3000) && query.waitForFinished(3000))
        return HtmlOpenCommandForHandler(
            QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed().split('\n').value(0).trimmed());
    query.kill();
    query.waitForFinished(1000);
    return HtmlOpenCommandForHandler(QString());
}

} // namespace

QString HtmlOpenCommandForHandler(const QString &DesktopId)
{
    // The editor's own entry lists text/html so that file managers offer it; it shows no page.
    if (!DesktopId.isEmpty() && DesktopId != "pelmar32.desktop") {
        const QString command = DesktopEntryOpenCommand(FindDesktopFile(DesktopId));
        if (!command.isEmpty())
            return command;
    }
    if (DesktopId == "pelmar32.desktop" && !QStandardPaths::findExecutable("x-www-browser").isEmpty())
        return "x-www-browser %1";
    return "xdg-open %1";
}

QString DesktopEntryOpenCommand(const QString &DesktopFile)
{
    QFile f(DesktopFile);
    if (DesktopFile.isEmpty() || !f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&f);
    bool inEntry = false;
    QString exec;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (inEntry && line.startsWith("Exec")) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 0 && line.left(eq).trimmed() == "Exec") {
                exec = line.mid(eq + 1).trimmed();
                break;
            }
        }
    }
    if (exec.isEmpty())
        return QString();
    // The string escapes of desktop files come first, then the Exec quoting.
    QString unescaped;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        if (exec.at(i) == '\\' && i + 1 < exec.size()) {
            const QChar n = exec.at(i + 1);
            if (n == 's') { unescaped += ' '; ++i; continue; }
            if (n == 't') { unescaped += '\t'; ++i; continue; }
            if (n == 'n' || n == 'r') { unescaped += ' '; ++i; continue; }
            if (n == '\\') { unescaped += "\\\\"; ++i; continue; }
        }
        unescaped += exec.at(i);
    }
    bool hasFile = false;
    QStringList parts;
    for (const QString &arg : ExecArguments(unescaped)) {
        const QString resolved = ResolveFieldCodes(arg, hasFile);
        if (!resolved.isEmpty())
            parts << (resolved == "%1" ? QString("\"%1\"") : QuoteArgument(resolved));
    }
    return parts.join(' ');
}

QString ReadClassesRootDefault(const QString &Key)
{
    if (Reader())
        return Reader()(Key);
    QString key = Key;
    key.replace('/', '\\');
    if (!key.endsWith("\\shell\\open\\command", Qt::CaseInsensitive) || key.startsWith('\\'))
        return QString();
    return DefaultHtmlOpenCommand();
}

void SetClassesRootReader(std::function<QString(const QString &Key)> Reader_)
{
    Reader() = std::move(Reader_);
}
