// Randomized edits of the text store checked step by step against a plain vector of strings.
#include "core/editor/ParaList.h"
#include "../shared/TextModel.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using reference::Blank;
using reference::TModel;

class TRandomEdits {
public:
    // MaxSpan: most paragraphs one selection spans; BigPastes: percentage of pastes of 20-120 lines.
    TRandomEdits(unsigned Seed, int MaxSpan, int BigPastes) : MaxSpan(MaxSpan), BigPastes(BigPastes), Rng(Seed) {}

    int Int(int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); }
    bool Chance(int Percent) { return Int(1, 100) <= Percent; }

    std::string Word(int MaxLen)
    {
        static const char Chars[] = "abcdefghij   --\t";
        std::string S;
        const int N = Int(0, MaxLen);
        for (int I = 0; I < N; ++I)
            S += Chars[Int(0, static_cast<int>(sizeof Chars) - 2)];
        return S;
    }
    std::string Paste(int Lines)
    {
        static const char *Breaks[] = {"\r\n", "\n", "\r\r\n", "\r"};
        std::string S;
        for (int I = 0; I < Lines; ++I) {
            S += Word(30);
            if (Chance(10))
                S += "\rx"; // a CR inside a line stays a character
            S += I + 1 < Lines || Chance(50) ? Breaks[Int(0, 2)] : "";
        }
        if (Chance(20))
            S += Breaks[3]; // a CR ending the text is a break too
        return S;
    }

    void CheckState(const TParaList &L, const TModel &M)
    {
        ASSERT_EQ(L.ParaCount(), static_cast<int>(M.P.size()));
        for (int P = 1; P <= L.ParaCount(); ++P)
            ASSERT_EQ(L.ParaText(P), M.P[static_cast<std::size_t>(P - 1)]) << "paragraph " << P;
        ASSERT_EQ(L.ByteCount(), M.Bytes());
        std::string Why;
        ASSERT_TRUE(L.CheckIntegrity(&Why)) << Why;
        // Every display line in order, then some jumps, against the reference wrapping.
        std::vector<std::string> Lines;
        for (const auto &S : M.P)
            reference::WrapModel(S, L.WordWrap(), L.WrapColumn(), L.TabSize(), Lines);
        ASSERT_EQ(L.LineCount(), static_cast<int>(Lines.size()));
        for (int I = 1; I <= L.LineCount(); ++I)
            ASSERT_EQ(L.GetLine(I), Lines[static_cast<std::size_t>(I - 1)]) << "line " << I;
        for (int K = 0; K < 5; ++K) {
            const int I = Int(1, L.LineCount());
            ASSERT_EQ(L.GetLine(I), Lines[static_cast<std::size_t>(I - 1)]) << "line " << I;
            const TParaPos Start = L.LineToPara(I);
            const TLinePos Back = L.ParaToLine({Start.Para, Start.Offset + 1});
            ASSERT_EQ(Back, (TLinePos{I, 1})) << "line " << I;
        }
        ASSERT_EQ(L.GetLine(L.LineCount()), Lines.back());
        ASSERT_EQ(L.GetLine(1), Lines.front());
    }

    TParaPos AnyPos(TModel &M, int Past = 0)
    {
        const int P = Int(1, static_cast<int>(M.P.size()));
        return {P, Int(1, M.Len(P) + 1 + Past)};
    }

    // One random edit applied to both.
    void Step(TParaList &L, TModel &M)
    {
        const int Op = Int(0, 99);
        if (Op < 25) { // typing, often continuing at the caret
            TParaPos Pos = Chance(60) && Caret.Para <= static_cast<int>(M.P.size()) ? Caret : AnyPos(M, 3);
            const std::string S = Chance(70) ? Word(1) : Word(8);
            ASSERT_EQ(L.InsertChars(Pos.Para, Pos.Offset, S), 0);
            M.InsertChars(Pos.Para, Pos.Offset, S);
            Caret = {Pos.Para, Pos.Offset + static_cast<int>(S.size())};
        } else if (Op < 37) { // delete or backspace
            TParaPos Pos = AnyPos(M);
            const int N = Int(0, 6);
            L.DeleteChars(Pos.Para, Pos.Offset, N);
            M.DeleteChars(Pos.Para, Pos.Offset, std::min(N, M.Len(Pos.Para) - Pos.Offset + 1));
        } else if (Op < 43) { // overwrite
            TParaPos Pos = AnyPos(M, 2);
            const int Old = Int(0, 3);
            const std::string S = Word(3);
            ASSERT_EQ(L.ReplaceChars(Pos.Para, Pos.Offset, Old, S), 0);
            M.ReplaceChars(Pos.Para, Pos.Offset, std::min(Old, std::max(0, M.Len(Pos.Para) - Pos.Offset + 1)), S);
        } else if (Op < 53) { // Enter
            TParaPos Pos = AnyPos(M, 2);
            ASSERT_EQ(L.SplitPara(Pos.Para, Pos.Offset), 0);
            M.Split(Pos.Para, Pos.Offset);
        } else if (Op < 60) { // Delete at the end, Backspace at the start
            const int P = Int(1, static_cast<int>(M.P.size()));
            const int O = M.Len(P) + 1 + (Chance(20) ? Int(0, 3) : 0);
            ASSERT_EQ(L.JoinPara(P, O), 0);
            M.Join(P, O);
        } else if (Op < 70) { // selection deleted, often across paragraphs
            TParaPos A = AnyPos(M);
            TParaPos B = AnyPos(M);
            if (Chance(30) && static_cast<int>(M.P.size()) > 3) {
                const int P = Int(1, static_cast<int>(M.P.size()) - 1);
                A = {P, Chance(50) ? 1 : Int(1, M.Len(P) + 1)};
                const int Q = std::min(static_cast<int>(M.P.size()), P + Int(1, MaxSpan));
                B = {Q, Chance(50) ? 1 : Int(1, M.Len(Q) + 1)};
            }
            ASSERT_EQ(L.DeleteRange(A, B), 0);
            M.DeleteRange(A, B);
        } else if (Op < 80) { // paste
            TParaPos Pos = AnyPos(M, 2);
            const std::string S = Paste(Chance(BigPastes) ? Int(20, 120) : Int(1, 4));
            TParaPos End;
            ASSERT_EQ(L.InsertText(Pos.Para, Pos.Offset, S, &End), 0);
            ASSERT_EQ(End, M.InsertText(Pos.Para, Pos.Offset, S));
            Caret = End;
        } else if (Op < 87) { // paragraphs inserted and deleted
            const int P = Int(1, static_cast<int>(M.P.size()));
            const std::string S = Word(40);
            if (Chance(50)) {
                ASSERT_EQ(L.InsertParaBefore(P, S), 0);
                M.P.insert(M.P.begin() + (P - 1), S);
            } else {
                ASSERT_EQ(L.InsertParaAfter(P, S), 0);
                M.P.insert(M.P.begin() + P, S);
            }
        } else if (Op < 92) {
            const int P = Int(1, static_cast<int>(M.P.size()));
            L.DeletePara(P);
            if (M.P.size() == 1)
                M.P[0].clear();
            else
                M.P.erase(M.P.begin() + (P - 1));
        } else if (Op < 95) { // wrap settings
            const int What = Int(0, 3);
            if (What == 0)
                L.SetWordWrap(!L.WordWrap());
            else if (What == 1)
                L.SetWrapColumn(Chance(50) ? Int(1, 12) : Int(40, 100));
            else if (What == 2)
                L.SetTabSize(Int(1, 8));
            else
                L.SetWrapColumn(Int(3, 20));
        } else { // undo a few steps and redo them: the text comes back
            int Undone = 0;
            const int N = Int(1, 3);
            while (Undone < N && L.Undo())
                ++Undone;
            for (int I = 0; I < Undone; ++I)
                ASSERT_TRUE(L.Redo());
            ASSERT_FALSE(L.CanRedo());
            // CheckState then compares with the unchanged model.
        }
    }

    void Run(int InitialParas, int Steps)
    {
        TParaList L(nullptr, 65535);
        L.SetWordWrap(Chance(60));
        L.SetWrapColumn(Chance(50) ? Int(1, 12) : Int(40, 100));
        L.SetTabSize(Int(2, 8));
        TModel M;
        M.P.clear();
        for (int I = 0; I < InitialParas; ++I) {
            std::string S = Word(Chance(10) ? 200 : 50);
            ASSERT_EQ(L.AppendParagraph(S), 0);
            while (!S.empty() && Blank(S.back()))
                S.pop_back();
            M.P.push_back(S);
        }
        M.P.emplace_back();
        ASSERT_FALSE(L.Modified());
        const TModel Original = M;
        ASSERT_NO_FATAL_FAILURE(CheckState(L, M));
        int Done = 0;
        // Stop before the undo block could fill: undoing everything must reach the start.
        while (Done < Steps && L.UndoBuffer().FreeBytes() > 16384) {
            SCOPED_TRACE("step " + std::to_string(Done));
            ASSERT_NO_FATAL_FAILURE(Step(L, M));
            ASSERT_NO_FATAL_FAILURE(CheckState(L, M));
            ++Done;
        }
        EXPECT_GT(Done, Steps / 4);
        const TModel Final = M;
        while (L.Undo()) {
        }
        ASSERT_NO_FATAL_FAILURE(CheckState(L, Original));
        EXPECT_FALSE(L.Modified());
        while (L.Redo()) {
        }
        ASSERT_NO_FATAL_FAILURE(CheckState(L, Final));
        EXPECT_TRUE(L.Modified() || !L.CanUndo());
    }

private:
    int MaxSpan;
    int BigPastes;
    std::mt19937 Rng;
    TParaPos Caret{1, 1};
};

} // namespace

TEST(ParaListRandom, SmallTexts)
{
    for (unsigned Seed = 1; Seed <= 100; ++Seed) {
        SCOPED_TRACE("seed " + std::to_string(Seed));
        TRandomEdits R(Seed, 150, 10);
        ASSERT_NO_FATAL_FAILURE(R.Run(R.Int(0, 30), 400));
    }
}

TEST(ParaListRandom, TextsOfManyBlocks)
{
    // Enough paragraphs for several blocks, and pastes and deletions large enough to split and
    // merge them.
    for (unsigned Seed = 1001; Seed <= 1010; ++Seed) {
        SCOPED_TRACE("seed " + std::to_string(Seed));
        TRandomEdits R(Seed, 40, 40);
        ASSERT_NO_FATAL_FAILURE(R.Run(R.Int(300, 900), 400));
    }
}
