// TEdCustomEditor: the editor control showing a TParaList in one fixed-pitch font, with caret,
// stream selection, scroll bars, bookmarks, key commands, mouse, clipboard, undo and search.
#pragma once

#include "core/editor/EditorModel.h"
#include "core/editor/ParaList.h"
#include "ui/editor/EditorBase.h"
#include "ui/editor/Caret.h"
#include "ui/editor/CharGlyphs.h"
#include "ui/editor/EditorColors.h"
#include "ui/editor/FixedFont.h"

#include <QCursor>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QPainter;

enum TEdBorderStyle { bsNone, bsSingle };
enum TEdScrollBars { ssNone, ssHorizontal, ssVertical, ssBoth };

class TEdCustomEditor : public TEdEditBase, private TEdView {
    Q_OBJECT
public:
    explicit TEdCustomEditor(QWidget *Parent = nullptr);
    ~TEdCustomEditor() override;

    // --- Events (assign to listen). OnError, when assigned, receives error codes instead of an
    // EEditorError being raised. OnShowStatus comes after the operation that moved the caret.
    std::function<void(TEdCustomEditor *Sender, int LineNum, int ColNum)> OnShowStatus;
    std::function<void(TEdCustomEditor *Sender, int Command)> OnUserCommand;
    std::function<void(TEdCustomEditor *Sender, int Line)> OnTopLineChanged;
    std::function<void(TEdCustomEditor *Sender, int ErrorCode)> OnError;
    std::function<void(TEdCustomEditor *Sender)> OnChange;

    // --- The text model, shared with the painters and file editors built on this control.
    TParaList &ParaList() { return *List; }
    const TParaList &ParaList() const { return *List; }
    int LineCount() const { return List->LineCount(); }
    int ParaCount() const { return List->ParaCount(); }
    // Replaces the text by one empty paragraph; caret, top line and scroll go back to (1, 1).
    void ClearText();
    // Call after the text was filled directly through ParaList() (loading): caret to (1, 1), the
    // scroll bars recomputed, everything repainted.
    void TextReplaced();

