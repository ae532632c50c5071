// The main window's File commands (New, templates, Insert File, the saves, Save without HTML
// Tags, Check HTML Document, Print, Print Setup) and Editor Font, all working on the active
// document window.
#include "ui/app/MainWindow.h"

#include "core/editor/SafeFile.h"
#include "core/markup/NewDocument.h"
#include "core/markup/SaveWithoutTags.h"
#include "core/settings/Profile.h"
#include "platform/DialogExec.h"
#include "platform/TextCodec.h"
#include "ui/dialogs/NewDocumentDialog.h"
#include "ui/document/DocumentCheckList.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/EditorBase.h"
#include "ui/editor/MarkupEditor.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPrinter>

#include <cstdlib>

namespace {

// Shows the hourglass for its lifetime.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};

// The file's lines as the printer gets them: split at LF, a CR before it dropped.
QStringList FileLines(const QString &FileName, TTextEncoding Encoding)
{
    TFileReader reader(TEdCustomTextFileEditor::FileNameBytes(FileName));
    std::string bytes;
    char buffer[32768];
    while (const std::size_t n = reader.Read(buffer, sizeof buffer))
        bytes.append(buffer, n);
    QStringList lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        lines << DocumentBytesToQString(std::string_view(bytes).substr(start, stop - start), Encoding);
        start = end + 1;
    }
    return lines;
}

} // namespace

void TMainForm::ConnectDocumentCommands()
{
    // The document menus' hints name tags ("<HR>"): the status line shows them as text.
    StatusLine->setTextFormat(Qt::PlainText);
    // The shared key table's additions for the documents' quick keys: Ctrl+Q, A..Z.
    AddQuickKeySequences(MainController->Processor().Table("Default"));
    DocumentFactory = [this](const QString &Name, bool NewFlag) -> TDocumentWindowIntf * {
        return TMDIChild::Create(*this, Name, NewFlag);
    };
    OnTrigger(FileNewItem, &TMainForm::FileNewItemClick);
    OnTrigger(NewwithDocumentTemplate1, &TMainForm::NewwithDocumentTemplate1Click);
    OnTrigger(InsertFile1, &TMainForm::InsertFile1Click);
    OnTrigger(FileSaveItem, &TMainForm::FileSaveItemClick);
    OnTrigger(FileSaveAsItem, &TMainForm::FileSaveAsItemClick);
    OnTrigger(SaveAsUnix1, &TMainForm::SaveAsUnix1Click);
    OnTrigger(SavewithoutHTMLTags1, &TMainForm::SavewithoutHTMLTags1Click);
    OnTrigger(Print1, &TMainForm::Print1Click);
    OnTrigger(PrintSetup1, &TMainForm::PrintSetup1Click);
    OnTrigger(Font1, &TMainForm::Font1Click);
    OnTrigger(CheckHTMLDocument1, &TMainForm::CheckHTMLDocument1Click);
    DocumentCheckList = new TDocumentCheckList(this);
    DocumentCheckList->OnStatus = [this](const QString &Text) { StatusLine->setText(Text); };
    addDockWidget(Qt::BottomDockWidgetArea, DocumentCheckList);
    DocumentCheckList->hide();
}

QPrinter &TMainForm::Printer()
{
    if (!FPrinter)
        FPrinter = std::make_shared<QPrinter>();
    return *FPrinter;
}

