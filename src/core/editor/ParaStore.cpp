// The paragraph blocks: lookup by paragraph and line number, insertion, removal and recounting.
#include "core/editor/ParaStore.h"

#include <algorithm>

namespace {
constexpr int MaxBlock = 256;      // paragraphs per block before it is split
constexpr int MergeBelow = 32;     // a block this small is merged into a neighbour that has room
} // namespace

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

TParaStore::TParaStore() { Reset(); }

void TParaStore::Reset()
{
    Blocks.clear();
    Blocks.emplace_back();
    Blocks[0].Nodes.reserve(MaxBlock + 1);
    Blocks[0].Nodes.emplace_back();
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
        P.push_back(static_cast<int>(B.Nodes.size()));
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
        for (const auto &N : B.Nodes)
            B.Lines += N.LineCount();
        Paras += static_cast<int>(B.Nodes.size());
        Lines += B.Lines;
    }
    Rebuild();
}

TParaStore::TLocation TParaStore::Locate(int N)
{
    if (CacheValid) {
        if (N == CachePara)
            return {CacheBlock, CacheIndex};
        if (N == CachePara + 1) {
            const int OldLines = Blocks[CacheBlock].Nodes[CacheIndex].LineCount();
            if (++CacheIndex == static_cast<int>(Blocks[CacheBlock].Nodes.size())) {
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
                CacheIndex = static_cast<int>(Blocks[CacheBlock].Nodes.size()) - 1;
            }
            --CachePara;
            if (CacheLine > 0)
                CacheLine -= Blocks[CacheBlock].Nodes[CacheIndex].LineCount();
            return {CacheBlock, CacheIndex};
        }
    }
    // The last paragraph is where loading appends: found without a search.
    const int B = N == Paras ? static_cast<int>(Blocks.size()) - 1 : ParaTree.Find(N);
    CacheBlock = B;
    CacheIndex = N == Paras ? static_cast<int>(Blocks[B].Nodes.size()) - 1 : N - ParaTree.Prefix(B) - 1;
    CachePara = N;
    CacheLine = 0; // not known yet
    CacheValid = true;
    return {CacheBlock, CacheIndex};
}

TParaNode &TParaStore::Node(int N)
{
    const TLocation L = Locate(N);
    return Blocks[L.Block].Nodes[L.Index];
}

int TParaStore::FirstLine(int N)
{
    const TLocation L = Locate(N);
    if (CacheLine == 0) {
        if (Lines == Paras) {
            CacheLine = N; // no paragraph is wrapped
        } else {
            int Line = LineTree.Prefix(L.Block);
            const auto &Nodes = Blocks[L.Block].Nodes;
            for (int I = 0; I < L.Index; ++I)
                Line += Nodes[I].LineCount();
            CacheLine = Line + 1;
        }
    }
    return CacheLine;
}

std::pair<int, int> TParaStore::FindLine(int L)
{
    if (CacheValid && CacheLine > 0) {
        const int Count = Blocks[CacheBlock].Nodes[CacheIndex].LineCount();
        if (L >= CacheLine && L < CacheLine + Count)
            return {CachePara, L - CacheLine};
        if (L == CacheLine + Count && CachePara < Paras) {
            Locate(CachePara + 1);
            return {CachePara, 0};
        }
        if (L == CacheLine - 1 && CachePara > 1) {
            Locate(CachePara - 1);
            return {CachePara, Blocks[CacheBlock].Nodes[CacheIndex].LineCount() - 1};
        }
    }
    if (Lines == Paras) {
        Locate(L);
        CacheLine = L;
        return {L, 0};
    }
    const int B = LineTree.Find(L);
    int Before = LineTree.Prefix(B);
    const auto &Nodes = Blocks[B].Nodes;
    int I = 0;
    while (I + 1 < static_cast<int>(Nodes.size()) && Before + Nodes[I].LineCount() < L)
        Before += Nodes[I++].LineCount();
    CacheBlock = B;
    CacheIndex = I;
    CachePara = ParaTree.Prefix(B) + I + 1;
    CacheLine = Before + 1;
    CacheValid = true;
    return {CachePara, L - CacheLine};
}

