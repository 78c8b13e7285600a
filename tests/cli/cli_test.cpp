// End-to-end tests of korvadel-cli: the program is run as a user would run it, and its exit
// status, standard output, standard error and files are checked.

#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace korvadel {
namespace {

using testing::readAll;
using testing::ScratchFolder;
using testing::writeAllTo;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the program with `args` in `folder`; `environment` entries (NAME=value) are added to a
// copy of the environment with every locale variable removed, so the C locale is the default.
CliRun runCli(const ScratchFolder& folder, const std::vector<std::string>& args,
              const std::vector<std::string>& environment = {}) {
    const std::string outPath = folder.file(".stdout");
    const std::string errPath = folder.file(".stderr");
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("LC_", 0) != 0 && text.rfind("LANG", 0) != 0)
            env.push_back(text);
    }
    env.insert(env.end(), environment.begin(), environment.end());

    std::vector<char*> argv{const_cast<char*>(KORVADEL_CLI)};
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || ::chdir(folder.path().c_str()) != 0)
            ::_exit(127);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    CliRun run;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    run.out = readAll(outPath);
    run.err = readAll(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

// The trapezoid (0,10) (2,0) (8,0) (10,10): a 6-wide bed with banks rising 5 per unit across,
// so the area below gage height h is 6h + 0.2h^2.
const std::string kSectionKvd = "//Korvadel\r\n"
                                "//Station\tTest reach\r\n"
                                "//GHMinimum\t0\r\n"
                                "//GHMaximum\t5\r\n"
                                "//GHIncrement\t1\r\n"
                                "//GHDatum\t0.00\r\n"
                                "Station\tElevation\r\n"
                                "0\t10\r\n"
                                "2\t0\r\n"
                                "8\t0\r\n"
                                "10\t10\r\n";
const std::string kSectionCsv = "10,10\r\n0,10\r\n2,0\r\n8,0\r\n";
const std::string kTrapezoidRating = "0,0\r\n1,6.2\r\n2,12.8\r\n3,19.8\r\n4,27.2\r\n5,35\r\n\r\n";
const std::string kEdgeWarning = "Warning! Maximum gage height exceeds edge elevation. Korvadel "
                                 "assumes a vertical wall at edges where this condition occurs.\n";

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        writeAllTo(folder.file("section.kvd"), kSectionKvd);
        writeAllTo(folder.file("section.csv"), kSectionCsv);
    }
    ScratchFolder folder;
};

