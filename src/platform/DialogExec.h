// The one hook through which modal dialogs are shown, so tests can fill their fields and press
// OK or Cancel instead of running a real modal loop.
#pragma once

#include <functional>

class QDialog;

// Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
int ExecDialog(QDialog &Dialog);

// Replaces the hook (tests); an empty function restores QDialog::exec.
using TDialogExecHook = std::function<int(QDialog &)>;
void SetDialogExecHook(TDialogExecHook hook);
// What runs instead of QDialog::exec while no hook is installed (the test programs make an
// unexpected dialog fail at once instead of waiting for a user); empty means QDialog::exec.
void SetDialogExecFallback(TDialogExecHook fallback);
