// The 16-colour grid of the Preferences dialog's colour page.
#include "ui/settings/ColorGrid.h"

#include "core/settings/SetupManager.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kColumns = 4;
constexpr int kRows = 4;
} // namespace

TColorGrid::TColorGrid(QWidget *Parent) : QWidget(Parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QColor TColorGrid::CellColor(int Index)
{
    const TColor c = ColorIndexToColor(Index);
    return QColor(c.R, c.G, c.B);
}

QColor TColorGrid::ForegroundColor() const
{
    return CellColor(FForegroundIndex);
}

void TColorGrid::SetForegroundIndex(int Index)
{
    if (!IsValidColorIndex(Index) || Index == FForegroundIndex)
        return;
    FForegroundIndex = Index;
    update();
}

void TColorGrid::Select(int Index)
{
    if (!IsValidColorIndex(Index))
        return;
    const bool changed = Index != FForegroundIndex;
    FForegroundIndex = Index;
    update();
    if (changed)
        emit Change();
}

QRect TColorGrid::CellRect(int Index) const
{
    const int w = width() / kColumns, h = height() / kRows;
    return QRect((Index % kColumns) * w, (Index / kColumns) * h, w, h);
}

int TColorGrid::CellAt(const QPoint &Pos) const
{
    const int w = width() / kColumns, h = height() / kRows;
    if (w <= 0 || h <= 0 || Pos.x() < 0 || Pos.y() < 0)
        return -1;
    const int col = Pos.x() / w, row = Pos.y() / h;
    if (col >= kColumns || row >= kRows)
        return -1;
    return row * kColumns + col;
}

QSize TColorGrid::sizeHint() const
{
    return QSize(kColumns * 28, kRows * 24);
}

QSize TColorGrid::minimumSizeHint() const
{
    return QSize(kColumns * 16, kRows * 16);
}

void TColorGrid::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    for (int i = 0; i < kColumns * kRows; ++i) {
        const QRect r = CellRect(i);
        p.fillRect(r, CellColor(i));
        p.setPen(palette().color(QPalette::Window));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    // The selection is marked "FG" in a colour that stands out from the cell.
    const QRect sel = CellRect(FForegroundIndex);
    const QColor cell = ForegroundColor();
    const QColor mark = qGray(cell.rgb()) < 128 ? Qt::white : Qt::black;
    p.setPen(QPen(mark, 1));
    p.drawRect(sel.adjusted(1, 1, -2, -2));
    p.drawText(sel, Qt::AlignCenter, "FG");
    if (hasFocus()) {
        p.setPen(QPen(mark, 1, Qt::DotLine));
        p.drawRect(sel.adjusted(3, 3, -4, -4));
    }
}

void TColorGrid::mousePressEvent(QMouseEvent *E)
{
    if (E->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(E);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    Select(CellAt(E->position().toPoint()));
}

void TColorGrid::keyPressEvent(QKeyEvent *E)
{
    int index = FForegroundIndex;
    switch (E->key()) {
    case Qt::Key_Left: index = index % kColumns ? index - 1 : index; break;
    case Qt::Key_Right: index = index % kColumns < kColumns - 1 ? index + 1 : index; break;
    case Qt::Key_Up: index = index >= kColumns ? index - kColumns : index; break;
    case Qt::Key_Down: index = index < kColumns * (kRows - 1) ? index + kColumns : index; break;
    default: QWidget::keyPressEvent(E); return;
    }
    Select(index);
}
