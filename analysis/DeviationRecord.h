#pragma once

#include <cstdint>
#include <vector>

namespace zlm {

/** The result of one straightedge placement. */
struct DeviationRecord {
    double Station = 0.0;           ///< feet: index of the straightedge's first point times dx
    double MaxDeviation = 0.0;      ///< inches: largest gap between the supports
    double AmountExceeded = 0.0;    ///< inches: MaxDeviation - Threshold when above it, else exactly 0
    std::int32_t LeftSupport = -1;  ///< point index of the left support, -1 when no pair carried the straightedge
    std::int32_t RightSupport = -1; ///< point index of the right support, -1 likewise
};

/** The records of one run, in placement order; its size is the count n. */
using DeviationList = std::vector<DeviationRecord>;

} // namespace zlm
