// The undo buffer: recording, merging, making room, undo and redo of whole groups.
#include "core/editor/UndoBuffer.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

// How the buffer works.
//
// Records are packed one after the other from the start of the block: undo records first (the
// oldest at offset 0, the newest applied one at Current), then the records undone and waiting to
// be redone. Each record stores the size of the one before it, so the chain can be walked
// backwards from Current for undo and forwards from its end for redo.
//
// Merging: a change made outside a group may grow the newest record instead of adding one, when
// that record was also written outside a group (MergeOpen) and continues it: typing at the end of
// the characters it inserted, deleting at its offset (Delete) or just before it (Backspace), or
// overwriting right after the new text written so far. A group, an undo or a redo closes the run.
//
// Dropping: a new record first discards the redo records; when it still does not fit, the oldest
// records are dropped, always whole groups (a group is the run of records sharing a group number),
// until it fits with some slack (a sixteenth of the block). A record larger than the whole block
// empties the history; the rest of an open group is then refused, so no half group is ever undone.
//
// Record layout: previous size (2), kind | modified << 7 (1), group (1), paragraph (4), offset (4),
// data length (2), unused (2), then the data. Kind 6 data: old length (2), old text, new text.
// Kinds 2, 3, 5 data: the slot number (4) of the paragraph text the record holds.
struct TUndoBuffer::THeader {
    std::uint16_t PrevSize = 0;
    TUndoKind Kind = ukMarker;
    bool Modified = false;
    std::uint8_t Group = 0;
    std::int32_t Para = 0;
    std::int32_t Offset = 0;
    std::uint16_t DataLength = 0;
};

namespace {

template <class T> T Load(const unsigned char *P)
{
    T V;
    std::memcpy(&V, P, sizeof V);
    return V;
}

template <class T> void Store(unsigned char *P, T V) { std::memcpy(P, &V, sizeof V); }

// Copies a possibly empty text (whose data may be null).
void CopyText(unsigned char *To, std::string_view S)
{
    if (!S.empty())
        std::memcpy(To, S.data(), S.size());
}

bool HoldsParagraph(TUndoKind K) { return K == ukInsertParaBefore || K == ukInsertParaAfter || K == ukDeletePara; }

} // namespace

TUndoBuffer::TUndoBuffer(TUndoTarget &Owner, std::uint32_t Size) : Owner(Owner)
{
    Size = std::min(Size, MaxSize);
    // A block that cannot be had is retried at half the size, down to none at all.
    int S = static_cast<int>(Size);
    while (S > 0) {
        try {
            Block = std::make_unique<unsigned char[]>(static_cast<std::size_t>(S));
            break;
        } catch (const std::bad_alloc &) {
            S = S > 16 ? S - S / 2 : 0;
        }
    }
    BlockSize = S;
}

TUndoBuffer::~TUndoBuffer() = default;

TUndoBuffer::THeader TUndoBuffer::ReadHeader(int Pos) const
{
    const unsigned char *P = Block.get() + Pos;
    THeader H;
    H.PrevSize = Load<std::uint16_t>(P);
    H.Kind = static_cast<TUndoKind>(P[2] & 0x7F);
    H.Modified = (P[2] & 0x80) != 0;
    H.Group = P[3];
    H.Para = Load<std::int32_t>(P + 4);
    H.Offset = Load<std::int32_t>(P + 8);
    H.DataLength = Load<std::uint16_t>(P + 12);
    return H;
}

void TUndoBuffer::WriteHeader(int Pos, const THeader &H)
{
    unsigned char *P = Block.get() + Pos;
    Store<std::uint16_t>(P, H.PrevSize);
    P[2] = static_cast<unsigned char>(H.Kind | (H.Modified ? 0x80 : 0));
    P[3] = H.Group;
    Store<std::int32_t>(P + 4, H.Para);
    Store<std::int32_t>(P + 8, H.Offset);
    Store<std::uint16_t>(P + 12, H.DataLength);
    Store<std::uint16_t>(P + 14, 0);
}

int TUndoBuffer::RecordSize(int Pos) const
{
    return RecordHeaderSize + Load<std::uint16_t>(Block.get() + Pos + 12);
}

int TUndoBuffer::EndOfCurrent() const { return Current < 0 ? 0 : Current + RecordSize(Current); }

int TUndoBuffer::FreeBytes() const { return BlockSize - EndOfCurrent(); }

int TUndoBuffer::NextGroupNumber()
{
    ++Group;
    // Two neighbouring groups must differ, or undo would take them for one.
    if (Current >= 0 && Block[Current + 3] == Group)
        ++Group;
    return Group;
}

