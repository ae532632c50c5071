// Undo buffer: merging runs, groups and their numbers, making room, refusing, modified bits.
#include "core/editor/UndoBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A text of paragraphs that records its edits in an undo buffer and replays them.
class TFakeText : public TUndoTarget {
public:
    explicit TFakeText(std::uint32_t Size = 8192) : Buf(*this, Size) {}

    std::vector<std::string> Paras{""};
    bool Mod = false;
    TUndoBuffer Buf;

    void Type(int P, int O, const std::string &S)
    {
        Buf.RecordChars(ukInsertChars, P, O, S);
        Paras[P - 1].insert(O - 1, S);
        Mod = true;
    }
    void Delete(int P, int O, int N)
    {
        std::string D = Paras[P - 1].substr(O - 1, N);
        Buf.RecordChars(ukDeleteChars, P, O, D);
        Paras[P - 1].erase(O - 1, N);
        Mod = true;
    }
    void Overwrite(int P, int O, const std::string &S)
    {
        std::string Old = Paras[P - 1].substr(std::min<std::size_t>(O - 1, Paras[P - 1].size()), S.size());
        Buf.RecordReplace(P, O, Old, S);
        Paras[P - 1].replace(O - 1, Old.size(), S);
        Mod = true;
    }
    void InsertParaBefore(int P, const std::string &S)
    {
        Buf.RecordParagraph(ukInsertParaBefore, P);
        Paras.insert(Paras.begin() + (P - 1), S);
        Mod = true;
    }
    void DeletePara(int P)
    {
        Buf.RecordParagraph(ukDeletePara, P, Paras[P - 1]);
        Paras.erase(Paras.begin() + (P - 1));
        Mod = true;
    }
    void Marker(int P, int O) { Buf.RecordChars(ukMarker, P, O, {}); }

    bool UndoModified() const override { return Mod; }
    void SetUndoModified(bool V) override { Mod = V; }
    TParaPos ReplayUndoStep(const TUndoStep &S, bool Redo) override
    {
        std::string &T = S.Para >= 1 && S.Para <= int(Paras.size()) ? Paras[S.Para - 1] : Paras[0];
        Mod = true;
        switch (S.Kind) {
        case ukInsertChars:
            if (Redo) {
                T.insert(S.Offset - 1, S.Text);
                return {S.Para, S.Offset + int(S.Text.size())};
            }
            T.erase(S.Offset - 1, S.Text.size());
            return {S.Para, S.Offset};
        case ukDeleteChars:
            if (Redo)
                T.erase(S.Offset - 1, S.Text.size());
            else
                T.insert(S.Offset - 1, S.Text);
            return {S.Para, S.Offset};
        case ukReplaceChars:
            if (Redo) {
                T.replace(S.Offset - 1, S.Text.size(), S.NewText);
                return {S.Para, S.Offset + int(S.NewText.size())};
            }
            T.replace(S.Offset - 1, S.NewText.size(), S.Text);
            return {S.Para, S.Offset};
        case ukInsertParaBefore:
        case ukDeletePara:
            if (Redo == (S.Kind == ukInsertParaBefore)) {
                Paras.insert(Paras.begin() + (S.Para - 1), std::move(*S.Paragraph));
            } else {
                *S.Paragraph = std::move(Paras[S.Para - 1]);
                Paras.erase(Paras.begin() + (S.Para - 1));
            }
            return {S.Para, 1};
        default:
            return {S.Para, S.Offset};
        }
    }
};

std::string Text(const TFakeText &T)
{
    std::string R;
    for (std::size_t I = 0; I < T.Paras.size(); ++I)
        R += (I ? "|" : "") + T.Paras[I];
    return R;
}

} // namespace

