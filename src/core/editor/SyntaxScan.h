// The markup colouring scan: which pen and brush every visible cell of a paint pass gets.
#pragma once

#include "core/editor/Cells.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The pens of the painter: plain text (TextColor, grey when disabled), the selection's text
// colour, ElementColor and EntityColor.
enum TScanPen : std::uint8_t { spText, spSelText, spElement, spEntity };
// The brushes: the control colour, or the selection background.
enum TScanBrush : std::uint8_t { sbNormal, sbSelection };

struct TScanStyle {
    TScanPen Pen = spText;
    TScanBrush Brush = sbNormal;
    bool operator==(const TScanStyle &) const = default;
};

// Cells First .. First + Count - 1 of a row, all with one pen and brush.
struct TScanRun {
    int First = 0;
    int Count = 0;
    TScanPen Pen = spText;
    TScanBrush Brush = sbNormal;
    bool operator==(const TScanRun &) const = default;
};

// The shown selection in display lines and character columns, start before end. Not shown
// when the control is disabled, nothing is selected, or it is hidden without the focus.
struct TScanSelection {
    bool Shown = false;
    int StartLine = 0, StartCol = 0;
    int EndLine = 0, EndCol = 0;
};

struct TScanGeometry {
    int HScroll = 0;         // screen columns scrolled off to the left
    int VisibleColumns = 80; // cells of a row
    int TabSize = 8;
};

// One scanned row. The cells right of Cells.size() are filled with the normal brush.
struct TScanRow {
    std::string Cells;              // visible characters, tabs expanded to spaces
    std::vector<TScanStyle> Styles; // one per cell
    std::vector<TScanRun> Runs;     // the cells as runs of equal style, left to right
    void Clear() { Cells.clear(); Styles.clear(); Runs.clear(); }
};

// The scan of one paint pass. The state (inside a tag, an entity, the selection, and the pen)
// lives only for the pass and carries over from one row to the next, so a row's colours depend
// on which rows above it the same pass scanned.
class TSyntaxScanner {
public:
    TSyntaxScanner(const TScanGeometry &Geometry, const TScanSelection &Selection);

    // Starts a pass: nothing open, plain pen.
    void BeginPass();
    // Scans display line LineNumber (its raw text, tabs kept) as the next row of the pass.
    void ScanLine(int LineNumber, std::string_view Text, TScanRow &Out);
    // The same for a line given as cells (a long paragraph answers through its cell index).
    void ScanLine(int LineNumber, const TEdCells &Line, TScanRow &Out);

    bool InTag() const { return Tag; }
    bool InEntity() const { return Entity; }
    TScanPen Pen() const { return CurPen; }

private:
    void DrawCells(TScanRow &Out, std::size_t From, std::size_t To, TScanBrush Brush);
    void EnterSelection();
    void LeaveSelection();

    TScanGeometry Geo;
    TScanSelection Sel;
    bool Tag = false, Entity = false, InSel = false;
    TScanPen CurPen = spText;
    std::string Shown; // the visible cells of the line scanned last
};

// Rows covered by a clip box (pixels from the client top): FirstRow = top div LineHeight + 1,
// LastRow = ceiling(bottom / LineHeight), VisibleRows + 1 when it equals VisibleRows (so the
// partial row under the last whole row is cleared; that row is only filled, never scanned).
struct TPaintRows {
    int FirstRow = 1;
    int LastRow = 1;
};
TPaintRows PaintRowRange(int ClipTop, int ClipBottom, int LineHeight, int VisibleRows);

// A whole pass over rows 1..VisibleRows showing lines TopLine.. of Lines (Lines[0] is line 1).
// Rows outside FirstRow..LastRow, or past the last line, come back empty and are not scanned.
std::vector<TScanRow> ScanPaintPass(const std::vector<std::string> &Lines, int TopLine, int VisibleRows,
                                    TPaintRows Rows, const TScanGeometry &Geometry,
                                    const TScanSelection &Selection);
