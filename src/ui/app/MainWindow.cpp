// TMainForm: the main window: building the menus, bars and status bar, the start-up and shut-down, the
// recent-file list, command enabling, dropped files and the Window and Help commands.
#include "ui/app/MainWindow.h"

#include "core/editor/Recovery.h"

#include "platform/Help.h"
#include "platform/DialogExec.h"
#include "platform/FileNameCase.h"
#include "platform/KeyState.h"
#include "platform/ScreenMetrics.h"
#include "platform/TextCodec.h"
#include "ui/app/AboutBox.h"
#include "ui/app/HelpViewer.h"
#include "ui/app/SelectWindowDialog.h"
#include "ui/editor/EditorBase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

TMainForm *g_mainForm = nullptr;

TMainWiring &Wiring()
{
    static TMainWiring wiring;
    return wiring;
}

// The Window menu lists this many document windows; "More Windows..." reaches the rest.
constexpr int kListedWindows = 9;

const char *const kOpenFileFilter = "HTML files (*.htm,*.html)|*.htm;*.html|HTML 3 files (*.ht3)|*.ht3|"
                                    "Text files (*.txt)|*.txt|All files (*.*)|*.*|";

QAction *NewItem(QMenu *Menu, QAction *&Member, const char *Name, const QString &Caption,
                 const QKeySequence &Shortcut = {}, const QString &Hint = {})
{
    Member = Menu->addAction(Caption);
    Member->setObjectName(QString::fromLatin1(Name));
    if (!Shortcut.isEmpty())
        Member->setShortcut(Shortcut);
    if (!Hint.isEmpty())
        TMainForm::SetHint(Member, Hint);
    return Member;
}

QMenu *NewMenu(QMenuBar *Bar, QMenu *&Member, const char *Name, const QString &Caption, const QString &Hint)
{
    Member = Bar->addMenu(Caption);
    Member->setObjectName(QString::fromLatin1(Name));
    Member->menuAction()->setObjectName(QString::fromLatin1(Name));
    if (!Hint.isEmpty())
        Member->menuAction()->setStatusTip(Hint);
    return Member;
}

QToolBar *NewPanel(QMainWindow *Form, const char *Name, const QString &Title)
{
    auto *bar = new QToolBar(Title, Form);
    bar->setObjectName(QString::fromLatin1(Name));
    bar->setMovable(false);
    bar->setFloatable(false);
    return bar;
}

// A sunken status panel Width pixels wide, or wider when the font needs more room for Widest.
QLabel *NewStatusPanel(QStatusBar *Bar, const char *Name, int Width, int Stretch, const char *Widest = "")
{
    auto *label = new QLabel(Bar);
    label->setObjectName(QString::fromLatin1(Name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const int needed = label->fontMetrics().horizontalAdvance(QString::fromLatin1(Widest)) + 2 * label->frameWidth() + 4;
    if (Width > 0)
        label->setFixedWidth(std::max(Width, needed));
    Bar->addPermanentWidget(label, Stretch);
    return label;
}

// The read-only attribute: no write permission for the owner, or none for this user.
bool IsReadOnlyFile(const QFileInfo &Info)
{
    return !(Info.permissions() & QFileDevice::WriteOwner) || !Info.isWritable();
}

// The name a document holds for a file named Name: one trailing dot dropped (as the editor drops
// it), made absolute against the current directory now, so that no later change of the working
// directory moves the file a document saves to.
QString DocumentFileName(const QString &Name)
{
    QString name = Name;
    const QString last = QFileInfo(name).fileName();
    if (last.size() > 1 && last.endsWith('.') && last != "..")
        name.chop(1);
    return QDir::cleanPath(QFileInfo(name).absoluteFilePath());
}

QStringList DocumentFileNames(const QStringList &Names)
{
    QStringList names;
    for (const QString &name : Names)
        names << DocumentFileName(name);
    return names;
}

// Menu captions show "&" as an accelerator marker; a file name must show as it is.
QString MenuCaption(const QString &Text)
{
    QString caption = Text;
    return caption.replace('&', "&&");
}

} // namespace

void TMainForm::SetWiring(TMainWiring Units)
{
    Wiring() = std::move(Units);
}

TMainHost *MainHost()
{
    return g_mainForm;
}

TMainForm *MainForm()
{
    return g_mainForm;
}

TMainForm *TMainForm::Instance()
{
    return g_mainForm;
}

TMainForm::TMainForm(const QStringList &CommandLineFiles, QWidget *Parent)
    // Made absolute now: the start-up below changes the current directory to the working one.
    : QMainWindow(Parent), FCommandLineFiles(DocumentFileNames(CommandLineFiles))
{
    g_mainForm = this;
    setObjectName("MainForm");
    setWindowTitle("Pelmar Pro");
    setWindowIcon(ProgramIcon());
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);

    MDIClient = new QMdiArea(this);
    MDIClient->setObjectName("MDIClient");
    MDIClient->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MDIClient->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MDIClient);
    MainController = new TEdController(this);
    MainController->setObjectName("MainController");

    CreateActions();
    CreateToolBars();
    if (Wiring().SpeedBars)
        Wiring().SpeedBars(*this);
    CreateStatusBar();
    ConnectCommands();
    ConnectDocumentCommands();
    ConnectSetupCommands();
    if (Wiring().Commands)
        Wiring().Commands(*this);
    FormCreate();
    InstallSessionEnd();
}

