#include "mainwindow/RideQualityJob.h"

#include <exception>
#include <utility>

namespace zlm {

RideJobOutcome RunRideJob(const RideJob& job, ProgressSink& progress, const std::atomic<bool>& cancel)
{
    RideJobOutcome out;
    try {
        RidePathsRead read = ReadRidePaths(job.path, job.choice, job.units, job.delimitedUnits);
        out.channelNames = read.channelNames;
        out.paths = read.paths;
        if (!read.loaded) {
            out.message = read.message;
            return out;
        }
        if (cancel.load()) {
            out.cancelled = true;
            return out;
        }
        RideQualitySlot& slot = out.scratch.rideQuality;
        slot.leftChannel = read.paths.left;
        slot.rightChannel = read.paths.right;
        slot.left = std::move(read.left);
        slot.right = std::move(read.right);
        const RideQualityRun run = RunRideQuality(out.scratch, job.method, progress);
        out.ran = run.ran;
        out.cancelled = run.cancelled;
        out.message = run.refusal;
    } catch (const RunCancelled&) {
        out.cancelled = true;
    } catch (const std::exception& failure) {
        // A failure is shown as one, never as results.
        out.ran = false;
        out.message = std::string("The analysis failed: ") + failure.what();
    }
    return out;
}

} // namespace zlm
