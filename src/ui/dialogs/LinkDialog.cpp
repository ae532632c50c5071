// TInsertURLBox: the link dialog (Link to URL).
#include "ui/dialogs/LinkDialog.h"

#include "core/custom/HistoryList.h"
#include "core/markup/DialogLink.h"
#include "platform/DialogExec.h"
#include "platform/FileNameCase.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/app/MainHost.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/dialogs/HistoryCombo.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TInsertURLBox::TInsertURLBox(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("InsertURLBox");
    setWindowTitle("Link to URL");

    URLCombo = NewEditableCombo(this, "URLCombo");
    URLCombo->setMinimumContentsLength(40);
    URLTypesCombo = NewEditableCombo(this, "URLTypesCombo");
    for (const char *type : LinkURLTypes)
        URLTypesCombo->addItem(QString::fromLatin1(type));
    URLTypesCombo->setCurrentIndex(-1);
    URLTypesCombo->setEditText(QString());
    HostCombo = NewEditableCombo(this, "HostCombo");
    FileEdit = NewEdit(this, "FileEdit");
    BrowseBtn = NewButton(this, "BrowseBtn", "&Browse");
    IncludeLocalPathCheck = new QCheckBox("Include Local Path", this);
    IncludeLocalPathCheck->setObjectName("IncludeLocalPathCheck");
    const TDialogButtons buttons = NewDialogButtons(*this, "link_url", "OkButton");
    OkButton = buttons.OK;
    CancelBtn = buttons.Cancel;
    HelpBtn = buttons.Help;

    auto label = [this](const char *text, QWidget *buddy) {
        auto *l = new QLabel(QString::fromLatin1(text), this);
        l->setBuddy(buddy);
        return l;
    };
    auto *main = new QVBoxLayout(this);
    main->addWidget(label("Enter URL (Uniform Resource Locator):", URLCombo));
    main->addWidget(URLCombo);
    auto *grid = new QGridLayout;
    grid->addWidget(label("URL type:", URLTypesCombo), 0, 0);
    grid->addWidget(URLTypesCombo, 1, 0);
    grid->addWidget(label("Host:", HostCombo), 0, 1);
    grid->addWidget(HostCombo, 1, 1);
    grid->addWidget(label("File:", FileEdit), 2, 0);
    grid->addWidget(FileEdit, 3, 0, 1, 2);
    grid->addWidget(BrowseBtn, 3, 2);
    grid->addWidget(IncludeLocalPathCheck, 4, 0, 1, 2);
    main->addLayout(grid);
    auto *row = NewButtonRow({OkButton, CancelBtn, HelpBtn});
    main->addLayout(row);

    URLHistory = std::make_unique<THistoryCombo>(*URLCombo, URLsHistoryName);
    HostHistory = std::make_unique<THistoryCombo>(*HostCombo, HostsHistoryName);

    connect(URLTypesCombo, &QComboBox::editTextChanged, this, &TInsertURLBox::UpdateAddress);
    connect(HostCombo, &QComboBox::editTextChanged, this, &TInsertURLBox::UpdateAddress);
    connect(FileEdit, &QLineEdit::textChanged, this, &TInsertURLBox::UpdateAddress);
    connect(BrowseBtn, &QPushButton::clicked, this, [this] { Guarded([this] { BrowseBtnClick(); }); });
    connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
}

TInsertURLBox::~TInsertURLBox() = default;

void TInsertURLBox::UpdateAddress()
{
    // Browse sets type, host and file one after the other; the address is composed once at its end.
    if (FUpdating)
        return;
    SetComboText(*URLCombo, ComposeLinkAddress(ComboText(*URLTypesCombo), ComboText(*HostCombo), EditText(*FileEdit)));
}

void TInsertURLBox::BrowseBtnClick()
{
    TFileDialogRequest request;
    request.Title = "Select File";
    request.Filter = OpenFileFilter;
    if (!Prompt().OpenFile(request))
        return;
    TLinkFields fields;
    fields.URLType = ComboText(*URLTypesCombo);
    fields.Host = ComboText(*HostCombo);
    fields.File = EditText(*FileEdit);
    fields.IncludeLocalPath = IncludeLocalPathCheck->isChecked();
    ApplyLinkBrowse(fields, QStringToBytes(request.FileName), ForceHTMLExt, MayLowerFileName(request.FileName));
    FUpdating = true;
    SetComboText(*URLTypesCombo, fields.URLType);
    SetComboText(*HostCombo, fields.Host);
    SetEditText(*FileEdit, fields.File);
    FUpdating = false;
    UpdateAddress();
}

void TInsertURLBox::OkButtonClick()
{
    URLHistory->AddAndSave();
    HostHistory->AddAndSave();
    accept();
}

std::string TInsertURLBox::Address() const
{
    return ComboText(*URLCombo);
}

std::optional<std::string> ExecURLBox(QWidget *Parent)
{
    TInsertURLBox box(Parent);
    if (const TMainHost *form = MainHost()) {
        if (!form->OpenFileFilter.isEmpty())
            box.OpenFileFilter = form->OpenFileFilter;
        box.ForceHTMLExt = form->ForceHTMLExt;
    }
    if (ExecDialog(box) != QDialog::Accepted)
        return std::nullopt;
    return box.Address();
}
