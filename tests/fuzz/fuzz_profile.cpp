// Fuzz target for the profile (INI) reader and writer: any file content is read without harm;
// values read agree with a plain reading of the format; a write, a key deletion or a section
// erase changes exactly what it names and nothing else, and the file stays readable.
#include "core/settings/Profile.h"

#include "FuzzInput.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

bool Blank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\f' || C == '\v'; }

std::string Trim(std::string_view S)
{
    while (!S.empty() && Blank(S.front()))
        S.remove_prefix(1);
    while (!S.empty() && Blank(S.back()))
        S.remove_suffix(1);
    return std::string(S);
}

std::string Fold(std::string S)
{
    for (char &C : S)
        if (C >= 'A' && C <= 'Z')
            C = static_cast<char>(C + 32);
    return S;
}

// The file as a reader sees it: for every section (by folded name) the keys in file order with
// the first value of each (folded key).
struct TIniModel {
    std::vector<std::string> SectionOrder;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> Keys;
};

TIniModel ReadModel(std::string_view Data)
{
    TIniModel M;
    std::string Current;
    bool InSection = false;
    std::size_t Pos = 0;
    while (Pos < Data.size()) {
        std::size_t Lf = Data.find('\n', Pos);
        std::size_t End = Lf == std::string_view::npos ? Data.size() : Lf;
        std::string Line = Trim(Data.substr(Pos, End - Pos));
        Pos = Lf == std::string_view::npos ? Data.size() : Lf + 1;
        if (Line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            Line = Trim(Line.substr(3));
        if (Line.empty() || Line[0] == ';')
            continue;
        if (Line[0] == '[') {
            const std::size_t Close = Line.find(']');
            Current = Fold(Trim(Line.substr(1, Close == std::string::npos ? std::string::npos : Close - 1)));
            InSection = true;
            if (std::find(M.SectionOrder.begin(), M.SectionOrder.end(), Current) == M.SectionOrder.end())
                M.SectionOrder.push_back(Current);
            M.Keys[Current];
            continue;
        }
        const std::size_t Eq = Line.find('=');
        if (!InSection || Eq == std::string::npos || Trim(Line.substr(0, Eq)).empty())
            continue;
        M.Keys[Current].emplace_back(Trim(Line.substr(0, Eq)), Trim(Line.substr(Eq + 1)));
    }
    return M;
}

// The values a reader finds: section -> folded key -> first value.
std::map<std::string, std::map<std::string, std::string>> Values(const TIniModel &M)
{
    std::map<std::string, std::map<std::string, std::string>> V;
    for (const auto &[Section, Keys] : M.Keys) {
        V[Section];
        for (const auto &[Key, Value] : Keys)
            V[Section].emplace(Fold(Key), Value.substr(0, 1023));
    }
    return V;
}

const char *const SectionNames[] = {"Setup", "setup", "Custom-Test", "Colors", "", "A]B", "Recent Files"};
const char *const KeyNames[] = {"WorkDir", "workdir", "Key", "NoUndo", "File1", "x y", "Font Name"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    static TFuzzScratch Scratch("profile");
    TFuzzInput In(Data, Size);
    const uint8_t Op = In.Byte();
    const std::string Section = In.Bool() ? SectionNames[In.Byte() % 7] : In.TextOf("aB[] =;x", 6);
    const std::string Key = In.Bool() ? KeyNames[In.Byte() % 7] : In.TextOf("kK =;]\t", 5);
    const std::string Value = In.Text(40);
    const std::string_view Content = In.Rest();

    const std::string File = Scratch.Path("PELMAR32.INI");
    TFuzzScratch::Put(File, Content);
    TProfile Ini(File);
    const TIniModel Before = ReadModel(Content);

    // Reading agrees with the plain model for every section and key found in the file.
    const auto BeforeValues = Values(Before);
    for (const auto &[S, Keys] : Before.Keys) {
        FUZZ_CHECK(Ini.SectionExists(S));
        std::vector<std::string> Names;
        for (const auto &KV : Keys)
            Names.push_back(KV.first);
        FUZZ_CHECK(Ini.ReadSection(S) == Names);
        for (const auto &[K, V] : BeforeValues.at(S)) {
            FUZZ_CHECK_MSG(Ini.ReadString(S, K, "\x01") == V, "[" + S + "] " + K + "=" + V + " read as " + Ini.ReadString(S, K, "\x01"));
            FUZZ_CHECK(Ini.ValueExists(S, K));
        }
    }
    const int Number = Ini.ReadInteger(Section, Key, -7);
    (void)Number;
    (void)Ini.ReadSectionValues(Section);

    // One change, then everything not named by it reads as before.
    const bool SaneNames = !Trim(Key).empty() && Key == Trim(Key) && Key.find('=') == std::string::npos &&
                           Key[0] != '[' && Key[0] != ';' && Section == Trim(Section) &&
                           Section.find(']') == std::string::npos;
    std::string ChangedSection = Fold(Section), ChangedKey = Fold(Key);
    try {
        switch (Op % 4) {
        case 0:
        case 1:
            if (!SaneNames)
                return 0;
            Ini.WriteString(Section, Key, Value);
            break;
        case 2:
            Ini.DeleteKey(Section, Key);
            break;
        case 3:
            Ini.EraseSection(Section);
            ChangedKey.clear();
            break;
        }
    } catch (const EProfileError &) {
        FUZZ_CHECK(TFuzzScratch::Get(File) == Content);
        return 0;
    }
    const std::string Stored = TFuzzScratch::Get(File);
    const auto After = Values(ReadModel(Stored));
    auto Expected = BeforeValues;
    if (Op % 4 < 2) {
        std::string V = Value;
        std::replace(V.begin(), V.end(), '\r', ' ');
        std::replace(V.begin(), V.end(), '\n', ' ');
        Expected[ChangedSection][ChangedKey] = Trim(V).substr(0, 1023);
        FUZZ_CHECK(Ini.ReadString(Section, Key, "\x01") == Trim(V).substr(0, 1023));
    } else if (Op % 4 == 2) {
        if (Expected.count(ChangedSection))
            Expected[ChangedSection].erase(ChangedKey);
        FUZZ_CHECK(!Ini.ValueExists(Section, Key));
    } else {
        Expected.erase(ChangedSection);
        FUZZ_CHECK(!Ini.SectionExists(Section));
    }
    // Sections left empty may stay or go only where the change was made.
    for (auto It = Expected.begin(); It != Expected.end();)
        It = It->second.empty() ? Expected.erase(It) : std::next(It);
    auto AfterKept = After;
    for (auto It = AfterKept.begin(); It != AfterKept.end();)
        It = It->second.empty() ? AfterKept.erase(It) : std::next(It);
    FUZZ_CHECK(AfterKept == Expected);
    return 0;
}
