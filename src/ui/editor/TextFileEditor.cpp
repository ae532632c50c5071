// TEdCustomTextFileEditor: file name, loading, saving and inserting of plain text files.
#include "ui/editor/TextFileEditor.h"

#include "platform/Prompt.h"

#include <QFile>
#include <QGuiApplication>

#include <exception>

namespace {

// The hourglass while a file is read or written, restored also when an exception leaves.
class TWaitCursor {
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};

QString StripDot(const QString &Name)
{
    if (Name.size() >= 2 && Name.endsWith(QLatin1Char('.')))
        return Name.left(Name.size() - 1);
    return Name;
}

// Detaches the view from its text store while many paragraphs are appended; the view is brought
// up to date once afterwards (TextReplaced).
class TObserverPause {
public:
    explicit TObserverPause(TParaList &L) : List(L), Saved(L.Observer()) { L.SetObserver(nullptr); }
    ~TObserverPause() { List.SetObserver(Saved); }
    TObserverPause(const TObserverPause &) = delete;
    TObserverPause &operator=(const TObserverPause &) = delete;

private:
    TParaList &List;
    TParaListObserver *Saved;
};

} // namespace

TEdCustomTextFileEditor::TEdCustomTextFileEditor(QWidget *Parent) : TEdCustomEditor(Parent) {}

TEdCustomTextFileEditor::~TEdCustomTextFileEditor() = default;

std::string TEdCustomTextFileEditor::FileNameBytes(const QString &Name)
{
    return QFile::encodeName(Name).toStdString();
}

void TEdCustomTextFileEditor::SetBackupExt(const std::string &Value)
{
    FBackupExt = Value.substr(0, 3);
}

void TEdCustomTextFileEditor::SetFileName(const QString &Value)
{
    // File names differing only in case are different files here.
    if (Value == FFileName)
        return;
    FIsOpen = false;
    FFileName = StripDot(Value);
}

void TEdCustomTextFileEditor::SetIsOpen(bool Value)
{
    if (Value == FIsOpen || FFileName.isEmpty())
        return;
    FIsOpen = Value;
    if (Value) {
        try {
            LoadFromFile(FFileName);
        } catch (...) {
            // Nothing was loaded: the flag must not claim otherwise.
            FIsOpen = false;
            throw;
        }
    } else {
        ClearText();
        TextReplaced();
    }
}

TTextReadOptions TEdCustomTextFileEditor::ReadOptions() const
{
    TTextReadOptions O;
    O.TrimWhiteSpace = TrimWhiteSpace();
    O.Encoding = FReadEncoding;
    O.NewDocuments = FNewDocEncoding;
    return O;
}

void TEdCustomTextFileEditor::LoadFromFile(const QString &Name)
{
    ReadFileAs(Name, ffDos);
}

void TEdCustomTextFileEditor::ReadFileAs(const QString &Name, TFileFormat Format)
{
    TWaitCursor Wait;
    SetFileName(StripDot(Name));
    const std::string Path = FileNameBytes(FFileName);
    ClearText();
    FLastRead = {};
    try {
        RemoveStaleSaveFiles(Path);
        TParaList &L = ParaList();
        TObserverPause Pause(L);
        FLastRead = ReadTextFile(Path, Format, ReadOptions(), [&L, Format](std::string_view Para, TLineEnd End) {
            RaiseEditorError(L.AppendParagraph(Para, StoredLineEnd(End, Format)));
        });
        L.SetEncoding(FLastRead.Encoding);
    } catch (...) {
        FIsOpen = false;
        FStampName.clear();
        FLastRead = {};
        ClearText();
        TextReplaced();
        throw;
    }
    TextReplaced();
    FIsOpen = true;
    RememberFileStamp(FFileName);
}

void TEdCustomTextFileEditor::SaveToFile(const QString &Name)
{
    WriteFile(Name, ffDos, true);
}

void TEdCustomTextFileEditor::WriteFile(const QString &Name, TFileFormat Format, bool KeepLineEnds)
{
    if (Name.isEmpty())
        return;
    TWaitCursor Wait;
    const TParaList &L = ParaList();
    TTextSaveOptions Options;
    Options.MakeBackup = FMakeBackup;
    Options.BackupExt = FBackupExt;
    Options.Write.KeepLineEnds = KeepLineEnds;
    Options.Write.EndMark = FLastRead.EndMark;
    Options.Write.ByteOrderMark = L.Encoding() == TTextEncoding::Utf8Bom;
    SaveTextFile(
        FileNameBytes(Name), Format, L.ParaCount(),
        [&L](int Para) { return TParaOut(L.ParaText(Para), L.ParaLineEnd(Para)); }, Options);
    SetModified(false);
    RememberFileStamp(Name);
}

