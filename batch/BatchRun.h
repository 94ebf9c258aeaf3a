#pragma once

#include "analysis/CorrectionZone.h"
#include "analysis/ProgressSink.h"
#include "batch/BatchOptions.h"
#include "commands/OpenCommand.h"
#include "commands/ReportRequest.h"
#include "commands/SessionState.h"

#include <string>
#include <vector>

namespace zlm {

/** Outcome of one batch run. */
struct BatchOutcome {
    int exitCode = 1;    ///< 0 done, 1 refused or not written
    std::string message; ///< when exitCode is 1: the text the window would show
    std::string summary; ///< when done without --output: the summary's bytes for standard output
    float overallPercentExceeding = 0.0f;
    std::string percentLine;   ///< when done: "Percent Exceeded Threshold (0.25 in) = X.XX% Overall"
    std::string defectiveLine; ///< when done with --corrections: "Percent Defective Length = X.XX%"; else empty
    std::vector<std::string> errorLines; ///< when done: every line for standard error, in order
};

/** Where one straightedge run's own files go. */
struct StraightedgeOutputs {
    bool summary = true;         ///< write the output summary (false: a survey line needs none)
    std::string summaryPath;     ///< where; empty: its bytes are kept in the run instead
    std::string correctionsPath; ///< the corrections list; empty: none
    bool makeFolder = false;     ///< make the summary's folder (and its parents) once the run has results
};

/** One profile's straightedge run with its files written, or why not. */
struct StraightedgeFileRun {
    bool ok = false;
    std::string message;      ///< the refusal or the failed write, when !ok
    SessionState state;       ///< the run's results (with their zones) and working elevations
    std::string summaryBytes; ///< the summary, when outputs.summaryPath is empty
};

/**
 * The one routine that runs the straightedge on a profile already read and
 * writes what the run asks for, for a single run and for each channel of a
 * survey alike: Simulate with the options' method and section length (the
 * profile's elevations become the working ones), then the summary (numbers
 * with `decimalSeparator`) and the corrections list, each written safely.
 */
StraightedgeFileRun RunStraightedgeFile(const BatchOptions& options, ElevationProfile profile,
                                        const StraightedgeOutputs& outputs, char decimalSeparator,
                                        ProgressSink& progress);

/**
 * Reads a profile for zlm-batch as the open command does, answering the channel
 * question with `channel` (1-based) and the units question with
 * options.columnUnits. Refuses, with a message that names the options to give,
 * a delimited profile needing units or an interval that neither its header nor
 * the options give, and a channel beyond the file's (channel 2 of a
 * one-channel file reads its only channel, as it always has, unless
 * `strictChannel`).
 */
OpenOutcome ReadBatchProfile(const std::string& path, ChannelNumber channel, const BatchOptions& options,
                             bool strictChannel);

/**
 * The analysis time of the report options.reportPath asks for (ChooseAnalysisTime
 * of SOURCE_DATE_EPOCH and now), settled before the run so that a bad
 * SOURCE_DATE_EPOCH costs no analysis; without a report, ok. Refused, with a
 * message for standard error, when a report is asked for and `reports` is null.
 */
AnalysisTime BatchReportTime(const BatchOptions& options, const ReportWriter* reports);

/** The request of a zlm-batch report: the profile's absolute path, the time, paper and separator; no command yet. */
ReportRequest BatchReportRequest(const BatchOptions& options, const AnalysisTime& time, char decimalSeparator);

/**
 * The whole analysis without a window: reads the profile with ReadBatchProfile
 * (options.channel), runs Simulate as
 * the window does, and either saves the summary (the table the window would
 * show) safely to options.outputPath or returns its bytes. With
 * options.correctionsPath it also writes the corrections list there, safely. With
 * options.reportPath `reports` writes the report there (a run without a writer
 * is refused before it starts), dated by ChooseAnalysisTime. Numbers use
 * `decimalSeparator`. With options.ride it runs RunRideBatch instead.
 */
BatchOutcome RunBatch(const BatchOptions& options, char decimalSeparator, ProgressSink& progress,
                      ReportWriter* reports = nullptr);

} // namespace zlm
