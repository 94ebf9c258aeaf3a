#include "profile_input/ErdProfileReader.h"

#include "analysis/NumberText.h"
#include "profile_input/ErdDataLines.h"
#include "profile_input/FieldText.h"
#include "profile_input/FileBytes.h"
#include "profile_input/LineReader.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>
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

ErdReadResult Cancelled()
{
    ErdReadResult result;
    result.cancelled = true;
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

// Metres per unit of the file, exact; a file without a unit is in feet. (A
// millimetre is divided by 1000 instead, as 0.001 has no exact double.)
double MetresPer(Unit unit)
{
    switch (unit) {
    case Unit::Millimetre:
        return 0.001;
    case Unit::Metre:
        return 1.0;
    case Unit::Inch:
        return 0.0254;
    case Unit::Foot:
    case Unit::None:
        break;
    }
    return 0.3048;
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
    UnitSystem units = UnitSystem::US; // the units the profile is read in
    std::int32_t channelCount = 0;
    double interval = 0.0;     // in the profile's units once the header is complete
    double fileInterval = 0.0; // as the dimensions line gives it
    Unit intervalUnit = Unit::None;
    Unit elevationUnit = Unit::None;
    float factor = 0.0f;  // US units: the file's unit to feet
    double scale = 1.0;   // the file's unit to the profile's units, once the header is complete:
    double divisor = 1.0; // value x gain x scale / divisor (a millimetre is 1 / 1000 m exactly)
    bool hasUnits = false;
    float gain1 = 0.0f;
    float gain2 = 0.0f;
    std::vector<float> gains; // files of three or more channels: channel k's gain at k - 1
    std::vector<std::string> channelNames;
    bool hasTitle = false;
    std::string title;
    // Every keyword line: its 8-column keyword and the rest.
    std::vector<std::pair<std::string, std::string>> fields;
    bool cancelled = false; // the channel question was cancelled: the read stops, refusing nothing
};

// A step of reading the header: nothing when it went well, else the refusal text.
using StepFailure = std::optional<std::string>;

StepFailure ReadSignature(LineReader& lines)
{
    std::string_view line;
    if (!lines.Next(line) || TrimBlanks(line) != "ERDFILEV2.00") {
        return "File is is not in ERD format";
    }
    return std::nullopt;
}

// The first six comma-separated fields of the dimensions line, blanks removed;
// false when it has fewer. Only those six matter, so a line of thousands of
// commas costs no memory.
bool SplitDimensions(std::string_view line, std::array<std::string_view, 6>& fields)
{
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
    return fieldCount == fields.size();
}

StepFailure ReadChannelCount(std::string_view field, std::int32_t& channelCount)
{
    if (!ConvertWholeNumber(field, channelCount)) {
        return "Error: The channel count (field 1 of line 2) is not a whole number";
    }
    if (channelCount < 1 || channelCount > kMaxChannels) {
        return "Error: The file has " + std::to_string(channelCount) + " channels; only files of 1 to " +
               std::to_string(kMaxChannels) + " channels can be read";
    }
    return std::nullopt;
}

// The fields of a line separated by commas or by runs of blanks (a comma with
// blanks around it is one separator), trimmed.
std::vector<std::string_view> SplitBlankOrComma(std::string_view text)
{
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        if (i == text.size()) {
            break;
        }
        std::size_t end = i;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != ',') {
            ++end;
        }
        fields.push_back(text.substr(i, end - i));
        i = end;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        if (i < text.size() && text[i] == ',') {
            ++i;
        }
    }
    return fields;
}

// The channels' names from the SHORTNAM line before END, looked for ahead of the
// keyword lines so that the channel question can show them: names separated by
// commas, or else by blanks; a channel without one is "Channel k".
std::vector<std::string> ScanChannelNames(std::string_view keywordText, std::int32_t channelCount)
{
    std::vector<std::string> names;
    for (std::int32_t k = 1; k <= channelCount; ++k) {
        names.push_back("Channel " + std::to_string(k));
    }
    LineReader lines(keywordText);
    std::string_view line;
    while (lines.Next(line) && TrimBlanks(line) != "END") {
        const std::size_t at = line.find("SHORTNAM");
        if (at == std::string_view::npos) {
            continue;
        }
        const std::string_view text = line.substr(at + 8);
        std::vector<std::string_view> given;
        if (text.find(',') != std::string_view::npos) {
            std::size_t from = 0;
            while (true) {
                const std::size_t comma = text.find(',', from);
                given.push_back(TrimBlanks(text.substr(from, comma == text.npos ? text.npos : comma - from)));
                if (comma == std::string_view::npos) {
                    break;
                }
                from = comma + 1;
            }
        } else {
            given = SplitBlankOrComma(text);
        }
        for (std::size_t k = 0; k < given.size() && k < names.size(); ++k) {
            if (!given[k].empty()) {
                names[k] = std::string(given[k]);
            }
        }
        break;
    }
    return names;
}

