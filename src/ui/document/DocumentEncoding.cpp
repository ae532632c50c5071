// TMDIChild's encoding commands: reading the file again in another encoding and converting the
// text between Windows-1252 and UTF-8.
#include "core/editor/Encoding.h"
#include "core/editor/TextFileIO.h"
#include "core/settings/AppSettings.h"
#include "platform/Prompt.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"

#include <QLabel>

#include <algorithm>

TTextEncoding TMDIChild::DocumentEncoding() const
{
    return Editor->Encoding();
}

bool TMDIChild::HasFileOnDisk() const
{
    return Editor->IsOpen() && !Editor->FileName().isEmpty();
}

void TMDIChild::ReopenInEncoding(TTextEncoding Encoding)
{
    if (!HasFileOnDisk())
        return;
    const QString name = Editor->FileName();
    const bool utf8 = Encoding != TTextEncoding::Windows1252;
    const QString encodingName = utf8 ? "UTF-8" : "Windows-1252";
    // The file is read once before anything changes: an unreadable file or one that is not UTF-8
    // leaves the text as it is.
    TTextReadOptions options;
    options.Encoding = TTextEncoding::Windows1252;
    const TTextReadResult read =
        ReadTextFile(TEdCustomTextFileEditor::FileNameBytes(name), ffNone, options, [](std::string_view, TLineEnd) {});
    if (utf8 && read.FirstInvalidUtf8 != std::string_view::npos) {
        ShowWarning(QString("%1 cannot be read as UTF-8: the byte at offset %2 does not begin a valid UTF-8 character.")
                        .arg(name)
                        .arg(qulonglong(read.FirstInvalidUtf8)));
        return;
    }
    if (Editor->Modified() &&
        Prompt().MessageDlg(QString("Reopen %1 as %2 and lose your changes?").arg(name, encodingName),
                            TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    Editor->ReopenAs(utf8 ? TTextEncoding::Utf8 : TTextEncoding::Windows1252);
    ReportStatus();
}

void TMDIChild::ConvertToEncoding(TTextEncoding Encoding)
{
    TParaList &paras = Editor->ParaList();
    const bool toUtf8 = Encoding != TTextEncoding::Windows1252;
    if (toUtf8 == paras.Utf8() || Editor->ReadOnly())
        return;
    int col = 1;
    const int line = Editor->GetCaretPosition(col);
    int references = 0;
    bool failed = false;
    const std::int64_t undoBytes = 3 * paras.ByteCount() + 48 * std::int64_t(paras.ParaCount());
    const bool done = Editor->AsOneStep(undoBytes, [&] {
        paras.ChangeEncoding(toUtf8 ? TTextEncoding::Utf8 : TTextEncoding::Windows1252);
        for (int p = 1; p <= paras.ParaCount() && !failed; ++p) {
            const std::string_view text = paras.ParaText(p);
            if (!HasHighBytes(text))
                continue;
            int replaced = 0;
            const std::string converted = toUtf8 ? Windows1252ToUtf8(text) : Utf8ToWindows1252(text, &replaced);
            if (converted == text)
                continue;
            references += replaced;
            failed = paras.ReplaceChars(p, 1, int(text.size()), converted) != 0;
        }
    });
    Editor->TextReplaced();
    Editor->SetCaretPosition(std::min(line, Editor->LineCount()), 1);
    ReportStatus();
    if (!done)
        return;
    if (failed) {
        ShowWarning("The converted text does not fit the document's limits; it was converted in part.");
        return;
    }
    Main.StatusLine->setText(toUtf8 ? QString("Converted to UTF-8.")
                                    : QString("Converted to Windows-1252; %1 characters became numeric character references.")
                                          .arg(references));
}