void TMainForm::FileNewItemClick()
{
    const TProfile settings(SettingsFileName());
    if (!settings.ReadBool("Setup", "DocOptionsDlg", true)) {
        OpenDocument("Untitled", true);
    } else {
        TNewDocDlg dialog(this);
        if (ExecDialog(dialog) == QDialog::Accepted) {
            if (dialog.TitleEdit->text().isEmpty())
                dialog.TitleEdit->setText(BytesToQString(std::string(DefaultDocumentTitle)));
            const TNewDocOptions options = dialog.Options();
            const std::string date =
                QStringToBytes(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
            if (TDocumentWindowIntf *doc = OpenDocument("Untitled", true))
                for (const std::string &piece : NewDocumentPieces(options, DefaultAuthorName(), date))
                    doc->InsertMarkup(piece);
        }
    }
    if (TMDIChild *doc = ActiveMDIChild())
        doc->MoveCaretToStart();
}

void TMainForm::NewwithDocumentTemplate1Click()
{
    OpenDialog.Filter = "Pelmar Pro Templates (*.htt)|*.htt|All files (*.*)|*.*";
    OpenDialog.Title = "Document Template";
    OpenDialog.HelpContext = 49;
    OpenDialog.MultiSelect = false;
    if (!Prompt().OpenFile(OpenDialog))
        return;
    const QString file = OpenDialog.FileName;
    if (auto *doc = dynamic_cast<TMDIChild *>(OpenDocument("Untitled", true)))
        doc->InsertFile(file);
}

void TMainForm::InsertFile1Click()
{
    OpenDialog.Filter = OpenFileFilter;
    OpenDialog.Title = "Insert File";
    OpenDialog.HelpContext = 6;
    OpenDialog.MultiSelect = false;
    if (!Prompt().OpenFile(OpenDialog))
        return;
    if (TMDIChild *doc = ActiveMDIChild())
        doc->InsertFile(OpenDialog.FileName);
}

void TMainForm::FileSaveItemClick()
{
    if (TMDIChild *doc = ActiveMDIChild())
        doc->SaveDocument();
}

void TMainForm::FileSaveAsItemClick()
{
    if (TMDIChild *doc = ActiveMDIChild())
        doc->SaveAsDOSFile();
}

void TMainForm::SaveAsUnix1Click()
{
    if (TMDIChild *doc = ActiveMDIChild())
        doc->SaveAsUnixFile();
}

void TMainForm::SavewithoutHTMLTags1Click()
{
    TMDIChild *doc = ActiveMDIChild();
    if (!doc || !doc->SaveDocument())
        return;
    TFileDialogRequest request;
    request.Title = BytesToQString(std::string(SaveNoTagsText::DialogTitle));
    request.Filter = BytesToQString(std::string(SaveNoTagsText::Filter));
    request.HelpContext = SaveNoTagsText::HelpContext;
    if (!Prompt().SaveFile(request))
        return;
    {
        TWaitCursor wait;
        SaveWithoutHTMLTags(TEdCustomTextFileEditor::FileNameBytes(doc->DocumentCaption()),
                            TEdCustomTextFileEditor::FileNameBytes(request.FileName));
    }
    OpenDocument(request.FileName, false);
}

void TMainForm::Print1Click()
{
    TMDIChild *doc = ActiveMDIChild();
    if (!doc || !doc->SaveDocument())
        return;
    QPrinter &printer = Printer();
    if (!Prompt().PrintDialog(printer))
        return;
    // Read first: a file that cannot be read starts no print job.
    // The file as saved, printed as the characters it holds.
    QStringList lines = FileLines(doc->DocumentCaption(), doc->Editor->Encoding());
    if (doc->Editor->Encoding() == TTextEncoding::Utf8Bom && !lines.isEmpty() && lines.front().startsWith(QChar(0xFEFF)))
        lines.front().remove(0, 1);
    TWaitCursor wait;
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("The printer could not be started.");
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = std::max(1, metrics.lineSpacing());
    const int pageHeight = painter.viewport().height();
    int y = 0;
    for (const QString &line : lines) {
        if (y > 0 && y + lineHeight > pageHeight) {
            printer.newPage();
            y = 0;
        }
        painter.drawText(0, y + metrics.ascent(), line);
        y += lineHeight;
    }
    painter.end();
}

void TMainForm::PrintSetup1Click()
{
    Prompt().PrinterSetup(Printer());
}

void TMainForm::CheckHTMLDocument1Click()
{
    if (TMDIChild *doc = ActiveMDIChild())
        DocumentCheckList->Check(*doc);
}

void TMainForm::Font1Click()
{
    TFontRequest font;
    {
        const TProfile settings(SettingsFileName());
        font.Name = BytesToQString(settings.ReadString("Font", "Name", "Courier New"));
        font.Height = settings.ReadInteger("Font", "Size", -12);
        font.Bold = settings.ReadBool("Font", "Bold", false);
        font.Italic = settings.ReadBool("Font", "Italic", false);
        font.FixedPitchOnly = true;
    }
    if (!Prompt().ChooseFont(font))
        return;
    {
        TProfile settings(SettingsFileName());
        settings.WriteString("Font", "Name", QStringToBytes(font.Name));
        settings.WriteInteger("Font", "Size", font.Height);
        settings.WriteBool("Font", "Bold", font.Bold);
        settings.WriteBool("Font", "Italic", font.Italic);
    }
    if (TMDIChild *doc = ActiveMDIChild()) {
        doc->Editor->FixedFont().AssignOrSubstitute(EditorFont(font.Name, font.Height, font.Bold, font.Italic));
        doc->FormResize();
    }
}
