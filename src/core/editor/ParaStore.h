// The paragraphs of a text held in blocks, indexed by paragraph number and by display line number.
#pragma once

#include "core/editor/Cells.h"
#include "core/editor/LineEnds.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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

    // Whether there is anything at all (line starts, a line end other than Default, a cell index).
    bool Any() const { return D != nullptr; }
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

// One paragraph as a value, out of the store: its characters (no line end), and what only some
// paragraphs need (the offsets where its display lines 2.. begin, its line end, its cell index).
// Paragraphs go into the store and come out of it as this.
struct TParaNode {
    std::string Text;
    TParaExtras Breaks; // 0-based starts of display lines 2..n, ascending; End(), Cells()

    int Length() const { return static_cast<int>(Text.size()); }
    int LineCount() const { return static_cast<int>(Breaks.size()) + 1; }
};

class TParaStore;

// Paragraph N of a store, in place: a handle that reads and edits it there. Every access finds the
// paragraph again (constant time for the paragraph found last), so a handle stays good across
// edits as long as paragraph N is the same paragraph; views it gives last until the next edit of
// any paragraph of the store.
class TParaRef {
public:
    TParaRef(TParaStore &Store, int N) : S(&Store), P(N) {}

    int Number() const { return P; }
    std::string_view Text() const;
    int Length() const { return static_cast<int>(Text().size()); }
    // The line starts, line end and cell index; an empty set when the paragraph has none.
    const TParaExtras &Breaks() const;
    // The same, to change: made when the paragraph has none yet.
    TParaExtras &Extras() const;
    int LineCount() const { return static_cast<int>(Breaks().size()) + 1; }
    // 0-based offset of the first character of display line I (0-based) of this paragraph.
    int LineStart(int I) const { return I == 0 ? 0 : static_cast<int>(Breaks()[I - 1]); }
    int LineEnd(int I) const { return I + 1 < LineCount() ? static_cast<int>(Breaks()[I]) : Length(); }
    // Replaces Count characters at 0-based At by New (New may be a view into the store).
    void Replace(std::size_t At, std::size_t Count, std::string_view New) const;
    // Makes room for Extra more characters (throws std::bad_alloc before anything changes).
    void Reserve(std::size_t Extra) const;

private:
    TParaStore *S;
    int P;
};

// A sequence of paragraphs with paragraph and display-line numbers counted from 1.
// Paragraphs sit in blocks of at most MaxParas paragraphs and about BlockBytes characters (a longer
// paragraph has a block of its own). A block holds its paragraphs' characters one after another in
// one string and the end offset of each, so an unwrapped paragraph read as it is costs 4 bytes
// beyond its text; the line starts, non-default line ends and cell indexes live in a per-block
// array that exists only while some paragraph of the block has one of them. Two Fenwick trees over
// the blocks give the paragraphs and lines before a block in logarithmic time, and a cache of the
// last paragraph found makes the step to the next or previous paragraph constant time. An edit
// moves characters and offsets of one block only.
class TParaStore {
public:
#ifndef PELMAR_TINY_BLOCKS
    static constexpr int MaxParas = 1024;          // paragraphs per block before it is split
    static constexpr int BlockBytes = 16 * 1024;   // characters of a block filled by appending
#else
    // A build for testing the block logic: every small text has many blocks.
    static constexpr int MaxParas = 6;
    static constexpr int BlockBytes = 100;
#endif
    static constexpr int MaxBytes = 2 * BlockBytes; // an edited block longer than this is split

    TParaStore(); // one empty paragraph

    int ParaCount() const { return Paras; }
    int LineCount() const { return Lines; }

    // Paragraph N, 1..ParaCount (not checked).
    TParaRef Node(int N) { return TParaRef(*this, N); }
    std::string_view Text(int N);
    const TParaExtras &Breaks(int N);
    TParaExtras &Extras(int N);
    // See TParaRef.
    void Replace(int N, std::size_t At, std::size_t Count, std::string_view New);
    void Reserve(int N, std::size_t Extra);
    // First display line of paragraph N.
    int FirstLine(int N);
    // The paragraph holding display line L (1..LineCount) and L's 0-based index within it.
    std::pair<int, int> FindLine(int L);

    // Inserts a paragraph so that it becomes number N (1..ParaCount + 1).
    void Insert(int N, TParaNode Node);
    void Insert(int N, std::string_view Text, TParaExtras Breaks);
    // Removes paragraph N and returns it; the store keeps at least one paragraph (not checked).
    TParaNode Remove(int N);
    // Paragraph N's line count changed by Delta (its Breaks were already updated).
    void LinesChanged(int N, int Delta);
    // Recounts everything after the breaks of many paragraphs changed.
    void Recount();
    // Back to one empty paragraph.
    void Reset();

    // Calls F(TParaRef) for every paragraph in order. F may read and change a paragraph's text
    // views and extras, but not insert, remove or edit text.
    template <class F> void ForEach(F &&Fn)
    {
        int N = 0;
        for (int B = 0; B < static_cast<int>(Blocks.size()); ++B)
            for (int I = 0; I < Blocks[static_cast<std::size_t>(B)].Count(); ++I) {
                // The cache sits on each paragraph in turn, so that the handle finds it at once.
                CacheValid = true;
                CacheBlock = B;
                CacheIndex = I;
                CachePara = ++N;
                CacheLine = 0;
                Fn(TParaRef(*this, N));
            }
    }

    // Gives back the extras arrays of blocks none of whose paragraphs needs one any more.
    void TidyExtras();

    // Checks the block counts, offsets and trees against a recount; for tests.
    bool Consistent() const;

private:
    struct TBlock {
        std::string Text;                 // the paragraphs' characters, one after another
        std::vector<std::uint32_t> Ends;  // end offset of each paragraph in Text
        std::vector<TParaExtras> Extras;  // empty, or one per paragraph
        int Lines = 0;

        int Count() const { return static_cast<int>(Ends.size()); }
        std::uint32_t Start(int I) const { return I == 0 ? 0 : Ends[static_cast<std::size_t>(I) - 1]; }
        std::string_view TextOf(int I) const
        {
            const std::uint32_t S = Start(I);
            return std::string_view(Text).substr(S, Ends[static_cast<std::size_t>(I)] - S);
        }
        int LineCount(int I) const
        {
            return Extras.empty() ? 1 : static_cast<int>(Extras[static_cast<std::size_t>(I)].size()) + 1;
        }
        // Drops the extras array when no paragraph needs it.
        void Tidy();
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
    // Splits block B before its paragraph Cut (0 < Cut < count); Appending: B is the last block
    // and filled by loading, so it is made tight and the new one gets room.
    void Split(int B, int Cut, bool Appending);
    // After an insertion at InsertIndex or an edit: splits block B when it is too large.
    void Balance(int B, int InsertIndex);
    void Invalidate() { CacheValid = false; }

    std::vector<TBlock> Blocks;
    TFenwick ParaTree, LineTree;
    int Paras = 0;
    int Lines = 0;

    // The paragraph found last: its block, index, number and first display line.
    bool CacheValid = false;
    int CacheBlock = 0, CacheIndex = 0, CachePara = 0, CacheLine = 0;
};

inline std::string_view TParaRef::Text() const { return S->Text(P); }
inline const TParaExtras &TParaRef::Breaks() const { return S->Breaks(P); }
inline TParaExtras &TParaRef::Extras() const { return S->Extras(P); }
inline void TParaRef::Replace(std::size_t At, std::size_t Count, std::string_view New) const
{
    S->Replace(P, At, Count, New);
}
inline void TParaRef::Reserve(std::size_t Extra) const { S->Reserve(P, Extra); }
