// Browser preview on real document windows: preview files and their names, a fake browser that
// records its arguments, the DDE conversations through a recording double, the class-key
// fall-back, launch failures, Update Viewer and the clean-up at shut-down.
#include "core/markup/PreviewFile.h"
#include "platform/Dde.h"
#include "platform/Launch.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "support/DocumentFixture.h"
#include "ui/app/Preview.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <unistd.h>

namespace {

// One step of a DDE conversation as the double saw it.
struct TDdeStep {
    QString Kind; // "open", "execute", "request", "close"
    QString Service, Topic;
    QByteArray Data;
    bool operator==(const TDdeStep &) const = default;
};

void PrintTo(const TDdeStep &S, std::ostream *Out)
{
    *Out << S.Kind.toStdString() << " " << S.Service.toStdString() << " " << S.Topic.toStdString() << " ["
         << S.Data.toStdString() << "]";
}

// A conversation whose links open for the topics listed; every step goes into the shared log.
class TRecordingDde final : public TDdeConversation {
public:
    TRecordingDde(std::vector<TDdeStep> &Log, QStringList OpenTopics) : Log(Log), OpenTopics(std::move(OpenTopics)) {}
    bool OpenLink(const QString &S, const QString &T) override
    {
        Service = S;
        Topic = T;
        Log.push_back({"open", S, T, {}});
        return OpenTopics.contains(T);
    }
    bool Execute(const QByteArray &Command) override
    {
        Log.push_back({"execute", Service, Topic, Command});
        return true;
    }
    bool Request(const QByteArray &Item) override
    {
        Log.push_back({"request", Service, Topic, Item});
        return true;
    }
    void CloseLink() override { Log.push_back({"close", Service, Topic, {}}); }

private:
    std::vector<TDdeStep> &Log;
    QStringList OpenTopics;
    QString Service, Topic;
};

class PreviewTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        // A fake browser in a directory whose name needs quoting: it records every argument,
        // each ended by a NUL, and each run ended by "<end>" and a NUL.
        QDir(tmp.path()).mkpath("fake bin");
        browser = tmp.path() + "/fake bin/web browser.sh";
        log = tmp.path() + "/browser.log";
        Put(browser, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done >> '" + log.toUtf8() +
                         "'\nprintf '<end>\\0' >> '" + log.toUtf8() + "'\n");
        QFile::setPermissions(browser, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // Every program start is recorded, then made as usual.
        SetProgramStarter([this](const QString &Program, const QStringList &Arguments) {
            started.push_back(QStringList{Program} + Arguments);
            return QProcess::startDetached(Program, Arguments);
        });
    }
    void TearDown() override
    {
        SetProgramStarter({});
        SetDdeConversationFactory({});
        SetClassesRootReader({});
        DocumentTest::TearDown();
    }

    // The argument lists of the browser's runs so far, waiting until Runs of them have arrived.
    std::vector<QStringList> BrowserRuns(std::size_t Runs)
    {
        std::vector<QStringList> runs;
        auto read = [&] {
            runs.clear();
            QStringList current;
            for (const QByteArray &arg : Bytes(log).split('\0')) {
                if (arg == "<end>") {
                    runs.push_back(current);
                    current.clear();
                } else if (!arg.isEmpty() || !current.isEmpty()) {
                    current << QString::fromUtf8(arg);
                }
            }
            return runs.size() >= Runs;
        };
        if (!QTest::qWaitFor(read, 10000))
            read();
        return runs;
    }
    // No program was started at all (the starter saw none), so no browser can show up later.
    bool BrowserNeverRan() const { return started.empty() && !QFile::exists(log); }

