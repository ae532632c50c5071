// The help viewer window and the reading of the help folder.
#include "ui/app/HelpViewer.h"

#include <algorithm>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#ifndef PELMAR_HELP_DIR
#define PELMAR_HELP_DIR ""
#endif

namespace {

QString MetaContent(const QString &html, const QString &name)
{
    const QRegularExpression re("<meta\\s+name\\s*=\\s*\"" + QRegularExpression::escape(name) +
                                    "\"\\s+content\\s*=\\s*\"([^\"]*)\"",
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(html);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString PlainText(QString html)
{
    html.remove(QRegularExpression("<[^>]*>"));
    html.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
    return html.simplified();
}

} // namespace

QString HelpDirectory()
{
    const QString app = QCoreApplication::applicationDirPath();
    // A build tree prefers its own sources to whatever version is installed on the machine.
    QStringList candidates{app + "/help", app + "/../help", app + "/../share/pelmar32/help",
                           QString::fromUtf8(PELMAR_HELP_DIR)};
    candidates += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, "pelmar32/help",
                                            QStandardPaths::LocateDirectory);
    for (const QString &candidate : candidates)
        if (QFileInfo(candidate + "/contents.html").isFile())
            return QDir(candidate).canonicalPath();
    return QString::fromUtf8(PELMAR_HELP_DIR);
}

QList<THelpTopic> ReadHelpTopics(const QString &Directory)
{
    QList<THelpTopic> topics;
    const QFileInfoList files = QDir(Directory).entryInfoList({"*.html"}, QDir::Files, QDir::Name);
    for (const QFileInfo &fi : files) {
        QFile f(fi.filePath());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString html = QString::fromUtf8(f.read(256 * 1024));
        THelpTopic t;
        t.Name = fi.completeBaseName();
        const QRegularExpressionMatch title =
            QRegularExpression("<title>(.*?)</title>", QRegularExpression::CaseInsensitiveOption |
                                                           QRegularExpression::DotMatchesEverythingOption)
                .match(html);
        t.Title = title.hasMatch() ? PlainText(title.captured(1)) : t.Name;
        for (const QString &k : MetaContent(html, "keywords").split(QRegularExpression("[;,]"), Qt::SkipEmptyParts))
            if (!k.trimmed().isEmpty())
                t.Keywords << k.trimmed();
        for (const QString &c : MetaContent(html, "context").split(QRegularExpression("[\\s,;]+"), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int n = c.toInt(&ok);
            if (ok)
                t.Contexts << n;
        }
        topics << t;
    }
    return topics;
}

THelpViewer::THelpViewer(const QString &Directory, QWidget *Parent)
    : QWidget(Parent, Qt::Window), FDirectory(Directory), FTopics(ReadHelpTopics(Directory)), FHost(Parent)
{
    setObjectName("HelpViewer");
    setWindowTitle("Pelmar32 Help");
    resize(760, 560);

    auto *contentsBtn = new QPushButton("&Contents", this);
    contentsBtn->setObjectName("ContentsButton");
    auto *searchBtn = new QPushButton("&Search", this);
    searchBtn->setObjectName("SearchButton");
    auto *backBtn = new QPushButton("&Back", this);
    backBtn->setObjectName("BackButton");
    auto *forwardBtn = new QPushButton("&Forward", this);
    forwardBtn->setObjectName("ForwardButton");
    auto *howBtn = new QPushButton("&How to Use Help", this);
    howBtn->setObjectName("HowToUseButton");
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {contentsBtn, searchBtn, backBtn, forwardBtn, howBtn})
        buttons->addWidget(b);
    buttons->addStretch(1);

    Tabs = new QTabWidget(this);
    ContentsList = new QListWidget(Tabs);
    ContentsList->setObjectName("ContentsList");
    QList<THelpTopic> byTitle = FTopics;
    std::sort(byTitle.begin(), byTitle.end(),
              [](const THelpTopic &a, const THelpTopic &b) { return a.Title.localeAwareCompare(b.Title) < 0; });
    for (const THelpTopic &t : byTitle) {
        auto *item = new QListWidgetItem(t.Title, ContentsList);
        item->setData(Qt::UserRole, t.Name);
    }
    Tabs->addTab(ContentsList, "Contents");

    auto *searchPage = new QWidget(Tabs);
    auto *searchLayout = new QVBoxLayout(searchPage);
    auto *keywordLabel = new QLabel("&Type the first few letters of the word you are looking for:", searchPage);
    keywordLabel->setWordWrap(true);
    searchLayout->addWidget(keywordLabel);
    KeywordEdit = new QLineEdit(searchPage);
    KeywordEdit->setObjectName("KeywordEdit");
    keywordLabel->setBuddy(KeywordEdit);
    searchLayout->addWidget(KeywordEdit);
    KeywordList = new QListWidget(searchPage);
    KeywordList->setObjectName("KeywordList");
    searchLayout->addWidget(KeywordList, 2);
    searchLayout->addWidget(new QLabel("Topics found:", searchPage));
    FoundList = new QListWidget(searchPage);
    FoundList->setObjectName("FoundList");
    searchLayout->addWidget(FoundList, 1);
    auto *displayBtn = new QPushButton("&Display", searchPage);
    displayBtn->setObjectName("DisplayButton");
    searchLayout->addWidget(displayBtn);
    Tabs->addTab(searchPage, "Search");

    Browser = new QTextBrowser(this);
    Browser->setObjectName("HelpBrowser");
    Browser->setSearchPaths({FDirectory});
    Browser->setOpenExternalLinks(true);

    auto *split = new QSplitter(this);
    split->addWidget(Tabs);
    split->addWidget(Browser);
    split->setStretchFactor(1, 1);
    split->setSizes({280, 480});  // room for the longer topic titles

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(split, 1);

    BuildKeywordList();

    connect(contentsBtn, &QPushButton::clicked, this, &THelpViewer::ShowContents);
    connect(searchBtn, &QPushButton::clicked, this, [this] { SearchKeyword(KeywordEdit->text()); });
    connect(backBtn, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(forwardBtn, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(howBtn, &QPushButton::clicked, this, &THelpViewer::ShowHelpOnHelp);
    connect(Browser, &QTextBrowser::backwardAvailable, backBtn, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, forwardBtn, &QPushButton::setEnabled);
    backBtn->setEnabled(false);
    forwardBtn->setEnabled(false);
    connect(Browser, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
        const QFileInfo fi(url.toLocalFile().isEmpty() ? url.path() : url.toLocalFile());
        FCurrentTopic = fi.suffix() == "html" ? fi.completeBaseName() : QString();
    });
    connect(ContentsList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { ShowTopic(item->data(Qt::UserRole).toString()); });
    connect(ContentsList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { ShowTopic(item->data(Qt::UserRole).toString()); });
    connect(KeywordEdit, &QLineEdit::textEdited, this, &THelpViewer::KeywordTextChanged);
    connect(KeywordList, &QListWidget::currentRowChanged, this, &THelpViewer::KeywordSelected);
    connect(KeywordList, &QListWidget::itemActivated, this, &THelpViewer::DisplayFound);
    connect(FoundList, &QListWidget::itemActivated, this, &THelpViewer::DisplayFound);
    connect(displayBtn, &QPushButton::clicked, this, &THelpViewer::DisplayFound);
}

void THelpViewer::BuildKeywordList()
{
    for (const THelpTopic &t : FTopics)
        for (const QString &k : t.Keywords) {
            const QString key = k.toLower();
            if (!FKeywordTopics[key].contains(t.Name))
                FKeywordTopics[key] << t.Name;
            if (!FKeywordCaption.contains(key))
                FKeywordCaption[key] = k;
        }
    for (auto it = FKeywordCaption.cbegin(); it != FKeywordCaption.cend(); ++it) {
        auto *item = new QListWidgetItem(it.value(), KeywordList);
        item->setData(Qt::UserRole, it.key());
    }
}

void THelpViewer::KeywordTextChanged(const QString &Text)
{
    const QString prefix = Text.trimmed().toLower();
    for (int i = 0; i < KeywordList->count(); ++i)
        if (KeywordList->item(i)->data(Qt::UserRole).toString().startsWith(prefix)) {
            KeywordList->setCurrentRow(i);
            KeywordList->scrollToItem(KeywordList->item(i), QAbstractItemView::PositionAtTop);
            return;
        }
}

void THelpViewer::KeywordSelected()
{
    FoundList->clear();
    const QListWidgetItem *item = KeywordList->currentItem();
    if (!item)
        return;
    for (const QString &name : FKeywordTopics.value(item->data(Qt::UserRole).toString())) {
        QString title = name;
        for (const THelpTopic &t : FTopics)
            if (t.Name == name)
                title = t.Title;
        auto *found = new QListWidgetItem(title, FoundList);
        found->setData(Qt::UserRole, name);
    }
    if (FoundList->count() > 0)
        FoundList->setCurrentRow(0);
}

QStringList THelpViewer::FoundTopics() const
{
    QStringList names;
    for (int i = 0; i < FoundList->count(); ++i)
        names << FoundList->item(i)->data(Qt::UserRole).toString();
    return names;
}

void THelpViewer::DisplayFound()
{
    if (const QListWidgetItem *item = FoundList->currentItem())
        ShowTopic(item->data(Qt::UserRole).toString());
}

void THelpViewer::Present()
{
    FollowModalDialog();
    show();
    raise();
    activateWindow();
}

// A modal dialog blocks every window but its own: while one is open, the viewer becomes a window
// of that dialog so that the topic its Help button opened can be read, scrolled and followed.
void THelpViewer::FollowModalDialog()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == this || modal == parentWidget() || isAncestorOf(modal))
        return;
    const QRect placed = geometry();
    const bool wasShown = isVisible();
    if (auto *oldDialog = parentWidget(); oldDialog && oldDialog != FHost)
        oldDialog->removeEventFilter(this);
    setParent(modal, windowFlags());
    modal->installEventFilter(this);
    if (wasShown) {
        setGeometry(placed);
        show();
    }
}

