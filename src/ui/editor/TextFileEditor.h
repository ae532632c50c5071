// TEdCustomTextFileEditor: the editor control with a file name, loading, saving and inserting of
// plain text files (one paragraph per line).
#pragma once

#include "core/editor/SafeFile.h"
#include "core/editor/TextFileIO.h"
#include "ui/editor/EditorWidget.h"

#include <QString>

#include <optional>

#include <string>

class TEdCustomTextFileEditor : public TEdCustomEditor {
    Q_OBJECT
public:
    explicit TEdCustomTextFileEditor(QWidget *Parent = nullptr);
    ~TEdCustomTextFileEditor() override;

    // --- Properties.
    // The extension given to the backup of a saved file (at most 3 characters kept).
    const std::string &BackupExt() const { return FBackupExt; }
    void SetBackupExt(const std::string &Value);
    const QString &FileName() const { return FFileName; }
    // When Value differs from the current name (file names are case-sensitive here): IsOpen is
    // cleared without touching the text and the name is stored with one trailing "." removed.
    void SetFileName(const QString &Value);
    bool IsOpen() const { return FIsOpen; }
    // Nothing when unchanged or FileName is empty. true loads FileName (errors are raised and
    // leave IsOpen false); false clears the text.
    void SetIsOpen(bool Value);
    bool MakeBackup() const { return FMakeBackup; }
    void SetMakeBackup(bool Value) { FMakeBackup = Value; }
    // The encoding a file of pure ASCII without a charset declaration is read in (the preference
    // for new documents); every other file's encoding is decided from its bytes when it is read.
    TTextEncoding NewDocumentEncoding() const { return FNewDocEncoding; }
    void SetNewDocumentEncoding(TTextEncoding Value) { FNewDocEncoding = Value; }
    // The document's encoding (its text store's).
    TTextEncoding Encoding() const { return ParaList().Encoding(); }

    // --- Files. Errors are raised (EFileError for the file layer, EEditorError when the text
    // store's limits refuse the text); the caller shows them through the standard error report.
    // Reads a DOS text (CR LF, CR or LF ends a line) into a new text; FileName becomes Name with
    // one trailing "." removed, IsOpen true, Modified false, the undo history empty. On failure the
    // text is cleared and IsOpen is false.
    virtual void LoadFromFile(const QString &Name);
    // Writes the text as a DOS file: every line with the line end it was read with, lines added
    // since with CR LF (WriteFile). An empty name does nothing.
    virtual void SaveToFile(const QString &Name);
    // Writes the text safely (the old file stays whole on failure, when Modified keeps its value),
    // keeping a backup when MakeBackup; then Modified is false. KeepLineEnds: each line ends as it
    // was read and new lines as Format says; false: every line as Format says. The file's end
    // (no line end after the last line, a Ctrl+Z end mark) is written as it was read.
    void WriteFile(const QString &Name, TFileFormat Format, bool KeepLineEnds);
    // Inserts the lines of a text file at the caret, each followed by a line break (each line
    // and each break a separate undo step), and puts the caret back where it was. A failure
    // stops the insertion (what was inserted stays) and is shown through the standard error
    // report; returns false then.
    // A file in the other encoding is converted to the document's (characters Windows-1252
    // cannot hold become numeric character references).
    bool InsertTextFile(const QString &Name);
    // Reads FileName again in Encoding (Utf8: the byte-order mark, when the file has one, is kept
    // as the mark), as LoadFromFile does: a new text, unmodified, without undo history.
    void ReopenAs(TTextEncoding Encoding);

    // --- The file on disk. The stamp (identity, size, modification time) of the file last read
    // or written here is kept, so that a save can tell whether another program has changed or
    // replaced it since.
    // Records the stamp of Name as it is now (after a write that did not go through SaveToFile).
    void RememberFileStamp(const QString &Name);
    // True when Name is the file last read or written here and, on disk, it is no longer what
    // was read or written; false for another name and for a file that no longer exists.
    bool FileChangedOnDisk(const QString &Name) const;
    bool FileChangedOnDisk() const { return FileChangedOnDisk(FFileName); }
    // True when the file last read or written here is gone from the disk.
    bool FileDeletedOnDisk() const;
    // The stamp the file has on disk now.
    TFileStamp DiskStamp() const;
    // Reads the file again with the reader of Format, as one undo step that replaces the whole
    // text (asking first when it would not fit the undo memory), the caret kept on its line where
    // it can; afterwards the text is unmodified. False when the user declined.
    bool ReloadFromFile(TFileFormat Format);

    // What the last load found (format, lines, how the file ended).
    const TTextReadResult &LastReadResult() const { return FLastRead; }

    // Bytes of a file name for the file layer.
    static std::string FileNameBytes(const QString &Name);

protected:
    // Clears the text and reads the file with the reader of Format (ffDos or ffUnix) into it;
    // on failure clears the text, sets IsOpen false and raises. Leftovers of killed saves of the
    // file are removed first.
    void ReadFileAs(const QString &Name, TFileFormat Format);
    TTextReadOptions ReadOptions() const;

private:
    TTextEncoding FNewDocEncoding = TTextEncoding::Windows1252;
    std::optional<TTextEncoding> FReadEncoding; // forced by ReopenAs while it reads
    std::string FBackupExt = "BAK";
    QString FFileName;
    bool FIsOpen = false;
    bool FMakeBackup = false;
    TTextReadResult FLastRead;
    QString FStampName;     // the file FStamp belongs to; empty: none
    TFileStamp FStamp;
};
