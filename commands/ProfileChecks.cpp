#include "commands/ProfileChecks.h"

#include <cmath>
#include <cstddef>

namespace zlm {

namespace {

// The largest elevation analysed, in feet or metres (either sign).
constexpr double kLargestElevation = 1e9;

} // namespace

LengthWords WordsFor(UnitSystem units)
{
    if (units == UnitSystem::SI) {
        return {"m", "metres", "mm"};
    }
    return {"ft", "feet", "in"};
}

std::optional<std::string> OpenProfileRefusal(const ElevationProfile& profile, UnitSystem units)
{
    const std::int32_t n = profile.pointCount;
    if (n <= 0) {
        return "No profile is open. Choose a profile with Browse before you simulate.";
    }
    if (profile.elevations.size() < static_cast<std::size_t>(n)) {
        return "The profile is incomplete: it declares " + std::to_string(n) + " points but holds " +
               std::to_string(profile.elevations.size()) + ". Open the profile again.";
    }
    if (profile.units != units) {
        return "The profile was read in other units than the method's. Open the profile again.";
    }
    const double dx = profile.interval;
    if (!std::isfinite(dx) || dx <= 0.0) {
        return std::string("The profile's sample interval is not usable: it must be a number of ") +
               WordsFor(units).plural + " greater than 0.";
    }
    return std::nullopt;
}

std::optional<std::string> ElevationRefusal(const ElevationProfile& profile, UnitSystem units)
{
    // No road lies a million miles up. Far beyond that, the straightedge's heights
    // leave single precision in the engine's clearance test and turn into 0: a
    // garbage result.
    const LengthWords words = WordsFor(units);
    for (std::int32_t i = 0; i < profile.pointCount; ++i) {
        const double z = profile.elevations[static_cast<std::size_t>(i)];
        if (!std::isfinite(z) || std::fabs(z) > kLargestElevation) {
            return "The profile holds invalid elevations at point " + std::to_string(i + 1) +
                   " (counting from 1): every elevation must be a finite number of " + words.plural +
                   ", no larger than 1,000,000,000 " + words.symbol + ".";
        }
    }
    return std::nullopt;
}

} // namespace zlm
