#pragma once

#include <cstdint>
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

} // namespace zlm
