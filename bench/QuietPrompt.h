// A prompt for the benchmarks: no dialog ever opens. Message boxes answer OK (a subclass may
// answer otherwise or count them), every other dialog is cancelled, beeps are counted.
#pragma once

#include "platform/Prompt.h"

#include <vector>

class TQuietPrompt : public TPrompt {
public:
    TModalResult MessageDlg(const QString &, TMsgDlgType, TMsgDlgButtons, int, const QString &) override { return mrOk; }
    bool InputQuery(const QString &, const QString &, QString &) override { return false; }
    bool OpenFile(TFileDialogRequest &) override { return false; }
    bool SaveFile(TFileDialogRequest &) override { return false; }
    bool ChooseFont(TFontRequest &) override { return false; }
    bool ChooseColor(QColor &, std::vector<QColor> &) override { return false; }
    bool PrintDialog(QPrinter &) override { return false; }
    bool PrinterSetup(QPrinter &) override { return false; }
    void Beep() override { ++Beeps; }

    long Beeps = 0;
};
