// The file layer: reading, safe saving, backup renames and the fault hook.
#include "core/editor/SafeFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

TFileFaultHook &FaultHook()
{
    static TFileFaultHook Hook;
    return Hook;
}

// The errno value the test hook wants this operation to fail with, or 0.
int InjectedFault(TFileOp Op, const std::string &Path)
{
    const TFileFaultHook &Hook = FaultHook();
    return Hook ? Hook(Op, Path) : 0;
}

std::string Reason(int Err) { return std::generic_category().message(Err); }

std::string Quoted(const std::string &Name) { return "\"" + Name + "\""; }

std::string DirectoryOf(const std::string &Path)
{
    const std::size_t Slash = Path.rfind('/');
    if (Slash == std::string::npos)
        return ".";
    if (Slash == 0)
        return "/";
    return Path.substr(0, Slash);
}

std::string BaseOf(const std::string &Path)
{
    const std::size_t Slash = Path.rfind('/');
    return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

// Follows a chain of symbolic links to the file it names (which need not exist yet).
std::string ResolveLinks(const std::string &Name, int &Err)
{
    std::string Path = Name;
    for (int Hops = 0; Hops < 40; ++Hops) {
        struct stat St;
        if (::lstat(Path.c_str(), &St) != 0 || !S_ISLNK(St.st_mode))
            return Path;
        std::string Link(static_cast<std::size_t>(St.st_size > 0 ? St.st_size : 256) + 1, '\0');
        const ssize_t N = ::readlink(Path.c_str(), Link.data(), Link.size());
        if (N < 0) {
            Err = errno;
            return Path;
        }
        Link.resize(static_cast<std::size_t>(N));
        if (Link.empty() || Link[0] == '/' || Path.find('/') == std::string::npos)
            Path = Link;
        else
            Path = DirectoryOf(Path) + "/" + Link;
    }
    Err = ELOOP;
    return Path;
}

std::string TempNameFor(const std::string &Target)
{
    static std::atomic<unsigned> Counter{0};
    const auto Now = std::chrono::steady_clock::now().time_since_epoch().count();
    unsigned long long Mix = static_cast<unsigned long long>(Now) ^ (static_cast<unsigned long long>(::getpid()) << 32) ^
                             (static_cast<unsigned long long>(Counter++) * 0x9E3779B97F4A7C15ull);
    static const char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string Suffix;
    for (int I = 0; I < 8; ++I) {
        Suffix += Digits[Mix % 36];
        Mix /= 36;
    }
    const std::string Dir = DirectoryOf(Target);
    return (Dir == "." && Target.find('/') == std::string::npos ? std::string() : Dir + "/") + "." +
           BaseOf(Target) + ".~" + Suffix;
}

void SyncDirectory(const std::string &Dir)
{
    const int Fd = ::open(Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Fd >= 0) {
        ::fsync(Fd);
        ::close(Fd);
    }
}

} // namespace

void SetFileFaultHook(TFileFaultHook Hook) { FaultHook() = std::move(Hook); }

int InjectedFileFault(TFileOp Op, const std::string &Path) { return InjectedFault(Op, Path); }

TFileFaultScope::TFileFaultScope(TFileFaultHook Hook) : Previous(std::move(FaultHook()))
{
    FaultHook() = std::move(Hook);
}

TFileFaultScope::~TFileFaultScope() { FaultHook() = std::move(Previous); }

EFileError::EFileError(const std::string &Message, std::string FileName, int ErrorNumber)
    : EEdException(Message), Name(std::move(FileName)), Errno(ErrorNumber)
{
}

TFileReader::TFileReader(const std::string &FileName) : Name(FileName)
{
    int Err = InjectedFault(TFileOp::Open, Name);
    if (!Err) {
        Fd = ::open(Name.c_str(), O_RDONLY | O_CLOEXEC);
        if (Fd < 0)
            Err = errno;
    }
    struct stat St;
    if (!Err && ::fstat(Fd, &St) == 0) {
        if (S_ISDIR(St.st_mode))
            Err = EISDIR;
        else
            FileSize = St.st_size;
    }
    if (Err) {
        if (Fd >= 0)
            ::close(Fd);
        Fd = -1;
        throw EFileError("Cannot open file " + Quoted(Name) + ": " + Reason(Err), Name, Err);
    }
}

