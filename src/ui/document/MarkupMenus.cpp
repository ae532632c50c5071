// Building the document window's menus from the command catalogue.
#include "ui/document/MarkupMenus.h"

#include "platform/TextCodec.h"
#include "ui/app/MainHost.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

QList<QKeySequence> CatalogueShortcuts(std::string_view Text)
{
    if (Text.empty())
        return {};
    const QString text = QString::fromLatin1(Text.data(), qsizetype(Text.size()));
    if (text == "Ctrl+Enter")
        return {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)};
    return {QKeySequence::fromString(text, QKeySequence::PortableText)};
}

namespace {

QString Name(std::string_view Text)
{
    return QString::fromLatin1(Text.data(), qsizetype(Text.size()));
}

} // namespace

TMarkupMenuSet BuildMarkupMenus(QWidget &Owner, const std::function<void(const TMarkupCommand &, QAction *)> &OnTrigger)
{
    TMarkupMenuSet set;
    QHash<int, QMenu *> menuOf;
    for (const TMarkupMenuInfo &info : MarkupMenus()) {
        auto *menu = new QMenu(BytesToQString(std::string(info.Caption)), &Owner);
        menu->setObjectName(Name(info.Name));
        menu->menuAction()->setObjectName(Name(info.Name));
        if (!info.Hint.empty())
            menu->menuAction()->setStatusTip(Name(info.Hint));
        set.Menus << menu;
        menuOf.insert(int(info.Menu), menu);
    }
    QHash<QString, QMenu *> submenus;
    for (const TMarkupCommand &command : MarkupCommands()) {
        QMenu *menu = command.Parent.empty() ? menuOf.value(int(command.Menu)) : submenus.value(Name(command.Parent));
        if (!menu)
            continue;
        const QString name = Name(command.Name);
        QAction *action = nullptr;
        if (command.Kind == TCommandKind::Separator) {
            action = menu->addSeparator();
        } else if (command.Kind == TCommandKind::Submenu) {
            QMenu *sub = menu->addMenu(BytesToQString(std::string(command.Caption)));
            sub->setObjectName(name);
            submenus.insert(name, sub);
            action = sub->menuAction();
        } else {
            action = new QAction(BytesToQString(std::string(command.Caption)), &Owner);
            const bool hiddenWithKey = (command.Flags & cfHidden) && !command.Shortcut.empty();
            // A hidden entry with a key lives on the window only: never shown, its key still works.
            if (!hiddenWithKey)
                menu->addAction(action);
            const QList<QKeySequence> keys = CatalogueShortcuts(command.Shortcut);
            if (!keys.isEmpty()) {
                action->setShortcuts(keys);
                action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
                Owner.addAction(action);
            }
            const TMarkupCommand *entry = &command;
            QObject::connect(action, &QAction::triggered, &Owner, [entry, action, OnTrigger] {
                if (OnTrigger)
                    OnTrigger(*entry, action);
            });
        }
        if (!name.isEmpty()) {
            action->setObjectName(name);
            set.Actions.insert(name, action);
        }
        if (!command.Hint.empty())
            TMainHost::SetHint(action, BytesToQString(std::string(command.Hint)));
    }
    return set;
}