// The channel window appears as soon as the file is known to hold more than
// one channel, before the rest of the dimensions line is checked. False when
// the user cancelled it; `channel` is then left as it was.
bool AskForChannel(const ErdHeader& header, ChannelNumber& channel, const ChannelQuestion& askChannel)
{
    if (header.channelCount > 1 && askChannel) {
        const std::optional<ChannelNumber> answer = askChannel(channel, header.channelNames);
        if (!answer) {
            return false;
        }
        channel = *answer;
    }
    return true;
}

// The dimensions line (line 2): channel count, sample count and interval.
StepFailure ReadDimensions(LineReader& lines, ChannelNumber& channel, const ChannelQuestion& askChannel,
                           ErdHeader& header)
{
    std::string_view line;
    if (!lines.Next(line)) {
        line = std::string_view();
    }
    std::array<std::string_view, 6> fields;
    if (!SplitDimensions(line, fields)) {
        return "Error: Line 2 holds fewer than six comma-separated fields";
    }
    if (StepFailure failure = ReadChannelCount(fields[0], header.channelCount)) {
        return failure;
    }
    header.channelNames = ScanChannelNames(lines.Remaining(), header.channelCount);
    if (!AskForChannel(header, channel, askChannel)) {
        // The header stops here like at a refusal; the flag tells the two apart.
        header.cancelled = true;
        return "cancelled";
    }
    // The sample count must be a number, but the data lines say how many samples there are.
    std::int32_t sampleCount = 0;
    if (!ConvertWholeNumber(fields[1], sampleCount)) {
        return "Error: The sample count (field 2 of line 2) is not a whole number";
    }
    if (!IsNumberText(fields[5])) {
        return "Error: The sample interval (field 6 of line 2) is not a number";
    }
    header.interval = ParseDouble(fields[5]);
    header.fileInterval = header.interval;
    return std::nullopt;
}

StepFailure ReadDataUnit(std::string_view line, ErdHeader& header)
{
    const Unit unit = SearchUnit(line);
    if (unit == Unit::None) {
        return "Error: Data unit format not recognized";
    }
    header.factor = ElevationFactor(unit);
    header.elevationUnit = unit;
    header.hasUnits = true;
    return std::nullopt;
}

StepFailure ReadIncrementUnit(std::string_view line, ErdHeader& header)
{
    const Unit unit = SearchUnit(line);
    if (unit == Unit::None) {
        return "Error: Data increment unit format not recognized";
    }
    header.interval = IntervalInFeet(header.interval, unit);
    header.intervalUnit = unit;
    return std::nullopt;
}

// A GAIN line of a file of three or more channels: the k-th value, separated by
// commas or blanks, is channel k's gain.
bool ReadChannelGains(std::string_view line, std::vector<float>& gains)
{
    const std::size_t at = line.find("GAIN");
    const std::vector<std::string_view> values = SplitBlankOrComma(line.substr(at + 4));
    gains.assign(values.size(), 0.0f);
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (IsUnusableSingleText(values[k])) {
            return false;
        }
        gains[k] = ParseSingle(values[k]);
    }
    return true;
}

StepFailure ReadGainLine(std::string_view line, std::int64_t lineNumber, ErdHeader& header)
{
    const bool read =
        header.channelCount > 2 ? ReadChannelGains(line, header.gains) : ReadGains(line, header.gain1, header.gain2);
    if (!read) {
        return "Error: " + LineText(lineNumber) + " holds a gain that is not a finite number within single precision";
    }
    return std::nullopt;
}

// One line before END. The keywords are looked for anywhere in the line, in
// this order, and a line holding several is read for each of them.
StepFailure ReadKeywordLine(std::string_view line, std::int64_t lineNumber, ErdHeader& header)
{
    if (Contains(line, "UNITSNAM")) {
        if (StepFailure failure = ReadDataUnit(line, header)) {
            return failure;
        }
    }
    if (Contains(line, "XUNITS")) {
        if (StepFailure failure = ReadIncrementUnit(line, header)) {
            return failure;
        }
    }
    if (Contains(line, "GAIN")) {
        if (StepFailure failure = ReadGainLine(line, lineNumber, header)) {
            return failure;
        }
    }
    if (Contains(line, "TITLE")) {
        header.title = std::string(TrimBlanks(From(line, 5)));
        header.hasTitle = true;
    }
    return std::nullopt;
}

