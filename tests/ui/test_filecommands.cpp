// The File commands on real document windows: New with and without the options dialog, New
// with Document Template, Insert File, Open and the recent-file list, Save without HTML Tags,
// Print to a PDF file, Editor Font, command enabling and a link made by a Ctrl-drop.
#include "support/DocumentFixture.h"

#include "platform/TextCodec.h"
#include "ui/dialogs/NewDocumentDialog.h"

#include <QCheckBox>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTest>

namespace {

class FileCommandTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        oldUser = qgetenv("USER");
        qputenv("USER", "tester");
    }
    void TearDown() override
    {
        qputenv("USER", oldUser);
        DocumentTest::TearDown();
    }
    // Fills the new-document dialog when it is shown and presses OK (or Cancel).
    void FillNewDocument(std::function<void(TNewDocDlg &)> Fill, bool Ok = true)
    {
        SetDialogExecHook([this, Fill, Ok](QDialog &d) {
            auto *dlg = dynamic_cast<TNewDocDlg *>(&d);
            EXPECT_NE(dlg, nullptr);
            if (!dlg)
                return int(QDialog::Rejected);
            EXPECT_EQ(dlg->windowTitle(), "New HTML Document");
            Fill(*dlg);
            return int(Ok ? QDialog::Accepted : QDialog::Rejected);
        });
    }
    static std::string Comment(const std::string &Text)
    {
        return "<!-- " + Text + std::string(Text.size() < 44 ? 44 - Text.size() : 0, ' ') + " -->";
    }
    static std::string Today()
    {
        return QStringToBytes(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    }

    QByteArray oldUser;
};

TEST_F(FileCommandTest, NewWithEveryBoxGivesTheFullSkeleton)
{
    Start();
    FillNewDocument([](TNewDocDlg &d) {
        for (QCheckBox *b : {d.HTMLCheckBox, d.BODYCheckBox, d.HEADCheckBox, d.AuthorCheckBox})
            EXPECT_TRUE(b->isChecked());
        EXPECT_TRUE(d.TitleEdit->text().isEmpty());
        d.URLEdit->setText("http://u/");
        d.TitleEdit->setText("T");
    });
    form->FileNewItem->trigger();
    Settle();
    TMDIChild *doc = ActiveMDIChild();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->windowTitle(), "Untitled");
    const std::string expected = "<HTML>\n" + Comment("This document was created with Pelmar32") + "\n" +
                                 Comment("Author: tester") + "\n" + Comment("Date:   " + Today()) + "\n" +
                                 Comment("URL:    http://u/") + "\n" +
                                 "<HEAD>\n<TITLE>T</TITLE>\n<BASE HREF=\"http://u/\">\n</HEAD>\n\n<BODY>\n\n</BODY>\n</HTML>\n";
    EXPECT_EQ(Text(doc), expected);
    EXPECT_EQ(doc->Editor->ParaCount(), 15) << "fourteen lines and an empty last one";
    EXPECT_EQ(Caret(doc), std::make_pair(1, 1));
    EXPECT_TRUE(doc->Editor->Modified());
}

TEST_F(FileCommandTest, NewOptionsCommentsHeadAndTagCase)
{
    Start();
    const std::string fifty(50, 'c');
    FillNewDocument([&](TNewDocDlg &d) {
        d.HTMLCheckBox->setChecked(false);
        d.BODYCheckBox->setChecked(false);
        d.AuthorCheckBox->setChecked(false);
        d.CommentMemo->setPlainText(QString::fromStdString("first\n\n" + fifty + "\nlast"));
    });
    form->FileNewItemClick();
    TMDIChild *doc = ActiveMDIChild();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Text(doc), Comment("This document was created with Pelmar32") + "\n" + Comment("first") + "\n<!-- " +
                             fifty + " -->\n" + Comment("last") + "\n<HEAD>\n<TITLE>Document Title</TITLE>\n</HEAD>\n");

    // HEAD cleared but a URL given: the URL comment without BASE; tags follow the case rule.
    form->SetupManager->SetLowerCaseTags(true);
    FillNewDocument([](TNewDocDlg &d) {
        d.HEADCheckBox->setChecked(false);
        d.AuthorCheckBox->setChecked(false);
        d.URLEdit->setText("http://U/");
    });
    form->FileNewItemClick();
    doc = ActiveMDIChild();
    EXPECT_EQ(Text(doc), "<html>\n" + Comment("This document was created with Pelmar32") + "\n" +
                             Comment("URL:    http://U/") + "\n\n<body>\n\n</body>\n</html>\n");

    // Cancel creates nothing.
    const int before = int(form->Children().size());
    FillNewDocument([](TNewDocDlg &) {}, false);
    form->FileNewItemClick();
    EXPECT_EQ(form->Children().size(), before);
}

