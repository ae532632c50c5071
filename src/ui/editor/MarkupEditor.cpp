// TMarkupEditor: HTML colouring painter, line-end detection on loading, selected text, right button.
#include "ui/editor/MarkupEditor.h"

#include "core/editor/SyntaxScan.h"
#include "platform/TextCodec.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QMouseEvent>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <vector>

namespace {

QColor ToQColor(TColor C) { return QColor(C.R, C.G, C.B); }

// How the painter's font draws each byte: bytes it draws exactly one cell wide with a glyph of
// its own are laid out here once and drawn as glyph runs at their cells, with no text shaping per
// paint; any other byte is drawn as text in its own cell.
class TCellGlyphs {
public:
    bool Uniform(unsigned char C) const { return Table[C]; }
    quint32 Glyph(unsigned char C) const { return Glyphs[C]; }
    const QRawFont &Font() const { return Raw; }
    void Update(const QFont &Font, int CharWidth)
    {
        const QString Key = Font.key();
        if (Key == FontKey && CharWidth == Width)
            return;
        FontKey = Key;
        Width = CharWidth;
        Raw = QRawFont::fromFont(Font);
        const QFontMetrics Fm(Font);
        for (int C = 0; C < 256; ++C) {
            const auto B = static_cast<unsigned char>(C);
            const QString Ch(QChar(ByteToChar16(B)));
            const QList<quint32> Index = Raw.isValid() ? Raw.glyphIndexesForString(Ch) : QList<quint32>();
            Glyphs[B] = Index.size() == 1 ? Index[0] : 0;
            Table[B] = C >= 32 && C != 127 && Glyphs[B] != 0 && Fm.horizontalAdvance(Ch) == CharWidth;
        }
    }

private:
    QString FontKey;
    int Width = 0;
    QRawFont Raw;
    std::array<bool, 256> Table{};
    std::array<quint32, 256> Glyphs{};
};

TCellGlyphs &CellGlyphs()
{
    static TCellGlyphs G;
    return G;
}

} // namespace

TMarkupEditor::TMarkupEditor(QWidget *Parent) : TEdCustomTextFileEditor(Parent) {}

TMarkupEditor::~TMarkupEditor() = default;

void TMarkupEditor::SetSyntaxColors(const QColor &Text, const QColor &Element, const QColor &Entity)
{
    FTextColor = Text;
    FElementColor = Element;
    FEntityColor = Entity;
}

void TMarkupEditor::SetSyntaxColors(TColor Text, TColor Element, TColor Entity)
{
    SetSyntaxColors(ToQColor(Text), ToQColor(Element), ToQColor(Entity));
}

// --- Loading ------------------------------------------------------------------------------------

void TMarkupEditor::LoadFromFile(const QString &Name)
{
    QString Stripped = Name;
    if (Stripped.size() >= 2 && Stripped.endsWith(QLatin1Char('.')))
        Stripped.chop(1);
    const TFileFormat Format = DetectFileFormat(FileNameBytes(Stripped));
    if (Format == ffDos)
        TEdCustomTextFileEditor::LoadFromFile(Name);
    else
        ReadFileAs(Name, ffUnix);
    FFileFormat = Format;
}

// --- Selected text ------------------------------------------------------------------------------

std::optional<std::string> TMarkupEditor::GetSelectedText() const
{
    int L1, C1, L2, C2;
    if (!GetSelection(L1, C1, L2, C2))
        return std::nullopt;
    const TParaList &L = ParaList();
    const TParaPos From = L.LineColToPara({L1, C1});
    const TParaPos To = L.LineColToPara({L2, C2});
    // Counted before anything is copied, and only until the limit is passed.
    long long Total = 0;
    for (int P = From.Para; P <= To.Para && Total <= MaxSelectedText; ++P) {
        const int Len = L.ParaLength(P);
        const int Start = P == From.Para ? std::min(From.Offset - 1, Len) : 0;
        const int End = P == To.Para ? std::min(To.Offset - 1, Len) : Len;
        Total += std::max(0, End - Start) + (P < To.Para ? 2 : 0);
    }
    if (Total > MaxSelectedText)
        throw EEditorError(EditorErrorMessage(edeRegionTooLarge), edeRegionTooLarge);
    return L.GetText(From, To);
}

// --- Painting -----------------------------------------------------------------------------------

