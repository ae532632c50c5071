// Text store: line breaks, split and join, wrapping, limits and messages, bookmarks, undo, Modified.
#include "core/editor/ParaList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Paras(const TParaList &L)
{
    std::vector<std::string> R;
    for (int P = 1; P <= L.ParaCount(); ++P)
        R.emplace_back(L.ParaText(P));
    return R;
}

std::vector<std::string> Lines(const TParaList &L)
{
    std::vector<std::string> R;
    for (int I = 1; I <= L.LineCount(); ++I)
        R.emplace_back(L.GetLine(I));
    return R;
}

using SV = std::vector<std::string>;

void Load(TParaList &L, const SV &Text)
{
    for (const auto &T : Text)
        ASSERT_EQ(L.AppendParagraph(T), 0);
}

// Records what the view would hear.
struct TRecorder : TParaListObserver {
    std::vector<TPosShift> Shifts;
    int Rewraps = 0;
    TParaPos Caret{1, 1};
    void ParaListShifted(const TParaList &, const TPosShift &S) override
    {
        Shifts.push_back(S);
        S.Apply(Caret);
    }
    void ParaListRewrapped(const TParaList &) override { ++Rewraps; }
};

std::string Message(int Code)
{
    try {
        RaiseEditorError(Code);
    } catch (const EEditorError &E) {
        EXPECT_EQ(E.Code(), Code);
        return E.what();
    }
    return "(none)";
}

} // namespace

TEST(ParaList, NewTextAndLoading)
{
    TParaList L;
    EXPECT_EQ(L.ParaCount(), 1);
    EXPECT_EQ(L.LineCount(), 1);
    EXPECT_EQ(L.ByteCount(), 0);
    EXPECT_EQ(L.GetLine(1), "");
    EXPECT_EQ(L.GetLine(2), "");
    EXPECT_EQ(L.ParaLength(0), 0);
    EXPECT_FALSE(L.Modified());

    // n appended lines give n + 1 paragraphs, the last empty; trailing blanks are trimmed.
    Load(L, {"first  \t", "second", ""});
    EXPECT_EQ(Paras(L), (SV{"first", "second", "", ""}));
    EXPECT_EQ(L.ByteCount(), 5 + 6 + 3 * 2);
    EXPECT_FALSE(L.Modified());
    EXPECT_FALSE(L.CanUndo());
    EXPECT_EQ(L.GetText(), "first\r\nsecond\r\n\r\n");

    // Lines of any length stay whole, each with the line end it was read with; the limit is 64 MiB.
    EXPECT_EQ(L.ParaLengthLimit(), TParaList::MaxParaLength);
    EXPECT_EQ(TParaList::MaxParaLength, 64 * 1024 * 1024);
    std::string Long(70000, 'x');
    Long[29999] = ' ';
    TParaList U;
    Load(U, {"a"});
    ASSERT_EQ(U.AppendParagraph(Long + "  ", TLineEnd::Cr), 0);
    EXPECT_EQ(U.ParaCount(), 3);
    EXPECT_TRUE(U.ParaText(2) == Long);
    EXPECT_EQ(U.ParaLineEnd(1), TLineEnd::Default);
    EXPECT_EQ(U.ParaLineEnd(2), TLineEnd::Cr);
    EXPECT_EQ(U.ByteCount(), 1 + 70000 + 4);
    // A smaller limit refuses a longer line whole (after trimming), and nothing goes in.
    U.SetParaLengthLimit(69999);
    EXPECT_EQ(U.AppendParagraph(Long), edeParaTooLong);
    EXPECT_EQ(U.ParaCount(), 3);
    U.SetParaLengthLimit(70000);
    EXPECT_EQ(U.AppendParagraph(Long + " "), 0);
    std::string Why;
    EXPECT_TRUE(U.CheckIntegrity(&Why)) << Why;
}

