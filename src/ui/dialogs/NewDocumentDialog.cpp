// TNewDocDlg: the new document options dialog.
#include "ui/dialogs/NewDocumentDialog.h"

#include "platform/Help.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QCheckBox *NewCheck(QWidget *Parent, const char *Name, const QString &Caption)
{
    auto *box = new QCheckBox(Caption, Parent);
    box->setObjectName(QString::fromLatin1(Name));
    box->setChecked(true);
    return box;
}

QLineEdit *NewEdit(QWidget *Parent, const char *Name)
{
    auto *edit = new QLineEdit(Parent);
    edit->setObjectName(QString::fromLatin1(Name));
    return edit;
}

} // namespace

TNewDocDlg::TNewDocDlg(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("NewDocDlg");
    setWindowTitle("New HTML Document");

    auto *group = new QGroupBox("Items to Include", this);
    group->setObjectName("ItemsGroup");
    HTMLCheckBox = NewCheck(group, "HTMLCheckBox", "<HTML> </HTML>");
    BODYCheckBox = NewCheck(group, "BODYCheckBox", "<BODY> </BODY>");
    HEADCheckBox = NewCheck(group, "HEADCheckBox", "<HEAD> </HEAD>");
    AuthorCheckBox = NewCheck(group, "AuthorCheckBox", "Author's Name and Date");
    auto *groupLayout = new QVBoxLayout(group);
    for (QCheckBox *box : {HTMLCheckBox, BODYCheckBox, HEADCheckBox, AuthorCheckBox})
        groupLayout->addWidget(box);

    TitleEdit = NewEdit(this, "TitleEdit");
    URLEdit = NewEdit(this, "URLEdit");
    CommentMemo = new QPlainTextEdit(this);
    CommentMemo->setObjectName("CommentMemo");
    CommentMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    CommentMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    CommentMemo->setTabChangesFocus(true);
    auto *fields = new QFormLayout;
    fields->addRow("Document Title", TitleEdit);
    fields->addRow("URL", URLEdit);
    fields->addRow("Comment", CommentMemo);

    auto *buttons = new QDialogButtonBox(this);
    OKButton = buttons->addButton(QDialogButtonBox::Ok);
    OKButton->setObjectName("OKButton");
    CancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    CancelButton->setObjectName("CancelButton");
    HelpButton = buttons->addButton(QDialogButtonBox::Help);
    HelpButton->setObjectName("HelpButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, [this] { Guarded([this] { HelpButtonClick(); }); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    OKButton->setDefault(true);
}

TNewDocOptions TNewDocDlg::Options() const
{
    TNewDocOptions options;
    options.HTML = HTMLCheckBox->isChecked();
    options.BODY = BODYCheckBox->isChecked();
    options.HEAD = HEADCheckBox->isChecked();
    options.Author = AuthorCheckBox->isChecked();
    options.Title = QStringToBytes(TitleEdit->text());
    options.URL = QStringToBytes(URLEdit->text());
    const QString memo = CommentMemo->toPlainText();
    if (!memo.isEmpty())
        for (const QString &line : memo.split('\n'))
            options.Comments.push_back(QStringToBytes(line));
    return options;
}

void TNewDocDlg::HelpButtonClick()
{
    Help().ShowTopic("create_new_file");
}
