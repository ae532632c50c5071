// TDirectoryDialog: the directory dialog (Select Directory): a drive (file system root) and a directory tree below
// it; the chosen directory is the tree's current one.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TDirectoryDialog : public QDialog {
    Q_OBJECT
public:
    explicit TDirectoryDialog(QWidget *Parent = nullptr);

    QComboBox *DriveComboBox1 = nullptr;
    QTreeWidget *DirectoryListBox1 = nullptr;
    QLabel *DirLabel = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;

    // The tree's current directory (absolute, without a trailing "/" except for the root).
    QString Directory() const;
    // Opens the tree down to Dir and makes it current; false (nothing changes) when Dir is not an
    // existing directory.
    bool SetDirectory(const QString &Dir);

    void DriveComboBox1Change();
    void DirectoryListBox1Change();

private:
    QTreeWidgetItem *ShowRoot(const QString &Root);
    // Lists an item's subdirectories once, when it is first opened.
    void FillChildren(QTreeWidgetItem *Item);
};

// Shows the directory dialog starting at Directory (the current directory when that names
// none); on OK the chosen directory goes to Directory and true returns.
bool ExecDirectoryDialog(QWidget *Parent, QString &Directory);
