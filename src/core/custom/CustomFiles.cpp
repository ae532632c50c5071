// File errors and whole-file reading and writing for the history lists and the custom buttons.
#include "core/custom/CustomFiles.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

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
    std::unique_ptr<FILE, int (*)(FILE *)> f(std::fopen(FileName.c_str(), "rb"), &std::fclose);
    if (!f)
        return std::nullopt;
    std::string bytes;
    char buf[65536];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        bytes.append(buf, got);
    if (std::ferror(f.get()))
        return std::nullopt;
    return bytes;
}

namespace {

bool WriteAll(int Fd, const std::string &Bytes)
{
    size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(Fd, Bytes.data() + done, Bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

bool WriteWholeFile(const std::string &FileName, const std::string &Bytes)
{
    if (FileName.empty())
        return false;
    struct stat st {};
    const bool exists = ::stat(FileName.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        return false;
    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    std::string temp = FileName + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, Bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temp.c_str(), FileName.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}
