// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/IndexVelocityCommands.h"

#include "cli/HelpText.h"
#include "cli/RatingOptions.h"
#include "io/DischargeRecordFile.h"
#include "io/MeasurementFile.h"
#include "io/MeasurementTable.h"
#include "io/OutputFormats.h"
#include "io/TableExport.h"
#include "io/VelocityRatingReport.h"
#include "model/CommandSteps.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/MeasurementFit.h"
#include "model/Numbers.h"
#include "model/SurveyComparison.h"
#include "model/VelocityRating.h"

#ifdef KORVADEL_CLI_WITH_UI
#include "cli/qt/VelocityReportPdf.h"
#include "components/chart/VelocityPlots.h"
#endif

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace korvadel::cli {
namespace {

// --datum T: with the reading options, all the rated area needs of the section.
inline constexpr OptionSpec kDatumOption{"datum"};
inline constexpr OptionSpec kModelOptions[] = {{"model"}, {"breakpoint"}};

const std::string kSectionNote =
    " SECTION is read as every command reads FILE (READING); its rated area at a gage height is "
    "the rating's wetted area there, unrounded, the bed elevations less the datum and vertical "
    "walls at the ends. A gage height above an end of the section prints the rating's edge "
    "warning on standard error. It takes the READING options besides its own.";

const std::string kMeasurementsNote =
    "\nMEASUREMENTS is comma-delimited text whose first line names the columns number, start, "
    "end, gage_height, discharge, index_velocity, measured_area, use (fit, validate or exclude; "
    "empty is fit) and comment (case ignored, space and underscore alike, other columns "
    "ignored), or a USGS field-measurement file (RDB), whose measurement_nu, measurement_dt, "
    "gage_height_va, discharge_va and chan_area are read. Times are ISO 8601; numbers take a "
    "point.";

const HelpEntry kDatumEntry{"--datum T", "Datum: gage height = elevation - datum. Default: "
                                         "SECTION's (0.00 for imported points)."};
const HelpEntry kModelEntry{
    "--model M", "The form of the velocity rating, V the mean velocity, Vi the index velocity, "
                 "GH the gage height: simple V = a + b*Vi; coefficient V = b*Vi; stage V = a + "
                 "b*Vi + c*Vi*GH; compound V = a + b*Vi + c*max(0, Vi - X)."};
const HelpEntry kBreakpointEntry{"--breakpoint X",
                                 "The compound form's breakpoint X (that form only; required)."};
const HelpEntry kOutputEntry{"-o, --output OUT", "Write to OUT, replacing it only once it is "
                                                 "completely written. Default: standard output."};

void requirePositional(const ParsedArgs& args, std::string_view first, std::string_view second) {
    if (args.positional.size() < 2)
        throw UsageError(args.positional.empty()
                             ? std::string(first) + " and " + std::string(second) + " are missing"
                             : std::string(second) + " is missing");
    if (args.positional.size() > 2)
        throw UsageError("unexpected argument '" + args.positional[2] + "'");
}

// The decimal separator the options are read with: SECTION's.
NumberFormat optionFormat(const ParsedArgs& args, const Invocation& invocation) {
    return sectionSourceFor(args.positional[0], args, invocation).format;
}

// The section read from the first positional argument, as columns, with its datum.
struct Section {
    SectionSource source;
    CrossSectionDocument document;
    double datum = 0.0;
    std::vector<double> stations;
    std::vector<double> elevations;
};

void readSectionFrom(const ParsedArgs& args, const Invocation& invocation, Section& section) {
    section.source = sectionSourceFor(args.positional[0], args, invocation);
    requireChoicesApply(args, {&section.source});
    readRatingSection(section.source, section.document);
    // The rating's datum, unless --datum gives another.
    if (const auto datum = args.value("datum"))
        section.datum = readNamedNumber(*datum, "--datum", section.source.format);
    else
        section.datum =
            textToFloat(ratingBounds(section.document.settings).datum, section.source.format);
    section.document.points.first();
    const auto stations = section.document.points.stations();
    const auto elevations = section.document.points.elevations();
    section.stations.assign(stations.begin(), stations.end());
    section.elevations.assign(elevations.begin(), elevations.end());
}

// The rating's edge warning when water at the highest gage height would stand against a wall.
void warnAboveEnds(const Section& section, double highestGageHeight, std::FILE* warnings) {
    if (!std::isfinite(highestGageHeight))
        return;
    LineWarningObserver observer(warnings);
    checkEdges(section.elevations, -section.datum, highestGageHeight, observer);
}

double highestGageHeight(const MeasurementFile& file) {
    double highest = -std::numeric_limits<double>::infinity();
    for (const Measurement& m : file.measurements)
        highest = std::max(highest, m.gageHeight);
    return highest;
}

struct ModelChoice {
    VelocityModel model = VelocityModel::Simple;
    double breakpoint = 0.0;
};

ModelChoice modelFrom(const ParsedArgs& args, std::string_view command, NumberFormat format) {
    const auto name = args.value("model");
    if (!name)
        throw UsageError(std::string(command) + " needs --model simple|coefficient|stage|compound");
    const VelocityModelInfo* info = velocityModelNamed(*name);
    if (info == nullptr)
        throw UsageError("--model must be simple, coefficient, stage or compound, not '" + *name +
                         "'");
    ModelChoice choice;
    choice.model = info->model;
    const auto breakpoint = args.value("breakpoint");
    if (choice.model == VelocityModel::Compound && !breakpoint)
        throw UsageError("--model compound needs --breakpoint X");
    if (choice.model != VelocityModel::Compound && breakpoint)
        throw UsageError("--breakpoint applies to --model compound only");
    if (breakpoint) {
        choice.breakpoint = readNamedNumber(*breakpoint, "--breakpoint", format);
        if (!std::isfinite(choice.breakpoint))
            throw Error("--breakpoint must be a finite number");
    }
    return choice;
}

// The measurements with their rated areas and the rating fitted to them.
struct FittedMeasurements {
    MeasurementFile file;
    std::vector<RatedMeasurement> rated;
    std::optional<VelocityRatingFit> fit;
};

FittedMeasurements fitMeasurements(const std::string& path, const Section& section,
                                   const ModelChoice& choice) {
    FittedMeasurements result;
    result.file = readMeasurements(path);
    requireFitIndexVelocities(result.file);
    result.rated = rateMeasurements(result.file.measurements, section.stations, section.elevations,
                                    -section.datum);
    const std::vector<VelocitySample> samples = fitSamples(result.file.measurements, result.rated);
    result.fit = fitVelocityRating(choice.model, choice.breakpoint, samples);
    return result;
}

// --- measurements ---

std::string measurementsHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        kDatumEntry,
        {"--threshold P",
         "Percent area difference beyond which a measurement is marked, 0 or more. Default: 5."},
        {"--to csv|html|xls", "Export format, as the rating's: comma-delimited text (default), "
                              "an HTML table or an Excel worksheet (xls needs -o)."},
        kOutputEntry};
    return withSharedHelp(
        commandHelp("korvadel-cli measurements SECTION MEASUREMENTS [OPTIONS]",
                    "The measurement summary of an index-velocity station: for every discharge "
                    "measurement the rated area of SECTION at its gage height, its mean velocity "
                    "(discharge / rated area) and, with a measured area, the difference 100 x "
                    "(measured - rated) / rated. The table's heading names the columns number, "
                    "start, end, gage_height, discharge, index_velocity, rated_area, "
                    "mean_velocity, measured_area, area_difference_percent, beyond_threshold, "
                    "use and comment; cells the file leaves empty stay empty, beyond_threshold "
                    "is yes or no (empty without a measured area). Numbers always take a point. "
                    "A line on standard error says how many measured areas lie beyond the "
                    "threshold. A measurement whose gage height holds no water in SECTION stops "
                    "the command." +
                        kSectionNote + kMeasurementsNote,
                    options),
        invocation, withShared, false);
}