    void Test() { form->TestHTMLDocument1->trigger(); }
    // The command line of the fake browser for a settings value.
    QString BrowserCommand(const QString &Arguments = {}) const
    {
        return "\"" + browser + "\"" + (Arguments.isEmpty() ? "" : " " + Arguments);
    }
    QStringList PreviewFilesIn(const QString &Dir) const
    {
        return QDir(Dir).entryList({"~htm*"}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    void InstallDde(QStringList OpenTopics)
    {
        SetDdeConversationFactory([this, OpenTopics] { return std::make_unique<TRecordingDde>(dde, OpenTopics); });
    }

    QString browser, log;
    std::vector<TDdeStep> dde;
    std::vector<QStringList> started;
};

TEST(PreviewLaunchTest, TemplatesBecomeArgumentsWithTheFileInOne)
{
    const QString file = "/tmp/a \"b\"; $(x) %1.htm";
    EXPECT_EQ(LaunchArguments("\"/opt/My Web/web\" -url \"%1\"", file), (QStringList{"/opt/My Web/web", "-url", file}));
    EXPECT_EQ(LaunchArguments("web \"say \"\"hi\"\"\" --x=%1", file), (QStringList{"web", "say \"hi\"", "--x=" + file}));
    EXPECT_EQ(LaunchArguments("web", "-rf"), (QStringList{"web", "-rf"}));
    // Nothing to run: no program, or the file itself in the program's place.
    EXPECT_FALSE(LaunchWithFile("", "/tmp/x.htm"));
    EXPECT_FALSE(LaunchWithFile("  ", "/tmp/x.htm"));
    EXPECT_FALSE(LaunchWithFile("\"%1\" -x", "/bin/true"));
    EXPECT_FALSE(LaunchAppending("", "/tmp/x.htm"));
    EXPECT_FALSE(LaunchDetached({}));
    EXPECT_FALSE(LaunchDetached({"/nonexistent/pelmar-browser", "x"}));
    EXPECT_TRUE(LaunchDetached({"/bin/true", "x"}));
}

TEST_F(PreviewTest, NotConfiguredWritesNothing)
{
    TMDIChild *doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    Type(doc, "<P>x");
    TScriptedPrompt prompt;
    prompt.ExpectMessage("Test program not configured.  Choose Options|Preferences...", mrOk, TMsgDlgType::mtError,
                         mbOK);
    Test();
    EXPECT_TRUE(prompt.AllUsed());
    EXPECT_TRUE(PreviewFilesIn(Path("")).isEmpty());
    EXPECT_TRUE(form->PreviewFiles.isEmpty());
    EXPECT_EQ(BrowserPreview(*form)->PreviewCounter, 0);
}

TEST_F(PreviewTest, UntitledDocumentsPreviewInTheWorkingDirectoryAndAllGoAtShutDown)
{
    Setting("Setup", "ProgPath", BrowserCommand("--new-window").toStdString());
    TMDIChild *doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    Type(doc, "<HTML>\r\n<P>caf\xe9</P>\r\n</HTML>");
    ASSERT_TRUE(doc->Editor->Modified());
    Test();
    ASSERT_EQ(BrowserRuns(1).size(), 1u); // the browsers run detached: one at a time keeps the order
    Type(doc, "\r\nmore");
    Test();

    const QString cwd = QDir::currentPath();
    EXPECT_EQ(PreviewFilesIn(cwd), (QStringList{"~htm0001.htm", "~htm0002.htm"}));
    EXPECT_EQ(Bytes(cwd + "/~htm0001.htm"), QByteArray("<HTML>\r\n<P>caf\xe9</P>\r\n</HTML>\r\n"));
    EXPECT_EQ(Bytes(cwd + "/~htm0002.htm"), QByteArray("<HTML>\r\n<P>caf\xe9</P>\r\n</HTML>\r\nmore\r\n"));
    const std::vector<QStringList> runs = BrowserRuns(2);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (QStringList{"--new-window", "file://" + cwd + "/~htm0001.htm"}));
    EXPECT_EQ(runs[1], (QStringList{"--new-window", "file://" + cwd + "/~htm0002.htm"}));
    ASSERT_EQ(started.size(), 2u) << "the starter sees every browser start";
    EXPECT_EQ(started[0], (QStringList{browser, "--new-window", "file://" + cwd + "/~htm0001.htm"}));
    EXPECT_EQ(form->PreviewFiles, (QStringList{cwd + "/~htm0001.htm", cwd + "/~htm0002.htm"}));
    EXPECT_TRUE(doc->Editor->Modified()) << "the document stays modified";
    EXPECT_EQ(doc->DocumentCaption(), "Untitled");

    form.reset();
    EXPECT_TRUE(PreviewFilesIn(cwd).isEmpty()) << "all preview files are deleted at shut-down";
}

TEST_F(PreviewTest, SavedDocumentPreviewsBesideItselfKeepingItsState)
{
    Setting("Setup", "ProgPath", BrowserCommand().toStdString());
    // A Unix text in a directory whose name holds blanks, quotes, ";" and "$(...)".
    const QString dir = tmp.path() + "/my web \"site\";$(touch pwned)";
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString name = dir + "/A.HTM";
    Put(name, "<HTML>\n<BODY>\n</BODY>\n</HTML>\n");
    TMDIChild *doc = OpenFile(name);
    ASSERT_NE(doc, nullptr);
    ASSERT_FALSE(doc->Editor->Modified());
    Test();
    EXPECT_FALSE(doc->Editor->Modified()) << "an unmodified document stays unmodified";
    ASSERT_EQ(BrowserRuns(1).size(), 1u);
    doc->Editor->SetCaretPosition(2, 7);
    Type(doc, "hello");
    Test();
    EXPECT_TRUE(doc->Editor->Modified());
    EXPECT_EQ(doc->DocumentCaption(), name);
    EXPECT_EQ(doc->Editor->FileName(), name);
    EXPECT_EQ(doc->Editor->FileFormat(), ffUnix) << "the document keeps its own line ends";
    EXPECT_EQ(Bytes(name), QByteArray("<HTML>\n<BODY>\n</BODY>\n</HTML>\n")) << "the document itself is not saved";

    EXPECT_EQ(PreviewFilesIn(dir), (QStringList{"~htm0001.htm", "~htm0002.htm"}));
    EXPECT_EQ(Bytes(dir + "/~htm0001.htm"), QByteArray("<HTML>\r\n<BODY>\r\n</BODY>\r\n</HTML>\r\n"));
    EXPECT_EQ(Bytes(dir + "/~htm0002.htm"), QByteArray("<HTML>\r\n<BODY>hello\r\n</BODY>\r\n</HTML>\r\n"));
    EXPECT_TRUE(PreviewFilesIn(QDir::currentPath()).isEmpty());
    const std::vector<QStringList> runs = BrowserRuns(2);
    ASSERT_EQ(runs.size(), 2u);
    const QString url = QString::fromStdString(FileUrlForm(QFile::encodeName(dir).toStdString()));
    EXPECT_EQ(runs[0], (QStringList{url + "/~htm0001.htm"})) << "one argument";
    EXPECT_EQ(runs[1], (QStringList{url + "/~htm0002.htm"}));
    EXPECT_FALSE(QFile::exists(tmp.path() + "/pwned"));
    EXPECT_FALSE(QFile::exists(QDir::currentPath() + "/pwned"));

    form.reset();
    EXPECT_TRUE(PreviewFilesIn(dir).isEmpty());
    EXPECT_TRUE(QFile::exists(name));
}

TEST_F(PreviewTest, ProgramsThatCannotStartAreReported)
{
    // The lower-case name is a program like any other, not the DDE browser.
    Setting("Setup", "ProgPath", "iexplore");
    InstallDde({"WWW_OpenURL", "WWW_Activate"});
    TMDIChild *doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    {
        TScriptedPrompt prompt;
        prompt.ExpectMessage("Error running iexplore", mrOk, TMsgDlgType::mtError, mbOK);
        Test();
    }
    EXPECT_TRUE(dde.empty()) << "no conversation for a program";
    EXPECT_EQ(form->PreviewFiles, (QStringList{QDir::currentPath() + "/~htm0001.htm"}))
        << "the preview file stays listed";

    form->SetupManager->SetProgPath("\"/nonexistent dir/web\" --x");
    {
        TScriptedPrompt prompt;
        prompt.ExpectMessage("Error running \"/nonexistent dir/web\" --x", mrOk, TMsgDlgType::mtError, mbOK);
        Test();
    }
    // A file that is no program (not executable) does not start either.
    form->SetupManager->SetProgPath(QFile::encodeName(Path("~htm0001.htm")).toStdString());
    {
        TScriptedPrompt prompt;
        prompt.ExpectMessagePrefix("Error running ", mrOk);
        Test();
    }
    EXPECT_EQ(PreviewFilesIn(Path("")), (QStringList{"~htm0001.htm", "~htm0002.htm", "~htm0003.htm"}));
}

TEST_F(PreviewTest, DdeConversationsOfBothBrowsers)
{
    Setting("Setup", "ProgPath", "IExplore");
    InstallDde({"WWW_OpenURL", "WWW_Activate"});
    SetClassesRootReader([](const QString &) -> QString {
        ADD_FAILURE() << "no fall-back while a server answers";
        return {};
    });
    TMDIChild *doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    Test();
    const QString first = QDir::currentPath() + "/~htm0001.htm";
    const QByteArray plain = QFile::encodeName(first);
    EXPECT_EQ(dde, (std::vector<TDdeStep>{{"open", "IExplore", "WWW_OpenURL", {}},
                                          {"execute", "IExplore", "WWW_OpenURL", "\"" + plain + "\",,0xFFFFFFFF,0x3"},
                                          {"close", "IExplore", "WWW_OpenURL", {}},
                                          {"open", "IExplore", "WWW_Activate", {}},
                                          {"execute", "IExplore", "WWW_Activate", "0xFFFFFFFF,0x0"},
                                          {"close", "IExplore", "WWW_Activate", {}}}));

    dde.clear();
    form->SetupManager->SetProgPath("Netscape");
    InstallDde({"WWW_OpenURL"}); // the activation finds no server
    Test();
    const QByteArray url = "file://" + QFile::encodeName(QDir::currentPath()) + "/~htm0002.htm";
    EXPECT_EQ(dde, (std::vector<TDdeStep>{{"open", "Netscape", "WWW_OpenURL", {}},
                                          {"request", "Netscape", "WWW_OpenURL", url + ",,0xFFFFFFFF,0x3"},
                                          {"close", "Netscape", "WWW_OpenURL", {}},
                                          {"open", "Netscape", "WWW_Activate", {}}}));
    EXPECT_TRUE(BrowserNeverRan());
}

TEST_F(PreviewTest, WithoutAServerTheClassKeyCommandRuns)
{
    // The platform's own conversation: no server answers.
    Setting("Setup", "ProgPath", "IExplore");
    Setting("Setup", "IExploreRegistryKey", "PelmarTestHtml");
    QStringList keys;
    QString iexploreTemplate = BrowserCommand("-nohome \"%1\" --then %1");
    const QString netscapeTemplate = BrowserCommand("-remote");
    SetClassesRootReader([&](const QString &Key) {
        keys << Key;
        return Key.startsWith("PelmarTestHtml") ? iexploreTemplate : netscapeTemplate;
    });
    // A document whose directory needs every kind of quoting.
    const QString dir = tmp.path() + "/a \"b\"; c";
    ASSERT_TRUE(QDir().mkpath(dir));
    Put(dir + "/page.htm", "<P>\r\n");
    TMDIChild *doc = OpenFile(dir + "/page.htm");
    ASSERT_NE(doc, nullptr);
    Test();
    ASSERT_EQ(BrowserRuns(1).size(), 1u);
    form->SetupManager->SetProgPath("Netscape");
    Test();
    EXPECT_EQ(keys, (QStringList{"PelmarTestHtml\\shell\\open\\command", "NetscapeMarkup\\shell\\open\\command"}));
    const std::vector<QStringList> runs = BrowserRuns(2);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (QStringList{"-nohome", dir + "/~htm0001.htm", "--then", "%1"}))
        << "the plain name in place of the first %1 only";
    EXPECT_EQ(runs[1], (QStringList{"-remote", dir + "/~htm0002.htm"})) << "no %1: the name is appended";

