// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/AnalysisCommands.h"

#include "cli/HelpText.h"
#include "cli/RatingOptions.h"
#include "io/AtomicFile.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/ManningFlow.h"
#include "model/Numbers.h"
#include "model/PropertyTable.h"
#include "model/RatingStages.h"
#include "model/SectionCheck.h"
#include "model/SurveyComparison.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvadel::cli {
namespace {

// Long runs are computed and written in parts of at most this many stages, so that a table of
// millions of stages needs tens of megabytes rather than gigabytes.
constexpr std::int64_t kPartStages = std::int64_t{1} << 20;

std::vector<double> stagePart(const RatingStages& run) {
    return std::vector<double>(static_cast<std::size_t>(
        std::clamp<std::int64_t>(std::int64_t{run.stepCount()} + 2, 1, kPartStages)));
}

// Where a table goes: OUT, replaced only once it is completely written, or standard output.
class TableOutput {
public:
    TableOutput(const std::optional<std::string>& path, std::FILE* out) : out_(out) {
        if (path)
            file_.emplace(*path);
    }
    void write(const std::string& text) {
        if (file_)
            file_->write(text);
        else
            writeOut(out_, text);
    }
    void commit() {
        if (file_)
            file_->commit();
    }

private:
    std::optional<AtomicFile> file_;
    std::FILE* out_;
};

// An option's number, read with the decimal separator of the run; the message names the option.
double numberOption(const std::string& text, std::string_view option, NumberFormat format) {
    double value = 0.0;
    if (!tryTextToFloat(text, value, format))
        throw Error(std::string(option) + ": '" + text + "' is not a valid floating point value");
    return value;
}

const std::string kStagesNote =
    " The stages are those of the rating command (--bounds-prompt does not apply).";

// --- properties ---

std::string propertiesHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        {"--connected", "Only the water connected to the section's lowest point."},
        {"--manning-n N", "Manning's roughness coefficient, greater than 0 (with --slope)."},
        {"--slope S", "Energy slope (length per length), greater than 0 (with --manning-n). "
                      "Conveyance K = (k / n) A R^(2/3), discharge Q = K sqrt(S)."},
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

std::optional<ManningInputs> manningInputsFrom(const ParsedArgs& args, NumberFormat format) {
    const auto roughness = args.value("manning-n");
    const auto slope = args.value("slope");
    const auto units = args.value("units");
    if (roughness && !slope)
        throw UsageError("--manning-n needs --slope S");
    if (slope && !roughness)
        throw UsageError("--slope needs --manning-n N");
    if (units && !roughness)
        throw UsageError("--units needs --manning-n N and --slope S");
    if (!roughness)
        return std::nullopt;
    ManningInputs inputs;
    if (units) {
        if (*units == "us")
            inputs.units = UnitSystem::USCustomary;
        else if (*units != "si")
            throw UsageError("--units must be si or us, not '" + *units + "'");
    }
    inputs.roughness = numberOption(*roughness, "--manning-n", format);
    checkManningRoughness(inputs.roughness, "--manning-n", format);
    inputs.slope = numberOption(*slope, "--slope", format);
    checkEnergySlope(inputs.slope, "--slope", format);
    return inputs;
}

int runProperties(const Invocation& invocation) {
    const auto options =
        optionList({kConnectedOption, {"manning-n"}, {"slope"}, {"units"}, kOutputOption},
                   kStageOptions, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    const SectionSource source = sectionSourceFrom(args, invocation);
    // Bad values of n and S stop the command before anything is read.
    const std::optional<ManningInputs> manning = manningInputsFrom(args, source.format);

    CrossSectionDocument document;
    readSection(source, document);
    requireRatingPoints(source, document);
    const RatingBounds bounds = ratingBoundsFrom(args, document, source.format, invocation.err);
    RatingStages run(bounds, source.format);
    document.points.first();
    const auto stations = document.points.stations();
    const auto elevations = document.points.elevations();
    LineWarningObserver warnings(invocation.err);
    checkEdges(elevations, run.elevationShift(), run.maximum(), warnings);

    TableOutput output(args.value("output"), invocation.out);
    // The heading goes out with the first rows, so that a Manning result refused among them
    // leaves no table at all.
    std::string text = propertyCsvHeading(manning.has_value());
    std::vector<double> stages = stagePart(run);
    while (const std::size_t count = run.next(stages)) {
        const PropertyTable table =
            propertyTable(stations, elevations, std::span(stages).first(count),
                          run.elevationShift(), bounds.water, manning);
        appendPropertyCsvRows(text, table);
        output.write(text);
        text.clear();
    }
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
            "points, repeated points and vertical steps, stations the file listed out of order, "
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
    SectionCheckInput input;
    input.minimum = textToFloat(bounds.minimum, source.format);
    input.maximum = textToFloat(bounds.maximum, source.format);
    input.datum = textToFloat(bounds.datum, source.format);
    input.unsortedStations = summary.unsortedStations;
    document.points.first();
    input.stations = document.points.stations();
    input.elevations = document.points.elevations();

    const std::vector<Finding> findings = checkSection(input, source.format);
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
    const NumberFormat format = oldSource.format;
    double threshold = kDefaultComparisonThreshold;
    if (const auto text = args.value("threshold")) {
        threshold = numberOption(*text, "--threshold", format);
        checkComparisonThreshold(threshold, "--threshold", format);
    }

    CrossSectionDocument oldSurvey;
    readSection(oldSource, oldSurvey);
    requireRatingPoints(oldSource, oldSurvey);
    CrossSectionDocument newSurvey;
    readSection(newSource, newSurvey);
    requireRatingPoints(newSource, newSurvey);
    const RatingBounds bounds = ratingBoundsFrom(args, oldSurvey, format, invocation.err);
    RatingStages run(bounds, format);
    oldSurvey.points.first();
    newSurvey.points.first();
    const SurveyPair surveys{oldSurvey.points.stations(), oldSurvey.points.elevations(),
                             newSurvey.points.stations(), newSurvey.points.elevations()};
    LineWarningObserver oldWarning(invocation.err, oldSource.file + ": ");
    checkEdges(surveys.oldElevations, run.elevationShift(), run.maximum(), oldWarning);
    LineWarningObserver newWarning(invocation.err, newSource.file + ": ");
    checkEdges(surveys.newElevations, run.elevationShift(), run.maximum(), newWarning);

    TableOutput output(args.value("output"), invocation.out);
    std::string text(kComparisonCsvHeading);
    ComparisonSummary summary;
    std::vector<double> stages = stagePart(run);
    while (const std::size_t count = run.next(stages)) {
        const SurveyComparison part = compareSurveys(surveys, std::span(stages).first(count),
                                                     run.elevationShift(), threshold);
        appendComparisonCsvRows(text, part.rows);
        output.write(text);
        text.clear();
        summary.add(part.summary);
    }
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
