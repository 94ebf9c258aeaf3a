#pragma once

#include "analysis/CorrectionZone.h"
#include "analysis/DeviationRecord.h"
#include "analysis/UnitSystem.h"

#include <cstdint>
#include <vector>

namespace zlm {

/** The straightedge method of a run: its length, how far it moves, and the criterion. */
struct StraightedgeMethod {
    double baseLength = 16.0; ///< feet (US) or metres (SI)
    double step = 8.0;        ///< feet or metres the straightedge moves between placements
    bool continuous = false;  ///< the straightedge moves one sample point at a time; `step` is unused
    float tolerance = 0.25f;  ///< inches or millimetres: a placement exceeds when its gap is above it
    UnitSystem units = UnitSystem::US;

    bool operator==(const StraightedgeMethod&) const = default;
};

/**
 * A tolerance as typed, in single precision as the engine compares it; a value
 * beyond single precision keeps its sign as an infinity and NaN stays NaN, so
 * that the refusal can name it.
 */
float SingleTolerance(double typed);

/**
 * The number of sample intervals the straightedge spans on a profile sampled every
 * `interval`: the base length through single precision, divided by the interval,
 * rounded half to even (16 ft at 1 ft gives 16).
 */
std::int32_t StraightedgePoints(const StraightedgeMethod& method, double interval);

/**
 * The distance the straightedge moves between placements, as a double: the step,
 * or the interval itself when it rolls continuously.
 */
double StepDistance(const StraightedgeMethod& method, double interval);

/** One row of the section summary: the placements that start inside one section of road. */
struct SectionRow {
    double start = 0.0;            ///< feet: (i - 1) * S
    double end = 0.0;              ///< feet: i * S - dx, or the last profile point for the last, shorter section
    std::int64_t placements = 0;   ///< placements whose station lies in [start, i * S)
    std::int64_t exceeding = 0;    ///< of those, the ones whose amount exceeded is above 0
    float percentExceeding = 0.0f; ///< percent, single precision; 0 for a section without placements
};

/**
 * Everything one run produced, as plain numbers: what the table, the summary
 * file, the graph and zlm-batch show. Nothing is read back from display text.
 */
struct StraightedgeResults {
    StraightedgeMethod method;
    std::int32_t pointCount = 0;      ///< N of the profile analysed
    double interval = 0.0;            ///< dx of the profile analysed, feet or metres
    float sectionLength = 0.0f;       ///< feet; 0 (or less) when the run listed placements
    DeviationList placements;         ///< one record per placement, in station order
    std::vector<SectionRow> sections; ///< the section summary's rows, when sectionLength > 0
    /**
     * The exceeding placements behind the overall percentage. A placement list
     * counts the amounts that show above zero with four decimals; a section
     * summary counts every amount above zero, so an amount below 0.00005 in (a
     * yellow row that reads 0.0000) counts there but not in the list. Both are
     * the program's long-standing figures and stay as they are.
     */
    std::int64_t exceedingCount = 0;
    float overallPercentExceeding = 0.0f; ///< exceedingCount / placements in percent, single precision
    /**
     * The stretches to correct (FindCorrectionZones on the run's working
     * elevations), found once when the run ends, for every view, list and report.
     */
    CorrectionSummary zones;

    /** True when the run asked for the section summary instead of the placement list. */
    bool HasSectionSummary() const { return sectionLength > 0.0f; }
};

/**
 * True when an amount exceeded shows above zero with four decimals ("##0.0000"):
 * the placement list's rule for an exceeding placement. Exactly the test of the
 * shown text, without formatting it.
 */
bool ShowsAsExceeding(double amountExceeded);

/**
 * Builds the results of a run from the engine's placements: the exceeding count
 * and overall percentage, and, for a section length above 0, the section rows.
 * `interval` is the profile's dx; the section arithmetic uses it in single
 * precision: a = S / dx rounded (points per section) and T = step (n - 1) / dx
 * (points up to the last placement's start) give T / a whole sections and one
 * shorter section for a remainder. A section length below half an interval
 * gives no section row.
 */
StraightedgeResults SummariseRun(DeviationList placements, const StraightedgeMethod& method, std::int32_t pointCount,
                                 double interval, float sectionLength);

} // namespace zlm
