// The directory chooser of the Preferences dialog's working directory.
#pragma once

#include <QString>

class QWidget;

// Shows a dialog captioned "Select Directory" (through the modal dialog hook), starting at
// Directory when it names one; on OK the chosen directory goes to Directory and true returns.
bool SelectDirectory(QWidget *Parent, QString &Directory);
