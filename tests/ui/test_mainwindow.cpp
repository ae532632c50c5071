// The main window against prepared settings files: start-up, shut-down, the recent-file list,
// bar toggles, command enabling with stand-in document windows, dropped files, the Window and
// Help commands, the about box and the help viewer.
#include "support/Sandbox.h"
#include "core/settings/Profile.h"
#include "core/settings/SetupManager.h"
#include "platform/DialogExec.h"
#include "platform/KeyState.h"
#include "platform/ScreenMetrics.h"
#include "support/RecordingHelp.h"
#include "support/ScriptedPrompt.h"
#include "ui/app/AboutBox.h"
#include "ui/app/HelpViewer.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SelectWindowDialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &Text, std::ostream *Out)
{
    *Out << '"' << Text.toStdString() << '"';
}

namespace {

// A stand-in document window that records what the main window asks of it.
class TFakeDocument : public QWidget, public TDocumentWindowIntf {
public:
    ~TFakeDocument() override
    {
        const TMainForm *main = TMainForm::Instance();
        Log << "destroyed " + Caption + (main && main->SetupManager ? " with settings" : " after them");
    }
    TFakeDocument(const QString &Caption, QStringList &Log) : Caption(Caption), Log(Log)
    {
        for (const char *name : {"Edit1", "Element1"}) {
            auto *menu = new QMenu(QString(name).chopped(1), this);
            menu->setObjectName(name);
            Menus << menu;
        }
    }
    QString DocumentCaption() const override { return Caption; }
    bool DocumentModified() const override { return Modified; }
    void InsertMarkup(const std::string &Text) override { Log << "markup " + QString::fromStdString(Text); }
    void InsertTagPair(const std::string &S, const std::string &E) override
    {
        Log << "pair " + QString::fromStdString(S) + " " + QString::fromStdString(E);
    }
    QList<QMenu *> MergedMenus() const override { return Menus; }
    bool CloseQuery() override
    {
        Log << "query " + Caption;
        return MayClose;
    }
    bool Click(const QString &Name, QObject *) override
    {
        Log << "click " + Name;
        return true;
    }
    void EditRightMenu() override { Log << "edit right menu"; }
    void CheckFileOnDisk() override { Log << "check " + Caption; }

