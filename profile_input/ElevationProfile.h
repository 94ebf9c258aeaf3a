#pragma once

#include <cstdint>
#include <vector>

namespace zlm {

/** The profile under analysis: elevations in feet along the road, N points at dx feet. */
struct ElevationProfile {
    std::vector<double> elevations; ///< exactly pointCount values
    std::int32_t pointCount = 0;    ///< N
    double interval = 0.0;          ///< dx, feet
};

} // namespace zlm
