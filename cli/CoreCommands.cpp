// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CoreCommands.h"

#include "cli/HelpText.h"
#include "cli/RatingOptions.h"
#include "io/CrossSectionFile.h"
#include "io/FileError.h"
#include "io/FileNames.h"
#include "io/HecRasGeometry.h"
#include "io/OutputFormats.h"
#include "model/CrossSectionDocument.h"
#include "model/HydraulicProperties.h"
#include "model/Numbers.h"
#include "model/RatingTable.h"
#include "model/WettedArea.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace korvadel::cli {
namespace {

// --- rating ---

std::string ratingHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        {"--connected", "Only the water connected to the section's lowest point: water standing "
                        "in a separate hollow of a bank or floodplain is left out of the areas."},
        {"--to csv|html|xls|rdb",
         "Export format: comma-delimited text (default), an HTML table, an Excel worksheet (at "
         "most 65535 rows) or an agency rating file (tab-delimited RDB: \"# //\" header lines "
         "with the description as station name and the datum, the columns INDEP and DEP, LF "
         "line ends; numbers always with a point)."},
        {"-o, --output OUT", "Write to OUT, replacing it only once it is completely written. "
                             "Default: standard output (xls needs -o)."},
        {"--all",
         "Every cross section of a HEC-RAS geometry file, each rated as --section would rate it "
         "alone, written into the folder -o FOLDER (made when missing) as RS.csv (.html, .xls, "
         ".rdb), RS its river station. Characters a file name cannot hold, separators among "
         "them, become _; two stations that would share a name are both left out, as are "
         "sections that cannot be read or rated, each with a line on standard error (exit "
         "status 1). The last line on standard output says how many ratings were written."}};
    return withSharedHelp(commandHelp("korvadel-cli rating FILE [OPTIONS]",
                                      "Generates the stage-area rating of the section in FILE "
                                      "and writes it as a table of gage height and wetted area, "
                                      "one row per stage. It takes the SETTINGS and READING "
                                      "options besides its own.",
                                      options),
                          invocation, withShared, true);
}

// Writes the rating as --to asks, to OUT or standard output.
void writeRating(const OutputFormatInfo& table, const std::optional<std::string>& output,
                 const RatingTable& rating, const RatedSection& rated, std::FILE* out) {
    const RatingExportContext context{rated.format, rated.description, rated.datum};
    if (output)
        table.write(*output, rating, context);
    else
        writeOut(out, table.bytes(rating, context));
}

// Rates every cross section of a geometry file into FOLDER, one file each.
int rateAllSections(const ParsedArgs& args, const Invocation& invocation,
                    const SectionSource& source, const OutputFormatInfo& table,
                    const std::string& folder) {
    const HecRasGeometry geometry = readHecRasGeometry(source.file);
    std::size_t failed = 0;
    for (const HecRasProblem& problem : geometry.problems) {
        std::fprintf(invocation.err, "korvadel-cli: %s\n",
                     asOneLineMessage(problem.message).c_str());
        ++failed;
    }
    if (geometry.sections.empty() && geometry.problems.empty())
        throw Error(source.file + " holds no cross sections");

    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::error_code ignored;
    if (!std::filesystem::is_directory(folder, ignored))
        throw Error("Cannot make the folder \"" + folder + "\"" +
                    (error ? ". " + systemErrorText(error.value()) : std::string()));

    std::vector<std::string> stations;
    for (const HecRasCrossSection& section : geometry.sections)
        stations.push_back(section.riverStation);
    const std::vector<MadeFileName> names =
        distinctFileNames(stations, "." + std::string(table.extension));
    const auto refuse = [&](const HecRasCrossSection& section, const std::string& why) {
        std::fprintf(invocation.err, "korvadel-cli: %s: %s\n", section.description().c_str(),
                     asOneLineMessage(why).c_str());
        ++failed;
    };
    std::size_t written = 0;
    for (std::size_t i = 0; i < geometry.sections.size(); ++i) {
        const HecRasCrossSection& section = geometry.sections[i];
        if (names[i].name.empty()) {
            refuse(section, "its river station makes too long a file name; not written");
            continue;
        }
        const std::string path = (std::filesystem::path(folder) / names[i].name).string();
        if (!names[i].sharedWith.empty()) {
            std::string others;
            for (const std::size_t other : names[i].sharedWith)
                others += (others.empty() ? "" : ", ") + geometry.sections[other].description();
            refuse(section,
                   path + " would also hold the rating of " + others + "; neither is written");
            continue;
        }
        if (std::filesystem::is_symlink(path, ignored)) {
            refuse(section, path + " is a symbolic link; not written");
            continue;
        }
        try {
            CrossSectionDocument document;
            const ReadSummary summary = loadHecRasSection(section, document);
            printNotes(invocation.err, source.file + ": ", summary.notes);
            RatingTable rating;
            const RatedSection rated = rateSection(args, source, document, rating, invocation.err,
                                                   section.description() + ": ");
            writeRating(table, path, rating, rated, invocation.out);
            ++written;
        } catch (const Error& failure) {
            refuse(section, failure.what());
        }
    }
    writeOut(invocation.out,
             "Wrote " + std::to_string(written) + (written == 1 ? " rating to " : " ratings to ") +
                 folder +
                 (failed > 0 ? "; " + std::to_string(failed) +
                                   (failed == 1 ? " cross section was" : " cross sections were") +
                                   " not written"
                             : std::string()) +
                 ".\n");
    return failed > 0 ? 1 : 0;
}