    QString Caption;
    bool Modified = false;
    bool MayClose = true;
    QList<QMenu *> Menus;
    QStringList &Log;

protected:
    void closeEvent(QCloseEvent *E) override
    {
        if (CloseQuery()) {
            Log << "closed " + Caption;
            E->accept();
        } else {
            E->ignore();
        }
    }
};

class MainFormTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
    }
    void TearDown() override
    {
        form.reset();
        SandboxTest::TearDown();
    }
    QString ConfigIni() const { return tmp.path() + "/config/PELMAR32.INI"; }
    QString CwdPath(const QString &name) const { return tmp.path() + "/cwd/" + name; }
    static void Put(const QString &path, const QByteArray &text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    TMainForm &Start(const QStringList &files = {})
    {
        form = std::make_unique<TMainForm>(files);
        return *form;
    }
    // Runs the shut-down and makes the next start read the settings afresh.
    void Stop()
    {
        form.reset();
        BackToWorkDir();
    }
    TFakeDocument *AddDocument(const QString &caption)
    {
        auto *doc = new TFakeDocument(caption, log);
        QMdiSubWindow *sub = form->MDIClient->addSubWindow(doc);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(caption);
        sub->show();
        form->MDIClient->setActiveSubWindow(sub);
        form->UpdateMenuItems();
        return doc;
    }
    QStringList MenuBarNames() const
    {
        QStringList names;
        for (QAction *a : form->menuBar()->actions())
            names << (a->menu() ? a->menu()->objectName() : a->objectName());
        return names;
    }

    TRecordingHelp help;
    QStringList log;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormTest, FirstStartWithoutSettingsAndNormalExit)
{
    TMainForm &f = Start();
    EXPECT_FALSE(QFile::exists(ConfigIni())) << "start-up writes nothing";
    const TWindowRect def = DefaultWindowRect(PrimaryScreenMetrics());
    EXPECT_EQ(f.pos(), QPoint(def.Left, def.Top));
    EXPECT_EQ(f.size(), QSize(def.Width, def.Height));
    EXPECT_FALSE(f.isMaximized());
    EXPECT_EQ(f.windowTitle(), "Pelmar32");
    for (QToolBar *bar : {f.StandardPanel, f.CommonPanel, f.ExtendedPanel, f.SpecialPanel, f.CustomBarHost})
        EXPECT_FALSE(bar->isHidden()) << bar->objectName().toStdString();
    for (QAction *t : {f.StandardSpeedBar, f.CommonSpeedBar, f.ExtendedSpeedBar, f.SpecialSpeedBar, f.CustomSpeedBar})
        EXPECT_TRUE(t->isChecked()) << t->objectName().toStdString();
    EXPECT_EQ(f.File1->actions().last(), f.FileExitItem) << "no recent entries and no separator after Exit";
    for (QAction *a : {f.OpenRemote1, f.OpenURL1, f.OpenRTFFile1, f.SaveAsRemote1})
        EXPECT_FALSE(a->isVisible()) << a->objectName().toStdString();
    EXPECT_TRUE(f.FileOpenItem->isVisible());
    EXPECT_EQ(f.LineColPanel->text(), "1:1");
    EXPECT_FALSE(f.UseActualCharacters);
    EXPECT_TRUE(f.ForceHTMLExt);
    EXPECT_TRUE(f.NeverUseCENTER);
    EXPECT_TRUE(f.OpenFileFilter.startsWith("HTML files (*.htm,*.html)|*.htm;*.html|"));
    EXPECT_FALSE(f.FileSaveItem->isEnabled());
    EXPECT_FALSE(f.FileCloseItem->isEnabled());
    EXPECT_FALSE(f.WindowCascadeItem->isEnabled());
    EXPECT_TRUE(f.FileNewItem->isEnabled());

    // The bars' places: standard above common at the top, special above extended above the
    // status bar at the bottom, the custom bar at the right edge.
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_LT(f.StandardPanel->y(), f.CommonPanel->y());
    EXPECT_LT(f.CommonPanel->y(), f.MDIClient->y());
    EXPECT_LT(f.MDIClient->y(), f.SpecialPanel->y());
    EXPECT_LT(f.SpecialPanel->y(), f.ExtendedPanel->y());
    EXPECT_LT(f.ExtendedPanel->y(), f.Panel1->y());
    EXPECT_GT(f.CustomBarHost->x(), f.MDIClient->x() + f.MDIClient->width() - 1);
    EXPECT_LT(f.ModifiedPanel->x(), f.UnixPanel->x());
    EXPECT_LT(f.UnixPanel->x(), f.StatusLine->x());
    EXPECT_LT(f.StatusLine->x(), f.LineColPanel->x());
    f.hide();

    Stop();
    const TProfile ini(ConfigIni().toStdString());
    EXPECT_EQ(ini.ReadString("Setup", "Maximize", "absent"), "0");
    EXPECT_EQ(ini.ReadSection("Position"), (std::vector<std::string>{"Top", "Left", "Width", "Height"}));
    EXPECT_EQ(ini.ReadInteger("Position", "Width", 0), def.Width);
    EXPECT_FALSE(ini.SectionExists("Recent Files"));
    EXPECT_EQ(help.Requests.last(), "quit");
}