TEST(UndoBuffer, TypingDeletingAndOverwritingRunsMerge)
{
    TFakeText T;
    // A typed word is one record and one step; a caret move starts another.
    T.Type(1, 1, "h");
    T.Type(1, 2, "e");
    T.Type(1, 3, "y");
    T.Type(1, 1, "x"); // not adjacent: a second run
    EXPECT_EQ(Text(T), "xhey");
    ASSERT_EQ(T.Buf.UndoCount(), 2);
    EXPECT_EQ(T.Buf.Records()[0].DataLength, 3);
    EXPECT_NE(T.Buf.Records()[0].Group, T.Buf.Records()[1].Group);
    EXPECT_EQ(*T.Buf.Undo(), (TParaPos{1, 1}));
    EXPECT_EQ(Text(T), "hey");
    EXPECT_EQ(*T.Buf.Undo(), (TParaPos{1, 1}));
    EXPECT_EQ(Text(T), "");
    EXPECT_FALSE(T.Buf.Undo());
    EXPECT_EQ(*T.Buf.Redo(), (TParaPos{1, 4}));
    EXPECT_EQ(Text(T), "hey");

    // Five backspaces are one step; undo puts the characters back and the caret before them.
    TFakeText B;
    B.Paras = {"abcdefg"};
    for (int O = 7; O >= 3; --O)
        B.Delete(1, O, 1);
    EXPECT_EQ(Text(B), "ab");
    ASSERT_EQ(B.Buf.UndoCount(), 1);
    EXPECT_EQ(B.Buf.Records()[0].Offset, 3);
    EXPECT_EQ(*B.Buf.Undo(), (TParaPos{1, 3}));
    EXPECT_EQ(Text(B), "abcdefg");

    // Forward deletes at one offset merge; switching to typing ends the run.
    TFakeText D;
    D.Paras = {"abcdef"};
    D.Delete(1, 2, 1);
    D.Delete(1, 2, 1);
    D.Type(1, 2, "X");
    D.Delete(1, 3, 1);
    EXPECT_EQ(Text(D), "aXef");
    EXPECT_EQ(D.Buf.UndoCount(), 3);
    D.Buf.Undo();
    EXPECT_EQ(Text(D), "aXdef");
    D.Buf.Undo();
    EXPECT_EQ(Text(D), "adef");
    D.Buf.Undo();
    EXPECT_EQ(Text(D), "abcdef");

    // Overwriting merges, also where it runs past the end of the paragraph.
    TFakeText O;
    O.Paras = {"xy"};
    O.Overwrite(1, 1, "a");
    O.Overwrite(1, 2, "b");
    O.Overwrite(1, 3, "c");
    O.Overwrite(1, 4, "d");
    EXPECT_EQ(Text(O), "abcd");
    EXPECT_EQ(O.Buf.UndoCount(), 1);
    O.Buf.Undo();
    EXPECT_EQ(Text(O), "xy");
    O.Buf.Redo();
    EXPECT_EQ(Text(O), "abcd");

    // Undo, then typing, then Redo: the typing discarded the redo record.
    TFakeText R;
    R.Type(1, 1, "ab");
    R.Type(1, 1, "z");
    R.Buf.Undo();
    R.Type(1, 1, "q");
    EXPECT_FALSE(R.Buf.CanRedo());
    EXPECT_FALSE(R.Buf.Redo());
    EXPECT_EQ(Text(R), "qab");
}

TEST(UndoBuffer, GroupsAreOneStepAndEndTypingRuns)
{
    TFakeText T;
    T.Type(1, 1, "abc");
    bool Was = T.Buf.BeginGroup();
    EXPECT_FALSE(Was);
    bool Inner = T.Buf.BeginGroup(); // nested groups join the outer one
    EXPECT_TRUE(Inner);
    T.Type(1, 4, "d");
    T.Type(1, 5, "e"); // no merging inside a group
    T.Buf.EndGroup(Inner);
    EXPECT_TRUE(T.Buf.InGroup());
    T.InsertParaBefore(1, "new");
    T.Buf.EndGroup(Was);
    EXPECT_FALSE(T.Buf.InGroup());
    T.Type(2, 6, "f"); // right after the group's typing, but the group ended the run
    EXPECT_EQ(Text(T), "new|abcdef");
    EXPECT_EQ(T.Buf.UndoCount(), 5);
    T.Buf.Undo();
    EXPECT_EQ(Text(T), "new|abcde");
    EXPECT_EQ(*T.Buf.Undo(), (TParaPos{1, 4}));
    EXPECT_EQ(Text(T), "abc");
    T.Buf.Redo();
    EXPECT_EQ(Text(T), "new|abcde");
    T.Buf.Undo();
    T.Buf.Undo();
    EXPECT_EQ(Text(T), "");
}

TEST(UndoBuffer, GroupNumberWrapsAndNeighboursNeverShareIt)
{
    TFakeText T(65535);
    for (int I = 0; I < 300; ++I)
        T.Marker(1, I + 1);
    auto Recs = T.Buf.Records();
    ASSERT_EQ(Recs.size(), 300u);
    bool Wrapped = false;
    for (std::size_t I = 1; I < Recs.size(); ++I) {
        EXPECT_NE(Recs[I].Group, Recs[I - 1].Group);
        if (Recs[I].Group < Recs[I - 1].Group)
            Wrapped = true;
    }
    EXPECT_TRUE(Wrapped);

    // After undoing 255 groups the counter points at the group before them again: a new group
    // must still differ from its neighbour, or one Undo would take both.
    TFakeText U(65535);
    for (int I = 0; I < 256; ++I)
        U.Marker(1, I + 1);
    for (int I = 0; I < 255; ++I)
        U.Buf.Undo();
    ASSERT_EQ(U.Buf.UndoCount(), 1);
    U.Marker(1, 999);
    auto R = U.Buf.Records();
    ASSERT_EQ(R.size(), 2u);
    EXPECT_NE(R[0].Group, R[1].Group);
    U.Buf.Undo();
    EXPECT_EQ(U.Buf.UndoCount(), 1);
}

