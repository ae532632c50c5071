// TMDIChild: the document window: creation from the settings, menus from the catalogue, markup insertion,
// the commands' recording rules, saving, the close query and the quick keys.
#include "ui/document/DocumentWindow.h"

#include "core/editor/EditorErrors.h"
#include "core/editor/Recovery.h"
#include "core/editor/Search.h"
#include "core/editor/TextFileIO.h"
#include "core/markup/TagCase.h"
#include "core/settings/AppSettings.h"
#include "core/settings/Profile.h"
#include "platform/FileNameCase.h"
#include "platform/KeyState.h"
#include "platform/TextCodec.h"
#include "ui/document/MarkupMenus.h"
#include "ui/editor/MarkupEditor.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMenu>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <unistd.h>
#include <cstdlib>
#include <map>
#include <new>

namespace {

std::map<TCommandKind, TDocumentCommandHook> &Hooks()
{
    static std::map<TCommandKind, TDocumentCommandHook> hooks;
    return hooks;
}

TRightMenuBuilder &RightMenuBuilder()
{
    static TRightMenuBuilder builder;
    return builder;
}

const TDocumentCommandHook *HookFor(TCommandKind Kind)
{
    const auto it = Hooks().find(Kind);
    return it != Hooks().end() && it->second ? &it->second : nullptr;
}

bool ShiftDown()
{
    return QueryKeyState() & Qt::ShiftModifier;
}

// Shows the hourglass for its lifetime (restored on every way out).
class TBusyScope {
public:
    explicit TBusyScope(TMDIChild &Doc) : FDoc(Doc) { FDoc.SetBusyCursor(true); }
    ~TBusyScope() { FDoc.SetBusyCursor(false); }
    TBusyScope(const TBusyScope &) = delete;
    TBusyScope &operator=(const TBusyScope &) = delete;

private:
    TMDIChild &FDoc;
};

// The long time format without the time zone that Qt's long format adds.
QString LongTimeText(const QTime &Time)
{
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove('t');
    return QLocale::system().toString(Time, format.trimmed());
}

} // namespace

QFont EditorFont(const QString &Name, int Height, bool Bold, bool Italic)
{
    QFont font(Name);
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(Height == 0 ? 12 : std::abs(Height));
    font.setBold(Bold);
    font.setItalic(Italic);
    return font;
}

TMDIChild *ActiveMDIChild()
{
    TMainHost *main = MainHost();
    return main ? dynamic_cast<TMDIChild *>(main->ActiveDocument()) : nullptr;
}

void TMDIChild::SetCommandHook(TCommandKind Kind, TDocumentCommandHook Hook)
{
    if (Hook)
        Hooks()[Kind] = std::move(Hook);
    else
        Hooks().erase(Kind);
}

void TMDIChild::SetRightMenuBuilder(TRightMenuBuilder Builder)
{
    RightMenuBuilder() = std::move(Builder);
}

namespace {
std::function<void(TMDIChild &)> &RightMenuEditor()
{
    static std::function<void(TMDIChild &)> editor;
    return editor;
}
} // namespace

void TMDIChild::SetRightMenuEditor(std::function<void(TMDIChild &Doc)> Editor)
{
    RightMenuEditor() = std::move(Editor);
}

