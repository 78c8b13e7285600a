// SPDX-License-Identifier: GPL-3.0-or-later
// The cross-section file reader over any bytes, both the marked format and the plain table.

#include "FuzzSupport.h"
#include "io/LineReader.h"
#include "io/PointReaders.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"

#include <cstdint>
#include <string_view>

using namespace korvadel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const char separator : {'.', ','}) {
        CrossSectionDocument document;
        LineReader reader = LineReader::overBytes(bytes);
        try {
            loadCrossSection(reader, document, NumberFormat{separator});
        } catch (const Error&) {
        }
        fuzz::checkReadTable(document.points);
        const double increment = document.settings.increment();
        fuzz::check(increment >= 0.01 && increment <= 1.0, "increment outside its range");
    }
    return 0;
}
