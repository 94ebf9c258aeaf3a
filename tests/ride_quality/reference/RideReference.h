#pragma once

#include "ride_quality/RideQuality.h"

#include <vector>

namespace zlm::reference {

/**
 * Ride quality computed literally from its definitions, step by step, with no
 * shortcut: each section's slopes found by testing every slope's station, each
 * continuous window summed afresh, the areas merged by comparing the spans'
 * stations. Slow on purpose; the core must agree with it.
 */
RideQualityResults LiteralRideQuality(const std::vector<double>& left, const std::vector<double>& right,
                                      double interval, const RideQualityMethod& method);

} // namespace zlm::reference
