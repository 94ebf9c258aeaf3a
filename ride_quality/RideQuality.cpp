#include "ride_quality/RideQuality.h"

#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"
#include "ride_quality/LocalizedRoughness.h"
#include "ride_quality/QuarterCar.h"

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

// A running sum with its lost low-order part kept (Neumaier), so a mean over a
// long profile is as close to exact as double precision allows.
struct CompensatedSum {
    double sum = 0.0;
    double lost = 0.0;

    void Add(double value)
    {
        const double t = sum + value;
        lost += std::fabs(sum) >= std::fabs(value) ? (sum - t) + value : (value - t) + sum;
        sum = t;
    }
    double Total() const { return sum + lost; }
};

// Progress over a run's passes: each pass is one share of the bar.
class PassProgress {
public:
    PassProgress(ProgressSink& sink, int passes) : sink_(sink), passes_(passes) {}

    // Called every so many slopes of a pass; throws RunCancelled when asked to stop.
    void Report(int pass, std::int64_t done, std::int64_t total)
    {
        const auto percent =
            static_cast<std::int16_t>((100 * pass + (total > 0 ? 100 * done / total : 0)) / passes_);
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

// Rectified slopes of one profile, reporting progress as pass `pass`.
std::vector<double> SlopesWithProgress(std::span<const double> y, double interval, UnitSystem units,
                                       std::int32_t k, PassProgress& progress, int pass)
{
    const double f = MetresPerUnit(units);
    const double dxm = f * interval;
    const QuarterCarStep car = QuarterCarStepFor(dxm);
    const auto& st = car.transition;
    const auto& pr = car.input;
    const auto n = static_cast<std::int64_t>(y.size());
    const std::int64_t m = n - k;
    std::vector<double> r(static_cast<std::size_t>(m > 0 ? m : 0));
    if (m <= 0) {
        return r;
    }
    const std::int64_t j = std::min<std::int64_t>(RoundToInt32(kStartLengthMetres / dxm), n - 1);
    const double g = (f * y[static_cast<std::size_t>(j)] - f * y[0]) / (static_cast<double>(j) * dxm);
    double z0 = g, z1 = 0.0, z2 = g, z3 = 0.0;
    const double baseMetres = k * dxm;
    constexpr std::int64_t kChunk = 1 << 16;
    for (std::int64_t start = 0; start < m; start += kChunk) {
        const std::int64_t stop = std::min(m, start + kChunk);
        for (std::int64_t i = start; i < stop; ++i) {
            const auto ui = static_cast<std::size_t>(i);
            const double s = (f * y[ui + static_cast<std::size_t>(k)] - f * y[ui]) / baseMetres;
            const double n0 = st[0][0] * z0 + st[0][1] * z1 + st[0][2] * z2 + st[0][3] * z3 + pr[0] * s;
            const double n1 = st[1][0] * z0 + st[1][1] * z1 + st[1][2] * z2 + st[1][3] * z3 + pr[1] * s;
            const double n2 = st[2][0] * z0 + st[2][1] * z1 + st[2][2] * z2 + st[2][3] * z3 + pr[2] * s;
            const double n3 = st[3][0] * z0 + st[3][1] * z1 + st[3][2] * z2 + st[3][3] * z3 + pr[3] * s;
            z0 = n0;
            z1 = n1;
            z2 = n2;
            z3 = n3;
            r[ui] = std::fabs(z2 - z0);
        }
        progress.Report(pass, stop, m);
    }
    return r;
}

// The IRI of each section (or of the whole profile without sections) of one set of slopes.
std::vector<double> SectionIri(const std::vector<double>& r, const RideQualityResults& results,
                               std::vector<RideSection>& rows, bool makeRows)
{
    const double factor = RoughnessFactor(results.method.units);
    const double s = results.method.sectionLength;
    std::vector<CompensatedSum> sums;
    std::vector<std::int64_t> counts;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const double t = results.SlopeStation(static_cast<std::int64_t>(i));
        const std::size_t q = s > 0.0 ? static_cast<std::size_t>(std::floor(t / s)) : 0;
        if (q >= sums.size()) {
            sums.resize(q + 1);
            counts.resize(q + 1, 0);
        }
        sums[q].Add(r[i]);
        ++counts[q];
    }
    std::vector<double> iri(sums.size());
    for (std::size_t q = 0; q < sums.size(); ++q) {
        iri[q] = counts[q] > 0 ? sums[q].Total() / static_cast<double>(counts[q]) * factor : kNaN;
        if (makeRows) {
            RideSection row;
            row.start = s > 0.0 ? static_cast<double>(q) * s : 0.0;
            row.end = s > 0.0 ? std::fmin((static_cast<double>(q) + 1.0) * s, results.ProfileLength())
                              : results.ProfileLength();
            row.slopes = counts[q];
            rows.push_back(row);
        }
    }
    return iri;
}

double OverallIri(const std::vector<double>& r, UnitSystem units)
{
    CompensatedSum sum;
    for (const double value : r) {
        sum.Add(value);
    }
    return sum.Total() / static_cast<double>(r.size()) * RoughnessFactor(units);
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
    if (method.sectionLength != 0.0 && !(method.sectionLength >= k * interval)) {
        return "The section length of " + text(method.sectionLength) + " " + unit +
               " is not a length of at least the slope base, " + text(k * interval) + " " + unit;
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

std::vector<double> RectifiedSlopes(std::span<const double> elevations, double interval, UnitSystem units,
                                    std::int32_t slopeBase)
{
    NullProgress quiet;
    PassProgress progress(quiet, 1);
    return SlopesWithProgress(elevations, interval, units, slopeBase, progress, 0);
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
    PassProgress passes(progress, results.twoPaths ? 3 : 1);
    const std::vector<double> rl = SlopesWithProgress(left, interval, method.units, results.slopeBase, passes, 0);
    const std::vector<double> leftIri = SectionIri(rl, results, results.sections, true);
    results.iriLeft = OverallIri(rl, method.units);
    results.iriRight = results.mri = results.hri = kNaN;
    for (std::size_t q = 0; q < results.sections.size(); ++q) {
        RideSection& row = results.sections[q];
        row.iriLeft = leftIri[q];
        row.iriRight = row.mri = row.hri = kNaN;
    }
    if (!results.twoPaths) {
        results.continuous = ContinuousIri(rl, {}, results);
    } else {
        const std::vector<double> rr = SlopesWithProgress(right, interval, method.units, results.slopeBase, passes, 1);
        std::vector<double> mean(left.size());
        for (std::size_t i = 0; i < mean.size(); ++i) {
            mean[i] = (left[i] + right[i]) / 2.0;
        }
        const std::vector<double> rh = SlopesWithProgress(mean, interval, method.units, results.slopeBase, passes, 2);
        std::vector<RideSection> unused;
        const std::vector<double> rightIri = SectionIri(rr, results, unused, false);
        const std::vector<double> hri = SectionIri(rh, results, unused, false);
        results.iriRight = OverallIri(rr, method.units);
        results.mri = (results.iriLeft + results.iriRight) / 2.0;
        results.hri = OverallIri(rh, method.units);
        for (std::size_t q = 0; q < results.sections.size(); ++q) {
            RideSection& row = results.sections[q];
            row.iriRight = rightIri[q];
            row.mri = (row.iriLeft + row.iriRight) / 2.0;
            row.hri = hri[q];
        }
        results.continuous = ContinuousIri(rl, rr, results);
    }
    if (method.localized) {
        results.areas = FindRoughAreas(results);
        results.percentLocalized = PercentOfLength(results.areas, results.ProfileLength());
    }
    progress.SetVisible(false);
    outcome.ok = true;
    return outcome;
}

} // namespace zlm
