// TTabbedNotebookDlg: the Preferences dialog: its four pages, loading from and writing to the settings file, the
// colour page's grid and preview, and the shared colour choice PickColor.
#include "ui/settings/PreferencesDialog.h"

#include "core/settings/AppSettings.h"
#include "core/settings/Profile.h"
#include "core/settings/SetupManager.h"
#include "core/settings/SetupRules.h"
#include "platform/Help.h"
#include "platform/FileNameCase.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/app/MainHost.h"
#include "ui/dialogs/DirectoryDialog.h"
#include "ui/settings/ColorGrid.h"

#include <QSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace {

const char *const kProgramFilter = "Programs (*.exe)|*.exe|All files (*.*)|*.*";

QColor ToQColor(TColor C)
{
    return QColor(C.R, C.G, C.B);
}

TColor ToTColor(const QColor &C)
{
    return TColor{uint8_t(C.red()), uint8_t(C.green()), uint8_t(C.blue())};
}

QCheckBox *NewCheck(QWidget *Parent, QCheckBox *&Member, const char *Name, const QString &Caption)
{
    Member = new QCheckBox(Caption, Parent);
    Member->setObjectName(Name);
    return Member;
}

QRadioButton *NewRadio(QWidget *Parent, QRadioButton *&Member, const char *Name, const QString &Caption)
{
    Member = new QRadioButton(Caption, Parent);
    Member->setObjectName(Name);
    return Member;
}

QLineEdit *NewEdit(QWidget *Parent, QLineEdit *&Member, const char *Name)
{
    Member = new QLineEdit(Parent);
    Member->setObjectName(Name);
    return Member;
}

QPushButton *NewButton(QWidget *Parent, QPushButton *&Member, const char *Name, const QString &Caption)
{
    Member = new QPushButton(Caption, Parent);
    Member->setObjectName(Name);
    Member->setAutoDefault(false);
    return Member;
}

QLabel *NewLabel(QWidget *Parent, const char *Name, const QString &Caption, QWidget *Buddy = nullptr)
{
    auto *label = new QLabel(Caption, Parent);
    label->setObjectName(Name);
    if (Buddy)
        label->setBuddy(Buddy);
    return label;
}

QString ColumnZeroText(int Row)
{
    return QString("Ctrl+Q ") + QChar(char16_t('A' + Row));
}

// "Courier New" when it is there and fixed-pitch, else the system's fixed font.
QFont PreviewFont()
{
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(13);
    }
    return font;
}

// Program and directory names are kept in the file system's own encoding, as the working
// directory is entered with it at start-up.
QString PathFromSetting(const std::string &Value)
{
    return QFile::decodeName(QByteArray::fromStdString(Value));
}

std::string PathToSetting(const QString &Path)
{
    return QFile::encodeName(Path).toStdString();
}

} // namespace

const char *const TTabbedNotebookDlg::PreviewSampleWord = "Copyright";

void TPaintBox::paintEvent(QPaintEvent *)
{
    if (!OnPaint)
        return;
    QPainter p(this);
    OnPaint(p);
}

// ---------------------------------------------------------------------------------------------
// Building the pages

TTabbedNotebookDlg::TTabbedNotebookDlg(TMainHost &MainForm, QWidget *Parent) : QDialog(Parent), Main(MainForm)
{
    setObjectName("TabbedNotebookDlg");
    setWindowTitle("Preferences");
    setModal(true);

    TabbedNotebook1 = new QTabWidget(this);
    TabbedNotebook1->setObjectName("TabbedNotebook1");
    TabbedNotebook1->setUsesScrollButtons(false);
    BuildOptionsPage();
    BuildHelpersPage();
    BuildColorsPage();
    BuildQuickKeysPage();

    auto *buttons = new QVBoxLayout;
    NewButton(this, OKBtn, "OKBtn", "OK")->setDefault(true);
    OKBtn->setAutoDefault(true);
    NewButton(this, CancelBtn, "CancelBtn", "Cancel");
    NewButton(this, HelpBtn, "HelpBtn", "&Help");
    for (QPushButton *b : {OKBtn, CancelBtn, HelpBtn})
        buttons->addWidget(b);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(TabbedNotebook1, 1);
    layout->addLayout(buttons);

    // OK closes with OK after its handler, also when a write failed part-way: the settings
    // written before the failure are in effect and the open documents must show them.
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        Guarded([this] { OKBtnClick(); });
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, [this] { Guarded([this] { HelpBtnClick(); }); });
    connect(TestProgBrowseBtn, &QPushButton::clicked, this, [this] { Guarded([this] { TestProgBrowseBtnClick(); }); });
    connect(ImageEditorBrowseButton, &QPushButton::clicked, this,
            [this] { Guarded([this] { ImageEditorBrowseButtonClick(); }); });
    connect(WorkDirButton, &QPushButton::clicked, this, [this] { Guarded([this] { WorkDirButtonClick(); }); });
    for (QRadioButton *r : {UseNetscapeRadio, UseIExploreRadio, UseOtherRadio})
        connect(r, &QRadioButton::toggled, this, [this] { BrowserRadioClick(); });
    for (QRadioButton *r : {NormalTextRadio, HTMLTagsRadio, EntitiesRadio})
        connect(r, &QRadioButton::toggled, this, [this](bool On) {
            if (On)
                ColorRadioClick();
        });
    connect(ColorGrid2, &TColorGrid::Change, this, [this] { ColorGrid2Change(); });
    PaintBox1->OnPaint = [this](QPainter &P) { PaintBox1Paint(P); };

    FormCreate();
}