TEST_F(Cli, RatingFromTheFilesSettingsToStandardOutput) {
    const CliRun run = runCli(folder, {"rating", "section.kvd"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, kTrapezoidRating);
    EXPECT_EQ(run.err, "");
}

TEST_F(Cli, OptionsOverrideTheSettingsAndTheEdgeWarningIsOneLine) {
    const CliRun run = runCli(folder, {"rating", "section.kvd", "--max", "12", "--min=11"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "11,90\r\n12,100\r\n\r\n");
    EXPECT_EQ(run.err, kEdgeWarning);
}

TEST_F(Cli, ImportedPointsStartFromTheDefaultSettings) {
    // Defaults: 0 to 1 by 0.01 gives the stages 0.00 to 0.99.
    const CliRun defaults = runCli(folder, {"rating", "section.csv"});
    EXPECT_EQ(defaults.status, 0);
    EXPECT_EQ(defaults.out.substr(0, 17), "0,0\r\n0.01,0.06\r\n0");
    EXPECT_NE(defaults.out.find("\r\n0.99,"), std::string::npos);
    EXPECT_EQ(defaults.out.find("\r\n1,"), std::string::npos);

    const CliRun run =
        runCli(folder, {"rating", "section.txt", "--from", "csv", "--increment", "0.5"});
    EXPECT_EQ(run.status, 1); // section.txt does not exist
    writeAllTo(folder.file("section.txt"), kSectionCsv);
    const CliRun fromCsv =
        runCli(folder, {"rating", "section.txt", "--from", "csv", "--increment", "0.5"});
    EXPECT_EQ(fromCsv.status, 0);
    EXPECT_EQ(fromCsv.out, "0,0\r\n0.5,3.05\r\n1,6.2\r\n\r\n");
}

TEST_F(Cli, IncrementIsClampedLikeTheSettingAndSaysSo) {
    const CliRun high = runCli(folder, {"rating", "section.kvd", "--max", "3", "--increment", "5"});
    EXPECT_EQ(high.status, 0);
    EXPECT_EQ(high.out, "0,0\r\n1,6.2\r\n2,12.8\r\n3,19.8\r\n\r\n");
    EXPECT_EQ(high.err, "increment 5 lowered to 1, the largest allowed\n");
    const CliRun low =
        runCli(folder, {"rating", "section.kvd", "--max", "0.02", "--increment", "0.005"});
    EXPECT_EQ(low.status, 0);
    EXPECT_EQ(low.out, "0,0\r\n0.01,0.06\r\n0.02,0.12\r\n\r\n");
    EXPECT_EQ(low.err, "increment 0.005 raised to 0.01, the smallest allowed\n");
    const CliRun inside = runCli(folder, {"rating", "section.kvd", "--increment", "1"});
    EXPECT_EQ(inside.err, "");
}

TEST_F(Cli, BoundsPromptUsesTheDatumButDoesNotRound) {
    // Raised by 100: both computations turn elevations into gage heights with the datum.
    writeAllTo(folder.file("high.csv"), "0,110\r\n2,100\r\n8,100\r\n10,110\r\n");
    const std::vector<std::string> common{"rating", "high.csv", "--datum", "100",         "--min",
                                          "0.125",  "--max",    "0.375",   "--increment", "0.25"};
    const CliRun main = runCli(folder, common);
    EXPECT_EQ(main.status, 0);
    EXPECT_EQ(main.out, "0.12,0.753\r\n0.38,2.278\r\n\r\n");
    auto prompt = common;
    prompt.push_back("--bounds-prompt");
    const CliRun bounds = runCli(folder, prompt);
    EXPECT_EQ(bounds.status, 0);
    EXPECT_EQ(bounds.out, "0.125,0.753125\r\n0.375,2.278125\r\n\r\n");
    EXPECT_EQ(bounds.err, "");
}

TEST_F(Cli, ExportsToFiles) {
    const CliRun csv = runCli(folder, {"rating", "section.kvd", "-o", "r.csv"});
    const CliRun html =
        runCli(folder, {"rating", "section.kvd", "--to", "html", "--output=r.html"});
    const CliRun xls = runCli(folder, {"rating", "section.kvd", "--to", "xls", "-or.xls"});
    for (const CliRun* run : {&csv, &html, &xls}) {
        EXPECT_EQ(run->status, 0) << run->err;
        EXPECT_EQ(run->out, "");
    }
    EXPECT_EQ(readAll(folder.file("r.csv")), kTrapezoidRating);
    EXPECT_EQ(readAll(folder.file("r.html")), "<table border=\"1\">\r\n"
                                              "<tr><td>0</td><td>0</td></tr>\r\n"
                                              "<tr><td>1</td><td>6.2</td></tr>\r\n"
                                              "<tr><td>2</td><td>12.8</td></tr>\r\n"
                                              "<tr><td>3</td><td>19.8</td></tr>\r\n"
                                              "<tr><td>4</td><td>27.2</td></tr>\r\n"
                                              "<tr><td>5</td><td>35</td></tr>\r\n"
                                              "\r\n</table>");
    const std::string sheet = readAll(folder.file("r.xls"));
    EXPECT_EQ(sheet.size(), 30u + 38u * 6u);
}

TEST_F(Cli, DecimalSeparatorOptionAndLocale) {
    // The file's datum "0.00" does not read with a decimal comma, so it is given again.
    const CliRun unreadable = runCli(folder, {"rating", "section.kvd", "--decimal-separator", ","});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.err, "korvadel-cli: '0.00' is not a valid floating point value.\n");
    const CliRun option =
        runCli(folder, {"rating", "section.kvd", "--decimal-separator", ",", "--datum", "0,00"});
    EXPECT_EQ(option.status, 0) << option.err;
    EXPECT_EQ(option.out, "0,0\r\n1,6,2\r\n2,12,8\r\n3,19,8\r\n4,27,2\r\n5,35\r\n\r\n");

    // A locale with a decimal comma, compiled into the scratch folder when the system can.
    const std::string locales = folder.file("locales");
    std::filesystem::create_directory(locales);
    const std::string build =
        "localedef -i de_DE -f UTF-8 '" + locales + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(build.c_str()) != 0)
        GTEST_SKIP() << "cannot build a German locale here";
    const CliRun german = runCli(folder, {"area", "section.kvd", "--level", "2,5"},
                                 {"LOCPATH=" + locales, "LC_ALL=de_DE.UTF-8"});
    EXPECT_EQ(german.status, 0) << german.err;
    EXPECT_EQ(german.out, "16,25\n");
    const CliRun overridden =
        runCli(folder, {"area", "section.kvd", "--level", "2.5", "--decimal-separator", "."},
               {"LOCPATH=" + locales, "LC_ALL=de_DE.UTF-8"});
    EXPECT_EQ(overridden.out, "16.25\n");
}

