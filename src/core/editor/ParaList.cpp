// The text store: wrapping, limits, primitive and compound edits, undo replay, bookmarks.
#include "core/editor/ParaList.h"

#include "core/editor/Chars.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

bool IsBlank(char C) { return C == ' ' || C == '\t'; }

// Bytes from Start needed to reach screen column W (tabs to the next multiple of Tab, counted
// from the line start); more than the rest when the rest never reaches it. In a UTF-8 text whole
// characters are taken, and a wide character that would cross W goes to the next line unless it
// is the line's first.
int FitFrom(std::string_view T, int Start, int W, int Tab, bool Utf8)
{
    const int N = static_cast<int>(T.size());
    int Col = 0;
    if (!Utf8) {
        for (int I = Start; I < N; ++I) {
            Col = T[I] == '\t' ? (Col / Tab + 1) * Tab : Col + 1;
            if (Col >= W)
                return I - Start + 1;
        }
        return N - Start + 1;
    }
    for (int I = Start; I < N;) {
        const int Next = static_cast<int>(EdNextChar(T, static_cast<std::size_t>(I), true));
        const int Cells = EdCharCells(T, static_cast<std::size_t>(I), static_cast<std::size_t>(Next), Col, Tab, true);
        if (Col + Cells > W && Cells > 1 && T[I] != '\t' && I > Start)
            return I - Start;
        Col += Cells;
        if (Col >= W)
            return Next - Start;
        I = Next;
    }
    return N - Start + 1;
}

// Start of the display line after the one starting at Start, or -1 when that line is the last.
int NextLineStart(std::string_view T, int Start, int W, int Tab, bool Utf8)
{
    const int N = static_cast<int>(T.size());
    const int Fit = FitFrom(T, Start, W, Tab, Utf8);
    if (N - Start <= Fit)
        return -1;
    int Next = -1;
    // Blanks and hyphens are ASCII, and an ASCII byte always starts a character.
    for (int K = Start + Fit; K >= Start; --K) {
        const char C = T[K];
        if (IsBlank(C) || C == '-') {
            // The blanks after a blank or hyphen stay at the end of this line.
            Next = static_cast<int>(EdNextChar(T, static_cast<std::size_t>(K), Utf8));
            while (Next < N && IsBlank(T[Next]))
                Next = static_cast<int>(EdNextChar(T, static_cast<std::size_t>(Next), Utf8));
            break;
        }
    }
    if (Next < 0)
        Next = Start + Fit; // no blank or hyphen: a hard break
    return Next >= N ? -1 : Next;
}

void WrapText(std::string_view T, int W, int Tab, bool Utf8, TParaExtras &Breaks)
{
    Breaks.clear();
    for (int S = 0; (S = NextLineStart(T, S, W, Tab, Utf8)) >= 0;)
        Breaks.push_back(static_cast<std::uint32_t>(S));
}

} // namespace

// Resets the changed lines at the start of an outermost edit.
struct TParaList::TEditScope {
    TParaList &L;
    explicit TEditScope(TParaList &List) : L(List)
    {
        if (L.EditDepth++ == 0)
            L.ChangedFirst = L.ChangedLast = 0;
    }
    ~TEditScope() { --L.EditDepth; }
};

namespace {
struct TFlag {
    bool &F;
    bool Old;
    TFlag(bool &Flag, bool Value) : F(Flag), Old(Flag) { F = Value; }
    ~TFlag() { F = Old; }
};
} // namespace

TParaList::TParaList(TParaListObserver *Observer, std::uint32_t UndoBufferSize)
    : Owner(Observer), UndoBuf(std::make_unique<TUndoBuffer>(static_cast<TUndoTarget &>(*this), UndoBufferSize))
{
}

TParaList::~TParaList() = default;

void TParaList::Clear()
{
    Store.Reset();
    Bytes = 0;
    Longest = 0;
    LongestKnown = true;
    Mod = false;
    ++Edits;
    Marks = {};
    UndoBuf = std::make_unique<TUndoBuffer>(static_cast<TUndoTarget &>(*this), UndoBuf->Size());
    ChangedFirst = 1;
    ChangedLast = RestOfText;
}

// --- Reading ------------------------------------------------------------------------------------

std::string_view TParaList::ParaText(int N) const
{
    if (N < 1 || N > ParaCount())
        return {};
    return Store.Text(N);
}

std::string_view TParaList::GetLine(int Line) const
{
    if (Line < 1 || Line > LineCount())
        return {};
    const auto [P, I] = Store.FindLine(Line);
    const TParaRef N = Store.Node(P);
    const int S = N.LineStart(I);
    return N.Text().substr(S, N.LineEnd(I) - S);
}

const TEdCellIndex *TParaList::CellIndex(const TParaRef &N) const
{
    if (N.Breaks().Cells() && N.Breaks().Cells()->TabSize() == Tab && N.Breaks().Cells()->Utf8() == Utf8())
        return N.Breaks().Cells();
    if (N.Length() < TEdCellIndex::MinLength)
        return nullptr;
    N.Extras().SetCells(std::make_unique<TEdCellIndex>(N.Text(), Tab, Utf8()));
    return N.Breaks().Cells();
}

int TParaList::NodeWidth(const TParaRef &N) const
{
    return TEdCells(N.Text(), Tab, CellIndex(N), Utf8()).TotalWidth();
}

