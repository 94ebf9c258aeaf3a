#pragma once

#include "analysis/ProgressSink.h"
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "commands/RideQualityCommand.h"
#include "ride_quality/RideQuality.h"

#include <string>
#include <vector>

namespace zlm {

/** One file's ride-quality run: the results, or why there are none. */
struct RideFileRun {
    bool ok = false;
    std::string message;  ///< the refusal, when !ok
    RidePathChoice paths; ///< the channels analysed: left and right, or (K, 0) for one profile
    RideQualityResults results;
    ElevationProfile left;  ///< the left path read, or the one profile (its header fields, for a report)
    ElevationProfile right; ///< the right path read; empty for one profile
    std::string title;      ///< the file's title
};

/**
 * Reads the wheel paths of the file at `path` that the options name (--paths,
 * --channel, or the file's default) once, in the options' units, and analyses
 * them with options.rideMethod. A --section given as 0 or less is refused like
 * any section length below the slope base.
 */
RideFileRun AnalyseRideFile(const std::string& path, const BatchOptions& options, ProgressSink& progress);

/** The ride survey summary's first line, without its line end. */
extern const char* const kRideSurveyHeader;

/**
 * The survey line of one file (CR LF ended, '.' as the decimal separator):
 * File, Channels ("1 2" or "K"), Points, Interval ("0.000000"), Length
 * ("0.000"), IRI Left, IRI Right, MRI, HRI (the IRI's decimals; a one-profile
 * run fills IRI Left alone), and with localized roughness the areas and their
 * percent of length ("#0.00"); a refused run has its reason under Error.
 */
std::string RideSurveyLine(const std::string& file, const RideFileRun& run, const BatchOptions& options);

/**
 * Writes a run's own files safely: the section table to `sectionsPath` and,
 * with localized roughness and a `localizedPath`, the areas. The failure's
 * message, or empty.
 */
std::string WriteRideFiles(const RideQualityResults& results, const std::string& sectionsPath,
                           const std::string& localizedPath);

/**
 * zlm-batch --ride for one profile: AnalyseRideFile, then the section table to
 * options.outputPath (safely) or as the outcome's bytes for standard output,
 * the areas to options.localizedPath, and the overall lines for standard error
 * (numbers with `decimalSeparator`). With options.reportPath `reports` writes
 * the ride-quality report there, dated and refused as RunBatch's report is.
 */
BatchOutcome RunRideBatch(const BatchOptions& options, char decimalSeparator, ProgressSink& progress,
                          ReportWriter* reports = nullptr);

} // namespace zlm
