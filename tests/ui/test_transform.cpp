// The text transformations on real document windows: Remove HTML Tags, Auto Paragraph Format,
// Intelligent Tag Insert with its dialog, and the list makers, through their menu items.
#include "support/DocumentFixture.h"

#include "platform/TextCodec.h"
#include "ui/document/IntelligentTagDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class TransformTest : public DocumentTest {
protected:
    TMDIChild *Doc(const std::string &Text, bool SelectAll = true)
    {
        TMDIChild *doc = NewDocument();
        Type(doc, Text);
        if (SelectAll)
            doc->Editor->SelectAll(true);
        return doc;
    }
    QObject *Last() const { return form->LastMarkupCommand.data(); }
    // Runs Intelligent Tag Insert, filling the dialog with Fill and pressing OK (or Cancel).
    void IntelliTag(TMDIChild *Doc, const std::function<void(TIntelliTagDlg &)> &Fill, bool Ok = true)
    {
        int shown = 0;
        SetDialogExecHook([&](QDialog &Dialog) {
            ++shown;
            auto *dlg = dynamic_cast<TIntelliTagDlg *>(&Dialog);
            EXPECT_NE(dlg, nullptr);
            if (!dlg)
                return int(QDialog::Rejected);
            Fill(*dlg);
            return int(Ok ? QDialog::Accepted : QDialog::Rejected);
        });
        Click(Doc, "IntelligentTagInsert1");
        SetDialogExecHook({});
        EXPECT_EQ(shown, 1);
    }
    static void SetText(QLineEdit *Edit, const char *Text) { Edit->setText(BytesToQString(Text)); }
};

} // namespace

TEST_F(TransformTest, RemoveHTMLTagsOnTheSelectionOnly)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = Doc("<A HREF=\"x>y\">link</A>");
    Click(doc, "RemoveHTMLTags1");
    EXPECT_EQ(Text(doc), "y\">link") << "the > inside the quotes ends the tag";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is gone";

    doc = Doc("a < b");
    Click(doc, "RemoveHTMLTags1");
    EXPECT_EQ(Text(doc), "a ") << "an unclosed < takes the rest";
    doc = Doc("a > b");
    Click(doc, "RemoveHTMLTags1");
    EXPECT_EQ(Text(doc), "a > b");

    // Across lines, and only inside the selection.
    doc = Doc("<P>keep\n<B>one</B>\n<I>two</I>", false);
    doc->Editor->SetSelection(2, 1, 3, 11, true);
    Click(doc, "RemoveHTMLTags1");
    EXPECT_EQ(Text(doc), "<P>keep\none\ntwo");
    EXPECT_EQ(Last(), nullptr);

    doc = Doc("<B>x</B>", false);
    prompt.ExpectMessage("No text selected", mrOk, TMsgDlgType::mtWarning, mbOK);
    Click(doc, "RemoveHTMLTags1");
    EXPECT_EQ(Text(doc), "<B>x</B>");
}

TEST_F(TransformTest, AutoParagraphFormatMarksLinesBeforeEmptyOnes)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = Doc("one\n\ntwo\n", false);
    doc->Editor->SetSelection(1, 1, 3, 4, true);
    prompt.ExpectMessage("Confirm paragraph Tag Insertions?", mrNo, TMsgDlgType::mtConfirmation, mbYesNoCancel);
    Click(doc, "AutoParagraphFormat1");
    EXPECT_EQ(Text(doc), "one<P>\n\ntwo\n") << "the selection's last line never gets a mark";
    EXPECT_EQ(Last(), nullptr);

    // Asking each: No leaves a line, Yes marks it (in small letters with LowerCaseTags).
    form->SetupManager->SetLowerCaseTags(true);
    doc = Doc("a\n\nb\n\nc", true);
    prompt.ExpectMessage("Confirm paragraph Tag Insertions?", mrYes)
        .ExpectMessage("Insert Paragraph Tag?", mrNo, TMsgDlgType::mtConfirmation, mbYesNoCancel)
        .ExpectMessage("Insert Paragraph Tag?", mrYes);
    Click(doc, "AutoParagraphFormat1");
    EXPECT_EQ(Text(doc), "a\n\nb<p>\n\nc");

    // Cancel stops at once; nothing selected is reported.
    doc = Doc("a\n\nb\n\nc", true);
    prompt.ExpectMessage("Confirm paragraph Tag Insertions?", mrYes).ExpectMessage("Insert Paragraph Tag?", mrCancel);
    Click(doc, "AutoParagraphFormat1");
    EXPECT_EQ(Text(doc), "a\n\nb\n\nc");
    doc = Doc("a\n\nb", false);
    prompt.ExpectMessage("No Text Selected", mrOk, TMsgDlgType::mtInformation, mbOK);
    Click(doc, "AutoParagraphFormat1");
    EXPECT_EQ(Text(doc), "a\n\nb");
}