void TMDIChild::CheckFileOnDisk()
{
    if (FClosed || FCheckingDisk || !Editor->IsOpen())
        return;
    if (Editor->FileDeletedOnDisk()) {
        if (!FDeletedNoted) {
            FDeletedNoted = true;
            Editor->SetModified(true);
            ReportStatus();
        }
        return;
    }
    FDeletedNoted = false;
    if (!Editor->FileChangedOnDisk())
        return;
    const TFileStamp now = Editor->DiskStamp();
    if (now == FAskedStamp)
        return;
    FAskedStamp = now;
    FCheckingDisk = true;
    const QString question = Editor->FileName() + (Editor->Modified()
                                                       ? " was changed by another program.  Reload it and lose your changes?"
                                                       : " was changed by another program.  Reload it?");
    const bool reload = Prompt().MessageDlg(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes;
    FCheckingDisk = false;
    if (!reload)
        return;
    const TFileFormat format = DetectFileFormat(TEdCustomTextFileEditor::FileNameBytes(Editor->FileName()));
    if (Editor->ReloadFromFile(format))
        Editor->SetFileFormat(format);
    ReportStatus();
}

void TMDIChild::EditRightMenu()
{
    if (RightMenuEditor())
        RightMenuEditor()(*this);
}

// ---------------------------------------------------------------------------------------------
// Creation

TMDIChild::TMDIChild(TMainHost &MainWindow) : QMdiSubWindow(nullptr), Main(MainWindow)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("MDIChild");
    setWindowTitle("Untitled");
    Editor = new TMarkupEditor(this);
    Editor->setObjectName("Editor");
    setWidget(Editor);
    setFocusProxy(Editor);

    Editor->SetBackupExt("BAK");
    Editor->SetHideSelection(false);
    Editor->SetRightMargin(5);
    Editor->SetWantTab(true);
    Editor->OnShowStatus = [this](TEdCustomEditor *, int Line, int Col) {
        Guarded([this, Line, Col] { EditorShowStatus(Line, Col); });
    };
    Editor->OnUserCommand = [this](TEdCustomEditor *, int Command) {
        Guarded([this, Command] { UserCommandHandler(Command); });
    };
    Editor->OnRightButton = [this](TMarkupEditor *, QPoint) { Guarded([this] { FormMouseDown(); }); };

    BuildMenus();
    RightMenu = new QMenu(this);
    RightMenu->setObjectName("RightMenu");

    SaveDialog.HelpContext = 7;
    Main.MDIClient->addSubWindow(this);
    // The window's system menu brings keys of its own (Ctrl+W for its Close), which would make
    // the main window's File > Close key ambiguous while a document has the focus: the menu keeps
    // its entries, the keys stay with the menu bar.
    if (QMenu *system = systemMenu())
        for (QAction *action : system->actions())
            action->setShortcuts({});
    connect(Main.MDIClient, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *Sub) {
        if (Sub == this && !FClosed) {
            Guarded([this] { ReportStatus(); });
            // Asked once the activation is over, not in the middle of it.
            QMetaObject::invokeMethod(this, [this] { Guarded([this] { CheckFileOnDisk(); }); }, Qt::QueuedConnection);
        }
    });
    FormCreate();
}

TMDIChild::~TMDIChild()
{
    // The editor must not report into the main window while it is being taken apart.
    if (Editor) {
        Editor->OnShowStatus = nullptr;
        Editor->OnUserCommand = nullptr;
        Editor->OnRightButton = nullptr;
    }
    // The copy stays on disk (a window destroyed without closing is the program's end), but the
    // name is no longer this run's.
    if (FCopyJob.valid())
        FCopyJob.wait();
    if (!FRecoveryPath.empty())
        ReleaseRecoveryName(FRecoveryPath);
}

namespace {

enum class TLoadResult { Loaded, NoMemory, Failed };

// Loads the document's file. A failure other than running out of memory is reported here.
TLoadResult LoadFile(TMDIChild &Doc)
{
    try {
        Doc.Editor->SetIsOpen(true);
    } catch (const std::bad_alloc &) {
        return TLoadResult::NoMemory;
    } catch (const EOutOfMemory &) {
        return TLoadResult::NoMemory;
    } catch (const EEditorError &e) {
        if (e.Code() == edeNoMemory)
            return TLoadResult::NoMemory;
        ShowException(e);
        return TLoadResult::Failed;
    } catch (const std::exception &e) {
        ShowException(e);
        return TLoadResult::Failed;
    }
    return TLoadResult::Loaded;
}

} // namespace

TMDIChild *TMDIChild::Create(TMainHost &Main, const QString &Name, bool NewFlag)
{
    auto *doc = new TMDIChild(Main);  // owned by the MDI area, deleted on close
    doc->setWindowTitle(Name);
    Main.MDIClient->setActiveSubWindow(doc);
    doc->Editor->SetFileName(Name);
    const TLoadResult loaded = NewFlag ? TLoadResult::Loaded : LoadFile(*doc);
    if (loaded != TLoadResult::Loaded) {
        // Nothing of the file is held (what was read is freed): no window stays bound to a file
        // it does not hold, where a save would overwrite it.
        delete doc;
        if (loaded == TLoadResult::NoMemory)
            ShowError("Not enough memory to open " + Name + ".");
        return nullptr;
    }
    if (!NewFlag && doc->Editor->IsOpen())
        Guarded([doc] { doc->OfferRecovery(); });
    doc->Editor->setFocus();
    Guarded([doc] { doc->ReportStatus(); });
    // Once more after the creator is done with the caption, as the focus moving in would.
    QMetaObject::invokeMethod(doc, [doc] { Guarded([doc] { doc->ReportStatus(); }); }, Qt::QueuedConnection);
    return doc;
}