TEST(ParaList, LineEndsStayWithTheirLinesThroughEditsAndUndo)
{
    TParaList L;
    ASSERT_EQ(L.AppendParagraph("a", TLineEnd::Lf), 0);
    ASSERT_EQ(L.AppendParagraph("bc", TLineEnd::Cr), 0);
    ASSERT_EQ(L.AppendParagraph("d", TLineEnd::CrLf), 0);
    const auto Ends = [&L] {
        std::vector<TLineEnd> E;
        for (int P = 1; P <= L.ParaCount(); ++P)
            E.push_back(L.ParaLineEnd(P));
        return E;
    };
    const std::vector<TLineEnd> Read = Ends();
    using E = TLineEnd;
    // Enter: the split line keeps its end, the new line after it takes the document's format;
    // Enter at the start puts a new line before it.
    ASSERT_EQ(L.SplitPara(2, 2), 0);
    EXPECT_EQ(Paras(L), (SV{"a", "b", "c", "d", ""}));
    EXPECT_EQ(Ends(), (std::vector<E>{E::Lf, E::Cr, E::Default, E::CrLf, E::Default}));
    ASSERT_EQ(L.SplitPara(1, 1), 0);
    EXPECT_EQ(Ends(), (std::vector<E>{E::Default, E::Lf, E::Cr, E::Default, E::CrLf, E::Default}));
    // Deleting across lines and joining: the first line keeps its end.
    ASSERT_EQ(L.DeleteRange({2, 2}, {5, 1}), 0);
    EXPECT_EQ(Paras(L), (SV{"", "ad", ""}));
    EXPECT_EQ(Ends(), (std::vector<E>{E::Default, E::Lf, E::Default}));
    // Undo gives every line its end back, redo takes them again.
    while (L.CanUndo())
        L.Undo();
    EXPECT_EQ(Paras(L), (SV{"a", "bc", "d", ""}));
    EXPECT_EQ(Ends(), Read);
    while (L.CanRedo())
        L.Redo();
    EXPECT_EQ(Ends(), (std::vector<E>{E::Default, E::Lf, E::Default}));
    L.ResetLineEnds();
    EXPECT_EQ(Ends(), (std::vector<E>(3, E::Default)));
}

TEST(ParaList, InsertTextLineBreakRules)
{
    TParaList L;
    TParaPos End;
    // a CR LF b at the start of an empty text: two paragraphs.
    ASSERT_EQ(L.InsertText(1, 1, "a\r\nb", &End), 0);
    EXPECT_EQ(Paras(L), (SV{"a", "b"}));
    EXPECT_EQ(End, (TParaPos{2, 2}));
    // x and a lone CR at the end of a paragraph adds a break after x.
    ASSERT_EQ(L.InsertText(1, 2, "x\r", &End), 0);
    EXPECT_EQ(Paras(L), (SV{"ax", "", "b"}));
    EXPECT_EQ(End, (TParaPos{2, 1}));
    // a CR b stays one paragraph of three characters.
    TParaList M;
    ASSERT_EQ(M.InsertText(1, 1, "a\rb", &End), 0);
    EXPECT_EQ(Paras(M), (SV{"a\rb"}));
    EXPECT_EQ(End, (TParaPos{1, 4}));
    // CR CR LF and LF are one break each; blanks before a break are dropped; the middle of a
    // paragraph is split around the text.
    TParaList N;
    Load(N, {"HEADTAIL"});
    ASSERT_EQ(N.InsertText(1, 5, "one  \r\r\ntwo\n\nthree", &End), 0);
    EXPECT_EQ(Paras(N), (SV{"HEADone", "two", "", "threeTAIL", ""}));
    EXPECT_EQ(End, (TParaPos{4, 6}));
    // One undo step takes it all back, and the caret goes to where the insertion began.
    EXPECT_EQ(*N.Undo(), (TParaPos{1, 5}));
    EXPECT_EQ(Paras(N), (SV{"HEADTAIL", ""}));
    N.Redo();
    EXPECT_EQ(Paras(N), (SV{"HEADone", "two", "", "threeTAIL", ""}));
    std::string Why;
    EXPECT_TRUE(N.CheckIntegrity(&Why)) << Why;
}

