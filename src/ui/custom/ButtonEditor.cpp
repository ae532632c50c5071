// TCustomButtonEditor: the custom button editor: a button's caption, opening text and closing text.
#include "ui/custom/ButtonEditor.h"

#include "platform/DialogExec.h"
#include "platform/TextCodec.h"
#include "ui/dialogs/DialogParts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPlainTextEdit *NewMemo(QWidget *Parent, const char *Name)
{
    auto *memo = new QPlainTextEdit(Parent);
    memo->setObjectName(QString::fromLatin1(Name));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(true);
    QFont font = memo->font();
    font.setStyleHint(QFont::TypeWriter);
    font.setFamily("Monospace");
    memo->setFont(font);
    return memo;
}

QLabel *NewLabel(QWidget *Parent, const QString &Text, QWidget *Buddy)
{
    auto *label = new QLabel(Text, Parent);
    label->setBuddy(Buddy);
    return label;
}

} // namespace

QString MemoTextFromBytes(const std::string &Text)
{
    QString text = BytesToQString(Text);
    text.replace("\r\n", "\n");
    return text;
}

std::string BytesFromMemoText(const QString &Text)
{
    QString text = Text;
    text.replace("\r\n", "\n");
    text.replace("\n", "\r\n");
    return QStringToBytes(text);
}

TCustomButtonEditor::TCustomButtonEditor(const TCustButton &Button, QWidget *Parent) : QDialog(Parent)
{
    setObjectName("CustomButtonEditor");
    setWindowTitle(BytesToQString(CustomButtonEditorCaption(Button)));
    CaptionEdit = NewEdit(this, "CaptionEdit");
    CaptionEdit->setText(BytesToQString(Button.Caption));
    Memo = NewMemo(this, "Memo");
    Memo->setPlainText(MemoTextFromBytes(Button.OpeningTag));
    Memo2 = NewMemo(this, "Memo2");
    Memo2->setPlainText(MemoTextFromBytes(Button.ClosingTag));
    const TDialogButtons buttons = NewDialogButtons(*this, "custom_buttons");
    OKBtn = buttons.OK;
    CancelBtn = buttons.Cancel;
    HelpBtn = buttons.Help;
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto *main = new QVBoxLayout(this);
    main->addWidget(NewLabel(this, "Button Text", CaptionEdit));
    main->addWidget(CaptionEdit);
    main->addWidget(NewLabel(this, "Opening Tag", Memo));
    main->addWidget(Memo, 1);
    main->addWidget(NewLabel(this, "Closing Tag", Memo2));
    main->addWidget(Memo2, 1);
    auto *row = NewButtonRow({OKBtn, CancelBtn, HelpBtn});
    main->addLayout(row);
    resize(420, 360);
}

std::string TCustomButtonEditor::CaptionText() const
{
    return EditText(*CaptionEdit);
}

std::string TCustomButtonEditor::OpeningText() const
{
    return BytesFromMemoText(Memo->toPlainText());
}

std::string TCustomButtonEditor::ClosingText() const
{
    return BytesFromMemoText(Memo2->toPlainText());
}

bool ExecCustomButtonEditor(TCustButton &Button, QWidget *Parent)
{
    TCustomButtonEditor editor(Button, Parent);
    if (ExecDialog(editor) != QDialog::Accepted)
        return false;
    ApplyCustomButtonEdit(Button, editor.CaptionText(), editor.OpeningText(), editor.ClosingText());
    return true;
}
