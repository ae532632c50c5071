// Fuzz target for the text store: the input is decoded into limits, wrap settings and a sequence
// of edits, groups, undos, redos, saves, reloads and bookmark moves on a TParaList. After every
// step the store is checked against a plain model (paragraphs as strings, display lines wrapped
// the documented way, the linear undo history, Modified) and against its own recount.
#include "core/editor/ParaList.h"

#include "FuzzInput.h"
#include "../shared/TextModel.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using reference::TText;
using reference::TModel;
using reference::WrapModel;

class TShiftCounter final : public TParaListObserver {
public:
    void ParaListShifted(const TParaList &List, const TPosShift &) override
    {
        FUZZ_CHECK(&List == Expected);
        ++Shifts;
    }
    void ParaListRewrapped(const TParaList &List) override { FUZZ_CHECK(&List == Expected); }
    const TParaList *Expected = nullptr;
    long Shifts = 0;
};

// FUZZ_TRACE=1 prints every step with the text after it, to follow a failing input.
bool Tracing()
{
    static const bool On = std::getenv("FUZZ_TRACE") != nullptr;
    return On;
}

std::string Shown(const TText &T)
{
    std::string S;
    for (const auto &P : T) {
        S += "[";
        for (unsigned char C : P)
            if (C >= 32 && C < 127)
                S += static_cast<char>(C);
            else
                S += "\\x" + std::string(1, "0123456789abcdef"[C >> 4]) + "0123456789abcdef"[C & 15];
        S += "]";
    }
    return S;
}

class TSession {
public:
    explicit TSession(TFuzzInput &Input) : In(Input), L(&Observer, PickUndoSize())
    {
        Observer.Expected = &L;
        static const int ParaLimits[] = {TParaList::MaxLimit, 3, 8, 30};
        static const int ByteLimits[] = {TParaList::MaxLimit, 40, 200, 1000};
        static const int LengthLimits[] = {TParaList::MaxParaLength, 4, 12, 60};
        const uint8_t Limits = In.Byte();
        L.SetParaLimit(ParaLimits[Limits & 3]);
        L.SetByteLimit(ByteLimits[(Limits >> 2) & 3]);
        L.SetParaLengthLimit(LengthLimits[(Limits >> 4) & 3]);
        L.SetTrimWhiteSpace((Limits & 64) == 0);
        L.SetWordWrap(In.Bool());
        L.SetWrapColumn(In.Int(1, 24));
        L.SetTabSize(In.Int(1, 9));
        const bool Tight = (Limits & 128) != 0;
        Load();
        // A byte limit just above the loaded text puts every growing edit near it.
        if (Tight)
            L.SetByteLimit(static_cast<int>(L.ByteCount()) + In.Int(0, 12));
    }

    void Run()
    {
        for (int Steps = 0; Steps < 400 && !In.Empty(); ++Steps)
            Step(false);
        // Undo everything still recorded, then redo it: the states come back in order.
        while (L.CanUndo())
            Undo();
        while (L.CanRedo())
            Redo();
    }

private:
    struct TState {
        TText P;
        bool Mod;
    };

    std::uint16_t PickUndoSize()
    {
        static const std::uint16_t Sizes[] = {8192, 0, 40, 100, 300, 1000, 65535, 8192};
        return Sizes[In.Byte() & 7];
    }

    std::string Chars(std::size_t Max)
    {
        switch (In.Byte() & 3) {
        case 0:
            return In.Text(Max);
        case 1:
            return In.TextOf("ab-\t ", Max);
        default:
            return In.TextOf("abcdef  -", Max);
        }
    }
    std::string Pasted()
    {
        static const char *Breaks[] = {"\r\n", "\n", "\r\r\n", "\r"};
        std::string S;
        const int Lines = In.Int(1, 4);
        for (int I = 0; I < Lines; ++I) {
            S += Chars(12);
            if (I + 1 < Lines || In.Bool())
                S += Breaks[In.Byte() & 3];
        }
        return S;
    }
    int Para(bool Strict = true) { return In.Int(1, M.Count() + (Strict || (In.Byte() & 15) ? 0 : 2)); }
    // Offsets reach past the end of the paragraph, where edits fill the gap with spaces.
    int Offset(int P) { return In.Int(1, (P <= M.Count() ? M.Len(P) : 0) + 4 + (In.Byte() & 8)); }
    TParaPos Pos()
    {
        const int P = Para();
        return {P, Offset(P)};
    }

