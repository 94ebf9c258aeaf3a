#pragma once

#include "commands/SessionState.h"
#include "commands/SummaryWriter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zlm {

/** The paper a report is laid out on. */
enum class PaperSize {
    LocaleDefault, ///< US Letter where the user's locale measures in US units, A4 elsewhere
    A4,
    Letter
};

/** Which analysis a report is of: one analysis per report. */
enum class ReportAnalysis {
    Straightedge, ///< the straightedge run in SessionState::results
    RideQuality   ///< the ride-quality run in SessionState::rideQuality
};

/** What a report states beyond the run's results, and how it is laid out. */
struct ReportRequest {
    std::string profilePath;       ///< the profile file analysed, as an absolute path
    std::string commandLine;       ///< the zlm-batch command line that reproduces the run
    std::int64_t analysisTime = 0; ///< seconds since 1970-01-01 UTC
    PaperSize paper = PaperSize::LocaleDefault;
    char decimalSeparator = '.'; ///< the user's, as the table and graph show numbers
    ReportAnalysis analysis = ReportAnalysis::Straightedge;
};

/**
 * Writes the acceptance report of a run. Declared here so that zlm-batch can ask
 * for a report without depending on how one is drawn; builds with the graph
 * provide MakePdfReportWriter.
 */
class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    /**
     * Writes the report of `state` (its profile, results and working elevations)
     * to `path`, replacing it safely: a failure leaves no partial file, and its
     * message names the path.
     */
    virtual SaveResult Write(const std::string& path, const SessionState& state, const ReportRequest& request) = 0;
};

/**
 * The PDF report writer. It works without a display: when the process has no
 * application object yet it makes one on the "offscreen" platform (unless
 * QT_QPA_PLATFORM names another). Defined only in builds with the graph.
 */
std::unique_ptr<ReportWriter> MakePdfReportWriter();

/**
 * The zlm-batch command line that repeats the analysis of `state`: the method
 * in full (--units, --length, --step or continuous, --threshold), --section when
 * the run summarised sections, --channel K when channel K > 1 was read,
 * --columns-units and --interval when a delimited profile was read with them,
 * then the profile path. Numbers are the shortest decimal texts that read back as the
 * same values; words the shell would split or expand are single-quoted.
 */
std::string ReproducingCommandLine(const SessionState& state, const std::string& profilePath);

/**
 * The zlm-batch --ride command line that repeats the ride-quality run of
 * state.rideQuality: --units, --section S when the run had sections, --paths
 * L,R for paths other than 1,2 or --channel K for one profile, --base and
 * --lr-threshold always, --localized NAME.localized.csv (NAME the profile's
 * name without its extension) when the run found localized roughness,
 * --columns-units and --interval as the slot's delimited profile was read, then
 * the profile path. Numbers and quoting as ReproducingCommandLine writes them.
 */
std::string RideReproducingCommandLine(const SessionState& state, const std::string& profilePath);

/** A word as a POSIX shell reads it back unchanged: as it is when safe, else single-quoted. */
std::string ShellQuoted(const std::string& word);

/** The time a report gives for its analysis, or why it cannot be had. */
struct AnalysisTime {
    bool ok = false;
    std::int64_t seconds = 0; ///< since 1970-01-01 UTC
    std::string message;      ///< when not ok
};

/**
 * The analysis time: `sourceDateEpoch` (the SOURCE_DATE_EPOCH variable, a whole
 * number of seconds) when it is set, so that reports of the same inputs come out
 * byte for byte the same, else `now`. A value that is not a whole number of
 * seconds from 0 up is refused with a message naming it.
 */
AnalysisTime ChooseAnalysisTime(const char* sourceDateEpoch, std::int64_t now);

/** A time as "YYYY-MM-DD hh:mm:ss UTC". */
std::string UtcTimeText(std::int64_t seconds);

} // namespace zlm
