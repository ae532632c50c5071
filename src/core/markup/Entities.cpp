// The character entity table, its two lookups, the names of HTML 4's character entities, the runtime
// integer reader and the value-entity text.
#include "core/markup/Entities.h"

#include "core/editor/Encoding.h"

#include <algorithm>
#include <array>

namespace {

// Order matters: the lookups are linear and the first match wins. Markup characters first, then
// the small and capital Latin-1 letters, the division sign, and the signs from 161 to 191.
constexpr std::array<TEntityRow, 100> Rows = {{
    {60, "&lt;"}, {62, "&gt;"}, {38, "&amp;"}, {34, "&quot;"},
    {32, "&nbsp;"}, {45, "&shy;"}, {224, "&agrave;"}, {225, "&aacute;"},
    {226, "&acirc;"}, {227, "&atilde;"}, {228, "&auml;"}, {229, "&aring;"},
    {230, "&aelig;"}, {231, "&ccedil;"}, {232, "&egrave;"}, {233, "&eacute;"},
    {234, "&ecirc;"}, {235, "&euml;"}, {236, "&igrave;"}, {237, "&iacute;"},
    {238, "&icirc;"}, {239, "&iuml;"}, {240, "&eth;"}, {241, "&ntilde;"},
    {242, "&ograve;"}, {243, "&oacute;"}, {244, "&ocirc;"}, {245, "&otilde;"},
    {246, "&ouml;"}, {248, "&oslash;"}, {249, "&ugrave;"}, {250, "&uacute;"},
    {251, "&ucirc;"}, {252, "&uuml;"}, {253, "&yacute;"}, {254, "&thorn;"},
    {255, "&yuml;"}, {192, "&Agrave;"}, {193, "&Aacute;"}, {194, "&Acirc;"},
    {195, "&Atilde;"}, {196, "&Auml;"}, {197, "&Aring;"}, {198, "&AElig;"},
    {199, "&Ccedil;"}, {200, "&Egrave;"}, {201, "&Eacute;"}, {202, "&Ecirc;"},
    {203, "&Euml;"}, {204, "&Igrave;"}, {205, "&Iacute;"}, {206, "&Icirc;"},
    {207, "&Iuml;"}, {208, "&ETH;"}, {209, "&Ntilde;"}, {210, "&Ograve;"},
    {211, "&Oacute;"}, {212, "&Ocirc;"}, {213, "&Otilde;"}, {214, "&Ouml;"},
    {216, "&Oslash;"}, {217, "&Ugrave;"}, {218, "&Uacute;"}, {219, "&Ucirc;"},
    {220, "&Uuml;"}, {221, "&Yacute;"}, {222, "&THORN;"}, {223, "&szlig;"},
    {247, "&#247;"}, {161, "&#161;"}, {162, "&#162;"}, {163, "&#163;"},
    {164, "&#164;"}, {165, "&#165;"}, {166, "&#166;"}, {167, "&#167;"},
    {168, "&#168;"}, {169, "&copy;"}, {170, "&#170;"}, {171, "&#171;"},
    {172, "&#172;"}, {173, "&#173;"}, {174, "&reg;"}, {175, "&#175;"},
    {176, "&#176;"}, {177, "&#177;"}, {178, "&#178;"}, {179, "&#179;"},
    {180, "&#180;"}, {181, "&#181;"}, {182, "&#182;"}, {183, "&#183;"},
    {184, "&#184;"}, {185, "&#185;"}, {186, "&#186;"}, {187, "&#187;"},
    {188, "&#188;"}, {189, "&#189;"}, {190, "&#190;"}, {191, "&#191;"},
}};

// HTML 4's character entities: the Latin-1 set, the symbols and Greek letters, the special set.
constexpr std::array<std::string_view, 252> Html4Names = {
    "nbsp", "iexcl", "cent", "pound", "curren", "yen", "brvbar", "sect", "uml", "copy", "ordf", "laquo", "not",
    "shy", "reg", "macr", "deg", "plusmn", "sup2", "sup3", "acute", "micro", "para", "middot", "cedil", "sup1",
    "ordm", "raquo", "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc", "Atilde", "Auml",
    "Aring", "AElig", "Ccedil", "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml", "ETH",
    "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", "times", "Oslash", "Ugrave", "Uacute", "Ucirc",
    "Uuml", "Yacute", "THORN", "szlig", "agrave", "aacute", "acirc", "atilde", "auml", "aring", "aelig",
    "ccedil", "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc", "iuml", "eth", "ntilde",
    "ograve", "oacute", "ocirc", "otilde", "ouml", "divide", "oslash", "ugrave", "uacute", "ucirc", "uuml",
    "yacute", "thorn", "yuml",
    "fnof", "Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta", "Theta", "Iota", "Kappa", "Lambda",
    "Mu", "Nu", "Xi", "Omicron", "Pi", "Rho", "Sigma", "Tau", "Upsilon", "Phi", "Chi", "Psi", "Omega", "alpha",
    "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota", "kappa", "lambda", "mu", "nu", "xi",
    "omicron", "pi", "rho", "sigmaf", "sigma", "tau", "upsilon", "phi", "chi", "psi", "omega", "thetasym",
    "upsih", "piv", "bull", "hellip", "prime", "Prime", "oline", "frasl", "weierp", "image", "real", "trade",
    "alefsym", "larr", "uarr", "rarr", "darr", "harr", "crarr", "lArr", "uArr", "rArr", "dArr", "hArr",
    "forall", "part", "exist", "empty", "nabla", "isin", "notin", "ni", "prod", "sum", "minus", "lowast",
    "radic", "prop", "infin", "ang", "and", "or", "cap", "cup", "int", "there4", "sim", "cong", "asymp", "ne",
    "equiv", "le", "ge", "sub", "sup", "nsub", "sube", "supe", "oplus", "otimes", "perp", "sdot", "lceil",
    "rceil", "lfloor", "rfloor", "lang", "rang", "loz", "spades", "clubs", "hearts", "diams",
    "quot", "amp", "lt", "gt", "OElig", "oelig", "Scaron", "scaron", "Yuml", "circ", "tilde", "ensp", "emsp",
    "thinsp", "zwnj", "zwj", "lrm", "rlm", "ndash", "mdash", "lsquo", "rsquo", "sbquo", "ldquo", "rdquo",
    "bdquo", "dagger", "Dagger", "permil", "lsaquo", "rsaquo", "euro",
};

std::string CharText(unsigned char Code) { return std::string(1, static_cast<char>(Code)); }

}  // namespace

