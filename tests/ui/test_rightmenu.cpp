// The right mouse button menu of real document windows: building it from section Custom-Test,
// its entries' clicks in every window, the pop-up on a right press, the menu editor with its
// candidates, drawing, dragging, Up, Down, Remove, OK and Cancel, and the rebuild from its own
// "Edit Menu..." entry.
#include "support/DocumentFixture.h"

#include "DialogScript.h"
#include "core/custom/CustomButtons.h"
#include "core/custom/HistoryList.h"
#include "core/custom/RightMenu.h"
#include "platform/TextCodec.h"
#include "ui/custom/CustomButtonBar.h"
#include "ui/custom/CustomButtonsDialog.h"
#include "ui/custom/RightMenuEditor.h"
#include "ui/document/RightMenu.h"

#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

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

class RightMenuTest : public DocumentTest {
protected:
    void WriteHtb(const std::vector<TCustButton> &Buttons)
    {
        const std::string bytes = FormatCustomButtons(Buttons);
        Put(Path("CUSTOM.HTB"), QByteArray(bytes.data(), qsizetype(bytes.size())));
    }
    // Replaces section Custom-Test by these keys.
    void StoreMenu(const std::vector<std::pair<std::string, std::string>> &Keys)
    {
        TProfile((tmp.path() + "/config/PELMAR32.INI").toStdString()).EraseSection(RightMenuSection);
        for (const auto &[key, value] : Keys)
            Setting("Custom-Test", key, value);
    }
    std::vector<std::string> StoredMenu() const
    {
        return ReadRightMenuNames(TProfile((tmp.path() + "/config/PELMAR32.INI").toStdString()));
    }
    // The menu's captions, "-" for the separator.
    static QStringList MenuCaptions(TMDIChild *Doc)
    {
        QStringList out;
        for (QAction *a : Doc->RightMenu->actions())
            out << (a->isSeparator() ? QString("-") : a->text());
        return out;
    }
    static TDynamicMenuItem *Entry(TMDIChild *Doc, const QString &Caption)
    {
        for (QAction *a : Doc->RightMenu->actions())
            if (a->text() == Caption)
                return qobject_cast<TDynamicMenuItem *>(a);
        ADD_FAILURE() << "no entry " << Caption.toStdString();
        return nullptr;
    }
    static QStringList Names(const QListWidget &List)
    {
        QStringList out;
        for (int i = 0; i < List.count(); ++i)
            out << List.item(i)->data(Qt::UserRole + 1).toString();
        return out;
    }
    static int Row(const QListWidget &List, const QString &Name)
    {
        const int row = int(Names(List).indexOf(Name));
        EXPECT_GE(row, 0) << Name.toStdString();
        return row;
    }
    // Drags candidate Name into the menu's list as the mouse would.
    static void Drag(TMenuEditor &Ed, const QString &Name)
    {
        Ed.MenuItemsListBoxMouseDown(Row(*Ed.MenuItemsListBox, Name));
        Ed.RightMouseListBoxDragDrop();
    }
};

} // namespace

TEST_F(RightMenuTest, MenuFromTheStoredList)
{
    // An empty section: only "Edit Menu..." and the separator.
    TMDIChild *doc = NewDocument();
    EXPECT_EQ(MenuCaptions(doc), (QStringList{"Edit Menu...", "-"}));
    for (QAction *a : doc->RightMenu->actions())
        EXPECT_EQ(qobject_cast<TDynamicMenuItem *>(a)->TargetName, "");
    Stop();

    // Keys 0, 1 and 3: the gap ends the list; a name found nowhere is skipped.
    StoreMenu({{"0", "Bold1"}, {"1", "NoSuchThing"}, {"2", "SpeedButton8"}, {"4", "Italic1"}});
    doc = NewDocument();
    EXPECT_EQ(MenuCaptions(doc), (QStringList{"Edit Menu...", "-", "&Bold", "HR"}));
    EXPECT_EQ(Entry(doc, "&Bold")->TargetName, "Bold1");
    EXPECT_EQ(Entry(doc, "HR")->TargetName, "SpeedButton8");
    Stop();
    StoreMenu({{"0", "Bold1"}, {"1", "SpeedButton8"}, {"3", "Italic1"}});
    doc = NewDocument();
    EXPECT_EQ(MenuCaptions(doc), (QStringList{"Edit Menu...", "-", "&Bold", "HR"}));

    // Each entry does what its target does; a speed button runs its document command.
    Entry(doc, "&Bold")->trigger();
    EXPECT_EQ(Text(doc), "<B></B>");
    EXPECT_EQ(form->LastMarkupCommand.data(), doc->Action("Bold1"));
    doc->Editor->SelectAll(false);
    doc->Editor->DeleteSelection();
    Entry(doc, "HR")->trigger();
    EXPECT_EQ(Text(doc), "<HR>");

    // The main window's name comes first when building, the window's own when clicking.
    Stop();
    StoreMenu({{"0", "Font1"}, {"1", "FileNewItem"}});
    doc = NewDocument();
    EXPECT_EQ(MenuCaptions(doc), (QStringList{"Edit Menu...", "-", "Editor &Font...", "&New..."}));
}

