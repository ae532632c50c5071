// TEdController: the controller and the editor's base classes.
#include "ui/editor/EditorBase.h"

TEdController::TEdController(QObject *Parent)
    : QObject(Parent), CommandProcessor(std::make_unique<TEdCommandProcessor>())
{
}

TEdController::~TEdController() = default;

TEdBase::TEdBase(QWidget *Parent) : QAbstractScrollArea(Parent), OwnController(new TEdController(this))
{
}

TEdController *TEdBase::Controller() const
{
    return FController ? FController.data() : OwnController;
}

void TEdBase::SetController(TEdController *Value)
{
    FController = Value;
}
