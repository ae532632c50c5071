// The table designer: grid size and heading rules, cell attributes and the generated lines.
#include "core/markup/DialogTable.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(TableDesigner, ExampleTwoByTwoWithHeadings)
{
    TTableGrid g;
    g.SetRowCount(2);
    g.SetColCount(2);
    g.SetCell(0, 0, "A");
    g.SetCell(1, 0, "B");
    g.SetCell(0, 1, "C");
    g.SetCell(1, 1, "D");
    TTableOptions o;
    o.BorderWidth = "1";
    EXPECT_EQ(GenerateTableLines(o, g, {}), (Lines{"<TABLE BORDER=\"1\">", "<TR> <TH>A</TH> <TH>B</TH> </TR>",
                                                   "<TR> <TH>C</TH> <TD>D</TD> </TR>", "</TABLE>"}));
}

TEST(TableDesigner, TableAndCaptionOptions)
{
    TTableGrid g;
    g.SetRowCount(1);
    g.SetColCount(1);
    TTableOptions o;
    EXPECT_EQ(GenerateTableLines(o, g, {}).front(), "<TABLE BORDER>");
    o.Border = false;
    o.BorderWidth = "3";
    EXPECT_EQ(GenerateTableLines(o, g, {}).front(), "<TABLE>");
    o.Border = true;
    o.CellPadding = "2";
    o.CellSpacing = "0";
    o.CaptionAlign = "bottom"; // no caption text: no caption line
    Lines l = GenerateTableLines(o, g, {});
    EXPECT_EQ(l, (Lines{"<TABLE BORDER=\"3\" CELLPADDING=\"2\" CELLSPACING=\"0\">", "<TR> <TD></TD> </TR>", "</TABLE>"}));
    o.Caption = "Prices <b>2024</b>";
    EXPECT_EQ(GenerateTableLines(o, g, {})[1], "<CAPTION ALIGN=\"bottom\">Prices <b>2024</b></CAPTION>");
    o.CaptionAlign.clear();
    EXPECT_EQ(GenerateTableLines(o, g, {})[1], "<CAPTION>Prices <b>2024</b></CAPTION>");
}

TEST(TableDesigner, HeadingsFollowGridSize)
{
    TTableGrid g;
    EXPECT_TRUE(g.ColHeadingsEnabled());
    g.SetRowCount(1); // the heading row is dropped and the check box disabled
    EXPECT_EQ(g.FixedRows(), 0);
    EXPECT_FALSE(g.ColHeadingsEnabled());
    EXPECT_FALSE(g.SetFixedRows(true));
    g.SetColCount(3);
    g.SetCell(0, 0, "x");
    EXPECT_EQ(GenerateTableLines({}, g, {})[1], "<TR> <TH>x</TH> <TD></TD> <TD></TD> </TR>");
    g.SetRowCount(4); // the heading row does not come back by itself
    EXPECT_EQ(g.FixedRows(), 0);
    EXPECT_TRUE(g.SetFixedRows(true));
    EXPECT_TRUE(g.IsHeadingCell(2, 0));
    EXPECT_TRUE(g.SetFixedCols(false));
    EXPECT_TRUE(g.SetFixedRows(false));
    for (const auto &line : GenerateTableLines({}, g, {}))
        EXPECT_EQ(line.find("TH"), std::string::npos) << line;
    g.SetColCount(1);
    EXPECT_FALSE(g.RowHeadingsEnabled());
    EXPECT_FALSE(g.SetFixedCols(true));
    EXPECT_EQ(g.FixedCols(), 0);

    // Counts stay within the spin edits' ranges.
    g.SetRowCount(0);
    EXPECT_EQ(g.RowCount(), 1);
    g.SetRowCount(100000);
    EXPECT_EQ(g.RowCount(), TableMaxRows);
    g.SetColCount(-3);
    EXPECT_EQ(g.ColCount(), 1);
    g.SetColCount(11);
    EXPECT_EQ(g.ColCount(), TableMaxCols);
    EXPECT_EQ(SpinEditValue("12"), 12);
    EXPECT_EQ(SpinEditValue("+7"), 7);
    EXPECT_EQ(SpinEditValue("-4"), -4);
    for (const char *bad : {"", "-", "+", "2.5", "2,5", "+-3", "1e3", " 4"})
        EXPECT_EQ(SpinEditValue(bad), 1) << bad;
    EXPECT_EQ(SpinEditValue("99999999999999999999"), 2147483647);
}