void TTabbedNotebookDlg::BuildOptionsPage()
{
    auto *page = new QWidget;
    page->setObjectName("Options");
    auto *v = new QVBoxLayout(page);
    v->addWidget(NewCheck(page, WordWrap, "WordWrap", "Word Wrap"));
    v->addWidget(NewCheck(page, NewlineAfterTitle, "NewlineAfterTitle", "Newline After Title and Headings"));
    v->addWidget(NewCheck(page, UseAcualCharacters, "UseAcualCharacters", "Use Actual Characters for Entities"));
    v->addWidget(NewCheck(page, DocOptionsDlg, "DocOptionsDlg", "Display Options Dialog for New Documents"));
    v->addWidget(NewCheck(page, LowerCaseTags, "LowerCaseTags", "Use Lowercase HTML Tags"));
    v->addWidget(NewCheck(page, ForceHTMLExtCheck, "ForceHTMLExtCheck",
                          "Convert .htm to .html for uploads and link dialogs"));
    // A single ampersand would make the next letter a mnemonic; there is none here.
    v->addWidget(NewCheck(page, NeverUseCenterCheck, "NeverUseCenterCheck", "Never use <CENTER> </CENTER> !"));
    v->addWidget(NewCheck(page, MaximizeCheck, "MaximizeCheck", "Maximize Windows when opening"));
    v->addWidget(NewCheck(page, KeepTrailingBlanksCheck, "KeepTrailingBlanksCheck", "Keep trailing blanks"));
    auto *ext = new QHBoxLayout;
    NewEdit(page, DefFileExtEdit, "DefFileExtEdit");
    DefFileExtEdit->setMaximumWidth(80);
    ext->addWidget(NewLabel(page, "DefFileExtLabel", "Default File Extension", DefFileExtEdit));
    ext->addWidget(DefFileExtEdit);
    ext->addStretch();
    v->addLayout(ext);
    auto *undo = new QHBoxLayout;
    UndoMemoryEdit = new QSpinBox(page);
    UndoMemoryEdit->setObjectName("UndoMemoryEdit");
    UndoMemoryEdit->setRange(0, kMaxUndoBufferKB);
    UndoMemoryEdit->setSingleStep(1024);
    undo->addWidget(NewLabel(page, "UndoMemoryLabel", "Undo memory (KB)", UndoMemoryEdit));
    undo->addWidget(UndoMemoryEdit);
    undo->addStretch();
    v->addLayout(undo);
    auto *recovery = new QHBoxLayout;
    RecoverySecondsEdit = new QSpinBox(page);
    RecoverySecondsEdit->setObjectName("RecoverySecondsEdit");
    RecoverySecondsEdit->setRange(0, kMaxRecoverySeconds);
    RecoverySecondsEdit->setSpecialValueText("off");
    recovery->addWidget(NewLabel(page, "RecoverySecondsLabel", "Recovery copy every N seconds", RecoverySecondsEdit));
    recovery->addWidget(RecoverySecondsEdit);
    recovery->addStretch();
    v->addLayout(recovery);
    auto *encoding = new QHBoxLayout;
    NewDocEncodingCombo = new QComboBox(page);
    NewDocEncodingCombo->setObjectName("NewDocEncodingCombo");
    NewDocEncodingCombo->addItems({"Windows-1252", "UTF-8"});
    encoding->addWidget(NewLabel(page, "NewDocEncodingLabel", "New documents:", NewDocEncodingCombo));
    encoding->addWidget(NewDocEncodingCombo);
    encoding->addStretch();
    v->addLayout(encoding);
    v->addStretch();
    TabbedNotebook1->addTab(page, "Options");
}

