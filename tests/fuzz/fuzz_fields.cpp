// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting and number reading over any line with any delimiter set, quote and separator.

#include "FuzzSupport.h"
#include "io/Fields.h"
#include "model/Error.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

using namespace korvadel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // First byte: delimiter choice and flags; second byte: the decimal separator.
    static const char* const kDelimiters[] = {",", "\t", " ", ";,", "\"", ""};
    const std::string_view delimiters = kDelimiters[data[0] % 6];
    const bool allowEmpty = (data[0] & 0x40) != 0;
    const bool withQuote = (data[0] & 0x80) == 0;
    const char separator = (data[1] & 1) ? ',' : '.';
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string_view line = cutLine(text);

    FieldList fields;
    const std::size_t count =
        SplitFields(line, DelimiterSet(delimiters),
                    withQuote ? std::optional<char>('"') : std::nullopt, allowEmpty, fields);
    fuzz::check(count == fields.size(), "count differs from the list");
    fuzz::check(count <= line.size() + 1, "more fields than characters");
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view field = fields.at(i);
        fuzz::check(allowEmpty || !field.empty(), "empty field without allow-empty");
        fuzz::check(field.empty() || (field.data() >= line.data() &&
                                      field.data() + field.size() <= line.data() + line.size()),
                    "field outside its line");
        try {
            const FieldNumber number = FieldToReal(field, separator);
            fuzz::check(std::isfinite(number.value), "number not finite");
            if (!number.ok) {
                fuzz::check(number.value >= 1 && number.value <= field.size() + 1,
                            "error position outside the field");
            }
        } catch (const Error&) {
            // "Floating point overflow" is an answer too.
        }
    }
    try {
        fields.at(count);
        fuzz::fail("field past the end was handed out");
    } catch (const Error&) {
    }

    // The whole text, uncut, as a field.
    try {
        FieldToReal(text, separator);
    } catch (const Error&) {
    }
    return 0;
}
