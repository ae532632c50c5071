// The body colors dialog driven as a user would: grid clicks with each mouse button and radio
// button, the sample drawing, Browse, the BODY tag on OK, Cancel and Help.
#include "DialogScript.h"
#include "support/RecordingHelp.h"
#include "support/ScriptedPrompt.h"
#include "ui/dialogs/BodyColorsDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

TTBackgroundBox &Box(QDialog &D) { return static_cast<TTBackgroundBox &>(D); }

void ClickCell(TBodyColorGrid *Grid, int Index, Qt::MouseButton Button)
{
    QTest::mouseClick(Grid, Button, {}, Grid->CellRect(Index).center());
}

// The sample's pixel colours: inside the frame, and under the first letters of a line.
QColor SampleAt(TBodySample *Sample, int X, int Y)
{
    return Sample->grab().toImage().pixelColor(X, Y);
}

bool LineHasColor(TBodySample *Sample, int Top, const QColor &C)
{
    const QImage img = Sample->grab().toImage();
    for (int y = Top; y < Top + 18 && y < img.height(); ++y)
        for (int x = 10; x < 120 && x < img.width(); ++x)
            if (img.pixelColor(x, y) == C)
                return true;
    return false;
}

} // namespace

TEST(BodyDialog, ControlsAndUntouchedOK)
{
    TRecordingHelp help;
    TDialogScript script;
    script.Expect("BODY (Background Colors)", [&](QDialog &d) {
        TTBackgroundBox &b = Box(d);
        EXPECT_EQ(b.ColorGrid1->ForegroundIndex(), 0);
        EXPECT_EQ(b.ColorGrid1->BackgroundIndex(), 7);
        EXPECT_TRUE(b.TextRadio->isChecked());
        EXPECT_EQ(b.VLinkRadio->text(), "Visited Link");
        EXPECT_EQ(b.ImagePathEdit->text(), "");
        EXPECT_FALSE(b.EndTagCheck->isChecked());
        EXPECT_EQ(b.EndTagCheck->text(), "Include </BODY> tag");
        QStringList labels;
        for (QLabel *l : d.findChildren<QLabel *>())
            labels << l->text();
        for (const char *text : {"Use right mouse button", "to select background color.", "Use left mouse button to",
                                 "select others.", "Background Image"})
            EXPECT_TRUE(labels.contains(text)) << text;
        // The sample: silver inside a black frame, the text black, the link blue.
        EXPECT_EQ(SampleAt(b.PaintBox1, 0, 0), QColor(Qt::black));
        EXPECT_EQ(SampleAt(b.PaintBox1, 3, 3), QColor(192, 192, 192));
        EXPECT_TRUE(LineHasColor(b.PaintBox1, 10, QColor(0, 0, 0)));
        EXPECT_TRUE(LineHasColor(b.PaintBox1, 30, QColor(0, 0, 255)));
        EXPECT_TRUE(LineHasColor(b.PaintBox1, 70, QColor(255, 0, 0)));
        Click(b.HelpBtn);
        return Press(d, b.OkButton);
    });
    const auto result = ExecBackgroundBox(nullptr);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<BODY>");
    EXPECT_FALSE(result->EndTag);
    EXPECT_EQ(help.Requests, QStringList{"topic:body"});
}

TEST(BodyDialog, GridButtonsRadiosAndBrowse)
{
    TDialogScript script;
    TScriptedPrompt prompt;
    script.Expect("BODY (Background Colors)", [&](QDialog &d) {
        TTBackgroundBox &b = Box(d);
        // Right button: white background, redrawn at once.
        ClickCell(b.ColorGrid1, 15, Qt::RightButton);
        EXPECT_EQ(b.ColorGrid1->BackgroundIndex(), 15);
        EXPECT_EQ(SampleAt(b.PaintBox1, 3, 3), QColor(255, 255, 255));
        // Left button with "Text": a new text colour, then black again, which writes nothing.
        ClickCell(b.ColorGrid1, 4, Qt::LeftButton);
        ClickCell(b.ColorGrid1, 0, Qt::LeftButton);
        // "Link": the grid's mark moves to the link's blue; a left click sets only the link.
        Click(b.LinkRadio);
        EXPECT_EQ(b.ColorGrid1->ForegroundIndex(), 12);
        ClickCell(b.ColorGrid1, 2, Qt::LeftButton);
        EXPECT_TRUE(LineHasColor(b.PaintBox1, 30, QColor(0, 128, 0)));
        EXPECT_EQ(b.Colors.Choice(TBodyElement::Text).Index, 0);
        // Visited link set and set back to its initial purple: omitted.
        Click(b.VLinkRadio);
        EXPECT_EQ(b.ColorGrid1->ForegroundIndex(), 5);
        ClickCell(b.ColorGrid1, 9, Qt::LeftButton);
        ClickCell(b.ColorGrid1, 5, Qt::LeftButton);
        Click(b.ALinkRadio);
        ClickCell(b.ColorGrid1, 11, Qt::LeftButton);
        // Back to "Text": its mark is on black again.
        Click(b.TextRadio);
        EXPECT_EQ(b.ColorGrid1->ForegroundIndex(), 0);
        // The middle button does nothing.
        ClickCell(b.ColorGrid1, 3, Qt::MiddleButton);
        EXPECT_EQ(b.ColorGrid1->BackgroundIndex(), 15);

        prompt.ExpectOpenWith([](TFileDialogRequest &r) {
            EXPECT_EQ(r.Filter, "GIF Images (*.gif)|*.gif|JPEG Images (*.jpg)|*.jpg|All files (*.*)|*.*");
            r.FileName = "/home/Me/Pics/Paper.GIF";
            return true;
        });
        Click(b.BrowseBtn);
        EXPECT_EQ(b.ImagePathEdit->text(), "paper.gif");
        Click(b.EndTagCheck);
        return Press(d, b.OkButton);
    });
    const auto result = ExecBackgroundBox(nullptr);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tag, "<BODY BACKGROUND=\"paper.gif\" BGCOLOR=\"#FFFFFF\" LINK=\"#008000\" ALINK=\"#FFFF00\">");
    EXPECT_TRUE(result->EndTag);

    // Silver chosen again as the background, a typed image path written unchanged; Cancel gives nothing.
    script.Expect("BODY (Background Colors)", [&](QDialog &d) {
        TTBackgroundBox &b = Box(d);
        ClickCell(b.ColorGrid1, 0, Qt::RightButton);
        ClickCell(b.ColorGrid1, 7, Qt::RightButton);
        Type(b.ImagePathEdit, "My \"Bg\".gif");
        return Press(d, b.OkButton);
    });
    EXPECT_EQ(ExecBackgroundBox(nullptr)->Tag, "<BODY BACKGROUND=\"My \"Bg\".gif\">");
    script.Expect("BODY (Background Colors)", [&](QDialog &d) {
        ClickCell(Box(d).ColorGrid1, 1, Qt::RightButton);
        return Press(d, Box(d).CancelBtn);
    });
    EXPECT_EQ(ExecBackgroundBox(nullptr), std::nullopt);
}
