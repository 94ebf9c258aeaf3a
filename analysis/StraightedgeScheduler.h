#pragma once

#include "analysis/StraightedgeSearch.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace zlm {

/**
 * The first point of every placement, exactly as the rolling advance gives them:
 * the straightedge's L + 1 points must all lie among the pointCount points.
 */
std::vector<std::int32_t> StraightedgePlacementStarts(std::int32_t pointCount, std::int32_t L, float advance);

/** Receives placement i's outcome; placements arrive in order, on the calling thread. */
using PlacementDelivery = std::function<void(std::size_t, const StraightedgePlacement&)>;

/**
 * Computes every placement of a straightedge of L intervals starting at `starts`
 * and calls deliver(i, result) on this thread for each, in placement order. The
 * placements are shared in blocks between this thread and a second one when
 * there are enough of them and a second core; each placement depends only on its
 * own points, so the results do not depend on which thread computed them. An
 * exception of `deliver` stops the run and is rethrown, as is one of the second
 * thread once it has finished.
 */
void ComputeStraightedgePlacements(std::span<const double> y, const std::vector<std::int32_t>& starts, std::int32_t L,
                                   const PlacementDelivery& deliver);

} // namespace zlm
