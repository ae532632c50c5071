// TEdCustomEditor: the editor control: metrics, caret, selection, scrolling, painting, keys, mouse, clipboard,
// undo and search over a TParaList.
#include "ui/editor/EditorWidget.h"

#include "core/editor/Columns.h"
#include "core/editor/Search.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// 3 x 5 pixel digits for the bookmark glyphs, one row per 3 low bits.
constexpr unsigned char DigitRows[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

// The line-selection cursor: an arrow pointing up and to the right.
QCursor MakeMarginCursor()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(14, 1);
    path.lineTo(14, 12);
    path.lineTo(11, 9);
    path.lineTo(6, 14);
    path.lineTo(3, 11);
    path.lineTo(8, 6);
    path.lineTo(5, 3);
    path.closeSubpath();
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::black);
    p.drawPath(path);
    p.end();
    return QCursor(pm, 14, 1);
}

int ShiftState(Qt::KeyboardModifiers Mods)
{
    return ((Mods & Qt::ShiftModifier) ? kmShift : 0) | ((Mods & Qt::ControlModifier) ? kmCtrl : 0) |
           ((Mods & Qt::AltModifier) ? kmAlt : 0);
}

// The key of a key event as the tables know it. With Ctrl and Shift held, X11 reports the shifted
// symbol of a digit key ("#" for 3); the digit row's scan codes give the digit back.
int TableKey(const QKeyEvent *E)
{
    int key = EdKey::Normalize(E->key());
    const auto mods = E->modifiers();
    if ((mods & Qt::ControlModifier) && (mods & Qt::ShiftModifier) && !(key >= Qt::Key_0 && key <= Qt::Key_9)) {
        const quint32 scan = E->nativeScanCode();
        if (scan >= 10 && scan <= 19)
            key = scan == 19 ? Qt::Key_0 : Qt::Key_1 + static_cast<int>(scan - 10);
    }
    return key;
}

bool ActionReachable(const QAction *A, const QWidget *Window, int Depth = 0)
{
    if (Depth > 8)
        return false;
    for (QObject *obj : A->associatedObjects()) {
        if (auto *menu = qobject_cast<QMenu *>(obj)) {
            if (ActionReachable(menu->menuAction(), Window, Depth + 1))
                return true;
        } else if (auto *w = qobject_cast<QWidget *>(obj)) {
            if (w->window() == Window)
                return true;
        }
    }
    return false;
}

} // namespace

// --- Construction and metrics -----------------------------------------------------------------

TEdCustomEditor::TEdCustomEditor(QWidget *Parent)
    : TEdEditBase(Parent), Model(static_cast<TEdView &>(*this)), List(&Model.List()), MarginCursor(MakeMarginCursor())
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    FCaretOvr.SetShape(csBlock);
    FCaretIns.OnChange = [this] { RestartCaretBlink(); };
    FCaretOvr.OnChange = [this] { RestartCaretBlink(); };
    FFixedFont.OnChange = [this] { FontChanged(); };
    FHighlightColors.OnChange = [this] { viewport()->update(); };

    connect(&BlinkTimer, &QTimer::timeout, this, [this] {
        CaretOn = !CaretOn;
        viewport()->update(CaretRect());
    });
    AutoScrollTimer.setInterval(50);
    connect(&AutoScrollTimer, &QTimer::timeout, this, [this] { AutoScrollTick(); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int A) { VScrollAction(A); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, [this](int A) { HScrollAction(A); });

    resize(200, 150);
    FontChanged();
}

TEdCustomEditor::~TEdCustomEditor() = default;

void TEdCustomEditor::FontChanged()
{
    DrawFont = FFixedFont.Font();
    // Glyphs are placed on a grid of whole pixels: stretch or squeeze the advance to it.
    const qreal advance = QFontMetricsF(DrawFont).horizontalAdvance(QLatin1Char('M'));
    const int width = std::max(1, qRound(advance));
    if (std::abs(advance - width) > 0.001)
        DrawFont.setLetterSpacing(QFont::AbsoluteSpacing, width - advance);
    const QFontMetrics fm(DrawFont);
    FCharWidth = width;
    FLineHeight = std::max(1, fm.height() + std::max(0, fm.leading()) + 1);
    RecalcMetrics();
    viewport()->update();
    PlaceCaret();
}

void TEdCustomEditor::RecalcMetrics()
{
    // Before the control is first shown its viewport is not laid out yet: use the client area.
    const QSize size = isVisible() ? viewport()->size() : contentsRect().size();
    const int cols = std::max(1, (size.width() - FLeftMargin - FRightMargin) / FCharWidth);
    const int rows = std::max(1, size.height() / FLineHeight);
    const bool changed = cols != FVisibleColumns || rows != FVisibleRows;
    FVisibleColumns = cols;
    FVisibleRows = rows;
    if (FWrapToWindow && WordWrap() && cols - 2 > 0 && cols - 2 != WrapColumn())
        SetWrapColumn(cols - 2);
    if (changed)
        UpdateScrollBars();
}

void TEdCustomEditor::resizeEvent(QResizeEvent *E)
{
    TEdEditBase::resizeEvent(E);
    RecalcMetrics();
    PlaceCaret();
}

int TEdCustomEditor::VisibleColumns()
{
    ensurePolished();
    RecalcMetrics();
    return FVisibleColumns;
}

int TEdCustomEditor::VisibleRows()
{
    RecalcMetrics();
    return FVisibleRows;
}

QRect TEdCustomEditor::TextRect() const
{
    return QRect(FLeftMargin, 0, std::max(0, viewport()->width() - FLeftMargin), viewport()->height());
}

void TEdCustomEditor::changeEvent(QEvent *E)
{
    if (E->type() == QEvent::PaletteChange)
        viewport()->update();
    TEdEditBase::changeEvent(E);
}

// --- Properties -------------------------------------------------------------------------------

void TEdCustomEditor::SetBorderStyle(TEdBorderStyle Value)
{
    FBorderStyle = Value;
    setFrameStyle(Value == bsNone ? QFrame::NoFrame : (QFrame::StyledPanel | QFrame::Sunken));
}

