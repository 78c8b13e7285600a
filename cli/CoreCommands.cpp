// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CoreCommands.h"

#include "cli/RatingOptions.h"
#include "io/CrossSectionFile.h"
#include "io/OutputFormats.h"
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
    return withSharedHelp(
        "korvadel-cli rating FILE [SETTINGS] [READING] [--connected] [--to csv|html|xls]\n"
        "                     [-o OUT]\n"
        "  Generates the stage-area rating of the section in FILE and writes it as a table\n"
        "  of gage height and wetted area, one row per stage.\n"
        "  --connected         Only the water connected to the section's lowest point:\n"
        "                      water standing in a separate hollow of a bank or\n"
        "                      floodplain is left out of the areas.\n"
        "  --to csv|html|xls   Export format: comma-delimited text (default), an HTML table\n"
        "                      or an Excel worksheet (at most 65535 rows).\n"
        "  -o, --output OUT    Write to OUT, replacing it only once it is completely\n"
        "                      written. Default: standard output (xls needs -o).\n",
        invocation, withShared, true);
}

int runRating(const Invocation& invocation) {
    const auto options =
        optionList({{"to"}, kOutputOption, kConnectedOption}, kRatingOptions, kInputOptions);
    const ParsedArgs args = parseArgs(invocation.args, options);
    const std::string to = args.value("to").value_or("csv");
    const OutputFormatInfo* table = outputFormatNamed(to, true);
    if (!table)
        throw UsageError("--to must be " + outputFormatNames(true) + ", not '" + to + "'");
    const auto output = args.value("output");
    if (table->binary && !output)
        throw UsageError("--to " + to + " needs -o OUT");
    (void)sectionSourceFrom(args, invocation); // usage problems before any reading

    RatingTable rating;
    const NumberFormat format = generateRatingFromArgs(args, invocation, rating);
    if (output)
        table->write(*output, rating, format);
    else
        writeOut(invocation.out, table->bytes(rating, format));
    return 0;
}

// --- convert ---

std::string convertHelp(const Invocation& invocation, bool withShared) {
    return withSharedHelp(
        "korvadel-cli convert FILE -o OUT [READING]\n"
        "  Reads FILE and writes what was read as a cross-section file: description,\n"
        "  gage-height settings (the defaults for imported points) and the points.\n"
        "  -o, --output OUT    The cross-section file to write (required).\n",
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
    return withSharedHelp(
        "korvadel-cli area FILE --level L [READING] [--connected]\n"
        "  Prints the wetted area of the section below the water level L (an elevation,\n"
        "  no datum applied) in the general number format.\n"
        "  --level L           The water level (required).\n"
        "  --connected         Only the water connected to the section's lowest point.\n",
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
