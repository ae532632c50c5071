// The editor's view: public operations and their range errors, scrolling, scroll bars, mouse and
// painting.
#include "support/EditorFixture.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>

namespace {

std::string Lines(int Count, const std::string &Prefix = "line ")
{
    std::string text;
    for (int i = 1; i <= Count; ++i) {
        text += Prefix + std::to_string(i);
        if (i < Count)
            text += "\r\n";
    }
    return text;
}

// Records which display lines were painted.
class TRecordingEditor : public TEdCustomEditor {
public:
    using TEdCustomEditor::TEdCustomEditor;
    std::vector<std::pair<int, int>> Painted;

protected:
    void PaintRows(QPainter &Painter, int First, int Last) override
    {
        Painted.emplace_back(First, Last);
        TEdCustomEditor::PaintRows(Painter, First, Last);
    }
};

} // namespace

class EditorView : public TEditorFixture {};

TEST_F(EditorView, OperationsCheckTheirRanges)
{
    Load("abc\r\n\tx\r\n");
    EXPECT_EQ(Ed->LineCount(), 3);
    EXPECT_EQ(Ed->ParaCount(), 3);
    try {
        Ed->SetCaretPosition(0, 1);
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidLineOrPara &e) {
        EXPECT_STREQ(e.what(), "Invalid line or paragraph index");
    }
    EXPECT_THROW(Ed->SetCaretPosition(4, 1), EInvalidLineOrPara);
    EXPECT_THROW(Ed->SetCaretPosition(1, 0), EInvalidLineOrPara);
    Ed->SetCaretPosition(1, 99);
    EXPECT_EQ(Caret(), std::make_pair(1, 4));
    EXPECT_THROW(Ed->GetLine(0), EInvalidLineOrPara);
    EXPECT_THROW(Ed->GetStringLine(4), EInvalidLineOrPara);
    EXPECT_THROW(Ed->GetLineLength(-1), EInvalidLineOrPara);
    int len = -1;
    EXPECT_THROW(Ed->GetParaPointer(4, len), EInvalidLineOrPara);
    EXPECT_STREQ(Ed->GetParaPointer(2, len), "\tx");
    EXPECT_EQ(len, 2);
    char buf[3];
    EXPECT_STREQ(Ed->GetLine(1, buf, 3), "ab");
    EXPECT_EQ(Ed->GetStringLine(2), "        x");
    EXPECT_EQ(Ed->GetLineLength(2), 2);
    EXPECT_THROW(Ed->SetBookmarkAt(1, 9, 1), EInvalidLineOrCol);
    Ed->SetBookmarkAt(1, 2, 2);
    EXPECT_EQ(Ed->ParaList().Bookmark(1), (TParaPos{2, 2}));

    int l1 = 0, c1 = 0, l2 = 0, c2 = 0;
    EXPECT_FALSE(Ed->GetSelection(l1, c1, l2, c2));
    Ed->SelectAll(false);
    EXPECT_EQ(Caret(), std::make_pair(1, 1));
    ASSERT_TRUE(Ed->GetSelection(l1, c1, l2, c2));
    EXPECT_EQ(std::vector<int>({l1, c1, l2, c2}), std::vector<int>({1, 1, 3, 1}));
    EXPECT_EQ(Ed->SelectedText(), "abc\r\n\tx\r\n");
    Ed->SetSelection(2, 9, 1, 2, true);  // columns cut to the line, caret at the second end
    EXPECT_EQ(Caret(), std::make_pair(1, 2));
    EXPECT_EQ(Ed->SelectedText(), "bc\r\n\tx");
    Ed->DeleteSelection();
    EXPECT_EQ(Text(), "a\r\n");

    // An empty text ignores SetSelection.
    Ed->ClearText();
    Ed->SetSelection(1, 1, 1, 1, true);
    Ed->SelectAll(true);
    EXPECT_FALSE(Ed->HasSelection());

    // InsertString returns its error instead of raising it, and the caret goes after the text.
    EXPECT_EQ(Ed->InsertString("a\r\nb"), 0);
    EXPECT_EQ(Caret(), std::make_pair(2, 2));
    Ed->SetParaLengthLimit(5);
    EXPECT_EQ(Ed->InsertString("123456"), 268);
    EXPECT_EQ(Text(), "a\r\nb");
    EXPECT_TRUE(Ed->Modified());
    Ed->SetModified(false);
    EXPECT_FALSE(Ed->Modified());
}

