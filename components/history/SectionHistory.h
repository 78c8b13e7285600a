// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The undo history of the cross-section: every change to its points (a committed cell edit, a
// row committed, a row deleted) as a fine step, and every change that replaces the document
// (New, a load, an import) as one whole step, also when it fails part-way, so a load that stops
// at a bad line can be undone back to what the user had.
//
//   SectionHistory history(document);
//   connect(&history, &SectionHistory::documentRestored, ...);  // show description and settings
//   history.recordDocumentChange("Load Cross Section", [&] { loadCrossSection(...); });
//   history.undo();  history.redo();   // errors propagate (see below)
//   history.stack()                    // canUndo/canRedo for the Edit menu
//
// The fine steps come from the committed changes the point table reports, so whatever commits a
// row (the grid, a rating or a save walking the table) is recorded. Typing into the description
// and the gage-height fields is not a step of its own: those fields keep their own undo, and a
// whole step brings them back with the rest of the document.
//
// A row being typed into is not part of the section yet. Undo and redo settle it first (a
// complete row becomes the step that is undone; a row without a station stops them with the
// table's "Field 'Station' must have a value"). A whole step first settles a complete row the
// same way and otherwise keeps the pending row in what it restores.

#include "model/CrossSectionDocument.h"

#include <QObject>

#include <functional>

class QUndoStack;

namespace korvadel {

class SectionHistory : public QObject {
    Q_OBJECT
public:
    // At most this many steps are kept; the oldest go first.
    static constexpr int kStepLimit = 100;

    explicit SectionHistory(CrossSectionDocument& document, QObject* parent = nullptr);
    ~SectionHistory() override;

    QUndoStack& stack() const { return *stack_; }

    void recordDocumentChange(const QString& text, const std::function<void()>& change);
    void undo();
    void redo();

signals:
    // A whole step was undone or redone: the description and the settings are those of the
    // document brought back.
    void documentRestored();

private:
    void journal(const PointTable::CommittedChange& change);
    void step(bool back);

    CrossSectionDocument& document_;
    QUndoStack* stack_;
    bool replacing_ = false; // a whole step is running: its own row changes are not steps
    bool applying_ = false;  // an undo or redo is running
    bool broken_ = false;
    TableSubscription changes_;
};

} // namespace korvadel
