#include "ride_quality/LocalizedRoughness.h"

#include <algorithm>
#include <cstddef>

namespace zlm {

namespace {

/**
 * Sums of every window of w consecutive values, block by block: the windows
 * that start in block b = [bw, bw + w) are the suffixes of b (summed backwards
 * into a buffer of w) plus the growing prefix of block b + 1. Each is two
 * short sequential sums of non-negative values, with no running total to
 * drift, and no scratch array as long as the profile.
 */
class WindowSums {
public:
    WindowSums(std::span<const double> r, std::size_t w) : r_(r), w_(w), suffix_(w) {}

    // Calls emit(j, sum) for every window j = 0 … M - w in order.
    template <typename Emit> void ForEach(Emit&& emit)
    {
        const std::size_t m = r_.size();
        for (std::size_t block = 0; block + w_ <= m; block += w_) {
            double tail = 0.0;
            for (std::size_t i = block + w_; i-- > block;) {
                tail = (i == block + w_ - 1) ? r_[i] : tail + r_[i];
                suffix_[i - block] = tail;
            }
            emit(block, suffix_[0]);
            double head = 0.0;
            for (std::size_t d = 1; d < w_ && block + d + w_ <= m; ++d) {
                const double next = r_[block + w_ + d - 1];
                head = d == 1 ? next : head + next;
                emit(block + d, suffix_[d] + head);
            }
        }
    }

private:
    std::span<const double> r_;
    std::size_t w_;
    std::vector<double> suffix_;
};

} // namespace

std::vector<double> ContinuousIri(std::span<const double> left, std::span<const double> right,
                                  const RideQualityResults& results)
{
    const auto w = static_cast<std::size_t>(results.windowLength);
    if (w == 0 || left.size() < w) {
        return {};
    }
    const double factor = results.method.units == UnitSystem::US ? 63360.0 : 1000.0;
    const auto scale = static_cast<double>(w);
    std::vector<double> values(left.size() - w + 1);
    WindowSums leftSums(left, w);
    leftSums.ForEach([&](std::size_t j, double sum) { values[j] = sum / scale * factor; });
    if (!right.empty()) {
        WindowSums rightSums(right, w);
        rightSums.ForEach([&](std::size_t j, double sum) { values[j] = (values[j] + sum / scale * factor) / 2.0; });
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
