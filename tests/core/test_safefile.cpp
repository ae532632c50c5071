// Safe saving: content, permissions, links, backups, and that every failure leaves the old file.
#include "core/editor/SafeFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char Templ[] = "/tmp/pelmar-safefile-XXXXXX";
        ASSERT_NE(::mkdtemp(Templ), nullptr);
        Dir = Templ;
        // The private copies of in-place saves go to a cache directory of the test's own, which
        // an unprivileged user may write too.
        char CacheTempl[] = "/tmp/pelmar-cache-XXXXXX";
        ASSERT_NE(::mkdtemp(CacheTempl), nullptr);
        Cache = CacheTempl;
        ::chmod(Cache.c_str(), 01777);
        if (const char *Old = std::getenv("XDG_CACHE_HOME"))
            OldCache = Old;
        ::setenv("XDG_CACHE_HOME", Cache.c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code Ec;
        fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add, Ec);
        fs::remove_all(Dir, Ec);
        fs::remove_all(Cache, Ec);
        if (OldCache.empty())
            ::unsetenv("XDG_CACHE_HOME");
        else
            ::setenv("XDG_CACHE_HOME", OldCache.c_str(), 1);
    }
    // The private copies left in the cache directory.
    std::size_t CopiesLeft() const
    {
        std::error_code Ec;
        std::size_t N = 0;
        for (const auto &E : fs::recursive_directory_iterator(Cache, Ec))
            N += E.is_regular_file();
        return N;
    }

    std::string Path(const std::string &Name) const { return Dir + "/" + Name; }

    static void Put(const std::string &File, const std::string &Bytes)
    {
        std::ofstream(File, std::ios::binary) << Bytes;
    }
    static std::string Get(const std::string &File)
    {
        std::ifstream In(File, std::ios::binary);
        std::ostringstream S;
        S << In.rdbuf();
        return S.str();
    }
    // The names in the directory, sorted.
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> Names;
        for (const auto &E : fs::directory_iterator(Dir))
            Names.push_back(E.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }
    static unsigned Mode(const std::string &File)
    {
        struct stat St;
        EXPECT_EQ(::stat(File.c_str(), &St), 0);
        return St.st_mode & 07777;
    }

    std::string Dir, Cache, OldCache;
};

// Runs Fn as an unprivileged user (a forked child when we are root, since root may write
// anywhere) and returns its exit code.
int RunUnprivileged(const std::function<int()> &Fn)
{
    if (::geteuid() != 0)
        return Fn();
    const pid_t Pid = ::fork();
    if (Pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(99);
        ::_exit(Fn());
    }
    int Status = 0;
    ::waitpid(Pid, &Status, 0);
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : 98;
}

// 0 when saving throws EFileError naming the file with errno EACCES, else a reason code.
int SaveExpectingAccessError(const std::string &File)
{
    try {
        SaveFileSafely(File, "new content\r\n");
        return 1;
    } catch (const EFileError &E) {
        if (std::string(E.what()).find(File) == std::string::npos)
            return 2;
        return E.ErrorNumber() == EACCES ? 0 : 3;
    } catch (...) {
        return 4;
    }
}

} // namespace

TEST_F(SafeFileTest, WritesNewAndExistingFilesKeepingPermissions)
{
    const std::string F = Path("new.htm");
    SaveFileSafely(F, std::string("a\0b\r\n", 5));
    EXPECT_EQ(Get(F), std::string("a\0b\r\n", 5));
    const mode_t Mask = ::umask(0);
    ::umask(Mask);
    EXPECT_EQ(Mode(F), 0666u & ~Mask);

    ::chmod(F.c_str(), 0640);
    std::string Big(300000, 'x'); // several buffer loads
    for (std::size_t I = 0; I < Big.size(); I += 7)
        Big[I] = static_cast<char>(I % 251);
    SaveFileSafely(F, Big);
    EXPECT_EQ(Get(F), Big);
    EXPECT_EQ(Mode(F), 0640u);

    SaveFileSafely(F, "");
    EXPECT_EQ(fs::file_size(F), 0u);
    EXPECT_EQ(Listing(), std::vector<std::string>{"new.htm"});

    // Writing in pieces through the writer gives the same bytes as one piece.
    {
        TSafeFileWriter W(F);
        for (int I = 0; I < 1000; ++I)
            W.Write(std::string(I % 97, static_cast<char>('a' + I % 26)));
        W.Commit();
        EXPECT_EQ(W.TargetPath(), F);
    }
    std::string Expected;
    for (int I = 0; I < 1000; ++I)
        Expected += std::string(I % 97, static_cast<char>('a' + I % 26));
    EXPECT_EQ(Get(F), Expected);
}

