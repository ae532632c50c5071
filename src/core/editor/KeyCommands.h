// TEdCommandProcessor: key command tables and the command processor that turns key strokes into command numbers.
#pragma once

#include "core/editor/EditorErrors.h"

#include <memory>
#include <string>
#include <vector>

// Command numbers, in the order of their names.
enum : int {
    ccNone = 0,
    ccBack = 1,
    ccBotOfPage = 2,
    ccBotRightCell = 3,
    ccCompleteDate = 4,
    ccCompleteTime = 5,
    ccCopy = 6,
    ccCtrlChar = 7,
    ccCut = 8,
    ccDec = 9,
    ccDel = 10,
    ccDelBol = 11,
    ccDelEol = 12,
    ccDelLine = 13,
    ccDelWord = 14,
    ccDown = 15,
    ccEnd = 16,
    ccExtendDown = 17,
    ccExtendEnd = 18,
    ccExtendHome = 19,
    ccExtendLeft = 20,
    ccExtendPgDn = 21,
    ccExtendPgUp = 22,
    ccExtendRight = 23,
    ccExtendUp = 24,
    ccExtBotOfPage = 25,
    ccExtFirstPage = 26,
    ccExtLastPage = 27,
    ccExtTopOfPage = 28,
    ccExtWordLeft = 29,
    ccExtWordRight = 30,
    ccFirstPage = 31,
    ccGotoMarker0 = 32, // .. ccGotoMarker0 + 9
    ccHome = 42,
    ccInc = 43,
    ccIns = 44,
    ccLastPage = 45,
    ccLeft = 46,
    ccNewLine = 47,
    ccNextPage = 48,
    ccPageLeft = 49,
    ccPageRight = 50,
    ccPaste = 51,
    ccPrevPage = 52,
    ccRedo = 53,
    ccRestore = 54,
    ccRight = 55,
    ccScrollDown = 56,
    ccScrollUp = 57,
    ccSetMarker0 = 58, // .. ccSetMarker0 + 9
    ccTab = 68,
    ccTableEdit = 69,
    ccTopLeftCell = 70,
    ccTopOfPage = 71,
    ccUndo = 72,
    ccUp = 73,
    ccWordLeft = 74,
    ccWordRight = 75,
    ccChar = 249,      // a typed character
    ccNoCommand = 252, // the key is bound to nothing
    ccNoMatch = 254,   // the second key of a sequence matched no entry
    ccPending = 255,   // the first key of a sequence: waiting for the second
    ccUserFirst = 256  // user commands are 256 and up
};

// Modifier values of table entries and of the key state given to the processor.
enum : int {
    kmNone = 0,
    kmShift = 2,
    kmCtrl = 4,
    kmAlt = 8,
    kmNoneOrCtrl = 128 // second key only: no modifier or Ctrl alone
};

// Key codes, with the toolkit's values (the core cannot include its headers).
namespace EdKey {
constexpr int Key_Escape = 0x01000000;
constexpr int Key_Tab = 0x01000001;
constexpr int Key_Backtab = 0x01000002;
constexpr int Key_Backspace = 0x01000003;
constexpr int Key_Return = 0x01000004;
constexpr int Key_Enter = 0x01000005;
constexpr int Key_Insert = 0x01000006;
constexpr int Key_Delete = 0x01000007;
constexpr int Key_Home = 0x01000010;
constexpr int Key_End = 0x01000011;
constexpr int Key_Left = 0x01000012;
constexpr int Key_Up = 0x01000013;
constexpr int Key_Right = 0x01000014;
constexpr int Key_Down = 0x01000015;
constexpr int Key_PageUp = 0x01000016;
constexpr int Key_PageDown = 0x01000017;
constexpr int Key_Shift = 0x01000020;
constexpr int Key_Control = 0x01000021;
constexpr int Key_Meta = 0x01000022;
constexpr int Key_Alt = 0x01000023;
constexpr int Key_CapsLock = 0x01000024;
constexpr int Key_NumLock = 0x01000025;
constexpr int Key_ScrollLock = 0x01000026;
constexpr int Key_F2 = 0x01000031;
constexpr int Key_Super_L = 0x01000053;
constexpr int Key_Super_R = 0x01000054;
constexpr int Key_AltGr = 0x01001103;
constexpr int Key_Plus = 0x2b;
constexpr int Key_Minus = 0x2d;
constexpr int Key_Semicolon = 0x3b;
constexpr int Key_0 = 0x30; // Key_0 + d for the digit d
constexpr int Key_A = 0x41; // Key_A + k for the k-th letter (k from 0)

// Key_Enter as Key_Return and Key_Backtab as Key_Tab, so one table entry covers both keys.
int Normalize(int Key);
// Shift, Ctrl, Alt, Meta, AltGr, Super and the lock keys pressed alone.
bool IsModifierKey(int Key);
} // namespace EdKey

