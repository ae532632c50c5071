// The custom speed bar on a real main window: loading CUSTOM.HTB, numbering and stacking, the
// click rule with Repeat, the pop-up menu, the Custom Buttons dialog and the button editor, and
// what is written to CUSTOM.HTB when.
#include "support/DocumentFixture.h"
#include "support/RecordingHelp.h"

#include "DialogScript.h"
#include "core/custom/CustomButtons.h"
#include "platform/TextCodec.h"
#include "ui/custom/CustomButtonBar.h"
#include "ui/custom/CustomButtonsDialog.h"
#include "ui/custom/ButtonEditor.h"

#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>

#include <random>

namespace {

// The selected entry's row, or -1 (the current entry need not be selected).
int SelectedRow(const QListWidget &List)
{
    const QList<QListWidgetItem *> selected = List.selectedItems();
    return selected.isEmpty() ? -1 : List.row(selected.first());
}

TCustButton Def(std::string Caption, std::string Opening = {}, std::string Closing = {})
{
    TCustButton b;
    b.Caption = std::move(Caption);
    b.OpeningTag = std::move(Opening);
    b.ClosingTag = std::move(Closing);
    return b;
}

QByteArray FileOf(const std::vector<TCustButton> &Buttons)
{
    const std::string bytes = FormatCustomButtons(Buttons);
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

class CustomButtonTest : public DocumentTest {
protected:
    QString HtbPath() const { return Path("CUSTOM.HTB"); }
    void WriteHtb(const std::vector<TCustButton> &Buttons) { Put(HtbPath(), FileOf(Buttons)); }
    TCustomButtonBar &Bar()
    {
        TCustomButtonBar *bar = CustomButtonBar(*form);
        EXPECT_NE(bar, nullptr);
        return *bar;
    }
    QStringList Captions()
    {
        QStringList out;
        for (TCustButtonWidget *b : Bar().Buttons())
            out << b->text();
        return out;
    }
    QList<QRect> Geometries()
    {
        QList<QRect> out;
        for (TCustButtonWidget *b : Bar().Buttons())
            out << b->geometry();
        return out;
    }
    TCustButtonWidget *Btn(const char *Name) { return Bar().FindButton(QString::fromLatin1(Name)); }
    QAction *PopupItem(const char *Caption)
    {
        for (QAction *a : form->CustomButtonPopupMenu->actions())
            if (a->text() == QString::fromLatin1(Caption))
                return a;
        ADD_FAILURE() << "no pop-up entry " << Caption;
        return nullptr;
    }
    static QStringList Entries(const QListWidget &List)
    {
        QStringList out;
        for (int i = 0; i < List.count(); ++i)
            out << List.item(i)->text();
        return out;
    }
    static void Press(QPushButton *B)
    {
        ASSERT_NE(B, nullptr);
        B->click();
        Settle();
    }
};

} // namespace

TEST_F(CustomButtonTest, LoadedButtonsAreNumberedAndStackedAtTheRightEdge)
{
    WriteHtb({Def("Bold", "<B>", "</B>"), Def("Sig", "-- \r\nMe"), Def("&Table", "<TABLE>", "</TABLE>")});
    Start();
    TCustomButtonBar &bar = Bar();
    EXPECT_EQ(form->CustomBar, &bar);
    EXPECT_EQ(form->toolBarArea(form->CustomBarHost), Qt::RightToolBarArea);
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.width(), 100);
    EXPECT_EQ(Captions(), (QStringList{"Bold", "Sig", "&Table"}));
    EXPECT_EQ(Geometries(), (QList<QRect>{QRect(2, 0, 96, 21), QRect(2, 23, 96, 21), QRect(2, 46, 96, 21)}));
    QStringList names;
    for (TCustButtonWidget *b : bar.Buttons())
        names << b->objectName();
    EXPECT_EQ(names, (QStringList{"CustomButton1", "CustomButton2", "CustomButton3"}));
    EXPECT_EQ(Btn("CustomButton3")->Tag(), 3);
    EXPECT_EQ(bar.Counter(), 3);
    // An underlined letter is no keyboard shortcut.
    EXPECT_TRUE(Btn("CustomButton3")->shortcut().isEmpty());

