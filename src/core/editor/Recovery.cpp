// Recovery copies without a window: names, claims, the atomic writer, finding left copies, and
// TPreviewFileList.
#include "core/editor/Recovery.h"

#include "core/editor/SafeFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <system_error>
#include <unistd.h>

namespace {

constexpr const char *kOwnerTag = "user.pelmar32.document";
constexpr const char *kCopyExt = ".$$$";

std::mutex &ClaimLock()
{
    static std::mutex lock;
    return lock;
}

std::set<std::string> &Claims()
{
    static std::set<std::string> claims;
    return claims;
}

std::string DirPart(const std::string &Path)
{
    const std::size_t Slash = Path.rfind('/');
    return Slash == std::string::npos ? std::string(".") : Path.substr(0, std::max<std::size_t>(Slash, 1));
}

std::string NamePart(const std::string &Path)
{
    const std::size_t Slash = Path.rfind('/');
    return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

bool Exists(const std::string &Path)
{
    struct stat St;
    return ::lstat(Path.c_str(), &St) == 0;
}

std::string Hex16(unsigned long long V)
{
    char Buf[17];
    std::snprintf(Buf, sizeof Buf, "%016llx", V);
    return Buf;
}

unsigned long long Fnv1a(std::string_view S)
{
    unsigned long long H = 1469598103934665603ull;
    for (const char C : S) {
        H ^= static_cast<unsigned char>(C);
        H *= 1099511628211ull;
    }
    return H;
}

[[noreturn]] void FailCopy(const std::string &Path, int Err)
{
    throw EFileError("Cannot write the recovery copy \"" + Path + "\": " + std::generic_category().message(Err), Path,
                     Err);
}

std::string TempNameBeside(const std::string &Target)
{
    static std::atomic<unsigned> Counter{0};
    const auto Now = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    const unsigned long long Mix = Now ^ (static_cast<unsigned long long>(::getpid()) << 32) ^
                                   (static_cast<unsigned long long>(Counter++) * 0x9E3779B97F4A7C15ull);
    return DirPart(Target) + "/." + NamePart(Target) + ".~" + Hex16(Mix).substr(8);
}

// The tag naming the document a copy belongs to; empty when there is none.
std::string OwnerOf(const std::string &Path)
{
    char Buf[4096];
    const ssize_t N = ::lgetxattr(Path.c_str(), kOwnerTag, Buf, sizeof Buf);
    return N > 0 ? std::string(Buf, static_cast<std::size_t>(N)) : std::string();
}

bool StatOf(const std::string &Path, TRecoveryCopy &Copy)
{
    struct stat St;
    if (::lstat(Path.c_str(), &St) != 0 || !S_ISREG(St.st_mode))
        return false;
    Copy.Path = Path;
    Copy.WrittenAt = static_cast<long long>(St.st_mtim.tv_sec);
    return true;
}

std::vector<std::string> DirectoryNames(const std::string &Dir)
{
    std::vector<std::string> Names;
    if (DIR *D = ::opendir(Dir.c_str())) {
        while (const dirent *E = ::readdir(D))
            Names.emplace_back(E->d_name);
        ::closedir(D);
    }
    std::sort(Names.begin(), Names.end());
    return Names;
}

bool IsPreviewName(const std::string &Name)
{
    if (Name.size() < 12 || Name.rfind("~htm", 0) != 0 || Name.substr(Name.size() - 4) != ".htm")
        return false;
    return std::all_of(Name.begin() + 4, Name.end() - 4, [](char C) { return C >= '0' && C <= '9'; });
}

} // namespace

std::string StateDirectory()
{
    const char *State = std::getenv("XDG_STATE_HOME");
    if (State && State[0] == '/')
        return std::string(State) + "/pelmar32";
    const char *Home = std::getenv("HOME");
    return std::string(Home && *Home ? Home : "/tmp") + "/.local/state/pelmar32";
}

std::string RecoveryDirectory()
{
    return StateDirectory() + "/recovery";
}

bool MakeDirectories(const std::string &Dir)
{
    struct stat St;
    if (Dir.empty() || ::stat(Dir.c_str(), &St) == 0)
        return !Dir.empty() && S_ISDIR(St.st_mode);
    const std::size_t Slash = Dir.rfind('/');
    if (Slash != std::string::npos && Slash > 0 && !MakeDirectories(Dir.substr(0, Slash)))
        return false;
    return ::mkdir(Dir.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string SideRecoveryName(const std::string &FileName)
{
    const std::size_t Slash = FileName.rfind('/');
    const std::size_t Start = Slash == std::string::npos ? 0 : Slash + 1;
    const std::size_t Dot = FileName.rfind('.');
    if (Dot == std::string::npos || Dot < Start)
        return FileName + kCopyExt;
    return FileName.substr(0, Dot) + kCopyExt;
}

std::string PrivateRecoveryName(const std::string &FileName, int Serial)
{
    std::string Name = RecoveryDirectory() + "/" + NamePart(FileName) + "." + Hex16(Fnv1a(FileName));
    if (Serial > 0)
        Name += "-" + std::to_string(Serial);
    return Name + kCopyExt;
}

std::string UntitledRecoveryName(long Pid, int Serial)
{
    return RecoveryDirectory() + "/untitled." + std::to_string(Pid) + "." + std::to_string(Serial) + kCopyExt;
}

void ClaimRecoveryName(const std::string &Path)
{
    const std::lock_guard<std::mutex> Hold(ClaimLock());
    Claims().insert(Path);
}

void ReleaseRecoveryName(const std::string &Path)
{
    const std::lock_guard<std::mutex> Hold(ClaimLock());
    Claims().erase(Path);
}

bool RecoveryNameClaimed(const std::string &Path)
{
    const std::lock_guard<std::mutex> Hold(ClaimLock());
    return Claims().count(Path) != 0;
}

std::string ChooseRecoveryName(const std::string &FileName)
{
    const auto Free = [](const std::string &Path) { return !RecoveryNameClaimed(Path) && !Exists(Path); };
    std::string Name;
    if (FileName.empty()) {
        static std::atomic<int> Serial{0};
        do
            Name = UntitledRecoveryName(static_cast<long>(::getpid()), ++Serial);
        while (!Free(Name));
    } else {
        const std::string Side = SideRecoveryName(FileName);
        if (::access(DirPart(FileName).c_str(), W_OK | X_OK) == 0 && Free(Side)) {
            Name = Side;
        } else {
            for (int Serial = 0; Name.empty(); ++Serial)
                if (Free(PrivateRecoveryName(FileName, Serial)))
                    Name = PrivateRecoveryName(FileName, Serial);
        }
    }
    ClaimRecoveryName(Name);
    return Name;
}

void WriteRecoveryFile(const std::string &Path, std::string_view Content, const std::string &Owner)
{
    if (Path.rfind(RecoveryDirectory() + "/", 0) == 0)
        MakeDirectories(RecoveryDirectory());
    std::string Temp;
    int Fd = -1;
    for (int Tries = 0; Fd < 0; ++Tries) {
        Temp = TempNameBeside(Path);
        if (const int Err = InjectedFileFault(TFileOp::Create, Temp))
            FailCopy(Path, Err);
        Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (Fd < 0 && (errno != EEXIST || Tries >= 100))
            FailCopy(Path, errno);
    }
    int Err = 0;
    std::string_view Rest = Content;
    while (!Err && !Rest.empty()) {
        if ((Err = InjectedFileFault(TFileOp::Write, Temp)))
            break;
        const ssize_t N = ::write(Fd, Rest.data(), std::min<std::size_t>(Rest.size(), 1 << 20));
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            Err = N < 0 ? errno : EIO;
        else
            Rest.remove_prefix(static_cast<std::size_t>(N));
    }
    if (!Err && !Owner.empty())
        ::fsetxattr(Fd, kOwnerTag, Owner.data(), Owner.size(), 0); // where tags are kept
    if (!Err && !(Err = InjectedFileFault(TFileOp::Sync, Temp)) && ::fsync(Fd) != 0)
        Err = errno;
    if (::close(Fd) != 0 && !Err)
        Err = errno;
    // rename() replaces the directory entry itself: a link planted at the name is not followed.
    if (!Err && !(Err = InjectedFileFault(TFileOp::Rename, Temp)) && ::rename(Temp.c_str(), Path.c_str()) != 0)
        Err = errno;
    if (Err) {
        ::unlink(Temp.c_str());
        FailCopy(Path, Err);
    }
    // The rename itself reaches the disk with the directory.
    const int DirFd = ::open(DirPart(Path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (DirFd >= 0) {
        ::fsync(DirFd);
        ::close(DirFd);
    }
}

std::vector<TRecoveryCopy> FindRecoveryCopies(const std::string &FileName)
{
    std::vector<TRecoveryCopy> Found;
    TRecoveryCopy Copy;
    const std::string Side = SideRecoveryName(FileName);
    if (!RecoveryNameClaimed(Side) && StatOf(Side, Copy)) {
        const std::string Owner = OwnerOf(Side);
        if (Owner.empty() || Owner == FileName)
            Found.push_back(Copy);
    }
    const std::string First = PrivateRecoveryName(FileName);
    const std::string Stem = First.substr(0, First.size() - std::strlen(kCopyExt));
    const std::string StemName = NamePart(Stem);
    for (const std::string &Name : DirectoryNames(RecoveryDirectory())) {
        if (Name.rfind(StemName, 0) != 0 || Name.size() < std::strlen(kCopyExt) ||
            Name.substr(Name.size() - std::strlen(kCopyExt)) != kCopyExt)
            continue;
        const std::string Middle = Name.substr(StemName.size(), Name.size() - StemName.size() - std::strlen(kCopyExt));
        const bool Numbered = Middle.size() > 1 && Middle[0] == '-' &&
                              std::all_of(Middle.begin() + 1, Middle.end(), [](char C) { return C >= '0' && C <= '9'; });
        const std::string Path = RecoveryDirectory() + "/" + Name;
        if ((Middle.empty() || Numbered) && !RecoveryNameClaimed(Path) && StatOf(Path, Copy))
            Found.push_back(Copy);
    }
    std::stable_sort(Found.begin(), Found.end(),
                     [](const TRecoveryCopy &A, const TRecoveryCopy &B) { return A.WrittenAt > B.WrittenAt; });
    return Found;
}

std::string RecoveryQuestion(const std::string &Name, long long WrittenAt)
{
    const std::time_t T = static_cast<std::time_t>(WrittenAt);
    std::tm Local{};
    ::localtime_r(&T, &Local);
    char When[64];
    std::strftime(When, sizeof When, "%Y-%m-%d %H:%M:%S", &Local);
    return "A recovery copy of " + Name + " from " + When + " exists.  Recover it?";
}

bool ProcessAlive(long Pid)
{
    if (Pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(Pid), 0) == 0 || errno == EPERM;
}

std::vector<TRecoveryCopy> FindUntitledCopies()
{
    std::vector<TRecoveryCopy> Found;
    for (const std::string &Name : DirectoryNames(RecoveryDirectory())) {
        long Pid = 0;
        int Serial = 0;
        char Tail[8] = {};
        if (std::sscanf(Name.c_str(), "untitled.%ld.%d%7s", &Pid, &Serial, Tail) != 3 ||
            std::strcmp(Tail, kCopyExt) != 0)
            continue;
        const std::string Path = RecoveryDirectory() + "/" + Name;
        TRecoveryCopy Copy;
        if (RecoveryNameClaimed(Path) || !StatOf(Path, Copy))
            continue;
        // A run still going owns its copies, unless it is this one (a copy taken over and let go).
        if (Pid != static_cast<long>(::getpid()) && ProcessAlive(Pid))
            continue;
        Found.push_back(Copy);
    }
    std::stable_sort(Found.begin(), Found.end(),
                     [](const TRecoveryCopy &A, const TRecoveryCopy &B) { return A.WrittenAt < B.WrittenAt; });
    return Found;
}

std::string ReadFileBytes(const std::string &Path)
{
    TFileReader Reader(Path);
    std::string Bytes;
    if (Reader.SizeHint() > 0)
        Bytes.reserve(static_cast<std::size_t>(Reader.SizeHint()));
    char Buf[1 << 16];
    while (const std::size_t N = Reader.Read(Buf, sizeof Buf))
        Bytes.append(Buf, N);
    return Bytes;
}

// ---- Preview files ------------------------------------------------------------------------------

TPreviewFileList::TPreviewFileList(std::string StateDir)
    : FList(std::move(StateDir) + "/previews." + std::to_string(static_cast<long>(::getpid())))
{
}

void TPreviewFileList::Add(const std::string &File)
{
    MakeDirectories(DirPart(FList));
    const int Fd = ::open(FList.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (Fd < 0)
        return;
    const std::string Line = File + "\n";
    [[maybe_unused]] const ssize_t N = ::write(Fd, Line.data(), Line.size());
    ::close(Fd);
}

void TPreviewFileList::RemoveAll()
{
    std::string Text;
    try {
        Text = ReadFileBytes(FList);
    } catch (const EFileError &) {
        return;
    }
    std::size_t From = 0;
    for (std::size_t End; (End = Text.find('\n', From)) != std::string::npos; From = End + 1) {
        const std::string File = Text.substr(From, End - From);
        if (IsPreviewName(NamePart(File)))
            ::unlink(File.c_str());
    }
    ::unlink(FList.c_str());
}

int TPreviewFileList::RemoveLeftovers(const std::string &StateDir)
{
    int Removed = 0;
    for (const std::string &Name : DirectoryNames(StateDir)) {
        long Pid = 0;
        char Rest[2] = {};
        if (std::sscanf(Name.c_str(), "previews.%ld%1s", &Pid, Rest) != 1 || ProcessAlive(Pid))
            continue;
        const std::string List = StateDir + "/" + Name;
        std::string Text;
        try {
            Text = ReadFileBytes(List);
        } catch (const EFileError &) {
            continue;
        }
        std::size_t From = 0;
        for (std::size_t End; (End = Text.find('\n', From)) != std::string::npos; From = End + 1) {
            const std::string File = Text.substr(From, End - From);
            if (IsPreviewName(NamePart(File)) && ::unlink(File.c_str()) == 0)
                ++Removed;
        }
        ::unlink(List.c_str());
    }
    return Removed;
}