void TEdCustomEditor::SetByteLimit(int Value)
{
    if (Value >= 0)
        List->SetByteLimit(Value);
}

void TEdCustomEditor::SetHideSelection(bool Value)
{
    if (FHideSelection != Value) {
        FHideSelection = Value;
        viewport()->update();
    }
}

void TEdCustomEditor::SetInsertMode(bool Value)
{
    if (Model.InsertMode() == Value)
        return;
    viewport()->update(CaretRect());
    Model.SetInsertMode(Value);
    Controller()->SetInsertMode(Value);
    RestartCaretBlink();
}

void TEdCustomEditor::SetLeftMargin(int Value)
{
    if (Value < 0 || Value == FLeftMargin)
        return;
    FLeftMargin = Value;
    RecalcMetrics();
    viewport()->update();
    PlaceCaret();
}

void TEdCustomEditor::SetRightMargin(int Value)
{
    if (Value < 0 || Value == FRightMargin)
        return;
    FRightMargin = Value;
    RecalcMetrics();
    viewport()->update();
}

void TEdCustomEditor::SetMargin(int Value)
{
    SetLeftMargin(Value);
    SetRightMargin(Value);
}

void TEdCustomEditor::SetScrollBars(TEdScrollBars Value)
{
    FScrollBars = Value;
    if (Value == ssNone)
        FScrollBarsAlways = false;
    UpdateScrollBars();
}

void TEdCustomEditor::SetScrollBarsAlways(bool Value)
{
    if (Value && FScrollBars == ssNone)
        return;
    FScrollBarsAlways = Value;
    UpdateScrollBars();
}

void TEdCustomEditor::SetScrollPastEnd(bool Value)
{
    Model.SetScrollPastEnd(Value);
    if (Value && WordWrap())
        SetWordWrap(false);
}

void TEdCustomEditor::SetShowBookmarks(bool Value)
{
    if (FShowBookmarks != Value) {
        FShowBookmarks = Value;
        viewport()->update();
    }
}

void TEdCustomEditor::SetTabSize(int Value)
{
    if (Value <= 0 || Value > 255 || Value == TabSize())
        return;
    List->SetTabSize(Value);
    viewport()->update();
    PlaceCaret();
}

void TEdCustomEditor::SetUndoBufferSize(int Value)
{
    List->SetUndoBufferSize(static_cast<std::uint32_t>(std::clamp<std::int64_t>(Value, 0, TUndoBuffer::MaxSize)));
}

void TEdCustomEditor::SetWordWrap(bool Value)
{
    if (Value) {
        Model.SetWrapAtLeft(true);
        Model.SetScrollPastEnd(false);
    }
    if (Value != WordWrap()) {
        if (Value && FWrapToWindow && FVisibleColumns - 2 > 0)
            List->SetWrapColumn(FVisibleColumns - 2);
        List->SetWordWrap(Value);
        if (Value)
            FHScroll = 0;
    }
    UpdateScrollBars();
    viewport()->update();
}

void TEdCustomEditor::SetWrapAtLeft(bool Value)
{
    if (!Value && WordWrap())
        return;
    Model.SetWrapAtLeft(Value);
}

void TEdCustomEditor::SetWrapColumn(int Value)
{
    if (Value <= 0 || Value == WrapColumn())
        return;
    List->SetWrapColumn(Value);
    UpdateScrollBars();
}

void TEdCustomEditor::SetWrapToWindow(bool Value)
{
    FWrapToWindow = Value;
    if (Value && WordWrap() && FVisibleColumns - 2 > 0)
        SetWrapColumn(FVisibleColumns - 2);
}

void TEdCustomEditor::SetModified(bool Value)
{
    if (Value == List->Modified())
        return;
    List->SetModified(Value);
    viewport()->update();
}

// --- Events -----------------------------------------------------------------------------------

void TEdCustomEditor::DoOnChange()
{
    if (OnChange)
        OnChange(this);
}

void TEdCustomEditor::DoOnError(int Code)
{
    if (OnError)
        OnError(this, Code);
}

void TEdCustomEditor::DoOnShowStatus(int Line, int Col)
{
    if (OnShowStatus)
        OnShowStatus(this, Line, Col);
}

void TEdCustomEditor::DoOnTopLineChanged(int Line)
{
    if (OnTopLineChanged)
        OnTopLineChanged(this, Line);
}

void TEdCustomEditor::DoOnUserCommand(int Command)
{
    if (OnUserCommand)
        OnUserCommand(this, Command);
}

void TEdCustomEditor::RaiseError(int Code)
{
    if (Code == 0)
        return;
    if (OnError) {
        DoOnError(Code);
        return;
    }
    RaiseEditorError(Code);
}

// --- Text model -------------------------------------------------------------------------------

// --- The model's view -------------------------------------------------------------------------

void TEdCustomEditor::ViewInvalidate()
{
    viewport()->update();
}

void TEdCustomEditor::ViewShifted(const TPosShift &Shift)
{
    Shift.Apply(TopPos);
    Shift.Apply(MarginAnchor);
}

void TEdCustomEditor::ViewSyncTopLine()
{
    const int top = std::clamp(List->ParaToLine(TopPos).Line, 1, MaxTopLine());
    if (top != FTopLine) {
        FTopLine = top;
        viewport()->update();
        DoOnTopLineChanged(FTopLine);
    }
    const TParaPos tp = List->LineToPara(FTopLine);
    TopPos = {tp.Para, tp.Offset + 1};
}

void TEdCustomEditor::ViewRewrapped()
{
    UpdateScrollBars();
    viewport()->update();
    PlaceCaret();
}

void TEdCustomEditor::ViewCaretMoving()
{
    const int line = Model.CaretLine();
    FCaretWasVisible = line >= FTopLine && line < FTopLine + FVisibleRows;
    FOldCaretRect = CaretRect();
}

void TEdCustomEditor::ViewCaretMoved(int OldLine, bool KeepRow)
{
    viewport()->update(FOldCaretRect);
    ScrollCaretIntoView(OldLine, KeepRow, FCaretWasVisible);
    PlaceCaret();
    PostStatus();
}