void TTabbedNotebookDlg::BuildHelpersPage()
{
    auto *page = new QWidget;
    page->setObjectName("Helpers");
    auto *v = new QVBoxLayout(page);
    auto *browser = new QGroupBox(page);
    browser->setObjectName("BrowserGroup");
    auto *bv = new QVBoxLayout(browser);
    bv->addWidget(NewRadio(browser, UseNetscapeRadio, "UseNetscapeRadio", "Use Netscape Navigator to test HTML files"));
    bv->addWidget(
        NewRadio(browser, UseIExploreRadio, "UseIExploreRadio", "Use Microsoft Internet Explorer to test HTML files"));
    bv->addWidget(NewRadio(browser, UseOtherRadio, "UseOtherRadio", "Use another program"));
    NewEdit(browser, TestProgEdit, "TestProgEdit");
    Label3 = NewLabel(browser, "Label3", "Program to Test HTML Files", TestProgEdit);
    bv->addWidget(Label3);
    auto *prog = new QHBoxLayout;
    prog->addWidget(TestProgEdit, 1);
    prog->addWidget(NewButton(browser, TestProgBrowseBtn, "TestProgBrowseBtn", "Browse"));
    bv->addLayout(prog);
    v->addWidget(browser);

    auto addPathRow = [&](const char *LabelName, const QString &Caption, QLineEdit *&Edit, const char *EditName,
                          QPushButton *&Button, const char *ButtonName) {
        NewEdit(page, Edit, EditName);
        v->addWidget(NewLabel(page, LabelName, Caption, Edit));
        auto *row = new QHBoxLayout;
        row->addWidget(Edit, 1);
        row->addWidget(NewButton(page, Button, ButtonName, "Browse"));
        v->addLayout(row);
    };
    addPathRow("ImageEditorLabel", "Image Viewer", ImageEditorEdit, "ImageEditorEdit", ImageEditorBrowseButton,
               "ImageEditorBrowseButton");
    addPathRow("WorkDirLabel", "Working Directory", WorkDirEdit, "WorkDirEdit", WorkDirButton, "WorkDirButton");
    v->addStretch();
    TabbedNotebook1->addTab(page, "Helpers");
}

