// TPageWizDlg: the HTML Page Builder wizard: its six pages, navigation, the image and save browse dialogs,
// and Finish, which writes the home page through the page generator and opens it.
#include "ui/dialogs/PageBuilder.h"

#include "platform/Help.h"
#include "platform/FileNameCase.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/app/MainHost.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>


namespace {

const char *const kImageFilter = "GIF Files (*.gif)|*.gif|JPEG Files (*.jpg)|*.jpg|All files (*.*)|*.*";
const char *const kDefaultOpenFilter = "HTML files (*.htm,*.html)|*.htm;*.html|HTML 3 files (*.ht3)|*.ht3|"
                                       "Text files (*.txt)|*.txt|All files (*.*)|*.*|";

QLabel *Text(QWidget *Page, QVBoxLayout *Layout, const QString &Caption)
{
    auto *label = new QLabel(Caption, Page);
    label->setWordWrap(true);
    Layout->addWidget(label);
    return label;
}

QLineEdit *Edit(QWidget *Page, QLineEdit *&Member, const char *Name)
{
    Member = new QLineEdit(Page);
    Member->setObjectName(Name);
    return Member;
}

QCheckBox *Check(QWidget *Page, QCheckBox *&Member, const char *Name, const QString &Caption)
{
    Member = new QCheckBox(Caption, Page);
    Member->setObjectName(Name);
    return Member;
}

QPushButton *Button(QWidget *Parent, QPushButton *&Member, const char *Name, const QString &Caption)
{
    Member = new QPushButton(Caption, Parent);
    Member->setObjectName(Name);
    Member->setAutoDefault(false);
    return Member;
}

std::string FileNameBytes(const QString &Name)
{
    return QFile::encodeName(Name).toStdString();
}

// The chosen picture's name alone, lower-cased where that still names the file.
QString ImageNameFromBrowse(const QString &Chosen)
{
    return QFileInfo(LowerCasedFileName(Chosen)).fileName();
}

} // namespace

