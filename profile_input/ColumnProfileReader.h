#pragma once

#include "profile_input/ElevationProfile.h"

#include <string>

namespace zlm {

/** Why CheckColumnProfile refused a file. */
enum class ColumnCheckFailure { None, NotAFile, MetricProfile, NotAProfile };

/** Outcome of CheckColumnProfile; kind and message are set only when refused. */
struct ColumnCheckResult {
    bool accepted = false;
    ColumnCheckFailure kind = ColumnCheckFailure::None;
    std::string message;
};

/**
 * Decides whether a column-text (".dat") file is a usable profile before anything
 * changes: "Not a file" (no directory separator in the path), "Please change to
 * SI mode to use SI format profiles." (line 4 begins with "Metric", a profile in
 * metres, refused in US units only), or
 * "The file you selected is not a valid Rondel format profile." (interval 0,
 * a count that is no number or rounds to 0 ("2.5" counts as 2, rounded half to
 * even), negative interval or count, first data line out of column, file
 * unreadable or too short).
 */
ColumnCheckResult CheckColumnProfile(const std::string& path, UnitSystem units = UnitSystem::US);

/** Outcome of ReadColumnProfile: the profile and title only when ok. */
struct ColumnReadResult {
    bool ok = false;
    std::string message; ///< for the "File Error!" box when not ok
    ElevationProfile profile;
    std::string title;
};

/**
 * Reads a column-text profile that CheckColumnProfile accepted. All or nothing:
 * a header failure gives "File not found or invalid (" + path + ")."; a file
 * with fewer data lines than its point count is refused too. In SI units the
 * profile is in metres: a profile in feet is converted with 0.3048 m per foot.
 */
ColumnReadResult ReadColumnProfile(const std::string& path, UnitSystem units = UnitSystem::US);

} // namespace zlm
