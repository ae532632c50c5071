// Random key commands on the editor model, checked after every step against a reference editor
// built on the reference text model: the text, the caret and the selection.
#include "core/editor/Chars.h"
#include "core/editor/EditorModel.h"
#include "core/editor/KeyCommands.h"
#include "core/editor/Search.h"
#include "../shared/TextModel.h"
#include "StubView.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

// The characters of the UTF-8 runs: letters of three scripts, wide CJK characters and emoji, a
// letter with a combining mark, an emoji joined by a zero-width joiner, and an invalid byte, with
// the cells each takes. Any sequence of them splits back into them.
struct TRefChar {
    std::string_view Bytes;
    int Cells;
    bool Word;
};
constexpr TRefChar Utf8Chars[] = {
    {"\xCE\xBB", 1, true},                 // Greek lambda
    {"\xD0\xB6", 1, true},                 // Cyrillic zhe
    {"\xE4\xB8\xAD", 2, true},             // CJK
    {"\xE5\xAD\x97", 2, true},             // CJK
    {"e\xCC\x81", 1, true},                // e with a combining acute accent
    {"\xF0\x9F\x98\x80", 2, false},        // emoji
    {"\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB", 2, false}, // emoji, joiner, emoji
    {"\xE2\x80\x94", 1, false},            // em dash
    {"\xFF", 1, true},                     // an invalid byte
};

// The editor as documented, on paragraphs of strings (word wrap off: a paragraph is a line). In a
// UTF-8 run the caret steps over the characters above, which the reference knows by construction.
struct TRefEditor {
    reference::TModel M;
    TParaPos Caret{1, 1};
    TParaPos Anchor{1, 1};
    bool Insert = true;
    bool Utf8 = false;
    std::string Clip;
    static constexpr int Tab = 8;
    static constexpr int Rows = 10;

    struct TChar {
        std::size_t Start, End;
        int Cells;  // 0 for a tab
        bool Word;
    };
    // The characters of paragraph P: its bytes, or in a UTF-8 run the characters above.
    std::vector<TChar> Chars(int P)
    {
        const std::string &t = M.At(P);
        std::vector<TChar> out;
        for (std::size_t i = 0; i < t.size();) {
            TChar c{i, i + 1, t[i] == '\t' ? 0 : 1, t[i] >= 'a' && t[i] <= 'z'};
            if (Utf8)
                for (const TRefChar &u : Utf8Chars)
                    if (std::string_view(t).substr(i, u.Bytes.size()) == u.Bytes) {
                        c = {i, i + u.Bytes.size(), u.Cells, u.Word};
                        break;
                    }
            out.push_back(c);
            i = c.End;
        }
        return out;
    }
    // The offset (from 1) of the character boundary before or after offset O.
    int PrevChar(int P, int O)
    {
        int prev = 1;
        for (const TChar &c : Chars(P))
            if (static_cast<int>(c.Start) + 1 < O)
                prev = static_cast<int>(c.Start) + 1;
        return prev;
    }
    int NextChar(int P, int O)
    {
        for (const TChar &c : Chars(P))
            if (static_cast<int>(c.Start) + 1 == O)
                return static_cast<int>(c.End) + 1;
        return O + 1;
    }
    // A position inside a character moved to its start.
    TParaPos Snap(TParaPos P)
    {
        for (const TChar &c : Chars(P.Para))
            if (static_cast<int>(c.Start) + 1 < P.Offset && P.Offset <= static_cast<int>(c.End))
                return {P.Para, static_cast<int>(c.Start) + 1};
        return P;
    }

