// Key command tables and the command processor: lookups, sequences, the swallow flag, errors.
#include "core/editor/KeyCommands.h"

#include <gtest/gtest.h>

#include <set>

using namespace EdKey;

namespace {

int Letter(char L) { return Key_A + (L - 'A'); }
constexpr int S = kmShift, C = kmCtrl, A = kmAlt, SC = kmShift | kmCtrl;

// One key-down as the control runs it: a command below 256 other than the special results is
// taken as handled, like a user command.
int Press(TEdCommandProcessor &P, int Key, int Shift)
{
    const int R = P.KeyDown(Key, Shift);
    const bool Handled = R != ccNoCommand && R != ccNoMatch && R != ccPending;
    P.KeyDownDone(R, Handled);
    return R;
}

} // namespace

TEST(KeyCommands, BuiltInTables)
{
    TEdCommandProcessor P;
    ASSERT_EQ(P.TableCount(), 3);
    EXPECT_EQ(P.Table(0).Name(), "Default");
    EXPECT_TRUE(P.Table(0).Active());
    EXPECT_EQ(P.Table(0).Count(), 64);
    EXPECT_EQ(P.Table("WordStar").Count(), 40);
    EXPECT_FALSE(P.Table("WordStar").Active());
    EXPECT_EQ(P.Table("Grid").Count(), 38);
    EXPECT_FALSE(P.Table("Grid").Active());

    // No two Default entries share their keys, and every command is one of the named ones.
    std::set<std::pair<int, int>> Keys;
    for (const TEdCommandEntry &E : P.Table("Default").Entries()) {
        EXPECT_EQ(E.Key2, 0);
        EXPECT_TRUE(Keys.insert({E.Key1, E.Shift1}).second);
        EXPECT_GT(E.Command, ccNone);
        EXPECT_LE(E.Command, ccWordRight);
    }
}

TEST(KeyCommands, DefaultTableLookups)
{
    TEdCommandProcessor P;
    struct Case {
        int Key, Shift, Command;
    };
    const Case Cases[] = {
        {Key_Left, 0, ccLeft},          {Key_Left, S, ccExtendLeft},       {Key_Right, SC, ccExtWordRight},
        {Key_Up, 0, ccUp},              {Key_Down, S, ccExtendDown},       {Key_Home, C, ccFirstPage},
        {Key_End, SC, ccExtLastPage},   {Key_PageUp, C, ccTopOfPage},      {Key_PageDown, SC, ccExtBotOfPage},
        {Key_PageDown, 0, ccNextPage},  {Key_Delete, 0, ccDel},            {Key_Delete, S, ccCut},
        {Letter('X'), C, ccCut},        {Key_Insert, C, ccCopy},           {Letter('C'), C, ccCopy},
        {Key_Insert, S, ccPaste},       {Letter('V'), C, ccPaste},         {Key_Insert, 0, ccIns},
        {Key_Backspace, 0, ccBack},     {Key_Backspace, S, ccBack},        {Key_Backspace, A, ccRestore},
        {Letter('Z'), C, ccUndo},       {Letter('Z'), SC, ccRedo},         {Key_Tab, 0, ccTab},
        {Key_Tab, C, ccTab},            {Key_Return, C, ccNewLine},        {Key_Enter, C, ccNewLine},
        {Key_0, C, ccGotoMarker0},      {Key_0 + 9, C, ccGotoMarker0 + 9}, {Key_0 + 3, SC, ccSetMarker0 + 3},
        {Key_0, SC, ccSetMarker0},
    };
    for (const Case &K : Cases)
        EXPECT_EQ(P.KeyDown(K.Key, K.Shift), K.Command) << std::hex << K.Key << " " << K.Shift;

    // Unbound strokes, and modifiers that must match exactly.
    EXPECT_EQ(P.KeyDown(Key_Return, 0), ccNoCommand); // Enter is the control's WantEnter business
    EXPECT_EQ(P.KeyDown(Key_Backtab, S), ccNoCommand); // Shift+Tab
    EXPECT_EQ(P.KeyDown(Letter('A'), 0), ccNoCommand);
    EXPECT_EQ(P.KeyDown(Letter('Z'), C | A), ccNoCommand);
    EXPECT_EQ(P.KeyDown(Key_Left, C | A), ccNoCommand);
    EXPECT_EQ(P.KeyDown(Key_Shift, S), ccNoCommand);
    // Bits other than Shift, Ctrl and Alt are ignored.
    EXPECT_EQ(P.KeyDown(Key_Left, S | 0x100), ccExtendLeft);
    // Alt without Ctrl is looked up with Alt alone; with Ctrl it stays as it is.
    EXPECT_EQ(P.KeyDown(Key_Backspace, S | A), ccRestore);
    EXPECT_EQ(P.KeyDown(Key_Backspace, C | A), ccNoCommand);
}

