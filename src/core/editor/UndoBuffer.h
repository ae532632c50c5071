// The undo buffer: change records packed into one fixed block, undone and redone group by group.
#pragma once

#include "core/editor/ParaPos.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a record describes.
enum TUndoKind : std::uint8_t {
    ukMarker = 0,           // position of a split or join; undo and redo do nothing
    ukInsertChars = 1,      // characters inserted at (Para, Offset)
    ukInsertParaBefore = 2, // a paragraph inserted before paragraph Para (it is now Para)
    ukInsertParaAfter = 3,  // a paragraph inserted after paragraph Para (it is now Para + 1)
    ukDeleteChars = 4,      // characters deleted at (Para, Offset)
    ukDeletePara = 5,       // paragraph Para deleted
    ukReplaceChars = 6,     // characters at (Para, Offset) replaced
    ukEncoding = 7,         // the text's encoding changed from Para to Offset (no data; bytes stay)
};

// One record handed to the text store for replay.
struct TUndoStep {
    TUndoKind Kind = ukMarker;
    int Para = 0;
    int Offset = 0;
    std::string_view Text;              // kinds 1 and 4: the characters; kind 6: the old text
    std::string_view NewText;           // kind 6: the new text
    std::string *Paragraph = nullptr;   // kinds 2, 3, 5: the paragraph's text while the record holds it
};

// The text store as the undo buffer sees it.
class TUndoTarget {
public:
    virtual ~TUndoTarget() = default;
    virtual bool UndoModified() const = 0;
    virtual void SetUndoModified(bool Value) = 0;
    // Reverts (Redo false) or re-applies (Redo true) one record without recording anything.
    // Kinds 2, 3, 5: the paragraph taken out of the text is moved into *Step.Paragraph, and one put
    // back is moved out of it. Returns where the caret goes after this record.
    virtual TParaPos ReplayUndoStep(const TUndoStep &Step, bool Redo) = 0;
};

// Records of 16 bytes plus their data, packed one after the other in a block of Size bytes.
// When the block is full the oldest groups are dropped whole; a record that does not fit even into
// the empty block empties it, and the rest of an open group is then refused.
class TUndoBuffer {
public:
    static constexpr int RecordHeaderSize = 16;
    static constexpr std::uint32_t DefaultSize = 4 * 1024 * 1024;
    // The largest size that can be set (256 MiB).
    static constexpr std::uint32_t MaxSize = 256u * 1024 * 1024;
    // A record is at most 65,535 bytes (its successor stores its size in two bytes); a change with
    // more data is recorded as several records of one group.
    static constexpr int MaxRecordSize = 0xFFFF;

    // Size 0 records nothing. When the block cannot be allocated, smaller sizes are tried.
    explicit TUndoBuffer(TUndoTarget &Owner, std::uint32_t Size = DefaultSize);
    ~TUndoBuffer();
    TUndoBuffer(const TUndoBuffer &) = delete;
    TUndoBuffer &operator=(const TUndoBuffer &) = delete;

    std::uint32_t Size() const { return static_cast<std::uint32_t>(BlockSize); }
    // Bytes not taken by undo records (redo records count as free).
    int FreeBytes() const;
    int UndoCount() const { return Undos; }
    int RedoCount() const { return Redos; }
    std::uint8_t GroupNumber() const { return Group; }
    bool InGroup() const { return GroupOpen; }
    bool Refusing() const { return Refuse; }
    bool CanUndo() const { return Undos > 0; }
    bool CanRedo() const { return Redos > 0; }

    // Opens a group unless one is open (nested groups join the outer one); returns whether one was.
    bool BeginGroup();
    void EndGroup(bool WasOpen);

    // Records a change of kind 0, 1 or 4, merging typing, deleting and backspacing runs outside
    // groups. The record's modified bit is the owner's flag now, before the change is applied.
    void RecordChars(TUndoKind Kind, int Para, int Offset, std::string_view Chars);
    // Records kind 6: Old replaced by New at (Para, Offset); overwriting runs merge.
    void RecordReplace(int Para, int Offset, std::string_view Old, std::string_view New);
    // Records kind 2, 3 or 5. Text is the deleted paragraph's text for kind 5 (kept by the record,
    // or released at once when it cannot be recorded), empty for kinds 2 and 3.
    void RecordParagraph(TUndoKind Kind, int Para, std::string Text = {});

    // Replays the newest group backwards; the caret position is that of the last record undone.
    // Nothing (nullopt) when there is nothing to undo.
    std::optional<TParaPos> Undo();
    // Replays the group undone last; the caret position is the one reached by its last record.
    std::optional<TParaPos> Redo();

    // After a save: every record now says the text was modified before it.
    void MarkAllModified();
    void Clear();
    // While suspended nothing is recorded (a change too large to be undone).
    void SetSuspended(bool Value) { Suspended = Value; }
    bool IsSuspended() const { return Suspended; }

    // The records as stored, undo records oldest first, then the redo records.
    struct TRecordInfo {
        TUndoKind Kind;
        bool Modified;
        std::uint8_t Group;
        int Para;
        int Offset;
        int DataLength;
        bool Redo;
    };
    std::vector<TRecordInfo> Records() const;
    // Whether the record chain is sound: records tile the used bytes, each one's previous size is
    // its predecessor's size, kinds are known, paragraph records name held slots, the newest
    // applied record lies on a record boundary and the counts match. Why receives the first fault.
    bool CheckChain(std::string *Why = nullptr) const;

private:
    struct THeader;
    THeader ReadHeader(int Pos) const;
    void WriteHeader(int Pos, const THeader &H);
    int RecordSize(int Pos) const;
    int EndOfCurrent() const;
    int NextGroupNumber();
    void DropRecords(int From, int To);
    void DiscardRedo();
    bool MakeRoom(int Bytes);
    bool TryMerge(TUndoKind Kind, int Para, int Offset, std::string_view Chars, std::string_view New);
    void Append(TUndoKind Kind, int Para, int Offset, std::string_view Data, std::string_view Data2,
                std::uint32_t Slot);
    std::uint32_t NewSlot(std::string Text);
    void FreeSlot(std::uint32_t Slot);
    TUndoStep StepAt(int Pos);

    TUndoTarget &Owner;
    std::unique_ptr<unsigned char[]> Block;
    int BlockSize = 0;
    int Used = 0;      // bytes taken by undo and redo records
    int Current = -1;  // offset of the newest applied record, -1 when none
    int Undos = 0;
    int Redos = 0;
    std::uint8_t Group = 0;
    bool GroupOpen = false;
    bool Refuse = false;
    bool Suspended = false;
    bool MergeOpen = false; // the newest record was written outside a group and may take a merge
    // Paragraph texts held by records of kinds 2, 3 and 5; a record's data is its slot number.
    std::vector<std::string> Slots;
    std::vector<std::uint32_t> FreeSlots;
};
