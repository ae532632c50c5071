// TEdModel: the editor's caret, selection and commands over a TParaList, without a window.
#include "core/editor/EditorModel.h"

#include "core/editor/Chars.h"
#include "core/editor/Columns.h"
#include "core/editor/EditorErrors.h"
#include "core/editor/KeyCommands.h"
#include "core/editor/Search.h"

#include <algorithm>
#include <optional>

TEdModel::TEdModel(TEdView &View) : FView(View), FList(std::make_unique<TParaList>(static_cast<TParaListObserver *>(this))) {}

TEdModel::~TEdModel()
{
    FList->SetObserver(nullptr);
}

// --- Following the text -----------------------------------------------------------------------

void TEdModel::ParaListShifted(const TParaList &, const TPosShift &Shift)
{
    Shift.Apply(FCaretPP);
    Shift.Apply(FSelStart);
    Shift.Apply(FSelEnd);
    Shift.Apply(FMovingEnd);
    FView.ViewShifted(Shift);
}

void TEdModel::ParaListRewrapped(const TParaList &)
{
    SyncLinePositions();
    FView.ViewRewrapped();
}

void TEdModel::SyncLinePositions()
{
    FCaretPP.Para = std::clamp(FCaretPP.Para, 1, FList->ParaCount());
    FCaretPP.Offset = std::max(FCaretPP.Offset, 1);
    const TLinePos lp = FList->ParaToLine(FCaretPP);
    FCaretLine = lp.Line;
    FCaretCol = lp.Col;
    if (FSelStart > FSelEnd)
        std::swap(FSelStart, FSelEnd);
    FView.ViewSyncTopLine();
}

void TEdModel::TextReplaced()
{
    FCaretPP = FSelStart = FSelEnd = FMovingEnd = {1, 1};
    FCaretLine = FCaretCol = 1;
}

void TEdModel::AfterEdit(bool Changed)
{
    FView.ViewInvalidateLines(FList->ChangedFirstLine(), FList->ChangedLastLine());
    SyncLinePositions();
    FView.ViewUpdateScrollRange();
    if (Changed)
        FView.ViewChanged();
    FList->DebugCheck();
}

// --- Caret and selection ----------------------------------------------------------------------

int TEdModel::CaretScreenColumn() const
{
    return FList->LineCells(FCaretLine).ScreenColumn(FCaretCol);
}

int TEdModel::CaretStatusColumn() const
{
    if (!FList->Utf8())
        return CaretScreenColumn();
    const std::string_view line = FList->GetLine(FCaretLine);
    const std::size_t caret = static_cast<std::size_t>(FCaretCol - 1);
    const int tab = FList->TabSize();
    std::int64_t col = 0;
    std::size_t at = 0;
    for (; at < line.size() && at < caret; at = EdNextChar(line, at, true))
        col += line[at] == '\t' ? tab - col % tab : 1;
    if (caret > at)
        col += static_cast<std::int64_t>(caret - at);
    return static_cast<int>(std::min<std::int64_t>(col + 1, 2147483647));
}

int TEdModel::CharStartCol(int Line, int Col) const
{
    if (!FList->Utf8() || Col <= 1)
        return Col;
    return static_cast<int>(EdCharStart(FList->GetLine(Line), static_cast<std::size_t>(Col - 1), true)) + 1;
}

TParaPos TEdModel::CharStartPos(TParaPos Pos) const
{
    if (!FList->Utf8() || Pos.Offset <= 1)
        return Pos;
    return {Pos.Para, static_cast<int>(EdCharStart(FList->ParaText(Pos.Para), static_cast<std::size_t>(Pos.Offset - 1), true)) + 1};
}

int TEdModel::ColumnLimit(int Line) const
{
    if (FScrollPastEnd)
        return FList->LineCells(Line).CharColumn(FList->ParaLengthLimit() + 1);
    return FList->LineLength(Line) + 1;
}

