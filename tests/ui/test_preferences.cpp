// The Preferences dialog against prepared settings files: its controls, loading with the effects
// that outlive Cancel, the colour page, the browse buttons, Help by page, and OK writing every
// key (also when the file refuses a write part-way).
#include "support/Sandbox.h"
#include "DialogScript.h"
#include "core/settings/Profile.h"
#include "core/settings/SetupManager.h"
#include "support/RecordingHelp.h"
#include "support/ScriptedPrompt.h"
#include "ui/app/MainWindow.h"
#include "ui/dialogs/DirectoryDialog.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"
#include "ui/settings/ColorGrid.h"
#include "ui/settings/PreferencesDialog.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sys/resource.h>

inline void PrintTo(const QString &S, std::ostream *Out)
{
    *Out << '"' << S.toStdString() << '"';
}

namespace {

class PreferencesTest : public SandboxTest {
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
    QString Ini() const { return tmp.path() + "/config/PELMAR32.INI"; }
    QString Tmp(const QString &Name) const { return tmp.path() + "/" + Name; }
    TMainForm &Start()
    {
        form = std::make_unique<TMainForm>();
        return *form;
    }
    std::string Key(const char *Section, const char *Name, const char *Default = "<absent>") const
    {
        return TProfile(Ini().toStdString()).ReadString(Section, Name, Default);
    }
    // Runs Options > Preferences with one scripted step on the shown dialog.
    void Preferences(const std::function<int(TTabbedNotebookDlg &)> &Step)
    {
        TDialogScript script;
        script.Expect("Preferences", [&](QDialog &D) {
            auto *dlg = dynamic_cast<TTabbedNotebookDlg *>(&D);
            EXPECT_NE(dlg, nullptr);
            return dlg ? Step(*dlg) : int(QDialog::Rejected);
        });
        form->Setup1->trigger();
    }

