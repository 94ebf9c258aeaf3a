#include "commands/CorrectionsWriter.h"

#include "analysis/CorrectionZones.h"
#include "analysis/ProgressSink.h"
#include "commands/SimulateCommand.h"
#include "support/ProfileMaker.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace zlm {
namespace {

using test::ReadBytes;
using test::TempFolder;

/** Runs Simulate on `profile` and returns the zones of its results. */
CorrectionSummary ZonesOf(SessionState& state, ElevationProfile profile)
{
    state.profile = std::move(profile);
    NullProgress progress;
    const SimulationOutcome outcome = RunSimulation(state, "", progress);
    EXPECT_TRUE(outcome.ran) << outcome.refusal;
    return state.straightedge.results.zones;
}

/**
 * 80 ft at 0.25 ft: a dip under the first placement alone, and a sag 30 ft long
 * centred at 50 ft under the placements at 32, 40 and 48 ft.
 */
ElevationProfile TwoDefects()
{
    ElevationProfile profile = test::LevelProfile(321, 0.25, {{16, 0.05}});
    for (int i = 140; i <= 260; ++i)
        profile.elevations[static_cast<std::size_t>(i)] -= 0.12 * (1.0 - (i - 200) * (i - 200) / 3600.0);
    return profile;
}

class CorrectionsGoldenTest : public ::testing::TestWithParam<UnitSystem> {};

TEST_P(CorrectionsGoldenTest, WritesTheListAsCommaSeparatedLinesWithFullStops)
{
    SessionState state;
    const CorrectionSummary zones = ZonesOf(state, TwoDefects());
    ASSERT_EQ(zones.zones.size(), 2u);
    const bool si = GetParam() == UnitSystem::SI;
    const std::string name = si ? "/golden/corrections-si.csv" : "/golden/corrections-us.csv";
    const std::string expected = ReadBytes(std::string(ZLM_TEST_DATA_DIR) + name);
    ASSERT_FALSE(expected.empty()) << "missing golden file " << name;
    EXPECT_EQ(CorrectionsText(zones, UnitTextsFor(GetParam())), expected);

    TempFolder folder;
    const SaveResult saved = SaveCorrections(folder / "zones.csv", zones, UnitTextsFor(GetParam()));
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(ReadBytes(folder / "zones.csv"), expected);
}

INSTANTIATE_TEST_SUITE_P(Units, CorrectionsGoldenTest, ::testing::Values(UnitSystem::US, UnitSystem::SI));

TEST(CorrectionsWriterTest, WithoutAZoneWritesTheHeaderAlone)
{
    SessionState state;
    const CorrectionSummary zones = ZonesOf(state, test::LevelProfile(129, 0.25));
    EXPECT_EQ(CorrectionsText(zones, UnitTexts{}),
              "Zone,Start (ft),End (ft),Length (ft),Placements,Worst Dev. (in),Worst At (ft),Support 1 (ft),"
              "Support 2 (ft),Low Point (ft)\r\n");
    EXPECT_EQ(zones.percentDefectiveLength, 0.0f);
}

TEST(CorrectionsWorstPlacementTest, TheLowPointIsWhereTheReportedGapLies)
{
    // A rough road at 0.25 ft, quantised so that gaps tie, with dips here and
    // there: for every zone the worst placement is the zone's largest deviation,
    // and the gap at its low point, in inches, is bit for bit that deviation.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> roughness(-4, 4);
    std::uniform_int_distribution<int> dip(0, 60);
    ElevationProfile profile = test::LevelProfile(4001, 0.25);
    for (std::size_t i = 0; i < profile.elevations.size(); ++i) {
        profile.elevations[i] = 0.002 * roughness(random) - (i % 300 == 0 ? 0.001 * dip(random) : 0.0);
    }
    SessionState state;
    const CorrectionSummary zones = ZonesOf(state, profile);
    ASSERT_GT(zones.zones.size(), 3u);

    const DeviationList& placements = state.straightedge.results.placements;
    for (const CorrectionZone& zone : zones.zones) {
        double largest = 0.0;
        for (const DeviationRecord& record : placements) {
            if (record.Station >= zone.start && record.Station <= zone.end && ShowsAsExceeding(record.AmountExceeded))
                largest = std::max(largest, record.MaxDeviation);
        }
        EXPECT_EQ(zone.worstDeviation, largest) << zone.start;
        ASSERT_TRUE(zone.HasSupports());
        double gap = 0.0;
        EXPECT_EQ(LowestPointBetween(state.workingElevations, zone.leftSupport, zone.rightSupport, gap), zone.lowPoint);
        EXPECT_EQ(gap * 12.0, zone.worstDeviation) << zone.start;
        EXPECT_GT(zone.lowPoint, zone.leftSupport);
        EXPECT_LT(zone.lowPoint, zone.rightSupport);
    }
}

} // namespace
} // namespace zlm
