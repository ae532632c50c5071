// TEdCommandProcessor: key command tables and the command processor.
#include "core/editor/KeyCommands.h"

using namespace EdKey;

int EdKey::Normalize(int Key)
{
    if (Key == Key_Enter)
        return Key_Return;
    if (Key == Key_Backtab)
        return Key_Tab;
    return Key;
}

bool EdKey::IsModifierKey(int Key)
{
    switch (Key) {
    case Key_Shift:
    case Key_Control:
    case Key_Meta:
    case Key_Alt:
    case Key_AltGr:
    case Key_Super_L:
    case Key_Super_R:
    case Key_CapsLock:
    case Key_NumLock:
    case Key_ScrollLock:
        return true;
    default:
        return false;
    }
}

namespace {

constexpr int ModifierMask = kmShift | kmCtrl | kmAlt;

// Whether a second-stroke modifier of a table accepts the modifier state Shift.
bool SecondShiftMatches(int TableShift, int Shift)
{
    if (TableShift == kmNoneOrCtrl)
        return Shift == kmNone || Shift == kmCtrl;
    return TableShift == Shift;
}

// Whether two second-stroke modifiers of a table accept a common modifier state.
bool SecondShiftsOverlap(int A, int B)
{
    if (A == B)
        return true;
    if (A == kmNoneOrCtrl)
        return B == kmNone || B == kmCtrl;
    if (B == kmNoneOrCtrl)
        return A == kmNone || A == kmCtrl;
    return false;
}

// Two entries collide when a key stroke sequence could match both.
bool Collide(const TEdCommandEntry &A, const TEdCommandEntry &B)
{
    if (A.Key1 != B.Key1 || A.Shift1 != B.Shift1)
        return false;
    if (A.Key2 == 0 || B.Key2 == 0)
        return true; // a single stroke would hide every sequence that starts with it
    return A.Key2 == B.Key2 && SecondShiftsOverlap(A.Shift2, B.Shift2);
}

} // namespace

TEdCommandTable::TEdCommandTable(std::string Name, bool Active) : TableName(std::move(Name)), IsActive(Active) {}

void TEdCommandTable::Add(const TEdCommandEntry &Entry)
{
    for (const TEdCommandEntry &E : Items)
        if (Collide(E, Entry))
            throw EDuplicateCommand();
    Items.push_back(Entry);
}

void TEdCommandTable::AddCommand(int Key, int Shift, int Command)
{
    Add({Normalize(Key), Shift & ModifierMask, 0, 0, Command});
}

void TEdCommandTable::AddSequence(int Key1, int Shift1, int Key2, int Shift2, int Command)
{
    const int S2 = Shift2 == kmNoneOrCtrl ? kmNoneOrCtrl : (Shift2 & ModifierMask);
    Add({Normalize(Key1), Shift1 & ModifierMask, Normalize(Key2), S2, Command});
}

bool TEdCommandTable::RemoveCommand(int Key1, int Shift1, int Key2, int Shift2)
{
    const TEdCommandEntry Wanted{Normalize(Key1), Shift1, Key2 ? Normalize(Key2) : 0, Key2 ? Shift2 : 0, 0};
    for (auto It = Items.begin(); It != Items.end(); ++It) {
        if (It->Key1 == Wanted.Key1 && It->Shift1 == Wanted.Shift1 && It->Key2 == Wanted.Key2 &&
            It->Shift2 == Wanted.Shift2) {
            Items.erase(It);
            return true;
        }
    }
    return false;
}

const TEdCommandEntry *TEdCommandTable::FindFirst(int Key, int Shift) const
{
    for (const TEdCommandEntry &E : Items)
        if (E.Key1 == Key && E.Shift1 == Shift)
            return &E;
    return nullptr;
}

const TEdCommandEntry *TEdCommandTable::FindSequence(int Key1, int Shift1, int Key2, int Shift2) const
{
    for (const TEdCommandEntry &E : Items)
        if (E.Key2 != 0 && E.Key1 == Key1 && E.Shift1 == Shift1 && E.Key2 == Key2 &&
            SecondShiftMatches(E.Shift2, Shift2))
            return &E;
    return nullptr;
}

