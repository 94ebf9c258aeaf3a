#include "analysis/StraightedgeEngine.h"

#include "analysis/NumberText.h"

#include <algorithm>
#include <utility>

namespace zlm {

void SortByElevation(std::vector<std::int32_t>& list, std::int32_t lo, std::int32_t hi,
                     std::span<const double> elevations)
{
    std::int32_t i = lo;
    std::int32_t j = hi;
    const double pivot = elevations[list[(lo + hi) / 2]];
    while (i <= j) {
        while (elevations[list[i]] < pivot && i < hi)
            ++i;
        while (pivot < elevations[list[j]] && j > lo)
            --j;
        if (i <= j) {
            std::swap(list[i], list[j]);
            ++i;
            --j;
        }
    }
    if (lo < j)
        SortByElevation(list, lo, j, elevations);
    if (i < hi)
        SortByElevation(list, i, hi, elevations);
}

bool TestSupportPair(std::span<const double> elevations, std::int32_t s, std::int32_t e, std::int32_t a,
                     std::int32_t b, double& deviation)
{
    const double g = (elevations[b] - elevations[a]) / static_cast<double>(b - a);
    // The straightedge's height above point s + k, exactly as the clearance test
    // and the gap measurement both use it.
    const auto line = [&](std::int32_t k) { return elevations[a] - static_cast<double>((a - s) - k) * g; };

    deviation = -1.0;
    for (std::int32_t k = 0; k <= e - s; ++k) {
        if (ParseSingle(elevations[s + k]) > ParseSingle(line(k)))
            return false;
    }
    for (std::int32_t k = a - s; k <= b - s; ++k) {
        const double gap = line(k) - elevations[s + k];
        if (gap > deviation)
            deviation = gap;
    }
    return true;
}

void SimulateStraightedge(std::span<const double> elevations, std::int32_t pointCount, double dx, float advance,
                          float threshold, double straightedgeLength, DeviationList& deviations,
                          ProgressSink& progress)
{
    deviations.clear();
    const std::int32_t L = RoundToInt32(straightedgeLength / dx);
    std::int32_t s = 0;
    std::int32_t e = L;
    std::vector<std::int32_t> left;
    std::vector<std::int32_t> right;

    progress.SetTextVisible(false);
    progress.SetVisible(true);
    while (e <= pointCount - 1) {
        const std::int32_t m = RoundToInt32(static_cast<double>(L) / 2.0 + static_cast<double>(s));
        const std::int32_t d = m - s;
        left.resize(d);
        right.resize(d);
        for (std::int32_t k = 0; k < d; ++k) {
            left[k] = s + k;
            right[k] = e - k;
        }
        if (d > 0) {
            SortByElevation(left, 0, d - 1, elevations);
            SortByElevation(right, 0, d - 1, elevations);
        }
        // Highest first: the reversal swaps k with d - 1 - k, which is a plain reversal.
        std::reverse(left.begin(), left.end());
        std::reverse(right.begin(), right.end());

        double D = 0.0;
        const bool midpointHighest =
            d > 0 && elevations[left[0]] < elevations[m] && elevations[right[0]] < elevations[m];
        if (!midpointHighest) {
            bool found = false;
            for (std::int32_t p = 0; p < d && !found; ++p) {
                for (std::int32_t q = 0; q < d; ++q) {
                    double deviation = 0.0;
                    if (TestSupportPair(elevations, s, e, left[p], right[q], deviation)) {
                        D = deviation;
                        found = true;
                        break;
                    }
                }
            }
        }

        DeviationRecord record;
        record.Station = static_cast<double>(s) * dx;
        record.MaxDeviation = D * 12.0;
        record.AmountExceeded =
            ParseSingle(record.MaxDeviation) > threshold ? record.MaxDeviation - static_cast<double>(threshold) : 0.0;
        deviations.push_back(record);

        progress.SetValue(static_cast<std::int16_t>(RoundToInt32(100.0 * static_cast<double>(e) / pointCount)));
        progress.Refresh();

        s = RoundToInt32(static_cast<double>(s) + static_cast<double>(advance));
        e = s + L;
    }
    progress.SetVisible(false);
}

} // namespace zlm