TEST_F(EditorView, PropertySettersFollowTheirRules)
{
    Ed->SetScrollPastEnd(true);
    Ed->SetWordWrap(true);
    EXPECT_TRUE(Ed->WordWrap());
    EXPECT_FALSE(Ed->ScrollPastEnd());
    Ed->SetWrapAtLeft(false);
    EXPECT_TRUE(Ed->WrapAtLeft());
    Ed->SetScrollPastEnd(true);
    EXPECT_FALSE(Ed->WordWrap());
    Ed->SetWrapAtLeft(false);
    EXPECT_FALSE(Ed->WrapAtLeft());
    Ed->SetWrapColumn(0);
    EXPECT_EQ(Ed->WrapColumn(), 80);
    Ed->SetTabSize(0);
    EXPECT_EQ(Ed->TabSize(), 8);
    Ed->SetParaLengthLimit(40000);
    EXPECT_EQ(Ed->ParaLengthLimit(), 40000);
    Ed->SetParaLengthLimit(TParaList::MaxParaLength + 1);
    EXPECT_EQ(Ed->ParaLengthLimit(), 40000);
    Ed->SetLeftMargin(-3);
    EXPECT_EQ(Ed->LeftMargin(), 15);
    Ed->SetScrollBarsAlways(true);
    Ed->SetScrollBars(ssNone);
    EXPECT_FALSE(Ed->ScrollBarsAlways());
    Ed->SetScrollBarsAlways(true);
    EXPECT_FALSE(Ed->ScrollBarsAlways());
    Ed->SetScrollBars(ssBoth);
    // Wrapping to the window follows the width.
    Ed->SetWordWrap(true);
    Ed->SetWrapToWindow(true);
    EXPECT_EQ(Ed->WrapColumn(), Ed->VisibleColumns() - 2);
    Ed->setGeometry(0, 0, 300, 300);
    Settle();
    EXPECT_EQ(Ed->WrapColumn(), Ed->VisibleColumns() - 2);
    // Metrics: columns and rows from the client size.
    const int cw = Ed->CharWidth(), lh = Ed->LineHeight();
    EXPECT_EQ(Ed->VisibleColumns(), (Ed->viewport()->width() - 15 - 5) / cw);
    EXPECT_EQ(Ed->VisibleRows(), Ed->viewport()->height() / lh);
    // A control never shown yet counts from its client area.
    TEdCustomEditor hidden;
    hidden.resize(400, 300);
    EXPECT_EQ(hidden.VisibleColumns(), (hidden.contentsRect().width() - 20) / hidden.CharWidth());
    EXPECT_EQ(hidden.sizeHint(), QSize(200, 150));
}

TEST_F(EditorView, CaretMovesScrollTheView)
{
    Load(Lines(100));
    std::vector<int> tops;
    Ed->OnTopLineChanged = [&](TEdCustomEditor *, int Line) { tops.push_back(Line); };
    const int rows = Ed->VisibleRows();
    Ed->SetCaretPosition(100, 1);
    EXPECT_EQ(Ed->TopLine(), 100 - rows + 1);
    EXPECT_EQ(tops, std::vector<int>{100 - rows + 1});
    Ed->SetCaretPosition(1, 1);
    EXPECT_EQ(Ed->TopLine(), 1);
    // A page down keeps the caret's row on screen.
    Ed->SetCaretPosition(3, 1);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Caret().first, 3 + rows - 1);
    EXPECT_EQ(Ed->TopLine(), 1 + rows - 1);
    Key(Qt::Key_PageUp, Qt::ControlModifier);  // to the top of the page
    EXPECT_EQ(Caret().first, Ed->TopLine());
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Caret().first, Ed->TopLine() + rows - 1);
    // Scrolling never moves the caret.
    const auto caret = Caret();
    Ed->ProcessCommand(ccScrollDown, 0);
    EXPECT_EQ(Caret(), caret);
    // The vertical bar over the top lines.
    QScrollBar *v = Ed->verticalScrollBar();
    EXPECT_EQ(v->maximum(), 100 - rows + 1);
    v->setSliderPosition(v->maximum());
    v->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(Ed->TopLine(), 100 - rows + 1);
    v->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(Ed->TopLine(), 100 - rows);
}

