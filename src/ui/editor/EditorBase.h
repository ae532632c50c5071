// TEdController: the editor's controller (key command processor and the shared insert mode) and the base
// classes of the editor control.
#pragma once

#include "core/editor/KeyCommands.h"

#include <QAbstractScrollArea>
#include <QObject>
#include <QPointer>

#include <memory>

// Owns the command processor that turns key strokes into commands, and the insert mode that
// every editor using this controller shares.
class TEdController : public QObject {
    Q_OBJECT
public:
    explicit TEdController(QObject *Parent = nullptr);
    ~TEdController() override;

    TEdCommandProcessor &Processor() { return *CommandProcessor; }
    const TEdCommandProcessor &Processor() const { return *CommandProcessor; }
    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool Value) { FInsertMode = Value; }

private:
    std::unique_ptr<TEdCommandProcessor> CommandProcessor;
    bool FInsertMode = true;
};

// A control with a controller. Without one assigned it uses a controller of its own.
class TEdBase : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TEdBase(QWidget *Parent = nullptr);

    TEdController *Controller() const;
    // Null gives the control its own controller back.
    void SetController(TEdController *Value);

private:
    TEdController *OwnController;  // child of this control
    QPointer<TEdController> FController;
};

class TEdEditBase : public TEdBase {
    Q_OBJECT
public:
    using TEdBase::TEdBase;
};
