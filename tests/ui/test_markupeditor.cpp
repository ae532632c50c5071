// The markup editor drawn offscreen into an image: tag and entity colours, the pen carried from
// row to row within one paint, selection, disabled grey, tabs and scrolling, the partial bottom
// row; the right button and the selected text with its 64K limit.
#include "support/ScriptedPrompt.h"
#include "ui/editor/MarkupEditor.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace {

const QColor White(255, 255, 255);
const QColor Black(0, 0, 0);
const QColor Red(200, 0, 0);
const QColor Blue(0, 0, 200);
const QColor Grey(120, 120, 120);
const QColor SelBack(0, 128, 0);
const QColor SelText(255, 255, 0);

// An editor with known colours and an unsmoothed font, so every ink pixel has the pen's colour.
class TView {
public:
    explicit TView(int Width = 480, int Height = 200, QWidget *Parent = nullptr) : Ed(Parent)
    {
        const QStringList &Fixed = TEdFixedFont::FixedFamilies();
        QFont F(Fixed.contains("DejaVu Sans Mono") ? QString("DejaVu Sans Mono") : Fixed.value(0));
        F.setPixelSize(14);
        F.setStyleStrategy(QFont::NoAntialias);
        Ed.FixedFont().Assign(F);
        QPalette P = Ed.palette();
        for (QPalette::ColorGroup G : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            P.setColor(G, QPalette::Base, White);
            P.setColor(G, QPalette::Text, G == QPalette::Disabled ? Grey : Black);
        }
        Ed.setPalette(P);
        Ed.HighlightColors().SetBackColor(SelBack);
        Ed.HighlightColors().SetTextColor(SelText);
        Ed.SetHideSelection(false);
        Ed.setFocusPolicy(Qt::NoFocus); // no caret over the cells
        Ed.resize(Width, Height);
        Ed.show();
        QApplication::processEvents();
    }

    void SetText(const std::vector<std::string> &Lines)
    {
        Ed.ClearText();
        for (const std::string &L : Lines)
            Ed.ParaList().AppendParagraph(L);
        Ed.TextReplaced();
    }

    // Paints the whole view, or only Area, into Image (the rest of Image stays as it was).
    void Render(const QRect &Area = QRect())
    {
        if (Image.size() != Ed.viewport()->size()) {
            Image = QImage(Ed.viewport()->size(), QImage::Format_RGB32);
            Image.fill(QColor(255, 0, 255));
        }
        // The area's top-left corner lands on the offset given.
        Ed.viewport()->render(&Image, Area.isNull() ? QPoint() : Area.topLeft(),
                              Area.isNull() ? QRegion() : QRegion(Area));
    }
    // Repaints only display row Row (from 1) in a paint of its own.
    void RenderRow(int Row) { Render(QRect(0, (Row - 1) * Ed.LineHeight(), Ed.viewport()->width(), Ed.LineHeight())); }

    QRect Cell(int Row, int Col) const
    {
        return QRect(Ed.LeftMargin() + Col * Ed.CharWidth(), (Row - 1) * Ed.LineHeight(), Ed.CharWidth(),
                     Ed.LineHeight());
    }
    // The background of a cell (its top-left pixel: glyphs start one pixel below the row top).
    QColor Back(int Row, int Col) const { return Image.pixelColor(Cell(Row, Col).topLeft()); }
    // The one colour of the cell's glyph; invalid when the cell has no ink or several colours.
    QColor Ink(int Row, int Col) const
    {
        const QRect C = Cell(Row, Col);
        const QRgb B = Image.pixel(C.topLeft());
        std::set<QRgb> Seen;
        for (int Y = C.top(); Y <= C.bottom(); ++Y)
            for (int X = C.left(); X <= C.right(); ++X)
                if (Image.pixel(X, Y) != B)
                    Seen.insert(Image.pixel(X, Y));
        return Seen.size() == 1 ? QColor(*Seen.begin()) : QColor();
    }
    bool Blank(const QRect &R) const
    {
        const QRgb B = Image.pixel(R.topLeft());
        for (int Y = R.top(); Y <= R.bottom(); ++Y)
            for (int X = R.left(); X <= R.right(); ++X)
                if (Image.pixel(X, Y) != B)
                    return false;
        return true;
    }

    TMarkupEditor Ed;
    QImage Image;
};

std::string Name(const QColor &C)
{
    return C.isValid() ? C.name().toStdString() : std::string("none/mixed");
}
#define EXPECT_COLOR(Actual, Expected) EXPECT_EQ(Name(Actual), Name(Expected))

} // namespace

