// The entity table, its lookups, the integer reader, and the two whole-document conversions.
#include "core/markup/EntityConvert.h"
#include "core/markup/Entities.h"
#include "ScriptedQuestions.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string Ch(unsigned char c) { return std::string(1, static_cast<char>(c)); }

// One paragraph shown as display lines of at most Width characters, re-wrapped after each edit.
class TWrappedDocument final : public TLineDocument {
public:
    TWrappedDocument(std::string Text, std::size_t Width) : Para(std::move(Text)), Width(Width) {}
    std::string Para;

    int LineCount() override { return Para.empty() ? 1 : static_cast<int>((Para.size() + Width - 1) / Width); }
    std::string GetLine(int Line) override { return Para.substr(Offset(Line, 1), Width); }
    std::string GetStringLine(int Line) override { return GetLine(Line); }
    bool GetSelection(int &, int &, int &, int &) override { return SelEnd > SelStart; }
    void SetSelection(int Line1, int Col1, int Line2, int Col2, bool) override
    {
        SelStart = Offset(Line1, Col1);
        SelEnd = Offset(Line2, Col2);
    }
    void SetCaretPosition(int Line, int Col) override { SelStart = SelEnd = Offset(Line, Col); }
    bool InsertPlainText(const std::string &Text) override
    {
        Para.replace(SelStart, SelEnd - SelStart, Text);
        SelStart = SelEnd = SelStart + Text.size();
        return true;
    }
    bool InsertMarkup(const std::string &Text) override { return InsertPlainText(Text); }

private:
    std::size_t Offset(int Line, int Col) const { return std::min(Para.size(), (Line - 1) * Width + Col - 1); }
    std::size_t Width;
    std::size_t SelStart = 0, SelEnd = 0;
};

}  // namespace

TEST(EntityTable, OrderAndContents)
{
    auto Table = EntityTable();
    ASSERT_EQ(Table.size(), 100u);
    std::set<int> Codes;
    std::set<std::string_view> Names;
    for (const TEntityRow &Row : Table) {
        Codes.insert(Row.Code);
        Names.insert(Row.Entity);
        EXPECT_LE(Row.Entity.size(), 8u) << Row.Entity;
        EXPECT_EQ(Row.Entity.front(), '&');
        EXPECT_EQ(Row.Entity.back(), ';');
    }
    EXPECT_EQ(Codes.size(), 100u);
    EXPECT_EQ(Names.size(), 100u);

    // Markup characters first, then small letters, capitals, the division sign, the signs.
    const unsigned char First[] = {60, 62, 38, 34, 32, 45};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Table[i].Code, First[i]);
    EXPECT_EQ(Table[6].Code, 224);
    EXPECT_EQ(Table[36].Code, 255);
    EXPECT_EQ(Table[37].Code, 192);
    EXPECT_EQ(Table[67].Code, 223);
    EXPECT_EQ(Table[68].Code, 247);
    EXPECT_EQ(Table[69].Code, 161);
    EXPECT_EQ(Table[99].Code, 191);
    for (int i = 7; i < 37; ++i)
        EXPECT_GT(Table[i].Code, Table[i - 1].Code);

    EXPECT_EQ(EntityForCharacter(233), "&eacute;");
    EXPECT_EQ(EntityForCharacter(201), "&Eacute;");
    EXPECT_EQ(EntityForCharacter(198), "&AElig;");
    EXPECT_EQ(EntityForCharacter(208), "&ETH;");
    EXPECT_EQ(EntityForCharacter(222), "&THORN;");
    EXPECT_EQ(EntityForCharacter(223), "&szlig;");
    EXPECT_EQ(EntityForCharacter(248), "&oslash;");
    EXPECT_EQ(EntityForCharacter(169), "&copy;");
    EXPECT_EQ(EntityForCharacter(174), "&reg;");
    EXPECT_EQ(EntityForCharacter(177), "&#177;");
    EXPECT_EQ(EntityForCharacter(247), "&#247;");
    EXPECT_EQ(EntityForCharacter(32), "&nbsp;");
    EXPECT_EQ(EntityForCharacter(45), "&shy;");
    EXPECT_EQ(EntityForCharacter(215), "");
    EXPECT_EQ(EntityForCharacter(160), "");
    EXPECT_EQ(EntityForCharacter(173), "&#173;");
    EXPECT_EQ(EntityForCharacter('A'), "");
}