TEST(ParaList, SplitAndJoin)
{
    TParaList L;
    Load(L, {"abc   def"});
    L.SetTrimWhiteSpace(false);
    // Enter after "abc" and three blanks: the blanks are dropped.
    ASSERT_EQ(L.SplitPara(1, 7), 0);
    EXPECT_EQ(Paras(L), (SV{"abc", "def", ""}));
    EXPECT_EQ(L.ByteCount(), 3 + 3 + 4);
    // Enter at offset 1 puts an empty paragraph above and leaves the paragraph alone.
    ASSERT_EQ(L.SplitPara(2, 1), 0);
    EXPECT_EQ(Paras(L), (SV{"abc", "", "def", ""}));
    // Indent: tabs for whole tab stops, then spaces.
    L.SetTabSize(4);
    ASSERT_EQ(L.SplitPara(3, 2, 6), 0);
    EXPECT_EQ(Paras(L), (SV{"abc", "", "d", "\t  ef", ""}));
    // Undo takes back one Enter at a time, the caret at the split point.
    EXPECT_EQ(*L.Undo(), (TParaPos{3, 2}));
    EXPECT_EQ(*L.Undo(), (TParaPos{2, 1}));
    EXPECT_EQ(*L.Undo(), (TParaPos{1, 7}));
    EXPECT_EQ(Paras(L), (SV{"abc   def", ""}));

    // Join: Delete at the end of a paragraph, past its end (fills with spaces), empty paragraph.
    TParaList J;
    Load(J, {"one", "two", "", "three"});
    ASSERT_EQ(J.JoinPara(1, 4), 0);
    EXPECT_EQ(Paras(J), (SV{"onetwo", "", "three", ""}));
    ASSERT_EQ(J.JoinPara(1, 9), 0);
    EXPECT_EQ(Paras(J), (SV{"onetwo  ", "three", ""}));
    ASSERT_EQ(J.JoinPara(3, 1), 0); // no next paragraph: nothing
    TParaList E;
    Load(E, {"", "x"});
    ASSERT_EQ(E.JoinPara(1, 1), 0);
    EXPECT_EQ(Paras(E), (SV{"x", ""}));
    E.Undo();
    EXPECT_EQ(Paras(E), (SV{"", "x", ""}));

    // Joining beyond the limit (here a caller's 32,767) fails with 266 and changes nothing.
    TParaList Big;
    Big.SetParaLengthLimit(32767);
    Load(Big, {std::string(20000, 'a'), std::string(20000, 'b')});
    EXPECT_EQ(Big.JoinPara(1, 20001), edeCannotJoin);
    EXPECT_EQ(Message(edeCannotJoin), "Cannot join paragraphs. New paragraph size exceeds maximum paragraph size");
    EXPECT_EQ(Big.ParaCount(), 3);
    EXPECT_EQ(Big.ParaLength(1), 20000);
    EXPECT_FALSE(Big.Modified());
    EXPECT_FALSE(Big.CanUndo());
    // The same for a selection whose remains cannot be joined.
    EXPECT_EQ(Big.DeleteRange({1, 19000}, {2, 2}), edeCannotJoin);
    EXPECT_EQ(Big.ByteCount(), 40004);
}

TEST(ParaList, DeleteRange)
{
    TParaList L;
    Load(L, {"alpha", "beta", "gamma", "delta"});
    // Both offsets 1: whole paragraphs go, nothing is joined.
    ASSERT_EQ(L.DeleteRange({2, 1}, {4, 1}), 0);
    EXPECT_EQ(Paras(L), (SV{"alpha", "delta", ""}));
    L.Undo();
    EXPECT_EQ(Paras(L), (SV{"alpha", "beta", "gamma", "delta", ""}));
    // Inside paragraphs: the remains are joined; one undo step; ends given in either order.
    ASSERT_EQ(L.DeleteRange({4, 3}, {1, 3}), 0);
    EXPECT_EQ(Paras(L), (SV{"allta", ""}));
    EXPECT_EQ(*L.Undo(), (TParaPos{1, 3}));
    EXPECT_EQ(Paras(L), (SV{"alpha", "beta", "gamma", "delta", ""}));
    EXPECT_FALSE(L.Modified());
    L.Redo();
    EXPECT_EQ(Paras(L), (SV{"allta", ""}));
    // From the start of a paragraph into the next.
    TParaList M;
    Load(M, {"ab", "cd"});
    ASSERT_EQ(M.DeleteRange({1, 1}, {2, 2}), 0);
    EXPECT_EQ(Paras(M), (SV{"d", ""}));
    // Within one paragraph it is a plain deletion.
    ASSERT_EQ(M.DeleteRange({1, 1}, {1, 2}), 0);
    EXPECT_EQ(Paras(M), (SV{"", ""}));
    EXPECT_THROW(M.DeleteRange({1, 1}, {3, 1}), EInvalidLineOrPara);
    std::string Why;
    EXPECT_TRUE(L.CheckIntegrity(&Why)) << Why;
}

