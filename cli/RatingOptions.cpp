// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RatingOptions.h"

#include "cli/HelpText.h"
#include "model/CommandSteps.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/RatingTable.h"

#include <algorithm>
#include <cstdio>

namespace korvadel::cli {

namespace {

// "kvd, csv or winriver"
std::string formatNames() {
    const auto formats = inputFormats();
    std::string names;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (i > 0)
            names += i + 1 == formats.size() ? " or " : ", ";
        names += formats[i].name;
    }
    return names;
}

} // namespace

std::string inputOptionsHelp(const Invocation& invocation) {
    const HelpEntry options[] = {
        {"--from kvd|csv|winriver|hecras|survey",
         "How to read FILE. kvd: a cross-section file with its description and gage-height "
         "settings (a file whose first line is not \"//Korvadel\" is read as a tab-separated "
         "table whose first line names the Station and Elevation columns). csv: comma-delimited "
         "points, station and elevation in the first two fields of every line. winriver: an "
         "ADCP Classic ASCII output file, one point per ensemble. hecras: one cross section of "
         "a HEC-RAS geometry file (--section), its description \"River Reach RS\". survey: "
         "surveyed points with coordinates, laid onto the section line between two pins (see "
         "SURVEY). By default chosen from the name: *.kvd kvd, *.csv csv, names ending in t.000 "
         "or ASC.TXT winriver, *.g01 to *.g99 hecras, anything else kvd; survey only when asked "
         "for."},
        {"--decimal-separator C",
         "The decimal separator (one character) for reading and writing numbers. Default: the "
         "user's locale (LC_ALL, LC_NUMERIC or LANG), here '" +
             std::string(1, invocation.localeFormat.decimalSeparator) +
             "'. Geometry files are always read with a point."},
        {"--section SECTION",
         "The cross section of a HEC-RAS geometry file, as RIVER/REACH/RS: river, reach and "
         "river station as the file writes them (an interpolated section's station ends in *), "
         "or as RS, the river station alone, when no other reach has it. Not needed for a file of "
         "one cross section; "
         "korvadel-cli sections FILE lists them. Its points are read whole, also beyond the 500 "
         "HEC-RAS takes (a line on standard error says so)."}};
    const HelpEntry survey[] = {
        {"--left-pin NAME",
         "The point at station 0 (with --start-station, that station). Default: the first "
         "point of the file."},
        {"--right-pin NAME", "The other end of the line. Default: the last point."},
        {"--start-station S", "The left pin's station. Default: 0."},
        {"--max-offset D",
         "The largest offset from the line not reported, in the file's unit. Default: 1."},
        {"--drop-off-line", "Leave out the points reported, instead of keeping them."},
        {"--flip",
         "Swap left and right: the stations run from the right pin, for pins named the other "
         "way round or a survey that starts on the right bank."}};
    return helpList("Reading FILE (READING)", "Every command takes these.", options) + "\n" +
           helpList("Surveyed points (SURVEY)",
                    "With --from survey: a comma-delimited file whose heading line names the "
                    "columns name (or point), easting (x, e), northing (y, n) and elevation (z, "
                    "h), in any case and order. Facing downstream, the section line runs from "
                    "the left pin to the right pin; a point's station is its distance along the "
                    "line from the left pin, its offset its distance from the line, positive "
                    "downstream of it and negative upstream. Points farther from the line than "
                    "the largest offset, or beyond a pin, are listed on standard error by name "
                    "and kept.",
                    survey);
}

std::string ratingOptionsHelp() {
    const HelpEntry options[] = {
        {"--min T", "Minimum gage height."},
        {"--max T", "Maximum gage height."},
        {"--increment X", "Gage-height increment, kept within 0.01 to 1."},
        {"--datum T", "Datum: gage height = elevation - datum."},
        {"--bounds-prompt",
         "Compute as the \"Select bounds\" prompt does: stages and areas are kept unrounded "
         "and there is no edge warning. Without it stages are rounded to 0.01 and areas to "
         "0.001, and a maximum gage height above an end of the section prints a one-line "
         "warning on standard error (the rating is still produced)."}};
    return helpList("Gage-height settings of a rating (SETTINGS)",
                    "Taken from a cross-section file; imported points start from minimum 0, "
                    "maximum 1, increment 0.01, datum 0.00. Each option overrides one.",
                    options);
}

std::string withSharedHelp(std::string own, const Invocation& invocation, bool withShared,
                           bool ratingSettings) {
    if (withShared) {
        if (ratingSettings) {
            own += '\n';
            own += ratingOptionsHelp();
        }
        own += '\n';
        own += inputOptionsHelp(invocation);
    }
    return own;
}

SectionSource sectionSourceFrom(const ParsedArgs& args, const Invocation& invocation) {
    if (args.positional.empty())
        throw UsageError("FILE is missing");
    if (args.positional.size() > 1)
        throw UsageError("unexpected argument '" + args.positional[1] + "'");
    SectionSource source = sectionSourceFor(args.positional.front(), args, invocation);
    requireChoicesApply(args, {&source});
    return source;
}

void requireChoicesApply(const ParsedArgs& args,
                         std::initializer_list<const SectionSource*> sources) {
    const auto anyIs = [&](InputFormat kind) {
        return std::any_of(sources.begin(), sources.end(),
                           [&](const SectionSource* source) { return source->kind == kind; });
    };
    if (args.has("section") && !anyIs(InputFormat::HecRasGeometry))
        throw UsageError("--section chooses a cross section of a HEC-RAS geometry file "
                         "(--from hecras)");
    for (const char* option :
         {"left-pin", "right-pin", "start-station", "max-offset", "drop-off-line", "flip"}) {
        if (args.has(option) && !anyIs(InputFormat::SurveyedPoints))
            throw UsageError(std::string("--") + option +
                             " applies to surveyed points (--from survey)");
    }
}