void TEdModel::MoveCaret(int Line, int Col, bool Extend, bool KeepRow, const TParaPos *Anchor)
{
    const int oldLine = FCaretLine;
    const TParaPos oldPos = FCaretPP;
    FView.ViewCaretMoving();

    Line = std::clamp(Line, 1, FList->LineCount());
    Col = CharStartCol(Line, std::clamp(Col, 1, std::max(1, ColumnLimit(Line))));
    FCaretLine = Line;
    FCaretCol = Col;
    const TParaPos start = FList->LineToPara(Line);
    FCaretPP = {start.Para, start.Offset + FCaretCol};

    const int oldFirst = FList->ParaToLine(FSelStart).Line;
    const int oldLast = FList->ParaToLine(FSelEnd).Line;
    const bool had = HasSelection();
    if (Extend || Anchor) {
        TParaPos anchor;
        if (Anchor)
            anchor = CharStartPos(*Anchor);
        else if (!had)
            anchor = oldPos;
        else
            anchor = FMovingEnd == FSelStart ? FSelEnd : FSelStart;
        const TParaPos oldMoving = had ? FMovingEnd : oldPos;
        FSelStart = std::min(anchor, FCaretPP);
        FSelEnd = std::max(anchor, FCaretPP);
        FMovingEnd = FCaretPP;
        if (Anchor && had) {
            FView.ViewInvalidateLines(oldFirst, oldLast);
            FView.ViewInvalidateLines(FList->ParaToLine(FSelStart).Line, FList->ParaToLine(FSelEnd).Line);
        } else {
            const int a = FList->ParaToLine(oldMoving).Line;
            FView.ViewInvalidateLines(std::min(a, FCaretLine), std::max(a, FCaretLine));
            if (Anchor)
                FView.ViewInvalidateLines(FList->ParaToLine(FSelStart).Line, FList->ParaToLine(FSelEnd).Line);
        }
    } else {
        if (had)
            FView.ViewInvalidateLines(oldFirst, oldLast);
        FSelStart = FSelEnd = FMovingEnd = FCaretPP;
    }
    FView.ViewCaretMoved(oldLine, KeepRow);
}

void TEdModel::MoveCaretToPara(TParaPos Pos, bool Extend)
{
    Pos.Para = std::clamp(Pos.Para, 1, FList->ParaCount());
    const TLinePos lp = FList->ParaToLine(Pos);
    MoveCaret(lp.Line, lp.Col, Extend);
}

void TEdModel::SelectParaRange(TParaPos Anchor, TParaPos Caret)
{
    const TLinePos lp = FList->ParaToLine(Caret);
    MoveCaret(lp.Line, lp.Col, true, false, &Anchor);
}

void TEdModel::CollapseSelection()
{
    if (HasSelection())
        FView.ViewInvalidateLines(FList->ParaToLine(FSelStart).Line, FList->ParaToLine(FSelEnd).Line);
    FSelStart = FSelEnd = FMovingEnd = FCaretPP;
}

void TEdModel::MoveVertical(int Delta, bool Extend, bool KeepRow)
{
    const int screen = CaretScreenColumn();
    const int line = std::clamp(FCaretLine + Delta, 1, FList->LineCount());
    MoveCaret(line, FList->LineCells(line).CharColumn(screen), Extend, KeepRow);
}

int TEdModel::GetCaretPosition(int &Col) const
{
    Col = FCaretCol;
    return FCaretLine;
}

void TEdModel::SetCaretPosition(int Line, int Col)
{
    if (Line < 1 || Line > FList->LineCount() || Col < 1)
        throw EInvalidLineOrPara();
    MoveCaret(Line, std::min(Col, FList->LineLength(Line) + 1), false);
}

bool TEdModel::GetSelection(int &Line1, int &Col1, int &Line2, int &Col2) const
{
    if (!HasSelection())
        return false;
    const TLinePos a = FList->ParaToLine(FSelStart);
    const TLinePos b = FList->ParaToLine(FSelEnd);
    Line1 = a.Line;
    Col1 = a.Col;
    Line2 = b.Line;
    Col2 = b.Col;
    return true;
}