// The keyword lines up to and including END.
StepFailure ReadKeywordLines(LineReader& lines, ErdHeader& header)
{
    std::string_view line;
    while (lines.Next(line)) {
        if (TrimBlanks(line) == "END") {
            return std::nullopt;
        }
        if (StepFailure failure = ReadKeywordLine(line, lines.LineNumber(), header)) {
            return failure;
        }
        // Kept for display and reports: the keyword fills the first 8 columns, its value the rest.
        if (!TrimBlanks(line).empty()) {
            header.fields.emplace_back(std::string(TrimBlanks(line.substr(0, 8))),
                                       std::string(TrimBlanks(From(line, 8))));
        }
    }
    return "Error: The file ends before its END line";
}

// What the header as a whole must say once END is reached.
StepFailure CompleteHeader(ErdHeader& header)
{
    if (header.gain1 == 0.0f) {
        header.gain1 = 1.0f;
    }
    if (header.gain2 == 0.0f) {
        header.gain2 = 1.0f;
    }
    header.gains.resize(static_cast<std::size_t>(header.channelCount), 0.0f);
    for (float& gain : header.gains) {
        if (gain == 0.0f) {
            gain = 1.0f;
        }
    }
    if (!header.hasUnits) {
        return "Error: The file has no UNITSNAM line naming the unit of its data";
    }
    if (header.units == UnitSystem::SI) {
        // Metres from the file's own unit, with the exact factors; no detour through feet.
        const auto metres = [](double value, Unit unit) {
            return unit == Unit::Millimetre ? value / 1000.0 : value * MetresPer(unit);
        };
        header.interval = metres(header.fileInterval, header.intervalUnit);
        header.scale = header.elevationUnit == Unit::Millimetre ? 1.0 : MetresPer(header.elevationUnit);
        header.divisor = header.elevationUnit == Unit::Millimetre ? 1000.0 : 1.0;
    } else {
        header.scale = static_cast<double>(header.factor);
    }
    if (!IsUsableInterval(header.interval)) {
        return header.interval > 0.0 ? "Error: The sample interval is too large or too small to be analysed"
                                     : "Error: The sample interval is not greater than 0";
    }
    return std::nullopt;
}

// Reads the signature, the dimensions line and the keyword lines up to END;
// `lines` is left at the first data line.
StepFailure ParseErdHeader(LineReader& lines, ChannelNumber& channel, const ChannelQuestion& askChannel,
                           ErdHeader& header)
{
    if (StepFailure failure = ReadSignature(lines)) {
        return failure;
    }
    if (StepFailure failure = ReadDimensions(lines, channel, askChannel, header)) {
        return failure;
    }
    if (StepFailure failure = ReadKeywordLines(lines, header)) {
        return failure;
    }
    return CompleteHeader(header);
}

// The outcome of a header that stopped the read: cancelled, or refused with its text.
ErdReadResult Stopped(const ErdHeader& header, std::string failure)
{
    return header.cancelled ? Cancelled() : Refuse(std::move(failure));
}

// The checks before any data line is read, and the rule that takes the chosen
// channel's elevations from them; a refusal when there is nothing to read.
std::optional<ErdReadResult> CheckErdData(std::int64_t dataLines, std::int64_t firstDataLine, const ErdHeader& header,
                                          ChannelNumber channel, ErdDataLineRule& rule)
{
    if (dataLines == 0) {
        return Refuse("Error: The file holds no data after its END line");
    }
    if (dataLines > std::numeric_limits<std::int32_t>::max()) {
        return Refuse("Error: The file holds more samples than can be analysed");
    }
    const std::int32_t index = channel - 1;
    if (header.channelCount > 2 && (index < 0 || index >= header.channelCount)) {
        return Refuse("Error: Channel " + std::to_string(index + 1) + " was chosen, but the file has " +
                      std::to_string(header.channelCount) + (header.channelCount == 1 ? " channel" : " channels"));
    }
    rule.channelCount = header.channelCount;
    rule.channelIndex = index;
    rule.secondChannel = header.channelCount == 2 && channel != 1;
    rule.gain = header.channelCount > 2 ? static_cast<double>(header.gains[static_cast<std::size_t>(index)])
                : rule.secondChannel    ? static_cast<double>(header.gain2)
                                        : static_cast<double>(header.gain1);
    rule.unitFactor = header.scale;
    rule.divisor = header.divisor;
    rule.firstDataLine = firstDataLine;
    return std::nullopt;
}

