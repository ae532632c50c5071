// Fuzz target for the entity lookups and the two conversions over a document: the integer reader
// and CharacterForEntity are compared with a plain reading of their rules, the conversions with a
// model of their line walks (questions, messages, result and count), and All both ways must
// bring back a text that held no "&".
#include "core/markup/EntityConvert.h"
#include "core/markup/Entities.h"

#include "FuzzInput.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

std::optional<int64_t> ExpectedInteger(std::string_view T)
{
    while (!T.empty() && T.front() == ' ')
        T.remove_prefix(1);
    if (T.empty())
        return std::nullopt;
    if (T.front() == '$') {
        T.remove_prefix(1);
        if (T.empty())
            return std::nullopt;
        uint64_t V = 0;
        for (char C : T) {
            const std::string_view Hex = "0123456789abcdef0123456789ABCDEF";
            const std::size_t D = Hex.find(C);
            if (D == std::string_view::npos)
                return std::nullopt;
            V = V * 16 + D % 16;
            if (V > 0xFFFFFFFFu)
                return std::nullopt;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(V));
    }
    bool Neg = false;
    if (T.front() == '-' || T.front() == '+') {
        Neg = T.front() == '-';
        T.remove_prefix(1);
    }
    if (T.empty())
        return std::nullopt;
    int64_t V = 0;
    for (char C : T) {
        if (C < '0' || C > '9')
            return std::nullopt;
        V = V * 10 + (C - '0');
        if (V > (int64_t{1} << 31))
            return std::nullopt;
    }
    V = Neg ? -V : V;
    if (V > INT32_MAX || V < INT32_MIN)
        return std::nullopt;
    return V;
}

unsigned char ExpectedCharacter(std::string_view T)
{
    if (T.size() >= 3 && T.substr(0, 2) == "&#" && T.back() == ';') {
        const auto V = ExpectedInteger(T.substr(2, T.size() - 3));
        return V ? static_cast<unsigned char>(*V & 0xFF) : 0;
    }
    for (const TEntityRow &Row : EntityTable())
        if (Row.Entity == T)
            return Row.Code;
    return 0;
}

class TScriptedQuestions final : public TMarkupQuestions {
public:
    TScriptedQuestions(const uint8_t *Data, std::size_t Size) : In(Data, Size) {}
    TAnswer Confirm(const std::string &Msg, TQuestionButtons Buttons) override
    {
        Log.push_back("?" + Msg);
        return Answer(Buttons == TQuestionButtons::YesNo ? 2 : 3);
    }
    void Inform(const std::string &Msg) override { Log.push_back("!" + Msg); }
    TAnswer Answer(int N) { return std::array{TAnswer::Yes, TAnswer::No, TAnswer::All}[In.Byte() % N]; }

    TFuzzInput In;
    std::vector<std::string> Log;
};

std::string Ch(unsigned char C) { return std::string(1, static_cast<char>(C)); }

struct TModelRun {
    std::vector<std::string> Lines;
    std::vector<std::string> Log;
    int Count = 0;
    bool Valid = true; // false when a produced line break makes the model inapplicable
};

TModelRun CharactersModel(std::vector<std::string> Lines, const uint8_t *Answers, std::size_t N)
{
    TModelRun R;
    TScriptedQuestions Tape(Answers, N);
    R.Log.push_back("?Confirm each replacement?");
    bool Confirm = Tape.Answer(2) == TAnswer::Yes;
    for (std::string &Line : Lines) {
        for (std::size_t P = 0; P < Line.size();) {
            const auto C = static_cast<unsigned char>(Line[P]);
            if (C < 161) {
                ++P;
                continue;
            }
            const std::string_view E = EntityForCharacter(C);
            if (E.empty()) {
                R.Log.push_back("!No Entity for this Character: " + Ch(C));
                ++P;
                continue;
            }
            bool Replace = true;
            if (Confirm) {
                R.Log.push_back("?Replace " + Ch(C) + " with &" + std::string(E) + " ?");
                const TAnswer A = Tape.Answer(3);
                Replace = A != TAnswer::No;
                Confirm = A != TAnswer::All;
            }
            if (Replace) {
                Line.replace(P, 1, E);
                P += E.size();
                ++R.Count;
            } else {
                ++P;
            }
        }
    }
    R.Log.push_back(R.Count == 0 ? "!No Characters Converted." : "!Characters Converted: " + std::to_string(R.Count));
    R.Lines = std::move(Lines);
    return R;
}