TEST(ParaList, WrappingExamples)
{
    TParaList L;
    L.SetWrapColumn(10);
    L.SetWordWrap(true);
    Load(L, {"abcd efgh ijkl", "abcdefghijklmno", "abcdefghi-jklm", "abcdefghij    ", "abcdefghi-"});
    // The first two words with the blank after them, then the third.
    EXPECT_EQ(Lines(L), (SV{"abcd efgh ", "ijkl", "abcdefghij", "klmno", "abcdefghi-", "jklm", "abcdefghij",
                            "abcdefghi-", ""}));
    // Trailing blanks stay on the line and never make an empty one.
    TParaList T;
    T.SetTrimWhiteSpace(false);
    T.SetWrapColumn(10);
    T.SetWordWrap(true);
    Load(T, {"abcdefghij    ", "abcdefghi---x", "x\tabcdefgh"});
    EXPECT_EQ(T.ParaLineCount(1), 1);
    // A hyphen just past the wrap column stays on the line.
    EXPECT_EQ(T.GetLine(2), "abcdefghi--");
    EXPECT_EQ(T.GetLine(3), "-x");
    // A tab is measured in screen columns: "x" and the tab reach column 8, "ab" column 10, so the
    // line breaks after the tab although the paragraph has only 10 characters.
    EXPECT_EQ(T.GetLine(4), "x\t");
    EXPECT_EQ(T.GetLine(5), "abcdefgh");

    // The offset at a wrap point is column 1 of the next line; and back.
    EXPECT_EQ(L.ParaToLine({1, 11}), (TLinePos{2, 1}));
    EXPECT_EQ(L.ParaToLine({1, 10}), (TLinePos{1, 10}));
    EXPECT_EQ(L.ParaToLine({1, 15}), (TLinePos{2, 5}));
    EXPECT_EQ(L.ParaToLine({3, 1}), (TLinePos{5, 1}));
    EXPECT_EQ(L.ParaToLine({99, 1}), (TLinePos{L.LineCount(), 1}));
    EXPECT_EQ(L.LineToPara(2), (TParaPos{1, 10}));
    EXPECT_EQ(L.LineColToPara({4, 3}), (TParaPos{2, 13}));
    EXPECT_EQ(L.ParaFirstLine(4), 7);

    // Turning wrap off and on again, or changing the column, re-wraps everything.
    TRecorder R;
    L.SetObserver(&R);
    L.SetWordWrap(false);
    EXPECT_EQ(L.LineCount(), L.ParaCount());
    EXPECT_EQ(R.Rewraps, 1);
    L.SetWordWrap(true);
    L.SetWrapColumn(5);
    EXPECT_EQ(R.Rewraps, 3);
    EXPECT_EQ(L.GetLine(1), "abcd ");
    EXPECT_EQ(L.ChangedFirstLine(), 1);
    EXPECT_EQ(L.ChangedLastLine(), TParaList::RestOfText);
    L.SetWrapColumn(5); // unchanged: nothing happens
    L.SetWrapColumn(0); // ignored
    EXPECT_EQ(R.Rewraps, 3);
    std::string Why;
    EXPECT_TRUE(L.CheckIntegrity(&Why)) << Why;
}

