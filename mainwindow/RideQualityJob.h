#pragma once

#include "commands/RideQualityCommand.h"
#include "commands/SessionState.h"

#include <atomic>
#include <string>
#include <vector>

namespace zlm {

/** What the Ride Quality window's worker is asked: the file, its paths and units, and the method. */
struct RideJob {
    std::string path;
    RidePathChoice choice; ///< unset: the file's own choice
    UnitSystem units = UnitSystem::US;
    DelimitedUnits delimitedUnits;
    RideQualityMethod method;
};

/** What the worker hands back: the slot it filled, or why not. */
struct RideJobOutcome {
    bool ran = false;
    bool cancelled = false;
    std::string message; ///< the read's or the core's refusal, or a failure
    std::vector<std::string> channelNames;
    RidePathChoice paths;
    SessionState scratch; ///< the worker's own session: only its ride-quality slot is used
};

/**
 * The worker's work, off the window's thread: reads the job's paths again from
 * the file and analyses them into a session of its own, so that the window's
 * session changes only on its own thread once the outcome is back. `cancel`
 * (also asked through `progress`) stops it, leaving the outcome `cancelled`; a
 * failure of the library (memory) is an outcome with its message, never results.
 */
RideJobOutcome RunRideJob(const RideJob& job, ProgressSink& progress, const std::atomic<bool>& cancel);

} // namespace zlm
