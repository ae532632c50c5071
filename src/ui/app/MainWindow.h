// TMainForm: the main window: MDI frame, menu bar, speed bars, status bar, recent-file list, start-up
// and shut-down.
#pragma once

#include "ui/app/MainHost.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QStatusBar;
class QToolBar;
class TDocumentCheckList;
class TEdController;
class THelpViewer;

class TMainForm;

// The units around the main window that its start-up installs, in its order: the speed bars'
// buttons once the bars exist, the commands of the other units once its own are connected, and
// the custom bar while the settings are read. Set once by the composition root before the first
// main window is made.
struct TMainWiring {
    std::function<void(TMainForm &)> SpeedBars;
    std::function<void(TMainForm &)> Commands;
    std::function<void(TMainForm &)> CustomButtons;
};

class TMainForm : public QMainWindow, public TMainHost {
    Q_OBJECT
public:
    // Builds the window and runs the start-up (settings, placement, bars, recent files). The
    // files, taken against the current directory of the moment, are opened as documents once the
    // window is first shown.
    explicit TMainForm(const QStringList &CommandLineFiles = {}, QWidget *Parent = nullptr);
    // Runs the shut-down: recent files, help, window placement, preview files.
    ~TMainForm() override;

    // The one main window, or nullptr outside its lifetime.
    static TMainForm *Instance();
    // The units every main window made from now on installs at start-up.
    static void SetWiring(TMainWiring Units);
    QWidget *Window() override { return this; }

    // Rereads UseActualCharacters, NewlineAfterTitle, ForceHTMLExt and NeverUseCENTER.
    void ReadSettingsFlags() override;
    // Rereads QuickKeyTable from section QuickKeys.
    void ReadQuickKeyTable() override;

    // ---- Documents.
    // Opens a document window: an existing file (NewFlag false; the window holds its absolute
    // name, one trailing dot dropped) or an empty document captioned Name. Reports a missing file
    // and warns about a read-only one. Returns the window or nullptr.
    TDocumentWindowIntf *OpenDocument(const QString &Name, bool NewFlag) override;
    // Puts a file (expanded to a full path) at the top of the recent-file list (at most four).
    void AddRecentFile(const QString &Name) override;
    // The recent-file names, most recent first.
    QStringList RecentFiles() const;
    // Recomputes the caption and the enabled state of the commands and speed buttons.
    void UpdateMenuItems() override;
    // The active document window, or nullptr when the active MDI child is none or no document.
    TDocumentWindowIntf *ActiveDocument() const override;
    QMdiSubWindow *ActiveChild() const override;
    // The MDI children that are open (closed ones no longer count).
    QList<QMdiSubWindow *> Children() const;
    QMdiArea *ClientArea() const { return MDIClient; }
    // Markup routing to the active document window; dropped silently without one.
    void InsertMarkup(const std::string &Text);
    void InsertTagPair(const std::string &StartTag, const std::string &EndTag);
    // Puts menus into the menu bar between File and Options, replacing the ones put there before
    // (an empty list removes them). Called when the active document window changes.
    void SetMergedMenus(const QList<QMenu *> &Menus);
    // Handles files dropped on the window, in drop order.
    void DropFiles(const QStringList &Files);

    // ---- Status line.
    // The application's hint handler: the status line shows the hint's long part.
    void HintToStatusLine(const QString &Hint);

    // ---- The custom bar.
    // Replaces the custom bar placeholder with the real bar (reparented into the right edge).
    void InstallCustomBar(QWidget *Bar) override;

    // ---- Components, named as their objectName.
    QAction *FileNewItem = nullptr, *NewwithDocumentTemplate1 = nullptr, *FileOpenItem = nullptr,
            *OpenRemote1 = nullptr, *OpenURL1 = nullptr, *OpenRTFFile1 = nullptr, *InsertFile1 = nullptr,
            *FileCloseItem = nullptr, *FileSaveItem = nullptr, *FileSaveAsItem = nullptr, *SaveAsUnix1 = nullptr,
            *SavewithoutHTMLTags1 = nullptr, *SaveAsRemote1 = nullptr, *UpdateViewer1 = nullptr,
            *CheckHTMLDocument1 = nullptr, *TestHTMLDocument1 = nullptr, *Print1 = nullptr, *PrintSetup1 = nullptr,
            *FileExitItem = nullptr;
    QAction *Setup1 = nullptr, *Font1 = nullptr,
            *HTMLPageBuilder1 = nullptr, *StandardSpeedBar = nullptr, *CommonSpeedBar = nullptr,
            *ExtendedSpeedBar = nullptr, *SpecialSpeedBar = nullptr, *CustomSpeedBar = nullptr;
    QAction *WindowCascadeItem = nullptr, *TileHorizontally1 = nullptr, *WindowTileItem = nullptr,
            *Minimize1 = nullptr, *Maximize1 = nullptr, *Restore1 = nullptr, *WindowArrangeItem = nullptr,
            *WindowMinimizeItem = nullptr, *CloseAll1 = nullptr;
    QAction *Contents1 = nullptr, *SearchforHelpon1 = nullptr, *HowtouseHelp1 = nullptr, *HelpAboutItem = nullptr;
    QStatusBar *Panel1 = nullptr;
    // The findings of Check HTML Document, docked under the document area.
    TDocumentCheckList *DocumentCheckList = nullptr;