    int Len(int P) { return M.Len(P); }
    bool HasSel() const { return Anchor != Caret; }
    TParaPos From() const { return std::min(Anchor, Caret); }
    TParaPos To() const { return std::max(Anchor, Caret); }

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
        for (const TChar &c : Chars(P))
            if (static_cast<int>(c.Start) < Col - 1)
                w = c.Cells == 0 ? (w / Tab + 1) * Tab : w + c.Cells;
        return w + 1;
    }
    // The character shown at screen column S of paragraph P (a column inside a tab or a wide
    // character gives that character), the caret staying at the end of shorter lines.
    int CharCol(int P, int S)
    {
        int w = 0;
        for (const TChar &c : Chars(P)) {
            const int next = c.Cells == 0 ? (w / Tab + 1) * Tab : w + c.Cells;
            if (S <= next)
                return static_cast<int>(c.Start) + 1;
            w = next;
        }
        return Len(P) + 1;
    }
    void Vertical(int Delta, bool Extend)
    {
        const int s = ScreenCol(Caret.Para, Caret.Offset);
        const int p = std::clamp(Caret.Para + Delta, 1, M.Count());
        Move({p, CharCol(p, s)}, Extend);
    }
    void TypeChar(const std::string &s)
    {
        bool deleted = false;
        if (HasSel()) {
            DeleteSel();
            deleted = true;
        }
        // Over a selection the character replaces the selection, whatever the mode; overwriting
        // replaces one whole character.
        if (Insert || deleted || Caret.Offset > Len(Caret.Para))
            M.InsertChars(Caret.Para, Caret.Offset, s);
        else
            M.ReplaceChars(Caret.Para, Caret.Offset, NextChar(Caret.Para, Caret.Offset) - Caret.Offset, s);
        Collapse({Caret.Para, Caret.Offset + static_cast<int>(s.size())});
    }
    bool WordAt(int P, std::size_t I)
    {
        for (const TChar &c : Chars(P))
            if (c.Start == I)
                return c.Word;
        return false;
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

    void Run(int Command, const std::string &Ch)
    {
        const int p = Caret.Para, o = Caret.Offset, len = Len(p);
        switch (Command) {
        case ccLeft:
        case ccExtendLeft:
            if (o > 1)
                Move({p, PrevChar(p, o)}, Command == ccExtendLeft);
            else if (p > 1)
                Move({p - 1, Len(p - 1) + 1}, Command == ccExtendLeft);
            break;
        case ccRight:
        case ccExtendRight:
            if (o <= len)
                Move({p, NextChar(p, o)}, Command == ccExtendRight);
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
            int i = o;
            while (i > 1 && !WordAt(p, static_cast<std::size_t>(PrevChar(p, i) - 1)))
                i = PrevChar(p, i);
            while (i > 1 && WordAt(p, static_cast<std::size_t>(PrevChar(p, i) - 1)))
                i = PrevChar(p, i);
            Move({p, i}, extend);
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
            int i = o;
            while (i <= len && WordAt(p, static_cast<std::size_t>(i - 1)))
                i = NextChar(p, i);
            while (i <= len && !WordAt(p, static_cast<std::size_t>(i - 1)))
                i = NextChar(p, i);
            Move({p, i}, extend);
            break;
        }
        case ccHome: Move({p, 1}, false); break;
        case ccExtendHome: Move({p, 1}, true); break;
        case ccEnd: Move({p, len + 1}, false); break;
        case ccExtendEnd: Move({p, len + 1}, true); break;
        case ccFirstPage: Move({1, 1}, false); break;
        case ccExtLastPage: Move({M.Count(), Len(M.Count()) + 1}, true); break;
        case ccChar: TypeChar(Ch); break;
        case ccTab: TypeChar("\t"); break;
        case ccBack:
            if (HasSel())
                DeleteSel();
            else if (o > 1) {
                const int prev = PrevChar(p, o);
                M.DeleteChars(p, prev, o - prev);
                Collapse({p, prev});
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
                M.DeleteChars(p, o, NextChar(p, o) - o);
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

// Random key commands, mouse selections and pastes on the model and the reference editor; in a
// UTF-8 run the characters typed are whole characters of several bytes and cells, and the caret
// and the selection must land on the boundaries the reference knows.
void RunAgainstReference(bool Utf8, unsigned Seeds)
{
    const int commands[] = {ccLeft, ccRight, ccUp, ccDown, ccExtendLeft, ccExtendRight, ccExtendUp, ccExtendDown,
                            ccWordLeft, ccWordRight, ccExtWordLeft, ccExtWordRight, ccHome, ccExtendHome, ccEnd,
                            ccExtendEnd, ccPrevPage, ccExtendPgDn, ccFirstPage, ccExtLastPage, ccBack, ccDel,
                            ccDelEol, ccDelLine, ccNewLine, ccTab, ccIns, ccCopy, ccCut, ccPaste, ccChar, ccChar,
                            ccChar, ccChar, ccChar};
    for (unsigned seed = 1; seed <= Seeds; ++seed) {
        TStubView view;
        TEdModel model(view);
        view.Model = &model;
        TRefEditor ref;
        if (Utf8) {
            model.List().SetEncoding(TTextEncoding::Utf8);
            ref.Utf8 = true;
        }
        std::mt19937 rng(seed);
        for (int step = 0; step < 3000; ++step) {
            std::string how;
            if (rng() % 40 == 0) {
                // A selection made with the mouse, either way round, at any byte.
                const int pa = 1 + static_cast<int>(rng() % ref.M.Count());
                const int pb = 1 + static_cast<int>(rng() % ref.M.Count());
                const TParaPos a{pa, 1 + static_cast<int>(rng() % (ref.Len(pa) + 1))};
                const TParaPos b{pb, 1 + static_cast<int>(rng() % (ref.Len(pb) + 1))};
                model.SelectParaRange(a, b);
                ref.Anchor = ref.Snap(a);
                ref.Caret = ref.Snap(b);
                how = "select";
            } else {
                if (rng() % 30 == 0) {
                    const char *pastes[] = {"x\r\ny", "<b>\r\n\r\n", "tail\r\n", "a\tb", "",
                                            "\xD0\xB6\xE4\xB8\xAD\r\ne\xCC\x81"};
                    view.Clipboard = ref.Clip = pastes[rng() % (Utf8 ? 6 : 5)];
                }
                const int command = commands[rng() % std::size(commands)];
                std::string ch(1, "ab -<>\t"[rng() % 7]);
                if (Utf8 && rng() % 2 == 0)
                    ch = Utf8Chars[rng() % std::size(Utf8Chars)].Bytes;
                if (command == ccChar && ch.size() > 1)
                    model.TypeText(ch);
                else
                    model.ProcessCommand(command, ch[0]);
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
            ASSERT_EQ(model.CaretScreenColumn(), ref.ScreenCol(ref.Caret.Para, ref.Caret.Offset)) << where;
            ASSERT_EQ(model.InsertMode(), ref.Insert) << where;
            ASSERT_EQ(view.Clipboard, ref.Clip) << where;
        }
        EXPECT_TRUE(view.Errors.empty());
    }
}

TEST(EditorModelRandom, KeyCommandsFollowTheReferenceEditor)
{
    // Letters are word characters, the rest of the alphabet delimits words.
    for (char c : std::string(" -<>\t"))
        ASSERT_TRUE(IsWordDelimiter(c)) << c;
    ASSERT_FALSE(IsWordDelimiter('a'));
    RunAgainstReference(false, 12);
}

TEST(EditorModelRandom, KeyCommandsStepByCharacterInUtf8Text)
{
    RunAgainstReference(true, 8);
}

// With word wrap switched on and off, short paragraph limits, undo, redo, bookmarks and page
// moves, the caret and the selection stay inside the text and the store stays whole; in a UTF-8
// text they also stay on character boundaries, and no display line starts inside a character.
void RunWhileWrapping(bool Utf8)
{
    TStubView view;
    TEdModel model(view);
    view.Model = &model;
    TParaList &list = model.List();
    if (Utf8)
        list.SetEncoding(TTextEncoding::Utf8);
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
        // A lone combining mark joins the character before the caret, which may start a line.
        if (Utf8 && command == ccChar && rng() % 2 == 0)
            ASSERT_NO_THROW(model.TypeText(rng() % 5 == 0 ? std::string_view("\xCC\x81")
                                                          : Utf8Chars[rng() % std::size(Utf8Chars)].Bytes))
                << "step " << step;
        else
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
        if (Utf8) {
            const auto onBoundary = [&list](TParaPos p) {
                return EdIsCharStart(list.ParaText(p.Para), static_cast<std::size_t>(p.Offset - 1), true);
            };
            ASSERT_TRUE(onBoundary(model.CaretPos())) << "step " << step << " command " << command;
            ASSERT_TRUE(onBoundary(model.SelStart()) && onBoundary(model.SelEnd())) << "step " << step;
            const TParaPos lineStart = list.LineToPara(line);
            ASSERT_TRUE(onBoundary({lineStart.Para, lineStart.Offset + 1})) << "step " << step;
        }
    }
    for (int code : view.Errors)
        EXPECT_TRUE(code == 266 || code == 268) << code;
}

TEST(EditorModelRandom, CommandsKeepCaretSelectionAndStoreConsistentWhileWrapping)
{
    RunWhileWrapping(false);
    RunWhileWrapping(true);
}

} // namespace
