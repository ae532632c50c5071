// TCustomButtonBar: the custom speed bar at the right edge of the main window: its buttons, their numbering and
// stacking, CUSTOM.HTB, and the click that inserts a button's texts.
#pragma once

#include "core/custom/CustomButtons.h"

#include <QList>
#include <QToolButton>
#include <QWidget>

#include <string>

class TMainHost;
class TCustomButtonBar;

// One custom button: a tool button that shows its caption. Its texts and sequence number live
// in the bar's button set; Tag() is the number and the object name is "CustomButton" + Tag().
class TCustButtonWidget : public QToolButton {
    Q_OBJECT
public:
    TCustButtonWidget(TCustomButtonBar &Bar, int Tag);

    int Tag() const { return FTag; }
    // The caption and both texts (an empty text means none).
    const TCustButton &Data() const;
    // Shows the caption of Data(); an "&" marks the underlined letter but gives no shortcut.
    void ShowCaption();

private:
    TCustomButtonBar &FBar;
    int FTag;
};

// The bar: 100 pixels wide, buttons in creation order, 21 pixels high and 23 apart, numbered by
// a sequence counter that starts at 0 each run and never reuses a number.
class TCustomButtonBar : public QWidget {
    Q_OBJECT
public:
    explicit TCustomButtonBar(TMainHost &Main, QWidget *Parent = nullptr);

    // Appends the buttons of CUSTOM.HTB in the working directory (at most 50; a missing, damaged
    // or unreadable file gives what can be read, without a message) and restacks. Returns how many.
    int LoadButtons();
    // Writes every button to CUSTOM.HTB. Throws ECustomFileError "Cannot create file <name>".
    void SaveButtons() const;
    // The file the bar loads from and saves to.
    static std::string ButtonsFileName();

    // Creates, numbers, places and names a button without texts; an empty caption gives
    // "Button " + its number.
    TCustButtonWidget *NewButton(const std::string &Caption);
    // Destroys the button at once and restacks.
    void RemoveButton(TCustButtonWidget *Button);
    // Sets every button's top from its position (23 pixels per position).
    void Restack();
    // Runs the button editor on the button; true when it was closed with OK.
    bool EditButton(TCustButtonWidget &Button);
    // Changes a button's caption and texts directly (what the editor's OK does).
    void SetButtonData(TCustButtonWidget &Button, const std::string &Caption, const std::string &Opening,
                       const std::string &Closing);

    // The buttons in bar order.
    const QList<TCustButtonWidget *> &Buttons() const { return FButtons; }
    // The button with that object name ("CustomButton3"), or nullptr.
    TCustButtonWidget *FindButton(const QString &Name) const;
    TCustButtonWidget *FindButtonByTag(int Tag) const;
    int Counter() const { return FSet.Counter(); }
    const TCustomButtonSet &ButtonSet() const { return FSet; }
    TMainHost &Main() const { return FMain; }

    QSize sizeHint() const override;

protected:
    // A right click on the bar or one of its buttons opens the main window's
    // CustomButtonPopupMenu at the pointer.
    void contextMenuEvent(QContextMenuEvent *E) override;

private:
    TCustButtonWidget *AddWidget(const TCustButton &Button);

    TMainHost &FMain;
    TCustomButtonSet FSet;
    QList<TCustButtonWidget *> FButtons;
};

// The click of every custom button: both texts go in as a tag pair, an opening text alone as
// markup, otherwise nothing; the button becomes LastMarkupCommand in all three cases. Without
// an active document window nothing happens at all.
void CustomButtonClick(TMainHost &Main, TCustButtonWidget &Sender);

// The main window's custom bar, or nullptr before it is installed.
TCustomButtonBar *CustomButtonBar(const TMainHost &Main);

// Creates the custom bar, loads CUSTOM.HTB into it and puts it at the main window's right edge;
// connects "New Button", "Custom Buttons..." and "Right Mouse Button Menu..." and installs the
// document windows' right mouse button menu. Once, at start-up, after the working directory
// is known.
void InstallCustomButtons(TMainHost &Main);
