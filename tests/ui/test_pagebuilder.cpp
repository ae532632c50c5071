// The HTML Page Builder wizard: its pages and texts, navigation, the browse dialogs, Finish's
// checks, the page written and opened, a page that cannot be written, and the paragraph lines
// taken as the text box shows them.
#include "support/Sandbox.h"
#include "DialogScript.h"
#include "core/markup/DialogPageBuilder.h"
#include "support/RecordingHelp.h"
#include "support/ScriptedPrompt.h"
#include "ui/app/MainWindow.h"
#include "ui/dialogs/PageBuilder.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>

#include <gtest/gtest.h>

#include <memory>

inline void PrintTo(const QString &S, std::ostream *Out)
{
    *Out << '"' << S.toStdString() << '"';
}

namespace {

class PageWizTest : public SandboxTest {
protected:
    PageWizTest() : SandboxTest(false) {}
    void SetUp() override
    {
        SandboxTest::SetUp();
        form = std::make_unique<TMainForm>();
    }
    void TearDown() override
    {
        form.reset();
        SandboxTest::TearDown();
    }
    QString Tmp(const QString &Name) const { return tmp.path() + "/" + Name; }
    // Runs Options > HTML Page Builder with one scripted step on the shown wizard.
    void Builder(const std::function<int(TPageWizDlg &)> &Step)
    {
        TDialogScript script;
        script.Expect("HTML Page Builder", [&](QDialog &D) {
            auto *dlg = dynamic_cast<TPageWizDlg *>(&D);
            EXPECT_NE(dlg, nullptr);
            return dlg ? Step(*dlg) : int(QDialog::Rejected);
        });
        form->HTMLPageBuilder1->trigger();
    }
    static void GoTo(TPageWizDlg &D, int Page)
    {
        while (D.PageNumber() < Page)
            Click(D.NextButton);
        while (D.PageNumber() > Page)
            Click(D.PrevButton);
    }

