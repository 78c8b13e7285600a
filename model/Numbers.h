// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvadel {

// General number format: shortest text with at most 15 significant digits, plain notation when
// the 15-digit value is at least 0.0001 in magnitude and has at most 15 integer digits,
// otherwise d.dddE[-]x ("1E-5", "1.5E20"). Used for every number the program writes as text:
// files, exports, reports, fields and grids all go through appendGeneral.
//
// appendGeneral writes the text at `out`, which must have room for kMaxGeneralLength characters,
// and returns the end; it allocates nothing, so a writer of a long file calls it per number.
inline constexpr std::size_t kMaxGeneralLength = 32;
char* appendGeneral(char* out, double value, NumberFormat format = {});
char* appendGeneral(char* out, long double value, NumberFormat format = {});
// The same layout with up to 17 significant digits, so that any double reads back exactly.
char* appendGeneralExact(char* out, double value, NumberFormat format = {});

std::string formatGeneral(double value, NumberFormat format = {});
std::string formatGeneral(long double value, NumberFormat format = {});
std::string formatGeneralExact(double value, NumberFormat format = {});
// The same layout rounded to at most `digits` significant digits (1 to 17), for reports a person
// reads: formatSignificant(0.0123456789, 4) == "0.01235", formatSignificant(123456.7, 4) ==
// "1.235E5".
std::string formatSignificant(double value, int digits, NumberFormat format = {});

// Standard text-to-number conversion (typed settings, the increment line of the file).
// Throws Error("'<text>' is not a valid floating point value").
double textToFloat(std::string_view text, NumberFormat format = {});
// The same grammar, evaluated to a 64-bit significand (the animation's level arithmetic).
long double textToExtended(std::string_view text, NumberFormat format = {});
// Non-throwing form; returns false when the text does not convert.
bool tryTextToFloat(std::string_view text, double& value, NumberFormat format = {});

// Standard text-to-integer conversion: optional leading spaces, optional sign, decimal digits,
// or hexadecimal introduced by $, x, X, 0x or 0X. Must fit a signed 32-bit integer.
// Throws Error("'<text>' is not a valid integer value").
std::int32_t textToInt(std::string_view text);

// Round to the nearest integer, an exact half going to the even neighbour.
long double roundHalfEven(long double value);

// Round(value * scale) / scale with the product formed in extended precision and the quotient
// stored as a double: roundScaled(0.125, 100) == 0.12, roundScaled(2.5625, 1000) == 2.562.
double roundScaled(double value, long double scale);

// Truncates an extended quotient toward zero, writes it in the general number format and reads
// it back as a signed 32-bit integer, as the step count and the animation interval do.
// Throws Error("'<text>' is not a valid integer value") when it does not fit.
std::int32_t truncateToInt32(long double quotient, NumberFormat format = {});

} // namespace korvadel
