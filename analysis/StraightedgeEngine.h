#pragma once

#include "analysis/DeviationRecord.h"
#include "analysis/ProgressSink.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zlm {

/**
 * Rolls a straightedge of `straightedgeLength` length units along the profile in
 * steps of `advance` points (step / dx, single precision) and replaces
 * `deviations` with one record per placement, naming the pair of points that
 * carried the straightedge (-1 and -1 when no pair did, and the gap is 0). A gap
 * becomes a deviation as gap x `deviationPerLength` (12 inches per foot, or 1000
 * millimetres per metre), compared with `threshold` in single precision.
 *
 * `workingElevations` holds at least `pointCount` elevations in length units (the
 * Simulate command passes N + 1 values, the last 0.0; only 0 .. N - 1 are read).
 * The caller guarantees dx > 0, a straightedge of at least 2 points
 * (L = length / dx rounded half-even, 2 <= L) and an advance that moves it
 * (above 0.5); a profile of L points or fewer gives no placement. Progress goes
 * to `progress` in the documented order; when it asks to cancel, the run stops
 * and RunCancelled is thrown, `deviations` then holding the placements so far.
 */
void SimulateStraightedge(std::span<const double> workingElevations, std::int32_t pointCount, double dx, float advance,
                          float threshold, double straightedgeLength, DeviationList& deviations, ProgressSink& progress,
                          double deviationPerLength);

/**
 * Sorts list[lo..hi] (point indexes) in ascending order of elevation with ZLM's
 * quicksort (middle entry as pivot); equal elevations end in exactly the order
 * this procedure leaves them, which decides the supports on level ground.
 */
void SortByElevation(std::vector<std::int32_t>& list, std::int32_t lo, std::int32_t hi,
                     std::span<const double> elevations);

/**
 * Tests whether the left candidate a and the right candidate b (a < b) can carry
 * the straightedge spanning points s .. e: no point of the span, in single
 * precision, stands above the line through a and b. Returns true with the
 * largest gap between a and b in feet (double precision), or false with -1.0.
 */
bool TestSupportPair(std::span<const double> elevations, std::int32_t s, std::int32_t e, std::int32_t a, std::int32_t b,
                     double& deviation);

} // namespace zlm
