// Recovery copies without a window: their names, the atomic writer under every fault and over a
// planted link, finding the copies a run left, and the preview file list of killed runs.
#include "core/editor/Recovery.h"
#include "core/editor/SafeFile.h"

#include "../shared/FileFaults.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

std::string Slurp(const std::string &Path)
{
    std::ifstream in(Path, std::ios::binary);
    if (!in)
        return "<missing>";
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const std::string &Path, const std::string &Bytes)
{
    std::ofstream(Path, std::ios::binary) << Bytes;
}

bool Exists(const std::string &Path)
{
    struct stat st;
    return ::lstat(Path.c_str(), &st) == 0;
}

// The id of a process that has ended.
long DeadPid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return long(child);
}

int FilesIn(const std::string &Dir)
{
    int n = 0;
    if (DIR *d = ::opendir(Dir.c_str())) {
        while (const dirent *e = ::readdir(d))
            n += e->d_name[0] != '.' || (e->d_name[1] != '\0' && e->d_name[1] != '.');
        ::closedir(d);
    }
    return n;
}

class RecoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/pelmar-recovery-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
        const char *old = std::getenv("XDG_STATE_HOME");
        oldState = old ? old : "";
        hadState = old != nullptr;
        ::setenv("XDG_STATE_HOME", (dir + "/state").c_str(), 1);
        ::mkdir((dir + "/docs").c_str(), 0700);
    }
    void TearDown() override
    {
        if (hadState)
            ::setenv("XDG_STATE_HOME", oldState.c_str(), 1);
        else
            ::unsetenv("XDG_STATE_HOME");
        [[maybe_unused]] const int rc = std::system(("rm -rf '" + dir + "'").c_str());
    }

    std::string dir, oldState;
    bool hadState = false;
};

} // namespace

TEST_F(RecoveryTest, NamesBesideTheDocumentAndInTheStateDirectory)
{
    EXPECT_EQ(SideRecoveryName("/web/index.htm"), "/web/index.$$$");
    EXPECT_EQ(SideRecoveryName("/web/archive.tar.gz"), "/web/archive.tar.$$$");
    EXPECT_EQ(SideRecoveryName("/web.site/README"), "/web.site/README.$$$");
    EXPECT_EQ(SideRecoveryName("page"), "page.$$$");
    EXPECT_EQ(StateDirectory(), dir + "/state/pelmar32");
    EXPECT_EQ(RecoveryDirectory(), dir + "/state/pelmar32/recovery");

    // The private name is the same for the same file in every run and differs between files of
    // the same name part.
    const std::string a = PrivateRecoveryName("/one/index.htm"), b = PrivateRecoveryName("/two/index.htm");
    EXPECT_EQ(a, PrivateRecoveryName("/one/index.htm"));
    EXPECT_NE(a, b);
    EXPECT_EQ(a.rfind(RecoveryDirectory() + "/index.htm.", 0), 0u) << a;
    EXPECT_NE(PrivateRecoveryName("/one/index.htm", 2), a);
    EXPECT_EQ(UntitledRecoveryName(42, 3), RecoveryDirectory() + "/untitled.42.3.$$$");

    ::unsetenv("XDG_STATE_HOME");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    if (!home.empty()) {
        EXPECT_EQ(StateDirectory(), home + "/.local/state/pelmar32");
    }
}

TEST_F(RecoveryTest, ChoosingANameNeverTakesAnotherWindowsOrAKeptCopy)
{
    const std::string index = dir + "/docs/index.htm", indexHtml = dir + "/docs/index.html";
    const std::string first = ChooseRecoveryName(index);
    EXPECT_EQ(first, dir + "/docs/index.$$$");
    EXPECT_TRUE(RecoveryNameClaimed(first));
    // index.html would have the same name beside it: it goes to the state directory instead.
    const std::string second = ChooseRecoveryName(indexHtml);
    EXPECT_EQ(second, PrivateRecoveryName(indexHtml));
    ReleaseRecoveryName(first);
    ReleaseRecoveryName(second);

    // A copy left from before (kept by the user) is not overwritten by a new one.
    Put(dir + "/docs/index.$$$", "kept");
    const std::string third = ChooseRecoveryName(index);
    EXPECT_EQ(third, PrivateRecoveryName(index));
    WriteRecoveryFile(third, "private", index);
    ReleaseRecoveryName(third);
    const std::string fourth = ChooseRecoveryName(index);
    EXPECT_EQ(fourth, PrivateRecoveryName(index, 1));
    ReleaseRecoveryName(fourth);

    const std::string u1 = ChooseRecoveryName(""), u2 = ChooseRecoveryName("");
    EXPECT_NE(u1, u2);
    EXPECT_EQ(u1.rfind(RecoveryDirectory() + "/untitled." + std::to_string(::getpid()) + ".", 0), 0u) << u1;
    ReleaseRecoveryName(u1);
    ReleaseRecoveryName(u2);
}

