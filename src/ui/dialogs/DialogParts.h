// Controls shared by the markup dialogs: named buttons, edits and editable drop-downs that keep
// typed text as typed, with their texts read and set as bytes.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <initializer_list>
#include <string>

class QDialog;
class QHBoxLayout;

QPushButton *NewButton(QWidget *Parent, const char *Name, const QString &Caption);
QLineEdit *NewEdit(QWidget *Parent, const char *Name);
// An editable drop-down with the given entries and an empty text: no completion, no entries
// added by Enter.
QComboBox *NewEditableCombo(QWidget *Parent, const char *Name, std::initializer_list<const char *> Entries = {});

std::string EditText(const QLineEdit &Edit);
// Leaves the edit alone (no change notification) when it already holds the text.
void SetEditText(QLineEdit &Edit, const std::string &Text);
std::string ComboText(const QComboBox &Combo);
void SetComboText(QComboBox &Combo, const std::string &Text);

// The OK, Cancel and Help buttons most dialogs end with, named OKBtn, CancelBtn and HelpBtn
// unless given other names. OK is the default button; Cancel rejects. Help opens the topic.
struct TDialogButtons {
    QPushButton *OK = nullptr, *Cancel = nullptr, *Help = nullptr;
};
TDialogButtons NewDialogButtons(QDialog &Dialog, const char *HelpTopic, const char *OKName = "OKBtn",
                                const char *CancelName = "CancelBtn", const char *HelpName = "HelpBtn");

// The row of buttons at the foot of a dialog, pushed to the right.
QHBoxLayout *NewButtonRow(std::initializer_list<QWidget *> Buttons);