    // No open command for the class: nothing runs, the empty template is reported.
    iexploreTemplate.clear();
    form->SetupManager->SetProgPath("IExplore");
    TScriptedPrompt prompt;
    prompt.ExpectMessage("Error running ", mrOk, TMsgDlgType::mtError, mbOK);
    Test();
    EXPECT_TRUE(prompt.AllUsed());
    EXPECT_EQ(PreviewFilesIn(dir), (QStringList{"~htm0001.htm", "~htm0002.htm", "~htm0003.htm"}));
}

TEST_F(PreviewTest, UnwritablePreviewStopsBeforeTheBrowser)
{
    Setting("Setup", "ProgPath", BrowserCommand().toStdString());
    TMDIChild *doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    Type(doc, "<P>new");
    // Something that cannot be replaced holds the first name.
    ASSERT_TRUE(QDir().mkpath(Path("~htm0001.htm")));
    {
        TScriptedPrompt prompt;
        prompt.ExpectMessagePrefix("Cannot save file \"" + Path("~htm0001.htm") + "\"", mrOk);
        Test();
    }
    EXPECT_TRUE(BrowserNeverRan());
    EXPECT_TRUE(form->PreviewFiles.isEmpty());
    EXPECT_TRUE(doc->Editor->Modified());

    // A link planted at the next name is replaced, and what it points at keeps its content.
    Put(Path("victim.txt"), "precious");
    ASSERT_EQ(::symlink(QFile::encodeName(Path("victim.txt")).constData(),
                        QFile::encodeName(Path("~htm0002.htm")).constData()),
              0);
    Test();
    EXPECT_EQ(Bytes(Path("victim.txt")), QByteArray("precious"));
    EXPECT_FALSE(QFileInfo(Path("~htm0002.htm")).isSymLink());
    EXPECT_EQ(Bytes(Path("~htm0002.htm")), QByteArray("<P>new\r\n"));
    EXPECT_EQ(BrowserRuns(1).size(), 1u);
}

TEST_F(PreviewTest, UpdateViewerSavesOnlyAModifiedDocument)
{
    const QString name = Path("page.htm");
    Put(name, "<P>old\r\n");
    TMDIChild *doc = OpenFile(name);
    ASSERT_NE(doc, nullptr);
    const QDateTime before = QFileInfo(name).lastModified();
    {
        TScriptedPrompt prompt; // nothing may be asked
        form->UpdateViewer1->trigger();
    }
    EXPECT_EQ(Bytes(name), QByteArray("<P>old\r\n"));
    EXPECT_EQ(QFileInfo(name).lastModified(), before);

    Type(doc, "new");
    form->UpdateViewer1->trigger();
    EXPECT_EQ(Bytes(name), QByteArray("new<P>old\r\n"));
    EXPECT_FALSE(doc->Editor->Modified());
    EXPECT_EQ(form->UpdateViewer1->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(form->TestHTMLDocument1->shortcut(), QKeySequence(Qt::Key_F9));
}

} // namespace
