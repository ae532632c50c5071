// The paragraphs of a text held in blocks, indexed by paragraph number and by display line number.
#pragma once

#include "core/editor/Cells.h"
#include "core/editor/LineEnds.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// What only some paragraphs need, behind one pointer: the starts of their display lines 2..n
// (wrapped paragraphs), a line end other than the document's format, and the cell index (long
// paragraphs). A text of short lines read as they are spends its memory on text. Copies, clear()
// and comparisons deal with the line starts only.
class TParaExtras {
public:
    TParaExtras() = default;
    TParaExtras(const TParaExtras &Other) { *this = Other; }
    TParaExtras(TParaExtras &&) noexcept = default;
    TParaExtras &operator=(const TParaExtras &Other)
    {
        if (this != &Other) {
            D.reset();
            assign(Other.begin(), Other.end());
        }
        return *this;
    }
    TParaExtras &operator=(TParaExtras &&) noexcept = default;

    // The line starts.
    bool empty() const { return !D || D->Starts.empty(); }
    std::size_t size() const { return D ? D->Starts.size() : 0; }
    const std::uint32_t *begin() const { return D ? D->Starts.data() : nullptr; }
    const std::uint32_t *end() const { return D ? D->Starts.data() + D->Starts.size() : nullptr; }
    std::uint32_t operator[](std::size_t I) const { return D->Starts[I]; }
    void clear()
    {
        if (D) {
            std::vector<std::uint32_t>().swap(D->Starts);
            Tidy();
        }
    }
    void push_back(std::uint32_t Start) { Data().Starts.push_back(Start); }
    void assign(const std::uint32_t *First, const std::uint32_t *Last)
    {
        clear();
        if (First != Last)
            Data().Starts.assign(First, Last);
    }
    friend bool operator==(const TParaExtras &A, const TParaExtras &B)
    {
        return std::equal(A.begin(), A.end(), B.begin(), B.end());
    }

    // The line end (Default: the document's format).
    TLineEnd End() const { return D ? D->End : TLineEnd::Default; }
    void SetEnd(TLineEnd E)
    {
        if (E != End()) {
            Data().End = E;
            Tidy();
        }
    }
    // The cell index, made by the text store when first needed.
    TEdCellIndex *Cells() const { return D ? D->Cells.get() : nullptr; }
    void SetCells(std::unique_ptr<TEdCellIndex> C) const
    {
        Data().Cells = std::move(C);
        Tidy();
    }

private:
    struct TData {
        std::vector<std::uint32_t> Starts;
        std::unique_ptr<TEdCellIndex> Cells;
        TLineEnd End = TLineEnd::Default;
    };
    TData &Data() const
    {
        if (!D)
            D = std::make_unique<TData>();
        return *D;
    }
    void Tidy() const
    {
        if (D && D->Starts.empty() && !D->Cells && D->End == TLineEnd::Default)
            D.reset();
    }
    mutable std::unique_ptr<TData> D;
};

// One paragraph: its characters (no line end), and what only some paragraphs need (the offsets
// where its display lines 2.. begin, its line end, its cell index).
struct TParaNode {
    std::string Text;
    TParaExtras Breaks; // 0-based starts of display lines 2..n, ascending; End(), Cells()

    int Length() const { return static_cast<int>(Text.size()); }
    int LineCount() const { return static_cast<int>(Breaks.size()) + 1; }
    // 0-based offset of the first character of display line I (0-based) of this paragraph.
    int LineStart(int I) const { return I == 0 ? 0 : Breaks[I - 1]; }
    int LineEnd(int I) const { return I + 1 < LineCount() ? Breaks[I] : Length(); }
};

// A sequence of paragraphs with paragraph and display-line numbers counted from 1.
// Paragraphs sit in blocks of at most a few hundred; two Fenwick trees over the blocks give the
// paragraphs and lines before a block in logarithmic time, and a cache of the last paragraph found
// makes the step to the next or previous paragraph constant time.
class TParaStore {
public:
    TParaStore(); // one empty paragraph

    int ParaCount() const { return Paras; }
    int LineCount() const { return Lines; }

    // Paragraph N, 1..ParaCount (not checked).
    TParaNode &Node(int N);
    // First display line of paragraph N.
    int FirstLine(int N);
    // The paragraph holding display line L (1..LineCount) and L's 0-based index within it.
    std::pair<int, int> FindLine(int L);

    // Inserts a paragraph so that it becomes number N (1..ParaCount + 1).
    void Insert(int N, TParaNode Node);
    // Removes paragraph N and returns it; the store keeps at least one paragraph (not checked).
    TParaNode Remove(int N);
    // Paragraph N's line count changed by Delta (its Breaks were already updated).
    void LinesChanged(int N, int Delta);
    // Recounts everything after the breaks of many paragraphs changed.
    void Recount();
    // Back to one empty paragraph.
    void Reset();

    // Calls F(Node) for every paragraph in order.
    template <class F> void ForEach(F &&Fn)
    {
        for (auto &B : Blocks)
            for (auto &P : B.Nodes)
                Fn(P);
    }
    template <class F> void ForEach(F &&Fn) const
    {
        for (const auto &B : Blocks)
            for (const auto &P : B.Nodes)
                Fn(P);
    }

    // Checks the block counts and trees against a recount; for tests.
    bool Consistent() const;

private:
    struct TBlock {
        std::vector<TParaNode> Nodes;
        int Lines = 0;
    };
    // Sums over the blocks' counts; indices from 0.
    class TFenwick {
    public:
        void Build(const std::vector<int> &Values);
        void Add(int I, int Delta);
        void PushBack(int Value);
        int Prefix(int Count) const; // sum of the first Count values
        // Smallest index whose prefix sum including it is >= Target (Target >= 1).
        int Find(int Target) const;
        int Size() const { return static_cast<int>(Tree.size()); }

    private:
        std::vector<int> Tree;
    };
    struct TLocation {
        int Block;
        int Index;
    };

    TLocation Locate(int N);
    void Rebuild();
    void Split(int B, int InsertIndex);
    void Invalidate() { CacheValid = false; }

    std::vector<TBlock> Blocks;
    TFenwick ParaTree, LineTree;
    int Paras = 0;
    int Lines = 0;

    // The paragraph found last: its block, index, number and first display line.
    bool CacheValid = false;
    int CacheBlock = 0, CacheIndex = 0, CachePara = 0, CacheLine = 0;
};
