// The entity table against a list of the HTML 2.0 ISO Latin-1 entity names and their code points,
// written out here from the character chart rather than taken from the table.
#include "core/markup/Entities.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const std::map<std::string, int> kLatin1Letters = {
    {"AElig", 198}, {"Aacute", 193}, {"Acirc", 194}, {"Agrave", 192}, {"Aring", 197}, {"Atilde", 195},
    {"Auml", 196}, {"Ccedil", 199}, {"ETH", 208}, {"Eacute", 201}, {"Ecirc", 202}, {"Egrave", 200},
    {"Euml", 203}, {"Iacute", 205}, {"Icirc", 206}, {"Igrave", 204}, {"Iuml", 207}, {"Ntilde", 209},
    {"Oacute", 211}, {"Ocirc", 212}, {"Ograve", 210}, {"Oslash", 216}, {"Otilde", 213}, {"Ouml", 214},
    {"THORN", 222}, {"Uacute", 218}, {"Ucirc", 219}, {"Ugrave", 217}, {"Uuml", 220}, {"Yacute", 221},
    {"aacute", 225}, {"acirc", 226}, {"aelig", 230}, {"agrave", 224}, {"aring", 229}, {"atilde", 227},
    {"auml", 228}, {"ccedil", 231}, {"eacute", 233}, {"ecirc", 234}, {"egrave", 232}, {"eth", 240},
    {"euml", 235}, {"iacute", 237}, {"icirc", 238}, {"igrave", 236}, {"iuml", 239}, {"ntilde", 241},
    {"oacute", 243}, {"ocirc", 244}, {"ograve", 242}, {"oslash", 248}, {"otilde", 245}, {"ouml", 246},
    {"szlig", 223}, {"thorn", 254}, {"uacute", 250}, {"ucirc", 251}, {"ugrave", 249}, {"uuml", 252},
    {"yacute", 253}, {"yuml", 255},
};

// The other named rows: the markup characters, the two signs with names, and the blank and
// hyphen-minus that stand for the no-break space and the soft hyphen.
const std::map<std::string, int> kOtherNames = {
    {"lt", 60}, {"gt", 62}, {"amp", 38}, {"quot", 34}, {"copy", 169}, {"reg", 174}, {"nbsp", 32}, {"shy", 45},
};

} // namespace

TEST(EntityNames, TableMatchesTheLatin1NamesAndNumbersTheRest)
{
    ASSERT_EQ(kLatin1Letters.size(), 62u);
    for (const auto &[name, code] : kLatin1Letters) {
        const std::string entity = "&" + name + ";";
        EXPECT_EQ(EntityForCharacter(static_cast<unsigned char>(code)), entity) << code;
        EXPECT_EQ(CharacterForEntity(entity), code) << entity;
    }
    for (const auto &[name, code] : kOtherNames)
        EXPECT_EQ(CharacterForEntity("&" + name + ";"), code) << name;

    int named = 0, numbered = 0;
    for (const TEntityRow &row : EntityTable()) {
        const std::string entity(row.Entity);
        if (entity.starts_with("&#")) {
            ++numbered;
            EXPECT_EQ(entity, "&#" + std::to_string(row.Code) + ";");
            EXPECT_TRUE((row.Code >= 161 && row.Code <= 191) || row.Code == 247) << entity;
            continue;
        }
        ++named;
        const std::string name = entity.substr(1, entity.size() - 2);
        const auto letter = kLatin1Letters.find(name);
        const auto other = kOtherNames.find(name);
        ASSERT_TRUE(letter != kLatin1Letters.end() || other != kOtherNames.end()) << "not a known name: " << entity;
        EXPECT_EQ(row.Code, letter != kLatin1Letters.end() ? letter->second : other->second) << entity;
    }
    EXPECT_EQ(named, 70);
    EXPECT_EQ(numbered, 30);
    // Names are case-sensitive, and a letter without a row in the list has none in the table.
    EXPECT_EQ(CharacterForEntity("&EACUTE;"), 0);
    EXPECT_EQ(CharacterForEntity("&Szlig;"), 0);
    EXPECT_EQ(EntityForCharacter(215), "");
}
