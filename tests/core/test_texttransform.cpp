// Tag removal, the list makers, comment lines, automatic paragraph marks and Intelligent Tag Insert.
#include "core/editor/EditorErrors.h"
#include "core/markup/TextTransform.h"
#include "ScriptedQuestions.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(RemoveHTMLTags, OnlyAngleBracketsCount)
{
    EXPECT_EQ(RemoveHTMLTags("<A HREF=\"x>y\">link</A>"), "y\">link");
    EXPECT_EQ(RemoveHTMLTags("a < b"), "a ");
    EXPECT_EQ(RemoveHTMLTags("a > b"), "a > b");
    EXPECT_EQ(RemoveHTMLTags("x <b>bold</b> > y"), "x bold > y");
    EXPECT_EQ(RemoveHTMLTags("<!-- a > b -->c"), " b -->c");
    EXPECT_EQ(RemoveHTMLTags("<<b>>x"), ">x");
    EXPECT_EQ(RemoveHTMLTags("<P>one\r\n<I>two</I>\r\n&amp;"), "one\r\ntwo\r\n&amp;");
    EXPECT_EQ(RemoveHTMLTags(""), "");
    EXPECT_EQ(RemoveHTMLTags("<unclosed\r\nmore"), "");
}

TEST(ListMakers, SplittingAndWrapping)
{
    EXPECT_EQ(SplitSelectionLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitSelectionLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitSelectionLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitSelectionLines("\r\r\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitSelectionLines("\n\nx"), (Lines{"", "", "x"}));
    EXPECT_EQ(SplitSelectionLines(""), Lines{});

    EXPECT_EQ(MakeList("red\r\n\r\n<LI>green", "UL", false),
              "<UL>\r\n<LI>red</LI>\r\n\r\n<LI>green\r\n</UL>\r\n");
    EXPECT_EQ(MakeList("one\ntwo\n", "OL", false), "<OL>\r\n<LI>one</LI>\r\n<LI>two</LI>\r\n</OL>\r\n");
    EXPECT_EQ(MakeList("x <li>y", "MENU", false), "<MENU>\r\nx <li>y\r\n</MENU>\r\n");
    EXPECT_EQ(MakeList("a <LI >b", "DIR", false), "<DIR>\r\n<LI>a <LI >b</LI>\r\n</DIR>\r\n");
    // Only the added tags are lowered; the lines keep their own case.
    EXPECT_EQ(MakeList("Red <B>X</B>", "UL", true), "<ul>\r\n<li>Red <B>X</B></li>\r\n</ul>\r\n");

    EXPECT_EQ(MakeDefinitionList("term\r\nmeaning\r\nmore", false),
              "<DL>\r\n<DT>term\r\n<DD>meaning\r\n<DD>more\r\n</DL>\r\n");
    EXPECT_EQ(MakeDefinitionList("\r\nmeaning\r\n\r\n<DT>x\r\n", false),
              "<DL>\r\n\r\n<DD>meaning\r\n\r\n<DD><DT>x\r\n</DL>\r\n");
    EXPECT_EQ(MakeDefinitionList("Term\nWord", true), "<dl>\r\n<dt>Term\r\n<dd>Word\r\n</dl>\r\n");
}

TEST(CommentLine, PadsTo44)
{
    EXPECT_EQ(CommentLine("abc"), "<!-- abc" + std::string(41, ' ') + " -->\n");
    const std::string Exact(44, 'x');
    EXPECT_EQ(CommentLine(Exact), "<!-- " + Exact + " -->\n");
    const std::string Long(50, 'y');
    EXPECT_EQ(CommentLine(Long), "<!-- " + Long + " -->\n");
    EXPECT_EQ(CommentLine("").size(), 5u + 44u + 5u);
}

TEST(AutoParagraph, AnsweringNoMarksEveryQualifyingLine)
{
    TStringLineDocument Doc({"one", "", "two", "three", "", "four", ""});
    Doc.SetSelection(1, 1, 6, 5, true);
    TScriptedQuestions Q;
    Q.Ask("Confirm paragraph Tag Insertions?", TQuestionButtons::YesNoCancel, TAnswer::No);
    EXPECT_EQ(AutoParagraphFormat(Doc, Q), 2);
    // The selection's last line is never examined, even with an empty line after it.
    EXPECT_EQ(Doc.Lines(), (Lines{"one<P>", "", "two", "three<P>", "", "four", ""}));
}

TEST(AutoParagraph, AskingEachAndCancel)
{
    TStringLineDocument Doc({"a", "", "b", "", "c", ""});
    Doc.SetLowerCaseTags(true);
    Doc.SetSelection(1, 1, 6, 1, false);
    TScriptedQuestions Q;
    Q.Ask("Confirm paragraph Tag Insertions?", TQuestionButtons::YesNoCancel, TAnswer::Yes)
        .Ask("Insert Paragraph Tag?", TQuestionButtons::YesNoCancel, TAnswer::Yes)
        .Ask("Insert Paragraph Tag?", TQuestionButtons::YesNoCancel, TAnswer::No)
        .Ask("Insert Paragraph Tag?", TQuestionButtons::YesNoCancel, TAnswer::Cancel);
    EXPECT_EQ(AutoParagraphFormat(Doc, Q), 1);
    EXPECT_EQ(Doc.Lines(), (Lines{"a<p>", "", "b", "", "c", ""}));
    // The line asked about last stays selected.
    int L1, C1, L2, C2;
    ASSERT_TRUE(Doc.GetSelection(L1, C1, L2, C2));
    EXPECT_EQ(std::vector<int>({L1, C1, L2, C2}), std::vector<int>({5, 1, 5, 2}));
}

TEST(AutoParagraph, NoSelectionCancelAndOneLine)
{
    TStringLineDocument Doc({"a", ""});
    {
        TScriptedQuestions Q;
        Q.Info("No Text Selected");
        EXPECT_EQ(AutoParagraphFormat(Doc, Q), 0);
    }
    {
        Doc.SetSelection(1, 1, 2, 1, false);
        TScriptedQuestions Q;
        Q.Ask("Confirm paragraph Tag Insertions?", TQuestionButtons::YesNoCancel, TAnswer::Cancel);
        EXPECT_EQ(AutoParagraphFormat(Doc, Q), 0);
    }
    {
        Doc.SetSelection(1, 1, 1, 2, false);
        TScriptedQuestions Q;
        Q.Ask("Confirm paragraph Tag Insertions?", TQuestionButtons::YesNoCancel, TAnswer::No);
        EXPECT_EQ(AutoParagraphFormat(Doc, Q), 0);
    }
    EXPECT_EQ(Doc.Lines(), (Lines{"a", ""}));
}

TEST(IntelligentTagInsert, MatchingRules)
{
    TIntelliTagCriteria C;
    C.SearchFor = "Note";
    EXPECT_TRUE(IntelliTagMatches("a note here", C));
    EXPECT_TRUE(IntelliTagMatches("NOTE", C));
    EXPECT_FALSE(IntelliTagMatches("no te", C));
    C.CaseSensitive = true;
    EXPECT_FALSE(IntelliTagMatches("a note here", C));
    EXPECT_TRUE(IntelliTagMatches("Notes", C));

    C = {};
    C.Mode = TMatchMode::StartingWith;
    C.SearchFor = "<h";
    EXPECT_TRUE(IntelliTagMatches("<H1>x", C));
    EXPECT_FALSE(IntelliTagMatches(" <H1>x", C));

    C.Mode = TMatchMode::EndingWith;
    C.SearchFor = ".";
    EXPECT_TRUE(IntelliTagMatches("First.", C));
    EXPECT_FALSE(IntelliTagMatches("A.B", C));
    EXPECT_FALSE(IntelliTagMatches("A.B.", C));   // the first occurrence must be the last
    EXPECT_TRUE(IntelliTagMatches(".", C));
    EXPECT_FALSE(IntelliTagMatches("", C));

    C.SearchFor.clear();
    C.Mode = TMatchMode::Containing;
    EXPECT_FALSE(IntelliTagMatches("anything", C));

    C.FirstTag = "<B>";
    C.SecondTag = "</B>";
    EXPECT_EQ(IntelliTagLine("x", C), "<B>x</B>");
    C.Placement = TTagPlacement::StartOfLine;
    EXPECT_EQ(IntelliTagLine("x", C), "<B>x");
    C.Placement = TTagPlacement::EndOfLine;
    EXPECT_EQ(IntelliTagLine("x", C), "x<B>");
}

TEST(IntelligentTagInsert, WholeDocumentWithAndWithoutQuestions)
{
    {
        TStringLineDocument Doc({"a note here", "nothing", "NOTE", "Note again"});
        Doc.SetLowerCaseTags(true);   // the tags go in exactly as typed
        TIntelliTagCriteria C;
        C.SearchFor = "Note";
        C.FirstTag = "<B>";
        C.SecondTag = "</B>";
        TScriptedQuestions Q;
        Q.Ask("Insert tags in this line?", TQuestionButtons::YesNoCancel, TAnswer::Yes)
            .Ask("Insert tags in this line?", TQuestionButtons::YesNoCancel, TAnswer::No)
            .Ask("Insert tags in this line?", TQuestionButtons::YesNoCancel, TAnswer::Cancel);
        EXPECT_EQ(IntelligentTagInsert(Doc, Q, C), 1);
        EXPECT_EQ(Doc.Lines(), (Lines{"<B>a note here</B>", "nothing", "NOTE", "Note again"}));
    }
    {
        TStringLineDocument Doc({"First.", "A.B", "A.B.", "\tEnd.", "Last."});
        TIntelliTagCriteria C;
        C.Mode = TMatchMode::EndingWith;
        C.Placement = TTagPlacement::EndOfLine;
        C.SearchFor = ".";
        C.FirstTag = "<BR>";
        C.RequireConfirmation = false;
        TScriptedQuestions Q;
        EXPECT_EQ(IntelligentTagInsert(Doc, Q, C), 3);
        // A tab before the match neither hides the match nor is turned into blanks.
        EXPECT_EQ(Doc.Lines(), (Lines{"First.<BR>", "A.B", "A.B.", "\tEnd.<BR>", "Last.<BR>"}));
    }
}

TEST(StringLineDocument, ReplacesSelectionsAcrossLines)
{
    TStringLineDocument Doc({"one two", "three", "\tfour"});
    Doc.SetSelection(2, 3, 1, 5, false);   // given backwards: ordered, caret at the first pair
    int L1, C1, L2, C2;
    ASSERT_TRUE(Doc.GetSelection(L1, C1, L2, C2));
    EXPECT_EQ(std::vector<int>({L1, C1, L2, C2}), std::vector<int>({1, 5, 2, 3}));
    EXPECT_TRUE(Doc.InsertPlainText("X\r\nY\nZ"));
    EXPECT_EQ(Doc.Lines(), (Lines{"one X", "Y", "Zree", "\tfour"}));
    Doc.GetCaretPosition(L1, C1);
    EXPECT_EQ(std::vector<int>({L1, C1}), std::vector<int>({3, 2}));
    EXPECT_FALSE(Doc.GetSelection(L1, C1, L2, C2));
    EXPECT_EQ(Doc.GetStringLine(4), "        four");
    Doc.SetLowerCaseTags(true);
    Doc.SetCaretPosition(4, 99);            // cut to the line's end
    Doc.InsertMarkup("<BR CLEAR=\"ALL\">");
    EXPECT_EQ(Doc.GetLine(4), "\tfour<br clear=\"ALL\">");
    EXPECT_THROW(Doc.GetLine(5), EInvalidLineOrPara);
}
