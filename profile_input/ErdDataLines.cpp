#include "profile_input/ErdDataLines.h"

#include "analysis/NumberText.h"
#include "analysis/TwoHalves.h"
#include "profile_input/FieldText.h"
#include "profile_input/LineReader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <thread>

namespace zlm {

namespace {

// Below this many lines a second thread costs more than it saves.
constexpr std::int64_t kLinesForSecondThread = 100'000;
// The same for the data of a file, in bytes.
constexpr std::uintmax_t kBytesForSecondThread = std::uintmax_t{1} << 20;

constexpr const char* kChangedWhileRead = "Error: The file changed while it was read";

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
    bool short_ = false;      // the lines ended before `count` of them were converted
    std::exception_ptr error; // an exception of the second thread, rethrown on the first
};

template <typename Lines>
void ConvertLines(Lines& lines, std::int64_t first, std::int64_t count, std::int64_t dataLines,
                  const ErdDataLineRule& rule, double* out, HalfOutcome& outcome)
{
    std::string_view line;
    std::int64_t k = 0;
    for (; k < count && lines.Next(line); ++k) {
        const std::int64_t index = first + k;
        if (!ConvertErdDataLine(line, index, index + 1 == dataLines, rule, out[k], outcome.failure)) {
            outcome.refused = true;
            return;
        }
    }
    outcome.short_ = k < count;
}

// The refusal of the first half, else the second's (its exception rethrown first).
std::optional<std::string> FirstRefusal(HalfOutcome& front, HalfOutcome& back)
{
    if (front.refused) {
        return std::move(front.failure);
    }
    if (front.short_) {
        return std::string(kChangedWhileRead);
    }
    if (back.error) {
        std::rethrow_exception(back.error);
    }
    if (back.refused) {
        return std::move(back.failure);
    }
    if (back.short_) {
        return std::string(kChangedWhileRead);
    }
    return std::nullopt;
}

// Where the first line starting after byte `at` of the file begins: just past
// the first line feed from `at` on; 0 when there is none (or the file cannot be
// read there).
std::uint64_t LineStartAfter(std::FILE* file, std::uint64_t at)
{
    const int descriptor = ::fileno(file);
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::pread(descriptor, chunk, sizeof chunk, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return 0;
        }
        if (const void* feed = std::memchr(chunk, '\n', static_cast<std::size_t>(got))) {
            return at + static_cast<std::uint64_t>(static_cast<const char*>(feed) - chunk) + 1;
        }
        at += static_cast<std::uint64_t>(got);
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
    back.error = RunInTwoHalves(
        firstHalf < dataLines,
        [&] {
            LineReader lines(text);
            ConvertLines(lines, 0, firstHalf, dataLines, rule, elevations.data(), front);
        },
        [&] {
            LineReader lines(text.substr(split));
            ConvertLines(lines, firstHalf, dataLines - firstHalf, dataLines, rule, elevations.data() + firstHalf,
                         back);
        });
    return FirstRefusal(front, back);
}

ErdDataLineCount CountErdDataLines(std::FILE* file, std::uint64_t dataOffset, std::uintmax_t fileSize)
{
    ErdDataLineCount count;
    if (fileSize > dataOffset && fileSize - dataOffset >= kBytesForSecondThread &&
        std::thread::hardware_concurrency() > 1) {
        count.split = LineStartAfter(file, dataOffset + (fileSize - dataOffset) / 2);
    }
    std::int64_t backLines = 0;
    bool backFailed = false;
    const std::uint64_t frontEnd = count.split > 0 ? count.split : FileLineReader::kToTheEnd;
    std::int64_t frontFeeds = 0;
    std::int64_t frontLines = 0;
    bool frontFailed = false;
    const std::exception_ptr backError = RunInTwoHalves(
        count.split > 0,
        [&] {
            FileLineReader lines(file, dataOffset, frontEnd);
            frontLines = lines.CountDataLinesToEnd(&frontFeeds);
            frontFailed = lines.Failed();
        },
        [&] {
            FileLineReader lines(file, count.split);
            backLines = lines.CountDataLinesToEnd();
            backFailed = lines.Failed();
        });
    if (backError) {
        std::rethrow_exception(backError);
    }
    count.failed = frontFailed || backFailed;
    // The first half holds whole lines only, every one of them a data line when
    // any line after them is; otherwise the data lines end within it.
    count.firstHalf = backLines > 0 ? frontFeeds : frontLines;
    count.dataLines = count.firstHalf + backLines;
    return count;
}

std::optional<std::string> ConvertErdDataFile(std::FILE* file, std::uint64_t dataOffset, const ErdDataLineCount& count,
                                              const ErdDataLineRule& rule, std::vector<double>& elevations,
                                              bool& readFailed)
{
    elevations.clear();
    elevations.reserve(static_cast<std::size_t>(count.dataLines) + 1);
    elevations.resize(static_cast<std::size_t>(count.dataLines));
    HalfOutcome front;
    HalfOutcome back;
    bool frontFailed = false;
    bool backFailed = false;
    back.error = RunInTwoHalves(
        count.firstHalf < count.dataLines,
        [&] {
            FileLineReader lines(file, dataOffset, count.split > 0 ? count.split : FileLineReader::kToTheEnd);
            ConvertLines(lines, 0, count.firstHalf, count.dataLines, rule, elevations.data(), front);
            frontFailed = lines.Failed();
        },
        [&] {
            FileLineReader lines(file, count.split);
            ConvertLines(lines, count.firstHalf, count.dataLines - count.firstHalf, count.dataLines, rule,
                         elevations.data() + count.firstHalf, back);
            backFailed = lines.Failed();
        });
    readFailed = frontFailed || backFailed;
    return FirstRefusal(front, back);
}

} // namespace zlm