TEST(ParaList, ChangedLinesOfEdits)
{
    TParaList L;
    Load(L, {"one", "two", "three"});
    L.InsertChars(2, 2, "x");
    EXPECT_EQ(L.ChangedFirstLine(), 2);
    EXPECT_EQ(L.ChangedLastLine(), 2);
    L.SplitPara(2, 2);
    EXPECT_EQ(L.ChangedFirstLine(), 2);
    EXPECT_EQ(L.ChangedLastLine(), TParaList::RestOfText);

    // Wrapped: typing inside a line whose breaks do not move touches that line only.
    TParaList W;
    W.SetWrapColumn(10);
    W.SetWordWrap(true);
    Load(W, {"aaaa bbbb cccc dddd eeee ffff"});
    ASSERT_EQ(W.LineCount(), 4); // three lines and the empty last paragraph
    W.ReplaceChars(1, 12, 1, "X"); // overwrite inside "cccc"
    EXPECT_EQ(W.ChangedFirstLine(), 2);
    EXPECT_EQ(W.ChangedLastLine(), 2);
    // Deleting at the start of a line lets a word move back up: the line before changes too.
    W.DeleteChars(1, 11, 10); // the whole second line goes: one line less
    EXPECT_EQ(W.GetLine(2), "eeee ffff");
    EXPECT_EQ(W.ChangedFirstLine(), 2);
    EXPECT_EQ(W.ChangedLastLine(), TParaList::RestOfText);
    W.DeleteChars(1, 1, 5);
    EXPECT_EQ(W.GetLine(1), "bbbb eeee ");
    EXPECT_EQ(W.ChangedFirstLine(), 1);
    std::string Why;
    EXPECT_TRUE(W.CheckIntegrity(&Why)) << Why;
    // A word pulled back onto the previous line reports that line as changed.
    TParaList P;
    P.SetWrapColumn(10);
    P.SetWordWrap(true);
    Load(P, {"aaaa bbbbbbbb cc"});
    ASSERT_EQ(P.LineCount(), 4);
    EXPECT_EQ(P.GetLine(2), "bbbbbbbb ");
    P.DeleteChars(1, 6, 5); // the line starting "bbbb..." loses its head, "bbb cc" moves up
    EXPECT_EQ(P.GetLine(1), "aaaa bbb ");
    EXPECT_EQ(P.ChangedFirstLine(), 1);
}