TEST(MarkupEditorPaint, TagsAndEntitiesInTheirColours)
{
    TView V;
    V.SetText({"<A HREF=x.htm>link</A>", "AT&amp;T", "a < b", "more", "<IMG ALT=\"a>b\">", "<A HREF=\"?a&amp;b\">"});
    // Without syntax colours every pen is black.
    V.Render();
    EXPECT_COLOR(V.Ink(1, 0), Black);
    EXPECT_COLOR(V.Ink(2, 2), Black);

    V.Ed.SetSyntaxColors(Black, Red, Blue);
    V.Render();
    // Both tags, brackets included, in the element colour; the word plain.
    for (int C : {0, 1, 3, 13, 18, 19, 20, 21})
        EXPECT_COLOR(V.Ink(1, C), Red) << "cell " << C;
    for (int C = 14; C < 18; ++C)
        EXPECT_COLOR(V.Ink(1, C), Black) << "cell " << C;
    EXPECT_COLOR(V.Back(1, 0), White);
    // AT&amp;T: the entity from & to ; in its colour.
    EXPECT_COLOR(V.Ink(2, 0), Black);
    EXPECT_COLOR(V.Ink(2, 1), Black);
    for (int C = 2; C <= 6; ++C)
        EXPECT_COLOR(V.Ink(2, C), Blue) << "cell " << C;
    EXPECT_COLOR(V.Ink(2, 7), Black);
    // "a < b" with no ">": the element colour runs on into the next row of the same paint.
    EXPECT_COLOR(V.Ink(3, 0), Black);
    EXPECT_COLOR(V.Ink(3, 2), Red);
    EXPECT_COLOR(V.Ink(3, 4), Red);
    EXPECT_COLOR(V.Ink(4, 0), Red);
    // The ">" inside a quoted ALT ends the colour; the rest of the tag is plain.
    EXPECT_COLOR(V.Ink(5, 10), Red);  // a
    EXPECT_COLOR(V.Ink(5, 11), Red);  // >
    EXPECT_COLOR(V.Ink(5, 12), Black); // b
    EXPECT_COLOR(V.Ink(5, 14), Black); // final >
    // After the entity's ";" inside a tag the rest of the tag, its ">" too, is plain.
    EXPECT_COLOR(V.Ink(6, 10), Red);   // a
    EXPECT_COLOR(V.Ink(6, 11), Blue);  // &
    EXPECT_COLOR(V.Ink(6, 15), Blue);  // ;
    EXPECT_COLOR(V.Ink(6, 16), Black); // b
    EXPECT_COLOR(V.Ink(6, 18), Black); // >
    // Right of a line and below the text: background only.
    EXPECT_TRUE(V.Blank(QRect(V.Cell(2, 8).topLeft(), V.Cell(2, 30).bottomRight())));
    EXPECT_TRUE(V.Blank(QRect(V.Cell(7, 0).topLeft(), V.Cell(8, 30).bottomRight())));
    EXPECT_COLOR(V.Back(8, 0), White);
}

TEST(MarkupEditorPaint, TagSplitOverTwoRowsPaintedTogetherAndApart)
{
    TView V;
    V.Ed.SetSyntaxColors(Black, Red, Blue);
    V.SetText({"x <B", "C> y", "z"});
    V.Render();
    EXPECT_COLOR(V.Ink(1, 2), Red);
    EXPECT_COLOR(V.Ink(2, 0), Red);   // C, the tag goes on
    EXPECT_COLOR(V.Ink(2, 1), Red);   // >
    EXPECT_COLOR(V.Ink(2, 3), Black); // y
    // Repainting the second row alone starts with nothing open: the continuation is plain.
    V.RenderRow(2);
    EXPECT_COLOR(V.Ink(2, 0), Black);
    EXPECT_COLOR(V.Ink(2, 1), Black);
    EXPECT_COLOR(V.Ink(2, 3), Black);
    EXPECT_COLOR(V.Ink(1, 2), Red); // the first row was not touched
    // A paint of both rows again carries the pen over; a paint of row 1 only does not reach row 2.
    V.Render(QRect(0, 0, V.Ed.viewport()->width(), 2 * V.Ed.LineHeight()));
    EXPECT_COLOR(V.Ink(2, 0), Red);
    V.RenderRow(3);
    EXPECT_COLOR(V.Ink(3, 0), Black); // z: a new pass, nothing open
}

