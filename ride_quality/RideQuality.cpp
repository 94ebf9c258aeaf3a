#include "ride_quality/RideQuality.h"

#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"
#include "ride_quality/LocalizedRoughness.h"
#include "ride_quality/QuarterCar.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zlm {

namespace {

constexpr double kMetresPerFoot = 0.3048;
constexpr double kSlopeBaseMetres = 0.25;
constexpr double kStartLengthMetres = 11.0;
constexpr double kMaxIntervalMetres = 1.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double MetresPerUnit(UnitSystem units)
{
    return units == UnitSystem::US ? kMetresPerFoot : 1.0;
}

// IRI units per unit of mean rectified slope (m/m): inches per mile or metres per kilometre.
double RoughnessFactor(UnitSystem units)
{
    return units == UnitSystem::US ? 63360.0 : 1000.0;
}

const char* LengthUnit(UnitSystem units)
{
    return units == UnitSystem::US ? "ft" : "m";
}

// Progress over a run's passes: each pass is one share of the bar.
class PassProgress {
public:
    PassProgress(ProgressSink& sink, int passes) : sink_(sink), passes_(passes) {}

    // Called every so many slopes of a pass; throws RunCancelled when asked to stop.
    void Report(int pass, std::int64_t done, std::int64_t total)
    {
        const auto percent = static_cast<std::int16_t>((100 * pass + (total > 0 ? 100 * done / total : 0)) / passes_);
        sink_.SetValue(percent);
        sink_.Refresh();
        if (sink_.CancelRequested()) {
            throw RunCancelled{};
        }
    }

private:
    ProgressSink& sink_;
    int passes_;
};

/** One quarter car rolling along one profile: its state and how it reads the profile. */
class QuarterCarRun {
public:
    QuarterCarRun(const QuarterCarStep& car, double metresPerUnit, double intervalMetres, std::int32_t k)
        : car_(car), f_(metresPerUnit), base_(k * intervalMetres), dxm_(intervalMetres)
    {
    }

    // Settles the car on the grade of the first 11 m: z = (g, 0, g, 0).
    void Start(double first, double atStartLength, std::int64_t startIndex)
    {
        const double g = (f_ * atStartLength - f_ * first) / (static_cast<double>(startIndex) * dxm_);
        z0_ = g;
        z1_ = 0.0;
        z2_ = g;
        z3_ = 0.0;
    }