    // Resets the model to what a load leaves: some paragraphs, no history, not modified.
    void Load()
    {
        L.Clear();
        M = TModel();
        const int Count = In.Int(0, 6);
        for (int I = 0; I < Count; ++I) {
            const std::string T = Chars(30);
            const int E = L.AppendParagraph(T);
            // A line is refused for its length exactly when the model refuses it, never cut.
            FUZZ_CHECK((E == edeParaTooLong) == !TModel(M).Append(T, L.ParaLengthLimit(), L.TrimWhiteSpace()));
            if (E != 0) {
                M.P = Snapshot(); // refused by a limit: whatever went in before stays
                break;
            }
            M.Append(T, L.ParaLengthLimit(), L.TrimWhiteSpace());
        }
        FUZZ_CHECK(!L.Modified() && !L.CanUndo() && !L.CanRedo());
        History = {{M.P, false}};
        Cur = 0;
        RedoFrom.clear();
        Saved = M.P;
        Check();
    }

    TText Snapshot() const
    {
        TText T;
        for (int P = 1; P <= L.ParaCount(); ++P)
            T.emplace_back(L.ParaText(P));
        return T;
    }

    void Check()
    {
        std::string Why;
        FUZZ_CHECK_MSG(L.CheckIntegrity(&Why), Why);
        FUZZ_CHECK(L.ParaCount() == M.Count());
        for (int P = 1; P <= L.ParaCount(); ++P)
            FUZZ_CHECK_MSG(L.ParaText(P) == M.At(P), "paragraph " + std::to_string(P));
        FUZZ_CHECK(L.ByteCount() == M.Bytes());
        std::vector<std::string> Lines;
        for (const auto &S : M.P)
            WrapModel(S, L.WordWrap(), L.WrapColumn(), L.TabSize(), Lines);
        FUZZ_CHECK(L.LineCount() == static_cast<int>(Lines.size()));
        for (int I = 1; I <= L.LineCount(); ++I) {
            FUZZ_CHECK_MSG(L.GetLine(I) == Lines[static_cast<std::size_t>(I - 1)], "line " + std::to_string(I));
            const TParaPos Start = L.LineToPara(I);
            FUZZ_CHECK(L.ParaToLine({Start.Para, Start.Offset + 1}) == (TLinePos{I, 1}));
        }
        // Whatever differs from the saved text must show as modified.
        FUZZ_CHECK(M.P == Saved || L.Modified());
        for (int D = 0; D < 10; ++D) {
            const TParaPos B = L.Bookmark(D);
            FUZZ_CHECK(B == TParaPos{} || (B.Para >= 1 && B.Para <= L.ParaCount() && B.Offset >= 1));
        }
    }

    // After an edit that went through: the model's text is the new state.
    void Edited(const TText &Before, bool InGroup)
    {
        if (L.CanRedo()) {
            FUZZ_CHECK(M.P == Before); // a change must drop the redo history
        } else {
            RedoFrom.clear();
        }
        if (M.P != Before && !InGroup) {
            History.resize(Cur + 1);
            History.push_back({M.P, true});
            ++Cur;
            RedoFrom.clear();
        }
    }

    // An edit that the store refused with Code: simple edits must leave the text alone;
    // compound ones keep the steps done, which then count as the new state.
    void Refused(int Code, const TText &Before, bool Compound, bool InGroup)
    {
        FUZZ_CHECK(Code >= 263 && Code <= 268);
        const TText Now = Snapshot();
        if (!Compound)
            FUZZ_CHECK_MSG(Now == Before, "refused edit " + std::to_string(Code) + " changed the text");
        M.P = Now;
        Edited(Before, InGroup);
    }

    template <class F>
    void Guarded(const TText &Before, F Edit)
    {
        try {
            Edit();
        } catch (const EInvalidLineOrPara &) {
            FUZZ_CHECK(Snapshot() == Before);
        }
    }

