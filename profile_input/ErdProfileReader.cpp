#include "profile_input/ErdProfileReader.h"

#include "analysis/NumberText.h"
#include "profile_input/FieldText.h"
#include "profile_input/FileBytes.h"
#include "profile_input/LineReader.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>
#include <vector>

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
// that is no number reads as 0 (and becomes 1 once the header is read). False
// for a gain that names a non-finite value or lies beyond single precision: it
// would scale every elevation into garbage (or, read as 0, silently not at all).
bool ReadGains(std::string_view line, float& gain1, float& gain2)
{
    const auto gain = [](std::string_view text, float& value) {
        text = TrimBlanks(text);
        if (IsUnusableSingleText(text)) {
            return false;
        }
        value = ParseSingle(text);
        return true;
    };
    if (line.find(',') == std::string_view::npos) {
        return gain(From(line, 4), gain1);
    }
    const std::string_view trimmed = TrimBlanks(line);
    if (!trimmed.empty() && trimmed.back() == ',') {
        line = trimmed.substr(0, trimmed.size() - 1);
    }
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
        return gain(From(line, 4), gain1);
    }
    const std::string_view second = line.substr(comma + 1);
    return gain(From(line.substr(0, comma), 4), gain1) && gain(second.substr(0, second.find(',')), gain2);
}

// What the lines up to END say about the data that follows.
struct ErdHeader {
    std::int32_t channelCount = 0;
    double interval = 0.0;
    float factor = 0.0f;
    float gain1 = 0.0f;
    float gain2 = 0.0f;
    bool hasTitle = false;
    std::string title;
};

// Reads the signature, the dimensions line and the keyword lines up to END;
// `lines` is left at the first data line. On a refusal `failure` holds it.
bool ParseErdHeader(LineReader& lines, std::int32_t& channelChoice, const ChannelQuestion& askChannel,
                    ErdHeader& header, ErdReadResult& failure)
{
    std::string_view line;
    if (!lines.Next(line) || TrimBlanks(line) != "ERDFILEV2.00") {
        failure = Refuse("File is is not in ERD format");
        return false;
    }

    // The dimensions line: only the first six fields matter, so a line of
    // thousands of commas costs no memory.
    if (!lines.Next(line)) {
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
        failure = Refuse("Error: Line 2 holds fewer than six comma-separated fields");
        return false;
    }
    std::int32_t channelCount = 0;
    if (!ConvertWholeNumber(fields[0], channelCount)) {
        failure = Refuse("Error: The channel count (field 1 of line 2) is not a whole number");
        return false;
    }
    if (channelCount != 1 && channelCount != 2) {
        failure = Refuse("Error: The file has " + std::to_string(channelCount) +
                         " channels; only files of one or two channels can be read");
        return false;
    }
    if (channelCount > 1 && askChannel) {
        askChannel(channelChoice);
    }
    std::int32_t sampleCount = 0;
    if (!ConvertWholeNumber(fields[1], sampleCount)) {
        failure = Refuse("Error: The sample count (field 2 of line 2) is not a whole number");
        return false;
    }
    if (!IsNumberText(fields[5])) {
        failure = Refuse("Error: The sample interval (field 6 of line 2) is not a number");
        return false;
    }
    header.channelCount = channelCount;
    header.interval = ParseDouble(fields[5]);

    bool foundEnd = false;
    bool foundUnits = false;
    while (lines.Next(line)) {
        if (TrimBlanks(line) == "END") {
            foundEnd = true;
            break;
        }
        if (Contains(line, "UNITSNAM")) {
            const Unit unit = SearchUnit(line);
            if (unit == Unit::None) {
                failure = Refuse("Error: Data unit format not recognized");
                return false;
            }
            header.factor = ElevationFactor(unit);
            foundUnits = true;
        }
        if (Contains(line, "XUNITS")) {
            const Unit unit = SearchUnit(line);
            if (unit == Unit::None) {
                failure = Refuse("Error: Data increment unit format not recognized");
                return false;
            }
            header.interval = IntervalInFeet(header.interval, unit);
        }
        if (Contains(line, "GAIN") && !ReadGains(line, header.gain1, header.gain2)) {
            failure = Refuse("Error: " + LineText(lines.LineNumber()) +
                             " holds a gain that is not a finite number within single precision");
            return false;
        }
        if (Contains(line, "TITLE")) {
            header.title = std::string(TrimBlanks(From(line, 5)));
            header.hasTitle = true;
        }
    }
    if (!foundEnd) {
        failure = Refuse("Error: The file ends before its END line");
        return false;
    }
    if (header.gain1 == 0.0f) {
        header.gain1 = 1.0f;
    }
    if (header.gain2 == 0.0f) {
        header.gain2 = 1.0f;
    }
    if (!foundUnits) {
        failure = Refuse("Error: The file has no UNITSNAM line naming the unit of its data");
        return false;
    }
    if (!IsUsableInterval(header.interval)) {
        failure = Refuse(header.interval > 0.0 ? "Error: The sample interval is too large or too small to be analysed"
                                               : "Error: The sample interval is not greater than 0");
        return false;
    }
    return true;
}