TEdCells TParaList::LineCells(int Line) const
{
    if (Line < 1 || Line > LineCount())
        return TEdCells({}, Tab, nullptr, Utf8());
    const auto [P, I] = Store.FindLine(Line);
    const TParaRef N = Store.Node(P);
    const int S = N.LineStart(I);
    const std::string_view Text = N.Text().substr(S, N.LineEnd(I) - S);
    // A wrapped line counts its cells from its own start: only a whole paragraph has an index.
    return TEdCells(Text, Tab, N.LineCount() == 1 ? CellIndex(N) : nullptr, Utf8());
}

int TParaList::LongestLineWidth() const
{
    if (!LongestKnown) {
        int W = 0;
        Store.ForEach([&](const TParaRef &N) {
            // A line without tabs is as wide as it is long; only lines with tabs are counted.
            // A line is at least as wide as it is long, and a line without tabs exactly so.
            const std::string_view T = N.Text();
            const int Len = static_cast<int>(T.size());
            if (static_cast<std::int64_t>(Len) * Tab > W)
                W = std::max(W, T.find('\t') == std::string_view::npos ? Len : NodeWidth(N));
        });
        Longest = W;
        LongestKnown = true;
    }
    return Longest;
}

void TParaList::Widened(const TParaRef &N)
{
    if (!LongestKnown)
        return;
    // Without a tab no character takes more cells than it has bytes: a paragraph no longer than
    // the longest line cannot be wider, and needs no count.
    if (N.Length() <= Longest && N.Text().find('\t') == std::string_view::npos)
        return;
    Longest = std::max(Longest, NodeWidth(N));
}

TLineEnd TParaList::ParaLineEnd(int N) const
{
    return N < 1 || N > ParaCount() ? TLineEnd::Default : Store.Breaks(N).End();
}

void TParaList::SetParaLineEnd(int N, TLineEnd End)
{
    if (N >= 1 && N <= ParaCount() && Store.Breaks(N).End() != End)
        Store.Extras(N).SetEnd(End);
}

void TParaList::ResetLineEnds()
{
    Store.ForEach([](const TParaRef &N) {
        const TLineEnd E = N.Breaks().End();
        if (E != TLineEnd::None && E != TLineEnd::Default) // the file still ends without a line end
            N.Extras().SetEnd(TLineEnd::Default);
    });
    Store.TidyExtras();
}

int TParaList::ParaFirstLine(int N) const { return Store.FirstLine(std::clamp(N, 1, ParaCount())); }

int TParaList::ParaLineCount(int N) const { return Store.Node(std::clamp(N, 1, ParaCount())).LineCount(); }

TLinePos TParaList::ParaToLine(TParaPos Pos) const
{
    const int P = std::clamp(Pos.Para, 1, ParaCount());
    const int First = Store.FirstLine(P);
    const TParaRef N = Store.Node(P);
    const TParaExtras &Breaks = N.Breaks();
    if (Breaks.empty())
        return {First, Pos.Offset};
    const int I = static_cast<int>(std::upper_bound(Breaks.begin(), Breaks.end(), Pos.Offset - 1) - Breaks.begin());
    return {First + I, Pos.Offset - N.LineStart(I)};
}

TParaPos TParaList::LineToPara(int Line) const
{
    const auto [P, I] = Store.FindLine(std::clamp(Line, 1, LineCount()));
    return {P, Store.Node(P).LineStart(I)};
}

TParaPos TParaList::LineColToPara(TLinePos Pos) const
{
    const TParaPos P = LineToPara(Pos.Line);
    return {P.Para, P.Offset + Pos.Col};
}

std::string TParaList::GetText(TParaPos From, TParaPos To) const
{
    if (To < From)
        std::swap(From, To);
    From.Para = std::clamp(From.Para, 1, ParaCount());
    To.Para = std::clamp(To.Para, 1, ParaCount());
    std::string R;
    for (int P = From.Para; P <= To.Para; ++P) {
        const std::string_view T = ParaText(P);
        const int Len = static_cast<int>(T.size());
        const int A = P == From.Para ? std::clamp(From.Offset - 1, 0, Len) : 0;
        const int B = P == To.Para ? std::clamp(To.Offset - 1, A, Len) : Len;
        R.append(T.substr(static_cast<std::size_t>(A), static_cast<std::size_t>(B - A)));
        if (P < To.Para)
            R += "\r\n";
    }
    return R;
}

std::string TParaList::GetText() const
{
    std::string R;
    R.reserve(static_cast<std::size_t>(Bytes));
    bool First = true;
    Store.ForEach([&](const TParaRef &N) {
        if (!First)
            R += "\r\n";
        First = false;
        R += N.Text();
    });
    return R;
}

// --- Limits and settings ------------------------------------------------------------------------

void TParaList::SetParaLimit(int Value)
{
    if (Value > 0)
        ParaLim = Value;
}

void TParaList::SetByteLimit(int Value)
{
    if (Value >= 0)
        ByteLim = Value;
}

void TParaList::SetParaLengthLimit(int Value)
{
    if (Value >= 1 && Value <= MaxParaLength)
        ParaLenLim = Value;
}

