#include "analysis/StraightedgeResults.h"

#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zlm {

namespace {

/** Share of `part` in `whole` in percent, single precision; 0 for an empty whole. */
float Percentage(std::int64_t part, std::int64_t whole)
{
    if (whole <= 0) {
        return 0.0f;
    }
    return static_cast<float>(100.0 * static_cast<double>(part) / static_cast<double>(whole));
}

/** The smallest double that shows above zero with four decimals, found with the formatter itself. */
double SmallestShownAmount()
{
    const auto shows = [](double value) { return FormatNumber(value, "##0.0000", '.') != "0.0000"; };
    double value = 0.00005;
    while (!shows(value)) {
        value = std::nextafter(value, 1.0);
    }
    while (shows(std::nextafter(value, 0.0))) {
        value = std::nextafter(value, 0.0);
    }
    return value;
}

/** Places every record in its section, in one pass; fills the rows' counts. */
void CountSections(const DeviationList& placements, float sectionLength, std::vector<SectionRow>& rows)
{
    const double s = static_cast<double>(sectionLength);
    const auto sectionCount = static_cast<std::int64_t>(rows.size());
    if (sectionCount == 0 || !(s > 0.0)) {
        return;
    }
    // The bounds exactly as a row compares them: (i - 1) * S <= Station < i * S,
    // each product in double from the single-precision S.
    const auto lower = [s](std::int64_t i) { return static_cast<double>(i - 1) * s; };
    for (const DeviationRecord& record : placements) {
        const double station = record.Station;
        if (!(station >= 0.0)) {
            continue; // before the first section, or NaN
        }
        const double estimate = std::floor(station / s) + 1.0;
        if (!(estimate <= static_cast<double>(sectionCount) + 1.0)) {
            continue; // well beyond the last section
        }
        // The quotient may be one off near a bound; the exact comparisons decide.
        auto i = static_cast<std::int64_t>(estimate);
        while (i > 1 && station < lower(i)) {
            --i;
        }
        while (i <= sectionCount && station >= lower(i + 1)) {
            ++i;
        }
        if (i < 1 || i > sectionCount || !(lower(i) <= station && station < lower(i + 1))) {
            continue;
        }
        SectionRow& row = rows[static_cast<std::size_t>(i - 1)];
        ++row.placements;
        if (record.AmountExceeded > 0.0) {
            ++row.exceeding;
        }
    }
}

std::vector<SectionRow> SectionRows(const DeviationList& placements, float dx, float sectionLength,
                                    std::int32_t pointCount, double stepDistance)
{
    const auto n = static_cast<std::int64_t>(placements.size());
    // Points per section, the quotient in single precision.
    const std::int32_t a = RoundToInt32(static_cast<double>(sectionLength / dx));
    // Points up to the start of the last placement, one step per placement.
    const std::int32_t t = RoundToInt32(stepDistance * static_cast<double>(n - 1) / static_cast<double>(dx));

    std::int64_t whole = 0;
    std::int64_t leftover = 0;
    // A section shorter than half a point (the Simulate command refuses it) gives
    // no row rather than dividing by zero.
    if (a >= 1) {
        whole = t / a;
        leftover = t - whole * a;
    }
    // At most one row per point of a 32-bit profile; the clamp only keeps the row
    // count representable in the grid.
    whole = std::clamp<std::int64_t>(whole, 0, std::numeric_limits<std::int32_t>::max() - 2);
    const std::int64_t sectionCount = whole + (leftover > 0 ? 1 : 0);

    std::vector<SectionRow> rows(static_cast<std::size_t>(sectionCount));
    const double s = static_cast<double>(sectionLength);
    const double step = static_cast<double>(dx);
    for (std::int64_t i = 1; i <= sectionCount; ++i) {
        SectionRow& row = rows[static_cast<std::size_t>(i - 1)];
        row.start = static_cast<double>(i - 1) * s;
        row.end = i <= whole ? static_cast<double>(i) * s - step : step * pointCount - step;
    }
    CountSections(placements, sectionLength, rows);
    for (SectionRow& row : rows) {
        row.percentExceeding = Percentage(row.exceeding, row.placements);
    }
    return rows;
}

} // namespace

float SingleTolerance(double typed)
{
    if (std::isnan(typed)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    if (std::fabs(typed) > static_cast<double>(std::numeric_limits<float>::max())) {
        return std::copysign(std::numeric_limits<float>::infinity(), static_cast<float>(typed > 0.0 ? 1 : -1));
    }
    return ToSingle(typed);
}

std::int32_t StraightedgePoints(const StraightedgeMethod& method, double interval)
{
    return RoundToInt32(static_cast<double>(ToSingle(method.baseLength)) / interval);
}

double StepDistance(const StraightedgeMethod& method, double interval)
{
    return method.continuous ? interval : method.step;
}

bool ShowsAsExceeding(double amountExceeded)
{
    static const double smallest = SmallestShownAmount();
    return amountExceeded >= smallest;
}

StraightedgeResults SummariseRun(DeviationList placements, const StraightedgeMethod& method, std::int32_t pointCount,
                                 double interval, float sectionLength)
{
    StraightedgeResults results;
    results.method = method;
    results.pointCount = pointCount;
    results.interval = interval;
    results.sectionLength = sectionLength;
    results.placements = std::move(placements);

    const auto n = static_cast<std::int64_t>(results.placements.size());
    if (results.HasSectionSummary()) {
        results.sections = SectionRows(results.placements, static_cast<float>(interval), sectionLength, pointCount,
                                       StepDistance(method, interval));
        results.exceedingCount =
            std::count_if(results.placements.begin(), results.placements.end(),
                          [](const DeviationRecord& record) { return record.AmountExceeded > 0.0; });
    } else {
        results.exceedingCount =
            std::count_if(results.placements.begin(), results.placements.end(),
                          [](const DeviationRecord& record) { return ShowsAsExceeding(record.AmountExceeded); });
    }
    results.overallPercentExceeding = Percentage(results.exceedingCount, n);
    return results;
}

} // namespace zlm