TFileReader::~TFileReader()
{
    if (Fd >= 0)
        ::close(Fd);
}

std::size_t TFileReader::Read(char *Buffer, std::size_t Size)
{
    int Err = InjectedFault(TFileOp::Read, Name);
    while (!Err) {
        const ssize_t N = ::read(Fd, Buffer, Size);
        if (N >= 0)
            return static_cast<std::size_t>(N);
        if (errno != EINTR)
            Err = errno;
    }
    throw EFileError("Cannot read file " + Quoted(Name) + ": " + Reason(Err), Name, Err);
}

TSafeFileWriter::TSafeFileWriter(const std::string &FileName) : Name(FileName)
{
    if (Name.empty())
        Fail("", ENOENT);
    int Err = 0;
    Target = ResolveLinks(Name, Err);
    if (Err)
        Fail("", Err);

    struct stat St;
    if (::stat(Target.c_str(), &St) == 0) {
        if (S_ISDIR(St.st_mode))
            Fail("", EISDIR);
        // A file the user may not write stays as it is, although its directory would allow
        // replacing it; so does one marked read-only (no write bit for its owner), even for root.
        if ((St.st_mode & S_IWUSR) == 0)
            Fail("the file is read-only", EACCES);
        if (::access(Target.c_str(), W_OK) != 0) {
            const int Err = errno;
            Fail(Err == EACCES ? "the file is read-only for you" : "", Err);
        }
        TargetExists = true;
        TargetMode = St.st_mode & 07777;
    }

    for (int Tries = 0; Fd < 0; ++Tries) {
        Temp = TempNameFor(Target);
        Err = InjectedFault(TFileOp::Create, Temp);
        if (!Err) {
            Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (Fd < 0)
                Err = errno;
        }
        if (Err == EEXIST && Tries < 100)
            continue;
        if (Err) {
            Temp.clear(); // nothing was created
            Fail("", Err);
        }
    }
    if (TargetExists) {
        // The owner is kept where we may (root); chown may clear set-id bits, so it comes first.
        if (St.st_uid != ::geteuid() || St.st_gid != ::getegid())
            (void)::fchown(Fd, St.st_uid, St.st_gid);
        (void)::fchmod(Fd, TargetMode);
    }
    Buffer.reserve(64 * 1024);
}

TSafeFileWriter::~TSafeFileWriter()
{
    if (!Done)
        Abort();
}

void TSafeFileWriter::Abort() noexcept
{
    if (Fd >= 0) {
        ::close(Fd);
        Fd = -1;
    }
    if (!Temp.empty() && !Done)
        ::unlink(Temp.c_str());
    Done = true;
}

void TSafeFileWriter::Fail(const std::string &What, int Err)
{
    Abort();
    std::string Msg = "Cannot save file " + Quoted(Name) + ": ";
    if (!What.empty())
        Msg += What + ": ";
    throw EFileError(Msg + Reason(Err), Name, Err);
}

void TSafeFileWriter::FlushBuffer()
{
    const char *P = Buffer.data();
    std::size_t Left = Buffer.size();
    while (Left > 0) {
        int Err = InjectedFault(TFileOp::Write, Temp);
        ssize_t N = -1;
        if (!Err) {
            N = ::write(Fd, P, Left);
            if (N < 0 && errno == EINTR)
                continue;
            if (N < 0)
                Err = errno;
            else if (N == 0)
                Err = EIO;
        }
        if (Err)
            Fail("", Err);
        P += N;
        Left -= static_cast<std::size_t>(N);
    }
    Buffer.clear();
}

void TSafeFileWriter::Write(std::string_view Bytes)
{
    if (Done)
        throw EFileError("Cannot save file " + Quoted(Name) + ": the file is closed", Name, EBADF);
    constexpr std::size_t Chunk = 64 * 1024;
    if (Buffer.size() + Bytes.size() <= Chunk) {
        Buffer.append(Bytes);
        return;
    }
    while (!Bytes.empty()) {
        const std::size_t Take = std::min(Bytes.size(), Chunk - Buffer.size());
        Buffer.append(Bytes.substr(0, Take));
        Bytes.remove_prefix(Take);
        if (Buffer.size() == Chunk)
            FlushBuffer();
    }
}

