// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/AnalysisCommands.h"

#include "cli/HelpText.h"
#include "cli/RatingOptions.h"
#include "model/CommandSteps.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/ManningFlow.h"
#include "model/Numbers.h"
#include "model/PropertyTable.h"
#include "model/RatingStages.h"
#include "model/SectionCheck.h"
#include "model/SectionPoints.h"
#include "model/SurveyComparison.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvadel::cli {
namespace {

const std::string kStagesNote =
    " The stages are those of the rating command (--bounds-prompt does not apply).";

// --- properties ---

std::string propertiesHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        {"--connected", "Only the water connected to the section's lowest point."},
        {"--manning-n N...",
         "Manning's roughness coefficient, greater than 0 (with --slope); with --subdivide a "
         "list N1,N2,... of one per subsection from left to right, or one for them all."},
        {"--subdivide S...",
         "Stations S1,S2,... of vertical lines that divide the section into subsections, from "
         "left to right. Each subsection's area A_i and wetted perimeter P_i (the dividing lines "
         "are "
         "not wetted perimeter) give its conveyance K_i = (k / n_i) A_i (A_i / P_i)^(2/3); the "
         "conveyance is their sum, and the columns conveyance_1, conveyance_2, ... after "
         "discharge give each. Lists take commas, or semicolons (which a decimal comma needs)."},
        {"--slope S", "Energy slope (length per length), greater than 0 (with --manning-n). "
                      "Conveyance K = (k / n) A R^(2/3), discharge Q = K sqrt(S). For a HEC-RAS "
                      "cross section without --manning-n the n values and the stations where "
                      "they begin come from the file."},
        {"--units si|us",
         "The unit of FILE's lengths: si metres, k = 1 (default); us feet, k = 1.486."},
        {"-o, --output OUT", "Write to OUT, replacing it only once it is completely written. "
                             "Default: standard output."}};
    return withSharedHelp(
        commandHelp(
            "korvadel-cli properties FILE [OPTIONS]",
            "Writes the hydraulic properties of the section in FILE at every stage of the "
            "rating as comma-delimited text whose heading line names the columns stage, area, "
            "top_width, wetted_perimeter, hydraulic_radius, mean_depth and max_depth (then "
            "conveyance and discharge with --manning-n and --slope): wetted area, width of the "
            "water surface, length of wet bed and walls, area / perimeter, area / top width, "
            "and the stage less the lowest bed. The stage is rounded as the rating writes it; "
            "every other value is unrounded. Numbers always take a point, whatever the decimal "
            "separator FILE and the options are read with. A maximum gage height above an end "
            "of the section prints the rating's edge warning on standard error. A conveyance or "
            "discharge too large to be represented stops the command with an error (OUT, with "
            "-o, is left as it was); one too small comes out as 0." +
                kStagesNote + " It takes the SETTINGS and READING options besides its own.",
            options),
        invocation, withShared, true);
}

// Manning's inputs of the properties, and the subsections the conveyance is summed over.
struct ManningChoice {
    std::optional<ManningInputs> manning;
    std::optional<Subsections> subsections;
    bool fromFile = false; // the n values are the section's own (a HEC-RAS cross section)
};

ManningChoice manningInputsFrom(const ParsedArgs& args, const SectionSource& source) {
    const NumberFormat format = source.format;
    const auto roughness = args.value("manning-n");
    const auto subdivide = args.value("subdivide");
    const auto slope = args.value("slope");
    const auto units = args.value("units");
    const bool fileGivesN = source.kind == InputFormat::HecRasGeometry;
    if (roughness && !slope)
        throw UsageError("--manning-n needs --slope S");
    if (slope && !roughness && !fileGivesN)
        throw UsageError("--slope needs --manning-n N");
    if (units && !slope)
        throw UsageError("--units needs --manning-n N and --slope S");
    if (subdivide && !roughness)
        throw UsageError("--subdivide needs --manning-n N,N,... (one per subsection)");
    ManningChoice choice;
    if (!slope)
        return choice;
    ManningInputs inputs;
    if (units) {
        if (*units == "us")
            inputs.units = UnitSystem::USCustomary;
        else if (*units != "si")
            throw UsageError("--units must be si or us, not '" + *units + "'");
    }
    if (roughness) {
        Subsections subsections;
        subsections.roughness = readNumberList(*roughness, "--manning-n", format);
        if (subdivide)
            subsections.boundaries = readNumberList(*subdivide, "--subdivide", format);
        else if (subsections.roughness.size() > 1)
            throw UsageError("--manning-n gives " + std::to_string(subsections.roughness.size()) +
                             " values; --subdivide S,... gives the stations between them");
        if (subsections.roughness.size() == 1)
            subsections.roughness.assign(subsections.boundaries.size() + 1,
                                         subsections.roughness.front());
        checkSubsections(subsections, "--subdivide", "--manning-n", format);
        inputs.roughness = subsections.roughness.front();
        if (subsections.divided())
            choice.subsections = std::move(subsections);
    } else {
        choice.fromFile = true;
    }
    inputs.slope = readNamedNumber(*slope, "--slope", format);
    checkEnergySlope(inputs.slope, "--slope", format);
    choice.manning = inputs;
    return choice;
}

