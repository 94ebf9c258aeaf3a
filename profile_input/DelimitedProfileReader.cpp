#include "profile_input/DelimitedProfileReader.h"

#include "analysis/NumberText.h"
#include "profile_input/FieldText.h"
#include "profile_input/FileBytes.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace zlm {

namespace {

constexpr std::size_t kMaxColumns = 3;
constexpr double kSpacingTolerance = 0.01;

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

// A spreadsheet saving "CSV UTF-8" puts a byte order mark first; left in place
// it would make a first line of numbers look like a header.
std::string_view WithoutByteOrderMark(std::string_view bytes)
{
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return bytes.substr(0, kMark.size()) == kMark ? bytes.substr(kMark.size()) : bytes;
}

// Drops the lines of blanks at the very end. The last line that holds anything
// else stays whole: a tab at its end is an empty field, not a blank to trim.
std::string_view WithoutTrailingBlankLines(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    if (last == std::string_view::npos) {
        return std::string_view();
    }
    return text.substr(0, text.find('\n', last));
}

char DetectDelimiter(std::string_view line)
{
    for (const char candidate : {'\t', ';', ','}) {
        if (line.find(candidate) != std::string_view::npos) {
            return candidate;
        }
    }
    return 0;
}

// The first kMaxColumns + 1 trimmed fields, and the number of fields in all; a
// line of thousands of delimiters costs no memory.
struct Fields {
    std::array<std::string_view, kMaxColumns + 1> text;
    std::size_t count = 0;
};

Fields SplitFields(std::string_view line, char delimiter)
{
    Fields fields;
    std::size_t from = 0;
    while (true) {
        const std::size_t end = delimiter == 0 ? std::string_view::npos : line.find(delimiter, from);
        if (fields.count < fields.text.size()) {
            fields.text[fields.count] =
                TrimBlanks(line.substr(from, end == std::string_view::npos ? line.npos : end - from));
        }
        ++fields.count;
        if (end == std::string_view::npos) {
            return fields;
        }
        from = end + 1;
    }
}

// A decimal comma cannot be told from a delimiter in a comma-separated line.
bool ConvertField(std::string_view text, char delimiter, double& value)
{
    return ConvertDecimalNumber(text, '.', value) || (delimiter != ',' && ConvertDecimalNumber(text, ',', value));
}

bool AllNumbers(const Fields& fields, char delimiter)
{
    double value = 0.0;
    for (std::size_t i = 0; i < fields.count; ++i) {
        if (i >= fields.text.size() || !ConvertField(fields.text[i], delimiter, value)) {
            return false;
        }
    }
    return true;
}

bool IsEmptyLine(std::string_view line)
{
    return TrimBlanks(line).empty();
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered) {
        c = LowerAscii(c);
    }
    return lowered;
}

bool NamesDistance(std::string_view header)
{
    const std::string lowered = Lowered(header);
    return lowered.find("dist") != std::string::npos || lowered.find("station") != std::string::npos;
}

// The first parenthesised group of a header text that names a known unit;
// other groups ("(left)") are descriptions, not units.
std::optional<LengthUnit> HeaderUnit(std::string_view header)
{
    std::size_t open = header.find('(');
    while (open != std::string_view::npos) {
        const std::size_t close = header.find(')', open);
        if (close == std::string_view::npos) {
            break;
        }
        const std::string unit = Lowered(TrimBlanks(header.substr(open + 1, close - open - 1)));
        for (const LengthUnit candidate :
             {LengthUnit::Foot, LengthUnit::Inch, LengthUnit::Mil, LengthUnit::Metre, LengthUnit::Millimetre}) {
            if (unit == LengthUnitSymbol(candidate)) {
                return candidate;
            }
        }
        open = header.find('(', close);
    }
    return std::nullopt;
}

std::string LineText(std::int64_t lineNumber)
{
    return "Line " + std::to_string(lineNumber);
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

// Six significant digits, "." as the separator whatever the process locale.
std::string NumberText(double value)
{
    std::array<char, 32> buffer;
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 6);
    return ec == std::errc{} ? std::string(buffer.data(), end) : std::string("?");
}

std::string Columns(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " column" : " columns");
}

