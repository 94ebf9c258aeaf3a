#include "profile_input/ProReader.h"

#include "analysis/NumberText.h"
#include "profile_input/FieldText.h"
#include "profile_input/FileBytes.h"
#include "profile_input/LineReader.h"

#include <array>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace zlm {

namespace {

constexpr std::int64_t kFirstDataLine = 6;

// Moves past the next line of `rest`; the line excludes its LF and a CR before it.
bool NextLine(std::string_view& rest, std::string_view& line)
{
    if (rest.empty()) {
        return false;
    }
    const std::size_t end = rest.find('\n');
    line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return true;
}

// Splits a line at its commas into the first N trimmed fields and returns how
// many fields it holds in all, so that a line of thousands of commas costs no memory.
template <std::size_t N> std::size_t SplitFields(std::string_view line, std::array<std::string_view, N>& fields)
{
    std::size_t count = 0;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = line.find(',', from);
        if (count < N) {
            fields[count] = TrimBlanks(line.substr(from, comma == std::string_view::npos ? line.npos : comma - from));
        }
        ++count;
        if (comma == std::string_view::npos) {
            return count;
        }
        from = comma + 1;
    }
}

std::string Quoted(std::string_view text)
{
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about "\"" + std::string.
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

// A number as the data and the interval are written: strictly, with "." as the
// only decimal separator.
bool ConvertField(std::string_view text, double& value)
{
    return ConvertDecimalNumber(text, '.', value);
}

// What lines 1 to 3 say.
struct ProHeader {
    std::int32_t pathCount = 0;
    char onlyPath = 0;          // 'L' or 'R' for a one-path file
    double feetPerUnit = 0.0;   // divisor turning an elevation into feet
    double metresScale = 0.0;   // SI units: an elevation becomes metres as value x metresScale / metresDivisor,
    double metresDivisor = 1.0; // exactly (a millimetre and a mil are divided by 1000, as 0.001 has no exact double)
    std::string elevationUnit;  // as written
    double nativeInterval = 0.0;
    double interval = 0.0; // feet
    std::vector<std::pair<std::string, std::string>> fields;
};

// Keeps the text fields after the keyword of line 1 or 2 under their names;
// a missing field is kept empty so that every file shows the same list.
template <std::size_t N>
void KeepNamedFields(std::string_view line, const std::array<const char*, N>& names, ProHeader& header)
{
    std::array<std::string_view, N + 1> fields;
    const std::size_t count = SplitFields(line, fields);
    for (std::size_t i = 0; i < N; ++i) {
        header.fields.emplace_back(names[i], i + 1 < count ? std::string(fields[i + 1]) : std::string());
    }
}

// Reads lines 1 to 3 from `rest`, leaving it at line 4. False with `message`
// set when they are refused.
bool ParseProHeader(std::string_view& rest, UnitSystem units, ProHeader& header, std::string& message)
{
    std::string_view line;
    std::array<std::string_view, 1> keyword;
    if (!NextLine(rest, line) || (SplitFields(line, keyword), keyword[0] != "HEAD3")) {
        message = "Line 1 does not begin with HEAD3: the file is not a PRO profile";
        return false;
    }
    KeepNamedFields(
        line, std::array<const char*, 6>{"Date", "District", "County", "Highway", "Reference marker", "Lane"}, header);
    if (!NextLine(rest, line) || (SplitFields(line, keyword), keyword[0] != "CMET3")) {
        message = "Line 2 does not begin with CMET3: the file is not a PRO profile";
        return false;
    }
    KeepNamedFields(line,
                    std::array<const char*, 7>{"Profiler", "Surface", "Operator", "Serial number", "Cut-off",
                                               "Certification code", "Certification date"},
                    header);

    std::array<std::string_view, 5> fields;
    if (!NextLine(rest, line) || SplitFields(line, fields) < fields.size()) {
        message = "Line 3 holds fewer than 5 fields: maker, elevation unit, paths, sample interval, interval unit";
        return false;
    }
    const std::string_view unit = fields[1];
    if (unit == "mil") {
        header.feetPerUnit = 12000.0;
        header.metresScale = 0.0254;
        header.metresDivisor = 1000.0;
    } else if (unit == "in") {
        header.feetPerUnit = 12.0;
        header.metresScale = 0.0254;
    } else if (unit == "mm") {
        header.feetPerUnit = 304.8;
        header.metresScale = 1.0;
        header.metresDivisor = 1000.0;
    } else {
        message = "Line 3: the elevation unit " + Quoted(unit) + " is not known (mil, in or mm)";
        return false;
    }
    header.elevationUnit = std::string(unit);
    const std::string_view paths = fields[2];
    if (paths == "LR") {
        header.pathCount = 2;
    } else if (paths == "L" || paths == "R") {
        header.pathCount = 1;
        header.onlyPath = paths.front();
    } else {
        message = "Line 3: the paths " + Quoted(paths) + " are not known (L, R or LR)";
        return false;
    }
    if (!ConvertField(fields[3], header.nativeInterval)) {
        message = "Line 3: the sample interval " + Quoted(fields[3]) + " is not a number";
        return false;
    }
    if (fields[4] != "i") {
        message = "Line 3: the interval unit " + Quoted(fields[4]) + " is not known (i, inches)";
        return false;
    }
    if (!(header.nativeInterval > 0.0)) {
        message = "Line 3: the sample interval " + std::string(fields[3]) + " i is not greater than 0";
        return false;
    }
    header.interval = units == UnitSystem::SI ? header.nativeInterval * 0.0254 : header.nativeInterval / 12.0;
    if (!IsUsableInterval(header.interval)) {
        message =
            "Line 3: the sample interval " + std::string(fields[3]) + " i is too large or too small to be analysed";
        return false;
    }
    const std::array<const char*, 5> names = {"Maker", "Elevation unit", "Paths", "Sample interval", "Interval unit"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        header.fields.emplace_back(names[i], std::string(fields[i]));
    }
    return true;
}

ProReadResult Refuse(std::string message)
{
    return RefusedWith<ProReadResult>(std::move(message));
}

ProProbeResult RefuseProbe(std::string message)
{
    return RefusedWith<ProProbeResult>(std::move(message));
}

std::string LineText(std::int64_t lineNumber)
{
    return "Line " + std::to_string(lineNumber);
}

ProReadResult ParseProText(std::string_view bytes, ChannelNumber channel, UnitSystem units)
{
    std::string_view rest = bytes;
    ProHeader header;
    std::string message;
    if (!ParseProHeader(rest, units, header, message)) {
        return Refuse(std::move(message));
    }
    std::string_view line;
    std::array<std::string_view, 5> gps;
    const std::size_t gpsCount = NextLine(rest, line) ? SplitFields(line, gps) : 0;
    const std::array<const char*, 5> gpsNames = {"Start latitude", "Start longitude", "Start altitude", "Start heading",
                                                 "Start speed"};
    for (std::size_t i = 0; i < gpsNames.size(); ++i) {
        header.fields.emplace_back(gpsNames[i], i < gpsCount ? std::string(gps[i]) : std::string());
    }
    const std::string_view comment = NextLine(rest, line) ? TrimBlanks(line) : std::string_view();
    header.fields.emplace_back("Comment", std::string(comment));

    const bool twoPaths = header.pathCount == 2;
    const std::size_t elevationFields = twoPaths ? 2 : 1;
    const std::size_t pick = twoPaths && channel != 1 ? 1 : 0;
    const char* const what = !twoPaths ? "the elevation" : pick == 0 ? "the left elevation" : "the right elevation";

    ProReadResult result;
    std::vector<double>& elevations = result.profile.elevations;
    std::string_view data = WithoutTrailingEmptyLines(rest);
    std::array<std::string_view, 2> fields;
    for (std::int64_t number = kFirstDataLine; NextLine(data, line); ++number) {
        if (TrimBlanks(line).empty()) {
            return Refuse(LineText(number) + " is empty");
        }
        const std::size_t count = SplitFields(line, fields);
        if (count != elevationFields + 1 && count != elevationFields + 6) {
            return Refuse(
                LineText(number) + " holds " + std::to_string(count) + " fields; a data line of " +
                (twoPaths ? "two paths holds 3, or 8 with position" : "one path holds 2, or 7 with position"));
        }
        double value = 0.0;
        if (!ConvertField(fields[pick], value)) {
            return Refuse(LineText(number) + ": " + what + " " + Quoted(fields[pick]) + " is not a number");
        }
        const double elevation =
            units == UnitSystem::SI ? value * header.metresScale / header.metresDivisor : value / header.feetPerUnit;
        if (!FitsSingle(elevation)) {
            return Refuse(LineText(number) + ": " + what + " " + std::string(fields[pick]) +
                          " is too large to be analysed");
        }
        if (elevations.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
            return Refuse("The file holds more points than can be analysed");
        }
        elevations.push_back(elevation);
    }
    if (elevations.empty()) {
        return Refuse("The file holds no data: its points begin on line 6");
    }
    result.profile.pointCount = static_cast<std::int32_t>(elevations.size());
    result.profile.interval = header.interval;
    result.profile.units = units;
    result.profile.headerFields = std::move(header.fields);
    result.profile.nativeElevationUnit = header.elevationUnit;
    result.profile.nativeDistanceUnit = "in";
    result.profile.nativeInterval = header.nativeInterval;
    result.pathCount = header.pathCount;
    result.pathRead = twoPaths ? (pick == 0 ? 'L' : 'R') : header.onlyPath;
    result.ok = true;
    return result;
}

// The first three lines of a file (or all of it when it is shorter), read in
// chunks so that the data after them is never touched.
bool ReadHeadLines(std::FILE* file, std::string& head)
{
    std::array<char, 4096> chunk;
    int lineEnds = 0;
    while (lineEnds < 3) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file);
        for (std::size_t i = 0; i < got && lineEnds < 3; ++i) {
            head.push_back(chunk[i]);
            lineEnds += chunk[i] == '\n' ? 1 : 0;
        }
        if (got < chunk.size()) {
            return !std::ferror(file);
        }
    }
    return true;
}

} // namespace

