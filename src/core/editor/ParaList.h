// The editor's text store: paragraphs wrapped into display lines, limits, bookmarks, undo, Modified.
#pragma once

#include "core/editor/EditorErrors.h"
#include "core/editor/Encoding.h"
#include "core/editor/ParaPos.h"
#include "core/editor/ParaStore.h"
#include "core/editor/UndoBuffer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class TParaList;

// What the editor view hears from its text store. Edits arrive one primitive step at a time.
class TParaListObserver {
public:
    virtual ~TParaListObserver() = default;
    // Text moved: move caret, selection and top-line paragraph positions with Shift.Apply.
    virtual void ParaListShifted(const TParaList &List, const TPosShift &Shift) = 0;
    // Every paragraph was re-wrapped (WordWrap, WrapColumn or TabSize changed): recompute caret,
    // selection and top line as line positions from their paragraph positions.
    virtual void ParaListRewrapped(const TParaList &List) = 0;
};

// Paragraphs of 8-bit characters, at least one. Paragraph positions address all edits; display
// lines (one per paragraph unless WordWrap is on) address reading. Operations that may fail return
// 0 or an error code 263..268 (RaiseEditorError turns one into EEditorError); paragraph numbers
// outside 1..ParaCount given to edits raise EInvalidLineOrPara.
class TParaList : private TUndoTarget {
public:
    static constexpr int MaxLimit = 2147483647;
    static constexpr int RestOfText = 2147483647;   // ChangedLastLine: everything to the end
    // The longest paragraph there can be (64 MiB), and the length limit of a new list.
    static constexpr int MaxParaLength = 64 * 1024 * 1024;

    explicit TParaList(TParaListObserver *Observer = nullptr,
                       std::uint32_t UndoBufferSize = TUndoBuffer::DefaultSize);
    ~TParaList() override;
    TParaList(const TParaList &) = delete;
    TParaList &operator=(const TParaList &) = delete;

    TParaListObserver *Observer() const { return Owner; }
    void SetObserver(TParaListObserver *Observer) { Owner = Observer; }

    // Back to one empty paragraph; limits, wrap settings, tab size and undo size stay, bookmarks,
    // undo history and Modified start afresh.
    void Clear();

    // --- Reading. Lookups of the same, next or previous line or paragraph cost constant time.
    int ParaCount() const { return Store.ParaCount(); }
    int LineCount() const { return Store.LineCount(); }
    // Sum of paragraph lengths plus 2 per paragraph break (the size written with CR LF).
    std::int64_t ByteCount() const { return Bytes; }
    // Paragraph text; empty when N is outside 1..ParaCount.
    std::string_view ParaText(int N) const;
    int ParaLength(int N) const { return static_cast<int>(ParaText(N).size()); }
    // Display line text (tabs kept, trailing blanks of a wrapped line included); empty out of range.
    std::string_view GetLine(int Line) const;
    int LineLength(int Line) const { return static_cast<int>(GetLine(Line).size()); }
    // First display line of paragraph N (N cut to 1..ParaCount) and its number of display lines.
    int ParaFirstLine(int N) const;
    int ParaLineCount(int N) const;
    // (line, column) of a paragraph position; the paragraph is cut to 1..ParaCount, an offset at a
    // wrap point belongs to the start of the following display line.
    TLinePos ParaToLine(TParaPos Pos) const;
    // Paragraph of display line Line (cut to 1..LineCount) and, as Offset, the 0-based offset of
    // the line's first character in it (caret offset = that + column).
    TParaPos LineToPara(int Line) const;
    // Paragraph position of (line, column).
    TParaPos LineColToPara(TLinePos Pos) const;
    // The characters from From to To (offsets cut to the paragraph ends), with CR LF between
    // paragraphs.
    std::string GetText(TParaPos From, TParaPos To) const;
    // The whole text, paragraphs separated by CR LF.
    std::string GetText() const;

    // The cells of display line Line (empty out of range); a whole long paragraph answers through
    // its cell index, so no column question scans it from its start.
    TEdCells LineCells(int Line) const;
    // Cells of the longest line seen since the text was loaded (it grows with edits and is counted
    // afresh after a load or a change of TabSize).
    int LongestLineWidth() const;
    // The line end paragraph N was read with (Default for lines added since, and out of range).
    TLineEnd ParaLineEnd(int N) const;
    // Paragraph N (1..ParaCount, else nothing) ends as End from now on (not an undo step).
    void SetParaLineEnd(int N, TLineEnd End);
    // Every line takes the document's format from now on (after a save that gave it to them), but
    // for a last line without a line end.
    void ResetLineEnds();

    // --- Limits. The setters ignore values out of range (<= 0; ParaLengthLimit outside
    // 1..MaxParaLength).
    int ParaLimit() const { return ParaLim; }
    void SetParaLimit(int Value);
    int ByteLimit() const { return ByteLim; }
    void SetByteLimit(int Value);
    int ParaLengthLimit() const { return ParaLenLim; }
    void SetParaLengthLimit(int Value);
    // 0, or the code of the first limit that adding paragraphs and bytes to paragraph Para (0: none
    // in particular) would cross: 265, 267, 268.
    int CheckLimits(int Para, int AddedParas, std::int64_t AddedBytes) const;

