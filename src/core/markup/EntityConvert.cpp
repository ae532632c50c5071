// Converting characters to entities and back over a whole document, line by line.
#include "core/markup/EntityConvert.h"

#include "core/markup/Entities.h"

namespace {

// Asks one replacement question; All also turns the questions off. Cancel counts as No.
bool MayReplace(TMarkupQuestions &Ask, bool &Confirm, const std::string &Question)
{
    if (!Confirm)
        return true;
    switch (Ask.Confirm(Question, TQuestionButtons::YesNoAll)) {
    case TAnswer::All:
        Confirm = false;
        return true;
    case TAnswer::Yes:
        return true;
    default:
        return false;
    }
}

}  // namespace

int ConvertCharactersToEntities(TLineDocument &Doc, TMarkupQuestions &Ask)
{
    bool Confirm = Ask.Confirm(std::string(EntityText::ConfirmEach), TQuestionButtons::YesNo) == TAnswer::Yes;
    int Count = 0;
    // The count is taken once: lines that a re-wrap pushes past it are not visited.
    const int Lines = Doc.LineCount();
    for (int L = 1; L <= Lines && L <= Doc.LineCount(); ++L) {
        std::string Text = Doc.GetLine(L);
        std::size_t p = 0;
        while (p < Text.size()) {
            const auto Code = static_cast<unsigned char>(Text[p]);
            if (Code < 161) {
                ++p;
                continue;
            }
            const std::string_view Entity = EntityForCharacter(Code);
            if (Entity.empty()) {
                Ask.Inform(NoEntityMessage(Code));
                ++p;
                continue;
            }
            const int Col = static_cast<int>(p) + 1;
            Doc.SetSelection(L, Col, L, Col + 1, false);
            if (MayReplace(Ask, Confirm, ReplaceCharacterQuestion(Code, Entity))
                && Doc.InsertPlainText(std::string(Entity))) {
                ++Count;
                Text = Doc.GetLine(L);
                p += Entity.size();
            } else {
                ++p;
            }
        }
    }
    Ask.Inform(CharactersConvertedMessage(Count));
    return Count;
}

int ConvertEntitiesToCharacters(TLineDocument &Doc, TMarkupQuestions &Ask)
{
    bool Confirm = Ask.Confirm(std::string(EntityText::ConfirmEach), TQuestionButtons::YesNo) == TAnswer::Yes;
    int Count = 0;
    const int Lines = Doc.LineCount();
    // Shortened lines can let a wrapped paragraph lose display lines: stop at the current end.
    for (int L = 1; L <= Lines && L <= Doc.LineCount(); ++L) {
        std::string Text = Doc.GetLine(L);
        std::size_t d = 0;
        for (;;) {
            std::size_t Start = std::string::npos, End = std::string::npos;
            for (std::size_t p = d; p < Text.size(); ++p) {
                if (Text[p] == '&') {
                    Start = p;
                } else if (Text[p] == ';' && Start != std::string::npos) {
                    End = p;
                    break;
                }
            }
            if (End == std::string::npos)
                break;
            const std::string Candidate = Text.substr(Start, End - Start + 1);
            Doc.SetSelection(L, static_cast<int>(Start) + 1, L, static_cast<int>(End) + 2, false);
            const unsigned char Code = CharacterForEntity(Candidate);
            if (Code == 0) {
                Ask.Inform(UnknownEntityMessage(Candidate));
                d = End + 1;
                continue;
            }
            if (MayReplace(Ask, Confirm, ReplaceEntityQuestion(Candidate, Code))
                && Doc.InsertPlainText(std::string(1, static_cast<char>(Code)))) {
                ++Count;
                if (L > Doc.LineCount())
                    break;
                Text = Doc.GetLine(L);
                d = Start + 1;
            } else {
                d = End + 1;
            }
        }
    }
    Ask.Inform(EntitiesConvertedMessage(Count));
    return Count;
}
