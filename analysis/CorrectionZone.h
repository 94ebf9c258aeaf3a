#pragma once

#include <cstdint>
#include <vector>

namespace zlm {

/**
 * One stretch of road to correct: neighbouring exceeding placements whose spans
 * overlap or touch, with the placement that gaps most and where it gaps.
 * Stations are point index times dx, in double, like a placement's station.
 */
struct CorrectionZone {
    double start = 0.0;              ///< station of the zone's first placement
    double end = 0.0;                ///< station of the last point under its last placement
    double length = 0.0;             ///< end - start
    std::int64_t placements = 0;     ///< exceeding placements in the zone
    double worstDeviation = 0.0;     ///< the largest maximum deviation of the zone (first on a tie)
    double worstStation = 0.0;       ///< station of that placement
    std::int32_t leftSupport = -1;   ///< point index where its straightedge rested on the left, -1 when none
    std::int32_t rightSupport = -1;  ///< point index where it rested on the right, -1 when none
    std::int32_t lowPoint = -1;      ///< point index of its largest gap (first on a tie), -1 without supports
    double leftSupportStation = 0.0; ///< station of leftSupport (0 when none)
    double rightSupportStation = 0.0;
    double lowPointStation = 0.0;

    /** True when the worst placement rested on a pair of points (always so for a gap above zero). */
    bool HasSupports() const { return leftSupport >= 0 && rightSupport >= 0; }
};

/** The zones of a run and what they add up to. */
struct CorrectionSummary {
    std::vector<CorrectionZone> zones; ///< in station order
    double totalLength = 0.0;          ///< sum of the zone lengths
    /** totalLength / profile length (N - 1) dx in percent, single precision; 0 for a profile of no length. */
    float percentDefectiveLength = 0.0f;
};

} // namespace zlm
