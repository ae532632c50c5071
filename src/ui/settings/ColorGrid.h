// A 4 x 4 grid of the 16 standard colours in index order, with a foreground selection only.
#pragma once

#include <QColor>
#include <QWidget>

class TColorGrid : public QWidget {
    Q_OBJECT
public:
    explicit TColorGrid(QWidget *Parent = nullptr);

    // The selected cell, 0..15 (the colour index).
    int ForegroundIndex() const { return FForegroundIndex; }
    // Selects a cell without raising Change; an index outside 0..15 is ignored.
    void SetForegroundIndex(int Index);
    QColor ForegroundColor() const;
    static QColor CellColor(int Index);
    // The cell's rectangle in widget coordinates.
    QRect CellRect(int Index) const;
    // The cell under a point, or -1.
    int CellAt(const QPoint &Pos) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user moved the foreground selection (by mouse or keys).
    void Change();

protected:
    void paintEvent(QPaintEvent *E) override;
    void mousePressEvent(QMouseEvent *E) override;
    void keyPressEvent(QKeyEvent *E) override;

private:
    void Select(int Index);

    int FForegroundIndex = 0;
};
