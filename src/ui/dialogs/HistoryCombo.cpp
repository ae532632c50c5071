// The binding of a markup dialog's drop-down to its history file.
#include "ui/dialogs/HistoryCombo.h"

#include "core/custom/CustomFiles.h"
#include "core/settings/SetupManager.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/dialogs/DialogParts.h"

#include <QComboBox>
#include <QStringList>

THistoryCombo::THistoryCombo(QComboBox &Combo, const char *HistoryName)
    : FCombo(Combo), History(HistoryFileName(WorkingDirectory(), HistoryName))
{
    const QString text = FCombo.currentText();
    FCombo.clear();
    try {
        History.Load();
    } catch (const ECustomFileError &e) {
        ShowException(e);
    }
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(History.Items().size()));
    for (const std::string &entry : History.Items())
        entries << BytesToQString(entry);
    FCombo.addItems(entries);
    // Filling the list must not put its first entry into the edit.
    FCombo.setCurrentIndex(-1);
    FCombo.setEditText(text);
}

void THistoryCombo::AddAndSave()
{
    const std::string text = ComboText(FCombo);
    if (History.Add(text))
        FCombo.addItem(BytesToQString(text));
    try {
        History.Save();
    } catch (const ECustomFileError &e) {
        ShowException(e);
    }
}