    // ---- Handlers (each is what its menu item runs).
    void FileOpenItemClick();
    void FileCloseItemClick();
    void FileExitItemClick();
    void RecentFileClick(QAction *Entry);
    void WindowCascadeItemClick();
    void TileHorizontally1Click();
    void WindowTileItemClick();
    void WindowArrangeItemClick();
    void WindowMinimizeItemClick();
    void CloseAll1Click();
    void Minimize1Click();
    void Maximize1Click();
    void Restore1Click();
    void Contents1Click();
    void SearchforHelpon1Click();
    void HowtouseHelp1Click();
    void HelpAboutItemClick();
    void StandardSpeedBarClick();
    void CommonSpeedBarClick();
    void ExtendedSpeedBarClick();
    void SpecialSpeedBarClick();
    void CustomSpeedBarClick();
    // File commands on the active document window (nothing without one) and Editor Font.
    void FileNewItemClick();
    void NewwithDocumentTemplate1Click();
    void InsertFile1Click();
    void FileSaveItemClick();
    void FileSaveAsItemClick();
    void SaveAsUnix1Click();
    void SavewithoutHTMLTags1Click();
    void Print1Click();
    void PrintSetup1Click();
    // File > Check HTML Document: checks the active document and lists the findings.
    void CheckHTMLDocument1Click();
    void Font1Click();
    // Options > Preferences: the Preferences dialog; after OK the open documents take the colours.
    void Setup1Click();
    // Options > HTML Page Builder: the page builder wizard.
    void HTMLPageBuilder1Click();
    // Applies the syntax colours of the settings to every open document window.
    void ApplyEditorColors() override;
    // The printer that Print Setup sets up and Print prints on (made on first use).
    QPrinter &Printer();
    // Opens the command-line files (runs once, after the window is first shown).
    void FormShow();
    // Asks every document window whether it may close; false when one refuses.
    bool FormCloseQuery();

    // ---- The end of a run the system asks for, and recovery at start-up.
    // SIGTERM, SIGHUP, SIGINT and a session end without interaction: recovery copies of every
    // modified document (WriteCopies), then the shut-down (settings, preview files), then exit
    // with status 0 at once, whatever dialog is open.
    void EndSession(bool WriteCopies);
    // The desktop session ends. With interaction allowed every modified document asks as Exit
    // does and false means the user cancelled; otherwise the run ends as on SIGTERM.
    bool CommitData(bool AllowsInteraction);
    // What ends the process after EndSession (tests record it); empty: _exit.
    static void SetSessionExit(std::function<void(int)> Exit);
    // Offers each recovery copy of an untitled document that an ended run left (Yes opens it as
    // an untitled document, No deletes it, Cancel keeps it).
    void OfferUntitledCopies();

protected:
    bool event(QEvent *E) override;
    // A click on the encoding panel opens the encoding menu.
    bool eventFilter(QObject *Watched, QEvent *E) override;
    void showEvent(QShowEvent *E) override;
    void closeEvent(QCloseEvent *E) override;
    void moveEvent(QMoveEvent *E) override;
    void resizeEvent(QResizeEvent *E) override;
    void dragEnterEvent(QDragEnterEvent *E) override;
    void dragMoveEvent(QDragMoveEvent *E) override;
    void dropEvent(QDropEvent *E) override;
    QMenu *createPopupMenu() override;

private:
    enum class TTileMode { Horizontal, Vertical };

    void CreateActions();
    void CreateToolBars();
    void CreateStatusBar();
    void ConnectCommands();
    // Installs the document window factory and connects the File commands and Editor Font.
    void ConnectDocumentCommands();
    // Connects Preferences and the page builder, and installs the colour chooser.
    void ConnectSetupCommands();
    void FormCreate();
    void FormDestroy();
    // The signal handlers and the session manager's request (MainWindowSession.cpp).
    void InstallSessionEnd();
    void RemoveSessionEnd();
    void ActiveFormChanged();
    void ChildStateChanged();
    void BuildRecentEntries(const QStringList &Names);
    void BuildWindowList();
    // Window > More Windows...: the list of all document windows; the one chosen is activated.
    void MoreWindowsClick();
    void Tile(TTileMode Mode);
    void ToggleSpeedBar(TSpeedBar Bar);
    QToolBar *SpeedBarPanel(TSpeedBar Bar) const;
    QAction *SpeedBarToggle(TSpeedBar Bar) const;
    void UpdateSpeedButtons(bool DocumentActive, bool WindowsOpen, bool SaveEnabled);
    // The encoding panel's menu: Reopen as UTF-8 / Windows-1252, Convert to UTF-8 / Windows-1252.
    void CreateEncodingMenu();
    // Connects an action's trigger to a handler that runs guarded.
    void OnTrigger(QAction *Action, void (TMainForm::*Handler)());

    QStringList FCommandLineFiles;
    bool FShown = false;
    TTileMode FTileMode = TTileMode::Horizontal;
    TWindowRect FNormalRect;
    QString FHelpFile;
    THelpViewer *FHelpViewer = nullptr;  // a window of its own, child of this one
    bool FOwnHelpInstalled = false;
    QList<QAction *> FRecentEntries;
    QAction *FRecentSeparator = nullptr;
    QList<QAction *> FWindowListEntries;
    QList<QPointer<QMenu>> FMergedMenus;
    QList<QMetaObject::Connection> FActiveFormConnections;
    std::shared_ptr<QPrinter> FPrinter;
    class QSocketNotifier *FSignalNotifier = nullptr;
    bool FSessionEnded = false;
};

// The one main window (nullptr outside its lifetime).
TMainForm *MainForm();
