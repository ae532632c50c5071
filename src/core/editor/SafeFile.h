// TSafeFileWriter: the file layer: reading, safe saving through a temporary file renamed over the
// target (or in place after a private copy of the old content, where renaming cannot work),
// backups, leftovers of killed saves, and a fault-injection hook for tests.
#pragma once

#include "core/editor/EditorErrors.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The operations of the file layer, as seen by the fault hook.
enum class TFileOp { Open, Read, Create, Write, Sync, Close, Rename, Remove };

// Test hook: called before each file-layer operation with the path it works on; a non-zero
// result makes that operation fail with that errno value. Empty: no faults.
using TFileFaultHook = std::function<int(TFileOp Op, const std::string &Path)>;
void SetFileFaultHook(TFileFaultHook Hook);
// The errno value the installed hook wants Op on Path to fail with, or 0: writers of their own
// (the settings file, the preview file) ask it at the same points as this layer does.
int InjectedFileFault(TFileOp Op, const std::string &Path);

// Installs a fault hook for its lifetime and restores the previous one.
class TFileFaultScope {
public:
    explicit TFileFaultScope(TFileFaultHook Hook);
    ~TFileFaultScope();
    TFileFaultScope(const TFileFaultScope &) = delete;
    TFileFaultScope &operator=(const TFileFaultScope &) = delete;

private:
    TFileFaultHook Previous;
};

// A failed file operation; the message names the file and the cause.
class EFileError : public EEdException {
public:
    EFileError(const std::string &Message, std::string FileName, int ErrorNumber);
    const std::string &FileName() const { return Name; }
    int ErrorNumber() const { return Errno; }

private:
    std::string Name;
    int Errno;
};

// Reads a regular file from the start in blocks; throws EFileError on failure, whose message
// names the cause (no read permission, not a regular file, the system's message).
class TFileReader {
public:
    explicit TFileReader(const std::string &FileName);
    ~TFileReader();
    TFileReader(const TFileReader &) = delete;
    TFileReader &operator=(const TFileReader &) = delete;

    // Fills up to Size bytes; 0 at the end of the file.
    std::size_t Read(char *Buffer, std::size_t Size);
    // The size the file had when it was opened (a hint for reserving).
    long long SizeHint() const { return FileSize; }
    const std::string &FileName() const { return Name; }

private:
    std::string Name;
    int Fd = -1;
    long long FileSize = 0;
};

// Writes a new content for a file so that the old content survives any failure: the bytes go
// to a temporary file in the target's directory, which Commit syncs and renames over the target
// (a symbolic link is followed to the file it points at; the target's permission bits are kept).
// Destroying an uncommitted writer removes the temporary file.
// Where renaming cannot work (a directory the user may not write, a file with more than one hard
// link) the file is written in place: the old content is first copied to a private file in the
// user's cache directory, put back when anything fails, and removed after success.
class TSafeFileWriter {
public:
    // Throws EFileError when the target is read-only, or neither a temporary file nor the
    // private copy can be made.
    explicit TSafeFileWriter(const std::string &FileName);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter &) = delete;
    TSafeFileWriter &operator=(const TSafeFileWriter &) = delete;

    // Buffered; throws EFileError.
    void Write(std::string_view Bytes);
    // Before the rename, keep the existing target under this name (an older file of that name
    // is deleted first). Empty or equal to the target: no backup.
    void SetBackupName(std::string BackupName) { Backup = std::move(BackupName); }
    // Flushes, syncs, closes and renames over the target; throws EFileError (target untouched).
    void Commit();
    // Drops the temporary file; the target stays as it was.
    void Abort() noexcept;

    const std::string &FileName() const { return Name; }     // as given
    const std::string &TargetPath() const { return Target; } // the file actually replaced
    const std::string &TempPath() const { return Temp; }
    // True when the target is written in place; CopyPath is then the private copy of its old content.
    bool InPlace() const { return Place; }
    const std::string &CopyPath() const { return Copy; }

private:
    void FlushBuffer();
    void SyncAndClose(const std::string &Path, int Err);
    void KeepOldContent();
    void StartInPlace();
    // Puts the old content back after a failed in-place write; the reason it could not, or empty.
    std::string RestoreOldContent() noexcept;
    [[noreturn]] void Fail(const std::string &What, int Err);

    std::string Name, Target, Temp, Backup, Copy;
    std::string Buffer;
    int Fd = -1;
    bool TargetExists = false;
    unsigned TargetMode = 0;
    bool Place = false;     // writing in place
    bool Touched = false;   // the target's bytes have been changed (in place)
    long long Written = 0;  // bytes written to the target (in place)
    std::string RestoreError; // why the old content could not be put back, after a failure
    bool Done = false;
};

// The directory of the private copies of in-place saves: $XDG_CACHE_HOME (default ~/.cache)
// + "/pelmar32"; made (owner only) when missing.
std::string PrivateCacheDirectory();
// Removes the temporary files that killed saves of FileName (or the file its links lead to) left
// in its directory, when the process that made them is gone. Errors are ignored.
void RemoveStaleSaveFiles(const std::string &FileName);

// Writes the whole content safely (TSafeFileWriter); throws EFileError.
void SaveFileSafely(const std::string &FileName, std::string_view Content,
                    const std::string &BackupName = std::string());

// What tells a file's content apart on disk without reading it: which file it is (device and
// inode), its size and the time of its last change. Missing files have Exists false.
struct TFileStamp {
    bool Exists = false;
    unsigned long long Device = 0, Inode = 0;
    long long Size = 0;
    long long ModifiedNs = 0;
    bool operator==(const TFileStamp &) const = default;
};
// The stamp of the file a name leads to (symbolic links followed).
TFileStamp FileStampOf(const std::string &FileName);

// The file name with its extension replaced by "." + BackupExt ("INDEX.HTM", "BAK" → "INDEX.BAK");
// a name without extension gets it appended.
std::string BackupFileName(const std::string &FileName, const std::string &BackupExt);
