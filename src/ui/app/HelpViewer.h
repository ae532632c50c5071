// The help viewer: a window that shows the HTML topics of the help/ folder, with a contents
// page, a keyword search over the topics' keywords and a topic on how to use help.
#pragma once

#include "platform/Help.h"

#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

// One topic of the help folder: "<name>.html" with its title, keywords and help contexts
// (<meta name="keywords" content="a; b"> and <meta name="context" content="50 51">).
struct THelpTopic {
    QString Name;
    QString Title;
    QStringList Keywords;
    QList<int> Contexts;
};

// The folder of the help topics: help/ beside the program or one level above it, the installed
// <prefix>/share/pelmar32/help beside bin/, the source tree's, else one in the XDG data directories.
QString HelpDirectory();
// Reads every topic of a folder, sorted by name.
QList<THelpTopic> ReadHelpTopics(const QString &Directory);

class THelpViewer : public QWidget, public THelpService {
    Q_OBJECT
public:
    explicit THelpViewer(const QString &Directory = HelpDirectory(), QWidget *Parent = nullptr);

    void ShowContents() override;
    void SearchKeyword(const QString &Keyword) override;
    void ShowHelpOnHelp() override;
    void ShowTopic(const QString &Topic) override;
    void ShowContext(int Context) override;
    void Quit() override;

    // The topic shown now ("" when a generated page shows).
    QString CurrentTopic() const { return FCurrentTopic; }
    const QList<THelpTopic> &Topics() const { return FTopics; }
    // The topics listed for the keyword selected in the search tab.
    QStringList FoundTopics() const;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void FollowModalDialog();
    void LeaveDialog();
    void BuildKeywordList();
    void KeywordTextChanged(const QString &Text);
    void KeywordSelected();
    void DisplayFound();
    void Present();

    QString FDirectory;
    QList<THelpTopic> FTopics;
    QMap<QString, QStringList> FKeywordTopics;  // keyword in lower case -> topic names
    QMap<QString, QString> FKeywordCaption;     // keyword in lower case -> keyword as written
    QString FCurrentTopic;
    QPointer<QWidget> FHost;  // the parent the viewer returns to when a modal dialog closes

    QTabWidget *Tabs = nullptr;
    QListWidget *ContentsList = nullptr;
    QLineEdit *KeywordEdit = nullptr;
    QListWidget *KeywordList = nullptr;
    QListWidget *FoundList = nullptr;
    QTextBrowser *Browser = nullptr;
};
