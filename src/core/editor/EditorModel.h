// TEdModel: the editor's model without a window: the text store, the caret and the stream
// selection, the key commands that move, type, delete and overwrite, the clipboard commands, undo,
// bookmarks, search and replace. A view (the editor widget, or a test's stand-in) implements
// TEdView to repaint, scroll, beep and reach the clipboard.
#pragma once

#include "core/editor/ParaList.h"

#include <memory>
#include <string>
#include <string_view>

enum TEdTabType { ttReal, ttFixed, ttSmart };

// What the model asks of its view. Lines are display lines counted from 1.
class TEdView {
public:
    virtual ~TEdView() = default;
    // Repaints display lines First..Last (Last may be TParaList::RestOfText); First < 1: nothing.
    virtual void ViewInvalidateLines(int First, int Last) = 0;
    // Repaints everything.
    virtual void ViewInvalidate() = 0;
    // Positions the view keeps in the text (its top line, the mouse's anchor) follow an edit.
    virtual void ViewShifted(const TPosShift &Shift) = 0;
    // The display lines changed: the top line follows the text it showed.
    virtual void ViewSyncTopLine() = 0;
    // The number of display lines or the longest line may have changed.
    virtual void ViewUpdateScrollRange() = 0;
    // The text was wrapped afresh (all of it may have moved).
    virtual void ViewRewrapped() = 0;
    // The caret is about to move (the view remembers where it was drawn).
    virtual void ViewCaretMoving() = 0;
    // The caret moved from display line OldLine: scroll it into view (keeping its row on the screen
    // when KeepRow and it was visible), show it and report the status.
    virtual void ViewCaretMoved(int OldLine, bool KeepRow) = 0;
    // The first display line shown and the number of rows shown in full.
    virtual int ViewTopLine() const = 0;
    virtual int ViewRows() const = 0;
    // Scrolls so that display line Line is at the top (the horizontal scroll stays).
    virtual void ViewScrollToLine(int Line) = 0;
    virtual void ViewScrollLines(int Delta) = 0;
    // The text changed.
    virtual void ViewChanged() = 0;
    // A non-zero error code of an operation: raised or reported.
    virtual void ViewError(int Code) = 0;
    virtual void ViewBeep() = 0;
    // The clipboard's text in the document's bytes, and setting it from the document's bytes.
    virtual std::string ViewClipboardText() = 0;
    virtual void ViewSetClipboardText(const std::string &Text) = 0;
    // Ins was pressed: the view switches the (shared) insert mode to Value.
    virtual void ViewSetInsertMode(bool Value) = 0;
    // A bookmark was set.
    virtual void ViewBookmarksChanged() = 0;
    // Asks a Yes/No question; true for Yes.
    virtual bool ViewConfirm(const std::string &Question) = 0;
};

// The question before a change too large for the undo memory.
inline constexpr const char *kCannotUndoQuestion = "This change cannot be undone.  Go on?";

class TEdModel : private TParaListObserver {
public:
    explicit TEdModel(TEdView &View);
    ~TEdModel() override;
    TEdModel(const TEdModel &) = delete;
    TEdModel &operator=(const TEdModel &) = delete;

    TParaList &List() { return *FList; }
    const TParaList &List() const { return *FList; }

    // --- Caret and selection. The caret is a display line and character column, kept together
    // with its paragraph position; the selection runs from SelStart to SelEnd (equal: none).
    int CaretLine() const { return FCaretLine; }
    int CaretCol() const { return FCaretCol; }
    TParaPos CaretPos() const { return FCaretPP; }
    TParaPos SelStart() const { return FSelStart; }
    TParaPos SelEnd() const { return FSelEnd; }
    bool HasSelection() const { return FSelStart != FSelEnd; }
    // The caret's screen column (tabs expanded).
    int CaretScreenColumn() const;
    // The caret's column as the status bar shows it: CaretScreenColumn in a Windows-1252 text; in a
    // UTF-8 text tabs are expanded as there but every other character counts one column, however
    // many bytes and cells it takes.
    int CaretStatusColumn() const;
    // The last column the caret may take on display line Line.
    int ColumnLimit(int Line) const;
    // Moves the caret to (Line, Col), both clamped, a column inside a character to its first byte;
    // Extend keeps the anchor (Anchor, when given, replaces it); KeepRow keeps the caret's row on
    // the screen.
    void MoveCaret(int Line, int Col, bool Extend, bool KeepRow = false, const TParaPos *Anchor = nullptr);
    void MoveCaretToPara(TParaPos Pos, bool Extend);
    void SelectParaRange(TParaPos Anchor, TParaPos Caret);
    void CollapseSelection();
    void MoveVertical(int Delta, bool Extend, bool KeepRow);
    // The caret's line and column follow its paragraph position after the lines changed.
    void SyncLinePositions();
    // After the text was replaced wholesale: caret and selection at (1, 1).
    void TextReplaced();

