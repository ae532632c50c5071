// TCustomButtonRemoveDlg: the "Custom Buttons" dialog: lists the custom bar's buttons and adds, edits and removes them.
#include "ui/custom/CustomButtonsDialog.h"

#include "platform/DialogExec.h"
#include "platform/Prompt.h"
#include "platform/TextCodec.h"
#include "ui/custom/CustomButtonBar.h"
#include "ui/dialogs/DialogParts.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TCustomButtonRemoveDlg::TCustomButtonRemoveDlg(TCustomButtonBar &Bar, QWidget *Parent) : QDialog(Parent), FBar(Bar)
{
    setObjectName("CustomButtonRemoveDlg");
    setWindowTitle("Custom Buttons");
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    NewBtn = NewButton(this, "NewBtn", "&New...");
    EditBtn = NewButton(this, "EditBtn", "&Edit...");
    RemoveBtn = NewButton(this, "RemoveBtn", "&Remove");
    CloseBtn = NewButton(this, "CloseBtn", "Close");
    CloseBtn->setDefault(true);
    connect(NewBtn, &QPushButton::clicked, this, [this] { Guarded([this] { NewBtnClick(); }); });
    connect(EditBtn, &QPushButton::clicked, this, [this] { Guarded([this] { EditBtnClick(); }); });
    connect(RemoveBtn, &QPushButton::clicked, this, [this] { Guarded([this] { RemoveBtnClick(); }); });
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { Guarded([this] { EditBtnClick(); }); });

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {NewBtn, EditBtn, RemoveBtn})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(CloseBtn);
    auto *main = new QHBoxLayout(this);
    main->addWidget(ListBox1, 1);
    main->addLayout(buttons);
    resize(320, 240);
    RebuildList();
}

void TCustomButtonRemoveDlg::RebuildList()
{
    ListBox1->clear();
    for (TCustButtonWidget *button : FBar.Buttons()) {
        if (button->isHidden() || button->objectName().isEmpty() || !IsListedCustomButton(button->Data()))
            continue;
        auto *item = new QListWidgetItem(BytesToQString(button->Data().Caption), ListBox1);
        item->setData(Qt::UserRole, button->Tag());
    }
}

TCustButtonWidget *TCustomButtonRemoveDlg::ButtonAt(int Row) const
{
    const QListWidgetItem *item = Row >= 0 ? ListBox1->item(Row) : nullptr;
    return item ? FBar.FindButtonByTag(item->data(Qt::UserRole).toInt()) : nullptr;
}

void TCustomButtonRemoveDlg::NewBtnClick()
{
    QString caption;
    if (!Prompt().InputQuery("New Custom Button", "Button Text:", caption))
        return;
    FBar.NewButton(QStringToBytes(caption));
    RebuildList();
    ListBox1->setCurrentRow(ListBox1->count() - 1);
}

int TCustomButtonRemoveDlg::SelectedRow() const
{
    // The view makes an entry current when it takes the focus; only a selected one counts.
    const QListWidgetItem *item = ListBox1->currentItem();
    return item && item->isSelected() ? ListBox1->row(item) : -1;
}

void TCustomButtonRemoveDlg::EditBtnClick()
{
    if (TCustButtonWidget *button = ButtonAt(SelectedRow()))
        FBar.EditButton(*button);
}

void TCustomButtonRemoveDlg::RemoveBtnClick()
{
    const int row = SelectedRow();
    TCustButtonWidget *button = ButtonAt(row);
    if (!button)
        return;
    FBar.RemoveButton(button);
    RebuildList();
    FBar.Restack();
    const int next = SelectionAfterRemove(row, ListBox1->count());
    ListBox1->setCurrentRow(next);
    if (next < 0)
        ListBox1->clearSelection();
}

void RunCustomButtonsDialog(TCustomButtonBar &Bar, QWidget *Parent)
{
    {
        TCustomButtonRemoveDlg dialog(Bar, Parent);
        ExecDialog(dialog);
    }
    Bar.SaveButtons();
}
