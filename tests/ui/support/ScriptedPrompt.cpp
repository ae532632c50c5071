// The scripted prompt double.
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

TScriptedPrompt::TScriptedPrompt() { SetPrompt(this); }

TScriptedPrompt::Step TScriptedPrompt::MakeStep(TPromptRecord::Kind kind, const QString &text, bool prefix)
{
    Step s;
    s.kind = kind;
    s.text = text;
    s.prefix = prefix;
    return s;
}

TScriptedPrompt::~TScriptedPrompt()
{
    SetPrompt(nullptr);
    for (const Step &s : script)
        ADD_FAILURE() << "scripted prompt never shown: " << s.text.toStdString();
}

TScriptedPrompt::Step TScriptedPrompt::Next(TPromptRecord::Kind kind, const QString &what)
{
    if (script.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << what.toStdString();
        Step s;
        s.kind = kind;
        s.answer = mrCancel;
        return s;
    }
    Step s = script.front();
    script.pop_front();
    if (s.kind != kind)
        ADD_FAILURE() << "prompt of another kind than scripted: " << what.toStdString()
                      << " (scripted: " << s.text.toStdString() << ")";
    return s;
}

TScriptedPrompt &TScriptedPrompt::ExpectMessage(const QString &text, TModalResult answer, TMsgDlgType type,
                                                TMsgDlgButtons buttons)
{
    Step s = MakeStep(TPromptRecord::Message, text);
    s.answer = answer;
    s.type = type;
    s.buttons = buttons;
    script.push_back(s);
    return *this;
}

TScriptedPrompt &TScriptedPrompt::ExpectMessagePrefix(const QString &prefix, TModalResult answer)
{
    Step s = MakeStep(TPromptRecord::Message, prefix, true);
    s.answer = answer;
    script.push_back(s);
    return *this;
}

TScriptedPrompt &TScriptedPrompt::ExpectInput(const QString &prompt, const QString &answer)
{
    Step s = MakeStep(TPromptRecord::Input, prompt);
    s.input = answer;
    script.push_back(s);
    return *this;
}

TScriptedPrompt &TScriptedPrompt::ExpectOpen(const QString &answer)
{
    return ExpectOpenWith([answer](TFileDialogRequest &r) {
        if (answer.isEmpty())
            return false;
        r.FileName = answer;
        r.Files = QStringList{answer};
        return true;
    });
}

TScriptedPrompt &TScriptedPrompt::ExpectOpenWith(std::function<bool(TFileDialogRequest &)> handler)
{
    Step s = MakeStep(TPromptRecord::Open, "open dialog");
    s.file = std::move(handler);
    script.push_back(s);
    return *this;
}

TScriptedPrompt &TScriptedPrompt::ExpectSave(const QString &answer)
{
    return ExpectSaveWith([answer](TFileDialogRequest &r) {
        if (answer.isEmpty())
            return false;
        r.FileName = answer;
        r.Files = QStringList{answer};
        return true;
    });
}

TScriptedPrompt &TScriptedPrompt::ExpectSaveWith(std::function<bool(TFileDialogRequest &)> handler)
{
    Step s = MakeStep(TPromptRecord::Save, "save dialog");
    s.file = std::move(handler);
    script.push_back(s);
    return *this;
}

TScriptedPrompt &TScriptedPrompt::ExpectFont(std::function<bool(TFontRequest &)> handler)
{
    Step s = MakeStep(TPromptRecord::Font, "font dialog");
    s.font = std::move(handler);
    script.push_back(s);
    return *this;
}

TScriptedPrompt &TScriptedPrompt::ExpectColor(std::function<bool(QColor &, std::vector<QColor> &)> handler)
{
    Step s = MakeStep(TPromptRecord::Color, "colour dialog");
    s.color = std::move(handler);
    script.push_back(s);
    return *this;
}

TScriptedPrompt &TScriptedPrompt::ExpectPrint(std::function<bool(QPrinter &)> handler)
{
    Step s = MakeStep(TPromptRecord::Print, "print dialog");
    s.print = std::move(handler);
    script.push_back(s);
    return *this;
}

TModalResult TScriptedPrompt::MessageDlg(const QString &Msg, TMsgDlgType Type, TMsgDlgButtons Buttons, int HelpCtx,
                                         const QString &Caption)
{
    records.push_back({TPromptRecord::Message, Msg, Caption, Type, Buttons, HelpCtx});
    Step s = Next(TPromptRecord::Message, Msg);
    if (s.kind != TPromptRecord::Message)
        return mrCancel;
    if (s.prefix ? !Msg.startsWith(s.text) : Msg != s.text)
        ADD_FAILURE() << "message text\n  actual:   " << Msg.toStdString() << "\n  expected: " << s.text.toStdString();
    if (s.type != TMsgDlgType::mtCustom && s.type != Type)
        ADD_FAILURE() << "message type differs for: " << Msg.toStdString();
    if (s.buttons != 0 && s.buttons != Buttons)
        ADD_FAILURE() << "message buttons differ for: " << Msg.toStdString() << " actual " << Buttons
                      << " expected " << s.buttons;
    return s.answer;
}

bool TScriptedPrompt::InputQuery(const QString &Caption, const QString &PromptText, QString &Value)
{
    records.push_back({TPromptRecord::Input, PromptText, Caption});
    Step s = Next(TPromptRecord::Input, PromptText);
    if (s.kind != TPromptRecord::Input)
        return false;
    if (PromptText != s.text)
        ADD_FAILURE() << "input prompt\n  actual:   " << PromptText.toStdString() << "\n  expected: "
                      << s.text.toStdString();
    if (s.input.isNull())
        return false;
    Value = s.input;
    return true;
}

bool TScriptedPrompt::OpenFile(TFileDialogRequest &Request)
{
    records.push_back({TPromptRecord::Open, QString(), Request.Title, TMsgDlgType::mtCustom, 0, Request.HelpContext});
    Step s = Next(TPromptRecord::Open, "open dialog " + Request.Title);
    return s.file ? s.file(Request) : false;
}

bool TScriptedPrompt::SaveFile(TFileDialogRequest &Request)
{
    records.push_back({TPromptRecord::Save, QString(), Request.Title, TMsgDlgType::mtCustom, 0, Request.HelpContext});
    Step s = Next(TPromptRecord::Save, "save dialog " + Request.Title);
    return s.file ? s.file(Request) : false;
}

bool TScriptedPrompt::ChooseFont(TFontRequest &Font)
{
    records.push_back({TPromptRecord::Font, QString(), QString()});
    Step s = Next(TPromptRecord::Font, "font dialog");
    return s.font ? s.font(Font) : false;
}

bool TScriptedPrompt::ChooseColor(QColor &Color, std::vector<QColor> &CustomColors)
{
    records.push_back({TPromptRecord::Color, QString(), QString()});
    Step s = Next(TPromptRecord::Color, "colour dialog");
    return s.color ? s.color(Color, CustomColors) : false;
}

bool TScriptedPrompt::PrintDialog(QPrinter &Printer)
{
    records.push_back({TPromptRecord::Print, QString(), QString()});
    Step s = Next(TPromptRecord::Print, "print dialog");
    return s.print ? s.print(Printer) : false;
}

bool TScriptedPrompt::PrinterSetup(QPrinter &Printer)
{
    records.push_back({TPromptRecord::PrintSetup, QString(), QString()});
    Step s = Next(TPromptRecord::Print, "printer setup");
    return s.print ? s.print(Printer) : false;
}
