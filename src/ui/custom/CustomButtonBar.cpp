// TCustomButtonBar: the custom speed bar at the right edge of the main window: its buttons, their numbering and
// stacking, CUSTOM.HTB, and the click that inserts a button's texts.
#include "ui/custom/CustomButtonBar.h"

#include "core/settings/SetupManager.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/app/MainHost.h"
#include "ui/custom/ButtonEditor.h"
#include "ui/document/DocumentWindow.h"
#include "ui/document/RightMenu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QToolBar>

TCustButtonWidget::TCustButtonWidget(TCustomButtonBar &Bar, int Tag) : QToolButton(&Bar), FBar(Bar), FTag(Tag)
{
    setObjectName(QString::fromStdString(Data().Name()));
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    ShowCaption();
}

const TCustButton &TCustButtonWidget::Data() const
{
    // The bar keeps the definitions for as long as their buttons live.
    static const TCustButton none;
    const TCustButton *data = FBar.ButtonSet().FindByTag(FTag);
    return data ? *data : none;
}

void TCustButtonWidget::ShowCaption()
{
    setText(BytesToQString(Data().Caption));
    // Qt would make the underlined letter a keyboard shortcut; custom buttons have none.
    setShortcut(QKeySequence());
}

// ---------------------------------------------------------------------------------------------

TCustomButtonBar::TCustomButtonBar(TMainHost &Main, QWidget *Parent) : QWidget(Parent), FMain(Main)
{
    setObjectName("CustomBar");
    setFixedWidth(CustomBarWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

QSize TCustomButtonBar::sizeHint() const
{
    return {CustomBarWidth, CustomButtonPitch * int(FButtons.size()) + 2};
}

std::string TCustomButtonBar::ButtonsFileName()
{
    const std::string &dir = WorkingDirectory();
    if (dir.empty())
        return CustomButtonsFileName;
    return dir.back() == '/' ? dir + CustomButtonsFileName : dir + "/" + CustomButtonsFileName;
}

int TCustomButtonBar::LoadButtons()
{
    const int first = int(FSet.Buttons().size());
    const int loaded = FSet.Load(ButtonsFileName());
    for (int i = first; i < first + loaded; ++i)
        AddWidget(FSet.Buttons()[std::size_t(i)]);
    Restack();
    return loaded;
}

void TCustomButtonBar::SaveButtons() const
{
    FSet.Save(ButtonsFileName());
}

TCustButtonWidget *TCustomButtonBar::AddWidget(const TCustButton &Button)
{
    auto *widget = new TCustButtonWidget(*this, Button.Tag); // owned by the bar
    widget->setGeometry(CustomButtonLeft, CustomButtonFirstTop, CustomBarWidth - 4, CustomButtonHeight);
    connect(widget, &QToolButton::clicked, this,
            [this, widget] { Guarded([this, widget] { CustomButtonClick(FMain, *widget); }); });
    widget->show();
    FButtons << widget;
    updateGeometry();
    return widget;
}

TCustButtonWidget *TCustomButtonBar::NewButton(const std::string &Caption)
{
    TCustButtonWidget *widget = AddWidget(FSet.NewButton(Caption));
    if (FSet.Counter() == 1)
        widget->move(CustomButtonLeft, CustomButtonFirstTop);
    else
        Restack();
    return widget;
}

void TCustomButtonBar::RemoveButton(TCustButtonWidget *Button)
{
    const int index = int(FButtons.indexOf(Button));
    if (index < 0)
        return;
    const int tag = Button->Tag();
    FButtons.removeAt(index);
    delete Button; // a click of it still queued finds nothing to run
    FSet.RemoveAt(FSet.IndexOfTag(tag));
    Restack();
    updateGeometry();
}

void TCustomButtonBar::Restack()
{
    for (int i = 0; i < FButtons.size(); ++i)
        FButtons[i]->setGeometry(CustomButtonLeft, TCustomButtonSet::ButtonTop(i), CustomBarWidth - 4, CustomButtonHeight);
}

bool TCustomButtonBar::EditButton(TCustButtonWidget &Button)
{
    const int index = FSet.IndexOfTag(Button.Tag());
    if (index < 0)
        return false;
    TCustButton edited = FSet.Buttons()[std::size_t(index)];
    if (!ExecCustomButtonEditor(edited, this))
        return false;
    SetButtonData(Button, edited.Caption, edited.OpeningTag, edited.ClosingTag);
    return true;
}

void TCustomButtonBar::SetButtonData(TCustButtonWidget &Button, const std::string &Caption, const std::string &Opening,
                                     const std::string &Closing)
{
    const int index = FSet.IndexOfTag(Button.Tag());
    if (index < 0)
        return;
    ApplyCustomButtonEdit(FSet.Buttons()[std::size_t(index)], Caption, Opening, Closing);
    Button.ShowCaption();
}

TCustButtonWidget *TCustomButtonBar::FindButton(const QString &Name) const
{
    for (TCustButtonWidget *button : FButtons)
        if (button->objectName() == Name)
            return button;
    return nullptr;
}

TCustButtonWidget *TCustomButtonBar::FindButtonByTag(int Tag) const
{
    for (TCustButtonWidget *button : FButtons)
        if (button->Tag() == Tag)
            return button;
    return nullptr;
}

void TCustomButtonBar::contextMenuEvent(QContextMenuEvent *E)
{
    if (FMain.CustomButtonPopupMenu && !FMain.CustomButtonPopupMenu->isEmpty()) {
        FMain.CustomButtonPopupMenu->popup(E->globalPos());
        E->accept();
    }
}

// ---------------------------------------------------------------------------------------------

void CustomButtonClick(TMainHost &Main, TCustButtonWidget &Sender)
{
    TDocumentWindowIntf *doc = Main.ActiveDocument();
    if (!doc)
        return;
    const TCustomClickAction action = CustomButtonClickAction(Sender.Data());
    switch (action.Kind) {
    case TCustomClickKind::TagPair:
        doc->InsertTagPair(action.Start, action.End);
        break;
    case TCustomClickKind::Markup:
        doc->InsertMarkup(action.Start);
        break;
    case TCustomClickKind::Nothing:
        break;
    }
    Main.LastMarkupCommand = &Sender;
}

TCustomButtonBar *CustomButtonBar(const TMainHost &Main)
{
    return qobject_cast<TCustomButtonBar *>(Main.CustomBar);
}

void InstallCustomButtons(TMainHost &Main)
{
    if (CustomButtonBar(Main))
        return;
    auto *bar = new TCustomButtonBar(Main, Main.CustomBarHost);
    Main.InstallCustomBar(bar);
    bar->LoadButtons();

    Main.NewCustomButton = [bar] { bar->NewButton(std::string()); };
}
