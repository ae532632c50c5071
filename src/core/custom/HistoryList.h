// History lists: a drop-down's earlier entries, kept one per line in a text file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr const char *ImagesHistoryName = "IMAGES.HIS";
inline constexpr const char *URLsHistoryName = "URLS.HIS";
inline constexpr const char *HostsHistoryName = "HOSTS.HIS";

// The history file Name inside the working directory WorkDir (Name alone when WorkDir is empty).
std::string HistoryFileName(const std::string &WorkDir, const std::string &Name);

// Entries of a history file: lines ended by CR, LF or CR LF; reading stops at a NUL byte.
std::vector<std::string> ParseHistoryText(std::string_view Bytes);
// Every entry followed by CR LF.
std::string FormatHistoryText(const std::vector<std::string> &Entries);

// Equal when the texts differ at most in the case of their letters (ANSI code page letters,
// accented ones included).
bool SameTextIgnoringCase(std::string_view A, std::string_view B);
// Negative, 0 or positive as A sorts before, with or after B when letter case is ignored.
int CompareTextIgnoringCase(std::string_view A, std::string_view B);

class THistoryList {
public:
    explicit THistoryList(std::string FileName) : Path(std::move(FileName)) {}

    const std::string &FileName() const { return Path; }
    // Oldest first.
    const std::vector<std::string> &Items() const { return Entries; }

    // Clears the list and fills it from the file. A file that does not exist yet gives an empty
    // list; one that exists but cannot be read leaves the list empty and throws ECustomFileError
    // "Cannot open file <name>".
    void Load();
    // Appends Text unless an entry matches it ignoring letter case; true when appended.
    bool Add(const std::string &Text);
    // Writes the whole list, replacing the file (created when missing). Throws ECustomFileError
    // "Cannot create file <name>" when it cannot be written; the old file then stays as it was.
    void Save() const;

private:
    std::string Path;
    std::vector<std::string> Entries;
};
