// The paragraph blocks: lookup by paragraph and line number, insertion, removal and recounting.
#include "core/editor/ParaStore.h"

#include <algorithm>
#include <functional>
#include <iterator>

// --- Fenwick tree -------------------------------------------------------------------------------

void TParaStore::TFenwick::Build(const std::vector<int> &Values)
{
    Tree = Values;
    const int N = Size();
    for (int I = 1; I <= N; ++I) {
        const int J = I + (I & -I);
        if (J <= N)
            Tree[J - 1] += Tree[I - 1];
    }
}

void TParaStore::TFenwick::Add(int I, int Delta)
{
    const int N = Size();
    for (int K = I + 1; K <= N; K += K & -K)
        Tree[K - 1] += Delta;
}

int TParaStore::TFenwick::Prefix(int Count) const
{
    int Sum = 0;
    for (int K = Count; K > 0; K -= K & -K)
        Sum += Tree[K - 1];
    return Sum;
}

void TParaStore::TFenwick::PushBack(int Value)
{
    const int K = Size() + 1;
    Tree.push_back(Value + Prefix(K - 1) - Prefix(K - (K & -K)));
}

int TParaStore::TFenwick::Find(int Target) const
{
    const int N = Size();
    int Step = 1;
    while (Step * 2 <= N)
        Step *= 2;
    int Pos = 0;
    for (; Step > 0; Step /= 2) {
        if (Pos + Step <= N && Tree[Pos + Step - 1] < Target) {
            Pos += Step;
            Target -= Tree[Pos - 1];
        }
    }
    return Pos; // 0-based index of the block holding the Target-th item
}

// --- Store --------------------------------------------------------------------------------------

namespace {
const TParaExtras NoExtras;

// Whether a view points into a string's characters (a paragraph of the same block).
bool Inside(std::string_view V, const std::string &S)
{
    const std::less<const char *> Less;
    return !V.empty() && !Less(V.data(), S.data()) && Less(V.data(), S.data() + S.size());
}

template <class T> void TrimCapacity(T &C)
{
    if (C.capacity() - C.size() > C.capacity() / 8 + 16)
        C.shrink_to_fit();
}
} // namespace

void TParaStore::TBlock::Tidy()
{
    if (!Extras.empty() && std::none_of(Extras.begin(), Extras.end(), [](const TParaExtras &X) { return X.Any(); }))
        std::vector<TParaExtras>().swap(Extras);
}

TParaStore::TParaStore() { Reset(); }

void TParaStore::Reset()
{
    Blocks.clear();
    Blocks.emplace_back();
    Blocks[0].Ends.push_back(0);
    Blocks[0].Lines = 1;
    Paras = 1;
    Lines = 1;
    Rebuild();
}

void TParaStore::Rebuild()
{
    std::vector<int> P, L;
    P.reserve(Blocks.size());
    L.reserve(Blocks.size());
    for (const auto &B : Blocks) {
        P.push_back(B.Count());
        L.push_back(B.Lines);
    }
    ParaTree.Build(P);
    LineTree.Build(L);
    Invalidate();
}

void TParaStore::Recount()
{
    Paras = Lines = 0;
    for (auto &B : Blocks) {
        B.Lines = 0;
        for (int I = 0; I < B.Count(); ++I)
            B.Lines += B.LineCount(I);
        Paras += B.Count();
        Lines += B.Lines;
    }
    Rebuild();
}

void TParaStore::TidyExtras()
{
    for (auto &B : Blocks)
        B.Tidy();
}

TParaStore::TLocation TParaStore::Locate(int N)
{
    if (CacheValid) {
        if (N == CachePara)
            return {CacheBlock, CacheIndex};
        if (N == CachePara + 1) {
            const int OldLines = Blocks[CacheBlock].LineCount(CacheIndex);
            if (++CacheIndex == Blocks[CacheBlock].Count()) {
                ++CacheBlock;
                CacheIndex = 0;
            }
            ++CachePara;
            if (CacheLine > 0)
                CacheLine += OldLines;
            return {CacheBlock, CacheIndex};
        }
        if (N == CachePara - 1) {
            if (CacheIndex-- == 0) {
                --CacheBlock;
                CacheIndex = Blocks[CacheBlock].Count() - 1;
            }
            --CachePara;
            if (CacheLine > 0)
                CacheLine -= Blocks[CacheBlock].LineCount(CacheIndex);
            return {CacheBlock, CacheIndex};
        }
    }
    // The last paragraph is where loading appends: found without a search.
    const int B = N == Paras ? static_cast<int>(Blocks.size()) - 1 : ParaTree.Find(N);
    CacheBlock = B;
    CacheIndex = N == Paras ? Blocks[B].Count() - 1 : N - ParaTree.Prefix(B) - 1;
    CachePara = N;
    CacheLine = 0; // not known yet
    CacheValid = true;
    return {CacheBlock, CacheIndex};
}

