#include "batch/BatchRun.h"

#include "analysis/CorrectionZones.h"
#include "analysis/DisplayFormat.h"
#include "analysis/ResultsTable.h"
#include "commands/CorrectionsWriter.h"
#include "commands/OpenCommand.h"
#include "commands/ReportRequest.h"
#include "commands/SessionState.h"
#include "commands/SimulateCommand.h"
#include "commands/SummaryWriter.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace zlm {

BatchOutcome RunBatch(const BatchOptions& options, char decimalSeparator, ProgressSink& progress, ReportWriter* reports)
{
    BatchOutcome outcome;

    // The report's time is settled before the run, so a bad SOURCE_DATE_EPOCH costs no analysis.
    AnalysisTime analysisTime;
    if (!options.reportPath.empty()) {
        if (reports == nullptr) {
            outcome.message = "zlm-batch: reports are not available in this build";
            return outcome;
        }
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        analysisTime = ChooseAnalysisTime(std::getenv("SOURCE_DATE_EPOCH"),
                                          std::chrono::duration_cast<std::chrono::seconds>(now).count());
        if (!analysisTime.ok) {
            outcome.message = "zlm-batch: " + analysisTime.message;
            return outcome;
        }
    }

    SessionState state;
    state.method = options.method;
    state.units = UnitTextsFor(options.method.units);
    state.channel = options.channel == 2 ? Channel::Two : Channel::One;
    const ChannelQuestion answerChannel = [wanted = state.channel](Channel) { return wanted; };
    OpenOutcome opened = ReadProfileFile(options.profilePath, state.channel, answerChannel, options.method.units);
    if (!opened.loaded) {
        outcome.message = opened.message;
        return outcome;
    }
    state.profile = std::move(opened.profile);
    state.profileTitle = std::move(opened.title);

    const SimulationOutcome run = RunSimulation(state, options.sectionText, progress, {}, WorkingCopy::TakeProfile);
    if (!run.ran) {
        outcome.message = run.refusal;
        return outcome;
    }

    const ResultsTableText table(state.results, state.units, decimalSeparator);
    if (options.outputPath.empty()) {
        outcome.summary = SummaryText(table, options.delimiter);
    } else {
        const SaveResult saved = SaveSummary(options.outputPath, table, options.delimiter);
        if (!saved.ok) {
            outcome.message = saved.message;
            return outcome;
        }
    }
    if (!options.correctionsPath.empty()) {
        const CorrectionSummary zones = FindCorrectionZones(state.results, state.workingElevations);
        const SaveResult saved = SaveCorrections(options.correctionsPath, zones, state.units);
        if (!saved.ok) {
            outcome.message = saved.message;
            return outcome;
        }
        outcome.defectiveLine =
            "Percent Defective Length = " + FormatNumber(zones.percentDefectiveLength, "#0.00", decimalSeparator) + "%";
    }
    if (!options.reportPath.empty()) {
        std::error_code ignored;
        const std::filesystem::path absolute = std::filesystem::absolute(options.profilePath, ignored);
        ReportRequest request;
        request.profilePath = absolute.empty() ? options.profilePath : absolute.lexically_normal().string();
        request.commandLine = ReproducingCommandLine(state, request.profilePath);
        request.analysisTime = analysisTime.seconds;
        request.paper = options.paper;
        request.decimalSeparator = decimalSeparator;
        const SaveResult saved = reports->Write(options.reportPath, state, request);
        if (!saved.ok) {
            outcome.message = saved.message;
            return outcome;
        }
    }
    outcome.exitCode = 0;
    outcome.overallPercentExceeding = state.results.overallPercentExceeding;
    outcome.percentLine = "Percent Exceeded Threshold (" + PlainDecimalText(state.results.method.tolerance) + " " +
                          state.units.deviation +
                          ") = " + FormatNumber(state.results.overallPercentExceeding, "#0.00", decimalSeparator) +
                          "% Overall";
    return outcome;
}

} // namespace zlm
