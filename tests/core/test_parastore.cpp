// The paragraph blocks of TParaStore against a plain list of strings: random insertions, removals
// and edits (some large enough to split blocks, some taking their text from the store itself),
// extras made and dropped, and line counts changed, with every count and text compared.
#include "core/editor/ParaList.h"
#include "core/editor/ParaStore.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct TModelPara {
    std::string Text;
    int Lines = 1;
    TLineEnd End = TLineEnd::Default;
};

class TStoreRun {
public:
    explicit TStoreRun(unsigned Seed) : Rng(Seed) { M.push_back({}); }

    int Int(int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); }
    std::string Text(int Length)
    {
        std::string S(static_cast<std::size_t>(Length), 'a');
        for (char &C : S)
            C = static_cast<char>('a' + Int(0, 25));
        return S;
    }

    void Check()
    {
        ASSERT_TRUE(S.Consistent());
        ASSERT_EQ(S.ParaCount(), static_cast<int>(M.size()));
        int Line = 1;
        for (int N = 1; N <= S.ParaCount(); ++N) {
            const TModelPara &P = M[static_cast<std::size_t>(N - 1)];
            ASSERT_EQ(S.Text(N), P.Text) << "paragraph " << N;
            ASSERT_EQ(S.Node(N).LineCount(), P.Lines) << "paragraph " << N;
            ASSERT_EQ(S.Breaks(N).End(), P.End) << "paragraph " << N;
            ASSERT_EQ(S.FirstLine(N), Line) << "paragraph " << N;
            Line += P.Lines;
        }
        ASSERT_EQ(S.LineCount(), Line - 1);
        // Lines found from far away (the cache elsewhere) and from the neighbours.
        for (int K = 0; K < 20; ++K) {
            const int L = Int(1, S.LineCount());
            const auto [P, I] = S.FindLine(L);
            ASSERT_EQ(S.FirstLine(P) + I, L);
            ASSERT_LT(I, M[static_cast<std::size_t>(P - 1)].Lines);
        }
    }

    void Step()
    {
        const int Count = static_cast<int>(M.size());
        const int N = Int(1, Count);
        TModelPara &P = M[static_cast<std::size_t>(N - 1)];
        switch (Int(0, 9)) {
        case 0:
        case 1: { // a paragraph anywhere, now and then one longer than a block
            TParaNode Node;
            Node.Text = Text(Int(0, 9) == 0 ? Int(TParaStore::MaxBytes, 2 * TParaStore::MaxBytes) : Int(0, 40));
            if (Int(0, 4) == 0)
                Node.Breaks.SetEnd(TLineEnd::Lf);
            const int At = Int(1, Count + 1);
            M.insert(M.begin() + (At - 1), {Node.Text, 1, Node.Breaks.End()});
            S.Insert(At, std::move(Node));
            break;
        }
        case 2: // loading: a paragraph before the last one
            M.insert(M.end() - 1, {Text(Int(0, 30)), 1, TLineEnd::Default});
            S.Insert(Count, M[static_cast<std::size_t>(Count - 1)].Text, TParaExtras());
            break;
        case 3:
            if (Count > 1) {
                const TParaNode Gone = S.Remove(N);
                ASSERT_EQ(Gone.Text, P.Text);
                ASSERT_EQ(Gone.Breaks.End(), P.End);
                ASSERT_EQ(Gone.LineCount(), P.Lines);
                M.erase(M.begin() + (N - 1));
            }
            break;
        case 4:
        case 5: { // typing, deleting, replacing; sometimes a lot
            const std::size_t At = static_cast<std::size_t>(Int(0, static_cast<int>(P.Text.size())));
            const std::size_t Del = static_cast<std::size_t>(Int(0, static_cast<int>(P.Text.size() - At)));
            const std::string New = Text(Int(0, 5) == 0 ? Int(100, 3 * TParaStore::BlockBytes) : Int(0, 8));
            P.Text.replace(At, Del, New);
            S.Node(N).Replace(At, Del, New);
            break;
        }
        case 6: { // the inserted text is another paragraph of the store (maybe the same block)
            const int From = Int(1, Count);
            const std::string Expected = M[static_cast<std::size_t>(From - 1)].Text;
            const std::size_t At = static_cast<std::size_t>(Int(0, static_cast<int>(P.Text.size())));
            P.Text.insert(At, Expected);
            S.Node(N).Replace(At, 0, S.Text(From));
            break;
        }
        case 7: // a wrapped line more or less
            if (P.Lines > 1 && Int(0, 1) == 0) {
                TParaExtras &X = S.Extras(N);
                const std::vector<std::uint32_t> Starts(X.begin(), X.end() - 1);
                X.assign(Starts.data(), Starts.data() + Starts.size());
                S.LinesChanged(N, -1);
                --P.Lines;
            } else {
                S.Extras(N).push_back(static_cast<std::uint32_t>(P.Lines));
                S.LinesChanged(N, 1);
                ++P.Lines;
            }
            break;
        case 8: { // a line end set or taken back
            const TLineEnd E = Int(0, 1) == 0 ? TLineEnd::Cr : TLineEnd::Default;
            if (S.Breaks(N).End() != E)
                S.Extras(N).SetEnd(E);
            P.End = E;
            if (Int(0, 3) == 0)
                S.TidyExtras();
            break;
        }
        default: { // the same paragraph again, and its neighbours
            ASSERT_EQ(S.Text(N), P.Text);
            if (N < Count) {
                ASSERT_EQ(S.Text(N + 1), M[static_cast<std::size_t>(N)].Text);
            }
            if (N > 1) {
                ASSERT_EQ(S.Text(N - 1), M[static_cast<std::size_t>(N - 2)].Text);
            }
            break;
        }
        }
    }

    TParaStore S;
    std::vector<TModelPara> M;

