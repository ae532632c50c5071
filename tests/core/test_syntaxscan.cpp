// The colouring scan: pens at "<", ">", "&", ";", the selection, rows of one pass, scrolling, tabs.
#include "core/editor/SyntaxScan.h"

#include <gtest/gtest.h>

namespace {

// One letter per cell: t plain, s selection pen, e element, n entity; upper case on the
// selection brush. Also checks that the runs describe the same cells.
std::string Pens(const TScanRow &Row)
{
    std::string Out;
    for (const TScanStyle &S : Row.Styles) {
        char C = "tsen"[S.Pen];
        if (S.Brush == sbSelection)
            C = static_cast<char>(C - 'a' + 'A');
        Out += C;
    }
    EXPECT_EQ(Row.Styles.size(), Row.Cells.size());
    int Next = 0;
    for (std::size_t I = 0; I < Row.Runs.size(); ++I) {
        const TScanRun &R = Row.Runs[I];
        EXPECT_EQ(R.First, Next);
        EXPECT_GT(R.Count, 0);
        for (int K = R.First; K < R.First + R.Count; ++K) {
            EXPECT_EQ(Row.Styles[static_cast<std::size_t>(K)].Pen, R.Pen);
            EXPECT_EQ(Row.Styles[static_cast<std::size_t>(K)].Brush, R.Brush);
        }
        if (I > 0) {
            EXPECT_FALSE(Row.Runs[I - 1].Pen == R.Pen && Row.Runs[I - 1].Brush == R.Brush);
        }
        Next = R.First + R.Count;
    }
    EXPECT_EQ(Next, static_cast<int>(Row.Cells.size()));
    return Out;
}

// A pass over all rows of a view showing Lines from line 1.
std::vector<std::string> Paint(const std::vector<std::string> &Lines, TScanSelection Sel = {},
                               TScanGeometry Geo = {}, int TopLine = 1, int FirstRow = 1, int LastRow = 1000)
{
    const int Rows = static_cast<int>(Lines.size()) - TopLine + 1;
    std::vector<std::string> Out;
    for (const TScanRow &R : ScanPaintPass(Lines, TopLine, Rows, {FirstRow, LastRow}, Geo, Sel))
        Out.push_back(Pens(R));
    return Out;
}

std::string Paint1(const std::string &Line, TScanSelection Sel = {}, TScanGeometry Geo = {})
{
    return Paint({Line}, Sel, Geo)[0];
}

} // namespace

TEST(SyntaxScan, TagsAndEntities)
{
    // Both tags in the element colour, brackets included; the word plain.
    EXPECT_EQ(Paint1("<A HREF=x.htm>link</A>"), "eeeeeeeeeeeeeetttteeee");
    // AT&amp;T: the entity alone in the entity colour.
    EXPECT_EQ(Paint1("AT&amp;T"), "ttnnnnnt");
    // A comment is one element; a ">" inside it ends the colour.
    EXPECT_EQ(Paint1("<!-- a > b -->"), "eeeeeeeetttttt");
    // A quoted ALT value holding ">": the rest of the value and the final ">" plain.
    EXPECT_EQ(Paint1("<IMG ALT=\"a>b\">"), "eeeeeeeeeeeettt");
    // An entity inside a tag: after its ";" the rest of the tag, ">" included, is plain.
    const std::string A = "<A HREF=\"x?a=1&amp;b=2\">t</A>";
    EXPECT_EQ(Paint1(A), std::string(14, 'e') + "nnnnn" + "ttttt" + "t" + "eeee");
    // ">" resets the pen inside an entity too, ";" inside a tag; neither clears the other flag.
    EXPECT_EQ(Paint1("&a>b;c"), "nnnttt");
    TSyntaxScanner Scan({}, {});
    TScanRow Row;
    Scan.ScanLine(1, "<A HREF=\"x&amp;", Row);
    EXPECT_TRUE(Scan.InTag());
    EXPECT_FALSE(Scan.InEntity());
    EXPECT_EQ(Scan.Pen(), spText);
    Scan.ScanLine(2, "y\">", Row);
    EXPECT_EQ(Pens(Row), "ttt");
    EXPECT_FALSE(Scan.InTag());
    // Plain text and empty lines.
    EXPECT_EQ(Paint1("plain"), "ttttt");
    EXPECT_EQ(Paint1(""), "");
}

TEST(SyntaxScan, StateCarriesOverRowsOfOnePass)
{
    // "a < b" without a ">": the rest of the row and the next rows of the pass run on.
    EXPECT_EQ(Paint({"a < b", "more", "x > y"}), (std::vector<std::string>{"tteee", "eeee", "eeett"}));

    // A tag split over two rows: painted together, the continuation is in the element colour;
    // the second row painted alone starts plain.
    const std::vector<std::string> Split = {"text <IMG", "SRC=a.gif>rest"};
    EXPECT_EQ(Paint(Split), (std::vector<std::string>{"ttttteeee", "eeeeeeeeeetttt"}));
    EXPECT_EQ(Paint(Split, {}, {}, 1, 2, 2), (std::vector<std::string>{"", "tttttttttttttt"}));

    // A "<" above the top line is not seen.
    EXPECT_EQ(Paint({"<A", "HREF=x>y"}, {}, {}, 2), (std::vector<std::string>{"tttttttt"}));

    // Each pass starts afresh.
    TSyntaxScanner Scan({}, {});
    TScanRow Row;
    Scan.ScanLine(1, "<B", Row);
    Scan.ScanLine(2, "x", Row);
    EXPECT_EQ(Pens(Row), "e");
    Scan.BeginPass();
    Scan.ScanLine(2, "x", Row);
    EXPECT_EQ(Pens(Row), "t");

    // Rows outside the clip and rows past the text are not scanned: they change nothing.
    EXPECT_EQ(Paint({"<B", "x", "y"}, {}, {}, 1, 1, 1), (std::vector<std::string>{"ee", "", ""}));
    const auto Rows = ScanPaintPass({"<B", "x"}, 1, 4, {1, 5}, {}, {});
    ASSERT_EQ(Rows.size(), 4u);
    EXPECT_EQ(Pens(Rows[1]), "e");
    EXPECT_TRUE(Rows[2].Cells.empty());
    EXPECT_TRUE(Rows[3].Cells.empty());
}