TEST(UndoBuffer, FullBufferDropsWholeOldestGroups)
{
    TFakeText T(256);
    T.Paras = {std::string(300, '.')};
    // A group of three records, then single records until the block is full.
    bool Was = T.Buf.BeginGroup();
    T.Marker(1, 1);
    T.Marker(1, 1);
    T.Marker(1, 1);
    T.Buf.EndGroup(Was);
    const std::uint8_t G = T.Buf.Records()[0].Group;
    for (int I = 0; I < 8; ++I)
        T.Type(1, 1 + 20 * I, std::string(10, 'a')); // 26 bytes each, at places that do not merge
    EXPECT_EQ(T.Buf.FreeBytes(), 0);
    EXPECT_EQ(T.Buf.Records()[0].Group, G);
    const std::string Before = T.Paras[0];
    T.Type(1, 250, std::string(10, 'b'));
    auto R = T.Buf.Records();
    // The three-record group went as a whole (48 bytes), every other record stayed.
    ASSERT_EQ(R.size(), 9u);
    for (const auto &Rec : R)
        EXPECT_NE(Rec.Group, G);
    EXPECT_EQ(R[0].Offset, 1);
    EXPECT_EQ(T.Buf.FreeBytes(), 256 - 9 * 26);
    EXPECT_EQ(T.Buf.UndoCount(), 9);
    std::string Why;
    EXPECT_TRUE(T.Buf.CheckChain(&Why)) << Why;
    // Undoing everything that is left restores those changes only, back to front.
    T.Buf.Undo();
    EXPECT_EQ(T.Paras[0], Before);
    while (T.Buf.Undo()) {
    }
    EXPECT_EQ(T.Paras[0], std::string(300, '.'));
    EXPECT_EQ(T.Buf.UndoCount(), 0);
    EXPECT_EQ(T.Buf.RedoCount(), 9);
    EXPECT_TRUE(T.Buf.CheckChain(&Why)) << Why;
}

TEST(UndoBuffer, PasteLargerThanTheBlockEmptiesTheHistory)
{
    // 16 + 8176 bytes fill the default block exactly: undoable, but nothing older survives.
    TFakeText T;
    T.Type(1, 1, "keep");
    T.Type(1, 5, std::string(8176 - 4, 'x'));
    EXPECT_EQ(T.Buf.UndoCount(), 1);
    TFakeText A;
    A.Type(1, 1, "old");
    A.Type(1, 1, "x"); // second step
    A.Buf.RecordChars(ukInsertChars, 1, 6, std::string(8176, 'p'));
    EXPECT_EQ(A.Buf.UndoCount(), 1);
    EXPECT_EQ(A.Buf.FreeBytes(), 0);

    // One character more: not recorded, and the earlier history is gone too.
    TFakeText B;
    B.Type(1, 1, "old");
    B.Type(1, 1, "x");
    B.Buf.RecordChars(ukInsertChars, 1, 4, std::string(8177, 'p'));
    EXPECT_EQ(B.Buf.UndoCount(), 0);
    EXPECT_FALSE(B.Buf.CanUndo());
    EXPECT_FALSE(B.Buf.Refusing()); // no group was open
    B.Type(1, 1, "n");
    EXPECT_EQ(B.Buf.UndoCount(), 1);
}

TEST(UndoBuffer, OverflowingGroupIsRefusedToItsEnd)
{
    TFakeText T;
    T.Type(1, 1, "before");
    bool Was = T.Buf.BeginGroup();
    T.Type(1, 7, "a");
    T.Buf.RecordChars(ukInsertChars, 1, 8, std::string(9000, 'z'));
    EXPECT_TRUE(T.Buf.Refusing());
    EXPECT_EQ(T.Buf.UndoCount(), 0);
    T.Type(1, 1, "b"); // the rest of the group is refused
    EXPECT_EQ(T.Buf.UndoCount(), 0);
    T.Buf.EndGroup(Was);
    EXPECT_FALSE(T.Buf.Refusing());
    T.Type(1, 1, "c");
    EXPECT_EQ(T.Buf.UndoCount(), 1);

    // A group that outgrows the block by many small records is dropped whole, never in part.
    TFakeText S(256);
    Was = S.Buf.BeginGroup();
    for (int I = 0; I < 20; ++I)
        S.Type(1, 1, "abcd");
    S.Buf.EndGroup(Was);
    EXPECT_EQ(S.Buf.UndoCount(), 0);
    EXPECT_EQ(S.Paras[0].size(), 80u);
}