TEST_F(MainFormTest, PreparedSettingsInTheStartDirectory)
{
    QDir(tmp.path()).mkpath("work");
    Put(CwdPath("PELMAR32.INI"),
        "garbage line without equals\n"
        "[SETUP]\n"
        "WorkDir=" + (tmp.path() + "/work").toUtf8() + "\n"
        "UseActualCharacters=0x1\n"
        "ForceHTMLExt=no\n"           // not a number: the default (true)
        "NeverUseCENTER=0\n"
        "DisplayCommonSpeedBar=0\n"
        "DisplayCustomSpeedBar=0\n"
        "[Position]\nTop=40\nLeft=0x1E\nWidth=640\nHeight=99999999999\n"
        "[Recent Files]\n1=/docs/a.htm\n2=/docs/R&D.htm\n3=\n4=/docs/d.htm\n"
        "[QuickKeys]\nB=<BLOCKQUOTE>\n");
    Put(tmp.path() + "/work/PELMAR32.INI", "[Position]\nTop=300\n");
    TMainForm &f = Start();
    EXPECT_EQ(QDir::currentPath(), tmp.path() + "/work") << "WorkDir becomes the current directory";
    EXPECT_EQ(QString::fromStdString(SettingsFileName()), CwdPath("PELMAR32.INI")) << "but not the settings file";
    const TWindowRect def = DefaultWindowRect(PrimaryScreenMetrics());
    EXPECT_EQ(f.pos(), QPoint(30, def.Top)) << "moved up as far as the default height needs";
    EXPECT_EQ(f.width(), 640);
    EXPECT_EQ(f.height(), def.Height) << "a huge height takes the default";
    EXPECT_TRUE(f.UseActualCharacters);
    EXPECT_TRUE(f.ForceHTMLExt);
    EXPECT_FALSE(f.NeverUseCENTER);
    EXPECT_TRUE(f.CommonPanel->isHidden());
    EXPECT_FALSE(f.CommonSpeedBar->isChecked());
    EXPECT_TRUE(f.CustomBarHost->isHidden());
    EXPECT_FALSE(f.CustomSpeedBar->isChecked());
    EXPECT_FALSE(f.StandardPanel->isHidden());
    EXPECT_EQ(f.QuickKeyTable[1], "<BLOCKQUOTE>");
    EXPECT_EQ(f.RecentFiles(), (QStringList{"/docs/a.htm", "/docs/R&D.htm", "/docs/d.htm"}));
    const QList<QAction *> file = f.File1->actions();
    const int exitAt = int(file.indexOf(f.FileExitItem));
    ASSERT_EQ(file.size(), exitAt + 5);
    EXPECT_TRUE(file[exitAt + 1]->isSeparator());
    EXPECT_EQ(file[exitAt + 3]->text(), "/docs/R&&D.htm") << "an ampersand shows as itself";

    f.AddRecentFile("/docs/new.htm");
    Stop();
    const TProfile ini(CwdPath("PELMAR32.INI").toStdString());
    EXPECT_EQ(ini.ReadSectionValues("Recent Files"),
              (std::vector<std::string>{"1=/docs/new.htm", "2=/docs/a.htm", "3=/docs/R&D.htm", "4=/docs/d.htm"}));
    EXPECT_EQ(ini.ReadInteger("Position", "Left", 0), 30);
    EXPECT_EQ(ini.ReadString("Setup", "DisplayCommonSpeedBar", ""), "0");
    EXPECT_EQ(ini.ReadString("Setup", "WorkDir", ""), (tmp.path() + "/work").toStdString()) << "other keys are kept";
    EXPECT_EQ(TProfile((tmp.path() + "/work/PELMAR32.INI").toStdString()).ReadInteger("Position", "Top", 0), 300);
}

TEST_F(MainFormTest, MaximizedWindowKeepsItsNormalPlace)
{
    Put(ConfigIni(), "[Setup]\nMaximize=1\n[Position]\nTop=20\nLeft=25\nWidth=500\nHeight=400\n");
    EXPECT_TRUE(Start().isMaximized());
    Stop();
    const TProfile ini(ConfigIni().toStdString());
    EXPECT_TRUE(ini.ReadBool("Setup", "Maximize", false));
    EXPECT_EQ(ini.ReadInteger("Position", "Top", 0), 20);
    EXPECT_EQ(ini.ReadInteger("Position", "Width", 0), 500);
}