    // The pop-up's New Button takes the next number and the default caption and restacks.
    PopupItem("New Button")->trigger();
    EXPECT_EQ(Captions().last(), "Button 4");
    EXPECT_EQ(Geometries().last(), QRect(2, 69, 96, 21));
    EXPECT_EQ(bar.Buttons().last()->objectName(), "CustomButton4");

    // A right click on the bar or on a button opens the bar's pop-up menu there.
    QContextMenuEvent onButton(QContextMenuEvent::Mouse, QPoint(5, 5), Btn("CustomButton2")->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(Btn("CustomButton2"), &onButton);
    EXPECT_TRUE(form->CustomButtonPopupMenu->isVisible());
    form->CustomButtonPopupMenu->hide();
    QContextMenuEvent onBar(QContextMenuEvent::Mouse, QPoint(50, 200), bar.mapToGlobal(QPoint(50, 200)));
    QApplication::sendEvent(&bar, &onBar);
    EXPECT_TRUE(form->CustomButtonPopupMenu->isVisible());
    form->CustomButtonPopupMenu->hide();

    // The Custom SpeedBar toggle hides the bar and keeps the choice.
    form->CustomSpeedBar->trigger();
    EXPECT_FALSE(bar.isVisible());
    Stop();
    Start();
    EXPECT_FALSE(Bar().isVisible());
    EXPECT_EQ(Captions(), (QStringList{"Bold", "Sig", "&Table"}));
}

TEST_F(CustomButtonTest, FirstButtonOfARunWithoutFileStartsAtTwo)
{
    Start();
    EXPECT_TRUE(Bar().Buttons().isEmpty());
    EXPECT_FALSE(QFile::exists(HtbPath()));
    PopupItem("New Button")->trigger();
    EXPECT_EQ(Geometries(), (QList<QRect>{QRect(2, 2, 96, 21)}));
    EXPECT_EQ(Captions(), (QStringList{"Button 1"}));
    PopupItem("New Button")->trigger();
    EXPECT_EQ(Geometries(), (QList<QRect>{QRect(2, 0, 96, 21), QRect(2, 23, 96, 21)}));
}

TEST_F(CustomButtonTest, ClickInsertsPairsMarkupOrNothingAndIsRepeated)
{
    WriteHtb({Def("Em", "<EM>", "</EM>"), Def("Lines", "<UL>\r\n<LI>"), Def("CloseOnly", "", "</DIV>"), Def("Empty")});
    Start();
    // Without a document window nothing at all happens.
    form->LastMarkupCommand = nullptr;
    Btn("CustomButton1")->click();
    EXPECT_EQ(form->LastMarkupCommand.data(), nullptr);

    TMDIChild *doc = NewDocument();
    Type(doc, "word");
    doc->Editor->SetSelection(1, 1, 1, 5, true);
    Btn("CustomButton1")->click();
    EXPECT_EQ(Text(doc), "<EM>word</EM>");
    EXPECT_EQ(form->LastMarkupCommand.data(), Btn("CustomButton1"));

    doc->Editor->SelectAll(false);
    doc->Editor->DeleteSelection();
    Btn("CustomButton2")->click();
    EXPECT_EQ(Text(doc), "<UL>\n<LI>") << "the CR LF of the text makes a new line";
    EXPECT_EQ(Caret(doc), (std::pair<int, int>{2, 5}));

    // A closing text alone inserts nothing, yet the button is the last markup command.
    const std::string before = Text(doc);
    Btn("CustomButton3")->click();
    EXPECT_EQ(Text(doc), before);
    EXPECT_EQ(form->LastMarkupCommand.data(), Btn("CustomButton3"));
    Btn("CustomButton4")->click();
    EXPECT_EQ(Text(doc), before);
    EXPECT_EQ(form->LastMarkupCommand.data(), Btn("CustomButton4"));

    // Repeat Last Markup clicks the button again.
    Btn("CustomButton2")->click();
    Click(doc, "RepeatLastMarkup1");
    EXPECT_EQ(Text(doc), "<UL>\n<LI><UL>\n<LI><UL>\n<LI>");

    // The tag case rule applies as to every markup command.
    Setting("Setup", "LowerCaseTags", "1");
    form->SetupManager = std::make_unique<TSetupManager>(SettingsFileName(), TSystemMetrics{});
    ASSERT_TRUE(form->SetupManager->LowerCaseTags());
    doc->Editor->SelectAll(false);
    doc->Editor->DeleteSelection();
    Btn("CustomButton1")->click();
    EXPECT_EQ(Text(doc), "<em></em>");

    // A removed button is no longer repeated.
    Bar().RemoveButton(Btn("CustomButton1"));
    EXPECT_EQ(form->LastMarkupCommand.data(), nullptr);
    Click(doc, "RepeatLastMarkup1");
    EXPECT_EQ(Text(doc), "<em></em>");
}

TEST_F(CustomButtonTest, PopupNewButtonIsLostWithoutTheDialog)
{
    const std::vector<TCustButton> stored = {Def("Keep", "<K>")};
    WriteHtb(stored);
    Start();
    PopupItem("New Button")->trigger();
    PopupItem("New Button")->trigger();
    EXPECT_EQ(Captions(), (QStringList{"Keep", "Button 2", "Button 3"}));
    Stop(); // the run ends without the Custom Buttons dialog
    EXPECT_EQ(Bytes(HtbPath()), FileOf(stored));
    Start();
    EXPECT_EQ(Captions(), (QStringList{"Keep"}));

    // Opening and closing the dialog keeps them.
    PopupItem("New Button")->trigger();
    TDialogScript script;
    script.Expect("Custom Buttons", [](QDialog &) { return int(QDialog::Rejected); });
    PopupItem("Modify...")->trigger();
    Settle();
    EXPECT_EQ(Bytes(HtbPath()), FileOf({Def("Keep", "<K>"), Def("Button 2")}));
    Stop();
    Start();
    EXPECT_EQ(Captions(), (QStringList{"Keep", "Button 2"}));
}

TEST_F(CustomButtonTest, DialogNewEditRemoveAndSaveHoweverItCloses)
{
    WriteHtb({Def("One", "<1>"), Def("-"), Def("Two", "<2>", "</2>"), Def("")});
    Start();
    TScriptedPrompt prompt;
    TDialogScript script;
    TRecordingHelp help;
    script.Expect("Custom Buttons", [&](QDialog &D) {
        auto &dlg = dynamic_cast<TCustomButtonRemoveDlg &>(D);
        QListWidget *list = Child<QListWidget>(D, "ListBox1");
        // "-" and the empty caption are not listed.
        EXPECT_EQ(Entries(*list), (QStringList{"One", "Two"}));
        EXPECT_EQ(SelectedRow(*list), -1);
        // Edit and Remove without a selection do nothing.
        Press(dlg.EditBtn);
        Press(dlg.RemoveBtn);
        EXPECT_EQ(Bar().Buttons().size(), 4);

        // New: a caption, then the default one; the new entry is selected.
        prompt.ExpectInput("Button Text:", "Mine");
        Press(Child<QPushButton>(D, "NewBtn"));
        EXPECT_EQ(Entries(*list), (QStringList{"One", "Two", "Mine"}));
        EXPECT_EQ(SelectedRow(*list), 2);
        EXPECT_EQ(prompt.Records().back().caption, "New Custom Button");
        prompt.ExpectInput("Button Text:", "");
        Press(dlg.NewBtn);
        EXPECT_EQ(Entries(*list), (QStringList{"One", "Two", "Mine", "Button 6"}));
        prompt.ExpectInput("Button Text:", QString()); // cancelled
        Press(dlg.NewBtn);
        EXPECT_EQ(Bar().Buttons().size(), 6);

        // Edit runs the editor on the selected entry's button; the list keeps the old caption.
        list->setCurrentRow(2);
        script.Expect("Edit Custom Button: Mine", [&](QDialog &E) {
            auto &ed = dynamic_cast<TCustomButtonEditor &>(E);
            EXPECT_EQ(ed.CaptionEdit->text(), "Mine");
            EXPECT_EQ(ed.Memo->toPlainText(), "");
            ed.CaptionEdit->setText("Mine2");
            ed.Memo->setPlainText("<DIV CLASS=\"x\">\n  ");
            ed.Memo2->setPlainText("</DIV>");
            Press(ed.HelpBtn);
            return int(QDialog::Accepted);
        });
        Press(dlg.EditBtn);
        EXPECT_EQ(Entries(*list), (QStringList{"One", "Two", "Mine", "Button 6"}));
        EXPECT_EQ(Btn("CustomButton5")->text(), "Mine2");
        EXPECT_EQ(Btn("CustomButton5")->Data().OpeningTag, "<DIV CLASS=\"x\">\r\n  ");
        // Cancel changes nothing.
        list->setCurrentRow(0);
        script.Expect("Edit Custom Button: One", [&](QDialog &E) {
            dynamic_cast<TCustomButtonEditor &>(E).CaptionEdit->setText("Changed");
            return int(QDialog::Rejected);
        });
        Press(dlg.EditBtn);
        EXPECT_EQ(Btn("CustomButton1")->text(), "One");

        // Remove takes the button off the bar at once and restacks it.
        list->setCurrentRow(1);
        Press(dlg.RemoveBtn);
        EXPECT_EQ(Entries(*list), (QStringList{"One", "Mine2", "Button 6"})) << "rebuilt with the new caption";
        EXPECT_EQ(SelectedRow(*list), 1);
        EXPECT_EQ(Btn("CustomButton3"), nullptr);
        EXPECT_EQ(Geometries()[2], QRect(2, 46, 96, 21));
        list->setCurrentRow(2);
        Press(dlg.RemoveBtn);
        EXPECT_EQ(SelectedRow(*list), 1) << "the last entry was removed";
        EXPECT_EQ(Bytes(HtbPath()), FileOf({Def("One", "<1>"), Def("-"), Def("Two", "<2>", "</2>"), Def("")}))
            << "nothing is written while the dialog is open";
        return int(QDialog::Rejected); // closed by its close box or Escape
    });
    form->CustomButtons1->trigger();
    Settle();
    EXPECT_EQ(help.Requests, QStringList{"topic:custom_buttons"});
    EXPECT_EQ(Bytes(HtbPath()),
              FileOf({Def("One", "<1>"), Def("-"), Def(""), Def("Mine2", "<DIV CLASS=\"x\">\r\n  ", "</DIV>")}));
}

TEST_F(CustomButtonTest, RemovingTheOnlyButtonWritesAnEmptyFile)
{
    WriteHtb({Def("Alone", "<A>")});
    Start();
    TDialogScript script;
    script.Expect("Custom Buttons", [&](QDialog &D) {
        auto &dlg = dynamic_cast<TCustomButtonRemoveDlg &>(D);
        dlg.ListBox1->setCurrentRow(0);
        Press(dlg.RemoveBtn);
        EXPECT_EQ(dlg.ListBox1->count(), 0);
        EXPECT_EQ(SelectedRow(*dlg.ListBox1), -1);
        EXPECT_TRUE(dlg.ListBox1->selectedItems().isEmpty());
        Press(dlg.CloseBtn);
        return D.result();
    });
    form->CustomButtons1->trigger();
    EXPECT_TRUE(QFile::exists(HtbPath()));
    EXPECT_EQ(QFileInfo(HtbPath()).size(), 0);
    EXPECT_TRUE(Bar().Buttons().isEmpty());
}

TEST_F(CustomButtonTest, AFailedSaveIsReportedAndTheButtonsStay)
{
    Start();
    QDir().mkpath(HtbPath()); // a directory where the file should be
    TScriptedPrompt prompt;
    TDialogScript script;
    prompt.ExpectInput("Button Text:", "Fresh");
    script.Expect("Custom Buttons", [&](QDialog &D) {
        Press(dynamic_cast<TCustomButtonRemoveDlg &>(D).NewBtn);
        return int(QDialog::Accepted);
    });
    const QString name = QString::fromStdString(TCustomButtonBar::ButtonsFileName());
    EXPECT_TRUE(name.endsWith("/cwd/CUSTOM.HTB")) << name.toStdString();
    prompt.ExpectMessage("Cannot create file " + name, mrOk, TMsgDlgType::mtError);
    form->CustomButtons1->trigger();
    Settle();
    EXPECT_EQ(Captions(), (QStringList{"Fresh"}));
    EXPECT_TRUE(QFileInfo(HtbPath()).isDir());
}

TEST_F(CustomButtonTest, DamagedFilesLoadWhatIsSoundAndStayUntouched)
{
    // More than fifty records: the first fifty.
    std::vector<TCustButton> many;
    for (int i = 1; i <= 51; ++i)
        many.push_back(Def("B" + std::to_string(i), "<" + std::to_string(i) + ">"));
    WriteHtb(many);
    Start();
    ASSERT_EQ(Bar().Buttons().size(), 50);
    EXPECT_EQ(Captions().last(), "B50");
    EXPECT_EQ(Geometries().last().top(), 49 * 23);
    Stop();

    // A record cut short, lengths beyond the end, and random bytes: buttons from what is there,
    // and the file is left as it was.
    std::string cut = FormatCustomButtons({Def("Whole", "<W>", "</W>"), Def("Half", "<HALF>")});
    cut.resize(cut.size() - 7); // into the opening text of the second record
    std::string huge = FormatCustomButtons({Def("Huge", "abc")});
    huge[256] = '\xF0', huge[257] = '\xFF', huge[258] = '\xFF', huge[259] = '\x7F';
    std::mt19937 rng(3);
    std::string junk(5000, '\0');
    for (char &c : junk)
        c = char(rng());
    for (const std::string &bytes : {cut, huge, junk}) {
        const QByteArray file(bytes.data(), qsizetype(bytes.size()));
        Put(HtbPath(), file);
        Start();
        EXPECT_LE(Bar().Buttons().size(), 50);
        EXPECT_FALSE(Bar().Buttons().isEmpty());
        if (bytes == cut) {
            EXPECT_EQ(Captions(), (QStringList{"Whole", "Half"}));
            EXPECT_EQ(Btn("CustomButton2")->Data().OpeningTag, "<HA");
        }
        if (bytes == huge) {
            EXPECT_EQ(Btn("CustomButton1")->Data().OpeningTag, std::string("abc\0\0\0\0", 7));
        }
        TMDIChild *doc = NewDocument();
        for (TCustButtonWidget *b : Bar().Buttons())
            b->click();
        doc->Editor->SetModified(false);
        Stop();
        EXPECT_EQ(Bytes(HtbPath()), file);
    }
}

TEST_F(CustomButtonTest, EditorFieldsAndLineBreaks)
{
    TCustButton b = Def("A&B", "<P>\r\nline2\r\n", "</P>");
    TCustomButtonEditor ed(b);
    EXPECT_EQ(ed.windowTitle(), "Edit Custom Button: A&B");
    EXPECT_EQ(ed.CaptionEdit->objectName(), "CaptionEdit");
    EXPECT_EQ(ed.Memo->toPlainText(), "<P>\nline2\n");
    EXPECT_EQ(ed.Memo2->toPlainText(), "</P>");
    for (QPlainTextEdit *memo : {ed.Memo, ed.Memo2}) {
        EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    EXPECT_EQ(ed.OpeningText(), "<P>\r\nline2\r\n");
    ed.Memo2->setPlainText(QString::fromUtf8("\xC3\xA9\n\n"));
    EXPECT_EQ(ed.ClosingText(), "\xE9\r\n\r\n");

    // Emptied memos leave the button without texts.
    TDialogScript script;
    script.Expect("Edit Custom Button: A&B", [](QDialog &D) {
        auto &e = dynamic_cast<TCustomButtonEditor &>(D);
        e.Memo->clear();
        e.Memo2->clear();
        e.CaptionEdit->clear();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(ExecCustomButtonEditor(b, nullptr));
    EXPECT_EQ(b.Caption, "");
    EXPECT_EQ(b.OpeningTagLength(), 0);
    EXPECT_EQ(b.ClosingTagLength(), 0);
}
