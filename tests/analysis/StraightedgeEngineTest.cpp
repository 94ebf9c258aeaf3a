#include "analysis/StraightedgeEngine.h"
#include "analysis/StraightedgeResults.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace zlm {
namespace {

// Records every progress call so the order and the values can be checked.
class RecordingProgress : public ProgressSink {
public:
    std::vector<std::string> calls;
    std::vector<int> values;
    void SetTextVisible(bool v) override { calls.push_back(v ? "text:on" : "text:off"); }
    void SetVisible(bool v) override { calls.push_back(v ? "show" : "hide"); }
    void SetValue(std::int16_t v) override
    {
        calls.push_back("value");
        values.push_back(v);
    }
    void Refresh() override { calls.push_back("refresh"); }
};

DeviationList RunEngine(const std::vector<double>& elevations, double dx, ProgressSink* sink = nullptr)
{
    std::vector<double> working = elevations;
    working.push_back(0.0);
    NullProgress none;
    DeviationList out;
    SimulateStraightedge(working, static_cast<std::int32_t>(elevations.size()), dx, static_cast<float>(8.0 / dx), 0.25f,
                         16.0, out, sink ? *sink : none, DeviationPerLength(UnitSystem::US));
    return out;
}

std::vector<double> Level(std::size_t points, double height = 0.0)
{
    return std::vector<double>(points, height);
}

TEST(StraightedgeEngine, PlacementsAdvanceEightFeetAtQuarterFoot)
{
    // dx 0.25: L = 64, A = 32; 129 points hold three placements.
    const auto out = RunEngine(Level(129), 0.25);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].Station, 0.0);
    EXPECT_EQ(out[1].Station, 8.0);
    EXPECT_EQ(out[2].Station, 16.0);
}

TEST(StraightedgeEngine, AdvanceKeptInSinglePrecisionAtPointThree)
{
    // dx 0.3: L = 53; A = 8 / 0.3 as a float; s runs 0, 27, 54, 81.
    const auto out = RunEngine(Level(81 + 53 + 1), 0.3);
    ASSERT_EQ(out.size(), 4u);
    const int expected[] = {0, 27, 54, 81};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(out[i].Station, expected[i] * 0.3) << "placement " << i;
}

TEST(StraightedgeEngine, ProfileMustHoldMoreThanOneStraightedge)
{
    EXPECT_EQ(RunEngine(Level(65), 0.25).size(), 1u); // exactly L + 1 points
    EXPECT_TRUE(RunEngine(Level(64), 0.25).empty());  // L points
    EXPECT_TRUE(RunEngine(Level(0), 0.25).empty());
}

TEST(StraightedgeEngine, LevelGroundHasNoDeviation)
{
    for (double dx : {0.25, 0.3, 0.5, 1.0 / 12.0, 1.0}) {
        for (const auto& r : RunEngine(Level(400, 123.456), dx)) {
            EXPECT_EQ(r.MaxDeviation, 0.0) << "dx " << dx;
            EXPECT_EQ(r.AmountExceeded, 0.0) << "dx " << dx;
        }
    }
}

// On level ground the order the sort leaves among equal elevations picks the
// supports: a dip between them is measured, a dip outside them is not.
struct LevelSupportCase {
    double dx;
    int firstSupport; // offset from s
    int secondSupport;
};

class LevelGroundSupports : public ::testing::TestWithParam<LevelSupportCase> {};

TEST_P(LevelGroundSupports, DipsBetweenSupportsAreMeasuredOthersAreNot)
{
    const auto c = GetParam();
    const int L = static_cast<int>(std::nearbyint(16.0 / c.dx));
    const auto level = RunEngine(Level(L + 1), c.dx);
    ASSERT_EQ(level.size(), 1u);
    EXPECT_EQ(level[0].LeftSupport, c.firstSupport);
    EXPECT_EQ(level[0].RightSupport, c.secondSupport);
    const double h = 0.01;
    for (int at = 1; at < L; ++at) {
        auto y = Level(L + 1);
        y[at] = -h;
        const auto out = RunEngine(y, c.dx);
        ASSERT_EQ(out.size(), 1u);
        if (at == c.firstSupport || at == c.secondSupport)
            continue; // lowering a support changes the order, and so the supports
        const bool inside = at > c.firstSupport && at < c.secondSupport;
        if (inside)
            EXPECT_EQ(out[0].MaxDeviation, 12.0 * h) << "dip at s+" << at;
        else
            EXPECT_EQ(out[0].MaxDeviation, 0.0) << "dip at s+" << at;
        // The dip reorders the equal points, and may move the supports, but the
        // reported ones are those the gap was measured under.
        EXPECT_EQ(out[0].LeftSupport < at && at < out[0].RightSupport, inside) << "dip at s+" << at;
    }
}

