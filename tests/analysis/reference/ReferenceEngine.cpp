#include "analysis/reference/ReferenceEngine.h"

#include "analysis/NumberText.h"

#include <utility>

namespace zlm::reference {
namespace {

// Integer conversion of a real: nearest, ties to even.
std::int32_t ToInteger(double value)
{
    return RoundToInt32(value);
}

void QuickSort(std::vector<std::int32_t>& list, std::int32_t lo, std::int32_t hi, const std::vector<double>& elev)
{
    std::int32_t i = lo;
    std::int32_t j = hi;
    const double pivot = elev[list[(lo + hi) / 2]];
    while (i <= j) {
        while (elev[list[i]] < pivot && i < hi)
            i = i + 1;
        while (pivot < elev[list[j]] && j > lo)
            j = j - 1;
        if (i <= j) {
            std::swap(list[i], list[j]);
            i = i + 1;
            j = j - 1;
        }
    }
    if (lo < j)
        QuickSort(list, lo, j, elev);
    if (i < hi)
        QuickSort(list, i, hi, elev);
}

bool PairCarries(const std::vector<double>& elev, std::int32_t s, std::int32_t e, std::int32_t a, std::int32_t b,
                 double& deviation)
{
    const std::int32_t K = e - s;
    const double g = (elev[b] - elev[a]) / static_cast<double>(b - a);
    std::vector<double> line(static_cast<std::size_t>(K) + 1);
    for (std::int32_t k = 0; k <= K; ++k)
        line[k] = elev[a] - static_cast<double>((a - s) - k) * g;

    for (std::int32_t k = 0; k <= K; ++k) {
        if (ToSingle(elev[s + k]) > ToSingle(line[k])) {
            deviation = -1.0;
            return false;
        }
    }
    deviation = -1.0;
    for (std::int32_t k = 0; k <= K; ++k) {
        if (s + k >= a && s + k <= b) {
            const double gap = line[k] - elev[s + k];
            if (gap > deviation)
                deviation = gap;
        }
    }
    return true;
}

} // namespace

void SimulateStraightedgeLiteral(const std::vector<double>& elev, std::int32_t N, double dx, float A, float threshold,
                                 double straightedgeLength, DeviationList& deviations, ProgressSink& progress,
                                 double deviationPerLength)
{
    deviations.clear();
    const std::int32_t L = ToInteger(straightedgeLength / dx);
    std::int32_t s = 0;
    std::int32_t e = L;
    std::int32_t n = 0;
    progress.SetTextVisible(false);
    progress.SetVisible(true);
    while (e <= N - 1) {
        const std::int32_t m = ToInteger(static_cast<double>(L) / 2.0 + static_cast<double>(s));
        const std::int32_t d = m - s;
        std::vector<std::int32_t> left(d);
        std::vector<std::int32_t> right(d);
        for (std::int32_t k = 0; k < d; ++k) {
            left[k] = s + k;
            right[k] = e - k;
        }
        QuickSort(left, 0, d - 1, elev);
        QuickSort(right, 0, d - 1, elev);
        const std::int32_t last = ToInteger(static_cast<double>(d) / 2.0 - 1.0);
        for (std::int32_t k = 0; k <= last; ++k) {
            std::swap(left[k], left[d - 1 - k]);
            std::swap(right[k], right[d - 1 - k]);
        }

        double D = 0.0;
        std::int32_t leftSupport = -1;
        std::int32_t rightSupport = -1;
        if (elev[left[0]] < elev[m] && elev[right[0]] < elev[m]) {
            D = 0.0;
        } else {
            bool found = false;
            for (std::int32_t p = 0; p <= d - 1 && !found; ++p) {
                for (std::int32_t q = 0; q <= d - 1; ++q) {
                    double deviation = 0.0;
                    if (PairCarries(elev, s, e, left[p], right[q], deviation)) {
                        D = deviation;
                        leftSupport = left[p];
                        rightSupport = right[q];
                        found = true;
                        break;
                    }
                }
            }
        }

        DeviationRecord record;
        record.Station = static_cast<double>(s) * dx;
        record.MaxDeviation = D * deviationPerLength;
        if (ToSingle(record.MaxDeviation) > threshold)
            record.AmountExceeded = record.MaxDeviation - static_cast<double>(threshold);
        else
            record.AmountExceeded = 0.0;
        record.LeftSupport = leftSupport;
        record.RightSupport = rightSupport;
        deviations.push_back(record);

        progress.SetValue(static_cast<std::int16_t>(ToInteger(100.0 * static_cast<double>(e) / N)));
        progress.Refresh();

        n = n + 1;
        s = ToInteger(static_cast<double>(s) + static_cast<double>(A));
        e = s + L;
    }
    progress.SetVisible(false);
}

} // namespace zlm::reference