TEST(KeyCommands, QuickKeySequencesAndSwallowFlag)
{
    TEdCommandProcessor P;
    AddQuickKeySequences(P.Table("Default"));
    EXPECT_EQ(P.Table("Default").Count(), 64 + 26);

    // Ctrl+Q, then A: the user command, and the character of A is swallowed.
    EXPECT_EQ(Press(P, Letter('Q'), C), ccPending);
    EXPECT_TRUE(P.SequencePending());
    EXPECT_TRUE(P.SwallowChars());
    EXPECT_FALSE(P.AcceptsChar(17));
    EXPECT_EQ(Press(P, Letter('A'), 0), 256);
    EXPECT_FALSE(P.SequencePending());
    EXPECT_TRUE(P.SwallowChars());
    EXPECT_FALSE(P.AcceptsChar('a'));

    // The next plain key clears the flag, so its character types.
    EXPECT_EQ(Press(P, Letter('B'), 0), ccNoCommand);
    EXPECT_TRUE(P.AcceptsChar('b'));
    EXPECT_FALSE(P.AcceptsChar(8)); // codes below 32 never type

    // Modifier keys alone keep a sequence pending; Z gives 281.
    EXPECT_EQ(Press(P, Letter('Q'), C), ccPending);
    EXPECT_EQ(Press(P, Key_Shift, S), ccPending);
    EXPECT_EQ(Press(P, Key_Control, C), ccPending);
    EXPECT_EQ(Press(P, Key_CapsLock, 0), ccPending);
    EXPECT_TRUE(P.SequencePending());
    EXPECT_EQ(Press(P, Letter('Z'), 0), 281);
    EXPECT_EQ(Press(P, Letter('Q'), C), ccPending);
    EXPECT_EQ(Press(P, Letter('P'), 0), 256 + 15);

    // The second stroke allows no modifier: Ctrl+Q then Ctrl+A or Shift+A matches nothing.
    EXPECT_EQ(Press(P, Letter('Q'), C), ccPending);
    EXPECT_EQ(Press(P, Letter('A'), C), ccNoMatch);
    EXPECT_EQ(Press(P, Letter('Q'), C), ccPending);
    EXPECT_EQ(Press(P, Letter('A'), S), ccNoMatch);

    // Ctrl+Q then 1: no match, the flag is cleared and "1" types.
    EXPECT_EQ(Press(P, Letter('Q'), C), ccPending);
    EXPECT_EQ(Press(P, Key_0 + 1, 0), ccNoMatch);
    EXPECT_FALSE(P.SequencePending());
    EXPECT_TRUE(P.AcceptsChar('1'));
    // A sequence is only one stroke long: the key after a no-match is looked up afresh.
    EXPECT_EQ(Press(P, Key_Left, 0), ccLeft);

    // A handled command leaves the flag as it was.
    P.SetSwallowChars(true);
    Press(P, Key_Left, 0);
    EXPECT_TRUE(P.SwallowChars());
    P.KeyDownDone(ccLeft, false); // the control found nothing to do for it
    EXPECT_FALSE(P.SwallowChars());

    // Modifier keys alone give no command while nothing is pending.
    EXPECT_EQ(P.KeyDown(Key_Control, C), ccNoCommand);
    // CancelSequence drops a pending first stroke.
    EXPECT_EQ(P.KeyDown(Letter('Q'), C), ccPending);
    P.CancelSequence();
    EXPECT_EQ(P.KeyDown(Letter('A'), 0), ccNoCommand);
}

TEST(KeyCommands, TableOrderActiveFlagAndNoneOrCtrl)
{
    TEdCommandProcessor P;
    TEdCommandTable &Ws = P.Table("WordStar");
    Ws.SetActive(true);
    // The Default table comes first: Ctrl+Z undoes, Ctrl+S is WordStar's left.
    EXPECT_EQ(P.KeyDown(Letter('Z'), C), ccUndo);
    EXPECT_EQ(P.KeyDown(Letter('S'), C), ccLeft);
    EXPECT_EQ(P.KeyDown(Letter('P'), C), ccCtrlChar);
    // A second key marked "no modifier or Ctrl".
    EXPECT_EQ(P.KeyDown(Letter('Q'), C), ccPending);
    EXPECT_EQ(P.KeyDown(Letter('S'), 0), ccHome);
    EXPECT_EQ(P.KeyDown(Letter('Q'), C), ccPending);
    EXPECT_EQ(P.KeyDown(Letter('S'), C), ccHome);
    EXPECT_EQ(P.KeyDown(Letter('Q'), C), ccPending);
    EXPECT_EQ(P.KeyDown(Letter('S'), S), ccNoMatch);
    EXPECT_EQ(P.KeyDown(Letter('K'), C), ccPending);
    EXPECT_EQ(P.KeyDown(Key_0 + 4, C), ccSetMarker0 + 4);

    P.Table("Default").SetActive(false);
    EXPECT_EQ(P.KeyDown(Letter('Z'), C), ccScrollDown);
    EXPECT_EQ(P.KeyDown(Key_Left, 0), ccNoCommand);
    Ws.SetActive(false);
    EXPECT_EQ(P.KeyDown(Letter('S'), C), ccNoCommand);

    P.ResetTables();
    EXPECT_EQ(P.KeyDown(Key_Left, 0), ccLeft);
    EXPECT_FALSE(P.Table("WordStar").Active());
}