void TEdCustomEditor::ViewBeep()
{
    Prompt().Beep();
}

QString TEdCustomEditor::DocumentText(std::string_view Bytes) const
{
    return DocumentBytesToQString(Bytes, List->Encoding());
}

std::string TEdCustomEditor::DocumentBytes(const QString &Text) const
{
    return QStringToDocumentBytes(Text, List->Encoding());
}

std::string TEdCustomEditor::ViewClipboardText()
{
    return DocumentBytes(QGuiApplication::clipboard()->text());
}

void TEdCustomEditor::ViewSetClipboardText(const std::string &Text)
{
    QGuiApplication::clipboard()->setText(DocumentText(Text));
}

bool TEdCustomEditor::ViewConfirm(const std::string &Question)
{
    return Prompt().MessageDlg(BytesToQString(Question), TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes;
}

void TEdCustomEditor::ViewBookmarksChanged()
{
    viewport()->update(QRect(0, 0, FLeftMargin, viewport()->height()));
}

// --- Caret and selection, kept by the model ---------------------------------------------------

int TEdCustomEditor::GetCaretPosition(int &Col) const
{
    return Model.GetCaretPosition(Col);
}

void TEdCustomEditor::SetCaretPosition(int Line, int Col)
{
    Model.SetCaretPosition(Line, Col);
}

bool TEdCustomEditor::GetSelection(int &Line1, int &Col1, int &Line2, int &Col2) const
{
    return Model.GetSelection(Line1, Col1, Line2, Col2);
}

void TEdCustomEditor::SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd)
{
    Model.SetSelection(Line1, Col1, Line2, Col2, CaretAtEnd);
}

void TEdCustomEditor::SelectAll(bool CaretAtEnd)
{
    Model.SelectAll(CaretAtEnd);
}

std::string TEdCustomEditor::SelectedText() const
{
    return Model.SelectedText();
}

void TEdCustomEditor::DeleteSelection()
{
    Model.DeleteSelection();
}

void TEdCustomEditor::ClearText()
{
    List->Clear();
    TextReplaced();
}

void TEdCustomEditor::TextReplaced()
{
    Model.TextReplaced();
    TopPos = {1, 1};
    FTopLine = 1;
    FHScroll = 0;
    UpdateScrollBars();
    viewport()->update();
    PlaceCaret();
    PostStatus();
}

void TEdCustomEditor::InvalidateLines(int First, int Last)
{
    if (First <= 0)
        return;
    const int firstRow = std::max(First, FTopLine) - FTopLine;
    const int lastVisible = FTopLine + FVisibleRows;  // the partly visible row too
    if (Last == TParaList::RestOfText || Last > lastVisible)
        Last = lastVisible;
    if (Last < FTopLine || First > lastVisible)
        return;
    const int lastRow = Last - FTopLine;
    if (Last == lastVisible)
        viewport()->update(QRect(0, firstRow * FLineHeight, viewport()->width(), viewport()->height()));
    else
        viewport()->update(QRect(0, firstRow * FLineHeight, viewport()->width(), (lastRow - firstRow + 1) * FLineHeight));
}

// --- Caret and selection ----------------------------------------------------------------------

void TEdCustomEditor::ScrollCaretIntoView(int OldLine, bool KeepRow, bool CaretWasVisible)
{
    int top = FTopLine;
    if (KeepRow && CaretWasVisible)
        top += Model.CaretLine() - OldLine;
    else if (Model.CaretLine() < top)
        top = Model.CaretLine();
    else if (Model.CaretLine() >= top + FVisibleRows)
        top = Model.CaretLine() - FVisibleRows + 1;
    const int s = Model.CaretScreenColumn();
    int h = FHScroll;
    if (s <= h)
        h = s > 2 ? s - 1 : 0;
    else if (s > h + FVisibleColumns)
        h = s - FVisibleColumns;
    // After Enter or a wrap the view goes back to the left edge.
    if (h != FHScroll && Model.CaretLine() > OldLine)
        h = 0;
    ScrollTo(h, top);
}

QRect TEdCustomEditor::CaretRect() const
{
    if (Model.CaretLine() < FTopLine || Model.CaretLine() > FTopLine + FVisibleRows)
        return QRect();
    const TEdCaret &caret = CurrentCaret();
    int x = ColumnX(Model.CaretScreenColumn());
    if (caret.Shape() == csVertLine && caret.CaretWidth() <= 4)
        x -= 1;
    return caret.Rect(QPoint(x, RowY(Model.CaretLine())), FCharWidth, FLineHeight);
}

void TEdCustomEditor::PlaceCaret()
{
    if (!CaretShown)
        return;
    CaretOn = true;
    viewport()->update(CaretRect());
    if (BlinkTimer.isActive())
        BlinkTimer.start();  // restart the phase so a moving caret stays visible
}

void TEdCustomEditor::RestartCaretBlink()
{
    viewport()->update();
    if (!CaretShown) {
        BlinkTimer.stop();
        return;
    }
    const int blink = CurrentCaret().BlinkTime() > 0 ? CurrentCaret().BlinkTime()
                                                     : QApplication::cursorFlashTime() / 2;
    CaretOn = true;
    if (blink > 0)
        BlinkTimer.start(blink);
    else
        BlinkTimer.stop();
}

void TEdCustomEditor::PostStatus()
{
    // A command that edits thousands of times must not queue thousands of reports, each of which
    // updates the main window's menus and buttons.
    if (FStatusPending)
        return;
    FStatusPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            FStatusPending = false;
            UpdatePrimarySelection();
            DoOnShowStatus(Model.CaretLine(), Model.CaretStatusColumn());
        },
        Qt::QueuedConnection);
}

// --- Reading ----------------------------------------------------------------------------------

