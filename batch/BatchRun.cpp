#include "batch/BatchRun.h"

#include "analysis/DisplayFormat.h"
#include "analysis/ResultsGrid.h"
#include "analysis/ResultsTable.h"
#include "commands/SummaryWriter.h"
#include "commands/SessionState.h"
#include "commands/SimulateCommand.h"
#include "commands/OpenCommand.h"

namespace zlm {

BatchOutcome RunBatch(const BatchOptions& options, char decimalSeparator, ProgressSink& progress)
{
    BatchOutcome outcome;

    // The state and grid as the main window has them after loading.
    SessionState state;
    state.channel = options.channel == 2 ? Channel::Two : Channel::One;
    ResultsGrid grid;
    grid.SetWidth(kMainWindowGridWidth);
    LayoutResultsHeader(grid, state.units);

    const ChannelQuestion answerChannel = [wanted = state.channel](Channel) { return wanted; };
    OpenOutcome opened = ReadProfileFile(options.profilePath, state.channel, answerChannel);
    if (!opened.loaded) {
        outcome.message = opened.message;
        return outcome;
    }
    state.profile = std::move(opened.profile);
    state.profileTitle = std::move(opened.title);

    const SimulationOutcome run =
        RunSimulation(state, grid, options.sectionText, decimalSeparator, progress, {}, WorkingCopy::TakeProfile);
    if (!run.ran) {
        outcome.message = run.refusal;
        return outcome;
    }

    if (options.outputPath.empty()) {
        outcome.summary = GridAsText(grid, options.delimiterWord);
    } else {
        const SaveResult saved = SaveGridAsText(options.outputPath, options.delimiterWord, grid);
        if (!saved.ok) {
            outcome.message = saved.message;
            return outcome;
        }
    }
    outcome.exitCode = 0;
    outcome.overallPercentExceeding = state.overallPercentExceeding;
    outcome.percentLine = "Percent Exceeded Threshold (0.25 in) = " +
                          FormatNumber(state.overallPercentExceeding, "#0.00", decimalSeparator) + "% Overall";
    return outcome;
}

} // namespace zlm
