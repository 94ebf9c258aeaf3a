#include "graph/CurveDecimation.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zlm {

namespace {

/** The points of one run of values inside one pixel column, gathered as the curve is walked. */
class ColumnRun {
public:
    bool Empty() const { return !open_; }

    void Add(std::size_t index, double value)
    {
        if (!open_) {
            open_ = true;
            first_ = lowest_ = highest_ = last_ = index;
            low_ = high_ = value;
            return;
        }
        last_ = index;
        if (value < low_) {
            low_ = value;
            lowest_ = index;
        }
        if (value > high_) {
            high_ = value;
            highest_ = index;
        }
    }

    /** Appends the run's first, lowest, highest and last point, in order and once each. */
    void Flush(std::vector<std::size_t>& kept)
    {
        if (!open_) {
            return;
        }
        std::size_t points[4] = {first_, std::min(lowest_, highest_), std::max(lowest_, highest_), last_};
        for (const std::size_t index : points) {
            if (kept.empty() || kept.back() < index) {
                kept.push_back(index);
            }
        }
        open_ = false;
    }

private:
    bool open_ = false;
    std::size_t first_ = 0;
    std::size_t lowest_ = 0;
    std::size_t highest_ = 0;
    std::size_t last_ = 0;
    double low_ = 0.0;
    double high_ = 0.0;
};

std::vector<std::size_t> EveryIndex(std::size_t count)
{
    std::vector<std::size_t> all(count);
    std::iota(all.begin(), all.end(), std::size_t{0});
    return all;
}

} // namespace

std::vector<std::size_t> DecimatedIndices(std::span<const double> keys, std::span<const double> values, double start,
                                          double end, int columns)
{
    const std::size_t count = std::min(keys.size(), values.size());
    if (columns <= 0 || !(end > start) || !std::isfinite(start) || !std::isfinite(end)) {
        return EveryIndex(count);
    }
    const auto keyBegin = keys.begin();
    const auto keyEnd = keys.begin() + static_cast<std::ptrdiff_t>(count);
    // The window's points, and one point either side of it for the lines to the edges.
    std::size_t from = static_cast<std::size_t>(std::lower_bound(keyBegin, keyEnd, start) - keyBegin);
    std::size_t to = static_cast<std::size_t>(std::upper_bound(keyBegin, keyEnd, end) - keyBegin);
    from = from > 0 ? from - 1 : 0;
    to = std::min(to + 1, count);

    const double perColumn = (end - start) / static_cast<double>(columns);
    std::vector<std::size_t> kept;
    kept.reserve(std::min<std::size_t>(to - from, 4 * static_cast<std::size_t>(columns) + 8));
    ColumnRun run;
    long long runColumn = 0;
    bool inBreak = false;
    for (std::size_t i = from; i < to; ++i) {
        const double value = values[i];
        if (std::isnan(value)) {
            run.Flush(kept);
            if (!inBreak) {
                kept.push_back(i);
                inBreak = true;
            }
            continue;
        }
        inBreak = false;
        // Points outside the window are columns of their own: they stand at its edges.
        const double position = std::floor((keys[i] - start) / perColumn);
        const long long column = static_cast<long long>(std::clamp(position, -1.0, static_cast<double>(columns)));
        if (!run.Empty() && column != runColumn) {
            run.Flush(kept);
        }
        runColumn = column;
        run.Add(i, value);
    }
    run.Flush(kept);
    return kept;
}

} // namespace zlm
