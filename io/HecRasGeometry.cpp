// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/HecRasGeometry.h"

#include "io/Fields.h"
#include "io/LineReader.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

namespace korvadel {

namespace {

// No keyword or number line of a geometry file comes near this; longer lines (descriptions)
// are cut so that a line of any length needs bounded memory.
constexpr std::size_t kLineKeep = 4096;
// Numbers stand right-aligned in fields of 8 characters, and a full field runs straight into
// the next one, so lines are cut by column, never at blanks.
constexpr std::size_t kFieldWidth = 8;
constexpr std::size_t kPairFieldsPerLine = 10;
constexpr std::size_t kTripletFieldsPerLine = 9;
// A count beyond this is not a count of points a file could hold in its lines.
constexpr std::int64_t kMaxCount = 100'000'000;

constexpr std::string_view kRiverReach = "River Reach=";
constexpr std::string_view kNodeType = "Type RM Length L Ch R";
constexpr std::string_view kStationElevation = "#Sta/Elev=";
constexpr std::string_view kManning = "#Mann=";
constexpr std::string_view kBanks = "Bank Sta=";
constexpr std::string_view kTitle = "Geom Title=";
constexpr std::string_view kBeginDescription = "BEGIN DESC:";
constexpr std::string_view kEndDescription = "END DESC:";
// Keywords that open something other than a node of a reach.
constexpr std::string_view kOtherElements[] = {"Junct Name=", "Storage Area=", "Connection="};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    return trimmed(text, isBlank);
}

constexpr std::array<bool, 256> kNumberCharacters = [] {
    std::array<bool, 256> table{};
    for (const char c : std::string_view("0123456789.-+Ee \t"))
        table[static_cast<unsigned char>(c)] = true;
    return table;
}();

// A line of numbers only: digits, signs, points, exponents and blanks.
bool isNumberLine(std::string_view line) {
    if (trim(line).empty())
        return false;
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return kNumberCharacters[static_cast<unsigned char>(c)]; });
}

bool readNumber(std::string_view text, double& value) {
    text = trim(text);
    if (text.empty())
        return false;
    try {
        const FieldNumber number = FieldToReal(text, '.');
        value = number.value;
        return number.ok;
    } catch (const Error&) {
        return false; // beyond the double range
    }
}

bool readCount(std::string_view text, std::int64_t& count) {
    text = trim(text);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return error == std::errc() && end == text.data() + text.size() && count >= 0 &&
           count <= kMaxCount;
}

// The text after the keyword's '=' up to the first comma, and the rest after that comma.
std::pair<std::string_view, std::string_view> splitAtComma(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, comma), text.substr(comma + 1)};
}

class Malformed {
public:
    explicit Malformed(std::string what) : what_(std::move(what)) {}
    const std::string& what() const { return what_; }

private:
    std::string what_;
};

class GeometryParser {
public:
    GeometryParser(LineReader& reader, const std::string& name) : reader_(reader), name_(name) {}

    HecRasGeometry parse() {
        std::string_view line;
        while (nextLine(line)) {
            if (inDescription_) {
                if (line.starts_with(kEndDescription))
                    inDescription_ = false;
                continue;
            }
            if (line.starts_with(kBeginDescription)) {
                inDescription_ = true;
            } else if (line.starts_with(kRiverReach)) {
                finishBlock();
                const auto [river, reach] = splitAtComma(line.substr(kRiverReach.size()));
                river_ = trim(river);
                reach_ = trim(reach);
            } else if (line.starts_with(kNodeType)) {
                finishBlock();
                openNode(line);
            } else if (isOtherElement(line)) {
                finishBlock();
            } else if (line.starts_with(kTitle) && geometry_.title.empty() && !inBlock_) {
                geometry_.title = trim(line.substr(kTitle.size()));
            } else if (inBlock_ && !failed_) {
                try {
                    readKeyword(line);
                } catch (const Malformed& problem) {
                    fail(problem.what());
                }
            }
        }
        finishBlock();
        return std::move(geometry_);
    }

private:
    // The next line, or the one put back; false at the end of the file. The view is valid
    // until the next call.
    bool nextLine(std::string_view& line) {
        if (putBack_) {
            putBack_ = false;
            line = held_;
            lineNumber_ = heldNumber_;
            return true;
        }
        if (reader_.atEnd())
            return false;
        line = reader_.readLine(kLineKeep);
        lineNumber_ = reader_.lineNumber();
        return true;
    }
    // The line read last comes again with the next call.
    void putBack(std::string_view line) {
        held_ = line;
        heldNumber_ = lineNumber_;
        putBack_ = true;
    }