    // Moves one interval over the slope between elevations `from` and `to` (k intervals apart); returns r_i.
    double Step(double from, double to)
    {
        const auto& st = car_.transition;
        const auto& pr = car_.input;
        const double s = (f_ * to - f_ * from) / base_;
        const double n0 = st[0][0] * z0_ + st[0][1] * z1_ + st[0][2] * z2_ + st[0][3] * z3_ + pr[0] * s;
        const double n1 = st[1][0] * z0_ + st[1][1] * z1_ + st[1][2] * z2_ + st[1][3] * z3_ + pr[1] * s;
        const double n2 = st[2][0] * z0_ + st[2][1] * z1_ + st[2][2] * z2_ + st[2][3] * z3_ + pr[2] * s;
        const double n3 = st[3][0] * z0_ + st[3][1] * z1_ + st[3][2] * z2_ + st[3][3] * z3_ + pr[3] * s;
        z0_ = n0;
        z1_ = n1;
        z2_ = n2;
        z3_ = n3;
        return std::fabs(z2_ - z0_);
    }

private:
    const QuarterCarStep& car_;
    double f_;
    double base_;
    double dxm_;
    double z0_ = 0.0, z1_ = 0.0, z2_ = 0.0, z3_ = 0.0;
};

// Section q of slope i: floor(t_i / S), or 0 without sections.
std::int64_t SectionOf(const RideQualityResults& results, std::int64_t i)
{
    const double s = results.method.sectionLength;
    return s > 0.0 ? static_cast<std::int64_t>(std::floor(results.SlopeStation(i) / s)) : 0;
}

/**
 * The first slope of each section and, last, M: section q holds the slopes
 * [bounds[q], bounds[q + 1]). Each bound is guessed from the stations and then
 * settled with the section rule itself, so it is exactly where floor(t_i / S)
 * changes.
 */
std::vector<std::int64_t> SectionBounds(const RideQualityResults& results, std::int64_t m)
{
    const std::int64_t rows = SectionOf(results, m - 1) + 1;
    std::vector<std::int64_t> bounds(static_cast<std::size_t>(rows + 1), m);
    bounds[0] = 0;
    for (std::int64_t q = 1; q < rows; ++q) {
        const double guess = std::ceil(static_cast<double>(q) * results.method.sectionLength / results.interval -
                                       results.slopeBase / 2.0);
        const std::int64_t previous = bounds[static_cast<std::size_t>(q - 1)];
        std::int64_t i = std::clamp(static_cast<std::int64_t>(guess), previous, m);
        while (i > previous && SectionOf(results, i - 1) >= q) {
            --i;
        }
        while (i < m && SectionOf(results, i) < q) {
            ++i;
        }
        bounds[static_cast<std::size_t>(q)] = i;
    }
    return bounds;
}

/** What the rolling pass leaves: the slopes of each path and the sums of every section. */
struct RolledPaths {
    std::vector<double> left;
    std::vector<double> right;
    // Per section, the sum of r_i of the left path, the right path and the mean profile.
    std::vector<long double> leftSums, rightSums, meanSums;
};

/**
 * Rolls the quarter car along the left path and, for two paths, the right path
 * and the mean profile at once (three independent cars keep the processor
 * busy), summing each section's slopes as it goes. The sums are kept in
 * extended precision, so that a long section's mean is as near exact as a
 * double can hold.
 */
RolledPaths RollPaths(std::span<const double> yl, std::span<const double> yr, const RideQualityResults& results,
                      const std::vector<std::int64_t>& bounds, PassProgress& progress)
{
    const double f = MetresPerUnit(results.method.units);
    const double dxm = f * results.interval;
    const std::int32_t k = results.slopeBase;
    const auto n = static_cast<std::int64_t>(yl.size());
    const std::int64_t m = n - k;
    const QuarterCarStep car = QuarterCarStepFor(dxm);
    const std::int64_t j = std::min<std::int64_t>(RoundToInt32(kStartLengthMetres / dxm), n - 1);
    const auto mean = [&](std::int64_t i) {
        return (yl[static_cast<std::size_t>(i)] + yr[static_cast<std::size_t>(i)]) / 2.0;
    };
    QuarterCarRun left(car, f, dxm, k), right(car, f, dxm, k), middle(car, f, dxm, k);
    left.Start(yl[0], yl[static_cast<std::size_t>(j)], j);
    const bool two = !yr.empty();
    if (two) {
        right.Start(yr[0], yr[static_cast<std::size_t>(j)], j);
        middle.Start(mean(0), mean(j), j);
    }
    RolledPaths rolled;
    rolled.left.resize(static_cast<std::size_t>(m));
    rolled.right.resize(two ? static_cast<std::size_t>(m) : 0);
    const std::size_t rows = bounds.size() - 1;
    rolled.leftSums.assign(rows, 0.0L);
    rolled.rightSums.assign(two ? rows : 0, 0.0L);
    rolled.meanSums.assign(two ? rows : 0, 0.0L);
    constexpr std::int64_t kReportEvery = 1 << 16;
    std::int64_t nextReport = kReportEvery;
    for (std::size_t q = 0; q < rows; ++q) {
        long double sumL = 0.0L, sumR = 0.0L, sumH = 0.0L;
        for (std::int64_t i = bounds[q]; i < bounds[q + 1]; ++i) {
            const auto a = static_cast<std::size_t>(i);
            const auto b = static_cast<std::size_t>(i + k);
            const double rl = left.Step(yl[a], yl[b]);
            rolled.left[a] = rl;
            sumL += rl;
            if (two) {
                const double rr = right.Step(yr[a], yr[b]);
                rolled.right[a] = rr;
                sumR += rr;
                sumH += middle.Step(mean(i), mean(i + k));
            }
            if (i == nextReport) {
                progress.Report(0, i, m);
                nextReport += kReportEvery;
            }
        }
        rolled.leftSums[q] = sumL;
        if (two) {
            rolled.rightSums[q] = sumR;
            rolled.meanSums[q] = sumH;
        }
    }
    return rolled;
}

// The IRI of every section from its sum, and of the whole profile from all of them.
double SectionIris(const std::vector<long double>& sums, const std::vector<std::int64_t>& bounds, UnitSystem units,
                   double RideSection::*field, std::vector<RideSection>& rows)
{
    const double factor = RoughnessFactor(units);
    long double total = 0.0L;
    for (std::size_t q = 0; q < sums.size(); ++q) {
        const std::int64_t count = bounds[q + 1] - bounds[q];
        rows[q].*field = count > 0 ? static_cast<double>(sums[q]) / static_cast<double>(count) * factor : kNaN;
        total += sums[q];
    }
    return static_cast<double>(total) / static_cast<double>(bounds.back()) * factor;
}

// The section rows' stations and slope counts.
std::vector<RideSection> SectionRows(const RideQualityResults& results, const std::vector<std::int64_t>& bounds)
{
    const double s = results.method.sectionLength;
    std::vector<RideSection> rows(bounds.size() - 1);
    for (std::size_t q = 0; q < rows.size(); ++q) {
        rows[q].start = s > 0.0 ? static_cast<double>(q) * s : 0.0;
        rows[q].end =
            s > 0.0 ? std::fmin((static_cast<double>(q) + 1.0) * s, results.ProfileLength()) : results.ProfileLength();
        rows[q].slopes = bounds[q + 1] - bounds[q];
        rows[q].iriRight = rows[q].mri = rows[q].hri = kNaN;
    }
    return rows;
}

} // namespace

