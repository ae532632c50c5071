// Random key commands on the editor model, checked after every step against a reference editor
// built on the reference text model: the text, the caret and the selection.
#include "core/editor/EditorModel.h"
#include "core/editor/KeyCommands.h"
#include "core/editor/Search.h"
#include "../shared/TextModel.h"
#include "StubView.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

// The editor as documented, on paragraphs of strings (word wrap off: a paragraph is a line).
struct TRefEditor {
    reference::TModel M;
    TParaPos Caret{1, 1};
    TParaPos Anchor{1, 1};
    bool Insert = true;
    std::string Clip;
    static constexpr int Tab = 8;
    static constexpr int Rows = 10;

    int Len(int P) { return M.Len(P); }
    bool HasSel() const { return Anchor != Caret; }
    TParaPos From() const { return std::min(Anchor, Caret); }
    TParaPos To() const { return std::max(Anchor, Caret); }
    static bool Delim(char C) { return !(C >= 'a' && C <= 'z'); }

    void Move(TParaPos P, bool Extend)
    {
        if (Extend && !HasSel())
            Anchor = Caret;
        Caret = P;
        if (!Extend)
            Anchor = Caret;
    }
    void Collapse(TParaPos P) { Caret = Anchor = P; }
    void DeleteSel()
    {
        const TParaPos from = From();
        M.DeleteRange(from, To());
        Collapse(from);
    }
    int ScreenCol(int P, int Col)
    {
        int w = 0;
        for (int i = 0; i < Col - 1; ++i)
            w = M.At(P)[static_cast<std::size_t>(i)] == '\t' ? (w / Tab + 1) * Tab : w + 1;
        return w + 1;
    }
    // The character shown at screen column S of paragraph P (a column inside a tab gives the tab),
    // the caret staying at the end of shorter lines.
    int CharCol(int P, int S)
    {
        const std::string &t = M.At(P);
        int w = 0;
        for (std::size_t i = 0; i < t.size(); ++i) {
            const int next = t[i] == '\t' ? (w / Tab + 1) * Tab : w + 1;
            if (S <= next)
                return static_cast<int>(i) + 1;
            w = next;
        }
        return static_cast<int>(t.size()) + 1;
    }
    void Vertical(int Delta, bool Extend)
    {
        const int s = ScreenCol(Caret.Para, Caret.Offset);
        const int p = std::clamp(Caret.Para + Delta, 1, M.Count());
        Move({p, CharCol(p, s)}, Extend);
    }
    void TypeChar(char Ch)
    {
        bool deleted = false;
        if (HasSel()) {
            DeleteSel();
            deleted = true;
        }
        const std::string s(1, Ch);
        // Over a selection the character replaces the selection, whatever the mode.
        if (Insert || deleted || Caret.Offset > Len(Caret.Para))
            M.InsertChars(Caret.Para, Caret.Offset, s);
        else
            M.ReplaceChars(Caret.Para, Caret.Offset, 1, s);
        Collapse({Caret.Para, Caret.Offset + 1});
    }
    std::string Selected()
    {
        const TParaPos a = From(), b = To();
        if (a.Para == b.Para)
            return M.At(a.Para).substr(static_cast<std::size_t>(a.Offset - 1), static_cast<std::size_t>(b.Offset - a.Offset));
        std::string s = M.At(a.Para).substr(static_cast<std::size_t>(a.Offset - 1));
        for (int p = a.Para + 1; p < b.Para; ++p)
            s += "\r\n" + M.At(p);
        return s + "\r\n" + M.At(b.Para).substr(0, static_cast<std::size_t>(b.Offset - 1));
    }