INSTANTIATE_TEST_SUITE_P(StraightedgeEngine, LevelGroundSupports,
                         ::testing::Values(LevelSupportCase{0.25, 10, 54}, LevelSupportCase{0.5, 5, 27},
                                           LevelSupportCase{1.0, 2, 14}));

TEST(StraightedgeEngine, HighestMidpointReportsNothingEvenOverADip)
{
    // Even L: a midpoint above every candidate ends the placement at 0.
    auto y = Level(65);
    y[32] = 0.5;  // the midpoint of the only placement
    y[40] = -0.2; // a dip that the straightedge would otherwise bridge
    const auto out = RunEngine(y, 0.25);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].MaxDeviation, 0.0);
}

TEST(StraightedgeEngine, GapIsMeasuredUnderASlopedStraightedge)
{
    // A rising grade with one dip: the highest candidates are the left half's last
    // point (31) and the end (64), so the straightedge rests on the grade there
    // and measures a dip between them, not one before point 31.
    std::vector<double> y(65);
    for (std::size_t i = 0; i < y.size(); ++i)
        y[i] = 100.0 + 0.01 * static_cast<double>(i);
    y[45] -= 0.03;
    const auto out = RunEngine(y, 0.25);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_NEAR(out[0].MaxDeviation, 0.36, 1e-9);
    EXPECT_NEAR(out[0].AmountExceeded, 0.11, 1e-9);
    EXPECT_EQ(out[0].LeftSupport, 31);
    EXPECT_EQ(out[0].RightSupport, 64);
}

TEST(StraightedgeEngine, SupportsAreThePointsTheStraightedgeRestsOn)
{
    // dx 1: L = 16, placements start at 0, 8, 16, 24 with midpoints 8, 16, 24, 32.
    // Level ground with bumps at 3, 30 and 37 and a crest at 16; the crest is the
    // midpoint of the second placement and stands above all its candidates, so
    // that placement has no gap and no supports. The others rest on the highest
    // point of each half, as absolute point indices.
    auto y = Level(41);
    y[3] = y[30] = y[37] = 0.02;
    y[16] = 0.1;
    y[34] = -0.03; // a dip under the last placement's straightedge
    const auto out = RunEngine(y, 1.0);
    ASSERT_EQ(out.size(), 4u);
    const std::pair<int, int> expected[] = {{3, 16}, {-1, -1}, {16, 30}, {30, 37}};
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i].LeftSupport, expected[i].first) << "placement " << i;
        EXPECT_EQ(out[i].RightSupport, expected[i].second) << "placement " << i;
    }
    EXPECT_EQ(out[1].MaxDeviation, 0.0);
    EXPECT_NEAR(out[3].MaxDeviation, 0.6, 1e-12);

    // A spike at the midpoint that no pair of candidates clears: pairs are tried,
    // none carries, and the placement reports no gap and no supports.
    y = Level(17);
    y[8] = y[9] = 0.5;
    const auto spiked = RunEngine(y, 1.0);
    ASSERT_EQ(spiked.size(), 1u);
    EXPECT_EQ(spiked[0].MaxDeviation, 0.0);
    EXPECT_EQ(spiked[0].LeftSupport, -1);
    EXPECT_EQ(spiked[0].RightSupport, -1);
}

