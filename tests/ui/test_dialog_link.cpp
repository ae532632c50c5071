// The link dialog driven as a user would: the address from type, host and file, Browse with and
// without the local path and ForceHTMLExt, the URL and host history files, Cancel and Help.
#include "DialogScript.h"
#include "support/RecordingHelp.h"
#include "support/ScriptedPrompt.h"
#include "ui/dialogs/LinkDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

QString LabelFor(QDialog &D, QWidget *W)
{
    for (QLabel *l : D.findChildren<QLabel *>())
        if (l->buddy() == W)
            return l->text();
    return {};
}

TInsertURLBox &Box(QDialog &D) { return static_cast<TInsertURLBox &>(D); }

} // namespace

TEST(LinkDialog, AddressFromTypeHostAndFileAndHistories)
{
    TTempWorkDir wd;
    TRecordingHelp help;
    const QString urls = wd.Path("URLS.HIS"), hosts = wd.Path("HOSTS.HIS");
    TDialogScript script;
    {
        // The first use: neither history file exists yet, and nothing is said about them.
        TScriptedPrompt prompt;
        script.Expect("Link to URL", [&](QDialog &d) {
            TInsertURLBox &b = Box(d);
            EXPECT_EQ(LabelFor(d, b.URLCombo), "Enter URL (Uniform Resource Locator):");
            EXPECT_EQ(LabelFor(d, b.URLTypesCombo), "URL type:");
            EXPECT_EQ(LabelFor(d, b.HostCombo), "Host:");
            EXPECT_EQ(LabelFor(d, b.FileEdit), "File:");
            EXPECT_EQ(b.BrowseBtn->text(), "&Browse");
            EXPECT_FALSE(b.IncludeLocalPathCheck->isChecked());
            EXPECT_EQ(ComboEntries(b.URLTypesCombo),
                      (QStringList{"http://", "ftp://", "file://", "gopher://", "news:", "telnet://"}));
            EXPECT_EQ(b.URLTypesCombo->currentText(), "");
            EXPECT_EQ(b.URLCombo->count(), 0);
            EXPECT_EQ(b.URLCombo->currentText(), "");

            b.URLTypesCombo->setCurrentIndex(0); // picked from the list
            Type(b.FileEdit, "Page.htm");
            EXPECT_EQ(b.URLCombo->currentText(), "http://Page.htm") << "no slash without a host";
            Retype(b.HostCombo, "www.Host.org");
            EXPECT_EQ(b.URLCombo->currentText(), "http://www.Host.org/Page.htm");
            Retype(b.URLTypesCombo, "");
            Retype(b.FileEdit, "");
            EXPECT_EQ(b.URLCombo->currentText(), "www.Host.org/");
            // Typed directly, the address is returned as typed until type, host or file change.
            Retype(b.URLCombo, "mailto:me@x");
            Click(b.HelpBtn);
            return Press(d, b.OkButton);
        });
        EXPECT_EQ(ExecURLBox(nullptr), std::optional<std::string>("mailto:me@x"));
    }
    EXPECT_EQ(help.Requests, QStringList{"topic:link_url"});
    EXPECT_EQ(ReadBytes(urls), "mailto:me@x\r\n");
    EXPECT_EQ(ReadBytes(hosts), "www.Host.org\r\n");

    // Second use: both lists load; an entry differing only in case is not added twice, an empty
    // host is added once as an empty entry.
    for (int i = 0; i < 2; ++i) {
        script.Expect("Link to URL", [&](QDialog &d) {
            TInsertURLBox &b = Box(d);
            EXPECT_EQ(ComboEntries(b.URLCombo).first(), "mailto:me@x");
            EXPECT_EQ(ComboEntries(b.HostCombo).first(), "www.Host.org");
            Retype(b.URLCombo, "MAILTO:ME@X");
            return Press(d, b.OkButton);
        });
        EXPECT_EQ(ExecURLBox(nullptr), std::optional<std::string>("MAILTO:ME@X"));
    }
    EXPECT_EQ(ReadBytes(urls), "mailto:me@x\r\n");
    EXPECT_EQ(ReadBytes(hosts), "www.Host.org\r\n\r\n");
}

