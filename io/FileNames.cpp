// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/FileNames.h"

#include <algorithm>
#include <map>

namespace korvadel {

namespace {

bool refusedInNames(unsigned char c) {
    if (c < 32 || c == 127)
        return true;
    switch (c) {
    case '/':
    case '\\':
    case '<':
    case '>':
    case ':':
    case '"':
    case '|':
    case '?':
    case '*':
        return true;
    default:
        return false;
    }
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

std::string upperCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upper);
    return result;
}

// Windows opens a device for these names, with or without an extension.
bool isDeviceName(std::string_view name) {
    const std::string stem = upperCase(name.substr(0, name.find('.')));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
        return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

} // namespace

std::string safeFileName(std::string_view text) {
    std::string name;
    name.reserve(text.size() + 1);
    for (const char c : text)
        name += refusedInNames(static_cast<unsigned char>(c)) ? '_' : c;
    for (auto at = name.rbegin(); at != name.rend() && (*at == '.' || *at == ' '); ++at)
        *at = '_';
    // Only dots would have been replaced above, so "." and ".." cannot remain.
    if (name.empty())
        name = "_";
    if (isDeviceName(name))
        name.insert(name.begin(), '_');
    if (name.size() > kMaxMadeFileName)
        return {};
    return name;
}

std::vector<MadeFileName> distinctFileNames(std::span<const std::string> texts,
                                            std::string_view extension) {
    std::vector<MadeFileName> names(texts.size());
    std::map<std::string, std::vector<std::size_t>> byName;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string stem = safeFileName(texts[i]);
        if (stem.empty())
            continue;
        names[i].name = stem + std::string(extension);
        byName[upperCase(names[i].name)].push_back(i);
    }
    for (const auto& [key, holders] : byName) {
        if (holders.size() < 2)
            continue;
        for (const std::size_t i : holders)
            for (const std::size_t other : holders)
                if (other != i)
                    names[i].sharedWith.push_back(other);
    }
    return names;
}

} // namespace korvadel
