// The INI reader and writer: parses the file into lines, looks sections and keys up without
// regard to case, and rewrites the whole file through a temporary file and a rename.
#include "core/settings/Profile.h"

#include "core/editor/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxValueLength = 1023;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string Trim(const std::string &s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool SameText(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// One line of the file, classified once.
struct TLine {
    enum Kind { Other, Section, Key } kind = Other;
    std::string raw;    // the line as stored, without its line end
    std::string name;   // section name or key, trimmed
    std::string value;  // key value, trimmed
};

TLine Classify(std::string raw)
{
    TLine line;
    line.raw = std::move(raw);
    std::string t = Trim(line.raw);
    // A byte order mark left by some editors must not hide the first section.
    if (t.size() >= 3 && t.compare(0, 3, "\xEF\xBB\xBF") == 0)
        t = Trim(t.substr(3));
    if (t.empty() || t[0] == ';')
        return line;
    if (t[0] == '[') {
        const std::size_t close = t.find(']');
        line.kind = TLine::Section;
        line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return line;
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos)
        return line;
    line.name = Trim(t.substr(0, eq));
    if (line.name.empty())
        return line;
    line.kind = TLine::Key;
    line.value = Trim(t.substr(eq + 1));
    return line;
}

// The parsed file. Missing or unreadable files read as empty.
struct TIniText {
    std::vector<TLine> lines;
    std::string eol = "\n";
    bool existed = false;
};

TIniText Load(const std::string &path)
{
    TIniText ini;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return ini;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ini;
    ini.existed = true;
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t firstLf = data.find('\n');
    if (firstLf != std::string::npos && firstLf > 0 && data[firstLf - 1] == '\r')
        ini.eol = "\r\n";
    std::size_t pos = 0;
    while (pos < data.size()) {
        std::size_t lf = data.find('\n', pos);
        std::size_t end = lf == std::string::npos ? data.size() : lf;
        std::size_t cut = end;
        if (cut > pos && data[cut - 1] == '\r')
            --cut;
        ini.lines.push_back(Classify(data.substr(pos, cut - pos)));
        pos = lf == std::string::npos ? data.size() : lf + 1;
    }
    return ini;
}

// Calls f(index) for every line that belongs to a section of that name, in file order.
template <class F>
void ForEachInSection(const TIniText &ini, const std::string &section, F f)
{
    bool inside = false;
    for (std::size_t i = 0; i < ini.lines.size(); ++i) {
        const TLine &l = ini.lines[i];
        if (l.kind == TLine::Section) {
            inside = SameText(l.name, section);
            continue;
        }
        if (inside)
            f(i);
    }
}

const TLine *FindKey(const TIniText &ini, const std::string &section, const std::string &key)
{
    const TLine *found = nullptr;
    ForEachInSection(ini, section, [&](std::size_t i) {
        const TLine &l = ini.lines[i];
        if (!found && l.kind == TLine::Key && SameText(l.name, key))
            found = &l;
    });
    return found;
}

// Parses the integer forms a profile accepts; false for anything else (including overflow).
bool ParseInteger(const std::string &text, int &out)
{
    const std::string t = Trim(text);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        unsigned long long v = 0;
        for (std::size_t i = 2; i < t.size(); ++i) {
            const char c = t[i];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return false;
            v = v * 16 + unsigned(d);
            if (v > 0xFFFFFFFFull)
                return false;
        }
        // Hexadecimal covers the whole 32-bit pattern, as colour values are written.
        out = static_cast<int>(static_cast<uint32_t>(v));
        return true;
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        negative = t[i] == '-';
        ++i;
    }
    if (i >= t.size())
        return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return false;
        v = v * 10 + (t[i] - '0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL || v < -2147483648LL)
        return false;
    out = static_cast<int>(v);
    return true;
}

// Line breaks inside a value would split it into lines of their own (and could forge keys).
std::string OneLine(const std::string &value)
{
    std::string v = value;
    std::replace(v.begin(), v.end(), '\r', ' ');
    std::replace(v.begin(), v.end(), '\n', ' ');
    return v;
}

// Writes the lines through the safe writer: a temporary file renamed over the target, or the
// file written in place where renaming cannot work; a failure at any point leaves the previous
// file whole.
bool Store(const std::string &path, const TIniText &ini)
{
    std::error_code ec;
    std::string target = path;
    // Write through a symbolic link to the file it names instead of replacing the link.
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (ec)
            return false;
        target = resolved.string();
    }
    if (fs::exists(target, ec) && !fs::is_regular_file(target, ec))
        return false;  // a directory or a device
    const fs::path dir = fs::path(target).parent_path();
    if (!dir.empty() && !fs::is_directory(dir, ec)) {
        fs::create_directories(dir, ec);
        if (ec)
            return false;
    }
    std::string data;
    for (const TLine &l : ini.lines) {
        data += l.raw;
        data += ini.eol;
    }
    try {
        SaveFileSafely(target, data);
        return true;
    } catch (const EFileError &) {
        return false;
    }
}

std::string HomeDirectory()
{
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return ".";
}

} // namespace

EProfileError::EProfileError(const std::string &fileName) : std::runtime_error("Unable to write to " + fileName) {}

std::string ConfigDirectory()
{
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is ignored.
    if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
        return xdg;
    return HomeDirectory() + "/.config";
}