void TEdModel::SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd)
{
    if (FList->ByteCount() == 0)
        return;
    auto cut = [this](int &Line, int &Col) {
        Line = std::clamp(Line, 1, FList->LineCount());
        Col = CharStartCol(Line, std::clamp(Col, 1, FList->LineLength(Line) + 1));
    };
    cut(Line1, Col1);
    cut(Line2, Col2);
    const TParaPos p1 = FList->LineColToPara({Line1, Col1});
    const TParaPos p2 = FList->LineColToPara({Line2, Col2});
    if (CaretAtEnd)
        MoveCaret(Line2, Col2, true, false, &p1);
    else
        MoveCaret(Line1, Col1, true, false, &p2);
}

void TEdModel::SelectAll(bool CaretAtEnd)
{
    // The last column of any line, however long.
    SetSelection(1, 1, 2147483647, 2147483647, CaretAtEnd);
}

std::string TEdModel::SelectedText() const
{
    return HasSelection() ? FList->GetText(FSelStart, FSelEnd) : std::string();
}

// --- Commands ---------------------------------------------------------------------------------

bool TEdModel::ProcessCommand(int Command, char Ch)
{
    const int pageLines = std::max(1, FView.ViewRows() - 1);
    switch (Command) {
    case ccLeft: CmdLeft(false); break;
    case ccExtendLeft: CmdLeft(true); break;
    case ccRight: CmdRight(false); break;
    case ccExtendRight: CmdRight(true); break;
    case ccUp: MoveVertical(-1, false, false); break;
    case ccExtendUp: MoveVertical(-1, true, false); break;
    case ccDown: MoveVertical(1, false, false); break;
    case ccExtendDown: MoveVertical(1, true, false); break;
    case ccWordLeft: CmdWordLeft(false); break;
    case ccExtWordLeft: CmdWordLeft(true); break;
    case ccWordRight: CmdWordRight(false); break;
    case ccExtWordRight: CmdWordRight(true); break;
    case ccHome: MoveCaret(FCaretLine, 1, false); break;
    case ccExtendHome: MoveCaret(FCaretLine, 1, true); break;
    case ccEnd: CmdEnd(false); break;
    case ccExtendEnd: CmdEnd(true); break;
    case ccPrevPage: MoveVertical(-pageLines, false, true); break;
    case ccExtendPgUp: MoveVertical(-pageLines, true, true); break;
    case ccNextPage: MoveVertical(pageLines, false, true); break;
    case ccExtendPgDn: MoveVertical(pageLines, true, true); break;
    case ccTopOfPage: CmdTopOfPage(false); break;
    case ccExtTopOfPage: CmdTopOfPage(true); break;
    case ccBotOfPage: CmdBotOfPage(false); break;
    case ccExtBotOfPage: CmdBotOfPage(true); break;
    case ccFirstPage: MoveCaret(1, 1, false); break;
    case ccExtFirstPage: MoveCaret(1, 1, true); break;
    case ccLastPage: MoveCaret(FList->LineCount(), FList->LineLength(FList->LineCount()) + 1, false); break;
    case ccExtLastPage: MoveCaret(FList->LineCount(), FList->LineLength(FList->LineCount()) + 1, true); break;
    case ccScrollUp: FView.ViewScrollLines(-1); break;
    case ccScrollDown: FView.ViewScrollLines(1); break;
    case ccBack: CmdBack(); break;
    case ccDel: CmdDel(); break;
    case ccDelEol: CmdDelEol(); break;
    case ccDelLine: CmdDelLine(); break;
    case ccDelWord: CmdDelWord(); break;
    case ccNewLine: CmdNewLine(); break;
    case ccTab: CmdTab(); break;
    case ccIns: FView.ViewSetInsertMode(!FInsertMode); break;
    case ccCut: CutToClipboard(); break;
    case ccCopy: CopyToClipboard(); break;
    case ccPaste: PasteFromClipboard(); break;
    case ccUndo: Undo(); break;
    case ccRedo: Redo(); break;
    case ccChar: TypeChar(std::string_view(&Ch, 1)); break;
    default:
        if (Command >= ccGotoMarker0 && Command <= ccGotoMarker0 + 9) {
            GotoMarker(Command - ccGotoMarker0);
            break;
        }
        if (Command >= ccSetMarker0 && Command <= ccSetMarker0 + 9) {
            SetBookmark(Command - ccSetMarker0);
            break;
        }
        return false;
    }
    return true;
}