RideQualityMethod DefaultRideQualityMethod(UnitSystem units)
{
    RideQualityMethod method;
    method.units = units;
    method.baseLength = units == UnitSystem::US ? 25.0 : 7.62;
    method.threshold = units == UnitSystem::US ? 125.0 : 2.0;
    return method;
}

double DefaultRideSectionLength(UnitSystem units)
{
    return units == UnitSystem::US ? 528.0 : 100.0;
}

double RideQualityResults::SlopeStation(std::int64_t i) const
{
    return (static_cast<double>(i) + slopeBase / 2.0) * interval;
}

double RideQualityResults::WindowCentre(std::int64_t j) const
{
    return (SlopeStation(j) + SlopeStation(j + windowLength - 1)) / 2.0;
}

std::int32_t SlopeBaseFor(double interval, UnitSystem units)
{
    return std::max<std::int32_t>(1, RoundToInt32(kSlopeBaseMetres / (MetresPerUnit(units) * interval)));
}

std::int32_t RoughWindowLength(double baseLength, double interval)
{
    return std::max<std::int32_t>(1, RoundToInt32(baseLength / interval));
}

std::string RideQualityRefusal(std::int32_t pointCount, double interval, const RideQualityMethod& method)
{
    const std::string unit = LengthUnit(method.units);
    const std::string roughness = method.units == UnitSystem::US ? "in/mi" : "m/km";
    const auto text = [](double value) { return PlainDecimalText(value); };
    if (pointCount <= 0) {
        return "There is no profile to analyse";
    }
    if (!(interval > 0.0) || !std::isfinite(interval)) {
        return "The sample interval of " + text(interval) + " " + unit + " is not a length above 0";
    }
    if (MetresPerUnit(method.units) * interval > kMaxIntervalMetres) {
        return "The sample interval of " + text(interval) + " " + unit + " is above the ride-quality limit of " +
               (method.units == UnitSystem::US ? "3.28 ft (1 m)" : "1 m (3.28 ft)");
    }
    const std::int32_t k = SlopeBaseFor(interval, method.units);
    if (pointCount <= k) {
        return "The profile has " + std::to_string(pointCount) + (pointCount == 1 ? " point" : " points") +
               ": ride quality needs more than " + std::to_string(k) + " for one slope over the 250 mm slope base";
    }
    if (method.sectionLength != 0.0) {
        if (std::string refusal = RideSectionRefusal(method.sectionLength, interval, method.units); !refusal.empty()) {
            return refusal;
        }
    }
    if (!(method.baseLength > 0.0) || !std::isfinite(method.baseLength)) {
        return "The base length of " + text(method.baseLength) + " " + unit + " is not a length above 0";
    }
    if (!(method.threshold > 0.0) || !std::isfinite(method.threshold)) {
        return "The threshold of " + text(method.threshold) + " " + roughness + " is not a value above 0";
    }
    const std::int64_t slopes = static_cast<std::int64_t>(pointCount) - k;
    const std::int32_t w = RoughWindowLength(method.baseLength, interval);
    if (method.localized && slopes < w) {
        return "The profile is " + text((pointCount - 1) * interval) + " " + unit +
               " long, shorter than the base length of " + text(method.baseLength) + " " + unit + ": a window needs " +
               std::to_string(w) + " slopes and it has " + std::to_string(slopes);
    }
    return {};
}