TEST_F(Cli, Area) {
    struct Case {
        const char* level;
        const char* printed;
    };
    for (const Case& c :
         {Case{"5", "35\n"}, Case{"2.5", "16.25\n"}, Case{"-1", "0\n"}, Case{"12", "100\n"}}) {
        const CliRun run = runCli(folder, {"area", "section.csv", "--level", c.level});
        EXPECT_EQ(run.status, 0) << c.level;
        EXPECT_EQ(run.out, c.printed) << c.level;
    }
}

TEST_F(Cli, ConvertWritesACrossSectionFile) {
    const CliRun fromCsv = runCli(folder, {"convert", "section.csv", "-o", "out.kvd"});
    EXPECT_EQ(fromCsv.status, 0) << fromCsv.err;
    EXPECT_EQ(readAll(folder.file("out.kvd")), "//Korvadel\r\n"
                                               "//Station\t\r\n"
                                               "//GHMinimum\t0\r\n"
                                               "//GHMaximum\t1\r\n"
                                               "//GHIncrement\t0.01\r\n"
                                               "//GHDatum\t0.00\r\n"
                                               "Station\tElevation\r\n"
                                               "0\t10\r\n"
                                               "2\t0\r\n"
                                               "8\t0\r\n"
                                               "10\t10\r\n");
    const CliRun fromKvd = runCli(folder, {"convert", "section.kvd", "-o", "copy.kvd"});
    EXPECT_EQ(fromKvd.status, 0);
    EXPECT_EQ(readAll(folder.file("copy.kvd")), kSectionKvd);
}

TEST_F(Cli, ProgramErrorsExitOneWithTheProgramsMessage) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::string missingFolder = folder.file("none/r.csv");
    const Case cases[] = {
        {{"rating", "missing.kvd"},
         "Unable to access file! File may already be open in another program (Excel)."},
        {{"rating", "missing.csv"},
         "Unable to access file! File may already be open in another program (Excel)."},
        {{"rating", "missingASC.TXT"}, "File not found."},
        {{"rating", "section.kvd", "--min", "abc"}, "'abc' is not a valid floating point value."},
        {{"rating", "section.kvd", "--increment", "1,5"},
         "'1,5' is not a valid floating point value."},
        {{"area", "section.kvd", "--level", "x"}, "'x' is not a valid floating point value."},
        {{"rating", "section.kvd", "-o", missingFolder},
         "Cannot create file \"" + missingFolder + "\". No such file or directory."},
        {{"convert", "section.kvd", "-o", "none/x.kvd"}, "Invalid filename."},
        // A rating or an area of fewer than two points is no result, whatever the reader read.
        {{"rating", "heading.csv"},
         "heading.csv: no cross-section points were read (a rating needs at least two)"},
        {{"area", "heading.csv", "--level", "1"},
         "heading.csv: no cross-section points were read (a rating needs at least two)"},
        {{"rating", "one.kvd", "--to", "html"},
         "one.kvd: only one cross-section point was read (a rating needs at least two)"},
    };
    writeAllTo(folder.file("heading.csv"), "Station,Elevation\r\n");
    writeAllTo(folder.file("one.kvd"),
               kSectionKvd.substr(0, kSectionKvd.find("0\t10")) + "1\t2\r\n");
    for (const auto& c : cases) {
        const CliRun run = runCli(folder, c.args);
        EXPECT_EQ(run.status, 1) << c.args[1];
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "korvadel-cli: " + c.message + "\n");
    }
}

