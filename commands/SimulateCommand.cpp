#include "commands/SimulateCommand.h"

#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"
#include "analysis/StraightedgeEngine.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <span>

namespace zlm {

namespace {

// The method every run uses: a 16-foot straightedge advanced 8 feet, a 0.25-inch criterion.
const StraightedgeMethod kMethod{};
// The finest sampling ZLM analyses: 16 ft over 32,768 points, about 0.15 mm apart.
constexpr std::int32_t kMostPointsPerStraightedge = 32768;
// The largest elevation analysed, in feet (either sign).
constexpr double kLargestElevationFeet = 1e9;

std::string Feet(double value)
{
    return FormatNumber(value, "0.00", '.');
}

/** An interval as read from the file, without padding zeros (0.2069167, 1e-09). */
std::string Interval(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", value);
    return text;
}

/** The reason the open profile cannot be analysed, or nothing when it can. */
std::optional<std::string> ProfileRefusal(const ElevationProfile& profile)
{
    const std::int32_t n = profile.pointCount;
    if (n <= 0) {
        return "No profile is open. Choose a profile with Browse before you simulate.";
    }
    if (profile.elevations.size() < static_cast<std::size_t>(n)) {
        return "The profile is incomplete: it declares " + std::to_string(n) + " points but holds " +
               std::to_string(profile.elevations.size()) + ". Open the profile again.";
    }
    const double dx = profile.interval;
    if (!std::isfinite(dx) || dx <= 0.0) {
        return "The profile's sample interval is not usable: it must be a number of feet greater than 0.";
    }
    // The engine needs a straightedge of at least 2 points: L = 16 / dx rounded, ties to even.
    const double pointsPerStraightedge = kMethod.baseLength / dx;
    // Profilers sample no closer than a fraction of a millimetre. Far finer
    // intervals make every placement search through tens of thousands of
    // candidate supports: the run would not finish in any useful time.
    if (pointsPerStraightedge > static_cast<double>(kMostPointsPerStraightedge)) {
        return "The profile's sample interval of " + Interval(dx) +
               " ft is too small: a 16 ft straightedge would span more than " +
               std::to_string(kMostPointsPerStraightedge) + " points. Use a profile sampled at least " +
               Interval(kMethod.baseLength / kMostPointsPerStraightedge) + " ft apart.";
    }
    const std::int32_t l = RoundToInt32(pointsPerStraightedge);
    if (l < 2) {
        return "The profile's sample interval of " + Interval(dx) +
               " ft is too large: a 16 ft straightedge needs points no more than " + Feet(kMethod.baseLength / 1.5) +
               " ft apart.";
    }
    if (n <= l) {
        const double length = static_cast<double>(n - 1) * dx;
        return "The profile is too short to simulate: it is " + Feet(length) + " ft long (" + std::to_string(n) +
               " points at " + Interval(dx) + " ft). At least 16 ft is needed for one placement of the straightedge.";
    }
    // No road lies a million miles up. Far beyond that, the straightedge's heights
    // leave single precision in the engine's clearance test and turn into 0: a
    // garbage result.
    for (std::int32_t i = 0; i < n; ++i) {
        const double z = profile.elevations[static_cast<std::size_t>(i)];
        if (!std::isfinite(z) || std::fabs(z) > kLargestElevationFeet) {
            return "The profile holds invalid elevations at point " + std::to_string(i + 1) +
                   " (counting from 1): every elevation must be a finite number of feet, no larger than "
                   "1,000,000,000 ft.";
        }
    }
    return std::nullopt;
}

std::optional<std::string> SectionRefusal(float sectionLength, double dx)
{
    if (!std::isfinite(sectionLength)) {
        return "The section length is not a usable number. Type a length in feet, or leave the box empty.";
    }
    if (sectionLength > 0.0f) {
        // FillSectionSummary counts a section as S / dx points, in single precision, rounded.
        const float pointsPerSection = sectionLength / ToSingle(dx);
        if (RoundToInt32(pointsPerSection) < 1) {
            return "The section length is too short: a section must hold at least one profile point (at least " +
                   Feet(dx / 2.0) + " ft at this profile's interval).";
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<double> CopyWorkingElevations(const ElevationProfile& profile)
{
    const auto n = static_cast<std::size_t>(std::max<std::int32_t>(profile.pointCount, 0));
    std::vector<double> working;
    working.reserve(n + 1);
    working.assign(profile.elevations.begin(),
                   profile.elevations.begin() + static_cast<std::ptrdiff_t>(std::min(n, profile.elevations.size())));
    working.resize(n + 1, 0.0);
    return working;
}

SimulationOutcome RunSimulation(SessionState& state, const std::string& sectionLengthText, ProgressSink& progress,
                                const std::function<void()>& handlePendingEvents, WorkingCopy workingCopy)
{
    // Everything is checked before anything changes, so a refusal leaves the state as it was.
    if (auto refusal = ProfileRefusal(state.profile)) {
        return {false, *refusal};
    }
    const float sectionLength = ParseSingle(TrimBlanks(sectionLengthText));
    if (auto refusal = SectionRefusal(sectionLength, state.profile.interval)) {
        return {false, *refusal};
    }

    // Held for the results, so that they describe the profile the engine ran on even
    // if a pending event opens another one meanwhile.
    const std::int32_t n = state.profile.pointCount;
    const double dx = state.profile.interval;

    if (workingCopy == WorkingCopy::TakeProfile) {
        // The readers leave room for the closing 0.0, so this moves nothing.
        state.workingElevations = std::move(state.profile.elevations);
        state.profile.elevations.clear();
        state.workingElevations.resize(static_cast<std::size_t>(n));
        state.workingElevations.push_back(0.0);
    } else {
        state.workingElevations = CopyWorkingElevations(state.profile);
    }

    // The length goes through single precision, as the engine has always received it.
    const double length = static_cast<double>(ToSingle(kMethod.baseLength));
    const auto advance = static_cast<float>(kMethod.step / dx);
    DeviationList placements;
    SimulateStraightedge(std::span<const double>(state.workingElevations), n, dx, advance, kMethod.tolerance, length,
                         placements, progress);

    state.results = SummariseRun(std::move(placements), kMethod, n, dx, sectionLength);
    if (handlePendingEvents) {
        handlePendingEvents();
    }
    return {true, {}};
}

} // namespace zlm
