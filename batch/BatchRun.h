#pragma once

#include "analysis/ProgressSink.h"
#include "batch/BatchOptions.h"
#include "commands/ReportRequest.h"

#include <string>

namespace zlm {

/** Outcome of one batch run. */
struct BatchOutcome {
    int exitCode = 1;    ///< 0 done, 1 refused or not written
    std::string message; ///< when exitCode is 1: the text the window would show
    std::string summary; ///< when done without --output: the summary's bytes for standard output
    float overallPercentExceeding = 0.0f;
    std::string percentLine;   ///< when done: "Percent Exceeded Threshold (0.25 in) = X.XX% Overall"
    std::string defectiveLine; ///< when done with --corrections: "Percent Defective Length = X.XX%"; else empty
};

/**
 * The whole analysis without a window: reads the profile as the open command
 * does (answering the channel question with options.channel), runs Simulate as
 * the window does, and either saves the summary (the table the window would
 * show) safely to options.outputPath or returns its bytes. With
 * options.correctionsPath it also writes the corrections list there, safely. With
 * options.reportPath `reports` writes the report there (a run without a writer
 * is refused before it starts), dated by ChooseAnalysisTime. Numbers use
 * `decimalSeparator`.
 */
BatchOutcome RunBatch(const BatchOptions& options, char decimalSeparator, ProgressSink& progress,
                      ReportWriter* reports = nullptr);

} // namespace zlm