TEST(KeyCommands, DuplicatesAndRemoval)
{
    TEdCommandTable T("Mine");
    T.AddCommand(Key_Left, 0, ccLeft);
    T.AddCommand(Key_Left, S, ccExtendLeft);
    try {
        T.AddCommand(Key_Left, 0, ccRight);
        FAIL() << "no EDuplicateCommand";
    } catch (const EDuplicateCommand &E) {
        EXPECT_STREQ(E.what(), "Duplicate command found while adding a new command to the table");
    }
    // Keypad Enter and Return are one key.
    T.AddCommand(Key_Return, C, ccNewLine);
    EXPECT_THROW(T.AddCommand(Key_Enter, C, ccNewLine), EDuplicateCommand);
    // A sequence may not start with a bound single stroke, nor a single stroke hide a sequence.
    EXPECT_THROW(T.AddSequence(Key_Left, 0, Letter('A'), 0, 300), EDuplicateCommand);
    T.AddSequence(Letter('Q'), C, Letter('A'), kmNone, 300);
    EXPECT_THROW(T.AddCommand(Letter('Q'), C, 301), EDuplicateCommand);
    EXPECT_THROW(T.AddSequence(Letter('Q'), C, Letter('A'), kmNone, 302), EDuplicateCommand);
    EXPECT_THROW(T.AddSequence(Letter('Q'), C, Letter('A'), kmNoneOrCtrl, 302), EDuplicateCommand);
    T.AddSequence(Letter('Q'), C, Letter('A'), S, 303);
    T.AddSequence(Letter('Q'), C, Letter('B'), kmNoneOrCtrl, 304);
    EXPECT_THROW(T.AddSequence(Letter('Q'), C, Letter('B'), C, 305), EDuplicateCommand);
    EXPECT_EQ(T.Count(), 6); // failed additions add nothing

    EXPECT_FALSE(T.RemoveCommand(Key_Right, 0));
    EXPECT_TRUE(T.RemoveCommand(Key_Left, 0));
    T.AddCommand(Key_Left, 0, ccWordLeft);
    EXPECT_TRUE(T.RemoveCommand(Letter('Q'), C, Letter('A'), S));
    ASSERT_NE(T.FindSequence(Letter('Q'), C, Letter('A'), 0), nullptr);
    EXPECT_EQ(T.FindSequence(Letter('Q'), C, Letter('A'), 0)->Command, 300);
    EXPECT_EQ(T.FindSequence(Letter('Q'), C, Letter('A'), S), nullptr);
    EXPECT_EQ(T.FindSequence(Letter('Q'), C, Letter('B'), C)->Command, 304);
    EXPECT_EQ(T.FindFirst(Key_Left, 0)->Command, ccWordLeft);
}

TEST(KeyCommands, TablesByNameAndIndex)
{
    TEdCommandProcessor P;
    try {
        P.Table("Emacs");
        FAIL() << "no ETableNotFound";
    } catch (const ETableNotFound &E) {
        EXPECT_STREQ(E.what(), "Command table not found or command table index out of range");
    }
    EXPECT_THROW(P.Table(3), ETableNotFound);
    EXPECT_THROW(P.Table(-1), ETableNotFound);
    EXPECT_THROW(P.RemoveTable("Emacs"), ETableNotFound);
    EXPECT_THROW(static_cast<const TEdCommandProcessor &>(P).Table("Emacs"), ETableNotFound);

    EXPECT_EQ(P.AddTable("Default").Name(), "Default1");
    EXPECT_EQ(P.AddTable("Default").Name(), "Default2");
    EXPECT_EQ(P.AddTable("Mine", false).Name(), "Mine");
    EXPECT_EQ(P.AddTable("Mine").Name(), "Mine1");
    EXPECT_EQ(P.TableCount(), 7);
    P.RemoveTable("Default1");
    EXPECT_EQ(P.AddTable("Default").Name(), "Default1");
    EXPECT_EQ(P.IndexOf("Mine1"), 5);

    // A later active table answers what the earlier ones leave unbound.
    TEdCommandTable &User = P.Table("Mine1");
    User.AddSequence(Key_F2, 0, Key_F2, 0, 300);
    EXPECT_EQ(P.KeyDown(Key_F2, 0), ccPending);
    EXPECT_EQ(P.KeyDown(Key_F2, 0), 300);
    // An inactive table is not consulted.
    P.Table("Mine").AddCommand(Letter('A'), 0, 301);
    EXPECT_EQ(P.KeyDown(Letter('A'), 0), ccNoCommand);
}
