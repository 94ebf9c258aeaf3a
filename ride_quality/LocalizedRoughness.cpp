#include "ride_quality/LocalizedRoughness.h"

#include <algorithm>
#include <cstddef>

namespace zlm {

namespace {

// Sums of every window of w consecutive values, each from at most two short
// sequential sums of non-negative values: no running total to drift.
std::vector<double> WindowSums(std::span<const double> r, std::size_t w)
{
    const std::size_t m = r.size();
    if (m < w) {
        return {};
    }
    // prefix[i]: sum from the start of i's block of w up to i; suffix[i]: from i to its block's end.
    std::vector<double> prefix(m);
    std::vector<double> suffix(m);
    for (std::size_t i = 0; i < m; ++i) {
        prefix[i] = (i % w == 0) ? r[i] : prefix[i - 1] + r[i];
    }
    for (std::size_t i = m; i-- > 0;) {
        suffix[i] = (i % w == w - 1 || i == m - 1) ? r[i] : suffix[i + 1] + r[i];
    }
    std::vector<double> sums(m - w + 1);
    for (std::size_t j = 0; j < sums.size(); ++j) {
        // Window j = [j, j + w - 1]: a whole block when j starts one, else the
        // rest of j's block and the start of the next.
        sums[j] = (j % w == 0) ? prefix[j + w - 1] : suffix[j] + prefix[j + w - 1];
    }
    return sums;
}

} // namespace

std::vector<double> ContinuousIri(std::span<const double> left, std::span<const double> right,
                                  const RideQualityResults& results)
{
    const auto w = static_cast<std::size_t>(results.windowLength);
    const double factor = results.method.units == UnitSystem::US ? 63360.0 : 1000.0;
    std::vector<double> values = WindowSums(left, w);
    for (double& value : values) {
        value = value / static_cast<double>(w) * factor;
    }
    if (!right.empty()) {
        const std::vector<double> rightSums = WindowSums(right, w);
        for (std::size_t j = 0; j < values.size(); ++j) {
            values[j] = (values[j] + rightSums[j] / static_cast<double>(w) * factor) / 2.0;
        }
    }
    return values;
}

std::vector<RoughArea> FindRoughAreas(const RideQualityResults& results)
{
    const std::vector<double>& c = results.continuous;
    const std::int64_t w = results.windowLength;
    const double halfStep = results.interval / 2.0;
    std::vector<RoughArea> areas;
    std::int64_t first = -1;
    std::int64_t last = -1;
    std::int64_t peak = -1;
    const auto close = [&] {
        RoughArea area;
        area.start = results.SlopeStation(first) - halfStep;
        area.end = results.SlopeStation(last + w - 1) + halfStep;
        area.length = area.end - area.start;
        area.peak = c[static_cast<std::size_t>(peak)];
        area.peakAt = results.WindowCentre(peak);
        areas.push_back(area);
    };
    for (std::int64_t j = 0; j < static_cast<std::int64_t>(c.size()); ++j) {
        if (!(c[static_cast<std::size_t>(j)] >= results.method.threshold)) {
            continue;
        }
        if (first >= 0 && j - last > w) {
            close();
            first = -1;
        }
        if (first < 0) {
            first = j;
            peak = j;
        } else if (c[static_cast<std::size_t>(j)] > c[static_cast<std::size_t>(peak)]) {
            peak = j;
        }
        last = j;
    }
    if (first >= 0) {
        close();
    }
    return areas;
}

double PercentOfLength(const std::vector<RoughArea>& areas, double profileLength)
{
    double total = 0.0;
    for (const RoughArea& area : areas) {
        total += area.length;
    }
    return total / profileLength * 100.0;
}

} // namespace zlm