TEST_F(MainFormTest, RecentFileListAndOpen)
{
    TScriptedPrompt prompt;
    TMainForm &f = Start();
    for (const char *name : {"one.htm", "two.htm", "three.htm", "four.htm", "five.htm"})
        f.AddRecentFile(name);
    f.AddRecentFile("five.htm");
    const QString cwd = QDir::currentPath() + "/";
    EXPECT_EQ(f.RecentFiles(), (QStringList{cwd + "five.htm", cwd + "five.htm", cwd + "four.htm", cwd + "three.htm"}));
    EXPECT_TRUE(f.File1->actions()[f.File1->actions().indexOf(f.FileExitItem) + 1]->isSeparator());

    // A recent entry names a file that is gone: the error, no window, the list unchanged.
    prompt.ExpectMessage("Cannot find file: " + cwd + "four.htm", mrOk, TMsgDlgType::mtError, mbOK);
    f.findChild<QAction *>("RecentFile3")->trigger();
    EXPECT_EQ(f.RecentFiles().size(), 4);
    EXPECT_EQ(f.RecentFiles()[2], cwd + "four.htm");

    // Open: the dialog's settings, then the document, then the recent list (even for a missing file).
    prompt.ExpectOpenWith([&](TFileDialogRequest &r) {
        EXPECT_EQ(r.Title, "Open File");
        EXPECT_EQ(r.HelpContext, 50);
        EXPECT_EQ(r.Filter, f.OpenFileFilter);
        r.FileName = cwd + "gone.htm";
        return true;
    });
    prompt.ExpectMessage("Cannot find file: " + cwd + "gone.htm", mrOk, TMsgDlgType::mtError, mbOK);
    f.FileOpenItem->trigger();
    EXPECT_EQ(f.RecentFiles().first(), cwd + "gone.htm");
    // The next Open starts from the name part of the last chosen file.
    prompt.ExpectOpenWith([](TFileDialogRequest &r) {
        EXPECT_EQ(r.FileName, "gone.htm");
        return false;
    });
    f.FileOpenItem->trigger();
    EXPECT_EQ(f.RecentFiles().size(), 4);
}

TEST_F(MainFormTest, SpeedBarTogglesWriteTheirKeys)
{
    {
        TMainForm &f = Start();
        f.ExtendedSpeedBar->trigger();
        EXPECT_TRUE(f.ExtendedPanel->isHidden());
        EXPECT_FALSE(f.ExtendedSpeedBar->isChecked());
        EXPECT_EQ(TProfile(ConfigIni().toStdString()).ReadString("Setup", "DisplayExtendedSpeedBar", ""), "0");
        f.CustomSpeedBar->trigger();
        f.CustomSpeedBar->trigger();
        EXPECT_FALSE(f.CustomBarHost->isHidden());
        EXPECT_EQ(TProfile(ConfigIni().toStdString()).ReadString("Setup", "DisplayCustomSpeedBar", ""), "1");
    }
    Stop();
    TMainForm &f = Start();
    EXPECT_TRUE(f.ExtendedPanel->isHidden()) << "kept hidden after a restart";
    EXPECT_FALSE(f.ExtendedSpeedBar->isChecked());
    EXPECT_FALSE(f.CustomBarHost->isHidden());
}

TEST_F(MainFormTest, UnwritableSettingsAreReportedAndTheProgramGoesOn)
{
    QDir().mkpath(ConfigIni() + "/blocked");  // a directory where the settings file should be
    const QString preview = CwdPath("~htm0001.htm");
    Put(preview, "<HTML>");
    {
        TScriptedPrompt prompt;
        TMainForm &f = Start();
        f.PreviewFiles << preview;
        prompt.ExpectMessage("Unable to write to " + ConfigIni(), mrOk, TMsgDlgType::mtError, mbOK);
        f.StandardSpeedBar->trigger();
        EXPECT_TRUE(f.StandardPanel->isHidden()) << "the toggle itself went through";
        EXPECT_TRUE(prompt.AllUsed());
        // The shut-down reports the failed placement once and still removes the preview files.
        prompt.ExpectMessage("Unable to write to " + ConfigIni(), mrOk, TMsgDlgType::mtError, mbOK);
        Stop();
    }
    EXPECT_FALSE(QFile::exists(preview));
}

