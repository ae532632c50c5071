// The buttons of the four fixed speed bars (standard, common tags, special and extended
// characters) and the ways they reach the active document window.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QAbstractButton;
class QToolBar;
class QToolButton;
class TMainForm;

// How a speed button acts on the active document.
enum class TSpeedAction {
    MainCommand,  // triggers one of the main window's own actions (New, Open, Save, Test, Exit, Close)
    MenuCommand,  // runs the active document's menu item as a click would (only when enabled)
    Markup,       // InsertMarkup(text), then the button is LastMarkupCommand
    TagPair,      // InsertTagPair(start, end), then the button is LastMarkupCommand
    CommonTag,    // CommonTagClick: markup "<" + caption + ">"
    Character,    // SpeedButtonClick: the caption's character or its entity
};

// Built-in pictures of the standard bar, used when the desktop's icon theme has none.
enum class TSpeedPicture { None, New, Open, Save, Cut, Copy, Paste, Undo, Exit };

// One button of a fixed bar as data.
struct TSpeedButtonInfo {
    const char *Name;        // object name ("SpeedButton15")
    const char *Caption;     // empty for a picture button
    const char *Hint;        // "short|long" gives the tooltip and the status line's text
    TSpeedAction Action;
    const char *Target;      // main action or menu item name, markup text or start tag
    const char *EndTag = ""; // TagPair only
    TSpeedPicture Picture = TSpeedPicture::None;
};

// The icon of a picture button: the desktop theme's, else a style or drawn one.
QIcon SpeedButtonIcon(TSpeedPicture Picture);

// The object name of the character button for a code ("CharButton233").
QString CharacterButtonName(unsigned char Code);

// Fills the main window's four fixed panels with their buttons and handles their clicks. A child
// of the main window; create it before the window's first UpdateMenuItems.
class TSpeedBars : public QObject {
    Q_OBJECT
public:
    explicit TSpeedBars(TMainForm &Form);

    // The button with that object name on one of the four bars, or nullptr.
    QToolButton *Button(const QString &Name) const;

    // The shared handler of the eleven simple tag buttons.
    void CommonTagClick(QAbstractButton *Sender);
    // The shared handler of the character buttons.
    void SpeedButtonClick(QAbstractButton *Sender);

private:
    QToolButton *AddButton(QToolBar &Bar, const TSpeedButtonInfo &Info, bool ToolTips);
    QToolButton *NewCharacterButton(QWidget &Parent, unsigned char Code);
    void BuildStandardBar();
    void BuildCommonBar();
    void BuildSpecialBar();
    void BuildExtendedBar();
    void BuildCustomPopupMenu();
    void Run(QAbstractButton *Sender, const TSpeedButtonInfo &Info);
    void RunMainCommand(const char *Name);
    // Inserts through the active document and records the button; nothing without a document.
    void InsertFromButton(QAbstractButton *Sender, const std::string &Start, const std::string *End);

    TMainForm &Form;
};

// Creates the speed buttons of the main window (once) and returns their owner.
TSpeedBars *InstallSpeedBars(TMainForm &Form);
