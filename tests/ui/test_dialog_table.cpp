// The table designer driven as a user would: spin edits with their bounds, heading boxes, cells
// typed in place, the cell properties dialog, dragged rows, the Source preview and the lines.
#include "DialogScript.h"
#include "support/RecordingHelp.h"
#include "support/ScriptedPrompt.h"
#include "ui/dialogs/CellPropertiesDialog.h"
#include "ui/dialogs/TableDesigner.h"
#include "ui/dialogs/TableSourceView.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace {

using TLines = std::vector<std::string>;

TTableDlg &Dlg(QDialog &D) { return static_cast<TTableDlg &>(D); }

QPoint CellCenter(TTableDlg &D, int Col, int Row)
{
    return D.Table1->visualRect(D.Table1->model()->index(Row, Col)).center();
}

void RightClick(TTableDlg &D, int Col, int Row)
{
    QTest::mouseClick(D.Table1->viewport(), Qt::RightButton, {}, CellCenter(D, Col, Row));
}

// Clicks a data cell and types into it in place.
void TypeInCell(TTableDlg &D, int Col, int Row, const QString &Text)
{
    QTest::mouseClick(D.Table1->viewport(), Qt::LeftButton, {}, CellCenter(D, Col, Row));
    // The first key opens the cell's editor, which takes the keys that follow.
    QTest::keyClicks(D.Table1, Text.left(1));
    for (QLineEdit *editor : D.Table1->viewport()->findChildren<QLineEdit *>())
        if (editor->isVisible())
            QTest::keyClicks(editor, Text.mid(1));
}

void SetSpin(TSpinEdit *Spin, const QString &Text)
{
    // Typed over the selected text, as a user replaces the number.
    Spin->selectAll();
    QTest::keyClicks(Spin, Text);
}

void LeaveSpin(TSpinEdit *Spin)
{
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(Spin, &out);
}

// A cell properties step: checks the caption and the prefilled fields, then fills them.
TDialogScript::TStep CellStep(QString Text, QString HAlign, QString VAlign, bool NoWrap, bool Ok = true,
                              QStringList Before = {})
{
    return [=](QDialog &d) {
        auto &c = static_cast<TCellProperty &>(d);
        if (!Before.isEmpty()) {
            EXPECT_EQ((QStringList{c.TextEdit->text(), c.HAlignCombo->currentText(), c.VAlignCombo->currentText(),
                                   c.NoWrapCheck->isChecked() ? "nowrap" : ""}),
                      Before);
        }
        Retype(c.TextEdit, Text);
        Retype(c.HAlignCombo, HAlign);
        Retype(c.VAlignCombo, VAlign);
        if (c.NoWrapCheck->isChecked() != NoWrap)
            Click(c.NoWrapCheck);
        return Press(d, Ok ? c.OKBtn : c.CancelBtn);
    };
}

} // namespace

