// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/qt/ChartCommand.h"

#include "cli/HelpText.h"
#include "cli/RatingOptions.h"
#include "cli/qt/QtCommands.h"
#include "components/chart/Chart.h"
#include "components/chart/ChartPicture.h"
#include "components/chart/ChartPrintLayout.h"
#include "components/chart/RatingChart.h"
#include "components/wmf/WmfPaintDevice.h"
#include "io/OutputFormats.h"
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/RatingTable.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <iterator>
#include <optional>

namespace korvadel::cli {
namespace {

constexpr OptionSpec kOwnOptions[] = {
    {"to"}, {"output", 'o'}, {"width"}, {"height"}, {"description"}};

std::string chartHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {
        {"--to jpeg|wmf", "JPEG at quality 95, or a placeable Windows metafile."},
        {"-o, --output OUT",
         "The picture file (required), replaced only once it is completely written."},
        {"--width W", "Chart width in pixels (default: as the window first opens)."},
        {"--height H", "Chart height in pixels (default: as the window first opens)."},
        {"--description TEXT",
         "Title the chart as \"Print Chart\" does: TEXT over \"Stage Area Rating\"."}};
    return withSharedHelp(commandHelp("korvadel-cli chart FILE --to jpeg|wmf -o OUT [OPTIONS]",
                                      "Draws the rating chart of the section in FILE as the "
                                      "rating window shows it and saves it as a picture. Works "
                                      "without a display. It takes the SETTINGS and READING "
                                      "options besides its own.",
                                      options),
                          invocation, withShared, true);
}

std::optional<int> sizeOption(const ParsedArgs& args, std::string_view name) {
    const auto text = args.value(name);
    if (!text)
        return std::nullopt;
    std::int32_t value = 0;
    try {
        value = textToInt(*text);
    } catch (const Error&) {
        throw UsageError("--" + std::string(name) + " must be a whole number of pixels, not '" +
                         *text + "'");
    }
    // Metafile coordinates are 16-bit; a picture beyond that has no use as a chart.
    if (value < 1 || value > 16000)
        throw UsageError("--" + std::string(name) + " must be from 1 to 16000, not '" + *text +
                         "'");
    return value;
}

int runChart(const Invocation& invocation) {
    std::vector<OptionSpec> options(std::begin(kOwnOptions), std::end(kOwnOptions));
    options.insert(options.end(), std::begin(kRatingOptions), std::end(kRatingOptions));
    options.insert(options.end(), std::begin(kInputOptions), std::end(kInputOptions));
    const ParsedArgs args = parseArgs(invocation.args, options);

    const auto to = args.value("to");
    if (!to)
        throw UsageError("chart needs --to jpeg or --to wmf");
    const OutputFormatInfo* picture = outputFormatNamed(*to, false);
    if (!picture)
        throw UsageError("--to must be " + outputFormatNames(false) + ", not '" + *to + "'");
    const auto output = args.value("output");
    if (!output)
        throw UsageError("chart needs -o OUT");
    const std::optional<int> width = sizeOption(args, "width");
    const std::optional<int> height = sizeOption(args, "height");
    (void)sectionSourceFrom(args, invocation); // usage problems before any reading

    QtSession session;
    RatingTable rating;
    Chart chart;
    setUpRatingChart(chart, rating);
    // At the size it has in the rating window as that first opens, laid out as on screen
    // without appearing on it.
    chart.resize(kRatingChartSize);
    chart.setAttribute(Qt::WA_DontShowOnScreen);
    chart.show();
    QApplication::processEvents();

    generateRatingFromArgs(args, invocation, rating);
    chart.refreshFromTable();

    if (const auto description = args.value("description"))
        chart.setTitleLines(
            printTitleLines(optionText(*description), QStringLiteral("Stage Area Rating")));

    if (width || height)
        chart.resize(width.value_or(chart.width()), height.value_or(chart.height()));
    QApplication::processEvents();

    if (picture->format == OutputFormat::Jpeg)
        saveChartJpeg(chart, *output);
    else
        saveChartMetafile(chart, *output, ScreenReference::fromScreen(chart.screen()));
    return 0;
}

} // namespace

Command chartCommand() {
    return {"chart", "draw the rating chart as a JPEG or metafile picture", chartHelp, runChart};
}

} // namespace korvadel::cli