int TParaList::CheckLimits(int Para, int AddedParas, std::int64_t AddedBytes) const
{
    if (AddedParas > 0 || Para > ParaLim) {
        std::int64_t Allowed = ParaLim;
        // The empty paragraph after the last line break does not count against the limit.
        if (ParaLim != MaxLimit && Para <= ParaLim && ParaText(ParaCount()).empty())
            ++Allowed;
        if (static_cast<std::int64_t>(ParaCount()) + AddedParas > Allowed)
            return edeParaLimit;
    }
    if (Bytes + AddedBytes > ByteLim)
        return edeByteLimit;
    if (Para > 0 && AddedParas == 0 && Para <= ParaCount() && ParaLength(Para) + AddedBytes > ParaLenLim)
        return edeParaTooLong;
    return 0;
}

void TParaList::SetWordWrap(bool Value)
{
    if (Value == Wrap)
        return;
    Wrap = Value;
    RewrapAll();
}

void TParaList::SetWrapColumn(int Value)
{
    if (Value <= 0 || Value == WrapCol)
        return;
    WrapCol = Value;
    if (Wrap)
        RewrapAll();
}

void TParaList::CellsChanged()
{
    // Cells are counted afresh: the cell indexes go, the longest line is measured again.
    Store.ForEach([](const TParaRef &N) {
        if (N.Breaks().Cells())
            N.Extras().SetCells(nullptr);
    });
    Store.TidyExtras();
    LongestKnown = false;
    if (Wrap)
        RewrapAll();
}

void TParaList::SetTabSize(int Value)
{
    if (Value <= 0 || Value == Tab)
        return;
    Tab = Value;
    CellsChanged();
}

void TParaList::SetEncoding(TTextEncoding Value)
{
    const bool WasUtf8 = Utf8();
    Enc = Value;
    if (WasUtf8 == Utf8())
        return;
    CellsChanged();
    ChangedFirst = 1;
    ChangedLast = RestOfText;
}

void TParaList::ChangeEncoding(TTextEncoding Value)
{
    if (Value == Enc)
        return;
    TEditScope Scope(*this);
    if (!Replaying)
        UndoBuf->RecordChars(ukEncoding, static_cast<int>(Enc), static_cast<int>(Value), {});
    SetEncoding(Value);
    Mod = true;
    ++Edits;
    MarkChanged(1, RestOfText);
}

// --- Wrapping -----------------------------------------------------------------------------------

void TParaList::WrapNode(TParaNode &Node) const
{
    if (!Wrap) {
        Node.Breaks.clear();
        return;
    }
    WrapText(Node.Text, WrapCol, Tab, Utf8(), Node.Breaks);
}

void TParaList::WrapNode(const TParaRef &Node) const
{
    // A paragraph that stays one line needs no extras.
    if (!Wrap || NextLineStart(Node.Text(), 0, WrapCol, Tab, Utf8()) < 0) {
        if (!Node.Breaks().empty())
            Node.Extras().clear();
        return;
    }
    WrapText(Node.Text(), WrapCol, Tab, Utf8(), Node.Extras());
}

void TParaList::RewrapAll()
{
    Store.ForEach([this](const TParaRef &N) { WrapNode(N); });
    Store.TidyExtras();
    Store.Recount();
    ChangedFirst = 1;
    ChangedLast = RestOfText;
    if (Owner)
        Owner->ParaListRewrapped(*this);
}

void TParaList::MarkChanged(int First, int Last)
{
    First = std::max(First, 1);
    Last = std::max(Last, First);
    if (ChangedFirst == 0) {
        ChangedFirst = First;
        ChangedLast = Last;
    } else {
        ChangedFirst = std::min(ChangedFirst, First);
        ChangedLast = std::max(ChangedLast, Last);
    }
}

void TParaList::RewrapEdited(int Para, int EditOffset, int Deleted, int Inserted)
{
    const int First = Store.FirstLine(Para);
    const TParaRef N = Store.Node(Para);
    if (!Wrap) {
        MarkChanged(First, First);
        return;
    }
    const std::string_view Text = N.Text();
    const TParaExtras Old = N.Breaks(); // the starts only
    TParaExtras &New = N.Extras();
    New.clear();
    // The line holding the edit, and the one before it: a word may move back onto it. Lines
    // further up look at no character of the edit.
    const int L = static_cast<int>(std::upper_bound(Old.begin(), Old.end(), EditOffset) - Old.begin());
    const int K = std::max(0, L - 1);
    New.assign(Old.begin(), Old.begin() + K);
    const int Delta = Inserted - Deleted;
    const int EditEnd = EditOffset + Inserted;
    int SyncLine = -1;
    for (int S = K == 0 ? 0 : Old[K - 1]; (S = NextLineStart(Text, S, WrapCol, Tab, Utf8())) >= 0;) {
        if (S >= EditEnd) {
            // From a start behind the edit that was a start before, the old lines follow unchanged.
            const auto It = std::lower_bound(Old.begin(), Old.end(), S - Delta);
            if (It != Old.end() && *It == S - Delta) {
                SyncLine = static_cast<int>(New.size()) + 1;
                for (auto J = It; J != Old.end(); ++J)
                    New.push_back(static_cast<std::uint32_t>(*J + Delta));
                break;
            }
        }
        New.push_back(static_cast<std::uint32_t>(S));
    }
    const int OldCount = static_cast<int>(Old.size()) + 1;
    const int NewCount = static_cast<int>(New.size()) + 1;
    int FirstChanged = L;
    if (L >= 1 && (L > static_cast<int>(New.size()) || New[L - 1] != Old[L - 1]))
        FirstChanged = L - 1;
    if (NewCount != OldCount) {
        Store.LinesChanged(Para, NewCount - OldCount);
        MarkChanged(First + FirstChanged, RestOfText);
    } else {
        const int LastChanged = SyncLine > 0 ? SyncLine - 1 : NewCount - 1;
        MarkChanged(First + FirstChanged, First + std::max(LastChanged, FirstChanged));
    }
}