TModelRun EntitiesModel(std::vector<std::string> Lines, const uint8_t *Answers, std::size_t N)
{
    TModelRun R;
    TScriptedQuestions Tape(Answers, N);
    R.Log.push_back("?Confirm each replacement?");
    bool Confirm = Tape.Answer(2) == TAnswer::Yes;
    for (std::string &Line : Lines) {
        std::size_t D = 0;
        for (;;) {
            std::size_t Start = std::string::npos, End = std::string::npos;
            for (std::size_t P = D; P < Line.size() && End == std::string::npos; ++P)
                if (Line[P] == '&')
                    Start = P;
                else if (Line[P] == ';' && Start != std::string::npos)
                    End = P;
            if (End == std::string::npos)
                break;
            const std::string Cand = Line.substr(Start, End - Start + 1);
            const unsigned char C = ExpectedCharacter(Cand);
            if (C == 0) {
                R.Log.push_back("!Unknown Entity: &" + Cand);
                D = End + 1;
                continue;
            }
            bool Replace = true;
            if (Confirm) {
                R.Log.push_back("?Replace &" + Cand + " with " + Ch(C) + " ?");
                const TAnswer A = Tape.Answer(3);
                Replace = A != TAnswer::No;
                Confirm = A != TAnswer::All;
            }
            if (!Replace) {
                D = End + 1;
                continue;
            }
            if (C == '\r' || C == '\n') {
                R.Valid = false;
                return R;
            }
            Line.replace(Start, Cand.size(), Ch(C));
            D = Start + 1;
            ++R.Count;
        }
    }
    R.Log.push_back(R.Count < 1 ? "!No Entities Converted." : "!Entities Converted: " + std::to_string(R.Count));
    R.Lines = std::move(Lines);
    return R;
}

std::vector<std::string> SplitLines(std::string_view Text)
{
    std::vector<std::string> Lines(1);
    for (char C : Text)
        if (C == '\n')
            Lines.emplace_back();
        else if (C != '\r')
            Lines.back() += C;
    return Lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const std::string_view Whole(reinterpret_cast<const char *>(Data), Size);
    FUZZ_CHECK(CharacterForEntity(Whole) == ExpectedCharacter(Whole));
    const auto Parsed = ParseRuntimeInteger(Whole);
    const auto Expected = ExpectedInteger(Whole);
    FUZZ_CHECK(Parsed.has_value() == Expected.has_value());
    FUZZ_CHECK(!Parsed || *Parsed == *Expected);
    const auto Value = EntityByCharacterValue(Whole);
    FUZZ_CHECK(Value.has_value() == (Expected.has_value() && *Expected != -1));
    FUZZ_CHECK(!Value || *Value == "&#" + std::string(Whole) + ";");
    // Every "&...;" piece of the input, as the conversion would cut it.
    for (std::size_t At = Whole.find('&'); At != std::string_view::npos; At = Whole.find('&', At + 1)) {
        const std::size_t End = Whole.find(';', At);
        if (End == std::string_view::npos)
            break;
        const std::string_view Cand = Whole.substr(At, End - At + 1);
        FUZZ_CHECK(CharacterForEntity(Cand) == ExpectedCharacter(Cand));
    }

    // The conversions: answers from the first bytes, the document from the rest.
    const std::size_t AnswerCount = std::min<std::size_t>(Size, 24);
    const std::vector<std::string> Lines = SplitLines(Whole.substr(std::min<std::size_t>(Size, 4), 2000));
    {
        TStringLineDocument Doc(Lines);
        TScriptedQuestions Ask(Data, AnswerCount);
        const int Count = ConvertCharactersToEntities(Doc, Ask);
        const TModelRun M = CharactersModel(Lines, Data, AnswerCount);
        FUZZ_CHECK(Doc.Lines() == M.Lines);
        FUZZ_CHECK(Ask.Log == M.Log);
        FUZZ_CHECK(Count == M.Count);
    }
    {
        TStringLineDocument Doc(Lines);
        TScriptedQuestions Ask(Data, AnswerCount);
        const int Count = ConvertEntitiesToCharacters(Doc, Ask);
        const TModelRun M = EntitiesModel(Lines, Data, AnswerCount);
        if (M.Valid) {
            FUZZ_CHECK(Doc.Lines() == M.Lines);
            FUZZ_CHECK(Ask.Log == M.Log);
            FUZZ_CHECK(Count == M.Count);
        }
    }
    // All both ways: a text without "&" comes back whole, and only 215 keeps a high code.
    if (Whole.find('&') == std::string_view::npos) {
        const uint8_t AllAnswers[] = {0, 2};
        TStringLineDocument Doc(Lines);
        TScriptedQuestions AskC(AllAnswers, 2);
        ConvertCharactersToEntities(Doc, AskC);
        for (const std::string &L : Doc.Lines())
            for (char C : L)
                FUZZ_CHECK(static_cast<unsigned char>(C) < 161 || static_cast<unsigned char>(C) == 215);
        TScriptedQuestions AskE(AllAnswers, 2);
        ConvertEntitiesToCharacters(Doc, AskE);
        FUZZ_CHECK(Doc.Lines() == Lines);
    }
    return 0;
}
