#include "batch/BatchRun.h"

#include "analysis/CorrectionZones.h"
#include "analysis/DisplayFormat.h"
#include "analysis/ResultsTable.h"
#include "commands/CorrectionsWriter.h"
#include "commands/OpenCommand.h"
#include "commands/SessionState.h"
#include "commands/SimulateCommand.h"
#include "commands/SummaryWriter.h"

namespace zlm {

BatchOutcome RunBatch(const BatchOptions& options, char decimalSeparator, ProgressSink& progress)
{
    BatchOutcome outcome;

    SessionState state;
    state.method = options.method;
    state.units = UnitTextsFor(options.method.units);
    state.channel = options.channel == 2 ? Channel::Two : Channel::One;
    const ChannelQuestion answerChannel = [wanted = state.channel](Channel, const std::vector<std::string>&) {
        return wanted;
    };
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
    outcome.exitCode = 0;
    outcome.overallPercentExceeding = state.results.overallPercentExceeding;
    outcome.percentLine = "Percent Exceeded Threshold (" + PlainDecimalText(state.results.method.tolerance) + " " +
                          state.units.deviation +
                          ") = " + FormatNumber(state.results.overallPercentExceeding, "#0.00", decimalSeparator) +
                          "% Overall";
    return outcome;
}

} // namespace zlm