TEST(MarkupEditorPaint, SelectionSegments)
{
    TView V;
    V.Ed.SetSyntaxColors(Black, Red, Blue);
    V.SetText({"plain <B>bold</B> text", "second line", "third"});
    // "ain <B": plain text in the selection pen, the tag's characters in the element colour,
    // all on the selection background; the tag's ">" after the selection on the normal one.
    V.Ed.SetSelection(1, 3, 1, 9, true);
    V.Render();
    EXPECT_COLOR(V.Back(1, 1), White);
    EXPECT_COLOR(V.Ink(1, 1), Black);
    for (int C = 2; C <= 7; ++C)
        EXPECT_COLOR(V.Back(1, C), SelBack) << "cell " << C;
    EXPECT_COLOR(V.Ink(1, 2), SelText);
    EXPECT_COLOR(V.Ink(1, 4), SelText);
    EXPECT_COLOR(V.Ink(1, 6), Red);
    EXPECT_COLOR(V.Ink(1, 7), Red);
    EXPECT_COLOR(V.Back(1, 8), White);
    EXPECT_COLOR(V.Ink(1, 8), Red);   // >
    EXPECT_COLOR(V.Ink(1, 9), Black); // b

    // Over a line end: the rest of the first row right of its text keeps the control colour;
    // the end line is selected up to the end column.
    V.Ed.SetSelection(1, 19, 2, 3, true);
    V.Render();
    EXPECT_COLOR(V.Back(1, 17), White);
    EXPECT_COLOR(V.Back(1, 18), SelBack);
    EXPECT_COLOR(V.Ink(1, 18), SelText);
    EXPECT_COLOR(V.Back(1, 21), SelBack);
    EXPECT_COLOR(V.Back(1, 22), White);
    EXPECT_TRUE(V.Blank(QRect(V.Cell(1, 22).topLeft(), V.Cell(1, 40).bottomRight())));
    EXPECT_COLOR(V.Back(2, 0), SelBack);
    EXPECT_COLOR(V.Back(2, 1), SelBack);
    EXPECT_COLOR(V.Back(2, 2), White);
    EXPECT_COLOR(V.Ink(2, 2), Black);

    // A hidden selection without the focus is not drawn.
    V.Ed.SetHideSelection(true);
    V.Render();
    EXPECT_COLOR(V.Back(2, 0), White);
    EXPECT_COLOR(V.Ink(2, 0), Black);
}

TEST(MarkupEditorPaint, DisabledControlDrawsPlainTextGrey)
{
    TView V;
    V.Ed.SetSyntaxColors(Black, Red, Blue);
    V.SetText({"x<B>y&lt;z"});
    V.Ed.SetSelection(1, 1, 1, 6, true);
    V.Ed.setEnabled(false);
    V.Render();
    EXPECT_COLOR(V.Ink(1, 0), Grey);
    EXPECT_COLOR(V.Ink(1, 1), Red);
    EXPECT_COLOR(V.Ink(1, 3), Red);
    EXPECT_COLOR(V.Ink(1, 4), Grey);
    EXPECT_COLOR(V.Ink(1, 5), Blue);
    EXPECT_COLOR(V.Ink(1, 9), Grey);
    EXPECT_COLOR(V.Back(1, 0), White); // no selection on a disabled control
    V.Ed.setEnabled(true);
    V.Render();
    EXPECT_COLOR(V.Ink(1, 0), SelText);
    EXPECT_COLOR(V.Back(1, 0), SelBack);
}

TEST(MarkupEditorPaint, TabsScrollingAndThePartialBottomRow)
{
    TView V;
    V.Ed.SetSyntaxColors(Black, Red, Blue);
    V.SetText({"\t<B>", "<I>text", std::string(600, 'w')});
    V.Render();
    EXPECT_TRUE(V.Blank(QRect(V.Cell(1, 0).topLeft(), V.Cell(1, 7).bottomRight())));
    EXPECT_COLOR(V.Ink(1, 8), Red);
    EXPECT_COLOR(V.Ink(1, 10), Red);

    // One column scrolled off: a tag whose "<" is not visible is not seen.
    V.Ed.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ASSERT_EQ(V.Ed.HScroll(), 1);
    V.Render();
    EXPECT_COLOR(V.Ink(1, 7), Red);
    EXPECT_COLOR(V.Ink(2, 0), Black); // I
    EXPECT_COLOR(V.Ink(2, 1), Black); // >
    EXPECT_COLOR(V.Ink(2, 2), Black); // t

    // A view with a partly visible row under the last whole one: that row is only filled.
    TView P;
    P.Ed.SetScrollBars(ssNone);
    QApplication::processEvents();
    const int LH = P.Ed.LineHeight();
    const QSize Vp = P.Ed.viewport()->size();
    P.Ed.resize(P.Ed.width(), P.Ed.height() - Vp.height() + 3 * LH + LH / 2);
    QApplication::processEvents();
    ASSERT_EQ(P.Ed.viewport()->height(), 3 * LH + LH / 2);
    P.SetText({"WWWW", "WWWW", "WWWW", "WWWW", "WWWW"});
    P.Render();
    EXPECT_COLOR(P.Ink(3, 0), Black);
    EXPECT_TRUE(P.Blank(QRect(P.Ed.LeftMargin(), 3 * LH, P.Ed.viewport()->width() - P.Ed.LeftMargin(), LH / 2)));
}

