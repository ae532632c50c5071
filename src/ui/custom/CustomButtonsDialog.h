// TCustomButtonRemoveDlg: the "Custom Buttons" dialog: lists the custom bar's buttons and adds, edits and removes them.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;
class TCustButtonWidget;
class TCustomButtonBar;

class TCustomButtonRemoveDlg : public QDialog {
    Q_OBJECT
public:
    explicit TCustomButtonRemoveDlg(TCustomButtonBar &Bar, QWidget *Parent = nullptr);

    // Lists the bar's buttons in bar order by caption, leaving out hidden and unnamed buttons
    // and captions that are empty or "-".
    void RebuildList();
    // The selected entry's row, or -1.
    int SelectedRow() const;
    // The button the entry at Row stands for, or nullptr.
    TCustButtonWidget *ButtonAt(int Row) const;

    // "&New...": asks for a caption (an empty one gives the default) and selects the new entry.
    void NewBtnClick();
    // "&Edit...": the button editor on the selected entry's button; the list keeps its texts.
    void EditBtnClick();
    // "&Remove": destroys the selected entry's button at once and selects the entry now at its
    // place, or the last one.
    void RemoveBtnClick();

    QListWidget *ListBox1 = nullptr;
    QPushButton *NewBtn = nullptr, *EditBtn = nullptr, *RemoveBtn = nullptr, *CloseBtn = nullptr;

private:
    TCustomButtonBar &FBar;
};

// Runs the dialog on the main window's custom bar; however the dialog closes, all buttons are
// then written to CUSTOM.HTB (a failure is reported by the caller's error handling).
void RunCustomButtonsDialog(TCustomButtonBar &Bar, QWidget *Parent);
