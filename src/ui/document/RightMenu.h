// The right mouse button menu of the document windows: its entries, how it is built from the
// stored list, what a click on an entry runs, and the components it finds by name.
#pragma once

#include "core/custom/RightMenu.h"

#include <QAction>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class TMainHost;
class TMDIChild;

// An entry of the pop-up menu made at run time. TargetName names the menu item or button the
// entry stands for; it is empty for "Edit Menu..." and the separator.
class TDynamicMenuItem : public QAction {
    Q_OBJECT
public:
    TDynamicMenuItem(const QString &Caption, std::string TargetName, QObject *Parent);
    std::string TargetName;
};

// A component found by name: a menu item (QAction) or a button, with its caption and kind.
struct TRightMenuTarget {
    QPointer<QObject> Object;
    TRightMenuEntry Entry;
    // Shown to the user (on a menu or bar, visible) with a caption that is neither empty nor "-".
    bool Offered = false;
};

// The named menu items and speed buttons of the main window (its own menus, the custom bar's
// pop-up menu and the four fixed bars), hidden ones included.
std::vector<TRightMenuTarget> MainWindowComponents(TMainHost &Main);
// The named menu items of a document window (its eight menus and their entries).
std::vector<TRightMenuTarget> DocumentComponents(TMDIChild &Doc);
// The custom bar's buttons (none until a lister is installed).
std::vector<TRightMenuTarget> CustomBarComponents(TMainHost &Main);
// A button of the custom bar as its lister reports it.
struct TCustomBarButton {
    QObject *Button = nullptr;
    std::string Caption;
    bool Shown = false;
};
using TCustomBarLister = std::function<std::vector<TCustomBarButton>(TMainHost &Main)>;
// Installed at start-up by the one who knows the custom bar.
void SetCustomBarLister(TCustomBarLister Lister);

// A name looked up among the main window's components, then the document window's (Doc may be
// null), then the custom bar's buttons.
std::optional<TRightMenuTarget> FindRightMenuTarget(TMainHost &Main, TMDIChild *Doc, const std::string &Name);
// What the menu editor offers, sorted by caption: the visible, named menu items and buttons of
// the main window, the custom bar and the document window (may be null) whose caption is
// neither empty nor "-".
std::vector<TRightMenuTarget> RightMenuCandidates(TMainHost &Main, TMDIChild *Doc);

// Fills Menu with "Edit Menu...", a separator and one entry per stored name that is found.
void FillRightMenu(TMDIChild &Doc, QMenu &Menu);
// Replaces the window's pop-up menu by one built afresh. The old menu is deleted only once
// control is back in the event loop, so an entry whose click is running is left intact.
void BuildRightMenu(TMDIChild &Doc);
// A click on a user entry: the target is looked up in this window first, then the main window,
// then the custom bar, and clicked (a menu item only when enabled). A lost name does nothing.
void RightMenuItemClick(TMDIChild &Doc, const TDynamicMenuItem &Item);
// Makes every document window build its pop-up menu at creation.
void InstallRightMenu(TMainHost &Main);
