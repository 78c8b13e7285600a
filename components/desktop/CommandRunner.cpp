// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/CommandRunner.h"

#include "components/desktop/DesktopSeam.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/DataGrid.h"
#include "io/CrossSectionFile.h"

#include <QAbstractButton>
#include <QAction>

#include <exception>
#include <new>

namespace korvadel {

namespace {

// The text of an error for a box. Messages are built from file names (in the file system's
// encoding) and from field texts (in the program's code page); take whichever reads cleanly.
QString messageText(const char* message) {
    const QString utf8 = QString::fromUtf8(message);
    if (!utf8.contains(QChar::ReplacementCharacter))
        return utf8;
    return fromFileText(message);
}

} // namespace

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
    } catch (const UnableToAccessFile& error) {
        QString text = messageText(error.what());
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        seam_.showMessage(boxParent_, DesktopSeam::MessageKind::Warning, QStringLiteral("Warning"),
                          text);
    } catch (const std::bad_alloc&) {
        seam_.showError(boxParent_, QStringLiteral("Out of memory"));
    } catch (const std::exception& error) {
        seam_.showError(boxParent_, messageText(error.what()));
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