TEST_F(RightMenuTest, CustomButtonNamesShiftAfterARemovalAndRestart)
{
    WriteHtb({Def("Alpha", "<A>"), Def("Beta", "<BETA>"), Def("Gamma", "<GAMMA>")});
    StoreMenu({{"0", "CustomButton2"}, {"1", "CustomButton3"}});
    TMDIChild *doc = NewDocument();
    EXPECT_EQ(MenuCaptions(doc), (QStringList{"Edit Menu...", "-", "Beta", "Gamma"}));
    Entry(doc, "Beta")->trigger();
    EXPECT_EQ(Text(doc), "<BETA>");
    EXPECT_EQ(form->LastMarkupCommand.data(), CustomButtonBar(*form)->FindButton("CustomButton2"));

    // Remove the middle button through the dialog; the open window keeps its menu.
    TDialogScript script;
    script.Expect("Custom Buttons", [](QDialog &D) {
        auto &dlg = dynamic_cast<TCustomButtonRemoveDlg &>(D);
        dlg.ListBox1->setCurrentRow(1);
        dlg.RemoveBtn->click();
        return int(QDialog::Accepted);
    });
    form->CustomButtons1->trigger();
    EXPECT_EQ(MenuCaptions(doc), (QStringList{"Edit Menu...", "-", "Beta", "Gamma"}));
    // The removed button's entry now does nothing.
    Entry(doc, "Beta")->trigger();
    EXPECT_EQ(Text(doc), "<BETA>");
    doc->Editor->SetModified(false);

    Stop();
    doc = NewDocument();
    // CustomButton2 is now the former third button; CustomButton3 names nothing.
    EXPECT_EQ(MenuCaptions(doc), (QStringList{"Edit Menu...", "-", "Gamma"}));
    Entry(doc, "Gamma")->trigger();
    EXPECT_EQ(Text(doc), "<GAMMA>");
}

TEST_F(RightMenuTest, DocumentItemChosenInOneWindowWorksInAnother)
{
    TMDIChild *first = NewDocument();
    TDialogScript script;
    script.Expect("Edit Right Mouse Button Menu", [&](QDialog &D) {
        auto &ed = dynamic_cast<TMenuEditor &>(D);
        Drag(ed, "Italic1");
        return int(QDialog::Accepted);
    });
    form->EditRightMouseButtonMenu1->trigger();
    EXPECT_EQ(StoredMenu(), std::vector<std::string>{"Italic1"});
    EXPECT_EQ(MenuCaptions(first), (QStringList{"Edit Menu...", "-", "&Italic"}));

    TMDIChild *second = NewDocument();
    ASSERT_NE(second, first);
    EXPECT_EQ(MenuCaptions(second), (QStringList{"Edit Menu...", "-", "&Italic"}));
    Entry(second, "&Italic")->trigger();
    EXPECT_EQ(Text(second), "<I></I>");
    EXPECT_EQ(Text(first), "");
    EXPECT_EQ(form->LastMarkupCommand.data(), second->Action("Italic1"));
    // The first window's entry still works in the first window, even with the other active.
    Entry(first, "&Italic")->trigger();
    EXPECT_EQ(Text(first), "<I></I>");
    EXPECT_EQ(Text(second), "<I></I>");
    EXPECT_EQ(form->LastMarkupCommand.data(), first->Action("Italic1"));

    // With the item disabled, its entry does nothing.
    second->Action("Italic1")->setEnabled(false);
    Entry(second, "&Italic")->trigger();
    EXPECT_EQ(Text(second), "<I></I>");
}

