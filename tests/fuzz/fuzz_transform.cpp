// Fuzz target for the text transformations: Remove HTML Tags (whole and streamed), the line
// splitter, the list makers, the comment line, Auto Paragraph Format and Intelligent Tag Insert,
// each compared with a plain second implementation of the same rules.
#include "core/markup/SaveWithoutTags.h"
#include "core/markup/TagCase.h"
#include "core/markup/TextTransform.h"

#include "FuzzInput.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string ExpectedTagsRemoved(std::string_view Text)
{
    std::string Out;
    bool InTag = false;
    for (char C : Text) {
        if (C == '<')
            InTag = true;
        if (!InTag)
            Out += C;
        if (C == '>')
            InTag = false;
    }
    return Out;
}

std::vector<std::string> ExpectedLines(std::string_view Text)
{
    std::vector<std::string> Lines;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        std::size_t End = Text.find_first_of("\r\n", Start);
        if (End == std::string_view::npos) {
            Lines.emplace_back(Text.substr(Start));
            break;
        }
        Lines.emplace_back(Text.substr(Start, End - Start));
        Start = End + (Text.compare(End, 2, "\r\n") == 0 ? 2 : 1);
    }
    return Lines;
}

std::string Upper(std::string S)
{
    for (char &C : S)
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 32);
    return S;
}

std::string Tag(const std::string &T, bool Lower) { return Lower ? ApplyTagCase(T, true) : T; }

std::string ExpectedList(std::string_view Text, const std::string &Element, bool Lower)
{
    std::string Out = Tag("<" + Element + ">", Lower) + "\r\n";
    for (const std::string &L : ExpectedLines(Text)) {
        if (L.empty() || Upper(L).find("<LI>") != std::string::npos)
            Out += L;
        else
            Out += Tag("<LI>", Lower) + L + Tag("</LI>", Lower);
        Out += "\r\n";
    }
    return Out + Tag("</" + Element + ">", Lower) + "\r\n";
}

std::string ExpectedDefinitionList(std::string_view Text, bool Lower)
{
    std::string Out = Tag("<DL>", Lower) + "\r\n";
    bool First = true;
    for (const std::string &L : ExpectedLines(Text)) {
        if (!L.empty())
            Out += Tag(First ? "<DT>" : "<DD>", Lower);
        Out += L + "\r\n";
        First = false;
    }
    return Out + Tag("</DL>", Lower) + "\r\n";
}

// Answers taken from the input; every question and message is recorded.
class TScriptedQuestions final : public TMarkupQuestions {
public:
    explicit TScriptedQuestions(TFuzzInput &In) : In(In) {}
    TAnswer Confirm(const std::string &Msg, TQuestionButtons Buttons) override
    {
        Log.push_back("?" + Msg);
        const int N = Buttons == TQuestionButtons::YesNo ? 2 : 3;
        const TAnswer Choices[] = {TAnswer::Yes, TAnswer::No,
                                   Buttons == TQuestionButtons::YesNoAll ? TAnswer::All : TAnswer::Cancel};
        return Choices[In.Byte() % N];
    }
    void Inform(const std::string &Msg) override { Log.push_back("!" + Msg); }

    TFuzzInput &In;
    std::vector<std::string> Log;
};

// The answers a model of a command reads, in the same order as the command asks.
class TAnswerTape {
public:
    TAnswerTape(const uint8_t *Data, std::size_t Size) : In(Data, Size) {}
    TAnswer Next(int N, TAnswer Third) { return std::array{TAnswer::Yes, TAnswer::No, Third}[In.Byte() % N]; }
    TFuzzInput In;
};

std::vector<std::string> DocumentLines(std::string_view Text)
{
    std::vector<std::string> Lines(1);
    for (char C : Text) {
        if (C == '\n')
            Lines.emplace_back();
        else if (C != '\r')
            Lines.back() += C;
    }
    return Lines;
}

void CheckAutoParagraph(const std::vector<std::string> &Lines, int L1, int C1, int L2, int C2, bool Lower,
                        const uint8_t *Answers, std::size_t AnswerCount)
{
    TStringLineDocument Doc(Lines);
    Doc.SetLowerCaseTags(Lower);
    Doc.SetSelection(L1, C1, L2, C2, true);
    int S1, S2, D1, D2;
    const bool Selected = Doc.GetSelection(S1, D1, S2, D2);

    TFuzzInput AnswerInput(Answers, AnswerCount);
    TScriptedQuestions Ask(AnswerInput);
    const int Count = AutoParagraphFormat(Doc, Ask);

    std::vector<std::string> Model = Lines, Log;
    int ModelCount = 0;
    TAnswerTape Tape(Answers, AnswerCount);
    if (!Selected) {
        Log.push_back("!No Text Selected");
    } else {
        Log.push_back("?Confirm paragraph Tag Insertions?");
        const TAnswer First = Tape.Next(3, TAnswer::Cancel);
        bool Insert = true;
        for (int L = S1; First != TAnswer::Cancel && L < S2; ++L) {
            std::string &Line = Model[static_cast<std::size_t>(L - 1)];
            if (Line.empty() || !Model[static_cast<std::size_t>(L)].empty())
                continue;
            if (First == TAnswer::Yes) {
                Log.push_back("?Insert Paragraph Tag?");
                const TAnswer A = Tape.Next(3, TAnswer::Cancel);
                if (A == TAnswer::Cancel)
                    break;
                Insert = A == TAnswer::Yes;
            }
            if (Insert) {
                Line += Tag("<P>", Lower);
                ++ModelCount;
            }
        }
    }
    FUZZ_CHECK(Doc.Lines() == Model);
    FUZZ_CHECK(Ask.Log == Log);
    FUZZ_CHECK(Count == ModelCount);
}

