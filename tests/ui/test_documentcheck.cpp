// Check HTML Document on real document windows: the command and its enabling, the list of a faulty
// page with its title and status line, the jump by Enter and double-click, the text left as it
// was, the list following the window checked last, a clean page, a closed window, and Esc.
#include "support/DocumentFixture.h"

#include "ui/document/DocumentCheckList.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class DocumentCheckTest : public DocumentTest {
protected:
    TDocumentCheckList &List() { return *form->DocumentCheckList; }
    void CheckActive()
    {
        form->CheckHTMLDocument1->trigger();
        List().WaitForCheck();
        Settle();
    }
    // "line:column kind message" of every row.
    QStringList Rows()
    {
        QStringList rows;
        for (int i = 0; i < List().FindingList->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *r = List().FindingList->topLevelItem(i);
            rows << r->text(0) + ":" + r->text(1) + " " + r->text(2) + " " + r->text(3);
        }
        return rows;
    }
    int RowStarting(const QString &Start)
    {
        const QStringList rows = Rows();
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].startsWith(Start))
                return i;
        ADD_FAILURE() << "no row " << Start.toStdString() << " in " << rows.join("\n").toStdString();
        return 0;
    }
};

const QByteArray kFaultyPage = "<HTML><HEAD><TITLE>T</TITLE></HEAD><BODY>\r\n"
                               "<TABLE>\r\n"
                               "<TR><TD>caf&eacutx;</TD></TR>\r\n"
                               "<P><IMG SRC=\"Logo.GIF\" ALT=\"logo\">\r\n"
                               "<P><A HREF=\"index.htm>home</A>\r\n"
                               "</BODY></HTML>\r\n";

} // namespace

TEST_F(DocumentCheckTest, FindingsListedAndJumpedTo)
{
    TMainForm &f = Start();
    EXPECT_FALSE(f.CheckHTMLDocument1->isEnabled()) << "no document";
    const QList<QAction *> file = f.File1->actions();
    EXPECT_EQ(file.indexOf(f.CheckHTMLDocument1), file.indexOf(f.UpdateViewer1) + 1);
    EXPECT_EQ(f.CheckHTMLDocument1->text(), "Check HTML Document");
    EXPECT_EQ(f.CheckHTMLDocument1->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F9));
    EXPECT_EQ(f.CheckHTMLDocument1->statusTip(), "Check the document for markup errors");

    Put(Path("page.htm"), kFaultyPage);
    Put(Path("logo.gif"), "GIF89a");
    TMDIChild *doc = OpenFile(Path("page.htm"));
    ASSERT_NE(doc, nullptr);
    // Checked as it is in the editor, unsaved line included.
    doc->Editor->SetCaretPosition(7, 1);
    Type(doc, "<P>&mdash;");
    const std::string text = Text(doc);
    Settle();
    EXPECT_TRUE(f.CheckHTMLDocument1->isEnabled());
    CheckActive();

    EXPECT_TRUE(List().isVisible());
    EXPECT_EQ(List().Document(), doc);
    const QStringList rows = Rows();
    for (const QString &expected : {QString("2:1 Warning Missing </table>"),
                                    QString("3:12 Warning Unknown entity \"&eacutx;\" (did you mean \"&eacute;\"?)"),
                                    QString("4:14 Error File not found: \"Logo.GIF\" (there is \"logo.gif\": the "
                                            "letter case differs)"),
                                    QString("5:12 Warning Quote not closed? The value of HREF opened here runs on "
                                            "to line 7, taking the markup between with it"),
                                    QString("7:4 Note \"&mdash;\" is an entity of HTML 4")})
        EXPECT_EQ(rows.filter(expected).size(), 1) << expected.toStdString() << "\n" << rows.join("\n").toStdString();
    for (int i = 1; i < rows.size(); ++i)
        EXPECT_LE(rows[i - 1].section(':', 0, 0).toInt(), rows[i].section(':', 0, 0).toInt()) << "sorted by line";
    EXPECT_EQ(List().windowTitle(), QString("Document Check - page.htm: %1 findings").arg(rows.size()));
    EXPECT_TRUE(f.StatusLine->text().startsWith("Document check: 1 error, ")) << f.StatusLine->text().toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is gone";

    // Enter on a row, and a double-click on another, put the caret there.
    QTreeWidget *list = List().FindingList;
    list->setCurrentItem(list->topLevelItem(RowStarting("2:1 Warning Missing </table>")));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Caret(doc), std::make_pair(2, 1));
    QTreeWidgetItem *logo = list->topLevelItem(RowStarting("4:14 Error"));
    list->scrollToItem(logo);
    const QPoint at = list->visualItemRect(logo).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(Caret(doc), std::make_pair(4, 14));
    EXPECT_EQ(f.ActiveDocument(), doc);
    EXPECT_EQ(Text(doc), text) << "the check changes nothing";
    EXPECT_TRUE(doc->Editor->Modified());

    // Another window: the list is its now; nothing found says so in the status line.
    TMDIChild *clean = NewDocument();
    Type(clean, "<!DOCTYPE html>\n<HTML><HEAD><TITLE>x</TITLE></HEAD><BODY><P>Fine &eacute;</BODY></HTML>");
    clean->Editor->SetModified(false);
    CheckActive();
    EXPECT_EQ(List().Document(), clean);
    EXPECT_EQ(List().FindingList->topLevelItemCount(), 0);
    EXPECT_EQ(List().windowTitle(), "Document Check - Untitled: no findings");
    EXPECT_EQ(f.StatusLine->text(), "No problems found.");
    EXPECT_FALSE(clean->Editor->Modified());

    // Check again finds the problem typed since; a closed window takes its findings with it.
    Type(clean, "<IMG SRC=x.gif>");
    QTest::mouseClick(List().CheckAgainButton, Qt::LeftButton);
    List().WaitForCheck();
    EXPECT_EQ(Rows().filter("Picture without alternate text").size(), 1) << Rows().join("\n").toStdString();
    clean->Editor->SetModified(false);
    clean->close();
    delete clean;
    Settle();
    EXPECT_EQ(List().Document(), nullptr);
    EXPECT_EQ(List().FindingList->topLevelItemCount(), 0);
    EXPECT_FALSE(List().CheckAgainButton->isEnabled());
}

TEST_F(DocumentCheckTest, EscCancelsARunningCheck)
{
    Start();
    TMDIChild *doc = NewDocument();
    std::string big;
    while (big.size() < (2u << 20))
        big += "<P>Some text &eacute; <A HREF=\"x.htm\">link</A> <IMG SRC=\"a.gif\" ALT=\"\">\n";
    doc->Editor->InsertString(big);
    form->CheckHTMLDocument1->trigger();
    ASSERT_TRUE(List().Checking());
    EXPECT_NE(QApplication::overrideCursor(), nullptr) << "busy";
    EXPECT_TRUE(form->StatusLine->text().startsWith("Checking Untitled... ")) << form->StatusLine->text().toStdString();
    QTest::keyClick(doc->Editor, Qt::Key_Escape);
    EXPECT_FALSE(List().Checking());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form->StatusLine->text(), "Document check cancelled.");
    EXPECT_EQ(List().FindingList->topLevelItemCount(), 0);
    EXPECT_EQ(Text(doc), big) << "Esc reached the list, not the editor";
}