std::string_view TParaStore::Text(int N)
{
    const TLocation L = Locate(N);
    return Blocks[L.Block].TextOf(L.Index);
}

const TParaExtras &TParaStore::Breaks(int N)
{
    const TLocation L = Locate(N);
    const TBlock &B = Blocks[L.Block];
    return B.Extras.empty() ? NoExtras : B.Extras[static_cast<std::size_t>(L.Index)];
}

TParaExtras &TParaStore::Extras(int N)
{
    const TLocation L = Locate(N);
    TBlock &B = Blocks[L.Block];
    if (B.Extras.empty())
        B.Extras.resize(B.Ends.size());
    return B.Extras[static_cast<std::size_t>(L.Index)];
}

void TParaStore::Reserve(int N, std::size_t Extra)
{
    TBlock &B = Blocks[Locate(N).Block];
    B.Text.reserve(B.Text.size() + Extra);
}

void TParaStore::Replace(int N, std::size_t At, std::size_t Count, std::string_view New)
{
    const TLocation L = Locate(N);
    TBlock &B = Blocks[L.Block];
    std::string Copy;
    if (Inside(New, B.Text)) {
        Copy.assign(New);
        New = Copy;
    }
    B.Text.replace(B.Start(L.Index) + At, Count, New);
    const std::uint32_t Delta = static_cast<std::uint32_t>(New.size()) - static_cast<std::uint32_t>(Count);
    if (Delta != 0)
        for (std::size_t I = static_cast<std::size_t>(L.Index); I < B.Ends.size(); ++I)
            B.Ends[I] += Delta; // modulo 2^32: a shrinking paragraph subtracts
    if (B.Text.size() > static_cast<std::size_t>(MaxBytes))
        Balance(L.Block, -1);
}

int TParaStore::FirstLine(int N)
{
    const TLocation L = Locate(N);
    if (CacheLine == 0) {
        if (Lines == Paras) {
            CacheLine = N; // no paragraph is wrapped
        } else {
            int Line = LineTree.Prefix(L.Block);
            const TBlock &B = Blocks[L.Block];
            for (int I = 0; I < L.Index; ++I)
                Line += B.LineCount(I);
            CacheLine = Line + 1;
        }
    }
    return CacheLine;
}

std::pair<int, int> TParaStore::FindLine(int L)
{
    if (CacheValid && CacheLine > 0) {
        const int Count = Blocks[CacheBlock].LineCount(CacheIndex);
        if (L >= CacheLine && L < CacheLine + Count)
            return {CachePara, L - CacheLine};
        if (L == CacheLine + Count && CachePara < Paras) {
            Locate(CachePara + 1);
            return {CachePara, 0};
        }
        if (L == CacheLine - 1 && CachePara > 1) {
            Locate(CachePara - 1);
            return {CachePara, Blocks[CacheBlock].LineCount(CacheIndex) - 1};
        }
    }
    if (Lines == Paras) {
        Locate(L);
        CacheLine = L;
        return {L, 0};
    }
    const int Bi = LineTree.Find(L);
    int Before = LineTree.Prefix(Bi);
    const TBlock &B = Blocks[Bi];
    int I = 0;
    while (I + 1 < B.Count() && Before + B.LineCount(I) < L)
        Before += B.LineCount(I++);
    CacheBlock = Bi;
    CacheIndex = I;
    CachePara = ParaTree.Prefix(Bi) + I + 1;
    CacheLine = Before + 1;
    CacheValid = true;
    return {CachePara, L - CacheLine};
}

void TParaStore::Insert(int N, TParaNode Node) { Insert(N, Node.Text, std::move(Node.Breaks)); }

