// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandLine.h"

namespace korvadel::cli {

// korvadel-cli chart: the rating chart of FILE as a JPEG or metafile picture, set up, drawn and
// written by the same component code as the rating window's chart.
Command chartCommand();

} // namespace korvadel::cli