TEST_F(SafeFileTest, SavesThroughSymbolicLinks)
{
    fs::create_directory(Path("real"));
    Put(Path("real/page.htm"), "old");
    ::chmod(Path("real/page.htm").c_str(), 0600);
    fs::create_symlink("real/page.htm", Path("link.htm"));      // relative to the link's directory
    fs::create_symlink(Path("link.htm"), Path("link2.htm"));    // a chain, absolute
    SaveFileSafely(Path("link2.htm"), "new");
    EXPECT_TRUE(fs::is_symlink(Path("link.htm")));
    EXPECT_TRUE(fs::is_symlink(Path("link2.htm")));
    EXPECT_EQ(Get(Path("real/page.htm")), "new");
    EXPECT_EQ(Mode(Path("real/page.htm")), 0600u);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"link.htm", "link2.htm", "real"}));

    // A dangling link creates the file it names.
    fs::create_symlink("real/later.htm", Path("dangling.htm"));
    SaveFileSafely(Path("dangling.htm"), "made");
    EXPECT_TRUE(fs::is_symlink(Path("dangling.htm")));
    EXPECT_EQ(Get(Path("real/later.htm")), "made");

    // A loop of links is an error, and nothing is written.
    fs::create_symlink(Path("loopB"), Path("loopA"));
    fs::create_symlink(Path("loopA"), Path("loopB"));
    EXPECT_THROW(SaveFileSafely(Path("loopA"), "x"), EFileError);
}

TEST_F(SafeFileTest, InjectedFaultsLeaveTheOldFileAndNoTemporary)
{
    const std::string F = Path("index.htm");
    const std::string Old = "<HTML>\r\nold text\r\n</HTML>\r\n";
    const std::string New(200000, 'n');
    for (TFileOp Op : {TFileOp::Create, TFileOp::Write, TFileOp::Sync, TFileOp::Close, TFileOp::Rename}) {
        Put(F, Old);
        int Calls = 0;
        // Writes fail on their second call, so part of the file has been written already.
        TFileFaultScope Faults([&](TFileOp O, const std::string &) {
            if (O != Op)
                return 0;
            return ++Calls >= (Op == TFileOp::Write ? 2 : 1) ? ENOSPC : 0;
        });
        try {
            SaveFileSafely(F, New);
            ADD_FAILURE() << "no error for op " << static_cast<int>(Op);
        } catch (const EFileError &E) {
            EXPECT_EQ(E.ErrorNumber(), ENOSPC);
            EXPECT_EQ(E.FileName(), F);
            EXPECT_NE(std::string(E.what()).find("Cannot save file \"" + F + "\""), std::string::npos) << E.what();
            EXPECT_NE(std::string(E.what()).find("No space left on device"), std::string::npos) << E.what();
        }
        EXPECT_GT(Calls, 0);
        EXPECT_EQ(Get(F), Old);
        EXPECT_EQ(Listing(), std::vector<std::string>{"index.htm"}) << static_cast<int>(Op);
    }
    // Without faults the same save succeeds.
    SaveFileSafely(F, New);
    EXPECT_EQ(Get(F), New);

    // A writer dropped before Commit removes its temporary file.
    {
        TSafeFileWriter W(F);
        W.Write("partial");
        EXPECT_TRUE(fs::exists(W.TempPath()));
    }
    EXPECT_EQ(Get(F), New);
    EXPECT_EQ(Listing(), std::vector<std::string>{"index.htm"});
}

