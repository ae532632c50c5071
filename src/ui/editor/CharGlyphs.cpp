// TCharGlyphs: characters beyond ASCII shaped once and drawn in their cells.
#include "ui/editor/CharGlyphs.h"

#include "core/editor/Cells.h"

#include <QPainter>
#include <QTextLayout>

namespace {

// The text a character shows: a control character as its picture, an invalid byte as U+FFFD.
QString ShownText(std::string_view Bytes)
{
    const auto first = static_cast<unsigned char>(Bytes.front());
    if (const char32_t picture = Bytes.size() == 1 ? EdControlPicture(first) : 0)
        return QString::fromUcs4(&picture, 1);
    if (Bytes.size() == 1 && first >= 0x80)
        return QString(QChar(0xFFFD));
    return QString::fromUtf8(Bytes.data(), static_cast<qsizetype>(Bytes.size()));
}

} // namespace

const TCharGlyphs::TShaped &TCharGlyphs::Shape(const QFont &Font, std::string_view Bytes)
{
    if (!FHaveFont || Font != FFont) {
        // Another font: every shape is made afresh.
        FShaped.clear();
        FFont = Font;
        FHaveFont = true;
    }
    const QByteArray key(Bytes.data(), static_cast<qsizetype>(Bytes.size()));
    auto it = FShaped.find(key);
    if (it != FShaped.end())
        return *it;
    if (FShaped.size() > 20000)
        FShaped.clear(); // a text of very many different characters: keep the cache bounded
    TShaped shaped;
    QTextLayout layout(ShownText(Bytes), Font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid()) {
        shaped.Ascent = qRound(line.ascent());
        shaped.Advance = qRound(line.naturalTextWidth());
    }
    shaped.Runs = layout.glyphRuns();
    return *FShaped.insert(key, shaped);
}

void TCharGlyphs::Draw(QPainter &Painter, const QRect &Cells, int BaselineY, std::string_view Bytes, bool Centre)
{
    if (Bytes.empty())
        return;
    const TShaped &shaped = Shape(Painter.font(), Bytes);
    const int spare = Cells.width() - shaped.Advance;
    const QPointF origin(Cells.left() + (Centre && spare > 0 ? spare / 2 : 0), BaselineY - shaped.Ascent);
    const bool clip = spare < 0;
    if (clip) {
        Painter.save();
        Painter.setClipRect(Cells, Qt::IntersectClip);
    }
    for (const QGlyphRun &run : shaped.Runs)
        Painter.drawGlyphRun(origin, run);
    if (clip)
        Painter.restore();
}