    void Run(int Command, char Ch)
    {
        const int p = Caret.Para, o = Caret.Offset, len = Len(p);
        switch (Command) {
        case ccLeft:
        case ccExtendLeft:
            if (o > 1)
                Move({p, o - 1}, Command == ccExtendLeft);
            else if (p > 1)
                Move({p - 1, Len(p - 1) + 1}, Command == ccExtendLeft);
            break;
        case ccRight:
        case ccExtendRight:
            if (o <= len)
                Move({p, o + 1}, Command == ccExtendRight);
            else if (p < M.Count())
                Move({p + 1, 1}, Command == ccExtendRight);
            break;
        case ccUp: Vertical(-1, false); break;
        case ccExtendUp: Vertical(-1, true); break;
        case ccDown: Vertical(1, false); break;
        case ccExtendDown: Vertical(1, true); break;
        case ccPrevPage: Vertical(-(Rows - 1), false); break;
        case ccExtendPgDn: Vertical(Rows - 1, true); break;
        case ccWordLeft:
        case ccExtWordLeft: {
            const bool extend = Command == ccExtWordLeft;
            if (o <= 1) {
                if (p > 1)
                    Move({p - 1, Len(p - 1) + 1}, extend);
                break;
            }
            const std::string &t = M.At(p);
            std::size_t i = static_cast<std::size_t>(o - 1);
            while (i > 0 && Delim(t[i - 1]))
                --i;
            while (i > 0 && !Delim(t[i - 1]))
                --i;
            Move({p, static_cast<int>(i) + 1}, extend);
            break;
        }
        case ccWordRight:
        case ccExtWordRight: {
            const bool extend = Command == ccExtWordRight;
            if (o > len) {
                if (p < M.Count())
                    Move({p + 1, 1}, extend);
                break;
            }
            const std::string &t = M.At(p);
            std::size_t i = static_cast<std::size_t>(o - 1);
            while (i < t.size() && !Delim(t[i]))
                ++i;
            while (i < t.size() && Delim(t[i]))
                ++i;
            Move({p, static_cast<int>(i) + 1}, extend);
            break;
        }
        case ccHome: Move({p, 1}, false); break;
        case ccExtendHome: Move({p, 1}, true); break;
        case ccEnd: Move({p, len + 1}, false); break;
        case ccExtendEnd: Move({p, len + 1}, true); break;
        case ccFirstPage: Move({1, 1}, false); break;
        case ccExtLastPage: Move({M.Count(), Len(M.Count()) + 1}, true); break;
        case ccChar: TypeChar(Ch); break;
        case ccTab: TypeChar('\t'); break;
        case ccBack:
            if (HasSel())
                DeleteSel();
            else if (o > 1) {
                M.DeleteChars(p, o - 1, 1);
                Collapse({p, o - 1});
            } else if (p > 1) {
                const int prev = Len(p - 1);
                M.Join(p - 1, prev + 1);
                Collapse({p - 1, prev + 1});
            }
            break;
        case ccDel:
            if (HasSel())
                DeleteSel();
            else if (o <= len)
                M.DeleteChars(p, o, 1);
            else if (p < M.Count())
                M.Join(p, o);
            Collapse(Caret);
            break;
        case ccNewLine:
            if (HasSel())
                DeleteSel();
            if (Insert) {
                M.Split(Caret.Para, Caret.Offset);
                Collapse({Caret.Para + 1, 1});
            } else if (Caret.Para < M.Count()) {
                Collapse({Caret.Para + 1, 1});
            } else {
                Collapse({Caret.Para, Len(Caret.Para) + 1});
            }
            break;
        case ccDelEol:
            if (len + 1 - o > 0) {
                M.DeleteChars(p, o, len + 1 - o);
                Collapse(Caret);
            }
            break;
        case ccDelLine:
            if (p < M.Count())
                M.DeleteRange({p, 1}, {p + 1, 1});
            else
                M.DeleteChars(p, 1, len);
            Collapse({p, 1});
            break;
        case ccIns: Insert = !Insert; break;
        case ccCopy:
            if (HasSel())
                Clip = Selected();
            break;
        case ccCut:
            if (HasSel()) {
                Clip = Selected();
                DeleteSel();
            }
            break;
        case ccPaste: {
            if (HasSel())
                DeleteSel();
            const TParaPos end = M.InsertText(Caret.Para, Caret.Offset, Clip);
            Collapse(end);
            break;
        }
        default: FAIL() << "no reference for command " << Command;
        }
    }
};

std::string Describe(const TRefEditor &R)
{
    std::ostringstream s;
    for (const std::string &p : R.M.P)
        s << '[' << p << "] ";
    s << "caret " << R.Caret.Para << ':' << R.Caret.Offset << " anchor " << R.Anchor.Para << ':' << R.Anchor.Offset;
    return s.str();
}