TEST(EntityTable, RoundTripsAndNumericQuirks)
{
    for (const TEntityRow &Row : EntityTable())
        EXPECT_EQ(CharacterForEntity(Row.Entity), Row.Code) << Row.Entity;

    EXPECT_EQ(CharacterForEntity("&AMP;"), 0);      // names are case-sensitive
    EXPECT_EQ(CharacterForEntity("&eacute"), 0);
    EXPECT_EQ(CharacterForEntity("eacute;"), 0);
    EXPECT_EQ(CharacterForEntity("&#65;"), 'A');
    EXPECT_EQ(CharacterForEntity("&#321;"), 'A');   // low 8 bits
    EXPECT_EQ(CharacterForEntity("&#256;"), 0);
    EXPECT_EQ(CharacterForEntity("&#x41;"), 0);
    EXPECT_EQ(CharacterForEntity("&#;"), 0);
    EXPECT_EQ(CharacterForEntity("&#  65;"), 'A');  // leading blanks
    EXPECT_EQ(CharacterForEntity("&#65 ;"), 0);     // nothing may follow
    EXPECT_EQ(CharacterForEntity("&#+65;"), 'A');
    EXPECT_EQ(CharacterForEntity("&#-191;"), 'A');  // two's complement low byte
    EXPECT_EQ(CharacterForEntity("&#$41;"), 'A');
    EXPECT_EQ(CharacterForEntity("&#$e9;"), 0xE9);
    EXPECT_EQ(CharacterForEntity("&#$;"), 0);
    EXPECT_EQ(CharacterForEntity("&#2147483713;"), 0);  // out of range is an error, not wrapped
    EXPECT_EQ(CharacterForEntity("&#233;"), 233);   // numeric texts never consult the table
}

TEST(EntityTable, RuntimeIntegerReader)
{
    EXPECT_EQ(ParseRuntimeInteger("42"), 42);
    EXPECT_EQ(ParseRuntimeInteger("   -17"), -17);
    EXPECT_EQ(ParseRuntimeInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseRuntimeInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseRuntimeInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseRuntimeInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(ParseRuntimeInteger("$100000000"), std::nullopt);
    EXPECT_EQ(ParseRuntimeInteger("-$10"), std::nullopt);
    EXPECT_EQ(ParseRuntimeInteger("$-10"), std::nullopt);
    EXPECT_EQ(ParseRuntimeInteger(""), std::nullopt);
    EXPECT_EQ(ParseRuntimeInteger("   "), std::nullopt);
    EXPECT_EQ(ParseRuntimeInteger("-"), std::nullopt);
    EXPECT_EQ(ParseRuntimeInteger("12 "), std::nullopt);
    EXPECT_EQ(ParseRuntimeInteger("1e3"), std::nullopt);
    EXPECT_EQ(ParseRuntimeInteger("0x41"), std::nullopt);
}

TEST(EntityTable, ValueEntityAndButtons)
{
    EXPECT_EQ(EntityByCharacterValue("65"), "&#65;");
    EXPECT_EQ(EntityByCharacterValue("300"), "&#300;");     // not range-checked
    EXPECT_EQ(EntityByCharacterValue(" 65"), "&# 65;");     // kept as typed
    EXPECT_EQ(EntityByCharacterValue("-1"), std::nullopt);
    EXPECT_EQ(EntityByCharacterValue("$FFFFFFFF"), std::nullopt);
    EXPECT_EQ(EntityByCharacterValue("abc"), std::nullopt);
    EXPECT_EQ(EntityByCharacterValue(""), std::nullopt);

    EXPECT_EQ(CharacterButtonMarkup(233, false), "&eacute;");
    EXPECT_EQ(CharacterButtonMarkup(169, false), "&copy;");
    EXPECT_EQ(CharacterButtonMarkup(189, false), "&#189;");
    EXPECT_EQ(CharacterButtonMarkup('&', false), "&amp;");
    EXPECT_EQ(CharacterButtonMarkup(215, false), Ch(215));
    EXPECT_EQ(CharacterButtonMarkup('<', true), "<");
    EXPECT_EQ(CharacterButtonMarkup(233, true), Ch(233));

    EXPECT_EQ(CharactersConvertedMessage(0), "No Characters Converted.");
    EXPECT_EQ(CharactersConvertedMessage(2), "Characters Converted: 2");
    EXPECT_EQ(EntitiesConvertedMessage(0), "No Entities Converted.");
    EXPECT_EQ(EntitiesConvertedMessage(12), "Entities Converted: 12");
}

TEST(ConvertCharacters, WithoutQuestions)
{
    TStringLineDocument Doc({"caf" + Ch(233) + " " + Ch(169) + " " + Ch(177) + " " + Ch(215) + " " + Ch(160) + "x",
                             "", Ch(255) + Ch(192)});
    TScriptedQuestions Q;
    Q.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::No)
        .Info("No Entity for this Character: " + Ch(215))
        .Info("Characters Converted: 5");
    EXPECT_EQ(ConvertCharactersToEntities(Doc, Q), 5);
    EXPECT_EQ(Doc.Text(), "caf&eacute; &copy; &#177; " + Ch(215) + " " + Ch(160) + "x\n\n&yuml;&Agrave;");
}

