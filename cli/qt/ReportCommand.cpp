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
                                  "from FILE (empty for imported points)."},
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
    const SectionSource source = sectionSourceFrom(args, invocation);

    QtSession session;
    RatingTable rating;
    const NumberFormat format = generateRatingFromArgs(args, invocation, rating);
    QString description;
    if (const auto text = args.value("description")) {
        description = optionText(*text);
    } else if (source.kind == InputFormat::CrossSection) {
        // Only the cross-section file carries a description; the imports bring none.
        CrossSectionDocument document;
        readSection(source, document);
        description = fromFileText(document.description);
    }
    writeReportPdf(layOutRatingTableReport(rating, description, format),
                   QString::fromLocal8Bit(output->c_str()));
    return 0;
}

} // namespace

Command reportCommand() {
    return {"report", "print the rating table report to a PDF file", reportHelp, runReport};
}

} // namespace korvadel::cli