TMainForm::~TMainForm()
{
    // The document windows go first, while everything they may use still exists.
    RemoveSessionEnd();
    for (QMdiSubWindow *sub : MDIClient->subWindowList())
        delete sub;
    // A session end has run the shut-down already.
    if (!FSessionEnded)
        FormDestroy();
    if (g_mainForm == this)
        g_mainForm = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Building the window

void TMainHost::SetHint(QAction *Action, const QString &Hint)
{
    const int bar = Hint.indexOf('|');
    Action->setToolTip(bar < 0 ? Hint : Hint.left(bar));
    Action->setStatusTip(bar < 0 ? Hint : Hint.mid(bar + 1));
}

void TMainForm::CreateActions()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName("MainMenu1");

    QMenu *m = NewMenu(bar, File1, "File1", "&File", "File related commands");
    NewItem(m, FileNewItem, "FileNewItem", "&New...", Qt::CTRL | Qt::Key_N, "Create a new file");
    NewItem(m, NewwithDocumentTemplate1, "NewwithDocumentTemplate1", "New with Document Template..", {},
            "Create a new file using a document template");
    NewItem(m, FileOpenItem, "FileOpenItem", "&Open...", Qt::CTRL | Qt::Key_O, "Open an existing file");
    NewItem(m, OpenRemote1, "OpenRemote1", "Open &Remote...", {},
            "Open a file on a remote machine using the FTP protocol");
    NewItem(m, OpenURL1, "OpenURL1", "Open &URL...", {}, "Open a remote file by specifying a URL");
    NewItem(m, OpenRTFFile1, "OpenRTFFile1", "I&mport RTF File...");
    NewItem(m, InsertFile1, "InsertFile1", "&Insert File...", {},
            "Insert the contents of a file at the cursor position");
    NewItem(m, FileCloseItem, "FileCloseItem", "&Close", Qt::CTRL | Qt::Key_W, "Close current file");
    m->addSeparator();
    NewItem(m, FileSaveItem, "FileSaveItem", "&Save", Qt::CTRL | Qt::Key_S, "Save current file");
    NewItem(m, FileSaveAsItem, "FileSaveAsItem", "Save &As DOS File...", {}, "Save current file as with a new name");
    NewItem(m, SaveAsUnix1, "SaveAsUnix1", "Save As &Unix File...", {},
            "Save the current file as a UNIX text file (no CRs)");
    NewItem(m, SavewithoutHTMLTags1, "SavewithoutHTMLTags1", "Save &without HTML Tags...", {},
            "Save the current file without any HTML tags");
    NewItem(m, SaveAsRemote1, "SaveAsRemote1", "Save As R&emote...", {},
            "Save a file on a remote machine using the FTP protocol");
    m->addSeparator();
    NewItem(m, UpdateViewer1, "UpdateViewer1", "Update &Viewer", Qt::Key_F8);
    NewItem(m, CheckHTMLDocument1, "CheckHTMLDocument1", "Check HTML Document", Qt::SHIFT | Qt::Key_F9,
            "Check the document for markup errors");
    NewItem(m, TestHTMLDocument1, "TestHTMLDocument1", "&Test HTML Document...", Qt::Key_F9,
            "Test your HTML document by launching a WWW browser");
    m->addSeparator();
    NewItem(m, Print1, "Print1", "&Print...", {}, "Print the current document");
    NewItem(m, PrintSetup1, "PrintSetup1", "Print Set&up...", {}, "Setup printer options");
    m->addSeparator();
    NewItem(m, FileExitItem, "FileExitItem", "E&xit", {}, "Exit the application");

    m = NewMenu(bar, Options1, "Options1", "O&ptions", {});
    NewItem(m, Setup1, "Setup1", "&Preferences...", {}, "Configure Pelmar Pro options");
    NewItem(m, Font1, "Font1", "Editor &Font...", {}, "Select an editor font");
    NewItem(m, CustomButtons1, "CustomButtons1", "Custom Buttons...", {},
            "Add, remove, or edit buttons on the custom button bar");
    NewItem(m, EditRightMouseButtonMenu1, "EditRightMouseButtonMenu1", "&Right Mouse Button Menu...", {},
            "Add, edit, or remove menu items on the right mouse button menu");
    m->addSeparator();
    NewItem(m, HTMLPageBuilder1, "HTMLPageBuilder1", "HTML Page &Builder...", {},
            "Quickly and easily build your own home page by following step-by-step instructions");
    m->addSeparator();
    NewItem(m, StandardSpeedBar, "StandardSpeedBar", "&Standard SpeedBar", {}, "Toggle display of the standard SpeedBar");
    NewItem(m, CommonSpeedBar, "CommonSpeedBar", "&Common Tags SpeedBar", {},
            "Toggle display of the common tags SpeedBar");
    NewItem(m, ExtendedSpeedBar, "ExtendedSpeedBar", "&Extended Characters SpeedBar", {},
            "Toggle display of the extended characters SpeedBar");
    NewItem(m, SpecialSpeedBar, "SpecialSpeedBar", "Spec&ial Characters SpeedBar", {},
            "Toggle display of the special characters SpeedBar");
    NewItem(m, CustomSpeedBar, "CustomSpeedBar", "C&ustom SpeedBar", {}, "Toggle display of the Custom SpeedBar");
    for (QAction *toggle : {StandardSpeedBar, CommonSpeedBar, ExtendedSpeedBar, SpecialSpeedBar, CustomSpeedBar})
        toggle->setCheckable(true);

    m = NewMenu(bar, Window1, "Window1", "&Window", "Window related commands such as Tile and Cascade");
    NewItem(m, WindowCascadeItem, "WindowCascadeItem", "&Cascade", Qt::SHIFT | Qt::Key_F5, "Arrange windows to overlap");
    NewItem(m, TileHorizontally1, "TileHorizontally1", "Tile &Horizontally");
    NewItem(m, WindowTileItem, "WindowTileItem", "Tile &Vertically", Qt::SHIFT | Qt::Key_F4,
            "Arrange windows without overlap");
    m->addSeparator();
    NewItem(m, Minimize1, "Minimize1", "Mi&nimize");
    NewItem(m, Maximize1, "Maximize1", "Ma&ximize", Qt::CTRL | Qt::Key_F10);
    NewItem(m, Restore1, "Restore1", "&Restore", Qt::CTRL | Qt::Key_F5);
    NewItem(m, WindowArrangeItem, "WindowArrangeItem", "&Arrange Icons", {},
            "Arrange window icons at bottom of main window");
    NewItem(m, WindowMinimizeItem, "WindowMinimizeItem", "&Minimize All", {}, "Minimize all windows");
    m->addSeparator();
    NewItem(m, CloseAll1, "CloseAll1", "C&lose All", {}, "Close all Editor Windows");

    m = NewMenu(bar, Help1, "Help1", "&Help", "Help topics");
    NewItem(m, Contents1, "Contents1", "&Contents", Qt::Key_F1, "Go to the online help table of contents");
    NewItem(m, SearchforHelpon1, "SearchforHelpon1", "&Search for Help on...", {}, "Search for help on a topic");
    NewItem(m, HowtouseHelp1, "HowtouseHelp1", "&How to Use Help", {},
            "Display help on how to use the Windows Help System");
    m->addSeparator();
    NewItem(m, HelpAboutItem, "HelpAboutItem", "&About...");

    CustomButtonPopupMenu = new QMenu(this);
    CustomButtonPopupMenu->setObjectName("CustomButtonPopupMenu");
}