// --- Positions ----------------------------------------------------------------------------------

void TParaList::CheckPara(int Para) const
{
    if (Para < 1 || Para > ParaCount())
        throw EInvalidLineOrPara();
}

void TParaList::Shift(const TPosShift &S)
{
    if (!Tracking)
        return;
    for (auto &M : Marks)
        if (M.Para > 0 && S.Apply(M) == TShiftResult::Removed)
            M = {};
    if (Owner)
        Owner->ParaListShifted(*this, S);
}

TParaPos TParaList::Bookmark(int Digit) const { return Digit >= 0 && Digit <= 9 ? Marks[Digit] : TParaPos{}; }

void TParaList::SetBookmark(int Digit, int Para, int Offset)
{
    if (Digit < 0 || Digit > 9)
        return;
    if (Para < 1 || Para > ParaCount() || Offset < 1 || Offset > ParaLenLim + 1)
        throw EInvalidLineOrCol();
    Marks[Digit] = {Para, Offset};
}

void TParaList::ClearBookmark(int Digit)
{
    if (Digit >= 0 && Digit <= 9)
        Marks[Digit] = {};
}

// --- Primitive steps ----------------------------------------------------------------------------

TParaNode TParaList::MakeNode(std::string_view Text) const
{
    TParaNode N;
    N.Text = std::string(Text);
    WrapNode(N);
    return N;
}

int TParaList::DoInsertChars(int Para, int Offset, std::string_view Chars, bool Check)
{
    if (Chars.empty())
        return 0; // inserting nothing fills no gap either
    const TParaRef N = Store.Node(Para);
    const int Len = N.Length();
    const int Fill = std::max(0, Offset - 1 - Len);
    const int Total = Fill + static_cast<int>(Chars.size());
    if (Check)
        if (const int E = CheckLimits(Para, 0, Total))
            return E;
    const int At = std::min(Offset - 1, Len);
    std::string Added;
    try {
        N.Reserve(static_cast<std::size_t>(Total));
        Added.reserve(static_cast<std::size_t>(Total));
    } catch (const std::bad_alloc &) {
        return edeNoMemory;
    }
    Added.append(static_cast<std::size_t>(Fill), ' ');
    Added.append(Chars);
    if (!Replaying)
        UndoBuf->RecordChars(ukInsertChars, Para, At + 1, Added);
    N.Replace(static_cast<std::size_t>(At), 0, Added);
    if (TEdCellIndex *Cells = N.Breaks().Cells())
        Cells->Edited(N.Text(), static_cast<std::size_t>(At), 0, static_cast<std::size_t>(Total));
    Widened(N);
    Bytes += Total;
    RewrapEdited(Para, At, 0, Total);
    Shift({TPosShift::CharsInserted, Para, Offset, static_cast<int>(Chars.size())});
    Mod = true;
    ++Edits;
    return 0;
}

void TParaList::DoDeleteChars(int Para, int Offset, int Count)
{
    const TParaRef N = Store.Node(Para);
    const int Len = N.Length();
    if (Offset > Len || Count <= 0)
        return;
    Count = std::min(Count, Len - Offset + 1);
    if (!Replaying)
        UndoBuf->RecordChars(ukDeleteChars, Para, Offset, N.Text().substr(Offset - 1, Count));
    N.Replace(static_cast<std::size_t>(Offset - 1), static_cast<std::size_t>(Count), {});
    if (TEdCellIndex *Cells = N.Breaks().Cells())
        Cells->Edited(N.Text(), static_cast<std::size_t>(Offset - 1), static_cast<std::size_t>(Count), 0);
    Bytes -= Count;
    RewrapEdited(Para, Offset - 1, Count, 0);
    Shift({TPosShift::CharsDeleted, Para, Offset, Count});
    Mod = true;
    ++Edits;
}

