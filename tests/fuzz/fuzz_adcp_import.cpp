// SPDX-License-Identifier: GPL-3.0-or-later
// The ADCP Classic ASCII import over any bytes.

#include "FuzzSupport.h"
#include "io/LineReader.h"
#include "io/PointReaders.h"
#include "model/Error.h"

#include <cstdint>
#include <string_view>

using namespace korvadel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    PointTable points;
    LineReader reader = LineReader::overBytes(bytes);
    try {
        importWinRiver(reader, points, NumberFormat{});
    } catch (const Error&) {
    }
    fuzz::checkReadTable(points);
    for (std::size_t i = 0; i < points.rowCount(); ++i) {
        fuzz::check(points.elevationAt(i) <= 0.0, "elevation above the surface");
    }
    return 0;
}
