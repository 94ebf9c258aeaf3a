#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zlm {

/** How the elevations of the chosen channel are taken from the data lines of an ERD file. */
struct ErdDataLineRule {
    std::int32_t channelCount = 1;
    std::int32_t channelIndex = 0; ///< 0-based, for files of three or more channels
    bool secondChannel = false;    ///< two-channel files: the value after the first blank
    double gain = 1.0;             ///< value x gain x unitFactor / divisor, left to right in double
    double unitFactor = 1.0;
    double divisor = 1.0;
    std::int64_t firstDataLine = 1; ///< the file's line number of data line 0, for the refusals
};

/**
 * Converts data line `index` (0-based) into `elevation`; `last` for the last
 * data line, which is read without its trailing blanks. False, with the refusal
 * text naming the line in `failure`, for a line without the channel's value, or
 * whose value is not finite or too large to be analysed. A text that is no
 * number reads as 0.
 */
bool ConvertErdDataLine(std::string_view line, std::int64_t index, bool last, const ErdDataLineRule& rule,
                        double& elevation, std::string& failure);

/**
 * Converts the first `dataLines` lines of `text` (their CountDataLines) into
 * `elevations`, which it replaces, with one spare place for the working copy's
 * closing 0.0. Many lines are converted on two threads, each taking one half of
 * the lines; every line depends on itself alone, so the result is that of one
 * pass in order. Returns the refusal of the first line refused, in line order,
 * or nothing.
 */
std::optional<std::string> ConvertErdDataText(std::string_view text, std::int64_t dataLines,
                                              const ErdDataLineRule& rule, std::vector<double>& elevations);

/**
 * The data lines of an open file from byte `dataOffset` to its end, as
 * CountDataLines counts them, and how they are shared between two threads.
 */
struct ErdDataLineCount {
    std::int64_t dataLines = 0;
    std::int64_t firstHalf = 0; ///< the data lines before `split`, or all of them
    std::uint64_t split = 0;    ///< the byte where the second half's first line starts; 0 for one half
    bool failed = false;        ///< reading the file failed: the count is not whole
};

/**
 * Counts the data lines of a file (`fileSize` bytes a moment ago, 0 when not
 * known) from byte `dataOffset` on, in chunks; a large one in two halves on
 * two threads at once, cut where the first line past the middle byte starts.
 */
ErdDataLineCount CountErdDataLines(std::FILE* file, std::uint64_t dataOffset, std::uintmax_t fileSize);

/**
 * ConvertErdDataText for the data lines of a file that CountErdDataLines
 * counted, read in chunks, each half on its own thread. A file with fewer
 * lines than counted is refused as changed while read; `readFailed` tells
 * whether reading it failed.
 */
std::optional<std::string> ConvertErdDataFile(std::FILE* file, std::uint64_t dataOffset, const ErdDataLineCount& count,
                                              const ErdDataLineRule& rule, std::vector<double>& elevations,
                                              bool& readFailed);

} // namespace zlm