TEST_F(Cli, WorksheetOfTooManyRowsIsRefusedAndNothingWritten) {
    const CliRun run = runCli(folder, {"rating", "section.kvd", "--max", "700", "--increment",
                                       "0.01", "--to", "xls", "-o", "big.xls"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind(kEdgeWarning + "korvadel-cli: The rating has 700", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(" rows; a worksheet holds at most 65535.\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.file("big.xls")));
}

TEST_F(Cli, UsageErrorsExitTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate", "section.kvd"},
        {"rating"},
        {"rating", "section.kvd", "extra.kvd"},
        {"rating", "section.kvd", "--colour", "red"},
        {"rating", "section.kvd", "--max"},
        {"rating", "section.kvd", "--to", "pdf"},
        {"rating", "section.kvd", "--to", "xls"},
        {"rating", "section.kvd", "--from", "excel"},
        {"rating", "section.kvd", "--decimal-separator", ",."},
        {"rating", "section.kvd", "--bounds-prompt=yes"},
        {"convert", "section.kvd"},
        {"area", "section.kvd"},
        {"area", "section.kvd", "--level", "1", "--to", "csv"},
    };
    for (const auto& args : cases) {
        const CliRun run = runCli(folder, args);
        std::string shown;
        for (const auto& arg : args)
            shown += arg + " ";
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_EQ(run.err.rfind("korvadel-cli: ", 0), 0u) << shown << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << shown;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("section.xls")));
}

TEST_F(Cli, HelpDocumentsEveryOption) {
    const CliRun run = runCli(folder, {"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* text : {"rating FILE", "convert FILE", "area FILE", "--from kvd|csv|winriver",
                             "--decimal-separator C", "--min T", "--max T", "--increment X",
                             "--datum T", "--bounds-prompt", "--to csv|html|xls",
                             "-o, --output OUT", "--level L", "-h, --help", "Exit status"})
        EXPECT_NE(run.out.find(text), std::string::npos) << text;

    const CliRun command = runCli(folder, {"area", "--help"});
    EXPECT_EQ(command.status, 0);
    EXPECT_NE(command.out.find("--level L"), std::string::npos);
    EXPECT_EQ(command.out.find("--bounds-prompt"), std::string::npos);
}

} // namespace
} // namespace korvadel

namespace korvadel {
namespace {

// The sample files read by each reader: writing them as cross-section files and reading those
// back must give the same rating, and the area command must agree with the rating's areas.
TEST(CliExamples, RatingSurvivesConversionToACrossSectionFile) {
    ScratchFolder folder;
    for (const char* name : {"mill-creek.kvd", "bear-river.csv", "clearwater_000t.000"}) {
        const std::string example = std::string(KORVADEL_EXAMPLES) + "/" + name;
        if (!std::filesystem::exists(example))
            GTEST_SKIP() << example << " is missing";
        const std::vector<std::string> settings{"--min",       "-5",  "--max",   "220",
                                                "--increment", "0.5", "--datum", "0"};
        std::vector<std::string> original{"rating", example};
        original.insert(original.end(), settings.begin(), settings.end());
        const CliRun direct = runCli(folder, original);
        EXPECT_EQ(direct.status, 0) << name << ": " << direct.err;
        EXPECT_GT(direct.out.size(), 450u) << name;

        const CliRun convert = runCli(folder, {"convert", example, "-o", "converted.kvd"});
        EXPECT_EQ(convert.status, 0) << name << ": " << convert.err;
        std::vector<std::string> again{"rating", "converted.kvd"};
        again.insert(again.end(), settings.begin(), settings.end());
        const CliRun converted = runCli(folder, again);
        EXPECT_EQ(converted.status, 0) << name;
        EXPECT_EQ(converted.out, direct.out) << name;
    }
}

TEST(CliExamples, AreaAgreesWithTheUnroundedRating) {
    ScratchFolder folder;
    const std::string example = std::string(KORVADEL_EXAMPLES) + "/mill-creek.kvd";
    if (!std::filesystem::exists(example))
        GTEST_SKIP() << example << " is missing";
    for (const char* level : {"100.25", "101.5", "104"}) {
        const CliRun rating = runCli(folder, {"rating", example, "--bounds-prompt", "--datum", "0",
                                              "--min", level, "--max", level});
        const CliRun area = runCli(folder, {"area", example, "--level", level});
        ASSERT_EQ(rating.status, 0) << rating.err;
        ASSERT_EQ(area.status, 0) << area.err;
        const std::string row = std::string(level) + "," + area.out.substr(0, area.out.size() - 1);
        EXPECT_EQ(rating.out, row + "\r\n\r\n");
        EXPECT_NE(area.out, "0\n") << level;
    }
}

} // namespace
} // namespace korvadel
