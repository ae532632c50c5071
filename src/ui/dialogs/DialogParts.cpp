// Controls shared by the markup dialogs.
#include "ui/dialogs/DialogParts.h"

#include "platform/Help.h"
#include "platform/TextCodec.h"

#include <QDialog>
#include <QHBoxLayout>

QPushButton *NewButton(QWidget *Parent, const char *Name, const QString &Caption)
{
    auto *button = new QPushButton(Caption, Parent);
    button->setObjectName(Name);
    button->setAutoDefault(false);
    return button;
}

QLineEdit *NewEdit(QWidget *Parent, const char *Name)
{
    auto *edit = new QLineEdit(Parent);
    edit->setObjectName(Name);
    return edit;
}

QComboBox *NewEditableCombo(QWidget *Parent, const char *Name, std::initializer_list<const char *> Entries)
{
    auto *combo = new QComboBox(Parent);
    combo->setObjectName(Name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Completion would turn what the user typed into an earlier entry's spelling.
    combo->setCompleter(nullptr);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(10);
    for (const char *entry : Entries)
        combo->addItem(QString::fromLatin1(entry));
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    return combo;
}

std::string EditText(const QLineEdit &Edit)
{
    return QStringToBytes(Edit.text());
}

void SetEditText(QLineEdit &Edit, const std::string &Text)
{
    const QString text = BytesToQString(Text);
    if (Edit.text() != text)
        Edit.setText(text);
}

std::string ComboText(const QComboBox &Combo)
{
    return QStringToBytes(Combo.currentText());
}

void SetComboText(QComboBox &Combo, const std::string &Text)
{
    const QString text = BytesToQString(Text);
    if (Combo.currentText() != text)
        Combo.setEditText(text);
}

TDialogButtons NewDialogButtons(QDialog &Dialog, const char *HelpTopic, const char *OKName, const char *CancelName,
                                const char *HelpName)
{
    TDialogButtons b;
    b.OK = NewButton(&Dialog, OKName, "OK");
    b.OK->setDefault(true);
    b.Cancel = NewButton(&Dialog, CancelName, "Cancel");
    QObject::connect(b.Cancel, &QPushButton::clicked, &Dialog, &QDialog::reject);
    if (HelpTopic) {
        b.Help = NewButton(&Dialog, HelpName, "&Help");
        const QString topic = QString::fromLatin1(HelpTopic);
        QObject::connect(b.Help, &QPushButton::clicked, &Dialog, [topic] { Help().ShowTopic(topic); });
    }
    return b;
}

QHBoxLayout *NewButtonRow(std::initializer_list<QWidget *> Buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QWidget *button : Buttons)
        row->addWidget(button);
    return row;
}