void TEdModel::CmdTab()
{
    if (CanEdit()) {
        TParaList::TGroup group(*FList);
        const bool replacing = HasSelection();
        if (replacing) {
            const int code = DeleteSelectionCode();
            AfterEdit(true);
            FView.ViewError(code);
        }
        if (FTabType == ttReal) {
            TypeChar("\t", replacing);
        } else {
            const int spaces = FList->TabSize() - (CaretScreenColumn() - 1) % FList->TabSize();
            for (int i = 0; i < spaces; ++i)
                TypeChar(" ", replacing);
        }
    }
}

void TEdModel::CmdLeft(bool Extend)
{
    if (FCaretPP.Offset > 1) {
        const std::string_view text = FList->ParaText(FCaretPP.Para);
        const std::size_t prev = EdPrevChar(text, static_cast<std::size_t>(FCaretPP.Offset - 1), FList->Utf8());
        MoveCaretToPara({FCaretPP.Para, static_cast<int>(prev) + 1}, Extend);
    } else if (FCaretLine > 1 && FWrapAtLeft) {
        MoveCaret(FCaretLine - 1, FList->LineLength(FCaretLine - 1) + 1, Extend);
    } else if (FCaretCol > 1) {
        MoveCaret(FCaretLine, FCaretCol - 1, Extend);
    }
}

void TEdModel::CmdRight(bool Extend)
{
    if (FCaretPP.Offset <= FList->ParaLength(FCaretPP.Para) || FScrollPastEnd) {
        if (FScrollPastEnd && FCaretCol + 1 > ColumnLimit(FCaretLine))
            return;
        const std::string_view text = FList->ParaText(FCaretPP.Para);
        const std::size_t next = EdNextChar(text, static_cast<std::size_t>(FCaretPP.Offset - 1), FList->Utf8());
        MoveCaretToPara({FCaretPP.Para, static_cast<int>(next) + 1}, Extend);
    } else if (FCaretLine < FList->LineCount()) {
        MoveCaret(FCaretLine + 1, 1, Extend);
    }
}

void TEdModel::CmdWordLeft(bool Extend)
{
    if (FCaretPP.Offset <= 1) {
        if (FCaretLine > 1)
            MoveCaret(FCaretLine - 1, FList->LineLength(FCaretLine - 1) + 1, Extend);
        return;
    }
    const std::string_view text = FList->ParaText(FCaretPP.Para);
    const std::size_t pos = EdWordLeft(text, static_cast<std::size_t>(FCaretPP.Offset - 1), FList->Utf8());
    MoveCaretToPara({FCaretPP.Para, static_cast<int>(pos) + 1}, Extend);
}

void TEdModel::CmdWordRight(bool Extend)
{
    const std::string_view text = FList->ParaText(FCaretPP.Para);
    if (FCaretPP.Offset > static_cast<int>(text.size())) {
        const int next = FList->ParaFirstLine(FCaretPP.Para) + FList->ParaLineCount(FCaretPP.Para);
        if (next <= FList->LineCount())
            MoveCaret(next, 1, Extend);
        return;
    }
    const std::size_t pos = EdWordRight(text, static_cast<std::size_t>(FCaretPP.Offset - 1), FList->Utf8());
    MoveCaretToPara({FCaretPP.Para, static_cast<int>(pos) + 1}, Extend);
}

void TEdModel::CmdEnd(bool Extend)
{
    const int len = FList->LineLength(FCaretLine);
    const bool lastOfPara = FCaretLine == FList->LineCount() || FList->LineToPara(FCaretLine + 1).Offset == 0;
    MoveCaret(FCaretLine, lastOfPara ? len + 1 : std::max(1, len), Extend);
}

void TEdModel::CmdTopOfPage(bool Extend)
{
    const bool visible = FCaretLine >= FView.ViewTopLine() && FCaretLine < FView.ViewTopLine() + FView.ViewRows();
    if (!visible) {
        if (!Extend)
            FView.ViewScrollToLine(FCaretLine);
        return;
    }
    MoveVertical(FView.ViewTopLine() - FCaretLine, Extend, false);
}

