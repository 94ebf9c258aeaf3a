#pragma once

#include "analysis/ResultsTable.h"
#include "analysis/RunResults.h"
#include "profile_input/Channel.h"
#include "profile_input/DelimitedProfileReader.h"
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
    StraightedgeMethod method;              ///< the method the next run uses; the profile is read in its units
    RunResults results;                     ///< of the last run, with the method and section length it used
    UnitTexts units;                        ///< "ft", "ft", "in"
    Channel channel = Channel::One;         ///< the answer to the channel question, the next question's default
    std::int32_t channelRead = 1;           ///< the file's channel the profile holds, 1 to kMaxChannels
    /**
     * What a delimited profile was read with beyond its header: the units and
     * interval given by options or the units window; empty for other formats.
     */
    DelimitedUnits delimitedUnits;
};

} // namespace zlm