// Finds the first data line, after a header when line 1 is not all numbers,
// leaving `rest` at it. False with `message` set when those lines are refused.
bool FindFirstDataLine(std::string_view& rest, DelimitedLayout& layout, std::string_view& headerLine,
                       std::string_view& dataLine, std::int64_t& firstDataLine, std::string& message)
{
    const std::string_view start = rest;
    std::string_view line;
    if (!NextLine(rest, line)) {
        message = "The file holds no data: it is empty";
        return false;
    }
    if (IsEmptyLine(line)) {
        message = "Line 1 is empty";
        return false;
    }
    const Fields first = SplitFields(line, DetectDelimiter(line));
    headerLine = line;
    dataLine = line;
    firstDataLine = 1;
    if (!AllNumbers(first, DetectDelimiter(line))) {
        layout.hasHeader = true;
        const std::string_view afterHeader = rest;
        if (!NextLine(rest, dataLine)) {
            message = "The file holds no data: line 1 is a header and no line follows it";
            return false;
        }
        if (IsEmptyLine(dataLine)) {
            message = "Line 2 is empty";
            return false;
        }
        rest = afterHeader;
        firstDataLine = 2;
    } else {
        rest = start;
    }
    return true;
}

// Keeps the header's column names and finds the distance column among them.
// False with `message` set when the header does not fit the data's columns.
bool ReadHeaderColumns(std::string_view headerLine, const Fields& data, DelimitedLayout& layout, std::string& message)
{
    const Fields header = SplitFields(headerLine, layout.delimiter);
    if (header.count != data.count) {
        message =
            "Line 1 (the header) holds " + Columns(header.count) + " but line 2 holds " + std::to_string(data.count);
        return false;
    }
    for (std::size_t i = 0; i < data.count; ++i) {
        layout.headerTexts[i] = std::string(header.text[i]);
        if (!NamesDistance(header.text[i])) {
            continue;
        }
        if (layout.distanceColumn >= 0) {
            message = "Line 1 names two distance columns: " + std::to_string(layout.distanceColumn + 1) + " and " +
                      std::to_string(i + 1);
            return false;
        }
        layout.distanceColumn = static_cast<std::int32_t>(i);
    }
    if (data.count == 1 && layout.distanceColumn == 0) {
        message = "Line 1 names only a distance column: the profile has no elevation column";
        return false;
    }
    if (data.count == kMaxColumns && layout.distanceColumn < 0) {
        message = "Line 1 names no distance column (a header containing \"dist\" or \"station\"); "
                  "3 columns need one beside elevation 1 and elevation 2";
        return false;
    }
    return true;
}

// Every column but the distance is an elevation column; a header's names give their units.
void AssignElevationColumns(DelimitedLayout& layout)
{
    std::int32_t elevations = 0;
    for (std::int32_t i = 0; i < layout.columnCount; ++i) {
        if (i != layout.distanceColumn) {
            layout.elevationColumns[static_cast<std::size_t>(elevations++)] = i;
        }
    }
    layout.elevationCount = elevations;
    if (layout.hasHeader) {
        if (layout.distanceColumn >= 0) {
            layout.distanceUnit = HeaderUnit(layout.headerTexts[static_cast<std::size_t>(layout.distanceColumn)]);
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(elevations); ++i) {
            layout.elevationUnits[i] =
                HeaderUnit(layout.headerTexts[static_cast<std::size_t>(layout.elevationColumns[i])]);
        }
    }
}

// Reads the layout from the header and the first data line, leaving `rest` at
// the first data line. False with `message` set when those lines are refused.
bool ParseLayout(std::string_view& rest, DelimitedLayout& layout, std::int64_t& firstDataLine, std::string& message)
{
    std::string_view headerLine;
    std::string_view dataLine;
    if (!FindFirstDataLine(rest, layout, headerLine, dataLine, firstDataLine, message)) {
        return false;
    }
    layout.delimiter = DetectDelimiter(dataLine);
    const Fields data = SplitFields(dataLine, layout.delimiter);
    if (data.count > kMaxColumns) {
        message = LineText(firstDataLine) + " holds " + std::to_string(data.count) +
                  " fields; a delimited profile has at most 3 columns: distance, elevation 1, elevation 2";
        return false;
    }
    layout.columnCount = static_cast<std::int32_t>(data.count);
    if (layout.hasHeader) {
        if (!ReadHeaderColumns(headerLine, data, layout, message)) {
            return false;
        }
    } else if (data.count > 1) {
        layout.distanceColumn = 0;
    }
    AssignElevationColumns(layout);
    return true;
}

DelimitedReadResult Refuse(std::string message)
{
    return RefusedWith<DelimitedReadResult>(std::move(message));
}

