// TEdCells: the cells of a display line, and TEdCellIndex, the checkpoints of long paragraphs.
#include "core/editor/Cells.h"

#include <algorithm>
#include <climits>

namespace {

int Saturate(std::int64_t V) { return static_cast<int>(std::clamp<std::int64_t>(V, INT_MIN, INT_MAX)); }

// Cells of Text[From, To) when Width cells stand before From; Tabs tells whether one was seen.
std::int64_t ScanWidth(std::string_view Text, std::size_t From, std::size_t To, std::int64_t Width, int Tab,
                       bool *Tabs = nullptr)
{
    for (std::size_t I = From; I < To; ++I) {
        if (Text[I] == '\t') {
            Width += Tab - Width % Tab;
            if (Tabs)
                *Tabs = true;
        } else {
            ++Width;
        }
    }
    return Width;
}

} // namespace

char32_t EdControlPicture(unsigned char C)
{
    if (C < 32 && C != '\t')
        return 0x2400 + C; // the control pictures block holds NUL .. US in order
    if (C == 127)
        return 0x2421; // DEL
    return 0;
}

char EdControlLetter(unsigned char C)
{
    if (C < 32 && C != '\t')
        return static_cast<char>('@' + C);
    return C == 127 ? '?' : 0;
}

// --- TEdCellIndex -------------------------------------------------------------------------------

TEdCellIndex::TEdCellIndex(std::string_view Text, int TabSize) : Tab(std::max(TabSize, 1))
{
    Points.push_back({0, 0, false});
    Scan(Text, Points.front(), Text.size(), Points);
}

void TEdCellIndex::Scan(std::string_view Text, TPoint From, std::size_t Stop, std::vector<TPoint> &Out) const
{
    while (From.Offset < Stop) {
        const std::size_t To = Stop - From.Offset <= 2 * Spacing ? Stop : From.Offset + Spacing;
        bool Tabs = false;
        const std::int64_t Cells = ScanWidth(Text, From.Offset, To, From.Cells, Tab, &Tabs);
        From = {To, Cells, Tabs};
        Out.push_back(From);
    }
}

std::size_t TEdCellIndex::PointAtOrBefore(std::size_t Offset) const
{
    const auto It = std::upper_bound(Points.begin(), Points.end(), Offset,
                                     [](std::size_t O, const TPoint &P) { return O < P.Offset; });
    return static_cast<std::size_t>(It - Points.begin()) - 1;
}

std::int64_t TEdCellIndex::Width(std::string_view Text, std::size_t Count) const
{
    Count = std::min(Count, Text.size());
    const TPoint &P = Points[PointAtOrBefore(Count)];
    return ScanWidth(Text, P.Offset, Count, P.Cells, Tab);
}

std::size_t TEdCellIndex::CharAt(std::string_view Text, std::int64_t Cell) const
{
    // The last point whose cells do not pass Cell; the character covering Cell lies behind it.
    const auto It = std::upper_bound(Points.begin(), Points.end(), Cell,
                                     [](std::int64_t C, const TPoint &P) { return C < P.Cells; });
    const TPoint &P = *(It - 1);
    std::int64_t W = P.Cells;
    for (std::size_t I = P.Offset; I < Text.size(); ++I) {
        W += EdCellWidth(Text[I], W, Tab);
        if (Cell < W)
            return I;
    }
    return Text.size();
}

