// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RatingOptions.h"

#include "cli/HelpText.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/RatingTable.h"

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
        {"--from kvd|csv|winriver",
         "How to read FILE. kvd: a cross-section file with its description and gage-height "
         "settings (a file whose first line is not \"//Korvadel\" is read as a tab-separated "
         "table whose first line names the Station and Elevation columns). csv: comma-delimited "
         "points, station and elevation in the first two fields of every line. winriver: an "
         "ADCP Classic ASCII output file, one point per ensemble. By default chosen from the "
         "name: *.kvd kvd, *.csv csv, names ending in t.000 or ASC.TXT winriver, anything else "
         "kvd."},
        {"--decimal-separator C",
         "The decimal separator (one character) for reading and writing numbers. Default: the "
         "user's locale (LC_ALL, LC_NUMERIC or LANG), here '" +
             std::string(1, invocation.localeFormat.decimalSeparator) + "'."}};
    return helpList("Reading FILE (READING)", "Every command takes these.", options);
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
    return sectionSourceFor(args.positional.front(), args, invocation);
}

SectionSource sectionSourceFor(std::string file, const ParsedArgs& args,
                               const Invocation& invocation) {
    SectionSource source;
    source.file = std::move(file);
    source.kind = inputFormatForPath(source.file);
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
    return source;
}

ReadSummary readSection(const SectionSource& source, CrossSectionDocument& document) {
    return inputFormat(source.kind).read(source.file, document, source.format);
}

void requireRatingPoints(const SectionSource& source, const CrossSectionDocument& document) {
    const std::size_t count = document.points.rowCount();
    if (count >= 2)
        return;
    throw Error(source.file +
                (count == 0 ? ": no cross-section points were read"
                            : ": only one cross-section point was read") +
                " (a rating needs at least two)");
}

RatingBounds ratingBoundsFrom(const ParsedArgs& args, const CrossSectionDocument& document,
                              NumberFormat format, std::FILE* warnings) {
    RatingBounds bounds;
    bounds.minimum = args.value("min").value_or(document.settings.minimum);
    bounds.maximum = args.value("max").value_or(document.settings.maximum);
    bounds.datum = args.value("datum").value_or(document.settings.datum);
    bounds.increment = document.settings.increment();
    if (args.has(kConnectedOption.name))
        bounds.water = WaterExtent::ConnectedToLowest;
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

NumberFormat generateRatingFromArgs(const ParsedArgs& args, const Invocation& invocation,
                                    RatingTable& rating) {
    const SectionSource source = sectionSourceFrom(args, invocation);
    CrossSectionDocument document;
    readSection(source, document);
    requireRatingPoints(source, document);
    const RatingBounds bounds = ratingBoundsFrom(args, document, source.format, invocation.err);
    LineWarningObserver observer(invocation.err);
    generateRating(ratingModeFrom(args), bounds, document.points, rating, observer, source.format);
    return source.format;
}

} // namespace korvadel::cli
