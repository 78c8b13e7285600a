// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ManningFlow.h"

#include "model/Error.h"
#include "model/HydraulicProperties.h"
#include "model/Numbers.h"

#include <cmath>
#include <limits>
#include <string>

namespace korvadel {

namespace {

void checkPositive(double value, std::string_view name, NumberFormat format) {
    if (std::isfinite(value) && value > 0.0)
        return;
    std::string message(name);
    if (std::isfinite(value))
        message += " must be greater than 0, not " + formatGeneral(value, format) + ".";
    else
        message += " must be a finite number greater than 0.";
    throw Error(message);
}

} // namespace

double manningConstant(UnitSystem units) noexcept {
    return units == UnitSystem::USCustomary ? 1.486 : 1.0;
}

void checkManningRoughness(double roughness, std::string_view name, NumberFormat format) {
    checkPositive(roughness, name, format);
}

void checkEnergySlope(double slope, std::string_view name, NumberFormat format) {
    checkPositive(slope, name, format);
}

ManningFlow manningFlow(const HydraulicProperties& properties, const ManningInputs& inputs,
                        NumberFormat format) {
    checkManningRoughness(inputs.roughness, "Manning's n", format);
    checkEnergySlope(inputs.slope, "The slope", format);
    const long double radius = properties.hydraulicRadius;
    const long double conveyance = static_cast<long double>(manningConstant(inputs.units)) /
                                   inputs.roughness * properties.area * std::cbrt(radius * radius);
    const long double discharge = conveyance * std::sqrt(static_cast<long double>(inputs.slope));
    constexpr long double largest = std::numeric_limits<double>::max();
    if (!(std::fabs(conveyance) <= largest) || !(std::fabs(discharge) <= largest)) {
        throw Error("Manning's n " + formatGeneral(inputs.roughness, format) + " and the slope " +
                    formatGeneral(inputs.slope, format) +
                    " give a conveyance or discharge too large to be represented.");
    }
    return {static_cast<double>(conveyance), static_cast<double>(discharge)};
}

} // namespace korvadel