TEST(LinkDialog, BrowseRules)
{
    TTempWorkDir wd;
    WriteBytes(wd.Path("URLS.HIS"), "a\r\n");
    WriteBytes(wd.Path("HOSTS.HIS"), "h\r\n");
    TScriptedPrompt prompt;
    auto choose = [&](const QString &file) {
        prompt.ExpectOpenWith([file](TFileDialogRequest &r) {
            EXPECT_EQ(r.Title, "Select File");
            EXPECT_EQ(r.Filter, "HTML files (*.htm)|*.htm");
            r.FileName = file;
            return true;
        });
    };
    TDialogScript script;
    script.Expect("Link to URL", [&](QDialog &d) {
        TInsertURLBox &b = Box(d);
        b.OpenFileFilter = "HTML files (*.htm)|*.htm";
        Retype(b.URLTypesCombo, "http://");
        Retype(b.HostCombo, "web");
        // Without the local path, type and host stay and apply to the chosen name.
        choose("/Site/Docs/Index.HTM");
        Click(b.BrowseBtn);
        EXPECT_EQ(b.FileEdit->text(), "index.html");
        EXPECT_EQ(b.URLCombo->currentText(), "http://web/index.html");
        choose("/Site/a.html");
        Click(b.BrowseBtn);
        EXPECT_EQ(b.URLCombo->currentText(), "http://web/a.html");
        choose("/Site/b.htmx");
        Click(b.BrowseBtn);
        EXPECT_EQ(b.URLCombo->currentText(), "http://web/b.htmx");
        // With the local path: the whole path under file://, the host cleared.
        Click(b.IncludeLocalPathCheck);
        choose("/Site/Docs/Index.htm");
        Click(b.BrowseBtn);
        EXPECT_EQ(b.URLTypesCombo->currentText(), "file://");
        EXPECT_EQ(b.HostCombo->currentText(), "");
        EXPECT_EQ(b.URLCombo->currentText(), "file:///Site/Docs/index.html") << "directories keep their case";
        b.ForceHTMLExt = false;
        choose("/Site/Old.HTM");
        Click(b.BrowseBtn);
        EXPECT_EQ(b.URLCombo->currentText(), "file:///Site/old.htm");
        // An existing file whose lower-case name would name nothing keeps its name.
        WriteBytes(wd.Path("Real.HTM"), "x");
        choose(wd.Path("Real.HTM"));
        Click(b.BrowseBtn);
        EXPECT_EQ(b.URLCombo->currentText(), "file://" + wd.Path("Real.HTM"));
        prompt.ExpectOpen(QString());
        Click(b.BrowseBtn);
        EXPECT_EQ(b.URLCombo->currentText(), "file://" + wd.Path("Real.HTM")) << "a cancelled Browse changes nothing";
        return Press(d, b.CancelBtn);
    });
    EXPECT_EQ(ExecURLBox(nullptr), std::nullopt);
    EXPECT_EQ(ReadBytes(wd.Path("URLS.HIS")), "a\r\n") << "Cancel saves nothing";
    EXPECT_EQ(ReadBytes(wd.Path("HOSTS.HIS")), "h\r\n");

    // A damaged host file (NUL, no final line break) and an unwritable URL file: the dialog opens,
    // reports, and still returns the address.
    WriteBytes(wd.Path("HOSTS.HIS"), QByteArray("one\rtwo\0three", 13));
    QFile::remove(wd.Path("URLS.HIS"));
    QDir(wd.Dir.path()).mkpath("URLS.HIS");
    prompt.ExpectMessage("Cannot open file " + wd.Path("URLS.HIS"), mrOk);
    prompt.ExpectMessage("Cannot create file " + wd.Path("URLS.HIS"), mrOk);
    script.Expect("Link to URL", [&](QDialog &d) {
        TInsertURLBox &b = Box(d);
        EXPECT_EQ(ComboEntries(b.HostCombo), (QStringList{"one", "two"}));
        Retype(b.HostCombo, "TWO");
        return Press(d, b.OkButton);
    });
    EXPECT_EQ(ExecURLBox(nullptr), std::optional<std::string>("TWO/"));
    EXPECT_EQ(ReadBytes(wd.Path("HOSTS.HIS")), "one\r\ntwo\r\n");
}
