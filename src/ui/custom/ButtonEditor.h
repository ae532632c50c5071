// TCustomButtonEditor: the custom button editor: a button's caption, opening text and closing text.
#pragma once

#include "core/custom/CustomButtons.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TCustomButtonEditor : public QDialog {
    Q_OBJECT
public:
    // Captioned "Edit Custom Button: " + the button's caption, the fields filled from it.
    explicit TCustomButtonEditor(const TCustButton &Button, QWidget *Parent = nullptr);

    // The fields as bytes; the memos' line breaks become CR LF.
    std::string CaptionText() const;
    std::string OpeningText() const;
    std::string ClosingText() const;

    QLineEdit *CaptionEdit = nullptr;
    QPlainTextEdit *Memo = nullptr;  // opening text
    QPlainTextEdit *Memo2 = nullptr; // closing text
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr, *HelpBtn = nullptr;
};

// A stored text (CR LF between lines) as a memo shows it, and a memo's text back as bytes.
QString MemoTextFromBytes(const std::string &Text);
std::string BytesFromMemoText(const QString &Text);

// Runs the editor on the button; on OK the caption and both texts are replaced and true returned.
bool ExecCustomButtonEditor(TCustButton &Button, QWidget *Parent);
