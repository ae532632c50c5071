// TEdCaret: caret geometry within a character cell.
#include "ui/editor/Caret.h"

#include <algorithm>

void TEdCaret::Changed()
{
    if (OnChange)
        OnChange();
}

void TEdCaret::SetShape(TEdCaretShape Value) { if (FShape != Value) { FShape = Value; Changed(); } }
void TEdCaret::SetAlign(TEdCaretAlign Value) { if (FAlign != Value) { FAlign = Value; Changed(); } }
void TEdCaret::SetCaretHeight(int Value) { if (Value > 0 && FCaretHeight != Value) { FCaretHeight = Value; Changed(); } }
void TEdCaret::SetCaretWidth(int Value) { if (Value > 0 && FCaretWidth != Value) { FCaretWidth = Value; Changed(); } }
void TEdCaret::SetBlinkTime(int Value) { if (Value >= 0 && FBlinkTime != Value) { FBlinkTime = Value; Changed(); } }
void TEdCaret::SetIsGray(bool Value) { if (FIsGray != Value) { FIsGray = Value; Changed(); } }
void TEdCaret::SetBitmap(const QPixmap &Value) { FBitmap = Value; Changed(); }
void TEdCaret::SetBitmapHotSpotX(int Value) { if (FHotX != Value) { FHotX = Value; Changed(); } }
void TEdCaret::SetBitmapHotSpotY(int Value) { if (FHotY != Value) { FHotY = Value; Changed(); } }

QSize TEdCaret::Size(int CharWidth, int LineHeight) const
{
    switch (FShape) {
    case csBlock: return {CharWidth, LineHeight};
    case csHalfBlock: return {CharWidth, std::max(1, LineHeight / 2)};
    case csVertLine: return {FCaretWidth, LineHeight};
    case csHorzLine: return {CharWidth, FCaretHeight};
    case csCustom: return {FCaretWidth, FCaretHeight};
    case csBitmap: return FBitmap.isNull() ? QSize(FCaretWidth, LineHeight) : FBitmap.size();
    }
    return {FCaretWidth, LineHeight};
}

QRect TEdCaret::Rect(QPoint Cell, int CharWidth, int LineHeight) const
{
    const QSize size = Size(CharWidth, LineHeight);
    if (FShape == csBitmap && !FBitmap.isNull())
        return QRect(Cell - QPoint(FHotX, FHotY), size);
    const int midX = Cell.x() + (CharWidth - size.width()) / 2;
    const int midY = Cell.y() + (LineHeight - size.height()) / 2;
    switch (FAlign) {
    case caLeft: return QRect(QPoint(Cell.x(), midY), size);
    case caTop: return QRect(QPoint(midX, Cell.y()), size);
    case caRight: return QRect(QPoint(Cell.x() + CharWidth - size.width(), midY), size);
    case caBottom: return QRect(QPoint(midX, Cell.y() + LineHeight - size.height()), size);
    case caCenter: return QRect(QPoint(midX, midY), size);
    }
    return QRect(Cell, size);
}