char *TEdCustomEditor::GetLine(int Line, char *Buffer, int Size) const
{
    if (Line < 1 || Line > List->LineCount())
        throw EInvalidLineOrPara();
    if (!Buffer || Size <= 0)
        return Buffer;
    const std::string_view text = List->GetLine(Line);
    const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(Size - 1));
    std::copy_n(text.data(), n, Buffer);
    Buffer[n] = '\0';
    return Buffer;
}

std::string TEdCustomEditor::GetLine(int Line) const
{
    if (Line < 1 || Line > List->LineCount())
        throw EInvalidLineOrPara();
    return std::string(List->GetLine(Line));
}

std::string TEdCustomEditor::GetStringLine(int Line) const
{
    if (Line < 1 || Line > List->LineCount())
        throw EInvalidLineOrPara();
    return EdExpandTabs(List->GetLine(Line), TabSize(), List->Utf8());
}

int TEdCustomEditor::GetLineLength(int Line) const
{
    if (Line < 1 || Line > List->LineCount())
        throw EInvalidLineOrPara();
    return List->LineLength(Line);
}

const char *TEdCustomEditor::GetParaPointer(int Para, int &Length) const
{
    if (Para < 1 || Para > List->ParaCount())
        throw EInvalidLineOrPara();
    const std::string_view text = List->ParaText(Para);
    Length = static_cast<int>(text.size());
    return text.data();
}

// --- Scrolling --------------------------------------------------------------------------------

int TEdCustomEditor::MaxTopLine() const
{
    return std::max(1, List->LineCount() - FVisibleRows + 1);
}

void TEdCustomEditor::SetTopLine(int Line)
{
    ScrollTo(FHScroll, Line);
}

void TEdCustomEditor::ScrollBy(int Columns, int Lines)
{
    ScrollTo(FHScroll + Columns, FTopLine + Lines);
}

void TEdCustomEditor::ScrollTo(int NewHScroll, int NewTopLine)
{
    NewHScroll = std::max(0, NewHScroll);
    NewTopLine = std::clamp(NewTopLine, 1, MaxTopLine());
    if (NewHScroll == FHScroll && NewTopLine == FTopLine) {
        PlaceCaret();
        return;
    }
    const QRect oldCaret = CaretRect();
    const int dx = (FHScroll - NewHScroll) * FCharWidth;
    const int dy = (FTopLine - NewTopLine) * FLineHeight;
    const bool topChanged = NewTopLine != FTopLine;
    FHScroll = NewHScroll;
    FTopLine = NewTopLine;
    const TParaPos tp = List->LineToPara(FTopLine);
    TopPos = {tp.Para, tp.Offset + 1};
    UpdateScrollBars();
    const QRect text = TextRect();
    if (PaintPending || (dx != 0 && dy != 0) || std::abs(dy) >= viewport()->height() ||
        std::abs(dx) >= text.width()) {
        viewport()->update();
        PaintPending = true;
    } else if (dy != 0) {
        viewport()->scroll(0, dy);
        viewport()->update(oldCaret.translated(0, dy));
    } else {
        viewport()->scroll(dx, 0, text);
        viewport()->update(oldCaret.translated(dx, 0));
    }
    PlaceCaret();
    if (topChanged)
        DoOnTopLineChanged(FTopLine);
}

void TEdCustomEditor::UpdateScrollBars()
{
    const bool always = FScrollBarsAlways && FScrollBars != ssNone;
    const auto policy = [always](bool wanted) {
        return !wanted ? Qt::ScrollBarAlwaysOff : always ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
    };
    const Qt::ScrollBarPolicy vp = policy(FScrollBars == ssVertical || FScrollBars == ssBoth);
    const Qt::ScrollBarPolicy hp = policy(FScrollBars == ssHorizontal || FScrollBars == ssBoth);
    if (verticalScrollBarPolicy() != vp)
        setVerticalScrollBarPolicy(vp);
    if (horizontalScrollBarPolicy() != hp)
        setHorizontalScrollBarPolicy(hp);

    QScrollBar *v = verticalScrollBar();
    const TEdVScrollMap map = EdVScrollMap(List->LineCount(), FVisibleRows);
    if (List->LineCount() > FVisibleRows) {
        v->setRange(1, map.Max);
        v->setPageStep(std::max(1, FVisibleRows / map.Factor));
        v->setValue(map.Position(FTopLine));
    } else {
        v->setRange(1, 1);
    }
    QScrollBar *h = horizontalScrollBar();
    const int m = EdHScrollMax(WordWrap(), WrapColumn(), ParaLengthLimit(), WordWrap() ? 0 : List->LongestLineWidth());
    if (FVisibleColumns < m) {
        h->setRange(0, m);
        h->setPageStep(std::max(1, FVisibleColumns - 1));
        h->setValue(std::min(FHScroll, m));
    } else {
        h->setRange(0, 0);
    }
}

void TEdCustomEditor::VScrollAction(int Action)
{
    const TEdVScrollMap map = EdVScrollMap(List->LineCount(), FVisibleRows);
    switch (Action) {
    case QAbstractSlider::SliderSingleStepAdd: ScrollBy(0, 1); break;
    case QAbstractSlider::SliderSingleStepSub: ScrollBy(0, -1); break;
    case QAbstractSlider::SliderPageStepAdd: ScrollBy(0, FVisibleRows); break;
    case QAbstractSlider::SliderPageStepSub: ScrollBy(0, -FVisibleRows); break;
    case QAbstractSlider::SliderToMinimum: ScrollTo(FHScroll, 1); break;
    case QAbstractSlider::SliderToMaximum: ScrollTo(FHScroll, map.Lines); break;
    case QAbstractSlider::SliderMove: ScrollTo(FHScroll, map.TopLineAt(verticalScrollBar()->sliderPosition())); break;
    default: break;
    }
    verticalScrollBar()->setSliderPosition(map.Position(FTopLine));
}