void TParaStore::Insert(int N, TParaNode Node)
{
    TLocation L;
    if (N > Paras) {
        L.Block = static_cast<int>(Blocks.size()) - 1;
        L.Index = static_cast<int>(Blocks[L.Block].Nodes.size());
    } else {
        L = Locate(N);
    }
    const int Count = Node.LineCount();
    TBlock &B = Blocks[L.Block];
    B.Nodes.insert(B.Nodes.begin() + L.Index, std::move(Node));
    B.Lines += Count;
    ++Paras;
    Lines += Count;
    ParaTree.Add(L.Block, 1);
    LineTree.Add(L.Block, Count);
    Invalidate();
    if (static_cast<int>(B.Nodes.size()) > MaxBlock)
        Split(L.Block, L.Index);
}

void TParaStore::Split(int BlockIndex, int InsertIndex)
{
    TBlock &B = Blocks[BlockIndex];
    const int Size = static_cast<int>(B.Nodes.size());
    // Insertions at a block's end (loading, typing at the end) leave a full block behind.
    const int Cut = InsertIndex >= Size - 2 ? InsertIndex : Size / 2;
    TBlock Tail;
    // Appending at the end of the text (loading) fills the new last block up to the split size in
    // place, so the block it becomes is not left with twice the room it needs.
    if (Cut == InsertIndex && BlockIndex + 1 == static_cast<int>(Blocks.size()))
        Tail.Nodes.reserve(MaxBlock + 1);
    Tail.Nodes.assign(std::make_move_iterator(B.Nodes.begin() + Cut), std::make_move_iterator(B.Nodes.end()));
    B.Nodes.erase(B.Nodes.begin() + Cut, B.Nodes.end());
    for (const auto &Nd : Tail.Nodes)
        Tail.Lines += Nd.LineCount();
    B.Lines -= Tail.Lines;
    const int Moved = static_cast<int>(Tail.Nodes.size());
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
    TParaNode Node = std::move(B.Nodes[L.Index]);
    B.Nodes.erase(B.Nodes.begin() + L.Index);
    const int Count = Node.LineCount();
    B.Lines -= Count;
    --Paras;
    Lines -= Count;
    ParaTree.Add(L.Block, -1);
    LineTree.Add(L.Block, -Count);
    Invalidate();
    const int Size = static_cast<int>(B.Nodes.size());
    if (Size == 0) {
        Blocks.erase(Blocks.begin() + L.Block);
        Rebuild();
    } else if (Size < MergeBelow && Blocks.size() > 1) {
        // Keep blocks from fragmenting when many paragraphs are deleted.
        const int Other = L.Block + 1 < static_cast<int>(Blocks.size()) ? L.Block + 1 : L.Block - 1;
        if (static_cast<int>(Blocks[Other].Nodes.size()) + Size <= MaxBlock) {
            const int First = std::min(L.Block, Other);
            TBlock &Keep = Blocks[First];
            TBlock &Gone = Blocks[First + 1];
            Keep.Nodes.insert(Keep.Nodes.end(), std::make_move_iterator(Gone.Nodes.begin()),
                              std::make_move_iterator(Gone.Nodes.end()));
            Keep.Lines += Gone.Lines;
            Blocks.erase(Blocks.begin() + First + 1);
            Rebuild();
        }
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
        if (B.Nodes.empty() || static_cast<int>(B.Nodes.size()) > MaxBlock)
            return false;
        int BL = 0;
        for (const auto &N : B.Nodes)
            BL += N.LineCount();
        if (BL != B.Lines)
            return false;
        P += static_cast<int>(B.Nodes.size());
        L += BL;
        if (ParaTree.Prefix(static_cast<int>(I) + 1) != P || LineTree.Prefix(static_cast<int>(I) + 1) != L)
            return false;
    }
    return P == Paras && L == Lines && ParaTree.Size() == static_cast<int>(Blocks.size());
}