DelimitedProbeResult RefuseProbe(std::string message)
{
    return RefusedWith<DelimitedProbeResult>(std::move(message));
}

// The interval in feet and in the native unit from evenly spaced distances.
bool SpacingInterval(const std::vector<double>& distances, const std::vector<std::string_view>& texts,
                     std::int64_t firstDataLine, const char* unit, double& nativeInterval, std::string& message)
{
    const std::size_t n = distances.size();
    if (n < 2) {
        message = "The profile holds one point: its distance column gives no spacing to find the interval from";
        return false;
    }
    const double mean = (distances[n - 1] - distances[0]) / static_cast<double>(n - 1);
    if (!(mean > 0.0)) {
        message = "The distances do not increase: line " + std::to_string(firstDataLine) + " gives " +
                  std::string(texts[0]) + " and line " +
                  std::to_string(firstDataLine + static_cast<std::int64_t>(n) - 1) + " gives " +
                  std::string(texts[n - 1]);
        return false;
    }
    if (!std::isfinite(mean)) {
        message = "The mean spacing of the distances is too large to be analysed";
        return false;
    }
    for (std::size_t i = 1; i < n; ++i) {
        const double spacing = distances[i] - distances[i - 1];
        if (!(std::fabs(spacing - mean) <= kSpacingTolerance * mean)) {
            message = LineText(firstDataLine + static_cast<std::int64_t>(i)) + ": the distance " +
                      std::string(texts[i]) + " lies " + NumberText(spacing) + " " + unit +
                      " after the one before; every spacing must lie within 1 % of the mean spacing, " +
                      NumberText(mean) + " " + unit;
            return false;
        }
    }
    nativeInterval = mean;
    return true;
}

// A length in a unit as metres, exactly: value x scale / divisor (a millimetre
// and a mil are divided by 1000, as 0.001 has no exact double).
double Metres(double value, LengthUnit unit)
{
    switch (unit) {
    case LengthUnit::Foot:
        return value * 0.3048;
    case LengthUnit::Inch:
        return value * 0.0254;
    case LengthUnit::Mil:
        return value * 0.0254 / 1000.0;
    case LengthUnit::Metre:
        return value;
    case LengthUnit::Millimetre:
        return value / 1000.0;
    }
    return value;
}

// The column read and the units of a profile, from its layout and what the caller gave.
struct ColumnChoice {
    std::size_t elevationColumn = 0;
    bool hasDistance = false;
    std::optional<LengthUnit> elevationUnit;
    std::optional<LengthUnit> distanceUnit;
};

// Chooses the elevation column of `channel` and the units; false with `message`
// set when a unit or the interval is missing or unusable.
bool ChooseColumns(const DelimitedLayout& layout, ChannelNumber channel, const DelimitedUnits& units,
                   ColumnChoice& choice, std::string& message)
{
    const std::size_t pick = layout.elevationCount == 2 && channel != 1 ? 1 : 0;
    choice.elevationColumn = static_cast<std::size_t>(layout.elevationColumns[pick]);
    choice.hasDistance = layout.distanceColumn >= 0;
    const std::string where = layout.hasHeader ? "the header of column " + std::to_string(choice.elevationColumn + 1) +
                                                     " names none (ft, in, m, mm or mil in parentheses)"
                                               : "the file has no header to name it";
    choice.elevationUnit = layout.elevationUnits[pick] ? layout.elevationUnits[pick] : units.elevationUnit;
    if (!choice.elevationUnit) {
        message = "The elevation unit is missing: " + where + ", and none was given";
        return false;
    }
    choice.distanceUnit = choice.hasDistance && layout.distanceUnit ? layout.distanceUnit : units.distanceUnit;
    if (choice.hasDistance && !choice.distanceUnit) {
        message = std::string("The distance unit is missing: ") +
                  (layout.hasHeader ? "the header of column " + std::to_string(layout.distanceColumn + 1) +
                                          " names none (ft, in, m, mm or mil in parentheses)"
                                    : "the file has no header to name it") +
                  ", and none was given";
        return false;
    }
    if (!choice.hasDistance) {
        if (!units.interval) {
            message = "The sample interval is missing: the file has no distance column, and none was given";
            return false;
        }
        if (!choice.distanceUnit) {
            message = "The unit of the sample interval is missing: the file has no distance column, and none "
                      "was given";
            return false;
        }
        if (!(*units.interval > 0.0) || !std::isfinite(*units.interval)) {
            message = "The sample interval given, " + NumberText(*units.interval) + ", is not a number greater than 0";
            return false;
        }
    }
    return true;
}