std::uint32_t TUndoBuffer::NewSlot(std::string Text)
{
    if (!FreeSlots.empty()) {
        std::uint32_t S = FreeSlots.back();
        FreeSlots.pop_back();
        Slots[S] = std::move(Text);
        return S;
    }
    Slots.push_back(std::move(Text));
    return static_cast<std::uint32_t>(Slots.size() - 1);
}

void TUndoBuffer::FreeSlot(std::uint32_t Slot)
{
    std::string().swap(Slots[Slot]);
    FreeSlots.push_back(Slot);
}

void TUndoBuffer::DropRecords(int From, int To)
{
    for (int Pos = From; Pos < To; Pos += RecordSize(Pos)) {
        THeader H = ReadHeader(Pos);
        if (HoldsParagraph(H.Kind))
            FreeSlot(Load<std::uint32_t>(Block.get() + Pos + RecordHeaderSize));
    }
}

void TUndoBuffer::DiscardRedo()
{
    int End = EndOfCurrent();
    DropRecords(End, Used);
    Used = End;
    Redos = 0;
}

void TUndoBuffer::Clear()
{
    if (Block)
        DropRecords(0, Used);
    Used = 0;
    Current = -1;
    Undos = Redos = 0;
    MergeOpen = false;
}

bool TUndoBuffer::MakeRoom(int Bytes)
{
    if (Refuse)
        return false;
    if (Bytes > BlockSize) {
        Clear();
        Refuse = GroupOpen;
        return false;
    }
    DiscardRedo();
    if (FreeBytes() >= Bytes)
        return true;
    // Drop the oldest groups, whole, until there is room and some slack.
    const int Want = std::max(BlockSize / 16, Bytes);
    int Cut = 0;
    int Dropped = 0;
    while (Cut < Used && BlockSize - (Used - Cut) < Want) {
        const std::uint8_t G = Block[Cut + 3];
        while (Cut < Used && Block[Cut + 3] == G) {
            Cut += RecordSize(Cut);
            ++Dropped;
        }
    }
    DropRecords(0, Cut);
    if (Cut >= Used) {
        Used = 0;
        Current = -1;
        Undos = 0;
        MergeOpen = false;
        // A group is never recorded in part.
        Refuse = GroupOpen;
        return !GroupOpen;
    }
    std::memmove(Block.get(), Block.get() + Cut, static_cast<std::size_t>(Used - Cut));
    Used -= Cut;
    Current -= Cut;
    Undos -= Dropped;
    Store<std::uint16_t>(Block.get(), 0);
    return true;
}

bool TUndoBuffer::TryMerge(TUndoKind Kind, int Para, int Offset, std::string_view Chars, std::string_view New)
{
    if (!MergeOpen || Current < 0 || Refuse)
        return false;
    THeader H = ReadHeader(Current);
    if (H.Kind != Kind || H.Para != Para)
        return false;
    const unsigned char *Data = Block.get() + Current + RecordHeaderSize;
    bool Front = false;
    switch (Kind) {
    case ukInsertChars:
        if (Offset != H.Offset + H.DataLength)
            return false;
        break;
    case ukDeleteChars:
        if (Offset == H.Offset)
            break;
        if (Offset + static_cast<int>(Chars.size()) != H.Offset)
            return false;
        Front = true;
        break;
    case ukReplaceChars: {
        // The next overwrite continues after the new text written so far.
        const int NewLen = H.DataLength - 2 - Load<std::uint16_t>(Data);
        if (Offset != H.Offset + NewLen)
            return false;
        break;
    }
    default:
        return false;
    }
    const int Added = static_cast<int>(Chars.size() + New.size());
    if (H.DataLength + Added + RecordHeaderSize > std::min(BlockSize, MaxRecordSize))
        return false;
    if (!MakeRoom(Added) || Current < 0)
        return false;
    if (Current + RecordSize(Current) + Added > BlockSize)
        return false;
    H = ReadHeader(Current);
    unsigned char *D = Block.get() + Current + RecordHeaderSize;
    if (Kind == ukReplaceChars) {
        const std::uint16_t OldLen = Load<std::uint16_t>(D);
        const int NewLen = H.DataLength - 2 - OldLen;
        unsigned char *NewPart = D + 2 + OldLen;
        std::memmove(NewPart + Chars.size(), NewPart, static_cast<std::size_t>(NewLen));
        CopyText(NewPart, Chars);
        CopyText(NewPart + Chars.size() + NewLen, New);
        Store<std::uint16_t>(D, static_cast<std::uint16_t>(OldLen + Chars.size()));
    } else if (Front) {
        std::memmove(D + Chars.size(), D, H.DataLength);
        CopyText(D, Chars);
        H.Offset = Offset;
    } else {
        CopyText(D + H.DataLength, Chars);
    }
    H.DataLength = static_cast<std::uint16_t>(H.DataLength + Added);
    WriteHeader(Current, H);
    Used = Current + RecordSize(Current);
    Redos = 0;
    return true;
}

