// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/ReadSummary.h"
#include "model/SubsectionConveyance.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvadel {

class CrossSectionDocument;
class LineReader;

// HEC-RAS accepts at most this many points in a cross section; a file with more is read whole,
// with a note.
inline constexpr std::size_t kHecRasMaxPoints = 500;

// One cross section of a HEC-RAS geometry file (a block of node type 1).
struct HecRasCrossSection {
    std::string river;
    std::string reach;
    // The river station as written (an interpolated section ends in '*').
    std::string riverStation;
    std::int64_t line = 0; // the line that opens the block
    // #Sta/Elev, in file order.
    std::vector<double> stations;
    std::vector<double> elevations;
    // Bank Sta.
    std::optional<double> leftBank;
    std::optional<double> rightBank;
    // #Mann: the station where each n begins and the n, in file order.
    std::vector<double> roughnessStations;
    std::vector<double> roughness;

    // "River Reach RS", what the section is called in lists and as a document's description.
    std::string description() const;
    // "River/Reach/RS", how the command line names it.
    std::string path() const;
    // The subsections of the n values: a boundary at each station where n changes, the first n
    // from the section's start. Empty without n values.
    Subsections subsections() const;
};

// A block that could not be read: where it is and why. The message names the file, the line
// and the river station.
struct HecRasProblem {
    std::string river;
    std::string reach;
    std::string riverStation;
    std::int64_t line = 0;
    std::string message;
};

// Everything of a geometry file that a rating can use: its cross sections in file order, and the
// blocks that could not be read (the others are read all the same).
struct HecRasGeometry {
    std::string title; // Geom Title
    std::vector<HecRasCrossSection> sections;
    std::vector<HecRasProblem> problems;
};

// Reads a HEC-RAS geometry file (*.g01 ... *.g99). Only cross sections are read: bridges,
// culverts, inline and lateral structures, storage areas and keywords of any other kind are
// passed over. A file that cannot be opened throws the file error; `name` is how messages name
// the file.
HecRasGeometry readHecRasGeometry(const std::string& path);
HecRasGeometry readHecRasGeometry(LineReader& reader, const std::string& name);

// The cross section a user names: "RIVER/REACH/RS" (names as the file writes them, without
// their padding), or the river station alone when only one section has it; with an empty
// choice the file's only cross section. Throws Error saying what is wrong: no such section,
// a river station in several reaches, a file of several sections and no choice, or a section
// whose block could not be read (its problem).
const HecRasCrossSection& chooseHecRasSection(const HecRasGeometry& geometry,
                                              std::string_view choice, const std::string& name);

// Puts a cross section into the document: its points in one stable sort by station, its
// description; the settings are left alone. The summary carries its n values and bank
// stations, and a note when it has more points than HEC-RAS allows.
ReadSummary loadHecRasSection(const HecRasCrossSection& section, CrossSectionDocument& document);

// Opens the file, chooses the section and loads it: the geometry file as a section reader.
ReadSummary loadHecRasSection(const std::string& path, std::string_view choice,
                              CrossSectionDocument& document);

} // namespace korvadel