int runProperties(const Invocation& invocation) {
    const auto options = optionList(
        {kConnectedOption, {"manning-n"}, {"subdivide"}, {"slope"}, {"units"}, kOutputOption},
        kStageOptions, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    const SectionSource source = sectionSourceFrom(args, invocation);
    // Bad values of n and S stop the command before anything is read.
    ManningChoice manning = manningInputsFrom(args, source);

    CrossSectionDocument document;
    const ReadSummary summary = readRatingSection(source, document);
    if (manning.fromFile) {
        if (!summary.roughness)
            throw Error(source.file + ": " + document.description +
                        " gives no Manning's n; give --manning-n");
        checkSubsections(*summary.roughness, "The n stations of " + document.description,
                         "Manning's n of " + document.description, source.format);
        manning.manning->roughness = summary.roughness->roughness.front();
        if (summary.roughness->divided())
            manning.subsections = summary.roughness;
    }
    const RatingBounds bounds = ratingBoundsFrom(args, document, source.format, invocation.err);
    const RatingStages run(bounds, source.format);
    document.points.first();
    const auto stations = document.points.stations();
    const auto elevations = document.points.elevations();
    LineWarningObserver warnings(invocation.err);
    checkEdges(elevations, run.elevationShift(), run.maximum(), warnings);

    CommandOutput output(args.value("output"), invocation.out);
    // The heading goes out with the first rows, so that a Manning result refused among them
    // leaves no table at all.
    std::string text = propertyCsvHeading(manning.manning.has_value(),
                                          manning.subsections ? manning.subsections->count() : 0);
    forEachStageBlock(run, [&](std::span<const double> stages) {
        const PropertyTable table =
            propertyTable(stations, elevations, stages, run.elevationShift(), bounds.water,
                          manning.manning, manning.subsections);
        appendPropertyCsvRows(text, table);
        output.write(text);
        text.clear();
    });
    if (!text.empty())
        output.write(text);
    output.commit();
    return 0;
}

// --- check ---

std::string checkHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {{"--format text|csv",
                                  "text: one line per finding (default). csv: comma-delimited "
                                  "with the heading severity,code,station,message; a field holding "
                                  "a comma or a quote is quoted."}};
    return withSharedHelp(
        commandHelp(
            "korvadel-cli check FILE [OPTIONS]",
            "Lists what to know about the section in FILE before trusting its rating: too few "
            "points, points without an elevation (counted as 0), repeated points and vertical "
            "steps, stations the file listed out of order, "
            "ends below the maximum gage height and the share of the area held by the assumed "
            "wall, water standing apart from the channel, wide gaps between stations, spikes, "
            "and gage-height settings below the bed or above both banks. Each finding is a "
            "warning or an info. Exit status 0 when there is no warning, 3 when there is at "
            "least one, 1 when FILE or a setting cannot be read. A file of fewer than two "
            "points is reported, not refused. Numbers in the messages take the decimal "
            "separator FILE is read with. It takes the SETTINGS options except --bounds-prompt, "
            "and the READING options, besides its own.",
            options),
        invocation, withShared, true);
}

