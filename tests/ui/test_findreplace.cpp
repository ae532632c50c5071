// Find and replace on real document windows: the one modeless dialog opened by Find and Replace,
// the dialog's buttons acting on the active window, Find Next with the shared text and each
// window's own options, replacing one or all, and the not-found report.
#include "support/DocumentFixture.h"

#include "core/editor/Search.h"
#include "ui/document/FindReplace.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class FindReplaceTest : public DocumentTest {
protected:
    TMDIChild *Doc(const std::string &Text)
    {
        TMDIChild *doc = NewDocument();
        Type(doc, Text);
        doc->Editor->SetCaretPosition(1, 1);
        return doc;
    }
    TFindReplace &FR() const
    {
        auto *f = form->findChild<TFindReplace *>("FindReplace");
        EXPECT_NE(f, nullptr);
        return *f;
    }
    TReplaceDialog &Dialog() const { return *FR().ReplaceDialog1; }
    void Activate(TMDIChild *Doc)
    {
        form->MDIClient->setActiveSubWindow(Doc);
        Settle();
    }
    static std::string Selected(TMDIChild *Doc) { return Doc->Editor->SelectedText(); }
    void Press(QPushButton *B)
    {
        B->click();
        Settle();
    }
};

} // namespace

TEST_F(FindReplaceTest, FindAndReplaceOpenTheOneDialog)
{
    Start();
    TMDIChild *doc = Doc("text");
    Click(doc, "Find1");
    TReplaceDialog &dlg = Dialog();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.isModal());
    EXPECT_EQ(dlg.windowTitle(), "Find and Replace");
    EXPECT_EQ(dlg.pos(), QPoint(150, 150));
    EXPECT_EQ(dlg.parent(), form.get()) << "owned by the main window";
    EXPECT_EQ(doc->Action("Find1")->shortcut(), QKeySequence("Ctrl+F"));
    EXPECT_EQ(doc->Action("FindNext1")->shortcut(), QKeySequence("F3"));

    // The standard dialog's controls and its limits.
    EXPECT_FALSE(dlg.FindNextButton->isEnabled()) << "nothing to search for yet";
    dlg.FindEdit->setText(QString(300, 'x'));
    EXPECT_EQ(dlg.FindEdit->text().size(), 255);
    dlg.ReplaceEdit->setText(QString(300, 'y'));
    EXPECT_EQ(dlg.ReplaceEdit->text().size(), 255);
    EXPECT_TRUE(dlg.FindNextButton->isEnabled() && dlg.ReplaceButton->isEnabled() && dlg.ReplaceAllButton->isEnabled());
    Press(dlg.CancelButton);
    EXPECT_FALSE(dlg.isVisible());

    // Replace... opens the same dialog; the window takes the ticked options.
    dlg.MatchCaseBox->setChecked(true);
    dlg.move(10, 10);
    Click(doc, "Replace1");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(&Dialog(), &dlg);
    EXPECT_EQ(dlg.pos(), QPoint(150, 150));
    EXPECT_EQ(doc->SearchFlags, soMatchCase);
    dlg.WholeWordBox->setChecked(true);
    Click(doc, "Find1");
    EXPECT_EQ(doc->SearchFlags, soMatchCase | soWholeWords);
}

TEST_F(FindReplaceTest, FindNextSharesTheTextAndKeepsEachWindowsOptions)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *a = Doc("ABC abc abc");
    TMDIChild *b = Doc("xx ABC");

    // F3 before any search from the dialog: nothing happens, no message.
    Click(b, "FindNext1");
    EXPECT_FALSE(b->Editor->HasSelection());

    Activate(a);
    Click(a, "Find1");
    TReplaceDialog &dlg = Dialog();
    dlg.FindEdit->setText("abc");
    dlg.MatchCaseBox->setChecked(true);
    Press(dlg.FindNextButton);
    EXPECT_EQ(Selected(a), "abc");
    EXPECT_EQ(Caret(a), std::make_pair(1, 8)) << "the second abc, the first one differs in case";
    EXPECT_EQ(a->SearchFlags, soMatchCase);
    EXPECT_EQ(FR().FindDialog1->FindText, "abc");

    // Another window finds the same text with its own options (none set there).
    Activate(b);
    Click(b, "FindNext1");
    EXPECT_EQ(Selected(b), "ABC");
    EXPECT_EQ(b->SearchFlags, 0);

    // Back in the first window F3 still matches case; past the last one it reports.
    Activate(a);
    Click(a, "FindNext1");
    EXPECT_EQ(Caret(a), std::make_pair(1, 12));
    prompt.ExpectMessage("Search string 'abc' not found", mrOk, TMsgDlgType::mtInformation, mbOK);
    Click(a, "FindNext1");
    EXPECT_EQ(Selected(a), "abc") << "the selection stays";

    // The dialog's button goes to the window active now.
    dlg.FindEdit->setText("xx");
    dlg.MatchCaseBox->setChecked(false);
    Activate(b);
    b->Editor->SetCaretPosition(1, 1);
    Press(dlg.FindNextButton);
    EXPECT_EQ(Selected(b), "xx");
    EXPECT_EQ(a->SearchFlags, soMatchCase) << "the other window keeps its options";

    // Whole words, and a text not found.
    b->Editor->SetCaretPosition(1, 1);
    dlg.FindEdit->setText("AB");
    dlg.WholeWordBox->setChecked(true);
    prompt.ExpectMessage("Search string 'AB' not found", mrOk, TMsgDlgType::mtInformation);
    Press(dlg.FindNextButton);
    EXPECT_EQ(FR().FindDialog1->FindText, "AB");
    EXPECT_EQ(b->SearchFlags, soWholeWords);
}