TEST_F(FileCommandTest, NewWithoutTheOptionsDialogOpensAnEmptyDocument)
{
    Setting("Setup", "DocOptionsDlg", "0");
    Start();
    SetDialogExecHook([](QDialog &) {
        ADD_FAILURE() << "no dialog expected";
        return int(QDialog::Rejected);
    });
    form->FileNewItemClick();
    TMDIChild *doc = ActiveMDIChild();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Text(doc), "");
    EXPECT_EQ(Caret(doc), std::make_pair(1, 1));
    EXPECT_EQ(doc->windowTitle(), "Untitled");
}

TEST_F(FileCommandTest, TemplatesAndInsertFileInsertTheFileUnchanged)
{
    Put(Path("page.htt"), "<HTML>\r\n<BODY>\r\n");
    Put(Path("part.txt"), "one\r\ntwo\r\n");
    Start();
    form->SetupManager->SetLowerCaseTags(true);
    TScriptedPrompt prompt;
    prompt.ExpectOpenWith([this](TFileDialogRequest &r) {
        EXPECT_EQ(r.Title, "Document Template");
        EXPECT_EQ(r.Filter, "Pelmar Pro Templates (*.htt)|*.htt|All files (*.*)|*.*");
        EXPECT_EQ(r.HelpContext, 49);
        r.FileName = Path("page.htt");
        return true;
    });
    form->NewwithDocumentTemplate1->trigger();
    Settle();
    TMDIChild *doc = ActiveMDIChild();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->windowTitle(), "Untitled");
    EXPECT_EQ(Text(doc), "<HTML>\n<BODY>\n") << "no tag-case rule for templates";
    EXPECT_TRUE(doc->Editor->Modified());
    EXPECT_EQ(form->ModifiedPanel->text(), "Modified");

    doc->Editor->SetCaretPosition(2, 2);
    prompt.ExpectOpenWith([this](TFileDialogRequest &r) {
        EXPECT_EQ(r.Title, "Insert File");
        EXPECT_TRUE(r.Filter.startsWith("HTML files (*.htm,*.html)|"));
        EXPECT_EQ(r.HelpContext, 6);
        r.FileName = Path("part.txt");
        return true;
    });
    form->InsertFile1->trigger();
    EXPECT_EQ(Text(doc), "<HTML>\n<one\ntwo\nBODY>\n");
    EXPECT_EQ(Caret(doc), std::make_pair(2, 2));

    // A file in the other encoding is converted: UTF-8 into this Windows-1252 text keeps e acute
    // as its byte and Zhe as a reference; Windows-1252 into a UTF-8 text becomes UTF-8.
    Put(Path("utf8.txt"), "\xD0\x96\xC3\xA9\n");
    Put(Path("latin.txt"), "caf\xE9\n");
    TMDIChild *utf8 = NewDocument();
    utf8->Editor->ParaList().SetEncoding(TTextEncoding::Utf8);
    for (TMDIChild *into : {doc, utf8}) {
        form->MDIClient->setActiveSubWindow(into);
        into->Editor->SetCaretPosition(1, 1);
        const QString name = Path(into == doc ? "utf8.txt" : "latin.txt");
        prompt.ExpectOpenWith([name](TFileDialogRequest &r) {
            r.FileName = name;
            return true;
        });
        form->InsertFile1->trigger();
    }
    EXPECT_EQ(Text(doc).substr(0, 9), "&#1046;\xE9\n");
    EXPECT_EQ(Text(utf8), "caf\xC3\xA9\n");

    // Cancelled dialogs do nothing.
    prompt.ExpectOpen(QString());
    form->InsertFile1Click();
    prompt.ExpectOpen(QString());
    const int windows = int(form->Children().size());
    form->NewwithDocumentTemplate1Click();
    EXPECT_EQ(form->Children().size(), windows);
}