TEST_F(EditorView, HorizontalScrollReturnsToTheLeftEdge)
{
    Load(std::string(300, 'x') + "\r\nshort\r\n" + std::string(300, 'y'));
    const int cols = Ed->VisibleColumns();
    Ed->SetCaretPosition(1, 200);
    EXPECT_EQ(Ed->HScroll(), 200 - cols);
    // The range ends at 512 columns even for longer lines.
    EXPECT_EQ(Ed->horizontalScrollBar()->maximum(), 512);
    // Moving down into a long line to a later line resets the scroll to the left edge.
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), std::make_pair(2, 6));
    EXPECT_EQ(Ed->HScroll(), 0);
    Key(Qt::Key_End);
    Ed->SetCaretPosition(1, 200);
    EXPECT_GT(Ed->HScroll(), 0);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), std::make_pair(3, 6));
    // Enter at a scrolled position comes back to the left edge.
    Ed->SetCaretPosition(3, 250);
    EXPECT_GT(Ed->HScroll(), 0);
    Key(Qt::Key_Return);
    EXPECT_EQ(Ed->HScroll(), 0);
    // Left of the view: the offset puts the caret one column in.
    Ed->SetCaretPosition(1, 250);
    Ed->SetCaretPosition(1, 100);
    EXPECT_EQ(Ed->HScroll(), 99);
}

TEST_F(EditorView, ALineOfAnyLengthIsReachedWhole)
{
    // 300,000 characters with tabs and markup: End reaches its end, the status counts its cells,
    // the horizontal range reaches it, a click maps back to the character under the mouse.
    std::string line;
    for (int i = 0; line.size() < 300000; ++i)
        line += i % 7 == 0 ? "\t<td>" : "cell" + std::to_string(i) + " ";
    Load(line + "\r\nshort");
    const TEdCells cells(line, Ed->TabSize());
    const int width = cells.TotalWidth();
    EXPECT_GE(Ed->horizontalScrollBar()->maximum(), width);
    Key(Qt::Key_End);
    EXPECT_EQ(Caret(), std::make_pair(1, static_cast<int>(line.size()) + 1));
    EXPECT_EQ(LastStatus().Col, width + 1);
    EXPECT_EQ(Ed->HScroll(), width + 1 - Ed->VisibleColumns());
    // Typing in the middle, and a click there.
    Ed->SetCaretPosition(1, 150001);
    Type("x");
    EXPECT_EQ(Ed->ParaList().ParaText(1).substr(150000, 1), "x");
    const int screen = Ed->HScroll() + 3;
    QTest::mouseClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, screen));
    EXPECT_EQ(Caret().second, TEdCells(Ed->ParaList().ParaText(1), Ed->TabSize()).CharColumn(screen));
    // Select All takes the whole line, however long; the view paints without looking at all of it.
    Ed->SelectAll(true);
    EXPECT_EQ(Caret(), std::make_pair(2, 6));
    QImage image(Ed->viewport()->size(), QImage::Format_RGB32);
    Ed->viewport()->render(&image);
    Ed->SetCaretPosition(1, 1);
    EXPECT_EQ(Ed->HScroll(), 0);
}

