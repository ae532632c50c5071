// TMainHost: what document windows, bars, dialogs and custom buttons may use of the main window,
// and TDocumentWindowIntf, what the main window and the bars use of a document window. Windows
// outside the main window's folder reach it only through this header.
#pragma once

#include "core/editor/Encoding.h"
#include "core/settings/AppSettings.h"
#include "core/settings/SetupManager.h"
#include "platform/Prompt.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QObject;
class QToolBar;
class QWidget;
class TEdController;

// What the main window needs from a document window. A sub-window of the MDI area counts as a
// document window when it, or the widget it holds, derives from this interface.
class TDocumentWindowIntf {
public:
    virtual ~TDocumentWindowIntf() = default;
    // The window's caption (the file name, or "Untitled").
    virtual QString DocumentCaption() const = 0;
    // Whether the editor reports the text as modified.
    virtual bool DocumentModified() const = 0;
    virtual void InsertMarkup(const std::string &Text) = 0;
    virtual void InsertTagPair(const std::string &StartTag, const std::string &EndTag) = 0;
    // The menus that join the menu bar between File and Options while this window is active.
    virtual QList<QMenu *> MergedMenus() const = 0;
    // Whether the window may close (it may ask to save); false refuses.
    virtual bool CloseQuery() = 0;
    // Runs a menu item of the window by component name ("Bold1") as a speed button does: only
    // when it is enabled; Sender is what the repeat command records. False when not run.
    virtual bool Click(const QString &Name, QObject *Sender = nullptr) = 0;
    // Opens the right mouse button menu's editor for this window.
    virtual void EditRightMenu() = 0;
    // When the file changed on disk since it was read or saved, asks once whether to read it
    // again; a file gone from the disk makes the text modified, so that Save writes it again.
    virtual void CheckFileOnDisk() = 0;
    // Writes the recovery copy now when the text has changes that are neither saved nor copied;
    // false when the copy could not be written.
    virtual bool WriteRecoveryCopy() { return true; }
    // Takes the text of a recovery copy as unsaved changes (the file on disk stays as it is); the
    // copy becomes this window's own, replaced by its next copy and deleted by a save or close.
    virtual void RecoverFrom(const QString &CopyPath) { (void)CopyPath; }
    // The encoding of the document's bytes; whether it has a file to read again.
    virtual TTextEncoding DocumentEncoding() const { return TTextEncoding::Windows1252; }
    virtual bool HasFileOnDisk() const { return false; }
    // Reads the file again in Encoding (Windows-1252, or UTF-8 when its bytes are valid UTF-8,
    // refused with the offset of the first invalid byte otherwise), asking first when modified.
    virtual void ReopenInEncoding(TTextEncoding Encoding) { (void)Encoding; }
    // Converts the text to Encoding as one undo step (characters Windows-1252 cannot hold become
    // numeric character references, and their count is reported); the text becomes modified.
    virtual void ConvertToEncoding(TTextEncoding Encoding) { (void)Encoding; }
};

// The main window as the other windows see it: the application-wide values, the components the
// right menu and the custom bar name, and the operations on documents and the status line.
class TMainHost {
public:
    virtual ~TMainHost() = default;

    // ---- Application-wide values.
    std::unique_ptr<TSetupManager> SetupManager;
    bool UseActualCharacters = false;
    bool NewlineAfterTitle = false;
    bool ForceHTMLExt = true;
    bool NeverUseCENTER = true;
    TQuickKeyTable QuickKeyTable;
    QString OpenFileFilter;
    // Temporary preview files, deleted at shut-down.
    QStringList PreviewFiles;
    // The command that inserted markup most recently (a QAction or a button), or none.
    QPointer<QObject> LastMarkupCommand;
    // The shared open-file dialog's settings (title, filter, help context, last name).
    TFileDialogRequest OpenDialog;
    // The shared editor controller whose key table all editors use.
    TEdController *MainController = nullptr;
    // Creates, shows and loads a document window (caption = Name; an existing file is loaded
    // when NewFlag is false) and returns it. Installed at start-up by the document window's unit.
    std::function<TDocumentWindowIntf *(const QString &Name, bool NewFlag)> DocumentFactory;
    // Runs the image command with an initial source (a dropped picture). Installed by the
    // image dialog's unit; without it a dropped picture does nothing.
    std::function<void(const QString &InitialSource)> ImageCommand;
    // Adds a custom button with an opening text (the speed bars' "new custom button").
    // Installed by the custom bar's unit.
    std::function<void()> NewCustomButton;

    // ---- Components, named as their objectName.
    QMdiArea *MDIClient = nullptr;
    QMenu *File1 = nullptr, *Options1 = nullptr, *Window1 = nullptr, *Help1 = nullptr;
    QAction *CustomButtons1 = nullptr, *EditRightMouseButtonMenu1 = nullptr;
    QToolBar *StandardPanel = nullptr, *CommonPanel = nullptr, *ExtendedPanel = nullptr, *SpecialPanel = nullptr;
    // The right edge's holder of the custom bar; its visibility is the custom bar's.
    QToolBar *CustomBarHost = nullptr;
    QWidget *CustomBar = nullptr;
    QMenu *CustomButtonPopupMenu = nullptr;
    QLabel *ModifiedPanel = nullptr, *UnixPanel = nullptr, *StatusLine = nullptr, *LineColPanel = nullptr;
    // The document's encoding; a click or its context menu offers EncodingMenu.
    QLabel *EncodingPanel = nullptr;
    QMenu *EncodingMenu = nullptr;

    // ---- Operations.
    // The main window as a widget (parent of dialogs and helper objects).
    virtual QWidget *Window() = 0;
    // Rereads UseActualCharacters, NewlineAfterTitle, ForceHTMLExt and NeverUseCENTER.
    virtual void ReadSettingsFlags() = 0;
    // Rereads QuickKeyTable from section QuickKeys.
    virtual void ReadQuickKeyTable() = 0;
    // Opens a document window: an existing file (NewFlag false; the window holds its absolute
    // name, one trailing dot dropped) or an empty document captioned Name. Reports a missing file
    // and warns about a read-only one. Returns the window or nullptr.
    virtual TDocumentWindowIntf *OpenDocument(const QString &Name, bool NewFlag) = 0;
    // Puts a file (expanded to a full path) at the top of the recent-file list (at most four).
    virtual void AddRecentFile(const QString &Name) = 0;
    // Recomputes the caption and the enabled state of the commands and speed buttons.
    virtual void UpdateMenuItems() = 0;
    // The active document window, or nullptr when the active MDI child is none or no document.
    virtual TDocumentWindowIntf *ActiveDocument() const = 0;
    virtual QMdiSubWindow *ActiveChild() const = 0;
    // Replaces the custom bar placeholder with the real bar (reparented into the right edge).
    virtual void InstallCustomBar(QWidget *Bar) = 0;
    // Applies the syntax colours of the settings to every open document window.
    virtual void ApplyEditorColors() = 0;

    // Sets an action's hint: "short|long" gives the tooltip and the status-line text.
    static void SetHint(QAction *Action, const QString &Hint);
};

// The one main window, or nullptr outside its lifetime.
TMainHost *MainHost();