void TTabbedNotebookDlg::BuildColorsPage()
{
    auto *page = new QWidget;
    page->setObjectName("Colors");
    auto *grid = new QGridLayout(page);
    auto *category = new QGroupBox(page);
    category->setObjectName("CategoryGroup");
    auto *cv = new QVBoxLayout(category);
    cv->addWidget(NewRadio(category, NormalTextRadio, "NormalTextRadio", "Normal Text"));
    cv->addWidget(NewRadio(category, HTMLTagsRadio, "HTMLTagsRadio", "HTML Tags"));
    cv->addWidget(NewRadio(category, EntitiesRadio, "EntitiesRadio", "Character Entities"));
    grid->addWidget(category, 0, 0);

    ColorGrid2 = new TColorGrid(page);
    ColorGrid2->setObjectName("ColorGrid2");
    ColorGrid2->setMinimumSize(112, 96);
    auto *gridBox = new QVBoxLayout;
    gridBox->addWidget(NewLabel(page, "ColorGridLabel", "Text Color", ColorGrid2));
    gridBox->addWidget(ColorGrid2, 1);
    grid->addLayout(gridBox, 0, 1);

    grid->addWidget(NewCheck(page, SyntaxHighlighting, "SyntaxHighlighting", "Use Syntax Highlighting"), 1, 0, 1, 2);

    PaintBox1 = new TPaintBox(page);
    PaintBox1->setObjectName("PaintBox1");
    PaintBox1->setMinimumSize(300, 72);
    grid->addWidget(NewLabel(page, "PreviewLabel", "Editor Preview"), 2, 0, 1, 2);
    grid->addWidget(PaintBox1, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    TabbedNotebook1->addTab(page, "Colors");
}

void TTabbedNotebookDlg::BuildQuickKeysPage()
{
    auto *page = new QWidget;
    page->setObjectName("QuickKeys");
    auto *v = new QVBoxLayout(page);
    v->addWidget(NewLabel(page, "QuickKeysLabel", "Use Ctrl+Q combinations for quick entry of common text"));
    StringGrid1 = new QTableWidget(26, 2, page);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setColumnWidth(0, 65);
    StringGrid1->setColumnWidth(1, 227);
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    const QBrush fixed = StringGrid1->palette().brush(QPalette::Button);
    for (int row = 0; row < 26; ++row) {
        auto *key = new QTableWidgetItem(ColumnZeroText(row));
        // The fixed column can be neither edited nor selected.
        key->setFlags(Qt::ItemIsEnabled);
        key->setBackground(fixed);
        StringGrid1->setItem(row, 0, key);
        StringGrid1->setItem(row, 1, new QTableWidgetItem);
    }
    StringGrid1->setCurrentCell(0, 1);
    v->addWidget(StringGrid1, 1);
    TabbedNotebook1->addTab(page, "QuickKeys");
}

// ---------------------------------------------------------------------------------------------
// Loading

void TTabbedNotebookDlg::FormCreate()
{
    // 1.
    TabbedNotebook1->setCurrentIndex(OptionsPage);
    // 2.
    const TSetupManager &setup = *Main.SetupManager;
    const TProfile settings(SettingsFileName());
    SyntaxHighlighting->setChecked(setup.SyntaxHighlighting());
    WordWrap->setChecked(setup.WordWrap());
    NewlineAfterTitle->setChecked(settings.ReadBool("Setup", "NewlineAfterTitle", false));
    UseAcualCharacters->setChecked(settings.ReadBool("Setup", "UseActualCharacters", false));
    LowerCaseTags->setChecked(setup.LowerCaseTags());
    MaximizeCheck->setChecked(setup.MDIChildMaximize());
    ForceHTMLExtCheck->setChecked(settings.ReadBool("Setup", "ForceHTMLExt", true));
    NeverUseCenterCheck->setChecked(settings.ReadBool("Setup", "NeverUseCENTER", true));
    DocOptionsDlg->setChecked(settings.ReadBool("Setup", "DocOptionsDlg", true));
    UndoMemoryEdit->setValue(ReadUndoBufferKB(settings));
    RecoverySecondsEdit->setValue(ReadRecoverySeconds(settings));
    NewDocEncodingCombo->setCurrentIndex(ReadNewDocEncoding(settings) == TTextEncoding::Windows1252 ? 0 : 1);
    KeepTrailingBlanksCheck->setChecked(settings.ReadBool("Setup", "KeepTrailingBlanks", false));
    // 3. The flags follow the file even when the dialog is cancelled.
    Main.UseActualCharacters = UseAcualCharacters->isChecked();
    Main.NewlineAfterTitle = NewlineAfterTitle->isChecked();
    Main.ForceHTMLExt = ForceHTMLExtCheck->isChecked();
    Main.NeverUseCENTER = NeverUseCenterCheck->isChecked();
    // 4. An index outside 0..15 (a hand-edited file) stands for the default one.
    auto readIndex = [&](const char *Key, int Default) {
        const int index = settings.ReadInteger("Syntax Highlighting", Key, Default);
        return IsValidColorIndex(index) ? index : Default;
    };
    TextColorIndex = readIndex("TextColor", TSetupManager::DefaultTextColorIndex);
    ElementColorIndex = readIndex("ElementColor", TSetupManager::DefaultElementColorIndex);
    EntityColorIndex = readIndex("EntityColor", TSetupManager::DefaultEntityColorIndex);
    TextColor = ToQColor(setup.TextColor());
    ElementColor = ToQColor(setup.ElementColor());
    EntityColor = ToQColor(setup.EntityColor());
    NormalTextRadio->setChecked(true);
    ColorGrid2->SetForegroundIndex(TextColorIndex);
    // 5.
    switch (BrowserChoiceOf(setup.ProgPath())) {
    case TBrowserChoice::Netscape: UseNetscapeRadio->setChecked(true); break;
    case TBrowserChoice::IExplore: UseIExploreRadio->setChecked(true); break;
    case TBrowserChoice::Other: TestProgEdit->setText(PathFromSetting(setup.ProgPath())); break;
    }
    BrowserRadioClick();
    // 6.
    DefFileExtEdit->setText(BytesToQString(setup.DefFileExt()));
    ImageEditorEdit->setText(PathFromSetting(settings.ReadString("Setup", "ImageViewer", "")));
    const std::string workDir = settings.ReadString("Setup", "WorkDir", "");
    WorkDirEdit->setText(PathFromSetting(workDir));
    if (!workDir.empty())
        SetWorkingDirectory(workDir);
    // 7.
    Main.ReadQuickKeyTable();
    for (int row = 0; row < 26; ++row)
        StringGrid1->item(row, 1)->setText(BytesToQString(Main.QuickKeyTable[std::size_t(row)]));
}

// ---------------------------------------------------------------------------------------------
// Page behaviour

void TTabbedNotebookDlg::BrowserRadioClick()
{
    const bool other = !UseNetscapeRadio->isChecked() && !UseIExploreRadio->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{Label3, TestProgEdit, TestProgBrowseBtn})
        w->setEnabled(other);
}