int TParaList::DoReplaceChars(int Para, int Offset, int OldCount, std::string_view New, bool Check)
{
    const TParaRef N = Store.Node(Para);
    const int Len = N.Length();
    if (Offset > Len + 1)
        return DoInsertChars(Para, Offset, New, Check); // nothing to overwrite out there
    OldCount = std::clamp(OldCount, 0, Len - Offset + 1);
    const int NewCount = static_cast<int>(New.size());
    if (OldCount == 0 && NewCount == 0)
        return 0;
    const int Growth = NewCount - OldCount;
    if (Check && Growth > 0)
        if (const int E = CheckLimits(Para, 0, Growth))
            return E;
    std::string Own;
    try {
        if (Growth > 0) {
            // New may show text of this paragraph's block, which making room can move.
            Own.assign(New);
            New = Own;
            N.Reserve(static_cast<std::size_t>(Growth));
        }
    } catch (const std::bad_alloc &) {
        return edeNoMemory;
    }
    if (!Replaying)
        UndoBuf->RecordReplace(Para, Offset, N.Text().substr(Offset - 1, OldCount), New);
    N.Replace(static_cast<std::size_t>(Offset - 1), static_cast<std::size_t>(OldCount), New);
    if (TEdCellIndex *Cells = N.Breaks().Cells())
        Cells->Edited(N.Text(), static_cast<std::size_t>(Offset - 1), static_cast<std::size_t>(OldCount),
                        static_cast<std::size_t>(NewCount));
    Widened(N);
    Bytes += Growth;
    RewrapEdited(Para, Offset - 1, OldCount, NewCount);
    if (Growth > 0)
        Shift({TPosShift::CharsInserted, Para, Offset + OldCount, Growth});
    else if (Growth < 0)
        Shift({TPosShift::CharsDeleted, Para, Offset + NewCount, -Growth});
    Mod = true;
    ++Edits;
    return 0;
}

// A paragraph taken out of the text keeps its line end as one byte after its characters while an
// undo record holds it (DoDeleteParas), and gets it back when it is put in again (Stashed).
namespace {
void StashLineEnd(std::string &Text, TLineEnd End) { Text.push_back(static_cast<char>(End)); }
TLineEnd UnstashLineEnd(std::string &Text)
{
    if (Text.empty())
        return TLineEnd::Default;
    const auto End = static_cast<TLineEnd>(static_cast<unsigned char>(Text.back()) & 7);
    Text.pop_back();
    return End;
}
} // namespace

int TParaList::DoInsertPara(int N, std::string Text, TUndoKind Kind, bool Check, bool Stashed)
{
    const TLineEnd End = Stashed ? UnstashLineEnd(Text) : TLineEnd::Default;
    const int Len = static_cast<int>(Text.size());
    if (Check) {
        if (const int E = CheckLimits(std::max(N - 1, 1), 1, Len + 2))
            return E;
        if (Len > ParaLenLim)
            return edeParaTooLong;
    }
    TParaNode Node;
    try {
        Node.Text = std::move(Text);
        Node.Breaks.SetEnd(End);
        WrapNode(Node);
    } catch (const std::bad_alloc &) {
        return edeNoMemory;
    }
    if (!Replaying)
        UndoBuf->RecordParagraph(Kind, Kind == ukInsertParaAfter ? N - 1 : N);
    Store.Insert(N, std::move(Node));
    Widened(Store.Node(N));
    Bytes += Len + 2;
    MarkChanged(Store.FirstLine(N), RestOfText);
    Shift({TPosShift::ParasInserted, N, 1, 1});
    Mod = true;
    ++Edits;
    return 0;
}

std::string TParaList::DoDeleteParas(int First, int Count)
{
    // The store keeps one paragraph at least; a consistent history never asks for less.
    Count = std::min(Count, ParaCount() - 1);
    if (Count <= 0 || First < 1 || First > ParaCount())
        return {};
    MarkChanged(Store.FirstLine(First), RestOfText);
    std::string Last;
    // From the back, so that removing does not move the paragraphs still to go; the records say
    // "paragraph k deleted" for descending k, which undo puts back in ascending order.
    for (int P = First + Count - 1; P >= First; --P) {
        TParaNode Node = Store.Remove(P);
        Bytes -= Node.Length() + 2;
        StashLineEnd(Node.Text, Node.Breaks.End());
        if (!Replaying)
            UndoBuf->RecordParagraph(ukDeletePara, P, std::move(Node.Text));
        else
            Last = std::move(Node.Text);
        Mod = true;
        ++Edits;
    }
    Shift({TPosShift::ParasDeleted, First, 1, Count});
    return Last;
}

int TParaList::DoSplit(int Para, int Offset, int Indent)
{
    const std::string_view T = ParaText(Para);
    Offset = std::min(Offset, static_cast<int>(T.size()) + 1);
    if (Offset <= 1)
        return DoInsertPara(Para, std::string(), ukInsertParaBefore, false);
    TGroup G(*this);
    TFlag NoTracking(Tracking, false);
    if (!Replaying)
        UndoBuf->RecordChars(ukMarker, Para, Offset, {});
    std::string Tail(T.substr(static_cast<std::size_t>(Offset - 1)));
    int Blanks = 0;
    while (Offset - 1 - Blanks > 0 && IsBlank(T[Offset - 2 - Blanks]))
        ++Blanks;
    const int TailLen = static_cast<int>(Tail.size());
    if (const int E = DoInsertPara(Para + 1, std::move(Tail), ukInsertParaAfter, false))
        return E;
    DoDeleteChars(Para, Offset - Blanks, Blanks + TailLen);
    std::string IndentText;
    if (Indent > 0) {
        IndentText.assign(static_cast<std::size_t>(Indent / Tab), '\t');
        IndentText.append(static_cast<std::size_t>(Indent % Tab), ' ');
        DoInsertChars(Para + 1, 1, IndentText, false);
    }
    const int IndentLen = static_cast<int>(IndentText.size());
    if (!Replaying)
        UndoBuf->RecordChars(ukMarker, Para + 1, 1 + IndentLen, {});
    Tracking = NoTracking.Old;
    Shift({TPosShift::ParaSplit, Para, Offset, IndentLen});
    return 0;
}

