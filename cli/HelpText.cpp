// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/HelpText.h"

#include <algorithm>

namespace korvadel::cli {

namespace {

constexpr std::size_t kWidth = 79;
// help2man takes a description on the line after its option only from column 20 on.
constexpr std::size_t kOptionColumn = 22;

// Appends the words of `text` to `out`, whose last line has reached `column`; further lines
// start at `indent`. Any run of blanks or line breaks in `text` is one space. A line of a
// paragraph never starts with a word that begins with '-': help2man would take the line for an
// option of its own, so the word before goes down with it.
void appendWords(std::string& out, std::string_view text, std::size_t column, std::size_t indent) {
    std::size_t wordsOnLine = 0;
    std::size_t at = column;
    std::size_t lastWord = out.size(); // where the line's last word starts in `out`
    std::size_t start = 0;
    while (start < text.size()) {
        if (text[start] == ' ' || text[start] == '\n') {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < text.size() && text[end] != ' ' && text[end] != '\n')
            ++end;
        const std::string_view word = text.substr(start, end - start);
        start = end;
        if (wordsOnLine > 0 && at + 1 + word.size() > kWidth) {
            std::string carried;
            if (word.front() == '-' && wordsOnLine > 1 && indent < kOptionColumn) {
                carried = out.substr(lastWord);
                out.resize(lastWord - 1); // and the space before it
            }
            out += '\n';
            out.append(indent, ' ');
            at = indent;
            wordsOnLine = 0;
            if (!carried.empty()) {
                lastWord = out.size();
                out += carried;
                at += carried.size();
                wordsOnLine = 1;
            }
        }
        if (wordsOnLine > 0) {
            out += ' ';
            ++at;
        }
        lastWord = out.size();
        out += word;
        at += word.size();
        ++wordsOnLine;
    }
    out += '\n';
}

std::string entryLines(std::span<const HelpEntry> entries) {
    const bool options = std::all_of(entries.begin(), entries.end(), [](const HelpEntry& entry) {
        return !entry.names.empty() && entry.names.front() == '-';
    });
    std::size_t column = kOptionColumn;
    if (!options) {
        column = 0;
        for (const HelpEntry& entry : entries)
            column = std::max(column, entry.names.size() + 4);
    }
    std::string out;
    for (const HelpEntry& entry : entries) {
        out += "  ";
        out += entry.names;
        if (2 + entry.names.size() + 2 <= column) {
            out.append(column - 2 - entry.names.size(), ' ');
        } else {
            out += '\n';
            out.append(column, ' ');
        }
        appendWords(out, entry.text, column, column);
    }
    return out;
}

} // namespace

std::string wrapHelpText(std::string_view text, std::size_t indent) {
    std::string out(indent, ' ');
    appendWords(out, text, indent, indent);
    return out;
}

std::string commandHelp(std::string_view synopsis, std::string_view description,
                        std::span<const HelpEntry> options) {
    std::string out(synopsis);
    out += ":\n";
    std::size_t start = 0;
    while (start <= description.size()) {
        std::size_t end = description.find('\n', start);
        if (end == std::string_view::npos)
            end = description.size();
        if (start > 0)
            out += '\n';
        out += wrapHelpText(description.substr(start, end - start), 2);
        start = end + 1;
    }
    if (!options.empty()) {
        out += '\n';
        out += entryLines(options);
    }
    return out;
}

std::string helpList(std::string_view heading, std::string_view note,
                     std::span<const HelpEntry> entries) {
    std::string out(heading);
    out += ":\n";
    if (!note.empty()) {
        out += wrapHelpText(note, 2);
        out += '\n';
    }
    out += entryLines(entries);
    return out;
}

} // namespace korvadel::cli
