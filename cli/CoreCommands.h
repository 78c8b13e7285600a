// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandLine.h"

namespace korvadel::cli {

// The commands that need nothing but the model and io libraries.
Command ratingCommand();
Command convertCommand();
Command areaCommand();
Command sectionsCommand();

} // namespace korvadel::cli
