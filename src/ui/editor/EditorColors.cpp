// TEdColors: selection colours of the editor.
#include "ui/editor/EditorColors.h"

#include <QGuiApplication>

TEdColors::TEdColors()
    : FBackColor(QGuiApplication::palette().color(QPalette::Highlight)),
      FTextColor(QGuiApplication::palette().color(QPalette::HighlightedText))
{
}

void TEdColors::Changed()
{
    if (OnChange)
        OnChange();
}

void TEdColors::SetBackColor(const QColor &Value)
{
    FBackColor = Value;
    FUseDefault = false;
    Changed();
}

void TEdColors::SetTextColor(const QColor &Value)
{
    FTextColor = Value;
    FUseDefault = false;
    Changed();
}

void TEdColors::SetUseDefault(bool Value)
{
    if (FUseDefault != Value) {
        FUseDefault = Value;
        Changed();
    }
}

QColor TEdColors::Back(const QPalette &Palette) const
{
    return FUseDefault ? Palette.color(QPalette::Active, QPalette::Highlight) : FBackColor;
}

QColor TEdColors::Text(const QPalette &Palette) const
{
    return FUseDefault ? Palette.color(QPalette::Active, QPalette::HighlightedText) : FTextColor;
}
