// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandLine.h"

namespace korvadel::cli {

// The commands of an index-velocity station: the measurement summary against the section's
// rated areas, the velocity rating fitted to the measurements, and the discharge of a stage and
// index-velocity record.
Command measurementsCommand();
Command velocityRatingCommand();
Command dischargeCommand();

} // namespace korvadel::cli
