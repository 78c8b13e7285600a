#include "model/CrossSectionDocument.h"

namespace korvadel {

void CrossSectionDocument::New() {
    ResetSettings();
    points.Clear();
    points.InsertPending();
}

void CrossSectionDocument::ResetSettings() {
    description.clear();
    settings = GageSettings{};
}

CrossSectionDocument::Snapshot CrossSectionDocument::TakeSnapshot() const {
    return Snapshot{description, settings, points.TakeSnapshot()};
}

void CrossSectionDocument::RestoreSnapshot(const Snapshot& snapshot) {
    description = snapshot.description;
    settings = snapshot.settings;
    points.RestoreSnapshot(snapshot.points);
}

bool CrossSectionDocument::SameContent(const Snapshot& snapshot) const {
    return description == snapshot.description && settings.minimum == snapshot.settings.minimum &&
           settings.maximum == snapshot.settings.maximum &&
           settings.datum == snapshot.settings.datum &&
           settings.increment() == snapshot.settings.increment() &&
           points.SameContent(snapshot.points);
}

} // namespace korvadel