    static bool isOtherElement(std::string_view line) {
        return std::any_of(std::begin(kOtherElements), std::end(kOtherElements),
                           [&](std::string_view keyword) { return line.starts_with(keyword); });
    }

    void openNode(std::string_view line) {
        section_ = HecRasCrossSection{};
        section_.river = river_;
        section_.reach = reach_;
        section_.line = lineNumber_;
        inBlock_ = false;
        failed_ = false;
        hasPoints_ = false;
        hasManning_ = false;
        const std::size_t equals = line.find('=');
        const auto [typeText, rest] = splitAtComma(line.substr(equals + 1));
        section_.riverStation = trim(splitAtComma(rest).first);
        std::int64_t type = 0;
        if (!readCount(typeText, type)) {
            // Without its type the block cannot be told apart from a cross section.
            inBlock_ = true;
            fail("the node type '" + std::string(trim(typeText)) + "' is not a number");
            return;
        }
        if (type != 1)
            return; // a bridge, culvert, inline or lateral structure
        inBlock_ = true;
        if (section_.riverStation.empty())
            fail("the cross section has no river station");
    }

    void readKeyword(std::string_view line) {
        if (line.starts_with(kStationElevation)) {
            if (hasPoints_)
                throw Malformed("a second #Sta/Elev= in one cross section");
            hasPoints_ = true;
            const std::int64_t count =
                countAfter(line.substr(kStationElevation.size()), "#Sta/Elev=");
            const std::vector<double> values = readFields(2 * count, kPairFieldsPerLine);
            // Sized by what was read, never by the count a file claims.
            section_.stations.reserve(values.size() / 2);
            section_.elevations.reserve(values.size() / 2);
            for (std::size_t i = 0; i < values.size(); i += 2) {
                section_.stations.push_back(values[i]);
                section_.elevations.push_back(values[i + 1]);
            }
        } else if (line.starts_with(kManning)) {
            if (hasManning_)
                throw Malformed("a second #Mann= in one cross section");
            hasManning_ = true;
            const std::int64_t count = countAfter(line.substr(kManning.size()), "#Mann=");
            const std::vector<double> values = readFields(3 * count, kTripletFieldsPerLine);
            for (std::size_t i = 0; i < values.size(); i += 3) {
                // Equal stations are common: an overbank of no width where a bank station is the
                // section's first or last point.
                if (!section_.roughnessStations.empty() &&
                    !(section_.roughnessStations.back() <= values[i]))
                    throw Malformed("the #Mann= stations fall (" + formatShort(values[i]) +
                                    " after " + formatShort(section_.roughnessStations.back()) +
                                    ")");
                if (!(values[i + 1] > 0.0))
                    throw Malformed("Manning's n " + formatShort(values[i + 1]) +
                                    " is not above 0");
                section_.roughnessStations.push_back(values[i]);
                section_.roughness.push_back(values[i + 1]);
            }
        } else if (line.starts_with(kBanks)) {
            const auto [left, right] = splitAtComma(line.substr(kBanks.size()));
            double leftBank = 0.0;
            double rightBank = 0.0;
            if (!readNumber(left, leftBank) || !readNumber(splitAtComma(right).first, rightBank))
                throw Malformed("Bank Sta= needs two numbers, not '" +
                                std::string(trim(line.substr(kBanks.size()))) + "'");
            section_.leftBank = leftBank;
            section_.rightBank = rightBank;
        }
    }

