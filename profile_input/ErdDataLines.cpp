#include "profile_input/ErdDataLines.h"

#include "analysis/NumberText.h"
#include "profile_input/FieldText.h"
#include "profile_input/LineReader.h"

#include <exception>
#include <thread>

namespace zlm {

namespace {

// Below this many lines a second thread costs more than it saves.
constexpr std::int64_t kLinesForSecondThread = 100'000;

std::string LineText(std::int64_t lineNumber)
{
    return "Line " + std::to_string(lineNumber);
}

// The field at `index` of a data line of `count` channels, fields separated by
// commas or blanks; false when the line holds fewer than `count`. Only the
// fields up to `count` are looked at, so a long line costs nothing more.
bool NthField(std::string_view line, std::int32_t index, std::int32_t count, std::string_view& field)
{
    std::int32_t seen = 0;
    std::size_t i = 0;
    while (seen < count) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i == line.size()) {
            return false;
        }
        std::size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != ',') {
            ++end;
        }
        if (seen == index) {
            field = line.substr(i, end - i);
        }
        ++seen;
        i = end;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i < line.size() && line[i] == ',') {
            ++i;
        }
    }
    return true;
}

/** The first refusal among lines first .. first + count - 1 of `lines`, converted into out[0 .. count). */
struct HalfOutcome {
    bool refused = false;
    std::string failure;
    std::exception_ptr error; // an exception of the second thread, rethrown on the first
};

void ConvertLines(LineReader lines, std::int64_t first, std::int64_t count, std::int64_t dataLines,
                  const ErdDataLineRule& rule, double* out, HalfOutcome& outcome)
{
    std::string_view line;
    for (std::int64_t k = 0; k < count && lines.Next(line); ++k) {
        const std::int64_t index = first + k;
        if (!ConvertErdDataLine(line, index, index + 1 == dataLines, rule, out[k], outcome.failure)) {
            outcome.refused = true;
            return;
        }
    }
}

} // namespace

bool ConvertErdDataLine(std::string_view line, std::int64_t index, bool last, const ErdDataLineRule& rule,
                        double& elevation, std::string& failure)
{
    if (last) {
        line = WithoutTrailingBlanks(line);
    }
    std::string_view value = TrimBlanks(line);
    if (rule.channelCount > 2) {
        if (!NthField(value, rule.channelIndex, rule.channelCount, value)) {
            failure = "Error: " + LineText(rule.firstDataLine + index) + " holds fewer than " +
                      std::to_string(rule.channelCount) + " values";
            return false;
        }
    } else if (rule.channelCount == 2) {
        const std::size_t blank = value.find(' ');
        if (blank == std::string_view::npos) {
            failure = "Error: " + LineText(rule.firstDataLine + index) + " holds fewer than two values";
            return false;
        }
        value = rule.secondChannel ? TrimBlanks(value.substr(blank + 1)) : TrimBlanks(value.substr(0, blank));
    }
    // A text that is no number reads as 0, unless it names a non-finite value.
    double read = 0.0;
    if (!ParseDouble(value, read) && IsNonFiniteText(value)) {
        failure = "Error: " + LineText(rule.firstDataLine + index) + " holds an elevation that is not a finite number";
        return false;
    }
    // Left to right in double: value times gain, then times the unit factor
    // (and, for millimetres read as metres, divided by 1000).
    elevation = read * rule.gain * rule.unitFactor / rule.divisor;
    if (!FitsSingle(elevation)) {
        failure = "Error: " + LineText(rule.firstDataLine + index) + " holds an elevation too large to be analysed";
        return false;
    }
    return true;
}

std::optional<std::string> ConvertErdDataText(std::string_view text, std::int64_t dataLines,
                                              const ErdDataLineRule& rule, std::vector<double>& elevations)
{
    elevations.clear();
    elevations.reserve(static_cast<std::size_t>(dataLines) + 1);
    elevations.resize(static_cast<std::size_t>(dataLines));

    // The second half starts at the first line that begins past the middle byte.
    std::int64_t firstHalf = dataLines;
    std::size_t split = text.size();
    if (dataLines >= kLinesForSecondThread && std::thread::hardware_concurrency() > 1) {
        const std::size_t feed = text.find('\n', text.size() / 2);
        if (feed != std::string_view::npos) {
            split = feed + 1;
            firstHalf = std::min(dataLines, CountLineFeeds(text.substr(0, split)));
        }
    }
    HalfOutcome front;
    HalfOutcome back;
    std::thread second;
    if (firstHalf < dataLines) {
        second = std::thread([&] {
            try {
                ConvertLines(LineReader(text.substr(split)), firstHalf, dataLines - firstHalf, dataLines, rule,
                             elevations.data() + firstHalf, back);
            } catch (...) {
                back.error = std::current_exception();
            }
        });
    }
    try {
        ConvertLines(LineReader(text), 0, firstHalf, dataLines, rule, elevations.data(), front);
    } catch (...) {
        if (second.joinable()) {
            second.join();
        }
        throw;
    }
    if (second.joinable()) {
        second.join();
    }
    if (front.refused) {
        return std::move(front.failure);
    }
    if (back.error) {
        std::rethrow_exception(back.error);
    }
    if (back.refused) {
        return std::move(back.failure);
    }
    return std::nullopt;
}

} // namespace zlm
