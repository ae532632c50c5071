// The one interface through which windows ask the user: message boxes, the input box and the
// common dialogs. The Qt implementation shows real dialogs; tests install a scripted double.
#pragma once

#include <QString>
#include <QStringList>
#include <QFont>
#include <QColor>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class QPrinter;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message box, combined as a bit set.
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0, mbNo = 1u << 1, mbOK = 1u << 2, mbCancel = 1u << 3,
    mbAbort = 1u << 4, mbRetry = 1u << 5, mbIgnore = 1u << 6, mbAll = 1u << 7, mbHelp = 1u << 8
};
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

// The result of a modal dialog or message box.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                    mrYes = 6, mrNo = 7, mrAll = 8 };

// Options and results of the open and save file dialogs. Filter is in the Windows form
// "Desc|*.a;*.b|Desc2|*.c|"; FilterIndex counts from 1.
struct TFileDialogRequest {
    QString Title;
    QString Filter;
    int FilterIndex = 1;
    QString InitialDir;
    QString FileName;       // initial name; on success the chosen full name
    QString DefaultExt;
    int HelpContext = 0;
    bool OverwritePrompt = false;
    bool MultiSelect = false;
    QStringList Files;      // on success with MultiSelect: every chosen file
};

// A font as the settings keep it: face, pixel height (negative = character height), styles.
struct TFontRequest {
    QString Name;
    int Height = -12;
    bool Bold = false;
    bool Italic = false;
    bool FixedPitchOnly = true;
};

class TPrompt {
public:
    virtual ~TPrompt() = default;
    // A message box; Caption empty means the application title. Returns the button pressed.
    virtual TModalResult MessageDlg(const QString &Msg, TMsgDlgType Type, TMsgDlgButtons Buttons,
                                    int HelpCtx = 0, const QString &Caption = QString()) = 0;
    // The one-line input box: false when cancelled; Value holds the initial and the entered text.
    virtual bool InputQuery(const QString &Caption, const QString &Prompt, QString &Value) = 0;
    virtual bool OpenFile(TFileDialogRequest &Request) = 0;
    virtual bool SaveFile(TFileDialogRequest &Request) = 0;
    virtual bool ChooseFont(TFontRequest &Font) = 0;
    // The colour dialog with 16 custom colours (in and out). Color holds the initial and the chosen.
    virtual bool ChooseColor(QColor &Color, std::vector<QColor> &CustomColors) = 0;
    // The print dialog; on success the printer is set up to print on.
    virtual bool PrintDialog(QPrinter &Printer) = 0;
    virtual bool PrinterSetup(QPrinter &Printer) = 0;
    // A short beep (the engine's refusal of undo/redo, for instance).
    virtual void Beep() = 0;
};

// The application-wide prompt: the Qt one unless a test installed its own.
TPrompt &Prompt();
// The toolkit's own prompt (what Prompt() gives while nothing else is installed).
TPrompt &QtPrompt();
// Installs a prompt (tests); nullptr restores the default one. Not owned.
void SetPrompt(TPrompt *prompt);
// The default prompt used while none is installed: the Qt implementation unless a fallback is
// set (the test programs make an unexpected prompt fail instead of waiting). Not owned.
void SetFallbackPrompt(TPrompt *prompt);

// Shorthands for the usual boxes; each returns the button pressed.
TModalResult ShowError(const QString &Msg);
TModalResult ShowWarning(const QString &Msg);
TModalResult ShowInformation(const QString &Msg);
TModalResult AskConfirmation(const QString &Msg, TMsgDlgButtons Buttons);

// The application's standard error report: shows the exception's message in an error box.
void ShowException(const std::exception &E);
// Runs f; any exception it throws is shown by the standard error report instead of escaping.
// Returns false when an exception was reported.
bool Guarded(const std::function<void()> &f);

// "HTML files (*.htm,*.html)|*.htm;*.html|All files (*.*)|*.*|" to Qt's
// "HTML files (*.htm *.html);;All files (*)": each pattern shown once, "*.*" matching every name.
QString ConvertFilter(const QString &WindowsFilter);