TEST_F(FileCommandTest, OpenReportsMissingFilesAndKeepsFourRecentFilesNewestFirst)
{
    QStringList files;
    for (int i = 1; i <= 5; ++i) {
        files << Path(QString("f%1.htm").arg(i));
        Put(files.last(), "x\r\n");
    }
    Start();
    TScriptedPrompt prompt;
    for (const QString &f : files) {
        prompt.ExpectOpen(f);
        form->FileOpenItem->trigger();
    }
    EXPECT_EQ(form->RecentFiles(), (QStringList{files[4], files[3], files[2], files[1]}));
    EXPECT_EQ(form->Children().size(), 5);
    EXPECT_EQ(ActiveMDIChild()->windowTitle(), files[4]);
    EXPECT_EQ(Text(ActiveMDIChild()), "x\n");

    prompt.ExpectOpenWith([](TFileDialogRequest &r) {
        EXPECT_EQ(r.Title, "Open File");
        EXPECT_EQ(r.HelpContext, 50);
        EXPECT_EQ(r.FileName, "f5.htm") << "the name part of the last file chosen";
        r.FileName = "/no/such/file.htm";
        return true;
    });
    prompt.ExpectMessage("Cannot find file: /no/such/file.htm", mrOk, TMsgDlgType::mtError, mbOK);
    form->FileOpenItemClick();
    EXPECT_EQ(form->Children().size(), 5);
    EXPECT_EQ(form->RecentFiles().value(0), "/no/such/file.htm");

    // A read-only file is opened after a warning.
    Put(Path("ro.htm"), "r\r\n");
    QFile::setPermissions(Path("ro.htm"), QFileDevice::ReadOwner);
    prompt.ExpectMessage("File is read-only.", mrOk, TMsgDlgType::mtWarning, mbOK);
    TMDIChild *ro = OpenFile(Path("ro.htm"));
    ASSERT_NE(ro, nullptr);
    EXPECT_EQ(Text(ro), "r\n");
}

TEST_F(FileCommandTest, CommandLineNamesStayWithTheFilesWhenTheWorkingDirectoryChanges)
{
    // Started in docs with a working directory of its own in the settings.
    const QString docs = tmp.path() + "/docs", work = tmp.path() + "/work";
    ASSERT_TRUE(QDir().mkpath(docs) && QDir().mkpath(work));
    Setting("Setup", "WorkDir", work.toStdString());
    Put(docs + "/rel.htm", "old\n");
    Put(docs + "/PAGE", "page\n");
    QDir::setCurrent(docs);
    TScriptedPrompt prompt;
    prompt.ExpectMessage("Cannot find file: " + docs + "/none.htm", mrOk, TMsgDlgType::mtError, mbOK);
    form = std::make_unique<TMainForm>(QStringList{"rel.htm", "PAGE.", "none.htm"});
    form->show();
    QTest::qWait(20);
    EXPECT_EQ(QDir::currentPath(), work);
    const QList<QMdiSubWindow *> windows = form->Children();
    ASSERT_EQ(windows.size(), 2);
    auto *rel = dynamic_cast<TMDIChild *>(windows[0]);
    auto *page = dynamic_cast<TMDIChild *>(windows[1]);
    ASSERT_TRUE(rel && page);
    EXPECT_EQ(rel->DocumentCaption(), docs + "/rel.htm") << "every document holds an absolute name";
    EXPECT_EQ(page->DocumentCaption(), docs + "/PAGE") << "one trailing dot is dropped";
    EXPECT_EQ(Text(page), "page\n");
    // Save writes the file that was opened, not one of that name in the working directory.
    Type(rel, "new ");
    form->MDIClient->setActiveSubWindow(rel);
    form->FileSaveItem->trigger();
    EXPECT_EQ(Bytes(docs + "/rel.htm"), "new old\n");
    EXPECT_FALSE(QFile::exists(work + "/rel.htm"));
    // A name opened later, relative to the directory of that moment, is held absolute too.
    Put(work + "/Later.htm", "x");
    TMDIChild *later = OpenFile("Later.htm.");
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->DocumentCaption(), work + "/Later.htm");
}

