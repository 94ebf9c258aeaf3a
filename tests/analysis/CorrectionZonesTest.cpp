#include "analysis/CorrectionZones.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zlm {
namespace {

/** A placement of a made-up run at 1 ft spacing: its first point and its maximum deviation in inches. */
struct Placement {
    std::int32_t start;
    double maxDeviation;
};

/** What a zone must report: first and last point, placement count, first point of the worst placement. */
struct ExpectedZone {
    std::int32_t start;
    std::int32_t end;
    std::int64_t placements;
    std::int32_t worstStart;
};

struct ZoneCase {
    std::string name;
    std::vector<Placement> placements;
    std::vector<ExpectedZone> zones;
};

void PrintTo(const ZoneCase& c, std::ostream* os)
{
    *os << c.name;
}

constexpr float kTolerance = 0.25f;

/**
 * Results of a 16 ft straightedge (L = 16) on 101 points at 1 ft (a 100 ft
 * profile) with the given placements; a placement exceeds when its deviation
 * does, its supports the first and last point of its span.
 */
StraightedgeResults MadeUpRun(const std::vector<Placement>& placements)
{
    StraightedgeResults results;
    results.pointCount = 101;
    results.interval = 1.0;
    for (const Placement& p : placements) {
        DeviationRecord record;
        record.Station = static_cast<double>(p.start);
        record.MaxDeviation = p.maxDeviation;
        record.AmountExceeded = p.maxDeviation > kTolerance ? p.maxDeviation - kTolerance : 0.0;
        record.LeftSupport = p.start;
        record.RightSupport = p.start + 16;
        results.placements.push_back(record);
    }
    return results;
}

class ZoneRuleTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(ZoneRuleTest, GroupsExceedingPlacementsWhoseSpansOverlapOrTouch)
{
    const StraightedgeResults results = MadeUpRun(GetParam().placements);
    const std::vector<double> level(101, 0.0);
    const CorrectionSummary summary = FindCorrectionZones(results, level);
    const auto& want = GetParam().zones;
    ASSERT_EQ(summary.zones.size(), want.size());
    double total = 0.0;
    for (std::size_t i = 0; i < want.size(); ++i) {
        const CorrectionZone& zone = summary.zones[i];
        SCOPED_TRACE("zone " + std::to_string(i + 1));
        EXPECT_EQ(zone.start, want[i].start);
        EXPECT_EQ(zone.end, want[i].end);
        EXPECT_EQ(zone.length, want[i].end - want[i].start);
        EXPECT_EQ(zone.placements, want[i].placements);
        EXPECT_EQ(zone.worstStation, want[i].worstStart);
        EXPECT_EQ(zone.leftSupportStation, want[i].worstStart);
        EXPECT_EQ(zone.rightSupportStation, want[i].worstStart + 16);
        total += zone.length;
    }
    EXPECT_EQ(summary.totalLength, total);
    EXPECT_EQ(summary.percentDefectiveLength, static_cast<float>(total)); // of a 100 ft profile
}

INSTANTIATE_TEST_SUITE_P(
    Placements, ZoneRuleTest,
    ::testing::Values(
        ZoneCase{"NoneExceeds", {{0, 0.1}, {8, 0.25}, {16, 0.0}}, {}},
        ZoneCase{"SinglePlacement", {{0, 0.1}, {8, 0.4}, {16, 0.2}}, {{8, 24, 1, 8}}},
        // Spans touching at one point make one defect; one point apart, two.
        ZoneCase{"TouchingSpans", {{0, 0.3}, {16, 0.5}, {33, 0.6}}, {{0, 32, 2, 16}, {33, 49, 1, 33}}},
        // A placement within limits between two exceeding ones whose spans touch does not split them.
        ZoneCase{"QuietPlacementInside", {{0, 0.3}, {8, 0.1}, {16, 0.4}}, {{0, 32, 2, 16}}},
        ZoneCase{"LastPlacementAlone", {{0, 0.3}, {24, 0.1}, {40, 0.1}, {84, 0.9}}, {{0, 16, 1, 0}, {84, 100, 1, 84}}},
        ZoneCase{"TieKeepsTheFirst", {{0, 0.5}, {8, 0.7}, {16, 0.7}, {24, 0.6}}, {{0, 40, 4, 8}}},
        // An amount that shows as 0.0000 in the table is not an exceedance.
        ZoneCase{"AmountTooSmallToShow", {{0, 0.25004}, {40, 0.2501}}, {{40, 56, 1, 40}}}),
    [](const auto& info) { return info.param.name; });

TEST(ZoneFiguresTest, PercentDefectiveLengthIsOfTheProfileLengthInSinglePrecision)
{
    StraightedgeResults results = MadeUpRun({{0, 0.3}});
    results.pointCount = 301; // 300 ft: 16 / 300 is not a whole percentage
    const CorrectionSummary summary = FindCorrectionZones(results, std::vector<double>(301, 0.0));
    EXPECT_EQ(summary.percentDefectiveLength, static_cast<float>(100.0 * 16.0 / 300.0));
}

TEST(ZoneFiguresTest, StationsAreIndexTimesIntervalAndTheSpanFollowsTheMethod)
{
    // 0.3 ft spacing: a 16 ft straightedge spans 53 intervals, so the zone ends at
    // point 53 + 10, at 63 * 0.3 as a double (not 18.9 typed in).
    StraightedgeResults results;
    results.pointCount = 200;
    results.interval = 0.3;
    DeviationRecord record;
    record.Station = 10 * 0.3;
    record.MaxDeviation = 0.5;
    record.AmountExceeded = 0.25;
    results.placements = {record};
    CorrectionZone zone = FindCorrectionZones(results, std::vector<double>(201, 0.0)).zones.at(0);
    EXPECT_EQ(zone.start, 10 * 0.3);
    EXPECT_EQ(zone.end, 63 * 0.3);
    EXPECT_FALSE(zone.HasSupports());
    EXPECT_EQ(zone.lowPoint, -1);

    // A 3 m straightedge at 0.25 m spans 12 intervals.
    results.method.baseLength = 3.0;
    results.method.units = UnitSystem::SI;
    results.interval = 0.25;
    results.placements[0].Station = 4 * 0.25;
    zone = FindCorrectionZones(results, std::vector<double>(201, 0.0)).zones.at(0);
    EXPECT_EQ(zone.end, 16 * 0.25);
}

TEST(LowestPointTest, FindsTheLargestGapUnderTheLineThroughTheSupports)
{
    // Supports at 2 (1.0) and 10 (2.0): the line rises 0.125 a point. Point 6 lies
    // 0.5 under it and point 8 likewise: the first of equal gaps is the low point.
    std::vector<double> y = {0.0, 0.0, 1.0, 1.1, 1.2, 1.3, 1.0, 1.6, 1.25, 1.9, 2.0, 0.0};
    double gap = 0.0;
    EXPECT_EQ(LowestPointBetween(y, 2, 10, gap), 6);
    EXPECT_EQ(gap, 0.5);
    y[8] = 1.2;
    EXPECT_EQ(LowestPointBetween(y, 2, 10, gap), 8);
    EXPECT_DOUBLE_EQ(gap, 0.55);
    // Nothing under a line through level supports: the first support itself.
    EXPECT_EQ(LowestPointBetween(std::vector<double>(5, 1.0), 0, 4, gap), 0);
    EXPECT_EQ(gap, 0.0);
    EXPECT_EQ(LowestPointBetween(y, 3, 12, gap), -1);
    EXPECT_EQ(LowestPointBetween(y, 5, 5, gap), -1);
}

} // namespace
} // namespace zlm