// The elevations (in the profile's units), and the distances with their texts,
// of the data lines from `rest` on; false with `message` set at a line refused.
bool ReadDataLines(std::string_view rest, std::int64_t firstDataLine, const DelimitedLayout& layout,
                   const ColumnChoice& choice, UnitSystem system, std::vector<double>& elevations,
                   std::vector<double>& distances, std::vector<std::string_view>& distanceTexts, std::string& message)
{
    const double elevationUnitsPerFoot = UnitsPerFoot(*choice.elevationUnit);
    std::string_view line;
    for (std::int64_t number = firstDataLine; NextLine(rest, line); ++number) {
        if (IsEmptyLine(line)) {
            message = LineText(number) + " is empty";
            return false;
        }
        const Fields fields = SplitFields(line, layout.delimiter);
        if (fields.count != static_cast<std::size_t>(layout.columnCount)) {
            message = LineText(number) + " holds " + std::to_string(fields.count) +
                      " fields; the profile's lines hold " + std::to_string(layout.columnCount);
            return false;
        }
        double value = 0.0;
        const std::string_view elevationText = fields.text[choice.elevationColumn];
        if (!ConvertField(elevationText, layout.delimiter, value)) {
            message = LineText(number) + ": the elevation " + Quoted(elevationText) + " (column " +
                      std::to_string(choice.elevationColumn + 1) + ") is not a number";
            return false;
        }
        const double elevation =
            system == UnitSystem::SI ? Metres(value, *choice.elevationUnit) : value / elevationUnitsPerFoot;
        if (!FitsSingle(elevation)) {
            message =
                LineText(number) + ": the elevation " + std::string(elevationText) + " is too large to be analysed";
            return false;
        }
        if (choice.hasDistance) {
            const std::string_view distanceText = fields.text[static_cast<std::size_t>(layout.distanceColumn)];
            double distance = 0.0;
            if (!ConvertField(distanceText, layout.delimiter, distance)) {
                message = LineText(number) + ": the distance " + Quoted(distanceText) + " (column " +
                          std::to_string(layout.distanceColumn + 1) + ") is not a number";
                return false;
            }
            distances.push_back(distance);
            distanceTexts.push_back(distanceText);
        }
        if (elevations.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
            message = "The file holds more points than can be analysed";
            return false;
        }
        elevations.push_back(elevation);
    }
    return true;
}

// The header fields a delimited profile shows: the columns' names and the start distance.
void AddHeaderFields(const DelimitedLayout& layout, const ColumnChoice& choice, std::string_view startDistance,
                     const char* distanceSymbol, ElevationProfile& profile)
{
    if (layout.hasHeader) {
        if (choice.hasDistance) {
            profile.headerFields.emplace_back("Distance column",
                                              layout.headerTexts[static_cast<std::size_t>(layout.distanceColumn)]);
        }
        profile.headerFields.emplace_back("Elevation column", layout.headerTexts[choice.elevationColumn]);
    }
    if (choice.hasDistance) {
        profile.headerFields.emplace_back("Start distance", std::string(startDistance) + " " + distanceSymbol);
    }
}

DelimitedReadResult ParseDelimitedText(std::string_view bytes, ChannelNumber channel, const DelimitedUnits& units,
                                       UnitSystem system)
{
    std::string_view rest = WithoutTrailingBlankLines(WithoutByteOrderMark(bytes));
    DelimitedLayout layout;
    std::int64_t firstDataLine = 1;
    std::string message;
    ColumnChoice choice;
    if (!ParseLayout(rest, layout, firstDataLine, message) || !ChooseColumns(layout, channel, units, choice, message)) {
        return Refuse(std::move(message));
    }

    DelimitedReadResult result;
    std::vector<double>& elevations = result.profile.elevations;
    std::vector<double> distances;
    std::vector<std::string_view> distanceTexts;
    if (!ReadDataLines(rest, firstDataLine, layout, choice, system, elevations, distances, distanceTexts, message)) {
        return Refuse(std::move(message));
    }

    const char* const distanceSymbol = LengthUnitSymbol(*choice.distanceUnit);
    double nativeInterval = choice.hasDistance ? 0.0 : *units.interval;
    if (choice.hasDistance &&
        !SpacingInterval(distances, distanceTexts, firstDataLine, distanceSymbol, nativeInterval, message)) {
        return Refuse(std::move(message));
    }
    const double interval = system == UnitSystem::SI ? Metres(nativeInterval, *choice.distanceUnit)
                                                     : nativeInterval / UnitsPerFoot(*choice.distanceUnit);
    if (!IsUsableInterval(interval)) {
        return Refuse("The sample interval, " + NumberText(nativeInterval) + " " + distanceSymbol +
                      ", is too large or too small to be analysed");
    }

    ElevationProfile& profile = result.profile;
    profile.pointCount = static_cast<std::int32_t>(elevations.size());
    profile.interval = interval;
    profile.units = system;
    profile.nativeElevationUnit = LengthUnitSymbol(*choice.elevationUnit);
    profile.nativeDistanceUnit = distanceSymbol;
    profile.nativeInterval = nativeInterval;
    AddHeaderFields(layout, choice, choice.hasDistance ? distanceTexts.front() : std::string_view(), distanceSymbol,
                    profile);
    result.layout = std::move(layout);
    result.ok = true;
    return result;
}

