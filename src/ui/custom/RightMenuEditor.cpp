// TMenuEditor: the "Edit Right Mouse Button Menu" dialog: the candidates, the menu being edited, dragging
// between them, and Up, Down and Remove.
#include "ui/custom/RightMenuEditor.h"

#include "core/settings/SetupManager.h"
#include "core/settings/Profile.h"
#include "platform/DialogExec.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/app/MainHost.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/document/DocumentWindow.h"
#include "ui/document/RightMenu.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

enum TEntryRole { CaptionRole = Qt::UserRole, NameRole, KindRole };

} // namespace

int TMenuEntryDelegate::KindColumnStart(int RowWidth, const QFontMetrics &Metrics)
{
    // The kind column starts at three quarters of the row, or earlier where its longest text
    // would not fit there: the caption gives way, the kind is always read whole.
    int widest = 0;
    for (const auto kind : {TRightMenuTargetKind::MenuItem, TRightMenuTargetKind::Button,
                            TRightMenuTargetKind::CustomButton, TRightMenuTargetKind::Unknown})
        widest = std::max(widest, Metrics.horizontalAdvance(QString::fromLatin1(RightMenuKindText(kind))));
    return std::max(0, std::min(RowWidth * 3 / 4, RowWidth - widest - 4));
}

void TMenuEntryDelegate::paint(QPainter *Painter, const QStyleOptionViewItem &Option, const QModelIndex &Index) const
{
    QStyleOptionViewItem option = Option;
    initStyleOption(&option, Index);
    const bool selected = option.state & QStyle::State_Selected;
    Painter->save();
    Painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    Painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect r = option.rect;
    const int split = KindColumnStart(r.width(), option.fontMetrics);
    const std::string caption = QStringToBytes(Index.data(CaptionRole).toString());
    const auto kind = static_cast<TRightMenuTargetKind>(Index.data(KindRole).toInt());
    const QRect captionRect(r.left() + 4, r.top(), std::max(0, split - 4), r.height());
    Painter->setClipRect(captionRect);
    Painter->drawText(captionRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      BytesToQString(CaptionWithoutFirstAmpersand(caption)));
    Painter->setClipping(false);
    const QRect kindRect(r.left() + split + 1, r.top(), r.width() - split - 1, r.height());
    Painter->drawText(kindRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      QString::fromLatin1(RightMenuKindText(kind)));
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = r;
        focus.state = option.state;
        focus.backgroundColor = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
        QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, Painter);
    }
    Painter->restore();
}

QSize TMenuEntryDelegate::sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &Index) const
{
    return {1, QStyledItemDelegate::sizeHint(Option, Index).height()};
}

// ---------------------------------------------------------------------------------------------

namespace {

void SetUpEntryList(QListWidget &List)
{
    List.setSelectionMode(QAbstractItemView::SingleSelection);
    List.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List.setUniformItemSizes(true);
}

} // namespace

TMenuItemsList::TMenuItemsList(TMenuEditor &Editor, QWidget *Parent) : QListWidget(Parent), FEditor(Editor)
{
    SetUpEntryList(*this);
}

void TMenuItemsList::mousePressEvent(QMouseEvent *E)
{
    if (E->button() != Qt::LeftButton) {
        QListWidget::mousePressEvent(E);
        return;
    }
    const QModelIndex index = indexAt(E->position().toPoint());
    if (!index.isValid())
        return;
    Guarded([this, &index] { FEditor.MenuItemsListBoxMouseDown(index.row()); });
    auto *data = new QMimeData; // owned by the drag
    data->setData(QString::fromLatin1(MenuEntryMimeType), index.data(NameRole).toString().toUtf8());
    auto *drag = new QDrag(this); // deleted by Qt when the drag ends
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
}

