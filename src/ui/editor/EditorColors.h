// TEdColors: a pair of colours for the editor (the selection's background and text).
#pragma once

#include <QColor>
#include <QPalette>

#include <functional>

class TEdColors {
public:
    // Starts with the palette's highlight colours and UseDefault on.
    TEdColors();

    QColor BackColor() const { return FBackColor; }
    void SetBackColor(const QColor &Value);
    QColor TextColor() const { return FTextColor; }
    void SetTextColor(const QColor &Value);
    // With UseDefault the colours follow the palette given to Back()/Text().
    bool UseDefault() const { return FUseDefault; }
    void SetUseDefault(bool Value);

    // The colours in effect for a widget's palette.
    QColor Back(const QPalette &Palette) const;
    QColor Text(const QPalette &Palette) const;

    std::function<void()> OnChange;

private:
    void Changed();

    QColor FBackColor;
    QColor FTextColor;
    bool FUseDefault = true;
};