void TMDIChild::BuildMenus()
{
    TMarkupMenuSet set = BuildMarkupMenus(*this, [this](const TMarkupCommand &Command, QAction *Sender) {
        Guarded([this, &Command, Sender] { RunCommand(Command, Sender); });
    });
    FMenus = set.Menus;
    FActions = set.Actions;
    QMenu **members[] = {&Edit1, &Element1, &Flow1, &List1, &Link1, &Entity1, &Font1, &Style1};
    for (int i = 0; i < FMenus.size() && i < 8; ++i)
        *members[i] = FMenus[i];
}

// The default place of a new window: one title bar below and to the right of the window opened
// last, back at the top left corner when it would not fit in the client area.
QPoint TMDIChild::CascadePosition() const
{
    const QSize area = Main.MDIClient->viewport()->size();
    const int step = std::max(8, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
    const QList<QMdiSubWindow *> windows = Main.MDIClient->subWindowList(QMdiArea::CreationOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        const QMdiSubWindow *last = *it;
        if (last == this || !last->isVisible() || last->isMinimized() || last->isMaximized())
            continue;
        const QPoint next = last->pos() + QPoint(step, step);
        if (next.x() + width() > area.width() || next.y() + height() > area.height())
            return {0, 0};
        return next;
    }
    return {0, 0};
}

void TMDIChild::FormCreate()
{
    TSetupManager &setup = *Main.SetupManager;
    // 1.
    Editor->SetController(Main.MainController);
    // 2. Not maximised, a new window takes the usual share of the client area.
    if (setup.MDIChildMaximize()) {
        showMaximized();
    } else {
        const QSize area = Main.MDIClient->viewport()->size();
        resize(std::max(320, area.width() * 3 / 4), std::max(200, area.height() * 3 / 4));
        move(CascadePosition());
        show();
    }
    // 3.
    if (setup.SyntaxHighlighting())
        Editor->SetSyntaxColors(setup.TextColor(), setup.ElementColor(), setup.EntityColor());
    // 4.
    Editor->SetWordWrap(setup.WordWrap());
    Editor->SetScrollBars(setup.WordWrap() ? ssVertical : ssBoth);
    // 5.
    FormResize();
    // 6.
    const TProfile settings(SettingsFileName());
    Editor->SetUndoBufferSize(ReadUndoBufferKB(settings) * 1024);
    // Lines load as they are, trailing blanks included, when the user asks to keep them.
    Editor->SetTrimWhiteSpace(!settings.ReadBool("Setup", "KeepTrailingBlanks", false));
    // New documents start in the preferred encoding; a file read into this window takes its own.
    Editor->SetNewDocumentEncoding(ReadNewDocEncoding(settings));
    Editor->ParaList().SetEncoding(Editor->NewDocumentEncoding());
    if (settings.ReadBool("Debug", "NoUndo", false)) {
        Editor->SetUndoBufferSize(0);
        for (const char *name : {"Undo1", "Redo1"})
            if (QAction *a = Action(name))
                a->setEnabled(false);
    }
    // Unsaved text is copied for recovery every so many seconds (0: never).
    FRecoveryTimer = new QTimer(this);
    FRecoveryTimer->setObjectName("RecoveryTimer");
    connect(FRecoveryTimer, &QTimer::timeout, this, [this] { Guarded([this] { RecoveryTimerTick(); }); });
    if (const int seconds = ReadRecoverySeconds(settings); seconds > 0)
        FRecoveryTimer->start(seconds * 1000);
    // 7.
    Editor->FixedFont().AssignOrSubstitute(EditorFont(BytesToQString(settings.ReadString("Font", "Name", "Courier New")),
                                                      settings.ReadInteger("Font", "Size", -12),
                                                      settings.ReadBool("Font", "Bold", false),
                                                      settings.ReadBool("Font", "Italic", false)));
    // The columns that fit are counted again in the font the text is shown in.
    FormResize();
    // 8.
    for (const char *name : {"CheckSpelling1", "FormWiz1", "N9"})
        if (QAction *a = Action(name))
            a->setVisible(false);
    // 9.
    if (RightMenuBuilder())
        RightMenuBuilder()(*this, *RightMenu);
    // 10.
    ReportStatus();
}

QAction *TMDIChild::Action(const QString &Name) const
{
    return FActions.value(Name);
}

QList<QMenu *> TMDIChild::MergedMenus() const
{
    return FMenus;
}

QString TMDIChild::DocumentCaption() const
{
    return windowTitle();
}

bool TMDIChild::DocumentModified() const
{
    return Editor->Modified();
}

// ---------------------------------------------------------------------------------------------
// Events

void TMDIChild::resizeEvent(QResizeEvent *E)
{
    // The window's layout has given the editor its new size by now.
    QMdiSubWindow::resizeEvent(E);
    Guarded([this] { FormResize(); });
}

void TMDIChild::FormResize()
{
    Editor->SetWrapColumn(Editor->VisibleColumns() - 1);
}

void TMDIChild::FormMouseDown()
{
    if (!RightMenu->isEmpty())
        RightMenu->popup(QCursor::pos());
}

void TMDIChild::EditorShowStatus(int Line, int Col)
{
    if (FClosed)
        return;
    // Only the active window speaks for the status bar (a window being created counts).
    QMdiSubWindow *active = Main.ActiveChild();
    if (active && active != this)
        return;
    Main.UpdateMenuItems();
    Main.LineColPanel->setText(QString("%1:%2").arg(Line).arg(Col));
    Main.LineColPanel->repaint();
    Main.ModifiedPanel->setText(Editor->Modified() ? "Modified" : "");
    Main.ModifiedPanel->repaint();
    const TFileFormat format = Editor->FileFormat();
    Main.UnixPanel->setText(format == ffUnix ? "Unix File" : format == ffDos ? "DOS File" : "");
    Main.UnixPanel->repaint();
    if (Main.EncodingPanel) {
        Main.EncodingPanel->setText(EncodingName(Editor->Encoding()));
        Main.EncodingPanel->repaint();
    }
}

void TMDIChild::ReportStatus()
{
    int col = 0;
    const int line = Editor->GetCaretPosition(col);
    EditorShowStatus(line, Editor->CaretStatusColumn());
}

void TMDIChild::UserCommandHandler(int Command)
{
    const int k = Command - 256;
    if (k < 0 || k >= int(Main.QuickKeyTable.size()))
        return;
    const std::string &text = Main.QuickKeyTable[std::size_t(k)];
    if (text.empty())
        ShowInformation("This QuickKey not defined.");
    else
        InsertPlainText(DocumentBytes(text));
}

void TMDIChild::SetBusyCursor(bool Busy)
{
    if (Busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++FBusy;
    } else if (FBusy > 0) {
        QApplication::restoreOverrideCursor();
        --FBusy;
    }
}

// ---------------------------------------------------------------------------------------------
// Markup insertion

void TMDIChild::InsertPlainText(const std::string &Text)
{
    RaiseEditorError(Editor->InsertString(Text));
}

std::string TMDIChild::DocumentBytes(const std::string &Text) const
{
    return Editor->ParaList().Utf8() ? Windows1252ToUtf8(Text) : Text;
}

void TMDIChild::InsertMarkup(const std::string &Text)
{
    InsertDocumentMarkup(DocumentBytes(Text));
}

void TMDIChild::InsertDocumentMarkup(const std::string &Text)
{
    InsertPlainText(ApplyTagCase(Text, Main.SetupManager->LowerCaseTags()));
}

void TMDIChild::InsertTagPair(const std::string &Start, const std::string &End)
{
    // The tags come from menus and dialogs; the selection they wrap is the document's own.
    const std::string StartTag = DocumentBytes(Start), EndTag = DocumentBytes(End);
    const bool lower = Main.SetupManager->LowerCaseTags();
    int l1, c1, l2, c2;
    if (Editor->GetSelection(l1, c1, l2, c2)) {
        // Raises "Region is too large (> 64K)" before anything changes.
        const std::optional<std::string> selected = Editor->GetSelectedText();
        InsertPlainText(TagPairText(StartTag, selected.value_or(std::string()), EndTag, lower));
        return;
    }
    InsertPlainText(TagPairText(StartTag, {}, EndTag, lower));
    int col = 0;
    const int line = Editor->GetCaretPosition(col);
    const int target = CaretColumnAfterTagPair(col, EndTag);
    if (target != col)
        Editor->SetCaretPosition(line, target);
}

void TMDIChild::InsertBodyTag(const std::string &Tag, bool EndTag)
{
    if (EndTag) {
        InsertTagPair(Tag, "</BODY>");
        return;
    }
    if (!Editor->Search("<BODY", soWholeText)) {
        InsertMarkup(Tag);
        return;
    }
    int l1, c1, l2, c2;
    Editor->GetSelection(l1, c1, l2, c2);
    // The search for ">" starts at the caret, which the first search left after "<BODY".
    if (!Editor->Search(">", 0)) {
        ShowWarning("Incomplete <BODY> element");
        Editor->SetSelection(l1, c1, l2, c2, true);
        return;
    }
    int m1, n1, m2, n2;
    Editor->GetSelection(m1, n1, m2, n2);
    Editor->SetSelection(l1, c1, m2, n2, true);
    InsertMarkup(Tag);
}

void TMDIChild::MoveCaretToStart()
{
    Editor->SetCaretPosition(1, 1);
}

void TMDIChild::ApplyEditorColors()
{
    TSetupManager &setup = *Main.SetupManager;
    if (setup.SyntaxHighlighting())
        Editor->SetSyntaxColors(setup.TextColor(), setup.ElementColor(), setup.EntityColor());
    Editor->viewport()->update();
}

void TMDIChild::InsertFile(const QString &Name)
{
    Editor->InsertTextFile(Name);
    Editor->SetModified(true);
    ReportStatus();
}

// ---------------------------------------------------------------------------------------------
// Commands

bool TMDIChild::Click(const QString &Name, QObject *Sender)
{
    QAction *action = Action(Name);
    if (!action || !action->isEnabled() || FClosed)
        return false;
    const TMarkupCommand *command = FindMarkupCommand(QStringToBytes(Name));
    if (!command)
        return false;
    Guarded([this, command, Sender, action] { RunCommand(*command, Sender ? Sender : action); });
    return true;
}

void TMDIChild::Record(QObject *Sender)
{
    Main.LastMarkupCommand = Sender;
}

void TMDIChild::RunCommand(const TMarkupCommand &Command, QObject *Sender)
{
    if (Command.Record == TRecordMode::BeforeActing)
        Record(Sender);
    const bool accepted = Perform(Command, Sender);
    if (Command.Record == TRecordMode::Yes || (Command.Record == TRecordMode::IfOK && accepted))
        Record(Sender);
}

bool TMDIChild::Perform(const TMarkupCommand &Command, QObject *Sender)
{
    using K = TCommandKind;
    if ((Command.Flags & cfShiftBlockDialog) && ShiftDown()) {
        const TDocumentCommandHook *dialog = HookFor(K::BlockDialog);
        return dialog && (*dialog)(*this, Command);
    }
    if ((Command.Flags & cfShiftRunsCommand) && ShiftDown()) {
        // The options command runs in its place and records itself.
        Click(QString::fromLatin1(Command.ShiftCommand.data(), qsizetype(Command.ShiftCommand.size())));
        return true;
    }
    if (const TDocumentCommandHook *hook = HookFor(Command.Kind))
        return (*hook)(*this, Command);

    switch (Command.Kind) {
    case K::Pair: {
        const TMarkupText markup = CommandMarkup(Command, Main.NewlineAfterTitle, Main.NeverUseCENTER);
        InsertTagPair(markup.Start, markup.End);
        return true;
    }
    case K::Insert:
    case K::StandardOutline:
        InsertMarkup(std::string(Command.Start));
        return true;
    case K::Plain:
        InsertPlainText(std::string(Command.Start));
        return true;
    case K::Undo: Editor->Undo(); return true;
    case K::Redo: Editor->Redo(); return true;
    case K::Cut: Editor->CutToClipboard(); return true;
    case K::Copy: Editor->CopyToClipboard(); return true;
    case K::Paste: Editor->PasteFromClipboard(); return true;
    case K::Delete: Editor->DeleteSelection(); return true;
    case K::SelectAll: Editor->SelectAll(false); return true;
    case K::RepeatLastMarkup: RepeatLastMarkup1Click(Sender); return true;
    case K::CurrentTime: InsertCurrentTime(); return true;
    case K::Question: return Ask(Command);
    case K::EmbedOLE: return EmbedOLE();
    case K::Image:
        if (Main.ImageCommand)
            Main.ImageCommand(QString());
        return true;
    default:
        // A dialog or command another unit provides; nothing until it is installed.
        return false;
    }
}

void TMDIChild::RepeatLastMarkup1Click(QObject *)
{
    QObject *last = Main.LastMarkupCommand.data();
    if (!last)
        return;
    if (auto *action = qobject_cast<QAction *>(last)) {
        auto *owner = qobject_cast<TMDIChild *>(action->parent());
        if (!owner) {
            action->trigger();
            return;
        }
        // A command of a window being closed is gone; one of another window runs here, in the
        // document the user is working on.
        if (owner->FClosed)
            return;
        if (QAction *mine = Action(action->objectName()); mine && mine->isEnabled())
            RunCommand(*FindMarkupCommand(QStringToBytes(mine->objectName())), mine);
        return;
    }
    if (auto *button = qobject_cast<QAbstractButton *>(last))
        button->click();
}

bool TMDIChild::Ask(const TMarkupCommand &Command)
{
    QString value;
    if (!Prompt().InputQuery(BytesToQString(std::string(Command.DialogCaption)),
                             BytesToQString(std::string(Command.Prompt)), value))
        return false;
    const std::optional<TMarkupText> markup = ValueCommandMarkup(Command.Name, QStringToBytes(value));
    if (!markup)
        return false;
    if (markup->IsPair)
        InsertTagPair(markup->Start, markup->End);
    else
        InsertMarkup(markup->Start);
    return true;
}

bool TMDIChild::EmbedOLE()
{
    TFileDialogRequest request;
    request.Title = "Embed OLE Object";
    request.Filter = "All files (*.*)|*.*";
    request.HelpContext = 11;
    if (!Prompt().OpenFile(request))
        return false;
    InsertMarkup(EmbedMarkup(QStringToBytes(request.FileName), MayLowerFileName(request.FileName)));
    return true;
}

void TMDIChild::InsertCurrentTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString date = QLocale::system().toString(now.date(), QLocale::ShortFormat);
    const QString time = LongTimeText(now.time());
    InsertMarkup(CurrentTimeText(QStringToBytes(date), QStringToBytes(time), now.time() == QTime(0, 0)));
}

