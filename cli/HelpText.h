// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace korvadel::cli {

// How every --help text is laid out. The manual page is made from --help by help2man, which
// reads the layout, not the words: a line at the left margin starts a plain paragraph; an
// indented line starting with "-" followed by two spaces and a text is an option entry, whose
// further lines must start exactly at that text's column; "Heading:" over an indented line is
// a subsection; a blank line ends a paragraph, and nothing else does. A line that breaks after
// "word-" is joined to the next without the hyphen.
//
// So help texts are not laid out by hand. A command's help is commandHelp(synopsis, what it
// does, its options), a group of shared options is helpList(heading, note, entries), and the
// functions below wrap the words at 79 columns, at spaces only, and keep paragraphs, entries
// and columns where help2man finds them. The synopsis fits on one line: FILE, the options a
// command cannot do without and "[OPTIONS]". The package test fails when the manual page
// renders with warnings or misses one of the options --help lists.

// One entry of a list: the option with its value ("-o, --output OUT") or the command's name,
// and what it does.
struct HelpEntry {
    std::string names;
    std::string text;
};

// A command's section of --help: its synopsis at the left margin as the heading of a
// subsection, the description indented (a line break in it starts a new paragraph), then its
// own options.
std::string commandHelp(std::string_view synopsis, std::string_view description,
                        std::span<const HelpEntry> options);

// A list under "heading:", with a note before the entries when `note` is not empty. Entries
// whose names start with "-" line up at one column in every list; the others (commands, exit
// statuses) two columns after the longest name.
std::string helpList(std::string_view heading, std::string_view note,
                     std::span<const HelpEntry> entries);

// The words of `text` on lines of at most 79 columns, each indented by `indent` spaces; a
// word longer than a line has one to itself.
std::string wrapHelpText(std::string_view text, std::size_t indent);

} // namespace korvadel::cli
