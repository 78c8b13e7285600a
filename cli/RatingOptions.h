// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandLine.h"
#include "io/InputFormats.h"
#include "io/ReadSummary.h"
#include "model/NumberFormat.h"
#include "model/RatingGenerator.h"

#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvadel {
class CrossSectionDocument;
class RatingTable;
} // namespace korvadel

namespace korvadel::cli {

// Reading FILE and generating its rating, shared by every command that starts from a section:
// rating here, and commands that draw the rating (chart images, printed reports).
//
// A command declares the options it accepts by concatenating these lists with its own, then
// calls sectionSourceFrom/readSection, or generateRatingFromArgs for the whole road.

// --from FORMAT, --decimal-separator C, --section for a HEC-RAS geometry file and the section
// line of surveyed points.
inline constexpr OptionSpec kInputOptions[] = {
    {"from"},          {"decimal-separator"}, {"section"},    {"left-pin"},
    {"right-pin"},     {"start-station"},     {"max-offset"}, {"drop-off-line", 0, false},
    {"flip", 0, false}};
// --min T, --max T, --increment X, --datum T and --bounds-prompt.
inline constexpr OptionSpec kRatingOptions[] = {
    {"min"}, {"max"}, {"increment"}, {"datum"}, {"bounds-prompt", 0, false}};
// The same without --bounds-prompt, for the tables that follow the main rating command's stages.
inline constexpr OptionSpec kStageOptions[] = {{"min"}, {"max"}, {"increment"}, {"datum"}};
// --connected: the water connected to the section's lowest point only.
inline constexpr OptionSpec kConnectedOption{"connected", 0, false};

// The help paragraphs of the two lists, for the commands' --help sections.
std::string inputOptionsHelp(const Invocation& invocation);
std::string ratingOptionsHelp();
// A command's own help section, followed when `withShared` by the shared groups it accepts: the
// gage-height settings when `ratingSettings`, and always the reading options.
std::string withSharedHelp(std::string own, const Invocation& invocation, bool withShared,
                           bool ratingSettings);

struct SectionSource {
    std::string file;
    InputFormat kind = InputFormat::CrossSection;
    NumberFormat format;
    SectionChoice choice;       // the HEC-RAS cross section, the survey's section line
    std::FILE* notes = nullptr; // where the reader's notes go, each after "FILE: "
};

// FILE (exactly one positional argument), --from, --decimal-separator, --section and the
// survey's options; UsageError when they are not usable (--section for a file that is not a
// geometry file, say), Error for a survey option that is not a number. Without --from the
// format is chosen by the end of FILE's name (io's format table). Nothing is read yet.
SectionSource sectionSourceFrom(const ParsedArgs& args, const Invocation& invocation);
// The same for a file named otherwise (a command that reads two): --from applies to it too, and
// --section and the survey's options to it when it is of their kind; the command calls
// requireChoicesApply with all its sources.
SectionSource sectionSourceFor(std::string file, const ParsedArgs& args,
                               const Invocation& invocation);
// UsageError for --section when no source is a geometry file, for a survey option when none is
// surveyed points.
void requireChoicesApply(const ParsedArgs& args,
                         std::initializer_list<const SectionSource*> sources);

// Fills the document with the program's own reader: the cross-section file brings its
// description and settings, the imports leave the defaults. Throws Error with the reader's
// message. The reader's notes (points off a survey's line, ...) go to source.notes.
ReadSummary readSection(const SectionSource& source, CrossSectionDocument& document);
// Prints notes, each on a line of its own after `prefix`.
void printNotes(std::FILE* stream, const std::string& prefix,
                const std::vector<std::string>& notes);

// readSection for a command that rates the section: fewer than two points stop it with an Error
// that names FILE (requireRatingPoints), instead of producing a rating of zeros.
ReadSummary readRatingSection(const SectionSource& source, CrossSectionDocument& document);

// The bounds of a run: the document's settings with the options given put in their place, and
// the connected water only with --connected. An --increment that does not read as a number
// throws Error; one outside 0.01..1 is clamped, and a line on `warnings` says so.
RatingBounds ratingBoundsFrom(const ParsedArgs& args, const CrossSectionDocument& document,
                              NumberFormat format, std::FILE* warnings);
RatingMode ratingModeFrom(const ParsedArgs& args);

// Prints the edge warning as one line on `warnings`, after `prefix` (such as "old.kvd: " when
// a command reads two files); the run goes on.
class LineWarningObserver : public RatingObserver {
public:
    explicit LineWarningObserver(std::FILE* warnings, std::string prefix = {})
        : warnings_(warnings), prefix_(std::move(prefix)) {}
    void edgeWarning() override;

private:
    std::FILE* warnings_;
    std::string prefix_;
};

// The main rating command's edge check over settled columns: an end below the water at the
// maximum gage height (the same double arithmetic as the rating) calls edgeWarning().
void checkEdges(std::span<const double> elevations, double elevationShift, double maximum,
                RatingObserver& observer);

// A rating made from the options, with what its exports say about it.
struct RatedSection {
    NumberFormat format;     // the one FILE was read with, also for writing
    std::string description; // the section's, as the reader brought it
    double datum = 0.0;
};

// Rates a section read already: its settings with the options in their place, the edge
// warning on `warnings` after `warningPrefix`.
RatedSection rateSection(const ParsedArgs& args, const SectionSource& source,
                         CrossSectionDocument& document, RatingTable& rating, std::FILE* warnings,
                         const std::string& warningPrefix = {});

// Reads FILE and fills `rating` as the options ask.
RatedSection generateRatingFromArgs(const ParsedArgs& args, const Invocation& invocation,
                                    RatingTable& rating);

} // namespace korvadel::cli
