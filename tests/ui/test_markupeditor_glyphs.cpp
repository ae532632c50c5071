// The markup editor's painter lays out the characters itself: every byte must come out as the
// glyph a plain text call draws for it, in its own cell, on the row's baseline.
#include "platform/TextCodec.h"
#include "ui/editor/MarkupEditor.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A markup editor in a fixed font without antialiasing, black on white, shown.
void Prepare(TMarkupEditor &Ed)
{
    const QStringList &Fixed = TEdFixedFont::FixedFamilies();
    QFont F(Fixed.contains("DejaVu Sans Mono") ? QString("DejaVu Sans Mono") : Fixed.value(0));
    F.setPixelSize(14);
    F.setStyleStrategy(QFont::NoAntialias);
    Ed.FixedFont().Assign(F);
    QPalette P = Ed.palette();
    for (QPalette::ColorGroup G : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        P.setColor(G, QPalette::Base, Qt::white);
        P.setColor(G, QPalette::Text, Qt::black);
    }
    Ed.setPalette(P);
    Ed.setFocusPolicy(Qt::NoFocus);
    Ed.resize(700, 260);
    Ed.show();
    QApplication::processEvents();
}

TEST(MarkupEditGlyphs, EveryCharacterIsDrawnLikeATextCallInItsCell)
{
    TMarkupEditor Ed;
    Prepare(Ed);

    // Every printable byte, 32 to a row, and a row of markup whose pens all stay black.
    std::vector<std::string> Rows;
    for (int C = 32; C < 256; C += 32) {
        std::string Row;
        for (int K = C; K < C + 32; ++K)
            Row += K == 127 ? ' ' : static_cast<char>(K);
        Rows.push_back(Row);
    }
    Rows.push_back("<A HREF=\"x.htm\">AT&amp;T</A> &lt;&gt; \xE9\xFC\x80\x99");
    Ed.ClearText();
    for (const std::string &R : Rows)
        Ed.ParaList().AppendParagraph(R);
    Ed.TextReplaced();

    QImage Painted(Ed.viewport()->size(), QImage::Format_RGB32);
    Ed.viewport()->render(&Painted);

    // The same characters, each drawn alone at its cell with a text call.
    QImage Expected(Painted.size(), QImage::Format_RGB32);
    Expected.fill(Qt::white);
    const QFontMetrics Fm(Ed.FixedFont().Font());
    const int CW = Ed.CharWidth(), LH = Ed.LineHeight(), Left = Ed.LeftMargin();
    {
        QPainter Pn(&Expected);
        Pn.setFont(Ed.FixedFont().Font());
        Pn.setPen(Qt::black);
        for (std::size_t R = 0; R < Rows.size(); ++R)
            for (std::size_t C = 0; C < Rows[R].size(); ++C) {
                const QRect Cell(Left + static_cast<int>(C) * CW, static_cast<int>(R) * LH, CW, LH);
                Pn.drawText(QPoint(Cell.left(), Cell.top() + 1 + Fm.ascent()),
                            QString(QChar(ByteToChar16(static_cast<unsigned char>(Rows[R][C])))));
            }
    }

    int Inked = 0;
    for (std::size_t R = 0; R < Rows.size(); ++R)
        for (std::size_t C = 0; C < Rows[R].size(); ++C) {
            const QRect Cell(Left + static_cast<int>(C) * CW, static_cast<int>(R) * LH, CW, LH);
            bool Same = true, Ink = false;
            for (int Y = Cell.top(); Y <= Cell.bottom(); ++Y)
                for (int X = Cell.left(); X <= Cell.right(); ++X) {
                    Same = Same && Painted.pixel(X, Y) == Expected.pixel(X, Y);
                    Ink = Ink || Expected.pixel(X, Y) != QColor(Qt::white).rgb();
                }
            Inked += Ink;
            EXPECT_TRUE(Same) << "row " << R + 1 << ", byte " << static_cast<int>(static_cast<unsigned char>(Rows[R][C]));
        }
    // The comparison saw real glyphs, not two blank images.
    EXPECT_GT(Inked, 200);
}

// In a UTF-8 text each character is drawn in its own cells: a letter of one cell as a text call
// draws it there (a combining mark with its letter), a wide character over two cells, and the
// cells after the text stay blank.
TEST(MarkupEditGlyphs, Utf8CharactersKeepToTheirCells)
{
    TMarkupEditor Ed;
    Prepare(Ed);
    Ed.ParaList().SetEncoding(TTextEncoding::Utf8);
    // Zhe, a, be, blank, two CJK characters (cells 4-7), blank, e with acute, x.
    const std::string Row = "\xD0\xB6" "a" "\xD0\xB1 \xE4\xB8\xAD\xE6\x96\x87 e\xCC\x81x";
    Ed.ClearText();
    Ed.ParaList().AppendParagraph(Row);
    Ed.TextReplaced();
    QImage Painted(Ed.viewport()->size(), QImage::Format_RGB32);
    Ed.viewport()->render(&Painted);

    const QFontMetrics Fm(Ed.FixedFont().Font());
    const int CW = Ed.CharWidth(), LH = Ed.LineHeight(), Left = Ed.LeftMargin();
    const auto CellsOf = [&](int First, int Count) { return QRect(Left + First * CW, 0, Count * CW, LH); };
    const auto Ink = [&](const QImage &Image, QRect Box) {
        int N = 0;
        for (int Y = Box.top(); Y <= Box.bottom(); ++Y)
            for (int X = Box.left(); X <= Box.right(); ++X)
                N += Image.pixel(X, Y) != QColor(Qt::white).rgb();
        return N;
    };
    const struct {
        int Cell;
        const char *Text;
    } Singles[] = {{0, "\u0436"}, {1, "a"}, {2, "\u0431"}, {9, "e\u0301"}, {10, "x"}};
    for (const auto &One : Singles) {
        QImage Expected(Painted.size(), QImage::Format_RGB32);
        Expected.fill(Qt::white);
        {
            QPainter Pn(&Expected);
            Pn.setFont(Ed.FixedFont().Font());
            Pn.setPen(Qt::black);
            Pn.setClipRect(CellsOf(One.Cell, 1));
            Pn.drawText(QPoint(Left + One.Cell * CW, 1 + Fm.ascent()), QString::fromUtf8(One.Text));
        }
        const QRect Box = CellsOf(One.Cell, 1);
        EXPECT_GT(Ink(Expected, Box), 0) << One.Text;
        for (int Y = Box.top(); Y <= Box.bottom(); ++Y)
            for (int X = Box.left(); X <= Box.right(); ++X)
                ASSERT_EQ(Painted.pixel(X, Y), Expected.pixel(X, Y)) << "cell " << One.Cell;
    }
    for (int Cell : {4, 5, 6, 7})
        EXPECT_GT(Ink(Painted, CellsOf(Cell, 1)), 0) << "wide cell " << Cell;
    for (int Cell : {3, 8, 11, 12})
        EXPECT_EQ(Ink(Painted, CellsOf(Cell, 1)), 0) << "blank cell " << Cell;
}

} // namespace
