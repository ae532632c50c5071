// TMDIChild: the document window around one markup editor, with its eight merged menus, the
// markup insertion operations, saving, the close query and the quick keys.
#pragma once

#include "core/editor/SafeFile.h"
#include "core/editor/TextFileIO.h"
#include "core/markup/Catalogue.h"
#include "platform/Prompt.h"
#include "ui/app/MainHost.h"

#include <QFont>
#include <QHash>
#include <QMdiSubWindow>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <string>

class QMenu;
class QTimer;
class TMarkupEditor;
class TMDIChild;

// The handler of one kind of catalogue entry that another unit provides (the markup dialogs,
// the colour choice, find and replace, ...). Returns whether the user accepted (an entry that is
// recorded only after an accepted dialog uses it); the window applies the recording rule.
using TDocumentCommandHook = std::function<bool(TMDIChild &Doc, const TMarkupCommand &Command)>;
// Fills the right mouse button menu of a new document window.
using TRightMenuBuilder = std::function<void(TMDIChild &Doc, QMenu &Menu)>;

class TMDIChild : public QMdiSubWindow, public TDocumentWindowIntf {
    Q_OBJECT
public:
    // Creates the window inside the main window's MDI area and runs the creation steps (editor
    // set-up from the settings, menus, status report). Caption "Untitled" until the creator sets it.
    explicit TMDIChild(TMainHost &Main);
    ~TMDIChild() override;

    // Creates a document window for OpenDocument: caption and file name Name, loaded unless
    // NewFlag. A load error is reported and closes the window again (nullptr). The editor gets
    // the focus.
    static TMDIChild *Create(TMainHost &Main, const QString &Name, bool NewFlag);

    // ---- Hooks of other units (installed once at start-up; empty removes).
    // Handles entries of that kind in place of the window's own handling.
    static void SetCommandHook(TCommandKind Kind, TDocumentCommandHook Hook);
    static void SetRightMenuBuilder(TRightMenuBuilder Builder);
    // Runs the right mouse button menu's editor for a window.
    static void SetRightMenuEditor(std::function<void(TMDIChild &Doc)> Editor);

    // ---- Components.
    TMarkupEditor *Editor = nullptr;
    QMenu *Edit1 = nullptr, *Element1 = nullptr, *Flow1 = nullptr, *List1 = nullptr, *Link1 = nullptr,
          *Entity1 = nullptr, *Font1 = nullptr, *Style1 = nullptr;
    // The right mouse button menu (filled by the right-menu unit).
    QMenu *RightMenu = nullptr;
    // The Save As dialog's settings (help context 7; filter and title set per use).
    TFileDialogRequest SaveDialog;
    // Options of the last find or replace in this window.
    unsigned char SearchFlags = 0;

    // The catalogue entry's action by component name ("Bold1"), or nullptr.
    QAction *Action(const QString &Name) const;
    // Runs a menu item's click as a speed button does: only when the item is enabled. Sender is
    // what LastMarkupCommand records (the item itself when null). Errors are reported here.
    // False when not run.
    bool Click(const QString &Name, QObject *Sender = nullptr) override;
    void EditRightMenu() override;
    void CheckFileOnDisk() override;
    TTextEncoding DocumentEncoding() const override;
    bool HasFileOnDisk() const override;
    void ReopenInEncoding(TTextEncoding Encoding) override;
    void ConvertToEncoding(TTextEncoding Encoding) override;

    // ---- Operations other windows call.
    QString DocumentCaption() const override;
    bool DocumentModified() const override;
    QList<QMenu *> MergedMenus() const override;
    bool CloseQuery() override { return FormCloseQuery(); }
    // Markup through the tag-case rule; see the catalogue for which commands use which.
    void InsertMarkup(const std::string &Text) override;
    // Wraps the selection in Start and End, or inserts both and leaves the caret between them.
    void InsertTagPair(const std::string &StartTag, const std::string &EndTag) override;
    // Menus, dialogs, quick keys and buttons give their text as Windows-1252 bytes (InsertMarkup,
    // InsertTagPair); it reaches the document in the document's encoding. InsertPlainText and
    // InsertDocumentMarkup take the document's own bytes.
    std::string DocumentBytes(const std::string &Text) const;
    void InsertDocumentMarkup(const std::string &Text);
    // Inserts at the caret (replacing the selection) without the tag-case rule.
    void InsertPlainText(const std::string &Text);
    // Replaces the document's BODY start tag by Tag (or inserts it; with EndTag wraps the
    // selection in Tag and "</BODY>"), as the body colours command does after its dialog.
    void InsertBodyTag(const std::string &Tag, bool EndTag);
    // Saves under the current name in the file's format; an untitled document asks for a name.
    // Errors are reported here; false when not saved (cancelled or failed).
    bool SaveDocument();
    bool SaveAsDOSFile();
    bool SaveAsUnixFile();
    // Asks for a file name (the caller has set SaveDialog.Title); on success the editor's file
    // name, the caption and the recent-file list take it.
    bool AskSaveFileName();
    // Writes the paragraphs through the safe writer, each with the line end it was read with and
    // new ones with LF; raises on failure (the old file stays, Modified keeps its value); on
    // success Modified is false.
    void WriteUnixFile(const QString &Name);
    // Inserts a text file at the caret; the document becomes modified.
    void InsertFile(const QString &Name);
    void ApplyEditorColors();
    void MoveCaretToStart();
    void SetBusyCursor(bool Busy);

