// TEditorLineDocument: the entity conversions, Entity by Character Value, the text transformations and the list
// makers of the document window, driving the core's scans through the editor and the prompt.
#include "ui/document/DocumentCommands.h"

#include "core/editor/Columns.h"
#include "core/markup/Entities.h"
#include "core/markup/EntityConvert.h"
#include "core/markup/TextTransform.h"
#include "platform/DialogExec.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/document/DocumentWindow.h"
#include "ui/document/IntelligentTagDialog.h"
#include "ui/editor/MarkupEditor.h"

#include <algorithm>

namespace {

// The hourglass for the lifetime of the scope, restored on every way out.
class TBusy {
public:
    explicit TBusy(TMDIChild &Doc) : FDoc(Doc) { FDoc.SetBusyCursor(true); }
    ~TBusy() { FDoc.SetBusyCursor(false); }
    TBusy(const TBusy &) = delete;
    TBusy &operator=(const TBusy &) = delete;

private:
    TMDIChild &FDoc;
};

bool LowerCaseTags()
{
    const TMainHost *main = MainHost();
    return main && main->SetupManager && main->SetupManager->LowerCaseTags();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The editor as lines, the prompt as questions

int TEditorLineDocument::LineCount() { return FDoc.Editor->ParaCount(); }

std::string TEditorLineDocument::GetLine(int Line)
{
    return std::string(FDoc.Editor->ParaList().ParaText(Line));
}

std::string TEditorLineDocument::GetStringLine(int Line)
{
    return EdExpandTabs(FDoc.Editor->ParaList().ParaText(Line), FDoc.Editor->TabSize(), FDoc.Editor->ParaList().Utf8());
}

bool TEditorLineDocument::GetSelection(int &Line1, int &Col1, int &Line2, int &Col2)
{
    int l1, c1, l2, c2;
    const bool any = FDoc.Editor->GetSelection(l1, c1, l2, c2);
    const TParaList &list = FDoc.Editor->ParaList();
    const TParaPos from = list.LineColToPara({l1, c1});
    const TParaPos to = list.LineColToPara({l2, c2});
    Line1 = from.Para;
    Col1 = from.Offset;
    Line2 = to.Para;
    Col2 = to.Offset;
    return any;
}

void TEditorLineDocument::SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd)
{
    const TParaList &list = FDoc.Editor->ParaList();
    const TLinePos from = list.ParaToLine({Line1, Col1});
    const TLinePos to = list.ParaToLine({Line2, Col2});
    FDoc.Editor->SetSelection(from.Line, from.Col, to.Line, to.Col, CaretAtEnd);
}

void TEditorLineDocument::SetCaretPosition(int Line, int Col)
{
    const TLinePos at = FDoc.Editor->ParaList().ParaToLine({Line, Col});
    FDoc.Editor->SetCaretPosition(at.Line, at.Col);
}

bool TEditorLineDocument::InsertPlainText(const std::string &Text)
{
    if (FDoc.Editor->ReadOnly())
        return false;
    FDoc.InsertPlainText(Text);
    return true;
}

bool TEditorLineDocument::InsertMarkup(const std::string &Text)
{
    if (FDoc.Editor->ReadOnly())
        return false;
    FDoc.InsertDocumentMarkup(Text);
    return true;
}

TAnswer TPromptQuestions::Confirm(const std::string &Msg, TQuestionButtons Buttons)
{
    TMsgDlgButtons buttons = mbYes | mbNo;
    if (Buttons == TQuestionButtons::YesNoAll)
        buttons |= mbAll;
    else if (Buttons == TQuestionButtons::YesNoCancel)
        buttons |= mbCancel;
    switch (AskConfirmation(DocumentBytesToQString(Msg, FEncoding), buttons)) {
    case mrYes: return TAnswer::Yes;
    case mrNo: return TAnswer::No;
    case mrAll: return TAnswer::All;
    default: return TAnswer::Cancel;
    }
}

void TPromptQuestions::Inform(const std::string &Msg)
{
    ShowInformation(DocumentBytesToQString(Msg, FEncoding));
}

bool TEditorLineDocument::Utf8()
{
    return FDoc.Editor->ParaList().Utf8();
}

// ---------------------------------------------------------------------------------------------
// Entity conversion

namespace {

// The undo records a command that may rewrite every line needs at most: the old and the new
// text of each line and a record per line.
std::int64_t WholeDocumentUndoBytes(TMDIChild &Doc)
{
    const TParaList &list = Doc.Editor->ParaList();
    return 2 * list.ByteCount() + 48 * static_cast<std::int64_t>(list.ParaCount());
}

// The undo records of replacing Old by New: both texts and a record per line of either.
std::int64_t ReplacementUndoBytes(const std::string &Old, const std::string &New)
{
    const auto lines = std::count(Old.begin(), Old.end(), '\n') + std::count(New.begin(), New.end(), '\n') + 2;
    return static_cast<std::int64_t>(Old.size() + New.size()) + 48 * static_cast<std::int64_t>(lines);
}

// Runs a command that changes many places as one undo step (asking first when it may not fit).
template <class F> void AsOneStep(TMDIChild &Doc, std::int64_t Bytes, F Command)
{
    Doc.Editor->AsOneStep(Bytes, Command);
}

} // namespace

void ConvertCharacterstoEntities1Click(TMDIChild &Doc)
{
    TEditorLineDocument lines(Doc);
    TPromptQuestions questions(Doc.Editor->Encoding());
    AsOneStep(Doc, WholeDocumentUndoBytes(Doc), [&] { ConvertCharactersToEntities(lines, questions); });
}

void ConvertEntitiestoCharacters1Click(TMDIChild &Doc)
{
    TEditorLineDocument lines(Doc);
    TPromptQuestions questions(Doc.Editor->Encoding());
    AsOneStep(Doc, WholeDocumentUndoBytes(Doc), [&] { ConvertEntitiesToCharacters(lines, questions); });
}

void EntitybyCharacterValue1Click(TMDIChild &Doc)
{
    QString answer;
    if (!Prompt().InputQuery(BytesToQString(std::string(EntityText::ValueCaption)),
                             BytesToQString(std::string(EntityText::ValuePrompt)), answer))
        return;
    const std::optional<std::string> markup = EntityByCharacterValue(QStringToBytes(answer));
    if (!markup) {
        ShowInformation(BytesToQString(std::string(EntityText::InvalidValue)));
        return;
    }
    Doc.InsertMarkup(*markup);
}

// ---------------------------------------------------------------------------------------------
// Text transformations

void RemoveHTMLTags1Click(TMDIChild &Doc)
{
    if (!Doc.Editor->HasSelection()) {
        ShowWarning(BytesToQString(std::string(TransformText::NoTextSelectedWarning)));
        return;
    }
    TBusy busy(Doc);
    const std::string selected = Doc.Editor->GetSelectedText().value_or(std::string());
    const std::string stripped = RemoveHTMLTags(selected);
    AsOneStep(Doc, ReplacementUndoBytes(selected, stripped), [&] { Doc.InsertPlainText(stripped); });
}

void AutoParagraphFormat1Click(TMDIChild &Doc)
{
    TEditorLineDocument lines(Doc);
    TPromptQuestions questions(Doc.Editor->Encoding());
    AsOneStep(Doc, WholeDocumentUndoBytes(Doc), [&] { AutoParagraphFormat(lines, questions); });
}

bool IntelligentTagInsert1Click(TMDIChild &Doc)
{
    TIntelliTagDlg dialog(&Doc);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return false;
    const TIntelliTagCriteria criteria = dialog.Criteria();
    TEditorLineDocument lines(Doc);
    TPromptQuestions questions(Doc.Editor->Encoding());
    AsOneStep(Doc, WholeDocumentUndoBytes(Doc), [&] { IntelligentTagInsert(lines, questions, criteria); });
    return true;
}

void ListMakerClick(TMDIChild &Doc, const std::string &Element)
{
    if (!Doc.Editor->HasSelection()) {
        Doc.InsertTagPair("<" + Element + ">", "</" + Element + ">");
        return;
    }
    const std::string selected = Doc.Editor->GetSelectedText().value_or(std::string());
    const std::string list = MakeList(selected, Element, LowerCaseTags());
    AsOneStep(Doc, ReplacementUndoBytes(selected, list), [&] { Doc.InsertPlainText(list); });
}

void DefinitionList1Click(TMDIChild &Doc)
{
    if (!Doc.Editor->HasSelection()) {
        Doc.InsertTagPair("<DL>", "</DL>");
        return;
    }
    const std::string selected = Doc.Editor->GetSelectedText().value_or(std::string());
    const std::string list = MakeDefinitionList(selected, LowerCaseTags());
    AsOneStep(Doc, ReplacementUndoBytes(selected, list), [&] { Doc.InsertPlainText(list); });
}

// ---------------------------------------------------------------------------------------------

void InstallDocumentCommands()
{
    using K = TCommandKind;
    auto simple = [](void (*Handler)(TMDIChild &)) {
        return [Handler](TMDIChild &Doc, const TMarkupCommand &) {
            Handler(Doc);
            return true;
        };
    };
    TMDIChild::SetCommandHook(K::ConvertCharactersToEntities, simple(&ConvertCharacterstoEntities1Click));
    TMDIChild::SetCommandHook(K::ConvertEntitiesToCharacters, simple(&ConvertEntitiestoCharacters1Click));
    TMDIChild::SetCommandHook(K::EntityByCharacterValue, simple(&EntitybyCharacterValue1Click));
    TMDIChild::SetCommandHook(K::RemoveHTMLTags, simple(&RemoveHTMLTags1Click));
    TMDIChild::SetCommandHook(K::AutoParagraphFormat, simple(&AutoParagraphFormat1Click));
    TMDIChild::SetCommandHook(K::IntelligentTagInsert,
                              [](TMDIChild &Doc, const TMarkupCommand &) { return IntelligentTagInsert1Click(Doc); });
    TMDIChild::SetCommandHook(K::ListMaker, [](TMDIChild &Doc, const TMarkupCommand &Command) {
        ListMakerClick(Doc, std::string(Command.Element));
        return true;
    });
    TMDIChild::SetCommandHook(K::DefinitionListMaker, simple(&DefinitionList1Click));
}
