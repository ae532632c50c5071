// The tag-case rule, the command catalogue's data and the compositions of the markup commands.
#include "core/markup/Catalogue.h"
#include "core/markup/TagCase.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

TEST(TagCase, LowersNamesButNotQuotedValuesOrText)
{
    EXPECT_EQ(ApplyTagCase("<B>Some <FONT SIZE=\"+1\">Text</FONT></B>", true),
              "<b>Some <font size=\"+1\">Text</font></b>");
    EXPECT_EQ(ApplyTagCase("<IMG SRC=Pic.GIF ALT=\"A Pic\">", true), "<img src=pic.gif alt=\"A Pic\">");
    EXPECT_EQ(ApplyTagCase("<A HREF=\"X.HTM\" NAME=Y>Go THERE</A>", true), "<a href=\"X.HTM\" name=y>Go THERE</a>");
    EXPECT_EQ(ApplyTagCase("<A HREF='X.HTM'>", true), "<a href='x.htm'>");    // single quotes are not quotes
    EXPECT_EQ(ApplyTagCase("<P ALIGN=\"center\">", false), "<P ALIGN=\"center\">");
    EXPECT_EQ(ApplyTagCase("<H1>\xC9T\xC9</H1>", true), "<h1>\xC9T\xC9</h1>");  // ASCII only
    EXPECT_EQ(ApplyTagCase("A > B <I>", true), "A > B <i>");
    EXPECT_EQ(ApplyTagCase("", true), "");
}

TEST(TagCase, OpeningCommentKeepsItsCase)
{
    EXPECT_EQ(ApplyTagCase("<!-- <B>X</B> -->", true), "<!-- <b>X</b> -->");
    EXPECT_EQ(ApplyTagCase("<!-- Note -->", true), "<!-- Note -->");
    EXPECT_EQ(ApplyTagCase("<!DOCTYPE HTML>", true), "<!DOCTYPE HTML>");
    EXPECT_EQ(ApplyTagCase("x<!-- Note -->", true), "x<!-- note -->");
    EXPECT_EQ(ApplyTagCase("<!", true), "<!");
    // A quote inside an opening comment turns lowering on until the next quote.
    EXPECT_EQ(ApplyTagCase("<!-- say \"HI\" NOW -->", true), "<!-- say \"hi\" NOW -->");
    EXPECT_EQ(AnsiLowerCase("Pic\xC9\xD7\x8A.GIF"), "pic\xE9\xD7\x9A.gif");
    EXPECT_EQ(AnsiUpperCase("a\xE9\xF7\xFF\xDF"), "A\xC9\xF7\x9F\xDF");
    EXPECT_EQ(AsciiUpperCase("<li>\xE9"), "<LI>\xE9");
}

TEST(Catalogue, StructureIsConsistent)
{
    std::set<std::string_view> Names, Shortcuts;
    std::map<std::string_view, const TMarkupCommand *> Submenus;
    int Separators = 0;
    for (const TMarkupCommand &C : MarkupCommands()) {
        if (C.Kind == TCommandKind::Separator) {
            ++Separators;
            EXPECT_EQ(C.Caption, "-");
        } else {
            EXPECT_FALSE(C.Name.empty());
            EXPECT_FALSE(C.Caption.empty()) << C.Name;
        }
        if (!C.Name.empty()) {
            EXPECT_TRUE(Names.insert(C.Name).second) << "duplicate " << C.Name;
        }
        if (!C.Shortcut.empty()) {
            EXPECT_TRUE(Shortcuts.insert(C.Shortcut).second) << "shortcut twice: " << C.Shortcut;
        }
        if (C.Kind == TCommandKind::Submenu)
            Submenus[C.Name] = &C;
        if (!C.Parent.empty()) {
            // Submenu rows come right after their submenu row, inside the same menu.
            ASSERT_TRUE(Submenus.count(C.Parent)) << C.Name;
            EXPECT_EQ(Submenus[C.Parent]->Menu, C.Menu);
        }
        if (C.Kind == TCommandKind::Pair) {
            EXPECT_TRUE(!C.Start.empty() && !C.End.empty()) << C.Name;
        }
        if (C.Kind == TCommandKind::Insert || C.Kind == TCommandKind::Plain) {
            EXPECT_FALSE(C.Start.empty()) << C.Name;
        }
        if (C.Flags & cfShiftRunsCommand) {
            const TMarkupCommand *Target = FindMarkupCommand(C.ShiftCommand);
            ASSERT_NE(Target, nullptr) << C.Name;
            EXPECT_TRUE(Target->Kind == TCommandKind::BlockDialog || Target->Kind == TCommandKind::RuleDialog);
            EXPECT_EQ(C.Record, TRecordMode::BeforeActing);
        }
    }
    EXPECT_EQ(Submenus.size(), 4u);
    EXPECT_EQ(Separators, 11);

    auto Menus = MarkupMenus();
    ASSERT_EQ(Menus.size(), 8u);
    for (std::size_t i = 0; i < Menus.size(); ++i)
        EXPECT_EQ(Menus[i].GroupIndex, static_cast<int>(i) + 1);
    EXPECT_EQ(Menus[1].Caption, "Ele&ment");
    EXPECT_EQ(Menus[6].Hint, "HTML Font Styles");
}