    // ---- Recovery copies of unsaved text.
    bool WriteRecoveryCopy() override;
    void RecoverFrom(const QString &CopyPath) override;
    // The text as a save would write it (the file's line ends; CR LF for an untitled document).
    std::string RecoveryBytes() const;
    // The copy this window writes to, or empty before its first copy.
    QString RecoveryCopyName() const;
    // Deletes this window's copy (after a save, at close).
    void DeleteRecoveryCopy();
    // After a file was loaded: offers each copy of it that a run left, newest first.
    void OfferRecovery();
    // What the recovery timer runs: a copy when the text changed since the last one. The text is
    // taken at once; the file is written in the background, so typing goes on meanwhile.
    void RecoveryTimerTick();
    // Waits for a copy being written in the background and takes its outcome (a failure goes to
    // the status line). Runs by itself when the copy is done.
    void FinishRecoveryCopy();
    QTimer *RecoveryTimer() const { return FRecoveryTimer; }

    // ---- Handlers.
    void FormCreate();
    QPoint CascadePosition() const;
    bool FormCloseQuery();
    void FormClose();
    void FormResize();
    // Shows the right mouse button menu at the mouse cursor.
    void FormMouseDown();
    void EditorShowStatus(int Line, int Col);
    // EditorShowStatus with the caret's line and screen column.
    void ReportStatus();
    void UserCommandHandler(int Command);
    void RepeatLastMarkup1Click(QObject *Sender);

    // Runs a catalogue entry as its click handler would, with Sender recorded.
    void RunCommand(const TMarkupCommand &Command, QObject *Sender);

protected:
    void closeEvent(QCloseEvent *E) override;
    void resizeEvent(QResizeEvent *E) override;

private:
    // The entry's own action, with the recording rule around it; returns "accepted".
    bool Perform(const TMarkupCommand &Command, QObject *Sender);
    void Record(QObject *Sender);
    bool Ask(const TMarkupCommand &Command);
    bool EmbedOLE();
    void InsertCurrentTime();
    void BuildMenus();
    // Writes the text in Format; EveryLine gives every line that format (Save As), else each line
    // keeps the line end it was read with.
    void WriteDocument(TFileFormat Format, const QString &Name, bool EveryLine = false);

    TMainHost &Main;
    QHash<QString, QAction *> FActions;
    QList<QMenu *> FMenus;
    bool FClosed = false;
    int FBusy = 0;
    // The disk's stamp last asked about (a change is asked about once), and whether a file gone
    // from the disk has been noted.
    TFileStamp FAskedStamp;
    bool FDeletedNoted = false;
    bool FCheckingDisk = false;
    QTimer *FRecoveryTimer = nullptr;
    std::string FRecoveryPath;         // claimed at the first copy; empty: none yet
    std::uint64_t FCopiedEdits = 0;    // the text's edit count when last copied
    bool FCopied = false;              // FCopiedEdits holds a copy's count
    bool FCopyFailureShown = false;    // a failure is reported once until a copy succeeds
    std::future<std::optional<std::string>> FCopyJob; // the background copy: its error, if any
    std::uint64_t FJobEdits = 0;       // the edit count of the text it writes
    void CopyWritten(bool Ok, const std::string &Error, std::uint64_t Edits);
};

// The editor font the settings describe: Height is a font height (negative: the character
// height in pixels).
QFont EditorFont(const QString &Name, int Height, bool Bold, bool Italic);

// The active document window of the main window, or nullptr.
TMDIChild *ActiveMDIChild();