void TEdCustomEditor::HScrollAction(int Action)
{
    switch (Action) {
    case QAbstractSlider::SliderSingleStepAdd: ScrollBy(1, 0); break;
    case QAbstractSlider::SliderSingleStepSub: ScrollBy(-1, 0); break;
    case QAbstractSlider::SliderPageStepAdd: ScrollBy(std::max(1, FVisibleColumns - 1), 0); break;
    case QAbstractSlider::SliderPageStepSub: ScrollBy(-std::max(1, FVisibleColumns - 1), 0); break;
    case QAbstractSlider::SliderToMinimum: ScrollTo(0, FTopLine); break;
    case QAbstractSlider::SliderToMaximum: ScrollTo(horizontalScrollBar()->maximum(), FTopLine); break;
    case QAbstractSlider::SliderMove: ScrollTo(horizontalScrollBar()->sliderPosition(), FTopLine); break;
    default: break;
    }
    horizontalScrollBar()->setSliderPosition(FHScroll);
}

void TEdCustomEditor::wheelEvent(QWheelEvent *E)
{
    const QPoint delta = E->angleDelta();
    const bool horizontal = std::abs(delta.x()) > std::abs(delta.y());
    WheelRest += horizontal ? delta.x() : delta.y();
    const int notches = WheelRest / 120;
    WheelRest -= notches * 120;
    if (notches != 0) {
        if (horizontal)
            ScrollBy(-notches * 3, 0);
        else
            ScrollBy(0, -notches * QApplication::wheelScrollLines());
    }
    E->accept();
}

// --- Painting ---------------------------------------------------------------------------------

QColor TEdCustomEditor::TextColor() const
{
    return FFixedFont.Color();
}

QColor TEdCustomEditor::BackgroundColor() const
{
    return palette().color(QPalette::Base);
}

bool TEdCustomEditor::LineSelection(int Line, int &From, int &To) const
{
    if (!Model.HasSelection() || (FHideSelection && !hasFocus()))
        return false;
    if (Line < PaintSelStart.Line || Line > PaintSelEnd.Line)
        return false;
    From = Line == PaintSelStart.Line ? PaintSelStart.Col : 1;
    if (Line == PaintSelEnd.Line) {
        To = PaintSelEnd.Col;
    } else {
        To = List->LineLength(Line) + 1;
        // The line break itself shows as one selected cell.
        const TParaPos next = List->LineToPara(Line + 1);
        if (next.Offset == 0)
            ++To;
    }
    return To > From;
}

void TEdCustomEditor::DrawSegment(QPainter &Painter, int Y, const TEdCells &Cells, int FromCol, int ToCol,
                                  const QColor &Fore, const QColor &Back) const
{
    if (ToCol <= FromCol)
        return;
    const int firstVisible = FHScroll + 1;
    const int lastVisible = FHScroll + (viewport()->width() - FLeftMargin) / FCharWidth + 1;
    // The segment's screen columns, cut to the visible ones; only their characters are looked at.
    const int startScreen = std::max(Cells.ScreenColumn(FromCol), firstVisible);
    const int endScreen = std::min(Cells.ScreenColumn(ToCol), lastVisible + 1);
    if (endScreen <= startScreen)
        return;
    if (Cells.Utf8()) {
        // Each character in its own cells, so that wide characters and characters of a fallback
        // font keep to the grid.
        Painter.fillRect(QRect(ColumnX(startScreen), Y, (endScreen - startScreen) * FCharWidth, FLineHeight), Back);
        Painter.setPen(Fore);
        const int baseline = Y + QFontMetrics(DrawFont).ascent();
        for (const TEdShownChar &c : Cells.ShownChars(startScreen - 1, endScreen - startScreen))
            DrawCellChar(Painter, ColumnX(startScreen + c.Cell), baseline, c.Cells, c.Bytes);
        return;
    }
    const std::string shown = Cells.Slice(startScreen - 1, endScreen - startScreen);
    QString glyphs;
    glyphs.reserve(static_cast<qsizetype>(shown.size()));
    for (const char c : shown) {
        const unsigned char b = static_cast<unsigned char>(c);
        const char32_t picture = EdControlPicture(b);
        glyphs.append(picture ? QChar(static_cast<char16_t>(picture)) : QChar(ByteToChar16(b)));
    }
    Painter.fillRect(QRect(ColumnX(startScreen), Y, (endScreen - startScreen) * FCharWidth, FLineHeight), Back);
    if (!glyphs.isEmpty()) {
        Painter.setPen(Fore);
        Painter.drawText(QPoint(ColumnX(startScreen), Y + QFontMetrics(DrawFont).ascent()), glyphs);
    }
}

void TEdCustomEditor::DrawCellChar(QPainter &Painter, int X, int Y, int Cells, std::string_view Bytes) const
{
    // A glyph narrower than its cells is centred in them, as terminals place wide characters.
    const QRect cells(X, Y - QFontMetrics(Painter.font()).ascent(), Cells * FCharWidth, FLineHeight);
    FCharGlyphs.Draw(Painter, cells, Y, Bytes, Cells > 1);
}

void TEdCustomEditor::PaintPreedit(QPainter &Painter)
{
    if (Preedit.isEmpty() || Model.CaretLine() < FTopLine || Model.CaretLine() > FTopLine + FVisibleRows)
        return;
    const int x = ColumnX(Model.CaretScreenColumn());
    const int y = RowY(Model.CaretLine());
    const QFontMetrics fm(DrawFont);
    const QRect box(x, y, std::max(fm.horizontalAdvance(Preedit), FCharWidth), FLineHeight);
    Painter.fillRect(box, BackgroundColor());
    Painter.setPen(TextColor());
    Painter.drawText(QPoint(x, y + fm.ascent()), Preedit);
    Painter.drawLine(box.left(), box.bottom(), box.right(), box.bottom());
}

void TEdCustomEditor::PaintRows(QPainter &Painter, int First, int Last)
{
    const QColor fore = TextColor();
    const QColor back = BackgroundColor();
    const QColor selFore = FHighlightColors.Text(palette());
    const QColor selBack = FHighlightColors.Back(palette());
    const int width = viewport()->width();
    for (int line = First; line <= Last; ++line) {
        const int y = RowY(line);
        Painter.fillRect(QRect(FLeftMargin, y, width - FLeftMargin, FLineHeight), back);
        const TEdCells cells = List->LineCells(line);
        const int end = static_cast<int>(cells.Text().size()) + 1;
        int from = 0, to = 0;
        if (LineSelection(line, from, to)) {
            DrawSegment(Painter, y, cells, 1, std::min(from, end), fore, back);
            DrawSegment(Painter, y, cells, from, to, selFore, selBack);
            DrawSegment(Painter, y, cells, to, end, fore, back);
        } else {
            DrawSegment(Painter, y, cells, 1, end, fore, back);
        }
    }
}

