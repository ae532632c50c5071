// The modal dialog hook.
#include "platform/DialogExec.h"

#include <QDialog>

namespace {
TDialogExecHook &Hook()
{
    static TDialogExecHook hook;
    return hook;
}
}

int ExecDialog(QDialog &Dialog)
{
    if (Hook())
        return Hook()(Dialog);
    return Dialog.exec();
}

void SetDialogExecHook(TDialogExecHook hook)
{
    Hook() = std::move(hook);
}
