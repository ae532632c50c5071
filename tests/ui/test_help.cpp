// The help against the program: every topic and help context the code asks for has a page, every
// dialog's Help button opens its page in the real viewer, the pages' links resolve and all of them
// can be reached from the contents, every menu command and speed-bar button is documented on the
// page of its menu or bar, the keyword search finds the topics, and the viewer stays usable while
// a modal dialog is open.
#include "core/markup/Entities.h"
#include "support/DocumentFixture.h"
#include "support/ScriptedPrompt.h"
#include "ui/app/AboutBox.h"
#include "ui/app/HelpViewer.h"
#include "ui/custom/ButtonEditor.h"
#include "ui/dialogs/BodyColorsDialog.h"
#include "ui/dialogs/RuleDialog.h"
#include "ui/dialogs/NewDocumentDialog.h"
#include "ui/dialogs/PageBuilder.h"
#include "ui/dialogs/BlockDialog.h"
#include "ui/dialogs/TableDesigner.h"
#include "ui/dialogs/ImageDialog.h"
#include "ui/dialogs/LinkDialog.h"
#include "ui/document/IntelligentTagDialog.h"
#include "ui/settings/PreferencesDialog.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <map>
#include <set>

namespace {

QString SourceDir()
{
    return QDir::cleanPath(QString::fromUtf8(PELMAR_TEST_DATA) + "/../..");
}

QString HelpDir()
{
    return SourceDir() + "/help";
}

QString ReadFile(const QString &Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString PlainText(const QString &Html)
{
    QTextDocument doc;
    doc.setHtml(Html);
    return doc.toPlainText();
}

QString TopicText(const QString &Topic)
{
    return PlainText(ReadFile(HelpDir() + "/" + Topic + ".html"));
}

// A menu or button caption as the user reads it: "&&" shows one "&", a single "&" marks a letter.
QString ShownCaption(const QString &Caption)
{
    QString shown;
    for (qsizetype i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == '&' && i + 1 < Caption.size())
            ++i;
        shown += Caption[i];
    }
    return shown.trimmed();
}

// The texts of the first cell of every table row of a page, as shown.
QStringList FirstCells(const QString &Topic)
{
    QStringList cells;
    const QRegularExpression row("<tr>\\s*<td[^>]*>(.*?)</td>", QRegularExpression::DotMatchesEverythingOption);
    for (auto it = row.globalMatch(ReadFile(HelpDir() + "/" + Topic + ".html")); it.hasNext();)
        cells << PlainText(it.next().captured(1)).trimmed();
    return cells;
}

// Every (cell, next cell) pair of the table rows of a page, as shown.
QList<QPair<QString, QString>> CellPairs(const QString &Topic)
{
    QList<QPair<QString, QString>> pairs;
    const QRegularExpression cell("<td[^>]*>(.*?)</td>\\s*<td[^>]*>(.*?)</td>",
                                  QRegularExpression::DotMatchesEverythingOption);
    for (auto it = cell.globalMatch(ReadFile(HelpDir() + "/" + Topic + ".html")); it.hasNext();) {
        const auto m = it.next();
        pairs.append({PlainText(m.captured(1)).trimmed(), PlainText(m.captured(2)).trimmed()});
    }
    return pairs;
}

// Topic names and help contexts asked for anywhere in the program's sources.
struct TUsedHelp {
    std::set<QString> Topics;
    std::set<int> Contexts;
};

TUsedHelp ScanSources()
{
    TUsedHelp used;
    const QList<QRegularExpression> topicCalls = {
        QRegularExpression("ShowTopic\\(\\s*\"([^\"]+)\""),
        QRegularExpression("NewDialogButtons\\([^,;]+,\\s*\"([^\"]+)\""),
        QRegularExpression("\"(setup_[a-z]+)\""),
    };
    const QRegularExpression context("HelpContext\\s*=\\s*(\\d+)");
    QDirIterator it(SourceDir() + "/src", {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString text = ReadFile(it.next());
        for (const QRegularExpression &re : topicCalls)
            for (auto m = re.globalMatch(text); m.hasNext();)
                used.Topics.insert(m.next().captured(1));
        for (auto m = context.globalMatch(text); m.hasNext();)
            if (const int n = m.next().captured(1).toInt(); n > 0)  // 0 is "no help"
                used.Contexts.insert(n);
    }
    return used;
}

// A help viewer on the source tree's topics, installed as the application's help while it lives.
struct TInstalledViewer {
    THelpViewer Viewer{HelpDir()};
    TInstalledViewer() { SetHelpService(&Viewer); }
    ~TInstalledViewer()
    {
        SetHelpService(nullptr);
        Viewer.close();
    }
    // The topic shown, "" for the page that says a topic is missing.
    QString Shown() const { return Viewer.CurrentTopic(); }
    QString ShownText() const { return Viewer.findChild<QTextBrowser *>("HelpBrowser")->toPlainText(); }
};

const QStringList kNamedTopics = {"inline_img",      "link_url",     "body",          "hr",
                                  "paragraph",       "table_designer", "page_builder", "create_new_file",
                                  "custom_buttons",  "acknow",       "setup_options", "setup_paths",
                                  "setup_colors",    "setup_quickkeys"};

} // namespace

TEST(HelpTopics, EveryTopicAndContextTheProgramUsesHasItsPage)
{
    const TUsedHelp used = ScanSources();
    for (const QString &name : kNamedTopics)
        EXPECT_TRUE(used.Topics.count(name)) << "the sources no longer ask for " << name.toStdString();
    for (int context : {6, 7, 11, 26, 49, 50})
        EXPECT_TRUE(used.Contexts.count(context)) << "the sources no longer use context " << context;

    const QList<THelpTopic> topics = ReadHelpTopics(HelpDir());
    std::map<QString, THelpTopic> byName;
    for (const THelpTopic &t : topics)
        byName[t.Name] = t;
    for (const QString &name : used.Topics) {
        ASSERT_TRUE(byName.count(name)) << "no page help/" << name.toStdString() << ".html";
        EXPECT_NE(byName[name].Title, name) << name.toStdString() << " has no <title>";
        EXPECT_FALSE(byName[name].Keywords.isEmpty()) << name.toStdString() << " has no keywords";
    }

    // Each numeric context belongs to exactly one page, and the viewer shows that page for it.
    TInstalledViewer help;
    for (int context : used.Contexts) {
        QStringList claimers;
        for (const THelpTopic &t : topics)
            if (t.Contexts.contains(context))
                claimers << t.Name;
        ASSERT_EQ(claimers.size(), 1) << "context " << context << " claimed by " << claimers.join(", ").toStdString();
        Help().ShowContext(context);
        EXPECT_EQ(help.Shown(), claimers.first()) << context;
    }
    Help().ShowContext(9999);
    EXPECT_EQ(help.Shown(), "contents") << "an unknown context shows the contents";
    Help().ShowTopic("no_such_topic");
    EXPECT_EQ(help.Shown(), "");
    EXPECT_TRUE(help.ShownText().contains("no help on \"no_such_topic\"")) << help.ShownText().toStdString();
}

TEST(HelpTopics, LinksResolveAndEveryPageCanBeReachedFromTheContents)
{
    const QRegularExpression href("<a\\s+href=\"([^\"#]*)(#[^\"]*)?\"", QRegularExpression::CaseInsensitiveOption);
    std::map<QString, QStringList> links;
    const QStringList pages = QDir(HelpDir()).entryList({"*.html"}, QDir::Files);
    ASSERT_GE(pages.size(), 30);
    for (const QString &page : pages) {
        const QString html = ReadFile(HelpDir() + "/" + page);
        EXPECT_TRUE(html.contains("<title>")) << page.toStdString();
        EXPECT_TRUE(html.contains("<meta name=\"keywords\"")) << page.toStdString() << " cannot be found by keyword";
        for (auto m = href.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (target.startsWith("http:") || target.startsWith("https:") || target.startsWith("mailto:"))
                continue;
            EXPECT_TRUE(QFileInfo::exists(HelpDir() + "/" + target))
                << page.toStdString() << " links to the missing " << target.toStdString();
            links[page] << target;
        }
    }
    QSet<QString> reached{"contents.html"};
    QStringList queue{"contents.html"};
    while (!queue.isEmpty())
        for (const QString &target : links[queue.takeFirst()])
            if (!reached.contains(target)) {
                reached.insert(target);
                queue << target;
            }
    for (const QString &page : pages)
        EXPECT_TRUE(reached.contains(page)) << page.toStdString() << " cannot be reached from the contents";
}

TEST(HelpTopics, KeywordSearchFindsTheTopicsOfTheDialogs)
{
    THelpViewer viewer(HelpDir());
    auto *edit = viewer.findChild<QLineEdit *>("KeywordEdit");
    auto *keywords = viewer.findChild<QListWidget *>("KeywordList");
    ASSERT_TRUE(edit && keywords);
    // The search tab as Help, Search for Help on... leaves it: every keyword, none typed yet.
    viewer.SearchKeyword(QString());
    EXPECT_EQ(viewer.findChild<QTabWidget *>()->currentIndex(), 1);
    EXPECT_GT(keywords->count(), 100);

    const std::vector<std::pair<QString, QString>> searches = {
        {"image", "inline_img"},       {"IMAGES.his", "inline_img"}, {"hyperTEXT", "link_url"},
        {"background", "body"},        {"noshade", "hr"},            {"justify", "paragraph"},
        {"cell pad", "table_designer"}, {"home page", "page_builder"}, {"template", "create_new_file"},
        {"CUSTOM.HTB", "custom_buttons"}, {"credits", "acknow"},     {"lowercase", "setup_options"},
        {"working dir", "setup_paths"}, {"syntax", "setup_colors"},  {"ctrl+q", "setup_quickkeys"},
        {"bookmarks", "keyboard"},
    };
    for (const auto &[typed, topic] : searches) {
        edit->clear();
        QTest::keyClicks(edit, typed);
        const QListWidgetItem *item = keywords->currentItem();
        ASSERT_NE(item, nullptr) << typed.toStdString();
        EXPECT_TRUE(item->text().toLower().startsWith(typed.toLower())) << item->text().toStdString();
        EXPECT_TRUE(viewer.FoundTopics().contains(topic))
            << typed.toStdString() << " found " << viewer.FoundTopics().join(",").toStdString();
        auto *found = viewer.findChild<QListWidget *>("FoundList");
        for (int i = 0; i < found->count(); ++i)
            if (found->item(i)->data(Qt::UserRole).toString() == topic)
                found->setCurrentRow(i);
        QTest::mouseClick(viewer.findChild<QPushButton *>("DisplayButton"), Qt::LeftButton);
        EXPECT_EQ(viewer.CurrentTopic(), topic) << typed.toStdString();
    }
    // Letters that start no keyword leave the list where it was.
    edit->clear();
    QTest::keyClicks(edit, "table");
    const QString before = keywords->currentItem()->text();
    QTest::keyClicks(edit, "zzqx");
    EXPECT_EQ(keywords->currentItem()->text(), before);

    // The buttons: contents, how to use help, back and forward.
    QTest::mouseClick(viewer.findChild<QPushButton *>("ContentsButton"), Qt::LeftButton);
    EXPECT_EQ(viewer.CurrentTopic(), "contents");
    QTest::mouseClick(viewer.findChild<QPushButton *>("HowToUseButton"), Qt::LeftButton);
    EXPECT_EQ(viewer.CurrentTopic(), "howtouse");
    QTest::mouseClick(viewer.findChild<QPushButton *>("BackButton"), Qt::LeftButton);
    EXPECT_EQ(viewer.CurrentTopic(), "contents");
    QTest::mouseClick(viewer.findChild<QPushButton *>("ForwardButton"), Qt::LeftButton);
    EXPECT_EQ(viewer.CurrentTopic(), "howtouse");
    viewer.close();
}

using HelpButtons = DocumentTest;

TEST_F(HelpButtons, EveryDialogsHelpButtonOpensItsTopicInTheViewer)
{
    TInstalledViewer help;
    TScriptedPrompt prompt;
    TMainForm &main = Start();
    auto check = [&](QAbstractButton *Button, const QString &Topic) {
        ASSERT_NE(Button, nullptr) << Topic.toStdString();
        help.Viewer.ShowTopic("contents");
        QTest::mouseClick(Button, Qt::LeftButton);
        EXPECT_EQ(help.Shown(), Topic);
        EXPECT_TRUE(help.Viewer.isVisible()) << Topic.toStdString();
    };

    {
        TInsertImageBox box(&main);
        box.show();
        check(box.HelpBtn, "inline_img");
    }
    {
        TInsertURLBox box(&main);
        box.show();
        check(box.HelpBtn, "link_url");
    }
    {
        TTBackgroundBox box(&main);
        box.show();
        check(box.HelpBtn, "body");
    }
    {
        THRBox box(&main);
        box.show();
        check(box.HelpBtn, "hr");
    }
    for (const auto &[caption, element] : {std::pair{"Paragraph", "P"}, {"Division", "DIV"}, {"Heading Style 2", "H2"}}) {
        TPBox box(caption, element, &main);
        box.show();
        check(box.HelpBtn, "paragraph");
    }
    {
        TTableDlg box(&main);
        box.show();
        check(box.HelpBtn, "table_designer");
    }
    {
        TPageWizDlg box(&main, &main);
        box.show();
        check(box.HelpButton, "page_builder");
    }
    {
        TNewDocDlg box(&main);
        box.show();
        check(box.HelpButton, "create_new_file");
    }
    {
        TCustButton button{"Sig", "<I>", "</I>", 1};
        TCustomButtonEditor box(button, &main);
        box.show();
        check(box.HelpBtn, "custom_buttons");
    }
    {
        TAboutBoxSW box(&main);
        box.show();
        check(box.CreditsButton, "acknow");
        // The box shows the program's icon, drawn for the screen it is on.
        const QPixmap icon = box.ProgramIconLabel->pixmap();
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.deviceIndependentSize().toSize(), QSize(48, 48));
    }
    {
        TTabbedNotebookDlg box(main, &main);
        box.show();
        const QStringList pages = {"setup_options", "setup_paths", "setup_colors", "setup_quickkeys"};
        ASSERT_EQ(box.TabbedNotebook1->count(), pages.size());
        for (int i = 0; i < pages.size(); ++i) {
            box.TabbedNotebook1->setCurrentIndex(i);
            check(box.HelpBtn, pages[i]);
        }
    }
    {
        TIntelliTagDlg box(&main);
        box.show();
        check(box.BitBtn1, "contents");
    }

