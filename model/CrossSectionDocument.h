// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/GageSettings.h"
#include "model/PointTable.h"

#include <string>

namespace korvadel {

// The one document of a run: a free-text description, the gage-height settings and the points.
class CrossSectionDocument {
public:
    std::string description;
    GageSettings settings;
    PointTable points;

    // Defaults, an empty table and one blank pending row ready for typing.
    void clearToNew();
    // Description and settings back to their defaults; the points are left alone.
    void resetSettings();

    // The whole document as the user has it, for undoing a change that replaces it.
    struct Snapshot {
        std::string description;
        GageSettings settings;
        PointTable::Snapshot points;
    };
    Snapshot takeSnapshot() const;
    void restoreSnapshot(const Snapshot& snapshot);
    bool sameContent(const Snapshot& snapshot) const;
};

} // namespace korvadel