TEST_F(RecoveryTest, WriterIsAtomicPrivateAndNeverFollowsALink)
{
    const std::string copy = dir + "/docs/page.$$$";
    WriteRecoveryFile(copy, "first\r\n", dir + "/docs/page.htm");
    EXPECT_EQ(Slurp(copy), "first\r\n");
    struct stat st;
    ASSERT_EQ(::stat(copy.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A link planted at the name is replaced by the copy; what it pointed at keeps its bytes.
    const std::string victim = dir + "/victim";
    Put(victim, "victim");
    ::unlink(copy.c_str());
    ASSERT_EQ(::symlink(victim.c_str(), copy.c_str()), 0);
    WriteRecoveryFile(copy, "second", "");
    EXPECT_EQ(Slurp(victim), "victim");
    ASSERT_EQ(::lstat(copy.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(Slurp(copy), "second");

    // Copies of untitled documents create the state directories they need.
    const std::string untitled = UntitledRecoveryName(7, 1);
    WriteRecoveryFile(untitled, "untitled text", "");
    EXPECT_EQ(Slurp(untitled), "untitled text");
    ASSERT_EQ(::stat(RecoveryDirectory().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Every step that fails leaves the previous copy whole and no temporary file behind.
    for (const TFileOp op : {TFileOp::Create, TFileOp::Write, TFileOp::Sync, TFileOp::Rename}) {
        SCOPED_TRACE(int(op));
        TFileFaultScope fault([op](TFileOp Op, const std::string &) { return Op == op ? EIO : 0; });
        EXPECT_THROW(WriteRecoveryFile(copy, "third, lost", ""), EFileError);
        EXPECT_EQ(Slurp(copy), "second");
        EXPECT_EQ(FilesIn(dir + "/docs"), 1);
    }
    // A write cut short by the file size limit fails the same way.
    {
        TFileSizeLimit limit(3);
        EXPECT_THROW(WriteRecoveryFile(copy, "third, cut short", ""), EFileError);
    }
    EXPECT_EQ(Slurp(copy), "second");
    EXPECT_EQ(FilesIn(dir + "/docs"), 1);
}

TEST_F(RecoveryTest, FindingTheCopiesOfAFileAndOfEndedRuns)
{
    const std::string page = dir + "/docs/page.htm";
    EXPECT_TRUE(FindRecoveryCopies(page).empty());
    WriteRecoveryFile(dir + "/docs/page.$$$", "beside", page);
    WriteRecoveryFile(PrivateRecoveryName(page), "private", page);
    WriteRecoveryFile(PrivateRecoveryName(dir + "/docs/other.htm"), "other file", "");
    // The older one comes second.
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, PrivateRecoveryName(page).c_str(), old, 0);
    std::vector<TRecoveryCopy> found = FindRecoveryCopies(page);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Path, dir + "/docs/page.$$$");
    EXPECT_EQ(found[1].Path, PrivateRecoveryName(page));
    EXPECT_EQ(found[1].WrittenAt, 1000000000);

    // A copy a window of this run writes is not offered to another window.
    ClaimRecoveryName(dir + "/docs/page.$$$");
    EXPECT_EQ(FindRecoveryCopies(page).size(), 1u);
    ReleaseRecoveryName(dir + "/docs/page.$$$");

    // page.html's copy beside it carries its owner: opening page.htm does not offer it.
    const std::string pageHtml = dir + "/docs/page.html";
    WriteRecoveryFile(dir + "/docs/page.$$$", "of page.html", pageHtml);
    char tag[8];
    if (::getxattr((dir + "/docs/page.$$$").c_str(), "user.pelmar32.document", tag, sizeof tag) > 0 ||
        errno == ERANGE) {
        EXPECT_EQ(FindRecoveryCopies(page).size(), 1u);
        EXPECT_EQ(FindRecoveryCopies(pageHtml).size(), 1u);
    }

    // Untitled copies: those of ended runs and this run's are offered, a running one's are not.
    const long dead = DeadPid();
    WriteRecoveryFile(UntitledRecoveryName(dead, 1), "dead run", "");
    WriteRecoveryFile(UntitledRecoveryName(long(::getppid()), 1), "running", "");
    WriteRecoveryFile(RecoveryDirectory() + "/untitled.x.1.$$$", "not ours", "");
    found = FindUntitledCopies();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Path, UntitledRecoveryName(dead, 1));
    EXPECT_EQ(ReadFileBytes(found[0].Path), "dead run");
    EXPECT_TRUE(ProcessAlive(long(::getpid())));
    EXPECT_FALSE(ProcessAlive(dead));
}

TEST_F(RecoveryTest, PreviewFilesOfKilledRunsAreDeletedAtTheNextStart)
{
    const std::string state = StateDirectory();
    const std::string preview = dir + "/docs/~htm0001.htm", other = dir + "/docs/index.htm";
    Put(preview, "p");
    Put(other, "keep");
    // This run's list: deleted with its files at a normal end, left alone by RemoveLeftovers.
    TPreviewFileList mine;
    EXPECT_EQ(mine.ListPath(), state + "/previews." + std::to_string(::getpid()));
    mine.Add(preview);
    EXPECT_EQ(TPreviewFileList::RemoveLeftovers(), 0);
    EXPECT_TRUE(Exists(preview));
    mine.RemoveAll();
    EXPECT_FALSE(Exists(preview));
    EXPECT_FALSE(Exists(mine.ListPath()));

    // A killed run's list: its preview files go; a name that is no preview file is never deleted.
    Put(preview, "p");
    const std::string killed = state + "/previews." + std::to_string(DeadPid());
    Put(killed, preview + "\n" + other + "\n" + dir + "/docs/~htm0002.htm\n");
    const std::string running = state + "/previews." + std::to_string(::getppid());
    Put(running, preview + "\n");
    EXPECT_EQ(TPreviewFileList::RemoveLeftovers(), 1);
    EXPECT_FALSE(Exists(preview));
    EXPECT_EQ(Slurp(other), "keep");
    EXPECT_FALSE(Exists(killed));
    EXPECT_TRUE(Exists(running));
}

TEST(RecoveryQuestionText, NamesTheFileAndTheLocalTime)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(RecoveryQuestion("/web/index.htm", 1796755577),
              "A recovery copy of /web/index.htm from 2026-12-08 18:46:17 exists.  Recover it?");
}
