// The markup dialogs opened through the document window's commands: what each inserts, Cancel
// inserting nothing, the recording rules, Shift variants and Repeat.
#include "DialogScript.h"
#include "support/DocumentFixture.h"
#include "ui/dialogs/BodyColorsDialog.h"
#include "ui/dialogs/RuleDialog.h"
#include "ui/dialogs/BlockDialog.h"
#include "ui/dialogs/TableDesigner.h"
#include "ui/dialogs/ImageDialog.h"
#include "ui/dialogs/LinkDialog.h"
#include "ui/dialogs/FontDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

class DialogCommandTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        // Present, empty history files: no "Cannot open file" on the first use.
        for (const char *name : {"IMAGES.HIS", "URLS.HIS", "HOSTS.HIS"})
            Put(Path(name), "");
    }
    QObject *Last() const { return form->LastMarkupCommand.data(); }
    static QAction *ActionOf(TMDIChild *Doc, const char *Name) { return Doc->Action(Name); }
    // A document holding Text with all of it selected.
    TMDIChild *Selected(const std::string &Text)
    {
        TMDIChild *doc = NewDocument();
        Type(doc, Text);
        doc->Editor->SelectAll(true);
        return doc;
    }
    static TDialogScript::TStep Cancel()
    {
        return [](QDialog &d) {
            d.reject();
            return d.result();
        };
    }
};

} // namespace

TEST_F(DialogCommandTest, LinkAndImage)
{
    Start();
    TDialogScript script;
    TMDIChild *doc = Selected("Home");
    script.Expect("Link to URL", [](QDialog &d) {
        auto &b = static_cast<TInsertURLBox &>(d);
        Retype(b.URLTypesCombo, "http://");
        Retype(b.HostCombo, "www.x.org");
        return Press(d, b.OkButton);
    });
    Click(doc, "Link2");
    EXPECT_EQ(Text(doc), "<A HREF=\"http://www.x.org/\">Home</A>");
    EXPECT_EQ(Last(), ActionOf(doc, "Link2"));
    EXPECT_EQ(Bytes(Path("URLS.HIS")), "http://www.x.org/\r\n");

    // Cancel inserts nothing and still records; Repeat opens the dialog again.
    Click(doc, "Bold1");
    script.Expect("Link to URL", Cancel());
    Click(doc, "Link2");
    EXPECT_EQ(Text(doc), "<A HREF=\"http://www.x.org/\">Home</A><B></B>");
    EXPECT_EQ(Last(), ActionOf(doc, "Link2"));
    script.Expect("Link to URL", [](QDialog &d) {
        auto &b = static_cast<TInsertURLBox &>(d);
        EXPECT_EQ(ComboEntries(b.URLCombo), QStringList{"http://www.x.org/"});
        Retype(b.URLCombo, "#top");
        return Press(d, b.OkButton);
    });
    Click(doc, "RepeatLastMarkup1");
    EXPECT_EQ(Text(doc), "<A HREF=\"http://www.x.org/\">Home</A><B><A HREF=\"#top\"></A></B>");

    // The image command inserts its tag through the tag-case rule and records itself either way.
    doc = NewDocument();
    form->SetupManager->SetLowerCaseTags(true);
    script.Expect("Inline Image", [](QDialog &d) {
        auto &b = static_cast<TInsertImageBox &>(d);
        EXPECT_EQ(b.SrcEdit->text(), "");
        ::Type(b.SrcEdit, "Pics\\Logo.PNG");
        ::Type(b.AltEdit, "The Logo");
        return Press(d, b.OKBtn);
    });
    Click(doc, "Image1");
    EXPECT_EQ(Text(doc), "<img src=\"logo.png\" alt=\"The Logo\">");
    EXPECT_EQ(Last(), ActionOf(doc, "Image1"));
    EXPECT_EQ(Bytes(Path("IMAGES.HIS")), "<IMG SRC=\"logo.png\" ALT=\"The Logo\">\r\n");
    Click(doc, "Bold1");
    script.Expect("Inline Image", Cancel());
    Click(doc, "Image1");
    EXPECT_EQ(Text(doc), "<img src=\"logo.png\" alt=\"The Logo\"><b></b>");
    EXPECT_EQ(Last(), ActionOf(doc, "Image1"));
}

