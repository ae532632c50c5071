// The rule, block element, font and directory dialogs driven as a user would.
#include "DialogScript.h"
#include "support/RecordingHelp.h"
#include "support/ScriptedPrompt.h"
#include "ui/dialogs/DirectoryDialog.h"
#include "ui/dialogs/RuleDialog.h"
#include "ui/dialogs/BlockDialog.h"
#include "ui/dialogs/FontDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QString LabelFor(QDialog &D, QWidget *W)
{
    for (QLabel *l : D.findChildren<QLabel *>())
        if (l->buddy() == W)
            return l->text();
    return {};
}

} // namespace

TEST(RuleDialog, ControlsAndTags)
{
    TRecordingHelp help;
    TDialogScript script;
    script.Expect("Horizontal Rule", [&](QDialog &d) {
        auto &b = static_cast<THRBox &>(d);
        EXPECT_EQ(ComboEntries(b.AlignCombo), (QStringList{"left", "center", "right"}));
        EXPECT_EQ(b.AlignCombo->currentText(), "left");
        EXPECT_EQ(ComboEntries(b.ClearCombo), (QStringList{"left", "right", "all"}));
        EXPECT_EQ(b.ClearCombo->currentText(), "");
        EXPECT_EQ(LabelFor(d, b.WidthEdit), "Width (abs. or %)");
        EXPECT_EQ(LabelFor(d, b.SizeEdit), "Size");
        EXPECT_EQ(b.NoShadeCheck->text(), "NOSHADE");
        EXPECT_FALSE(b.NoShadeCheck->isChecked());
        Click(b.HelpBtn);
        return Press(d, b.OKBtn);
    });
    EXPECT_EQ(ExecHRBox(nullptr), std::optional<std::string>("<HR ALIGN=\"left\">"));
    EXPECT_EQ(help.Requests, QStringList{"topic:hr"});

    script.Expect("Horizontal Rule", [&](QDialog &d) {
        auto &b = static_cast<THRBox &>(d);
        Retype(b.AlignCombo, "");
        return Press(d, b.OKBtn);
    });
    EXPECT_EQ(ExecHRBox(nullptr), std::optional<std::string>("<HR>"));

    script.Expect("Horizontal Rule", [&](QDialog &d) {
        auto &b = static_cast<THRBox &>(d);
        b.AlignCombo->setCurrentIndex(1);
        b.ClearCombo->setCurrentIndex(2);
        Type(b.SizeEdit, "3");
        Type(b.WidthEdit, "50%");
        Click(b.NoShadeCheck);
        return Press(d, b.OKBtn);
    });
    EXPECT_EQ(ExecHRBox(nullptr), std::optional<std::string>("<HR ALIGN=\"center\" CLEAR=\"all\" SIZE=3 WIDTH=50% NOSHADE>"));

    script.Expect("Horizontal Rule", [&](QDialog &d) {
        Type(static_cast<THRBox &>(d).SizeEdit, "9");
        return Press(d, static_cast<THRBox &>(d).CancelBtn);
    });
    EXPECT_EQ(ExecHRBox(nullptr), std::nullopt);
}

TEST(BlockDialog, ControlsEndTagAndClass)
{
    TRecordingHelp help;
    TDialogScript script;
    script.Expect("Division", [&](QDialog &d) {
        auto &b = static_cast<TPBox &>(d);
        EXPECT_EQ(ComboEntries(b.AlignCombo), (QStringList{"left", "center", "right", "justify"}));
        EXPECT_EQ(b.AlignCombo->currentText(), "left");
        EXPECT_EQ(ComboEntries(b.ClassCombo), (QStringList{"Abstract", "Appendix", "Chapter", "Section"}));
        EXPECT_EQ(b.ClassCombo->currentText(), "");
        EXPECT_EQ(ComboEntries(b.ClearCombo), (QStringList{"left", "right", "all"}));
        EXPECT_EQ(b.NoWrapCheck->text(), "NOWRAP");
        EXPECT_EQ(b.EndCheck->text(), "</DIV>");
        EXPECT_TRUE(b.EndCheck->isChecked());
        Retype(b.ClassCombo, "My Intro");
        Click(b.HelpBtn);
        return Press(d, b.OKBtn);
    });
    auto div = ExecPBox(nullptr, "Division", "DIV");
    ASSERT_TRUE(div);
    EXPECT_EQ(div->Start, "<DIV ALIGN=\"left\" CLASS=\"My Intro\">");
    EXPECT_EQ(div->End, std::optional<std::string>("</DIV>"));
    EXPECT_EQ(help.Requests, QStringList{"topic:paragraph"});

    script.Expect("Heading Style 2", [&](QDialog &d) {
        auto &b = static_cast<TPBox &>(d);
        EXPECT_EQ(b.EndCheck->text(), "</H2>");
        b.AlignCombo->setCurrentIndex(3);
        b.ClearCombo->setCurrentIndex(0);
        Click(b.NoWrapCheck);
        Click(b.EndCheck);
        return Press(d, b.OKBtn);
    });
    auto h2 = ExecPBox(nullptr, "Heading Style 2", "H2");
    ASSERT_TRUE(h2);
    EXPECT_EQ(h2->Start, "<H2 ALIGN=\"justify\" CLEAR=\"left\" NOWRAP>");
    EXPECT_EQ(h2->End, std::nullopt);

    script.Expect("Paragraph", [&](QDialog &d) { return Press(d, static_cast<TPBox &>(d).CancelBtn); });
    EXPECT_FALSE(ExecPBox(nullptr, "Paragraph", "P"));
}

