// The file layer: reading, safe saving through a temporary file renamed over the target,
// backup renames, and a fault-injection hook for tests.
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

// Reads a file from the start in blocks; throws EFileError on failure.
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
class TSafeFileWriter {
public:
    // Throws EFileError when the target is read-only or the temporary file cannot be created.
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

private:
    void FlushBuffer();
    [[noreturn]] void Fail(const std::string &What, int Err);

    std::string Name, Target, Temp, Backup;
    std::string Buffer;
    int Fd = -1;
    bool TargetExists = false;
    unsigned TargetMode = 0;
    bool Done = false;
};

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
