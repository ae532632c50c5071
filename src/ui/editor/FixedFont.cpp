// TEdFixedFont: the editor's fixed-pitch font.
#include "ui/editor/FixedFont.h"

#include <cmath>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>

bool TEdFixedFont::IsFixedPitch(const QFont &Font)
{
    if (QFontInfo(Font).fixedPitch())
        return true;
    // Some monospaced faces do not declare their pitch to fontconfig: measure them.
    const QFontMetricsF fm(Font);
    const qreal w = fm.horizontalAdvance(QLatin1Char('M'));
    for (const char c : {'i', 'W', '.', ' ', 'l'})
        if (std::abs(fm.horizontalAdvance(QLatin1Char(c)) - w) > 0.01)
            return false;
    return w > 0;
}

TEdFixedFont::TEdFixedFont() : FFont(SystemFixedFont(QFontDatabase::systemFont(QFontDatabase::FixedFont)))
{
}

const QStringList &TEdFixedFont::FixedFamilies()
{
    static const QStringList families = [] {
        QStringList list;
        for (const QString &family : QFontDatabase::families())
            if (QFontDatabase::isFixedPitch(family) || IsFixedPitch(QFont(family)))
                list << family;
        return list;
    }();
    return families;
}

QFont TEdFixedFont::SystemFixedFont(const QFont &Like)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!IsFixedPitch(font) && !FixedFamilies().isEmpty())
        font = QFont(FixedFamilies().first());
    if (Like.pixelSize() > 0)
        font.setPixelSize(Like.pixelSize());
    else if (Like.pointSizeF() > 0)
        font.setPointSizeF(Like.pointSizeF());
    font.setBold(Like.bold());
    font.setItalic(Like.italic());
    return font;
}

void TEdFixedFont::Changed()
{
    if (OnChange)
        OnChange();
}

void TEdFixedFont::Assign(const QFont &Font)
{
    if (!FixedFamilies().contains(Font.family(), Qt::CaseSensitive))
        throw EInvalidFixedFont();
    FFont = Font;
    Changed();
}

void TEdFixedFont::Assign(const TEdFixedFont &Other)
{
    FFont = Other.FFont;
    FColor = Other.FColor;
    Changed();
}

bool TEdFixedFont::AssignOrSubstitute(const QFont &Font)
{
    // fontconfig may silently give a proportional face for a family it lacks: check what we got.
    const bool usable = FixedFamilies().contains(Font.family(), Qt::CaseSensitive) && IsFixedPitch(Font);
    FFont = usable ? Font : SystemFixedFont(Font);
    Changed();
    return usable;
}

void TEdFixedFont::SetColor(const QColor &Value)
{
    FColor = Value;
    Changed();
}

void TEdFixedFont::SetName(const QString &Value)
{
    QFont font = FFont;
    font.setFamily(Value);
    Assign(font);
}

void TEdFixedFont::SetSize(int Points)
{
    if (Points <= 0)
        return;
    FFont.setPointSize(Points);
    Changed();
}

void TEdFixedFont::SetHeight(int Pixels)
{
    if (Pixels <= 0)
        return;
    FFont.setPixelSize(Pixels);
    Changed();
}

void TEdFixedFont::SetStyle(bool Bold, bool Italic)
{
    FFont.setBold(Bold);
    FFont.setItalic(Italic);
    Changed();
}