void TEdCustomTextFileEditor::RememberFileStamp(const QString &Name)
{
    FStampName = Name;
    FStamp = FileStampOf(FileNameBytes(Name));
}

bool TEdCustomTextFileEditor::FileChangedOnDisk(const QString &Name) const
{
    if (Name.isEmpty() || Name != FStampName || !FStamp.Exists)
        return false;
    const TFileStamp Now = FileStampOf(FileNameBytes(Name));
    return Now.Exists && Now != FStamp;
}

bool TEdCustomTextFileEditor::FileDeletedOnDisk() const
{
    if (FFileName.isEmpty() || FFileName != FStampName || !FStamp.Exists)
        return false;
    return !FileStampOf(FileNameBytes(FFileName)).Exists;
}

TFileStamp TEdCustomTextFileEditor::DiskStamp() const
{
    return FileStampOf(FileNameBytes(FFileName));
}

bool TEdCustomTextFileEditor::ReloadFromFile(TFileFormat Format)
{
    TWaitCursor Wait;
    std::vector<std::string> Paras;
    std::vector<TLineEnd> Ends;
    std::size_t Bytes = 0;
    TTextReadOptions Options = ReadOptions();
    Options.NewDocuments = Encoding(); // a file of pure ASCII keeps the document's encoding
    const TTextReadResult Read =
        ReadTextFile(FileNameBytes(FFileName), Format, Options, [&](std::string_view Para, TLineEnd End) {
            Paras.emplace_back(Para);
            Ends.push_back(StoredLineEnd(End, Format));
            Bytes += Para.size() + 2;
        });
    int Col = 1;
    const int Line = GetCaretPosition(Col);
    TParaList &L = ParaList();
    const std::int64_t UndoBytes = L.ByteCount() + static_cast<std::int64_t>(Bytes) +
                                   48 * (L.ParaCount() + static_cast<std::int64_t>(Paras.size()));
    int Code = 0;
    // The lines go in as paragraphs of their own (a CR at the end of a Unix line stays a
    // character), each with the line end it was read with, before the last, empty one.
    if (!AsOneStep(UndoBytes, [&] {
            L.ChangeEncoding(Read.Encoding);
            const int Last = L.ParaCount();
            Code = L.DeleteRange({1, 1}, {Last, L.ParaLength(Last) + 1});
            for (std::size_t I = 0; Code == 0 && I < Paras.size(); ++I) {
                Code = L.InsertParaBefore(L.ParaCount(), Paras[I]);
                if (Code == 0)
                    L.SetParaLineEnd(L.ParaCount() - 1, Ends[I]);
            }
        }))
        return false;
    TextReplaced();
    RaiseEditorError(Code);
    FLastRead = Read;
    SetCaretPosition(std::min(Line, LineCount()), 1);
    SetModified(false);
    RememberFileStamp(FFileName);
    return true;
}

void TEdCustomTextFileEditor::ReopenAs(TTextEncoding Encoding)
{
    FReadEncoding = Encoding;
    const QString Name = FFileName;
    FFileName.clear(); // read afresh, as for a new name
    try {
        LoadFromFile(Name);
    } catch (...) {
        FReadEncoding.reset();
        throw;
    }
    FReadEncoding.reset();
}

bool TEdCustomTextFileEditor::InsertTextFile(const QString &Name)
{
    int Col = 1;
    const int Line = GetCaretPosition(Col);
    std::exception_ptr Failure;
    {
        TWaitCursor Wait;
        TTextReadOptions Options = ReadOptions();
        Options.TrimWhiteSpace = false; // inserted lines are taken as they are
        Options.Encoding.reset();
        Options.NewDocuments = Encoding(); // pure ASCII needs no conversion
        const std::string Path = FileNameBytes(StripDot(Name));
        try {
            // The file's encoding is known once all of it was read: a first reading decides it.
            const TTextEncoding From = ReadTextFile(Path, ffDos, Options, [](std::string_view, TLineEnd) {}).Encoding;
            const bool FromUtf8 = From != TTextEncoding::Windows1252;
            const bool ToUtf8 = ParaList().Utf8();
            ReadTextFile(Path, ffDos, Options, [&](std::string_view Para, TLineEnd) {
                if (FromUtf8 == ToUtf8)
                    RaiseEditorError(InsertString(Para));
                else
                    RaiseEditorError(InsertString(ToUtf8 ? Windows1252ToUtf8(Para) : Utf8ToWindows1252(Para)));
                RaiseEditorError(InsertString("\r\n"));
            });
        } catch (const std::exception &) {
            Failure = std::current_exception();
        }
        SetCaretPosition(Line, Col);
    }
    if (Failure) {
        try {
            std::rethrow_exception(Failure);
        } catch (const std::exception &E) {
            ShowException(E);
        }
        return false;
    }
    return true;
}