int runMeasurements(const Invocation& invocation) {
    const auto options =
        optionList({{"threshold"}, {"to"}, kOutputOption, kDatumOption}, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    requirePositional(args, "SECTION", "MEASUREMENTS");
    const std::string to = args.value("to").value_or("csv");
    const OutputFormatInfo* format = anyTableFormatNamed(to);
    if (!format)
        throw UsageError("--to must be " + anyTableFormatNames() + ", not '" + to + "'");
    const auto output = args.value("output");
    if (format->binary && !output)
        throw UsageError("--to " + to + " needs -o OUT");

    Section section;
    readSectionFrom(args, invocation, section);
    double threshold = kDefaultAreaThreshold;
    if (const auto text = args.value("threshold")) {
        threshold = readNamedNumber(*text, "--threshold", section.source.format);
        checkComparisonThreshold(threshold, "--threshold", section.source.format);
    }
    const MeasurementFile file = readMeasurements(args.positional[1]);
    warnAboveEnds(section, highestGageHeight(file), invocation.err);
    const std::vector<RatedMeasurement> rated = rateMeasurements(
        file.measurements, section.stations, section.elevations, -section.datum, threshold);
    const MeasurementTable table(file.measurements, rated);
    if (output)
        exportTable(*output, format->format, table);
    else
        writeOut(invocation.out, tableBytes(format->format, table));
    writeOut(invocation.err, areaCheckLine(rated, threshold));
    return 0;
}

// --- velocity-rating ---

std::string velocityRatingHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        kModelEntry,
        kBreakpointEntry,
        kDatumEntry,
        {"--format text|json|pdf",
         "text: a report to read (default). json: one object with model, equation, n, "
         "parameters, degrees_of_freedom, coefficients, r_squared, adjusted_r_squared, "
         "standard_error_of_estimate, f, f_p and measurements; numbers read back exactly, null "
         "where there is none. pdf: the report the desktop program prints (title block with "
         "SECTION's description, the date, model and equation; the statistics; the measurement "
         "summary; the line fit, residual and area plots), on Letter paper; needs -o."},
        {"--units feet|metres",
         "The units the pdf report names (ft, ft^2, ft^3/s or m, m^2, m^3/s); nothing is "
         "converted. Default: feet."},
        kOutputEntry};
    return withSharedHelp(
        commandHelp(
            "korvadel-cli velocity-rating SECTION MEASUREMENTS --model M [OPTIONS]",
            "Fits the index-velocity rating, mean velocity V (discharge / rated area of SECTION) "
            "against the index velocity Vi, by ordinary least squares to the measurements whose "
            "use is fit, and reports it as a statistics package reports a regression: n, the "
            "parameters, each coefficient's estimate, standard error, t and two-sided p (Student "
            "t, n - parameters degrees of freedom), R squared (about zero for the coefficient "
            "form), adjusted R squared, the standard error of estimate, F and its p; then for "
            "every measurement, fit, validate and exclude alike, the fitted V, the residual, the "
            "rated discharge (fitted V x rated area), the percent difference from it and the 95 "
            "% prediction interval of V with whether V lies inside it. Every fit measurement "
            "needs an index velocity. Too few fit measurements (parameters + 1 at least) or a "
            "singular design (all index velocities equal, say) stop the command." +
                kSectionNote + kMeasurementsNote,
            options),
        invocation, withShared, false);
}