int &TTabbedNotebookDlg::SelectedIndex()
{
    if (HTMLTagsRadio->isChecked())
        return ElementColorIndex;
    if (EntitiesRadio->isChecked())
        return EntityColorIndex;
    return TextColorIndex;
}

QColor &TTabbedNotebookDlg::SelectedColor()
{
    if (HTMLTagsRadio->isChecked())
        return ElementColor;
    if (EntitiesRadio->isChecked())
        return EntityColor;
    return TextColor;
}

void TTabbedNotebookDlg::ColorRadioClick()
{
    ColorGrid2->SetForegroundIndex(SelectedIndex());
}

void TTabbedNotebookDlg::ColorGrid2Change()
{
    SelectedIndex() = ColorGrid2->ForegroundIndex();
    SelectedColor() = ColorGrid2->ForegroundColor();
    PaintBox1->update();
}

void TTabbedNotebookDlg::PaintBox1Paint(QPainter &P)
{
    const QRect area = PaintBox1->rect();
    P.fillRect(area, PaintBox1->palette().color(QPalette::Window));
    P.setPen(Qt::black);
    P.setBrush(Qt::NoBrush);
    P.drawRect(area.adjusted(0, 0, -1, -1));
    P.setFont(PreviewFont());
    const QFontMetrics metrics(P.font());
    // Each run starts where the previous one ends; y is the top of the text.
    auto line = [&](int Y, std::initializer_list<std::pair<QString, QColor>> Runs) {
        int x = 10;
        for (const auto &[text, color] : Runs) {
            P.setPen(color);
            P.drawText(x, Y + metrics.ascent(), text);
            x += metrics.horizontalAdvance(text);
        }
    };
    line(10, {{"This is normal text.", TextColor}});
    line(30, {{"<CENTER>", ElementColor}, {"Centered", TextColor}, {"</CENTER>", ElementColor}});
    line(50, {{PreviewSampleWord, TextColor}, {" &#169; ", EntityColor}, {"1995", TextColor}});
}

void TTabbedNotebookDlg::HelpBtnClick()
{
    static const std::array<const char *, 4> topics = {"setup_options", "setup_paths", "setup_colors",
                                                       "setup_quickkeys"};
    const int page = TabbedNotebook1->currentIndex();
    if (page >= 0 && page < int(topics.size()))
        Help().ShowTopic(topics[std::size_t(page)]);
}

void TTabbedNotebookDlg::TestProgBrowseBtnClick()
{
    TFileDialogRequest request;
    request.Title = "Specify Test Program";
    request.Filter = kProgramFilter;
    if (Prompt().OpenFile(request))
        TestProgEdit->setText(LowerCasedFileName(request.FileName));
}

void TTabbedNotebookDlg::ImageEditorBrowseButtonClick()
{
    TFileDialogRequest request;
    request.Title = "Specify Image Viewer";
    request.Filter = kProgramFilter;
    if (Prompt().OpenFile(request))
        ImageEditorEdit->setText(LowerCasedFileName(request.FileName));
}

void TTabbedNotebookDlg::WorkDirButtonClick()
{
    QString dir = WorkDirEdit->text();
    if (ExecDirectoryDialog(this, dir))
        WorkDirEdit->setText(dir);
}

// ---------------------------------------------------------------------------------------------
// OK