    std::int64_t countAfter(std::string_view text, const char* keyword) {
        std::int64_t count = 0;
        const std::string_view countText = trim(splitAtComma(text).first);
        if (!readCount(countText, count))
            throw Malformed(std::string(keyword) + " needs a count of values, not '" +
                            std::string(countText) + "'");
        return count;
    }

    // `total` numbers in fields of 8 characters, `perLine` to a line, on the lines that follow.
    std::vector<double> readFields(std::int64_t total, std::size_t perLine) {
        std::vector<double> values;
        const auto wanted = static_cast<std::size_t>(total);
        // Room for what a section usually holds; a larger count is believed only as far as the
        // lines that follow bear it out.
        values.reserve(std::min<std::size_t>(wanted, 4096));
        std::string_view line;
        while (values.size() < wanted) {
            if (!nextLine(line))
                throw Malformed("the file ends after " + std::to_string(values.size()) + " of " +
                                std::to_string(wanted) + " numbers");
            if (!isNumberLine(line)) {
                putBack(line);
                throw Malformed("only " + std::to_string(values.size()) + " of " +
                                std::to_string(wanted) + " numbers before this line");
            }
            const std::size_t fields = std::min(perLine, wanted - values.size());
            for (std::size_t k = 0; k < fields; ++k) {
                const std::size_t start = k * kFieldWidth;
                const std::string_view field =
                    start < line.size() ? line.substr(start, kFieldWidth) : std::string_view();
                double value = 0.0;
                if (trim(field).empty())
                    throw Malformed("column " + std::to_string(start + 1) +
                                    ": a number is missing");
                if (!readNumber(field, value))
                    throw Malformed("column " + std::to_string(start + 1) + ": '" +
                                    std::string(field) + "' is not a number");
                values.push_back(value);
            }
        }
        return values;
    }

    static std::string formatShort(double value) {
        char text[32];
        const auto [end, error] = std::to_chars(text, text + sizeof text, value);
        return error == std::errc() ? std::string(text, end) : std::string("?");
    }

    void fail(const std::string& what) {
        failed_ = true;
        HecRasProblem problem;
        problem.river = section_.river;
        problem.reach = section_.reach;
        problem.riverStation = section_.riverStation;
        problem.line = lineNumber_;
        problem.message =
            name_ + ", line " + std::to_string(lineNumber_) + ", river station " +
            (section_.riverStation.empty() ? std::string("(none)") : section_.riverStation) + ": " +
            what;
        geometry_.problems.push_back(std::move(problem));
    }

    void finishBlock() {
        if (inBlock_ && !failed_)
            geometry_.sections.push_back(std::move(section_));
        inBlock_ = false;
        failed_ = false;
    }

    LineReader& reader_;
    const std::string& name_;
    HecRasGeometry geometry_;
    std::string river_;
    std::string reach_;
    HecRasCrossSection section_;
    bool inBlock_ = false; // in a cross section's block
    bool failed_ = false;  // the block could not be read; the rest of it is passed over
    bool hasPoints_ = false;
    bool hasManning_ = false;
    bool inDescription_ = false;

    std::string held_;
    bool putBack_ = false;
    std::int64_t heldNumber_ = 0;
    std::int64_t lineNumber_ = 0;
};

bool sameSection(const std::string& river, const std::string& reach, const std::string& station,
                 std::string_view choice) {
    return choice.size() == river.size() + reach.size() + station.size() + 2 &&
           choice.starts_with(river) && choice[river.size()] == '/' &&
           choice.substr(river.size() + 1).starts_with(reach) &&
           choice[river.size() + 1 + reach.size()] == '/' && choice.ends_with(station);
}

std::string joinedPath(const std::string& river, const std::string& reach,
                       const std::string& station) {
    return river + "/" + reach + "/" + station;
}

} // namespace

std::string HecRasCrossSection::description() const {
    std::string text;
    for (const std::string* part : {&river, &reach, &riverStation}) {
        if (part->empty())
            continue;
        if (!text.empty())
            text += ' ';
        text += *part;
    }
    return text;
}

std::string HecRasCrossSection::path() const {
    return joinedPath(river, reach, riverStation);
}

