// The modal dialog hook.
#include "platform/DialogExec.h"

#include <QDialog>

namespace {
TDialogExecHook &Hook()
{
    static TDialogExecHook hook;
    return hook;
}

TDialogExecHook &Fallback()
{
    static TDialogExecHook fallback;
    return fallback;
}
}

int ExecDialog(QDialog &Dialog)
{
    if (Hook())
        return Hook()(Dialog);
    if (Fallback())
        return Fallback()(Dialog);
    return Dialog.exec();
}

void SetDialogExecHook(TDialogExecHook hook)
{
    Hook() = std::move(hook);
}

void SetDialogExecFallback(TDialogExecHook fallback)
{
    Fallback() = std::move(fallback);
}