void TParaStore::Insert(int N, std::string_view Text, TParaExtras Breaks)
{
    if (N == Paras && !Breaks.Any() && Blocks.back().Extras.empty()) {
        // Loading: a plain paragraph before the last one, at the end of the last block.
        const int Last = static_cast<int>(Blocks.size()) - 1;
        TBlock &B = Blocks.back();
        const std::size_t K = B.Ends.size() - 1;
        const std::uint32_t Start = B.Start(static_cast<int>(K));
        const std::uint32_t Len = static_cast<std::uint32_t>(Text.size());
        if (B.Ends[K] == Start)
            B.Text.append(Text);
        else
            B.Text.insert(Start, Text);
        try {
            B.Ends.push_back(B.Ends[K] + Len);
        } catch (...) {
            B.Text.erase(Start, Len);
            throw;
        }
        B.Ends[K] = Start + Len;
        ++B.Lines;
        ++Paras;
        ++Lines;
        ParaTree.Add(Last, 1);
        LineTree.Add(Last, 1);
        Invalidate();
        if (B.Count() > MaxParas || B.Text.size() > static_cast<std::size_t>(BlockBytes))
            Balance(Last, static_cast<int>(K));
        return;
    }
    TLocation L;
    if (N > Paras) {
        L.Block = static_cast<int>(Blocks.size()) - 1;
        L.Index = Blocks[L.Block].Count();
    } else {
        L = Locate(N);
    }
    const int Count = static_cast<int>(Breaks.size()) + 1;
    TBlock &B = Blocks[L.Block];
    const std::uint32_t Start = B.Start(L.Index);
    const std::uint32_t Len = static_cast<std::uint32_t>(Text.size());
    B.Text.insert(Start, Text);
    try {
        B.Ends.insert(B.Ends.begin() + L.Index, Start + Len);
    } catch (...) {
        B.Text.erase(Start, Len);
        throw;
    }
    if (!B.Extras.empty() || Breaks.Any()) {
        try {
            if (B.Extras.empty())
                B.Extras.resize(B.Ends.size() - 1);
            B.Extras.insert(B.Extras.begin() + L.Index, std::move(Breaks));
        } catch (...) {
            B.Ends.erase(B.Ends.begin() + L.Index);
            B.Text.erase(Start, Len);
            B.Tidy();
            throw;
        }
    }
    for (std::size_t I = static_cast<std::size_t>(L.Index) + 1; I < B.Ends.size(); ++I)
        B.Ends[I] += Len;
    B.Lines += Count;
    ++Paras;
    Lines += Count;
    ParaTree.Add(L.Block, 1);
    LineTree.Add(L.Block, Count);
    Invalidate();
    Balance(L.Block, L.Index);
}

void TParaStore::Balance(int BlockIndex, int InsertIndex)
{
    TBlock &B = Blocks[BlockIndex];
    const int Size = B.Count();
    if (Size <= 1)
        return;
    // Loading appends before the last paragraph of the last block: that block fills up to
    // BlockBytes and stays so; other blocks may grow by edits up to MaxBytes.
    const bool Appending = InsertIndex >= Size - 2 && BlockIndex + 1 == static_cast<int>(Blocks.size());
    if (Size <= MaxParas && B.Text.size() <= static_cast<std::size_t>(Appending ? BlockBytes : MaxBytes))
        return;
    int Cut;
    if (Appending) {
        Cut = InsertIndex;
    } else {
        // Half the characters on either side (a long paragraph ends up in a block of its own).
        const std::uint32_t Half = static_cast<std::uint32_t>(B.Text.size() / 2);
        Cut = static_cast<int>(std::lower_bound(B.Ends.begin(), B.Ends.end(), Half) - B.Ends.begin());
        if (Size > MaxParas)
            Cut = std::min(Cut, Size / 2);
    }
    Split(BlockIndex, std::clamp(Cut, 1, Size - 1), Appending);
}

void TParaStore::Split(int BlockIndex, int Cut, bool Appending)
{
    TBlock &B = Blocks[BlockIndex];
    const int Size = B.Count();
    const std::uint32_t At = B.Ends[static_cast<std::size_t>(Cut) - 1];
    TBlock Tail;
    const std::size_t TailBytes = B.Text.size() - At;
    // A block filled by loading gets room for a block's worth of text and paragraphs at once.
    // (A line longer than the spare room makes the string grow as usual; the block is trimmed
    // when it is full.) The last block's paragraph count is the guess for the next one's.
    Tail.Text.reserve(Appending ? std::max<std::size_t>(TailBytes, BlockBytes + 256) : TailBytes);
    Tail.Text.append(B.Text, At, std::string::npos);
    Tail.Ends.reserve(Appending ? static_cast<std::size_t>(std::max(Cut + Cut / 32 + 4, Size - Cut))
                               : static_cast<std::size_t>(Size - Cut));
    for (int I = Cut; I < Size; ++I)
        Tail.Ends.push_back(B.Ends[static_cast<std::size_t>(I)] - At);
    if (!B.Extras.empty()) {
        Tail.Extras.assign(std::make_move_iterator(B.Extras.begin() + Cut), std::make_move_iterator(B.Extras.end()));
        B.Extras.erase(B.Extras.begin() + Cut, B.Extras.end());
        B.Tidy();
        Tail.Tidy();
    }
    B.Text.resize(At);
    B.Ends.resize(static_cast<std::size_t>(Cut));
    TrimCapacity(B.Text);
    TrimCapacity(B.Ends);
    for (int I = 0; I < Tail.Count(); ++I)
        Tail.Lines += Tail.LineCount(I);
    B.Lines -= Tail.Lines;
    const int Moved = Tail.Count();
    const int MovedLines = Tail.Lines;
    if (BlockIndex + 1 == static_cast<int>(Blocks.size())) {
        Blocks.push_back(std::move(Tail));
        ParaTree.Add(BlockIndex, -Moved);
        LineTree.Add(BlockIndex, -MovedLines);
        ParaTree.PushBack(Moved);
        LineTree.PushBack(MovedLines);
    } else {
        Blocks.insert(Blocks.begin() + BlockIndex + 1, std::move(Tail));
        Rebuild();
    }
    Invalidate();
}

