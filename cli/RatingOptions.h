// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandLine.h"
#include "io/InputFormats.h"
#include "io/ReadSummary.h"
#include "model/NumberFormat.h"
#include "model/RatingGenerator.h"

#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <utility>

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

// --from FORMAT and --decimal-separator C.
inline constexpr OptionSpec kInputOptions[] = {{"from"}, {"decimal-separator"}};
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
};

// FILE (exactly one positional argument), --from and --decimal-separator; UsageError when they
// are not usable. Without --from the format is chosen by the end of FILE's name (io's format
// table). Nothing is read yet.
SectionSource sectionSourceFrom(const ParsedArgs& args, const Invocation& invocation);
// The same for a file named otherwise (a command that reads two): --from applies to it too.
SectionSource sectionSourceFor(std::string file, const ParsedArgs& args,
                               const Invocation& invocation);

// Fills the document with the program's own reader: the cross-section file brings its
// description and settings, the imports leave the defaults. Throws Error with the reader's
// message.
ReadSummary readSection(const SectionSource& source, CrossSectionDocument& document);

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

// Reads FILE and fills `rating` as the options ask. Returns the number format used, which the
// caller also uses for writing.
NumberFormat generateRatingFromArgs(const ParsedArgs& args, const Invocation& invocation,
                                    RatingTable& rating);

} // namespace korvadel::cli
