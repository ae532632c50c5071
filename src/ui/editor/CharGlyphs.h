// TCharGlyphs: the glyphs of the characters of a UTF-8 line beyond ASCII, shaped once per font
// (with the system's fallback fonts for scripts the editor font lacks) and drawn in their cells.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QRect>

#include <string_view>

class QPainter;

class TCharGlyphs {
public:
    // Draws the character Bytes (one character: a code point and what joins it; a lone invalid
    // byte shows as the replacement character) in the rectangle of its cells on the baseline
    // BaselineY, in the painter's font and pen: a glyph wider than the cells is clipped to them,
    // a narrower one is centred in them when Centre (a wide character's two cells).
    void Draw(QPainter &Painter, const QRect &Cells, int BaselineY, std::string_view Bytes, bool Centre);

private:
    struct TShaped {
        QList<QGlyphRun> Runs; // positioned from the top left of the text
        int Ascent = 0;
        int Advance = 0;
    };
    const TShaped &Shape(const QFont &Font, std::string_view Bytes);

    QFont FFont;
    bool FHaveFont = false;
    QHash<QByteArray, TShaped> FShaped;
};