std::unique_ptr<TEdCommandTable> TEdCommandTable::MakeDefault()
{
    auto T = std::make_unique<TEdCommandTable>("Default", true);
    const int S = kmShift, C = kmCtrl, SC = kmShift | kmCtrl;
    struct Row {
        int Key, Shift, Command;
    };
    static const Row Rows[] = {
        {Key_Left, 0, ccLeft},
        {Key_Right, 0, ccRight},
        {Key_Up, 0, ccUp},
        {Key_Down, 0, ccDown},
        {Key_Left, C, ccWordLeft},
        {Key_Right, C, ccWordRight},
        {Key_Home, 0, ccHome},
        {Key_End, 0, ccEnd},
        {Key_PageUp, 0, ccPrevPage},
        {Key_PageDown, 0, ccNextPage},
        {Key_PageUp, C, ccTopOfPage},
        {Key_PageDown, C, ccBotOfPage},
        {Key_Home, C, ccFirstPage},
        {Key_End, C, ccLastPage},
        {Key_Delete, 0, ccDel},
        {Key_Backspace, 0, ccBack},
        {Key_Backspace, S, ccBack},
        {Key_Backspace, kmAlt, ccRestore},
        {Key_Insert, 0, ccIns},
        {Key_Return, C, ccNewLine},
        {Key_Tab, 0, ccTab},
        {Key_Tab, C, ccTab},
        {Key_Left, S, ccExtendLeft},
        {Key_Right, S, ccExtendRight},
        {Key_Up, S, ccExtendUp},
        {Key_Down, S, ccExtendDown},
        {Key_Left, SC, ccExtWordLeft},
        {Key_Right, SC, ccExtWordRight},
        {Key_Home, S, ccExtendHome},
        {Key_End, S, ccExtendEnd},
        {Key_PageUp, S, ccExtendPgUp},
        {Key_PageDown, S, ccExtendPgDn},
        {Key_PageUp, SC, ccExtTopOfPage},
        {Key_PageDown, SC, ccExtBotOfPage},
        {Key_Home, SC, ccExtFirstPage},
        {Key_End, SC, ccExtLastPage},
        {Key_Delete, S, ccCut},
        {Key_A + ('X' - 'A'), C, ccCut},
        {Key_Insert, C, ccCopy},
        {Key_A + ('C' - 'A'), C, ccCopy},
        {Key_Insert, S, ccPaste},
        {Key_A + ('V' - 'A'), C, ccPaste},
        {Key_A + ('Z' - 'A'), C, ccUndo},
        {Key_A + ('Z' - 'A'), SC, ccRedo},
    };
    for (const Row &R : Rows)
        T->AddCommand(R.Key, R.Shift, R.Command);
    for (int D = 0; D <= 9; ++D)
        T->AddCommand(Key_0 + D, C, ccGotoMarker0 + D);
    for (int D = 0; D <= 9; ++D)
        T->AddCommand(Key_0 + D, SC, ccSetMarker0 + D);
    return T;
}

// The classic control-key layout: the cursor diamond, Ctrl+Q and Ctrl+K prefixes whose second
// key may be typed with or without Ctrl.
std::unique_ptr<TEdCommandTable> TEdCommandTable::MakeWordStar()
{
    auto T = std::make_unique<TEdCommandTable>("WordStar", false);
    const int C = kmCtrl;
    auto Letter = [](char L) { return Key_A + (L - 'A'); };
    static const std::pair<char, int> Singles[] = {
        {'S', ccLeft},     {'D', ccRight},     {'E', ccUp},        {'X', ccDown},
        {'A', ccWordLeft}, {'F', ccWordRight}, {'R', ccPrevPage},  {'C', ccNextPage},
        {'W', ccScrollUp}, {'Z', ccScrollDown}, {'G', ccDel},      {'H', ccBack},
        {'T', ccDelWord},  {'Y', ccDelLine},   {'V', ccIns},       {'P', ccCtrlChar},
    };
    for (const auto &[L, Cmd] : Singles)
        T->AddCommand(Letter(L), C, Cmd);
    static const std::pair<char, int> QuickMoves[] = {
        {'S', ccHome}, {'D', ccEnd}, {'R', ccFirstPage}, {'C', ccLastPage},
    };
    for (const auto &[L, Cmd] : QuickMoves)
        T->AddSequence(Letter('Q'), C, Letter(L), kmNoneOrCtrl, Cmd);
    for (int D = 0; D <= 9; ++D)
        T->AddSequence(Letter('Q'), C, Key_0 + D, kmNoneOrCtrl, ccGotoMarker0 + D);
    for (int D = 0; D <= 9; ++D)
        T->AddSequence(Letter('K'), C, Key_0 + D, kmNoneOrCtrl, ccSetMarker0 + D);
    return T;
}