TEST(EditorModelRandom, KeyCommandsFollowTheReferenceEditor)
{
    // Letters are word characters, the rest of the alphabet delimits words.
    for (char c : std::string(" -<>\t"))
        ASSERT_TRUE(IsWordDelimiter(c)) << c;
    ASSERT_FALSE(IsWordDelimiter('a'));

    const int commands[] = {ccLeft, ccRight, ccUp, ccDown, ccExtendLeft, ccExtendRight, ccExtendUp, ccExtendDown,
                            ccWordLeft, ccWordRight, ccExtWordLeft, ccExtWordRight, ccHome, ccExtendHome, ccEnd,
                            ccExtendEnd, ccPrevPage, ccExtendPgDn, ccFirstPage, ccExtLastPage, ccBack, ccDel,
                            ccDelEol, ccDelLine, ccNewLine, ccTab, ccIns, ccCopy, ccCut, ccPaste, ccChar, ccChar,
                            ccChar, ccChar, ccChar};
    for (unsigned seed = 1; seed <= 12; ++seed) {
        TStubView view;
        TEdModel model(view);
        view.Model = &model;
        TRefEditor ref;
        std::mt19937 rng(seed);
        for (int step = 0; step < 3000; ++step) {
            std::string how;
            if (rng() % 40 == 0) {
                // A selection made with the mouse, either way round.
                const int pa = 1 + static_cast<int>(rng() % ref.M.Count());
                const int pb = 1 + static_cast<int>(rng() % ref.M.Count());
                const TParaPos a{pa, 1 + static_cast<int>(rng() % (ref.Len(pa) + 1))};
                const TParaPos b{pb, 1 + static_cast<int>(rng() % (ref.Len(pb) + 1))};
                model.SelectParaRange(a, b);
                ref.Anchor = a;
                ref.Caret = b;
                how = "select";
            } else {
                if (rng() % 30 == 0) {
                    const char *pastes[] = {"x\r\ny", "<b>\r\n\r\n", "tail\r\n", "a\tb", ""};
                    view.Clipboard = ref.Clip = pastes[rng() % 5];
                }
                const int command = commands[rng() % std::size(commands)];
                const char ch = "ab -<>\t"[rng() % 7];
                model.ProcessCommand(command, ch);
                ref.Run(command, ch);
                how = "command " + std::to_string(command) + " '" + ch + "'";
            }
            const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step) + " " + how +
                                      "\nexpected " + Describe(ref);
            ASSERT_TRUE(view.Errors.empty()) << where << " error " << view.Errors.front();
            ASSERT_EQ(model.List().ParaCount(), ref.M.Count()) << where;
            for (int p = 1; p <= ref.M.Count(); ++p)
                ASSERT_EQ(model.List().ParaText(p), ref.M.At(p)) << where << "\nparagraph " << p;
            ASSERT_EQ(model.CaretPos(), ref.Caret) << where;
            ASSERT_EQ(model.SelStart(), ref.HasSel() ? ref.From() : ref.Caret) << where;
            ASSERT_EQ(model.SelEnd(), ref.HasSel() ? ref.To() : ref.Caret) << where;
            ASSERT_EQ(model.CaretLine(), ref.Caret.Para) << where;
            ASSERT_EQ(model.CaretCol(), ref.Caret.Offset) << where;
            ASSERT_EQ(model.InsertMode(), ref.Insert) << where;
            ASSERT_EQ(view.Clipboard, ref.Clip) << where;
        }
        EXPECT_TRUE(view.Errors.empty());
    }
}

// With word wrap switched on and off, short paragraph limits, undo, redo, bookmarks and page
// moves, the caret and the selection stay inside the text and the store stays whole.
TEST(EditorModelRandom, CommandsKeepCaretSelectionAndStoreConsistentWhileWrapping)
{
    TStubView view;
    TEdModel model(view);
    view.Model = &model;
    TParaList &list = model.List();
    list.SetParaLengthLimit(60);
    model.InsertString("alpha beta\r\n\tgamma <b>delta</b>\r\n\r\nepsilon, zeta; eta");
    const int commands[] = {ccLeft, ccRight, ccUp, ccDown, ccExtendLeft, ccExtendRight, ccExtendUp, ccExtendDown,
                            ccWordLeft, ccWordRight, ccExtWordLeft, ccExtWordRight, ccHome, ccEnd, ccExtendEnd,
                            ccNextPage, ccPrevPage, ccFirstPage, ccLastPage, ccExtLastPage, ccBack, ccDel, ccDelEol,
                            ccDelLine, ccDelWord, ccNewLine, ccTab, ccIns, ccUndo, ccRedo, ccChar, ccChar, ccChar,
                            ccSetMarker0 + 2, ccGotoMarker0 + 2, ccTopOfPage, ccBotOfPage, ccScrollDown};
    std::mt19937 rng(11);
    for (int step = 0; step < 4000; ++step) {
        if (step % 500 == 250) {
            list.SetWordWrap(!list.WordWrap());
            list.SetWrapColumn(12);
        }
        const int command = commands[rng() % std::size(commands)];
        const char ch = "ab -<>\t"[rng() % 7];
        ASSERT_NO_THROW(model.ProcessCommand(command, ch)) << "step " << step << " command " << command;
        const int line = model.CaretLine(), col = model.CaretCol();
        ASSERT_GE(line, 1);
        ASSERT_LE(line, list.LineCount());
        ASSERT_GE(col, 1);
        ASSERT_LE(col, list.LineLength(line) + 1) << "step " << step << " command " << command;
        int l1, c1, l2, c2;
        if (model.GetSelection(l1, c1, l2, c2)) {
            ASSERT_TRUE(l1 < l2 || (l1 == l2 && c1 < c2));
            ASSERT_LE(l2, list.LineCount());
            ASSERT_TRUE((line == l1 && col == c1) || (line == l2 && col == c2)) << "step " << step;
        }
        std::string why;
        ASSERT_TRUE(list.CheckIntegrity(&why)) << why;
    }
    for (int code : view.Errors)
        EXPECT_TRUE(code == 266 || code == 268) << code;
}

} // namespace
