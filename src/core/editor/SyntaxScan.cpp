// The markup colouring scan of a paint pass.
#include "core/editor/SyntaxScan.h"

#include "core/editor/Columns.h"

#include <algorithm>

TSyntaxScanner::TSyntaxScanner(const TScanGeometry &Geometry, const TScanSelection &Selection)
    : Geo(Geometry), Sel(Selection)
{
    Geo.TabSize = std::max(Geo.TabSize, 1);
    Geo.HScroll = std::max(Geo.HScroll, 0);
    Geo.VisibleColumns = std::max(Geo.VisibleColumns, 0);
    BeginPass();
}

void TSyntaxScanner::BeginPass()
{
    Tag = Entity = InSel = false;
    CurPen = spText;
}

void TSyntaxScanner::EnterSelection()
{
    CurPen = Tag ? spElement : Entity ? spEntity : spSelText;
    InSel = true;
}

void TSyntaxScanner::LeaveSelection()
{
    CurPen = Tag ? spElement : Entity ? spEntity : spText;
    InSel = false;
}

void TSyntaxScanner::DrawCells(TScanRow &Out, std::size_t From, std::size_t To, TScanBrush Brush)
{
    for (std::size_t K = From; K < To; ++K) {
        const char C = Out.Cells[K];
        if (C == '<') {
            CurPen = spElement;
            Tag = true;
        } else if (C == '&') {
            CurPen = spEntity;
            Entity = true;
        }
        Out.Styles.push_back({CurPen, Brush});
        if (!Out.Runs.empty() && Out.Runs.back().Pen == CurPen && Out.Runs.back().Brush == Brush)
            ++Out.Runs.back().Count;
        else
            Out.Runs.push_back({static_cast<int>(K), 1, CurPen, Brush});
        // The closing character is drawn before the pen goes back, whatever the other flag says.
        if (C == '>') {
            CurPen = InSel ? spSelText : spText;
            Tag = false;
        } else if (C == ';') {
            CurPen = InSel ? spSelText : spText;
            Entity = false;
        }
    }
}

void TSyntaxScanner::ScanLine(int LineNumber, std::string_view Text, TScanRow &Out)
{
    ScanLine(LineNumber, TEdCells(Text, Geo.TabSize), Out);
}

void TSyntaxScanner::ScanLine(int LineNumber, const TEdCells &Line, TScanRow &Out)
{
    Out.Clear();
    if (Geo.VisibleColumns == 0)
        return;
    // Only the visible cells are looked at, however long the line.
    Shown = Line.CellBytes(Geo.HScroll, Geo.VisibleColumns);
    if (Shown.empty())
        return; // nothing visible: the row is only filled
    const int N = static_cast<int>(Shown.size());

    // The selection in screen columns: before it, in it, after it.
    int Before = N, Selected = 0;
    if (Sel.Shown) {
        const int V = Geo.HScroll + 1;
        const bool IsStart = LineNumber == Sel.StartLine, IsEnd = LineNumber == Sel.EndLine;
        if (LineNumber > Sel.StartLine && LineNumber < Sel.EndLine) {
            Before = 0;
            Selected = N;
        } else if (IsStart && IsEnd) {
            const int S = Line.ScreenColumn(Sel.StartCol);
            const int E = Line.ScreenColumn(Sel.EndCol);
            Before = std::max(0, S - V);
            Selected = E - V - Before;
        } else if (IsStart) {
            const int S = Line.ScreenColumn(Sel.StartCol);
            Before = std::max(0, S - V);
            Selected = N - Before;
        } else if (IsEnd) {
            const int E = Line.ScreenColumn(Sel.EndCol);
            if (E >= V) {
                Before = 0;
                Selected = std::min(N, E - V);
            }
        }
        Before = std::clamp(Before, 0, N);
        Selected = std::clamp(Selected, 0, N - Before);
    }

    Out.Cells.assign(Shown);
    Out.Styles.reserve(Shown.size());
    const std::size_t B = static_cast<std::size_t>(Before), E = B + static_cast<std::size_t>(Selected);
    DrawCells(Out, 0, B, sbNormal);
    if (Selected > 0) {
        EnterSelection();
        DrawCells(Out, B, E, sbSelection);
        LeaveSelection();
    }
    DrawCells(Out, E, Shown.size(), sbNormal);
}

TPaintRows PaintRowRange(int ClipTop, int ClipBottom, int LineHeight, int VisibleRows)
{
    LineHeight = std::max(LineHeight, 1);
    TPaintRows R;
    R.FirstRow = std::max(ClipTop, 0) / LineHeight + 1;
    R.LastRow = (std::max(ClipBottom, 0) + LineHeight - 1) / LineHeight;
    if (R.LastRow == VisibleRows)
        R.LastRow = VisibleRows + 1;
    return R;
}

std::vector<TScanRow> ScanPaintPass(const std::vector<std::string> &Lines, int TopLine, int VisibleRows,
                                    TPaintRows Rows, const TScanGeometry &Geometry,
                                    const TScanSelection &Selection)
{
    std::vector<TScanRow> Out(static_cast<std::size_t>(std::max(VisibleRows, 0)));
    TSyntaxScanner Scanner(Geometry, Selection);
    for (int R = 1; R <= VisibleRows; ++R) {
        if (R < Rows.FirstRow || R > Rows.LastRow)
            continue;
        const long long Line = static_cast<long long>(TopLine) + R - 1;
        if (Line < 1 || Line > static_cast<long long>(Lines.size()))
            continue;
        Scanner.ScanLine(static_cast<int>(Line), Lines[static_cast<std::size_t>(Line - 1)],
                         Out[static_cast<std::size_t>(R - 1)]);
    }
    return Out;
}
