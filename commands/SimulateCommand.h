#pragma once

#include "analysis/ProgressSink.h"
#include "commands/SessionState.h"

#include <functional>
#include <string>
#include <vector>

namespace zlm {

/** Outcome of the Simulate command. */
struct SimulationOutcome {
    bool ran = false;
    std::string refusal;    ///< why nothing was run, for a "Ski Error" box, when !ran and not cancelled
    bool cancelled = false; ///< the progress sink asked to stop: nothing changed, no message due
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
 * and stores the run's results in `state` (the placement list, or, for a section
 * length text that converts to more than 0, the section summary as well, and the
 * zones to correct), with the working elevations. A run the progress sink cancels leaves the state, and
 * the last run's results, exactly as they were. A caller that shows a table fills it from
 * state.straightedge.results (FillResultsTable).
 */
SimulationOutcome RunSimulation(SessionState& state, const std::string& sectionLengthText, ProgressSink& progress,
                                const std::function<void()>& handlePendingEvents = {},
                                WorkingCopy workingCopy = WorkingCopy::Copy);

} // namespace zlm