void TUndoBuffer::Append(TUndoKind Kind, int Para, int Offset, std::string_view Data, std::string_view Data2,
                         std::uint32_t Slot)
{
    const int Pos = EndOfCurrent();
    THeader H;
    H.PrevSize = static_cast<std::uint16_t>(Current < 0 ? 0 : RecordSize(Current));
    H.Kind = Kind;
    H.Modified = Owner.UndoModified();
    H.Group = Group;
    H.Para = Para;
    H.Offset = Offset;
    unsigned char *D = Block.get() + Pos + RecordHeaderSize;
    if (Kind == ukReplaceChars) {
        Store<std::uint16_t>(D, static_cast<std::uint16_t>(Data.size()));
        CopyText(D + 2, Data);
        CopyText(D + 2 + Data.size(), Data2);
        H.DataLength = static_cast<std::uint16_t>(2 + Data.size() + Data2.size());
    } else if (HoldsParagraph(Kind)) {
        Store<std::uint32_t>(D, Slot);
        H.DataLength = 4;
    } else {
        CopyText(D, Data);
        H.DataLength = static_cast<std::uint16_t>(Data.size());
    }
    WriteHeader(Pos, H);
    Current = Pos;
    Used = Pos + RecordSize(Pos);
    ++Undos;
    Redos = 0;
    MergeOpen = !GroupOpen;
}

bool TUndoBuffer::BeginGroup()
{
    const bool Was = GroupOpen;
    if (!GroupOpen) {
        GroupOpen = true;
        NextGroupNumber();
        MergeOpen = false;
    }
    return Was;
}

void TUndoBuffer::EndGroup(bool WasOpen)
{
    GroupOpen = WasOpen;
    if (!GroupOpen)
        Refuse = false;
}

void TUndoBuffer::RecordChars(TUndoKind Kind, int Para, int Offset, std::string_view Chars)
{
    if (Suspended)
        return;
    constexpr std::size_t MaxData = MaxRecordSize - RecordHeaderSize;
    if (Chars.size() > MaxData) {
        // Inserted characters become pieces inserted one after the other, deleted ones pieces
        // deleted one after the other at the same place: undone backwards, they give the whole.
        const bool Was = BeginGroup();
        for (std::size_t At = 0; At < Chars.size() && !Refuse; At += MaxData) {
            const std::string_view Piece = Chars.substr(At, MaxData);
            const int PieceOffset = Kind == ukInsertChars ? Offset + static_cast<int>(At) : Offset;
            if (MakeRoom(RecordHeaderSize + static_cast<int>(Piece.size())))
                Append(Kind, Para, PieceOffset, Piece, {}, 0);
        }
        EndGroup(Was);
        return;
    }
    if (!GroupOpen && TryMerge(Kind, Para, Offset, Chars, {}))
        return;
    if (!GroupOpen)
        NextGroupNumber();
    if (!MakeRoom(RecordHeaderSize + static_cast<int>(Chars.size())))
        return;
    Append(Kind, Para, Offset, Chars, {}, 0);
}

void TUndoBuffer::RecordReplace(int Para, int Offset, std::string_view Old, std::string_view New)
{
    if (Suspended)
        return;
    if (RecordHeaderSize + 2 + Old.size() + New.size() > static_cast<std::size_t>(MaxRecordSize)) {
        // Too large for one record: the old text deleted, then the new one inserted.
        const bool Was = BeginGroup();
        RecordChars(ukDeleteChars, Para, Offset, Old);
        RecordChars(ukInsertChars, Para, Offset, New);
        EndGroup(Was);
        return;
    }
    if (!GroupOpen && TryMerge(ukReplaceChars, Para, Offset, Old, New))
        return;
    if (!GroupOpen)
        NextGroupNumber();
    if (!MakeRoom(RecordHeaderSize + 2 + static_cast<int>(Old.size() + New.size())))
        return;
    Append(ukReplaceChars, Para, Offset, Old, New, 0);
}

void TUndoBuffer::RecordParagraph(TUndoKind Kind, int Para, std::string Text)
{
    if (Suspended)
        return;
    if (!GroupOpen)
        NextGroupNumber();
    if (!MakeRoom(RecordHeaderSize + 4))
        return; // Text, the paragraph no record holds, is released here
    Append(Kind, Para, 1, {}, {}, NewSlot(std::move(Text)));
}

