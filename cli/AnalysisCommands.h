// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandLine.h"

namespace korvadel::cli {

// The commands that look at a section beside its rating: its hydraulic properties per stage,
// the check before rating, and the comparison of two surveys.
Command propertiesCommand();
Command checkCommand();
Command compareCommand();

} // namespace korvadel::cli