TEST(ParaList, LimitsAndMessages)
{
    EXPECT_EQ(Message(edeNoMemory), "insufficient memory for requested operation");
    EXPECT_EQ(Message(edeRegionTooLarge), "Region is too large (> 64K)");
    EXPECT_EQ(Message(edeParaLimit), "Current operation will exceed the maximum number of allowed paragraphs");
    EXPECT_EQ(Message(edeByteLimit), "Current operation will exceed the maximum editor text size");
    EXPECT_EQ(Message(edeParaTooLong), "Current operation will exceed the maximum paragraph size");
    EXPECT_STREQ(EditorErrorMessage(300), "Unknown Error condition");
    EXPECT_NO_THROW(RaiseEditorError(0));

    // ParaLimit 3 with an empty last paragraph allows three lines and that empty paragraph.
    TParaList L;
    L.SetParaLimit(3);
    L.SetParaLimit(0); // ignored
    EXPECT_EQ(L.ParaLimit(), 3);
    EXPECT_EQ(L.AppendParagraph("a"), 0);
    EXPECT_EQ(L.AppendParagraph("b"), 0);
    EXPECT_EQ(L.AppendParagraph("c"), 0);
    EXPECT_EQ(L.AppendParagraph("d"), edeParaLimit);
    EXPECT_EQ(L.ParaCount(), 4);
    EXPECT_EQ(L.SplitPara(1, 2), edeParaLimit);
    EXPECT_EQ(L.InsertText(1, 1, "x\r\ny"), edeParaLimit);
    EXPECT_EQ(Paras(L), (SV{"a", "b", "c", ""}));

    // Byte limit: checked before anything changes.
    TParaList B;
    B.SetByteLimit(10);
    EXPECT_EQ(B.InsertChars(1, 1, "0123456789"), 0);
    EXPECT_EQ(B.InsertChars(1, 1, "x"), edeByteLimit);
    EXPECT_EQ(B.InsertText(1, 1, "\r\n"), edeByteLimit);
    EXPECT_EQ(B.ReplaceChars(1, 1, 1, "xy"), edeByteLimit);
    EXPECT_EQ(B.ReplaceChars(1, 1, 2, "xy"), 0);
    EXPECT_EQ(B.InsertChars(1, 20, "x"), edeByteLimit);
    EXPECT_EQ(B.ParaText(1), "xy23456789");

    // Paragraph length: 268 for a paragraph that would grow past the limit; also for text with
    // breaks, whose first and last lines take the characters around the offset.
    TParaList P;
    P.SetParaLengthLimit(8);
    P.SetParaLengthLimit(TParaList::MaxParaLength + 1); // ignored
    EXPECT_EQ(P.ParaLengthLimit(), 8);
    EXPECT_EQ(P.InsertChars(1, 1, "abcdef"), 0);
    EXPECT_EQ(P.InsertChars(1, 1, "xyz"), edeParaTooLong);
    EXPECT_EQ(P.InsertChars(1, 9, "x"), edeParaTooLong); // the filling spaces count
    EXPECT_EQ(P.InsertText(1, 4, "123456\r\n"), edeParaTooLong);
    EXPECT_EQ(P.InsertText(1, 4, "\r\n123456"), edeParaTooLong);
    EXPECT_EQ(P.InsertText(1, 4, "12\r\n12"), 0);
    EXPECT_EQ(Paras(P), (SV{"abc12", "12def"}));
    EXPECT_EQ(P.InsertParaAfter(1, "123456789"), edeParaTooLong);

    // Positions out of range.
    EXPECT_THROW(P.InsertChars(0, 1, "x"), EInvalidLineOrPara);
    EXPECT_THROW(P.InsertChars(3, 1, "x"), EInvalidLineOrPara);
    EXPECT_THROW(P.DeletePara(3), EInvalidLineOrPara);
    try {
        P.SplitPara(1, 0);
        ADD_FAILURE();
    } catch (const EEditorError &E) {
        EXPECT_STREQ(E.what(), "Invalid line or paragraph index");
    }
}

TEST(ParaList, BookmarksAndPositionsMoveWithEdits)
{
    TParaList L;
    TRecorder R;
    L.SetObserver(&R);
    Load(L, {"0123456789", "abcdef", "ghijkl"});
    L.SetBookmark(1, 1, 5);
    L.SetBookmark(2, 2, 4);
    L.SetBookmark(3, 3, 2);
    L.SetBookmark(10, 1, 1); // not a digit: ignored
    R.Caret = {2, 4};
    try {
        L.SetBookmark(4, 5, 1);
        ADD_FAILURE();
    } catch (const EInvalidLineOrCol &E) {
        EXPECT_STREQ(E.what(), "Invalid line or column");
    }
    EXPECT_THROW(L.SetBookmark(4, 1, 0), EInvalidLineOrCol);

    L.InsertChars(1, 5, "xx"); // at the mark's offset: it moves right
    EXPECT_EQ(L.Bookmark(1), (TParaPos{1, 7}));
    L.DeleteChars(1, 2, 2); // before it: moves left
    EXPECT_EQ(L.Bookmark(1), (TParaPos{1, 5}));
    L.DeleteChars(1, 4, 3); // around it: cleared
    EXPECT_EQ(L.Bookmark(1), (TParaPos{}));
    L.SplitPara(2, 3); // "ab" | "cdef": the mark at "d" moves to the new paragraph
    EXPECT_EQ(L.Bookmark(2), (TParaPos{3, 2}));
    EXPECT_EQ(L.Bookmark(3), (TParaPos{4, 2}));
    EXPECT_EQ(R.Caret, (TParaPos{3, 2}));
    L.InsertParaBefore(1, "top");
    EXPECT_EQ(L.Bookmark(2), (TParaPos{4, 2}));
    L.JoinPara(3, 3); // "ab" + "cdef"
    EXPECT_EQ(L.Bookmark(2), (TParaPos{3, 4}));
    EXPECT_EQ(L.Bookmark(3), (TParaPos{4, 2}));
    EXPECT_EQ(R.Caret, (TParaPos{3, 4}));
    L.DeletePara(3);
    EXPECT_EQ(L.Bookmark(2), (TParaPos{}));
    EXPECT_EQ(L.Bookmark(3), (TParaPos{3, 2}));
    EXPECT_EQ(R.Caret, (TParaPos{3, 1})); // the view's caret goes where the paragraph was
    L.DeleteRange({2, 3}, {3, 4});
    EXPECT_EQ(L.Bookmark(3), (TParaPos{}));
    // Compound edits report one shift each, never their inner steps.
    R.Shifts.clear();
    L.SplitPara(2, 2);
    ASSERT_EQ(R.Shifts.size(), 1u);
    EXPECT_EQ(R.Shifts[0].Kind, TPosShift::ParaSplit);
}