void TEdCustomEditor::PaintMargin(QPainter &Painter, int First, int Last)
{
    if (FLeftMargin <= 0)
        return;
    Painter.fillRect(QRect(0, RowY(First), FLeftMargin, (Last - First + 1) * FLineHeight), BackgroundColor());
    if (!FShowBookmarks)
        return;
    const int scale = std::max(1, std::min((FLeftMargin - 5) / 3, (FLineHeight - 4) / 5));
    const int px = std::min(scale, 2);
    const int boxW = 3 * px + 4, boxH = 5 * px + 4;
    std::vector<int> marked;  // lines that show a digit already: the lowest digit wins
    for (int digit = 0; digit <= 9; ++digit) {
        const TParaPos mark = List->Bookmark(digit);
        if (mark.Para <= 0)
            continue;
        const int line = List->ParaToLine(mark).Line;
        if (line < First || line > Last || std::find(marked.begin(), marked.end(), line) != marked.end())
            continue;
        marked.push_back(line);
        const int x0 = std::max(0, (FLeftMargin - boxW) / 2 - 1);
        const int y0 = RowY(line) + (FLineHeight - boxH) / 2;
        Painter.fillRect(QRect(x0, y0, boxW, boxH), QColor(0, 96, 128));
        for (int row = 0; row < 5; ++row)
            for (int bit = 0; bit < 3; ++bit)
                if (DigitRows[digit][row] & (4 >> bit))
                    Painter.fillRect(QRect(x0 + 2 + bit * px, y0 + 2 + row * px, px, px), Qt::white);
    }
}

void TEdCustomEditor::paintEvent(QPaintEvent *E)
{
    QPainter painter(viewport());
    painter.setFont(DrawFont);
    const QRect area = E->rect();
    PaintPending = false;
    PaintSelStart = List->ParaToLine(Model.SelStart());
    PaintSelEnd = List->ParaToLine(Model.SelEnd());
    const int first = FTopLine + std::max(0, area.top()) / FLineHeight;
    const int last = FTopLine + std::max(0, area.bottom()) / FLineHeight;
    PaintMargin(painter, first, last);
    const int lastText = std::min(last, List->LineCount());
    painter.save();
    painter.setClipRect(TextRect().intersected(area));
    if (first <= lastText)
        PaintRows(painter, first, lastText);
    const int below = RowY(std::max(first, lastText + 1));
    if (below < viewport()->height())
        painter.fillRect(QRect(FLeftMargin, below, viewport()->width() - FLeftMargin, viewport()->height() - below),
                         BackgroundColor());
    painter.restore();
    PaintPreedit(painter);
    if (CaretShown && CaretOn) {
        const QRect caret = CaretRect();
        if (caret.intersects(area)) {
            const TEdCaret &shape = CurrentCaret();
            if (shape.Shape() == csBitmap && !shape.Bitmap().isNull()) {
                painter.setCompositionMode(QPainter::CompositionMode_Difference);
                painter.drawPixmap(caret.topLeft(), shape.Bitmap());
            } else {
                painter.setCompositionMode(QPainter::CompositionMode_Difference);
                painter.fillRect(caret, shape.IsGray() ? QColor(128, 128, 128) : QColor(255, 255, 255));
            }
        }
    }
}

bool TEdCustomEditor::viewportEvent(QEvent *E)
{
    return TEdEditBase::viewportEvent(E);
}

// --- Focus ------------------------------------------------------------------------------------

void TEdCustomEditor::focusInEvent(QFocusEvent *E)
{
    TEdEditBase::focusInEvent(E);
    Model.SetInsertMode(Controller()->InsertMode());
    CaretShown = true;
    RestartCaretBlink();
    PlaceCaret();
    if (FHideSelection && Model.HasSelection())
        viewport()->update();
}

void TEdCustomEditor::focusOutEvent(QFocusEvent *E)
{
    TEdEditBase::focusOutEvent(E);
    viewport()->update(CaretRect());
    CaretShown = false;
    BlinkTimer.stop();
    Controller()->SetInsertMode(Model.InsertMode());
    if (FHideSelection && Model.HasSelection())
        viewport()->update();
}

// --- Keys -------------------------------------------------------------------------------------

bool TEdCustomEditor::MenuOwnsKey(const QKeyEvent *E) const
{
    // Plain typing keys are nobody's shortcut here; spare the search through the window's actions.
    if (!(E->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && E->key() < Qt::Key_Escape)
        return false;
    const QKeySequence seq(QKeyCombination(E->modifiers() & ~Qt::KeypadModifier, Qt::Key(E->key())));
    QWidget *win = window();
    QList<QAction *> actions = win->findChildren<QAction *>();
    actions += win->actions();
    for (QWidget *w : win->findChildren<QWidget *>())
        actions += w->actions();
    for (const QAction *a : std::as_const(actions)) {
        // Hidden entries count too (a hidden action also reads as disabled): their keys do
        // nothing rather than reach the key table.
        if (!a->isEnabled() && a->isVisible())
            continue;
        if (a->shortcuts().contains(seq) && ActionReachable(a, win))
            return true;
    }
    return false;
}

bool TEdCustomEditor::TableBindsKey(int Key, int Shift) const
{
    const TEdCommandProcessor &proc = Controller()->Processor();
    for (int i = 0; i < proc.TableCount(); ++i) {
        const TEdCommandTable &table = proc.Table(i);
        if (table.Active() && table.FindFirst(Key, Shift))
            return true;
    }
    return false;
}

bool TEdCustomEditor::event(QEvent *E)
{
    if (E->type() == QEvent::ShortcutOverride) {
        auto *ke = static_cast<QKeyEvent *>(E);
        if (MenuOwnsKey(ke))
            return true;  // not accepted: the menu's shortcut fires
        const auto mods = ke->modifiers();
        const bool plainText = !ke->text().isEmpty() && ke->text().at(0).unicode() >= 32 &&
                               !(mods & (Qt::ControlModifier | Qt::AltModifier));
        if (Controller()->Processor().SequencePending() || TableBindsKey(TableKey(ke), ShiftState(mods)) || plainText)
            ke->accept();
        return true;
    }
    if (E->type() == QEvent::KeyPress) {
        auto *ke = static_cast<QKeyEvent *>(E);
        if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) && FWantTab &&
            !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(ke);
            return true;
        }
    }
    return TEdEditBase::event(E);
}

