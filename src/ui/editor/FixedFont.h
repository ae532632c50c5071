// TEdFixedFont: the editor's font, which must be fixed-pitch, with its colour.
#pragma once

#include "core/editor/EditorErrors.h"

#include <QColor>
#include <QFont>
#include <QStringList>

#include <functional>

class EInvalidFixedFont : public EEdException {
public:
    EInvalidFixedFont() : EEdException("Invalid font assignment. Font must be a fixed font") {}
};

class EInvalidFontParam : public EEdException {
public:
    EInvalidFontParam() : EEdException("Invalid font assignemnt. Font must be a TFont or TEdFixedFont") {}
};

class TEdFixedFont {
public:
    // Starts as the system's fixed font.
    TEdFixedFont();

    // Whether the font as resolved has one advance for every character.
    static bool IsFixedPitch(const QFont &Font);
    // The installed font families whose pitch is fixed (listed once).
    static const QStringList &FixedFamilies();
    // The system's fixed font at the pixel or point size of Like.
    static QFont SystemFixedFont(const QFont &Like);

    // Takes Font; raises EInvalidFixedFont when its family is not an installed fixed-pitch family
    // (exact, case-sensitive comparison).
    void Assign(const QFont &Font);
    void Assign(const TEdFixedFont &Other);
    // Takes Font when it is installed and fixed-pitch, else the system's fixed font at the same
    // height (with Font's bold and italic). Returns false when it substituted.
    bool AssignOrSubstitute(const QFont &Font);

    const QFont &Font() const { return FFont; }
    QColor Color() const { return FColor; }
    void SetColor(const QColor &Value);
    QString Name() const { return FFont.family(); }
    void SetName(const QString &Value);  // raises EInvalidFixedFont like Assign
    // Size in points (0 when the font was given in pixels).
    int Size() const { return FFont.pointSize() > 0 ? FFont.pointSize() : 0; }
    void SetSize(int Points);
    // Character height in pixels; sets the font by pixel size.
    void SetHeight(int Pixels);
    bool Bold() const { return FFont.bold(); }
    bool Italic() const { return FFont.italic(); }
    void SetStyle(bool Bold, bool Italic);

    std::function<void()> OnChange;

private:
    void Changed();

    QFont FFont;
    QColor FColor{Qt::black};
};
