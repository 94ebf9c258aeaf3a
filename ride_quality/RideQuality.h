#pragma once

#include "analysis/ProgressSink.h"
#include "analysis/UnitSystem.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zlm {

/** How a ride-quality analysis is asked: sections, and the localized-roughness search. */
struct RideQualityMethod {
    double sectionLength = 0.0; ///< ft or m; 0 gives one row for the whole profile
    bool localized = false;     ///< search for localized roughness (the continuous IRI is computed either way)
    double baseLength = 25.0;   ///< ft or m: the continuous IRI's base length
    double threshold = 125.0;   ///< in/mi or m/km: a window at or above it is rough
    UnitSystem units = UnitSystem::US;

    bool operator==(const RideQualityMethod&) const = default;
};

/** The defaults of a unit system: no sections, 25 ft / 7.62 m base, 125 in/mi / 2.0 m/km threshold. */
RideQualityMethod DefaultRideQualityMethod(UnitSystem units);

/** The section length a window offers first: 528 ft (0.1 mile) or 100 m. */
double DefaultRideSectionLength(UnitSystem units);

/** One row of the section table. For one profile only `iriLeft` is set; the others are NaN. */
struct RideSection {
    double start = 0.0; ///< q S
    double end = 0.0;   ///< min((q + 1) S, (N - 1) dx)
    double iriLeft = 0.0;
    double iriRight = 0.0;
    double mri = 0.0;
    double hri = 0.0;
    std::int64_t slopes = 0; ///< how many r_i the section holds
};

/** One localized-roughness area: the union of touching rough windows. */
struct RoughArea {
    double start = 0.0;
    double end = 0.0;
    double length = 0.0;
    double peak = 0.0;   ///< the largest continuous value of its windows (the first on a tie)
    double peakAt = 0.0; ///< the centre of that window
};

/**
 * Everything a ride-quality run produced, as numbers. IRI values are in in/mi
 * (US) or m/km (SI), stations in ft or m; nothing is rounded.
 */
struct RideQualityResults {
    RideQualityMethod method;
    bool twoPaths = false;
    std::int32_t pointCount = 0;   ///< N of each path
    double interval = 0.0;         ///< dx, ft or m
    std::int32_t slopeBase = 0;    ///< k, intervals
    std::int32_t windowLength = 0; ///< w, slopes per continuous window
    double iriLeft = 0.0;          ///< the one IRI for one profile
    double iriRight = 0.0;         ///< NaN for one profile
    double mri = 0.0;              ///< NaN for one profile
    double hri = 0.0;              ///< NaN for one profile
    std::vector<RideSection> sections;
    /** C_j for window j = 0 … M - w (continuous MRI for two paths); empty when M < w. */
    std::vector<double> continuous;
    std::vector<RoughArea> areas;  ///< only when method.localized
    double percentLocalized = 0.0; ///< the areas' length over (N - 1) dx, in percent

    /** Station of slope i: (i + k / 2) dx. */
    double SlopeStation(std::int64_t i) const;
    /** Centre of continuous window j: (t_j + t_(j+w-1)) / 2. */
    double WindowCentre(std::int64_t j) const;
    /** (N - 1) dx. */
    double ProfileLength() const { return (pointCount - 1) * interval; }
};

/**
 * Why profiles of `pointCount` points at `interval` (ft or m per method.units)
 * cannot be analysed with `method`, as the text a window shows and zlm-batch
 * prints; empty when they can. Names the value and the limit: an interval not
 * above 0 or above 1 m (3.28 ft), too few points for one slope, a section
 * length below the slope base, a base length or threshold not finite or not
 * above 0, and with localized roughness a profile shorter than the base length.
 */
std::string RideQualityRefusal(std::int32_t pointCount, double interval, const RideQualityMethod& method);

/**
 * Why a section length cannot be used on profiles at `interval`: not a length
 * of at least the slope base k dx; empty when it can. A length of 0 is refused
 * too (RideQualityMethod reads 0 as "no sections"; a caller that was given 0
 * asks here).
 */
std::string RideSectionRefusal(double sectionLength, double interval, UnitSystem units);

/** Outcome of a ride-quality run: results, or the refusal text. */
struct RideQualityOutcome {
    bool ok = false;
    std::string refusal;
    RideQualityResults results;
};

/**
 * Analyses one profile (`right` empty) or two wheel paths of equal length: IRI
 * of each, MRI and HRI, per section and overall, the continuous IRI and, when
 * asked, the localized-roughness areas. Elevations in ft (US) or m (SI) at
 * `interval`. Reports progress to `progress` and stops with RunCancelled when
 * it asks.
 */
RideQualityOutcome AnalyseRideQuality(std::span<const double> left, std::span<const double> right, double interval,
                                      const RideQualityMethod& method, ProgressSink& progress);

/**
 * The rectified slopes r_i of one profile (elevations in ft or m, `interval` in
 * the same unit), in m/m, by the quarter car, with slope base `slopeBase`
 * intervals.
 */
std::vector<double> RectifiedSlopes(std::span<const double> elevations, double interval, UnitSystem units,
                                    std::int32_t slopeBase);

/** The slope base k = max(1, round(0.25 m / dx)) for an interval in ft or m. */
std::int32_t SlopeBaseFor(double interval, UnitSystem units);

} // namespace zlm