// The dialog closes: the viewer goes back to its own parent and stays open, or follows the modal
// dialog that is still open below the closed one.
void THelpViewer::LeaveDialog()
{
    QWidget *dialog = parentWidget();
    if (!dialog || dialog == FHost)
        return;
    dialog->removeEventFilter(this);
    const QRect placed = geometry();
    const bool wasShown = isVisible();
    setParent(FHost, windowFlags());
    setGeometry(placed);
    if (wasShown) {
        show();
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                FollowModalDialog();
        });
    }
}

void THelpViewer::keyPressEvent(QKeyEvent *Event)
{
    // Esc closes the viewer, as it closes the dialogs the help is read beside; the lists and
    // fields pass it on to here.
    if (Event->key() == Qt::Key_Escape && Event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(Event);
}

bool THelpViewer::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == parentWidget() && parentWidget() != FHost && Event->type() == QEvent::Hide)
        LeaveDialog();
    return QWidget::eventFilter(Watched, Event);
}

void THelpViewer::ShowContents()
{
    Tabs->setCurrentIndex(0);
    ShowTopic("contents");
}

void THelpViewer::SearchKeyword(const QString &Keyword)
{
    Tabs->setCurrentIndex(1);
    KeywordEdit->setText(Keyword);
    KeywordTextChanged(Keyword);
    if (Browser->source().isEmpty())
        ShowTopic("contents");
    Present();
    KeywordEdit->setFocus();
}

void THelpViewer::ShowHelpOnHelp()
{
    ShowTopic("howtouse");
}

void THelpViewer::ShowTopic(const QString &Topic)
{
    const QString file = QDir(FDirectory).filePath(Topic + ".html");
    if (QFileInfo(file).isFile()) {
        Browser->setSource(QUrl::fromLocalFile(file));
    } else {
        Browser->setHtml("<h2>Help topic not found</h2><p>There is no help on \"" + Topic.toHtmlEscaped() +
                         "\". Choose <b>Contents</b> for the list of topics.</p>");
        FCurrentTopic.clear();
    }
    Present();
}

void THelpViewer::ShowContext(int Context)
{
    for (const THelpTopic &t : FTopics)
        if (t.Contexts.contains(Context)) {
            ShowTopic(t.Name);
            return;
        }
    ShowContents();
}

void THelpViewer::Quit()
{
    close();
}