    int GetCaretPosition(int &Col) const;
    // Raises EInvalidLineOrPara when Line is not 1..LineCount or Col < 1.
    void SetCaretPosition(int Line, int Col);
    bool GetSelection(int &Line1, int &Col1, int &Line2, int &Col2) const;
    void SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd);
    void SelectAll(bool CaretAtEnd);
    // The selected characters with CR LF between paragraphs (empty without a selection).
    std::string SelectedText() const;

    // --- Editing. Errors go to the view, except where a code is returned.
    // Executes one command number with its character (for ccChar); false when it has no action.
    bool ProcessCommand(int Command, char Ch);
    // Types one character given as its bytes in the document's encoding at the caret, as ccChar
    // types a byte: over the selection, overwriting one whole character in overwrite mode, and
    // merging with the typing before it into one undo step.
    void TypeText(std::string_view Bytes);
    // Replaces the selection by Text at the caret (one undo step); returns an error code.
    int InsertString(std::string_view Text);
    void DeleteSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo() { StepHistory(false); }
    void Redo() { StepHistory(true); }
    void SetBookmark(int Digit);
    // Raises EInvalidLineOrCol when the position is outside the text.
    void SetBookmarkAt(int Digit, int Line, int Col);
    void GotoMarker(int Digit);
    // Finds Text with the options (soBackward, soMatchCase, ...); true when found.
    bool Search(std::string_view Text, unsigned char Options);
    // Number of replacements; 0 when a match was found without replacing; -1 when not found.
    int Replace(std::string_view Text, std::string_view ReplaceText, unsigned char Options);
    // Runs a change of about Bytes of undo records as one undo step; when it would not fit the
    // undo memory, asks first: No changes nothing (false), Yes runs it unrecorded with the history
    // cleared.
    template <class F> bool AsOneStep(std::int64_t Bytes, F Change)
    {
        if (!FList->UndoFits(Bytes)) {
            if (!FView.ViewConfirm(kCannotUndoQuestion))
                return false;
            TParaList::TUnrecorded unrecorded(*FList);
            Change();
            return true;
        }
        TParaList::TGroup group(*FList);
        Change();
        return true;
    }

    // --- Properties of editing.
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool Value) { FAutoIndent = Value; }
    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool Value) { FInsertMode = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool ScrollPastEnd() const { return FScrollPastEnd; }
    void SetScrollPastEnd(bool Value) { FScrollPastEnd = Value; }
    TEdTabType TabType() const { return FTabType; }
    void SetTabType(TEdTabType Value) { FTabType = Value; }
    bool WrapAtLeft() const { return FWrapAtLeft; }
    void SetWrapAtLeft(bool Value) { FWrapAtLeft = Value; }

private:
    // TParaListObserver
    void ParaListShifted(const TParaList &L, const TPosShift &Shift) override;
    void ParaListRewrapped(const TParaList &L) override;

    bool CanEdit() const { return !FReadOnly; }
    int DeleteSelectionCode();
    void AfterEdit(bool Changed);
    // Types Ch (one character's bytes) at the caret, over the selection; Inserting inserts even in
    // overwrite mode.
    void TypeChar(std::string_view Ch, bool Inserting = false);
    // A column of display line Line moved back to the first byte of the character it lies in.
    int CharStartCol(int Line, int Col) const;
    // A paragraph position moved back to the first byte of the character it lies in.
    TParaPos CharStartPos(TParaPos Pos) const;
    void CmdBack();
    void CmdDel();
    void CmdNewLine();
    void CmdDelEol();
    void CmdDelLine();
    void CmdDelWord();
    void CmdLeft(bool Extend);
    void CmdRight(bool Extend);
    void CmdWordLeft(bool Extend);
    void CmdWordRight(bool Extend);
    void CmdEnd(bool Extend);
    void CmdTopOfPage(bool Extend);
    void CmdBotOfPage(bool Extend);
    void CmdTab();
    void StepHistory(bool Forward);
    int SearchReplace(std::string_view Text, std::string_view ReplaceText, unsigned char Options);

    TEdView &FView;
    std::unique_ptr<TParaList> FList;

    int FCaretLine = 1;
    int FCaretCol = 1;
    TParaPos FCaretPP{1, 1};  // the caret as paragraph position, moved by edits
    TParaPos FSelStart{1, 1};
    TParaPos FSelEnd{1, 1};
    TParaPos FMovingEnd{1, 1};

    bool FAutoIndent = false;
    bool FInsertMode = true;
    bool FReadOnly = false;
    bool FScrollPastEnd = false;
    TEdTabType FTabType = ttReal;
    bool FWrapAtLeft = true;
};
