// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CoreCommands.h"

#include "cli/HelpText.h"
#include "cli/RatingOptions.h"
#include "io/CrossSectionFile.h"
#include "io/RatingExport.h"
#include "model/CrossSectionDocument.h"
#include "model/HydraulicProperties.h"
#include "model/Numbers.h"
#include "model/RatingTable.h"
#include "model/WettedArea.h"

#include <vector>

namespace korvadel::cli {
namespace {

// --- rating ---

std::string ratingHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        {"--connected", "Only the water connected to the section's lowest point: water standing "
                        "in a separate hollow of a bank or floodplain is left out of the areas."},
        {"--to csv|html|xls", "Export format: comma-delimited text (default), an HTML table or "
                              "an Excel worksheet (at most 65535 rows)."},
        {"-o, --output OUT", "Write to OUT, replacing it only once it is completely written. "
                             "Default: standard output (xls needs -o)."}};
    return withSharedHelp(commandHelp("korvadel-cli rating FILE [OPTIONS]",
                                      "Generates the stage-area rating of the section in FILE "
                                      "and writes it as a table of gage height and wetted area, "
                                      "one row per stage. It takes the SETTINGS and READING "
                                      "options besides its own.",
                                      options),
                          invocation, withShared, true);
}

int runRating(const Invocation& invocation) {
    const auto options =
        optionList({{"to"}, kOutputOption, kConnectedOption}, kRatingOptions, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    const TableFormatInfo& to = tableFormatFrom(args);
    const auto output = args.value("output");
    (void)sectionSourceFrom(args, invocation); // usage problems before any reading

    RatingTable rating;
    const NumberFormat format = generateRatingFromArgs(args, invocation, rating);
    if (to.format == TableFormat::Xls)
        checkWorksheetRows(rating); // the rating's own words for a rating too long
    const RatingTableSource table(rating);
    if (output)
        exportTable(*output, to.format, table, format);
    else
        writeOut(invocation.out, tableBytes(to.format, table, format));
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
    readSection(source, document);
    requireRatingPoints(source, document);
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

} // namespace

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
