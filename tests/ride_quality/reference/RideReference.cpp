#include "ride_quality/reference/RideReference.h"

#include "ride_quality/QuarterCar.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace zlm::reference {

namespace {

double Round(double x)
{
    return std::nearbyint(x); // the default rounding mode: halves to even
}

std::vector<double> Slopes(const std::vector<double>& y, double dx, UnitSystem units)
{
    const double f = units == UnitSystem::US ? 0.3048 : 1.0;
    const double dxm = f * dx;
    const auto k = static_cast<std::size_t>(std::max(1.0, Round(0.25 / dxm)));
    const std::size_t n = y.size();
    const QuarterCarStep car = QuarterCarStepFor(dxm);
    const auto j = static_cast<std::size_t>(std::min(Round(11.0 / dxm), static_cast<double>(n - 1)));
    const double g = (f * y[j] - f * y[0]) / (static_cast<double>(j) * dxm);
    std::array<double, 4> z = {g, 0.0, g, 0.0};
    std::vector<double> r;
    for (std::size_t i = 0; i + k < n; ++i) {
        const double s = (f * y[i + k] - f * y[i]) / (static_cast<double>(k) * dxm);
        std::array<double, 4> next{};
        for (std::size_t row = 0; row < 4; ++row) {
            next[row] = car.transition[row][0] * z[0] + car.transition[row][1] * z[1] + car.transition[row][2] * z[2] +
                        car.transition[row][3] * z[3] + car.input[row] * s;
        }
        z = next;
        r.push_back(std::fabs(z[2] - z[0]));
    }
    return r;
}

double Iri(const std::vector<double>& r, std::size_t from, std::size_t to, UnitSystem units)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        sum += r[i];
    }
    return sum / static_cast<double>(to - from) * (units == UnitSystem::US ? 63360.0 : 1000.0);
}

double SectionIri(const std::vector<double>& r, double dx, double k, double s, std::size_t q, UnitSystem units)
{
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const double t = (static_cast<double>(i) + k / 2.0) * dx;
        if (s <= 0.0 || static_cast<std::size_t>(std::floor(t / s)) == q) {
            sum += r[i];
            ++count;
        }
    }
    return sum / static_cast<double>(count) * (units == UnitSystem::US ? 63360.0 : 1000.0);
}

} // namespace

RideQualityResults LiteralRideQuality(const std::vector<double>& left, const std::vector<double>& right,
                                      double interval, const RideQualityMethod& method)
{
    RideQualityResults out;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double dx = interval;
    const double f = method.units == UnitSystem::US ? 0.3048 : 1.0;
    const double k = std::max(1.0, Round(0.25 / (f * dx)));
    out.method = method;
    out.twoPaths = !right.empty();
    out.pointCount = static_cast<std::int32_t>(left.size());
    out.interval = dx;
    out.slopeBase = static_cast<std::int32_t>(k);
    out.windowLength = static_cast<std::int32_t>(std::max(1.0, Round(method.baseLength / dx)));
    const std::vector<double> rl = Slopes(left, dx, method.units);
    std::vector<double> rr;
    std::vector<double> rh;
    if (out.twoPaths) {
        rr = Slopes(right, dx, method.units);
        std::vector<double> mean;
        for (std::size_t i = 0; i < left.size(); ++i) {
            mean.push_back((left[i] + right[i]) / 2.0);
        }
        rh = Slopes(mean, dx, method.units);
    }
    const std::size_t m = rl.size();
    out.iriLeft = Iri(rl, 0, m, method.units);
    out.iriRight = out.twoPaths ? Iri(rr, 0, m, method.units) : nan;
    out.mri = out.twoPaths ? (out.iriLeft + out.iriRight) / 2.0 : nan;
    out.hri = out.twoPaths ? Iri(rh, 0, m, method.units) : nan;

    const double s = method.sectionLength;
    const double length = (static_cast<double>(left.size()) - 1.0) * dx;
    const double lastStation = (static_cast<double>(m - 1) + k / 2.0) * dx;
    const std::size_t rows = s > 0.0 ? static_cast<std::size_t>(std::floor(lastStation / s)) + 1 : 1;
    for (std::size_t q = 0; q < rows; ++q) {
        RideSection row;
        row.start = s > 0.0 ? static_cast<double>(q) * s : 0.0;
        row.end = s > 0.0 ? std::min((static_cast<double>(q) + 1.0) * s, length) : length;
        row.iriLeft = SectionIri(rl, dx, k, s, q, method.units);
        row.iriRight = out.twoPaths ? SectionIri(rr, dx, k, s, q, method.units) : nan;
        row.mri = out.twoPaths ? (row.iriLeft + row.iriRight) / 2.0 : nan;
        row.hri = out.twoPaths ? SectionIri(rh, dx, k, s, q, method.units) : nan;
        out.sections.push_back(row);
    }

    const auto w = static_cast<std::size_t>(out.windowLength);
    for (std::size_t j = 0; m >= w && j <= m - w; ++j) {
        const double c = Iri(rl, j, j + w, method.units);
        out.continuous.push_back(out.twoPaths ? (c + Iri(rr, j, j + w, method.units)) / 2.0 : c);
    }
    if (!method.localized) {
        return out;
    }
    const auto t = [&](std::size_t i) { return (static_cast<double>(i) + k / 2.0) * dx; };
    // Spans compared exactly, in half intervals: window j spans [2j + k - 1, 2(j + w - 1) + k + 1].
    const auto ki = static_cast<std::size_t>(k);
    std::size_t lastEnd = 0;
    for (std::size_t j = 0; j < out.continuous.size(); ++j) {
        if (!(out.continuous[j] >= method.threshold)) {
            continue;
        }
        const double start = t(j) - dx / 2.0;
        const double end = t(j + w - 1) + dx / 2.0;
        const std::size_t startHalves = 2 * j + ki - 1;
        const bool joins = !out.areas.empty() && startHalves <= lastEnd;
        lastEnd = 2 * (j + w - 1) + ki + 1;
        if (joins) {
            RoughArea& area = out.areas.back();
            area.end = end;
            area.length = area.end - area.start;
            if (out.continuous[j] > area.peak) {
                area.peak = out.continuous[j];
                area.peakAt = (t(j) + t(j + w - 1)) / 2.0;
            }
        } else {
            out.areas.push_back({start, end, end - start, out.continuous[j], (t(j) + t(j + w - 1)) / 2.0});
        }
    }
    double total = 0.0;
    for (const RoughArea& area : out.areas) {
        total += area.length;
    }
    out.percentLocalized = total / length * 100.0;
    return out;
}

} // namespace zlm::reference