std::span<const TEntityRow> EntityTable() { return Rows; }

std::string_view EntityForCharacter(unsigned char Code)
{
    for (const TEntityRow &Row : Rows)
        if (Row.Code == Code)
            return Row.Entity;
    return {};
}

std::span<const std::string_view> Html4EntityNames() { return Html4Names; }

bool IsHtml4EntityName(std::string_view Name)
{
    return std::find(Html4Names.begin(), Html4Names.end(), Name) != Html4Names.end();
}

unsigned char CharacterForEntity(std::string_view Text)
{
    if (Text.size() >= 3 && Text.starts_with("&#") && Text.ends_with(';')) {
        std::optional<int32_t> Value = ParseRuntimeInteger(Text.substr(2, Text.size() - 3));
        return Value ? static_cast<unsigned char>(static_cast<uint32_t>(*Value) & 0xFFu) : 0;
    }
    for (const TEntityRow &Row : Rows)
        if (Row.Entity == Text)
            return Row.Code;
    return 0;
}

std::string CharacterButtonMarkup(unsigned char Code, bool UseActualCharacters)
{
    if (!UseActualCharacters) {
        std::string_view Entity = EntityForCharacter(Code);
        if (!Entity.empty())
            return std::string(Entity);
    }
    return CharText(Code);
}