TEST(TableDesigner, TwoByTwoExampleWithSourcePreview)
{
    TRecordingHelp help;
    TDialogScript script;
    script.Expect("Table Designer", [&](QDialog &d) {
        TTableDlg &t = Dlg(d);
        EXPECT_EQ(t.RowSpinEdit->text(), "5");
        EXPECT_EQ(t.ColSpinEdit->text(), "5");
        EXPECT_TRUE(t.ColHeadingsCheck->isChecked());
        EXPECT_TRUE(t.RowHeadingsCheck->isChecked());
        EXPECT_TRUE(t.BorderCheckBox->isChecked());
        EXPECT_EQ(t.BorderCheckBox->text(), "Border Width");
        EXPECT_EQ(ComboEntries(t.CaptionAlignCombo), (QStringList{"top", "bottom", ""}));
        EXPECT_EQ(t.CaptionAlignCombo->currentText(), "");
        EXPECT_EQ(t.Table1->model()->rowCount(), 5);
        EXPECT_EQ(t.Table1->model()->columnCount(), 5);
        EXPECT_EQ(t.Table1->font().family(), "Arial");
        EXPECT_EQ(t.Table1->font().pointSize(), 8);
        const QRect screen = t.screen()->availableGeometry();
        EXPECT_EQ(t.y(), screen.top() + 48);
        EXPECT_NEAR(t.x() + t.width() / 2, screen.center().x(), 1) << "centred across the screen";
        // Every field of the options is wide enough to show a few digits.
        for (QLineEdit *number : {t.BorderWidthEdit, t.CellPaddingEdit, t.CellSpacingEdit})
            EXPECT_GE(number->width(), number->fontMetrics().horizontalAdvance("0000")) << number->objectName().toStdString();
        EXPECT_NE(t.findChild<QLabel *>("HintLabel"), nullptr);
        EXPECT_EQ(t.findChild<QLabel *>("HintLabel")->text(), "Right-click on table headings to specify text");
        EXPECT_EQ(t.PreviewBtn->text(), "Source");

        SetSpin(t.RowSpinEdit, "2");
        SetSpin(t.ColSpinEdit, "2");
        EXPECT_EQ(t.Table1->model()->rowCount(), 2);
        EXPECT_EQ(t.Table1->model()->columnCount(), 2);
        // Heading cells take their text only through the cell properties dialog.
        script.Expect("Table Heading: Col 0, Row 0", CellStep("A", "", "", false));
        RightClick(t, 0, 0);
        script.Expect("Table Heading: Col 1, Row 0", CellStep("B", "", "", false));
        RightClick(t, 1, 0);
        script.Expect("Table Heading: Col 0, Row 1", CellStep("C", "", "", false));
        RightClick(t, 0, 1);
        QTest::mouseClick(t.Table1->viewport(), Qt::LeftButton, {}, CellCenter(t, 0, 1));
        QTest::keyClicks(t.Table1, "x");
        EXPECT_EQ(t.Grid.Cell(0, 1), "C") << "a heading cell is not edited in place";
        TypeInCell(t, 1, 1, "D");
        EXPECT_EQ(t.Grid.Cell(1, 1), "D");
        Type(t.BorderWidthEdit, "1");

        script.Expect("Table Designer: Preview", [&](QDialog &p) {
            auto &pre = static_cast<TTablePreview &>(p);
            EXPECT_EQ(pre.Memo1->toPlainText(), "<TABLE BORDER=\"1\">\n<TR> <TH>A</TH> <TH>B</TH> </TR>\n"
                                                "<TR> <TH>C</TH> <TD>D</TD> </TR>\n</TABLE>");
            EXPECT_TRUE(pre.Memo1->isReadOnly());
            EXPECT_EQ(pre.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
            EXPECT_EQ(pre.Memo1->font().pointSize(), 9);
            return Press(p, pre.OKBtn);
        });
        Click(t.PreviewBtn);
        Click(t.HelpBtn);
        return Press(d, t.OkBtn);
    });
    EXPECT_EQ(ExecTableDlg(nullptr), std::make_optional(TLines{"<TABLE BORDER=\"1\">", "<TR> <TH>A</TH> <TH>B</TH> </TR>",
                                                               "<TR> <TH>C</TH> <TD>D</TD> </TR>", "</TABLE>"}));
    EXPECT_EQ(help.Requests, QStringList{"topic:table_designer"});

    script.Expect("Table Designer", [&](QDialog &d) {
        TypeInCell(Dlg(d), 2, 2, "lost");
        return Press(d, Dlg(d).CancelBtn);
    });
    EXPECT_EQ(ExecTableDlg(nullptr), std::nullopt);
}

TEST(TableDesigner, SpinEditsAndHeadings)
{
    TDialogScript script;
    script.Expect("Table Designer", [&](QDialog &d) {
        TTableDlg &t = Dlg(d);
        // Only digits, signs and the decimal separator are taken.
        SetSpin(t.RowSpinEdit, "3a");
        EXPECT_EQ(t.RowSpinEdit->text(), "3");
        // Out of range: the grid takes it at once (within its own bounds), leaving puts the bound.
        SetSpin(t.RowSpinEdit, "600");
        EXPECT_EQ(t.Table1->model()->rowCount(), 500);
        LeaveSpin(t.RowSpinEdit);
        EXPECT_EQ(t.RowSpinEdit->text(), "500");
        t.RowSpinEdit->stepBy(1);
        EXPECT_EQ(t.RowSpinEdit->text(), "500") << "the arrows stay within the bounds";
        // One row: no heading row, Column Headings disabled but still ticked.
        SetSpin(t.RowSpinEdit, "0");
        EXPECT_EQ(t.Table1->model()->rowCount(), 1);
        EXPECT_FALSE(t.ColHeadingsCheck->isEnabled());
        EXPECT_TRUE(t.ColHeadingsCheck->isChecked());
        LeaveSpin(t.RowSpinEdit);
        EXPECT_EQ(t.RowSpinEdit->text(), "1");
        // A text that is no whole number counts as 1 and stays as typed.
        SetSpin(t.RowSpinEdit, "2.5");
        EXPECT_EQ(t.Table1->model()->rowCount(), 1);
        LeaveSpin(t.RowSpinEdit);
        EXPECT_EQ(t.RowSpinEdit->text(), "2.5");
        QTest::keyClick(t.RowSpinEdit, Qt::Key_Up);
        EXPECT_EQ(t.RowSpinEdit->text(), "2");
        SetSpin(t.RowSpinEdit, "3");
        EXPECT_TRUE(t.ColHeadingsCheck->isEnabled());
        EXPECT_TRUE(t.Grid.IsHeadingCell(1, 0)) << "the ticked box brings the heading row back";
        // Clearing the number before typing a new one keeps the headings too.
        t.ColSpinEdit->selectAll();
        QTest::keyClick(t.ColSpinEdit, Qt::Key_Backspace);
        EXPECT_EQ(t.Table1->model()->columnCount(), 1);
        EXPECT_FALSE(t.Grid.IsHeadingCell(0, 1));
        QTest::keyClicks(t.ColSpinEdit, "4");
        EXPECT_TRUE(t.Grid.IsHeadingCell(0, 1));
        Click(t.ColHeadingsCheck);
        EXPECT_FALSE(t.Grid.IsHeadingCell(1, 0));
        SetSpin(t.RowSpinEdit, "1");
        SetSpin(t.RowSpinEdit, "3");
        EXPECT_FALSE(t.Grid.IsHeadingCell(1, 0)) << "an unticked box brings nothing back";
        Click(t.ColHeadingsCheck);
        EXPECT_TRUE(t.Grid.IsHeadingCell(1, 0));

        SetSpin(t.ColSpinEdit, "12");
        EXPECT_EQ(t.Table1->model()->columnCount(), 10);
        LeaveSpin(t.ColSpinEdit);
        EXPECT_EQ(t.ColSpinEdit->text(), "10");
        SetSpin(t.ColSpinEdit, "1");
        EXPECT_FALSE(t.RowHeadingsCheck->isEnabled());
        SetSpin(t.ColSpinEdit, "2");
        Click(t.RowHeadingsCheck); // off
        Click(t.ColHeadingsCheck); // off
        EXPECT_TRUE(t.Table1->model()->flags(t.Table1->model()->index(0, 0)) & Qt::ItemIsEditable);
        TypeInCell(t, 0, 0, "a");
        Click(t.BorderCheckBox);
        Type(t.BorderWidthEdit, "4");
        Type(t.TableCaptionEdit, "Cap");
        Type(t.CellSpacingEdit, "2");
        return Press(d, t.OkBtn);
    });
    EXPECT_EQ(ExecTableDlg(nullptr),
              std::make_optional(TLines{"<TABLE CELLSPACING=\"2\">", "<CAPTION>Cap</CAPTION>",
                                        "<TR> <TD>a</TD> <TD></TD> </TR>", "<TR> <TD></TD> <TD></TD> </TR>",
                                        "<TR> <TD></TD> <TD></TD> </TR>", "</TABLE>"}));
}

TEST(TableDesigner, CellAttributesDraggingAndDrawing)
{
    TDialogScript script;
    script.Expect("Table Designer", [&](QDialog &d) {
        TTableDlg &t = Dlg(d);
        SetSpin(t.ColSpinEdit, "2");
        t.Table1->resize(400, 400);
        script.Expect("Table Data: Col 1, Row 4", CellStep("four", "abcdefghijklmnopq", "center", true));
        RightClick(t, 1, 4);
        EXPECT_EQ(t.CellInfoList.GetCell(1, 4)->HAlign, "abcdefghijklmnop") << "cut to 16 characters";
        script.Expect("Table Data: Col 1, Row 4",
                      CellStep("4", "right", "", false, true, {"four", "abcdefghijklmnop", "center", "nowrap"}));
        RightClick(t, 1, 4);
        script.Expect("Table Data: Col 1, Row 3", CellStep("three", "left", "top", true, false));
        RightClick(t, 1, 3);
        EXPECT_EQ(t.CellInfoList.GetCell(1, 3), nullptr) << "Cancel changes nothing";
        EXPECT_EQ(t.Grid.Cell(1, 3), "");
        // Outside every cell the right button does nothing.
        QTest::mouseClick(t.Table1->viewport(), Qt::RightButton, {}, QPoint(390, 390));

        // The attributes of row 4 survive a shrink and regrow.
        SetSpin(t.RowSpinEdit, "3");
        SetSpin(t.RowSpinEdit, "5");
        EXPECT_EQ(t.Table1->model()->rowCount(), 5);
        TypeInCell(t, 1, 2, "two");
        TypeInCell(t, 1, 1, "one");

        // Drawing: a heading cell in the button-shadow colour, the right-aligned text at the right.
        const QImage img = t.Table1->viewport()->grab().toImage();
        const QRect head = t.Table1->visualRect(t.Table1->model()->index(0, 0));
        EXPECT_EQ(img.pixel(head.left() + 2, head.top() + 2), t.Table1->palette().color(QPalette::Dark).rgb());
        const QRect right = t.Table1->visualRect(t.Table1->model()->index(4, 1));
        bool leftInk = false, rightInk = false;
        const QRgb base = t.Table1->palette().color(QPalette::Base).rgb();
        for (int y = right.top(); y <= right.bottom(); ++y) {
            for (int x = right.left() + 1; x < right.left() + 10; ++x)
                leftInk = leftInk || img.pixel(x, y) != base;
            for (int x = right.right() - 10; x < right.right(); ++x)
                rightInk = rightInk || img.pixel(x, y) != base;
        }
        EXPECT_FALSE(leftInk);
        EXPECT_TRUE(rightInk);

        // Dragging row 2 below row 3: texts move, attributes stay with their positions.
        t.Table1->verticalHeader()->moveSection(2, 3);
        EXPECT_EQ(t.Grid.Cell(1, 3), "two");
        EXPECT_EQ(t.Grid.Cell(1, 2), "");
        EXPECT_EQ(t.Table1->verticalHeader()->visualIndex(2), 2) << "the sections stay in order";
        // The heading row cannot be dragged.
        t.Table1->verticalHeader()->moveSection(0, 1);
        EXPECT_EQ(t.Grid.Cell(1, 1), "one");
        t.Table1->horizontalHeader()->moveSection(1, 0);
        EXPECT_EQ(t.Grid.Cell(1, 1), "one");
        Click(t.BorderCheckBox);
        Type(t.CellPaddingEdit, "3");
        t.CaptionAlignCombo->setCurrentIndex(1);
        return Press(d, t.OkBtn);
    });
    EXPECT_EQ(ExecTableDlg(nullptr),
              std::make_optional(TLines{"<TABLE CELLPADDING=\"3\">", "<TR> <TH></TH> <TH></TH> </TR>",
                                        "<TR> <TH></TH> <TD>one</TD> </TR>", "<TR> <TH></TH> <TD></TD> </TR>",
                                        "<TR> <TH></TH> <TD>two</TD> </TR>",
                                        "<TR> <TH></TH> <TD ALIGN=\"right\">4</TD> </TR>", "</TABLE>"}));
}
