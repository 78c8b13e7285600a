// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reads a placeable metafile back into its header fields and records, checking the structure
// on the way: the tests of the metafile writer and of the chart export share it.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace korvadel::testing {

struct WmfRecord {
    std::uint16_t function = 0;
    std::vector<std::uint16_t> parameters;
    std::size_t offset = 0; // in bytes from the start of the file
};

struct WmfFile {
    std::uint32_t key = 0;
    std::uint16_t handle = 0;
    std::int16_t left = 0, top = 0, right = 0, bottom = 0;
    std::uint16_t unitsPerInch = 0;
    std::uint32_t reserved = 0;
    std::uint16_t checksum = 0;
    std::uint16_t computedChecksum = 0;
    std::uint16_t type = 0, headerWords = 0, version = 0;
    std::uint32_t sizeWords = 0;
    std::uint16_t objects = 0;
    std::uint32_t maxRecordWords = 0;
    std::uint16_t members = 0;
    std::vector<WmfRecord> records; // the end record included
    std::uint32_t largestRecordWords = 0;
    std::string problem; // empty when the file is well-formed

    std::size_t count(std::uint16_t function) const {
        std::size_t n = 0;
        for (const auto& record : records)
            n += record.function == function;
        return n;
    }
    // The text of every text record, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const auto& record : records) {
            if (record.function != 0x0A32 || record.parameters.size() < 4)
                continue;
            const std::size_t length = record.parameters[2];
            std::string text;
            for (std::size_t i = 0; i < length; ++i) {
                const std::uint16_t word = record.parameters[4 + i / 2];
                text.push_back(static_cast<char>(i % 2 ? word >> 8 : word & 0xFF));
            }
            result.push_back(text);
        }
        return result;
    }
};

inline WmfFile parseWmf(const std::string& bytes) {
    WmfFile file;
    auto word = [&](std::size_t at) -> std::uint16_t {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                          static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    auto dword = [&](std::size_t at) -> std::uint32_t {
        return word(at) | static_cast<std::uint32_t>(word(at + 2)) << 16;
    };
    if (bytes.size() < 22 + 18 + 6 || bytes.size() % 2 != 0) {
        file.problem = "too short or odd length";
        return file;
    }
    file.key = dword(0);
    file.handle = word(4);
    file.left = static_cast<std::int16_t>(word(6));
    file.top = static_cast<std::int16_t>(word(8));
    file.right = static_cast<std::int16_t>(word(10));
    file.bottom = static_cast<std::int16_t>(word(12));
    file.unitsPerInch = word(14);
    file.reserved = dword(16);
    file.checksum = word(20);
    for (std::size_t at = 0; at < 20; at += 2)
        file.computedChecksum ^= word(at);
    file.type = word(22);
    file.headerWords = word(24);
    file.version = word(26);
    file.sizeWords = dword(28);
    file.objects = word(32);
    file.maxRecordWords = dword(34);
    file.members = word(38);
    if (22 + 2 * static_cast<std::size_t>(file.sizeWords) != bytes.size()) {
        file.problem = "header size does not match the file";
        return file;
    }
    std::size_t at = 22 + 2 * static_cast<std::size_t>(file.headerWords);
    while (at < bytes.size()) {
        if (at + 6 > bytes.size()) {
            file.problem = "record header cut off";
            return file;
        }
        const std::uint32_t words = dword(at);
        if (words < 3 || at + 2 * static_cast<std::size_t>(words) > bytes.size()) {
            file.problem = "record size out of range at " + std::to_string(at);
            return file;
        }
        WmfRecord record;
        record.offset = at;
        record.function = word(at + 4);
        for (std::size_t p = at + 6; p < at + 2 * static_cast<std::size_t>(words); p += 2)
            record.parameters.push_back(word(p));
        file.largestRecordWords = std::max(file.largestRecordWords, words);
        file.records.push_back(std::move(record));
        at += 2 * static_cast<std::size_t>(words);
        if (file.records.back().function == 0 && at != bytes.size()) {
            file.problem = "end record before the end of the file";
            return file;
        }
    }
    if (file.records.empty() || file.records.back().function != 0 ||
        file.records.back().parameters.size() != 0)
        file.problem = "last record is not the end record";
    return file;
}

} // namespace korvadel::testing
