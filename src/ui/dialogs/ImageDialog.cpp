// TInsertImageBox: the image dialog (Inline Image) and the image command.
#include "ui/dialogs/ImageDialog.h"

#include "core/custom/HistoryList.h"
#include "core/markup/DialogImage.h"
#include "core/markup/DialogPaths.h"
#include "core/markup/GifSize.h"
#include "platform/DialogExec.h"
#include "platform/FileNameCase.h"
#include "platform/TextCodec.h"
#include "ui/app/MainHost.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/dialogs/HistoryCombo.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TInsertImageBox::TInsertImageBox(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("InsertImageBox");
    setWindowTitle("Inline Image");

    SrcEdit = NewEdit(this, "SrcEdit");
    BrowseButton = NewButton(this, "BrowseButton", "Browse...");
    IncludeLocalPathCheck = new QCheckBox("Include Local Path", this);
    IncludeLocalPathCheck->setObjectName("IncludeLocalPathCheck");
    AltEdit = NewEdit(this, "AltEdit");
    AlignCombo = NewEditableCombo(this, "AlignCombo");
    for (const char *align : ImageAlignments)
        AlignCombo->addItem(QString::fromLatin1(align));
    AlignCombo->setCurrentIndex(-1);
    AlignCombo->setEditText(QString());
    WidthEdit = NewEdit(this, "WidthEdit");
    HeightEdit = NewEdit(this, "HeightEdit");
    BorderEdit = NewEdit(this, "BorderEdit");
    VSpaceEdit = NewEdit(this, "VSpaceEdit");
    HSpaceEdit = NewEdit(this, "HSpaceEdit");
    TagCombo = NewEditableCombo(this, "TagCombo");
    TagCombo->setMinimumContentsLength(50);
    const TDialogButtons buttons = NewDialogButtons(*this, "inline_img");
    OKBtn = buttons.OK;
    CancelBtn = buttons.Cancel;
    HelpBtn = buttons.Help;

    auto *grid = new QGridLayout;
    auto label = [this](const char *text, QWidget *buddy) {
        auto *l = new QLabel(QString::fromLatin1(text), this);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label("Image", SrcEdit), 0, 0);
    grid->addWidget(SrcEdit, 0, 1, 1, 3);
    grid->addWidget(BrowseButton, 0, 4);
    grid->addWidget(IncludeLocalPathCheck, 1, 1, 1, 3);
    grid->addWidget(label("Alternate Text", AltEdit), 2, 0);
    grid->addWidget(AltEdit, 2, 1, 1, 3);
    grid->addWidget(label("Align", AlignCombo), 3, 0);
    grid->addWidget(AlignCombo, 3, 1);
    grid->addWidget(label("Width", WidthEdit), 4, 0);
    grid->addWidget(WidthEdit, 4, 1);
    grid->addWidget(label("Height", HeightEdit), 4, 2);
    grid->addWidget(HeightEdit, 4, 3);
    grid->addWidget(label("Border", BorderEdit), 5, 0);
    grid->addWidget(BorderEdit, 5, 1);
    grid->addWidget(label("VSPACE", VSpaceEdit), 6, 0);
    grid->addWidget(VSpaceEdit, 6, 1);
    grid->addWidget(label("HSPACE", HSpaceEdit), 6, 2);
    grid->addWidget(HSpaceEdit, 6, 3);
    grid->addWidget(label("URL", TagCombo), 7, 0);
    grid->addWidget(TagCombo, 7, 1, 1, 4);
    auto *row = NewButtonRow({OKBtn, CancelBtn, HelpBtn});
    auto *main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addLayout(row);

    BrowseOpenDialog.Filter = "GIF Images (*.gif)|*.gif|JPEG Images (*.jpg)|*.jpg|All Files (*.*)|*.*";

    ImageHistory = std::make_unique<THistoryCombo>(*TagCombo, ImagesHistoryName);

    for (QLineEdit *edit : {SrcEdit, AltEdit, WidthEdit, HeightEdit, BorderEdit, VSpaceEdit, HSpaceEdit})
        connect(edit, &QLineEdit::textChanged, this, &TInsertImageBox::UpdateURL);
    connect(AlignCombo, &QComboBox::editTextChanged, this, &TInsertImageBox::UpdateURL);
    connect(IncludeLocalPathCheck, &QCheckBox::clicked, this, &TInsertImageBox::UpdateURL);
    connect(BrowseButton, &QPushButton::clicked, this, [this] { Guarded([this] { BrowseButtonClick(); }); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
}

TInsertImageBox::~TInsertImageBox() = default;

TImageFields TInsertImageBox::Fields() const
{
    TImageFields f;
    f.Src = EditText(*SrcEdit);
    f.IncludeLocalPath = IncludeLocalPathCheck->isChecked();
    f.Alt = EditText(*AltEdit);
    f.Align = ComboText(*AlignCombo);
    f.Width = EditText(*WidthEdit);
    f.Height = EditText(*HeightEdit);
    f.Border = EditText(*BorderEdit);
    f.VSpace = EditText(*VSpaceEdit);
    f.HSpace = EditText(*HSpaceEdit);
    return f;
}

void TInsertImageBox::UpdateURL()
{
    // Putting the size into the edits notifies them again; that nested run would compose the
    // same tag, so it is left out.
    if (FUpdating)
        return;
    FUpdating = true;
    TImageFields f = Fields();
    // The name as typed resolves against the current directory, as the picture's size does.
    f.LowerName = MayLowerFileName(SrcEdit->text());
    if (LowerAscii(DialogFileExt(f.Src)) == ".gif") {
        // The file is opened by its name as the user sees it, in the file system's encoding.
        const TGifSize size = ReadGifSize(QFile::encodeName(SrcEdit->text()).toStdString());
        if (size.Width > 0 && size.Height > 0) {
            f.Width = std::to_string(size.Width);
            f.Height = std::to_string(size.Height);
            SetEditText(*WidthEdit, f.Width);
            SetEditText(*HeightEdit, f.Height);
        }
    }
    SetComboText(*TagCombo, ComposeImageTag(f));
    FUpdating = false;
}

void TInsertImageBox::BrowseButtonClick()
{
    BrowseOpenDialog.Title.clear();
    if (!Prompt().OpenFile(BrowseOpenDialog))
        return;
    SrcEdit->setText(BrowseOpenDialog.FileName);
    UpdateURL();
}

void TInsertImageBox::OKBtnClick()
{
    ImageHistory->AddAndSave();
    accept();
}

std::string TInsertImageBox::Tag() const
{
    return ComboText(*TagCombo);
}

std::optional<std::string> ExecImageBox(QWidget *Parent, const std::string &InitialSource)
{
    TInsertImageBox box(Parent);
    SetEditText(*box.SrcEdit, InitialSource);
    box.UpdateURL();
    if (ExecDialog(box) != QDialog::Accepted)
        return std::nullopt;
    return box.Tag();
}

void ImageCommand(const QString &InitialSource)
{
    TMainHost *form = MainHost();
    const auto tag = ExecImageBox(form ? form->Window() : nullptr, QStringToBytes(InitialSource));
    if (tag && form)
        if (TDocumentWindowIntf *doc = form->ActiveDocument())
            doc->InsertMarkup(*tag);
}

void InstallImageCommand(TMainHost &Form)
{
    Form.ImageCommand = [](const QString &InitialSource) { Guarded([&] { ImageCommand(InitialSource); }); };
}