int runRating(const Invocation& invocation) {
    const auto options = optionList({{"to"}, kOutputOption, kConnectedOption, {"all", 0, false}},
                                    kRatingOptions, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    const std::string to = args.value("to").value_or("csv");
    const OutputFormatInfo* table = outputFormatNamed(to, true);
    if (!table)
        throw UsageError("--to must be " + outputFormatNames(true) + ", not '" + to + "'");
    const auto output = args.value("output");
    const bool all = args.has("all");
    if (all && !output)
        throw UsageError("--all needs -o FOLDER");
    if (table->binary && !output)
        throw UsageError("--to " + to + " needs -o OUT");
    // Usage problems before any reading.
    const SectionSource source = sectionSourceFrom(args, invocation);
    if (all) {
        if (source.kind != InputFormat::HecRasGeometry)
            throw UsageError("--all rates the cross sections of a HEC-RAS geometry file "
                             "(--from hecras)");
        if (args.has("section"))
            throw UsageError("--all and --section exclude each other");
        return rateAllSections(args, invocation, source, *table, *output);
    }

    RatingTable rating;
    const RatedSection rated = generateRatingFromArgs(args, invocation, rating);
    writeRating(*table, output, rating, rated, invocation.out);
    return 0;
}

// --- convert ---

std::string convertHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        {"-o, --output OUT", "The cross-section file to write (required)."}};
    return withSharedHelp(commandHelp("korvadel-cli convert FILE -o OUT [OPTIONS]",
                                      "Reads FILE and writes what was read as a cross-section "
                                      "file: description, gage-height settings (the defaults for "
                                      "imported points) and the points. It takes the READING "
                                      "options besides its own.",
                                      options),
                          invocation, withShared, false);
}

int runConvert(const Invocation& invocation) {
    const auto options = optionList({kOutputOption}, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    const SectionSource source = sectionSourceFrom(args, invocation);
    const auto output = args.value("output");
    if (!output)
        throw UsageError("convert needs -o OUT");
    CrossSectionDocument document;
    readSection(source, document);
    saveCrossSection(*output, document, source.format);
    return 0;
}

// --- area ---

std::string areaHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        {"--level L", "The water level (required)."},
        {"--connected", "Only the water connected to the section's lowest point."}};
    return withSharedHelp(commandHelp("korvadel-cli area FILE --level L [OPTIONS]",
                                      "Prints the wetted area of the section below the water "
                                      "level L (an elevation, no datum applied) in the general "
                                      "number format. It takes the READING options besides its "
                                      "own.",
                                      options),
                          invocation, withShared, false);
}

int runArea(const Invocation& invocation) {
    const auto options = optionList({{"level"}, kConnectedOption}, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    const SectionSource source = sectionSourceFrom(args, invocation);
    const auto levelText = args.value("level");
    if (!levelText)
        throw UsageError("area needs --level L");
    const double level = textToFloat(*levelText, source.format);
    CrossSectionDocument document;
    readRatingSection(source, document);
    double area = 0.0;
    if (args.has(kConnectedOption.name)) {
        document.points.first();
        area = hydraulicProperties(document.points.stations(), document.points.elevations(), level,
                                   0.0, WaterExtent::ConnectedToLowest)
                   .area;
    } else {
        area = wettedAreaOfTable(document.points, level, 0.0);
    }
    writeOut(invocation.out, formatGeneral(area, source.format) + "\n");
    return 0;
}

// --- sections ---

std::string sectionsHelp(const Invocation&, bool) {
    return commandHelp(
        "korvadel-cli sections FILE.g01",
        "Lists the cross sections of a HEC-RAS geometry file as comma-delimited text with the "
        "heading river,reach,station,points,left_bank,right_bank: river and reach, the river "
        "station as written (an interpolated section's ends in *), the number of points and the "
        "bank stations (empty without them). Bridges, culverts and other structures are not "
        "cross sections. A block that cannot be read is named on standard error with its line "
        "and river station, the others are listed all the same, and the exit status is then 3.",
        {});
}

// A text field of the list, quoted when it holds a comma or a quote.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos)
        return text;
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"')
            field += '"';
        field += c;
    }
    return field + '"';
}

std::string optionalNumber(const std::optional<double>& value) {
    return value ? formatGeneral(*value) : std::string();
}

int runSections(const Invocation& invocation) {
    const ParsedArgs args = parseArgs(invocation.args, {});
    if (args.positional.empty())
        throw UsageError("FILE is missing");
    if (args.positional.size() > 1)
        throw UsageError("unexpected argument '" + args.positional[1] + "'");
    const HecRasGeometry geometry = readHecRasGeometry(args.positional.front());
    std::string text = "river,reach,station,points,left_bank,right_bank\r\n";
    for (const HecRasCrossSection& section : geometry.sections) {
        text += csvField(section.river) + ',' + csvField(section.reach) + ',' +
                csvField(section.riverStation) + ',' + std::to_string(section.stations.size()) +
                ',' + optionalNumber(section.leftBank) + ',' + optionalNumber(section.rightBank) +
                "\r\n";
    }
    writeOut(invocation.out, text);
    for (const HecRasProblem& problem : geometry.problems)
        std::fprintf(invocation.err, "korvadel-cli: %s\n",
                     asOneLineMessage(problem.message).c_str());
    std::fflush(invocation.err);
    return geometry.problems.empty() ? 0 : 3;
}

} // namespace

Command sectionsCommand() {
    return {"sections", "list the cross sections of a HEC-RAS geometry file", sectionsHelp,
            runSections};
}

Command ratingCommand() {
    return {"rating", "generate the stage-area rating and export it", ratingHelp, runRating};
}

Command convertCommand() {
    return {"convert", "write the section read from FILE as a cross-section file", convertHelp,
            runConvert};
}

Command areaCommand() {
    return {"area", "print the wetted area below a water level", areaHelp, runArea};
}

} // namespace korvadel::cli