// The profile of the elevations read with the header's title, names, interval and units.
ErdReadResult ErdProfileOf(std::vector<double>&& elevations, const ErdHeader& header)
{
    ErdReadResult result;
    result.hasTitle = header.hasTitle;
    result.title = header.title;
    result.channelNames = header.channelNames;
    result.profile.elevations = std::move(elevations);
    result.profile.pointCount = static_cast<std::int32_t>(result.profile.elevations.size());
    result.profile.interval = header.interval;
    result.profile.units = header.units;
    result.profile.headerFields = header.fields;
    result.ok = true;
    return result;
}

// Converts the data lines of a text in memory, on two threads when there are many.
ErdReadResult ReadErdData(std::string_view text, std::int64_t dataLines, std::int64_t firstDataLine,
                          const ErdHeader& header, ChannelNumber channel)
{
    ErdDataLineRule rule;
    if (std::optional<ErdReadResult> refused = CheckErdData(dataLines, firstDataLine, header, channel, rule)) {
        return std::move(*refused);
    }
    std::vector<double> elevations;
    if (std::optional<std::string> failure = ConvertErdDataText(text, dataLines, rule, elevations)) {
        return Refuse(std::move(*failure));
    }
    return ErdProfileOf(std::move(elevations), header);
}

ErdReadResult ParseErdText(std::string_view bytes, ChannelNumber& channel, const ChannelQuestion& askChannel,
                           UnitSystem units)
{
    LineReader lines(bytes);
    ErdHeader header;
    header.units = units;
    if (StepFailure failure = ParseErdHeader(lines, channel, askChannel, header)) {
        return Stopped(header, std::move(*failure));
    }
    const std::int64_t dataLines = CountLines(WithoutTrailingEmptyLines(lines.Remaining()));
    return ReadErdData(lines.Remaining(), dataLines, lines.LineNumber() + 1, header, channel);
}

// Reads a file, whatever its size, holding little more than its elevations in
// memory: the header lines are read into memory, the data in chunks, twice
// (once to count the samples, once to convert them), each time in two halves
// on two threads when there is much of it. The profile and every refusal are
// those of the same bytes parsed in memory.
ErdReadResult ReadErdFile(std::FILE* file, const std::string& path, ChannelNumber& channel,
                          const ChannelQuestion& askChannel, UnitSystem units)
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
    header.units = units;
    if (StepFailure failure = ParseErdHeader(lines, channel, askChannel, header)) {
        return Stopped(header, std::move(*failure));
    }

    const std::int64_t firstDataLine = lines.LineNumber() + 1;
    head = std::string(); // the header's lines are no longer needed
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    const ErdDataLineCount count = CountErdDataLines(file, dataOffset, sizeError ? 0 : size);
    if (count.failed) {
        return Refuse("Unable to open " + path);
    }
    ErdDataLineRule rule;
    if (std::optional<ErdReadResult> refused = CheckErdData(count.dataLines, firstDataLine, header, channel, rule)) {
        return std::move(*refused);
    }
    std::vector<double> elevations;
    bool readFailed = false;
    std::optional<std::string> failure = ConvertErdDataFile(file, dataOffset, count, rule, elevations, readFailed);
    if (readFailed) {
        return Refuse("Unable to open " + path);
    }
    if (failure) {
        return Refuse(std::move(*failure));
    }
    return ErdProfileOf(std::move(elevations), header);
}

} // namespace

ErdReadResult ParseErdProfile(std::string_view bytes, ChannelNumber& channel, const ChannelQuestion& askChannel,
                              UnitSystem units)
{
    try {
        return ParseErdText(bytes, channel, askChannel, units);
    } catch (const std::bad_alloc&) {
        return Refuse("Error: Not enough memory to read the profile");
    }
}

ErdReadResult ReadErdProfile(const std::string& path, ChannelNumber& channel, const ChannelQuestion& askChannel,
                             UnitSystem units)
{
    std::unique_ptr<std::FILE, FileCloser> file(OpenFileForReading(path));
    if (!file) {
        return Refuse("Unable to open " + path);
    }
    try {
        return ReadErdFile(file.get(), path, channel, askChannel, units);
    } catch (const std::bad_alloc&) {
        return Refuse("Error: Not enough memory to read " + path);
    }
}

} // namespace zlm
