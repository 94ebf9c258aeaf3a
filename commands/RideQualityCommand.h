#pragma once

#include "analysis/ProgressSink.h"
#include "commands/OpenCommand.h"
#include "commands/SessionState.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zlm {

/**
 * Which profiles of a file a ride-quality run analyses: two wheel paths (the
 * channels of the left and right path) or one profile (`right` 0). `left` 0 leaves the
 * choice to the file (DefaultRidePaths).
 */
struct RidePathChoice {
    ChannelNumber left = 0;
    ChannelNumber right = 0;

    bool operator==(const RidePathChoice&) const = default;
};

/**
 * The wheel paths a ride-quality run analyses when nothing is asked: channels
 * 1 and 2 of a file of two or more channels, else its one channel.
 */
RidePathChoice DefaultRidePaths(std::int32_t channelCount);

/** Outcome of reading the wheel paths of a file. */
struct RidePathsRead {
    bool loaded = false;
    std::string message; ///< why not, as the open command would say it
    RidePathChoice paths;
    ElevationProfile left;
    ElevationProfile right; ///< empty for one profile
    std::vector<std::string> channelNames;
};

/**
 * Reads the paths `choice` names from the file at `path` in `units` (a right
 * channel of 0 reads one profile), without asking the channel; `delimitedUnits`
 * answers what a delimited file's header does not say. `choice` unset
 * (`left` 0) takes DefaultRidePaths of the file. A channel beyond the file's is
 * refused, naming both.
 */
RidePathsRead ReadRidePaths(const std::string& path, RidePathChoice choice, UnitSystem units,
                            const DelimitedUnits& delimitedUnits);

/** Reads channel K (1-based) of a file; how the caller reads one profile. */
using ChannelReader = std::function<OpenOutcome(ChannelNumber channel)>;

/** ReadRidePaths with the caller's reader of one channel (zlm-batch answers the units its own way). */
RidePathsRead ReadRidePaths(RidePathChoice choice, const ChannelReader& readChannel);

/**
 * Why the paths cannot be analysed whatever the settings (the checks every
 * analysis makes: a profile open, read in `units`, with a usable interval and
 * finite elevations), or nothing. An empty right path is one profile.
 */
std::optional<std::string> PathsRefusal(const ElevationProfile& left, const ElevationProfile& right, UnitSystem units);

/** Outcome of the ride-quality command. */
struct RideQualityRun {
    bool ran = false;
    std::string refusal;    ///< why nothing was run, when !ran and not cancelled
    bool cancelled = false; ///< the progress sink asked to stop: the slot is as it was
};

/**
 * Runs ride quality on the paths in state.rideQuality (left, and right when
 * not empty) with `method`; on success stores method and results in the slot
 * and marks it valid. A refusal or a cancelled run leaves the slot as it was.
 */
RideQualityRun RunRideQuality(SessionState& state, const RideQualityMethod& method, ProgressSink& progress);

} // namespace zlm