    void Step(bool InGroup)
    {
        const TText Before = M.P;
        // The next change records the flag as it is now: undoing back to this text restores it
        // (an earlier change that left the text as it was still made it modified).
        if (!InGroup)
            History[Cur].Mod = L.Modified();
        const int Op = In.Byte() % (InGroup ? 10 : 17);
        struct TTrace {
            TSession &S;
            int Op;
            ~TTrace()
            {
                if (Tracing())
                    std::fprintf(stderr, "op %d -> %s mod %d can undo %d redo %d (history %zu of %zu)\n", Op,
                                 Shown(S.Snapshot()).c_str(), S.L.Modified(), S.L.CanUndo(), S.L.CanRedo(), S.Cur,
                                 S.History.size());
            }
        } Trace{*this, Op};
        switch (Op) {
        case 0: { // typing
            const int P = Para(false), O = Offset(P);
            const std::string S = Chars(6);
            Guarded(Before, [&] {
                const int E = L.InsertChars(P, O, S);
                if (E)
                    return Refused(E, Before, false, InGroup);
                M.InsertChars(P, O, S);
                Edited(Before, InGroup);
            });
            break;
        }
        case 1: { // Delete and Backspace
            const int P = Para(false), O = Offset(P), C = In.Int(-1, 6);
            Guarded(Before, [&] {
                FUZZ_CHECK(L.DeleteChars(P, O, C) == 0);
                M.DeleteChars(P, O, C);
                Edited(Before, InGroup);
            });
            break;
        }
        case 2: { // overwriting
            const int P = Para(false), O = Offset(P), C = In.Int(-1, 4);
            const std::string S = Chars(4);
            Guarded(Before, [&] {
                const int E = L.ReplaceChars(P, O, C, S);
                if (E)
                    return Refused(E, Before, false, InGroup);
                M.ReplaceChars(P, O, C, S);
                Edited(Before, InGroup);
            });
            break;
        }
        case 3: { // Enter
            const int P = Para(false), O = Offset(P), Indent = In.Byte() % 8 == 0 ? In.Int(0, 12) : 0;
            Guarded(Before, [&] {
                const int E = L.SplitPara(P, O, Indent);
                if (E)
                    return Refused(E, Before, true, InGroup);
                M.Split(P, O, Indent, L.TabSize());
                Edited(Before, InGroup);
            });
            break;
        }
        case 4: { // Delete at a paragraph end, Backspace at a start
            const int P = Para(false);
            const int O = P <= M.Count() && In.Bool() ? M.Len(P) + 1 : Offset(P);
            Guarded(Before, [&] {
                const int E = L.JoinPara(P, O);
                if (E)
                    return Refused(E, Before, false, InGroup);
                M.Join(P, O);
                Edited(Before, InGroup);
            });
            break;
        }
        case 5: { // a selection deleted
            const TParaPos A = Pos();
            TParaPos B = Pos();
            if (In.Bool())
                B.Offset = 1;
            Guarded(Before, [&] {
                const int E = L.DeleteRange(A, B);
                if (E)
                    return Refused(E, Before, false, InGroup);
                M.DeleteRange(A, B);
                Edited(Before, InGroup);
            });
            break;
        }
        case 6: { // paste
            const int P = Para(false), O = Offset(P);
            const std::string S = Pasted();
            Guarded(Before, [&] {
                TParaPos End;
                const int E = L.InsertText(P, O, S, &End);
                if (E)
                    return Refused(E, Before, true, InGroup);
                FUZZ_CHECK(End == M.InsertText(P, O, S, L.TabSize()));
                Edited(Before, InGroup);
            });
            break;
        }
        case 7: { // a paragraph inserted
            const int P = Para(false);
            const bool After = In.Bool();
            const std::string S = Chars(10);
            Guarded(Before, [&] {
                const int E = After ? L.InsertParaAfter(P, S) : L.InsertParaBefore(P, S);
                if (E)
                    return Refused(E, Before, false, InGroup);
                M.P.insert(M.P.begin() + (After ? P : P - 1), S);
                Edited(Before, InGroup);
            });
            break;
        }
        case 8: { // a paragraph deleted
            const int P = Para(false);
            Guarded(Before, [&] {
                L.DeletePara(P);
                if (M.Count() == 1)
                    M.P[0].clear();
                else
                    M.P.erase(M.P.begin() + (P - 1));
                Edited(Before, InGroup);
            });
            break;
        }
        case 9: { // bookmarks
            const int D = In.Int(0, 11);
            const TParaPos Mark = Pos();
            const int O = In.Byte() % 8 == 0 ? L.ParaLengthLimit() + In.Int(0, 2) : Mark.Offset;
            try {
                L.SetBookmark(D, Mark.Para, O);
                FUZZ_CHECK(D > 9 || L.Bookmark(D) == (TParaPos{Mark.Para, O}));
            } catch (const EInvalidLineOrCol &) {
                FUZZ_CHECK(O > L.ParaLengthLimit() + 1);
            }
            break;
        }
        case 10:
        case 11:
            Undo();
            break;
        case 12:
            Redo();
            break;
        case 13: { // a group of edits: one undo step
            const TText GroupBefore = M.P;
            {
                TParaList::TGroup G(L);
                for (int N = In.Int(1, 4); N > 0; --N)
                    Step(true);
            }
            Edited(GroupBefore, false);
            break;
        }
        case 14: // saved
            L.SetModified(false);
            FUZZ_CHECK(!L.Modified());
            for (auto &S : History)
                S.Mod = true;
            History[Cur].Mod = false;
            Saved = M.P;
            break;
        case 15: { // wrap settings
            const int What = In.Byte() % 3;
            if (What == 0)
                L.SetWordWrap(!L.WordWrap());
            else if (What == 1)
                L.SetWrapColumn(In.Int(-1, 30));
            else
                L.SetTabSize(In.Int(-1, 9));
            break;
        }
        case 16: // reloaded, or the undo buffer replaced
            if (In.Bool()) {
                Load();
            } else {
                L.SetUndoBufferSize(PickUndoSize());
                FUZZ_CHECK(!L.CanUndo() && !L.CanRedo());
                History = {{M.P, L.Modified()}};
                Cur = 0;
                RedoFrom.clear();
            }
            break;
        }
        Check();
    }