TEST_F(SafeFileTest, UnwritableDirectoryAndReadOnlyFile)
{
    fs::create_directory(Path("locked"));
    const std::string F = Path("locked/page.htm");
    Put(F, "original\r\n");
    ::chmod(F.c_str(), 0666); // the file itself may be written, its directory may not: in place
    ::chmod(Path("locked").c_str(), 0555);
    ::chmod(Dir.c_str(), 0755);
    EXPECT_EQ(RunUnprivileged([&] {
                  try {
                      TSafeFileWriter W(F);
                      W.Write("new content\r\n");
                      W.Commit();
                      return W.InPlace() ? 0 : 1;
                  } catch (...) {
                      return 2;
                  }
              }),
              0);
    EXPECT_EQ(Get(F), "new content\r\n");
    EXPECT_EQ(Mode(F), 0666u);
    std::vector<std::string> Names;
    for (const auto &E : fs::directory_iterator(Path("locked")))
        Names.push_back(E.path().filename().string());
    EXPECT_EQ(Names, std::vector<std::string>{"page.htm"});
    EXPECT_EQ(CopiesLeft(), 0u);
    // A new file cannot be made there.
    EXPECT_EQ(RunUnprivileged([&] { return SaveExpectingAccessError(Path("locked/new.htm")); }), 0);

    // A read-only file in a writable directory is not replaced either.
    ::chmod(Path("locked").c_str(), 0777);
    ::chmod(F.c_str(), 0444);
    EXPECT_EQ(RunUnprivileged([&] { return SaveExpectingAccessError(F); }), 0);
    EXPECT_EQ(Get(F), "new content\r\n");
    EXPECT_EQ(Mode(F), 0444u);

    // A missing directory and a directory as target fail cleanly too.
    EXPECT_THROW(SaveFileSafely(Path("nowhere/x.htm"), "x"), EFileError);
    EXPECT_FALSE(fs::exists(Path("nowhere")));
    EXPECT_THROW(SaveFileSafely(Path("locked"), "x"), EFileError);
    EXPECT_THROW(SaveFileSafely("", "x"), EFileError);
}

TEST_F(SafeFileTest, BackupKeepsTheOldFile)
{
    EXPECT_EQ(BackupFileName("INDEX.HTM", "BAK"), "INDEX.BAK");
    EXPECT_EQ(BackupFileName("/a.b/README", "BAK"), "/a.b/README.BAK");
    EXPECT_EQ(BackupFileName("/x/.profile", "BAK"), "/x/.profile.BAK");
    EXPECT_EQ(BackupFileName("page.tar.htm", "BACKUP"), "page.tar.BAC");

    const std::string F = Path("INDEX.HTM"), B = Path("INDEX.BAK");
    Put(F, "version 1");
    Put(B, "ancient");
    SaveFileSafely(F, "version 2", BackupFileName(F, "BAK"));
    EXPECT_EQ(Get(F), "version 2");
    EXPECT_EQ(Get(B), "version 1");
    // The backup is a file of its own: the next save does not change it through the target.
    SaveFileSafely(F, "version 3");
    EXPECT_EQ(Get(B), "version 1");

    // No backup of a file that does not exist yet, nor one under the file's own name.
    SaveFileSafely(Path("fresh.htm"), "x", BackupFileName(Path("fresh.htm"), "BAK"));
    EXPECT_FALSE(fs::exists(Path("fresh.BAK")));
    Put(Path("same.BAK"), "s1");
    SaveFileSafely(Path("same.BAK"), "s2", BackupFileName(Path("same.BAK"), "BAK"));
    EXPECT_EQ(Get(Path("same.BAK")), "s2");

    // When the final rename fails, the target is as before, the older backup is kept and no
    // temporary name is left.
    {
        TFileFaultScope Faults([&](TFileOp O, const std::string &P) {
            return O == TFileOp::Rename && P.find(".INDEX.HTM.~") != std::string::npos ? EIO : 0;
        });
        EXPECT_THROW(SaveFileSafely(F, "version 4", B), EFileError);
    }
    EXPECT_EQ(Get(F), "version 3");
    EXPECT_EQ(Get(B), "version 1");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"INDEX.BAK", "INDEX.HTM", "fresh.htm", "same.BAK"}));

    // When only the backup cannot take its name, the save still stands and the older backup
    // stays; nothing is left under a temporary name.
    {
        TFileFaultScope Faults([&](TFileOp O, const std::string &P) {
            return O == TFileOp::Rename && P.find(".INDEX.BAK.~") != std::string::npos ? EIO : 0;
        });
        SaveFileSafely(F, "version 5", B);
    }
    EXPECT_EQ(Get(F), "version 5");
    EXPECT_EQ(Get(B), "version 1");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"INDEX.BAK", "INDEX.HTM", "fresh.htm", "same.BAK"}));

    // The next save makes its backup as usual.
    SaveFileSafely(F, "version 6", B);
    EXPECT_EQ(Get(F), "version 6");
    EXPECT_EQ(Get(B), "version 5");
}