TEST_F(FileCommandTest, SaveWithoutHtmlTagsSavesFirstThenWritesTheTextAndOpensIt)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = NewDocument();
    Type(doc, "x <b>bold</b> > y\r\n<p\r\nend>");
    // The untitled document must be saved first; cancelling that stops the command.
    prompt.ExpectSave(QString());
    form->SavewithoutHTMLTags1Click();
    EXPECT_EQ(form->Children().size(), 1);

    prompt.ExpectSave(Path("src.htm"));
    prompt.ExpectSaveWith([this](TFileDialogRequest &r) {
        EXPECT_EQ(r.Title, "Save Without HTML Tags");
        EXPECT_EQ(r.Filter, "Text Files (*.txt)|*.txt|All files (*.*)|*.*");
        EXPECT_EQ(r.HelpContext, 26);
        r.FileName = Path("out.txt");
        return true;
    });
    form->SavewithoutHTMLTags1->trigger();
    EXPECT_EQ(Bytes(Path("src.htm")), "x <b>bold</b> > y\r\n<p\r\nend>\r\n");
    EXPECT_EQ(Bytes(Path("out.txt")), "x bold > y\r\n\r\n");
    ASSERT_EQ(form->Children().size(), 2);
    EXPECT_EQ(ActiveMDIChild()->windowTitle(), Path("out.txt"));
    EXPECT_EQ(Text(ActiveMDIChild()), "x bold > y\n\n");
}

TEST_F(FileCommandTest, PrintWritesOneLinePerFileLineAndStartsNewPages)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = NewDocument();
    std::string text;
    for (int i = 1; i <= 200; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    Type(doc, text);
    prompt.ExpectSave(Path("print.htm"));
    const QString pdf = Path("out.pdf");
    prompt.ExpectPrint([pdf](QPrinter &p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return true;
    });
    form->Print1->trigger();
    EXPECT_FALSE(doc->Editor->Modified()) << "saved before printing";
    const QByteArray out = Bytes(pdf);
    ASSERT_TRUE(out.startsWith("%PDF"));
    const int pages = int(out.count("/Type /Page\n") + out.count("/Type /Page\r") + out.count("/Type /Page "));
    EXPECT_GE(pages, 3) << "200 lines do not fit on two pages";

    // A cancelled print dialog prints nothing.
    QFile::remove(pdf);
    prompt.ExpectPrint([](QPrinter &) { return false; });
    form->Print1Click();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(FileCommandTest, EditorFontGoesToTheSettingsAndTheActiveDocumentOnly)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *other = NewDocument();
    TMDIChild *active = NewDocument();
    const QFont before = other->Editor->FixedFont().Font();
    const QString family = TEdFixedFont::FixedFamilies().value(0, "Monospace");
    prompt.ExpectFont([family](TFontRequest &f) {
        EXPECT_EQ(f.Name, "Courier New");
        EXPECT_EQ(f.Height, -12);
        EXPECT_FALSE(f.Bold);
        EXPECT_TRUE(f.FixedPitchOnly);
        f.Name = family;
        f.Height = -17;
        f.Bold = true;
        return true;
    });
    form->Font1->trigger();
    const TProfile settings(SettingsFileName());
    EXPECT_EQ(settings.ReadString("Font", "Name", ""), QStringToBytes(family));
    EXPECT_EQ(settings.ReadInteger("Font", "Size", 0), -17);
    EXPECT_TRUE(settings.ReadBool("Font", "Bold", false));
    EXPECT_FALSE(settings.ReadBool("Font", "Italic", true));
    EXPECT_EQ(active->Editor->FixedFont().Font().pixelSize(), 17);
    EXPECT_TRUE(active->Editor->FixedFont().Font().bold());
    EXPECT_EQ(other->Editor->FixedFont().Font(), before);
    // Windows made later read the new font.
    EXPECT_EQ(NewDocument()->Editor->FixedFont().Font().pixelSize(), 17);
}

TEST_F(FileCommandTest, CommandsNeedADocumentAndACtrlDropMakesALink)
{
    Start();
    for (QAction *a : {form->FileSaveAsItem, form->SaveAsUnix1, form->SavewithoutHTMLTags1, form->InsertFile1,
                       form->Print1, form->FileSaveItem, form->FileCloseItem})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    // Without a document the commands do nothing (no prompt is shown).
    TScriptedPrompt prompt;
    form->FileSaveItemClick();
    form->FileSaveAsItemClick();
    form->SaveAsUnix1Click();
    form->Print1Click();

    TMDIChild *doc = NewDocument();
    Settle();
    for (QAction *a : {form->FileSaveAsItem, form->SaveAsUnix1, form->SavewithoutHTMLTags1, form->InsertFile1,
                       form->Print1, form->FileCloseItem})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(form->FileSaveItem->isEnabled());

    Type(doc, "Page");
    doc->Editor->SelectAll(true);
    SetKeyStateQuery([] { return Qt::KeyboardModifiers(Qt::ControlModifier); });
    form->DropFiles({"/Web/Dir/Page.HTM"});
    EXPECT_EQ(Text(doc), "<A HREF=\"page.htm\">Page</A>");
}

} // namespace