    // The Help menu of the main window.
    help.Viewer.ShowTopic("hr");
    main.findChild<QAction *>("Contents1")->trigger();
    EXPECT_EQ(help.Shown(), "contents");
    main.findChild<QAction *>("HowtouseHelp1")->trigger();
    EXPECT_EQ(help.Shown(), "howtouse");
    main.findChild<QAction *>("SearchforHelpon1")->trigger();
    EXPECT_EQ(help.Viewer.findChild<QTabWidget *>()->currentIndex(), 1);
    EXPECT_EQ(help.Viewer.findChild<QLineEdit *>("KeywordEdit")->text(), "");
}

TEST_F(HelpButtons, EveryMenuCommandAndSpeedButtonIsDocumentedOnItsPage)
{
    TMainForm &main = Start();
    ASSERT_NE(NewDocument(), nullptr);
    const std::map<QString, QString> pageOfMenu = {
        {"File", "file_menu"},   {"Edit", "edit_menu"},     {"Element", "element_menu"}, {"Flow", "flow_menu"},
        {"List", "list_menu"},   {"Link", "link_menu"},     {"Entity", "entity_menu"},   {"Font", "font_menu"},
        {"Style", "style_menu"}, {"Options", "options_menu"}, {"Window", "main_window"},  {"Help", "main_window"},
    };
    int commands = 0;
    std::function<void(QMenu *, const QString &)> walk = [&](QMenu *Menu, const QString &Page) {
        const QString text = TopicText(Page);
        for (QAction *a : Menu->actions()) {
            if (a->isSeparator() || !a->isVisible() || a->objectName().isEmpty())
                continue;  // the window list and recent files have no name
            const QString caption = ShownCaption(a->text());
            EXPECT_TRUE(text.contains(caption))
                << Page.toStdString() << ".html does not mention " << caption.toStdString();
            ++commands;
            if (a->menu())
                walk(a->menu(), Page);
        }
    };
    QSet<QString> menusSeen;
    for (QAction *top : main.menuBar()->actions()) {
        if (!top->menu() || !top->isVisible())
            continue;
        const QString title = ShownCaption(top->text());
        ASSERT_TRUE(pageOfMenu.count(title)) << "a menu without a help page: " << title.toStdString();
        menusSeen.insert(title);
        walk(top->menu(), pageOfMenu.at(title));
    }
    EXPECT_EQ(menusSeen.size(), 12) << "the document's menus join the bar";
    EXPECT_GT(commands, 150);

    // The standard and common tags bars: each button has its row on the speed-bar page, by its
    // caption or, for a picture, by its tooltip.
    const QStringList rows = FirstCells("speedbars");
    int buttons = 0;
    for (QToolBar *bar : {main.StandardPanel, main.CommonPanel})
        for (QToolButton *b : bar->findChildren<QToolButton *>()) {
            if (b->objectName().isEmpty() || b->objectName().startsWith("qt_"))
                continue;
            const QString shown = b->text().isEmpty() ? b->toolTip() : ShownCaption(b->text());
            EXPECT_TRUE(rows.contains(shown)) << "speedbars.html has no row for " << shown.toStdString();
            ++buttons;
        }
    EXPECT_EQ(buttons, 44);

    // The character bars: every button's character is listed with the entity it really inserts.
    std::map<QString, QString> entityOf;
    for (const auto &[shown, entity] : CellPairs("character_bars"))
        entityOf[shown == "(soft hyphen)" ? QString(QChar(0xAD)) : shown] = entity;
    int characters = 0;
    for (QToolBar *bar : {main.SpecialPanel, main.ExtendedPanel})
        for (QToolButton *b : bar->findChildren<QToolButton *>()) {
            if (!b->objectName().startsWith("CharButton"))
                continue;
            const int code = b->objectName().mid(10).toInt();
            const QString shown = ShownCaption(b->text());
            ASSERT_TRUE(entityOf.count(shown)) << "character_bars.html lacks " << code;
            EXPECT_EQ(entityOf[shown].toStdString(), std::string(EntityForCharacter(static_cast<unsigned char>(code))))
                << code;
            ++characters;
        }
    EXPECT_EQ(characters, 35 + 62);
}

