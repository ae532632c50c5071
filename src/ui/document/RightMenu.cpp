// The right mouse button menu of the document windows: its entries, how it is built from the
// stored list, what a click on an entry runs, and the components it finds by name.
#include "ui/document/RightMenu.h"

#include "core/custom/HistoryList.h"
#include "core/settings/SetupManager.h"
#include "platform/DialogExec.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/app/MainHost.h"
#include "ui/document/DocumentWindow.h"

#include <QAbstractButton>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

TRightMenuTarget Target(QObject *Object, const QString &Caption, TRightMenuTargetKind Kind, bool Shown)
{
    TRightMenuTarget t;
    t.Object = Object;
    t.Entry.Caption = QStringToBytes(Caption);
    t.Entry.TargetName = QStringToBytes(Object->objectName());
    t.Entry.Kind = Kind;
    t.Offered = Shown && IsOfferedCaption(t.Entry.Caption);
    return t;
}

bool IsComponentName(const QString &Name)
{
    // Qt's own helpers and the Window menu's generated list of windows are no components.
    return !Name.isEmpty() && !Name.startsWith("qt_") && !Name.startsWith("WindowListEntry");
}

// A menu's entries and, depth first, the entries of its submenus.
void AddMenuItems(std::vector<TRightMenuTarget> &Out, QMenu *Menu)
{
    if (!Menu)
        return;
    for (QAction *action : Menu->actions()) {
        if (action->isSeparator())
            continue;
        if (IsComponentName(action->objectName()))
            Out.push_back(Target(action, action->text(), TRightMenuTargetKind::MenuItem, action->isVisible()));
        if (action->menu())
            AddMenuItems(Out, action->menu());
    }
}

void AddMenu(std::vector<TRightMenuTarget> &Out, QMenu *Menu)
{
    if (!Menu)
        return;
    QAction *title = Menu->menuAction();
    if (IsComponentName(title->objectName()))
        Out.push_back(Target(title, title->text(), TRightMenuTargetKind::MenuItem, title->isVisible()));
    AddMenuItems(Out, Menu);
}

std::optional<TRightMenuTarget> FindIn(const std::vector<TRightMenuTarget> &Components, const std::string &Name)
{
    for (const TRightMenuTarget &t : Components)
        if (t.Object && t.Entry.TargetName == Name)
            return t;
    return std::nullopt;
}

} // namespace

TDynamicMenuItem::TDynamicMenuItem(const QString &Caption, std::string Name, QObject *Parent)
    : QAction(Caption, Parent), TargetName(std::move(Name))
{
}

std::vector<TRightMenuTarget> MainWindowComponents(TMainHost &Main)
{
    std::vector<TRightMenuTarget> out;
    for (QMenu *menu : {Main.File1, Main.Options1, Main.Window1, Main.Help1})
        AddMenu(out, menu);
    AddMenuItems(out, Main.CustomButtonPopupMenu);
    for (QToolBar *bar : {Main.StandardPanel, Main.CommonPanel, Main.SpecialPanel, Main.ExtendedPanel}) {
        if (!bar)
            continue;
        for (QToolButton *button : bar->findChildren<QToolButton *>())
            if (IsComponentName(button->objectName()))
                out.push_back(Target(button, button->text(), TRightMenuTargetKind::Button, true));
    }
    return out;
}

std::vector<TRightMenuTarget> DocumentComponents(TMDIChild &Doc)
{
    std::vector<TRightMenuTarget> out;
    for (QMenu *menu : Doc.MergedMenus())
        AddMenu(out, menu);
    // Entries that live on the window only for their keys are never shown.
    for (QAction *action : Doc.actions())
        if (IsComponentName(action->objectName()) && !FindIn(out, QStringToBytes(action->objectName())))
            out.push_back(Target(action, action->text(), TRightMenuTargetKind::MenuItem, false));
    return out;
}

TCustomBarLister &CustomBarLister()
{
    static TCustomBarLister lister;
    return lister;
}

void SetCustomBarLister(TCustomBarLister Lister)
{
    CustomBarLister() = std::move(Lister);
}

std::vector<TRightMenuTarget> CustomBarComponents(TMainHost &Main)
{
    std::vector<TRightMenuTarget> out;
    if (!CustomBarLister())
        return out;
    for (const TCustomBarButton &button : CustomBarLister()(Main))
        if (button.Button && IsComponentName(button.Button->objectName())) {
            TRightMenuTarget t = Target(button.Button, QString(), TRightMenuTargetKind::CustomButton, button.Shown);
            t.Entry.Caption = button.Caption;
            t.Offered = button.Shown && IsOfferedCaption(t.Entry.Caption);
            out.push_back(std::move(t));
        }
    return out;
}