TEST_F(MainFormTest, HintsAndShortcutsReachTheirHandlers)
{
    TScriptedPrompt prompt;
    TMainForm &f = Start();
    f.FileOpenItem->showStatusText(f.menuBar());
    EXPECT_EQ(f.StatusLine->text(), "Open an existing file");
    auto *button = new QToolButton(f.StandardPanel);
    QAction *act = new QAction(button);
    TMainForm::SetHint(act, "Horizontal Rule|Horizontal Rule (Hold down Shift key for <HR> with options)");
    EXPECT_EQ(act->toolTip(), "Horizontal Rule");
    act->showStatusText(button);
    EXPECT_EQ(f.StatusLine->text(), "Horizontal Rule (Hold down Shift key for <HR> with options)");
    f.HintToStatusLine("");
    EXPECT_EQ(f.StatusLine->text(), "");

    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_F1);
    EXPECT_EQ(help.Requests, QStringList{"contents"});
    prompt.ExpectOpen(QString());  // Ctrl+O opens the dialog, which is cancelled
    QTest::keyClick(&f, Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(prompt.AllUsed());
    f.SearchforHelpon1->trigger();
    f.HowtouseHelp1->trigger();
    EXPECT_EQ(help.Requests, (QStringList{"contents", "search:", "howtouse"}));
}

