// The main window's Preferences and HTML Page Builder commands, applying the syntax colours to
// the open documents, and the document windows' colour chooser.
#include "platform/DialogExec.h"
#include "platform/TextCodec.h"
#include "ui/app/MainWindow.h"
#include "ui/dialogs/PageBuilder.h"
#include "ui/document/DocumentWindow.h"
#include "ui/settings/PreferencesDialog.h"

#include <QAction>
#include <QMdiSubWindow>

void TMainForm::ConnectSetupCommands()
{
    OnTrigger(Setup1, &TMainForm::Setup1Click);
    OnTrigger(HTMLPageBuilder1, &TMainForm::HTMLPageBuilder1Click);
    TMDIChild::SetCommandHook(TCommandKind::ColorChooser, [](TMDIChild &Doc, const TMarkupCommand &) {
        QColor color;
        QString text;
        PickColor(color, text);
        if (text.isEmpty())
            return false;
        Doc.InsertPlainText(QStringToBytes(text));
        return true;
    });
}

void TMainForm::Setup1Click()
{
    TTabbedNotebookDlg dialog(*this, this);
    if (ExecDialog(dialog) == QDialog::Accepted)
        ApplyEditorColors();
}

void TMainForm::HTMLPageBuilder1Click()
{
    TPageWizDlg dialog(this, this);
    ExecDialog(dialog);
}

void TMainForm::ApplyEditorColors()
{
    for (QMdiSubWindow *sub : Children())
        if (auto *doc = qobject_cast<TMDIChild *>(sub))
            doc->ApplyEditorColors();
}