    TRecordingHelp help;
    std::unique_ptr<TMainForm> form;
};

QStringList LabelTexts(QWidget *Page)
{
    QStringList texts;
    for (QLabel *l : Page->findChildren<QLabel *>())
        texts << l->text();
    return texts;
}

TEST_F(PageWizTest, PagesTextsAndNavigation)
{
    Builder([&](TPageWizDlg &d) {
        QStackedWidget *book = d.Notebook1;
        EXPECT_EQ(book->count(), 6);
        QStringList names;
        for (int i = 0; i < book->count(); ++i)
            names << book->widget(i)->objectName();
        EXPECT_EQ(names, (QStringList{"Intro", "Title", "Image", "Text", "Links", "Save"}));

        EXPECT_EQ(LabelTexts(book->widget(0)),
                  (QStringList{"Welcome to Pelmar's HTML Page Builder",
                               "This tool is designed to help you quickly and easily design your own Home Page for "
                               "the World Wide Web.",
                               "You will be asked a few simple questions and then Pelmar will generate a text file "
                               "containing your information marked up with some HTML tags.",
                               "You can then use Pelmar to edit the file and make changes to the HTML file.",
                               "Press the 'Next' button when you are ready to begin.",
                               "You can abort the whole process at any time by pressing the 'Cancel' button."}));
        EXPECT_EQ(LabelTexts(book->widget(1)),
                  (QStringList{"Title and Heading",
                               "In the space provided below, enter some text to be used as the Title for your home "
                               "page.  This will also be used as the top-level heading for the page.",
                               "You can also specify a subheading:"}));
        EXPECT_EQ(LabelTexts(book->widget(2)),
                  (QStringList{"You may want to include an image on your home page to increase its visual appeal or "
                               "to provide additional information.  It could be a picture of you, a company logo, "
                               "or any other picture you like.",
                               "The image file for your picture should be in GIF or xbm format.  Some WWW browsers, "
                               "such as the Netscape navigator can also display inline JPEG images.",
                               "Type the file name below or press the 'Browse' button to select it.  The image file "
                               "should be put in the same directory as your HTML file.",
                               "Image file:"}));
        EXPECT_EQ(LabelTexts(book->widget(3)),
                  (QStringList{"You should also have some text on your home page to describe yourself or to provide "
                               "any other kind of information you like.",
                               "Enter the text below:"}));
        EXPECT_EQ(LabelTexts(book->widget(4)),
                  (QStringList{"You can also have links on your page to other related information, or maybe just "
                               "some of your favorite sites on the World Wide Web.  Any or all of these can be left "
                               "blank.",
                               "Link Text", "URL"}));
        EXPECT_EQ(LabelTexts(book->widget(5)),
                  (QStringList{"Pelmar is now ready to generate the HTML for your home page.  You must now specify "
                               "a filename to save the resulting HTML document.  If you would like to make any "
                               "changes, you can use the 'Previous'  and 'Next' buttons to move back and forth.",
                               "When you are ready to generate your home page, press the 'Finish' button.",
                               "File Name:"}));

        // Controls and their initial states.
        EXPECT_EQ(d.HRAfterHeadingsCheck->text(), "Put a Horizontal Rule (line) after headings");
        EXPECT_EQ(d.CenterCheck->text(), "Center headings on the page");
        EXPECT_EQ(d.CenterImageCheck->text(), "Center the image on the page");
        EXPECT_EQ(d.CenterParagraphCheck->text(), "Center this paragraph on the page");
        EXPECT_EQ(d.ImageBrowseButton->text(), "&Browse");
        EXPECT_EQ(d.SaveBrowseButton->text(), "Browse");
        EXPECT_TRUE(d.HRAfterHeadingsCheck->isChecked());
        for (QCheckBox *c : {d.CenterCheck, d.CenterImageCheck, d.CenterParagraphCheck})
            EXPECT_FALSE(c->isChecked());
        for (const char *name : {"TitleEdit", "SubHeadingEdit", "ImageFileNameEdit", "LinkDesc1Edit", "LinkURL1Edit",
                                 "LinkDesc2Edit", "LinkURL2Edit", "LinkDesc3Edit", "LinkURL3Edit", "SaveBrowseEdit"}) {
            QLineEdit *edit = Child<QLineEdit>(d, name);
            EXPECT_TRUE(edit && edit->text().isEmpty()) << name;
        }
        EXPECT_EQ(d.PrevButton->text(), "< &Previous ");
        EXPECT_EQ(d.NextButton->text(), "&Next >");
        EXPECT_EQ(d.FinishButton->text(), "&Finish");
        EXPECT_EQ(d.CancelButton->text(), "Cancel");

        // Navigation: first page, every step forward, the end, and back to the start.
        auto state = [&] {
            return QString("%1 %2 %3 %4")
                .arg(d.PageNumLabel->text())
                .arg(d.PrevButton->isEnabled())
                .arg(d.NextButton->isEnabled())
                .arg(d.FinishButton->isEnabled());
        };
        EXPECT_EQ(book->currentIndex(), 0);
        EXPECT_EQ(state(), "1 of 6 0 1 0");
        QStringList forward, focus;
        for (int i = 0; i < 5; ++i) {
            Click(d.NextButton);
            forward << state();
            focus << (d.focusWidget() ? d.focusWidget()->objectName() : QString());
        }
        EXPECT_EQ(forward,
                  (QStringList{"2 of 6 1 1 0", "3 of 6 1 1 0", "4 of 6 1 1 0", "5 of 6 1 1 0", "6 of 6 1 0 1"}));
        // Each page puts the focus in its first field.
        EXPECT_EQ(focus, (QStringList{"TitleEdit", "ImageFileNameEdit", "ParagraphMemo", "LinkDesc1Edit",
                                      "SaveBrowseEdit"}));
        d.NextButtonClick(); // disabled on the last page; never past it
        EXPECT_EQ(state(), "6 of 6 1 0 1");
        Click(d.PrevButton);
        EXPECT_EQ(d.focusWidget(), d.LinkDesc1Edit);
        for (int i = 0; i < 4; ++i)
            Click(d.PrevButton);
        EXPECT_EQ(state(), "1 of 6 0 1 0");
        d.PrevButtonClick();
        EXPECT_EQ(state(), "1 of 6 0 1 0");

        Click(d.HelpButton);
        return Press(d, d.CancelButton);
    });
    EXPECT_EQ(help.Requests, QStringList{"topic:page_builder"});
    EXPECT_TRUE(form->Children().isEmpty());
}

TEST_F(PageWizTest, FinishChecksThenWritesReportsAndOpensThePage)
{
    WriteBytes(Tmp("Me.GIF"), "GIF89a");
    TScriptedPrompt prompt;
    prompt.ExpectMessage("You must specify a file name.", mrOk, TMsgDlgType::mtError, mbOK);
    prompt.ExpectSaveWith([&](TFileDialogRequest &r) {
        EXPECT_EQ(r.Title, "Home Page Filename");
        EXPECT_EQ(r.Filter, form->OpenFileFilter);
        EXPECT_EQ(r.FileName, "HOMEPAGE.HTM");
        EXPECT_TRUE(r.OverwritePrompt);
        r.FileName = Tmp("HOMEPAGE.HTM");
        return true;
    });
    prompt.ExpectMessage("You must specify a title.", mrOk, TMsgDlgType::mtError, mbOK);
    prompt.ExpectOpenWith([](TFileDialogRequest &r) {
        EXPECT_EQ(r.Title, "Select Image");
        EXPECT_EQ(r.Filter, "GIF Files (*.gif)|*.gif|JPEG Files (*.jpg)|*.jpg|All files (*.*)|*.*");
        r.FileName = "/no/such/Pictures/LOGO.GIF";
        return true;
    });
    prompt.ExpectOpenWith([&](TFileDialogRequest &r) {
        r.FileName = Tmp("Me.GIF");
        return true;
    });
    prompt.ExpectOpen("");
    prompt.ExpectMessage("Your Home Page has been saved in the file " + Tmp("HOMEPAGE.HTM"), mrOk,
                         TMsgDlgType::mtInformation, mbOK);
    int result = -1;
    Builder([&](TPageWizDlg &d) {
        GoTo(d, 6);
        Click(d.FinishButton);
        EXPECT_EQ(d.PageNumber(), 6) << "stays on the page";
        Click(d.SaveBrowseButton);
        EXPECT_EQ(d.SaveBrowseEdit->text(), Tmp("HOMEPAGE.HTM"));
        Click(d.FinishButton);
        EXPECT_EQ(d.SaveBrowseEdit->text(), Tmp("HOMEPAGE.HTM")) << "entries kept";

        GoTo(d, 2);
        Type(d.TitleEdit, "Ann's Page");
        Type(d.SubHeadingEdit, "Hello");
        Click(d.CenterCheck);
        GoTo(d, 3);
        Click(d.ImageBrowseButton);
        EXPECT_EQ(d.ImageFileNameEdit->text(), "logo.gif");
        // A real file whose lower-case name names nothing on this file system keeps its case.
        Click(d.ImageBrowseButton);
        EXPECT_EQ(d.ImageFileNameEdit->text(), "Me.GIF");
        Click(d.ImageBrowseButton);
        EXPECT_EQ(d.ImageFileNameEdit->text(), "Me.GIF");
        Click(d.CenterImageCheck);
        GoTo(d, 4);
        d.ParagraphMemo->setPlainText("First line.\nSecond & last.");
        GoTo(d, 5);
        Type(d.LinkDesc1Edit, "Home");
        Type(d.LinkURL1Edit, "http://home.example/");
        Type(d.LinkDesc2Edit, "No address");
        Type(d.LinkURL3Edit, "http://no-text.example/");
        GoTo(d, 6);
        result = Press(d, d.FinishButton);
        return result;
    });
    EXPECT_EQ(result, int(QDialog::Accepted));
    const QByteArray expected =
        "<HTML>\r\n<HEAD>\r\n<!-- This is the header of the HTML document -->\r\n<TITLE>Ann's Page</TITLE>\r\n"
        "</HEAD>\r\n\r\n<BODY>\r\n<!-- The body of the document begins here -->\r\n"
        "<H1 ALIGN=center>Ann's Page</H1>\r\n\r\n<H2 ALIGN=center>Hello</H2>\r\n<HR>\r\n\r\n"
        "<!-- This tag specifies an image file to be displayed on the page -->\r\n<P ALIGN=center>\r\n"
        "<IMG SRC=\"Me.GIF\">\r\n</P>\r\n\r\n<P>\r\n<!-- This is a paragraph of text -->\r\nFirst line.\r\n"
        "Second & last.\r\n</P>\r\n<HR>\r\n\r\nHere are some links to some other sites on the Internet\r\n<UL>\r\n"
        "<!-- These items are in an unordered list -->\r\n  <LI><A HREF=\"http://home.example/\">Home</A>\r\n"
        "</UL>\r\n\r\n<HR>\r\nThis page was generated by <A HREF=\"" +
        QByteArray(PelmarHomePageURL) + "\">Pelmar</A>\r\n</BODY>\r\n</HTML>\r\n";
    EXPECT_EQ(ReadBytes(Tmp("HOMEPAGE.HTM")), expected);
    // Opened in a new document window, and not put on the recent-file list.
    ASSERT_EQ(form->Children().size(), 1);
    auto *doc = qobject_cast<TMDIChild *>(form->Children().front());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Editor->GetStringLine(4), "<TITLE>Ann's Page</TITLE>");
    EXPECT_FALSE(doc->DocumentModified());
    EXPECT_TRUE(form->RecentFiles().isEmpty());
}

