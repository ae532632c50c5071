// TTablePreview: the table designer's source preview.
#include "ui/dialogs/TableSourceView.h"

#include "platform/TextCodec.h"
#include "ui/dialogs/DialogParts.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TTablePreview::TTablePreview(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("TablePreview");
    setWindowTitle("Table Designer: Preview");
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font("Courier New", 9);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(9);
    }
    Memo1->setFont(font);
    Memo1->setMinimumSize(480, 240);
    OKBtn = NewButton(this, "OKBtn", "OK");
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    auto *row = NewButtonRow({OKBtn});
    auto *main = new QVBoxLayout(this);
    main->addWidget(Memo1, 1);
    main->addLayout(row);
}

void TTablePreview::SetLines(const std::vector<std::string> &Lines)
{
    QStringList lines;
    for (const std::string &line : Lines)
        lines << BytesToQString(line);
    Memo1->setPlainText(lines.join('\n'));
}
