// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/history/SectionHistory.h"

#include "components/history/DocumentSnapshotCommand.h"
#include "components/history/PointEditCommand.h"
#include "model/Error.h"

#include <QScopedValueRollback>
#include <QUndoStack>

namespace korvadel {

SectionHistory::SectionHistory(CrossSectionDocument& document, QObject* parent)
    : QObject(parent), document_(document), stack_(new QUndoStack(this)) {
    stack_->setUndoLimit(kStepLimit);
    changes_ = document_.points.subscribe([this](const PointTable::Event& event) {
        if (const auto* change = std::get_if<PointTable::CommittedChange>(&event))
            journal(*change);
    });
}

SectionHistory::~SectionHistory() = default;

void SectionHistory::journal(const PointTable::CommittedChange& change) {
    if (replacing_ || applying_)
        return;
    using Kind = PointTable::CommittedChange::Kind;
    if (change.kind == Kind::Replaced) {
        // Rows replaced outside a recorded step: the fine steps no longer fit the table.
        stack_->clear();
        return;
    }
    if (change.kind == Kind::Changed && change.from == change.to && change.before == change.after)
        return; // the same value typed again
    stack_->push(new PointEditCommand(document_.points, change, [this] { broken_ = true; }));
}

void SectionHistory::recordDocumentChange(const QString& text,
                                          const std::function<void()>& change) {
    PointTable& points = document_.points;
    // A complete row being typed becomes its own step, so undoing the replacement brings it back
    // as an ordinary row.
    if (points.state() != PointTable::State::Browsing &&
        points.hasStation(static_cast<std::size_t>(points.editRow())))
        points.settle();

    CrossSectionDocument::Snapshot before = document_.takeSnapshot();
    const auto record = [&] {
        if (document_.sameContent(before))
            return; // nothing was changed (a file that could not be opened)
        stack_->push(new DocumentSnapshotCommand(text, document_, std::move(before),
                                                 [this] { emit documentRestored(); }));
    };
    {
        QScopedValueRollback guard(replacing_, true);
        try {
            change();
        } catch (...) {
            replacing_ = false;
            record();
            throw;
        }
    }
    record();
}

void SectionHistory::undo() {
    step(true);
}

void SectionHistory::redo() {
    step(false);
}

void SectionHistory::step(bool back) {
    document_.points.settle();
    {
        QScopedValueRollback guard(applying_, true);
        if (back)
            stack_->undo();
        else
            stack_->redo();
    }
    if (broken_) {
        broken_ = false;
        stack_->clear();
        throw Error("The changes to the cross section can no longer be undone");
    }
}

} // namespace korvadel
