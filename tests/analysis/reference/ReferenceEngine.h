#pragma once

#include "analysis/DeviationRecord.h"
#include "analysis/ProgressSink.h"

#include <cstdint>
#include <vector>

namespace zlm::reference {

/**
 * A literal, step-by-step transcription of the rolling straightedge: every
 * placement sorts both candidate lists, tries the support pairs in order and
 * tests each pair over the whole straightedge. It is deliberately slow and is
 * never optimised: the production engine must give bit-identical lists.
 */
void SimulateStraightedgeLiteral(const std::vector<double>& workingElevations, std::int32_t pointCount, double dx,
                                 float advance, float threshold, double straightedgeLength, DeviationList& deviations,
                                 ProgressSink& progress, double deviationPerLength = 12.0);

} // namespace zlm::reference