Subsections HecRasCrossSection::subsections() const {
    Subsections result;
    result.roughness = roughness;
    if (roughnessStations.size() > 1)
        result.boundaries.assign(roughnessStations.begin() + 1, roughnessStations.end());
    return result;
}

HecRasGeometry readHecRasGeometry(LineReader& reader, const std::string& name) {
    return GeometryParser(reader, name).parse();
}

HecRasGeometry readHecRasGeometry(const std::string& path) {
    LineReader reader(path);
    return readHecRasGeometry(reader, path);
}

const HecRasCrossSection& chooseHecRasSection(const HecRasGeometry& geometry,
                                              std::string_view choice, const std::string& name) {
    const auto& sections = geometry.sections;
    const auto& problems = geometry.problems;
    choice = trim(choice);
    if (choice.empty()) {
        if (sections.size() == 1 && problems.empty())
            return sections.front();
        if (sections.empty() && problems.size() == 1)
            throw Error(problems.front().message);
        if (sections.empty() && problems.empty())
            throw Error(name + " holds no cross sections");
        throw Error(name + " holds " + std::to_string(sections.size() + problems.size()) +
                    " cross sections; choose one as RIVER/REACH/RS or by its river station");
    }

    // The whole name first, then the river station alone.
    for (const bool whole : {true, false}) {
        std::vector<const HecRasCrossSection*> found;
        std::vector<const HecRasProblem*> broken;
        for (const HecRasCrossSection& section : sections)
            if (whole ? sameSection(section.river, section.reach, section.riverStation, choice)
                      : section.riverStation == choice)
                found.push_back(&section);
        for (const HecRasProblem& problem : problems)
            if (whole ? sameSection(problem.river, problem.reach, problem.riverStation, choice)
                      : problem.riverStation == choice)
                broken.push_back(&problem);
        const std::size_t count = found.size() + broken.size();
        if (count == 0)
            continue;
        if (count == 1 && !found.empty())
            return *found.front();
        if (count == 1)
            throw Error(broken.front()->message);
        std::string message = name;
        if (whole) {
            message += " lists the cross section " + std::string(choice) + " " +
                       std::to_string(count) + " times";
        } else {
            message += " has river station " + std::string(choice) + " in " +
                       std::to_string(count) + " places (";
            std::size_t listed = 0;
            for (const HecRasCrossSection* section : found)
                if (listed++ < 4)
                    message += (listed > 1 ? ", " : "") + section->path();
            for (const HecRasProblem* problem : broken)
                if (listed++ < 4)
                    message += (listed > 1 ? ", " : "") +
                               joinedPath(problem->river, problem->reach, problem->riverStation);
            message += listed > 4 ? ", ...)" : ")";
            message += "; name it as RIVER/REACH/RS";
        }
        throw Error(message);
    }
    throw Error(name + " has no cross section " + std::string(choice));
}

ReadSummary loadHecRasSection(const HecRasCrossSection& section, CrossSectionDocument& document) {
    PointTable::LoadColumns rows;
    rows.reserve(section.stations.size());
    for (std::size_t i = 0; i < section.stations.size(); ++i)
        rows.add(section.stations[i], section.elevations[i]);
    ReadSummary summary;
    summary.unsortedStations = document.points.bulkLoad(std::move(rows));
    document.points.first();
    document.description = section.description();
    if (!section.roughness.empty())
        summary.roughness = section.subsections();
    summary.leftBank = section.leftBank;
    summary.rightBank = section.rightBank;
    if (section.stations.size() > kHecRasMaxPoints)
        summary.notes.push_back(
            section.description() + " has " + std::to_string(section.stations.size()) +
            " points; HEC-RAS itself takes at most " + std::to_string(kHecRasMaxPoints) + ".");
    return summary;
}

ReadSummary loadHecRasSection(const std::string& path, std::string_view choice,
                              CrossSectionDocument& document) {
    const HecRasGeometry geometry = readHecRasGeometry(path);
    return loadHecRasSection(chooseHecRasSection(geometry, choice, path), document);
}

} // namespace korvadel