    // --- Wrapping. Changing a value that matters re-wraps every paragraph, reports the whole text
    // changed and tells the observer (ParaListRewrapped).
    bool WordWrap() const { return Wrap; }
    void SetWordWrap(bool Value);
    int WrapColumn() const { return WrapCol; }
    void SetWrapColumn(int Value); // ignores values <= 0
    int TabSize() const { return Tab; }
    void SetTabSize(int Value); // ignores values <= 0
    // The encoding of the paragraphs' bytes. In a UTF-8 text (with or without a byte-order mark,
    // which is not part of the text) the caret steps by character and cells are counted by
    // character width; Windows-1252 text is one byte, one character. Changing it between the two
    // families counts cells and wraps afresh; the bytes stay as they are.
    TTextEncoding Encoding() const { return Enc; }
    bool Utf8() const { return Enc != TTextEncoding::Windows1252; }
    void SetEncoding(TTextEncoding Value);
    // The same as an edit: recorded for undo (within the caller's group, so that a conversion of
    // the bytes and the change of encoding are one step), and the text counts as changed.
    void ChangeEncoding(TTextEncoding Value);
    // Trailing spaces and tabs are dropped from appended paragraphs (file loading).
    bool TrimWhiteSpace() const { return Trim; }
    void SetTrimWhiteSpace(bool Value) { Trim = Value; }

    // --- Editing. Each call is one undoable change unless a group is open; offsets past the end of
    // a paragraph (ScrollPastEnd) are reached by filling with spaces.
    // Inserts characters (no line breaks) at (Para, Offset).
    int InsertChars(int Para, int Offset, std::string_view Chars);
    // Deletes up to Count characters from (Para, Offset), cut at the paragraph end.
    int DeleteChars(int Para, int Offset, int Count);
    // Replaces up to OldCount characters at (Para, Offset) by New (overwrite typing, replace).
    int ReplaceChars(int Para, int Offset, int OldCount, std::string_view New);
    // Enter: the characters from Offset on become a new paragraph after Para; blanks before Offset
    // are dropped; Indent screen columns are put at the new paragraph's start (tabs, then spaces).
    // Offset 1 inserts an empty paragraph before Para. The caret goes to (Para + 1, 1 + indent).
    int SplitPara(int Para, int Offset, int Indent = 0);
    // Appends paragraph Para + 1 to Para at Offset (at least its end; past it, spaces fill the gap).
    // An empty Para is deleted instead. Fails with 266 when the result would be too long.
    int JoinPara(int Para, int Offset);
    // Deletes the characters from From up to To (exclusive; the ends may come in either order),
    // joining the paragraphs around it; both offsets 1 deletes whole paragraphs. Fails with 266,
    // changing nothing, when the joined remains would be too long.
    int DeleteRange(TParaPos From, TParaPos To);
    // Inserts text that may hold line breaks (CR LF, LF, CR CR LF, or a CR ending the text) at
    // (Para, Offset); a text with breaks is one undo group, one without merges with typing.
    // End (when given) receives the position after the inserted text.
    int InsertText(int Para, int Offset, std::string_view Text, TParaPos *End = nullptr);
    // A new paragraph before or after Para, holding Text (no line breaks).
    int InsertParaBefore(int Para, std::string_view Text);
    int InsertParaAfter(int Para, std::string_view Text);
    // Removes paragraph Para; the only paragraph is emptied instead.
    void DeletePara(int Para);
    // File loading: a paragraph linked in before the last one, with the line end it was read
    // with; trailing blanks dropped when TrimWhiteSpace. A text longer than ParaLengthLimit is
    // refused (268), never cut. Records no undo and leaves Modified alone.
    int AppendParagraph(std::string_view Text, TLineEnd End = TLineEnd::Default);

    // Groups: everything between BeginGroup and the matching EndGroup is one undo step, and its
    // changed lines are reported together. Nested groups join the outer one.
    bool BeginGroup();
    void EndGroup(bool WasOpen);
    // Whether undo records of about Bytes fit the undo memory (always true without undo memory,
    // where nothing is recorded anyway).
    bool UndoFits(std::int64_t Bytes) const
    {
        return UndoBufferSize() == 0 || Bytes <= static_cast<std::int64_t>(UndoBufferSize());
    }
    // While it lives nothing is recorded; it starts by clearing the history, so a change too large
    // to be undone leaves no steps that would undo only part of the text's past.
    class TUnrecorded {
    public:
        explicit TUnrecorded(TParaList &L);
        ~TUnrecorded();
        TUnrecorded(const TUnrecorded &) = delete;
        TUnrecorded &operator=(const TUnrecorded &) = delete;

