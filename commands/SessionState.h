#pragma once

#include "analysis/DeviationRecord.h"
#include "analysis/ResultsTable.h"
#include "profile_input/Channel.h"
#include "profile_input/ElevationProfile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zlm {

/**
 * What the whole program shares, owned by the main window for the life of the
 * process; the other windows read it when they load.
 */
struct SessionState {
    ElevationProfile profile;               ///< written only by a successful open
    std::string profileTitle;               ///< title of the loaded profile
    std::vector<double> workingElevations;  ///< the engine's copy: N + 1 values, the last 0.0
    double straightedgeLength = 16.0;       ///< feet
    float threshold = 0.25f;                ///< inches
    DeviationList deviations;               ///< results of the last run
    float overallPercentExceeding = 0.0f;   ///< percent
    UnitTexts units;                        ///< "ft", "ft", "in"
    Channel channel = Channel::One;         ///< read from a two-channel ERD file
};

} // namespace zlm