std::optional<int32_t> ParseRuntimeInteger(std::string_view Text)
{
    std::size_t i = 0;
    while (i < Text.size() && Text[i] == ' ')
        ++i;
    if (i == Text.size())
        return std::nullopt;
    if (Text[i] == '$') {
        ++i;
        if (i == Text.size())
            return std::nullopt;
        uint64_t Value = 0;
        for (; i < Text.size(); ++i) {
            char c = Text[i];
            unsigned Digit;
            if (c >= '0' && c <= '9')
                Digit = unsigned(c - '0');
            else if (c >= 'a' && c <= 'f')
                Digit = unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                Digit = unsigned(c - 'A' + 10);
            else
                return std::nullopt;
            Value = Value * 16 + Digit;
            if (Value > 0xFFFFFFFFull)
                return std::nullopt;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(Value));
    }
    bool Negative = false;
    if (Text[i] == '+' || Text[i] == '-') {
        Negative = Text[i] == '-';
        ++i;
    }
    if (i == Text.size())
        return std::nullopt;
    int64_t Value = 0;
    for (; i < Text.size(); ++i) {
        char c = Text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        Value = Value * 10 + (c - '0');
        if (Value > 2147483648LL)
            return std::nullopt;
    }
    if (Negative)
        Value = -Value;
    if (Value > 2147483647LL)
        return std::nullopt;
    return static_cast<int32_t>(Value);
}

std::optional<std::string> EntityByCharacterValue(std::string_view Answer)
{
    std::optional<int32_t> Value = ParseRuntimeInteger(Answer);
    if (!Value || *Value == -1)
        return std::nullopt;
    return "&#" + std::string(Answer) + ";";
}

std::string NoEntityMessage(unsigned char Code) { return NoEntityMessage(CharText(Code)); }

std::string NoEntityMessage(std::string_view Character)
{
    return "No Entity for this Character: " + std::string(Character);
}

std::string ReplaceCharacterQuestion(std::string_view Character, std::string_view Entity)
{
    return "Replace " + std::string(Character) + " with &" + std::string(Entity) + " ?";
}

std::string ReplaceEntityQuestion(std::string_view Candidate, std::string_view Character)
{
    return "Replace &" + std::string(Candidate) + " with " + std::string(Character) + " ?";
}

char32_t CodePointForEntity(std::string_view Text)
{
    if (Text.size() > 3 && Text.substr(0, 2) == "&#" && Text.back() == ';') {
        const std::optional<int32_t> Value = ParseRuntimeInteger(Text.substr(2, Text.size() - 3));
        if (Value && *Value > 255 && *Value <= 0x10FFFF && !(*Value >= 0xD800 && *Value <= 0xDFFF))
            return static_cast<char32_t>(*Value);
    }
    const unsigned char Code = CharacterForEntity(Text);
    return Code == 0 ? 0 : Windows1252ToCodePoint(Code);
}

std::string ReplaceCharacterQuestion(unsigned char Code, std::string_view Entity)
{
    return ReplaceCharacterQuestion(CharText(Code), Entity);
}

std::string UnknownEntityMessage(std::string_view Candidate) { return "Unknown Entity: &" + std::string(Candidate); }

std::string ReplaceEntityQuestion(std::string_view Candidate, unsigned char Code)
{
    return ReplaceEntityQuestion(Candidate, CharText(Code));
}

std::string CharactersConvertedMessage(int Count)
{
    if (Count == 0)
        return std::string(EntityText::NoCharactersConverted);
    return "Characters Converted: " + std::to_string(Count);
}

std::string EntitiesConvertedMessage(int Count)
{
    if (Count < 1)
        return std::string(EntityText::NoEntitiesConverted);
    return "Entities Converted: " + std::to_string(Count);
}
