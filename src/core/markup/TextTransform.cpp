// Commands that rewrite existing text: tag removal, list makers, comment lines, automatic
// paragraph marks and the Intelligent Tag Insert.
#include "core/markup/TextTransform.h"

#include "core/markup/SaveWithoutTags.h"
#include "core/markup/TagCase.h"

std::string RemoveHTMLTags(std::string_view Text) { return TTagStripper().Feed(Text); }

std::vector<std::string> SplitSelectionLines(std::string_view Text)
{
    std::vector<std::string> Lines;
    std::string Current;
    bool Open = false;   // a line has begun that no break has ended yet
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char c = Text[i];
        if (c == '\r' || c == '\n') {
            Lines.push_back(std::move(Current));
            Current.clear();
            Open = false;
            if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')
                ++i;
        } else {
            Current += c;
            Open = true;
        }
    }
    if (Open)
        Lines.push_back(std::move(Current));
    return Lines;
}

namespace {

std::string JoinWithCRLF(const std::vector<std::string> &Lines)
{
    std::string Result;
    for (const std::string &Line : Lines)
        Result += Line + "\r\n";
    return Result;
}

}  // namespace

std::string MakeList(std::string_view Selected, std::string_view Element, bool LowerCaseTags)
{
    const std::string ItemStart = ApplyTagCase("<LI>", LowerCaseTags);
    const std::string ItemEnd = ApplyTagCase("</LI>", LowerCaseTags);
    std::vector<std::string> Lines = SplitSelectionLines(Selected);
    for (std::string &Line : Lines)
        if (!Line.empty() && AsciiUpperCase(Line).find("<LI>") == std::string::npos)
            Line = ItemStart + Line + ItemEnd;
    Lines.insert(Lines.begin(), ApplyTagCase("<" + std::string(Element) + ">", LowerCaseTags));
    Lines.push_back(ApplyTagCase("</" + std::string(Element) + ">", LowerCaseTags));
    return JoinWithCRLF(Lines);
}

std::string MakeDefinitionList(std::string_view Selected, bool LowerCaseTags)
{
    std::vector<std::string> Lines = SplitSelectionLines(Selected);
    for (std::size_t i = 0; i < Lines.size(); ++i)
        if (!Lines[i].empty())
            Lines[i] = ApplyTagCase(i == 0 ? "<DT>" : "<DD>", LowerCaseTags) + Lines[i];
    Lines.insert(Lines.begin(), ApplyTagCase("<DL>", LowerCaseTags));
    Lines.push_back(ApplyTagCase("</DL>", LowerCaseTags));
    return JoinWithCRLF(Lines);
}

std::string CommentLine(std::string_view Text)
{
    std::string Result = "<!-- " + std::string(Text);
    if (Text.size() < 44)
        Result.append(44 - Text.size(), ' ');
    return Result + " -->\n";
}

int AutoParagraphFormat(TLineDocument &Doc, TMarkupQuestions &Ask)
{
    int Line1, Col1, Line2, Col2;
    if (!Doc.GetSelection(Line1, Col1, Line2, Col2)) {
        Ask.Inform(std::string(TransformText::NoTextSelectedInfo));
        return 0;
    }
    const TAnswer First = Ask.Confirm(std::string(TransformText::ConfirmParagraphInsertions),
                                      TQuestionButtons::YesNoCancel);
    if (First == TAnswer::Cancel)
        return 0;
    const bool AskEach = First == TAnswer::Yes;
    bool Insert = true;
    int Count = 0;
    for (int L = Line1; L < Line2 && L + 1 <= Doc.LineCount(); ++L) {
        const int Length = static_cast<int>(Doc.GetLine(L).size());
        if (Length == 0 || !Doc.GetLine(L + 1).empty())
            continue;
        if (AskEach) {
            Doc.SetSelection(L, 1, L, Length + 1, true);
            const TAnswer A = Ask.Confirm(std::string(TransformText::InsertParagraphTag), TQuestionButtons::YesNoCancel);
            if (A == TAnswer::Cancel)
                return Count;
            Insert = A == TAnswer::Yes;
        }
        if (Insert) {
            Doc.SetCaretPosition(L, Length + 1);
            if (Doc.InsertMarkup("<P>"))
                ++Count;
        }
    }
    return Count;
}

bool IntelliTagMatches(std::string_view Line, const TIntelliTagCriteria &Criteria)
{
    if (Criteria.SearchFor.empty())
        return false;
    const std::string Key = Criteria.CaseSensitive ? Criteria.SearchFor : AsciiUpperCase(Criteria.SearchFor);
    const std::string Compared = Criteria.CaseSensitive ? std::string(Line) : AsciiUpperCase(Line);
    const std::size_t Found = Compared.find(Key);
    if (Found == std::string::npos)
        return false;
    switch (Criteria.Mode) {
    case TMatchMode::StartingWith:
        return Found == 0;
    case TMatchMode::EndingWith:
        return Found + Key.size() == Compared.size();
    case TMatchMode::Containing:
        return true;
    }
    return false;
}

std::string IntelliTagLine(std::string_view Line, const TIntelliTagCriteria &Criteria)
{
    switch (Criteria.Placement) {
    case TTagPlacement::StartOfLine:
        return Criteria.FirstTag + std::string(Line);
    case TTagPlacement::EndOfLine:
        return std::string(Line) + Criteria.FirstTag;
    case TTagPlacement::Both:
        break;
    }
    return Criteria.FirstTag + std::string(Line) + Criteria.SecondTag;
}

int IntelligentTagInsert(TLineDocument &Doc, TMarkupQuestions &Ask, const TIntelliTagCriteria &Criteria)
{
    int Count = 0;
    const int Lines = Doc.LineCount();
    for (int L = 1; L <= Lines && L <= Doc.LineCount(); ++L) {
        // Matching sees tabs expanded; the rewritten line keeps the line's own tabs.
        if (!IntelliTagMatches(Doc.GetStringLine(L), Criteria))
            continue;
        const std::string Own = Doc.GetLine(L);
        Doc.SetSelection(L, 1, L, static_cast<int>(Own.size()) + 1, false);
        if (Criteria.RequireConfirmation) {
            const TAnswer A = Ask.Confirm(std::string(TransformText::InsertTagsInLine), TQuestionButtons::YesNoCancel);
            if (A == TAnswer::Cancel)
                break;
            if (A != TAnswer::Yes)
                continue;
        }
        if (Doc.InsertPlainText(IntelliTagLine(Own, Criteria)))
            ++Count;
    }
    return Count;
}
