// Profile (INI) file access with the Windows private-profile semantics: case-insensitive
// sections and keys, the file created by the first write, layout and unknown lines kept.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// Raised when a write or a section erase cannot be stored: "Unable to write to <file>".
class EProfileError : public std::runtime_error {
public:
    explicit EProfileError(const std::string &fileName);
};

class TProfile {
public:
    // A bare file name (no directory) stands for that name in the per-user configuration
    // directory ($XDG_CONFIG_HOME, default ~/.config).
    explicit TProfile(const std::string &fileName);

    const std::string &FileName() const { return Path; }

    // At most 1023 characters; Default when the key is absent.
    std::string ReadString(const std::string &Section, const std::string &Key, const std::string &Default) const;
    // Decimal, or hexadecimal after "0x"/"0X" (text longer than two characters); Default otherwise.
    int ReadInteger(const std::string &Section, const std::string &Key, int Default) const;
    bool ReadBool(const std::string &Section, const std::string &Key, bool Default) const;
    // The keys of a section in file order.
    std::vector<std::string> ReadSection(const std::string &Section) const;
    // Every line "key=value" of a section in file order.
    std::vector<std::string> ReadSectionValues(const std::string &Section) const;
    bool SectionExists(const std::string &Section) const;
    bool ValueExists(const std::string &Section, const std::string &Key) const;

    // Each write rereads the file and stores it whole through a temporary file and a rename;
    // throws EProfileError when it cannot be stored (the previous file then stays intact).
    // Line breaks inside a value are stored as spaces.
    void WriteString(const std::string &Section, const std::string &Key, const std::string &Value);
    void WriteInteger(const std::string &Section, const std::string &Key, int Value);
    void WriteBool(const std::string &Section, const std::string &Key, bool Value);
    // Removes every section of that name with its lines; no file is created when there is none.
    void EraseSection(const std::string &Section);
    void DeleteKey(const std::string &Section, const std::string &Key);

private:
    std::string Path;
};

// The per-user directory that holds settings given by a bare name.
std::string ConfigDirectory();