    TRecordingHelp help;
    std::unique_ptr<TMainForm> form;
};

template <class T> void ExpectControl(QWidget &Dlg, const char *Name, const QString &Caption)
{
    T *w = Dlg.findChild<T *>(Name);
    ASSERT_NE(w, nullptr) << Name;
    if constexpr (std::is_base_of_v<QAbstractButton, T>) {
        EXPECT_EQ(w->text(), Caption) << Name;
    } else if constexpr (std::is_same_v<T, QLabel>) {
        EXPECT_EQ(w->text(), Caption) << Name;
    }
}

// The label whose buddy is the widget.
QString LabelOf(QWidget &Dlg, QWidget *Buddy)
{
    for (QLabel *l : Dlg.findChildren<QLabel *>())
        if (l->buddy() == Buddy)
            return l->text();
    return "<none>";
}

TEST_F(PreferencesTest, PagesControlsAndLoadingWithEffectsThatOutliveCancel)
{
    WriteBytes(Ini(), "[Setup]\r\nWordWrap=1\r\nNewlineAfterTitle=1\r\nUseActualCharacters=1\r\nDocOptionsDlg=0\r\n"
                      "LowerCaseTags=1\r\nForceHTMLExt=0\r\nNeverUseCENTER=0\r\nChildMaximize=1\r\nKeepTrailingBlanks=1\r\n"
                      "SyntaxHighlighting=0\r\nDefFileExt=shtml\r\nImageViewer=/usr/bin/viewer\r\n"
                      "ProgPath=/opt/Browser/Run\r\nWorkDir=" +
                          Tmp("work").toUtf8() +
                          "\r\n[Syntax Highlighting]\r\nTextColor=4\r\nElementColor=2\r\nEntityColor=13\r\n"
                          "[QuickKeys]\r\nA=alpha\r\nZ=zed\r\n");
    QDir(tmp.path()).mkpath("work");
    TMainForm &f = Start();
    QDir::setCurrent(tmp.path() + "/cwd");
    // Another program changes the file while this one runs.
    TProfile(Ini().toStdString()).WriteString("QuickKeys", "B", "bravo");
    TProfile(Ini().toStdString()).WriteString("QuickKeys", "A", "");
    const QByteArray before = ReadBytes(Ini());

    Preferences([&](TTabbedNotebookDlg &d) {
        EXPECT_EQ(d.windowTitle(), "Preferences");
        QTabWidget *tabs = d.TabbedNotebook1;
        EXPECT_EQ(tabs->count(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(tabs->tabText(i), (QStringList{"Options", "Helpers", "Colors", "QuickKeys"}[i]));
        EXPECT_EQ(tabs->currentIndex(), 0);

        ExpectControl<QCheckBox>(d, "WordWrap", "Word Wrap");
        ExpectControl<QCheckBox>(d, "NewlineAfterTitle", "Newline After Title and Headings");
        ExpectControl<QCheckBox>(d, "UseAcualCharacters", "Use Actual Characters for Entities");
        ExpectControl<QCheckBox>(d, "DocOptionsDlg", "Display Options Dialog for New Documents");
        ExpectControl<QCheckBox>(d, "LowerCaseTags", "Use Lowercase HTML Tags");
        ExpectControl<QCheckBox>(d, "ForceHTMLExtCheck", "Convert .htm to .html for uploads and link dialogs");
        ExpectControl<QCheckBox>(d, "NeverUseCenterCheck", "Never use <CENTER> </CENTER> !");
        ExpectControl<QCheckBox>(d, "MaximizeCheck", "Maximize Windows when opening");
        ExpectControl<QCheckBox>(d, "KeepTrailingBlanksCheck", "Keep trailing blanks");
        ExpectControl<QLineEdit>(d, "DefFileExtEdit", {});
        EXPECT_EQ(LabelOf(d, d.DefFileExtEdit), "Default File Extension");
        ExpectControl<QRadioButton>(d, "UseNetscapeRadio", "Use Netscape Navigator to test HTML files");
        ExpectControl<QRadioButton>(d, "UseIExploreRadio", "Use Microsoft Internet Explorer to test HTML files");
        ExpectControl<QRadioButton>(d, "UseOtherRadio", "Use another program");
        ExpectControl<QLabel>(d, "Label3", "Program to Test HTML Files");
        ExpectControl<QLineEdit>(d, "TestProgEdit", {});
        ExpectControl<QPushButton>(d, "TestProgBrowseBtn", "Browse");
        ExpectControl<QLineEdit>(d, "ImageEditorEdit", {});
        EXPECT_EQ(LabelOf(d, d.ImageEditorEdit), "Image Viewer");
        ExpectControl<QPushButton>(d, "ImageEditorBrowseButton", "Browse");
        ExpectControl<QLineEdit>(d, "WorkDirEdit", {});
        EXPECT_EQ(LabelOf(d, d.WorkDirEdit), "Working Directory");
        ExpectControl<QPushButton>(d, "WorkDirButton", "Browse");
        ExpectControl<QRadioButton>(d, "NormalTextRadio", "Normal Text");
        ExpectControl<QRadioButton>(d, "HTMLTagsRadio", "HTML Tags");
        ExpectControl<QRadioButton>(d, "EntitiesRadio", "Character Entities");
        ExpectControl<QCheckBox>(d, "SyntaxHighlighting", "Use Syntax Highlighting");
        ExpectControl<TColorGrid>(d, "ColorGrid2", {});
        EXPECT_EQ(LabelOf(d, d.ColorGrid2), "Text Color");
        ExpectControl<TPaintBox>(d, "PaintBox1", {});
        ExpectControl<QTableWidget>(d, "StringGrid1", {});
        ExpectControl<QPushButton>(d, "OKBtn", "OK");
        ExpectControl<QPushButton>(d, "CancelBtn", "Cancel");
        ExpectControl<QPushButton>(d, "HelpBtn", "&Help");
        bool labelled = false;
        for (QLabel *l : d.findChildren<QLabel *>())
            labelled |= l->text() == "Use Ctrl+Q combinations for quick entry of common text" ||
                        l->text() == "Editor Preview";
        EXPECT_TRUE(labelled);

        // Loaded states.
        EXPECT_TRUE(d.WordWrap->isChecked());
        EXPECT_TRUE(d.NewlineAfterTitle->isChecked());
        EXPECT_TRUE(d.UseAcualCharacters->isChecked());
        EXPECT_FALSE(d.DocOptionsDlg->isChecked());
        EXPECT_TRUE(d.LowerCaseTags->isChecked());
        EXPECT_FALSE(d.ForceHTMLExtCheck->isChecked());
        EXPECT_FALSE(d.NeverUseCenterCheck->isChecked());
        EXPECT_TRUE(d.MaximizeCheck->isChecked());
        EXPECT_TRUE(d.KeepTrailingBlanksCheck->isChecked());
        EXPECT_FALSE(d.SyntaxHighlighting->isChecked());
        EXPECT_EQ(d.DefFileExtEdit->text(), "shtml");
        EXPECT_EQ(d.ImageEditorEdit->text(), "/usr/bin/viewer");
        EXPECT_EQ(d.WorkDirEdit->text(), Tmp("work"));
        // A program path: no radio button, the edit and its label and button usable.
        EXPECT_EQ(d.TestProgEdit->text(), "/opt/Browser/Run");
        for (QRadioButton *r : {d.UseNetscapeRadio, d.UseIExploreRadio, d.UseOtherRadio})
            EXPECT_FALSE(r->isChecked());
        EXPECT_TRUE(d.Label3->isEnabled() && d.TestProgEdit->isEnabled() && d.TestProgBrowseBtn->isEnabled());
        // Colours: the text category first, the grid on its index; each category shows its own.
        EXPECT_TRUE(d.NormalTextRadio->isChecked());
        EXPECT_EQ(d.ColorGrid2->ForegroundIndex(), 4);
        Click(d.HTMLTagsRadio);
        EXPECT_EQ(d.ColorGrid2->ForegroundIndex(), 2);
        Click(d.EntitiesRadio);
        EXPECT_EQ(d.ColorGrid2->ForegroundIndex(), 13);
        Click(d.NormalTextRadio);
        EXPECT_EQ(d.ColorGrid2->ForegroundIndex(), 4);
        // The quick keys as the file holds them now.
        QTableWidget *g = d.StringGrid1;
        EXPECT_EQ(g->rowCount(), 26);
        EXPECT_EQ(g->columnCount(), 2);
        EXPECT_EQ(g->columnWidth(0), 65);
        EXPECT_EQ(g->item(0, 0)->text(), "Ctrl+Q A");
        EXPECT_EQ(g->item(25, 0)->text(), "Ctrl+Q Z");
        EXPECT_FALSE(g->item(7, 0)->flags() & Qt::ItemIsEditable);
        EXPECT_TRUE(g->item(7, 1)->flags() & Qt::ItemIsEditable);
        EXPECT_EQ(g->item(0, 1)->text(), "");
        EXPECT_EQ(g->item(1, 1)->text(), "bravo");
        EXPECT_EQ(g->item(25, 1)->text(), "zed");

        // Changes that Cancel must not store.
        Click(d.WordWrap);
        d.DefFileExtEdit->setText(".txt");
        g->item(2, 1)->setText("charlie");
        return Press(d, d.CancelBtn);
    });
    // Cancel wrote nothing, but the working directory was entered and the quick-key table reloaded.
    EXPECT_EQ(ReadBytes(Ini()), before);
    EXPECT_EQ(QDir::currentPath(), Tmp("work"));
    EXPECT_EQ(f.QuickKeyTable[0], "");
    EXPECT_EQ(f.QuickKeyTable[1], "bravo");
    EXPECT_EQ(f.QuickKeyTable[2], "");
    EXPECT_EQ(f.SetupManager->DefFileExt(), "shtml");
    EXPECT_TRUE(f.SetupManager->WordWrap());
}

TEST_F(PreferencesTest, CancelStillTakesFlagsChangedByAnotherProgram)
{
    TMainForm &f = Start();
    EXPECT_FALSE(f.UseActualCharacters);
    EXPECT_TRUE(f.ForceHTMLExt);
    TProfile other(Ini().toStdString());
    other.WriteBool("Setup", "UseActualCharacters", true);
    other.WriteBool("Setup", "NewlineAfterTitle", true);
    other.WriteBool("Setup", "ForceHTMLExt", false);
    other.WriteBool("Setup", "NeverUseCENTER", false);
    Preferences([&](TTabbedNotebookDlg &d) {
        // The flags follow the file from the moment the dialog opens.
        EXPECT_TRUE(f.UseActualCharacters);
        EXPECT_TRUE(d.UseAcualCharacters->isChecked());
        Click(d.NewlineAfterTitle); // unchecked again, then cancelled
        return Press(d, d.CancelBtn);
    });
    EXPECT_TRUE(f.UseActualCharacters);
    EXPECT_TRUE(f.NewlineAfterTitle);
    EXPECT_FALSE(f.ForceHTMLExt);
    EXPECT_FALSE(f.NeverUseCENTER);
    EXPECT_EQ(Key("Setup", "NewlineAfterTitle"), "1");
}

TEST_F(PreferencesTest, OKWritesEveryKeyAndRefreshesTheMainWindow)
{
    QDir(tmp.path()).mkpath("newwork");
    TMainForm &f = Start();
    Preferences([&](TTabbedNotebookDlg &d) {
        // Defaults of an empty settings file.
        EXPECT_FALSE(d.WordWrap->isChecked());
        EXPECT_TRUE(d.ForceHTMLExtCheck->isChecked());
        EXPECT_TRUE(d.NeverUseCenterCheck->isChecked());
        EXPECT_TRUE(d.DocOptionsDlg->isChecked());
        EXPECT_TRUE(d.SyntaxHighlighting->isChecked());
        EXPECT_FALSE(d.KeepTrailingBlanksCheck->isChecked());
        EXPECT_EQ(d.DefFileExtEdit->text(), "htm");
        EXPECT_EQ(d.ColorGrid2->ForegroundIndex(), 0);
        for (QCheckBox *c : {d.WordWrap, d.NewlineAfterTitle, d.UseAcualCharacters, d.DocOptionsDlg, d.LowerCaseTags,
                             d.ForceHTMLExtCheck, d.NeverUseCenterCheck, d.MaximizeCheck, d.SyntaxHighlighting,
                             d.KeepTrailingBlanksCheck})
            Click(c);
        Retype(d.DefFileExtEdit, ".html");
        d.ImageEditorEdit->setText("/usr/local/bin/pics");
        d.WorkDirEdit->setText(Tmp("newwork"));
        d.TabbedNotebook1->setCurrentIndex(TTabbedNotebookDlg::QuickKeysPage);
        d.StringGrid1->item(1, 1)->setText("<B>bold</B>");
        d.StringGrid1->item(25, 1)->setText("last");
        // A cell still open for editing when OK is pressed without moving the focus (a key).
        d.StringGrid1->setCurrentCell(2, 1);
        auto *cellEditor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        EXPECT_NE(cellEditor, nullptr);
        if (cellEditor)
            QTest::keyClicks(cellEditor, "typed");
        d.OKBtn->click();
        return d.result();
    });
    for (const char *key :
         {"WordWrap", "NewlineAfterTitle", "UseActualCharacters", "LowerCaseTags", "ChildMaximize", "KeepTrailingBlanks"})
        EXPECT_EQ(Key("Setup", key), "1") << key;
    for (const char *key : {"DocOptionsDlg", "ForceHTMLExt", "NeverUseCENTER", "SyntaxHighlighting"})
        EXPECT_EQ(Key("Setup", key), "0") << key;
    EXPECT_EQ(Key("Setup", "DefFileExt"), "html");
    EXPECT_EQ(Key("Setup", "ProgPath"), "");
    EXPECT_EQ(Key("Setup", "ImageViewer"), "/usr/local/bin/pics");
    EXPECT_EQ(Key("Setup", "WorkDir"), Tmp("newwork").toStdString());
    EXPECT_EQ(Key("Syntax Highlighting", "TextColor"), "0");
    EXPECT_EQ(Key("Syntax Highlighting", "ElementColor"), "12");
    EXPECT_EQ(Key("Syntax Highlighting", "EntityColor"), "9");
    // All 26 quick keys, the empty ones included.
    const std::vector<std::string> keys = TProfile(Ini().toStdString()).ReadSection("QuickKeys");
    ASSERT_EQ(keys.size(), 26u);
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(keys[std::size_t(i)], std::string(1, char('A' + i)));
    EXPECT_EQ(Key("QuickKeys", "A"), "");
    EXPECT_EQ(Key("QuickKeys", "B"), "<B>bold</B>");
    EXPECT_EQ(Key("QuickKeys", "C"), "typed");
    EXPECT_EQ(Key("QuickKeys", "Z"), "last");
    // The main window's copies.
    EXPECT_TRUE(f.UseActualCharacters && f.NewlineAfterTitle);
    EXPECT_FALSE(f.ForceHTMLExt || f.NeverUseCENTER);
    EXPECT_EQ(f.QuickKeyTable[1], "<B>bold</B>");
    EXPECT_TRUE(f.SetupManager->WordWrap() && f.SetupManager->LowerCaseTags() && f.SetupManager->MDIChildMaximize());
    EXPECT_FALSE(f.SetupManager->SyntaxHighlighting());
    EXPECT_EQ(f.SetupManager->DefFileExt(), "html");
    EXPECT_EQ(QDir::currentPath(), Tmp("newwork"));

    // A typed "htm" is stored unchanged.
    Preferences([&](TTabbedNotebookDlg &d) {
        EXPECT_EQ(d.DefFileExtEdit->text(), "html");
        Retype(d.DefFileExtEdit, "htm");
        return Press(d, d.OKBtn);
    });
    EXPECT_EQ(Key("Setup", "DefFileExt"), "htm");
}

TEST_F(PreferencesTest, RecoveryCopyIntervalIsReadHeldToItsRangeAndWritten)
{
    Start();
    // Absent: 30 seconds.
    Preferences([&](TTabbedNotebookDlg &d) {
        EXPECT_EQ(LabelOf(d, d.RecoverySecondsEdit), "Recovery copy every N seconds");
        EXPECT_EQ(d.RecoverySecondsEdit->value(), 30);
        d.RecoverySecondsEdit->setValue(0);
        EXPECT_EQ(d.RecoverySecondsEdit->text(), "off");
        return Press(d, d.OKBtn);
    });
    EXPECT_EQ(Key("Setup", "RecoverySeconds"), "0");
    // A hand-edited value out of range is held to it; Cancel writes nothing.
    TProfile(Ini().toStdString()).WriteString("Setup", "RecoverySeconds", "999999");
    Preferences([&](TTabbedNotebookDlg &d) {
        EXPECT_EQ(d.RecoverySecondsEdit->value(), 86400);
        d.RecoverySecondsEdit->setValue(45);
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(Key("Setup", "RecoverySeconds"), "999999");
    TProfile(Ini().toStdString()).WriteString("Setup", "RecoverySeconds", "-3");
    Preferences([&](TTabbedNotebookDlg &d) {
        EXPECT_EQ(d.RecoverySecondsEdit->value(), 0);
        d.RecoverySecondsEdit->setValue(45);
        return Press(d, d.OKBtn);
    });
    EXPECT_EQ(Key("Setup", "RecoverySeconds"), "45");
}

TEST_F(PreferencesTest, BrowserChoice)
{
    TProfile(Ini().toStdString()).WriteString("Setup", "ProgPath", "/opt/Viewer/bin/Browse");
    TMainForm &f = Start();
    // A program path with no radio selected is kept by OK.
    Preferences([&](TTabbedNotebookDlg &d) { return Press(d, d.OKBtn); });
    EXPECT_EQ(Key("Setup", "ProgPath"), "/opt/Viewer/bin/Browse");

    // IExplore wins whatever the edit holds; the program controls are disabled while it is chosen.
    Preferences([&](TTabbedNotebookDlg &d) {
        Click(d.UseIExploreRadio);
        EXPECT_FALSE(d.Label3->isEnabled() || d.TestProgEdit->isEnabled() || d.TestProgBrowseBtn->isEnabled());
        Click(d.UseOtherRadio);
        EXPECT_TRUE(d.Label3->isEnabled() && d.TestProgEdit->isEnabled() && d.TestProgBrowseBtn->isEnabled());
        Click(d.UseIExploreRadio);
        return Press(d, d.OKBtn);
    });
    EXPECT_EQ(Key("Setup", "ProgPath"), "IExplore");
    EXPECT_EQ(f.SetupManager->ProgPath(), "IExplore");

    Preferences([&](TTabbedNotebookDlg &d) {
        EXPECT_TRUE(d.UseIExploreRadio->isChecked());
        EXPECT_FALSE(d.TestProgEdit->isEnabled());
        EXPECT_EQ(d.TestProgEdit->text(), "");
        Click(d.UseNetscapeRadio);
        return Press(d, d.OKBtn);
    });
    EXPECT_EQ(Key("Setup", "ProgPath"), "Netscape");

    // "Use another program" stores the edit's text.
    Preferences([&](TTabbedNotebookDlg &d) {
        EXPECT_TRUE(d.UseNetscapeRadio->isChecked());
        Click(d.UseOtherRadio);
        d.TestProgEdit->setText("/usr/bin/lynx");
        return Press(d, d.OKBtn);
    });
    EXPECT_EQ(Key("Setup", "ProgPath"), "/usr/bin/lynx");
}

TEST_F(PreferencesTest, TagColourReachesOpenDocumentsAndThePreview)
{
    TProfile(Ini().toStdString()).WriteInteger("Syntax Highlighting", "ElementColor", 2);
    WriteBytes(Tmp("page.htm"), "<P>text &amp; more</P>\r\n");
    TMainForm &f = Start();
    auto *doc = dynamic_cast<TMDIChild *>(f.OpenDocument(Tmp("page.htm"), false));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Editor->ElementColor(), QColor(0, 128, 0));

    Preferences([&](TTabbedNotebookDlg &d) {
        d.TabbedNotebook1->setCurrentIndex(TTabbedNotebookDlg::ColorsPage);
        QApplication::processEvents();
        auto colourRows = [&](int Top, const QColor &C) {
            const QImage shot = d.PaintBox1->grab().toImage();
            int n = 0;
            for (int y = Top; y < Top + 16 && y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    n += QColor(shot.pixel(x, y)) == C;
            return n;
        };
        EXPECT_GT(colourRows(30, QColor(0, 128, 0)), 0) << "tags drawn in green";
        EXPECT_EQ(colourRows(30, QColor(0, 0, 255)), 0);

        Click(d.HTMLTagsRadio);
        EXPECT_EQ(d.ColorGrid2->ForegroundIndex(), 2);
        // Blue is cell 12: row 3, column 0 of the 4 x 4 grid.
        QTest::mouseClick(d.ColorGrid2, Qt::LeftButton, {}, d.ColorGrid2->CellRect(12).center());
        EXPECT_EQ(d.ElementColorIndex, 12);
        EXPECT_EQ(d.TextColorIndex, 0) << "only the selected category changes";
        EXPECT_EQ(d.ElementColor, QColor(0, 0, 255));
        QApplication::processEvents();
        EXPECT_GT(colourRows(30, QColor(0, 0, 255)), 0) << "the preview's tags turn blue";
        EXPECT_EQ(colourRows(30, QColor(0, 128, 0)), 0);
        EXPECT_EQ(colourRows(10, QColor(0, 0, 255)), 0) << "normal text stays in the text colour";
        EXPECT_GT(colourRows(50, QColor(255, 0, 0)), 0) << "the entity in red";
        return Press(d, d.OKBtn);
    });
    EXPECT_EQ(Key("Syntax Highlighting", "ElementColor"), "12");
    EXPECT_EQ(f.SetupManager->ElementColor(), (TColor{0, 0, 255}));
    EXPECT_EQ(doc->Editor->ElementColor(), QColor(0, 0, 255)) << "the open document repainted in blue";

    // Cancel changes nothing in the document or the file.
    Preferences([&](TTabbedNotebookDlg &d) {
        Click(d.HTMLTagsRadio);
        EXPECT_EQ(d.ColorGrid2->ForegroundIndex(), 12);
        QTest::mouseClick(d.ColorGrid2, Qt::LeftButton, {}, d.ColorGrid2->CellRect(5).center());
        return Press(d, d.CancelBtn);
    });
    EXPECT_EQ(Key("Syntax Highlighting", "ElementColor"), "12");
    EXPECT_EQ(doc->Editor->ElementColor(), QColor(0, 0, 255));
}

TEST_F(PreferencesTest, BrowseButtonsAndHelpByPage)
{
    WriteBytes(Tmp("Viewer.Bin"), "#!/bin/sh\n");
    QDir(tmp.path()).mkpath("chosen");
    Start();
    TScriptedPrompt prompt;
    prompt.ExpectOpenWith([](TFileDialogRequest &r) {
        EXPECT_EQ(r.Title, "Specify Test Program");
        EXPECT_EQ(r.Filter, "Programs (*.exe)|*.exe|All files (*.*)|*.*");
        r.FileName = "/NoSuch/Browsers/MOSAIC.EXE";
        return true;
    });
    prompt.ExpectOpenWith([&](TFileDialogRequest &r) {
        EXPECT_EQ(r.Title, "Specify Image Viewer");
        EXPECT_EQ(r.Filter, "Programs (*.exe)|*.exe|All files (*.*)|*.*");
        r.FileName = Tmp("Viewer.Bin");
        return true;
    });
    prompt.ExpectOpen(""); // cancelled: the edit keeps its text
    TDialogScript script;
    script.Expect("Preferences", [&](QDialog &D) {
        auto &d = dynamic_cast<TTabbedNotebookDlg &>(D);
        d.TabbedNotebook1->setCurrentIndex(TTabbedNotebookDlg::HelpersPage);
        Click(d.TestProgBrowseBtn);
        EXPECT_EQ(d.TestProgEdit->text(), "/NoSuch/Browsers/mosaic.exe") << "directories keep their case";
        // On a file system that tells cases apart, the lower-case name would name no file.
        Click(d.ImageEditorBrowseButton);
        EXPECT_EQ(d.ImageEditorEdit->text(), Tmp("Viewer.Bin"));
        Click(d.ImageEditorBrowseButton);
        EXPECT_EQ(d.ImageEditorEdit->text(), Tmp("Viewer.Bin"));
        Click(d.WorkDirButton);
        EXPECT_EQ(d.WorkDirEdit->text(), Tmp("chosen"));
        Click(d.WorkDirButton);
        EXPECT_EQ(d.WorkDirEdit->text(), Tmp("chosen")) << "cancelled";

        for (int page = 0; page < 4; ++page) {
            d.TabbedNotebook1->setCurrentIndex(page);
            Click(d.HelpBtn);
        }
        return Press(d, d.CancelBtn);
    });
    script.Expect("Select Directory", [&](QDialog &D) {
        auto *chooser = dynamic_cast<TDirectoryDialog *>(&D);
        EXPECT_NE(chooser, nullptr);
        EXPECT_TRUE(chooser && chooser->SetDirectory(Tmp("chosen")));
        return int(QDialog::Accepted);
    });
    script.Expect("Select Directory", [](QDialog &) { return int(QDialog::Rejected); });
    form->Setup1->trigger();
    EXPECT_EQ(help.Requests,
              (QStringList{"topic:setup_options", "topic:setup_paths", "topic:setup_colors", "topic:setup_quickkeys"}));
}

// The file may only grow up to its present size: rewriting a key with a value of the same
// length works, adding a key fails as on a full disk.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Bytes)
    {
        Old = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &Saved);
        rlimit limit = Saved;
        limit.rlim_cur = Bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, Old);
    }

private:
    rlimit Saved{};
    void (*Old)(int) = nullptr;
};

TEST_F(PreferencesTest, UnwritableSettingsStopOKAtTheFailingWrite)
{
    WriteBytes(Ini(), "[Setup]\r\nSyntaxHighlighting=1\r\nWordWrap=0\r\nNewlineAfterTitle=0\r\nLowerCaseTags=0\r\n"
                      "ChildMaximize=0\r\nForceHTMLExt=1\r\nNeverUseCENTER=1\r\nUseActualCharacters=0\r\n"
                      "DocOptionsDlg=1\r\n");
    TMainForm &f = Start();
    TScriptedPrompt prompt;
    prompt.ExpectMessage("Unable to write to " + QFileInfo(Ini()).absoluteFilePath(), mrOk, TMsgDlgType::mtError);
    int result = -1;
    Preferences([&](TTabbedNotebookDlg &d) {
        Click(d.WordWrap);
        Click(d.UseAcualCharacters);
        Click(d.DocOptionsDlg);
        Retype(d.DefFileExtEdit, "txt");
        d.StringGrid1->item(0, 1)->setText("never stored");
        // The colours are the first keys the file does not hold yet.
        TFileSizeLimit limit(rlim_t(QFileInfo(Ini()).size()));
        result = Press(d, d.OKBtn);
        return result;
    });
    EXPECT_EQ(result, int(QDialog::Accepted));
    EXPECT_TRUE(prompt.AllUsed());
    // Written before the failure.
    EXPECT_EQ(Key("Setup", "WordWrap"), "1");
    EXPECT_EQ(Key("Setup", "UseActualCharacters"), "1");
    EXPECT_EQ(Key("Setup", "DocOptionsDlg"), "0");
    EXPECT_TRUE(f.UseActualCharacters);
    // Not reached.
    EXPECT_EQ(Key("Syntax Highlighting", "TextColor"), "<absent>");
    EXPECT_EQ(Key("Setup", "DefFileExt"), "<absent>");
    EXPECT_EQ(Key("QuickKeys", "A"), "<absent>");
    EXPECT_EQ(f.QuickKeyTable[0], "");
    EXPECT_EQ(f.SetupManager->DefFileExt(), "htm");
}

} // namespace