TEST(FontDialog, SizeColourChoiceAndBaseFont)
{
    TTempWorkDir wd;
    const QByteArray oldXdg = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", wd.Path("config").toUtf8());
    QDir(wd.Dir.path()).mkpath("config");
    {
        TScriptedPrompt prompt;
        TDialogScript script;
        script.Expect("Font", [&](QDialog &d) {
            auto &f = static_cast<TFontDlg &>(d);
            EXPECT_EQ(f.SizeGroup->title(), "Size");
            EXPECT_EQ(f.ColorGroup->title(), "Color");
            EXPECT_EQ(LabelFor(d, f.Edit1), "Enter size (1-7 or +/- relative to basefont):");
            EXPECT_EQ(f.OKButton->text(), "&Choose...");
            EXPECT_EQ(f.Button2->text(), "OK");
            EXPECT_EQ(f.Button3->text(), "Cancel");
            EXPECT_TRUE(d.findChildren<QPushButton *>().size() == 3) << "no Help button";
            Type(f.Edit1, "+1");
            // A colour chosen, then the choice cancelled: the colour is dropped again.
            prompt.ExpectColor([](QColor &c, std::vector<QColor> &) {
                EXPECT_EQ(c, QColor(Qt::black));
                c = QColor(255, 0, 16);
                return true;
            });
            Click(f.OKButton);
            EXPECT_EQ(f.ColorEdit->text(), "FF0010");
            EXPECT_EQ(f.Shape1->Color(), QColor(255, 0, 16));
            prompt.ExpectColor([](QColor &, std::vector<QColor> &) { return false; });
            Click(f.OKButton);
            EXPECT_EQ(f.ColorEdit->text(), "");
            EXPECT_EQ(f.Shape1->Color(), QColor(Qt::black));
            return Press(d, f.Button2);
        });
        EXPECT_EQ(ExecFontDlg(nullptr, "FONT"), std::make_optional(std::make_pair(std::string("<FONT SIZE=\"+1\">"),
                                                                                   std::string("</FONT>"))));

        script.Expect("Base Font", [&](QDialog &d) {
            auto &f = static_cast<TFontDlg &>(d);
            EXPECT_EQ(f.SizeLabel->text(), "Enter size 1-7:");
            prompt.ExpectColor([](QColor &c, std::vector<QColor> &) {
                c = QColor(0x12, 0xAB, 0xEF);
                return true;
            });
            Click(f.OKButton);
            EXPECT_EQ(f.ColorEdit->text(), "12ABEF");
            return Press(d, f.Button2);
        });
        EXPECT_EQ(ExecFontDlg(nullptr, "BASEFONT", "Base Font", "Enter size 1-7:"),
                  std::make_optional(std::make_pair(std::string("<BASEFONT COLOR=\"#12ABEF\">"),
                                                    std::string("</BASEFONT>"))));

        // Digits typed with their own "#": the tag carries two.
        script.Expect("Font", [&](QDialog &d) {
            auto &f = static_cast<TFontDlg &>(d);
            Type(f.ColorEdit, "#00FF00");
            return Press(d, f.Button2);
        });
        EXPECT_EQ(ExecFontDlg(nullptr, "FONT")->first, "<FONT COLOR=\"##00FF00\">");
        // Escape cancels.
        script.Expect("Font", [&](QDialog &d) {
            auto &f = static_cast<TFontDlg &>(d);
            Type(f.Edit1, "3");
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        });
        EXPECT_EQ(ExecFontDlg(nullptr, "FONT"), std::nullopt);
    }
    qputenv("XDG_CONFIG_HOME", oldXdg);
}

TEST(DirectoryDialog, TreeFromTheRootAndChoice)
{
    TTempWorkDir wd;
    QDir(wd.Dir.path()).mkpath("Web/Pages");
    QDir(wd.Dir.path()).mkpath("Web/Images");
    TDialogScript script;
    script.Expect("Select Directory", [&](QDialog &d) {
        auto &b = static_cast<TDirectoryDialog &>(d);
        EXPECT_EQ(b.DriveComboBox1->itemText(0), "/");
        EXPECT_EQ(b.DirectoryListBox1->topLevelItem(0)->text(0), "/");
        EXPECT_EQ(b.DirLabel->text(), wd.Path("Web/Pages"));
        // The parent lists both directories, sorted; choosing the other moves the label.
        QTreeWidgetItem *pages = b.DirectoryListBox1->currentItem();
        QTreeWidgetItem *web = pages->parent();
        EXPECT_EQ(web->childCount(), 2);
        if (web->childCount() != 2)
            return int(QDialog::Rejected);
        EXPECT_EQ(web->child(0)->text(0), "Images");
        const QRect r = b.DirectoryListBox1->visualItemRect(web->child(0));
        QTest::mouseClick(b.DirectoryListBox1->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_EQ(b.DirLabel->text(), wd.Path("Web/Images"));
        return Press(d, b.OKBtn);
    });
    QString dir = wd.Path("Web/Pages/");
    EXPECT_TRUE(ExecDirectoryDialog(nullptr, dir));
    EXPECT_EQ(dir, wd.Path("Web/Images"));

    // A name that is no directory starts at the current directory; Cancel keeps the name.
    script.Expect("Select Directory", [&](QDialog &d) {
        auto &b = static_cast<TDirectoryDialog &>(d);
        EXPECT_EQ(b.DirLabel->text(), QDir::currentPath());
        return Press(d, b.CancelBtn);
    });
    dir = "/no/such/dir";
    EXPECT_FALSE(ExecDirectoryDialog(nullptr, dir));
    EXPECT_EQ(dir, "/no/such/dir");
}
