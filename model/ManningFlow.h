// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <string_view>

namespace korvadel {

struct HydraulicProperties;

// The unit system of the section's lengths, which fixes the constant of Manning's formula.
enum class UnitSystem {
    SI,         // metres: k = 1
    USCustomary // feet: k = 1.486
};

double manningConstant(UnitSystem units) noexcept;

// What Manning's formula needs beside the section.
struct ManningInputs {
    double roughness = 0.0; // Manning's n
    double slope = 0.0;     // energy slope S, dimensionless
    UnitSystem units = UnitSystem::SI;
};

// Conveyance K = (k / n) A R^(2/3) and discharge Q = K sqrt(S).
struct ManningFlow {
    double conveyance = 0.0;
    double discharge = 0.0;
};

// Both inputs must be finite numbers greater than 0. `name` is how the caller shows the input
// to the user (an option such as "--manning-n", or a field's label), so the message points at
// what to correct. Throws Error, for example "--slope must be greater than 0, not -0.001."
void checkManningRoughness(double roughness, std::string_view name, NumberFormat format = {});
void checkEnergySlope(double slope, std::string_view name, NumberFormat format = {});

// Manning's formula at one level. The arithmetic runs in extended precision, whose range
// exceeds any product of doubles, so an extreme n or slope never overflows part-way: a result
// too small for a double comes out as 0 (or the nearest subnormal), never as an error; a
// result too large for a double (an n of about 1E-300, say) throws Error naming n and the
// slope, instead of writing an infinity. No input that passed the checks above gives a NaN.
ManningFlow manningFlow(const HydraulicProperties& properties, const ManningInputs& inputs,
                        NumberFormat format = {});

} // namespace korvadel