TEST(SyntaxScan, HorizontalScrollTabsAndVisibleColumns)
{
    // A "<" left of the scroll position is not seen.
    TScanGeometry Geo;
    Geo.HScroll = 1;
    const auto Scrolled = ScanPaintPass({"<B>bold</B>"}, 1, 1, {1, 1}, Geo, {});
    EXPECT_EQ(Scrolled[0].Cells, "B>bold</B>");
    EXPECT_EQ(Pens(Scrolled[0]), "tttttteeee");

    // Tabs become spaces up to the next stop; they are never markup.
    Geo = {};
    Geo.TabSize = 4;
    TSyntaxScanner Scan(Geo, {});
    TScanRow Row;
    Scan.ScanLine(1, "a\t<b>\tc", Row);
    EXPECT_EQ(Row.Cells, "a   <b> c");
    EXPECT_EQ(Pens(Row), "tttteeett"); // the tab after ">" is plain

    // At most VisibleColumns cells; the characters beyond are not scanned.
    Geo = {};
    Geo.VisibleColumns = 5;
    TSyntaxScanner Narrow(Geo, {});
    Narrow.ScanLine(1, "abcde<B>", Row);
    EXPECT_EQ(Row.Cells, "abcde");
    EXPECT_FALSE(Narrow.InTag());
    // Scrolled past the end of a line: nothing to draw.
    Geo.HScroll = 10;
    TSyntaxScanner Far(Geo, {});
    Far.ScanLine(1, "<short", Row);
    EXPECT_TRUE(Row.Cells.empty());
    EXPECT_FALSE(Far.InTag());
}

TEST(SyntaxScan, Selection)
{
    // Selected text inside a tag keeps the element colour on the selection background;
    // selected plain text gets the selection pen.
    TScanSelection Sel{true, 1, 2, 1, 5};
    EXPECT_EQ(Paint1("<B>bold</B>", Sel), "eEESttteeee");
    // Leaving the selection inside a tag goes back to the element colour, and a ";" in the
    // selection to the selection pen.
    EXPECT_EQ(Paint1("x<B>y", {true, 1, 1, 1, 3}), "SEeet");
    EXPECT_EQ(Paint1("&lt;x&gt;", {true, 1, 3, 1, 7}), "nnNNSNnnn");

    // Over several rows: start row from its start column, middle rows whole, end row up to its
    // end column. Cells right of the text are not in the row (the painter fills them plain).
    const std::vector<std::string> Lines = {"abcd", "<B>", "xyz", "tail"};
    EXPECT_EQ(Paint(Lines, {true, 1, 3, 3, 2}), (std::vector<std::string>{"ttSS", "EEE", "Stt", "tttt"}));
    // The end column at 1 selects nothing on the end row; the pen goes back to plain there.
    EXPECT_EQ(Paint(Lines, {true, 1, 5, 3, 1}), (std::vector<std::string>{"tttt", "EEE", "ttt", "tttt"}));

    // A selection right of the visible columns: the visible part is drawn unselected.
    TScanGeometry Geo;
    Geo.VisibleColumns = 5;
    EXPECT_EQ(Paint1("abcdefghij", {true, 1, 8, 1, 10}, Geo), "ttttt");
    EXPECT_EQ(Paint({"abcdefghij", "klm"}, {true, 1, 8, 2, 2}, Geo), (std::vector<std::string>{"ttttt", "Stt"}));
    // With horizontal scroll the columns shift; a selection ending left of the view shows nothing.
    Geo = {};
    Geo.HScroll = 3;
    EXPECT_EQ(Paint1("abcdefgh", {true, 1, 2, 1, 6}, Geo), "SSttt");
    EXPECT_EQ(Paint1("abcdefgh", {true, 1, 1, 1, 3}, Geo), "ttttt");
    EXPECT_EQ(Paint({"abcdefgh", "abcdefgh"}, {true, 1, 1, 2, 3}, Geo), (std::vector<std::string>{"SSSSS", "ttttt"}));
    // Tabs count in screen columns: "a", tab, "b" with the selection on "b".
    Geo = {};
    EXPECT_EQ(Paint1("a\tb", {true, 1, 3, 1, 4}, Geo), "ttttttttS");
    // A selection that is not shown draws nothing selected.
    EXPECT_EQ(Paint1("<B>x", {false, 1, 1, 1, 4}), "eeet");
}

TEST(SyntaxScan, PaintRowRange)
{
    const TPaintRows All = PaintRowRange(0, 900, 15, 60);
    EXPECT_EQ(All.FirstRow, 1);
    EXPECT_EQ(All.LastRow, 61); // the partial row under the last whole row is cleared
    const TPaintRows Some = PaintRowRange(30, 45, 15, 60);
    EXPECT_EQ(Some.FirstRow, 3);
    EXPECT_EQ(Some.LastRow, 3);
    const TPaintRows Part = PaintRowRange(31, 46, 15, 60);
    EXPECT_EQ(Part.FirstRow, 3);
    EXPECT_EQ(Part.LastRow, 4);
    EXPECT_EQ(PaintRowRange(0, 907, 15, 60).LastRow, 61);
}