// ---------------------------------------------------------------------------------------------
// Saving

void TMDIChild::WriteUnixFile(const QString &Name)
{
    TBusyScope busy(*this);
    Editor->WriteFile(Name, ffUnix, true);
}

void TMDIChild::WriteDocument(TFileFormat Format, const QString &Name, bool EveryLine)
{
    if (EveryLine) {
        // Save As: the user asked for this format, for every line.
        TBusyScope busy(*this);
        Editor->WriteFile(Name, Format, false);
        Editor->ParaList().ResetLineEnds();
    } else if (Format == ffDos) {
        Editor->SaveToFile(Name);
    } else {
        WriteUnixFile(Name);
    }
    Editor->SetModified(false);
    // The file now holds the text: the copy has nothing more to give back.
    DeleteRecoveryCopy();
}

bool TMDIChild::SaveDocument()
{
    if (Editor->FileName().compare("Untitled", Qt::CaseInsensitive) == 0)
        return SaveAsDOSFile();
    // Another program's changes are not overwritten without asking.
    if (Editor->FileChangedOnDisk() &&
        AskConfirmation(Editor->FileName() + " has been changed by another program.  Overwrite it?", mbYes | mbNo) !=
            mrYes)
        return false;
    // The file keeps the exact name it has: names are case-sensitive here.
    const bool saved = Guarded([this] { WriteDocument(Editor->FileFormat() == ffDos ? ffDos : ffUnix, Editor->FileName()); });
    ReportStatus();
    return saved;
}