    private:
        TParaList &List;
        bool Was;
    };
    class TGroup {
    public:
        explicit TGroup(TParaList &L) : List(L), Was(L.BeginGroup()) {}
        ~TGroup() { List.EndGroup(Was); }
        TGroup(const TGroup &) = delete;
        TGroup &operator=(const TGroup &) = delete;

    private:
        TParaList &List;
        bool Was;
    };

    // Display lines touched by the last edit (or group, undo, redo): repaint First..Last; Last is
    // RestOfText when everything below First may have moved. First is 0 when nothing changed.
    int ChangedFirstLine() const { return ChangedFirst; }
    int ChangedLastLine() const { return ChangedLast; }

    // --- Undo. Undo and Redo return where the caret goes, nullopt when there is nothing to do
    // (the view beeps). The changed lines cover the whole group.
    std::optional<TParaPos> Undo();
    std::optional<TParaPos> Redo();
    bool CanUndo() const { return UndoBuf->CanUndo(); }
    bool CanRedo() const { return UndoBuf->CanRedo(); }
    std::uint32_t UndoBufferSize() const { return UndoBuf->Size(); }
    // Replaces the undo buffer, discarding the history.
    void SetUndoBufferSize(std::uint32_t Size);
    const TUndoBuffer &UndoBuffer() const { return *UndoBuf; }

    // True after any change made through the list (not by loading); false after a save sets it,
    // which also marks the undo history so that undoing past the save shows the text modified.
    bool Modified() const { return Mod; }
    void SetModified(bool Value);
    // Counts the changes of the text (edits, undo, redo, clearing): equal counts, equal text.
    std::uint64_t EditCount() const { return Edits; }

    // --- Bookmarks 0..9 as paragraph positions; (0, 0) = not set. Other digits are ignored.
    TParaPos Bookmark(int Digit) const;
    // Raises EInvalidLineOrCol when the position is outside the text (offset 1..ParaLengthLimit + 1).
    void SetBookmark(int Digit, int Para, int Offset);
    void ClearBookmark(int Digit);

    // Recounts paragraphs, lines and bytes and re-wraps every paragraph from scratch, comparing
    // with what the list holds; for tests. Why receives the first difference.
    bool CheckIntegrity(std::string *Why = nullptr) const;
    // Debug and sanitizer builds: stops the program when the store or its undo records are
    // broken (called after every change); nothing in other builds.
#ifdef PELMAR_CHECKS
    void DebugCheck() const;
#else
    void DebugCheck() const {}
#endif

private:
    bool UndoModified() const override { return Mod; }
    void SetUndoModified(bool Value) override { Mod = Value; }
    TParaPos ReplayUndoStep(const TUndoStep &Step, bool Redo) override;

    struct TEditScope;
    void CheckPara(int Para) const;
    int WrapWidth() const;
    void WrapNode(TParaNode &Node) const;
    void WrapNode(const TParaRef &Node) const;
    void RewrapEdited(int Para, int EditOffset, int Deleted, int Inserted);
    void RewrapAll();
    // The tab size or the encoding changed: every paragraph's cells are counted afresh.
    void CellsChanged();
    void MarkChanged(int First, int Last);
    void Shift(const TPosShift &S);
    TParaNode MakeNode(std::string_view Text) const;
    const TEdCellIndex *CellIndex(const TParaRef &N) const;
    int NodeWidth(const TParaRef &N) const;
    // The paragraph may have grown wider than the longest line.
    void Widened(const TParaRef &N);

    // Primitive steps; each records itself unless replaying.
    // Check false skips the limit checks (the caller made them, or undo replays).
    int DoInsertChars(int Para, int Offset, std::string_view Chars, bool Check);
    void DoDeleteChars(int Para, int Offset, int Count);
    int DoReplaceChars(int Para, int Offset, int OldCount, std::string_view New, bool Check);
    // The new paragraph becomes number N.
    // Stashed: Text ends with the paragraph's line end as DoDeleteParas left it.
    int DoInsertPara(int N, std::string Text, TUndoKind Kind, bool Check, bool Stashed = false);
    // Removes Count paragraphs from First; when replaying, returns the (last) removed text, its
    // line end stashed after it.
    std::string DoDeleteParas(int First, int Count);
    int DoSplit(int Para, int Offset, int Indent);
    int DoJoin(int Para, int Offset);

    TParaListObserver *Owner;
    mutable TParaStore Store;
    std::int64_t Bytes = 0;
    int ParaLim = MaxLimit;
    int ByteLim = MaxLimit;
    int ParaLenLim = MaxParaLength;
    bool Wrap = false;
    int WrapCol = 80;
    int Tab = 8;
    TTextEncoding Enc = TTextEncoding::Windows1252;
    bool Trim = true;
    bool Mod = false;
    std::uint64_t Edits = 0;
    mutable int Longest = 0;
    mutable bool LongestKnown = true;
    bool Tracking = true;
    bool Replaying = false;
    int EditDepth = 0;
    int ChangedFirst = 0;
    int ChangedLast = 0;
    std::array<TParaPos, 10> Marks{};
    std::unique_ptr<TUndoBuffer> UndoBuf;
};
