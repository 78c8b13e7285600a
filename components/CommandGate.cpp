#include "components/CommandGate.h"

#include "components/DataGrid.h"

#include <QAbstractButton>
#include <QAction>

namespace korvadel {

void CommandGate::watch(DataGrid* grid) {
    if (grid && !grids_.contains(grid))
        grids_.append(grid);
}

bool CommandGate::commitPendingEdits() {
    for (const QPointer<DataGrid>& grid : std::as_const(grids_)) {
        if (grid && !grid->commitEdit())
            return false;
    }
    return true;
}

void CommandGate::route(QAction* action, std::function<void()> command) {
    route(action, &QAction::triggered, std::move(command));
}

void CommandGate::route(QAbstractButton* button, std::function<void()> command) {
    route(button, &QAbstractButton::clicked, std::move(command));
}

} // namespace korvadel