void TEdModel::CmdBotOfPage(bool Extend)
{
    const bool visible = FCaretLine >= FView.ViewTopLine() && FCaretLine < FView.ViewTopLine() + FView.ViewRows();
    if (!visible) {
        if (!Extend)
            FView.ViewScrollToLine(std::max(1, FCaretLine - FView.ViewRows() + 1));
        return;
    }
    const int bottom = std::min(FList->LineCount(), FView.ViewTopLine() + FView.ViewRows() - 1);
    MoveVertical(bottom - FCaretLine, Extend, false);
}

int TEdModel::DeleteSelectionCode()
{
    if (!HasSelection())
        return 0;
    const TParaPos from = FSelStart, to = FSelEnd;
    FView.ViewInvalidateLines(FList->ParaToLine(from).Line, FList->ParaToLine(to).Line);
    const int code = FList->DeleteRange(from, to);
    if (code == 0) {
        FCaretPP = from;
        FSelStart = FSelEnd = FMovingEnd = from;
    }
    SyncLinePositions();
    return code;
}

void TEdModel::TypeText(std::string_view Bytes)
{
    if (!Bytes.empty())
        TypeChar(Bytes);
}

void TEdModel::TypeChar(std::string_view Ch, bool Inserting)
{
    if (!CanEdit())
        return;
    int code = 0;
    TParaPos target;
    {
        std::optional<TParaList::TGroup> group;
        const bool replacing = Inserting || HasSelection();
        if (HasSelection()) {
            group.emplace(*FList);
            code = DeleteSelectionCode();
        }
        const TParaPos at = FCaretPP;
        target = {at.Para, at.Offset + static_cast<int>(Ch.size())};
        if (code == 0) {
            // A character typed over a selection takes the selection's place, in either mode.
            if (FInsertMode || replacing || at.Offset > FList->ParaLength(at.Para)) {
                code = FList->InsertChars(at.Para, at.Offset, Ch);
            } else {
                // Overwriting replaces one whole character, whatever its length.
                const std::string_view text = FList->ParaText(at.Para);
                const std::size_t from = static_cast<std::size_t>(at.Offset - 1);
                const int old = static_cast<int>(EdNextChar(text, from, FList->Utf8()) - from);
                code = FList->ReplaceChars(at.Para, at.Offset, old, Ch);
            }
        }
    }
    AfterEdit(true);
    if (code == 0)
        MoveCaretToPara(target, false);
    else
        MoveCaretToPara(FCaretPP, false);
    FView.ViewError(code);
}

void TEdModel::CmdBack()
{
    if (HasSelection() && CanEdit()) {
        const int code = DeleteSelectionCode();
        AfterEdit(true);
        MoveCaretToPara(FCaretPP, false);
        FView.ViewError(code);
        return;
    }
    const TParaPos at = FCaretPP;
    if (at.Para == 1 && at.Offset == 1)
        return;
    if (!CanEdit() || at.Offset > FList->ParaLength(at.Para) + 1) {
        CmdLeft(false);
        return;
    }
    int code;
    TParaPos target;
    if (at.Offset > 1) {
        const std::size_t prev =
            EdPrevChar(FList->ParaText(at.Para), static_cast<std::size_t>(at.Offset - 1), FList->Utf8());
        code = FList->DeleteChars(at.Para, static_cast<int>(prev) + 1, at.Offset - 1 - static_cast<int>(prev));
        target = {at.Para, static_cast<int>(prev) + 1};
    } else {
        if (!FWrapAtLeft)
            return;
        const int prevLen = FList->ParaLength(at.Para - 1);
        code = FList->JoinPara(at.Para - 1, prevLen + 1);
        target = {at.Para - 1, prevLen + 1};
    }
    AfterEdit(code == 0);
    MoveCaretToPara(code == 0 ? target : FCaretPP, false);
    FView.ViewError(code);
}

