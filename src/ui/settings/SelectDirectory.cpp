// The directory chooser: a directory-only file dialog shown through the modal dialog hook.
#include "ui/settings/SelectDirectory.h"

#include "platform/DialogExec.h"

#include <QDir>
#include <QFileDialog>

bool SelectDirectory(QWidget *Parent, QString &Directory)
{
    const QString start = !Directory.isEmpty() && QDir(Directory).exists() ? Directory : QDir::currentPath();
    QFileDialog dialog(Parent, "Select Directory", start);
    dialog.setObjectName("DirDlg");
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty())
        return false;
    Directory = QDir::toNativeSeparators(QDir::cleanPath(chosen.front()));
    return true;
}
