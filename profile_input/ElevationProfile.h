#pragma once

#include "analysis/UnitSystem.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zlm {

/**
 * The profile under analysis: elevations along the road, N points at dx, in feet
 * (US units) or metres (SI units).
 */
struct ElevationProfile {
    std::vector<double> elevations; ///< exactly pointCount values
    std::int32_t pointCount = 0;    ///< N
    double interval = 0.0;          ///< dx
    UnitSystem units = UnitSystem::US; ///< feet, or metres for SI

    /**
     * What the file's header says about the run, as (name, value) texts in file
     * order, for display and reports ("Highway", "IH0035"). Empty when the format
     * has no such header or its reader does not keep it.
     */
    std::vector<std::pair<std::string, std::string>> headerFields;
    /**
     * The unit the file writes its elevations in, before they became feet or metres: "ft",
     * "in", "mil", "m" or "mm"; empty when the reader does not record it.
     */
    std::string nativeElevationUnit;
    /** The unit the file gives its distances or sample interval in (as above). */
    std::string nativeDistanceUnit;
    /** The sample interval in nativeDistanceUnit, as the file gives it; 0 when not recorded. */
    double nativeInterval = 0.0;
};

} // namespace zlm
