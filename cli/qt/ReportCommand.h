// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandLine.h"

namespace korvadel::cli {

// korvadel-cli report: the rating table report of FILE printed to a PDF file.
Command reportCommand();

} // namespace korvadel::cli