TEST_F(MainFormTest, DocumentWindowsDriveMenusCaptionAndButtons)
{
    TMainForm &f = Start();
    f.show();
    auto *std15 = new QToolButton(f.StandardPanel);
    std15->setObjectName("SpeedButton15");
    f.StandardPanel->addWidget(std15);
    auto *newBtn = new QToolButton(f.StandardPanel);
    newBtn->setObjectName("NewBtn");
    f.StandardPanel->addWidget(newBtn);
    auto *saveBtn = new QToolButton(f.StandardPanel);
    saveBtn->setObjectName("SaveBtn");
    f.StandardPanel->addWidget(saveBtn);
    auto *closeBtn = new QToolButton(f.CommonPanel);
    closeBtn->setObjectName("CloseButton");
    f.CommonPanel->addWidget(closeBtn);
    auto *charBtn = new QToolButton(f.SpecialPanel);
    charBtn->setObjectName("SpecialButton1");
    f.SpecialPanel->addWidget(charBtn);
    f.UpdateMenuItems();
    EXPECT_FALSE(std15->isEnabled());
    EXPECT_TRUE(newBtn->isEnabled());
    EXPECT_FALSE(closeBtn->isEnabled());

    f.InsertMarkup("<P>");  // no document: dropped silently
    TFakeDocument *a = AddDocument("a.htm");
    a->Modified = true;
    TFakeDocument *b = AddDocument("b.htm");
    ASSERT_EQ(f.ActiveDocument(), b);
    EXPECT_EQ(f.windowTitle(), "Pelmar32 - [b.htm]");
    EXPECT_FALSE(f.FileSaveItem->isEnabled()) << "the active document is not modified, another one is";
    EXPECT_FALSE(saveBtn->isEnabled());
    EXPECT_TRUE(f.FileCloseItem->isEnabled());
    EXPECT_TRUE(f.CloseAll1->isEnabled());
    EXPECT_TRUE(f.WindowTileItem->isEnabled());
    EXPECT_TRUE(std15->isEnabled());
    EXPECT_TRUE(closeBtn->isEnabled());
    EXPECT_TRUE(charBtn->isEnabled());
    EXPECT_EQ(MenuBarNames(), (QStringList{"File1", "Edit1", "Element1", "Options1", "Window1", "Help1"}));
    f.InsertTagPair("<B>", "</B>");
    EXPECT_EQ(log.last(), "pair <B> </B>");

    f.MDIClient->setActiveSubWindow(f.MDIClient->subWindowList().first());
    EXPECT_EQ(f.windowTitle(), "Pelmar32 - [a.htm]");
    EXPECT_TRUE(f.FileSaveItem->isEnabled());
    EXPECT_EQ(f.MDIClient->currentSubWindow()->widget(), a);
    EXPECT_EQ(f.menuBar()->actions()[1], a->Menus[0]->menuAction()) << "the active window's menus";

    // Maximised, the child's caption joins the frame's as the windowing system shows it, so
    // ours is just "Pelmar32"; restored, ours names the document again.
    f.MDIClient->currentSubWindow()->showMaximized();
    EXPECT_EQ(f.windowTitle(), "Pelmar32 - [a.htm]");
    f.UpdateMenuItems();
    EXPECT_EQ(f.windowTitle(), "Pelmar32 - [a.htm]") << "not \"Pelmar32 - [a.htm] - [a.htm]\"";
    f.MDIClient->currentSubWindow()->showNormal();
    EXPECT_EQ(f.windowTitle(), "Pelmar32 - [a.htm]");

    // A sub-window that is no document: its menus are gone and document commands disabled, but
    // window commands still work; a hidden bar keeps its buttons' state.
    f.SpecialSpeedBar->trigger();
    QMdiSubWindow *plain = f.MDIClient->addSubWindow(new QWidget);
    plain->show();
    f.MDIClient->setActiveSubWindow(plain);
    EXPECT_EQ(f.ActiveDocument(), nullptr);
    EXPECT_EQ(MenuBarNames(), (QStringList{"File1", "Options1", "Window1", "Help1"}));
    EXPECT_EQ(f.windowTitle(), "Pelmar32");
    EXPECT_FALSE(f.CloseAll1->isEnabled());
    EXPECT_TRUE(f.FileCloseItem->isEnabled());
    EXPECT_FALSE(std15->isEnabled());
    EXPECT_TRUE(closeBtn->isEnabled());
    EXPECT_TRUE(charBtn->isEnabled()) << "hidden bar: state kept";
    f.FileCloseItem->trigger();
    EXPECT_EQ(f.Children().size(), 2);

    // Exit asks every document; one refusal keeps everything open.
    b->MayClose = false;
    log.clear();
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(log.contains("query b.htm"));
    EXPECT_EQ(f.Children().size(), 2);
    // Close All closes from the last to the first; the refusing one stays.
    log.clear();
    f.CloseAll1->trigger();
    EXPECT_EQ(log, (QStringList{"query b.htm", "query a.htm", "closed a.htm"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.Children().size(), 1);
    b->MayClose = true;
    EXPECT_TRUE(f.close());
    // Windows still open at the end are destroyed while the main window is whole.
    log.clear();
    Stop();
    EXPECT_EQ(log, (QStringList{"destroyed b.htm with settings"}));
}

TEST_F(MainFormTest, WindowCommandsArrangeTheDocuments)
{
    TMainForm &f = Start();
    f.resize(900, 700);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    AddDocument("a.htm");
    AddDocument("b.htm");
    const QList<QMdiSubWindow *> w = f.Children();
    const QRect area = f.MDIClient->viewport()->rect();
    f.TileHorizontally1->trigger();
    EXPECT_EQ(w[0]->width(), area.width());
    EXPECT_EQ(w[1]->width(), area.width());
    EXPECT_LT(w[0]->y() + w[0]->height(), w[1]->y() + 1) << "one above the other";
    f.WindowTileItem->trigger();
    EXPECT_EQ(w[0]->height(), area.height());
    EXPECT_LT(w[0]->x() + w[0]->width(), w[1]->x() + 1) << "side by side";
    f.WindowCascadeItem->trigger();
    EXPECT_NE(w[0]->pos(), w[1]->pos());
    f.Maximize1->trigger();
    EXPECT_TRUE(f.ActiveChild()->isMaximized());
    f.Restore1->trigger();
    EXPECT_FALSE(f.ActiveChild()->isMaximized());
    f.WindowMinimizeItem->trigger();
    EXPECT_TRUE(w[0]->isMinimized());
    EXPECT_TRUE(w[1]->isMinimized());
    f.WindowArrangeItem->trigger();
    EXPECT_EQ(w[0]->y() + w[0]->height() - 1, area.bottom()) << "icons along the bottom";
    EXPECT_EQ(w[0]->y(), w[1]->y());
    EXPECT_NE(w[0]->x(), w[1]->x());
}

TEST_F(MainFormTest, WindowMenuListsNineAndMoreWindowsListsAll)
{
    TMainForm &f = Start();
    auto more = [&] {
        emit f.Window1->aboutToShow();
        return f.Window1->findChild<QAction *>("MoreWindowsItem");
    };
    for (int i = 1; i <= 9; ++i)
        AddDocument(QString("doc%1.htm").arg(i));
    EXPECT_EQ(more(), nullptr) << "nine fit in the menu";
    AddDocument("doc10.htm");
    AddDocument("doc11.htm");
    ASSERT_NE(more(), nullptr);
    EXPECT_EQ(f.Window1->actions().last()->text(), "&More Windows...");
    // The list holds every window, the active one selected; the one chosen becomes active.
    int answer = 9;
    SetDialogExecHook([&](QDialog &d) {
        auto &dialog = dynamic_cast<TSelectWindowDialog &>(d);
        EXPECT_EQ(dialog.WindowList->count(), 11);
        EXPECT_EQ(dialog.Chosen(), 10) << "the active window";
        dialog.WindowList->setCurrentRow(answer);
        return answer < 0 ? int(QDialog::Rejected) : int(QDialog::Accepted);
    });
    more()->trigger();
    EXPECT_EQ(f.ActiveChild()->windowTitle(), "doc10.htm");
    f.MDIClient->setActiveSubWindow(f.Children().last());
    answer = -1;
    more()->trigger();
    EXPECT_EQ(f.ActiveChild()->windowTitle(), "doc11.htm") << "Cancel changes nothing";
}

TEST_F(MainFormTest, DroppedFilesAndDocumentOpening)
{
    TScriptedPrompt prompt;
    TMainForm &f = Start();
    f.show();
    SetKeyStateQuery([] { return Qt::KeyboardModifiers(); });
    QStringList images, opened;
    f.ImageCommand = [&](const QString &source) { images << source; };
    f.DocumentFactory = [&](const QString &name, bool isNew) -> TDocumentWindowIntf * {
        opened << name + (isNew ? " new" : "");
        return AddDocument(QFileInfo(name).fileName());
    };
    const QString page = CwdPath("Page.HTM");
    Put(page, "<P>");
    const QString readOnly = CwdPath("locked.htm");
    Put(readOnly, "x");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup);

    f.DropFiles({"/pics/PIC.JPEG", "/pics/a.gif"});
    EXPECT_EQ(images, (QStringList{"/pics/PIC.JPEG", "/pics/a.gif"}));
    f.DropFiles({page});
    EXPECT_EQ(opened, QStringList{page});
    EXPECT_EQ(f.windowTitle(), "Pelmar32 - [Page.HTM]");
    EXPECT_TRUE(f.RecentFiles().isEmpty()) << "dropped files are not recent files";

    SetKeyStateQuery([] { return Qt::KeyboardModifiers(Qt::ControlModifier); });
    log.clear();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(page)});
    // As a real drag does: the drop goes to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(&f, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(&f, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(log, QStringList{"pair <A HREF=\"Page.HTM\"> </A>"}) << "page.htm would name no file";
    // Where no file of either name exists the name is lowered; its directories never count.
    f.DropFiles({"/Web/Gone/Other.HTM"});
    EXPECT_EQ(log.last(), "pair <A HREF=\"other.htm\"> </A>");
    SetKeyStateQuery([] { return Qt::KeyboardModifiers(); });

    prompt.ExpectMessage("File is read-only.", mrOk, TMsgDlgType::mtWarning, mbOK);
    prompt.ExpectMessage("Cannot find file: " + CwdPath("none.htm"), mrOk, TMsgDlgType::mtError, mbOK);
    f.DropFiles({readOnly, CwdPath("none.htm")});
    EXPECT_EQ(opened.last(), readOnly) << "a read-only file opens after the warning";
    TDocumentWindowIntf *untitled = f.OpenDocument("Untitled", true);
    EXPECT_EQ(untitled, f.ActiveDocument());
    EXPECT_EQ(opened.last(), "Untitled new");
}

