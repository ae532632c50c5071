// The document window's eight menus built from the command catalogue: one QAction per entry,
// named after its component, with caption, shortcut and hint from the entry's row.
#pragma once

#include "core/markup/Catalogue.h"

#include <QHash>
#include <QKeySequence>
#include <QList>

#include <functional>
#include <string_view>

class QAction;
class QMenu;
class QWidget;

struct TMarkupMenuSet {
    QList<QMenu *> Menus;              // the eight menus in bar order
    QHash<QString, QAction *> Actions; // every named entry (separators, submenus included)
};

// The key sequences of a catalogue shortcut text ("Ctrl+T", "Shift+Del", "F3"). "Ctrl+Enter"
// gives both the main Return key and the keypad's Enter.
QList<QKeySequence> CatalogueShortcuts(std::string_view Text);

// Builds the menus and actions as children of Owner. Every action is also added to Owner with
// the widget-with-children context, so its shortcut fires only while the focus is inside Owner.
// Hidden entries that have a shortcut are not put in a menu but keep a working shortcut.
// OnTrigger runs (unguarded) when an entry with an action is triggered.
TMarkupMenuSet BuildMarkupMenus(QWidget &Owner,
                                const std::function<void(const TMarkupCommand &, QAction *)> &OnTrigger);
