#pragma once

#include "analysis/ResultsTable.h"
#include "analysis/StraightedgeResults.h"
#include "profile_input/Channel.h"
#include "profile_input/DelimitedProfileReader.h"
#include "profile_input/ElevationProfile.h"
#include "ride_quality/RideQuality.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zlm {

/**
 * The ride-quality analysis's place in the session: the method of its last run,
 * the wheel paths it read (the file is read again for them, whatever channel the
 * straightedge uses), its results and whether they are valid.
 */
struct RideQualitySlot {
    RideQualityMethod method;       ///< the method of the last run
    std::int32_t leftChannel = 1;   ///< 1-based channel of the left path, or of the one profile
    std::int32_t rightChannel = 0;  ///< 1-based channel of the right path; 0 for one profile
    ElevationProfile left;          ///< the left path, or the one profile
    ElevationProfile right;         ///< the right path; empty for one profile
    RideQualityResults results;     ///< of the last run
    DelimitedUnits delimitedUnits;  ///< what a delimited profile was read with beyond its header; empty otherwise
    bool valid = false;             ///< results are those of the open profile's last run
};

/**
 * What the whole program shares, owned by the main window for the life of the
 * process; the other windows read it when they load.
 */
struct SessionState {
    ElevationProfile profile;               ///< written only by a successful open
    std::string profileTitle;               ///< title of the loaded profile
    std::vector<double> workingElevations;  ///< the engine's copy: N + 1 values, the last 0.0
    StraightedgeMethod method;              ///< the method the next run uses; the profile is read in its units
    StraightedgeResults results;                     ///< of the last run, with the method and section length it used
    UnitTexts units;                        ///< "ft", "ft", "in"
    Channel channel = Channel::One;         ///< the answer to the channel question, the next question's default
    std::int32_t channelRead = 1;           ///< the file's channel the profile holds, 1 to kMaxChannels
    /**
     * What a delimited profile was read with beyond its header: the units and
     * interval given by options or the units window; empty for other formats.
     */
    DelimitedUnits delimitedUnits;
    RideQualitySlot rideQuality;            ///< the ride-quality analysis, beside the straightedge's
};

} // namespace zlm