void TEdCustomEditor::keyPressEvent(QKeyEvent *E)
{
    E->accept();
    if (MenuOwnsKey(E))
        return;
    Guarded([&] { HandleKey(E); });
}

void TEdCustomEditor::HandleKey(QKeyEvent *E)
{
    const auto mods = E->modifiers();
    const int key = TableKey(E);
    int shift = ShiftState(mods);
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    if (alt && !ctrl) {
        // System keys: looked up with Alt alone; Alt+Tab and Alt itself belong to the desktop.
        if (key == Qt::Key_Tab || key == Qt::Key_Alt) {
            E->ignore();
            return;
        }
        shift = kmAlt;
    }
    TEdCommandProcessor &proc = Controller()->Processor();
    const int command = proc.KeyDown(key, shift);
    bool handled = false;
    if (command >= ccUserFirst) {
        handled = true;
        DoOnUserCommand(command);
    } else if (command != ccNoCommand && command != ccNoMatch && command != ccPending && command != ccChar) {
        handled = ProcessCommand(command, 0);
    }
    if (!handled) {
        if (key == Qt::Key_Tab && FWantTab)
            handled = ProcessCommand(ccTab, 0);
        else if (key == Qt::Key_Return && FWantEnter)
            handled = ProcessCommand(ccNewLine, 0);
    }
    proc.KeyDownDone(command, handled);
    if (handled)
        return;
    if (ctrl != alt)
        return;  // Ctrl or Alt chords type nothing (both together are AltGr)
    TypeString(E->text(), true);
}

void TEdCustomEditor::TypeString(const QString &Text, bool FromKeys)
{
    TEdCommandProcessor &proc = Controller()->Processor();
    for (const char32_t ch : Text.toUcs4()) {
        // The key table may swallow the character after a key sequence.
        if (ch < 32 || ch == 127 || (FromKeys && !proc.AcceptsChar(static_cast<int>(ch))))
            continue;
        // An ASCII character (or, in a Windows-1252 text, a character of the code page) goes
        // through the character command as one byte; any other is typed as its bytes.
        const std::optional<unsigned char> byte =
            List->Utf8() ? (ch < 128 ? std::optional<unsigned char>(static_cast<unsigned char>(ch)) : std::nullopt)
                         : CodePointToWindows1252(ch);
        if (byte) {
            ProcessCommand(ccChar, static_cast<char>(*byte));
            continue;
        }
        const std::string bytes = DocumentBytes(QString::fromUcs4(&ch, 1));
        if (!bytes.empty())
            Model.TypeText(bytes);
    }
}

void TEdCustomEditor::inputMethodEvent(QInputMethodEvent *E)
{
    const QString text = E->commitString();
    Guarded([&] { TypeString(text, false); });
    if (E->preeditString() != Preedit) {
        Preedit = E->preeditString();
        viewport()->update();
    }
    E->accept();
}

QVariant TEdCustomEditor::inputMethodQuery(Qt::InputMethodQuery Query) const
{
    switch (Query) {
    case Qt::ImEnabled: return !GetReadOnly();
    case Qt::ImCursorRectangle: {
        const int x = ColumnX(Model.CaretScreenColumn());
        return QRect(x, RowY(Model.CaretLine()), FCharWidth, FLineHeight).translated(viewport()->pos());
    }
    case Qt::ImFont: return DrawFont;
    case Qt::ImCursorPosition: return Model.CaretCol() - 1;
    case Qt::ImSurroundingText: return DocumentText(List->GetLine(Model.CaretLine()));
    case Qt::ImHints: return static_cast<int>(Qt::ImhNone);
    default: return TEdEditBase::inputMethodQuery(Query);
    }
}

// --- Commands ---------------------------------------------------------------------------------

bool TEdCustomEditor::ProcessCommand(int Command, char Ch)
{
    return Model.ProcessCommand(Command, Ch);
}

void TEdCustomEditor::SetBookmark(int Digit)
{
    Model.SetBookmark(Digit);
}

void TEdCustomEditor::SetBookmarkAt(int Digit, int Line, int Col)
{
    Model.SetBookmarkAt(Digit, Line, Col);
}

// --- Editing operations -----------------------------------------------------------------------

int TEdCustomEditor::InsertString(std::string_view Text)
{
    return Model.InsertString(Text);
}

void TEdCustomEditor::CopyToClipboard()
{
    Model.CopyToClipboard();
}

void TEdCustomEditor::CutToClipboard()
{
    Model.CutToClipboard();
}

void TEdCustomEditor::PasteFromClipboard()
{
    Model.PasteFromClipboard();
}

void TEdCustomEditor::Undo()
{
    Model.Undo();
}

void TEdCustomEditor::Redo()
{
    Model.Redo();
}

// --- Search and replace -----------------------------------------------------------------------

bool TEdCustomEditor::Search(std::string_view Text, unsigned char Options)
{
    return Model.Search(Text, Options);
}

int TEdCustomEditor::Replace(std::string_view Text, std::string_view ReplaceText, unsigned char Options)
{
    return Model.Replace(Text, ReplaceText, Options);
}

// --- Mouse ------------------------------------------------------------------------------------

