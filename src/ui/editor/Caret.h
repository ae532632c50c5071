// TEdCaret: the editor's caret description: shape, alignment in the character cell, size and blink time.
#pragma once

#include <QPixmap>
#include <QRect>

#include <functional>

enum TEdCaretShape { csBlock, csHalfBlock, csVertLine, csHorzLine, csCustom, csBitmap };
enum TEdCaretAlign { caLeft, caTop, caRight, caBottom, caCenter };

class TEdCaret {
public:
    TEdCaretShape Shape() const { return FShape; }
    void SetShape(TEdCaretShape Value);
    TEdCaretAlign Align() const { return FAlign; }
    void SetAlign(TEdCaretAlign Value);
    int CaretHeight() const { return FCaretHeight; }
    void SetCaretHeight(int Value);
    int CaretWidth() const { return FCaretWidth; }
    void SetCaretWidth(int Value);
    // Milliseconds of one blink phase; 0 = the system's rate.
    int BlinkTime() const { return FBlinkTime; }
    void SetBlinkTime(int Value);
    bool IsGray() const { return FIsGray; }
    void SetIsGray(bool Value);
    const QPixmap &Bitmap() const { return FBitmap; }
    void SetBitmap(const QPixmap &Value);
    int BitmapHotSpotX() const { return FHotX; }
    void SetBitmapHotSpotX(int Value);
    int BitmapHotSpotY() const { return FHotY; }
    void SetBitmapHotSpotY(int Value);

    // The caret's size for a character cell of CharWidth x LineHeight pixels.
    QSize Size(int CharWidth, int LineHeight) const;
    // Where the caret lies for the cell whose top left corner is Cell.
    QRect Rect(QPoint Cell, int CharWidth, int LineHeight) const;

    // Called after any property changed (the editor re-creates its caret).
    std::function<void()> OnChange;

private:
    void Changed();

    TEdCaretShape FShape = csVertLine;
    TEdCaretAlign FAlign = caLeft;
    int FCaretHeight = 10;
    int FCaretWidth = 2;
    int FBlinkTime = 0;
    bool FIsGray = false;
    QPixmap FBitmap;
    int FHotX = 0;
    int FHotY = 0;
};