TEST(ConvertCharacters, YesNoAllSequence)
{
    TStringLineDocument Doc({Ch(233) + Ch(232) + Ch(224), Ch(252)});
    TScriptedQuestions Q;
    Q.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::Yes)
        .Ask("Replace " + Ch(233) + " with &&eacute; ?", TQuestionButtons::YesNoAll, TAnswer::Yes)
        .Ask("Replace " + Ch(232) + " with &&egrave; ?", TQuestionButtons::YesNoAll, TAnswer::No)
        .Ask("Replace " + Ch(224) + " with &&agrave; ?", TQuestionButtons::YesNoAll, TAnswer::All)
        .Info("Characters Converted: 3");
    EXPECT_EQ(ConvertCharactersToEntities(Doc, Q), 3);
    EXPECT_EQ(Doc.Text(), "&eacute;" + Ch(232) + "&agrave;\n&uuml;");
}

TEST(ConvertCharacters, NothingToDoAndReadOnly)
{
    {
        TStringLineDocument Doc({"plain <b>text</b> & more", Ch(160) + Ch(127)});
        TScriptedQuestions Q;
        Q.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::Yes).Info("No Characters Converted.");
        EXPECT_EQ(ConvertCharactersToEntities(Doc, Q), 0);
        EXPECT_EQ(Doc.Text(), "plain <b>text</b> & more\n" + Ch(160) + Ch(127));
    }
    {
        // A refused insertion is not counted and the scan still ends.
        TStringLineDocument Doc({Ch(233) + Ch(233)});
        Doc.SetReadOnly(true);
        TScriptedQuestions Q;
        Q.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::No).Info("No Characters Converted.");
        EXPECT_EQ(ConvertCharactersToEntities(Doc, Q), 0);
        EXPECT_EQ(Doc.Text(), Ch(233) + Ch(233));
    }
}

TEST(ConvertEntities, CandidatesAndReplacements)
{
    TStringLineDocument Doc({"&amp;lt; AT&T; rules", "&nbsp;&shy;&#65;&#321;", "&x &#x41; & ;", "no entity"});
    TScriptedQuestions Q;
    Q.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::No)
        .Info("Unknown Entity: &&T;")
        .Info("Unknown Entity: &&#x41;")
        .Info("Unknown Entity: && ;")
        .Info("Entities Converted: 5");
    EXPECT_EQ(ConvertEntitiesToCharacters(Doc, Q), 5);
    // &amp;lt; gives &lt; in one replacement: the produced "&" is not scanned again.
    EXPECT_EQ(Doc.Text(), "&lt; AT&T; rules\n -AA\n&x &#x41; & ;\nno entity");
}