TEST(Catalogue, EntriesAndRules)
{
    const TMarkupCommand *Bold = FindMarkupCommand("Bold1");
    ASSERT_NE(Bold, nullptr);
    EXPECT_EQ(Bold->Menu, TMarkupMenu::Font);
    EXPECT_EQ(Bold->Shortcut, "Ctrl+B");
    EXPECT_EQ(CommandMarkup(*Bold, true, true), (TMarkupText{true, "<B>", "</B>"}));
    EXPECT_EQ(CommandHandlerName(*Bold), "Bold1Click");
    EXPECT_EQ(FindMarkupCommand("bold1"), nullptr);
    EXPECT_EQ(FindMarkupCommand(""), nullptr);

    // Handlers shared between entries, and entries without any.
    EXPECT_EQ(CommandHandlerName(*FindMarkupCommand("HiddenCut1")), "Cut1Click");
    EXPECT_EQ(CommandHandlerName(*FindMarkupCommand("Find1")), "Replace1Click");
    EXPECT_EQ(CommandHandlerName(*FindMarkupCommand("HiddenCust51")), "");
    EXPECT_EQ(CommandHandlerName(*FindMarkupCommand("Heading1")), "");

    const TMarkupCommand &Title = *FindMarkupCommand("Title1");
    EXPECT_EQ(CommandMarkup(Title, false, true), (TMarkupText{true, "<TITLE>", "</TITLE>"}));
    EXPECT_EQ(CommandMarkup(Title, true, true), (TMarkupText{true, "<TITLE>", "</TITLE>\n"}));
    const TMarkupCommand &H3 = *FindMarkupCommand("Style31");
    EXPECT_EQ(H3.Parent, "Heading1");
    EXPECT_EQ(CommandMarkup(H3, true, false), (TMarkupText{true, "<H3>", "</H3>\n"}));
    EXPECT_TRUE(H3.Flags & cfShiftBlockDialog);
    EXPECT_EQ(H3.DialogCaption, "Heading Style 3");
    EXPECT_EQ(H3.Element, "H3");
    // The newline rule belongs to titles and headings only.
    EXPECT_EQ(CommandMarkup(*FindMarkupCommand("BlockQuote1"), true, true).End, "</BLOCKQUOTE>");

    const TMarkupCommand &Center = *FindMarkupCommand("Center1");
    EXPECT_EQ(CommandMarkup(Center, false, true), (TMarkupText{true, "<P ALIGN=\"center\">", "</P>"}));
    EXPECT_EQ(CommandMarkup(Center, false, false), (TMarkupText{true, "<CENTER>", "</CENTER>"}));

    EXPECT_EQ(CommandMarkup(*FindMarkupCommand("StandardDocumentOutline1"), false, true).Start,
              "<HTML>\n<HEAD>\n\n</HEAD>\n\n<BODY>\n\n</BODY>\n</HTML>");
    EXPECT_EQ(CommandMarkup(*FindMarkupCommand("N1231"), false, true), (TMarkupText{false, "<OL TYPE=\"1\">", ""}));
    EXPECT_EQ(CommandMarkup(*FindMarkupCommand("Link2"), false, true), TMarkupText{});

    EXPECT_EQ(FindMarkupCommand("HardRule1")->ShiftCommand, "HRwithOptions1");
    EXPECT_EQ(FindMarkupCommand("Paragraph1")->ShiftCommand, "ParagraphContainer1");
    EXPECT_EQ(FindMarkupCommand("ListItem1")->Record, TRecordMode::BeforeActing);
    EXPECT_EQ(FindMarkupCommand("MarkasBODY1")->Record, TRecordMode::IfOK);
    EXPECT_EQ(FindMarkupCommand("FONT2")->Record, TRecordMode::No);
    EXPECT_EQ(FindMarkupCommand("FONT2")->Kind, TCommandKind::Plain);
    EXPECT_EQ(FindMarkupCommand("EmbedOLEobjectNetscape1")->Record, TRecordMode::No);
    EXPECT_EQ(FindMarkupCommand("BaseFontSize1")->Prompt, "Enter size 1-7:");
    EXPECT_EQ(FindMarkupCommand("Copyright1")->Caption, "&Copyright \xA9 ");
    EXPECT_EQ(FindMarkupCommand("AmpersandSymbol1")->Hint, "Insert the HTML entity for a \"&&\" symbol");
    EXPECT_TRUE(FindMarkupCommand("N9")->Flags & cfHidden);
    EXPECT_TRUE(FindMarkupCommand("HiddenPaste1")->Flags & cfHidden);
    EXPECT_FALSE(FindMarkupCommand("Paste1")->Flags & cfHidden);

    // Menu order: the Edit menu's entries from three places, the List menu's tail.
    std::vector<std::string_view> Edit;
    for (const TMarkupCommand &C : MarkupCommands())
        if (C.Menu == TMarkupMenu::Edit && !(C.Flags & cfHidden))
            Edit.push_back(C.Kind == TCommandKind::Separator ? "-" : C.Name);
    EXPECT_EQ(Edit, (std::vector<std::string_view>{
                        "Undo1", "Redo1", "RepeatLastMarkup1", "-", "Cut1", "Copy1", "Paste1", "Delete1", "SelectAll1",
                        "-", "Find1", "Replace1", "FindNext1", "RemoveHTMLTags1", "AutoParagraphFormat1",
                        "IntelligentTagInsert1", "ConvertCharacterstoEntities1", "ConvertEntitiestoCharacters1"}));
    auto All = MarkupCommands();
    EXPECT_EQ(All.back().Name, "DEL1");
    const TMarkupCommand *DD = FindMarkupCommand("DefinitionItemDD1");
    EXPECT_EQ((DD - 1)->Name, "DefinitionTermDT1");
    EXPECT_TRUE((DD - 1)->Parent.empty());
    EXPECT_EQ((DD - 2)->Parent, "OLTYPE1");
}