TEST_F(FindReplaceTest, ReplaceOneOrAllWithTheTickedOptions)
{
    Start();
    TScriptedPrompt prompt;
    TMDIChild *doc = Doc("a a a a");
    Click(doc, "Replace1");
    TReplaceDialog &dlg = Dialog();
    dlg.FindEdit->setText("a");
    dlg.ReplaceEdit->setText("b");
    doc->Editor->SetCaretPosition(1, 5);
    Press(dlg.ReplaceAllButton);
    EXPECT_EQ(Text(doc), "a a b b") << "from the caret on";
    EXPECT_EQ(doc->SearchFlags, soReplaceAll);
    EXPECT_EQ(form->StatusLine->text(), "Replaced 2 occurrences.");

    // Replace after Replace All replaces one at a time: the first press finds, the next replaces.
    doc->Editor->SetCaretPosition(1, 1);
    Press(dlg.ReplaceButton);
    EXPECT_EQ(Text(doc), "a a b b");
    EXPECT_EQ(Selected(doc), "a");
    Press(dlg.ReplaceButton);
    EXPECT_EQ(Text(doc), "b a b b");
    EXPECT_EQ(doc->SearchFlags, soReplace);
    Press(dlg.ReplaceButton);
    EXPECT_EQ(Text(doc), "b b b b");
    prompt.ExpectMessage("Search string 'a' not found", mrOk, TMsgDlgType::mtInformation, mbOK);
    Press(dlg.ReplaceButton);

    // An empty replace text does nothing and says nothing; the replace text is not the F3 text.
    doc = Doc("x y x");
    dlg.FindEdit->setText("x");
    dlg.ReplaceEdit->clear();
    Press(dlg.ReplaceAllButton);
    Press(dlg.ReplaceButton);
    EXPECT_EQ(Text(doc), "x y x");
    EXPECT_EQ(FR().FindDialog1->FindText, "") << "only the Find Next button sets it";

    // A match-case box ticked just before pressing Replace All counts at once.
    doc = Doc("ABC abc Abc");
    Click(doc, "Replace1");
    dlg.FindEdit->setText("abc");
    dlg.ReplaceEdit->setText("x");
    dlg.MatchCaseBox->setChecked(true);
    Press(dlg.ReplaceAllButton);
    EXPECT_EQ(Text(doc), "ABC x Abc");
    EXPECT_EQ(doc->SearchFlags, soMatchCase | soReplaceAll);
    // Find Next, Replace, then F3: the replace option goes, the case option stays.
    doc->Editor->SetCaretPosition(1, 1);
    dlg.FindEdit->setText("Abc");
    Press(dlg.FindNextButton);
    EXPECT_EQ(Selected(doc), "Abc");
    Press(dlg.ReplaceButton);
    EXPECT_EQ(Text(doc), "ABC x x");
    EXPECT_EQ(doc->SearchFlags, soMatchCase | soReplace);
    prompt.ExpectMessage("Search string 'Abc' not found", mrOk);
    Click(doc, "FindNext1");
    EXPECT_EQ(doc->SearchFlags, soMatchCase);
}

TEST_F(FindReplaceTest, TheDialogsTextReachesEachDocumentInItsEncoding)
{
    Start();
    TMDIChild *utf8 = NewDocument();
    utf8->Editor->ParaList().SetEncoding(TTextEncoding::Utf8);
    Type(utf8, "\xD0\x96\xD0\xB0\xD0\xB1\xD0\xB0 \xD0\xB6\xD0\xB0\xD0\xB1\xD0\xB0"); // "Zhaba zhaba"
    utf8->Editor->SetCaretPosition(1, 1);
    TMDIChild *latin = Doc("x &#1046; y");
    Activate(utf8);
    Click(utf8, "Find1");
    TReplaceDialog &dlg = Dialog();
    dlg.FindEdit->setText(QString::fromUtf8("\u0436\u0430\u0431\u0430"));
    dlg.MatchCaseBox->setChecked(false);
    Press(dlg.FindNextButton);
    EXPECT_EQ(Selected(utf8), "\xD0\x96\xD0\xB0\xD0\xB1\xD0\xB0") << "letters beyond ASCII fold";
    dlg.ReplaceEdit->setText(QString::fromUtf8("\u00e9"));
    Press(dlg.ReplaceAllButton);
    EXPECT_EQ(Text(utf8), "\xC3\xA9 \xC3\xA9");

    // A Windows-1252 document stores the character as a numeric reference, and that is found.
    Activate(latin);
    dlg.FindEdit->setText(QString::fromUtf8("\u0416"));
    Press(dlg.FindNextButton);
    EXPECT_EQ(Selected(latin), "&#1046;");
}
