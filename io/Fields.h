// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace korvadel {

// Every reader cuts a line to this many characters before splitting it, so no field is longer.
inline constexpr std::size_t kMaxSplitLine = 255;

// The first 255 characters of a line.
inline std::string_view cutLine(std::string_view line) {
    return line.substr(0, kMaxSplitLine);
}

// Codes 0 to 32, what the readers take for blanks around a line or a value.
inline bool isControlOrSpace(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// `text` without the characters `blank` holds at its start and at its end.
template <class Blank> std::string_view trimmed(std::string_view text, Blank blank) {
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}
inline std::string_view trimmed(std::string_view text) {
    return trimmed(text, isControlOrSpace);
}

// Equal but for the case of the letters A to Z.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The characters that end a field.
class DelimiterSet {
public:
    DelimiterSet() = default;
    explicit DelimiterSet(std::string_view characters);

    bool contains(char c) const { return member_[static_cast<unsigned char>(c)]; }
    bool empty() const { return empty_; }

private:
    std::array<bool, 256> member_{};
    bool empty_ = true;
};

// The fields of one split line. The texts are views into the line that was split, so the list is
// valid only while that line is; it keeps its storage between lines, so splitting allocates
// nothing once it has seen its widest line.
class FieldList {
public:
    std::size_t size() const { return fields_.size(); }
    bool empty() const { return fields_.empty(); }

    // Throws Error("List index out of bounds (<index>)") when the line has no such field.
    std::string_view at(std::size_t index) const {
        if (index >= fields_.size()) [[unlikely]] {
            throwOutOfBounds(index);
        }
        return fields_[index];
    }
    std::string_view operator[](std::size_t index) const { return at(index); }

    void clear() { fields_.clear(); }
    void add(std::string_view field) { fields_.push_back(field); }

private:
    [[noreturn]] static void throwOutOfBounds(std::size_t index);

    std::vector<std::string_view> fields_;
};

// Cuts `line` into fields at the delimiters, honouring the quote character (if any). A field that
// begins with the quote and ends with it right before a delimiter or the line's end loses those
// two quotes and may hold delimiters; every other quote stays in its field, and a quote inside a
// plain field protects the delimiters up to the next quote. Empty fields are dropped unless
// `allowEmpty` is set. Replaces the content of `fields` and returns the number of fields.
std::size_t SplitFields(std::string_view line, const DelimiterSet& delimiters,
                        std::optional<char> quote, bool allowEmpty, FieldList& fields);

// The outcome of reading a field as a number: on success `ok` is set and `value` is the number;
// on failure `value` is the 1-based position of the first character that does not fit.
struct FieldNumber {
    bool ok = false;
    double value = 0.0;
};

// Reads a field as a decimal number: spaces around it are ignored, an empty field reads 0, the
// first decimal separator counts as the point (a final one is dropped), an exponent may follow.
// The result is correctly rounded; a value below the smallest double becomes a subnormal or 0.
// Throws Error("Floating point overflow") when the magnitude exceeds the largest double.
FieldNumber FieldToReal(std::string_view field, char decimalSeparator = '.');

// Reads a field of a data file that names its columns (measurements, records) as a decimal
// number with a point: blanks around it, an optional sign, digits with an optional point and an
// optional exponent. Stricter than FieldToReal: an empty field, text after the number, NaN,
// infinity and a magnitude past the largest double do not read (false); a value below the
// smallest double reads as 0 or a subnormal.
bool readDecimal(std::string_view field, double& value);

} // namespace korvadel
