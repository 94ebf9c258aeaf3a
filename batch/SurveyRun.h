#pragma once

#include "batch/BatchOptions.h"
#include "batch/SurveyFiles.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zlm {

/** The survey summary's first line, without its line end. */
extern const char* const kSurveyHeader;

/** Outcome of a survey. */
struct SurveyOutcome {
    std::string summary;      ///< the summary's bytes: the header, then a line per file and channel, CR LF after each
    std::size_t analysed = 0; ///< lines of an analysed channel
    std::size_t refused = 0;  ///< lines of a refusal
};

/** Told, from any worker thread but never two at once, how many of `total` entries are done. */
using SurveyProgress = std::function<void(std::size_t done, std::size_t total)>;

/**
 * Analyses every entry with the options' method, section length, channel and
 * units, `threads` entries at a time (at least one), and returns the summary:
 * kSurveyHeader, then for each entry in order one line per channel (every
 * channel in order, or options.channel alone when it was given): the file, the
 * channel (1-based), the points, the interval ("0.000000"), the length
 * (N - 1) dx ("0.000", both in the method's units), the placements, the
 * exceeding ones, percent exceeding and percent defective length ("#0.00") and
 * the zones, '.' as the decimal separator. A refused file has one line with its
 * path and the refusal in Error, the other fields empty (a refused channel of
 * a file keeps its channel number); fields holding a comma, a quote or a line
 * break are quoted. The lines never depend on `threads`.
 *
 * With options.outputDir each channel's output summary (as zlm-batch writes it
 * for one profile, numbers with `decimalSeparator`) is written safely to
 * DIR/NAME.txt, or DIR/NAME.channelK.txt for a file of several channels, and
 * with options.surveyCorrections its corrections list to the same name ending
 * in .corrections.csv; NAME is the entry's outputName (subfolders are made). A
 * file whose NAME an earlier entry already has is refused rather than
 * overwrite its outputs, and a failed write refuses that channel.
 *
 * With options.ride each entry is one line of kRideSurveyHeader (RideSurveyLine)
 * for the wheel paths the options name, and options.outputDir gets its section
 * table (NAME.ride.csv) and, with localized roughness, its areas
 * (NAME.localized.csv).
 *
 * Memory holds at most `threads` profiles at once, whatever the entries' number.
 */
SurveyOutcome RunSurvey(const BatchOptions& options, const std::vector<SurveyEntry>& entries, unsigned threads,
                        char decimalSeparator, const SurveyProgress& progress = {});

/** A field of comma-separated text: quoted, with quotes doubled, when it holds a comma, a quote, CR or LF. */
std::string CsvField(const std::string& text);

} // namespace zlm