// Moving between the cells of a grid, editing a cell and stepping or stamping its value.
std::unique_ptr<TEdCommandTable> TEdCommandTable::MakeGrid()
{
    auto T = std::make_unique<TEdCommandTable>("Grid", false);
    const int S = kmShift, C = kmCtrl;
    auto Letter = [](char L) { return Key_A + (L - 'A'); };
    struct Row {
        int Key, Shift, Command;
    };
    const Row Rows[] = {
        {Key_Left, 0, ccLeft},
        {Key_Right, 0, ccRight},
        {Key_Up, 0, ccUp},
        {Key_Down, 0, ccDown},
        {Key_Left, S, ccExtendLeft},
        {Key_Right, S, ccExtendRight},
        {Key_Up, S, ccExtendUp},
        {Key_Down, S, ccExtendDown},
        {Key_Left, C, ccWordLeft},
        {Key_Right, C, ccWordRight},
        {Key_Home, 0, ccHome},
        {Key_End, 0, ccEnd},
        {Key_Home, S, ccExtendHome},
        {Key_End, S, ccExtendEnd},
        {Key_PageUp, 0, ccPrevPage},
        {Key_PageDown, 0, ccNextPage},
        {Key_PageUp, S, ccExtendPgUp},
        {Key_PageDown, S, ccExtendPgDn},
        {Key_Home, C, ccTopLeftCell},
        {Key_End, C, ccBotRightCell},
        {Key_PageUp, C, ccPageLeft},
        {Key_PageDown, C, ccPageRight},
        {Key_Delete, 0, ccDel},
        {Key_Backspace, 0, ccBack},
        {Key_Insert, 0, ccIns},
        {Key_Tab, 0, ccTab},
        {Key_F2, 0, ccTableEdit},
        {Key_Plus, C, ccInc},
        {Key_Minus, C, ccDec},
        {Key_Semicolon, C, ccCompleteDate},
        {Key_Semicolon, C | S, ccCompleteTime},
        {Letter('X'), C, ccCut},
        {Letter('C'), C, ccCopy},
        {Letter('V'), C, ccPaste},
        {Key_Delete, S, ccCut},
        {Key_Insert, C, ccCopy},
        {Key_Insert, S, ccPaste},
        {Letter('Z'), C, ccUndo},
    };
    for (const Row &R : Rows)
        T->AddCommand(R.Key, R.Shift, R.Command);
    return T;
}

void AddQuickKeySequences(TEdCommandTable &Table)
{
    for (int K = 0; K < 26; ++K)
        Table.AddSequence(Key_A + ('Q' - 'A'), kmCtrl, Key_A + K, kmNone, ccUserFirst + K);
}

TEdCommandProcessor::TEdCommandProcessor() { ResetTables(); }

void TEdCommandProcessor::ResetTables()
{
    Tables.clear();
    Tables.push_back(TEdCommandTable::MakeDefault());
    Tables.push_back(TEdCommandTable::MakeWordStar());
    Tables.push_back(TEdCommandTable::MakeGrid());
    CancelSequence();
}

int TEdCommandProcessor::IndexOf(const std::string &Name) const
{
    for (std::size_t I = 0; I < Tables.size(); ++I)
        if (Tables[I]->Name() == Name)
            return static_cast<int>(I);
    return -1;
}

TEdCommandTable &TEdCommandProcessor::Table(int Index)
{
    if (Index < 0 || Index >= TableCount())
        throw ETableNotFound();
    return *Tables[static_cast<std::size_t>(Index)];
}

const TEdCommandTable &TEdCommandProcessor::Table(int Index) const
{
    if (Index < 0 || Index >= TableCount())
        throw ETableNotFound();
    return *Tables[static_cast<std::size_t>(Index)];
}

TEdCommandTable &TEdCommandProcessor::Table(const std::string &Name) { return Table(IndexOf(Name)); }

const TEdCommandTable &TEdCommandProcessor::Table(const std::string &Name) const { return Table(IndexOf(Name)); }

TEdCommandTable &TEdCommandProcessor::AddTable(const std::string &Name, bool Active)
{
    std::string Unique = Name;
    for (int N = 1; IndexOf(Unique) >= 0; ++N)
        Unique = Name + std::to_string(N);
    Tables.push_back(std::make_unique<TEdCommandTable>(Unique, Active));
    return *Tables.back();
}

void TEdCommandProcessor::RemoveTable(const std::string &Name)
{
    const int I = IndexOf(Name);
    if (I < 0)
        throw ETableNotFound();
    Tables.erase(Tables.begin() + I);
}

int TEdCommandProcessor::KeyDown(int Key, int Shift)
{
    Key = Normalize(Key);
    Shift &= ModifierMask;
    // Alt without Ctrl is a system key stroke: it is looked up with Alt alone.
    if ((Shift & kmAlt) && !(Shift & kmCtrl))
        Shift = kmAlt;

    if (IsModifierKey(Key))
        return SequencePending() ? ccPending : ccNoCommand;

    if (SequencePending()) {
        const int Key1 = PendingKey, Shift1 = PendingShift;
        CancelSequence();
        for (const auto &T : Tables)
            if (T->Active())
                if (const TEdCommandEntry *E = T->FindSequence(Key1, Shift1, Key, Shift))
                    return E->Command;
        return ccNoMatch;
    }

    for (const auto &T : Tables) {
        if (!T->Active())
            continue;
        if (const TEdCommandEntry *E = T->FindFirst(Key, Shift)) {
            if (E->Key2 == 0)
                return E->Command;
            PendingKey = Key;
            PendingShift = Shift;
            return ccPending;
        }
    }
    return ccNoCommand;
}

void TEdCommandProcessor::KeyDownDone(int Result, bool Handled)
{
    if (!Handled)
        Swallow = Result == ccPending;
}
