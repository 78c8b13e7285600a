// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace korvadel {
struct VelocityPlotInput;
}

namespace korvadel::cli {

// The index-velocity rating report the desktop program prints, written to a PDF file (replaced
// only once complete). `description` is the section's, as its file writes it.
void writeVelocityRatingPdf(const VelocityPlotInput& input, const std::string& description,
                            const std::string& path);

} // namespace korvadel::cli