void TTabbedNotebookDlg::OKBtnClick()
{
    // 1.
    TProfile settings(SettingsFileName());
    TSetupManager &setup = *Main.SetupManager;
    // 2.
    Main.UseActualCharacters = UseAcualCharacters->isChecked();
    Main.NewlineAfterTitle = NewlineAfterTitle->isChecked();
    Main.ForceHTMLExt = ForceHTMLExtCheck->isChecked();
    Main.NeverUseCENTER = NeverUseCenterCheck->isChecked();
    // 3.
    setup.SetSyntaxHighlighting(SyntaxHighlighting->isChecked());
    setup.SetWordWrap(WordWrap->isChecked());
    settings.WriteBool("Setup", "NewlineAfterTitle", NewlineAfterTitle->isChecked());
    setup.SetLowerCaseTags(LowerCaseTags->isChecked());
    setup.SetMDIChildMaximize(MaximizeCheck->isChecked());
    settings.WriteBool("Setup", "ForceHTMLExt", ForceHTMLExtCheck->isChecked());
    settings.WriteBool("Setup", "NeverUseCENTER", NeverUseCenterCheck->isChecked());
    settings.WriteBool("Setup", "UseActualCharacters", UseAcualCharacters->isChecked());
    settings.WriteBool("Setup", "DocOptionsDlg", DocOptionsDlg->isChecked());
    WriteUndoBufferKB(settings, UndoMemoryEdit->value());
    WriteRecoverySeconds(settings, RecoverySecondsEdit->value());
    WriteNewDocEncoding(settings, NewDocEncodingCombo->currentIndex() == 1 ? TTextEncoding::Utf8
                                                                          : TTextEncoding::Windows1252);
    settings.WriteBool("Setup", "KeepTrailingBlanks", KeepTrailingBlanksCheck->isChecked());
    // 4.
    setup.SetTextColorIndex(TextColorIndex);
    setup.SetElementColorIndex(ElementColorIndex);
    setup.SetEntityColorIndex(EntityColorIndex);
    // 5.
    setup.SetDefFileExt(DefFileExtFromEdit(QStringToBytes(DefFileExtEdit->text())));
    // 6.
    if (UseNetscapeRadio->isChecked())
        TestProgEdit->setText(kNetscapeProgPath);
    else if (UseIExploreRadio->isChecked())
        TestProgEdit->setText(kIExploreProgPath);
    setup.SetProgPath(PathToSetting(TestProgEdit->text()));
    // 7.
    settings.WriteString("Setup", "ImageViewer", PathToSetting(ImageEditorEdit->text()));
    const std::string workDir = PathToSetting(WorkDirEdit->text());
    settings.WriteString("Setup", "WorkDir", workDir);
    if (!workDir.empty())
        SetWorkingDirectory(workDir);
    // 8. A cell still being edited counts with what it shows: moving off it commits it.
    StringGrid1->setCurrentIndex(QModelIndex());
    for (int row = 0; row < 26; ++row)
        Main.QuickKeyTable[std::size_t(row)] = QStringToBytes(StringGrid1->item(row, 1)->text());
    WriteQuickKeys(settings, Main.QuickKeyTable);
    // 9. The profile holds no open file; nothing to close.
}

// ---------------------------------------------------------------------------------------------
// Shared helpers

bool PickColor(QColor &Color, QString &Text)
{
    // 1. A missing key leaves the dialog's own default custom colour, white.
    std::vector<QColor> custom(kCustomColorCount, QColor(Qt::white));
    {
        const TCustomColors stored = ReadCustomColors(TProfile(SettingsFileName()));
        for (int i = 0; i < kCustomColorCount; ++i)
            if (stored[std::size_t(i)])
                custom[std::size_t(i)] = ToQColor(*stored[std::size_t(i)]);
    }
    // 2.
    QColor chosen(Qt::black);
    if (!Prompt().ChooseColor(chosen, custom)) {
        Text.clear();
        return false;
    }
    // 3.
    Color = chosen;
    Text = QString::fromLatin1(ColorRGBText(ToTColor(chosen)).c_str());
    // 4. The choice stands even when the custom colours cannot be remembered.
    std::array<TColor, kCustomColorCount> keep{};
    for (int i = 0; i < kCustomColorCount; ++i)
        keep[std::size_t(i)] = std::size_t(i) < custom.size() ? ToTColor(custom[std::size_t(i)]) : TColor{255, 255, 255};
    Guarded([&keep] {
        TProfile settings(SettingsFileName());
        WriteCustomColors(settings, keep);
    });
    return true;
}