TEST_F(MainFormTest, CommandLineFilesOpenOnceShown)
{
    TScriptedPrompt prompt;
    TMainForm &f = Start({CwdPath("missing.htm")});
    prompt.ExpectMessage("Cannot find file: " + CwdPath("missing.htm"), mrOk, TMsgDlgType::mtError, mbOK);
    f.show();
    QTest::qWait(20);
    EXPECT_TRUE(prompt.AllUsed());
    EXPECT_TRUE(f.RecentFiles().isEmpty());
}

TEST_F(MainFormTest, AboutBoxAndItsCredits)
{
    TMainForm &f = Start();
    int shown = 0;
    SetDialogExecHook([&](QDialog &d) {
        ++shown;
        auto *box = dynamic_cast<TAboutBoxSW *>(&d);
        EXPECT_NE(box, nullptr);
        if (!box)
            return int(QDialog::Rejected);
        EXPECT_EQ(box->windowTitle(), "About");
        EXPECT_EQ(box->ProductName->text(), "Pelmar32");
        EXPECT_EQ(box->Version->text(), "Version 1.5f");
        EXPECT_EQ(box->CreditsButton->text(), "&Credits");
        EXPECT_FALSE(box->ProgramIconLabel->pixmap().isNull());
        box->CreditsButton->click();
        box->OKButton->click();
        return box->result();
    });
    f.HelpAboutItem->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(help.Requests, QStringList{"topic:acknow"});
}