void TEdModel::CmdDel()
{
    if (!CanEdit())
        return;
    int code = 0;
    if (HasSelection()) {
        code = DeleteSelectionCode();
    } else {
        const TParaPos at = FCaretPP;
        const std::string_view text = FList->ParaText(at.Para);
        const std::size_t from = static_cast<std::size_t>(at.Offset - 1);
        if (at.Offset <= FList->ParaLength(at.Para))
            code = FList->DeleteChars(at.Para, at.Offset, static_cast<int>(EdNextChar(text, from, FList->Utf8()) - from));
        else if (at.Para < FList->ParaCount())
            code = FList->JoinPara(at.Para, at.Offset);
        else
            return;
        FCaretPP = at;
    }
    AfterEdit(code == 0);
    MoveCaretToPara(FCaretPP, false);
    FView.ViewError(code);
}

void TEdModel::CmdDelEol()
{
    if (!CanEdit())
        return;
    const TParaPos at = FCaretPP;
    const int count = FList->LineLength(FCaretLine) + 1 - FCaretCol;
    if (count <= 0)
        return;
    const int code = FList->DeleteChars(at.Para, at.Offset, count);
    FCaretPP = at;
    AfterEdit(true);
    MoveCaretToPara(at, false);
    FView.ViewError(code);
}

void TEdModel::CmdDelLine()
{
    if (!CanEdit())
        return;
    const TParaPos lineStart = FList->LineToPara(FCaretLine);
    const TParaPos from{lineStart.Para, lineStart.Offset + 1};
    int code;
    if (FCaretLine < FList->LineCount()) {
        const TParaPos next = FList->LineToPara(FCaretLine + 1);
        code = FList->DeleteRange(from, {next.Para, next.Offset + 1});
    } else {
        code = FList->DeleteChars(from.Para, from.Offset, FList->LineLength(FCaretLine));
    }
    FCaretPP = from;
    AfterEdit(true);
    MoveCaretToPara(from, false);
    FView.ViewError(code);
}

void TEdModel::CmdDelWord()
{
    if (!CanEdit())
        return;
    const TParaPos at = FCaretPP;
    const std::string_view text = FList->ParaText(at.Para);
    const std::size_t start = static_cast<std::size_t>(at.Offset - 1);
    const std::size_t end = EdDeleteWordEnd(text, start, FList->Utf8());
    if (end <= start)
        return;
    const int code = FList->DeleteChars(at.Para, at.Offset, static_cast<int>(end - start));
    FCaretPP = at;
    AfterEdit(true);
    MoveCaretToPara(at, false);
    FView.ViewError(code);
}

void TEdModel::CmdNewLine()
{
    if (!CanEdit())
        return;
    TParaList::TGroup group(*FList);
    if (HasSelection() && CanEdit()) {
        const int code = DeleteSelectionCode();
        AfterEdit(true);
        FView.ViewError(code);
    }
    const TParaPos at = FCaretPP;
    if (FInsertMode && CanEdit()) {
        int indent = 0;
        if (FAutoIndent) {
            const std::string_view line = FList->GetLine(FCaretLine);
            int n = 0;
            while (n < FCaretCol - 1 && n < static_cast<int>(line.size()) && EdIsBlank(line[n]))
                ++n;
            indent = EdScreenWidth(line, n, FList->TabSize());
        }
        int code = FList->CheckLimits(0, 1, 2 + indent);
        if (code == 0)
            code = FList->SplitPara(at.Para, at.Offset, indent);
        AfterEdit(code == 0);
        if (code == 0) {
            const int indentChars = FTabType == ttReal ? indent / FList->TabSize() + indent % FList->TabSize() : indent;
            MoveCaretToPara({at.Para + 1, indentChars + 1}, false);
        }
        FView.ViewError(code);
        return;
    }
    if (at.Para < FList->ParaCount())
        MoveCaretToPara({at.Para + 1, 1}, false);
    else
        MoveCaretToPara({at.Para, FList->ParaLength(at.Para) + 1}, false);
}

void TEdModel::GotoMarker(int Digit)
{
    const TParaPos mark = FList->Bookmark(Digit);
    if (mark.Para > 0)
        MoveCaretToPara(mark, false);
}

void TEdModel::SetBookmark(int Digit)
{
    FList->SetBookmark(Digit, FCaretPP.Para, FCaretPP.Offset);
    FView.ViewBookmarksChanged();
}

