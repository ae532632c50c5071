// TDocumentCheckList: the "Document Check" list, its check running beside the user interface, and the
// jump from a finding to its place.
#include "ui/document/DocumentCheckList.h"

#include "platform/Prompt.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiArea>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

// The encoding the document's bytes are checked in: the document's own.
TCheckEncoding DocumentEncoding(const TMDIChild &Doc)
{
    return Doc.Editor->ParaList().Utf8() ? TCheckEncoding::Utf8 : TCheckEncoding::Windows1252;
}

// The text as the editor holds it: its paragraphs (the file's lines) separated by LF.
std::string DocumentText(const TMDIChild &Doc)
{
    const TParaList &paras = Doc.Editor->ParaList();
    std::string text;
    text.reserve(std::size_t(paras.ByteCount()));
    for (int p = 1; p <= paras.ParaCount(); ++p) {
        if (p > 1)
            text += '\n';
        text += paras.ParaText(p);
    }
    return text;
}

// The directory relative addresses start from: the file's, none for a document without a file.
std::string DocumentDirectory(const TMDIChild &Doc)
{
    const QString name = Doc.Editor->FileName();
    if (name.isEmpty() || name.compare("Untitled", Qt::CaseInsensitive) == 0)
        return {};
    return TEdCustomTextFileEditor::FileNameBytes(QFileInfo(name).absolutePath());
}

QString Counted(std::size_t Count, const char *One, const char *Many)
{
    return QString("%1 %2").arg(Count).arg(Count == 1 ? One : Many);
}

} // namespace

// One check on its own thread: the copy of the text it works on, its progress and its report.
struct TDocumentCheckList::TRun {
    TCheckRequest Request;
    std::atomic<int> Percent{0};
    std::atomic<bool> Stop{false};
    std::atomic<bool> Done{false};
    TCheckReport Report;  // written before Done
    std::jthread Worker;

    void Start()
    {
        Worker = std::jthread([this] {
            TDiskFileLookup disk;
            Report = CheckDocument(Request, disk, [this](int P) {
                Percent = P;
                return !Stop;
            });
            Done = true;
        });
    }
    ~TRun()
    {
        Stop = true;  // the thread ends within moments; the jthread waits for it
    }
};

TDocumentCheckList::TDocumentCheckList(QWidget *Parent) : QDockWidget(Parent)
{
    setObjectName("DocumentCheckList");
    setWindowTitle("Document Check");
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    FindingList = new QTreeWidget(body);
    FindingList->setObjectName("FindingList");
    FindingList->setHeaderLabels({"Line", "Column", "Kind", "Message"});
    FindingList->setRootIsDecorated(false);
    FindingList->setUniformRowHeights(true);
    FindingList->setAllColumnsShowFocus(true);
    FindingList->setSortingEnabled(false);  // kept in the order of the lines
    FindingList->header()->setStretchLastSection(true);
    const int digits = FindingList->fontMetrics().horizontalAdvance("Column") + 16;
    FindingList->setColumnWidth(0, digits);
    FindingList->setColumnWidth(1, digits);
    FindingList->setColumnWidth(2, FindingList->fontMetrics().horizontalAdvance("Warning") + 40);
    layout->addWidget(FindingList);
    auto *buttons = new QHBoxLayout;
    CheckAgainButton = new QPushButton("Check again", body);
    CheckAgainButton->setObjectName("CheckAgainButton");
    CheckAgainButton->setEnabled(false);
    buttons->addWidget(CheckAgainButton);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    setWidget(body);

    // Double-click and Enter both activate a row.
    connect(FindingList, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *Item) {
        Guarded([this, Item] { JumpTo(FindingList->indexOfTopLevelItem(Item)); });
    });
    connect(CheckAgainButton, &QPushButton::clicked, this, [this] { Guarded([this] { CheckAgainButtonClick(); }); });
    FPoll = new QTimer(this);
    FPoll->setInterval(50);
    connect(FPoll, &QTimer::timeout, this, [this] { Guarded([this] { Poll(); }); });
    hide();
}

TDocumentCheckList::~TDocumentCheckList()
{
    EndRun();
}

QString TDocumentCheckList::DocumentName() const
{
    return FDocument ? QFileInfo(FDocument->DocumentCaption()).fileName() : QString();
}

void TDocumentCheckList::SetTitle(const QString &State)
{
    setWindowTitle(FDocument ? "Document Check - " + DocumentName() + ": " + State : "Document Check");
}

