#include "profile_input/ErdProfileReader.h"

#include "analysis/NumberText.h"
#include "profile_input/FieldText.h"
#include "profile_input/FileBytes.h"
#include "profile_input/LineReader.h"

#include <array>
#include <cctype>
#include <limits>
#include <new>

namespace zlm {

namespace {

enum class Unit { None, Millimetre, Metre, Inch, Foot };

ErdReadResult Refuse(std::string text)
{
    ErdReadResult result;
    result.failureText = std::move(text);
    return result;
}

std::string LineText(std::int64_t lineNumber)
{
    return "Line " + std::to_string(lineNumber);
}

bool Contains(std::string_view line, std::string_view keyword)
{
    return line.find(keyword) != std::string_view::npos;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view word)
{
    if (word.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < word.size() &&
               std::tolower(static_cast<unsigned char>(text[i + k])) == static_cast<unsigned char>(word[k])) {
            ++k;
        }
        if (k == word.size()) {
            return true;
        }
    }
    return false;
}

// The line from its `count`-th character on, empty when it is shorter.
std::string_view From(std::string_view line, std::size_t count)
{
    return line.size() > count ? line.substr(count) : std::string_view();
}

// The unit search: from the 9th character, "mm" before "m" (so millimetres are
// not taken for metres), then "in", then "ft", without regard to case.
Unit SearchUnit(std::string_view line)
{
    const std::string_view text = From(line, 8);
    if (ContainsIgnoringCase(text, "mm")) {
        return Unit::Millimetre;
    }
    if (ContainsIgnoringCase(text, "m")) {
        return Unit::Metre;
    }
    if (ContainsIgnoringCase(text, "in")) {
        return Unit::Inch;
    }
    if (ContainsIgnoringCase(text, "ft")) {
        return Unit::Foot;
    }
    return Unit::None;
}

float ElevationFactor(Unit unit)
{
    switch (unit) {
    case Unit::Millimetre:
        return 0.00328f;
    case Unit::Metre:
        return 3.281f;
    case Unit::Inch:
        return static_cast<float>(1.0 / 12.0);
    case Unit::Foot:
    case Unit::None:
        break;
    }
    return 1.0f;
}

double IntervalInFeet(double interval, Unit unit)
{
    switch (unit) {
    case Unit::Millimetre:
        return interval / 1000.0 * 3.281;
    case Unit::Metre:
        return interval * 3.281;
    case Unit::Inch:
        return interval / 12.0;
    case Unit::Foot:
    case Unit::None:
        break;
    }
    return interval;
}

// A GAIN line: the gain of channel 1 and, after a comma, of channel 2. A gain
// that is no number reads as 0 (and becomes 1 once the header is read).
void ReadGains(std::string_view line, float& gain1, float& gain2)
{
    if (line.find(',') == std::string_view::npos) {
        gain1 = ParseSingle(TrimBlanks(From(line, 4)));
        return;
    }
    const std::string_view trimmed = TrimBlanks(line);
    if (!trimmed.empty() && trimmed.back() == ',') {
        line = trimmed.substr(0, trimmed.size() - 1);
    }
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
        gain1 = ParseSingle(TrimBlanks(From(line, 4)));
        return;
    }
    const std::string_view second = line.substr(comma + 1);
    gain1 = ParseSingle(TrimBlanks(From(line.substr(0, comma), 4)));
    gain2 = ParseSingle(TrimBlanks(second.substr(0, second.find(','))));
}