void TEdModel::SetBookmarkAt(int Digit, int Line, int Col)
{
    if (Line < 1 || Line > FList->LineCount() || Col < 1)
        throw EInvalidLineOrCol();
    const TParaPos pos = FList->LineColToPara({Line, Col});
    FList->SetBookmark(Digit, pos.Para, pos.Offset);
    FView.ViewBookmarksChanged();
}

// --- Editing operations -----------------------------------------------------------------------

int TEdModel::InsertString(std::string_view Text)
{
    if (FReadOnly)
        return 0;
    int code = 0;
    TParaPos end{0, 0};
    {
        std::optional<TParaList::TGroup> group;
        if (HasSelection()) {
            group.emplace(*FList);
            code = DeleteSelectionCode();
        }
        if (code == 0) {
            const TParaPos at = FCaretPP;
            code = FList->InsertText(at.Para, at.Offset, Text, &end);
        }
    }
    AfterEdit(true);
    MoveCaretToPara(code == 0 && end.Para > 0 ? end : FCaretPP, false);
    return code;
}

void TEdModel::DeleteSelection()
{
    if (!HasSelection() || !CanEdit())
        return;
    const int code = DeleteSelectionCode();
    AfterEdit(true);
    MoveCaretToPara(FCaretPP, false);
    FView.ViewError(code);
}

void TEdModel::CopyToClipboard()
{
    if (!HasSelection())
        return;
    FView.ViewSetClipboardText(FList->GetText(FSelStart, FSelEnd));
}

void TEdModel::CutToClipboard()
{
    if (!HasSelection() || FReadOnly)
        return;
    CopyToClipboard();
    DeleteSelection();
}

void TEdModel::PasteFromClipboard()
{
    if (FReadOnly)
        return;
    const std::string text = FView.ViewClipboardText();
    int code = 0;
    if (text.size() <= EdPasteBlockSize) {
        code = InsertString(text);
    } else {
        for (const auto &[from, to] : EdPasteBlocks(text)) {
            code = InsertString(std::string_view(text).substr(from, to - from));
            if (code != 0)
                break;
        }
    }
    FView.ViewUpdateScrollRange();
    FView.ViewError(code);
}

// Undoes or redoes one group; beeps when there is none (or the text is read-only).
void TEdModel::StepHistory(bool Forward)
{
    if (FReadOnly || !(Forward ? FList->CanRedo() : FList->CanUndo())) {
        FView.ViewBeep();
        return;
    }
    const std::optional<TParaPos> pos = Forward ? FList->Redo() : FList->Undo();
    if (!pos) {
        FView.ViewBeep();
        return;
    }
    AfterEdit(true);
    CollapseSelection();
    MoveCaretToPara(*pos, false);
}

// --- Search and replace -----------------------------------------------------------------------

bool TEdModel::Search(std::string_view Text, unsigned char Options)
{
    // An empty text finds nothing (rather than reporting a find).
    if (Text.empty())
        return false;
    return SearchReplace(Text, {}, Options & ~(soReplace | soReplaceAll)) == 0;
}

int TEdModel::Replace(std::string_view Text, std::string_view ReplaceText, unsigned char Options)
{
    if (!(Options & soReplaceAll) || FReadOnly)
        return SearchReplace(Text, ReplaceText, Options);
    // Replace All is one undo step. Its records are counted beforehand from the occurrences in
    // the whole text, so that a change too large to be undone is asked about before it is made.
    const TEdSearchPattern pattern(Text.substr(0, std::min<std::size_t>(Text.size(), TEdSearchPattern::MaxLength)),
                                   Options & soMatchCase, Options & soWholeWords, FList->Utf8());
    std::int64_t matches = 0;
    if (pattern.Length() > 0) {
        const TEdParaSource source = [this](std::int32_t p) { return FList->ParaText(p); };
        const TParaPos textEnd{FList->ParaCount(), FList->ParaLength(FList->ParaCount()) + 1};
        TParaPos at{1, 1};
        while (const auto hit = EdFindInRange(pattern, source, {at.Para, at.Offset}, {textEnd.Para, textEnd.Offset}, false)) {
            ++matches;
            at = {hit->Para, hit->Offset + static_cast<int>(pattern.Length())};
        }
    }
    const std::int64_t perRecord = TUndoBuffer::RecordHeaderSize + 2 + static_cast<std::int64_t>(pattern.Length()) +
                                   static_cast<std::int64_t>(std::min<std::size_t>(ReplaceText.size(), TEdSearchPattern::MaxLength));
    int result = 0;
    if (!AsOneStep(matches * perRecord, [&] { result = SearchReplace(Text, ReplaceText, Options); }))
        return 0;
    return result;
}