void TMainForm::CreateToolBars()
{
    StandardPanel = NewPanel(this, "StandardPanel", "Standard SpeedBar");
    StandardPanel->setMinimumHeight(29);
    CommonPanel = NewPanel(this, "CommonPanel", "Common Tags SpeedBar");
    CommonPanel->setMinimumHeight(25);
    SpecialPanel = NewPanel(this, "SpecialPanel", "Special Characters SpeedBar");
    SpecialPanel->setMinimumHeight(23);
    ExtendedPanel = NewPanel(this, "ExtendedPanel", "Extended Characters SpeedBar");
    ExtendedPanel->setMinimumHeight(44);
    addToolBar(Qt::TopToolBarArea, StandardPanel);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, CommonPanel);
    // The bottom area fills upwards from the status bar: the extended bar, above it the special one.
    addToolBar(Qt::BottomToolBarArea, ExtendedPanel);
    addToolBarBreak(Qt::BottomToolBarArea);
    addToolBar(Qt::BottomToolBarArea, SpecialPanel);

    CustomBarHost = NewPanel(this, "CustomBarHost", "Custom SpeedBar");
    CustomBarHost->setOrientation(Qt::Vertical);
    CustomBarHost->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(CustomBarHost, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (!CustomButtonPopupMenu->isEmpty())
            CustomButtonPopupMenu->popup(CustomBarHost->mapToGlobal(pos));
    });
    CustomBar = new QWidget(CustomBarHost);
    CustomBar->setObjectName("CustomBar");
    CustomBar->setFixedWidth(100);
    CustomBar->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    CustomBarHost->addWidget(CustomBar);
    addToolBar(Qt::RightToolBarArea, CustomBarHost);
}

void TMainForm::InstallCustomBar(QWidget *Bar)
{
    if (!Bar || Bar == CustomBar)
        return;
    QWidget *old = CustomBar;
    CustomBar = Bar;
    CustomBarHost->addWidget(Bar);
    if (old)
        old->deleteLater();
}

void TMainForm::CreateEncodingMenu()
{
    EncodingMenu = new QMenu(this);
    EncodingMenu->setObjectName("EncodingMenu");
    struct TItem {
        const char *Name, *Caption;
        bool Reopen;
        TTextEncoding Encoding;
    };
    static const TItem items[] = {
        {"ReopenAsUtf8", "Reopen as UTF-8", true, TTextEncoding::Utf8},
        {"ReopenAsWindows1252", "Reopen as Windows-1252", true, TTextEncoding::Windows1252},
        {"ConvertToUtf8", "Convert to UTF-8", false, TTextEncoding::Utf8},
        {"ConvertToWindows1252", "Convert to Windows-1252", false, TTextEncoding::Windows1252},
    };
    for (const TItem &item : items) {
        if (!item.Reopen && item.Encoding == TTextEncoding::Utf8)
            EncodingMenu->addSeparator();
        QAction *action = EncodingMenu->addAction(item.Caption);
        action->setObjectName(item.Name);
        connect(action, &QAction::triggered, this, [this, item] {
            Guarded([this, item] {
                if (TDocumentWindowIntf *doc = ActiveDocument()) {
                    if (item.Reopen)
                        doc->ReopenInEncoding(item.Encoding);
                    else
                        doc->ConvertToEncoding(item.Encoding);
                }
            });
        });
    }
    // What can be done depends on the active document when the menu opens.
    connect(EncodingMenu, &QMenu::aboutToShow, this, [this] {
        TDocumentWindowIntf *doc = ActiveDocument();
        const bool utf8 = doc && doc->DocumentEncoding() != TTextEncoding::Windows1252;
        const bool file = doc && doc->HasFileOnDisk();
        for (QAction *action : EncodingMenu->actions()) {
            const QString name = action->objectName();
            if (name == "ReopenAsUtf8" || name == "ReopenAsWindows1252")
                action->setEnabled(file);
            else if (name == "ConvertToUtf8")
                action->setEnabled(doc && !utf8);
            else if (name == "ConvertToWindows1252")
                action->setEnabled(doc && utf8);
        }
    });
    EncodingPanel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(EncodingPanel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &At) { EncodingMenu->popup(EncodingPanel->mapToGlobal(At)); });
    EncodingPanel->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject *Watched, QEvent *E)
{
    if (Watched == EncodingPanel && E->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(E)->button() == Qt::LeftButton && ActiveDocument()) {
        EncodingMenu->popup(EncodingPanel->mapToGlobal(QPoint(0, 0)) - QPoint(0, EncodingMenu->sizeHint().height()));
        return true;
    }
    return QMainWindow::eventFilter(Watched, E);
}

