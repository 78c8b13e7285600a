// SPDX-License-Identifier: GPL-3.0-or-later
// The comma-delimited import over any bytes.

#include "FuzzSupport.h"
#include "io/LineReader.h"
#include "io/PointReaders.h"
#include "model/Error.h"

#include <cstdint>
#include <string_view>

using namespace korvadel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const char separator : {'.', ','}) {
        PointTable points;
        LineReader reader = LineReader::overBytes(bytes);
        try {
            importCommaDelimited(reader, points, NumberFormat{separator});
        } catch (const Error&) {
        }
        fuzz::checkReadTable(points);
    }
    return 0;
}
