// LowerCasedFileName: lower-case file names only where they still name the same file.
#include "platform/FileNameCase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

// The position after the last "/" of Path: where its file name starts.
qsizetype NameStart(const QString &Path)
{
    return Path.lastIndexOf(QLatin1Char('/')) + 1;
}

std::filesystem::path FileSystemPath(const QString &Name)
{
    return std::filesystem::path(QFile::encodeName(Name).toStdString());
}

} // namespace

QString LowerAsciiLetters(QString Text)
{
    for (QChar &c : Text)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return Text;
}

bool MayLowerFileName(const QString &Path)
{
    const qsizetype start = NameStart(Path);
    const QString name = Path.mid(start);
    const QString lowered = Path.left(start) + LowerAsciiLetters(name);
    if (lowered == Path || !QFileInfo::exists(Path))
        return true;
    // Only a file system blind to case finds the same file under the lower-case name.
    std::error_code ec;
    return std::filesystem::equivalent(FileSystemPath(lowered), FileSystemPath(Path), ec);
}

QString LowerCasedFileName(const QString &Path)
{
    if (!MayLowerFileName(Path))
        return Path;
    const qsizetype start = NameStart(Path);
    return Path.left(start) + LowerAsciiLetters(Path.mid(start));
}