void TSafeFileWriter::Commit()
{
    if (Done)
        throw EFileError("Cannot save file " + Quoted(Name) + ": the file is closed", Name, EBADF);
    FlushBuffer();

    int Err = InjectedFault(TFileOp::Sync, Temp);
    if (!Err && ::fsync(Fd) != 0)
        Err = errno;
    if (Err)
        Fail("", Err);

    Err = InjectedFault(TFileOp::Close, Temp);
    const int Closed = ::close(Fd);
    Fd = -1;
    if (!Err && Closed != 0)
        Err = errno;
    if (Err)
        Fail("", Err);

    // The backup: a second name for the old file, so the target is never missing; where the
    // file system has no hard links, the old file is moved and moved back on failure. It is made
    // under a temporary name first and takes the backup's name only once the new file is in
    // place, so a failed save leaves the older backup as it was.
    bool Linked = false, Moved = false;
    std::string BackupTemp;
    if (TargetExists && !Backup.empty() && Backup != Target) {
        for (int Tries = 0; !Linked && Tries < 100; ++Tries) {
            BackupTemp = TempNameFor(Backup);
            if (::link(Target.c_str(), BackupTemp.c_str()) == 0)
                Linked = true;
            else if (errno != EEXIST)
                break;
        }
        if (!Linked) {
            BackupTemp = TempNameFor(Backup);
            Err = InjectedFault(TFileOp::Rename, Target);
            if (!Err && ::rename(Target.c_str(), BackupTemp.c_str()) != 0)
                Err = errno;
            if (Err)
                Fail("cannot make the backup " + Quoted(Backup), Err);
            Moved = true;
        }
    }

    Err = InjectedFault(TFileOp::Rename, Temp);
    if (!Err && ::rename(Temp.c_str(), Target.c_str()) != 0)
        Err = errno;
    if (Err) {
        if (Linked)
            ::unlink(BackupTemp.c_str());
        if (Moved)
            ::rename(BackupTemp.c_str(), Target.c_str());
        Fail("", Err);
    }
    Done = true;
    // The new file is saved: the backup now replaces the older one. Should that rename fail, the
    // older backup stays; a moved old file is then kept under its temporary name rather than lost.
    if (!BackupTemp.empty()) {
        Err = InjectedFault(TFileOp::Rename, BackupTemp);
        if (!Err && ::rename(BackupTemp.c_str(), Backup.c_str()) != 0)
            Err = errno;
        if (Err && Linked)
            ::unlink(BackupTemp.c_str());
    }
    SyncDirectory(DirectoryOf(Target));
}

void SaveFileSafely(const std::string &FileName, std::string_view Content, const std::string &BackupName)
{
    TSafeFileWriter W(FileName);
    W.SetBackupName(BackupName);
    W.Write(Content);
    W.Commit();
}

TFileStamp FileStampOf(const std::string &FileName)
{
    TFileStamp Stamp;
    struct stat St;
    if (FileName.empty() || ::stat(FileName.c_str(), &St) != 0)
        return Stamp;
    Stamp.Exists = true;
    Stamp.Device = St.st_dev;
    Stamp.Inode = St.st_ino;
    Stamp.Size = St.st_size;
    Stamp.ModifiedNs = static_cast<long long>(St.st_mtim.tv_sec) * 1000000000LL + St.st_mtim.tv_nsec;
    return Stamp;
}

std::string BackupFileName(const std::string &FileName, const std::string &BackupExt)
{
    const std::size_t Slash = FileName.rfind('/');
    const std::size_t BaseStart = Slash == std::string::npos ? 0 : Slash + 1;
    const std::size_t Dot = FileName.rfind('.');
    // A leading dot marks a hidden file, not an extension.
    const bool HasExt = Dot != std::string::npos && Dot > BaseStart;
    return (HasExt ? FileName.substr(0, Dot) : FileName) + "." + BackupExt.substr(0, 3);
}