std::string Expand(const std::string &Line, int TabSize)
{
    std::string Out;
    for (char C : Line)
        if (C == '\t')
            Out.append(static_cast<std::size_t>(TabSize - static_cast<int>(Out.size()) % TabSize), ' ');
        else
            Out += C;
    return Out;
}

void CheckIntelliTag(const std::vector<std::string> &Lines, int TabSize, const TIntelliTagCriteria &Crit,
                     const uint8_t *Answers, std::size_t AnswerCount)
{
    TStringLineDocument Doc(Lines, TabSize);
    TFuzzInput AnswerInput(Answers, AnswerCount);
    TScriptedQuestions Ask(AnswerInput);
    const int Count = IntelligentTagInsert(Doc, Ask, Crit);

    // Tags holding line breaks add lines as they go in: only the run itself is checked then.
    if (Crit.FirstTag.find_first_of("\r\n") != std::string::npos ||
        Crit.SecondTag.find_first_of("\r\n") != std::string::npos)
        return;
    std::vector<std::string> Model = Lines;
    int ModelCount = 0;
    TAnswerTape Tape(Answers, AnswerCount);
    const std::string Key = Crit.CaseSensitive ? Crit.SearchFor : Upper(Crit.SearchFor);
    for (std::string &Line : Model) {
        const std::string Shown = Expand(Line, TabSize);
        const std::string Compared = Crit.CaseSensitive ? Shown : Upper(Shown);
        const std::size_t At = Key.empty() ? std::string::npos : Compared.find(Key);
        bool Match = At != std::string::npos;
        if (Match && Crit.Mode == TMatchMode::StartingWith)
            Match = At == 0;
        if (Match && Crit.Mode == TMatchMode::EndingWith)
            Match = At + Key.size() == Compared.size();
        if (!Match)
            continue;
        if (Crit.RequireConfirmation) {
            const TAnswer A = Tape.Next(3, TAnswer::Cancel);
            if (A == TAnswer::Cancel)
                break;
            if (A == TAnswer::No)
                continue;
        }
        if (Crit.Placement == TTagPlacement::StartOfLine)
            Line = Crit.FirstTag + Line;
        else if (Crit.Placement == TTagPlacement::EndOfLine)
            Line += Crit.FirstTag;
        else
            Line = Crit.FirstTag + Line + Crit.SecondTag;
        ++ModelCount;
    }
    FUZZ_CHECK(Doc.Lines() == Model);
    FUZZ_CHECK(Count == ModelCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    TFuzzInput In(Data, Size);
    const uint8_t Mode = In.Byte();
    const bool Lower = (Mode & 1) != 0;
    const unsigned Step = 1 + (Mode >> 4);
    const uint8_t *AnswerData = Data + (Size > 0 ? 1 : 0);
    const std::size_t AnswerCount = std::min<std::size_t>(In.Remaining(), 16);
    const int L1 = In.Int(0, 40), C1 = In.Int(0, 40), L2 = In.Int(0, 40), C2 = In.Int(0, 40);
    TIntelliTagCriteria Crit;
    Crit.Mode = static_cast<TMatchMode>(In.Byte() % 3);
    Crit.Placement = static_cast<TTagPlacement>(In.Byte() % 3);
    Crit.CaseSensitive = In.Bool();
    Crit.RequireConfirmation = In.Bool();
    Crit.SearchFor = In.Text(6);
    Crit.FirstTag = In.Text(6);
    Crit.SecondTag = In.Text(6);
    const int TabSize = In.Int(1, 9);
    const std::string_view Text = In.Rest();

    const std::string Stripped = RemoveHTMLTags(Text);
    FUZZ_CHECK(Stripped == ExpectedTagsRemoved(Text));
    TTagStripper Stream;
    std::string Pieces;
    for (std::size_t At = 0; At < Text.size(); At += Step)
        Pieces += Stream.Feed(Text.substr(At, Step));
    FUZZ_CHECK(Pieces == Stripped);
    FUZZ_CHECK(RemoveHTMLTags(Stripped).size() <= Stripped.size());

    FUZZ_CHECK(SplitSelectionLines(Text) == ExpectedLines(Text));
    for (const char *Element : {"UL", "OL", "MENU", "DIR"})
        FUZZ_CHECK(MakeList(Text, Element, Lower) == ExpectedList(Text, Element, Lower));
    FUZZ_CHECK(MakeDefinitionList(Text, Lower) == ExpectedDefinitionList(Text, Lower));
    std::string Comment = "<!-- " + std::string(Text);
    if (Text.size() < 44)
        Comment.append(44 - Text.size(), ' ');
    FUZZ_CHECK(CommentLine(Text) == Comment + " -->\n");

    const std::vector<std::string> Lines = DocumentLines(Text.substr(0, 600));
    CheckAutoParagraph(Lines, L1, C1, L2, C2, Lower, AnswerData, AnswerCount);
    CheckIntelliTag(Lines, TabSize, Crit, AnswerData, AnswerCount);
    return 0;
}