void TMainForm::CreateStatusBar()
{
    Panel1 = new QStatusBar(this);
    Panel1->setObjectName("Panel1");
    setStatusBar(Panel1);
    ModifiedPanel = NewStatusPanel(Panel1, "ModifiedPanel", 64, 0, "Modified");
    UnixPanel = NewStatusPanel(Panel1, "UnixPanel", 64, 0, "Unix File");
    EncodingPanel = NewStatusPanel(Panel1, "EncodingPanel", 64, 0, "Windows-1252");
    EncodingPanel->setToolTip("The document's encoding: click to reopen or convert it");
    CreateEncodingMenu();
    StatusLine = NewStatusPanel(Panel1, "StatusLine", 0, 1);
    StatusLine->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A small sans-serif for the hint line; 11 pixels reads as the old 8-point bitmap face did.
    QFont hintFont("MS Sans Serif");
    hintFont.setStyleHint(QFont::SansSerif);
    hintFont.setPixelSize(11);
    StatusLine->setFont(hintFont);
    LineColPanel = NewStatusPanel(Panel1, "LineColPanel", 52, 0, "99999:999");
    LineColPanel->setAlignment(Qt::AlignCenter);
    LineColPanel->setText("1:1");
}

void TMainForm::OnTrigger(QAction *Action, void (TMainForm::*Handler)())
{
    connect(Action, &QAction::triggered, this, [this, Handler] { Guarded([this, Handler] { (this->*Handler)(); }); });
}

void TMainForm::ConnectCommands()
{
    OnTrigger(FileOpenItem, &TMainForm::FileOpenItemClick);
    OnTrigger(FileCloseItem, &TMainForm::FileCloseItemClick);
    OnTrigger(FileExitItem, &TMainForm::FileExitItemClick);
    OnTrigger(WindowCascadeItem, &TMainForm::WindowCascadeItemClick);
    OnTrigger(TileHorizontally1, &TMainForm::TileHorizontally1Click);
    OnTrigger(WindowTileItem, &TMainForm::WindowTileItemClick);
    OnTrigger(WindowArrangeItem, &TMainForm::WindowArrangeItemClick);
    OnTrigger(WindowMinimizeItem, &TMainForm::WindowMinimizeItemClick);
    OnTrigger(CloseAll1, &TMainForm::CloseAll1Click);
    OnTrigger(Minimize1, &TMainForm::Minimize1Click);
    OnTrigger(Maximize1, &TMainForm::Maximize1Click);
    OnTrigger(Restore1, &TMainForm::Restore1Click);
    OnTrigger(Contents1, &TMainForm::Contents1Click);
    OnTrigger(SearchforHelpon1, &TMainForm::SearchforHelpon1Click);
    OnTrigger(HowtouseHelp1, &TMainForm::HowtouseHelp1Click);
    OnTrigger(HelpAboutItem, &TMainForm::HelpAboutItemClick);
    OnTrigger(StandardSpeedBar, &TMainForm::StandardSpeedBarClick);
    OnTrigger(CommonSpeedBar, &TMainForm::CommonSpeedBarClick);
    OnTrigger(ExtendedSpeedBar, &TMainForm::ExtendedSpeedBarClick);
    OnTrigger(SpecialSpeedBar, &TMainForm::SpecialSpeedBarClick);
    OnTrigger(CustomSpeedBar, &TMainForm::CustomSpeedBarClick);
    for (QMenu *menu : {Options1, Window1, Help1})
        connect(menu, &QMenu::aboutToShow, this, [this] { Guarded([this] { UpdateMenuItems(); }); });
    connect(Window1, &QMenu::aboutToShow, this, [this] { Guarded([this] { BuildWindowList(); }); });
}