std::string RideSectionRefusal(double sectionLength, double interval, UnitSystem units)
{
    const double base = SlopeBaseFor(interval, units) * interval;
    if (sectionLength >= base) {
        return {};
    }
    return "The section length of " + PlainDecimalText(sectionLength) + " " + LengthUnit(units) +
           " is not a length of at least the slope base, " + PlainDecimalText(base) + " " + LengthUnit(units);
}

std::vector<double> RectifiedSlopes(std::span<const double> elevations, double interval, UnitSystem units,
                                    std::int32_t slopeBase)
{
    RideQualityResults results;
    results.method.units = units;
    results.interval = interval;
    results.slopeBase = slopeBase;
    const auto m = static_cast<std::int64_t>(elevations.size()) - slopeBase;
    if (m <= 0) {
        return {};
    }
    NullProgress quiet;
    PassProgress progress(quiet, 1);
    return RollPaths(elevations, {}, results, {0, m}, progress).left;
}

RideQualityOutcome AnalyseRideQuality(std::span<const double> left, std::span<const double> right, double interval,
                                      const RideQualityMethod& method, ProgressSink& progress)
{
    RideQualityOutcome outcome;
    const auto count = static_cast<std::int32_t>(left.size());
    if (!right.empty() && right.size() != left.size()) {
        outcome.refusal = "The wheel paths differ in length (" + std::to_string(left.size()) + " and " +
                          std::to_string(right.size()) + " points)";
        return outcome;
    }
    outcome.refusal = RideQualityRefusal(count, interval, method);
    if (!outcome.refusal.empty()) {
        return outcome;
    }
    RideQualityResults& results = outcome.results;
    results.method = method;
    results.twoPaths = !right.empty();
    results.pointCount = count;
    results.interval = interval;
    results.slopeBase = SlopeBaseFor(interval, method.units);
    results.windowLength = RoughWindowLength(method.baseLength, interval);

    progress.SetTextVisible(false);
    progress.SetVisible(true);
    PassProgress passes(progress, 1);
    const std::vector<std::int64_t> bounds = SectionBounds(results, count - results.slopeBase);
    const RolledPaths rolled = RollPaths(left, right, results, bounds, passes);
    results.sections = SectionRows(results, bounds);
    results.iriLeft = SectionIris(rolled.leftSums, bounds, method.units, &RideSection::iriLeft, results.sections);
    results.iriRight = results.mri = results.hri = kNaN;
    if (results.twoPaths) {
        results.iriRight =
            SectionIris(rolled.rightSums, bounds, method.units, &RideSection::iriRight, results.sections);
        results.hri = SectionIris(rolled.meanSums, bounds, method.units, &RideSection::hri, results.sections);
        results.mri = (results.iriLeft + results.iriRight) / 2.0;
        for (RideSection& row : results.sections) {
            row.mri = (row.iriLeft + row.iriRight) / 2.0;
        }
    }
    results.continuous = ContinuousIri(rolled.left, rolled.right, results);
    if (method.localized) {
        results.areas = FindRoughAreas(results);
        results.percentLocalized = PercentOfLength(results.areas, results.ProfileLength());
    }
    progress.SetVisible(false);
    outcome.ok = true;
    return outcome;
}

} // namespace zlm