    void Undo()
    {
        const bool Could = L.CanUndo();
        const auto R = L.Undo();
        FUZZ_CHECK(R.has_value() == Could);
        const TText Now = Snapshot();
        if (!R) {
            FUZZ_CHECK(Now == M.P);
            return;
        }
        FUZZ_CHECK(R->Para >= 1 && R->Para <= L.ParaCount() && R->Offset >= 1);
        // Undo goes back to a state the text had before, the newest first.
        std::size_t J = Cur + 1;
        while (J-- > 0)
            if (History[J].P == Now)
                break;
        FUZZ_CHECK_MSG(J <= Cur, "undo gave a text that never existed");
        if (J < Cur)
            FUZZ_CHECK(L.Modified() == History[J].Mod);
        RedoFrom.push_back(Cur);
        Cur = J;
        M.P = Now;
        Check();
    }

    void Redo()
    {
        const bool Could = L.CanRedo();
        const auto R = L.Redo();
        FUZZ_CHECK(R.has_value() == Could);
        const TText Now = Snapshot();
        if (!R) {
            FUZZ_CHECK(Now == M.P);
            return;
        }
        FUZZ_CHECK(R->Para >= 1 && R->Para <= L.ParaCount() && R->Offset >= 1);
        FUZZ_CHECK_MSG(!RedoFrom.empty() && History[RedoFrom.back()].P == Now, "redo gave another text");
        Cur = RedoFrom.back();
        RedoFrom.pop_back();
        // A redone change counts as a change: the text shows modified, and so does every state
        // that later changes lead back to from here.
        FUZZ_CHECK(L.Modified());
        History[Cur].Mod = true;
        M.P = Now;
        Check();
    }

    TFuzzInput &In;
    TShiftCounter Observer;
    TParaList L;
    TModel M;
    std::vector<TState> History;
    std::size_t Cur = 0;
    std::vector<std::size_t> RedoFrom;
    TText Saved;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    TFuzzInput In(Data, Size);
    TSession Session(In);
    Session.Run();
    return 0;
}