void TEdCellIndex::Edited(std::string_view Text, std::size_t At, std::size_t Removed, std::size_t Inserted)
{
    // Points up to the edit stay; K is the first point behind the edit's old end. The text from
    // the last point before the edit up to K's new place is scanned afresh.
    const std::size_t S = PointAtOrBefore(At);
    std::size_t K = S + 1;
    while (K < Points.size() && Points[K].Offset < At + Removed)
        ++K;
    K = std::min(K, Points.size() - 1); // the end point is always behind the edit
    std::vector<TPoint> Fresh(Points.begin(), Points.begin() + static_cast<std::ptrdiff_t>(S) + 1);
    Fresh.reserve(Points.size() + Inserted / Spacing + 1);
    const std::size_t KNew = Points[K].Offset + Inserted - Removed;
    Scan(Text, Fresh.back(), KNew, Fresh);

    // Behind K the characters are the old ones. Up to the first tab behind the edit they all move
    // by the same number of cells; that tab ends on a tab stop, old and new, so everything after
    // it moves by the shift it leaves.
    const std::size_t EditEnd = std::min(At + Inserted, KNew);
    bool Fixed = Text.substr(EditEnd, KNew - EditEnd).find('\t') != std::string_view::npos;
    std::int64_t Delta = Fresh.back().Cells - Points[K].Cells;
    for (std::size_t J = K + 1; J < Points.size(); ++J) {
        TPoint P = Points[J];
        P.Offset = P.Offset + Inserted - Removed;
        if (!Fixed && P.TabBefore) {
            const TPoint &Prev = Fresh.back();
            const std::int64_t Old = P.Cells;
            P.Cells = ScanWidth(Text, Prev.Offset, P.Offset, Prev.Cells, Tab);
            Delta = P.Cells - Old;
            Fixed = true;
        } else {
            P.Cells += Delta;
        }
        Fresh.push_back(P);
    }
    Points = std::move(Fresh);
}

bool TEdCellIndex::Check(std::string_view Text) const
{
    if (Points.empty() || Points.front().Offset != 0 || Points.back().Offset != Text.size())
        return false;
    std::int64_t W = 0;
    std::size_t At = 0;
    for (const TPoint &P : Points) {
        if (P.Offset < At)
            return false;
        bool Tabs = false;
        W = ScanWidth(Text, At, P.Offset, W, Tab, &Tabs);
        if (W != P.Cells || (P.Offset > 0 && Tabs != P.TabBefore))
            return false;
        At = P.Offset;
    }
    return true;
}

// --- TEdCells -----------------------------------------------------------------------------------

TEdCells::TEdCells(std::string_view Text, int TabSize, const TEdCellIndex *Index)
    : Line(Text), Tab(std::max(TabSize, 1)), Index(Index && Index->TabSize() == Tab ? Index : nullptr)
{
}

int TEdCells::Width(int Count) const
{
    if (Count <= 0)
        return 0;
    const std::size_t N = std::min(static_cast<std::size_t>(Count), Line.size());
    const std::int64_t W = Index ? Index->Width(Line, N) : ScanWidth(Line, 0, N, 0, Tab);
    return Saturate(W + static_cast<std::int64_t>(static_cast<std::size_t>(Count) - N));
}

int TEdCells::CharColumn(int ScreenCol) const
{
    const std::int64_t Target = static_cast<std::int64_t>(ScreenCol) - 1;
    if (Target < 0)
        return 1;
    std::size_t I;
    if (Index) {
        I = Index->CharAt(Line, Target);
    } else {
        std::int64_t W = 0;
        for (I = 0; I < Line.size(); ++I) {
            const std::int64_t Next = W + EdCellWidth(Line[I], W, Tab);
            if (Target < Next)
                break;
            W = Next;
        }
    }
    if (I < Line.size())
        return static_cast<int>(I) + 1;
    const std::int64_t Total = Index ? Index->TotalWidth() : ScanWidth(Line, 0, Line.size(), 0, Tab);
    return Saturate(static_cast<std::int64_t>(Line.size()) + 1 + std::max<std::int64_t>(0, Target - Total));
}

std::string TEdCells::Slice(int First, int Count) const
{
    std::string Out;
    if (Count <= 0 || First < 0)
        return Out;
    const std::size_t Start = Index ? Index->CharAt(Line, First) : static_cast<std::size_t>(CharColumn(First + 1) - 1);
    if (Start >= Line.size())
        return Out;
    std::int64_t W = Index ? Index->Width(Line, Start) : ScanWidth(Line, 0, Start, 0, Tab);
    const std::int64_t End = static_cast<std::int64_t>(First) + Count;
    Out.reserve(static_cast<std::size_t>(Count));
    for (std::size_t I = Start; I < Line.size() && W < End; ++I) {
        const char C = Line[I];
        const std::int64_t Next = W + EdCellWidth(C, W, Tab);
        if (C == '\t') {
            for (std::int64_t K = std::max<std::int64_t>(W, First); K < Next && K < End; ++K)
                Out.push_back(' ');
        } else {
            Out.push_back(C);
        }
        W = Next;
    }
    return Out;
}
