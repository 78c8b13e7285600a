// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The way into every command of every window, and the one place where a command's failure
// becomes a box on the screen.
//
// Before a command runs, every watched grid's cell edit ends exactly as leaving the cell would:
// the typed text goes into the table, or, when it is not a number, the error box is shown, the
// editor stays open on it and the command does not run. Without this a shortcut or a menu item
// would act on the table while the value being typed was still in the editor, and lose it.
//
// A command then runs to its end or stops with an exception, which stops here and goes to the
// seam's error sink: a file that cannot be opened for reading shows the warning box (caption
// "Warning", the message's \r as line breaks), running out of memory shows "Out of memory", and
// any other error shows its message in the program's error box ("." added after a letter or
// digit). The program goes on.
//
//   CommandRunner commands(seam);
//   commands.watch(pointGrid);
//   commands.route(action, [] { ... });          // QAction::triggered
//   commands.route(button, [] { ... });          // QAbstractButton::clicked
//   commands.route(dialog, &Dialog::okClicked, [] { ... });  // any signal without arguments
//   commands.run([] { ... });                    // the error policy alone, for timers and the like

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QAbstractButton;
class QAction;

namespace korvadel {

class DataGrid;
class DesktopSeam;

class CommandRunner {
public:
    explicit CommandRunner(DesktopSeam& seam);

    DesktopSeam& seam() const { return seam_; }
    // The window the boxes are shown over (the main window); none: no owner.
    void setBoxParent(QWidget* parent) { boxParent_ = parent; }

    // A grid whose open cell editor every command ends first.
    void watch(DataGrid* grid);
    // Ends every watched grid's edit; false when one held text that is not a number (the error
    // box has been shown and the editor is open on that text).
    bool commitPendingEdits();

    // Runs the command under the error policy; false when it stopped with an error (shown).
    bool run(const std::function<void()>& command);

    void route(QAction* action, std::function<void()> command);
    void route(QAbstractButton* button, std::function<void()> command);
    template <class Sender, class Signal>
    void route(Sender* sender, Signal signal, std::function<void()> command) {
        QObject::connect(sender, signal, sender, [this, command = std::move(command)] {
            if (commitPendingEdits())
                run(command);
        });
    }

private:
    DesktopSeam& seam_;
    QPointer<QWidget> boxParent_;
    QList<QPointer<DataGrid>> grids_;
};

} // namespace korvadel
