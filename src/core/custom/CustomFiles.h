// File errors and whole-file reading and writing for the history lists and the custom buttons.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

// A history or button file that cannot be read or written; the message is ready to show.
class ECustomFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file <name>" and "Cannot create file <name>".
std::string CannotOpenFileMessage(const std::string &FileName);
std::string CannotCreateFileMessage(const std::string &FileName);

// The whole content of a regular file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string &FileName);

// Replaces the file's content safely (SaveFileSafely: a temporary file renamed over it, so a
// failed write leaves the old file as it was). Returns false on any failure.
bool WriteWholeFile(const std::string &FileName, const std::string &Bytes);
