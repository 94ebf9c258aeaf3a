#pragma once

#include "analysis/UnitSystem.h"
#include "profile_input/ElevationProfile.h"

#include <optional>
#include <string>

namespace zlm {

/** The names a message uses for the lengths of a unit system. */
struct LengthWords {
    const char* symbol;    ///< "ft"
    const char* plural;    ///< "feet"
    const char* deviation; ///< "in"
};

LengthWords WordsFor(UnitSystem units);

/**
 * Why the open profile cannot be analysed at all, whatever the analysis, or
 * nothing: no profile open, fewer elevations than points, a profile read in
 * other units than `units`, a sample interval that is not a number above 0.
 * Each analysis adds its own checks after these.
 */
std::optional<std::string> OpenProfileRefusal(const ElevationProfile& profile, UnitSystem units);

/**
 * Why the profile's elevations cannot be analysed, or nothing: one that is not
 * finite or lies beyond 1,000,000,000 ft or m, named by its point (from 1).
 */
std::optional<std::string> ElevationRefusal(const ElevationProfile& profile, UnitSystem units);

} // namespace zlm
