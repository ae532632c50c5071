// TDocumentCheckList: the "Document Check" list docked under the document area: the findings of the
// last check of one document window with the jump to each, "Check again", and the check while it
// runs (busy cursor, progress in the status line, Esc cancels).
#pragma once

#include "core/markup/DocumentCheck.h"

#include <QDockWidget>
#include <QPointer>

#include <functional>
#include <memory>

class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TMDIChild;

class TDocumentCheckList : public QDockWidget {
    Q_OBJECT
public:
    // Hidden until a check finds something.
    explicit TDocumentCheckList(QWidget *Parent = nullptr);
    ~TDocumentCheckList() override;

    // Where the list says what it is doing (the main window's status line).
    std::function<void(const QString &Text)> OnStatus;

    // Checks the window's text as it is in the editor, saved or not, without changing it, and
    // lists what was found; a check still running is cancelled first. The list now belongs to
    // this window.
    void Check(TMDIChild &Doc);
    // Ends a running check; the list stays empty.
    void Cancel();
    bool Checking() const { return FRun != nullptr; }
    // Lets a running check end and its findings be listed (tests wait with it).
    void WaitForCheck();
    // Puts the caret at the place of a row's finding in its document window, which becomes the
    // active window with the focus. Rows whose place has gone since put it as near as they can.
    void JumpTo(int Row);
    // The document window the list belongs to, or nullptr.
    TMDIChild *Document() const { return FDocument; }

    // ---- Components.
    // Columns: line, column, kind, message.
    QTreeWidget *FindingList = nullptr;
    QPushButton *CheckAgainButton = nullptr;

    // "CheckAgainButton"'s click: checks the list's document again.
    void CheckAgainButtonClick();

protected:
    bool eventFilter(QObject *Watched, QEvent *E) override;

private:
    struct TRun;
    void Poll();
    void Finish();
    void Show(const TCheckReport &Report);
    void EndRun();
    void SetTitle(const QString &State);
    QString DocumentName() const;

    std::unique_ptr<TRun> FRun;
    QTimer *FPoll = nullptr;
    QPointer<TMDIChild> FDocument;
    int FShownPercent = -1;
};
