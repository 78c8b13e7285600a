// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/CommandRunner.h"

#include "components/desktop/DesktopSeam.h"
#include "components/grid/DataGrid.h"

#include <QAbstractButton>
#include <QAction>

#include <exception>

namespace korvadel {

CommandRunner::CommandRunner(DesktopSeam& seam) : seam_(seam) {}

void CommandRunner::watch(DataGrid* grid) {
    if (grid && !grids_.contains(grid))
        grids_.append(grid);
}

bool CommandRunner::commitPendingEdits() {
    for (const QPointer<DataGrid>& grid : std::as_const(grids_)) {
        if (grid && !grid->commitEdit())
            return false;
    }
    return true;
}

bool CommandRunner::run(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        seam_.reportError(boxParent_, error);
    }
    return false;
}

void CommandRunner::route(QAction* action, std::function<void()> command) {
    route(action, &QAction::triggered, std::move(command));
}

void CommandRunner::route(QAbstractButton* button, std::function<void()> command) {
    route(button, &QAbstractButton::clicked, std::move(command));
}

} // namespace korvadel
