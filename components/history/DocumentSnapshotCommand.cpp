// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/history/DocumentSnapshotCommand.h"

#include <utility>

namespace korvadel {

DocumentSnapshotCommand::DocumentSnapshotCommand(const QString& text,
                                                 CrossSectionDocument& document,
                                                 CrossSectionDocument::Snapshot before,
                                                 std::function<void()> restored)
    : QUndoCommand(text), document_(document), other_(std::move(before)),
      restored_(std::move(restored)) {}

void DocumentSnapshotCommand::undo() {
    swap();
}

void DocumentSnapshotCommand::redo() {
    if (done_) {
        done_ = false;
        return;
    }
    swap();
}

void DocumentSnapshotCommand::swap() {
    CrossSectionDocument::Snapshot current = document_.takeSnapshot();
    document_.restoreSnapshot(other_);
    other_ = std::move(current);
    if (restored_)
        restored_();
}

} // namespace korvadel