    // --- Operations.
    // The caret's display line; Col receives its character column.
    int GetCaretPosition(int &Col) const;
    // Raises EInvalidLineOrPara when Line is not 1..LineCount or Col < 1.
    void SetCaretPosition(int Line, int Col);
    bool GetSelection(int &Line1, int &Col1, int &Line2, int &Col2) const;
    void SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd);
    void SelectAll(bool CaretAtEnd);
    bool HasSelection() const { return Model.HasSelection(); }
    // The selected characters with CR LF between paragraphs (empty without a selection).
    std::string SelectedText() const;
    // Replaces the selection by Text at the caret (one undo step); returns an error code, never
    // raises; does nothing in read-only mode.
    int InsertString(std::string_view Text);
    void DeleteSelection();
    // Copies up to Size - 1 characters of display line Line (tabs kept) and a terminating zero.
    char *GetLine(int Line, char *Buffer, int Size) const;
    std::string GetLine(int Line) const;
    // The display line with tabs expanded.
    std::string GetStringLine(int Line) const;
    int GetLineLength(int Line) const;
    // The stored text of a paragraph (read only) and its length.
    const char *GetParaPointer(int Para, int &Length) const;
    int VisibleColumns();
    int VisibleRows();
    bool Modified() const { return List->Modified(); }
    void SetModified(bool Value);
    // Runs Change as one undo step, asking first when about Bytes of undo records would not fit
    // the undo memory (false: the user said No and nothing changed).
    template <class F> bool AsOneStep(std::int64_t Bytes, F Change) { return Model.AsOneStep(Bytes, Change); }
    // Finds Text with the options (soBackward, soMatchCase, ...); true when found.
    bool Search(std::string_view Text, unsigned char Options);
    // Number of replacements; 0 when a match was found without replacing; -1 when not found.
    virtual int Replace(std::string_view Text, std::string_view ReplaceText, unsigned char Options);
    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    virtual void Undo();
    virtual void Redo();
    // Executes one command number with its character (for ccChar); false when it has no action.
    virtual bool ProcessCommand(int Command, char Ch);
    virtual void SetBookmark(int Digit);
    // Raises EInvalidLineOrCol when the position is outside the text.
    virtual void SetBookmarkAt(int Digit, int Line, int Col);

    // --- View state.
    int TopLine() const { return FTopLine; }
    void SetTopLine(int Line);
    int HScroll() const { return FHScroll; }
    int CharWidth() const { return FCharWidth; }
    int LineHeight() const { return FLineHeight; }
    // The caret's screen column (tabs expanded).
    int CaretScreenColumn() const { return Model.CaretScreenColumn(); }
    // The caret's column as OnShowStatus reports it: the screen column in a Windows-1252 text;
    // in a UTF-8 text one column per character, tabs expanded.
    int CaretStatusColumn() const { return Model.CaretStatusColumn(); }
    // Document bytes as the characters they stand for in the text's encoding, and characters as
    // the text's bytes (in a Windows-1252 text one the code page lacks becomes a numeric character
    // reference): the conversions of the clipboard, the primary selection and typed text.
    QString DocumentText(std::string_view Bytes) const;
    std::string DocumentBytes(const QString &Text) const;
    // Types what the keyboard (FromKeys) or an input method gives, one character at a time, as
    // the text's bytes; control characters are left out.
    void TypeString(const QString &Text, bool FromKeys);

    // --- Properties.
    bool AutoIndent() const { return Model.AutoIndent(); }
    void SetAutoIndent(bool Value) { Model.SetAutoIndent(Value); }
    TEdBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TEdBorderStyle Value);
    int ByteLimit() const { return List->ByteLimit(); }
    virtual void SetByteLimit(int Value);
    TEdCaret &CaretIns() { return FCaretIns; }
    TEdCaret &CaretOvr() { return FCaretOvr; }
    TEdFixedFont &FixedFont() { return FFixedFont; }
    const TEdFixedFont &FixedFont() const { return FFixedFont; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    TEdColors &HighlightColors() { return FHighlightColors; }
    bool InsertMode() const { return Model.InsertMode(); }
    void SetInsertMode(bool Value);
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int Value);
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int Value);
    // Sets both margins (the stored "Margin" of older forms).
    void SetMargin(int Value);
    int ParaLengthLimit() const { return List->ParaLengthLimit(); }
    void SetParaLengthLimit(int Value) { List->SetParaLengthLimit(Value); }
    int ParaLimit() const { return List->ParaLimit(); }
    void SetParaLimit(int Value) { List->SetParaLimit(Value); }
    bool ReadOnly() const { return GetReadOnly(); }
    virtual bool GetReadOnly() const { return Model.ReadOnly(); }
    void SetReadOnly(bool Value) { Model.SetReadOnly(Value); }
    TEdScrollBars ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TEdScrollBars Value);
    bool ScrollBarsAlways() const { return FScrollBarsAlways; }
    void SetScrollBarsAlways(bool Value);
    bool ScrollPastEnd() const { return Model.ScrollPastEnd(); }
    void SetScrollPastEnd(bool Value);
    bool ShowBookmarks() const { return FShowBookmarks; }
    void SetShowBookmarks(bool Value);
    int TabSize() const { return List->TabSize(); }
    void SetTabSize(int Value);
    TEdTabType TabType() const { return Model.TabType(); }
    void SetTabType(TEdTabType Value) { Model.SetTabType(Value); }
    bool TrimWhiteSpace() const { return List->TrimWhiteSpace(); }
    void SetTrimWhiteSpace(bool Value) { List->SetTrimWhiteSpace(Value); }
    int UndoBufferSize() const { return List->UndoBufferSize(); }
    void SetUndoBufferSize(int Value);
    bool WantEnter() const { return FWantEnter; }
    void SetWantEnter(bool Value) { FWantEnter = Value; }
    bool WantTab() const { return FWantTab; }
    void SetWantTab(bool Value) { FWantTab = Value; }
    bool WordWrap() const { return List->WordWrap(); }
    void SetWordWrap(bool Value);
    bool WrapAtLeft() const { return Model.WrapAtLeft(); }
    void SetWrapAtLeft(bool Value);
    int WrapColumn() const { return List->WrapColumn(); }
    void SetWrapColumn(int Value);
    bool WrapToWindow() const { return FWrapToWindow; }
    void SetWrapToWindow(bool Value);

    QSize sizeHint() const override { return {200, 150}; }