bool TMDIChild::SaveAsDOSFile()
{
    SaveDialog.Title = "Save As DOS File";
    if (!AskSaveFileName())
        return false;
    Editor->SetFileFormat(ffDos);
    const bool saved = Guarded([this] { WriteDocument(ffDos, Editor->FileName(), true); });
    ReportStatus();
    return saved;
}

bool TMDIChild::SaveAsUnixFile()
{
    SaveDialog.Title = "Save As UNIX File";
    if (!AskSaveFileName())
        return false;
    Editor->SetFileFormat(ffUnix);
    const bool saved = Guarded([this] { WriteDocument(ffUnix, Editor->FileName(), true); });
    ReportStatus();
    return saved;
}

bool TMDIChild::AskSaveFileName()
{
    SaveDialog.Filter = Main.OpenFileFilter;
    if (!SaveDialog.FileName.isEmpty()) {
        const QFileInfo previous(SaveDialog.FileName);
        if (previous.isAbsolute())
            SaveDialog.InitialDir = previous.path();
        SaveDialog.FileName = previous.fileName();
    } else if (Editor->FileName().compare("Untitled", Qt::CaseInsensitive) != 0) {
        SaveDialog.InitialDir = QFileInfo(Editor->FileName()).absolutePath();
    }
    SaveDialog.OverwritePrompt = false;
    if (!Prompt().SaveFile(SaveDialog))
        return false;
    // Only the name part is the user's to normalise, and only where the lower-case name is still
    // the file chosen: an existing Page.HTM is saved over, not beside.
    QString fileName = SaveDialog.FileName;
    if (!fileName.mid(fileName.lastIndexOf('/') + 1).contains('.'))
        fileName += "." + BytesToQString(Main.SetupManager->DefFileExt());
    fileName = LowerCasedFileName(fileName);
    if (QFileInfo::exists(fileName) &&
        AskConfirmation(fileName + " exists.  Overwrite?", mbYes | mbNo) != mrYes)
        return false;
    SaveDialog.FileName = fileName;
    Editor->SetFileName(fileName);
    setWindowTitle(fileName);
    Main.AddRecentFile(fileName);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Closing

bool TMDIChild::FormCloseQuery()
{
    if (!Editor->Modified())
        return true;
    const TModalResult answer = Prompt().MessageDlg("\"" + windowTitle() + "\" has changed.  Save this file?",
                                                    TMsgDlgType::mtWarning, mbYesNoCancel);
    if (answer == mrYes)
        return SaveDocument();
    return answer == mrNo;
}

void TMDIChild::FormClose()
{
    RightMenu->clear();
    // Only the copy this window wrote or took over goes: a copy of another run that the user
    // chose to keep stays at the ".$$$" name beside the file.
    FRecoveryTimer->stop();
    DeleteRecoveryCopy();
}

// ---------------------------------------------------------------------------------------------
// Recovery copies

namespace {

// A file's name as copies are found by: absolute, so that a relative name finds the same copy.
std::string AbsoluteFileBytes(const QString &Name)
{
    return TEdCustomTextFileEditor::FileNameBytes(QFileInfo(Name).absoluteFilePath());
}

bool IsUntitled(const QString &Name)
{
    return Name.compare("Untitled", Qt::CaseInsensitive) == 0;
}

} // namespace

std::string TMDIChild::RecoveryBytes() const
{
    // Line ends as a save would write them: an untitled document is saved as DOS text, a file in
    // the format it was read or last saved in (DOS stays DOS, everything else is Unix).
    const bool untitled = IsUntitled(Editor->FileName());
    const TFileFormat format = Editor->FileFormat() == ffDos || (untitled && Editor->FileFormat() != ffUnix) ? ffDos : ffUnix;
    const TParaList &paras = Editor->ParaList();
    std::string bytes;
    bytes.reserve(std::size_t(paras.ByteCount()));
    TTextWriteOptions options;
    options.ByteOrderMark = paras.Encoding() == TTextEncoding::Utf8Bom;
    WriteText(format, paras.ParaCount(), [&paras](int Para) { return paras.ParaText(Para); },
              [&bytes](std::string_view Part) { bytes.append(Part); }, options);
    return bytes;
}

QString TMDIChild::RecoveryCopyName() const
{
    return QFile::decodeName(QByteArray::fromStdString(FRecoveryPath));
}

bool TMDIChild::WriteRecoveryCopy()
{
    FinishRecoveryCopy();
    TParaList &paras = Editor->ParaList();
    if (!Editor->Modified() || (FCopied && FCopiedEdits == paras.EditCount()))
        return true;
    const bool untitled = IsUntitled(Editor->FileName());
    const std::string owner = untitled ? std::string() : AbsoluteFileBytes(Editor->FileName());
    if (FRecoveryPath.empty())
        FRecoveryPath = ChooseRecoveryName(owner);
    const std::uint64_t edits = paras.EditCount();
    try {
        WriteRecoveryFile(FRecoveryPath, RecoveryBytes(), owner);
    } catch (const std::exception &E) {
        CopyWritten(false, E.what(), edits);
        return false;
    }
    CopyWritten(true, {}, edits);
    return true;
}

void TMDIChild::CopyWritten(bool Ok, const std::string &Error, std::uint64_t Edits)
{
    if (Ok) {
        FCopied = true;
        FCopiedEdits = Edits;
        FCopyFailureShown = false;
        return;
    }
    // Typing goes on; the previous copy is still whole. Said once until a copy succeeds.
    if (!FCopyFailureShown && Main.StatusLine)
        Main.StatusLine->setText(QString::fromLocal8Bit(Error.c_str()));
    FCopyFailureShown = true;
}

void TMDIChild::FinishRecoveryCopy()
{
    if (!FCopyJob.valid())
        return;
    const std::optional<std::string> error = FCopyJob.get();
    CopyWritten(!error, error.value_or(std::string()), FJobEdits);
}

void TMDIChild::RecoveryTimerTick()
{
    if (FCopyJob.valid()) {
        if (FCopyJob.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return; // still writing: the next tick looks again
        FinishRecoveryCopy();
    }
    TParaList &paras = Editor->ParaList();
    if (!Editor->Modified()) {
        // Undone back to the saved text: nothing left to recover.
        if (FCopied)
            DeleteRecoveryCopy();
        return;
    }
    if (FCopied && FCopiedEdits == paras.EditCount())
        return;
    const bool untitled = IsUntitled(Editor->FileName());
    std::string owner = untitled ? std::string() : AbsoluteFileBytes(Editor->FileName());
    if (FRecoveryPath.empty())
        FRecoveryPath = ChooseRecoveryName(owner);
    FJobEdits = paras.EditCount();
    // Only taking the text waits here; creating, writing and syncing the file do not.
    FCopyJob = std::async(std::launch::async, [this, path = FRecoveryPath, bytes = RecoveryBytes(),
                                               owner = std::move(owner)]() -> std::optional<std::string> {
        std::optional<std::string> outcome;
        try {
            WriteRecoveryFile(path, bytes, owner);
        } catch (const std::exception &E) {
            outcome = E.what();
        }
        QMetaObject::invokeMethod(this, [this] { FinishRecoveryCopy(); }, Qt::QueuedConnection);
        return outcome;
    });
}

void TMDIChild::DeleteRecoveryCopy()
{
    // A copy still being written would come back after the deletion.
    FinishRecoveryCopy();
    if (FRecoveryPath.empty())
        return;
    ::unlink(FRecoveryPath.c_str());
    ReleaseRecoveryName(FRecoveryPath);
    FRecoveryPath.clear();
    FCopied = false;
}

void TMDIChild::RecoverFrom(const QString &CopyPath)
{
    const std::string path = TEdCustomTextFileEditor::FileNameBytes(CopyPath);
    std::string bytes = ReadFileBytes(path);
    // The copy is in the document's encoding (a copy of UTF-8 text is valid UTF-8, of a document
    // with the byte-order mark starts with it).
    const TTextEncoding encoding = DetectEncoding(bytes, Editor->Encoding());
    if (encoding == TTextEncoding::Utf8Bom)
        bytes.erase(0, kUtf8Bom.size());
    TTextReadOptions options;
    // The copy holds the text as typed: blanks at line ends are part of it, and each line keeps
    // the line end it was written with.
    options.TrimWhiteSpace = false;
    TParaList &paras = Editor->ParaList();
    paras.Clear();
    paras.SetEncoding(encoding);
    TTextReadResult result;
    {
        TParaListObserver *observer = paras.Observer();
        const bool trim = paras.TrimWhiteSpace();
        paras.SetObserver(nullptr);
        paras.SetTrimWhiteSpace(false);
        try {
            result = ReadText(bytes, ffNone, options, [&paras](std::string_view Line, TLineEnd End) {
                RaiseEditorError(paras.AppendParagraph(Line, End));
            });
        } catch (...) {
            paras.SetTrimWhiteSpace(trim);
            paras.SetObserver(observer);
            throw;
        }
        paras.SetTrimWhiteSpace(trim);
        paras.SetObserver(observer);
    }
    Editor->TextReplaced();
    if (IsUntitled(Editor->FileName()) && Editor->FileFormat() == ffNone)
        Editor->SetFileFormat(result.Format);
    Editor->SetModified(true);
    // The copy becomes this window's: the next copy replaces it, a save or close deletes it.
    DeleteRecoveryCopy();
    FRecoveryPath = path;
    ClaimRecoveryName(path);
    FCopied = true;
    FCopiedEdits = paras.EditCount();
    ReportStatus();
}

void TMDIChild::OfferRecovery()
{
    const QString name = Editor->FileName();
    if (IsUntitled(name))
        return;
    const std::string file = AbsoluteFileBytes(name);
    for (const TRecoveryCopy &copy : FindRecoveryCopies(file)) {
        // A copy that holds just what the file holds gives nothing back.
        const TFileStamp stamp = FileStampOf(file);
        const TFileStamp copyStamp = FileStampOf(copy.Path);
        bool same = false;
        if (stamp.Exists && copyStamp.Exists && stamp.Size == copyStamp.Size)
            Guarded([&] { same = ReadFileBytes(copy.Path) == ReadFileBytes(file); });
        if (same) {
            ::unlink(copy.Path.c_str());
            continue;
        }
        const TModalResult answer =
            Prompt().MessageDlg(QString::fromStdString(RecoveryQuestion(windowTitle().toStdString(), copy.WrittenAt)),
                                TMsgDlgType::mtConfirmation, mbYesNoCancel);
        if (answer == mrYes) {
            RecoverFrom(QFile::decodeName(QByteArray::fromStdString(copy.Path)));
            return;
        }
        if (answer != mrNo)
            return;
        ::unlink(copy.Path.c_str());
    }
}

void TMDIChild::closeEvent(QCloseEvent *E)
{
    if (FClosed) {
        QMdiSubWindow::closeEvent(E);
        return;
    }
    bool mayClose = false;
    // An error while asking keeps the window, so no unsaved text is lost.
    Guarded([this, &mayClose] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        E->ignore();
        return;
    }
    Guarded([this] { FormClose(); });
    FClosed = true;
    QMdiSubWindow::closeEvent(E);
    if (!E->isAccepted())
        FClosed = false;
}
