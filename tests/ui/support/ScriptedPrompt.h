// A prompt double for UI tests: answers are scripted in order, every prompt is recorded, and an
// unexpected or unused prompt fails the test.
#pragma once

#include "platform/Prompt.h"

#include <deque>
#include <functional>

struct TPromptRecord {
    enum Kind { Message, Input, Open, Save, Font, Color, Print, PrintSetup } kind = Message;
    QString text;        // message or input prompt
    QString caption;     // caption or dialog title
    TMsgDlgType type = TMsgDlgType::mtCustom;
    TMsgDlgButtons buttons = 0;
    int helpCtx = 0;
};

class TScriptedPrompt final : public TPrompt {
public:
    TScriptedPrompt();                 // installs itself as the application's prompt
    ~TScriptedPrompt() override;       // uninstalls; fails the test if answers were left unused

    // Expect a message box with this exact text; answer with the button.
    TScriptedPrompt &ExpectMessage(const QString &text, TModalResult answer, TMsgDlgType type = TMsgDlgType::mtCustom,
                                   TMsgDlgButtons buttons = 0);
    // Expect a message box whose text starts with the prefix.
    TScriptedPrompt &ExpectMessagePrefix(const QString &prefix, TModalResult answer);
    // Expect an input box; a null QString answer means Cancel.
    TScriptedPrompt &ExpectInput(const QString &prompt, const QString &answer);
    // Expect an open or save dialog; an empty answer means Cancel.
    TScriptedPrompt &ExpectOpen(const QString &answer);
    TScriptedPrompt &ExpectOpenWith(std::function<bool(TFileDialogRequest &)> handler);
    TScriptedPrompt &ExpectSave(const QString &answer);
    TScriptedPrompt &ExpectSaveWith(std::function<bool(TFileDialogRequest &)> handler);
    TScriptedPrompt &ExpectFont(std::function<bool(TFontRequest &)> handler);
    TScriptedPrompt &ExpectColor(std::function<bool(QColor &, std::vector<QColor> &)> handler);
    TScriptedPrompt &ExpectPrint(std::function<bool(QPrinter &)> handler);

    const std::vector<TPromptRecord> &Records() const { return records; }
    int Beeps() const { return beeps; }
    bool AllUsed() const { return script.empty(); }

    TModalResult MessageDlg(const QString &Msg, TMsgDlgType Type, TMsgDlgButtons Buttons, int HelpCtx,
                            const QString &Caption) override;
    bool InputQuery(const QString &Caption, const QString &Prompt, QString &Value) override;
    bool OpenFile(TFileDialogRequest &Request) override;
    bool SaveFile(TFileDialogRequest &Request) override;
    bool ChooseFont(TFontRequest &Font) override;
    bool ChooseColor(QColor &Color, std::vector<QColor> &CustomColors) override;
    bool PrintDialog(QPrinter &Printer) override;
    bool PrinterSetup(QPrinter &Printer) override;
    void Beep() override { ++beeps; }

private:
    struct Step {
        TPromptRecord::Kind kind = TPromptRecord::Message;
        QString text;
        bool prefix = false;
        TModalResult answer = mrNone;
        TMsgDlgType type = TMsgDlgType::mtCustom;
        TMsgDlgButtons buttons = 0;
        QString input;
        std::function<bool(TFileDialogRequest &)> file;
        std::function<bool(TFontRequest &)> font;
        std::function<bool(QColor &, std::vector<QColor> &)> color;
        std::function<bool(QPrinter &)> print;
    };
    Step Next(TPromptRecord::Kind kind, const QString &what);
    static Step MakeStep(TPromptRecord::Kind kind, const QString &text, bool prefix = false);

    std::deque<Step> script;
    std::vector<TPromptRecord> records;
    int beeps = 0;
};