TProfile::TProfile(const std::string &fileName)
{
    if (fileName.find('/') == std::string::npos)
        Path = ConfigDirectory() + "/" + fileName;
    else
        Path = fileName;
}

std::string TProfile::ReadString(const std::string &Section, const std::string &Key, const std::string &Default) const
{
    const TIniText ini = Load(Path);
    const TLine *l = FindKey(ini, Section, Key);
    if (!l)
        return Default;
    return l->value.substr(0, kMaxValueLength);
}

int TProfile::ReadInteger(const std::string &Section, const std::string &Key, int Default) const
{
    const TIniText ini = Load(Path);
    const TLine *l = FindKey(ini, Section, Key);
    int v;
    if (!l || !ParseInteger(l->value.substr(0, kMaxValueLength), v))
        return Default;
    return v;
}

bool TProfile::ReadBool(const std::string &Section, const std::string &Key, bool Default) const
{
    return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

std::vector<std::string> TProfile::ReadSection(const std::string &Section) const
{
    const TIniText ini = Load(Path);
    std::vector<std::string> keys;
    ForEachInSection(ini, Section, [&](std::size_t i) {
        if (ini.lines[i].kind == TLine::Key)
            keys.push_back(ini.lines[i].name);
    });
    return keys;
}

std::vector<std::string> TProfile::ReadSectionValues(const std::string &Section) const
{
    const TIniText ini = Load(Path);
    std::vector<std::string> values;
    ForEachInSection(ini, Section, [&](std::size_t i) {
        if (ini.lines[i].kind == TLine::Key)
            values.push_back(ini.lines[i].name + "=" + ini.lines[i].value.substr(0, kMaxValueLength));
    });
    return values;
}

bool TProfile::SectionExists(const std::string &Section) const
{
    const TIniText ini = Load(Path);
    return std::any_of(ini.lines.begin(), ini.lines.end(),
                       [&](const TLine &l) { return l.kind == TLine::Section && SameText(l.name, Section); });
}

bool TProfile::ValueExists(const std::string &Section, const std::string &Key) const
{
    return FindKey(Load(Path), Section, Key) != nullptr;
}

void TProfile::WriteString(const std::string &Section, const std::string &Key, const std::string &Value)
{
    TIniText ini = Load(Path);
    const std::string value = OneLine(Value);
    // Replace the first occurrence of the key; else append it after the section's last key.
    std::size_t keyLine = std::string::npos, header = std::string::npos;
    for (std::size_t i = 0; i < ini.lines.size(); ++i)
        if (ini.lines[i].kind == TLine::Section && SameText(ini.lines[i].name, Section)) {
            header = i;
            break;
        }
    ForEachInSection(ini, Section, [&](std::size_t i) {
        const TLine &l = ini.lines[i];
        if (l.kind == TLine::Key && keyLine == std::string::npos && SameText(l.name, Key))
            keyLine = i;
    });
    if (keyLine != std::string::npos) {
        ini.lines[keyLine] = Classify(ini.lines[keyLine].name + "=" + value);
    } else if (header != std::string::npos) {
        // Within the first section of that name, after its last key (or right after the header).
        std::size_t at = header + 1;
        for (std::size_t i = header + 1; i < ini.lines.size() && ini.lines[i].kind != TLine::Section; ++i)
            if (ini.lines[i].kind == TLine::Key)
                at = i + 1;
        ini.lines.insert(ini.lines.begin() + std::ptrdiff_t(at), Classify(Key + "=" + value));
    } else {
        if (!ini.lines.empty() && !Trim(ini.lines.back().raw).empty())
            ini.lines.push_back(Classify(""));
        ini.lines.push_back(Classify("[" + Section + "]"));
        ini.lines.push_back(Classify(Key + "=" + value));
    }
    if (!Store(Path, ini))
        throw EProfileError(Path);
}

void TProfile::WriteInteger(const std::string &Section, const std::string &Key, int Value)
{
    WriteString(Section, Key, std::to_string(Value));
}

void TProfile::WriteBool(const std::string &Section, const std::string &Key, bool Value)
{
    WriteString(Section, Key, Value ? "1" : "0");
}

void TProfile::DeleteKey(const std::string &Section, const std::string &Key)
{
    TIniText ini = Load(Path);
    const std::size_t before = ini.lines.size();
    std::vector<TLine> kept;
    bool inside = false;
    for (TLine &l : ini.lines) {
        if (l.kind == TLine::Section)
            inside = SameText(l.name, Section);
        else if (inside && l.kind == TLine::Key && SameText(l.name, Key))
            continue;
        kept.push_back(std::move(l));
    }
    if (kept.size() == before)
        return;
    ini.lines = std::move(kept);
    if (!Store(Path, ini))
        throw EProfileError(Path);
}

void TProfile::EraseSection(const std::string &Section)
{
    TIniText ini = Load(Path);
    std::vector<TLine> kept;
    bool inside = false, erased = false;
    for (TLine &l : ini.lines) {
        if (l.kind == TLine::Section) {
            inside = SameText(l.name, Section);
            erased = erased || inside;
        }
        if (!inside)
            kept.push_back(std::move(l));
    }
    if (!erased)
        return;  // nothing to erase: the file is left as it is (and not created)
    ini.lines = std::move(kept);
    if (!Store(Path, ini))
        throw EProfileError(Path);
}
