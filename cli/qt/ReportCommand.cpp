// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/qt/ReportCommand.h"

#include "cli/HelpText.h"
#include "cli/RatingOptions.h"
#include "cli/qt/QtCommands.h"
#include "components/desktop/TextCodec.h"
#include "components/report/RatingTableReport.h"
#include "model/CrossSectionDocument.h"
#include "model/RatingTable.h"

#include <iterator>
#include <vector>

namespace korvadel::cli {
namespace {

std::string reportHelp(const Invocation& invocation, bool withShared) {
    const HelpEntry options[] = {{"--description TEXT",
                                  "The report's description line. Default: the description read "
                                  "from FILE (a HEC-RAS cross section's \"River Reach RS\"; "
                                  "empty for imported points)."},
                                 {"-o, --output OUT", "The PDF file to write (required)."}};
    return withSharedHelp(commandHelp("korvadel-cli report FILE -o OUT.pdf [OPTIONS]",
                                      "Lays out the rating table report of the section in FILE "
                                      "(three columns of gage height and area on Letter paper, "
                                      "as the desktop program prints it) and writes it as a PDF "
                                      "file. It takes the SETTINGS and READING options besides "
                                      "its own.",
                                      options),
                          invocation, withShared, true);
}

int runReport(const Invocation& invocation) {
    std::vector<OptionSpec> options{{"description"}, {"output", 'o'}};
    options.insert(options.end(), std::begin(kRatingOptions), std::end(kRatingOptions));
    options.insert(options.end(), std::begin(kInputOptions), std::end(kInputOptions));
    const ParsedArgs args = parseArgs(invocation.args, options);
    const auto output = args.value("output");
    if (!output)
        throw UsageError("report needs -o OUT.pdf");
    (void)sectionSourceFrom(args, invocation); // usage problems before any reading

    QtSession session;
    RatingTable rating;
    const RatedSection rated = generateRatingFromArgs(args, invocation, rating);
    // The cross-section file and a HEC-RAS section bring a description; the imports none.
    const QString description = args.value("description") ? optionText(*args.value("description"))
                                                          : fromFileText(rated.description);
    writeReportPdf(layOutRatingTableReport(rating, description, rated.format),
                   fromFilePath(*output));
    return 0;
}

} // namespace

Command reportCommand() {
    return {"report", "print the rating table report to a PDF file", reportHelp, runReport};
}

} // namespace korvadel::cli
