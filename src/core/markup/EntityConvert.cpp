// Converting characters to entities and back over a whole document, line by line.
#include "core/markup/EntityConvert.h"

#include "core/markup/Entities.h"

#include "core/editor/Encoding.h"

#include <tuple>

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
    const bool Utf8 = Doc.Utf8();
    int Count = 0;
    // The count is taken once: lines that a re-wrap pushes past it are not visited.
    const int Lines = Doc.LineCount();
    for (int L = 1; L <= Lines && L <= Doc.LineCount(); ++L) {
        std::string Text = Doc.GetLine(L);
        std::size_t p = 0;
        while (p < Text.size()) {
            // The character at p: a byte, or in a UTF-8 text its code point and its bytes.
            char32_t Code = static_cast<unsigned char>(Text[p]);
            std::size_t Length = 1;
            if (Utf8 && Code >= 0x80)
                std::tie(Code, Length) = DecodeUtf8(Text, p);
            if (Code < 161) {
                p += Length;
                continue;
            }
            const std::string_view Character = std::string_view(Text).substr(p, Length);
            const std::string_view Entity = Code <= 255 ? EntityForCharacter(static_cast<unsigned char>(Code)) : "";
            if (Entity.empty()) {
                Ask.Inform(NoEntityMessage(Character));
                p += Length;
                continue;
            }
            const int Col = static_cast<int>(p) + 1;
            Doc.SetSelection(L, Col, L, Col + static_cast<int>(Length), false);
            if (MayReplace(Ask, Confirm, ReplaceCharacterQuestion(Character, Entity))
                && Doc.InsertPlainText(std::string(Entity))) {
                ++Count;
                Text = Doc.GetLine(L);
                p += Entity.size();
            } else {
                p += Length;
            }
        }
    }
    Ask.Inform(CharactersConvertedMessage(Count));
    return Count;
}

int ConvertEntitiesToCharacters(TLineDocument &Doc, TMarkupQuestions &Ask)
{
    bool Confirm = Ask.Confirm(std::string(EntityText::ConfirmEach), TQuestionButtons::YesNo) == TAnswer::Yes;
    const bool Utf8 = Doc.Utf8();
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
            // The character in the document's encoding: a byte, or a UTF-8 character.
            std::string Character;
            if (Utf8) {
                if (const char32_t Code = CodePointForEntity(Candidate))
                    AppendUtf8(Character, Code);
            } else if (const unsigned char Code = CharacterForEntity(Candidate)) {
                Character.assign(1, static_cast<char>(Code));
            }
            if (Character.empty()) {
                Ask.Inform(UnknownEntityMessage(Candidate));
                d = End + 1;
                continue;
            }
            if (MayReplace(Ask, Confirm, ReplaceEntityQuestion(Candidate, Character))
                && Doc.InsertPlainText(Character)) {
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