TParaNode TParaStore::Remove(int N)
{
    const TLocation L = Locate(N);
    TBlock &B = Blocks[L.Block];
    TParaNode Node;
    Node.Text.assign(B.TextOf(L.Index));
    if (!B.Extras.empty()) {
        Node.Breaks = std::move(B.Extras[static_cast<std::size_t>(L.Index)]);
        B.Extras.erase(B.Extras.begin() + L.Index);
    }
    const std::uint32_t Len = static_cast<std::uint32_t>(Node.Text.size());
    B.Text.erase(B.Start(L.Index), Len);
    B.Ends.erase(B.Ends.begin() + L.Index);
    for (std::size_t I = static_cast<std::size_t>(L.Index); I < B.Ends.size(); ++I)
        B.Ends[I] -= Len;
    const int Count = Node.LineCount();
    B.Lines -= Count;
    --Paras;
    Lines -= Count;
    ParaTree.Add(L.Block, -1);
    LineTree.Add(L.Block, -Count);
    Invalidate();
    const int Size = B.Count();
    if (Size == 0) {
        Blocks.erase(Blocks.begin() + L.Block);
        Rebuild();
    } else if (Size < MaxParas / 8 && B.Text.size() < BlockBytes / 4 && Blocks.size() > 1) {
        // Keep blocks from fragmenting when many paragraphs are deleted.
        const int Other = L.Block + 1 < static_cast<int>(Blocks.size()) ? L.Block + 1 : L.Block - 1;
        const TBlock &O = Blocks[static_cast<std::size_t>(Other)];
        if (O.Count() + Size <= MaxParas && O.Text.size() + B.Text.size() <= BlockBytes) {
            const int First = std::min(L.Block, Other);
            TBlock &Keep = Blocks[static_cast<std::size_t>(First)];
            TBlock &Gone = Blocks[static_cast<std::size_t>(First) + 1];
            const std::uint32_t Shift = static_cast<std::uint32_t>(Keep.Text.size());
            Keep.Text.append(Gone.Text);
            if (!Keep.Extras.empty() || !Gone.Extras.empty()) {
                Keep.Extras.resize(Keep.Ends.size());
                Gone.Extras.resize(Gone.Ends.size());
                Keep.Extras.insert(Keep.Extras.end(), std::make_move_iterator(Gone.Extras.begin()),
                                   std::make_move_iterator(Gone.Extras.end()));
            }
            for (const std::uint32_t E : Gone.Ends)
                Keep.Ends.push_back(E + Shift);
            Keep.Lines += Gone.Lines;
            Blocks.erase(Blocks.begin() + First + 1);
            Rebuild();
        }
    } else {
        B.Tidy();
    }
    return Node;
}

void TParaStore::LinesChanged(int N, int Delta)
{
    if (Delta == 0)
        return;
    const TLocation L = Locate(N); // the cache now sits on N, whose first line stays
    Blocks[L.Block].Lines += Delta;
    LineTree.Add(L.Block, Delta);
    Lines += Delta;
}

bool TParaStore::Consistent() const
{
    int P = 0, L = 0;
    for (std::size_t I = 0; I < Blocks.size(); ++I) {
        const TBlock &B = Blocks[I];
        if (B.Ends.empty() || B.Count() > MaxParas || B.Ends.back() != B.Text.size())
            return false;
        if (!std::is_sorted(B.Ends.begin(), B.Ends.end()))
            return false;
        if (!B.Extras.empty() && B.Extras.size() != B.Ends.size())
            return false;
        int BL = 0;
        for (int K = 0; K < B.Count(); ++K)
            BL += B.LineCount(K);
        if (BL != B.Lines)
            return false;
        P += B.Count();
        L += BL;
        if (ParaTree.Prefix(static_cast<int>(I) + 1) != P || LineTree.Prefix(static_cast<int>(I) + 1) != L)
            return false;
    }
    return P == Paras && L == Lines && ParaTree.Size() == static_cast<int>(Blocks.size());
}
