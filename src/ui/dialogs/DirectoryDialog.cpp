// TDirectoryDialog: the directory dialog.
#include "ui/dialogs/DirectoryDialog.h"

#include "platform/DialogExec.h"
#include "ui/dialogs/DialogParts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

QString ItemPath(const QTreeWidgetItem *Item)
{
    return Item ? Item->data(0, kPathRole).toString() : QString();
}

} // namespace

TDirectoryDialog::TDirectoryDialog(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("DirectoryDialog");
    setWindowTitle("Select Directory");
    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName("DriveComboBox1");
    for (const QFileInfo &drive : QDir::drives())
        DriveComboBox1->addItem(drive.absoluteFilePath());
    DirectoryListBox1 = new QTreeWidget(this);
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    DirectoryListBox1->setHeaderHidden(true);
    DirectoryListBox1->setColumnCount(1);
    DirectoryListBox1->setMinimumSize(280, 260);
    DirLabel = new QLabel(this);
    DirLabel->setObjectName("DirLabel");
    const TDialogButtons buttons = NewDialogButtons(*this, nullptr);
    OKBtn = buttons.OK;
    CancelBtn = buttons.Cancel;
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto *drives = new QHBoxLayout;
    auto *driveLabel = new QLabel("Dri&ves:", this);
    driveLabel->setBuddy(DriveComboBox1);
    drives->addWidget(driveLabel);
    drives->addWidget(DriveComboBox1, 1);
    auto *dir = new QHBoxLayout;
    dir->addWidget(new QLabel("Directory:", this));
    dir->addWidget(DirLabel, 1);
    auto *row = NewButtonRow({OKBtn, CancelBtn});
    auto *main = new QVBoxLayout(this);
    main->addLayout(dir);
    main->addWidget(DirectoryListBox1, 1);
    main->addLayout(drives);
    main->addLayout(row);

    connect(DirectoryListBox1, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) { FillChildren(item); });
    connect(DirectoryListBox1, &QTreeWidget::currentItemChanged, this, &TDirectoryDialog::DirectoryListBox1Change);
    connect(DriveComboBox1, &QComboBox::currentIndexChanged, this, &TDirectoryDialog::DriveComboBox1Change);
    DriveComboBox1Change();
}

QTreeWidgetItem *TDirectoryDialog::ShowRoot(const QString &Root)
{
    DirectoryListBox1->clear();
    auto *item = new QTreeWidgetItem(DirectoryListBox1, QStringList{Root});
    item->setData(0, kPathRole, Root);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

void TDirectoryDialog::FillChildren(QTreeWidgetItem *Item)
{
    if (Item->data(0, kFilledRole).toBool())
        return;
    Item->setData(0, kFilledRole, true);
    const QDir dir(ItemPath(Item));
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        auto *child = new QTreeWidgetItem(Item, QStringList{name});
        child->setData(0, kPathRole, dir.absoluteFilePath(name));
        child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (names.isEmpty())
        Item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void TDirectoryDialog::DriveComboBox1Change()
{
    const QString root = DriveComboBox1->currentText().isEmpty() ? QDir::rootPath() : DriveComboBox1->currentText();
    QTreeWidgetItem *item = ShowRoot(root);
    item->setExpanded(true);
    DirectoryListBox1->setCurrentItem(item);
    DirectoryListBox1Change();
}

void TDirectoryDialog::DirectoryListBox1Change()
{
    DirLabel->setText(Directory());
}

QString TDirectoryDialog::Directory() const
{
    return ItemPath(DirectoryListBox1->currentItem());
}

bool TDirectoryDialog::SetDirectory(const QString &Dir)
{
    const QFileInfo info(Dir);
    if (Dir.isEmpty() || !info.isDir())
        return false;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    // The drive whose root the path starts with; on this system there is one, "/".
    int drive = -1;
    for (int i = 0; i < DriveComboBox1->count(); ++i)
        if (path.startsWith(DriveComboBox1->itemText(i)) &&
            (drive < 0 || DriveComboBox1->itemText(i).size() > DriveComboBox1->itemText(drive).size()))
            drive = i;
    if (drive < 0)
        return false;
    if (DriveComboBox1->currentIndex() != drive)
        DriveComboBox1->setCurrentIndex(drive);
    QTreeWidgetItem *item = DirectoryListBox1->topLevelItem(0);
    const QString root = ItemPath(item);
    const QStringList parts = path.mid(root.size()).split('/', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        FillChildren(item);
        item->setExpanded(true);
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == part)
                next = item->child(i);
        // A hidden directory is not listed; it is shown below its parent when asked for.
        if (!next) {
            next = new QTreeWidgetItem(item, QStringList{part});
            next->setData(0, kPathRole, QDir(ItemPath(item)).absoluteFilePath(part));
            next->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        }
        item = next;
    }
    DirectoryListBox1->setCurrentItem(item);
    DirectoryListBox1->scrollToItem(item);
    DirectoryListBox1Change();
    return true;
}

bool ExecDirectoryDialog(QWidget *Parent, QString &Directory)
{
    TDirectoryDialog dlg(Parent);
    if (!dlg.SetDirectory(Directory))
        dlg.SetDirectory(QDir::currentPath());
    if (ExecDialog(dlg) != QDialog::Accepted)
        return false;
    const QString chosen = dlg.Directory();
    if (chosen.isEmpty())
        return false;
    Directory = chosen;
    return true;
}