TPageWizDlg::TPageWizDlg(TMainHost *MainForm, QWidget *Parent) : QDialog(Parent), Main(MainForm)
{
    setObjectName("PageWizDlg");
    setWindowTitle("HTML Page Builder");
    setModal(true);
    BuildPages();

    auto *buttons = new QHBoxLayout;
    PageNumLabel = new QLabel(this);
    PageNumLabel->setObjectName("PageNumLabel");
    buttons->addWidget(PageNumLabel);
    buttons->addStretch();
    Button(this, PrevButton, "PrevButton", "< &Previous ");
    Button(this, NextButton, "NextButton", "&Next >");
    Button(this, CancelButton, "CancelButton", "Cancel");
    Button(this, FinishButton, "FinishButton", "&Finish");
    Button(this, HelpButton, "HelpButton", "&Help");
    for (QPushButton *b : {PrevButton, NextButton, CancelButton, FinishButton, HelpButton})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Notebook1, 1);
    layout->addLayout(buttons);

    connect(PrevButton, &QPushButton::clicked, this, [this] { PrevButtonClick(); });
    connect(NextButton, &QPushButton::clicked, this, [this] { NextButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(FinishButton, &QPushButton::clicked, this, [this] { Guarded([this] { FinishButtonClick(); }); });
    connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
    connect(ImageBrowseButton, &QPushButton::clicked, this, [this] { Guarded([this] { ImageBrowseButtonClick(); }); });
    connect(SaveBrowseButton, &QPushButton::clicked, this, [this] { Guarded([this] { SaveBrowseButtonClick(); }); });

    Notebook1->setCurrentIndex(IntroPage);
    UpdateButtons();
    resize(480, 360);
}

void TPageWizDlg::BuildPages()
{
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName("Notebook1");
    auto newPage = [this](const char *Name) {
        auto *page = new QWidget;
        page->setObjectName(Name);
        page->setWindowTitle(Name);
        Notebook1->addWidget(page);
        return std::pair{page, new QVBoxLayout(page)};
    };

    {
        auto [page, v] = newPage("Intro");
        QLabel *heading = Text(page, v, "Welcome to Pelmar's HTML Page Builder");
        QFont bold = heading->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.3);
        heading->setFont(bold);
        Text(page, v,
             "This tool is designed to help you quickly and easily design your own Home Page for the World Wide Web.");
        Text(page, v,
             "You will be asked a few simple questions and then Pelmar will generate a text file containing your "
             "information marked up with some HTML tags.");
        Text(page, v, "You can then use Pelmar to edit the file and make changes to the HTML file.");
        Text(page, v, "Press the 'Next' button when you are ready to begin.");
        Text(page, v, "You can abort the whole process at any time by pressing the 'Cancel' button.");
        v->addStretch();
    }
    {
        auto [page, v] = newPage("Title");
        QLabel *heading = Text(page, v, "Title and Heading");
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        Text(page, v,
             "In the space provided below, enter some text to be used as the Title for your home page.  This will "
             "also be used as the top-level heading for the page.");
        v->addWidget(Edit(page, TitleEdit, "TitleEdit"));
        Text(page, v, "You can also specify a subheading:")->setBuddy(SubHeadingEdit);
        v->addWidget(Edit(page, SubHeadingEdit, "SubHeadingEdit"));
        v->addWidget(Check(page, HRAfterHeadingsCheck, "HRAfterHeadingsCheck",
                           "Put a Horizontal Rule (line) after headings"));
        v->addWidget(Check(page, CenterCheck, "CenterCheck", "Center headings on the page"));
        HRAfterHeadingsCheck->setChecked(true);
        v->addStretch();
    }
    {
        auto [page, v] = newPage("Image");
        Text(page, v,
             "You may want to include an image on your home page to increase its visual appeal or to provide "
             "additional information.  It could be a picture of you, a company logo, or any other picture you like.");
        Text(page, v,
             "The image file for your picture should be in GIF or xbm format.  Some WWW browsers, such as the "
             "Netscape navigator can also display inline JPEG images.");
        Text(page, v,
             "Type the file name below or press the 'Browse' button to select it.  The image file should be put in "
             "the same directory as your HTML file.");
        Text(page, v, "Image file:");
        auto *row = new QHBoxLayout;
        row->addWidget(Edit(page, ImageFileNameEdit, "ImageFileNameEdit"), 1);
        row->addWidget(Button(page, ImageBrowseButton, "ImageBrowseButton", "&Browse"));
        v->addLayout(row);
        v->addWidget(Check(page, CenterImageCheck, "CenterImageCheck", "Center the image on the page"));
        v->addStretch();
    }
    {
        auto [page, v] = newPage("Text");
        Text(page, v,
             "You should also have some text on your home page to describe yourself or to provide any other kind of "
             "information you like.");
        Text(page, v, "Enter the text below:");
        ParagraphMemo = new QPlainTextEdit(page);
        ParagraphMemo->setObjectName("ParagraphMemo");
        ParagraphMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        ParagraphMemo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        v->addWidget(ParagraphMemo, 1);
        v->addWidget(Check(page, CenterParagraphCheck, "CenterParagraphCheck", "Center this paragraph on the page"));
    }
    {
        auto [page, v] = newPage("Links");
        Text(page, v,
             "You can also have links on your page to other related information, or maybe just some of your "
             "favorite sites on the World Wide Web.  Any or all of these can be left blank.");
        auto *grid = new QGridLayout;
        grid->addWidget(new QLabel("Link Text", page), 0, 0);
        grid->addWidget(new QLabel("URL", page), 0, 1);
        grid->addWidget(Edit(page, LinkDesc1Edit, "LinkDesc1Edit"), 1, 0);
        grid->addWidget(Edit(page, LinkURL1Edit, "LinkURL1Edit"), 1, 1);
        grid->addWidget(Edit(page, LinkDesc2Edit, "LinkDesc2Edit"), 2, 0);
        grid->addWidget(Edit(page, LinkURL2Edit, "LinkURL2Edit"), 2, 1);
        grid->addWidget(Edit(page, LinkDesc3Edit, "LinkDesc3Edit"), 3, 0);
        grid->addWidget(Edit(page, LinkURL3Edit, "LinkURL3Edit"), 3, 1);
        v->addLayout(grid);
        v->addStretch();
    }
    {
        auto [page, v] = newPage("Save");
        Text(page, v,
             "Pelmar is now ready to generate the HTML for your home page.  You must now specify a filename to save "
             "the resulting HTML document.  If you would like to make any changes, you can use the 'Previous'  and "
             "'Next' buttons to move back and forth.");
        Text(page, v, "When you are ready to generate your home page, press the 'Finish' button.");
        Text(page, v, "File Name:");
        auto *row = new QHBoxLayout;
        row->addWidget(Edit(page, SaveBrowseEdit, "SaveBrowseEdit"), 1);
        row->addWidget(Button(page, SaveBrowseButton, "SaveBrowseButton", "Browse"));
        v->addLayout(row);
        v->addStretch();
    }
}

int TPageWizDlg::PageNumber() const
{
    return Notebook1->currentIndex() + 1;
}