ProProbeResult ProbeProText(std::string_view bytes)
{
    ProHeader header;
    std::string message;
    if (!ParseProHeader(bytes, UnitSystem::US, header, message)) {
        return RefuseProbe(std::move(message));
    }
    ProProbeResult result;
    result.ok = true;
    result.pathCount = header.pathCount;
    return result;
}

ProProbeResult ProbeProProfile(const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(OpenFileForReading(path));
    std::string head;
    try {
        if (!file || !ReadHeadLines(file.get(), head)) {
            return RefuseProbe("Unable to open " + path);
        }
        return ProbeProText(head);
    } catch (const std::bad_alloc&) {
        return RefuseProbe("Not enough memory to read " + path);
    }
}

ProReadResult ParseProProfile(std::string_view bytes, ChannelNumber channel, UnitSystem units)
{
    try {
        return ParseProText(bytes, channel, units);
    } catch (const std::bad_alloc&) {
        return Refuse("Not enough memory to read the profile");
    }
}

ProReadResult ReadProProfile(const std::string& path, ChannelNumber channel, UnitSystem units)
{
    try {
        std::string bytes;
        if (!ReadFileBytes(path, bytes)) {
            return Refuse("Unable to open " + path);
        }
        return ParseProText(bytes, channel, units);
    } catch (const std::bad_alloc&) {
        return Refuse("Not enough memory to read " + path);
    }
}

} // namespace zlm
