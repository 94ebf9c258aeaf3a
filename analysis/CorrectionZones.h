#pragma once

#include "analysis/CorrectionZone.h"
#include "analysis/StraightedgeResults.h"

#include <cstdint>
#include <span>

namespace zlm {

/**
 * Groups the exceeding placements of `results` (those ShowsAsExceeding counts)
 * into zones in one pass over the placements in station order. A placement
 * starting at point s spans s .. s + L (L = StraightedgePoints of the run's
 * method); a placement joins the current zone when its first point is at or
 * before the zone's last point. The low point of a zone's worst placement is
 * found between its supports with the engine's line through them, on
 * `elevations`, the values the run analysed (the working elevations), so its
 * gap is the one the placement reports.
 */
CorrectionSummary FindCorrectionZones(const StraightedgeResults& results, std::span<const double> elevations);

/**
 * The point between `left` and `right` (inclusive) that lies furthest below the
 * straight line through them, the first one on a tie, computed exactly as the
 * engine measures a gap; `gap` receives that distance in length units. -1 for
 * supports outside `elevations` or not in order.
 */
std::int32_t LowestPointBetween(std::span<const double> elevations, std::int32_t left, std::int32_t right, double& gap);

} // namespace zlm