ErdReadResult ParseErdText(std::string_view bytes, std::int32_t& channelChoice, const ChannelQuestion& askChannel)
{
    LineReader lines(bytes);
    std::string_view line;

    if (!lines.next(line) || TrimBlanks(line) != "ERDFILEV2.00") {
        return Refuse("File is is not in ERD format");
    }

    // The dimensions line: only the first six fields matter, so a line of
    // thousands of commas costs no memory.
    if (!lines.next(line)) {
        line = std::string_view();
    }
    std::array<std::string_view, 6> fields;
    std::size_t fieldCount = 0;
    std::size_t from = 0;
    while (fieldCount < fields.size()) {
        const std::size_t comma = line.find(',', from);
        fields[fieldCount++] =
            TrimBlanks(line.substr(from, comma == std::string_view::npos ? line.npos : comma - from));
        if (comma == std::string_view::npos) {
            break;
        }
        from = comma + 1;
    }
    if (fieldCount < fields.size()) {
        return Refuse("Error: Line 2 holds fewer than six comma-separated fields");
    }
    std::int32_t channelCount = 0;
    if (!ConvertWholeNumber(fields[0], channelCount)) {
        return Refuse("Error: The channel count (field 1 of line 2) is not a whole number");
    }
    if (channelCount != 1 && channelCount != 2) {
        return Refuse("Error: The file has " + std::to_string(channelCount) +
                      " channels; only files of one or two channels can be read");
    }
    if (channelCount > 1 && askChannel) {
        askChannel(channelChoice);
    }
    std::int32_t sampleCount = 0;
    if (!ConvertWholeNumber(fields[1], sampleCount)) {
        return Refuse("Error: The sample count (field 2 of line 2) is not a whole number");
    }
    if (!IsNumberText(fields[5])) {
        return Refuse("Error: The sample interval (field 6 of line 2) is not a number");
    }
    double interval = ParseDouble(fields[5]);

    ErdReadResult result;
    bool foundEnd = false;
    bool foundUnits = false;
    float factor = 0.0f;
    float gain1 = 0.0f;
    float gain2 = 0.0f;
    while (lines.next(line)) {
        if (TrimBlanks(line) == "END") {
            foundEnd = true;
            break;
        }
        if (Contains(line, "UNITSNAM")) {
            const Unit unit = SearchUnit(line);
            if (unit == Unit::None) {
                return Refuse("Error: Data unit format not recognized");
            }
            factor = ElevationFactor(unit);
            foundUnits = true;
        }
        if (Contains(line, "XUNITS")) {
            const Unit unit = SearchUnit(line);
            if (unit == Unit::None) {
                return Refuse("Error: Data increment unit format not recognized");
            }
            interval = IntervalInFeet(interval, unit);
        }
        if (Contains(line, "GAIN")) {
            ReadGains(line, gain1, gain2);
        }
        if (Contains(line, "TITLE")) {
            result.title = std::string(TrimBlanks(From(line, 5)));
            result.hasTitle = true;
        }
    }
    if (!foundEnd) {
        return Refuse("Error: The file ends before its END line");
    }
    if (gain1 == 0.0f) {
        gain1 = 1.0f;
    }
    if (gain2 == 0.0f) {
        gain2 = 1.0f;
    }
    if (!foundUnits) {
        return Refuse("Error: The file has no UNITSNAM line naming the unit of its data");
    }
    if (!IsUsableInterval(interval)) {
        return Refuse(interval > 0.0 ? "Error: The sample interval is too large or too small to be analysed"
                                     : "Error: The sample interval is not greater than 0");
    }

    // Empty lines at the very end are not samples; everything else after END is.
    const std::string_view data = WithoutTrailingEmptyLines(lines.remaining());
    const std::int64_t dataLines = CountLines(data);
    if (dataLines == 0) {
        return Refuse("Error: The file holds no data after its END line");
    }
    if (dataLines > std::numeric_limits<std::int32_t>::max()) {
        return Refuse("Error: The file holds more samples than can be analysed");
    }

    const bool secondChannel = channelCount == 2 && channelChoice != 0;
    const double gain = secondChannel ? static_cast<double>(gain2) : static_cast<double>(gain1);
    const double unitFactor = static_cast<double>(factor);
    std::vector<double>& elevations = result.profile.elevations;
    elevations.reserve(static_cast<std::size_t>(dataLines));
    LineReader dataReader(data);
    const std::int64_t firstDataLine = lines.lineNumber() + 1;
    while (dataReader.next(line)) {
        std::string_view value = TrimBlanks(line);
        if (channelCount == 2) {
            const std::size_t blank = value.find(' ');
            if (blank == std::string_view::npos) {
                return Refuse("Error: " + LineText(firstDataLine + dataReader.lineNumber() - 1) +
                              " holds fewer than two values");
            }
            value = secondChannel ? TrimBlanks(value.substr(blank + 1)) : TrimBlanks(value.substr(0, blank));
        }
        // Left to right in double: value times gain, then times the unit factor.
        const double elevation = ParseDouble(value) * gain * unitFactor;
        if (!FitsSingle(elevation)) {
            return Refuse("Error: " + LineText(firstDataLine + dataReader.lineNumber() - 1) +
                          " holds an elevation too large to be analysed");
        }
        elevations.push_back(elevation);
    }
    result.profile.pointCount = static_cast<std::int32_t>(elevations.size());
    result.profile.interval = interval;
    result.ok = true;
    return result;
}

} // namespace

ErdReadResult ParseErdProfile(std::string_view bytes, std::int32_t& channelChoice, const ChannelQuestion& askChannel)
{
    try {
        return ParseErdText(bytes, channelChoice, askChannel);
    } catch (const std::bad_alloc&) {
        return Refuse("Error: Not enough memory to read the profile");
    }
}

ErdReadResult ReadErdProfile(const std::string& path, std::int32_t& channelChoice, const ChannelQuestion& askChannel)
{
    std::string bytes;
    try {
        if (!ReadFileBytes(path, bytes)) {
            return Refuse("Unable to open " + path);
        }
    } catch (const std::bad_alloc&) {
        return Refuse("Error: Not enough memory to read " + path);
    }
    return ParseErdProfile(bytes, channelChoice, askChannel);
}

} // namespace zlm