TEST_F(EditorView, MouseClicksDragsAndDoubleClicks)
{
    // Clicking into an empty text does not move the caret.
    QTest::mouseClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(3, 5));
    Settle();
    EXPECT_EQ(Caret(), std::make_pair(1, 1));
    EXPECT_TRUE(Statuses.empty());

    Load("hello world\r\n<b>bold</b> and more\r\nthird line\r\n" + Lines(60));
    QTest::mouseClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 7));
    EXPECT_EQ(Caret(), std::make_pair(1, 7));
    QTest::mouseClick(Ed->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellPoint(2, 4));
    EXPECT_EQ(Ed->SelectedText(), "world\r\n<b>");
    // Past the end of a line: after its last character.
    QTest::mouseClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(3, 40));
    EXPECT_EQ(Caret(), std::make_pair(3, 11));
    EXPECT_EQ(LastStatus().Line, 3);

    // Double-click: the word and the blanks after it; on a delimiter the word before it.
    QTest::mouseDClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 3));
    EXPECT_EQ(Ed->SelectedText(), "hello ");
    EXPECT_EQ(Caret(), std::make_pair(1, 7));
    QTest::mouseDClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(2, 8));
    EXPECT_EQ(Ed->SelectedText(), "bold");
    QTest::mouseDClick(Ed->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellPoint(2, 14));
    EXPECT_EQ(Ed->SelectedText(), "bold</b> and ");

    // The left margin selects whole lines; a double click there the paragraph without its break.
    const QPoint margin(5, Ed->LineHeight() / 2);
    QTest::mouseClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, margin);
    EXPECT_EQ(Ed->SelectedText(), "hello world\r\n");
    EXPECT_EQ(Caret(), std::make_pair(2, 1));
    QTest::mousePress(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, Ed->LineHeight() * 2 + 2));
    QTest::mouseMove(Ed->viewport(), margin);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, Ed->LineHeight() / 2), QPointF(), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(Ed->viewport(), &move);
    // Above the anchor (the pressed line's start) the selection runs from the mouse line to it.
    EXPECT_EQ(Ed->SelectedText(), "hello world\r\n<b>bold</b> and more\r\n");
    EXPECT_EQ(Caret(), std::make_pair(1, 1));
    QMouseEvent down(QEvent::MouseMove, QPointF(5, Ed->LineHeight() * 3 + 2), QPointF(), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Ed->viewport(), &down);
    EXPECT_EQ(Ed->SelectedText(), "third line\r\nline 1\r\n");
    EXPECT_EQ(Caret(), std::make_pair(5, 1));
    QTest::mouseRelease(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, margin);
    QTest::mouseDClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, Ed->LineHeight() + 2));
    EXPECT_EQ(Ed->SelectedText(), "<b>bold</b> and more");

    // Dragging below the window scrolls down one line per step.
    QTest::mousePress(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 1));
    const int top = Ed->TopLine();
    const int rows = Ed->VisibleRows();
    for (int i = 1; i <= 3; ++i) {
        QMouseEvent below(QEvent::MouseMove, QPointF(30, Ed->viewport()->height() + 10), QPointF(), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Ed->viewport(), &below);
        EXPECT_EQ(Ed->TopLine(), top + i);
        EXPECT_EQ(Caret().first, top + rows - 1 + i);
    }
    QTest::mouseRelease(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 1));
    EXPECT_TRUE(Ed->HasSelection());
}

// In a UTF-8 text a click lands on a character's first byte, also in the second cell of a wide
// character; a double click selects a word of any script; the characters are drawn in their cells.
TEST_F(EditorView, MouseAndPaintingFollowUtf8Characters)
{
    Ed->ParaList().SetEncoding(TTextEncoding::Utf8);
    const std::string cjk = "\xE4\xB8\xAD\xE6\x96\x87";     // two wide characters
    const std::string cyr = "\xD0\xB6\xD0\xB0\xD0\xBC";      // three letters
    Load(cjk + " " + cyr + "\r\nab");
    for (int screen = 1; screen <= 10; ++screen) {
        QTest::mouseClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, screen));
        const int col = Caret().second;
        const std::string_view line = Ed->ParaList().GetLine(1);
        ASSERT_TRUE(col > static_cast<int>(line.size()) || (static_cast<unsigned char>(line[col - 1]) & 0xC0) != 0x80)
            << screen << " gave column " << col;
    }
    QTest::mouseClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 4));  // the second CJK's first cell
    EXPECT_EQ(Caret(), std::make_pair(1, 4));
    QTest::mouseClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 2));  // the first CJK's second cell
    EXPECT_EQ(Caret(), std::make_pair(1, 1));
    QTest::mouseDClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 7));
    EXPECT_EQ(Ed->SelectedText(), cyr);
    QTest::mouseDClick(Ed->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 2));
    EXPECT_EQ(Ed->SelectedText(), cjk + " ");
    Ed->SetSelection(1, 2, 1, 9, true);  // both ends inside characters
    EXPECT_EQ(Ed->SelectedText(), cjk + " ");  // the end inside the Zhe goes to its start

    // Painted: each wide character covers ink in both of its cells, the Cyrillic letters one each.
    Ed->SetSelection(1, 1, 1, 1, true);
    Settle();
    const QImage image = Ed->viewport()->grab().toImage();
    const auto inked = [&](int screen) {
        const int x0 = CellPoint(1, screen).x() - Ed->CharWidth() / 4;
        for (int x = x0; x < x0 + Ed->CharWidth(); ++x)
            for (int y = 1; y < Ed->LineHeight() - 1; ++y)
                if (qGray(image.pixel(x, y)) < 128)
                    return true;
        return false;
    };
    for (int screen : {1, 2, 3, 4, 6, 7, 8})
        EXPECT_TRUE(inked(screen)) << "cell " << screen;
    EXPECT_FALSE(inked(5));
    EXPECT_FALSE(inked(9));
}

