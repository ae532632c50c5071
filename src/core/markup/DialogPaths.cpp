// Name and path helpers shared by the markup dialogs.
#include "core/markup/DialogPaths.h"

std::string DialogFileExt(const std::string &Name)
{
    const auto dot = Name.find_last_of('.');
    if (dot == std::string::npos)
        return {};
    const auto sep = Name.find_last_of(":\\/");
    if (sep != std::string::npos && sep > dot)
        return {};
    return Name.substr(dot);
}

std::string DialogFileName(const std::string &Path)
{
    const char *seps = (!Path.empty() && Path[0] == '/') ? ":\\/" : ":\\";
    const auto sep = Path.find_last_of(seps);
    return sep == std::string::npos ? Path : Path.substr(sep + 1);
}

std::string LowerAscii(std::string Text)
{
    for (char &c : Text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return Text;
}

std::string LowerFileNamePart(std::string Path)
{
    const auto sep = Path.find_last_of(":\\/");
    const std::size_t start = sep == std::string::npos ? 0 : sep + 1;
    return Path.substr(0, start) + LowerAscii(Path.substr(start));
}

std::string LocalPathToURLPath(std::string Path)
{
    for (char &c : Path) {
        if (c == ':')
            c = '|';
        else if (c == '\\')
            c = '/';
    }
    return Path;
}

std::string LocalFileURL(const std::string &Path, int Slashes)
{
    std::string url = LocalPathToURLPath(Path);
    std::string prefix = "file:" + std::string(static_cast<size_t>(Slashes), '/');
    // An absolute path of this system brings its own leading slash.
    if (!Path.empty() && Path[0] == '/' && Slashes >= 3)
        prefix.pop_back();
    return prefix + url;
}