TEST(ParaList, UndoStepsAndModified)
{
    // Load, one edit, undo: not modified; after a save, undo makes it modified.
    TParaList L;
    Load(L, {"hello"});
    L.InsertChars(1, 6, "!");
    EXPECT_TRUE(L.Modified());
    L.Undo();
    EXPECT_FALSE(L.Modified());
    L.Redo();
    EXPECT_TRUE(L.Modified());
    L.SetModified(false);
    EXPECT_FALSE(L.Modified());
    L.Undo();
    EXPECT_TRUE(L.Modified());
    EXPECT_EQ(L.ParaText(1), "hello");

    // Typing past the end fills the gap with spaces, and undo takes them away again.
    L.InsertChars(1, 8, "x");
    EXPECT_EQ(L.ParaText(1), "hello  x");
    EXPECT_EQ(*L.Undo(), (TParaPos{1, 6}));
    EXPECT_EQ(L.ParaText(1), "hello");

    // A group that outgrows the block (8 KiB here) leaves no history at all, and recording goes
    // on afterwards.
    TParaList G(nullptr, 8192);
    Load(G, SV(1000, "line"));
    G.InsertChars(1, 1, "x");
    G.DeleteRange({2, 1}, {1000, 1}); // 999 paragraph records of 20 bytes
    EXPECT_EQ(G.ParaCount(), 3);
    EXPECT_FALSE(G.CanUndo());
    G.InsertChars(1, 1, "y");
    EXPECT_EQ(*G.Undo(), (TParaPos{1, 1}));
    EXPECT_EQ(G.ParaText(1), "xline");

    // Typing "abc" then inserting "<B>" at the caret without a selection is one step.
    TParaList T;
    T.InsertChars(1, 1, "a");
    T.InsertChars(1, 2, "b");
    T.InsertChars(1, 3, "c");
    T.InsertText(1, 4, "<B>");
    EXPECT_EQ(T.ParaText(1), "abc<B>");
    EXPECT_EQ(*T.Undo(), (TParaPos{1, 1}));
    EXPECT_EQ(T.ParaText(1), "");
    EXPECT_FALSE(T.Undo());
    // Five backspaces, one undo, caret before the restored characters.
    TParaList B;
    Load(B, {"abcdefgh"});
    for (int O = 8; O >= 4; --O)
        B.DeleteChars(1, O, 1);
    EXPECT_EQ(B.ParaText(1), "abc");
    EXPECT_EQ(*B.Undo(), (TParaPos{1, 4}));
    EXPECT_EQ(B.ParaText(1), "abcdefgh");
    // A group made by the view: deleting a selection and typing over it.
    {
        TParaList::TGroup G(B);
        B.DeleteRange({1, 2}, {1, 4});
        B.InsertChars(1, 2, "X");
    }
    EXPECT_EQ(B.ParaText(1), "aXdefgh");
    EXPECT_EQ(B.ChangedFirstLine(), 1);
    B.Undo();
    EXPECT_EQ(B.ParaText(1), "abcdefgh");

    // With an 8 KiB buffer, pasting more than 8,176 characters cannot be undone and empties the
    // history.
    TParaList P(nullptr, 8192);
    P.InsertChars(1, 1, "abc");
    P.SplitPara(1, 2);
    P.InsertText(2, 1, std::string(8177, 'p'));
    EXPECT_FALSE(P.CanUndo());
    EXPECT_FALSE(P.Undo());
    TParaList Q(nullptr, 8192);
    Q.InsertChars(1, 1, "abc");
    Q.SplitPara(1, 2);
    Q.InsertText(2, 1, std::string(8176, 'p'));
    EXPECT_TRUE(Q.CanUndo());
    Q.Undo();
    EXPECT_EQ(Paras(Q), (SV{"a", "bc"}));
    EXPECT_FALSE(Q.CanUndo());

    // Undo buffer size 0: nothing is recorded.
    TParaList Z;
    Z.SetUndoBufferSize(0);
    Z.InsertText(1, 1, "abc\r\ndef");
    EXPECT_FALSE(Z.CanUndo());
    EXPECT_FALSE(Z.Undo());
    EXPECT_TRUE(Z.Modified());

    // Clearing keeps the settings and starts the rest afresh.
    Z.SetWordWrap(true);
    Z.SetBookmark(0, 2, 1);
    Z.Clear();
    EXPECT_EQ(Z.ParaCount(), 1);
    EXPECT_EQ(Z.ByteCount(), 0);
    EXPECT_FALSE(Z.Modified());
    EXPECT_TRUE(Z.WordWrap());
    EXPECT_EQ(Z.UndoBufferSize(), 0);
    EXPECT_EQ(Z.Bookmark(0), (TParaPos{}));
}

