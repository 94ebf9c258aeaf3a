#pragma once

#include "profile_input/ElevationProfile.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace zlm::test {

/** A level profile of `points` points at `dx` feet, with the given points lowered by the given feet. */
inline ElevationProfile LevelProfile(std::int32_t points, double dx,
                                     const std::vector<std::pair<std::int32_t, double>>& dips = {})
{
    ElevationProfile profile;
    profile.pointCount = points;
    profile.interval = dx;
    profile.elevations.assign(static_cast<std::size_t>(points), 0.0);
    for (const auto& [index, depth] : dips) {
        profile.elevations[static_cast<std::size_t>(index)] -= depth;
    }
    return profile;
}

/**
 * 129 points at 0.25 ft (32 ft): three placements at 0, 8 and 16 ft. The dip of
 * 0.05 ft at point 16 lies between the supports of the first placement only, so
 * it reads 0.6 in, 0.35 in over the threshold; the others read 0.
 */
inline ElevationProfile DipProfile()
{
    return LevelProfile(129, 0.25, {{16, 0.05}});
}

} // namespace zlm::test
