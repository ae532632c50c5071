// InstallMainWiring: the composition root, wiring the window units to the main window.
#include "ui/app/CompositionRoot.h"

#include "platform/Prompt.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Preview.h"
#include "ui/app/SpeedBars.h"
#include "ui/custom/CustomButtonBar.h"
#include "ui/custom/CustomButtonsDialog.h"
#include "ui/custom/RightMenuEditor.h"
#include "ui/dialogs/DialogCommands.h"
#include "ui/document/DocumentCommands.h"
#include "ui/document/DocumentWindow.h"
#include "ui/document/FindReplace.h"
#include "ui/document/RightMenu.h"

#include <QAction>

namespace {

void InstallCommandUnits(TMainForm &Form)
{
    ConnectPreviewCommands(Form);
    InstallFindReplace(Form);
    InstallDocumentCommands();
    InstallMarkupDialogs(Form);
}

// The custom bar with its commands, and the right mouse button menu that lists its buttons.
void InstallCustomButtonUnits(TMainForm &Form)
{
    if (CustomButtonBar(Form))
        return;
    InstallCustomButtons(Form);
    TCustomButtonBar *bar = CustomButtonBar(Form);
    QObject::connect(Form.CustomButtons1, &QAction::triggered, bar,
                     [bar] { Guarded([bar] { RunCustomButtonsDialog(*bar, bar->Main().Window()); }); });
    QObject::connect(Form.EditRightMouseButtonMenu1, &QAction::triggered, bar, [&Form] {
        Guarded([&Form] {
            if (TDocumentWindowIntf *doc = Form.ActiveDocument())
                doc->EditRightMenu();
        });
    });
    SetCustomBarLister([](TMainHost &Main) {
        std::vector<TCustomBarButton> out;
        if (TCustomButtonBar *customBar = CustomButtonBar(Main))
            for (TCustButtonWidget *button : customBar->Buttons())
                out.push_back({button, button->Data().Caption, !button->isHidden()});
        return out;
    });
    TMDIChild::SetRightMenuEditor([](TMDIChild &Doc) { EditRightMenu(Doc); });
    InstallRightMenu(Form);
}

} // namespace

void InstallMainWiring()
{
    TMainWiring wiring;
    wiring.SpeedBars = [](TMainForm &Form) { InstallSpeedBars(Form); };
    wiring.Commands = &InstallCommandUnits;
    wiring.CustomButtons = &InstallCustomButtonUnits;
    TMainForm::SetWiring(std::move(wiring));
}
