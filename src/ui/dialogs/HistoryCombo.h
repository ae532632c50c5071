// The binding of a markup dialog's drop-down to its history file in the working directory.
#pragma once

#include "core/custom/HistoryList.h"

class QComboBox;

// A drop-down whose list is a history file (IMAGES.HIS, URLS.HIS, HOSTS.HIS) in the working
// directory. Creating the binding fills the list from the file, keeping the combo box's text; a
// file that cannot be read is reported through the standard error report and leaves it empty.
class THistoryCombo {
public:
    THistoryCombo(QComboBox &Combo, const char *HistoryName);

    // OK of the dialog: adds the combo box's text when no entry matches it ignoring letter case,
    // then writes the whole list back. A failed write is reported; the caller goes on.
    void AddAndSave();

    const THistoryList &List() const { return History; }

private:
    // Lets every entry show whole in the drop-down.
    void ShowEntriesWhole();

    QComboBox &FCombo;
    THistoryList History;
};
