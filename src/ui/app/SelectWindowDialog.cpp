// TSelectWindowDialog: the list of all document windows behind "More Windows...".
#include "ui/app/SelectWindowDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TSelectWindowDialog::TSelectWindowDialog(const QStringList &Captions, int Current, QWidget *Parent)
    : QDialog(Parent)
{
    setObjectName("SelectWindowDialog");
    setWindowTitle("Select Window");
    WindowList = new QListWidget(this);
    WindowList->setObjectName("WindowList");
    WindowList->addItems(Captions);
    WindowList->setCurrentRow(Current);
    // Captions are file names: the list is wide enough for long ones.
    WindowList->setMinimumWidth(360);
    auto *label = new QLabel("Select &window:", this);
    label->setBuddy(WindowList);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(WindowList, &QListWidget::itemActivated, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(WindowList, 1);
    layout->addLayout(buttons);
}

int TSelectWindowDialog::Chosen() const
{
    const QList<QListWidgetItem *> selected = WindowList->selectedItems();
    return selected.isEmpty() ? -1 : WindowList->row(selected.first());
}
