#include "profile_input/ColumnProfileReader.h"

#include "analysis/NumberText.h"
#include "profile_input/FieldText.h"
#include "profile_input/FileBytes.h"
#include "profile_input/LineReader.h"

#include <array>
#include <new>

namespace zlm {

namespace {

constexpr std::size_t kLabelWidth = 16;
constexpr std::size_t kHeaderLines = 11;
constexpr std::size_t kLeadingWidth = 18;
constexpr std::size_t kElevationWidth = 9;

const char* const kNotAProfile = "The file you selected is not a valid Rondel format profile.";

// Lines 1 to 9 of the header without their 16-character labels (empty when a
// line is shorter or missing), and whether all 11 header lines are there.
struct Header {
    std::array<std::string_view, 9> values;
    bool complete = false;
};

Header ReadHeader(LineReader& lines)
{
    Header header;
    std::string_view line;
    for (std::size_t i = 0; i < kHeaderLines; ++i) {
        if (!lines.Next(line)) {
            return header;
        }
        if (i < header.values.size() && line.size() > kLabelWidth) {
            header.values[i] = line.substr(kLabelWidth);
        }
    }
    header.complete = true;
    return header;
}

bool AllSpaces(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

ColumnCheckResult Refuse(ColumnCheckFailure kind, std::string message)
{
    ColumnCheckResult result;
    result.kind = kind;
    result.message = std::move(message);
    return result;
}

ColumnReadResult FileError(const std::string& path, const std::string& detail = std::string())
{
    ColumnReadResult result;
    result.message = "File not found or invalid (" + path + ")." + detail;
    return result;
}

// Line 4 names the unit system the profile is written in: "Metric" is metres.
bool IsMetric(const Header& header)
{
    return TrimBlanks(header.values[3]).starts_with("Metric");
}

} // namespace

ColumnCheckResult CheckColumnProfile(const std::string& path, UnitSystem units)
{
    if (path.find_first_of("\\/") == std::string::npos) {
        return Refuse(ColumnCheckFailure::NotAFile, "Not a file");
    }
    // A file that cannot be read is checked as an empty one and so refused as
    // not a profile, like one that ends too early.
    std::string bytes;
    try {
        if (!ReadFileBytes(path, bytes)) {
            bytes.clear();
        }
    } catch (const std::bad_alloc&) {
        bytes.clear();
    }
    LineReader lines(bytes);
    const Header header = ReadHeader(lines);

    if (units == UnitSystem::US && IsMetric(header)) {
        return Refuse(ColumnCheckFailure::MetricProfile, "Please change to SI mode to use SI format profiles.");
    }
    if (!IsUsableInterval(ParseDouble(TrimBlanks(header.values[4])))) {
        return Refuse(ColumnCheckFailure::NotAProfile, kNotAProfile);
    }
    std::int32_t count = 0;
    if (!ConvertWholeNumber(header.values[7], count) || count <= 0) {
        return Refuse(ColumnCheckFailure::NotAProfile, kNotAProfile);
    }
    // The first data line must hold the fixed columns: 12 to 18 blank, the
    // right-aligned elevation ending in column 27.
    std::string_view first;
    if (!header.complete || !lines.Next(first) || first.size() < kLeadingWidth + kElevationWidth ||
        !AllSpaces(first.substr(11, 7)) || first[kLeadingWidth + kElevationWidth - 1] == ' ') {
        return Refuse(ColumnCheckFailure::NotAProfile, kNotAProfile);
    }
    ColumnCheckResult accepted;
    accepted.accepted = true;
    return accepted;
}

ColumnReadResult ReadColumnProfile(const std::string& path, UnitSystem units)
{
    try {
        std::string bytes;
        if (!ReadFileBytes(path, bytes)) {
            return FileError(path);
        }
        LineReader lines(bytes);
        const Header header = ReadHeader(lines);
        if (!header.complete || !IsNumberText(header.values[5])) {
            return FileError(path);
        }
        // In SI units a profile in feet becomes metres with the exact factor; one
        // in metres is read as it stands. In US units only feet reach here.
        const double scale = units == UnitSystem::SI && !IsMetric(header) ? 0.3048 : 1.0;
        const double interval = ParseDouble(TrimBlanks(header.values[4])) * scale;
        std::int32_t count = 0;
        if (!ConvertWholeNumber(header.values[7], count) || count <= 0 || !IsUsableInterval(interval)) {
            return FileError(path);
        }

        // Empty lines at the very end are not data lines: reading them as points
        // of elevation 0 would report deviations the road does not have.
        const std::string_view data = WithoutTrailingEmptyLines(lines.Remaining());
        const std::int64_t available = CountLines(data);
        if (available < count) {
            return FileError(path, " Its header declares " + std::to_string(count) + " points but it holds only " +
                                       std::to_string(available) + " data lines.");
        }

        ColumnReadResult result;
        // One spare place for the working copy's closing 0.0 (see ReadErdProfile).
        result.profile.elevations.reserve(static_cast<std::size_t>(count) + 1);
        LineReader dataLines(data);
        std::string_view line;
        for (std::int32_t i = 0; i < count && dataLines.Next(line); ++i) {
            // A line shorter than 27 characters holds its elevation from column
            // 19 to its end.
            const std::string_view field =
                line.size() > kLeadingWidth ? line.substr(kLeadingWidth, kElevationWidth) : std::string_view();
            double value = 0.0;
            if (!ParseDouble(TrimBlanks(field), value) && IsNonFiniteText(field)) {
                return FileError(path, " Line " + std::to_string(kHeaderLines + 1 + i) +
                                           " holds an elevation that is not a finite number.");
            }
            const double elevation = value * scale;
            if (!FitsSingle(elevation)) {
                return FileError(path, " Line " + std::to_string(kHeaderLines + 1 + i) +
                                           " holds an elevation too large to be analysed.");
            }
            result.profile.elevations.push_back(elevation);
        }
        result.profile.pointCount = count;
        result.profile.interval = interval;
        result.profile.units = units;
        result.title = std::string(header.values[0]);
        result.ok = true;
        return result;
    } catch (const std::bad_alloc&) {
        return FileError(path, " There is not enough memory to read it.");
    }
}

} // namespace zlm
