// Holds the production straightedge engine to the literal reference transcription
// on thousands of generated profiles: every double of every record must be
// bit-identical, and the supports the same, whatever shortcut the engine takes.
#include "analysis/StraightedgeEngine.h"
#include "analysis/reference/ProfileGenerators.h"
#include "analysis/reference/ReferenceEngine.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace zlm {
namespace {

using testing::AllProfileShapes;
using testing::GenerateProfile;
using testing::ProfileShape;
using testing::ShapeName;

bool SameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

/** A method as the engine receives it: length, step and threshold in the run's units. */
struct EngineMethod {
    double length = 16.0;
    double step = 8.0;
    float threshold = 0.25f;
    double deviationPerLength = 12.0;
};

// Runs both engines and returns a description of the first difference, or "".
std::string Compare(const std::vector<double>& profile, double dx, const EngineMethod& method = {})
{
    std::vector<double> working = profile;
    working.push_back(0.0);
    const auto n = static_cast<std::int32_t>(profile.size());
    const float advance = static_cast<float>(method.step / dx);
    NullProgress none;
    DeviationList expected;
    DeviationList actual;
    reference::SimulateStraightedgeLiteral(working, n, dx, advance, method.threshold, method.length, expected, none,
                                           method.deviationPerLength);
    SimulateStraightedge(working, n, dx, advance, method.threshold, method.length, actual, none,
                         method.deviationPerLength);
    std::ostringstream why;
    if (expected.size() != actual.size()) {
        why << "placements: reference " << expected.size() << ", engine " << actual.size();
        return why.str();
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& e = expected[i];
        const auto& a = actual[i];
        if (!SameBits(e.Station, a.Station) || !SameBits(e.MaxDeviation, a.MaxDeviation) ||
            !SameBits(e.AmountExceeded, a.AmountExceeded) || e.LeftSupport != a.LeftSupport ||
            e.RightSupport != a.RightSupport) {
            why.precision(17);
            why << "placement " << i << ": reference (" << e.Station << ", " << e.MaxDeviation << ", "
                << e.AmountExceeded << ", supports " << e.LeftSupport << " " << e.RightSupport << "), engine ("
                << a.Station << ", " << a.MaxDeviation << ", " << a.AmountExceeded << ", supports " << a.LeftSupport
                << " " << a.RightSupport << ")";
            return why.str();
        }
    }
    return {};
}

struct DifferentialCase {
    double dx;
    int profiles;
};

class EngineDifferential : public ::testing::TestWithParam<DifferentialCase> {};

TEST_P(EngineDifferential, MatchesLiteralReferenceBitForBit)
{
    const auto c = GetParam();
    const int L = static_cast<int>(std::nearbyint(16.0 / c.dx));
    const int A = static_cast<int>(std::ceil(8.0 / c.dx));
    std::mt19937_64 rng(static_cast<std::uint64_t>(c.dx * 1e6) + 17);
    const auto shapes = AllProfileShapes();
    const double bases[] = {0.0, 1.0, 123.456, 2500.0, -40.0};
    for (int k = 0; k < c.profiles; ++k) {
        const auto shape = shapes[static_cast<std::size_t>(k) % shapes.size()];
        const int placements = 1 + static_cast<int>(rng() % 3);
        const int points = L + 1 + (placements - 1) * A + static_cast<int>(rng() % 5);
        const double base = bases[rng() % std::size(bases)];
        const auto seed = rng();
        const auto profile = GenerateProfile(shape, points, c.dx, seed, base);
        const auto difference = Compare(profile, c.dx);
        ASSERT_EQ(difference, "") << ShapeName(shape) << " profile, seed " << seed << ", base " << base << ", "
                                  << points << " points at dx " << c.dx;
    }
}

// 10,100 profiles in all; the finer intervals cost the literal reference the most.
INSTANTIATE_TEST_SUITE_P(Intervals, EngineDifferential,
                         ::testing::Values(DifferentialCase{0.25, 2500}, DifferentialCase{0.3, 2000},
                                           DifferentialCase{0.5, 2000}, DifferentialCase{1.0 / 12.0, 600},
                                           DifferentialCase{0.1, 1000}, DifferentialCase{1.0, 2000}));

TEST(EngineDifferentialMethods, AnyLengthStepAndUnitsMatchTheLiteralReference)
{
    // Straightedges of 2 to 200 intervals, odd and even, moved from one point at
    // a time (continuous rolling) up to their full length, with fractional
    // steps; US deviations (x 12, inches) and SI ones (x 1000, millimetres).
    std::mt19937_64 rng(20261209);
    const auto shapes = AllProfileShapes();
    int checked = 0;
    for (const int L : {2, 3, 4, 5, 7, 8, 12, 13, 31, 40, 64, 97, 120, 161, 200}) {
        const double dx = 0.25;
        for (const double stepPoints : {1.0, 1.5, 2.0, 0.5 * L, 0.75 * L + 0.3, static_cast<double>(L)}) {
            for (int variant = 0; variant < 12; ++variant) {
                const bool si = variant % 2 == 1;
                const auto shape = shapes[static_cast<std::size_t>(checked) % shapes.size()];
                const EngineMethod method{static_cast<double>(L) * dx, stepPoints * dx, si ? 3.0f : 0.125f,
                                          si ? 1000.0 : 12.0};
                const int placements = L > 100 ? 4 : 12;
                const int points =
                    L + 1 + static_cast<int>((placements - 1) * std::ceil(stepPoints)) + static_cast<int>(rng() % 3);
                const auto seed = rng();
                const auto profile = GenerateProfile(shape, points, dx, seed, si ? 150.0 : 500.0);
                ASSERT_EQ(Compare(profile, dx, method), "") << ShapeName(shape) << " L " << L << " step " << stepPoints
                                                            << (si ? " SI" : " US") << " seed " << seed;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 15 * 6 * 12);
}

TEST(EngineDifferentialTargeted, OddLengthsWithBothParitiesOfStart)
{
    // dx values with odd L (16 / dx rounds to an odd number) and a fractional
    // advance, so that placements start at even and odd s.
    for (double dx : {16.0 / 53.0, 16.0 / 41.0, 16.0 / 33.0, 0.3, 16.0 / 7.0, 16.0 / 3.0}) {
        for (auto shape : AllProfileShapes()) {
            for (std::uint64_t seed = 1; seed <= 6; ++seed) {
                const int L = static_cast<int>(std::nearbyint(16.0 / dx));
                const auto profile = GenerateProfile(shape, 4 * L + 3, dx, seed * 7919, 50.0);
                ASSERT_EQ(Compare(profile, dx), "") << ShapeName(shape) << " dx " << dx << " seed " << seed;
            }
        }
    }
}

TEST(EngineDifferentialTargeted, LongProfilesSplitAcrossThreadsStayInOrder)
{
    // Enough placements for the engine to share the work between two threads.
    for (auto shape : AllProfileShapes()) {
        for (double dx : {1.0, 0.5}) {
            const auto profile = GenerateProfile(shape, static_cast<std::int32_t>(900.0 * 8.0 / dx), dx, 4242, 300.0);
            ASSERT_EQ(Compare(profile, dx), "") << ShapeName(shape) << " dx " << dx;
        }
    }
}

TEST(EngineDifferentialTargeted, ContinuousRollingFollowsTheProfileAcrossBlocks)
{
    // The straightedge moved one point at a time over enough points for many
    // blocks on both threads, on every shape and on profiles whose upper chain
    // changes abruptly part way: a cliff of a thousand feet up and back down, a
    // single spike beyond the fast magnitudes (the placements over it take the
    // literal search, those after it resume), and a NaN.
    const double dx = 0.25;
    for (const int L : {13, 48, 120}) {
        const EngineMethod method{static_cast<double>(L) * dx, dx, 0.125f, 12.0};
        for (auto shape : AllProfileShapes()) {
            const auto profile = GenerateProfile(shape, 700 + 2 * L, dx, 1000 + static_cast<std::uint64_t>(L), 80.0);
            auto cliff = profile;
            for (std::size_t i = cliff.size() / 3; i < 2 * cliff.size() / 3; ++i)
                cliff[i] += 1000.0;
            auto spiked = profile;
            spiked[spiked.size() / 2] = -4e31;
            auto gap = profile;
            gap[gap.size() / 4] = std::nan("");
            ASSERT_EQ(Compare(profile, dx, method), "") << ShapeName(shape) << " L " << L;
            ASSERT_EQ(Compare(cliff, dx, method), "") << ShapeName(shape) << " L " << L << " cliff";
            ASSERT_EQ(Compare(spiked, dx, method), "") << ShapeName(shape) << " L " << L << " spiked";
            ASSERT_EQ(Compare(gap, dx, method), "") << ShapeName(shape) << " L " << L << " NaN";
        }
    }
}

TEST(EngineDifferentialTargeted, HugeElevationsTakeTheLiteralSearch)
{
    // Elevations beyond the magnitudes the fast search reasons about send
    // placements to the literal search: scaled whole profiles, and a single
    // spike that sends only the placements over it there.
    for (auto shape : AllProfileShapes()) {
        for (double dx : {1.0, 0.25}) {
            auto profile = GenerateProfile(shape, static_cast<std::int32_t>(96.0 / dx), dx, 99, 10.0);
            auto spiked = profile;
            spiked[spiked.size() / 2] = 3e31;
            for (auto& y : profile)
                y *= 1e32;
            ASSERT_EQ(Compare(profile, dx), "") << ShapeName(shape) << " dx " << dx << " scaled";
            ASSERT_EQ(Compare(spiked, dx), "") << ShapeName(shape) << " dx " << dx << " spiked";
        }
    }
}

} // namespace
} // namespace zlm
