// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CrossSectionDocument.h"

namespace korvadel {

void CrossSectionDocument::clearToNew() {
    resetSettings();
    points.clear();
    points.insertPending();
}

void CrossSectionDocument::resetSettings() {
    description.clear();
    settings = GageSettings{};
}

CrossSectionDocument::Snapshot CrossSectionDocument::takeSnapshot() const {
    return Snapshot{description, settings, points.takeSnapshot()};
}

void CrossSectionDocument::restoreSnapshot(const Snapshot& snapshot) {
    description = snapshot.description;
    settings = snapshot.settings;
    points.restoreSnapshot(snapshot.points);
}

bool CrossSectionDocument::sameContent(const Snapshot& snapshot) const {
    return description == snapshot.description && settings.minimum == snapshot.settings.minimum &&
           settings.maximum == snapshot.settings.maximum &&
           settings.datum == snapshot.settings.datum &&
           settings.increment() == snapshot.settings.increment() &&
           points.sameContent(snapshot.points);
}

} // namespace korvadel