int TParaList::DoJoin(int Para, int Offset)
{
    if (Para >= ParaCount())
        return 0;
    const int Len = ParaLength(Para);
    Offset = std::max(Offset, Len + 1);
    const std::string Next(ParaText(Para + 1));
    const int Fill = Offset - 1 - Len;
    if (Offset - 1 + static_cast<int>(Next.size()) > ParaLenLim || Bytes + Fill - 2 > ByteLim)
        return edeCannotJoin;
    TGroup G(*this);
    {
        TFlag NoTracking(Tracking, false);
        if (!Replaying)
            UndoBuf->RecordChars(ukMarker, Para, Offset, {});
        if (Len == 0 && Offset == 1) {
            DoDeleteParas(Para, 1); // the empty paragraph itself goes
        } else {
            // Spaces fill the gap up to the offset, also when the next paragraph is empty.
            if (const int E = DoInsertChars(Para, Len + 1, std::string(static_cast<std::size_t>(Fill), ' ') + Next, false))
                return E;
            DoDeleteParas(Para + 1, 1);
        }
    }
    Shift({TPosShift::ParasJoined, Para, Offset, 0});
    return 0;
}

// --- Editing ------------------------------------------------------------------------------------

int TParaList::InsertChars(int Para, int Offset, std::string_view Chars)
{
    CheckPara(Para);
    if (Offset < 1)
        throw EInvalidLineOrPara();
    TEditScope Scope(*this);
    return DoInsertChars(Para, Offset, Chars, true);
}

int TParaList::DeleteChars(int Para, int Offset, int Count)
{
    CheckPara(Para);
    if (Offset < 1)
        throw EInvalidLineOrPara();
    TEditScope Scope(*this);
    DoDeleteChars(Para, Offset, Count);
    return 0;
}

int TParaList::ReplaceChars(int Para, int Offset, int OldCount, std::string_view New)
{
    CheckPara(Para);
    if (Offset < 1)
        throw EInvalidLineOrPara();
    TEditScope Scope(*this);
    return DoReplaceChars(Para, Offset, OldCount, New, true);
}

int TParaList::SplitPara(int Para, int Offset, int Indent)
{
    CheckPara(Para);
    if (Offset < 1)
        throw EInvalidLineOrPara();
    if (const int E = CheckLimits(Para, 1, 2 + std::max(Indent, 0)))
        return E;
    TEditScope Scope(*this);
    return DoSplit(Para, Offset, std::max(Indent, 0));
}

int TParaList::JoinPara(int Para, int Offset)
{
    CheckPara(Para);
    TEditScope Scope(*this);
    return DoJoin(Para, Offset);
}

int TParaList::DeleteRange(TParaPos From, TParaPos To)
{
    if (To < From)
        std::swap(From, To);
    CheckPara(From.Para);
    CheckPara(To.Para);
    if (From.Offset < 1 || To.Offset < 1)
        throw EInvalidLineOrPara();
    TEditScope Scope(*this);
    if (From.Para == To.Para) {
        DoDeleteChars(From.Para, From.Offset, To.Offset - From.Offset);
        return 0;
    }
    const int Len2 = ParaLength(To.Para);
    To.Offset = std::min(To.Offset, Len2 + 1);
    if (From.Offset == 1 && To.Offset == 1) {
        TGroup G(*this);
        DoDeleteParas(From.Para, To.Para - From.Para);
        return 0;
    }
    // Check the join first, so that a too long result leaves the text as it was; so does one
    // whose gap filling (From past the end of its paragraph) would cross the byte limit.
    if (From.Offset - 1 + Len2 - (To.Offset - 1) > ParaLenLim)
        return edeCannotJoin;
    const int Len1 = ParaLength(From.Para);
    if (From.Offset - 1 > Len1) {
        std::int64_t Remaining = Bytes - (To.Offset - 1) - 2;
        for (int P = From.Para + 1; P < To.Para; ++P)
            Remaining -= ParaLength(P) + 2;
        if (Remaining + (From.Offset - 1 - Len1) > ByteLim)
            return edeCannotJoin;
    }
    TGroup G(*this);
    DoDeleteChars(From.Para, From.Offset, ParaLength(From.Para) - From.Offset + 1);
    DoDeleteChars(To.Para, 1, To.Offset - 1);
    if (To.Para - From.Para > 1)
        DoDeleteParas(From.Para + 1, To.Para - From.Para - 1);
    return DoJoin(From.Para, From.Offset);
}

namespace {
struct TSegment {
    std::string_view Chars;
    bool Break;
};

// The text cut after each LF; the run of CRs and LFs ending a segment is its line break, and so
// is a CR run ending the whole text.
std::vector<TSegment> Segments(std::string_view Text)
{
    std::vector<TSegment> R;
    std::size_t I = 0;
    while (I < Text.size()) {
        const std::size_t J = Text.find('\n', I);
        std::string_view S = J == std::string_view::npos ? Text.substr(I) : Text.substr(I, J + 1 - I);
        I = J == std::string_view::npos ? Text.size() : J + 1;
        const std::size_t Keep = S.find_last_not_of("\r\n");
        const std::size_t CharsLen = Keep == std::string_view::npos ? 0 : Keep + 1;
        R.push_back({S.substr(0, CharsLen), CharsLen < S.size()});
    }
    return R;
}
} // namespace

