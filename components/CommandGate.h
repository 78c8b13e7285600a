#pragma once

// The way into every command of every window. A menu item, a shortcut, a mnemonic or a button
// first ends the cell edit of the watched grids exactly as leaving the cell would: the typed
// text goes into the table, or, when it is not a number, the error box is shown, the editor
// stays open on it and the command does not run. Without this a shortcut or a menu item would
// act on the table while the value being typed was still in the editor, and lose it.
//
//   CommandGate gate;
//   gate.watch(pointGrid);
//   gate.route(action, [] { ... });          // QAction::triggered
//   gate.route(button, [] { ... });          // QAbstractButton::clicked
//   gate.route(dialog, &Dialog::okClicked, [] { ... });  // any signal without arguments
//   bool ok = gate.commitPendingEdits();     // what route() does before the command

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QAbstractButton;
class QAction;

namespace korvadel {

class DataGrid;

class CommandGate {
public:
    // A grid whose open cell editor every command ends first.
    void watch(DataGrid* grid);
    // Ends every watched grid's edit; false when one held text that is not a number (the error
    // box has been shown and the editor is open on that text).
    bool commitPendingEdits();

    void route(QAction* action, std::function<void()> command);
    void route(QAbstractButton* button, std::function<void()> command);
    template <class Sender, class Signal>
    void route(Sender* sender, Signal signal, std::function<void()> command) {
        QObject::connect(sender, signal, sender, [this, command = std::move(command)] {
            if (commitPendingEdits())
                command();
        });
    }

private:
    QList<QPointer<DataGrid>> grids_;
};

} // namespace korvadel