void TDocumentCheckList::Check(TMDIChild &Doc)
{
    EndRun();
    FindingList->clear();
    if (FDocument != &Doc) {
        if (FDocument)
            disconnect(FDocument, nullptr, this, nullptr);
        FDocument = &Doc;
        // A closed window takes its findings with it.
        connect(&Doc, &QObject::destroyed, this, [this] {
            FDocument = nullptr;  // a widget says it is destroyed before its pointers are cleared
            EndRun();
            FindingList->clear();
            CheckAgainButton->setEnabled(false);
            SetTitle({});
            hide();
        });
    }
    CheckAgainButton->setEnabled(false);
    FRun = std::make_unique<TRun>();
    FRun->Request = {DocumentText(Doc), DocumentEncoding(Doc), DocumentDirectory(Doc)};
    FRun->Start();
    FShownPercent = -1;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
    SetTitle("checking...");
    Poll();
    FPoll->start();
}

void TDocumentCheckList::EndRun()
{
    if (!FRun)
        return;
    FPoll->stop();
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    FRun.reset();
    CheckAgainButton->setEnabled(FDocument != nullptr);
}

void TDocumentCheckList::Cancel()
{
    if (!FRun)
        return;
    EndRun();
    SetTitle("cancelled");
    if (OnStatus)
        OnStatus("Document check cancelled.");
}

void TDocumentCheckList::Poll()
{
    if (!FRun)
        return;
    if (FRun->Done) {
        Finish();
        return;
    }
    const int percent = FRun->Percent;
    if (percent != FShownPercent && OnStatus) {
        FShownPercent = percent;
        OnStatus(QString("Checking %1... %2% (Esc cancels)").arg(DocumentName()).arg(percent));
    }
}

void TDocumentCheckList::WaitForCheck()
{
    while (FRun && !FRun->Done)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Poll();
}

void TDocumentCheckList::Finish()
{
    const TCheckReport report = std::move(FRun->Report);
    EndRun();
    if (report.Cancelled)
        return;
    Show(report);
}

void TDocumentCheckList::Show(const TCheckReport &Report)
{
    std::size_t counts[3] = {0, 0, 0};
    QList<QTreeWidgetItem *> rows;
    rows.reserve(qsizetype(Report.Findings.size()));
    const QIcon icons[3] = {style()->standardIcon(QStyle::SP_MessageBoxCritical),
                            style()->standardIcon(QStyle::SP_MessageBoxWarning),
                            style()->standardIcon(QStyle::SP_MessageBoxInformation)};
    for (const TCheckFinding &f : Report.Findings) {
        const int kind = int(f.Kind);
        ++counts[kind];
        auto *row = new QTreeWidgetItem({QString::number(f.Line), QString::number(f.Column),
                                         QString::fromUtf8(FindingKindName(f.Kind).data(),
                                                           qsizetype(FindingKindName(f.Kind).size())),
                                         QString::fromStdString(f.Message)});
        row->setIcon(2, icons[kind]);
        row->setData(0, Qt::UserRole, f.Line);
        row->setData(1, Qt::UserRole, f.Column);
        row->setTextAlignment(0, Qt::AlignRight);
        row->setTextAlignment(1, Qt::AlignRight);
        rows << row;
    }
    FindingList->addTopLevelItems(rows);
    const std::size_t total = Report.Findings.size();
    SetTitle(total == 0 ? QString("no findings") : Counted(total, "finding", "findings"));
    if (total == 0) {
        if (OnStatus)
            OnStatus("No problems found.");
        return;
    }
    if (OnStatus)
        OnStatus("Document check: " + Counted(counts[0], "error", "errors") + ", " +
                 Counted(counts[1], "warning", "warnings") + ", " + Counted(counts[2], "note", "notes") + ".");
    show();
    raise();
    FindingList->setCurrentItem(FindingList->topLevelItem(0));
    FindingList->setFocus();
}

void TDocumentCheckList::JumpTo(int Row)
{
    const QTreeWidgetItem *item = FindingList->topLevelItem(Row);
    TMDIChild *doc = FDocument;
    if (!item || !doc)
        return;
    const TParaList &paras = doc->Editor->ParaList();
    // Lines and columns count characters, one byte each in the document's encoding.
    const int para = std::clamp(item->data(0, Qt::UserRole).toInt(), 1, paras.ParaCount());
    const int offset = std::clamp(item->data(1, Qt::UserRole).toInt(), 1, paras.ParaLength(para) + 1);
    const TLinePos at = paras.ParaToLine({para, offset});
    if (QMdiArea *area = doc->mdiArea())
        area->setActiveSubWindow(doc);
    doc->Editor->SetCaretPosition(at.Line, at.Col);
    doc->Editor->setFocus();
}

void TDocumentCheckList::CheckAgainButtonClick()
{
    if (FDocument)
        Check(*FDocument);
}

bool TDocumentCheckList::eventFilter(QObject *Watched, QEvent *E)
{
    if (FRun && E->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(E)->key() == Qt::Key_Escape) {
        Guarded([this] { Cancel(); });
        return true;
    }
    return QDockWidget::eventFilter(Watched, E);
}
