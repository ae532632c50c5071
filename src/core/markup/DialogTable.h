// The table designer's data (grid texts, headings, per-cell attributes) and its table lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Attributes the user gave one cell through the cell properties dialog.
struct TCellInfo {
    int32_t Col = 0;
    int32_t Row = 0;
    std::string HAlign; // empty: none; at most CellAlignMax characters
    std::string VAlign;
    bool NoWrap = false;
};

inline constexpr std::size_t CellAlignMax = 16;

// The per-cell attribute records, keyed by grid position only: never removed, not moved with
// dragged rows or columns, and kept when the grid shrinks.
class TCellInfoList {
public:
    // The last record for the cell, or null.
    const TCellInfo *GetCell(int Col, int Row) const;
    TCellInfo *GetCell(int Col, int Row);
    // The cell properties dialog's OK: updates the cell's record, or appends one. The alignments
    // are cut to CellAlignMax characters.
    void SetCell(int Col, int Row, const std::string &HAlign, const std::string &VAlign, bool NoWrap);

    std::size_t Count() const { return Items.size(); }
    const TCellInfo &operator[](std::size_t Index) const { return Items[Index]; }

private:
    std::vector<TCellInfo> Items;
};

inline constexpr int TableMaxRows = 500;
inline constexpr int TableMaxCols = 10;

// A spin edit's text as a number: a whole decimal number (sign allowed), else 1.
int SpinEditValue(const std::string &Text);

// The designer's grid: size, heading row and column (the grid's fixed row and column) and cell
// texts. Texts are kept by position, so cells cut off by shrinking reappear when it grows back.
class TTableGrid {
public:
    // 5 by 5 with a heading row and a heading column.
    TTableGrid() = default;

    int RowCount() const { return Rows; }
    int ColCount() const { return Cols; }
    int FixedRows() const { return FixedR; }
    int FixedCols() const { return FixedC; }

    // Clamped to 1..TableMaxRows (1..TableMaxCols). A count at or below the number of fixed rows
    // (columns) drops the heading row (column); it does not come back by itself.
    void SetRowCount(int Count);
    void SetColCount(int Count);
    // The heading check boxes: one fixed row (column) when On. Refused (false, nothing changes)
    // when the grid has no room for it, i.e. only one row (column).
    bool SetFixedRows(bool On);
    bool SetFixedCols(bool On);
    // Whether the "Column Headings" ("Row Headings") check box is enabled.
    bool ColHeadingsEnabled() const { return Rows > 1; }
    bool RowHeadingsEnabled() const { return Cols > 1; }

    const std::string &Cell(int Col, int Row) const;
    void SetCell(int Col, int Row, std::string Text);
    // In column 0 with a fixed column, or in row 0 with a fixed row.
    bool IsHeadingCell(int Col, int Row) const;

    // Drags a row (column) to another position; the ones between shift by one. Only the texts
    // move, attributes stay with their positions. Positions outside the grid are ignored.
    void MoveRow(int From, int To);
    void MoveColumn(int From, int To);

private:
    int Rows = 5, Cols = 5, FixedR = 1, FixedC = 1;
    std::map<std::pair<int, int>, std::string> Texts; // (col, row) -> text
};

// The designer's options around the grid.
struct TTableOptions {
    bool Border = true;
    std::string BorderWidth, CellPadding, CellSpacing;
    std::string Caption, CaptionAlign;
};

inline constexpr const char *CaptionAlignments[] = {"top", "bottom", ""};

// The table's source lines: the TABLE start tag, the caption line when there is a caption, one
// line per grid row ("<TR> " then "<TH ...>text</TH> " or TD per cell, then "</TR>"), "</TABLE>".
std::vector<std::string> GenerateTableLines(const TTableOptions &Options, const TTableGrid &Grid,
                                            const TCellInfoList &Cells);

// "Table Heading: Col c, Row r" or "Table Data: Col c, Row r".
std::string CellPropertyCaption(int Col, int Row, bool Heading);

// Where the grid draws a cell's text, and whether in bold.
struct TCellTextPos {
    int X = 0, Y = 0;
    bool Bold = false;
};
TCellTextPos CellTextPosition(int Left, int Top, int Width, int Height, int TextWidth, int TextHeight,
                              bool Heading, const TCellInfo *Info);