TEST(TableDesigner, CellAttributes)
{
    TCellInfoList cells;
    EXPECT_EQ(cells.GetCell(1, 1), nullptr);
    cells.SetCell(1, 1, "center", "center", true);
    cells.SetCell(2, 1, "averyveryverylongalignment", "", false);
    cells.SetCell(1, 1, "right", "", false); // updates the existing record
    EXPECT_EQ(cells.Count(), 2u);
    ASSERT_NE(cells.GetCell(1, 1), nullptr);
    EXPECT_EQ(cells.GetCell(1, 1)->HAlign, "right");
    EXPECT_EQ(cells.GetCell(2, 1)->HAlign, "averyveryverylon");
    EXPECT_EQ(cells.GetCell(1, 2), nullptr);

    TTableGrid g;
    g.SetRowCount(2);
    g.SetColCount(3);
    cells.SetCell(0, 0, "", "bottom", true);
    cells.SetCell(2, 1, "left", "center", true);
    EXPECT_EQ(GenerateTableLines({}, g, cells)[1], "<TR> <TH VALIGN=\"bottom\" NOWRAP></TH> <TH></TH> <TH></TH> </TR>");
    EXPECT_EQ(GenerateTableLines({}, g, cells)[2],
              "<TR> <TH></TH> <TD ALIGN=\"right\"></TD> <TD ALIGN=\"left\" VALIGN=\"center\" NOWRAP></TD> </TR>");
}

TEST(TableDesigner, AttributesAndTextsKeepPositions)
{
    TTableGrid g;
    TCellInfoList cells;
    cells.SetCell(2, 4, "right", "", false);
    g.SetCell(2, 4, "last");
    g.SetRowCount(3);
    EXPECT_EQ(GenerateTableLines({}, g, cells).size(), 5u);
    g.SetRowCount(5); // the attributes (and text) apply again
    EXPECT_EQ(GenerateTableLines({}, g, cells)[5], "<TR> <TH></TH> <TD></TD> <TD ALIGN=\"right\">last</TD> <TD></TD> <TD></TD> </TR>");

    // Dragging a row moves texts, the attributes stay where they were.
    TTableGrid d;
    d.SetRowCount(3);
    d.SetColCount(2);
    for (int r = 0; r < 3; ++r)
        d.SetCell(1, r, "r" + std::to_string(r));
    TCellInfoList a;
    a.SetCell(1, 1, "center", "", false);
    d.MoveRow(1, 2);
    EXPECT_EQ(d.Cell(1, 1), "r2");
    EXPECT_EQ(d.Cell(1, 2), "r1");
    Lines l = GenerateTableLines({}, d, a);
    EXPECT_EQ(l[2], "<TR> <TH></TH> <TD ALIGN=\"center\">r2</TD> </TR>");
    EXPECT_EQ(l[3], "<TR> <TH></TH> <TD>r1</TD> </TR>");
    d.MoveRow(0, 2);
    EXPECT_EQ(d.Cell(1, 0), "r2");
    EXPECT_EQ(d.Cell(1, 1), "r1");
    EXPECT_EQ(d.Cell(1, 2), "r0");
    d.MoveColumn(1, 0);
    EXPECT_EQ(d.Cell(0, 2), "r0");
    EXPECT_EQ(d.Cell(1, 2), "");
    d.MoveRow(0, 7); // outside the grid: ignored
    EXPECT_EQ(d.Cell(0, 0), "r2");
}

TEST(TableDesigner, CaptionAndDrawingPosition)
{
    EXPECT_EQ(CellPropertyCaption(0, 3, true), "Table Heading: Col 0, Row 3");
    EXPECT_EQ(CellPropertyCaption(4, 2, false), "Table Data: Col 4, Row 2");

    // Cell at (10, 20), 65 by 25; text 20 by 13.
    TCellTextPos p = CellTextPosition(10, 20, 65, 25, 20, 13, false, nullptr);
    EXPECT_EQ(p.X, 10);
    EXPECT_EQ(p.Y, 20 + 12 - 6);
    EXPECT_FALSE(p.Bold);
    p = CellTextPosition(10, 20, 65, 25, 20, 13, true, nullptr);
    EXPECT_EQ(p.X, 10 + 32 - 10);
    EXPECT_TRUE(p.Bold);
    TCellInfo info{0, 0, "right", "bottom", false};
    p = CellTextPosition(10, 20, 65, 25, 20, 13, true, &info);
    EXPECT_EQ(p.X, 10 + 65 - 20);
    EXPECT_EQ(p.Y, 20 + 25 - 13);
    info = {0, 0, "left", "top", false};
    p = CellTextPosition(10, 20, 65, 25, 20, 13, true, &info);
    EXPECT_EQ(p.X, 10);
    EXPECT_EQ(p.Y, 20);
    info = {0, 0, "Right", "middle", false}; // comparisons are exact: position unchanged
    p = CellTextPosition(10, 20, 65, 25, 20, 13, false, &info);
    EXPECT_EQ(p.X, 10);
    EXPECT_EQ(p.Y, 26);
}
