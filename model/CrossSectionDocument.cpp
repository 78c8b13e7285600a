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

} // namespace korvadel