int runVelocityRating(const Invocation& invocation) {
    const auto options = optionList({{"format"}, {"units"}, kOutputOption, kDatumOption},
                                    kModelOptions, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    requirePositional(args, "SECTION", "MEASUREMENTS");
    const std::string format = args.value("format").value_or("text");
    if (format != "text" && format != "json" && format != "pdf")
        throw UsageError("--format must be text, json or pdf, not '" + format + "'");
    const std::string units = args.value("units").value_or("feet");
    if (units != "feet" && units != "metres")
        throw UsageError("--units must be feet or metres, not '" + units + "'");
    if (args.value("units") && format != "pdf")
        throw UsageError("--units applies to --format pdf only");
    if (format == "pdf" && !args.value("output"))
        throw UsageError("--format pdf needs -o FILE.pdf");
#ifndef KORVADEL_CLI_WITH_UI
    if (format == "pdf")
        throw UsageError("--format pdf needs the desktop program's libraries, which this build "
                         "of korvadel-cli leaves out");
#endif
    const ModelChoice choice = modelFrom(args, "velocity-rating", optionFormat(args, invocation));

    Section section;
    readSectionFrom(args, invocation, section);
    const FittedMeasurements fitted = fitMeasurements(args.positional[1], section, choice);
    warnAboveEnds(section, highestGageHeight(fitted.file), invocation.err);
    const std::vector<MeasurementFit> evaluated =
        evaluateMeasurements(*fitted.fit, fitted.file.measurements, fitted.rated);
#ifdef KORVADEL_CLI_WITH_UI
    if (format == "pdf") {
        VelocityPlotInput input;
        input.measurements = fitted.file.measurements;
        input.rated = fitted.rated;
        input.fit = &*fitted.fit;
        input.evaluated = evaluated;
        input.stations = section.stations;
        input.elevations = section.elevations;
        input.datum = section.datum;
        input.feet = units == "feet";
        writeVelocityRatingPdf(input, section.document.description, *args.value("output"));
        return 0;
    }
#endif
    const VelocityRatingReport report{*fitted.fit, fitted.file.measurements, fitted.rated,
                                      evaluated};
    CommandOutput output(args.value("output"), invocation.out);
    output.write(format == "json" ? velocityRatingJson(report) : velocityRatingText(report));
    output.commit();
    return 0;
}

// --- discharge ---

std::string dischargeHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        {"--measurements FILE",
         "The rating fitted to the measurements in FILE, as velocity-rating fits it."},
        {"--coefficients LIST",
         "The rating's coefficients, comma-separated with a decimal point, in the order of the "
         "form's terms: a,b (simple), b (coefficient), a,b,c (stage, compound)."},
        kModelEntry,
        kBreakpointEntry,
        kDatumEntry,
        {"--daily", "One line per calendar date as the times write it (no time-zone "
                    "conversion), in date order, with the heading date,mean_discharge,values: "
                    "the mean of that date's discharges and how many there were."},
        kOutputEntry};
    return withSharedHelp(
        commandHelp("korvadel-cli discharge SECTION RECORD --model M [OPTIONS]",
                    "The discharge of a stage and index-velocity record, Q = V x A: A the rated "
                    "area of SECTION at the row's gage height, V the velocity rating's at its "
                    "index velocity (and gage height), the rating fitted to measurements or given "
                    "by its coefficients (one of the two options is needed). RECORD is "
                    "comma-delimited text whose first "
                    "line names the columns time (ISO 8601), gage_height and index_velocity. The "
                    "output is comma-delimited with a heading line naming the columns time, "
                    "gage_height, index_velocity, area, mean_velocity and discharge, one line "
                    "per row, the inputs as written; a row with an empty or unreadable value has "
                    "that field and the ones that depend on it empty, and a line on standard "
                    "error counts such rows. Numbers always take a point." +
                        kSectionNote,
                    options),
        invocation, withShared, false);
}