private:
    std::mt19937 Rng;
};

} // namespace

TEST(ParaStore, RandomEditsMatchAPlainList)
{
    for (unsigned Seed = 1; Seed <= 6; ++Seed) {
        SCOPED_TRACE("seed " + std::to_string(Seed));
        TStoreRun R(Seed);
        // A text of a few thousand short lines, as loading makes it: several full blocks.
        for (int I = 0; I < 3000; ++I) {
            R.M.insert(R.M.end() - 1, {R.Text(R.Int(0, 30)), 1, TLineEnd::Default});
            R.S.Insert(R.S.ParaCount(), R.M[R.M.size() - 2].Text, TParaExtras());
        }
        ASSERT_NO_FATAL_FAILURE(R.Check());
        for (int Step = 0; Step < 600; ++Step) {
            SCOPED_TRACE("step " + std::to_string(Step));
            ASSERT_NO_FATAL_FAILURE(R.Step());
            ASSERT_NO_FATAL_FAILURE(R.Check());
        }
        // Removing nearly everything merges the blocks again.
        while (R.S.ParaCount() > 1) {
            const int N = R.Int(1, R.S.ParaCount());
            ASSERT_EQ(R.S.Remove(N).Text, R.M[static_cast<std::size_t>(N - 1)].Text);
            R.M.erase(R.M.begin() + (N - 1));
            if (R.S.ParaCount() % 97 == 0) {
                ASSERT_NO_FATAL_FAILURE(R.Check());
            }
        }
        ASSERT_NO_FATAL_FAILURE(R.Check());
    }
}

TEST(ParaStore, ResetLeavesOneEmptyParagraph)
{
    TParaStore S;
    for (int I = 0; I < 2500; ++I)
        S.Insert(S.ParaCount(), "line " + std::to_string(I), TParaExtras());
    EXPECT_EQ(S.ParaCount(), 2501);
    EXPECT_EQ(S.Text(2500), "line 2499");
    EXPECT_EQ(S.Text(2501), "");
    EXPECT_TRUE(S.Consistent());
    S.Reset();
    EXPECT_EQ(S.ParaCount(), 1);
    EXPECT_EQ(S.LineCount(), 1);
    EXPECT_EQ(S.Text(1), "");
    EXPECT_TRUE(S.Consistent());
}

TEST(ParaStore, EditsMayTakeTheirTextFromTheStore)
{
    // A paragraph's own text, or its neighbour's in the same block, given as the text to insert:
    // making room for it moves the block, so the list must not read the view afterwards.
    TParaList L;
    std::string Long(20000, 'x');
    for (std::size_t I = 0; I < Long.size(); I += 7)
        Long[I] = static_cast<char>('a' + I % 26);
    ASSERT_EQ(L.AppendParagraph("short one"), 0);
    ASSERT_EQ(L.AppendParagraph(Long), 0);
    ASSERT_EQ(L.AppendParagraph("short two"), 0);
    ASSERT_EQ(L.ReplaceChars(2, 3, 1, L.ParaText(2)), 0);
    std::string Expected = Long;
    Expected.replace(2, 1, Long);
    EXPECT_EQ(L.ParaText(2), Expected);
    ASSERT_EQ(L.InsertChars(3, 6, L.ParaText(1)), 0);
    EXPECT_EQ(L.ParaText(3), "shortshort one two");
    ASSERT_EQ(L.ReplaceChars(1, 1, 5, L.ParaText(3)), 0);
    EXPECT_EQ(L.ParaText(1), "shortshort one two one");
    std::string Why;
    EXPECT_TRUE(L.CheckIntegrity(&Why)) << Why;
}