TEST_F(RightMenuTest, EditorCandidatesAndTheStoredMenu)
{
    WriteHtb({Def("Zeta &Tag", "<Z>"), Def("-"), Def("")});
    StoreMenu({{"0", "CustomButton1"}, {"1", "Gone1"}, {"2", "Bold1"}, {"3", "SpeedButton15"}});
    TMDIChild *doc = NewDocument();
    TMenuEditor ed(*form, doc);
    EXPECT_EQ(ed.windowTitle(), "Edit Right Mouse Button Menu");
    const QStringList candidates = Names(*ed.MenuItemsListBox);
    for (const char *offered : {"File1", "FileOpenItem", "Options1", "CustomButtons1", "NewButton1", "SpeedButton15",
                                "SpeedButton90", "CustomButton1", "Bold1", "Edit1", "Font1", "Cut1"})
        EXPECT_TRUE(candidates.contains(offered)) << offered;
    // Picture buttons, hidden entries, "-" and empty captions are not offered.
    for (const char *hidden : {"NewBtn", "OpenBtn", "HiddenCut1", "HiddenCust11", "CheckSpelling1", "FormWiz1",
                               "OpenRemote1", "CustomButton2", "CustomButton3"})
        EXPECT_FALSE(candidates.contains(hidden)) << hidden;
    // Sorted by caption, ignoring case.
    QStringList captions;
    for (int i = 0; i < ed.MenuItemsListBox->count(); ++i)
        captions << ed.MenuItemsListBox->item(i)->text();
    for (int i = 1; i < captions.size(); ++i)
        EXPECT_LE(CompareTextIgnoringCase(QStringToBytes(captions[i - 1]), QStringToBytes(captions[i])), 0)
            << captions[i].toStdString();
    EXPECT_EQ(ed.MenuItemsListBox->item(Row(*ed.MenuItemsListBox, "CustomButton1"))->text(), "Zeta &Tag");

    // The stored menu without the name that is gone.
    EXPECT_EQ(Names(*ed.RightMouseListBox), (QStringList{"CustomButton1", "Bold1", "SpeedButton15"}));
    EXPECT_EQ(ed.Names(), (std::vector<std::string>{"CustomButton1", "Bold1", "SpeedButton15"}));
    EXPECT_EQ(SelectedRow(*ed.RightMouseListBox), -1);
}