TEST_F(SafeFileTest, ReaderErrorsNameTheFile)
{
    try {
        TFileReader R(Path("missing.htm"));
        FAIL() << "opened a missing file";
    } catch (const EFileError &E) {
        EXPECT_EQ(E.ErrorNumber(), ENOENT);
        EXPECT_EQ(std::string(E.what()), "Cannot open file \"" + Path("missing.htm") + "\": No such file or directory");
    }
    EXPECT_THROW(TFileReader R(Dir), EFileError);

    Put(Path("r.txt"), "0123456789");
    TFileReader R(Path("r.txt"));
    EXPECT_EQ(R.SizeHint(), 10);
    char Buf[4];
    EXPECT_EQ(R.Read(Buf, 4), 4u);
    EXPECT_EQ(std::string(Buf, 4), "0123");
    {
        TFileFaultScope Faults([](TFileOp O, const std::string &) { return O == TFileOp::Read ? EIO : 0; });
        EXPECT_THROW(R.Read(Buf, 4), EFileError);
    }
    EXPECT_EQ(R.Read(Buf, 4), 4u);
    EXPECT_EQ(R.Read(Buf, 4), 2u);
    EXPECT_EQ(R.Read(Buf, 4), 0u);
}

TEST_F(SafeFileTest, InPlaceForHardLinksAndUnwritableDirectoriesWithTheOldContentKeptOnFaults)
{
    // A file with two names: both see the new text, the inode and permissions stay.
    const std::string F = Path("page.htm"), Other = Path("other-name.htm");
    const std::string Old(150000, 'o');
    Put(F, Old);
    ::chmod(F.c_str(), 0604);
    fs::create_hard_link(F, Other);
    const auto Inode = [](const std::string &P) {
        struct stat St;
        ::stat(P.c_str(), &St);
        return St.st_ino;
    };
    const auto Before = Inode(F);
    {
        TSafeFileWriter W(F);
        EXPECT_TRUE(W.InPlace());
        EXPECT_TRUE(fs::exists(W.CopyPath()));
        EXPECT_EQ(W.CopyPath().rfind(Cache + "/pelmar32/", 0), 0u) << W.CopyPath();
        W.Write("short new text");
        W.Commit();
    }
    EXPECT_EQ(Get(F), "short new text");
    EXPECT_EQ(Get(Other), "short new text");
    EXPECT_EQ(Inode(F), Before);
    EXPECT_EQ(Mode(F), 0604u);
    EXPECT_EQ(CopiesLeft(), 0u);

    // Faults on every step of the in-place path: the copy (made, written, synced), the file
    // (opened, written, truncated and synced). Each leaves the old bytes and reports the error.
    const std::string Longer(300000, 'n');
    struct TCase {
        TFileOp Op;
        bool OnCopy;
    };
    for (const TCase C : {TCase{TFileOp::Create, true}, TCase{TFileOp::Write, true}, TCase{TFileOp::Sync, true},
                          TCase{TFileOp::Open, false}, TCase{TFileOp::Write, false},
                          TCase{TFileOp::Sync, false}, TCase{TFileOp::Close, false}}) {
        Put(F, Old);
        int Calls = 0;
        TFileFaultScope Faults([&](TFileOp O, const std::string &P) {
            const bool IsCopy = P.rfind(Cache, 0) == 0;
            if (O != C.Op || IsCopy != C.OnCopy || (!IsCopy && P != F))
                return 0;
            // Writes to the file fail on their third call, when part of the new text is in it; the
            // file is opened once to be copied, then to be written.
            const int At = IsCopy ? 1 : O == TFileOp::Write ? 3 : O == TFileOp::Open ? 2 : 1;
            return ++Calls >= At ? ENOSPC : 0;
        });
        try {
            SaveFileSafely(F, Longer);
            ADD_FAILURE() << "no error for op " << static_cast<int>(C.Op) << " copy " << C.OnCopy;
        } catch (const EFileError &E) {
            EXPECT_EQ(E.ErrorNumber(), ENOSPC);
            EXPECT_NE(std::string(E.what()).find("No space left on device"), std::string::npos) << E.what();
            if (C.OnCopy)
                EXPECT_NE(std::string(E.what()).find("cannot keep a copy of its old content"), std::string::npos);
        }
        EXPECT_GT(Calls, 0);
        EXPECT_TRUE(Get(F) == Old) << static_cast<int>(C.Op) << " " << C.OnCopy;
        EXPECT_TRUE(Get(Other) == Old);
        EXPECT_EQ(CopiesLeft(), 0u);
    }

    // A directory that cannot take a temporary file (here refused by the fault hook, as it is
    // for an ordinary user) is written in place too; a missing file there is not made.
    {
        TFileFaultScope Faults([&](TFileOp O, const std::string &P) {
            return O == TFileOp::Create && P.rfind(Dir + "/.", 0) == 0 ? EACCES : 0;
        });
        fs::remove(Other);
        SaveFileSafely(F, "in place");
        EXPECT_THROW(SaveFileSafely(Path("absent.htm"), "x"), EFileError);
    }
    EXPECT_EQ(Get(F), "in place");
    EXPECT_EQ(Inode(F), Before);
    EXPECT_FALSE(fs::exists(Path("absent.htm")));

    // A backup of a file written in place is a copy of its own.
    fs::create_hard_link(F, Other);
    SaveFileSafely(F, "after backup", BackupFileName(F, "BAK"));
    EXPECT_EQ(Get(Path("page.BAK")), "in place");
    EXPECT_EQ(Get(Other), "after backup");
    EXPECT_NE(Inode(Path("page.BAK")), Before);
}

