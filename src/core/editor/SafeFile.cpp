// TSafeFileWriter: the file layer: reading, safe saving (renamed or in place), backups, leftovers
// of killed saves and the fault hook.
#include "core/editor/SafeFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <pwd.h>
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

// The temporary files of saves are named "." + the file's name + SaveMark + the saving process's
// id + "-" + a random part, so that leftovers of a killed save can be told apart and removed.
constexpr const char *SaveMark = ".~pelmar-";

std::string RandomSuffix()
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
    return Suffix;
}

std::string TempNameFor(const std::string &Target)
{
    const std::string Dir = DirectoryOf(Target);
    return (Dir == "." && Target.find('/') == std::string::npos ? std::string() : Dir + "/") + "." +
           BaseOf(Target) + SaveMark + std::to_string(::getpid()) + "-" + RandomSuffix();
}

// Writes all of Data to Fd at Offset; 0 or the errno value.
int WriteAll(int Fd, const char *Data, std::size_t Size, off_t Offset)
{
    while (Size > 0) {
        const ssize_t N = ::pwrite(Fd, Data, Size, Offset);
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0)
            return errno;
        if (N == 0)
            return EIO;
        Data += N;
        Size -= static_cast<std::size_t>(N);
        Offset += N;
    }
    return 0;
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
    // Not blocking: a pipe or a device must not hang the program before it is refused.
    if (!Err) {
        Fd = ::open(Name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (Fd < 0)
            Err = errno;
    }
    std::string Why;
    struct stat St;
    if (!Err && ::fstat(Fd, &St) == 0) {
        if (S_ISDIR(St.st_mode)) {
            Err = EISDIR;
        } else if (!S_ISREG(St.st_mode)) {
            Err = ENODEV;
            Why = "it is not a regular file";
        } else {
            FileSize = St.st_size;
            ::fcntl(Fd, F_SETFL, ::fcntl(Fd, F_GETFL) & ~O_NONBLOCK);
        }
    }
    if (Err == EACCES || Err == EPERM)
        Why = "you have no permission to read it";
    if (Err) {
        if (Fd >= 0)
            ::close(Fd);
        Fd = -1;
        throw EFileError("Cannot open file " + Quoted(Name) + ": " + (Why.empty() ? Reason(Err) : Why), Name, Err);
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
        // Renaming a new file over one of several names of a file would part it from the others.
        Place = St.st_nlink > 1;
    }

    for (int Tries = 0; !Place && Fd < 0; ++Tries) {
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
            // A directory the user may not write: an existing file is written in place.
            if ((Err == EACCES || Err == EPERM) && TargetExists)
                Place = true;
            else
                Fail("", Err);
        }
    }
    if (Place) {
        KeepOldContent();
    } else if (TargetExists) {
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
    std::string Unrestored;
    if (Place && !Done && Touched)
        Unrestored = RestoreOldContent();
    if (Fd >= 0) {
        ::close(Fd);
        Fd = -1;
    }
    if (!Temp.empty() && !Done)
        ::unlink(Temp.c_str());
    // The copy goes unless it is the only place the old content is left in.
    if (!Copy.empty() && !Done && Unrestored.empty()) {
        ::unlink(Copy.c_str());
        Copy.clear();
    }
    RestoreError = Unrestored;
    Done = true;
}

void TSafeFileWriter::Fail(const std::string &What, int Err)
{
    Abort();
    std::string Msg = "Cannot save file " + Quoted(Name) + ": ";
    if (!What.empty())
        Msg += What + ": ";
    Msg += Reason(Err);
    if (!RestoreError.empty())
        Msg += ". Its old content could not be put back (" + RestoreError + ") and is kept in " + Quoted(Copy);
    throw EFileError(Msg, Name, Err);
}