std::optional<TRightMenuTarget> FindRightMenuTarget(TMainHost &Main, TMDIChild *Doc, const std::string &Name)
{
    if (auto t = FindIn(MainWindowComponents(Main), Name))
        return t;
    if (Doc)
        if (auto t = FindIn(DocumentComponents(*Doc), Name))
            return t;
    return FindIn(CustomBarComponents(Main), Name);
}

std::vector<TRightMenuTarget> RightMenuCandidates(TMainHost &Main, TMDIChild *Doc)
{
    std::vector<TRightMenuTarget> all = MainWindowComponents(Main);
    for (auto &t : CustomBarComponents(Main))
        all.push_back(std::move(t));
    if (Doc)
        for (auto &t : DocumentComponents(*Doc))
            all.push_back(std::move(t));
    std::vector<TRightMenuTarget> offered;
    for (auto &t : all)
        if (t.Offered)
            offered.push_back(std::move(t));
    std::stable_sort(offered.begin(), offered.end(), [](const TRightMenuTarget &A, const TRightMenuTarget &B) {
        return CompareTextIgnoringCase(A.Entry.Caption, B.Entry.Caption) < 0;
    });
    return offered;
}

void FillRightMenu(TMDIChild &Doc, QMenu &Menu)
{
    TMainHost *main = MainHost();
    auto *edit = new TDynamicMenuItem("Edit Menu...", std::string(), &Menu);
    QObject::connect(edit, &QAction::triggered, &Doc, [&Doc] { Guarded([&Doc] { Doc.EditRightMenu(); }); });
    Menu.addAction(edit);
    // A separator with a text would show that text beside its line.
    auto *separator = new TDynamicMenuItem(QString(), std::string(), &Menu);
    separator->setSeparator(true);
    Menu.addAction(separator);
    if (!main)
        return;
    const std::vector<std::string> names = ReadRightMenuNames(TProfile(SettingsFileName()));
    // The main window's components first, then this window's, then the custom bar's buttons.
    const std::vector<TRightMenuTarget> mainItems = MainWindowComponents(*main);
    const std::vector<TRightMenuTarget> docItems = DocumentComponents(Doc);
    const std::vector<TRightMenuTarget> customItems = CustomBarComponents(*main);
    for (const std::string &name : names) {
        std::optional<TRightMenuTarget> t = FindIn(mainItems, name);
        if (!t)
            t = FindIn(docItems, name);
        if (!t)
            t = FindIn(customItems, name);
        if (!t)
            continue;
        auto *item = new TDynamicMenuItem(BytesToQString(t->Entry.Caption), name, &Menu);
        QObject::connect(item, &QAction::triggered, &Doc,
                         [&Doc, item] { Guarded([&Doc, item] { RightMenuItemClick(Doc, *item); }); });
        Menu.addAction(item);
    }
}

void BuildRightMenu(TMDIChild &Doc)
{
    QMenu *old = Doc.RightMenu;
    auto *menu = new QMenu(&Doc); // owned by the window
    menu->setObjectName("RightMenu");
    if (old)
        old->setObjectName(QString());
    Doc.RightMenu = menu;
    FillRightMenu(Doc, *menu);
    if (old)
        old->deleteLater();
}

void RightMenuItemClick(TMDIChild &Doc, const TDynamicMenuItem &Item)
{
    TMainHost *main = MainHost();
    std::optional<TRightMenuTarget> t = FindIn(DocumentComponents(Doc), Item.TargetName);
    if (!t && main)
        t = FindIn(MainWindowComponents(*main), Item.TargetName);
    if (!t && main)
        t = FindIn(CustomBarComponents(*main), Item.TargetName);
    if (!t || !t->Object)
        return;
    if (auto *action = qobject_cast<QAction *>(t->Object.data()))
        action->trigger();
    else if (auto *button = qobject_cast<QAbstractButton *>(t->Object.data()))
        button->click();
}

void InstallRightMenu(TMainHost &)
{
    TMDIChild::SetRightMenuBuilder([](TMDIChild &Doc, QMenu &Menu) { FillRightMenu(Doc, Menu); });
}