TEST_F(RightMenuTest, EditorUpDownRemoveDropOkAndCancel)
{
    StoreMenu({{"0", "Bold1"}, {"1", "Italic1"}, {"2", "SpeedButton9"}});
    TMDIChild *doc = NewDocument();
    TScriptedPrompt prompt;
    TDialogScript script;
    script.Expect("Edit Right Mouse Button Menu", [&](QDialog &D) {
        auto &ed = dynamic_cast<TMenuEditor &>(D);
        QListWidget &menu = *ed.RightMouseListBox;
        const QStringList start{"Bold1", "Italic1", "SpeedButton9"};
        // Nothing selected: the buttons do nothing.
        ed.UpButton->click();
        ed.DownButton->click();
        ed.RemoveButton->click();
        EXPECT_EQ(Names(menu), start);
        // Up on the first and Down on the last do nothing.
        menu.setCurrentRow(0);
        ed.UpButton->click();
        EXPECT_EQ(Names(menu), start);
        EXPECT_EQ(SelectedRow(menu), 0);
        menu.setCurrentRow(2);
        ed.DownButton->click();
        EXPECT_EQ(Names(menu), start);
        EXPECT_EQ(SelectedRow(menu), 2);
        // The selection follows the moved entry.
        ed.UpButton->click();
        EXPECT_EQ(Names(menu), (QStringList{"Bold1", "SpeedButton9", "Italic1"}));
        EXPECT_EQ(SelectedRow(menu), 1);
        ed.UpButton->click();
        EXPECT_EQ(Names(menu), (QStringList{"SpeedButton9", "Bold1", "Italic1"}));
        EXPECT_EQ(SelectedRow(menu), 0);
        ed.DownButton->click();
        EXPECT_EQ(Names(menu), (QStringList{"Bold1", "SpeedButton9", "Italic1"}));
        EXPECT_EQ(SelectedRow(menu), 1);

        // Dropping an entry that is there already warns with its caption and changes nothing.
        prompt.ExpectMessage("\"&Bold\" is already on the menu.", mrOk, TMsgDlgType::mtWarning, mbOK);
        Drag(ed, "Bold1");
        EXPECT_EQ(Names(menu), (QStringList{"Bold1", "SpeedButton9", "Italic1"}));
        EXPECT_EQ(SelectedRow(*ed.MenuItemsListBox), Row(*ed.MenuItemsListBox, "Bold1"));
        // A new one goes to the end and is selected.
        Drag(ed, "SpeedButton90");
        Drag(ed, "FileSaveItem");
        EXPECT_EQ(Names(menu), (QStringList{"Bold1", "SpeedButton9", "Italic1", "SpeedButton90", "FileSaveItem"}));
        EXPECT_EQ(SelectedRow(menu), 4);
        // A drop with nothing picked up adds nothing.
        TMenuEditor fresh(*form, doc);
        fresh.RightMouseListBoxDragDrop();
        EXPECT_EQ(fresh.List().Entries().size(), 3u);

        // Remove: the entry at the same place, or the new last one, is selected.
        menu.setCurrentRow(1);
        ed.RemoveButton->click();
        EXPECT_EQ(Names(menu), (QStringList{"Bold1", "Italic1", "SpeedButton90", "FileSaveItem"}));
        EXPECT_EQ(SelectedRow(menu), 1);
        menu.setCurrentRow(3);
        ed.RemoveButton->click();
        EXPECT_EQ(SelectedRow(menu), 2);
        return int(QDialog::Rejected);
    });
    form->EditRightMouseButtonMenu1->trigger();
    // Cancel: nothing stored, the menu as it was.
    EXPECT_EQ(StoredMenu(), (std::vector<std::string>{"Bold1", "Italic1", "SpeedButton9"}));
    EXPECT_EQ(MenuCaptions(doc), (QStringList{"Edit Menu...", "-", "&Bold", "&Italic", "BR"}));

    // OK stores the whole list afresh and rebuilds the window's menu; other windows keep theirs.
    TMDIChild *other = NewDocument();
    form->MDIClient->setActiveSubWindow(doc);
    script.Expect("Edit Right Mouse Button Menu", [&](QDialog &D) {
        auto &ed = dynamic_cast<TMenuEditor &>(D);
        ed.RightMouseListBox->setCurrentRow(0);
        ed.RemoveButton->click();
        ed.RemoveButton->click();
        Drag(ed, "SpeedButton90");
        return int(QDialog::Accepted);
    });
    Entry(doc, "Edit Menu...")->trigger();
    EXPECT_EQ(StoredMenu(), (std::vector<std::string>{"SpeedButton9", "SpeedButton90"}));
    const QByteArray ini = Bytes(tmp.path() + "/config/PELMAR32.INI");
    EXPECT_TRUE(ini.contains("[Custom-Test]\r\n0=SpeedButton9\r\n1=SpeedButton90\r\n") ||
                ini.contains("[Custom-Test]\n0=SpeedButton9\n1=SpeedButton90\n"))
        << ini.toStdString();
    EXPECT_EQ(MenuCaptions(doc), (QStringList{"Edit Menu...", "-", "BR", "TR"}));
    EXPECT_EQ(MenuCaptions(other), (QStringList{"Edit Menu...", "-", "&Bold", "&Italic", "BR"}));
    doc->Editor->SetModified(false);
}

TEST_F(RightMenuTest, EditMenuRebuildsWhileItsOwnClickRuns)
{
    TMDIChild *doc = NewDocument();
    QPointer<QMenu> oldMenu = doc->RightMenu;
    QPointer<QAction> oldEdit = Entry(doc, "Edit Menu...");
    bool ranAfter = false;
    // A second listener on the same entry runs after the rebuild; the entry must still be there.
    QObject::connect(oldEdit.data(), &QAction::triggered, oldEdit.data(), [&] {
        ranAfter = true;
        EXPECT_FALSE(oldEdit.isNull());
        EXPECT_EQ(oldEdit->text(), "Edit Menu...");
    });
    TDialogScript script;
    script.Expect("Edit Right Mouse Button Menu", [&](QDialog &D) {
        Drag(dynamic_cast<TMenuEditor &>(D), "SpeedButton9");
        return int(QDialog::Accepted);
    });
    oldEdit->trigger();
    EXPECT_TRUE(ranAfter);
    EXPECT_NE(doc->RightMenu, oldMenu.data());
    EXPECT_EQ(doc->findChild<QMenu *>("RightMenu"), doc->RightMenu);
    EXPECT_EQ(MenuCaptions(doc), (QStringList{"Edit Menu...", "-", "BR"}));
    ASSERT_FALSE(oldMenu.isNull()) << "kept until the click has returned";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(oldMenu.isNull());
    EXPECT_TRUE(oldEdit.isNull());

    // The new menu's entry opens the editor too; Cancel leaves the menu alone.
    QPointer<QMenu> current = doc->RightMenu;
    script.Expect("Edit Right Mouse Button Menu", [](QDialog &) { return int(QDialog::Rejected); });
    Entry(doc, "Edit Menu...")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(doc->RightMenu, current.data());

    // Without a document window the main menu item opens nothing.
    doc->close();
    Settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(form->ActiveDocument(), nullptr);
    form->EditRightMouseButtonMenu1->setEnabled(true);
    form->EditRightMouseButtonMenu1->trigger();
}

