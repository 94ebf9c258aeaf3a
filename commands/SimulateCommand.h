#pragma once

#include "analysis/ProgressSink.h"
#include "analysis/ResultsGrid.h"
#include "commands/SessionState.h"

#include <functional>
#include <string>
#include <vector>

namespace zlm {

/** Outcome of the Simulate command. */
struct SimulationOutcome {
    bool ran = false;
    std::string refusal; ///< why nothing was run, for a "Ski Error" box, when !ran
};

/** Whether a run copies the profile's elevations or takes them over. */
enum class WorkingCopy {
    Copy,       ///< the window: the profile stays open for the next run
    TakeProfile ///< a one-shot run (the batch tool): the profile's array becomes the working one, no second copy
};

/** Makes N + 1 working elevations: the profile's N, then 0.0. */
std::vector<double> CopyWorkingElevations(const ElevationProfile& profile);

/**
 * The Simulate command without the window: checks that the open profile can be
 * analysed (refusing, with nothing changed, when it cannot), copies the working
 * elevations, runs the straightedge engine, calls handlePendingEvents once,
 * lays out the grid header and fills the results table as the placement list
 * or, for a section length text that converts to more than 0, the section
 * summary. Sets StraightedgeLength, Threshold, WorkingElevations, the
 * DeviationList and OverallPercentExceeding in `state`.
 */
SimulationOutcome RunSimulation(SessionState& state, ResultsGrid& grid, const std::string& sectionLengthText,
                                char decimalSeparator, ProgressSink& progress,
                                const std::function<void()>& handlePendingEvents = {},
                                WorkingCopy workingCopy = WorkingCopy::Copy);

} // namespace zlm
