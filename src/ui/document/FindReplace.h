// Find and replace: the modeless find-and-replace dialog owned by the main window and shared by
// all document windows, the never-shown find dialog that keeps the Find Next text, and the
// document window's Find, Replace and Find Next commands.
#pragma once

#include "core/editor/Encoding.h"
#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TMainHost;
class TMDIChild;

// A find-and-replace dialog as the system's standard one: find and replace texts of at most 255
// characters, match case, whole word, and Find Next, Replace, Replace All and Cancel. It always
// searches forward. Hidden by Cancel; it stays open across searches.
class TReplaceDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxTextLength = 255;

    explicit TReplaceDialog(QWidget *Parent = nullptr);

    // The texts as bytes of a document in Encoding (in Windows-1252, characters the code page
    // cannot hold as numeric character references, as they are stored there).
    std::string FindText(TTextEncoding Encoding = TTextEncoding::Windows1252) const;
    std::string ReplaceText(TTextEncoding Encoding = TTextEncoding::Windows1252) const;
    void SetFindText(const std::string &Text);
    void SetReplaceText(const std::string &Text);
    bool MatchCaseChecked() const;
    bool WholeWordChecked() const;

    // Shows the dialog with its top left corner at Position (screen), or brings it forward when
    // it is shown already. False when it could not be shown.
    bool Execute(const QPoint &Position);

    // The dialog's events: its Find Next button, and its Replace (All false) and Replace All buttons.
    std::function<void()> OnFind;
    std::function<void(bool All)> OnReplace;

    QLineEdit *FindEdit = nullptr;
    QLineEdit *ReplaceEdit = nullptr;
    QCheckBox *WholeWordBox = nullptr;
    QCheckBox *MatchCaseBox = nullptr;
    QPushButton *FindNextButton = nullptr;
    QPushButton *ReplaceButton = nullptr;
    QPushButton *ReplaceAllButton = nullptr;
    QPushButton *CancelButton = nullptr;

private:
    void UpdateButtons();
};

// The find dialog that is never shown: it keeps the text of the last search started from the
// replace dialog's Find Next button, which Find Next (F3) uses in every window.
class TFindDialog : public QObject {
    Q_OBJECT
public:
    explicit TFindDialog(QObject *Parent) : QObject(Parent) { setObjectName("FindDialog1"); }
    QString FindText;
};

// The main window's two dialogs and the handlers that take their events to the active document.
class TFindReplace : public QObject {
    Q_OBJECT
public:
    explicit TFindReplace(TMainHost &Form);

    TReplaceDialog *ReplaceDialog1 = nullptr;
    TFindDialog *FindDialog1 = nullptr;

    // "&Find..." and "&Replace...": shows the dialog at (150, 150) titled "Find and Replace"; the
    // window's SearchFlags take the dialog's match-case and whole-word boxes.
    void Replace1Click(TMDIChild &Doc);
    // Find Next (F3): the last dialog search text with the window's own case and word options.
    void FindNext1Click(TMDIChild &Doc);
    // The dialog's Find Next button on a document window.
    void FindDialog1Find(TMDIChild &Doc);
    // The dialog's Replace (All false) or Replace All button on a document window.
    void ReplaceDialog1Replace(TMDIChild &Doc, bool All);

private:
    unsigned char DialogOptions() const;
    static void NotFound(const QString &Text);

    TMainHost &Form;
};

// Creates the main window's find and replace dialogs (once) and makes them the document windows'
// Find, Replace and Find Next commands.
TFindReplace *InstallFindReplace(TMainHost &Form);