void TPageWizDlg::UpdateButtons()
{
    const TWizardButtons state = PageWizardButtons(PageNumber());
    NextButton->setEnabled(state.Next);
    FinishButton->setEnabled(state.Finish);
    PrevButton->setEnabled(state.Previous);
    PageNumLabel->setText(QString::fromStdString(PageWizardPageText(PageNumber())));
    // Enter presses the button that moves on.
    (state.Finish ? FinishButton : NextButton)->setDefault(true);
    (state.Finish ? NextButton : FinishButton)->setDefault(false);
    // Typing goes into the page, never into the button just pressed (a space there would press
    // Next again, and on the last page Cancel next to it).
    QWidget *first[] = {NextButton, TitleEdit, ImageFileNameEdit, ParagraphMemo, LinkDesc1Edit, SaveBrowseEdit};
    first[Notebook1->currentIndex()]->setFocus();
}

void TPageWizDlg::PrevButtonClick()
{
    if (Notebook1->currentIndex() > 0)
        Notebook1->setCurrentIndex(Notebook1->currentIndex() - 1);
    UpdateButtons();
}

void TPageWizDlg::NextButtonClick()
{
    if (Notebook1->currentIndex() < Notebook1->count() - 1)
        Notebook1->setCurrentIndex(Notebook1->currentIndex() + 1);
    UpdateButtons();
}

void TPageWizDlg::ImageBrowseButtonClick()
{
    TFileDialogRequest request;
    request.Title = "Select Image";
    request.Filter = kImageFilter;
    if (Prompt().OpenFile(request))
        ImageFileNameEdit->setText(ImageNameFromBrowse(request.FileName));
}

void TPageWizDlg::SaveBrowseButtonClick()
{
    TFileDialogRequest request;
    request.Title = "Home Page Filename";
    request.Filter = Main ? Main->OpenFileFilter : QString::fromLatin1(kDefaultOpenFilter);
    request.FileName = HomePageDefaultName;
    request.OverwritePrompt = true;
    if (Prompt().SaveFile(request))
        SaveBrowseEdit->setText(request.FileName);
}

void TPageWizDlg::HelpButtonClick()
{
    Help().ShowTopic("page_builder");
}

std::vector<std::string> TPageWizDlg::ParagraphLines() const
{
    std::vector<std::string> lines;
    QTextDocument *doc = ParagraphMemo->document();
    auto *layout = qobject_cast<QPlainTextDocumentLayout *>(doc->documentLayout());
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        // A final line break opens no line of its own.
        if (text.isEmpty() && !block.next().isValid())
            break;
        if (layout)
            layout->ensureBlockLayout(block);
        const QTextLayout *shown = block.layout();
        if (!shown || shown->lineCount() == 0) {
            lines.push_back(QStringToBytes(text));
            continue;
        }
        for (int i = 0; i < shown->lineCount(); ++i) {
            const QTextLine line = shown->lineAt(i);
            lines.push_back(QStringToBytes(text.mid(line.textStart(), line.textLength())));
        }
    }
    return lines;
}

TPageWizardAnswers TPageWizDlg::Answers() const
{
    TPageWizardAnswers a;
    a.Title = QStringToBytes(TitleEdit->text());
    a.SubHeading = QStringToBytes(SubHeadingEdit->text());
    a.HRAfterHeadings = HRAfterHeadingsCheck->isChecked();
    a.CenterHeadings = CenterCheck->isChecked();
    a.ImageFileName = QStringToBytes(ImageFileNameEdit->text());
    a.CenterImage = CenterImageCheck->isChecked();
    a.ParagraphLines = ParagraphLines();
    a.CenterParagraph = CenterParagraphCheck->isChecked();
    const QLineEdit *desc[3] = {LinkDesc1Edit, LinkDesc2Edit, LinkDesc3Edit};
    const QLineEdit *url[3] = {LinkURL1Edit, LinkURL2Edit, LinkURL3Edit};
    for (int i = 0; i < 3; ++i) {
        a.LinkDesc[i] = QStringToBytes(desc[i]->text());
        a.LinkURL[i] = QStringToBytes(url[i]->text());
    }
    a.FileName = FileNameBytes(SaveBrowseEdit->text());
    return a;
}

void TPageWizDlg::FinishButtonClick()
{
    const TPageWizardAnswers answers = Answers();
    // 1. and 2.: the dialog stays open with everything kept.
    if (const std::string error = PageWizardFinishError(answers); !error.empty()) {
        Prompt().MessageDlg(QString::fromStdString(error), TMsgDlgType::mtError, mbOK);
        return;
    }
    // 3. A page that cannot be written is reported and neither announced nor opened.
    const QString fileName = SaveBrowseEdit->text();
    try {
        WriteHomePage(answers);
    } catch (const std::exception &e) {
        ShowException(e);
        reject();
        return;
    }
    // 4.
    Prompt().MessageDlg(QString::fromStdString(HomePageSavedMessage("")) + fileName, TMsgDlgType::mtInformation,
                        mbOK);
    if (Main)
        Guarded([this, &fileName] { Main->OpenDocument(fileName, false); });
    accept();
}
