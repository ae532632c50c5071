// History lists: a drop-down's earlier entries, kept one per line in a text file.
#include "core/custom/HistoryList.h"

#include "core/custom/CustomFiles.h"

#include <algorithm>
#include <filesystem>

std::string HistoryFileName(const std::string &WorkDir, const std::string &Name)
{
    if (WorkDir.empty())
        return Name;
    if (WorkDir.back() == '/')
        return WorkDir + Name;
    return WorkDir + "/" + Name;
}

std::vector<std::string> ParseHistoryText(std::string_view Bytes)
{
    const auto nul = Bytes.find('\0');
    if (nul != std::string_view::npos)
        Bytes = Bytes.substr(0, nul);
    std::vector<std::string> entries;
    size_t start = 0;
    while (start < Bytes.size()) {
        size_t end = Bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            entries.emplace_back(Bytes.substr(start));
            break;
        }
        entries.emplace_back(Bytes.substr(start, end - start));
        start = end + 1;
        if (Bytes[end] == '\r' && start < Bytes.size() && Bytes[start] == '\n')
            ++start;
    }
    return entries;
}

std::string FormatHistoryText(const std::vector<std::string> &Entries)
{
    std::string text;
    for (const auto &e : Entries) {
        text += e;
        text += "\r\n";
    }
    return text;
}

namespace {

// Upper-case letters of the ANSI code page to their lower-case forms.
unsigned char FoldCase(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}

} // namespace

bool SameTextIgnoringCase(std::string_view A, std::string_view B)
{
    if (A.size() != B.size())
        return false;
    for (size_t i = 0; i < A.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(A[i])) != FoldCase(static_cast<unsigned char>(B[i])))
            return false;
    return true;
}

int CompareTextIgnoringCase(std::string_view A, std::string_view B)
{
    const std::size_t n = std::min(A.size(), B.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int a = FoldCase(static_cast<unsigned char>(A[i])), b = FoldCase(static_cast<unsigned char>(B[i]));
        if (a != b)
            return a - b;
    }
    return A.size() < B.size() ? -1 : (A.size() > B.size() ? 1 : 0);
}

void THistoryList::Load()
{
    Entries.clear();
    // A list nobody has saved yet is an empty list, not a failure: the first OK creates it.
    std::error_code ec;
    if (std::filesystem::symlink_status(Path, ec).type() == std::filesystem::file_type::not_found)
        return;
    const auto bytes = ReadWholeFile(Path);
    if (!bytes)
        throw ECustomFileError(CannotOpenFileMessage(Path));
    Entries = ParseHistoryText(*bytes);
}

bool THistoryList::Add(const std::string &Text)
{
    for (const auto &e : Entries)
        if (SameTextIgnoringCase(e, Text))
            return false;
    Entries.push_back(Text);
    return true;
}

void THistoryList::Save() const
{
    if (!WriteWholeFile(Path, FormatHistoryText(Entries)))
        throw ECustomFileError(CannotCreateFileMessage(Path));
}