TEST_F(RightMenuTest, RightPressShowsTheMenuAtThePointerWithoutMovingTheCaret)
{
    StoreMenu({{"0", "Bold1"}});
    TMDIChild *doc = NewDocument();
    Type(doc, "one\r\ntwo three");
    doc->Editor->SetCaretPosition(1, 2);
    const QPoint at(40, 30);
    QCursor::setPos(doc->Editor->viewport()->mapToGlobal(at));
    QTest::mousePress(doc->Editor->viewport(), Qt::RightButton, {}, at);
    EXPECT_EQ(Caret(doc), (std::pair<int, int>{1, 2}));
    ASSERT_TRUE(doc->RightMenu->isVisible());
    EXPECT_EQ(doc->RightMenu->pos(), QCursor::pos());
    QTest::mouseRelease(doc->Editor->viewport(), Qt::RightButton, {}, at);
    // Choosing an entry acts at the caret, which stayed where it was.
    doc->RightMenu->hide();
    Entry(doc, "&Bold")->trigger();
    EXPECT_EQ(Text(doc), "o<B></B>ne\ntwo three");
    doc->Editor->SetModified(false);
}

TEST(MenuEntryDrawing, CaptionWithoutFirstAmpersandClippedThenKind)
{
    QListWidget list;
    list.resize(400, 100);
    TMenuEntryDelegate delegate;
    auto paint = [&](const QString &Caption, TRightMenuTargetKind Kind) {
        auto *item = new QListWidgetItem(&list);
        item->setData(Qt::UserRole, Caption);
        item->setData(Qt::UserRole + 2, int(Kind));
        QImage image(400, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 400, 20);
        option.palette = list.palette();
        option.font = list.font();
        option.fontMetrics = QFontMetrics(list.font());
        delegate.paint(&painter, option, list.model()->index(list.row(item), 0));
        painter.end();
        return image;
    };
    auto region = [](const QImage &Image, int From, int To) { return Image.copy(From, 0, To - From, 20); };
    auto blank = [](const QImage &Image) {
        for (int y = 0; y < Image.height(); ++y)
            for (int x = 0; x < Image.width(); ++x)
                if (Image.pixel(x, y) != Image.pixel(0, 0))
                    return false;
        return true;
    };
    using K = TRightMenuTargetKind;
    const QImage bold = paint("&Bold", K::MenuItem);
    EXPECT_EQ(bold, paint("Bold", K::MenuItem)) << "the first & is not drawn";
    EXPECT_NE(bold, paint("&Bo&ld", K::MenuItem)) << "a second & is drawn";
    EXPECT_TRUE(blank(region(bold, 0, 4))) << "text starts 4 pixels in";
    EXPECT_FALSE(blank(region(bold, 4, 300)));
    // The kind column from three quarters of the width on.
    EXPECT_FALSE(blank(region(bold, 301, 400)));
    EXPECT_EQ(region(bold, 0, 300), region(paint("&Bold", K::CustomButton), 0, 300));
    for (K other : {K::Button, K::CustomButton, K::Unknown})
        EXPECT_NE(region(bold, 300, 400), region(paint("&Bold", other), 300, 400));
    // A long caption is cut at three quarters; the kind is drawn as for a short one.
    const QImage longCaption = paint(QString(200, 'W'), K::Button);
    EXPECT_EQ(region(longCaption, 300, 400), region(paint("W", K::Button), 300, 400));
    EXPECT_FALSE(blank(region(longCaption, 280, 300)));
    // In a narrow list the kind column starts early enough for "Custom Button" to show whole.
    const QFontMetrics metrics(list.font());
    EXPECT_EQ(TMenuEntryDelegate::KindColumnStart(400, metrics), 300);
    const int narrow = metrics.horizontalAdvance("Custom Button") * 3;
    const int start = TMenuEntryDelegate::KindColumnStart(narrow, metrics);
    EXPECT_LT(start, narrow * 3 / 4);
    EXPECT_GE(narrow - start - 1, metrics.horizontalAdvance("Custom Button"));
}