TEST(MarkupEditorMouse, RightButtonGoesToTheOwner)
{
    QWidget Owner;
    struct TRecorder : QObject {
        int Presses = 0;
        bool eventFilter(QObject *, QEvent *E) override
        {
            if (E->type() == QEvent::MouseButtonPress)
                ++Presses;
            return false;
        }
    } Recorder;
    Owner.installEventFilter(&Recorder);
    TView V(480, 200, &Owner);
    Owner.resize(500, 220);
    Owner.show();
    V.SetText({"first line", "second line"});
    const QPoint At = V.Cell(2, 4).center();

    // Unassigned: the press goes on to the owner window; the caret stays.
    QTest::mousePress(V.Ed.viewport(), Qt::RightButton, {}, At);
    EXPECT_EQ(Recorder.Presses, 1);
    int Col = 0;
    EXPECT_EQ(V.Ed.GetCaretPosition(Col), 1);
    EXPECT_EQ(Col, 1);

    // Assigned: the owner hears of it with the point in the editor's client coordinates.
    std::optional<QPoint> Heard;
    V.Ed.OnRightButton = [&](TMarkupEditor *Sender, QPoint P) {
        EXPECT_EQ(Sender, &V.Ed);
        Heard = P;
    };
    QTest::mousePress(V.Ed.viewport(), Qt::RightButton, {}, At);
    ASSERT_TRUE(Heard);
    EXPECT_EQ(*Heard, At);
    EXPECT_EQ(V.Ed.GetCaretPosition(Col), 1);
    EXPECT_EQ(Col, 1);
    QTest::mouseRelease(V.Ed.viewport(), Qt::RightButton, {}, At);

    // The left button still places the caret.
    QTest::mouseClick(V.Ed.viewport(), Qt::LeftButton, {}, At);
    EXPECT_EQ(V.Ed.GetCaretPosition(Col), 2);
    EXPECT_EQ(Col, 5);
}

TEST(MarkupEditorText, SelectedTextAndItsLimit)
{
    TMarkupEditor Ed;
    Ed.ClearText();
    for (const char *L : {"one", "two", "three"})
        Ed.ParaList().AppendParagraph(L);
    Ed.TextReplaced();
    EXPECT_FALSE(Ed.GetSelectedText().has_value());
    Ed.SetSelection(1, 2, 3, 3, true);
    EXPECT_EQ(Ed.GetSelectedText(), std::optional<std::string>("ne\r\ntwo\r\nth"));

    // 32,767 + 2 + 32,751 bytes is the most that may be taken; one more is refused.
    Ed.ClearText();
    Ed.ParaList().AppendParagraph(std::string(32767, 'a'));
    Ed.ParaList().AppendParagraph(std::string(32751, 'b'));
    Ed.TextReplaced();
    Ed.SetSelection(1, 1, 2, 32752, true);
    const std::optional<std::string> Most = Ed.GetSelectedText();
    ASSERT_TRUE(Most);
    EXPECT_EQ(Most->size(), 65520u);
    EXPECT_EQ(Most->substr(32765, 5), "aa\r\nb");
    Ed.SetCaretPosition(2, 32752);
    Ed.InsertString("b");
    Ed.SetSelection(1, 1, 2, 32753, true);
    try {
        (void)Ed.GetSelectedText();
        FAIL() << "no error for 65,521 bytes";
    } catch (const EEditorError &E) {
        EXPECT_STREQ(E.what(), "Region is too large (> 64K)");
        EXPECT_EQ(E.Code(), 264);
    }
    // The count stops early: a selection far beyond the limit is refused just the same.
    Ed.ClearText();
    for (int I = 0; I < 100000; ++I)
        Ed.ParaList().AppendParagraph("0123456789");
    Ed.TextReplaced();
    Ed.SelectAll(true);
    EXPECT_THROW((void)Ed.GetSelectedText(), EEditorError);
}