SectionSource sectionSourceFor(std::string file, const ParsedArgs& args,
                               const Invocation& invocation) {
    SectionSource source;
    source.file = std::move(file);
    source.kind = inputFormatForPath(source.file);
    source.notes = invocation.err;
    if (const auto from = args.value("from")) {
        const InputFormatInfo* named = inputFormatNamed(*from);
        if (!named)
            throw UsageError("--from must be " + formatNames() + ", not '" + *from + "'");
        source.kind = named->format;
    }
    source.format = invocation.localeFormat;
    if (const auto separator = args.value("decimal-separator")) {
        if (separator->size() != 1)
            throw UsageError("--decimal-separator must be one character, not '" + *separator + "'");
        source.format.decimalSeparator = separator->front();
    }
    source.choice.section = args.value("section").value_or("");
    SurveyLine& line = source.choice.survey;
    line.leftPin = args.value("left-pin").value_or("");
    line.rightPin = args.value("right-pin").value_or("");
    line.dropOffLine = args.has("drop-off-line");
    line.flip = args.has("flip");
    if (const auto text = args.value("start-station"))
        line.startStation = readNamedNumber(*text, "--start-station", source.format);
    if (const auto text = args.value("max-offset")) {
        line.maxOffset = readNamedNumber(*text, "--max-offset", source.format);
        if (!(line.maxOffset >= 0.0))
            throw Error("--max-offset must be 0 or more, not " +
                        formatGeneral(line.maxOffset, source.format) + ".");
    }
    return source;
}

ReadSummary readSection(const SectionSource& source, CrossSectionDocument& document) {
    ReadSummary summary =
        inputFormat(source.kind).read(source.file, document, source.format, source.choice);
    if (source.notes)
        printNotes(source.notes, source.file + ": ", summary.notes);
    return summary;
}

void printNotes(std::FILE* stream, const std::string& prefix,
                const std::vector<std::string>& notes) {
    for (const std::string& note : notes) {
        std::fputs(prefix.c_str(), stream);
        std::fputs(note.c_str(), stream);
        std::fputc('\n', stream);
    }
    std::fflush(stream);
}

ReadSummary readRatingSection(const SectionSource& source, CrossSectionDocument& document) {
    ReadSummary summary = readSection(source, document);
    requireRatingPoints(source.file, document.points.rowCount());
    return summary;
}

RatingBounds ratingBoundsFrom(const ParsedArgs& args, const CrossSectionDocument& document,
                              NumberFormat format, std::FILE* warnings) {
    RatingBounds bounds = ratingBounds(document.settings, args.has(kConnectedOption.name)
                                                              ? WaterExtent::ConnectedToLowest
                                                              : WaterExtent::WholeSection);
    bounds.minimum = args.value("min").value_or(bounds.minimum);
    bounds.maximum = args.value("max").value_or(bounds.maximum);
    bounds.datum = args.value("datum").value_or(bounds.datum);
    if (const auto increment = args.value("increment")) {
        const double asked = textToFloat(*increment, format);
        bounds.increment = GageSettings::clampIncrement(asked);
        if (bounds.increment != asked) {
            // A script should not find out from the table that its increment was not used.
            const bool raised = !(asked > bounds.increment);
            std::fprintf(warnings, "increment %s %s to %s, the %s allowed\n", increment->c_str(),
                         raised ? "raised" : "lowered",
                         formatGeneral(bounds.increment, format).c_str(),
                         raised ? "smallest" : "largest");
            std::fflush(warnings);
        }
    }
    return bounds;
}

RatingMode ratingModeFrom(const ParsedArgs& args) {
    return args.has("bounds-prompt") ? RatingMode::BoundsPrompt : RatingMode::Main;
}

void LineWarningObserver::edgeWarning() {
    std::fputs(prefix_.c_str(), warnings_);
    std::fputs("Warning! Maximum gage height exceeds edge elevation. Korvadel assumes a vertical "
               "wall at edges where this condition occurs.\n",
               warnings_);
    std::fflush(warnings_);
}

void checkEdges(std::span<const double> elevations, double elevationShift, double maximum,
                RatingObserver& observer) {
    const double firstEnd = elevations.empty() ? 0.0 : elevations.front();
    const double lastEnd = elevations.empty() ? 0.0 : elevations.back();
    if (firstEnd + elevationShift < maximum || lastEnd + elevationShift < maximum)
        observer.edgeWarning();
}

RatedSection rateSection(const ParsedArgs& args, const SectionSource& source,
                         CrossSectionDocument& document, RatingTable& rating, std::FILE* warnings,
                         const std::string& warningPrefix) {
    requireRatingPoints(source.file, document.points.rowCount());
    const RatingBounds bounds = ratingBoundsFrom(args, document, source.format, warnings);
    LineWarningObserver observer(warnings, warningPrefix);
    generateRating(ratingModeFrom(args), bounds, document.points, rating, observer, source.format);
    RatedSection rated;
    rated.format = source.format;
    rated.description = document.description;
    // The run converted the datum already, so this cannot fail.
    rated.datum = textToFloat(bounds.datum, source.format);
    return rated;
}

RatedSection generateRatingFromArgs(const ParsedArgs& args, const Invocation& invocation,
                                    RatingTable& rating) {
    const SectionSource source = sectionSourceFrom(args, invocation);
    CrossSectionDocument document;
    readSection(source, document);
    return rateSection(args, source, document, rating, invocation.err);
}

} // namespace korvadel::cli