TUndoStep TUndoBuffer::StepAt(int Pos)
{
    const THeader H = ReadHeader(Pos);
    const char *D = reinterpret_cast<const char *>(Block.get() + Pos + RecordHeaderSize);
    TUndoStep S;
    S.Kind = H.Kind;
    S.Para = H.Para;
    S.Offset = H.Offset;
    if (H.Kind == ukReplaceChars) {
        const std::uint16_t OldLen = Load<std::uint16_t>(reinterpret_cast<const unsigned char *>(D));
        S.Text = std::string_view(D + 2, OldLen);
        S.NewText = std::string_view(D + 2 + OldLen, H.DataLength - 2 - OldLen);
    } else if (HoldsParagraph(H.Kind)) {
        S.Paragraph = &Slots[Load<std::uint32_t>(reinterpret_cast<const unsigned char *>(D))];
    } else {
        S.Text = std::string_view(D, H.DataLength);
    }
    return S;
}

std::optional<TParaPos> TUndoBuffer::Undo()
{
    if (Undos == 0)
        return std::nullopt;
    const std::uint8_t G = Block[Current + 3];
    TParaPos Caret;
    bool LastModified = false;
    do {
        const int Pos = Current;
        const THeader H = ReadHeader(Pos);
        const TUndoStep S = StepAt(Pos);
        Current = Undos > 1 ? Pos - H.PrevSize : -1;
        --Undos;
        ++Redos;
        Caret = Owner.ReplayUndoStep(S, false);
        LastModified = H.Modified;
    } while (Undos > 0 && Block[Current + 3] == G);
    Owner.SetUndoModified(LastModified);
    MergeOpen = false;
    return Caret;
}

std::optional<TParaPos> TUndoBuffer::Redo()
{
    if (Redos == 0)
        return std::nullopt;
    int Next = EndOfCurrent();
    const std::uint8_t G = Block[Next + 3];
    TParaPos Caret;
    do {
        Current = Next;
        ++Undos;
        --Redos;
        THeader H = ReadHeader(Current);
        H.Modified = Owner.UndoModified();
        WriteHeader(Current, H);
        Caret = Owner.ReplayUndoStep(StepAt(Current), true);
        Next = EndOfCurrent();
    } while (Redos > 0 && Block[Next + 3] == G);
    Owner.SetUndoModified(true);
    MergeOpen = false;
    return Caret;
}

void TUndoBuffer::MarkAllModified()
{
    for (int Pos = 0; Pos < Used; Pos += RecordSize(Pos))
        Block[Pos + 2] |= 0x80;
}

bool TUndoBuffer::CheckChain(std::string *Why) const
{
    auto fail = [Why](const std::string &What) {
        if (Why)
            *Why = What;
        return false;
    };
    if (Used < 0 || Used > BlockSize)
        return fail("used bytes outside the block");
    int prevSize = 0, records = 0, applied = 0;
    bool currentSeen = Current < 0;
    for (int Pos = 0; Pos < Used;) {
        if (Pos + RecordHeaderSize > Used)
            return fail("record header past the used bytes at " + std::to_string(Pos));
        const THeader H = ReadHeader(Pos);
        const int size = RecordSize(Pos);
        if (H.PrevSize != prevSize)
            return fail("previous size " + std::to_string(H.PrevSize) + " at " + std::to_string(Pos) +
                        ", expected " + std::to_string(prevSize));
        if (H.Kind > ukEncoding)
            return fail("unknown kind at " + std::to_string(Pos));
        if (Pos + size > Used)
            return fail("record data past the used bytes at " + std::to_string(Pos));
        if (HoldsParagraph(H.Kind)) {
            const std::uint32_t slot = Load<std::uint32_t>(Block.get() + Pos + RecordHeaderSize);
            if (H.DataLength != 4 || slot >= Slots.size())
                return fail("paragraph record without its slot at " + std::to_string(Pos));
        }
        if (Pos == Current) {
            currentSeen = true;
            applied = records + 1;
        }
        prevSize = size;
        Pos += size;
        ++records;
    }
    if (!currentSeen)
        return fail("newest applied record off a record boundary");
    if (Undos != applied || Undos + Redos != records)
        return fail("record counts " + std::to_string(Undos) + "+" + std::to_string(Redos) + " for " +
                    std::to_string(records) + " records, " + std::to_string(applied) + " applied");
    return true;
}

std::vector<TUndoBuffer::TRecordInfo> TUndoBuffer::Records() const
{
    std::vector<TRecordInfo> R;
    const int End = EndOfCurrent();
    for (int Pos = 0; Pos < Used; Pos += RecordSize(Pos)) {
        const THeader H = ReadHeader(Pos);
        R.push_back({H.Kind, H.Modified, H.Group, H.Para, H.Offset, H.DataLength, Pos >= End});
    }
    return R;
}