TEST_F(HelpButtons, TheViewerStaysUsableWhileModalDialogsAreOpen)
{
    // The main window's own viewer, as the program runs it.
    TMainForm &main = Start();
    auto *viewer = main.findChild<THelpViewer *>("HelpViewer");
    ASSERT_NE(viewer, nullptr);
    QPointer<THelpViewer> alive(viewer);

    QDialog outer(&main);
    outer.setWindowTitle("Outer");
    QWidget *parentInOuter = nullptr, *parentBackInOuter = nullptr;
    QString hostInInner;
    bool visibleBetween = false;
    QTimer::singleShot(0, &outer, [&] {
        Help().ShowTopic("hr");
        parentInOuter = viewer->parentWidget();
        QDialog inner(&outer);
        inner.setWindowTitle("Inner");
        QTimer::singleShot(0, &inner, [&] {
            Help().ShowTopic("paragraph");
            hostInInner = viewer->parentWidget() ? viewer->parentWidget()->windowTitle() : QString();
            inner.reject();
        });
        inner.exec();
        visibleBetween = viewer->isVisible();
        // The inner dialog is gone: once the events have run, the viewer follows the outer one.
        QTimer::singleShot(0, &outer, [&] {
            parentBackInOuter = viewer->parentWidget();
            outer.reject();
        });
    });
    outer.exec();
    EXPECT_EQ(parentInOuter, &outer);
    EXPECT_EQ(hostInInner, "Inner");
    EXPECT_TRUE(visibleBetween);
    EXPECT_EQ(parentBackInOuter, &outer);
    EXPECT_EQ(viewer->parentWidget(), &main) << "back with its own window after the dialogs";
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_EQ(viewer->CurrentTopic(), "paragraph");

    // A dialog destroyed while it is still shown does not take the viewer with it.
    {
        auto dialog = std::make_unique<QDialog>(&main);
        dialog->setModal(true);
        dialog->show();
        Help().ShowTopic("body");
        EXPECT_EQ(viewer->parentWidget(), dialog.get());
    }
    ASSERT_TRUE(alive);
    EXPECT_EQ(viewer->parentWidget(), &main);
    EXPECT_EQ(viewer->CurrentTopic(), "body");
}
