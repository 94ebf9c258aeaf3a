#include "analysis/CorrectionZones.h"

#include "analysis/NumberText.h"

#include <cmath>

namespace zlm {

namespace {

double StationOf(std::int64_t index, double interval)
{
    return static_cast<double>(index) * interval;
}

/** The first point of a placement, recovered from its station (index times dx). */
std::int64_t StartIndex(const DeviationRecord& record, double interval)
{
    return std::llround(record.Station / interval);
}

} // namespace

std::int32_t LowestPointBetween(std::span<const double> elevations, std::int32_t left, std::int32_t right, double& gap)
{
    gap = 0.0;
    const auto count = static_cast<std::int64_t>(elevations.size());
    if (left < 0 || right <= left || right >= count)
        return -1;
    // The engine's line: its height above point p is y[a] - (a - p) * g, the
    // offset formed in integers before it becomes a double, so the largest gap
    // found here is bit for bit the placement's.
    const double g = (elevations[right] - elevations[left]) / static_cast<double>(right - left);
    std::int32_t lowest = left;
    double largest = -1.0;
    for (std::int32_t p = left; p <= right; ++p) {
        const double line = elevations[left] - static_cast<double>(left - p) * g;
        const double here = line - elevations[p];
        if (here > largest) {
            largest = here;
            lowest = p;
        }
    }
    gap = largest;
    return lowest;
}

CorrectionSummary FindCorrectionZones(const StraightedgeResults& results, std::span<const double> elevations)
{
    CorrectionSummary summary;
    const double dx = results.interval;
    if (!(dx > 0.0) || results.placements.empty())
        return summary;
    const std::int64_t span = StraightedgePoints(results.method, dx);

    CorrectionZone* zone = nullptr;
    std::int64_t zoneLastPoint = 0;
    const DeviationRecord* worst = nullptr;
    const auto closeZone = [&] {
        if (zone == nullptr)
            return;
        zone->end = StationOf(zoneLastPoint, dx);
        zone->length = zone->end - zone->start;
        zone->worstDeviation = worst->MaxDeviation;
        zone->worstStation = worst->Station;
        zone->leftSupport = worst->LeftSupport;
        zone->rightSupport = worst->RightSupport;
        if (zone->HasSupports()) {
            double gap = 0.0;
            zone->lowPoint = LowestPointBetween(elevations, zone->leftSupport, zone->rightSupport, gap);
            zone->leftSupportStation = StationOf(zone->leftSupport, dx);
            zone->rightSupportStation = StationOf(zone->rightSupport, dx);
            if (zone->lowPoint >= 0)
                zone->lowPointStation = StationOf(zone->lowPoint, dx);
        }
        summary.totalLength += zone->length;
    };

    for (const DeviationRecord& record : results.placements) {
        if (!ShowsAsExceeding(record.AmountExceeded))
            continue;
        const std::int64_t first = StartIndex(record, dx);
        if (zone == nullptr || first > zoneLastPoint) {
            closeZone();
            summary.zones.emplace_back();
            zone = &summary.zones.back();
            zone->start = record.Station;
            worst = &record;
        } else if (record.MaxDeviation > worst->MaxDeviation) {
            worst = &record;
        }
        ++zone->placements;
        zoneLastPoint = first + span;
    }
    closeZone();

    const double profileLength = StationOf(static_cast<std::int64_t>(results.pointCount) - 1, dx);
    if (profileLength > 0.0)
        summary.percentDefectiveLength = ToSingle(100.0 * summary.totalLength / profileLength);
    return summary;
}

} // namespace zlm