TRightMouseList::TRightMouseList(TMenuEditor &Editor, QWidget *Parent) : QListWidget(Parent), FEditor(Editor)
{
    SetUpEntryList(*this);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

void TRightMouseList::dragEnterEvent(QDragEnterEvent *E)
{
    E->acceptProposedAction();
}

void TRightMouseList::dragMoveEvent(QDragMoveEvent *E)
{
    E->acceptProposedAction();
}

void TRightMouseList::dropEvent(QDropEvent *E)
{
    E->acceptProposedAction();
    Guarded([this] { FEditor.RightMouseListBoxDragDrop(); });
}

// ---------------------------------------------------------------------------------------------

TMenuEditor::TMenuEditor(TMainHost &Main, TMDIChild *Doc, QWidget *Parent) : QDialog(Parent)
{
    setObjectName("MenuEditor");
    setWindowTitle("Edit Right Mouse Button Menu");

    auto *delegate = new TMenuEntryDelegate(this);
    MenuItemsListBox = new TMenuItemsList(*this, this);
    MenuItemsListBox->setObjectName("MenuItemsListBox");
    MenuItemsListBox->setItemDelegate(delegate);
    RightMouseListBox = new TRightMouseList(*this, this);
    RightMouseListBox->setObjectName("RightMouseListBox");
    RightMouseListBox->setItemDelegate(delegate);
    UpButton = new QToolButton(this);
    UpButton->setObjectName("UpButton");
    UpButton->setArrowType(Qt::UpArrow);
    DownButton = new QToolButton(this);
    DownButton->setObjectName("DownButton");
    DownButton->setArrowType(Qt::DownArrow);
    RemoveButton = NewButton(this, "RemoveButton", "&Remove");
    RemoveButton->setToolTip("Remove the selected item from the Right-Mouse Menu");
    RemoveButton->setStatusTip(RemoveButton->toolTip());
    OKBtn = NewButton(this, "OKBtn", "OK");
    OKBtn->setDefault(true);
    CancelBtn = NewButton(this, "CancelBtn", "Cancel");
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(UpButton, &QToolButton::clicked, this, [this] { Guarded([this] { UpButtonClick(); }); });
    connect(DownButton, &QToolButton::clicked, this, [this] { Guarded([this] { DownButtonClick(); }); });
    connect(RemoveButton, &QPushButton::clicked, this, [this] { Guarded([this] { RemoveButtonClick(); }); });
    // The view makes an entry current when it takes the focus; only a selected one counts.
    connect(RightMouseListBox, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> selected = RightMouseListBox->selectedItems();
        FList.Select(selected.isEmpty() ? -1 : RightMouseListBox->row(selected.first()));
    });

    auto *candidatesLabel = new QLabel("Available Menu Items and Buttons", this);
    candidatesLabel->setBuddy(MenuItemsListBox);
    auto *menuLabel = new QLabel("Right-Mouse Menu Items (Drag desired items in here)", this);
    menuLabel->setBuddy(RightMouseListBox);
    auto *grid = new QGridLayout;
    grid->addWidget(candidatesLabel, 0, 0);
    grid->addWidget(menuLabel, 0, 1);
    grid->addWidget(MenuItemsListBox, 1, 0);
    grid->addWidget(RightMouseListBox, 1, 1);
    auto *arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(UpButton);
    arrows->addWidget(DownButton);
    arrows->addStretch();
    grid->addLayout(arrows, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    auto *row = new QHBoxLayout;
    row->addWidget(RemoveButton);
    row->addStretch();
    row->addWidget(OKBtn);
    row->addWidget(CancelBtn);
    auto *main = new QVBoxLayout(this);
    main->addLayout(grid, 1);
    main->addLayout(row);
    resize(760, 400);

    // 1. The candidates.
    for (const TRightMenuTarget &t : RightMenuCandidates(Main, Doc)) {
        auto *item = new QListWidgetItem(MenuItemsListBox);
        SetEntry(*item, t.Entry);
    }
    // 2. The menu as stored.
    const std::vector<std::string> names = ReadRightMenuNames(TProfile(SettingsFileName()));
    FList = TRightMenuList(ResolveRightMenu(names, [&](const std::string &Name) -> std::optional<TRightMenuEntry> {
        if (auto t = FindRightMenuTarget(Main, Doc, Name))
            return t->Entry;
        return std::nullopt;
    }));
    ShowList();
}

void TMenuEditor::SetEntry(QListWidgetItem &Item, const TRightMenuEntry &Entry)
{
    const QString caption = BytesToQString(Entry.Caption);
    Item.setText(caption);
    Item.setData(CaptionRole, caption);
    Item.setData(NameRole, BytesToQString(Entry.TargetName));
    Item.setData(KindRole, int(Entry.Kind));
}

TRightMenuEntry TMenuEditor::EntryOf(const QListWidgetItem &Item)
{
    TRightMenuEntry e;
    e.Caption = QStringToBytes(Item.data(CaptionRole).toString());
    e.TargetName = QStringToBytes(Item.data(NameRole).toString());
    e.Kind = static_cast<TRightMenuTargetKind>(Item.data(KindRole).toInt());
    return e;
}

void TMenuEditor::ShowList()
{
    const QSignalBlocker block(RightMouseListBox);
    RightMouseListBox->clear();
    for (const TRightMenuEntry &e : FList.Entries()) {
        auto *item = new QListWidgetItem(RightMouseListBox);
        SetEntry(*item, e);
    }
    RightMouseListBox->setCurrentRow(FList.Selected());
    if (FList.Selected() < 0)
        RightMouseListBox->clearSelection();
}

void TMenuEditor::MenuItemsListBoxMouseDown(int Row)
{
    QListWidgetItem *item = MenuItemsListBox->item(Row);
    if (!item)
        return;
    MenuItemsListBox->setCurrentItem(item);
    FDragged = EntryOf(*item);
}

void TMenuEditor::RightMouseListBoxDragDrop()
{
    if (!FDragged)
        return;
    if (const std::optional<std::string> warning = FList.Drop(*FDragged)) {
        Prompt().MessageDlg(BytesToQString(*warning), TMsgDlgType::mtWarning, mbOK);
        return;
    }
    ShowList();
    RightMouseListBox->setFocus();
}

void TMenuEditor::UpButtonClick()
{
    FList.MoveUp();
    ShowList();
}

void TMenuEditor::DownButtonClick()
{
    FList.MoveDown();
    ShowList();
}

void TMenuEditor::RemoveButtonClick()
{
    FList.Remove();
    ShowList();
}

void EditRightMenu(TMDIChild &Doc)
{
    TMainHost *main = MainHost();
    if (!main)
        return;
    std::vector<std::string> names;
    {
        TMenuEditor editor(*main, &Doc, main->Window());
        if (ExecDialog(editor) != QDialog::Accepted)
            return;
        names = editor.Names();
    }
    TProfile settings(SettingsFileName());
    WriteRightMenuNames(settings, names);
    BuildRightMenu(Doc);
}