TEdCustomEditor::TMousePoint TEdCustomEditor::MouseToText(QPoint P) const
{
    int line;
    if (P.y() < 0)
        line = FTopLine - 1;
    else if (P.y() >= viewport()->height())
        line = FTopLine + FVisibleRows;
    else
        line = FTopLine + std::min(P.y() / FLineHeight, FVisibleRows - 1);
    line = std::clamp(line, 1, List->LineCount());
    const int textRight = FLeftMargin + FVisibleColumns * FCharWidth;
    int screen;
    if (P.x() < viewport()->width() && P.x() >= textRight - FCharWidth / 2)
        screen = FVisibleColumns + FHScroll;
    else
        screen = (P.x() + FCharWidth / 2 - FLeftMargin) / FCharWidth + FHScroll + 1;
    screen = std::max(1, screen);
    const TEdCells cells = List->LineCells(line);
    int col = cells.CharColumn(screen);
    if (!Model.ScrollPastEnd())
        col = std::min(col, static_cast<int>(cells.Text().size()) + 1);
    return {line, col};
}

void TEdCustomEditor::MouseTrack(QPoint P, bool First, bool Shift)
{
    const TMousePoint mp = MouseToText(P);
    if (!LineMarginMode) {
        Model.MoveCaret(mp.Line, mp.Col, First ? Shift : true);
        return;
    }
    if (First) {
        const int clickedPara = List->LineToPara(mp.Line).Para;
        if (Shift && Model.HasSelection())
            MarginAnchor = clickedPara < Model.SelStart().Para || mp.Line < List->ParaToLine(Model.SelStart()).Line ? Model.SelEnd() : Model.SelStart();
        else
            MarginAnchor = List->LineColToPara({mp.Line, 1});
    }
    const int anchorLine = List->ParaToLine(MarginAnchor).Line;
    if (mp.Line >= anchorLine && P.y() >= 0) {
        if (mp.Line < List->LineCount())
            Model.MoveCaret(mp.Line + 1, 1, true, false, &MarginAnchor);
        else
            Model.MoveCaret(mp.Line, List->LineLength(mp.Line) + 1, true, false, &MarginAnchor);
    } else {
        Model.MoveCaret(mp.Line, 1, true, false, &MarginAnchor);
    }
}

void TEdCustomEditor::UpdatePrimarySelection()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!Model.HasSelection() || !clipboard->supportsSelection())
        return;
    // A selection over a whole large text is not copied again at every move of its end.
    if (Model.SelEnd().Para - Model.SelStart().Para > 10000)
        return;
    clipboard->setText(DocumentText(Model.SelectedText()), QClipboard::Selection);
}

void TEdCustomEditor::mousePressEvent(QMouseEvent *E)
{
    // The middle button pastes the primary selection at the click, as X programs do.
    if (E->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        setFocus(Qt::MouseFocusReason);
        if (GetReadOnly())
            return;
        const std::string text = DocumentBytes(QGuiApplication::clipboard()->text(QClipboard::Selection));
        Guarded([&] {
            const TMousePoint mp = MouseToText(E->position().toPoint());
            Model.MoveCaret(mp.Line, mp.Col, false);
            if (!text.empty())
                RaiseError(Model.InsertString(text));
        });
        return;
    }
    if (E->button() != Qt::LeftButton) {
        E->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (List->ByteCount() == 0)
        return;
    const QPoint p = E->position().toPoint();
    LineMarginMode = p.x() <= FLeftMargin;
    Dragging = true;
    LastMouse = p;
    Guarded([&] { MouseTrack(p, true, E->modifiers() & Qt::ShiftModifier); });
}

void TEdCustomEditor::mouseMoveEvent(QMouseEvent *E)
{
    const QPoint p = E->position().toPoint();
    if (!Dragging) {
        viewport()->setCursor(p.x() <= FLeftMargin ? MarginCursor : QCursor(Qt::IBeamCursor));
        return;
    }
    if (!(E->buttons() & Qt::LeftButton)) {
        Dragging = false;
        AutoScrollTimer.stop();
        return;
    }
    LastMouse = p;
    Guarded([&] { MouseTrack(p, false, false); });
    const bool outside = p.y() < 0 || p.y() >= viewport()->height() || p.x() > viewport()->width() || p.x() < 0;
    if (outside && !AutoScrollTimer.isActive())
        AutoScrollTimer.start();
    else if (!outside)
        AutoScrollTimer.stop();
}

void TEdCustomEditor::AutoScrollTick()
{
    if (!Dragging || !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        Dragging = false;
        AutoScrollTimer.stop();
        return;
    }
    Guarded([&] { MouseTrack(LastMouse, false, false); });
}

void TEdCustomEditor::mouseReleaseEvent(QMouseEvent *E)
{
    if (E->button() == Qt::LeftButton) {
        Dragging = false;
        AutoScrollTimer.stop();
    } else {
        E->ignore();
    }
}

void TEdCustomEditor::mouseDoubleClickEvent(QMouseEvent *E)
{
    if (E->button() != Qt::LeftButton) {
        E->ignore();
        return;
    }
    Dragging = false;
    AutoScrollTimer.stop();
    if (List->ByteCount() == 0)
        return;
    const QPoint p = E->position().toPoint();
    const bool shift = E->modifiers() & Qt::ShiftModifier;
    const TMousePoint mp = MouseToText(p);
    const bool had = Model.HasSelection();
    Guarded([&] {
        TParaPos from, to;
        if (p.x() <= FLeftMargin) {
            const int para = List->LineToPara(mp.Line).Para;
            from = {para, 1};
            to = {para, List->ParaLength(para) + 1};
        } else {
            const TParaPos at = List->LineColToPara({mp.Line, mp.Col});
            const auto [s, e] =
                EdWordAt(List->ParaText(at.Para), static_cast<std::size_t>(at.Offset - 1), List->Utf8());
            from = {at.Para, static_cast<int>(s) + 1};
            to = {at.Para, static_cast<int>(e) + 1};
        }
        if (shift && had) {
            from = std::min(from, Model.SelStart());
            to = std::max(to, Model.SelEnd());
        }
        Model.SelectParaRange(from, to);
    });
}