protected:
    // --- Painting. PaintRows paints display lines First..Last (all within the text and the
    // view): the background of each row right of the left margin and its characters. Painters
    // that colour the text replace only this function and use the helpers below.
    virtual void PaintRows(QPainter &Painter, int First, int Last);
    // Top pixel row of display line Line.
    int RowY(int Line) const { return (Line - FTopLine) * FLineHeight; }
    // Left pixel of screen column ScreenCol (from 1).
    int ColumnX(int ScreenCol) const { return (ScreenCol - FHScroll - 1) * FCharWidth + FLeftMargin; }
    // Character columns [From, To) of display line Line that are selected (To may be the line
    // length + 2 when the line break is selected); false when none are or selections are hidden.
    bool LineSelection(int Line, int &From, int &To) const;
    // Draws characters [FromCol, ToCol) of a display line at pixel row Y, tabs expanded and
    // clipped to the visible columns, over a background of Back.
    void DrawSegment(QPainter &Painter, int Y, const TEdCells &Cells, int FromCol, int ToCol,
                     const QColor &Fore, const QColor &Back) const;
    // Draws one character of a UTF-8 line at its cell's left X in row Y, clipped to its Cells
    // cells: the painter's font or, for a script it lacks, one of the system's fallback fonts.
    void DrawCellChar(QPainter &Painter, int X, int Y, int Cells, std::string_view Bytes) const;
    QColor TextColor() const;
    QColor BackgroundColor() const;
    // Repaints display lines First..Last (Last may be TParaList::RestOfText).
    void InvalidateLines(int First, int Last);

    // --- Event dispatch (virtual so descendants can intercept).
    virtual void DoOnChange();
    virtual void DoOnError(int Code);
    virtual void DoOnShowStatus(int Line, int Col);
    virtual void DoOnTopLineChanged(int Line);
    virtual void DoOnUserCommand(int Command);
    // Raises EEditorError for a non-zero code, or hands it to OnError when assigned.
    void RaiseError(int Code);

    // --- Qt events.
    bool event(QEvent *E) override;
    void paintEvent(QPaintEvent *E) override;
    void resizeEvent(QResizeEvent *E) override;
    void keyPressEvent(QKeyEvent *E) override;
    void inputMethodEvent(QInputMethodEvent *E) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery Query) const override;
    void mousePressEvent(QMouseEvent *E) override;
    void mouseMoveEvent(QMouseEvent *E) override;
    void mouseReleaseEvent(QMouseEvent *E) override;
    void mouseDoubleClickEvent(QMouseEvent *E) override;
    void wheelEvent(QWheelEvent *E) override;
    void focusInEvent(QFocusEvent *E) override;
    void focusOutEvent(QFocusEvent *E) override;
    void scrollContentsBy(int, int) override {}
    bool viewportEvent(QEvent *E) override;
    void changeEvent(QEvent *E) override;

    // True when an enabled action of this window (shown or hidden, reachable through its menus or
    // widgets) owns the key as its shortcut: such keys never reach the key table.
    bool MenuOwnsKey(const QKeyEvent *E) const;

