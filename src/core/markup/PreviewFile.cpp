// Browser preview without a window: names, URL form, conversation texts, template rule, writer.
#include "core/markup/PreviewFile.h"

#include "core/editor/SafeFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string WithTrailingSlash(std::string Dir)
{
    if (!Dir.empty() && Dir.back() != '/')
        Dir += '/';
    return Dir;
}

[[noreturn]] void FailPreview(const std::string &FileName, int Err)
{
    throw EFileError("Cannot save file \"" + FileName + "\": " + std::generic_category().message(Err), FileName,
                     Err);
}

// A name for the new file beside Target that no one has reason to have made.
std::string TempNameBeside(const std::string &Target)
{
    static std::atomic<unsigned> Counter{0};
    const auto Now = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    unsigned long long Mix = Now ^ (static_cast<unsigned long long>(::getpid()) << 32) ^
                             (static_cast<unsigned long long>(Counter++) * 0x9E3779B97F4A7C15ull);
    static const char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string Suffix;
    for (int I = 0; I < 8; ++I) {
        Suffix += Digits[Mix % 36];
        Mix /= 36;
    }
    const std::size_t Slash = Target.rfind('/');
    const std::string Dir = Slash == std::string::npos ? std::string() : Target.substr(0, Slash + 1);
    const std::string Base = Slash == std::string::npos ? Target : Target.substr(Slash + 1);
    return Dir + "." + Base + ".~" + Suffix;
}

// Writes all of Bytes to Fd; the errno value of a failure, or 0.
int WriteAll(int Fd, std::string_view Bytes, const std::string &Path)
{
    while (!Bytes.empty()) {
        if (const int Err = InjectedFileFault(TFileOp::Write, Path))
            return Err;
        const ssize_t N = ::write(Fd, Bytes.data(), Bytes.size());
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0)
            return errno;
        if (N == 0)
            return EIO;
        Bytes.remove_prefix(static_cast<std::size_t>(N));
    }
    return 0;
}

} // namespace

std::string PreviewFileName(int Counter)
{
    char Name[32];
    std::snprintf(Name, sizeof Name, "~htm%.4d.htm", Counter);
    return Name;
}

std::string PreviewDirectory(const std::string &Caption, const std::string &WorkDir)
{
    const std::size_t Slash = Caption.rfind('/');
    if (Caption == "Untitled" || Slash == std::string::npos)
        return WithTrailingSlash(WorkDir);
    return Caption.substr(0, Slash + 1);
}

std::string FileUrlForm(const std::string &FullName)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string Url = "file://";
    for (const char C : FullName) {
        const auto U = static_cast<unsigned char>(C);
        const bool Plain = (U >= 'a' && U <= 'z') || (U >= 'A' && U <= 'Z') || (U >= '0' && U <= '9') ||
                           std::strchr("/-._~!$&'()*+,;=:@", U) != nullptr;
        if (Plain && U != 0) {
            Url += C;
        } else {
            Url += '%';
            Url += Hex[U >> 4];
            Url += Hex[U & 15];
        }
    }
    return Url;
}

std::string IExploreOpenURLData(const std::string &FullName)
{
    return "\"" + FullName + "\",,0xFFFFFFFF,0x3";
}

std::string NetscapeOpenURLData(const std::string &FileUrl)
{
    return FileUrl + ",,0xFFFFFFFF,0x3";
}

std::vector<std::string> PreviewArguments(std::vector<std::string> TemplateArgs, const std::string &File)
{
    for (std::string &Arg : TemplateArgs) {
        const std::size_t At = Arg.find("%1");
        if (At != std::string::npos) {
            Arg.replace(At, 2, File);
            return TemplateArgs;
        }
    }
    TemplateArgs.push_back(File);
    return TemplateArgs;
}

void WritePreviewFile(const std::string &FileName, int ParaCount, const TParagraphSource &Source,
                      bool ByteOrderMark)
{
    if (FileName.empty())
        FailPreview(FileName, ENOENT);
    std::string Temp;
    int Fd = -1;
    for (int Tries = 0; Fd < 0; ++Tries) {
        Temp = TempNameBeside(FileName);
        if (const int Err = InjectedFileFault(TFileOp::Create, Temp))
            FailPreview(FileName, Err);
        Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (Fd < 0 && (errno != EEXIST || Tries >= 100))
            FailPreview(FileName, errno);
    }
    int Err = 0;
    std::string Buffer;
    constexpr std::size_t Chunk = 64 * 1024;
    TTextWriteOptions Options;
    Options.ByteOrderMark = ByteOrderMark;
    WriteText(ffDos, ParaCount, Source, [&](std::string_view Bytes) {
        Buffer.append(Bytes);
        if (Buffer.size() >= Chunk) {
            if (!Err)
                Err = WriteAll(Fd, Buffer, Temp);
            Buffer.clear();
        }
    }, Options);
    if (!Err)
        Err = WriteAll(Fd, Buffer, Temp);
    if (::close(Fd) != 0 && !Err)
        Err = errno;
    // rename() replaces the directory entry itself: a link planted at the name is not followed.
    if (!Err)
        Err = InjectedFileFault(TFileOp::Rename, Temp);
    if (!Err && ::rename(Temp.c_str(), FileName.c_str()) != 0)
        Err = errno;
    if (Err) {
        ::unlink(Temp.c_str());
        FailPreview(FileName, Err);
    }
}