// Raised by AddCommand when an entry with the same keys is already in the table.
class EDuplicateCommand : public EEdException {
public:
    EDuplicateCommand() : EEdException("Duplicate command found while adding a new command to the table") {}
};

// Raised when a table is named or indexed that the processor does not hold.
class ETableNotFound : public EEdException {
public:
    ETableNotFound() : EEdException("Command table not found or command table index out of range") {}
};

// One binding: a key (Key2 == 0: a single stroke) or a two-stroke sequence, and its command.
struct TEdCommandEntry {
    int Key1 = 0;
    int Shift1 = 0;
    int Key2 = 0;
    int Shift2 = 0;
    int Command = ccNone;
    bool operator==(const TEdCommandEntry &) const = default;
};

class TEdCommandTable {
public:
    explicit TEdCommandTable(std::string Name, bool Active = true);

    const std::string &Name() const { return TableName; }
    void SetName(std::string Name) { TableName = std::move(Name); }
    bool Active() const { return IsActive; }
    void SetActive(bool Value) { IsActive = Value; }

    // Adds a single key; throws EDuplicateCommand when the stroke is bound already.
    void AddCommand(int Key, int Shift, int Command);
    // Adds a two-stroke sequence; throws EDuplicateCommand when it collides with an entry.
    void AddSequence(int Key1, int Shift1, int Key2, int Shift2, int Command);
    // Removes the entry with exactly these keys; false when there is none.
    bool RemoveCommand(int Key1, int Shift1, int Key2 = 0, int Shift2 = 0);
    void Clear() { Items.clear(); }

    const std::vector<TEdCommandEntry> &Entries() const { return Items; }
    int Count() const { return static_cast<int>(Items.size()); }

    // The first entry whose first stroke is (Key, Shift), or null.
    const TEdCommandEntry *FindFirst(int Key, int Shift) const;
    // The first sequence (Key1, Shift1) then (Key2, Shift2), or null.
    const TEdCommandEntry *FindSequence(int Key1, int Shift1, int Key2, int Shift2) const;

    // The built-in tables, rebuilt fresh on every call.
    static std::unique_ptr<TEdCommandTable> MakeDefault();  // "Default", active, 64 entries
    static std::unique_ptr<TEdCommandTable> MakeWordStar(); // "WordStar", inactive
    static std::unique_ptr<TEdCommandTable> MakeGrid();     // "Grid", inactive

private:
    void Add(const TEdCommandEntry &Entry);

    std::string TableName;
    bool IsActive;
    std::vector<TEdCommandEntry> Items;
};

// Looks key strokes up in the active tables (in table order, first match wins) and keeps the
// state of a pending two-stroke sequence and the swallow flag for character messages.
class TEdCommandProcessor {
public:
    // Holds the built-in "Default", "WordStar" and "Grid" tables.
    TEdCommandProcessor();

    int TableCount() const { return static_cast<int>(Tables.size()); }
    // Throw ETableNotFound for an unknown name or an index outside 0..TableCount() - 1.
    TEdCommandTable &Table(int Index);
    TEdCommandTable &Table(const std::string &Name);
    const TEdCommandTable &Table(int Index) const;
    const TEdCommandTable &Table(const std::string &Name) const;
    // Index of the named table, or -1.
    int IndexOf(const std::string &Name) const;
    // Appends a table; a name already used gets the lowest free number appended ("Default1").
    TEdCommandTable &AddTable(const std::string &Name, bool Active = true);
    void RemoveTable(const std::string &Name); // ETableNotFound when absent
    // Drops all tables and puts the three built-in ones back.
    void ResetTables();

    // Translates one key-down (Shift = 2, Ctrl = 4, Alt = 8, other bits ignored) into a command
    // number, ccNoCommand, ccNoMatch or ccPending.
    int KeyDown(int Key, int Shift);
    bool SequencePending() const { return PendingKey != 0; }
    void CancelSequence() { PendingKey = 0; PendingShift = 0; }

    // Records how the control finished a key-down: an unhandled key sets the swallow flag when
    // its result was ccPending and clears it otherwise; a handled key leaves the flag alone.
    void KeyDownDone(int Result, bool Handled);
    bool SwallowChars() const { return Swallow; }
    void SetSwallowChars(bool Value) { Swallow = Value; }
    // Whether a character message with this code types ccChar: not while swallowing, not below 32.
    bool AcceptsChar(int Code) const { return !Swallow && Code >= 32; }

private:
    std::vector<std::unique_ptr<TEdCommandTable>> Tables;
    int PendingKey = 0;
    int PendingShift = 0;
    bool Swallow = false;
};

// Adds Ctrl+Q followed by a letter without modifier (A..Z → ccUserFirst + 0..25) to a table.
void AddQuickKeySequences(TEdCommandTable &Table);
