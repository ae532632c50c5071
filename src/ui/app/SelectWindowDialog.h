// TSelectWindowDialog: the "Select Window" list that the Window menu's "More Windows..." opens
// when more document windows are open than the menu lists.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

// Lists every window caption; OK (or a double-click) chooses the selected one.
class TSelectWindowDialog : public QDialog {
    Q_OBJECT
public:
    // Captions in window order; Current is selected at first (-1 for none).
    TSelectWindowDialog(const QStringList &Captions, int Current, QWidget *Parent = nullptr);

    // The chosen window's place in the list, -1 when none is selected.
    int Chosen() const;

    QListWidget *WindowList = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
};