private:
    // TEdView
    void ViewInvalidateLines(int First, int Last) override { InvalidateLines(First, Last); }
    void ViewInvalidate() override;
    void ViewShifted(const TPosShift &Shift) override;
    void ViewSyncTopLine() override;
    void ViewUpdateScrollRange() override { UpdateScrollBars(); }
    void ViewRewrapped() override;
    void ViewCaretMoving() override;
    void ViewCaretMoved(int OldLine, bool KeepRow) override;
    int ViewTopLine() const override { return FTopLine; }
    int ViewRows() const override { return FVisibleRows; }
    void ViewScrollToLine(int Line) override { ScrollTo(FHScroll, Line); }
    void ViewScrollLines(int Delta) override { ScrollBy(0, Delta); }
    void ViewChanged() override { DoOnChange(); }
    void ViewError(int Code) override { RaiseError(Code); }
    void ViewBeep() override;
    std::string ViewClipboardText() override;
    void ViewSetClipboardText(const std::string &Text) override;
    void ViewSetInsertMode(bool Value) override { SetInsertMode(Value); }
    void ViewBookmarksChanged() override;
    bool ViewConfirm(const std::string &Question) override;

    // Draws the input method's text being composed at the caret.
    void PaintPreedit(QPainter &Painter);
    // Caret display and scrolling.
    void ScrollCaretIntoView(int OldLine, bool KeepRow, bool CaretWasVisible);
    void PlaceCaret();
    // Queues one status report for the caret as it is when the report runs; reports asked for
    // before that are one and the same.
    void PostStatus();
    // The X11 primary selection takes the selected text (where the system has one).
    void UpdatePrimarySelection();
    QRect CaretRect() const;
    TEdCaret &CurrentCaret() { return Model.InsertMode() ? FCaretIns : FCaretOvr; }
    const TEdCaret &CurrentCaret() const { return Model.InsertMode() ? FCaretIns : FCaretOvr; }
    void RestartCaretBlink();

    // Scrolling.
    void ScrollBy(int Columns, int Lines);
    void ScrollTo(int NewHScroll, int NewTopLine);
    int MaxTopLine() const;
    void UpdateScrollBars();
    void VScrollAction(int Action);
    void HScrollAction(int Action);

    // Metrics.
    void RecalcMetrics();
    void FontChanged();
    QRect TextRect() const;

    // Keys and mouse.
    void HandleKey(QKeyEvent *E);
    bool TableBindsKey(int Key, int Shift) const;
    struct TMousePoint {
        int Line;
        int Col;
    };
    TMousePoint MouseToText(QPoint P) const;
    void MouseTrack(QPoint P, bool First, bool Shift);
    void AutoScrollTick();
    void PaintMargin(QPainter &Painter, int First, int Last);

    // The caret, selection and commands; the text store is the model's.
    TEdModel Model;
    TParaList *const List;

    TParaPos TopPos{1, 1};  // the top line's text, moved by edits
    int FTopLine = 1;
    int FHScroll = 0;
    bool Tracking = false;  // positions are being moved by an edit

    int FCharWidth = 8;
    int FLineHeight = 16;
    int FVisibleColumns = 1;
    int FVisibleRows = 1;
    QFont DrawFont;

    // Caret display.
    QTimer BlinkTimer;
    bool CaretShown = false;
    bool CaretOn = false;  // the blink phase
    QRect FOldCaretRect;     // where the caret was drawn before a move
    bool FCaretWasVisible = false;

    // Mouse.
    bool Dragging = false;
    bool LineMarginMode = false;
    TParaPos MarginAnchor{1, 1};
    QPoint LastMouse;
    QTimer AutoScrollTimer;
    QCursor MarginCursor;

    bool PaintPending = false;
    int WheelRest = 0;
    QString Preedit;  // the input method's text being composed
    // Selection ends as line positions, refreshed for each paint.
    // The shapes of the characters beyond ASCII drawn so far.
    mutable TCharGlyphs FCharGlyphs;
    mutable TLinePos PaintSelStart;
    mutable TLinePos PaintSelEnd;

    // Properties.
    TEdBorderStyle FBorderStyle = bsSingle;
    TEdCaret FCaretIns;
    TEdCaret FCaretOvr;
    TEdFixedFont FFixedFont;
    bool FHideSelection = true;
    TEdColors FHighlightColors;
    int FLeftMargin = 15;
    int FRightMargin = 5;
    bool FStatusPending = false;
    TEdScrollBars FScrollBars = ssBoth;
    bool FScrollBarsAlways = false;
    bool FShowBookmarks = true;
    bool FWantEnter = true;
    bool FWantTab = false;
    bool FWrapToWindow = false;
};
