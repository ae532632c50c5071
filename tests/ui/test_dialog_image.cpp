// The image dialog driven as a user would: composing the tag while typing, GIF sizes, Browse,
// the image history file, damaged files, Help, and the image command from a dropped picture.
#include "DialogScript.h"
#include "support/RecordingHelp.h"
#include "support/ScriptedPrompt.h"
#include "ui/app/MainWindow.h"
#include "ui/dialogs/ImageDialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <sys/stat.h>

namespace {

QByteArray Gif(unsigned W, unsigned H)
{
    QByteArray b("GIF89a");
    b.append(char(W & 0xFF)).append(char(W >> 8)).append(char(H & 0xFF)).append(char(H >> 8));
    b.append("\xF7\x00\x00", 3);
    return b;
}

QString LabelFor(QDialog &D, QWidget *W)
{
    for (QLabel *l : D.findChildren<QLabel *>())
        if (l->buddy() == W)
            return l->text();
    return {};
}

} // namespace

TEST(ImageDialog, ComposesWhileTypingAndKeepsHistory)
{
    TTempWorkDir wd;
    TRecordingHelp help;
    WriteBytes(wd.Path("Logo.GIF"), Gif(120, 40));
    const QString his = wd.Path("IMAGES.HIS");
    TDialogScript script;
    {
        // The first use: no history file yet, and no message about it.
        TScriptedPrompt prompt;
        script.Expect("Inline Image", [&](QDialog &d) {
            auto &box = static_cast<TInsertImageBox &>(d);
            EXPECT_EQ(LabelFor(d, box.SrcEdit), "Image");
            EXPECT_EQ(LabelFor(d, box.TagCombo), "URL");
            EXPECT_EQ(LabelFor(d, box.VSpaceEdit), "VSPACE");
            EXPECT_EQ(box.BrowseButton->text(), "Browse...");
            EXPECT_FALSE(box.IncludeLocalPathCheck->isChecked());
            EXPECT_EQ(ComboEntries(box.AlignCombo), (QStringList{"left", "right", "top", "texttop", "middle",
                                                                 "absmiddle", "baseline", "bottom", "absbottom"}));
            EXPECT_EQ(box.AlignCombo->currentText(), "");
            EXPECT_EQ(box.TagCombo->count(), 0) << "a missing history file leaves the list empty";
            EXPECT_EQ(box.TagCombo->currentText(), "<IMG SRC=\"\">");

            // On a file system that tells cases apart, logo.gif would name no file: the name is
            // written as the file has it.
            Type(box.SrcEdit, "Logo.GIF");
            EXPECT_EQ(box.WidthEdit->text(), "120");
            EXPECT_EQ(box.HeightEdit->text(), "40");
            EXPECT_EQ(box.TagCombo->currentText(), "<IMG SRC=\"Logo.GIF\" WIDTH=\"120\" HEIGHT=\"40\">");
            // A width typed for an existing GIF file is replaced at once.
            Retype(box.WidthEdit, "7");
            EXPECT_EQ(box.WidthEdit->text(), "120");

            Type(box.AltEdit, "a \"q\"");
            Retype(box.AlignCombo, "left");
            Type(box.BorderEdit, "0");
            Type(box.HSpaceEdit, "4");
            EXPECT_EQ(box.TagCombo->currentText(), "<IMG SRC=\"Logo.GIF\" ALT=\"a \"q\"\" ALIGN=\"left\" WIDTH=\"120\" "
                                                   "HEIGHT=\"40\" BORDER=\"0\" HSPACE=\"4\">");
            Click(box.IncludeLocalPathCheck);
            EXPECT_TRUE(box.TagCombo->currentText().startsWith("<IMG SRC=\"file:///Logo.GIF\" ALT="));
            Click(box.IncludeLocalPathCheck);
            // The help topic of the dialog.
            Click(box.HelpBtn);
            return Press(d, box.OKBtn);
        });
        const auto tag = ExecImageBox(nullptr, "");
        ASSERT_TRUE(tag);
        EXPECT_EQ(*tag, "<IMG SRC=\"Logo.GIF\" ALT=\"a \"q\"\" ALIGN=\"left\" WIDTH=\"120\" HEIGHT=\"40\" "
                        "BORDER=\"0\" HSPACE=\"4\">");
    }
    EXPECT_EQ(help.Requests, QStringList{"topic:inline_img"});
    const QByteArray first = ReadBytes(his);
    EXPECT_EQ(first, "<IMG SRC=\"Logo.GIF\" ALT=\"a \"q\"\" ALIGN=\"left\" WIDTH=\"120\" HEIGHT=\"40\" "
                     "BORDER=\"0\" HSPACE=\"4\">\r\n");

    // Second use: the list comes from the file; a tag differing only in letter case is not added
    // again, but the file is written anyway.
    WriteBytes(his, "<IMG SRC=\"a.gif\">\r\n");
    script.Expect("Inline Image", [&](QDialog &d) {
        auto &box = static_cast<TInsertImageBox &>(d);
        EXPECT_EQ(ComboEntries(box.TagCombo), QStringList{"<IMG SRC=\"a.gif\">"});
        // Entries show whole: a drop-down wide enough, cut at the end if ever, the tooltip whole.
        EXPECT_EQ(box.TagCombo->itemData(0, Qt::ToolTipRole).toString(), "<IMG SRC=\"a.gif\">");
        EXPECT_EQ(box.TagCombo->view()->textElideMode(), Qt::ElideRight);
        EXPECT_GT(box.TagCombo->view()->minimumWidth(),
                  box.TagCombo->view()->fontMetrics().horizontalAdvance("<IMG SRC=\"a.gif\">"));
        EXPECT_EQ(box.TagCombo->currentText(), "<IMG SRC=\"\">") << "loading the list leaves the text alone";
        box.TagCombo->setCurrentIndex(0);
        Retype(box.TagCombo, "<img src=\"A.GIF\">");
        return Press(d, box.OKBtn);
    });
    EXPECT_EQ(ExecImageBox(nullptr, ""), std::optional<std::string>("<img src=\"A.GIF\">"));
    EXPECT_EQ(ReadBytes(his), "<IMG SRC=\"a.gif\">\r\n");

    // A single space makes a new entry; an empty tag is an entry too, added once.
    for (const char *text : {"<IMG SRC=\"a.gif\" >", "", ""}) {
        script.Expect("Inline Image", [&](QDialog &d) {
            auto &box = static_cast<TInsertImageBox &>(d);
            Retype(box.TagCombo, text);
            return Press(d, box.OKBtn);
        });
        EXPECT_EQ(ExecImageBox(nullptr, ""), std::optional<std::string>(text));
    }
    EXPECT_EQ(ReadBytes(his), "<IMG SRC=\"a.gif\">\r\n<IMG SRC=\"a.gif\" >\r\n\r\n");

    // Cancel neither adds nor saves.
    script.Expect("Inline Image", [&](QDialog &d) {
        auto &box = static_cast<TInsertImageBox &>(d);
        Type(box.SrcEdit, "New.GIF");
        EXPECT_EQ(box.TagCombo->currentText(), "<IMG SRC=\"new.gif\">") << "no file of either name: lowered";
        return Press(d, box.CancelBtn);
    });
    EXPECT_EQ(ExecImageBox(nullptr, ""), std::nullopt);
    EXPECT_EQ(ReadBytes(his), "<IMG SRC=\"a.gif\">\r\n<IMG SRC=\"a.gif\" >\r\n\r\n");
}