int TParaList::InsertText(int Para, int Offset, std::string_view Text, TParaPos *End)
{
    CheckPara(Para);
    if (Offset < 1)
        throw EInvalidLineOrPara();
    const std::vector<TSegment> Segs = Segments(Text);
    int Breaks = 0;
    std::int64_t Chars = 0;
    for (const auto &S : Segs) {
        Breaks += S.Break;
        Chars += static_cast<std::int64_t>(S.Chars.size());
    }
    if (Breaks == 0) {
        const int E = InsertChars(Para, Offset, Text);
        if (End && E == 0)
            *End = {Para, Offset + static_cast<int>(Text.size())};
        return E;
    }
    // Check every limit before anything changes.
    const int Len = ParaLength(Para);
    const int Head = Offset - 1;
    const int TailLen = Len - std::min(Head, Len);
    if (const int E = CheckLimits(Para, Breaks, Chars + 2 * Breaks + std::max(0, Head - Len)))
        return E;
    for (std::size_t I = 0; I < Segs.size(); ++I) {
        // The first line keeps the characters before the offset, the last takes those after it.
        std::int64_t L = static_cast<std::int64_t>(Segs[I].Chars.size());
        if (I == 0)
            L += Head;
        if (I + 1 == Segs.size() && !Segs[I].Break)
            L += TailLen;
        if (L > ParaLenLim)
            return edeParaTooLong;
    }
    TEditScope Scope(*this);
    const int FirstLine = ParaToLine({Para, Offset}).Line;
    TGroup G(*this);
    int P = Para;
    int O = Offset;
    int Result = 0;
    for (const auto &S : Segs) {
        if (S.Break && O == 1) {
            Result = DoInsertPara(P, std::string(S.Chars), ukInsertParaBefore, false);
            if (Result)
                break;
            ++P;
            continue;
        }
        if (!S.Chars.empty()) {
            Result = DoInsertChars(P, O, S.Chars, false);
            if (Result)
                break;
            O += static_cast<int>(S.Chars.size());
        }
        if (S.Break) {
            Result = DoSplit(P, O, 0);
            if (Result)
                break;
            ++P;
            O = 1;
        }
    }
    MarkChanged(FirstLine - 1, RestOfText);
    if (End)
        *End = {P, O};
    return Result;
}

int TParaList::InsertParaBefore(int Para, std::string_view Text)
{
    CheckPara(Para);
    TEditScope Scope(*this);
    return DoInsertPara(Para, std::string(Text), ukInsertParaBefore, true);
}

int TParaList::InsertParaAfter(int Para, std::string_view Text)
{
    CheckPara(Para);
    TEditScope Scope(*this);
    return DoInsertPara(Para + 1, std::string(Text), ukInsertParaAfter, true);
}

void TParaList::DeletePara(int Para)
{
    CheckPara(Para);
    TEditScope Scope(*this);
    if (ParaCount() == 1)
        DoDeleteChars(1, 1, ParaLength(1));
    else
        DoDeleteParas(Para, 1);
}

int TParaList::AppendParagraph(std::string_view Text, TLineEnd End)
{
    if (Trim)
        while (!Text.empty() && IsBlank(Text.back()))
            Text.remove_suffix(1);
    // A line is never cut: one longer than the limit is refused.
    if (static_cast<std::int64_t>(Text.size()) > ParaLenLim)
        return edeParaTooLong;
    if (const int E = CheckLimits(0, 1, static_cast<std::int64_t>(Text.size()) + 2))
        return E;
    const int N = ParaCount(); // linked in before the last paragraph
    try {
        TParaExtras Breaks;
        if (Wrap)
            WrapText(Text, WrapCol, Tab, Utf8(), Breaks);
        Breaks.SetEnd(End);
        Store.Insert(N, Text, std::move(Breaks));
    } catch (const std::bad_alloc &) {
        return edeNoMemory;
    }
    Bytes += static_cast<std::int64_t>(Text.size()) + 2;
    ++Edits;
    LongestKnown = false;
    Shift({TPosShift::ParasInserted, N, 1, 1});
    return 0;
}

// --- Groups, undo, Modified ---------------------------------------------------------------------

bool TParaList::BeginGroup()
{
    if (EditDepth++ == 0)
        ChangedFirst = ChangedLast = 0;
    return UndoBuf->BeginGroup();
}

TParaList::TUnrecorded::TUnrecorded(TParaList &L) : List(L), Was(L.UndoBuf->IsSuspended())
{
    List.UndoBuf->Clear();
    List.UndoBuf->SetSuspended(true);
}

TParaList::TUnrecorded::~TUnrecorded()
{
    List.UndoBuf->SetSuspended(Was);
}

void TParaList::EndGroup(bool WasOpen)
{
    UndoBuf->EndGroup(WasOpen);
    --EditDepth;
    if (!WasOpen)
        DebugCheck();
}

