#include "commands/SimulateCommand.h"

#include "analysis/CorrectionZones.h"
#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"
#include "analysis/StraightedgeEngine.h"
#include "commands/ProfileChecks.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <span>

namespace zlm {

namespace {

// The finest sampling ZLM analyses: a straightedge over 32,768 points (for 16 ft,
// about 0.15 mm apart).
constexpr std::int32_t kMostPointsPerStraightedge = 32768;

std::string Length(double value)
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

/** The reason the method cannot be used at all, or nothing when it can. */
std::optional<std::string> MethodRefusal(const StraightedgeMethod& method)
{
    const LengthWords words = WordsFor(method.units);
    const auto unusable = [](const std::string& what) {
        return what + " is not usable: it must be a number greater than 0.";
    };
    if (!std::isfinite(method.baseLength) || method.baseLength <= 0.0) {
        return unusable("The straightedge length of " + PlainDecimalText(method.baseLength) + " " + words.symbol);
    }
    if (!method.continuous && (!std::isfinite(method.step) || method.step <= 0.0)) {
        return unusable("The step of " + PlainDecimalText(method.step) + " " + words.symbol);
    }
    if (!std::isfinite(method.tolerance) || method.tolerance <= 0.0f) {
        return unusable("The tolerance of " + PlainDecimalText(method.tolerance) + " " + words.deviation);
    }
    return std::nullopt;
}

/** The reason the open profile cannot be analysed with the method, or nothing when it can. */
std::optional<std::string> ProfileRefusal(const ElevationProfile& profile, const StraightedgeMethod& method)
{
    if (auto refusal = OpenProfileRefusal(profile, method.units)) {
        return refusal;
    }
    const std::int32_t n = profile.pointCount;
    const LengthWords words = WordsFor(method.units);
    const std::string unit = std::string(" ") + words.symbol;
    const double dx = profile.interval;
    const std::string straightedge = "a " + PlainDecimalText(method.baseLength) + unit + " straightedge";
    // The engine needs a straightedge of at least 2 points: L = length / dx rounded, ties to even.
    const double length = static_cast<double>(ToSingle(method.baseLength));
    const double pointsPerStraightedge = length / dx;
    // Profilers sample no closer than a fraction of a millimetre. Far finer
    // intervals make every placement search through tens of thousands of
    // candidate supports: the run would not finish in any useful time.
    if (pointsPerStraightedge > static_cast<double>(kMostPointsPerStraightedge)) {
        return "The profile's sample interval of " + Interval(dx) + unit + " is too small: " + straightedge +
               " would span more than " + std::to_string(kMostPointsPerStraightedge) +
               " points. Use a profile sampled at least " + Interval(length / kMostPointsPerStraightedge) + unit +
               " apart.";
    }
    const std::int32_t l = RoundToInt32(pointsPerStraightedge);
    if (l < 2) {
        return "The profile's sample interval of " + Interval(dx) + unit + " is too large: " + straightedge +
               " needs points no more than " + Length(length / 1.5) + unit + " apart.";
    }
    // The straightedge moves by step / dx points, rounded from where it stands: an
    // advance of half a point or less would leave it where it is for ever.
    const auto advance = static_cast<float>(StepDistance(method, dx) / dx);
    if (!(advance > 0.5f)) {
        return "The step of " + PlainDecimalText(method.step) + unit +
               " would not move the straightedge along this profile, sampled every " + Interval(dx) + unit +
               ": use a step longer than half the interval, or roll it continuously.";
    }
    if (n <= l) {
        const double profileLength = static_cast<double>(n - 1) * dx;
        return "The profile is too short to simulate: it is " + Length(profileLength) + unit + " long (" +
               std::to_string(n) + " points at " + Interval(dx) + unit + "). At least " +
               PlainDecimalText(method.baseLength) + unit + " is needed for one placement of the straightedge.";
    }
    return ElevationRefusal(profile, method.units);
}

std::optional<std::string> SectionRefusal(float sectionLength, double dx, UnitSystem units)
{
    const LengthWords words = WordsFor(units);
    if (!std::isfinite(sectionLength)) {
        return std::string("The section length is not a usable number. Type a length in ") + words.plural +
               ", or leave the box empty.";
    }
    if (sectionLength > 0.0f) {
        // FillSectionSummary counts a section as S / dx points, in single precision, rounded.
        const float pointsPerSection = sectionLength / ToSingle(dx);
        if (RoundToInt32(pointsPerSection) < 1) {
            return "The section length is too short: a section must hold at least one profile point (at least " +
                   Length(dx / 2.0) + " " + words.symbol + " at this profile's interval).";
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
    const StraightedgeMethod method = state.straightedge.method;
    if (auto refusal = MethodRefusal(method)) {
        return {false, *refusal};
    }
    if (auto refusal = ProfileRefusal(state.profile, method)) {
        return {false, *refusal};
    }
    const float sectionLength = ParseSingle(TrimBlanks(sectionLengthText));
    if (auto refusal = SectionRefusal(sectionLength, state.profile.interval, method.units)) {
        return {false, *refusal};
    }

    // Held for the results, so that they describe the profile the engine ran on even
    // if a pending event opens another one meanwhile.
    const std::int32_t n = state.profile.pointCount;
    const double dx = state.profile.interval;

    // The run works on its own copy, so that a cancelled run leaves the last
    // run's working elevations (which its results refer to) in place.
    std::vector<double> working;
    if (workingCopy == WorkingCopy::TakeProfile) {
        // The readers leave room for the closing 0.0, so this moves nothing.
        working = std::move(state.profile.elevations);
        state.profile.elevations.clear();
        working.resize(static_cast<std::size_t>(n));
        working.push_back(0.0);
    } else {
        working = CopyWorkingElevations(state.profile);
    }

    // The length goes through single precision, as the engine has always received it.
    const double length = static_cast<double>(ToSingle(method.baseLength));
    const auto advance = static_cast<float>(StepDistance(method, dx) / dx);
    DeviationList placements;
    try {
        SimulateStraightedge(std::span<const double>(working), n, dx, advance, method.tolerance, length, placements,
                             progress, DeviationPerLength(method.units));
    } catch (const RunCancelled&) {
        if (workingCopy == WorkingCopy::TakeProfile) {
            working.pop_back();
            state.profile.elevations = std::move(working);
        }
        return {false, {}, true};
    }

    state.workingElevations = std::move(working);
    StraightedgeResults& results = state.straightedge.results;
    results = SummariseRun(std::move(placements), method, n, dx, sectionLength);
    results.zones = FindCorrectionZones(results, state.workingElevations);
    if (handlePendingEvents) {
        handlePendingEvents();
    }
    return {true, {}};
}

} // namespace zlm