TEST_F(PageWizTest, PageThatCannotBeWrittenIsReportedAndNotOpened)
{
    TScriptedPrompt prompt;
    prompt.ExpectMessagePrefix("", mrOk);
    int result = -1;
    Builder([&](TPageWizDlg &d) {
        d.TitleEdit->setText("T");
        d.SaveBrowseEdit->setText(Tmp("missing/dir/page.htm"));
        GoTo(d, 6);
        result = Press(d, d.FinishButton);
        return result;
    });
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].type, TMsgDlgType::mtError);
    EXPECT_FALSE(prompt.Records()[0].text.startsWith("Your Home Page"));
    EXPECT_EQ(result, int(QDialog::Rejected)) << "the wizard closes";
    EXPECT_FALSE(QFile::exists(Tmp("missing/dir/page.htm")));
    EXPECT_TRUE(form->Children().isEmpty());
}

TEST_F(PageWizTest, ParagraphLinesAreTheLinesTheBoxShows)
{
    Builder([&](TPageWizDlg &d) {
        GoTo(d, 4);
        QPlainTextEdit *memo = d.ParagraphMemo;
        memo->setPlainText("");
        EXPECT_TRUE(d.ParagraphLines().empty());
        memo->setPlainText("one\n\nthree\n");
        EXPECT_EQ(d.ParagraphLines(), (std::vector<std::string>{"one", "", "three"}))
            << "a final line break opens no line";

        // A line too long for the box is written as the box wraps it, nothing lost or added.
        QString words;
        for (int i = 0; i < 60; ++i)
            words += QString("word%1 ").arg(i);
        words = words.trimmed();
        memo->setPlainText("short\n" + words);
        QApplication::processEvents();
        const std::vector<std::string> lines = d.ParagraphLines();
        EXPECT_GT(lines.size(), 3u);
        EXPECT_EQ(lines.front(), "short");
        std::string joined;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            joined += lines[i];
            if (i + 1 < lines.size()) {
                EXPECT_EQ(lines[i].back(), ' ') << "broken at a word: " << lines[i];
            }
        }
        EXPECT_EQ(joined, words.toStdString());
        const QFontMetrics metrics(memo->font());
        for (std::size_t i = 1; i < lines.size(); ++i)
            EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(lines[i]).trimmed()),
                      memo->viewport()->width());
        return Press(d, d.CancelButton);
    });
}

} // namespace
