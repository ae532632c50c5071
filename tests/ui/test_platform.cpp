// The platform layer: byte/character conversion, filter conversion, the standard error report,
// the dialog and key-state hooks, program starts, the classes-root open command, DDE and help.
#include "core/settings/Profile.h"
#include "platform/Dde.h"
#include "platform/DialogExec.h"
#include "platform/FileNameCase.h"
#include "platform/Help.h"
#include "platform/KeyState.h"
#include "platform/Process.h"
#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "platform/ScreenMetrics.h"
#include "platform/TextCodec.h"
#include "support/RecordingHelp.h"
#include "support/ScriptedPrompt.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

inline void PrintTo(const QString &Text, std::ostream *Out)
{
    *Out << '"' << Text.toStdString() << '"';
}

namespace {

TEST(PlatformTest, BytesAndCharactersRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    const QString shown = BytesToQString(all);
    ASSERT_EQ(shown.size(), 256);
    EXPECT_EQ(shown.at(0x80), QChar(0x20AC)) << "the euro sign of the code page";
    EXPECT_EQ(shown.at(0xE9), QChar(0xE9));
    EXPECT_EQ(shown.at(0x9F), QChar(0x0178));
    EXPECT_EQ(QStringToBytes(shown), all) << "every byte comes back";
    EXPECT_EQ(QStringToBytes(QString::fromUtf8("a\u4e2d\xf0\x9f\x98\x80z")), "a??z") << "outside the code page";
}

TEST(PlatformTest, WindowsFiltersBecomeQtFilters)
{
    // Each pattern shown once; "*.*" takes in names without a dot.
    EXPECT_EQ(ConvertFilter("HTML files (*.htm,*.html)|*.htm;*.html|All files (*.*)|*.*|"),
              "HTML files (*.htm *.html);;All files (*)");
    EXPECT_EQ(ConvertFilter("Text Files (*.txt)|*.txt"), "Text Files (*.txt)");
    EXPECT_EQ(ConvertFilter("Pages|*.htm"), "Pages (*.htm)");
    EXPECT_EQ(ConvertFilter(""), "");
}

TEST(PlatformTest, GuardedShowsTheStandardErrorReport)
{
    TScriptedPrompt prompt;
    prompt.ExpectMessage("Unable to write to /x/PELMAR32.INI", mrOk, TMsgDlgType::mtError, mbOK);
    EXPECT_FALSE(Guarded([] { throw EProfileError("/x/PELMAR32.INI"); }));
    prompt.ExpectMessage("Unknown error", mrOk, TMsgDlgType::mtError, mbOK);
    EXPECT_FALSE(Guarded([] { throw 42; }));
    bool ran = false;
    EXPECT_TRUE(Guarded([&] { ran = true; }));
    EXPECT_TRUE(ran);
    // Engine messages are bytes of the code page.
    prompt.ExpectMessage(QString::fromUtf8("caf\u00e9"), mrOk);
    Guarded([] { throw std::runtime_error("caf\xe9"); });
}

TEST(PlatformTest, DialogAndKeyStateHooks)
{
    QDialog dialog;
    int calls = 0;
    SetDialogExecHook([&](QDialog &d) {
        ++calls;
        EXPECT_EQ(&d, &dialog);
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(ExecDialog(dialog), int(QDialog::Accepted));
    SetDialogExecHook({});
    EXPECT_EQ(calls, 1);

    SetKeyStateQuery([] { return Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier); });
    EXPECT_TRUE(QueryKeyState() & Qt::ShiftModifier);
    SetKeyStateQuery({});

    const TSystemMetrics m = PrimaryScreenMetrics();
    EXPECT_GT(m.CXScreen, 0);
    EXPECT_GT(m.CYScreen, 0);
}

TEST(PlatformTest, FileDialogsShowTitleFilterStartAndAHelpButton)
{
    TRecordingHelp help;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char *name : {"a.htm", "b.txt"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString filter = "HTML files (*.htm,*.html)|*.htm;*.html|Text files (*.txt)|*.txt";
    QString answer;
    QStringList seen;
    SetDialogExecHook([&](QDialog &d) {
        auto *fd = qobject_cast<QFileDialog *>(&d);
        EXPECT_NE(fd, nullptr);
        if (!fd)
            return int(QDialog::Rejected);
        seen << fd->windowTitle() << fd->selectedNameFilter() << QDir(fd->directory()).absolutePath();
        auto *helpButton = fd->findChild<QPushButton *>("HelpButton");
        EXPECT_NE(helpButton, nullptr) << "a Help button";
        if (helpButton)
            helpButton->click();
        if (answer.isEmpty())
            return int(QDialog::Rejected);
        fd->selectFile(answer);
        return int(QDialog::Accepted);
    });

    TFileDialogRequest open;
    open.Title = "Open";
    open.Filter = filter;
    open.FilterIndex = 2;
    open.InitialDir = dir.path();
    open.HelpContext = 6;
    answer = dir.filePath("b.txt");
    ASSERT_TRUE(QtPrompt().OpenFile(open));
    EXPECT_EQ(open.FileName, dir.filePath("b.txt"));
    EXPECT_EQ(open.Files, QStringList{dir.filePath("b.txt")});
    EXPECT_EQ(open.FilterIndex, 2);
    EXPECT_EQ(seen, (QStringList{"Open", "Text files (*.txt)", QDir(dir.path()).absolutePath()}));
    EXPECT_EQ(help.Requests, QStringList{"context:6"});

    // Save: the name offered starts in the directory of the previous one; Cancel gives false.
    TFileDialogRequest save;
    save.Title = "Save As DOS File";
    save.Filter = filter;
    save.FileName = dir.filePath("a.htm");
    save.HelpContext = 7;
    seen.clear();
    answer = dir.filePath("new.htm");
    ASSERT_TRUE(QtPrompt().SaveFile(save));
    EXPECT_EQ(save.FileName, dir.filePath("new.htm"));
    EXPECT_EQ(seen, (QStringList{"Save As DOS File", "HTML files (*.htm *.html)", QDir(dir.path()).absolutePath()}));
    answer.clear();
    EXPECT_FALSE(QtPrompt().SaveFile(save));
    EXPECT_EQ(help.Requests, (QStringList{"context:6", "context:7", "context:7"}));
    SetDialogExecHook({});
}

TEST(PlatformTest, MessageAndInputBoxesShowPlainText)
{
    QStringList seen;
    SetDialogExecHook([&](QDialog &d) {
        if (auto *box = qobject_cast<QMessageBox *>(&d)) {
            seen << box->windowTitle() << box->text();
            EXPECT_EQ(box->textFormat(), Qt::PlainText) << "a quoted tag must not vanish as markup";
            for (QAbstractButton *b : box->buttons())
                if (b->text() == "&No")
                    b->click();
            return box->result();
        }
        auto *input = qobject_cast<QInputDialog *>(&d);
        EXPECT_NE(input, nullptr);
        if (!input)
            return int(QDialog::Rejected);
        seen << input->windowTitle() << input->labelText() << input->textValue();
        const QList<QLabel *> labels = input->findChildren<QLabel *>();
        EXPECT_FALSE(labels.isEmpty());
        for (const QLabel *label : labels)
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
        input->setTextValue("<B>x</B>");
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(QtPrompt().MessageDlg("Incomplete <BODY> element && more", TMsgDlgType::mtConfirmation, mbYes | mbNo),
              mrNo);
    QString value = "<I>";
    EXPECT_TRUE(QtPrompt().InputQuery("Anchor", "Enter <A NAME> value:", value));
    EXPECT_EQ(value, "<B>x</B>");
    SetDialogExecHook({});
    EXPECT_EQ(seen, (QStringList{"Confirm", "Incomplete <BODY> element & more", "Anchor", "Enter <A NAME> value:", "<I>"}));
}

TEST(PlatformTest, FontDialogKeepsWhatIsNotChanged)
{
    std::function<void(QFontDialog &)> act;
    QList<QFontInfo> shown;
    SetDialogExecHook([&](QDialog &d) {
        auto &dialog = dynamic_cast<QFontDialog &>(d);
        shown << QFontInfo(dialog.currentFont());
        for (const QCheckBox *effect : dialog.findChildren<QCheckBox *>())
            EXPECT_FALSE(effect->isVisibleTo(&dialog)) << "no effect that would not be kept";
        if (act)
            act(dialog);
        return int(QDialog::Accepted);
    });
    // A face that is not installed: the dialog starts upright on a face it lists (fixed pitch);
    // OK without a change leaves the request as it was.
    for (const bool bold : {false, true}) {
        TFontRequest font{"No Such Mono Face", -12, bold, false, true};
        ASSERT_TRUE(QtPrompt().ChooseFont(font));
        EXPECT_EQ(QString("%1 %2 %3 %4").arg(font.Name).arg(font.Height).arg(font.Bold).arg(font.Italic),
                  QString("No Such Mono Face -12 %1 0").arg(bold));
        EXPECT_TRUE(QFontDatabase::isFixedPitch(shown.last().family()));
        EXPECT_FALSE(shown.last().italic()) << shown.last().styleName().toStdString();
    }
    // A slanted style chosen: italic follows the style, whatever it is called.
    QString family, slanted;
    for (const QString &f : QFontDatabase::families())
        for (const QString &style : QFontDatabase::styles(f))
            if (const QFontInfo face(QFontDatabase::font(f, style, 12));
                QFontDatabase::isFixedPitch(f) && face.italic() && !face.bold())
                std::tie(family, slanted) = std::pair(f, style);
    if (!slanted.isEmpty()) {
        act = [&](QFontDialog &d) { d.setCurrentFont(QFontDatabase::font(family, slanted, 12)); };
        TFontRequest font{family, -12, false, false, true};
        ASSERT_TRUE(QtPrompt().ChooseFont(font));
        EXPECT_TRUE(font.Italic && !font.Bold && font.Name == family);
        EXPECT_FALSE(shown.last().italic()) << "the upright style asked for was shown first";
    }
    SetDialogExecHook({});
}

TEST(PlatformTest, FileNamesAreLoweredOnlyWhereTheyStillNameTheFile)
{
    QTemporaryDir dir;
    const QString pics = dir.path() + "/Pics/";
    ASSERT_TRUE(QDir().mkpath(pics));
    for (const char *name : {"Logo.GIF", "Twin.gif", "twin.gif"})
        QFile(pics + name).open(QIODevice::WriteOnly);
    EXPECT_EQ(LowerCasedFileName(pics + "Logo.GIF"), pics + "Logo.GIF") << "logo.gif names nothing here";
    EXPECT_EQ(LowerCasedFileName(pics + "Twin.gif"), pics + "Twin.gif") << "twin.gif is another file";
    EXPECT_EQ(LowerCasedFileName(pics + "New.GIF"), pics + "new.gif") << "no file of either name";
    const QString here = QDir::currentPath();
    QDir::setCurrent(pics);
    EXPECT_FALSE(MayLowerFileName("Logo.GIF")) << "a relative name counts from the current directory";
    QDir::setCurrent(here);
}

TEST(PlatformTest, CommandLinesSplitByQuotes)
{
    EXPECT_EQ(SplitCommandLine("browser file:///tmp/a.htm"), (QStringList{"browser", "file:///tmp/a.htm"}));
    EXPECT_EQ(SplitCommandLine("  \"/opt/My Browser/bin/web\"  --new  \"/tmp/a b.htm\" "),
              (QStringList{"/opt/My Browser/bin/web", "--new", "/tmp/a b.htm"}));
    EXPECT_EQ(SplitCommandLine("say \"a \"\"quoted\"\" word\" \"\""), (QStringList{"say", "a \"quoted\" word", ""}));
    EXPECT_EQ(SplitCommandLine("C:\\Progs\\web.exe x;rm -rf"), (QStringList{"C:\\Progs\\web.exe", "x;rm", "-rf"}))
        << "no shell: separators are plain text";
    EXPECT_TRUE(SplitCommandLine("   ").isEmpty());

    QStringList started;
    SetProgramStarter([&](const QString &program, const QStringList &args) {
        started << program << args;
        return program != "missing";
    });
    EXPECT_TRUE(StartProgram("\"/usr/bin/web browser\" \"/tmp/~htm0001.htm\""));
    EXPECT_EQ(started, (QStringList{"/usr/bin/web browser", "/tmp/~htm0001.htm"}));
    EXPECT_FALSE(StartProgram("missing arg"));
    EXPECT_FALSE(StartProgram(""));
    SetProgramStarter({});
    EXPECT_FALSE(StartProgram("/nonexistent/program/pelmar-test"));
}

TEST(PlatformTest, ClassesRootOpenCommandFromDesktopEntries)
{
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QByteArray &text) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return dir.filePath(name);
    };
    EXPECT_EQ(DesktopEntryOpenCommand(write("a.desktop", "[Desktop Action new]\nExec=other\n"
                                                         "[Desktop Entry]\nName=Web\nExec=/usr/bin/web %u\n")),
              "/usr/bin/web \"%1\"");
    EXPECT_EQ(DesktopEntryOpenCommand(write("b.desktop", "[Desktop Entry]\nExec=\"/opt/My Web/web\" --name %c %i %F\n")),
              "\"/opt/My Web/web\" --name \"%1\"");
    EXPECT_EQ(DesktopEntryOpenCommand(write("c.desktop", "[Desktop Entry]\nExec=viewer --100%% \n")), "viewer --100%");
    EXPECT_EQ(DesktopEntryOpenCommand(write("d.desktop", "[Desktop Entry]\nName=No exec\n")), "");
    EXPECT_EQ(DesktopEntryOpenCommand(dir.filePath("missing.desktop")), "");

    EXPECT_EQ(ReadClassesRootDefault("htmlfile"), "") << "only open commands have a value";
    SetClassesRootReader([](const QString &key) { return key == "htmlfile\\shell\\open\\command" ? "web %1" : ""; });
    EXPECT_EQ(ReadClassesRootDefault("htmlfile\\shell\\open\\command"), "web %1");
    SetClassesRootReader({});
}

TEST(PlatformTest, NoDdeServerAndNoHelpByDefault)
{
    std::unique_ptr<TDdeConversation> dde = NewDdeConversation();
    EXPECT_FALSE(dde->OpenLink("IExplore", "WWW_OpenURL"));
    struct TOpen : TDdeConversation {
        bool OpenLink(const QString &, const QString &) override { return true; }
        bool Execute(const QByteArray &) override { return true; }
        bool Request(const QByteArray &) override { return true; }
        void CloseLink() override {}
    };
    SetDdeConversationFactory([] { return std::make_unique<TOpen>(); });
    EXPECT_TRUE(NewDdeConversation()->OpenLink("Netscape", "WWW_Activate"));
    SetDdeConversationFactory({});

    ASSERT_FALSE(HelpServiceInstalled());
    Help().ShowTopic("acknow");  // ignored, no crash
}

} // namespace