int runCheck(const Invocation& invocation) {
    const auto options = optionList({{"format"}}, kStageOptions, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    const std::string format = args.value("format").value_or("text");
    if (format != "text" && format != "csv")
        throw UsageError("--format must be text or csv, not '" + format + "'");
    const SectionSource source = sectionSourceFrom(args, invocation);

    CrossSectionDocument document;
    const ReadSummary summary = readSection(source, document);
    const RatingBounds bounds = ratingBoundsFrom(args, document, source.format, invocation.err);
    const std::vector<Finding> findings =
        checkPoints(document.points, bounds, summary.unsortedStations, source.format);
    writeOut(invocation.out, format == "csv" ? findingsCsv(findings, source.format)
                                             : findingsText(findings, source.format));
    return hasWarning(findings) ? 3 : 0;
}

// --- compare ---

std::string compareHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        {"--threshold PERCENT",
         "Percent difference beyond which a stage is marked, 0 or more. Default: 5."},
        {"-o, --output OUT", "Write to OUT, replacing it only once it is completely written. "
                             "Default: standard output."}};
    return withSharedHelp(
        commandHelp(
            "korvadel-cli compare OLD NEW [OPTIONS]",
            "Rates two surveys of one section over the same stages and writes, as "
            "comma-delimited text whose heading line names the columns stage, area_old, "
            "area_new, difference, percent_difference and beyond_threshold, each stage with "
            "both areas as the rating gives them, the difference NEW - OLD, that difference in "
            "percent of OLD (empty where OLD holds no water) and whether it exceeds the "
            "threshold (yes or no; where OLD holds no water, any water in NEW does). The last "
            "line on standard error gives the largest percent difference and its stage, and "
            "how many stages lie beyond the threshold. The gage-height settings are OLD's (the "
            "defaults when OLD is not a cross-section file), with the options given put in "
            "their place; NEW's own settings are not used. Each file is read by its own name's "
            "reader; --from, when given, applies to both. Numbers always take a point." +
                kStagesNote + " It takes the SETTINGS and READING options besides its own.",
            options),
        invocation, withShared, true);
}

int runCompare(const Invocation& invocation) {
    const auto options = optionList({{"threshold"}, kOutputOption}, kStageOptions, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    if (args.positional.size() < 2)
        throw UsageError(args.positional.empty() ? "OLD and NEW are missing" : "NEW is missing");
    if (args.positional.size() > 2)
        throw UsageError("unexpected argument '" + args.positional[2] + "'");
    const SectionSource oldSource = sectionSourceFor(args.positional[0], args, invocation);
    const SectionSource newSource = sectionSourceFor(args.positional[1], args, invocation);
    requireChoicesApply(args, {&oldSource, &newSource});
    const NumberFormat format = oldSource.format;
    double threshold = kDefaultComparisonThreshold;
    if (const auto text = args.value("threshold")) {
        threshold = readNamedNumber(*text, "--threshold", format);
        checkComparisonThreshold(threshold, "--threshold", format);
    }

    CrossSectionDocument oldSurvey;
    readRatingSection(oldSource, oldSurvey);
    CrossSectionDocument newSurvey;
    readRatingSection(newSource, newSurvey);
    const RatingBounds bounds = ratingBoundsFrom(args, oldSurvey, format, invocation.err);
    const RatingStages run(bounds, format);
    const SectionPoints older = sectionPoints(oldSurvey.points);
    const SectionPoints newer = sectionPoints(newSurvey.points);
    const SurveyPair surveys{older.stations, older.elevations, newer.stations, newer.elevations};
    LineWarningObserver oldWarning(invocation.err, oldSource.file + ": ");
    checkEdges(surveys.oldElevations, run.elevationShift(), run.maximum(), oldWarning);
    LineWarningObserver newWarning(invocation.err, newSource.file + ": ");
    checkEdges(surveys.newElevations, run.elevationShift(), run.maximum(), newWarning);

    CommandOutput output(args.value("output"), invocation.out);
    std::string text(kComparisonCsvHeading);
    const ComparisonSummary summary =
        compareSurveysOverRun(surveys, run, threshold, [&](const SurveyComparison& part) {
            appendComparisonCsvRows(text, part.rows);
            output.write(text);
            text.clear();
        });
    if (!text.empty())
        output.write(text);
    output.commit();
    writeOut(invocation.err, comparisonSummaryLine(summary, threshold));
    return 0;
}

} // namespace

Command propertiesCommand() {
    return {"properties", "hydraulic properties (and Manning discharge) at every stage",
            propertiesHelp, runProperties};
}

Command checkCommand() {
    return {"check", "list what to know about a section before rating it", checkHelp, runCheck};
}

Command compareCommand() {
    return {"compare", "compare the ratings of two surveys of one section", compareHelp,
            runCompare};
}

} // namespace korvadel::cli
