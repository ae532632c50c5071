// TMenuEditor: the "Edit Right Mouse Button Menu" dialog: the candidates, the menu being edited, dragging
// between them, and Up, Down and Remove.
#pragma once

#include "core/custom/RightMenu.h"

#include <QDialog>
#include <QListWidget>
#include <QStyledItemDelegate>

#include <optional>
#include <string>
#include <vector>

class QPushButton;
class QToolButton;
class TMainHost;
class TMDIChild;
class TMenuEditor;

// Draws an entry as the editor's lists show it: from 4 pixels in the caption without its first
// "&", clipped at three quarters of the row, then the kind of its target.
class TMenuEntryDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *Painter, const QStyleOptionViewItem &Option, const QModelIndex &Index) const override;
    // Rows are as wide as the list, whatever the caption's length.
    QSize sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &Index) const override;
    // Where a row's kind column starts: three quarters in, or earlier so its text shows whole.
    static int KindColumnStart(int RowWidth, const QFontMetrics &Metrics);
};

// The candidates' list: a left press selects the entry under the pointer and starts dragging it.
class TMenuItemsList : public QListWidget {
    Q_OBJECT
public:
    TMenuItemsList(TMenuEditor &Editor, QWidget *Parent);

protected:
    void mousePressEvent(QMouseEvent *E) override;

private:
    TMenuEditor &FEditor;
};

// The menu's list: accepts every drop.
class TRightMouseList : public QListWidget {
    Q_OBJECT
public:
    TRightMouseList(TMenuEditor &Editor, QWidget *Parent);

protected:
    void dragEnterEvent(QDragEnterEvent *E) override;
    void dragMoveEvent(QDragMoveEvent *E) override;
    void dropEvent(QDropEvent *E) override;

private:
    TMenuEditor &FEditor;
};

class TMenuEditor : public QDialog {
    Q_OBJECT
public:
    // Fills the candidates from the main window, the custom bar and Doc (may be null), and the
    // menu from section Custom-Test (names looked up in the main window, Doc, the custom bar;
    // names not found are left out).
    TMenuEditor(TMainHost &Main, TMDIChild *Doc, QWidget *Parent = nullptr);

    // The menu's target names in order, as OK stores them.
    std::vector<std::string> Names() const { return FList.Names(); }
    const TRightMenuList &List() const { return FList; }

    // A left press on candidate Row: selects it and remembers its target for the drop.
    void MenuItemsListBoxMouseDown(int Row);
    // A drop on the menu's list: appends the remembered target, or warns when it is on the
    // menu already.
    void RightMouseListBoxDragDrop();
    void UpButtonClick();
    void DownButtonClick();
    void RemoveButtonClick();

    TMenuItemsList *MenuItemsListBox = nullptr;
    TRightMouseList *RightMouseListBox = nullptr;
    QToolButton *UpButton = nullptr, *DownButton = nullptr;
    QPushButton *RemoveButton = nullptr, *OKBtn = nullptr, *CancelBtn = nullptr;

private:
    static void SetEntry(QListWidgetItem &Item, const TRightMenuEntry &Entry);
    static TRightMenuEntry EntryOf(const QListWidgetItem &Item);
    // Shows the menu's entries and selection.
    void ShowList();

    TRightMenuList FList;
    std::optional<TRightMenuEntry> FDragged;
};

// The drag's data format between the two lists.
inline constexpr const char *MenuEntryMimeType = "application/x-pelmar-menu-entry";

// Runs the menu editor for a document window; after OK the list is stored and the window's menu
// rebuilt.
void EditRightMenu(TMDIChild &Doc);