TEST(Catalogue, ValueCommandsAndTagPairs)
{
    EXPECT_EQ(ValueCommandMarkup("Anchor1", "top"), (TMarkupText{true, "<A NAME=\"top\">", "</A>"}));
    EXPECT_EQ(ValueCommandMarkup("Link2", "a.htm"), (TMarkupText{true, "<A HREF=\"a.htm\">", "</A>"}));
    const auto Link = ValueCommandMarkup("MakeLinkFromURL1", "Home");
    ASSERT_TRUE(Link);
    EXPECT_EQ(TagPairText(Link->Start, "http://x.org/", Link->End, false), "<A HREF=\"http://x.org/\">Home</A>");
    EXPECT_EQ(ValueCommandMarkup("Base1", ""), (TMarkupText{false, "<BASE HREF=\"\">", ""}));
    EXPECT_EQ(ValueCommandMarkup("IsIndex1", ""), (TMarkupText{false, "<ISINDEX>", ""}));
    EXPECT_EQ(ValueCommandMarkup("IsIndex1", "Find"), (TMarkupText{false, "<ISINDEX PROMPT=\"Find\">", ""}));
    EXPECT_EQ(ValueCommandMarkup("MailTo1", "me@x.org"), (TMarkupText{true, "<A HREF=\"mailto:me@x.org\">", "</A>"}));
    EXPECT_EQ(ValueCommandMarkup("EmbedOLEobjectNetscape1", "/Home/Me/Sheet.XLS"),
              (TMarkupText{false, "<EMBED SRC=\"sheet.xls\">", ""}));
    EXPECT_EQ(ValueCommandMarkup("EmbedOLEobjectNetscape1", "Clip.AVI"), (TMarkupText{false, "<EMBED SRC=\"clip.avi\">", ""}));
    EXPECT_EQ(EmbedMarkup("/home/Ann/Clip.AVI", false), "<EMBED SRC=\"Clip.AVI\">");
    EXPECT_EQ(ValueCommandMarkup("Bold1", "x"), std::nullopt);

    EXPECT_EQ(TagPairText("<B>", "Hello", "</B>", false), "<B>Hello</B>");
    // The selected text goes through the rule too.
    EXPECT_EQ(TagPairText("<B>", "Some <FONT SIZE=\"+1\">Text</FONT>", "</B>", true),
              "<b>Some <font size=\"+1\">Text</font></b>");
    EXPECT_EQ(TagPairText("<!-- ", "Note", " -->", true), "<!-- Note -->");
    EXPECT_EQ(TagPairText("<!-- ", "<B>X</B>", " -->", true), "<!-- <b>X</b> -->");

    // Caret after "<B></B>" inserted at column 1 is column 8; it goes back before "</B>".
    EXPECT_EQ(CaretColumnAfterTagPair(8, "</B>"), 4);
    // An end with a line break leaves the caret at the start of the new line.
    EXPECT_EQ(CaretColumnAfterTagPair(1, "</TITLE>\n"), 1);
    EXPECT_EQ(CaretColumnAfterTagPair(4, "</B>"), 4);

    EXPECT_EQ(CurrentTimeText("12/8/26", "2:40:12 AM", false), "12/8/26 2:40:12 AM");
    EXPECT_EQ(CurrentTimeText("12/8/26", "12:00:00 AM", true), "12/8/26");
}
