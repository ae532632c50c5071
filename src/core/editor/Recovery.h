// Recovery copies of unsaved text, without a window: where a document's copy lives, the atomic
// copy writer, finding the copies a run left behind, and TPreviewFileList, the list of a run's
// preview files kept on disk so that the next run deletes what a killed one left.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The program's state directory: $XDG_STATE_HOME/pelmar32, else ~/.local/state/pelmar32.
std::string StateDirectory();
// The copies of untitled documents, and of files whose directory cannot be written.
std::string RecoveryDirectory();
// Creates Dir and its missing parents (new ones with mode 0700); false when it cannot.
bool MakeDirectories(const std::string &Dir);

// The copy beside a document: its name with the extension of the name part replaced by ".$$$"
// ("/web/index.htm" → "/web/index.$$$"); a name part without extension gets ".$$$" appended.
std::string SideRecoveryName(const std::string &FileName);
// A file's copy kept in the recovery directory: its name part, a dot and 16 hexadecimal digits
// of a hash of the full name, then ".$$$" (Serial > 0 adds "-Serial" before ".$$$").
std::string PrivateRecoveryName(const std::string &FileName, int Serial = 0);
// An untitled document's copy: "untitled.<Pid>.<Serial>.$$$" in the recovery directory.
std::string UntitledRecoveryName(long Pid, int Serial);

// Where a document's copies go, chosen once and claimed for this run until released: beside the
// file when its directory can be written and nothing (a copy left from before, another window's
// copy) is at that name; else a free private name. Untitled documents (empty FileName) get an
// untitled name of this process.
std::string ChooseRecoveryName(const std::string &FileName);
// Claims and releases a name for this run's windows; a claimed name is not chosen again.
void ClaimRecoveryName(const std::string &Path);
void ReleaseRecoveryName(const std::string &Path);
bool RecoveryNameClaimed(const std::string &Path);

// Writes Content to Path so that Path always holds either the previous copy or the whole new
// one: a new temporary file of the same directory (created exclusively, never through a link,
// mode 0600) is written, synced and renamed over Path, so a link planted at Path is replaced,
// not followed. Owner (when not empty) is tagged on the file as the document it belongs to,
// where the file system keeps such tags. Throws EFileError; on failure nothing is left behind.
void WriteRecoveryFile(const std::string &Path, std::string_view Content, const std::string &Owner);

// A copy found on disk and the time it was last written (seconds since the epoch).
struct TRecoveryCopy {
    std::string Path;
    long long WrittenAt = 0;
};
// The copies of FileName left on disk, newest first: the side copy (unless it is tagged as
// another document's, or a window of this run claimed it) and the private ones.
std::vector<TRecoveryCopy> FindRecoveryCopies(const std::string &FileName);
// The copies of untitled documents whose run has ended (its process is gone), oldest first.
std::vector<TRecoveryCopy> FindUntitledCopies();
// The question asked about a copy: "A recovery copy of <Name> from <local date and time>
// exists.  Recover it?", the time as "2026-12-08 18:46:17".
std::string RecoveryQuestion(const std::string &Name, long long WrittenAt);
// Whether a process of that id still runs.
bool ProcessAlive(long Pid);
// The whole content of a file; throws EFileError.
std::string ReadFileBytes(const std::string &Path);

// The preview files of this run, listed one per line in "<state>/previews.<pid>" as they are
// written, so that a run that was killed leaves a list the next one works through.
class TPreviewFileList {
public:
    explicit TPreviewFileList(std::string StateDir = StateDirectory());
    const std::string &ListPath() const { return FList; }
    // Appends the name to the list (a failure is ignored: a normal end still deletes the file).
    void Add(const std::string &File);
    // Deletes the listed files and the list.
    void RemoveAll();
    // Deletes the preview files listed by runs that have ended, and their lists; returns how
    // many files were deleted. Only names of preview files ("~htm" digits ".htm") are deleted.
    static int RemoveLeftovers(const std::string &StateDir = StateDirectory());

private:
    std::string FList;
};