void TSafeFileWriter::KeepOldContent()
{
    const std::string Dir = PrivateCacheDirectory();
    int Err = 0;
    for (int Tries = 0; Tries < 100; ++Tries) {
        Copy = Dir + "/save-" + std::to_string(::getpid()) + "-" + RandomSuffix() + "-" + BaseOf(Target);
        Err = InjectedFault(TFileOp::Create, Copy);
        if (!Err) {
            Fd = ::open(Copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (Fd < 0)
                Err = errno;
        }
        if (Err != EEXIST)
            break;
    }
    const std::string What = "cannot keep a copy of its old content in " + Quoted(Dir);
    if (Err) {
        Copy.clear(); // nothing was created
        Fail(What, Err);
    }
    try {
        TFileReader In(Target);
        const auto Block = std::make_unique<char[]>(64 * 1024);
        off_t At = 0;
        while (const std::size_t N = In.Read(Block.get(), 64 * 1024)) {
            Err = InjectedFault(TFileOp::Write, Copy);
            if (!Err)
                Err = WriteAll(Fd, Block.get(), N, At);
            if (Err)
                Fail(What, Err);
            At += static_cast<off_t>(N);
        }
    } catch (const EFileError &E) {
        if (!Done)
            Fail(What, E.ErrorNumber());
        throw;
    }
    Err = InjectedFault(TFileOp::Sync, Copy);
    if (!Err && ::fsync(Fd) != 0)
        Err = errno;
    const int Closed = ::close(Fd);
    Fd = -1;
    if (!Err && Closed != 0)
        Err = errno;
    if (Err)
        Fail(What, Err);
}

void TSafeFileWriter::StartInPlace()
{
    // A backup cannot share the file (it is about to change): it is a copy of the old content.
    if (TargetExists && !Backup.empty() && Backup != Target) {
        try {
            TSafeFileWriter B(Backup);
            TFileReader In(Copy);
            const auto Block = std::make_unique<char[]>(64 * 1024);
            while (const std::size_t N = In.Read(Block.get(), 64 * 1024))
                B.Write(std::string_view(Block.get(), N));
            B.Commit();
        } catch (const EFileError &E) {
            Fail("cannot make the backup " + Quoted(Backup), E.ErrorNumber());
        }
    }
    int Err = InjectedFault(TFileOp::Open, Target);
    if (!Err) {
        Fd = ::open(Target.c_str(), O_WRONLY | O_CLOEXEC);
        if (Fd < 0)
            Err = errno;
    }
    if (Err)
        Fail("", Err);
}

std::string TSafeFileWriter::RestoreOldContent() noexcept
{
    if (Fd < 0)
        Fd = ::open(Target.c_str(), O_WRONLY | O_CLOEXEC);
    if (Fd < 0)
        return Reason(errno);
    const int In = ::open(Copy.c_str(), O_RDONLY | O_CLOEXEC);
    if (In < 0)
        return Reason(errno);
    char Block[64 * 1024];
    off_t At = 0;
    int Err = 0;
    for (;;) {
        const ssize_t N = ::read(In, Block, sizeof Block);
        if (N < 0 && errno == EINTR)
            continue;
        if (N < 0)
            Err = errno;
        if (N <= 0)
            break;
        if ((Err = WriteAll(Fd, Block, static_cast<std::size_t>(N), At)) != 0)
            break;
        At += N;
    }
    ::close(In);
    if (!Err && ::ftruncate(Fd, At) != 0)
        Err = errno;
    if (!Err && ::fsync(Fd) != 0)
        Err = errno;
    return Err ? Reason(Err) : std::string();
}

void TSafeFileWriter::FlushBuffer()
{
    if (Place && Fd < 0)
        StartInPlace();
    const std::string &Path = Place ? Target : Temp;
    const char *P = Buffer.data();
    std::size_t Left = Buffer.size();
    while (Left > 0) {
        int Err = InjectedFault(TFileOp::Write, Path);
        ssize_t N = -1;
        if (!Err) {
            Touched = Touched || Place;
            N = Place ? ::pwrite(Fd, P, Left, static_cast<off_t>(Written)) : ::write(Fd, P, Left);
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
        Written += N;
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

// Syncs and closes the file being written (Path names it for the fault hook); an earlier error
// Err, or one of these steps, fails the save.
void TSafeFileWriter::SyncAndClose(const std::string &Path, int Err)
{
    if (!Err)
        Err = InjectedFault(TFileOp::Sync, Path);
    if (!Err && ::fsync(Fd) != 0)
        Err = errno;
    if (Err)
        Fail("", Err);
    Err = InjectedFault(TFileOp::Close, Path);
    const int Closed = ::close(Fd);
    Fd = -1;
    if (!Err && Closed != 0)
        Err = errno;
    if (Err)
        Fail("", Err);
}

void TSafeFileWriter::Commit()
{
    if (Done)
        throw EFileError("Cannot save file " + Quoted(Name) + ": the file is closed", Name, EBADF);
    FlushBuffer();
    if (Place) {
        // The file is as long as its new content; synced, it stands, and the copy goes.
        Touched = true;
        int Err = InjectedFault(TFileOp::Write, Target);
        if (!Err && ::ftruncate(Fd, static_cast<off_t>(Written)) != 0)
            Err = errno;
        SyncAndClose(Target, Err);
        Done = true;
        ::unlink(Copy.c_str());
        Copy.clear();
        RemoveStaleSaveFiles(Target);
        return;
    }

    SyncAndClose(Temp, 0);
    int Err = 0;

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
    RemoveStaleSaveFiles(Target);
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

std::string PrivateCacheDirectory()
{
    std::string Base;
    if (const char *X = std::getenv("XDG_CACHE_HOME"); X && X[0] == '/') {
        Base = X;
    } else {
        const char *Home = std::getenv("HOME");
        if ((!Home || !*Home))
            if (const passwd *Pw = ::getpwuid(::getuid()))
                Home = Pw->pw_dir;
        Base = std::string(Home && *Home ? Home : "/tmp") + "/.cache";
    }
    ::mkdir(Base.c_str(), 0700);
    const std::string Dir = Base + "/pelmar32";
    ::mkdir(Dir.c_str(), 0700);
    return Dir;
}

void RemoveStaleSaveFiles(const std::string &FileName)
{
    if (FileName.empty())
        return;
    int Err = 0;
    const std::string Target = ResolveLinks(FileName, Err);
    if (Err)
        return;
    const std::string Dir = DirectoryOf(Target);
    const std::string Prefix = "." + BaseOf(Target) + SaveMark;
    DIR *D = ::opendir(Dir.c_str());
    if (!D)
        return;
    while (const dirent *E = ::readdir(D)) {
        const std::string Entry = E->d_name;
        if (Entry.compare(0, Prefix.size(), Prefix) != 0)
            continue;
        // The process id that made it, up to the "-" before the random part.
        const std::size_t Dash = Entry.find('-', Prefix.size());
        if (Dash == std::string::npos || Dash == Prefix.size())
            continue;
        const std::string Id = Entry.substr(Prefix.size(), Dash - Prefix.size());
        if (Id.find_first_not_of("0123456789") != std::string::npos || Id.size() > 9)
            continue;
        const pid_t Pid = static_cast<pid_t>(std::stol(Id));
        if (Pid == ::getpid() || Pid <= 0 || ::kill(Pid, 0) == 0 || errno != ESRCH)
            continue; // its process (or one with its number) is alive
        const std::string Path = (Dir == "/" ? std::string() : Dir) + "/" + Entry;
        struct stat St;
        if (::lstat(Path.c_str(), &St) == 0 && S_ISREG(St.st_mode) && !InjectedFault(TFileOp::Remove, Path))
            ::unlink(Path.c_str());
    }
    ::closedir(D);
}
