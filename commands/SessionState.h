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
 * The straightedge analysis's place in the session: the method the next run
 * uses (the profile is read in its units), the results of the last run with the
 * method, section length and zones it used, whether they are valid and when
 * they were made.
 */
struct StraightedgeSlot {
    StraightedgeMethod method;   ///< the method the next run uses
    StraightedgeResults results; ///< of the last run
    bool valid = false;          ///< results are those of the open profile's last run
    std::int64_t madeAt = 0;     ///< when the last run finished, seconds since 1970 UTC; 0 before any
};

/**
 * The ride-quality analysis's place in the session: the method of its last run,
 * the wheel paths it read (the file is read again for them, whatever channel the
 * straightedge uses), its results and whether they are valid.
 */
struct RideQualitySlot {
    RideQualityMethod method;       ///< the method of the last run
    ChannelNumber leftChannel = 1;  ///< the channel of the left path, or of the one profile
    ChannelNumber rightChannel = 0; ///< the channel of the right path; 0 for one profile
    ElevationProfile left;          ///< the left path, or the one profile
    ElevationProfile right;         ///< the right path; empty for one profile
    RideQualityResults results;     ///< of the last run
    DelimitedUnits delimitedUnits;  ///< what a delimited profile was read with beyond its header; empty otherwise
    bool valid = false;             ///< results are those of the open profile's last run
    std::int64_t madeAt = 0;        ///< when the last run finished, seconds since 1970 UTC; 0 before any
};

/**
 * What the whole program shares, owned by the main window for the life of the
 * process; the other windows read it when they load. The profile part (the
 * profile, its title, channel, units and the working elevations) is common to
 * every analysis; each analysis keeps its method and results in its own slot.
 * A further analysis adds its slot here.
 */
struct SessionState {
    ElevationProfile profile;              ///< written only by a successful open
    std::string profilePath;               ///< the file the profile was read from, as opened; empty without one
    std::string profileTitle;              ///< title of the loaded profile
    std::vector<double> workingElevations; ///< the engine's copy: N + 1 values, the last 0.0
    UnitTexts units;                       ///< "ft", "ft", "in"
    ChannelNumber channel = 1;             ///< the answer to the channel question, the next question's default
    ChannelNumber channelRead = 1;         ///< the file's channel the profile holds
    /**
     * What a delimited profile was read with beyond its header: the units and
     * interval given by options or the units window; empty for other formats.
     */
    DelimitedUnits delimitedUnits;
    StraightedgeSlot straightedge; ///< the straightedge analysis
    RideQualitySlot rideQuality;   ///< the ride-quality analysis, beside the straightedge's
};

} // namespace zlm
