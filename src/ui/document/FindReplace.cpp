// The find-and-replace dialog, the Find Next text, and the Find, Replace and Find Next commands
// of the document windows.
#include "ui/document/FindReplace.h"

#include "core/editor/Search.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/app/MainHost.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <class T>
T *Named(T *Widget, const char *Name)
{
    Widget->setObjectName(QString::fromLatin1(Name));
    return Widget;
}

TFindReplace *FindReplaceOf(TMainHost *Form)
{
    return Form ? Form->Window()->findChild<TFindReplace *>("FindReplace", Qt::FindDirectChildrenOnly) : nullptr;
}

TMDIChild *ActiveDocumentWindow(TMainHost &Form)
{
    return dynamic_cast<TMDIChild *>(Form.ActiveDocument());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The dialog

TReplaceDialog::TReplaceDialog(QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle("Replace");
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    FindEdit = Named(new QLineEdit(this), "FindEdit");
    ReplaceEdit = Named(new QLineEdit(this), "ReplaceEdit");
    FindEdit->setMaxLength(MaxTextLength);
    ReplaceEdit->setMaxLength(MaxTextLength);
    auto *findLabel = new QLabel("Fi&nd what:", this);
    findLabel->setBuddy(FindEdit);
    auto *replaceLabel = new QLabel("Re&place with:", this);
    replaceLabel->setBuddy(ReplaceEdit);
    WholeWordBox = Named(new QCheckBox("Match &whole word only", this), "WholeWordBox");
    MatchCaseBox = Named(new QCheckBox("Match &case", this), "MatchCaseBox");

    FindNextButton = Named(new QPushButton("&Find Next", this), "FindNextButton");
    ReplaceButton = Named(new QPushButton("&Replace", this), "ReplaceButton");
    ReplaceAllButton = Named(new QPushButton("Replace &All", this), "ReplaceAllButton");
    CancelButton = Named(new QPushButton("Cancel", this), "CancelButton");
    FindNextButton->setDefault(true);

    auto *fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(FindEdit, 0, 1);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(ReplaceEdit, 1, 1);
    fields->addWidget(WholeWordBox, 2, 0, 1, 2);
    fields->addWidget(MatchCaseBox, 3, 0, 1, 2);
    fields->setRowStretch(4, 1);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {FindNextButton, ReplaceButton, ReplaceAllButton, CancelButton})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FindEdit->setMinimumWidth(200);

    connect(FindEdit, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
    connect(FindNextButton, &QPushButton::clicked, this, [this] {
        if (OnFind)
            OnFind();
    });
    connect(ReplaceButton, &QPushButton::clicked, this, [this] {
        if (OnReplace)
            OnReplace(false);
    });
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] {
        if (OnReplace)
            OnReplace(true);
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    UpdateButtons();
}

void TReplaceDialog::UpdateButtons()
{
    // As in the standard dialog, nothing can be searched for before a text is typed.
    const bool any = !FindEdit->text().isEmpty();
    for (QPushButton *b : {FindNextButton, ReplaceButton, ReplaceAllButton})
        b->setEnabled(any);
}

std::string TReplaceDialog::FindText(TTextEncoding Encoding) const
{
    return QStringToDocumentBytes(FindEdit->text(), Encoding);
}

std::string TReplaceDialog::ReplaceText(TTextEncoding Encoding) const
{
    return QStringToDocumentBytes(ReplaceEdit->text(), Encoding);
}
void TReplaceDialog::SetFindText(const std::string &Text) { FindEdit->setText(BytesToQString(Text)); }
void TReplaceDialog::SetReplaceText(const std::string &Text) { ReplaceEdit->setText(BytesToQString(Text)); }
bool TReplaceDialog::MatchCaseChecked() const { return MatchCaseBox->isChecked(); }
bool TReplaceDialog::WholeWordChecked() const { return WholeWordBox->isChecked(); }

bool TReplaceDialog::Execute(const QPoint &Position)
{
    if (!isVisible())
        move(Position);
    show();
    raise();
    activateWindow();
    FindEdit->setFocus();
    return isVisible();
}

// ---------------------------------------------------------------------------------------------
// The commands

TFindReplace::TFindReplace(TMainHost &MainForm) : QObject(MainForm.Window()), Form(MainForm)
{
    setObjectName("FindReplace");
    ReplaceDialog1 = new TReplaceDialog(Form.Window());  // a window of its own, owned by the main window
    ReplaceDialog1->setObjectName("ReplaceDialog1");
    FindDialog1 = new TFindDialog(this);
    // The dialog's events go to whichever document window is active at the moment.
    ReplaceDialog1->OnFind = [this] {
        if (TMDIChild *doc = ActiveDocumentWindow(Form))
            Guarded([this, doc] { FindDialog1Find(*doc); });
    };
    ReplaceDialog1->OnReplace = [this](bool All) {
        if (TMDIChild *doc = ActiveDocumentWindow(Form))
            Guarded([this, doc, All] { ReplaceDialog1Replace(*doc, All); });
    };
}

TFindReplace *InstallFindReplace(TMainHost &Form)
{
    if (TFindReplace *existing = FindReplaceOf(&Form))
        return existing;
    auto *findReplace = new TFindReplace(Form);  // owned by the main window
    TMDIChild::SetCommandHook(TCommandKind::FindReplaceDialog, [](TMDIChild &Doc, const TMarkupCommand &) {
        if (TFindReplace *f = FindReplaceOf(MainHost()))
            f->Replace1Click(Doc);
        return true;
    });
    TMDIChild::SetCommandHook(TCommandKind::FindNext, [](TMDIChild &Doc, const TMarkupCommand &) {
        if (TFindReplace *f = FindReplaceOf(MainHost()))
            f->FindNext1Click(Doc);
        return true;
    });
    return findReplace;
}

unsigned char TFindReplace::DialogOptions() const
{
    unsigned char options = 0;
    if (ReplaceDialog1->MatchCaseChecked())
        options |= soMatchCase;
    if (ReplaceDialog1->WholeWordChecked())
        options |= soWholeWords;
    return options;
}

void TFindReplace::NotFound(const QString &Text)
{
    ShowInformation("Search string '" + Text + "' not found");
}

void TFindReplace::Replace1Click(TMDIChild &Doc)
{
    if (!ReplaceDialog1->Execute(QPoint(150, 150)))
        return;
    Doc.SearchFlags = DialogOptions();
    ReplaceDialog1->setWindowTitle("Find and Replace");
}

void TFindReplace::FindDialog1Find(TMDIChild &Doc)
{
    Doc.SearchFlags = DialogOptions();
    const std::string text = ReplaceDialog1->FindText(Doc.Editor->Encoding());
    if (!Doc.Editor->Search(text, Doc.SearchFlags))
        NotFound(ReplaceDialog1->FindEdit->text());
    FindDialog1->FindText = ReplaceDialog1->FindEdit->text();
}

void TFindReplace::ReplaceDialog1Replace(TMDIChild &Doc, bool All)
{
    // The boxes are read at the press, so a match-case or whole-word tick takes effect at once
    // instead of replacing occurrences the user has just excluded.
    Doc.SearchFlags = DialogOptions() | (All ? soReplaceAll : soReplace);
    const std::string replaceText = ReplaceDialog1->ReplaceText(Doc.Editor->Encoding());
    if (replaceText.empty())
        return;
    const std::string text = ReplaceDialog1->FindText(Doc.Editor->Encoding());
    const int replaced = Doc.Editor->Replace(text, replaceText, Doc.SearchFlags);
    if (replaced == -1)
        NotFound(ReplaceDialog1->FindEdit->text());
    else if (All && replaced > 0 && Form.StatusLine)
        Form.StatusLine->setText(QString("Replaced %1 occurrences.").arg(replaced));
}

void TFindReplace::FindNext1Click(TMDIChild &Doc)
{
    Doc.SearchFlags &= static_cast<unsigned char>(~(soReplace | soReplaceAll));
    // Nothing has been searched for yet: an empty text is found where the caret is.
    if (FindDialog1->FindText.isEmpty())
        return;
    if (!Doc.Editor->Search(QStringToDocumentBytes(FindDialog1->FindText, Doc.Editor->Encoding()), Doc.SearchFlags))
        NotFound(FindDialog1->FindText);
}
