// The straightedge engine's public entry: the run with its progress and records.
// The search for each placement's supports is StraightedgeSearch, the sharing of
// the placements between two threads StraightedgeScheduler.

#include "analysis/StraightedgeEngine.h"

#include "analysis/NumberText.h"
#include "analysis/StraightedgeScheduler.h"

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

bool TestSupportPair(std::span<const double> elevations, std::int32_t s, std::int32_t e, std::int32_t a, std::int32_t b,
                     double& deviation)
{
    const double g = (elevations[b] - elevations[a]) / static_cast<double>(b - a);
    // The straightedge's height above point s + k, exactly as the clearance test
    // and the gap measurement both use it.
    const auto line = [&](std::int32_t k) { return elevations[a] - static_cast<double>((a - s) - k) * g; };

    deviation = -1.0;
    for (std::int32_t k = 0; k <= e - s; ++k) {
        if (ToSingle(elevations[s + k]) > ToSingle(line(k)))
            return false;
    }
    for (std::int32_t k = a - s; k <= b - s; ++k) {
        const double gap = line(k) - elevations[s + k];
        if (gap > deviation)
            deviation = gap;
    }
    return true;
}

namespace {

// The record of the placement whose straightedge starts at point `start`.
DeviationRecord MakeRecord(std::int32_t start, const StraightedgePlacement& result, double dx, float threshold,
                           double deviationPerLength)
{
    DeviationRecord record;
    record.Station = static_cast<double>(start) * dx;
    record.MaxDeviation = result.Deviation * deviationPerLength;
    record.AmountExceeded =
        ToSingle(record.MaxDeviation) > threshold ? record.MaxDeviation - static_cast<double>(threshold) : 0.0;
    record.LeftSupport = result.LeftSupport;
    record.RightSupport = result.RightSupport;
    return record;
}

} // namespace

void SimulateStraightedge(std::span<const double> elevations, std::int32_t pointCount, double dx, float advance,
                          float threshold, double straightedgeLength, DeviationList& deviations, ProgressSink& progress,
                          double deviationPerLength)
{
    deviations.clear();
    const std::int32_t L = RoundToInt32(straightedgeLength / dx);
    const std::vector<std::int32_t> starts = StraightedgePlacementStarts(pointCount, L, advance);

    progress.SetTextVisible(false);
    progress.SetVisible(true);
    deviations.reserve(starts.size());
    ComputeStraightedgePlacements(elevations, starts, L, [&](std::size_t i, const StraightedgePlacement& result) {
        deviations.push_back(MakeRecord(starts[i], result, dx, threshold, deviationPerLength));
        const double e = static_cast<double>(starts[i] + L);
        progress.SetValue(static_cast<std::int16_t>(RoundToInt32(100.0 * e / pointCount)));
        progress.Refresh();
        if (progress.CancelRequested()) {
            progress.SetVisible(false);
            throw RunCancelled{};
        }
    });
    progress.SetVisible(false);
}

} // namespace zlm