TEST_F(EditorView, WordWrapAddressesDisplayLines)
{
    Ed->SetWordWrap(true);
    Ed->SetWrapColumn(10);
    Load("aaaa bbbb cccc\r\nz");
    EXPECT_EQ(Ed->LineCount(), 3);
    EXPECT_EQ(Ed->GetLine(1), "aaaa bbbb ");
    EXPECT_EQ(Ed->GetLine(2), "cccc");
    Ed->SetCaretPosition(1, 3);
    Key(Qt::Key_End);  // stays on the wrapped line, on its last character
    EXPECT_EQ(Caret(), std::make_pair(1, 10));
    Key(Qt::Key_Right);
    EXPECT_EQ(Caret(), std::make_pair(2, 1));
    Key(Qt::Key_Left);
    EXPECT_EQ(Caret(), std::make_pair(1, 10));
    // Typing that pushes a word onto the next line moves the caret with it.
    Ed->SetCaretPosition(2, 5);
    Type("dd");
    EXPECT_EQ(Ed->GetLine(2), "ccccdd");
    Ed->SetCaretPosition(1, 5);
    Type("xx");
    EXPECT_EQ(Ed->GetLine(1), "aaaaxx ");
    EXPECT_EQ(Ed->GetLine(2), "bbbb ");
    EXPECT_EQ(Ed->ParaCount(), 2);
}

TEST_F(EditorView, PaintsOnlyChangedLinesAndDrawsSelectionAndBookmarks)
{
    Window.reset();
    auto window = std::make_unique<QWidget>();
    auto *ed = new TRecordingEditor(window.get());
    ed->setGeometry(0, 0, 400, 300);
    window->resize(400, 300);
    window->show();
    QApplication::setActiveWindow(window.get());
    ed->setFocus();
    ASSERT_EQ(ed->InsertString(Lines(100)), 0);
    ed->SetCaretPosition(5, 3);
    Settle();
    ed->Painted.clear();
    QTest::keyClicks(ed, "Q");
    Settle();
    ASSERT_FALSE(ed->Painted.empty());
    for (const auto &[first, last] : ed->Painted) {
        EXPECT_GE(first, 5);
        EXPECT_LE(last, 5);
    }
    // A new line repaints from the edit down.
    ed->Painted.clear();
    QTest::keyClick(ed, Qt::Key_Return);
    Settle();
    ASSERT_FALSE(ed->Painted.empty());
    EXPECT_GE(ed->Painted.front().first, 5);
    EXPECT_GE(ed->Painted.front().second, ed->TopLine() + ed->VisibleRows() - 1);

    // Rendered offscreen: the selection in the highlight colour, the bookmark in the margin.
    ed->SetSelection(1, 1, 1, 5, true);
    ed->SetCaretPosition(2, 1);
    ed->SetBookmark(4);
    ed->SetSelection(1, 1, 1, 5, true);
    QImage image(ed->viewport()->size(), QImage::Format_RGB32);
    ed->viewport()->render(&image);
    const QColor sel = ed->HighlightColors().Back(ed->palette());
    const int y = ed->LineHeight() - 2;
    EXPECT_EQ(QColor(image.pixel(ed->LeftMargin() + 1, y)), sel);
    EXPECT_NE(QColor(image.pixel(ed->LeftMargin() + 6 * ed->CharWidth(), y)), sel);
    int marked = 0;
    for (int x = 0; x < ed->LeftMargin(); ++x)
        for (int yy = ed->LineHeight(); yy < 2 * ed->LineHeight(); ++yy)
            marked += QColor(image.pixel(x, yy)) == QColor(0, 96, 128) ? 1 : 0;
    EXPECT_GT(marked, 10);
    // A second bookmark on the same line leaves the lower digit showing.
    const QRect margin(0, ed->LineHeight(), ed->LeftMargin(), ed->LineHeight());
    const QImage four = image.copy(margin);
    ed->SetCaretPosition(2, 1);
    ed->SetBookmark(7);
    ed->SetSelection(1, 1, 1, 5, true);
    ed->viewport()->render(&image);
    EXPECT_EQ(image.copy(margin), four);
    ed->ParaList().ClearBookmark(4);
    ed->viewport()->render(&image);
    EXPECT_NE(image.copy(margin), four) << "digit 7 shows once 4 is gone";
    int unmarked = 0;
    for (int x = 0; x < ed->LeftMargin(); ++x)
        for (int yy = 2 * ed->LineHeight(); yy < 3 * ed->LineHeight(); ++yy)
            unmarked += QColor(image.pixel(x, yy)) == QColor(0, 96, 128) ? 1 : 0;
    EXPECT_EQ(unmarked, 0);
}