VelocityEquation equationFromCoefficients(const std::string& list, const ModelChoice& choice) {
    const VelocityModelInfo& info = velocityModelInfo(choice.model);
    VelocityEquation equation;
    equation.model = choice.model;
    equation.breakpoint = choice.breakpoint;
    std::vector<std::string> texts;
    std::size_t from = 0;
    for (std::size_t comma; (comma = list.find(',', from)) != std::string::npos; from = comma + 1)
        texts.push_back(list.substr(from, comma - from));
    texts.push_back(list.substr(from));
    if (texts.size() != info.terms.size())
        throw UsageError("--coefficients for --model " + std::string(info.name) + " takes " +
                         std::to_string(info.terms.size()) +
                         (info.terms.size() == 1 ? " number" : " numbers") + ", not " +
                         std::to_string(texts.size()));
    for (std::size_t j = 0; j < texts.size(); ++j)
        equation.coefficients[j] = readNamedNumber(texts[j], "--coefficients", NumberFormat{});
    return equation;
}

int runDischarge(const Invocation& invocation) {
    const auto options = optionList(
        {{"measurements"}, {"coefficients"}, {"daily", 0, false}, kOutputOption, kDatumOption},
        kModelOptions, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    requirePositional(args, "SECTION", "RECORD");
    const auto measurements = args.value("measurements");
    const auto coefficients = args.value("coefficients");
    if (measurements.has_value() == coefficients.has_value())
        throw UsageError("discharge needs either --measurements FILE or --coefficients LIST");
    const ModelChoice choice = modelFrom(args, "discharge", optionFormat(args, invocation));
    std::optional<VelocityEquation> fromCoefficients;
    if (coefficients)
        fromCoefficients = equationFromCoefficients(*coefficients, choice);

    Section section;
    readSectionFrom(args, invocation, section);
    double highest = -std::numeric_limits<double>::infinity();
    VelocityEquation equation;
    if (fromCoefficients) {
        equation = *fromCoefficients;
    } else {
        const FittedMeasurements fitted = fitMeasurements(*measurements, section, choice);
        equation = fitted.fit->equation;
        highest = highestGageHeight(fitted.file);
    }
    const std::string& record = args.positional[1];
    CommandOutput output(args.value("output"), invocation.out);
    const RecordSummary summary = writeDischargeRecord(
        record, {section.stations, section.elevations, -section.datum}, equation, args.has("daily"),
        [&output](std::string_view bytes) { output.write(bytes); });
    output.commit();
    // One warning for the measurements and the record together.
    warnAboveEnds(section, std::max(highest, summary.highestGageHeight), invocation.err);
    writeOut(invocation.err, recordGapsLine(record, summary));
    return 0;
}

} // namespace

Command measurementsCommand() {
    return {"measurements", "rated area and mean velocity of discharge measurements",
            measurementsHelp, runMeasurements};
}

Command velocityRatingCommand() {
    return {"velocity-rating", "fit an index-velocity rating to discharge measurements",
            velocityRatingHelp, runVelocityRating};
}

Command dischargeCommand() {
    return {"discharge", "discharge of a stage and index-velocity record", dischargeHelp,
            runDischarge};
}

} // namespace korvadel::cli