bool IsBlankLineCharacter(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Converts the first `dataLines` lines of `lines` (a LineReader or a
// FileLineReader) into elevations. Empty lines at the very end of a file are
// not samples, so the caller counts only the lines up to the last one holding
// anything but blanks, and the trailing blanks of that last line go too.
template <typename Lines>
ErdReadResult ReadErdData(Lines& lines, std::int64_t dataLines, std::int64_t firstDataLine, const ErdHeader& header,
                          std::int32_t channelChoice)
{
    if (dataLines == 0) {
        return Refuse("Error: The file holds no data after its END line");
    }
    if (dataLines > std::numeric_limits<std::int32_t>::max()) {
        return Refuse("Error: The file holds more samples than can be analysed");
    }

    ErdReadResult result;
    result.hasTitle = header.hasTitle;
    result.title = header.title;
    const bool secondChannel = header.channelCount == 2 && channelChoice != 0;
    const double gain = secondChannel ? static_cast<double>(header.gain2) : static_cast<double>(header.gain1);
    const double unitFactor = static_cast<double>(header.factor);
    std::vector<double>& elevations = result.profile.elevations;
    // One spare place, so that the batch tool can append the working copy's
    // closing 0.0 without moving the whole array.
    elevations.reserve(static_cast<std::size_t>(dataLines) + 1);
    std::string_view line;
    for (std::int64_t i = 0; i < dataLines && lines.Next(line); ++i) {
        if (i + 1 == dataLines) {
            while (!line.empty() && IsBlankLineCharacter(line.back())) {
                line.remove_suffix(1);
            }
        }
        std::string_view value = TrimBlanks(line);
        if (header.channelCount == 2) {
            const std::size_t blank = value.find(' ');
            if (blank == std::string_view::npos) {
                return Refuse("Error: " + LineText(firstDataLine + i) + " holds fewer than two values");
            }
            value = secondChannel ? TrimBlanks(value.substr(blank + 1)) : TrimBlanks(value.substr(0, blank));
        }
        if (IsNonFiniteText(value)) {
            return Refuse("Error: " + LineText(firstDataLine + i) + " holds an elevation that is not a finite number");
        }
        // Left to right in double: value times gain, then times the unit factor.
        const double elevation = ParseDouble(value) * gain * unitFactor;
        if (!FitsSingle(elevation)) {
            return Refuse("Error: " + LineText(firstDataLine + i) + " holds an elevation too large to be analysed");
        }
        elevations.push_back(elevation);
    }
    if (static_cast<std::int64_t>(elevations.size()) != dataLines) {
        return Refuse("Error: The file changed while it was read");
    }
    result.profile.pointCount = static_cast<std::int32_t>(elevations.size());
    result.profile.interval = header.interval;
    result.ok = true;
    return result;
}

ErdReadResult ParseErdText(std::string_view bytes, std::int32_t& channelChoice, const ChannelQuestion& askChannel)
{
    LineReader lines(bytes);
    ErdHeader header;
    ErdReadResult failure;
    if (!ParseErdHeader(lines, channelChoice, askChannel, header, failure)) {
        return failure;
    }
    const std::string_view data = WithoutTrailingEmptyLines(lines.Remaining());
    LineReader dataReader(data);
    return ReadErdData(dataReader, CountLines(data), lines.LineNumber() + 1, header, channelChoice);
}

// Reads a file whose data may be far larger than its header: the header is read
// into memory, the data in chunks, twice (once to count the samples, once to
// convert them), so that memory holds little more than the elevations.
ErdReadResult ReadErdFile(std::FILE* file, const std::string& path, std::int32_t& channelChoice,
                          const ChannelQuestion& askChannel)
{
    // The header: whole lines up to and including the END line, or the whole
    // file when it has none.
    std::string head;
    FileLineReader scan(file, 0);
    std::string_view line;
    std::uint64_t dataOffset = 0;
    while (scan.Next(line)) {
        dataOffset = scan.Offset();
        if (TrimBlanks(line) == "END") {
            break;
        }
    }
    if (scan.Failed()) {
        return Refuse("Unable to open " + path);
    }
    head.resize(static_cast<std::size_t>(dataOffset));
    if (std::fseek(file, 0, SEEK_SET) != 0 || std::fread(head.data(), 1, head.size(), file) != head.size()) {
        return Refuse("Unable to open " + path);
    }
    LineReader lines(head);
    ErdHeader header;
    ErdReadResult failure;
    if (!ParseErdHeader(lines, channelChoice, askChannel, header, failure)) {
        return failure;
    }

    // Count the samples: every line up to the last one that holds more than blanks.
    std::int64_t dataLines = 0;
    {
        FileLineReader counter(file, dataOffset);
        for (std::int64_t index = 1; counter.Next(line); ++index) {
            for (const char c : line) {
                if (!IsBlankLineCharacter(c)) {
                    dataLines = index;
                    break;
                }
            }
        }
        if (counter.Failed()) {
            return Refuse("Unable to open " + path);
        }
    }
    head = std::string(); // the header's lines are no longer needed
    FileLineReader data(file, dataOffset);
    ErdReadResult result = ReadErdData(data, dataLines, lines.LineNumber() + 1, header, channelChoice);
    if (data.Failed()) {
        return Refuse("Unable to open " + path);
    }
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
    std::unique_ptr<std::FILE, FileCloser> file(OpenFileForReading(path));
    if (!file) {
        return Refuse("Unable to open " + path);
    }
    try {
        return ReadErdFile(file.get(), path, channelChoice, askChannel);
    } catch (const std::bad_alloc&) {
        return Refuse("Error: Not enough memory to read " + path);
    }
}

} // namespace zlm