TEST_F(DialogCommandTest, BodyReplacesInsertsOrWraps)
{
    Start();
    TScriptedPrompt prompt;
    TDialogScript script;
    auto white = [](bool EndTag) {
        return [EndTag](QDialog &d) {
            auto &b = static_cast<TTBackgroundBox &>(d);
            QTest::mouseClick(b.ColorGrid1, Qt::RightButton, {}, b.ColorGrid1->CellRect(15).center());
            if (EndTag)
                ::Click(b.EndTagCheck);
            return Press(d, b.OkButton);
        };
    };
    // An existing start tag, in any case and over two lines, is replaced.
    TMDIChild *doc = NewDocument();
    Type(doc, "<HTML>\n<body bgcolor=red\n text=x>\nHello");
    script.Expect("BODY (Background Colors)", white(false));
    Click(doc, "MarkasBODY1");
    EXPECT_EQ(Text(doc), "<HTML>\n<BODY BGCOLOR=\"#FFFFFF\">\nHello");
    EXPECT_EQ(Last(), ActionOf(doc, "MarkasBODY1"));

    // Cancel: nothing, and not recorded.
    Click(doc, "Bold1");
    const std::string before = Text(doc);
    script.Expect("BODY (Background Colors)", Cancel());
    Click(doc, "MarkasBODY1");
    EXPECT_EQ(Text(doc), before);
    EXPECT_EQ(Last(), ActionOf(doc, "Bold1"));

    // "<BODY" without its ">": a warning and nothing inserted.
    doc = NewDocument();
    Type(doc, "x <BODY bgcolor");
    prompt.ExpectMessage("Incomplete <BODY> element", mrOk, TMsgDlgType::mtWarning);
    script.Expect("BODY (Background Colors)", white(false));
    Click(doc, "MarkasBODY1");
    EXPECT_EQ(Text(doc), "x <BODY bgcolor");

    // No BODY at all: the tag goes in at the caret; with the end-tag box the selection is wrapped.
    doc = NewDocument();
    Type(doc, "<P>");
    script.Expect("BODY (Background Colors)", [](QDialog &d) { return Press(d, static_cast<TTBackgroundBox &>(d).OkButton); });
    Click(doc, "MarkasBODY1");
    EXPECT_EQ(Text(doc), "<P><BODY>");
    doc = Selected("<BODY>page");
    script.Expect("BODY (Background Colors)", white(true));
    Click(doc, "MarkasBODY1");
    EXPECT_EQ(Text(doc), "<BODY BGCOLOR=\"#FFFFFF\"><BODY>page</BODY>");
}

