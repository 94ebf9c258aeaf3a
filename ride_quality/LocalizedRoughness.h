#pragma once

#include "ride_quality/RideQuality.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zlm {

/** Slopes per continuous window: w = max(1, round(base length / dx)). */
std::int32_t RoughWindowLength(double baseLength, double interval);

/**
 * The continuous IRI C_j of every window of results.windowLength slopes, j = 0
 * … M - w: the IRI of r_j … r_(j+w-1), or for two paths the mean of both paths'
 * values. Each window's sum is two sums of at most w slopes (a block's suffix
 * and the next block's prefix), so nothing drifts however long the profile:
 * the relative error stays near w times the double's epsilon. Empty when M < w.
 */
std::vector<double> ContinuousIri(std::span<const double> left, std::span<const double> right,
                                  const RideQualityResults& results);

/**
 * The localized-roughness areas of results.continuous against the method's
 * threshold: windows with C_j at or above it, their spans [t_j - dx/2,
 * t_(j+w-1) + dx/2] merged where they overlap or touch (window j' touches
 * window j when j' - j <= w), in station order, with the peak window of each.
 */
std::vector<RoughArea> FindRoughAreas(const RideQualityResults& results);

/** The areas' total length over the profile's length, in percent. */
double PercentOfLength(const std::vector<RoughArea>& areas, double profileLength);

} // namespace zlm