TEST_F(EditorView, CaretShapesFontsAndFocus)
{
    TEdCaret caret;
    EXPECT_EQ(caret.Size(8, 16), QSize(2, 16));  // vertical line, CaretWidth wide
    caret.SetShape(csBlock);
    EXPECT_EQ(caret.Size(8, 16), QSize(8, 16));
    caret.SetShape(csHalfBlock);
    EXPECT_EQ(caret.Rect(QPoint(10, 20), 8, 16), QRect(10, 24, 8, 8));  // left edge, centred vertically
    caret.SetShape(csHorzLine);
    caret.SetAlign(caBottom);
    EXPECT_EQ(caret.Rect(QPoint(10, 20), 8, 16), QRect(10, 26, 8, 10));
    caret.SetShape(csCustom);
    caret.SetCaretWidth(4);
    caret.SetCaretHeight(6);
    caret.SetAlign(caCenter);
    EXPECT_EQ(caret.Rect(QPoint(0, 0), 8, 16), QRect(2, 5, 4, 6));
    caret.SetAlign(caRight);
    EXPECT_EQ(caret.Rect(QPoint(0, 0), 8, 16), QRect(4, 5, 4, 6));

    // A proportional or missing family is refused by Assign and replaced by AssignOrSubstitute.
    TEdFixedFont font;
    QFont wide("DejaVu Sans");
    wide.setPixelSize(17);
    if (!TEdFixedFont::FixedFamilies().contains("DejaVu Sans")) {
        EXPECT_THROW(font.Assign(wide), EInvalidFixedFont);
        EXPECT_FALSE(font.AssignOrSubstitute(wide));
        EXPECT_TRUE(TEdFixedFont::IsFixedPitch(font.Font()));
        EXPECT_EQ(font.Font().pixelSize(), 17);
    }
    QFont missing("No Such Face At All");
    missing.setPixelSize(13);
    missing.setBold(true);
    EXPECT_THROW(font.Assign(missing), EInvalidFixedFont);
    EXPECT_FALSE(font.AssignOrSubstitute(missing));
    EXPECT_EQ(font.Font().pixelSize(), 13);
    EXPECT_TRUE(font.Bold());

    // The editor's metrics follow its font.
    Load("ab\r\ncd");
    QFont big = Ed->FixedFont().Font();
    big.setPixelSize(24);
    const int before = Ed->LineHeight();
    Ed->FixedFont().AssignOrSubstitute(big);
    EXPECT_GT(Ed->LineHeight(), before);
    EXPECT_EQ(Ed->VisibleRows(), Ed->viewport()->height() / Ed->LineHeight());

    // With the focus the caret shows, inverted over the text cell; without it, it is gone.
    ASSERT_TRUE(Ed->hasFocus());
    Ed->SetInsertMode(false);  // the block caret
    Ed->SetCaretPosition(2, 2);
    Settle();
    QImage shown(Ed->viewport()->size(), QImage::Format_RGB32);
    Ed->viewport()->render(&shown);
    const QPoint cell(Ed->LeftMargin() + Ed->CharWidth() + 1, Ed->LineHeight() + 1);
    const QColor base = Ed->palette().color(QPalette::Base);
    EXPECT_NE(QColor(shown.pixel(cell)), base);
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(Ed, &out);
    QImage hidden(Ed->viewport()->size(), QImage::Format_RGB32);
    Ed->viewport()->render(&hidden);
    EXPECT_EQ(QColor(hidden.pixel(cell)), base);
    // The mode went to the controller; focus coming back takes it from there.
    EXPECT_FALSE(Ed->Controller()->InsertMode());
    Ed->Controller()->SetInsertMode(true);
    QFocusEvent in(QEvent::FocusIn);
    QCoreApplication::sendEvent(Ed, &in);
    EXPECT_TRUE(Ed->InsertMode());
}
