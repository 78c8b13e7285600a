// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A change that replaced the document wholesale (New, a load, an import) as a step of the undo
// history. It holds the document as it was on the other side of the step: undo and redo both
// swap it with the document as it is, so a redo brings back exactly what the undo took away,
// including typing into the description and the gage-height fields in between. The change has
// already happened when the command is pushed, so its first redo does nothing.

#include "model/CrossSectionDocument.h"

#include <QUndoCommand>

#include <functional>

namespace korvadel {

class DocumentSnapshotCommand : public QUndoCommand {
public:
    // `before`: the document before the change. `restored` runs after every swap, so the
    // window can show the description and settings again.
    DocumentSnapshotCommand(const QString& text, CrossSectionDocument& document,
                            CrossSectionDocument::Snapshot before, std::function<void()> restored);

    void undo() override;
    void redo() override;

private:
    void swap();

    CrossSectionDocument& document_;
    CrossSectionDocument::Snapshot other_;
    std::function<void()> restored_;
    bool done_ = true;
};

} // namespace korvadel
