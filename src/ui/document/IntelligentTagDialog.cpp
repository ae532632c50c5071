// TIntelliTagDlg: the Intelligent Tag Insert dialog: its controls, their initial state and the criteria it yields.
#include "ui/document/IntelligentTagDialog.h"

#include "platform/Help.h"
#include "platform/TextCodec.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <class T>
T *Named(T *Widget, const char *Name)
{
    Widget->setObjectName(QString::fromLatin1(Name));
    return Widget;
}

std::string Bytes(const QLineEdit *Edit)
{
    return QStringToBytes(Edit->text());
}

} // namespace

TIntelliTagDlg::TIntelliTagDlg(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("IntelliTagDlg");
    setWindowTitle("Intelligent Tag Insert");
    // A fixed dialog frame: no resizing, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    font.setBold(true);
    setFont(font);

    GroupBox1 = Named(new QGroupBox("Search for all lines", this), "GroupBox1");
    StartingWith = Named(new QRadioButton("starting with", GroupBox1), "StartingWith");
    Containing = Named(new QRadioButton("containing", GroupBox1), "Containing");
    EndingWith = Named(new QRadioButton("ending with", GroupBox1), "EndingWith");
    SearchFor = Named(new QLineEdit(GroupBox1), "SearchFor");
    Containing->setChecked(true);
    auto *search = new QVBoxLayout(GroupBox1);
    for (QWidget *w : std::initializer_list<QWidget *>{StartingWith, Containing, EndingWith, SearchFor})
        search->addWidget(w);

    GroupBox2 = Named(new QGroupBox("Insert tag(s) at", this), "GroupBox2");
    StartOfLine = Named(new QRadioButton("start of line", GroupBox2), "StartOfLine");
    EndOfLine = Named(new QRadioButton("end of line", GroupBox2), "EndOfLine");
    Both = Named(new QRadioButton("both", GroupBox2), "Both");
    FirstTag = Named(new QLineEdit(GroupBox2), "FirstTag");
    SecondTag = Named(new QLineEdit(GroupBox2), "SecondTag");
    Both->setChecked(true);
    auto *place = new QGridLayout(GroupBox2);
    place->addWidget(StartOfLine, 0, 0);
    place->addWidget(EndOfLine, 1, 0);
    place->addWidget(Both, 2, 0);
    auto *firstLabel = Named(new QLabel("First Tag", GroupBox2), "Label1");
    firstLabel->setBuddy(FirstTag);
    auto *secondLabel = Named(new QLabel("Second Tag", GroupBox2), "Label2");
    secondLabel->setBuddy(SecondTag);
    place->addWidget(firstLabel, 0, 1);
    place->addWidget(FirstTag, 1, 1);
    place->addWidget(secondLabel, 2, 1);
    place->addWidget(SecondTag, 3, 1);

    CaseSensitive = Named(new QCheckBox("Case-sensitive", this), "CaseSensitive");
    RequireConfirmation = Named(new QCheckBox("Require confirmation", this), "RequireConfirmation");
    RequireConfirmation->setChecked(true);

    BitBtn1 = Named(new QPushButton("Help", this), "BitBtn1");
    BitBtn2 = Named(new QPushButton("OK", this), "BitBtn2");
    CancelButton = Named(new QPushButton("Cancel", this), "CancelButton");
    BitBtn2->setDefault(true);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, [] { Help().ShowContents(); });

    auto *checks = new QHBoxLayout;
    checks->addWidget(CaseSensitive);
    checks->addWidget(RequireConfirmation);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {BitBtn1, BitBtn2, CancelButton})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    auto *groups = new QHBoxLayout;
    groups->addWidget(GroupBox1);
    groups->addWidget(GroupBox2);
    layout->addLayout(groups);
    layout->addLayout(checks);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    SearchFor->setFocus();
}

TIntelliTagCriteria TIntelliTagDlg::Criteria() const
{
    TIntelliTagCriteria c;
    c.Mode = StartingWith->isChecked() ? TMatchMode::StartingWith
           : EndingWith->isChecked()   ? TMatchMode::EndingWith
                                       : TMatchMode::Containing;
    c.Placement = StartOfLine->isChecked() ? TTagPlacement::StartOfLine
                : EndOfLine->isChecked()   ? TTagPlacement::EndOfLine
                                           : TTagPlacement::Both;
    c.SearchFor = Bytes(SearchFor);
    c.FirstTag = Bytes(FirstTag);
    c.SecondTag = Bytes(SecondTag);
    c.CaseSensitive = CaseSensitive->isChecked();
    c.RequireConfirmation = RequireConfirmation->isChecked();
    return c;
}
