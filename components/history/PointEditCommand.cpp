// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/history/PointEditCommand.h"

#include "model/Error.h"

namespace korvadel {

namespace {

QString textFor(PointTable::CommittedChange::Kind kind) {
    switch (kind) {
    case PointTable::CommittedChange::Kind::Added:
        return QStringLiteral("Add Point");
    case PointTable::CommittedChange::Kind::Removed:
        return QStringLiteral("Delete Point");
    default:
        return QStringLiteral("Edit Point");
    }
}

} // namespace

PointEditCommand::PointEditCommand(PointTable& table, const PointTable::CommittedChange& change,
                                   std::function<void()> onFailure)
    : QUndoCommand(textFor(change.kind)), table_(table), change_(change),
      onFailure_(std::move(onFailure)) {}

void PointEditCommand::undo() {
    apply(false);
}

void PointEditCommand::redo() {
    if (done_) {
        done_ = false;
        return;
    }
    apply(true);
}

void PointEditCommand::apply(bool forward) {
    using Kind = PointTable::CommittedChange::Kind;
    const Kind kind = change_.kind;
    // Forward: the row leaves `from` and arrives at `to`; backward the other way round.
    const bool removes = forward ? kind != Kind::Added : kind != Kind::Removed;
    const bool puts = forward ? kind != Kind::Removed : kind != Kind::Added;
    try {
        if (removes)
            table_.removeRowAt(forward ? change_.from : change_.to);
        if (puts)
            table_.putRowAt(forward ? change_.to : change_.from,
                            forward ? change_.after : change_.before);
    } catch (const Error&) {
        if (onFailure_)
            onFailure_();
    }
}

} // namespace korvadel