TEST_F(DialogCommandTest, RuleBlockHeadingAndFont)
{
    Start();
    TDialogScript script;
    TMDIChild *doc = NewDocument();
    script.Expect("Horizontal Rule", [](QDialog &d) { return Press(d, static_cast<THRBox &>(d).OKBtn); });
    Click(doc, "HRwithOptions1");
    EXPECT_EQ(Text(doc), "<HR ALIGN=\"left\">");
    EXPECT_EQ(Last(), ActionOf(doc, "HRwithOptions1"));
    // Shift on the plain rule opens the dialog, which records itself even when cancelled.
    HoldShift(true);
    script.Expect("Horizontal Rule", Cancel());
    Click(doc, "HardRule1");
    EXPECT_EQ(Text(doc), "<HR ALIGN=\"left\">");
    EXPECT_EQ(Last(), ActionOf(doc, "HRwithOptions1"));
    HoldShift(false);

    // Paragraph with the end box off: the start tag replaces whatever is selected.
    doc = Selected("gone");
    script.Expect("Paragraph", [](QDialog &d) {
        auto &b = static_cast<TPBox &>(d);
        EXPECT_EQ(b.EndCheck->text(), "</P>");
        ::Click(b.EndCheck);
        b.AlignCombo->setCurrentIndex(1);
        return Press(d, b.OKBtn);
    });
    Click(doc, "ParagraphContainer1");
    EXPECT_EQ(Text(doc), "<P ALIGN=\"center\">");
    EXPECT_EQ(Last(), ActionOf(doc, "ParagraphContainer1"));

    doc = Selected("part");
    script.Expect("Division", [](QDialog &d) {
        auto &b = static_cast<TPBox &>(d);
        b.ClassCombo->setCurrentIndex(2);
        return Press(d, b.OKBtn);
    });
    Click(doc, "Division1");
    EXPECT_EQ(Text(doc), "<DIV ALIGN=\"left\" CLASS=\"Chapter\">part</DIV>");
    EXPECT_EQ(Last(), ActionOf(doc, "Division1"));

    // A heading with Shift: the block dialog, without the title's line break.
    form->NewlineAfterTitle = true;
    doc = Selected("Intro");
    HoldShift(true);
    script.Expect("Heading Style 3", [](QDialog &d) { return Press(d, static_cast<TPBox &>(d).OKBtn); });
    Click(doc, "Style31");
    HoldShift(false);
    EXPECT_EQ(Text(doc), "<H3 ALIGN=\"left\">Intro</H3>");
    EXPECT_EQ(Last(), ActionOf(doc, "Style31"));

    doc = Selected("big");
    script.Expect("Font", [](QDialog &d) {
        auto &f = static_cast<TFontDlg &>(d);
        EXPECT_EQ(f.SizeLabel->text(), "Enter size (1-7 or +/- relative to basefont):");
        ::Type(f.Edit1, "+2");
        return Press(d, f.Button2);
    });
    Click(doc, "FontSize1");
    EXPECT_EQ(Text(doc), "<FONT SIZE=\"+2\">big</FONT>");
    EXPECT_EQ(Last(), ActionOf(doc, "FontSize1"));
    doc = NewDocument();
    script.Expect("Base Font", [](QDialog &d) {
        auto &f = static_cast<TFontDlg &>(d);
        EXPECT_EQ(f.SizeLabel->text(), "Enter size 1-7:");
        ::Type(f.Edit1, "3");
        ::Type(f.ColorEdit, "00FF00");
        return Press(d, f.Button2);
    });
    Click(doc, "BaseFontSize1");
    EXPECT_EQ(Text(doc), "<BASEFONT SIZE=\"3\" COLOR=\"#00FF00\"></BASEFONT>");
    EXPECT_EQ(Caret(doc), std::make_pair(1, 36)) << "between the two tags";
    script.Expect("Base Font", Cancel());
    Click(doc, "BaseFontSize1");
    EXPECT_EQ(Text(doc), "<BASEFONT SIZE=\"3\" COLOR=\"#00FF00\"></BASEFONT>");
}

TEST_F(DialogCommandTest, TableDesignerInsertsLinesAndIsNotRecorded)
{
    Start();
    TDialogScript script;
    TMDIChild *doc = NewDocument();
    Click(doc, "Bold1");
    doc->Editor->ClearText();
    script.Expect("Table Designer", [](QDialog &d) {
        auto &t = static_cast<TTableDlg &>(d);
        t.RowSpinEdit->selectAll();
        QTest::keyClicks(t.RowSpinEdit, "2");
        t.ColSpinEdit->selectAll();
        QTest::keyClicks(t.ColSpinEdit, "1");
        ::Click(t.BorderCheckBox);
        return Press(d, t.OkBtn);
    });
    Click(doc, "TableWiz1");
    EXPECT_EQ(Text(doc), "<TABLE>\n<TR> <TH></TH> </TR>\n<TR> <TD></TD> </TR>\n</TABLE>\n");
    EXPECT_EQ(Last(), ActionOf(doc, "Bold1"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is gone again";
    script.Expect("Table Designer", Cancel());
    Click(doc, "TableWiz1");
    EXPECT_EQ(Text(doc), "<TABLE>\n<TR> <TH></TH> </TR>\n<TR> <TD></TD> </TR>\n</TABLE>\n");
}
