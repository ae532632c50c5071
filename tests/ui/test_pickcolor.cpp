// PickColor: the colour dialog starting at black, its custom colours carried through section
// CustomColors, the text of the choice, Cancel, and the document windows' colour chooser.
#include "support/Sandbox.h"
#include "core/settings/Profile.h"
#include "core/settings/SetupManager.h"
#include "support/RecordingHelp.h"
#include "support/ScriptedPrompt.h"
#include "ui/app/MainWindow.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"
#include "ui/settings/PreferencesDialog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

inline void PrintTo(const QString &S, std::ostream *Out)
{
    *Out << '"' << S.toStdString() << '"';
}

namespace {

class PickColorTest : public SandboxTest {
protected:
    PickColorTest() : SandboxTest(false) {}
    void SetUp() override
    {
        SandboxTest::SetUp();
    }
    void TearDown() override
    {
        SandboxTest::TearDown();
    }
    QString Ini() const { return tmp.path() + "/config/PELMAR32.INI"; }
    QByteArray IniBytes() const
    {
        QFile f(Ini());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

};

TEST_F(PickColorTest, CustomColoursRoundTripThroughTheSettingsFile)
{
    {
        TProfile settings(Ini().toStdString());
        settings.WriteString("CustomColors", "ColorA", "0000FF"); // red, blue first
        settings.WriteString("CustomColors", "ColorC", "abcdef");
        settings.WriteString("CustomColors", "ColorD", "not a colour");
    }
    TScriptedPrompt prompt;
    prompt.ExpectColor([](QColor &c, std::vector<QColor> &custom) {
        EXPECT_EQ(c, QColor(Qt::black)) << "the dialog starts at black";
        EXPECT_EQ(custom.size(), 16u);
        if (custom.size() != 16)
            return false;
        EXPECT_EQ(custom[0], QColor(255, 0, 0));
        EXPECT_EQ(custom[1], QColor(Qt::white)) << "missing: the dialog's default";
        EXPECT_EQ(custom[2], QColor(0xEF, 0xCD, 0xAB));
        EXPECT_EQ(custom[3], QColor(Qt::white)) << "unreadable: the dialog's default";
        custom[1] = QColor(0x12, 0x34, 0x56);
        custom[15] = QColor(0, 0, 0);
        c = QColor(0x0A, 0xBC, 0xEF);
        return true;
    });
    QColor color(Qt::green);
    QString text = "old";
    EXPECT_TRUE(PickColor(color, text));
    EXPECT_EQ(color, QColor(0x0A, 0xBC, 0xEF));
    EXPECT_EQ(text, "0ABCEF");
    // Every custom colour written back, blue first, upper-case.
    const TProfile settings(Ini().toStdString());
    std::vector<std::string> keys = settings.ReadSection("CustomColors");
    std::sort(keys.begin(), keys.end());
    ASSERT_EQ(keys.size(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(keys[std::size_t(i)], "Color" + std::string(1, char('A' + i)));
    EXPECT_EQ(settings.ReadString("CustomColors", "ColorA", ""), "0000FF");
    EXPECT_EQ(settings.ReadString("CustomColors", "ColorB", ""), "563412");
    EXPECT_EQ(settings.ReadString("CustomColors", "ColorC", ""), "ABCDEF");
    EXPECT_EQ(settings.ReadString("CustomColors", "ColorD", ""), "FFFFFF");
    EXPECT_EQ(settings.ReadString("CustomColors", "ColorP", ""), "000000");

    // The next choice starts from what was kept; Cancel leaves the colour and the file alone.
    const QByteArray kept = IniBytes();
    prompt.ExpectColor([](QColor &c, std::vector<QColor> &custom) {
        EXPECT_EQ(c, QColor(Qt::black));
        EXPECT_EQ(custom.at(1), QColor(0x12, 0x34, 0x56));
        EXPECT_EQ(custom.at(15), QColor(0, 0, 0));
        custom[0] = QColor(1, 2, 3);
        return false;
    });
    EXPECT_FALSE(PickColor(color, text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(color, QColor(0x0A, 0xBC, 0xEF));
    EXPECT_EQ(IniBytes(), kept);

    // Pure red gives FF0000.
    prompt.ExpectColor([](QColor &c, std::vector<QColor> &) {
        c = QColor(255, 0, 0);
        return true;
    });
    EXPECT_TRUE(PickColor(color, text));
    EXPECT_EQ(text, "FF0000");
}

TEST_F(PickColorTest, ChoiceStandsWhenTheCustomColoursCannotBeKept)
{
    QFile::remove(Ini());
    QDir(tmp.path() + "/config").mkpath("PELMAR32.INI"); // a directory where the file should be
    TScriptedPrompt prompt;
    prompt.ExpectColor([](QColor &c, std::vector<QColor> &) {
        c = QColor(0, 0, 128);
        return true;
    });
    prompt.ExpectMessage("Unable to write to " + Ini(), mrOk, TMsgDlgType::mtError);
    QColor color;
    QString text;
    EXPECT_TRUE(PickColor(color, text));
    EXPECT_EQ(text, "000080");
    EXPECT_EQ(color, QColor(0, 0, 128));
}

TEST_F(PickColorTest, ColourChooserInsertsTheTextIntoTheDocument)
{
    TRecordingHelp help;
    QFile page(tmp.path() + "/page.htm");
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<FONT COLOR=\"#\">\r\n");
    page.close();
    TMainForm form;
    auto *doc = dynamic_cast<TMDIChild *>(form.OpenDocument(page.fileName(), false));
    ASSERT_NE(doc, nullptr);
    doc->Editor->SetCaretPosition(1, 15);
    TScriptedPrompt prompt;
    prompt.ExpectColor([](QColor &c, std::vector<QColor> &) {
        c = QColor(0x80, 0x00, 0xFF);
        return true;
    });
    prompt.ExpectColor([](QColor &, std::vector<QColor> &) { return false; });
    EXPECT_TRUE(doc->Click("Color1"));
    EXPECT_EQ(doc->Editor->GetStringLine(1), "<FONT COLOR=\"#8000FF\">");
    EXPECT_TRUE(doc->Click("Color1")); // cancelled: nothing inserted
    EXPECT_EQ(doc->Editor->GetStringLine(1), "<FONT COLOR=\"#8000FF\">");
    doc->Editor->SetModified(false);
}

} // namespace
