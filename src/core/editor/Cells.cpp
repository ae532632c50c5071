// TEdCells: the cells of a display line, and TEdCellIndex, the checkpoints of long paragraphs.
#include "core/editor/Cells.h"

#include "core/editor/Chars.h"

#include <algorithm>
#include <climits>

namespace {

int Saturate(std::int64_t V) { return static_cast<int>(std::clamp<std::int64_t>(V, INT_MIN, INT_MAX)); }

// Cells of the characters starting in Text[From, To) when Width cells stand before From; Tabs
// tells whether one was seen, Reached receives the end of the last character counted.
std::int64_t ScanWidth(std::string_view Text, std::size_t From, std::size_t To, std::int64_t Width, int Tab,
                       bool Utf8, bool *Tabs = nullptr, std::size_t *Reached = nullptr)
{
    if (!Utf8) {
        for (std::size_t I = From; I < To; ++I) {
            if (Text[I] == '\t') {
                Width += Tab - Width % Tab;
                if (Tabs)
                    *Tabs = true;
            } else {
                ++Width;
            }
        }
        if (Reached)
            *Reached = std::max(From, To);
        return Width;
    }
    std::size_t I = From;
    while (I < To) {
        const std::size_t Next = EdNextChar(Text, I, true);
        if (Text[I] == '\t' && Tabs)
            *Tabs = true;
        Width += EdCharCells(Text, I, Next, Width, Tab, true);
        I = Next;
    }
    if (Reached)
        *Reached = I;
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

TEdCellIndex::TEdCellIndex(std::string_view Text, int TabSize, bool Utf8) : Tab(std::max(TabSize, 1)), U8(Utf8)
{
    Points.push_back({0, 0, false});
    Scan(Text, Points.front(), Text.size(), Points);
}

void TEdCellIndex::Scan(std::string_view Text, TPoint From, std::size_t Stop, std::vector<TPoint> &Out) const
{
    while (From.Offset < Stop) {
        std::size_t To = Stop - From.Offset <= 2 * Spacing ? Stop : From.Offset + Spacing;
        bool Tabs = false;
        const std::int64_t Cells = ScanWidth(Text, From.Offset, To, From.Cells, Tab, U8, &Tabs, &To);
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
    return ScanWidth(Text, P.Offset, Count, P.Cells, Tab, U8);
}

std::size_t TEdCellIndex::CharAt(std::string_view Text, std::int64_t Cell) const
{
    // The last point whose cells do not pass Cell; the character covering Cell lies behind it.
    const auto It = std::upper_bound(Points.begin(), Points.end(), Cell,
                                     [](std::int64_t C, const TPoint &P) { return C < P.Cells; });
    const TPoint &P = *(It - 1);
    std::int64_t W = P.Cells;
    if (!U8) {
        for (std::size_t I = P.Offset; I < Text.size(); ++I) {
            W += EdCellWidth(Text[I], W, Tab);
            if (Cell < W)
                return I;
        }
        return Text.size();
    }
    for (std::size_t I = P.Offset; I < Text.size();) {
        const std::size_t Next = EdNextChar(Text, I, true);
        W += EdCharCells(Text, I, Next, W, Tab, true);
        if (Cell < W)
            return I;
        I = Next;
    }
    return Text.size();
}

void TEdCellIndex::Edited(std::string_view Text, std::size_t At, std::size_t Removed, std::size_t Inserted)
{
    // Points up to the edit stay; K is the first point behind the edit's old end. The text from
    // the last point before the edit up to K's new place is scanned afresh. In a UTF-8 text an
    // edit may join its first character to the one before it, so the scan starts from a point that
    // a whole code point keeps away from the edit.
    const std::size_t S = PointAtOrBefore(U8 ? (At >= 4 ? At - 4 : 0) : At);
    std::size_t K = S + 1;
    while (K < Points.size() && Points[K].Offset < At + Removed)
        ++K;
    K = std::min(K, Points.size() - 1); // the end point is always behind the edit
    std::vector<TPoint> Fresh(Points.begin(), Points.begin() + static_cast<std::ptrdiff_t>(S) + 1);
    Fresh.reserve(Points.size() + Inserted / Spacing + 1);
    const auto Moved = [&](std::size_t J) { return Points[J].Offset + Inserted - Removed; };
    Scan(Text, Fresh.back(), Moved(K), Fresh);
    // The fresh scan must meet an old point on a character boundary; where a character now runs
    // over K's place (a mark typed before it joins it), the old points it passed are dropped.
    while (Fresh.back().Offset != Moved(K)) {
        while (K + 1 < Points.size() && Moved(K) < Fresh.back().Offset)
            ++K;
        if (Moved(K) > Fresh.back().Offset)
            Scan(Text, Fresh.back(), Moved(K), Fresh);
    }
    const std::size_t KNew = Moved(K);

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
            P.Cells = ScanWidth(Text, Prev.Offset, P.Offset, Prev.Cells, Tab, U8);
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
        std::size_t Reached = At;
        W = ScanWidth(Text, At, P.Offset, W, Tab, U8, &Tabs, &Reached);
        if (W != P.Cells || Reached != P.Offset || (P.Offset > 0 && Tabs != P.TabBefore))
            return false;
        At = P.Offset;
    }
    return true;
}

// --- TEdCells -----------------------------------------------------------------------------------

TEdCells::TEdCells(std::string_view Text, int TabSize, const TEdCellIndex *Index, bool Utf8)
    : Line(Text), Tab(std::max(TabSize, 1)), U8(Utf8),
      Index(Index && Index->TabSize() == Tab && Index->Utf8() == Utf8 ? Index : nullptr)
{
}

int TEdCells::Width(int Count) const
{
    if (Count <= 0)
        return 0;
    const std::size_t N = std::min(static_cast<std::size_t>(Count), Line.size());
    const std::int64_t W = Index ? Index->Width(Line, N) : ScanWidth(Line, 0, N, 0, Tab, U8);
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
    } else if (!U8) {
        std::int64_t W = 0;
        for (I = 0; I < Line.size(); ++I) {
            const std::int64_t Next = W + EdCellWidth(Line[I], W, Tab);
            if (Target < Next)
                break;
            W = Next;
        }
    } else {
        std::int64_t W = 0;
        for (I = 0; I < Line.size();) {
            const std::size_t End = EdNextChar(Line, I, true);
            W += EdCharCells(Line, I, End, W, Tab, true);
            if (Target < W)
                break;
            I = End;
        }
    }
    if (I < Line.size())
        return static_cast<int>(I) + 1;
    const std::int64_t Total = Index ? Index->TotalWidth() : ScanWidth(Line, 0, Line.size(), 0, Tab, U8);
    return Saturate(static_cast<std::int64_t>(Line.size()) + 1 + std::max<std::int64_t>(0, Target - Total));
}

template <class F> void TEdCells::ForEachChar(std::int64_t First, std::int64_t Count, F Each) const
{
    if (Count <= 0 || First < 0)
        return;
    const std::size_t Start = Index ? Index->CharAt(Line, First) : static_cast<std::size_t>(CharColumn(Saturate(First + 1)) - 1);
    if (Start >= Line.size())
        return;
    std::int64_t W = Index ? Index->Width(Line, Start) : ScanWidth(Line, 0, Start, 0, Tab, U8);
    const std::int64_t End = First + Count;
    for (std::size_t I = Start; I < Line.size() && W < End;) {
        const std::size_t Next = U8 ? EdNextChar(Line, I, true) : I + 1;
        const int Cells = U8 ? EdCharCells(Line, I, Next, W, Tab, true) : static_cast<int>(EdCellWidth(Line[I], W, Tab));
        Each(I, Next, W, Cells);
        W += Cells;
        I = Next;
    }
}

std::string TEdCells::Slice(int First, int Count) const
{
    std::string Out;
    Out.reserve(static_cast<std::size_t>(std::max(Count, 0)));
    const std::int64_t End = static_cast<std::int64_t>(First) + Count;
    ForEachChar(First, Count, [&](std::size_t I, std::size_t Next, std::int64_t W, int Cells) {
        if (Line[I] == '\t' || W < First || W + Cells > End) {
            for (std::int64_t K = std::max<std::int64_t>(W, First); K < W + Cells && K < End; ++K)
                Out.push_back(' ');
        } else {
            Out.append(Line.substr(I, Next - I));
        }
    });
    return Out;
}

std::string TEdCells::CellBytes(int First, int Count) const
{
    if (!U8)
        return Slice(First, Count);
    std::string Out;
    Out.reserve(static_cast<std::size_t>(std::max(Count, 0)));
    const std::int64_t End = static_cast<std::int64_t>(First) + Count;
    ForEachChar(First, Count, [&](std::size_t I, std::size_t Next, std::int64_t W, int Cells) {
        const unsigned char C = static_cast<unsigned char>(Line[I]);
        const char Shown = C == '\t' ? ' ' : C < 0x80 && Next == I + 1 ? static_cast<char>(C) : '\x80';
        for (std::int64_t K = std::max<std::int64_t>(W, First); K < W + Cells && K < End; ++K)
            Out.push_back(Shown);
    });
    return Out;
}

std::vector<TEdShownChar> TEdCells::ShownChars(int First, int Count) const
{
    std::vector<TEdShownChar> Out;
    const std::int64_t End = static_cast<std::int64_t>(First) + Count;
    ForEachChar(First, Count, [&](std::size_t I, std::size_t Next, std::int64_t W, int Cells) {
        if (Line[I] != '\t' && W >= First && W + Cells <= End)
            Out.push_back({static_cast<int>(W - First), Cells, Line.substr(I, Next - I)});
    });
    return Out;
}
