#pragma once

#include "cli/CommandLine.h"

namespace korvadel::cli {

// korvadel-cli chart: the rating chart of FILE as a JPEG or metafile picture, drawn by the
// rating window's own chart and written by the rating window's own picture code.
Command chartCommand();

} // namespace korvadel::cli
