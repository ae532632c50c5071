// The main of every UI test: one QApplication on the offscreen platform, then the tests. A modal
// dialog or a prompt that no test scripted fails the running test at once: offscreen, nobody
// could ever answer it and the program would wait for ever.
#include "platform/DialogExec.h"
#include "ui/app/CompositionRoot.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QDialog>
#include <gtest/gtest.h>

namespace {

class TUnexpectedPrompt final : public TPrompt {
public:
    TModalResult MessageDlg(const QString &Msg, TMsgDlgType, TMsgDlgButtons Buttons, int, const QString &) override
    {
        ADD_FAILURE() << "unexpected message box: " << Msg.toStdString();
        return (Buttons & mbCancel) ? mrCancel : (Buttons & mbNo) ? mrNo : mrOk;
    }
    bool InputQuery(const QString &, const QString &Prompt, QString &) override
    {
        ADD_FAILURE() << "unexpected input box: " << Prompt.toStdString();
        return false;
    }
    bool OpenFile(TFileDialogRequest &R) override { return Unexpected("open dialog", R.Title); }
    bool SaveFile(TFileDialogRequest &R) override { return Unexpected("save dialog", R.Title); }
    bool ChooseFont(TFontRequest &) override { return Unexpected("font dialog", {}); }
    bool ChooseColor(QColor &, std::vector<QColor> &) override { return Unexpected("colour dialog", {}); }
    bool PrintDialog(QPrinter &) override { return Unexpected("print dialog", {}); }
    bool PrinterSetup(QPrinter &) override { return Unexpected("printer setup", {}); }
    void Beep() override {}

private:
    static bool Unexpected(const char *what, const QString &title)
    {
        ADD_FAILURE() << "unexpected " << what << " " << title.toStdString();
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    InstallMainWiring();
    TUnexpectedPrompt unexpected;
    SetFallbackPrompt(&unexpected);
    SetDialogExecFallback([](QDialog &dialog) {
        ADD_FAILURE() << "unexpected modal dialog: " << dialog.metaObject()->className() << " \""
                      << dialog.windowTitle().toStdString() << "\"";
        return int(QDialog::Rejected);
    });
    const int result = RUN_ALL_TESTS();
    SetDialogExecFallback({});
    SetFallbackPrompt(nullptr);
    return result;
}