TEST_F(SafeFileTest, LeftoversOfKilledSavesAreRemovedWhenTheirProcessIsGone)
{
    const std::string F = Path("index.htm");
    Put(F, "text");
    // A process that is gone, and this (live) one, each left a temporary file of a save.
    const pid_t Gone = ::fork();
    if (Gone == 0)
        ::_exit(0);
    ::waitpid(Gone, nullptr, 0);
    const std::string Dead = Path(".index.htm.~pelmar-" + std::to_string(Gone) + "-abcdefgh");
    const std::string Live = Path(".index.htm.~pelmar-" + std::to_string(::getppid()) + "-abcdefgh");
    const std::string OtherFile = Path(".about.htm.~pelmar-" + std::to_string(Gone) + "-abcdefgh");
    const std::string Unrelated = Path(".index.htm.~notours");
    for (const std::string &P : {Dead, Live, OtherFile, Unrelated})
        Put(P, std::string(1000, 'x'));
    // A save's own temporary file carries the mark and the saving process's id.
    {
        TSafeFileWriter W(F);
        EXPECT_EQ(W.TempPath().rfind(Path(".index.htm.~pelmar-" + std::to_string(::getpid()) + "-"), 0), 0u)
            << W.TempPath();
    }
    RemoveStaleSaveFiles(F);
    EXPECT_FALSE(fs::exists(Dead));
    EXPECT_TRUE(fs::exists(Live));
    EXPECT_TRUE(fs::exists(OtherFile));
    EXPECT_TRUE(fs::exists(Unrelated));
    // Saving the file cleans up as well, also through a symbolic link to it.
    Put(Dead, "again");
    fs::create_symlink("index.htm", Path("link.htm"));
    SaveFileSafely(Path("link.htm"), "saved");
    EXPECT_FALSE(fs::exists(Dead));
    EXPECT_EQ(Get(F), "saved");
}
