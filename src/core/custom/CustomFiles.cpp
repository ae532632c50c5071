// File errors and whole-file reading and writing for the history lists and the custom buttons.
#include "core/custom/CustomFiles.h"

#include "core/editor/SafeFile.h"

#include <sys/stat.h>

std::string CannotOpenFileMessage(const std::string &FileName)
{
    return "Cannot open file " + FileName;
}

std::string CannotCreateFileMessage(const std::string &FileName)
{
    return "Cannot create file " + FileName;
}

std::optional<std::string> ReadWholeFile(const std::string &FileName)
{
    struct stat st {};
    if (FileName.empty() || ::stat(FileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    try {
        TFileReader reader(FileName);
        std::string bytes;
        char buf[65536];
        while (const std::size_t got = reader.Read(buf, sizeof buf))
            bytes.append(buf, got);
        return bytes;
    } catch (const EFileError &) {
        return std::nullopt;
    }
}

bool WriteWholeFile(const std::string &FileName, const std::string &Bytes)
{
    try {
        SaveFileSafely(FileName, Bytes);
        return true;
    } catch (const EFileError &) {
        return false;
    }
}