TEST(ConvertUtf8, CharactersAreLookedUpByCodePointAndEntitiesGiveUtf8)
{
    // e acute stored as C3 A9 finds its entity; Zhe has none and is reported, kept whole.
    TStringLineDocument Doc({"\xC3\xA9 \xD0\x96 \xC2\xA0\xE2\x82\xAC", "\xC3\xBF"});
    Doc.SetUtf8(true);
    TScriptedQuestions Q;
    Q.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::Yes)
        .Ask("Replace \xC3\xA9 with &&eacute; ?", TQuestionButtons::YesNoAll, TAnswer::Yes)
        .Info("No Entity for this Character: \xD0\x96")
        .Info("No Entity for this Character: \xE2\x82\xAC")
        .Ask("Replace \xC3\xBF with &&yuml; ?", TQuestionButtons::YesNoAll, TAnswer::Yes)
        .Info("Characters Converted: 2");
    EXPECT_EQ(ConvertCharactersToEntities(Doc, Q), 2);
    EXPECT_EQ(Doc.Text(), "&eacute; \xD0\x96 \xC2\xA0\xE2\x82\xAC\n&yuml;");

    // Back: named entities as UTF-8, references above 255 as their code point, below it as the
    // Windows-1252 character of the low byte; a surrogate or a number past U+10FFFF is no code
    // point, and its low byte (0) names nothing.
    TStringLineDocument Back({"&eacute;&#1046;&#150;&#128512;&#55296;&#1114112;"});
    Back.SetUtf8(true);
    TScriptedQuestions B;
    B.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::No)
        .Info("Unknown Entity: &&#55296;")
        .Info("Unknown Entity: &&#1114112;")
        .Info("Entities Converted: 4");
    EXPECT_EQ(ConvertEntitiesToCharacters(Back, B), 4);
    EXPECT_EQ(Back.Text(), "\xC3\xA9\xD0\x96\xE2\x80\x93\xF0\x9F\x98\x80&#55296;&#1114112;");

    // The same reference in a Windows-1252 text keeps its low byte.
    TStringLineDocument Latin({"&#1046;"});
    TScriptedQuestions C;
    C.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::No).Info("Entities Converted: 1");
    ConvertEntitiesToCharacters(Latin, C);
    EXPECT_EQ(Latin.Text(), Ch(1046 & 255));
}

TEST(ConvertEntities, NoStillOffersTheNext)
{
    TStringLineDocument Doc({"&eacute;&Eacute;", "&AMP;&amp;"});
    TScriptedQuestions Q;
    Q.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::Yes)
        .Ask("Replace &&eacute; with " + Ch(233) + " ?", TQuestionButtons::YesNoAll, TAnswer::No)
        .Ask("Replace &&Eacute; with " + Ch(201) + " ?", TQuestionButtons::YesNoAll, TAnswer::Yes)
        .Info("Unknown Entity: &&AMP;")
        .Ask("Replace &&amp; with & ?", TQuestionButtons::YesNoAll, TAnswer::All)
        .Info("Entities Converted: 2");
    EXPECT_EQ(ConvertEntitiesToCharacters(Doc, Q), 2);
    EXPECT_EQ(Doc.Text(), "&eacute;" + Ch(201) + "\n&AMP;&");
}

TEST(ConvertEntities, NoneConverted)
{
    TStringLineDocument Doc({"a & b; c", ""});
    TScriptedQuestions Q;
    Q.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::No)
        .Info("Unknown Entity: && b;")
        .Info("No Entities Converted.");
    EXPECT_EQ(ConvertEntitiesToCharacters(Doc, Q), 0);
    EXPECT_EQ(Doc.Text(), "a & b; c\n");
}

TEST(ConvertWrapped, LineCountTakenOnceAndSplitEntities)
{
    {
        // The first replacement pushes the other two characters onto lines that did not exist at
        // the start: they are not visited.
        TWrappedDocument Doc(Ch(233) + Ch(233) + Ch(233), 8);
        TScriptedQuestions Q;
        Q.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::No).Info("Characters Converted: 1");
        EXPECT_EQ(ConvertCharactersToEntities(Doc, Q), 1);
        EXPECT_EQ(Doc.Para, "&eacute;" + Ch(233) + Ch(233));
    }
    {
        // An entity split over two display lines is not found.
        TWrappedDocument Doc("ab&eacute; &lt;", 5);
        TScriptedQuestions Q;
        Q.Ask("Confirm each replacement?", TQuestionButtons::YesNo, TAnswer::No).Info("Entities Converted: 1");
        EXPECT_EQ(ConvertEntitiesToCharacters(Doc, Q), 1);
        EXPECT_EQ(Doc.Para, "ab&eacute; <");
    }
}