TEST(HelpViewerTest, ContentsSearchTopicsAndContexts)
{
    const QString dir = QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + "/../../help";
    THelpViewer viewer(dir);
    QStringList names;
    for (const THelpTopic &t : viewer.Topics())
        names << t.Name;
    for (const char *required : {"contents", "howtouse", "acknow"})
        EXPECT_TRUE(names.contains(required)) << required;
    viewer.ShowContents();
    EXPECT_EQ(viewer.CurrentTopic(), "contents");
    viewer.ShowTopic("acknow");
    EXPECT_EQ(viewer.CurrentTopic(), "acknow");
    viewer.ShowHelpOnHelp();
    EXPECT_EQ(viewer.CurrentTopic(), "howtouse");
    viewer.SearchKeyword("CRED");
    EXPECT_TRUE(viewer.FoundTopics().contains("acknow"));
    viewer.ShowTopic("no_such_topic");
    EXPECT_EQ(viewer.CurrentTopic(), "");
    viewer.ShowContext(987654);
    EXPECT_EQ(viewer.CurrentTopic(), "contents") << "an unknown context shows the contents";
    // Esc closes it, wherever in it the focus is.
    viewer.show();
    for (QWidget *focus : {static_cast<QWidget *>(viewer.findChild<QTextBrowser *>()),
                           static_cast<QWidget *>(viewer.findChild<QLineEdit *>()),
                           static_cast<QWidget *>(viewer.findChild<QListWidget *>())}) {
        ASSERT_NE(focus, nullptr);
        viewer.show();
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(viewer.isVisible()) << focus->metaObject()->className();
    }

    QTemporaryDir own;
    QFile topic(own.path() + "/inline_img.html");
    ASSERT_TRUE(topic.open(QIODevice::WriteOnly));
    topic.write("<html><head><title>Inline &amp; Images</title><meta name=\"context\" content=\"50 51\">"
                "<meta name=\"keywords\" content=\"image; IMG\"></head><body>x</body></html>");
    topic.close();
    const QList<THelpTopic> topics = ReadHelpTopics(own.path());
    ASSERT_EQ(topics.size(), 1);
    EXPECT_EQ(topics[0].Title, "Inline & Images");
    EXPECT_EQ(topics[0].Contexts, (QList<int>{50, 51}));
    EXPECT_EQ(topics[0].Keywords, (QStringList{"image", "IMG"}));
    THelpViewer small(own.path());
    small.ShowContext(51);
    EXPECT_EQ(small.CurrentTopic(), "inline_img");
    small.Quit();
    EXPECT_FALSE(small.isVisible());
}

} // namespace