#ifdef PELMAR_CHECKS
void TParaList::DebugCheck() const
{
    // The whole text is recounted and re-wrapped only while it is small, so that tests of large
    // documents keep their pace; the undo records are always walked.
    constexpr std::int64_t FullCheckBytes = 256 * 1024;
    std::string why;
    if ((Bytes <= FullCheckBytes && !CheckIntegrity(&why)) || !UndoBuf->CheckChain(&why)) {
        std::fprintf(stderr, "text store broken: %s\n", why.c_str());
        std::abort();
    }
}
#endif

std::optional<TParaPos> TParaList::Undo()
{
    TEditScope Scope(*this);
    std::optional<TParaPos> R;
    {
        TFlag Replay(Replaying, true);
        R = UndoBuf->Undo();
    }
    if (R) {
        R->Para = std::clamp(R->Para, 1, ParaCount());
        R->Offset = std::clamp(R->Offset, 1, ParaLength(R->Para) + 1);
    }
    return R;
}

std::optional<TParaPos> TParaList::Redo()
{
    TEditScope Scope(*this);
    std::optional<TParaPos> R;
    {
        TFlag Replay(Replaying, true);
        R = UndoBuf->Redo();
    }
    if (R) {
        R->Para = std::clamp(R->Para, 1, ParaCount());
        R->Offset = std::clamp(R->Offset, 1, ParaLength(R->Para) + 1);
    }
    return R;
}

void TParaList::SetUndoBufferSize(std::uint32_t Size) { UndoBuf = std::make_unique<TUndoBuffer>(static_cast<TUndoTarget &>(*this), Size); }

void TParaList::SetModified(bool Value)
{
    Mod = Value;
    if (!Value)
        UndoBuf->MarkAllModified();
}

TParaPos TParaList::ReplayUndoStep(const TUndoStep &S, bool Redo)
{
    const int Count = static_cast<int>(S.Text.size());
    switch (S.Kind) {
    case ukInsertChars:
        if (Redo) {
            DoInsertChars(S.Para, S.Offset, S.Text, false);
            return {S.Para, S.Offset + Count};
        }
        DoDeleteChars(S.Para, S.Offset, Count);
        break;
    case ukDeleteChars:
        if (Redo)
            DoDeleteChars(S.Para, S.Offset, Count);
        else
            DoInsertChars(S.Para, S.Offset, S.Text, false);
        break;
    case ukReplaceChars:
        if (Redo) {
            DoReplaceChars(S.Para, S.Offset, Count, S.NewText, false);
            return {S.Para, S.Offset + static_cast<int>(S.NewText.size())};
        }
        DoReplaceChars(S.Para, S.Offset, static_cast<int>(S.NewText.size()), S.Text, false);
        break;
    case ukInsertParaBefore:
    case ukInsertParaAfter: {
        const int N = S.Kind == ukInsertParaBefore ? S.Para : S.Para + 1;
        if (Redo) {
            DoInsertPara(N, std::move(*S.Paragraph), S.Kind, false, true);
            return {S.Para + 1, 1};
        }
        *S.Paragraph = DoDeleteParas(N, 1);
        break;
    }
    case ukDeletePara:
        if (Redo)
            *S.Paragraph = DoDeleteParas(S.Para, 1);
        else
            DoInsertPara(S.Para, std::move(*S.Paragraph), ukDeletePara, false, true);
        return {S.Para, 1};
    case ukEncoding:
        SetEncoding(static_cast<TTextEncoding>(Redo ? S.Offset : S.Para));
        MarkChanged(1, RestOfText);
        return {1, 1};
    case ukMarker:
        break;
    }
    return {S.Para, S.Offset};
}

// --- Checking -----------------------------------------------------------------------------------

bool TParaList::CheckIntegrity(std::string *Why) const
{
    auto Fail = [Why](std::string M) {
        if (Why)
            *Why = std::move(M);
        return false;
    };
    if (!Store.Consistent())
        return Fail("block counts or trees differ from a recount");
    int Paras = 0, Lines = 0;
    std::int64_t Count = 0;
    bool Ok = true;
    std::string Bad;
    TParaExtras Fresh;
    Store.ForEach([&](const TParaRef &N) {
        ++Paras;
        Lines += N.LineCount();
        Count += N.Length();
        if (Wrap)
            WrapText(N.Text(), WrapCol, Tab, Utf8(), Fresh);
        else
            Fresh.clear();
        if (Ok && Fresh != N.Breaks()) {
            Ok = false;
            Bad = "paragraph " + std::to_string(Paras) + " is wrapped differently from a full re-wrap";
        }
        const TEdCellIndex *Cells = N.Breaks().Cells();
        if (Ok && Cells && Cells->TabSize() == Tab && Cells->Utf8() == Utf8() && !Cells->Check(N.Text())) {
            Ok = false;
            Bad = "the cell index of paragraph " + std::to_string(Paras) + " differs from a fresh count";
        }
    });
    Count += 2 * static_cast<std::int64_t>(Paras - 1);
    if (!Ok)
        return Fail(Bad);
    if (Paras != ParaCount() || Lines != LineCount() || Count != Bytes)
        return Fail("counts differ: paragraphs " + std::to_string(Paras) + "/" + std::to_string(ParaCount()) +
                    ", lines " + std::to_string(Lines) + "/" + std::to_string(LineCount()) + ", bytes " +
                    std::to_string(Count) + "/" + std::to_string(Bytes));
    return true;
}