int TEdModel::SearchReplace(std::string_view Text, std::string_view ReplaceText, unsigned char Options)
{
    Text = Text.substr(0, std::min<std::size_t>(Text.size(), TEdSearchPattern::MaxLength));
    ReplaceText = ReplaceText.substr(0, std::min<std::size_t>(ReplaceText.size(), TEdSearchPattern::MaxLength));
    if (Text.empty())
        return 0;
    const bool backward = Options & soBackward;
    const bool replacing = Options & (soReplace | soReplaceAll);
    const bool all = Options & soReplaceAll;
    const bool selOnly = Options & soSelectedOnly;
    const TEdSearchPattern pattern(Text, Options & soMatchCase, Options & soWholeWords, FList->Utf8());
    const int len = static_cast<int>(pattern.Length());
    const int replLen = static_cast<int>(ReplaceText.size());
    int count = 0;

    std::optional<TParaPos> replacedAt;
    if (replacing && HasSelection() && FSelStart.Para == FSelEnd.Para) {
        const std::string_view para = FList->ParaText(FSelStart.Para);
        const std::string_view selected = para.substr(static_cast<std::size_t>(FSelStart.Offset - 1),
                                                      static_cast<std::size_t>(FSelEnd.Offset - FSelStart.Offset));
        if (pattern.Matches(selected)) {
            const TParaPos at = FSelStart;
            const int code = InsertString(ReplaceText);
            if (code != 0) {
                FView.ViewError(code);
                return code;
            }
            ++count;
            replacedAt = at;
        }
    }

    const TParaPos textEnd{FList->ParaCount(), FList->ParaLength(FList->ParaCount()) + 1};
    TParaPos start, scope;
    if (selOnly) {
        start = backward ? FSelEnd : FSelStart;
        scope = backward ? FSelStart : FSelEnd;
    } else if (Options & soWholeText) {
        start = backward ? textEnd : TParaPos{1, 1};
        scope = backward ? TParaPos{1, 1} : textEnd;
    } else {
        start = backward && replacedAt ? *replacedAt : FCaretPP;
        scope = backward ? TParaPos{1, 1} : textEnd;
    }
    const TParaPos scopeFrom = std::min(start, scope);
    TParaPos scopeTo = std::max(start, scope);

    const TEdParaSource source = [this](std::int32_t p) { return FList->ParaText(p); };
    bool found = false;
    int error = 0;
    while (true) {
        const auto hit = EdFindInRange(pattern, source, {start.Para, start.Offset}, {scope.Para, scope.Offset}, backward);
        if (!hit)
            break;
        found = true;
        const TParaPos from{hit->Para, hit->Offset};
        const TParaPos to{hit->Para, hit->Offset + len};
        if (!all) {
            SelectParaRange(backward ? to : from, backward ? from : to);
            break;
        }
        error = FList->ReplaceChars(from.Para, from.Offset, len, ReplaceText);
        FView.ViewInvalidateLines(FList->ChangedFirstLine(), FList->ChangedLastLine());
        if (error != 0)
            break;
        ++count;
        if (!backward) {
            start = {from.Para, from.Offset + replLen};
            if (scope.Para == from.Para)
                scope.Offset += replLen - len;
            if (scopeTo.Para == from.Para)
                scopeTo.Offset += replLen - len;
        } else {
            start = from;
        }
    }
    if (all && count > 0) {
        AfterEdit(true);
        if (selOnly)
            SelectParaRange(scopeFrom, scopeTo);
        else
            MoveCaretToPara(FCaretPP, false);
        FView.ViewInvalidate();
    }
    if (error != 0) {
        FView.ViewError(error);
        return error;
    }
    if (count > 0)
        return count;
    return found ? 0 : -1;
}
