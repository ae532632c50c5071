// TMainForm: the end of a run that the system asks for (SIGTERM, SIGHUP, SIGINT and the desktop
// session's end) and the start-up offer of recovery copies of untitled documents.
#include "ui/app/MainWindow.h"

#include "core/editor/Recovery.h"

#include <QFile>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The self-pipe: the signal handler writes the signal's number into [0], the event loop reads [1].
int g_signalFds[2] = {-1, -1};

extern "C" void EndSignalHandler(int Signal)
{
    const int saved = errno;
    const char byte = char(Signal);
    [[maybe_unused]] const ssize_t n = ::write(g_signalFds[0], &byte, 1);
    errno = saved;
}

std::function<void(int)> &ExitHook()
{
    static std::function<void(int)> hook;
    return hook;
}

// While the run ends nothing may wait for an answer: every box is answered at once.
class TNoWaitPrompt final : public TPrompt {
public:
    TModalResult MessageDlg(const QString &, TMsgDlgType, TMsgDlgButtons, int, const QString &) override
    {
        return mrCancel;
    }
    bool InputQuery(const QString &, const QString &, QString &) override { return false; }
    bool OpenFile(TFileDialogRequest &) override { return false; }
    bool SaveFile(TFileDialogRequest &) override { return false; }
    bool ChooseFont(TFontRequest &) override { return false; }
    bool ChooseColor(QColor &, std::vector<QColor> &) override { return false; }
    bool PrintDialog(QPrinter &) override { return false; }
    bool PrinterSetup(QPrinter &) override { return false; }
    void Beep() override {}
};

TDocumentWindowIntf *DocumentOf(QMdiSubWindow *Sub)
{
    if (auto *doc = dynamic_cast<TDocumentWindowIntf *>(Sub))
        return doc;
    return dynamic_cast<TDocumentWindowIntf *>(Sub->widget());
}

} // namespace

void TMainForm::SetSessionExit(std::function<void(int)> Exit)
{
    ExitHook() = std::move(Exit);
}

void TMainForm::InstallSessionEnd()
{
    if (g_signalFds[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalFds) != 0)
        g_signalFds[0] = g_signalFds[1] = -1;
    if (g_signalFds[0] >= 0) {
        struct sigaction action {};
        action.sa_handler = EndSignalHandler;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : kEndSignals)
            ::sigaction(signal, &action, nullptr);
        FSignalNotifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, this);
        connect(FSignalNotifier, &QSocketNotifier::activated, this, [this] {
            char bytes[16];
            [[maybe_unused]] const ssize_t n = ::read(g_signalFds[1], bytes, sizeof bytes);
            EndSession(true);
        });
    }
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &Manager) {
        const bool interact = Manager.allowsInteraction();
        const bool agreed = CommitData(interact);
        if (interact)
            Manager.release();
        if (!agreed)
            Manager.cancel();
    });
}

void TMainForm::RemoveSessionEnd()
{
    // Once the main window is gone these signals end the program as they usually do.
    if (FSignalNotifier)
        for (const int signal : kEndSignals)
            std::signal(signal, SIG_DFL);
}

bool TMainForm::CommitData(bool AllowsInteraction)
{
    if (!AllowsInteraction) {
        EndSession(true);
        return true;
    }
    // As Exit does: every modified document asks; one Cancel keeps the session going.
    bool agreed = false;
    Guarded([this, &agreed] { agreed = FormCloseQuery(); });
    if (!agreed)
        return false;
    // What is still modified now was answered No: it is not kept.
    EndSession(false);
    return true;
}

void TMainForm::EndSession(bool WriteCopies)
{
    if (FSessionEnded)
        return;
    FSessionEnded = true;
    TNoWaitPrompt noWait;
    TPrompt *previous = &Prompt();
    SetPrompt(&noWait);
    if (WriteCopies)
        for (QMdiSubWindow *sub : Children())
            if (TDocumentWindowIntf *doc = DocumentOf(sub)) {
                try {
                    doc->WriteRecoveryCopy();
                } catch (const std::exception &) {
                    // The others are still copied.
                }
            }
    FormDestroy();
    SetPrompt(previous == &noWait ? nullptr : previous);
    std::fflush(nullptr);
    if (ExitHook())
        ExitHook()(0);
    else
        ::_exit(0);
}

void TMainForm::OfferUntitledCopies()
{
    for (const TRecoveryCopy &copy : FindUntitledCopies()) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(copy.Path));
        const TModalResult answer = Prompt().MessageDlg(
            QString::fromStdString(RecoveryQuestion("Untitled", copy.WrittenAt)), TMsgDlgType::mtConfirmation,
            mbYesNoCancel);
        if (answer == mrYes) {
            if (TDocumentWindowIntf *doc = OpenDocument("Untitled", true))
                Guarded([doc, &path] { doc->RecoverFrom(path); });
        } else if (answer == mrNo) {
            QFile::remove(path);
        }
    }
}