// The start of a file up to its second line holding more than blanks (or all of
// it when it has fewer): all the layout depends on, with the blank lines between
// so that they are told from blank lines at the very end. Read in chunks so that
// the data after them is never touched.
bool ReadHeadLines(std::FILE* file, std::string& head)
{
    std::array<char, 4096> chunk;
    int textLines = 0;
    bool lineHasText = false;
    while (textLines < 2) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file);
        for (std::size_t i = 0; i < got && textLines < 2; ++i) {
            const char c = chunk[i];
            head.push_back(c);
            if (c == '\n') {
                textLines += lineHasText ? 1 : 0;
                lineHasText = false;
            } else if (c != '\r' && c != ' ' && c != '\t') {
                lineHasText = true;
            }
        }
        if (got < chunk.size()) {
            return !std::ferror(file);
        }
    }
    return true;
}

} // namespace

const char* LengthUnitSymbol(LengthUnit unit)
{
    switch (unit) {
    case LengthUnit::Foot:
        return "ft";
    case LengthUnit::Inch:
        return "in";
    case LengthUnit::Mil:
        return "mil";
    case LengthUnit::Metre:
        return "m";
    case LengthUnit::Millimetre:
        return "mm";
    }
    return "ft";
}

double UnitsPerFoot(LengthUnit unit)
{
    switch (unit) {
    case LengthUnit::Foot:
        return 1.0;
    case LengthUnit::Inch:
        return 12.0;
    case LengthUnit::Mil:
        return 12000.0;
    case LengthUnit::Metre:
        return 0.3048;
    case LengthUnit::Millimetre:
        return 304.8;
    }
    return 1.0;
}

DelimitedProbeResult ProbeDelimitedText(std::string_view bytes)
{
    std::string_view rest = WithoutTrailingBlankLines(WithoutByteOrderMark(bytes));
    DelimitedProbeResult result;
    std::int64_t firstDataLine = 1;
    if (!ParseLayout(rest, result.layout, firstDataLine, result.message)) {
        return RefuseProbe(std::move(result.message));
    }
    result.ok = true;
    return result;
}

DelimitedProbeResult ProbeDelimitedProfile(const std::string& path)
{
    try {
        std::unique_ptr<std::FILE, FileCloser> file(OpenFileForReading(path));
        std::string head;
        if (!file || !ReadHeadLines(file.get(), head)) {
            return RefuseProbe("Unable to open " + path);
        }
        return ProbeDelimitedText(head);
    } catch (const std::bad_alloc&) {
        return RefuseProbe("Not enough memory to read " + path);
    }
}

DelimitedReadResult ParseDelimitedProfile(std::string_view bytes, ChannelNumber channel, const DelimitedUnits& units,
                                          UnitSystem system)
{
    try {
        return ParseDelimitedText(bytes, channel, units, system);
    } catch (const std::bad_alloc&) {
        return Refuse("Not enough memory to read the profile");
    }
}

DelimitedReadResult ReadDelimitedProfile(const std::string& path, ChannelNumber channel, const DelimitedUnits& units,
                                         UnitSystem system)
{
    try {
        std::string bytes;
        if (!ReadFileBytes(path, bytes)) {
            return Refuse("Unable to open " + path);
        }
        return ParseDelimitedText(bytes, channel, units, system);
    } catch (const std::bad_alloc&) {
        return Refuse("Not enough memory to read " + path);
    }
}

} // namespace zlm