TEST(ImageDialog, BrowseAndInitialSource)
{
    TTempWorkDir wd;
    QDir(wd.Dir.path()).mkpath("pics");
    const QString logo = wd.Path("pics/Logo.GIF");
    WriteBytes(logo, Gif(120, 40));
    TDialogScript script;
    TScriptedPrompt prompt;
    prompt.ExpectOpenWith([&](TFileDialogRequest &r) {
        EXPECT_EQ(r.Filter, "GIF Images (*.gif)|*.gif|JPEG Images (*.jpg)|*.jpg|All Files (*.*)|*.*");
        r.FileName = logo;
        return true;
    });
    prompt.ExpectOpen(QString()); // the second Browse is cancelled
    script.Expect("Inline Image", [&](QDialog &d) {
        auto &box = static_cast<TInsertImageBox &>(d);
        Click(box.BrowseButton);
        EXPECT_EQ(box.SrcEdit->text(), logo);
        EXPECT_EQ(box.TagCombo->currentText(), "<IMG SRC=\"Logo.GIF\" WIDTH=\"120\" HEIGHT=\"40\">");
        Click(box.IncludeLocalPathCheck);
        EXPECT_EQ(box.TagCombo->currentText(),
                  "<IMG SRC=\"file://" + logo + "\" WIDTH=\"120\" HEIGHT=\"40\">");
        Click(box.BrowseButton);
        EXPECT_EQ(box.SrcEdit->text(), logo) << "a cancelled Browse changes nothing";
        return Press(d, box.OKBtn);
    });
    EXPECT_EQ(ExecImageBox(nullptr, ""),
              std::optional<std::string>("<IMG SRC=\"file://" + logo.toStdString() +
                                         "\" WIDTH=\"120\" HEIGHT=\"40\">"));

    // An initial source (a dropped picture) is composed before the dialog shows; a ".jpeg" file
    // is not measured.
    WriteBytes(wd.Path("Photo.JPEG"), Gif(5, 5));
    script.Expect("Inline Image", [&](QDialog &d) {
        auto &box = static_cast<TInsertImageBox &>(d);
        EXPECT_EQ(box.SrcEdit->text(), wd.Path("Photo.JPEG"));
        EXPECT_EQ(box.WidthEdit->text(), "");
        EXPECT_EQ(box.TagCombo->currentText(), "<IMG SRC=\"Photo.JPEG\">");
        return Press(d, box.OKBtn);
    });
    EXPECT_EQ(ExecImageBox(nullptr, wd.Path("Photo.JPEG").toStdString()),
              std::optional<std::string>("<IMG SRC=\"Photo.JPEG\">"));
}

