// The binding of a markup dialog's drop-down to its history file.
#include "ui/dialogs/HistoryCombo.h"

#include "core/custom/CustomFiles.h"
#include "core/settings/SetupManager.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/dialogs/DialogParts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QStyle>

#include <algorithm>

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
    ShowEntriesWhole();
    // Filling the list must not put its first entry into the edit.
    FCombo.setCurrentIndex(-1);
    FCombo.setEditText(text);
}

void THistoryCombo::AddAndSave()
{
    const std::string text = ComboText(FCombo);
    if (History.Add(text)) {
        FCombo.addItem(BytesToQString(text));
        ShowEntriesWhole();
    }
    try {
        History.Save();
    } catch (const ECustomFileError &e) {
        ShowException(e);
    }
}

void THistoryCombo::ShowEntriesWhole()
{
    // Entries are whole tags and addresses: the drop-down is as wide as the longest (up to the
    // screen), anything still too long is cut at its end, and the whole text is the tooltip.
    QAbstractItemView *view = FCombo.view();
    view->setTextElideMode(Qt::ElideRight);
    const QFontMetrics metrics(view->font());
    int widest = 0;
    for (int i = 0; i < FCombo.count(); ++i) {
        const QString text = FCombo.itemText(i);
        FCombo.setItemData(i, text, Qt::ToolTipRole);
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    const QScreen *screen = FCombo.screen() ? FCombo.screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() * 9 / 10 : widest;
    const int margins = 2 * view->frameWidth() + 4 * FCombo.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) +
                        FCombo.style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    view->setMinimumWidth(std::min(widest + margins, room));
}