TEST(StraightedgeEngine, ThresholdIsComparedInSinglePrecision)
{
    // A gap whose double lies a hair above 0.25 in but whose single is 0.25 does not exceed.
    const double hairAbove = (0.25 + 1e-12) / 12.0;
    auto y = Level(65);
    y[20] = -hairAbove;
    auto out = RunEngine(y, 0.25);
    ASSERT_EQ(out.size(), 1u);
    ASSERT_GT(out[0].MaxDeviation, 0.25);
    EXPECT_EQ(static_cast<float>(out[0].MaxDeviation), 0.25f);
    EXPECT_EQ(out[0].AmountExceeded, 0.0);

    // Clearly above: the excess is computed in double precision.
    y[20] = -0.3 / 12.0;
    out = RunEngine(y, 0.25);
    EXPECT_EQ(out[0].AmountExceeded, out[0].MaxDeviation - 0.25);
    EXPECT_GT(out[0].AmountExceeded, 0.0);
}

TEST(StraightedgeEngine, ProgressIsShownInOrderAndStaysBelowHundred)
{
    RecordingProgress progress;
    const auto out = RunEngine(Level(200), 0.25, &progress);
    ASSERT_EQ(out.size(), 5u); // s = 0, 32, 64, 96, 128 (e = 192 <= 199)
    ASSERT_GE(progress.calls.size(), 3u);
    EXPECT_EQ(progress.calls[0], "text:off");
    EXPECT_EQ(progress.calls[1], "show");
    EXPECT_EQ(progress.calls.back(), "hide");
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(progress.calls[2 + 2 * i], "value");
        EXPECT_EQ(progress.calls[3 + 2 * i], "refresh");
    }
    // 100 * e / N rounded half-even: e = 64, 96, 128, 160, 192 over N = 200.
    EXPECT_EQ(progress.values, (std::vector<int>{32, 48, 64, 80, 96}));
}

TEST(StraightedgeEngine, NoPlacementStillShowsAndHidesProgress)
{
    RecordingProgress progress;
    EXPECT_TRUE(RunEngine(Level(10), 0.25, &progress).empty());
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"text:off", "show", "hide"}));
}

TEST(StraightedgeEngine, SortLeavesEqualElevationsInItsOwnOrder)
{
    // Equal elevations: the middle-pivot quicksort swaps them; the order is part of the result.
    std::vector<double> elevations(8, 1.0);
    std::vector<std::int32_t> list = {0, 1, 2, 3, 4, 5, 6, 7};
    SortByElevation(list, 0, 7, elevations);
    // Worked by hand through the procedure: the outer pass reverses the list,
    // then each half is partitioned again.
    EXPECT_EQ(list, (std::vector<std::int32_t>{5, 4, 7, 6, 1, 0, 3, 2}));

    std::vector<double> mixed = {3.0, 1.0, 2.0, 1.0, 5.0, 0.5};
    std::vector<std::int32_t> order = {0, 1, 2, 3, 4, 5};
    SortByElevation(order, 0, 5, mixed);
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LE(mixed[order[i - 1]], mixed[order[i]]);
}

TEST(StraightedgeEngine, SupportPairClearanceIsTestedInSinglePrecision)
{
    // A point above the line in double but equal to it in single passes.
    std::vector<double> y = {10.0, 10.0, 10.0, 10.0, 10.0};
    y[2] = std::nextafter(10.0, 11.0);
    double deviation = 0.0;
    EXPECT_TRUE(TestSupportPair(y, 0, 4, 0, 4, deviation));
    EXPECT_EQ(deviation, 0.0); // the negative gap at point 2 does not count

    // Clearly above: the pair fails and reports -1.
    y[2] = 10.01;
    EXPECT_FALSE(TestSupportPair(y, 0, 4, 0, 4, deviation));
    EXPECT_EQ(deviation, -1.0);

    // Points outside the supports count for clearance but not for the gap.
    y = {10.5, 10.0, 9.0, 10.0, 9.0};
    EXPECT_FALSE(TestSupportPair(y, 0, 4, 1, 3, deviation));
    y = {9.0, 10.0, 9.0, 10.0, 5.0};
    EXPECT_TRUE(TestSupportPair(y, 0, 4, 1, 3, deviation));
    EXPECT_EQ(deviation, 1.0);
}

} // namespace
} // namespace zlm