TEST(ImageDialog, DamagedFilesNeverStopTheDialog)
{
    TTempWorkDir wd;
    TDialogScript script;
    const QString his = wd.Path("IMAGES.HIS");
    // Binary garbage: control bytes, a lone CR, high bytes, no final line break, and a NUL after
    // which nothing is read.
    WriteBytes(his, QByteArray("\x01\x7f\xff\xfe\r\x80\x81 x\n\n\tlast", 16) + QByteArray("\0<NOT READ>\r\n", 13));
    WriteBytes(wd.Path("short.gif"), "GIF89a\x10");
    WriteBytes(wd.Path("zero.gif"), Gif(0, 40));
    WriteBytes(wd.Path("empty.gif"), "");
    WriteBytes(wd.Path("fake.gif"), "\x89PNG\r\n\x1a\n\x10\x00\x10\x00");
    QDir(wd.Dir.path()).mkpath("dir.gif");
    ASSERT_EQ(::mkfifo(wd.Path("pipe.gif").toUtf8().constData(), 0600), 0);
    script.Expect("Inline Image", [&](QDialog &d) {
        auto &box = static_cast<TInsertImageBox &>(d);
        EXPECT_EQ(ComboEntries(box.TagCombo),
                  (QStringList{QString::fromUtf16(u"\u0001\u007f\u00ff\u00fe"), QString::fromUtf16(u"\u20ac\u0081 x"),
                               "", "\tlast"}));
        Type(box.WidthEdit, "11");
        Type(box.HeightEdit, "22");
        for (const char *name : {"short.gif", "zero.gif", "empty.gif", "fake.gif", "dir.gif", "pipe.gif", "missing.gif"}) {
            Retype(box.SrcEdit, name);
            EXPECT_EQ(box.WidthEdit->text(), "11") << name;
            EXPECT_EQ(box.HeightEdit->text(), "22") << name;
        }
        return Press(d, box.OKBtn);
    });
    EXPECT_EQ(ExecImageBox(nullptr, ""),
              std::optional<std::string>("<IMG SRC=\"missing.gif\" WIDTH=\"11\" HEIGHT=\"22\">"));
    // The entries come back byte for byte; the new one follows them.
    EXPECT_EQ(ReadBytes(his), QByteArray("\x01\x7f\xff\xfe\r\n\x80\x81 x\r\n\r\n\tlast\r\n", 21) +
                                  "<IMG SRC=\"missing.gif\" WIDTH=\"11\" HEIGHT=\"22\">\r\n");

    // A history file that cannot be written (a directory stands in its place): both failures
    // are reported, and the tag still comes back.
    QFile::remove(his);
    QDir(wd.Dir.path()).mkpath("IMAGES.HIS");
    TScriptedPrompt prompt;
    prompt.ExpectMessage("Cannot open file " + his, mrOk, TMsgDlgType::mtError);
    prompt.ExpectMessage("Cannot create file " + his, mrOk, TMsgDlgType::mtError);
    script.Expect("Inline Image", [&](QDialog &d) { return Press(d, static_cast<TInsertImageBox &>(d).OKBtn); });
    EXPECT_EQ(ExecImageBox(nullptr, "x.png"), std::optional<std::string>("<IMG SRC=\"x.png\">"));
}