void TMarkupEditor::PaintRows(QPainter &Painter, int First, int Last)
{
    const int CW = CharWidth(), LH = LineHeight();
    const int Left = LeftMargin();
    const int ClientRight = viewport()->width();
    const int Cols = std::max(1, (ClientRight - Left - RightMargin()) / CW);
    const int Rows = std::max(1, viewport()->height() / LH);
    const int TextRight = Left + Cols * CW;
    const int LastWhole = TopLine() + Rows - 1;

    const QColor Back = BackgroundColor();
    const QColor SelBack = HighlightColors().Back(palette());
    const QColor Pens[4] = {
        isEnabled() ? FTextColor : palette().color(QPalette::Disabled, QPalette::Text), // spText
        HighlightColors().Text(palette()),                                                // spSelText
        FElementColor,                                                                    // spElement
        FEntityColor,                                                                     // spEntity
    };

    TScanSelection Sel;
    Sel.Shown = isEnabled() && GetSelection(Sel.StartLine, Sel.StartCol, Sel.EndLine, Sel.EndCol) &&
                !(HideSelection() && !hasFocus());
    TScanGeometry Geo;
    Geo.HScroll = HScroll();
    Geo.VisibleColumns = Cols;
    Geo.TabSize = TabSize();
    // One scan per paint pass: what is open at the end of a row goes on into the next one.
    TSyntaxScanner Scanner(Geo, Sel);

    TCellGlyphs &Glyphs = CellGlyphs();
    Glyphs.Update(Painter.font(), CW);
    const int Ascent = QFontMetrics(Painter.font()).ascent();
    QGlyphRun GlyphRun;
    GlyphRun.setRawFont(Glyphs.Font());
    std::vector<quint32> Indexes;
    std::vector<QPointF> Positions;

    TScanRow Row;
    for (int Line = First; Line <= Last; ++Line) {
        const int Y = RowY(Line);
        if (Line > LastWhole || Line > LineCount()) {
            // The partly visible row under the last whole row is only cleared.
            Painter.fillRect(QRect(Left, Y, ClientRight - Left, LH), Back);
            continue;
        }
        const TEdCells LineCells = ParaList().LineCells(Line);
        Scanner.ScanLine(Line, LineCells, Row);
        const char *Cells = Row.Cells.data();
        // In a UTF-8 text the cells of characters beyond ASCII hold 0x80; those characters are
        // drawn afterwards, each in its own cells.
        const bool Utf8 = LineCells.Utf8();
        for (const TScanRun &Run : Row.Runs) {
            const int X = Left + Run.First * CW;
            Painter.fillRect(QRect(X, Y, Run.Count * CW, LH), Run.Brush == sbSelection ? SelBack : Back);
            Painter.setPen(Pens[Run.Pen]);
            const int BaseY = Y + 1 + Ascent;
            int K = Run.First;
            const int End = Run.First + Run.Count;
            while (K < End) {
                // A stretch of cells drawn with one call, or one odd character in its cell.
                if (Utf8 && static_cast<unsigned char>(Cells[K]) == 0x80) {
                    ++K;
                    continue;
                }
                int J = K;
                while (J < End && Glyphs.Uniform(static_cast<unsigned char>(Cells[J])) &&
                       !(Utf8 && static_cast<unsigned char>(Cells[J]) == 0x80))
                    ++J;
                if (J > K) {
                    Indexes.clear();
                    Positions.clear();
                    for (int I = K; I < J; ++I) {
                        Indexes.push_back(Glyphs.Glyph(static_cast<unsigned char>(Cells[I])));
                        Positions.emplace_back((I - K) * CW, 0);
                    }
                    GlyphRun.setRawData(Indexes.data(), Positions.data(), J - K);
                    Painter.drawGlyphRun(QPointF(Left + K * CW, BaseY), GlyphRun);
                    K = J;
                } else {
                    // An odd character in its cell; a control character as its visible symbol, or
                    // where the font has none as its caret-notation letter in reversed colours.
                    const unsigned char C = static_cast<unsigned char>(Cells[K]);
                    const char32_t Picture = EdControlPicture(C);
                    const QRect Cell(Left + K * CW, Y, CW, LH);
                    Painter.save();
                    Painter.setClipRect(Cell, Qt::IntersectClip);
                    if (Picture && !QFontMetrics(Painter.font()).inFontUcs4(Picture)) {
                        Painter.fillRect(Cell.adjusted(0, 1, 0, -1), Pens[Run.Pen]);
                        Painter.setPen(Run.Brush == sbSelection ? SelBack : Back);
                        Painter.drawText(QPoint(Cell.left(), BaseY), QString(QChar(EdControlLetter(C))));
                    } else {
                        Painter.drawText(QPoint(Cell.left(), BaseY),
                                         QString(QChar(Picture ? static_cast<char16_t>(Picture) : ByteToChar16(C))));
                    }
                    Painter.restore();
                    ++K;
                }
            }
        }
        if (Utf8) {
            const int BaseY = Y + 1 + Ascent;
            for (const TEdShownChar &C : LineCells.ShownChars(Geo.HScroll, Cols)) {
                if (static_cast<unsigned char>(Row.Cells[static_cast<std::size_t>(C.Cell)]) != 0x80)
                    continue;
                Painter.setPen(Pens[Row.Styles[static_cast<std::size_t>(C.Cell)].Pen]);
                DrawCellChar(Painter, Left + C.Cell * CW, BaseY, C.Cells, C.Bytes);
            }
        }
        const int N = static_cast<int>(Row.Cells.size());
        Painter.fillRect(QRect(Left + N * CW, Y, ClientRight - Left - N * CW, LH), Back);
        // The last cell's opaque box reaches one pixel past the text area.
        if (N == Cols && !Row.Runs.empty() && Row.Runs.back().Brush == sbSelection)
            Painter.fillRect(QRect(TextRight, Y, 1, LH), SelBack);
    }
}

// --- Right button -------------------------------------------------------------------------------

bool TMarkupEditor::RightButton(QMouseEvent *E)
{
    if (E->button() != Qt::RightButton)
        return false;
    if (OnRightButton) {
        E->accept();
        OnRightButton(this, E->position().toPoint());
    } else {
        E->ignore();
    }
    return true;
}

void TMarkupEditor::mousePressEvent(QMouseEvent *E)
{
    if (!RightButton(E))
        TEdCustomTextFileEditor::mousePressEvent(E);
}

void TMarkupEditor::mouseDoubleClickEvent(QMouseEvent *E)
{
    // A quick second right click is a second press.
    if (!RightButton(E))
        TEdCustomTextFileEditor::mouseDoubleClickEvent(E);
}

void TMarkupEditor::contextMenuEvent(QContextMenuEvent *E)
{
    // The press itself was the owner's cue; a menu request from the keyboard goes on to it.
    if (E->reason() == QContextMenuEvent::Mouse && OnRightButton)
        E->accept();
    else
        E->ignore();
}