QMenu *TMainForm::createPopupMenu()
{
    // The bars are shown and hidden through the Options menu only, which also stores the choice.
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Start-up and shut-down

void TMainForm::FormCreate()
{
    // 1. Preview files that a killed run left are deleted now.
    PreviewFiles.clear();
    TPreviewFileList::RemoveLeftovers();
    // 2. The start-up directory; the first call also fixes the settings file name.
    SetWorkingDirectory(QDir::currentPath().toStdString());
    // 3.
    {
        const TProfile settings(SettingsFileName());
        const std::string workDir = settings.ReadString("Setup", "WorkDir", "");
        if (!workDir.empty())
            SetWorkingDirectory(workDir);
    }
    // 4.
    const TSystemMetrics metrics = PrimaryScreenMetrics();
    SetupManager = std::make_unique<TSetupManager>(SettingsFileName(), metrics);
    // 5.
    QApplication::setApplicationName("Pelmar32");
    FHelpFile = QFileInfo(QCoreApplication::applicationFilePath()).path() + "/" +
                QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".HLP";
    FHelpViewer = new THelpViewer(HelpDirectory(), this);
    if (!HelpServiceInstalled()) {
        SetHelpService(FHelpViewer);
        FOwnHelpInstalled = true;
    }
    // 6. Hints arrive as status-tip events (see event()); the active form is followed here.
    FActiveFormConnections << connect(MDIClient, &QMdiArea::subWindowActivated, this,
                                      [this] { Guarded([this] { ActiveFormChanged(); }); });
    FActiveFormConnections << connect(qApp, &QGuiApplication::focusWindowChanged, this,
                                      [this] { Guarded([this] { ActiveFormChanged(); }); });
    // 7.
    const TWindowRect stored{SetupManager->WindowLeft(), SetupManager->WindowTop(), SetupManager->WindowWidth(),
                             SetupManager->WindowHeight()};
    FNormalRect = FitWindowRect(stored, metrics);
    move(FNormalRect.Left, FNormalRect.Top);
    resize(FNormalRect.Width, FNormalRect.Height);
    if (SetupManager->Maximize())
        setWindowState(windowState() | Qt::WindowMaximized);
    // 8. to 14. read the settings file directly.
    const TProfile settings(SettingsFileName());
    ReadSettingsFlags();
    for (TSpeedBar bar : {TSpeedBar::Standard, TSpeedBar::Common, TSpeedBar::Extended, TSpeedBar::Special})
        SpeedBarPanel(bar)->setVisible(ReadSpeedBarVisible(settings, bar));
    QStringList recent;
    for (const std::string &name : ReadRecentFiles(settings))
        recent << BytesToQString(name);
    BuildRecentEntries(recent);
    OpenFileFilter = QString::fromLatin1(kOpenFileFilter);
    OpenDialog.Filter = OpenFileFilter;
    if (Wiring().CustomButtons)
        Wiring().CustomButtons(*this);
    CustomBarHost->setVisible(ReadSpeedBarVisible(settings, TSpeedBar::Custom));
    for (TSpeedBar bar : kSpeedBars)
        SpeedBarToggle(bar)->setChecked(!SpeedBarPanel(bar)->isHidden());
    ReadQuickKeyTable();
    // 15.
    LastMarkupCommand = nullptr;
    setAcceptDrops(true);
    setWindowTitle("Pelmar32");
    for (QAction *hidden : {OpenRemote1, OpenURL1, OpenRTFFile1, SaveAsRemote1})
        hidden->setVisible(false);
    UpdateMenuItems();
}

void TMainForm::ReadSettingsFlags()
{
    const TAppFlags flags = ReadAppFlags(TProfile(SettingsFileName()));
    UseActualCharacters = flags.UseActualCharacters;
    NewlineAfterTitle = flags.NewlineAfterTitle;
    ForceHTMLExt = flags.ForceHTMLExt;
    NeverUseCENTER = flags.NeverUseCENTER;
}

void TMainForm::ReadQuickKeyTable()
{
    QuickKeyTable = ReadQuickKeys(TProfile(SettingsFileName()));
}

void TMainForm::FormDestroy()
{
    // 1. Each step reports its own failure, and the later steps still run.
    Guarded([this] {
        TProfile settings(SettingsFileName());
        std::vector<std::string> names;
        for (const QString &name : RecentFiles())
            names.push_back(QStringToBytes(name));
        WriteRecentFiles(settings, names);
    });
    // 2.
    for (const QMetaObject::Connection &c : FActiveFormConnections)
        disconnect(c);
    FActiveFormConnections.clear();
    Help().Quit();
    if (FOwnHelpInstalled) {
        SetHelpService(nullptr);
        FOwnHelpInstalled = false;
    }
    // 3.
    if (SetupManager) {
        Guarded([this] {
            const bool maximized = isMaximized();
            // A maximised or minimised window keeps the place it had before.
            const TWindowRect r = (maximized || isMinimized())
                                      ? FNormalRect
                                      : TWindowRect{x(), y(), width(), height()};
            SetupManager->SetMaximize(maximized);
            SetupManager->SetWindowTop(r.Top);
            SetupManager->SetWindowLeft(r.Left);
            SetupManager->SetWindowWidth(r.Width);
            SetupManager->SetWindowHeight(r.Height);
        });
        SetupManager.reset();
    }
    // 4.
    for (const QString &file : PreviewFiles)
        QFile::remove(file);
    PreviewFiles.clear();
    TPreviewFileList().RemoveAll();
}

void TMainForm::showEvent(QShowEvent *E)
{
    QMainWindow::showEvent(E);
    if (!FShown) {
        FShown = true;
        // After the window is on the screen, so that a message about a file shows above it.
        QTimer::singleShot(0, this, [this] { Guarded([this] { FormShow(); }); });
    }
}

void TMainForm::FormShow()
{
    const QStringList files = FCommandLineFiles;
    FCommandLineFiles.clear();
    OfferUntitledCopies();
    for (const QString &file : files)
        Guarded([this, &file] { OpenDocument(file, false); });
}

void TMainForm::moveEvent(QMoveEvent *E)
{
    QMainWindow::moveEvent(E);
    if (windowState() == Qt::WindowNoState) {
        FNormalRect.Left = x();
        FNormalRect.Top = y();
    }
}

void TMainForm::resizeEvent(QResizeEvent *E)
{
    QMainWindow::resizeEvent(E);
    if (windowState() == Qt::WindowNoState) {
        FNormalRect.Width = width();
        FNormalRect.Height = height();
    }
}

bool TMainForm::FormCloseQuery()
{
    QList<QMdiSubWindow *> children = MDIClient->subWindowList(QMdiArea::StackingOrder);
    // The active window first, as the windows lie on the screen.
    std::reverse(children.begin(), children.end());
    for (QMdiSubWindow *sub : children) {
        if (sub->isHidden())
            continue;
        TDocumentWindowIntf *doc = dynamic_cast<TDocumentWindowIntf *>(sub);
        if (!doc)
            doc = dynamic_cast<TDocumentWindowIntf *>(sub->widget());
        if (doc && !doc->CloseQuery())
            return false;
    }
    return true;
}

void TMainForm::closeEvent(QCloseEvent *E)
{
    bool mayClose = false;
    // An error while asking refuses the close, so no unsaved text is lost.
    Guarded([this, &mayClose] { mayClose = FormCloseQuery(); });
    if (mayClose) {
        if (FHelpViewer)
            FHelpViewer->close();
        E->accept();
    } else {
        E->ignore();
    }
}

// ---------------------------------------------------------------------------------------------
// Hints, active form and command enabling

bool TMainForm::event(QEvent *E)
{
    if (E->type() == QEvent::WindowActivate) {
        // Files changed by other programs are asked about once the program is active again.
        QMetaObject::invokeMethod(
            this,
            [this] {
                for (QMdiSubWindow *sub : Children())
                    if (auto *doc = dynamic_cast<TDocumentWindowIntf *>(sub))
                        Guarded([doc] { doc->CheckFileOnDisk(); });
            },
            Qt::QueuedConnection);
    }
    if (E->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent *>(E)->tip();
        Guarded([this, &tip] { HintToStatusLine(tip); });
        return true;
    }
    return QMainWindow::event(E);
}

void TMainForm::HintToStatusLine(const QString &Hint)
{
    const int bar = Hint.indexOf('|');
    StatusLine->setText(bar < 0 ? Hint : Hint.mid(bar + 1));
}

QList<QMdiSubWindow *> TMainForm::Children() const
{
    QList<QMdiSubWindow *> open;
    for (QMdiSubWindow *sub : MDIClient->subWindowList(QMdiArea::CreationOrder))
        if (!sub->isHidden())
            open << sub;
    return open;
}

QMdiSubWindow *TMainForm::ActiveChild() const
{
    QMdiSubWindow *sub = MDIClient->currentSubWindow();
    return (sub && !sub->isHidden()) ? sub : nullptr;
}

TDocumentWindowIntf *TMainForm::ActiveDocument() const
{
    QMdiSubWindow *sub = ActiveChild();
    if (!sub)
        return nullptr;
    if (auto *doc = dynamic_cast<TDocumentWindowIntf *>(sub))
        return doc;
    return dynamic_cast<TDocumentWindowIntf *>(sub->widget());
}

void TMainForm::InsertMarkup(const std::string &Text)
{
    if (TDocumentWindowIntf *doc = ActiveDocument())
        doc->InsertMarkup(Text);
}

void TMainForm::InsertTagPair(const std::string &StartTag, const std::string &EndTag)
{
    if (TDocumentWindowIntf *doc = ActiveDocument())
        doc->InsertTagPair(StartTag, EndTag);
}

void TMainForm::SetMergedMenus(const QList<QMenu *> &Menus)
{
    QList<QMenu *> current;
    for (const QPointer<QMenu> &m : FMergedMenus)
        if (m)
            current << m;
    if (current == Menus)
        return;
    for (QMenu *m : current)
        menuBar()->removeAction(m->menuAction());
    FMergedMenus.clear();
    for (QMenu *m : Menus) {
        if (!m)
            continue;
        menuBar()->insertAction(Options1->menuAction(), m->menuAction());
        FMergedMenus << QPointer<QMenu>(m);
    }
}

void TMainForm::ActiveFormChanged()
{
    // Maximising or restoring a child changes the caption too.
    if (QMdiSubWindow *sub = ActiveChild())
        connect(sub, &QMdiSubWindow::windowStateChanged, this, &TMainForm::ChildStateChanged, Qt::UniqueConnection);
    TDocumentWindowIntf *doc = ActiveDocument();
    SetMergedMenus(doc ? doc->MergedMenus() : QList<QMenu *>());
    UpdateMenuItems();
}

void TMainForm::ChildStateChanged()
{
    Guarded([this] { UpdateMenuItems(); });
}

void TMainForm::UpdateMenuItems()
{
    TDocumentWindowIntf *doc = ActiveDocument();
    const bool documentActive = doc != nullptr;
    const bool windowsOpen = !Children().isEmpty();
    const QMdiSubWindow *sub = ActiveChild();
    if (!doc || (sub && sub->isMaximized()))
        setWindowTitle("Pelmar32");
    else
        setWindowTitle("Pelmar32 - [" + doc->DocumentCaption() + "]");
    const bool saveEnabled = documentActive && doc->DocumentModified();
    FileSaveItem->setEnabled(saveEnabled);
    FileCloseItem->setEnabled(windowsOpen);
    for (QAction *a : {FileSaveAsItem, SaveAsUnix1, SavewithoutHTMLTags1, InsertFile1, CheckHTMLDocument1,
                       TestHTMLDocument1, Print1, EditRightMouseButtonMenu1, CloseAll1})
        a->setEnabled(documentActive);
    for (QAction *a : {WindowCascadeItem, WindowTileItem, TileHorizontally1, Minimize1, Maximize1, Restore1,
                       WindowArrangeItem, WindowMinimizeItem})
        a->setEnabled(windowsOpen);
    UpdateSpeedButtons(documentActive, windowsOpen, saveEnabled);
}

void TMainForm::UpdateSpeedButtons(bool DocumentActive, bool WindowsOpen, bool SaveEnabled)
{
    auto stateFor = [&](const QString &name) {
        if (name == "NewBtn" || name == "OpenBtn" || name == "ExitBtn")
            return true;
        if (name == "SaveBtn")
            return SaveEnabled;
        if (name == "CloseButton")
            return WindowsOpen;
        return DocumentActive;
    };
    auto named = [](const QObject *o) { return !o->objectName().isEmpty() && !o->objectName().startsWith("qt_"); };
    // Only the bars visible now: a hidden bar's buttons keep their state until it shows again.
    for (QToolBar *bar : {StandardPanel, CommonPanel, SpecialPanel, ExtendedPanel}) {
        if (bar->isHidden())
            continue;
        for (QAction *a : bar->actions())
            if (named(a) && !a->isSeparator())
                a->setEnabled(stateFor(a->objectName()));
        for (QAbstractButton *b : bar->findChildren<QAbstractButton *>()) {
            const auto *tool = qobject_cast<QToolButton *>(b);
            if (named(b) && !(tool && tool->defaultAction()))
                b->setEnabled(stateFor(b->objectName()));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Documents and recent files

TDocumentWindowIntf *TMainForm::OpenDocument(const QString &Name, bool NewFlag)
{
    const QString fileName = NewFlag ? Name : DocumentFileName(Name);
    if (!NewFlag) {
        const QFileInfo info(fileName);
        if (!info.exists() || info.isDir()) {
            ShowError("Cannot find file: " + Name);
            return nullptr;
        }
        // A file that cannot be read is not called read-only: loading it reports why it fails.
        if (info.isReadable() && IsReadOnlyFile(info))
            ShowWarning("File is read-only.");
    }
    if (!DocumentFactory)
        return nullptr;
    TDocumentWindowIntf *doc = DocumentFactory(fileName, NewFlag);
    if (doc)
        setWindowTitle("Pelmar32 - [" + doc->DocumentCaption() + "]");
    return doc;
}

void TMainForm::FileOpenItemClick()
{
    OpenDialog.Title = "Open File";
    OpenDialog.HelpContext = 50;
    OpenDialog.Filter = OpenFileFilter;
    OpenDialog.MultiSelect = false;
    if (!OpenDialog.FileName.isEmpty()) {
        const QFileInfo last(OpenDialog.FileName);
        if (last.isAbsolute())
            OpenDialog.InitialDir = last.path();
        OpenDialog.FileName = last.fileName();
    }
    if (!Prompt().OpenFile(OpenDialog))
        return;
    const QString file = OpenDialog.FileName;
    OpenDocument(file, false);
    AddRecentFile(file);
}

QStringList TMainForm::RecentFiles() const
{
    QStringList names;
    for (const QAction *entry : FRecentEntries)
        names << entry->data().toString();
    return names;
}

void TMainForm::BuildRecentEntries(const QStringList &Names)
{
    // The entries stay in place and their captions shift; only the count changes.
    while (FRecentEntries.size() > Names.size()) {
        QAction *entry = FRecentEntries.takeLast();
        File1->removeAction(entry);
        entry->setObjectName(QString());
        entry->deleteLater();
    }
    if (Names.isEmpty()) {
        if (FRecentSeparator) {
            File1->removeAction(FRecentSeparator);
            FRecentSeparator->deleteLater();
            FRecentSeparator = nullptr;
        }
        return;
    }
    if (!FRecentSeparator) {
        FRecentSeparator = File1->addSeparator();
        FRecentSeparator->setObjectName("RecentSeparator");
    }
    while (FRecentEntries.size() < Names.size()) {
        QAction *entry = File1->addAction(QString());
        entry->setObjectName(QString("RecentFile%1").arg(FRecentEntries.size() + 1));
        connect(entry, &QAction::triggered, this, [this, entry] { Guarded([this, entry] { RecentFileClick(entry); }); });
        FRecentEntries << entry;
    }
    for (int i = 0; i < Names.size(); ++i) {
        FRecentEntries[i]->setText(MenuCaption(Names[i]));
        FRecentEntries[i]->setData(Names[i]);
    }
}

void TMainForm::AddRecentFile(const QString &Name)
{
    // Not searched: a name already listed gets a second entry.
    QStringList names = RecentFiles();
    names.prepend(QFileInfo(Name).absoluteFilePath());
    while (names.size() > int(kMaxRecentFiles))
        names.removeLast();
    BuildRecentEntries(names);
}

void TMainForm::RecentFileClick(QAction *Entry)
{
    OpenDocument(Entry->data().toString(), false);
}

void TMainForm::DropFiles(const QStringList &Files)
{
    for (const QString &file : Files) {
        const QString ext = QFileInfo(file).suffix().toLower();
        if (ext == "gif" || ext == "jpg" || ext == "jpeg") {
            if (ImageCommand)
                ImageCommand(file);
        } else if (QueryKeyState() & Qt::ControlModifier) {
            const QString address = QFileInfo(LowerCasedFileName(file)).fileName();
            InsertTagPair(QStringToBytes("<A HREF=\"" + address + "\">"), "</A>");
        } else {
            OpenDocument(file, false);
        }
    }
}

static QStringList DroppedFiles(const QMimeData *Data)
{
    QStringList files;
    if (!Data || !Data->hasUrls())
        return files;
    for (const QUrl &url : Data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

void TMainForm::dragEnterEvent(QDragEnterEvent *E)
{
    if (!DroppedFiles(E->mimeData()).isEmpty())
        E->acceptProposedAction();
}

void TMainForm::dragMoveEvent(QDragMoveEvent *E)
{
    if (!DroppedFiles(E->mimeData()).isEmpty())
        E->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *E)
{
    const QStringList files = DroppedFiles(E->mimeData());
    if (files.isEmpty())
        return;
    E->acceptProposedAction();
    Guarded([this, &files] { DropFiles(files); });
}

// ---------------------------------------------------------------------------------------------
// File and Window commands

void TMainForm::FileCloseItemClick()
{
    if (QMdiSubWindow *sub = ActiveChild())
        sub->close();
}

void TMainForm::FileExitItemClick()
{
    close();
}

void TMainForm::WindowCascadeItemClick()
{
    MDIClient->cascadeSubWindows();
}

void TMainForm::TileHorizontally1Click()
{
    FTileMode = TTileMode::Horizontal;
    Tile(FTileMode);
}

void TMainForm::WindowTileItemClick()
{
    FTileMode = TTileMode::Vertical;
    Tile(FTileMode);
}

void TMainForm::Tile(TTileMode Mode)
{
    QList<QMdiSubWindow *> windows;
    bool anyMinimized = false;
    for (QMdiSubWindow *sub : Children()) {
        if (sub->isMinimized())
            anyMinimized = true;
        else
            windows << sub;
    }
    if (windows.isEmpty())
        return;
    QRect area = MDIClient->viewport()->rect();
    if (anyMinimized)
        area.setBottom(area.bottom() - 30);  // keep the icon row free
    const int n = int(windows.size());
    // Up to three windows share one direction; more make a grid.
    int across = 1, down = n;
    if (n > 3) {
        across = int(std::floor(std::sqrt(double(n))));
        down = (n + across - 1) / across;
    }
    if (Mode == TTileMode::Vertical)
        std::swap(across, down);
    int i = 0;
    for (QMdiSubWindow *sub : windows) {
        if (sub->isMaximized())
            sub->showNormal();
        const int col = Mode == TTileMode::Horizontal ? i / down : i % across;
        const int row = Mode == TTileMode::Horizontal ? i % down : i / across;
        // The last column or row takes up what remains when the count does not divide evenly.
        const int inLine = Mode == TTileMode::Horizontal ? std::min(down, n - col * down)
                                                         : std::min(across, n - row * across);
        const int w = Mode == TTileMode::Horizontal ? area.width() / across : area.width() / inLine;
        const int h = Mode == TTileMode::Horizontal ? area.height() / inLine : area.height() / down;
        sub->setGeometry(area.left() + col * w, area.top() + row * h, w, h);
        ++i;
    }
}

void TMainForm::WindowArrangeItemClick()
{
    const QRect area = MDIClient->viewport()->rect();
    int x = 0, y = area.bottom();
    for (QMdiSubWindow *sub : Children()) {
        if (!sub->isMinimized())
            continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        sub->move(x, y - size.height() + 1);
        x += size.width();
    }
}

void TMainForm::WindowMinimizeItemClick()
{
    const QList<QMdiSubWindow *> children = Children();
    for (auto it = children.crbegin(); it != children.crend(); ++it)
        (*it)->showMinimized();
}

void TMainForm::CloseAll1Click()
{
    const QList<QMdiSubWindow *> children = Children();
    for (auto it = children.crbegin(); it != children.crend(); ++it)
        (*it)->close();
}

void TMainForm::Minimize1Click()
{
    if (QMdiSubWindow *sub = ActiveChild())
        sub->showMinimized();
}

void TMainForm::Maximize1Click()
{
    if (QMdiSubWindow *sub = ActiveChild())
        sub->showMaximized();
}

void TMainForm::Restore1Click()
{
    if (QMdiSubWindow *sub = ActiveChild())
        sub->showNormal();
}

void TMainForm::BuildWindowList()
{
    for (QAction *a : FWindowListEntries) {
        Window1->removeAction(a);
        a->deleteLater();
    }
    FWindowListEntries.clear();
    const QList<QMdiSubWindow *> children = Children();
    if (children.isEmpty())
        return;
    FWindowListEntries << Window1->addSeparator();
    QMdiSubWindow *active = ActiveChild();
    int number = 0;
    for (QMdiSubWindow *sub : children) {
        if (++number > kListedWindows)
            break;
        QAction *entry = Window1->addAction(QString("&%1 %2").arg(number).arg(MenuCaption(sub->windowTitle())));
        entry->setObjectName(QString("WindowListEntry%1").arg(number));
        entry->setCheckable(true);
        entry->setChecked(sub == active);
        QPointer<QMdiSubWindow> target(sub);
        connect(entry, &QAction::triggered, this, [this, target] {
            if (target)
                MDIClient->setActiveSubWindow(target);
        });
        FWindowListEntries << entry;
    }
    // The rest are reached through a list of all of them, as the desktop's window menus do.
    if (children.size() > kListedWindows) {
        QAction *more = Window1->addAction("&More Windows...");
        more->setObjectName("MoreWindowsItem");
        connect(more, &QAction::triggered, this, [this] { Guarded([this] { MoreWindowsClick(); }); });
        FWindowListEntries << more;
    }
}

void TMainForm::MoreWindowsClick()
{
    const QList<QMdiSubWindow *> children = Children();
    QStringList captions;
    for (const QMdiSubWindow *sub : children)
        captions << sub->windowTitle();
    TSelectWindowDialog dialog(captions, int(children.indexOf(ActiveChild())), this);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return;
    const int chosen = dialog.Chosen();
    // A window may have closed while the list was open.
    if (chosen >= 0 && chosen < children.size() && Children().contains(children[chosen]))
        MDIClient->setActiveSubWindow(children[chosen]);
}

// ---------------------------------------------------------------------------------------------
// Speed bar toggles

QToolBar *TMainForm::SpeedBarPanel(TSpeedBar Bar) const
{
    switch (Bar) {
    case TSpeedBar::Standard: return StandardPanel;
    case TSpeedBar::Common: return CommonPanel;
    case TSpeedBar::Extended: return ExtendedPanel;
    case TSpeedBar::Special: return SpecialPanel;
    case TSpeedBar::Custom: return CustomBarHost;
    }
    return nullptr;
}

QAction *TMainForm::SpeedBarToggle(TSpeedBar Bar) const
{
    switch (Bar) {
    case TSpeedBar::Standard: return StandardSpeedBar;
    case TSpeedBar::Common: return CommonSpeedBar;
    case TSpeedBar::Extended: return ExtendedSpeedBar;
    case TSpeedBar::Special: return SpecialSpeedBar;
    case TSpeedBar::Custom: return CustomSpeedBar;
    }
    return nullptr;
}

void TMainForm::ToggleSpeedBar(TSpeedBar Bar)
{
    // The toggle flips its own check mark when triggered; the bar follows it.
    QAction *toggle = SpeedBarToggle(Bar);
    const bool visible = toggle->isChecked();
    SpeedBarPanel(Bar)->setVisible(visible);
    TProfile settings(SettingsFileName());
    WriteSpeedBarVisible(settings, Bar, visible);
}

void TMainForm::StandardSpeedBarClick() { ToggleSpeedBar(TSpeedBar::Standard); }
void TMainForm::CommonSpeedBarClick() { ToggleSpeedBar(TSpeedBar::Common); }
void TMainForm::ExtendedSpeedBarClick() { ToggleSpeedBar(TSpeedBar::Extended); }
void TMainForm::SpecialSpeedBarClick() { ToggleSpeedBar(TSpeedBar::Special); }
void TMainForm::CustomSpeedBarClick() { ToggleSpeedBar(TSpeedBar::Custom); }

// ---------------------------------------------------------------------------------------------
// Help

void TMainForm::Contents1Click()
{
    Help().ShowContents();
}

void TMainForm::SearchforHelpon1Click()
{
    Help().SearchKeyword(QString());
}

void TMainForm::HowtouseHelp1Click()
{
    Help().ShowHelpOnHelp();
}

void TMainForm::HelpAboutItemClick()
{
    TAboutBoxSW box(this);
    ExecDialog(box);
}
