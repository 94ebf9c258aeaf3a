#include "ride_quality/RideQuality.h"
#include "ride_quality/reference/RideReference.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace zlm::test {
namespace {

void ExpectClose(double got, double want, const char* what)
{
    if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(got)) << what;
        return;
    }
    EXPECT_LE(std::fabs(got - want), 1e-11 * std::fabs(want) + 1e-300) << what << ": " << got << " vs " << want;
}

// Random roads of many lengths, intervals, units and settings: the core agrees
// with the literal definitions in every section, window and area.
TEST(RideDifferentialTest, TheCoreAgreesWithTheLiteralDefinitions)
{
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int compared = 0;
    int areas = 0;
    for (int road = 0; road < 120; ++road) {
        const UnitSystem units = road % 2 == 0 ? UnitSystem::US : UnitSystem::SI;
        const double feet = units == UnitSystem::US ? 1.0 : 0.3048;
        const double intervals[] = {1.0 / 12.0, 0.25, 0.5, 1.0, 3.0, 0.0833333, 0.2069167};
        const double dx = intervals[road % 7] * feet;
        const auto n = static_cast<std::size_t>(200 + unit(random) * 3000);
        const double roughness = (0.002 + 0.02 * unit(random)) * feet;
        std::vector<double> left(n), right(road % 3 == 0 ? 0 : n);
        double walkL = 0.0, walkR = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            walkL += roughness * (unit(random) - 0.5);
            left[i] = walkL + (i % 97 < 5 ? 0.01 * feet : 0.0);
            if (!right.empty()) {
                walkR += roughness * (unit(random) - 0.5);
                right[i] = walkR;
            }
        }
        RideQualityMethod method = DefaultRideQualityMethod(units);
        method.localized = true;
        method.sectionLength = (road % 4 == 0) ? 0.0 : (20.0 + 200.0 * unit(random)) * feet;
        method.baseLength = (2.0 + 30.0 * unit(random)) * feet;
        if (!RideQualityRefusal(static_cast<std::int32_t>(n), dx, method).empty()) {
            continue;
        }
        NullProgress quiet;
        const RideQualityOutcome core = AnalyseRideQuality(left, right, dx, method, quiet);
        ASSERT_TRUE(core.ok) << core.refusal;
        const RideQualityResults& got = core.results;
        // A threshold between the windows' values, so that areas come and go.
        std::vector<double> sorted = got.continuous;
        std::sort(sorted.begin(), sorted.end());
        method.threshold = sorted[sorted.size() * 3 / 4] * (1.0 + 1e-9);
        const RideQualityResults mine = AnalyseRideQuality(left, right, dx, method, quiet).results;
        const RideQualityResults want = reference::LiteralRideQuality(left, right, dx, method);
        SCOPED_TRACE(road);
        ASSERT_EQ(mine.slopeBase, want.slopeBase);
        ExpectClose(mine.iriLeft, want.iriLeft, "IRI left");
        ExpectClose(mine.iriRight, want.iriRight, "IRI right");
        ExpectClose(mine.mri, want.mri, "MRI");
        ExpectClose(mine.hri, want.hri, "HRI");
        ASSERT_EQ(mine.sections.size(), want.sections.size());
        for (std::size_t q = 0; q < want.sections.size(); ++q) {
            EXPECT_EQ(mine.sections[q].start, want.sections[q].start);
            EXPECT_EQ(mine.sections[q].end, want.sections[q].end);
            ExpectClose(mine.sections[q].iriLeft, want.sections[q].iriLeft, "section left");
            ExpectClose(mine.sections[q].iriRight, want.sections[q].iriRight, "section right");
            ExpectClose(mine.sections[q].hri, want.sections[q].hri, "section HRI");
        }
        ASSERT_EQ(mine.continuous.size(), want.continuous.size());
        for (std::size_t j = 0; j < want.continuous.size(); ++j) {
            ExpectClose(mine.continuous[j], want.continuous[j], "continuous");
        }
        ASSERT_EQ(mine.areas.size(), want.areas.size());
        for (std::size_t a = 0; a < want.areas.size(); ++a) {
            EXPECT_EQ(mine.areas[a].start, want.areas[a].start);
            EXPECT_EQ(mine.areas[a].end, want.areas[a].end);
            EXPECT_EQ(mine.areas[a].peakAt, want.areas[a].peakAt);
            ExpectClose(mine.areas[a].peak, want.areas[a].peak, "peak");
        }
        ExpectClose(mine.percentLocalized, want.percentLocalized, "percent");
        ++compared;
        areas += static_cast<int>(want.areas.size());
    }
    EXPECT_GT(compared, 100);
    EXPECT_GT(areas, 200);
}

} // namespace
} // namespace zlm::test