TEST(ParaList, AConversionAndItsChangeOfEncodingAreUndoneTogether)
{
    TParaList L;
    Load(L, {"caf\xE9", "x"});
    {
        TParaList::TGroup G(L);
        L.ChangeEncoding(TTextEncoding::Utf8);
        L.ReplaceChars(1, 4, 1, "\xC3\xA9");
    }
    EXPECT_TRUE(L.Modified());
    EXPECT_TRUE(L.Utf8());
    EXPECT_EQ(L.ParaText(1), "caf\xC3\xA9");
    EXPECT_TRUE(L.UndoBuffer().CheckChain());
    L.InsertChars(2, 2, "y"); // a later step stays a step of its own
    L.Undo();
    EXPECT_TRUE(L.Utf8());
    L.Undo();
    EXPECT_EQ(L.Encoding(), TTextEncoding::Windows1252);
    EXPECT_EQ(Paras(L), (SV{"caf\xE9", "x", ""}));
    EXPECT_FALSE(L.Modified());
    L.Redo();
    EXPECT_EQ(L.Encoding(), TTextEncoding::Utf8);
    EXPECT_EQ(L.ParaText(1), "caf\xC3\xA9");
    // Only the family of encodings changes the cells: the mark alone does not re-wrap.
    L.SetWordWrap(true);
    L.SetWrapColumn(3);
    const SV Wrapped = Lines(L);
    L.SetEncoding(TTextEncoding::Utf8Bom);
    EXPECT_EQ(Lines(L), Wrapped);
}

TEST(ParaList, WrappedUndoRestoresLinesAndOverwriteRuns)
{
    TParaList L;
    L.SetWrapColumn(8);
    L.SetWordWrap(true);
    Load(L, {"the quick brown fox jumps over the lazy dog"});
    const SV Before = Lines(L);
    // Overwrite typing past the end of the paragraph is one run, undone in one step.
    const int Len = L.ParaLength(1);
    for (int I = 0; I < 6; ++I)
        L.ReplaceChars(1, Len - 2 + I, 1, "#");
    EXPECT_EQ(L.ParaText(1), "the quick brown fox jumps over the lazy ######");
    L.Undo();
    EXPECT_EQ(Lines(L), Before);
    std::string Why;
    EXPECT_TRUE(L.CheckIntegrity(&Why)) << Why;
}