TEST(UndoBuffer, ModifiedBitFollowsLoadSaveUndoAndRedo)
{
    // Load, edit, undo: not modified.
    TFakeText T;
    T.Type(1, 1, "a");
    T.Type(1, 1, "b");
    EXPECT_FALSE(T.Buf.Records()[0].Modified);
    EXPECT_TRUE(T.Buf.Records()[1].Modified);
    T.Buf.Undo();
    EXPECT_TRUE(T.Mod);
    T.Buf.Undo();
    EXPECT_FALSE(T.Mod);
    // Redo stores the flag present now, and leaves the text modified.
    T.Buf.Redo();
    EXPECT_TRUE(T.Mod);
    EXPECT_FALSE(T.Buf.Records()[0].Modified);

    // Save (every record marked), then undo: modified again, also for the redo records.
    TFakeText S;
    S.Type(1, 1, "a");
    S.Type(1, 1, "b");
    S.Buf.Undo();
    S.Mod = false;
    S.Buf.MarkAllModified();
    for (const auto &R : S.Buf.Records())
        EXPECT_TRUE(R.Modified);
    S.Buf.Undo();
    EXPECT_TRUE(S.Mod);
}

TEST(UndoBuffer, ParagraphRecordsHoldTheirParagraphs)
{
    TFakeText T;
    T.Paras = {"one", "two", "three"};
    T.DeletePara(2);
    T.InsertParaBefore(1, "zero");
    EXPECT_EQ(Text(T), "zero|one|three");
    T.Buf.Undo();
    T.Buf.Undo();
    EXPECT_EQ(Text(T), "one|two|three");
    T.Buf.Redo();
    T.Buf.Redo();
    EXPECT_EQ(Text(T), "zero|one|three");
    T.Buf.Undo();
    T.Buf.Undo();
    T.Buf.Redo();
    EXPECT_EQ(Text(T), "one|three");
    // Typing discards the redo record that held "zero"; dropping overflowed records releases theirs.
    T.Type(1, 1, "x");
    EXPECT_EQ(T.Buf.RedoCount(), 0);
    TFakeText Small(64);
    Small.Paras = {"a", "b", "c", "d", "e"};
    for (int I = 0; I < 4; ++I)
        Small.DeletePara(1);
    EXPECT_EQ(Small.Buf.UndoCount(), 3); // 20 bytes each, one dropped
    while (Small.Buf.Undo()) {
    }
    EXPECT_EQ(Text(Small), "b|c|d|e");
}

TEST(UndoBuffer, SizeZeroRecordsNothing)
{
    TFakeText T(0);
    EXPECT_EQ(T.Buf.Size(), 0);
    T.Type(1, 1, "abc");
    T.DeletePara(1);
    bool Was = T.Buf.BeginGroup();
    T.Type(1, 1, "x");
    T.Buf.EndGroup(Was);
    EXPECT_FALSE(T.Buf.CanUndo());
    EXPECT_FALSE(T.Buf.Undo());
    EXPECT_FALSE(T.Buf.Redo());
}

TEST(UndoBuffer, ChangesLargerThanOneRecordAreOneStepOfSeveralRecords)
{
    // A 200,000-character paste, a delete of most of it and an overwrite of 70,000 characters in a
    // buffer of 1 MiB: each undoes and redoes as one step, and no record outgrows its size field.
    TFakeText T(1024 * 1024);
    T.Type(1, 1, "head tail");
    std::string big;
    for (int I = 0; I < 200000; ++I)
        big += static_cast<char>('a' + I % 26);
    T.Type(1, 6, big);
    T.Delete(1, 10, 150000);
    T.Overwrite(1, 20, std::string(70000, '#'));
    const std::vector<std::string> Final = T.Paras;
    std::string Why;
    ASSERT_TRUE(T.Buf.CheckChain(&Why)) << Why;
    for (const auto &R : T.Buf.Records())
        EXPECT_LE(R.DataLength + 16, TUndoBuffer::MaxRecordSize);
    T.Buf.Undo();
    T.Buf.Undo();
    EXPECT_EQ(T.Paras[0].size(), 9u + 200000u) << "the delete came back whole";
    T.Buf.Undo();
    EXPECT_EQ(T.Paras[0], "head tail");
    T.Buf.Redo();
    T.Buf.Redo();
    T.Buf.Redo();
    EXPECT_EQ(T.Paras, Final);
    EXPECT_TRUE(T.Buf.CheckChain(&Why)) << Why;

    // Larger than the whole buffer: nothing is recorded and the history is gone.
    TFakeText S(100000);
    S.Type(1, 1, "old");
    S.Type(1, 1, big);
    EXPECT_FALSE(S.Buf.CanUndo());
}