namespace {

// A document window that logs what is inserted into it.
class TLogDocument : public QWidget, public TDocumentWindowIntf {
public:
    explicit TLogDocument(QStringList &Log) : Log(Log) {}
    QString DocumentCaption() const override { return "Doc"; }
    bool DocumentModified() const override { return false; }
    void InsertMarkup(const std::string &Text) override { Log << QString::fromStdString(Text); }
    void InsertTagPair(const std::string &S, const std::string &E) override
    {
        Log << QString::fromStdString(S + "|" + E);
    }
    QList<QMenu *> MergedMenus() const override { return {}; }
    bool CloseQuery() override { return true; }
    bool Click(const QString &, QObject *) override { return false; }
    void EditRightMenu() override {}
    void CheckFileOnDisk() override {}
    QStringList &Log;
};

} // namespace

TEST(ImageDialog, DroppedPictureRunsTheImageCommand)
{
    TTempWorkDir wd;
    QByteArray oldXdg = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", wd.Path("config").toUtf8());
    WriteBytes(wd.Path("IMAGES.HIS"), "");
    WriteBytes(wd.Path("Shot.gif"), Gif(3, 2));
    {
        TMainForm form;
        InstallImageCommand(form);
        QStringList log;
        auto *doc = new TLogDocument(log);
        QMdiSubWindow *sub = form.MDIClient->addSubWindow(doc);
        sub->show();
        form.MDIClient->setActiveSubWindow(sub);
        TDialogScript script;
        script.Expect("Inline Image", [&](QDialog &d) {
            return Press(d, static_cast<TInsertImageBox &>(d).OKBtn);
        });
        script.Expect("Inline Image", [&](QDialog &d) {
            return Press(d, static_cast<TInsertImageBox &>(d).CancelBtn);
        });
        form.DropFiles({wd.Path("Shot.gif"), wd.Path("Shot.gif")});
        EXPECT_EQ(log, QStringList{"<IMG SRC=\"Shot.gif\" WIDTH=\"3\" HEIGHT=\"2\">"}) << "as the file is named";
        EXPECT_TRUE(form.LastMarkupCommand.isNull()) << "a drop records nothing";
        // Without a document window the dialog still runs; its tag goes nowhere.
        delete sub;
        script.Expect("Inline Image", [&](QDialog &d) {
            return Press(d, static_cast<TInsertImageBox &>(d).OKBtn);
        });
        form.DropFiles({wd.Path("Shot.gif")});
        EXPECT_EQ(log.size(), 1);
    }
    qputenv("XDG_CONFIG_HOME", oldXdg);
}