TEST_F(TransformTest, IntelligentTagInsertDialogAndItsCases)
{
    Start();
    TScriptedPrompt prompt;
    form->SetupManager->SetLowerCaseTags(true);
    TMDIChild *doc = Doc("a note here\nNOTE\nnothing\nNo te", false);
    IntelliTag(doc, [](TIntelliTagDlg &d) {
        // The initial state, the same every time.
        EXPECT_EQ(d.windowTitle(), "Intelligent Tag Insert");
        EXPECT_EQ(d.GroupBox1->title(), "Search for all lines");
        EXPECT_EQ(d.GroupBox2->title(), "Insert tag(s) at");
        EXPECT_TRUE(d.Containing->isChecked());
        EXPECT_FALSE(d.StartingWith->isChecked() || d.EndingWith->isChecked());
        EXPECT_TRUE(d.Both->isChecked());
        EXPECT_FALSE(d.StartOfLine->isChecked() || d.EndOfLine->isChecked());
        EXPECT_TRUE(d.SearchFor->text().isEmpty() && d.FirstTag->text().isEmpty() && d.SecondTag->text().isEmpty());
        EXPECT_FALSE(d.CaseSensitive->isChecked());
        EXPECT_TRUE(d.RequireConfirmation->isChecked());
        EXPECT_EQ(d.BitBtn1->text(), "Help");
        EXPECT_EQ(d.BitBtn2->text(), "OK");
        EXPECT_EQ(d.CancelButton->text(), "Cancel");
        EXPECT_TRUE(d.font().bold());
        SetText(d.SearchFor, "Note");
        SetText(d.FirstTag, "<B>");
        SetText(d.SecondTag, "</B>");
        d.RequireConfirmation->setChecked(false);
    });
    EXPECT_EQ(Text(doc), "<B>a note here</B>\n<B>NOTE</B>\nnothing\nNo te") << "tags as typed, case ignored";
    EXPECT_EQ(Last(), nullptr);

    // Ending with a full stop: only lines whose first full stop is their last character.
    doc = Doc("First.\nA.B\nA.B.\n", false);
    IntelliTag(doc, [](TIntelliTagDlg &d) {
        d.EndingWith->setChecked(true);
        d.EndOfLine->setChecked(true);
        SetText(d.SearchFor, ".");
        SetText(d.FirstTag, "<BR>");
        d.RequireConfirmation->setChecked(false);
    });
    EXPECT_EQ(Text(doc), "First.<BR>\nA.B\nA.B.\n");

    // With confirmation: Yes, No, then Cancel stops; starting with, case-sensitive, start of line.
    doc = Doc("Item 1\nItem 2\nitem 3\nItem 4\nItem 5", false);
    prompt.ExpectMessage("Insert tags in this line?", mrYes, TMsgDlgType::mtConfirmation, mbYesNoCancel)
        .ExpectMessage("Insert tags in this line?", mrNo)
        .ExpectMessage("Insert tags in this line?", mrCancel);
    IntelliTag(doc, [](TIntelliTagDlg &d) {
        d.StartingWith->setChecked(true);
        d.StartOfLine->setChecked(true);
        d.CaseSensitive->setChecked(true);
        SetText(d.SearchFor, "Item");
        SetText(d.FirstTag, "<LI>");
    });
    EXPECT_EQ(Text(doc), "<LI>Item 1\nItem 2\nitem 3\nItem 4\nItem 5");

    // With word wrap on, the tags go around the whole line, not around its first screen row.
    doc = Doc("Note in a long line that wraps\nshort", false);
    doc->Editor->SetWordWrap(true);
    doc->Editor->SetWrapColumn(12);
    ASSERT_GT(doc->Editor->LineCount(), 3);
    IntelliTag(doc, [](TIntelliTagDlg &d) {
        SetText(d.SearchFor, "note");
        SetText(d.FirstTag, "<B>");
        SetText(d.SecondTag, "</B>");
        d.RequireConfirmation->setChecked(false);
    });
    EXPECT_EQ(Text(doc), "<B>Note in a long line that wraps</B>\nshort");

    // Cancel in the dialog changes nothing.
    doc = Doc("Note", false);
    IntelliTag(doc, [](TIntelliTagDlg &d) { SetText(d.SearchFor, "Note"); }, false);
    EXPECT_EQ(Text(doc), "Note");
}

TEST_F(TransformTest, ListMakersWrapTheSelectedLines)
{
    Start();
    TMDIChild *doc = Doc("red\n\n<LI>green");
    Click(doc, "UnorderedList1");
    EXPECT_EQ(Text(doc), "<UL>\n<LI>red</LI>\n\n<LI>green\n</UL>\n");
    EXPECT_EQ(Last(), nullptr);

    doc = Doc("term\nmeaning\nmore");
    Click(doc, "DefinitionList1");
    EXPECT_EQ(Text(doc), "<DL>\n<DT>term\n<DD>meaning\n<DD>more\n</DL>\n");

    // The added tags follow LowerCaseTags; the lines' own text stays as it is.
    form->SetupManager->SetLowerCaseTags(true);
    doc = Doc("<B>One</B>\nTwo\n");
    Click(doc, "OrdererdList1");
    EXPECT_EQ(Text(doc), "<ol>\n<li><B>One</B></li>\n<li>Two</li>\n</ol>\n");
    doc = Doc("A\nB");
    Click(doc, "Menu1");
    EXPECT_EQ(Text(doc), "<menu>\n<li>A</li>\n<li>B</li>\n</menu>\n");
    doc = Doc("Word\nMeaning");
    Click(doc, "DefinitionList1");
    EXPECT_EQ(Text(doc), "<dl>\n<dt>Word\n<dd>Meaning\n</dl>\n");
    form->SetupManager->SetLowerCaseTags(false);

    // Nothing selected: the element's two tags with the caret between them.
    doc = Doc("", false);
    Click(doc, "Directory1");
    EXPECT_EQ(Text(doc), "<DIR></DIR>");
    EXPECT_EQ(Caret(doc), std::make_pair(1, 6));
    doc = Doc("", false);
    Click(doc, "DefinitionList1");
    EXPECT_EQ(Text(doc), "<DL></DL>");
}
