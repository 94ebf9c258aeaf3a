#include "commands/SimulateCommand.h"

#include "analysis/ProgressSink.h"
#include "analysis/ResultsGrid.h"
#include "analysis/ResultsTable.h"
#include "commands/SummaryWriter.h"
#include "support/ProfileMaker.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zlm {
namespace {

using test::DipProfile;
using test::LevelProfile;

ResultsGrid WindowGrid()
{
    ResultsGrid grid;
    grid.SetWidth(kMainWindowGridWidth);
    LayoutResultsHeader(grid, UnitTexts{});
    return grid;
}

/** Runs Simulate as the window does, expecting it to run. */
ResultsGrid Simulate(SessionState& state, const std::string& sectionText = "", char separator = '.')
{
    ResultsGrid grid = WindowGrid();
    NullProgress progress;
    const SimulationOutcome outcome = RunSimulation(state, sectionText, progress);
    EXPECT_TRUE(outcome.ran) << outcome.refusal;
    EXPECT_EQ(outcome.refusal, "");
    if (outcome.ran) {
        FillResultsTable(grid, state.straightedge.results, state.units, separator);
    }
    return grid;
}

TEST(SimulationRunTest, ThirtyTwoFeetAtQuarterFootGivesThreePlacements)
{
    SessionState state;
    state.profile = DipProfile();
    state.straightedge.results.method.baseLength = 0.0;
    state.straightedge.results.method.tolerance = 0.0f;
    const ResultsGrid grid = Simulate(state);

    ASSERT_EQ(state.straightedge.results.placements.size(), 3u);
    EXPECT_EQ(state.straightedge.results.placements[0].Station, 0.0);
    EXPECT_EQ(state.straightedge.results.placements[1].Station, 8.0);
    EXPECT_EQ(state.straightedge.results.placements[2].Station, 16.0);
    EXPECT_NEAR(state.straightedge.results.placements[0].MaxDeviation, 0.6, 1e-12);
    EXPECT_EQ(state.straightedge.results.method.baseLength, 16.0);
    EXPECT_EQ(state.straightedge.results.method.tolerance, 0.25f);
    EXPECT_FLOAT_EQ(state.straightedge.results.overallPercentExceeding, 100.0f / 3.0f);

    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.TextMatrix(0, 0), "Station (ft)");
    EXPECT_EQ(grid.TextMatrix(1, 0), "0.0000");
    EXPECT_EQ(grid.TextMatrix(2, 0), "8.0000");
    EXPECT_EQ(grid.TextMatrix(3, 0), "16.0000");
    EXPECT_EQ(grid.TextMatrix(1, 2), "0.3500");
    EXPECT_EQ(grid.ColWidth(0), 2088) << "the window's grid width lays out columns of 2088 twips";
}

TEST(SimulationRunTest, WorkingElevationsAreTheProfileAndOneTrailingZero)
{
    SessionState state;
    state.profile = LevelProfile(40000, 0.25, {{0, -1.5}, {39999, 2.5}}); // beyond any 16-bit counter
    Simulate(state);
    ASSERT_EQ(state.workingElevations.size(), 40001u);
    EXPECT_EQ(state.workingElevations[0], 1.5);
    EXPECT_EQ(state.workingElevations[39999], -2.5);
    EXPECT_EQ(state.workingElevations[40000], 0.0);
    EXPECT_EQ(std::vector<double>(state.workingElevations.begin(), state.workingElevations.end() - 1),
              state.profile.elevations);
}

TEST(SimulationRunTest, CopyWorkingElevationsOfAnEmptyProfileIsOneZero)
{
    EXPECT_EQ(CopyWorkingElevations(ElevationProfile{}), std::vector<double>{0.0});
}

struct SectionCase {
    std::string text;
    std::string header; ///< "Section" for the section summary, "Station (ft)" for the placement list
    std::int32_t rows;
};

void PrintTo(const SectionCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class SectionTextTest : public ::testing::TestWithParam<SectionCase> {};

TEST_P(SectionTextTest, TextDecidesTheForm)
{
    SessionState state;
    state.profile = DipProfile();
    const ResultsGrid grid = Simulate(state, GetParam().text);
    EXPECT_EQ(grid.TextMatrix(0, 0), GetParam().header);
    EXPECT_EQ(grid.Rows(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Texts, SectionTextTest,
                         ::testing::Values(SectionCase{"", "Station (ft)", 4}, SectionCase{"abc", "Station (ft)", 4},
                                           SectionCase{"0", "Station (ft)", 4}, SectionCase{"-16", "Station (ft)", 4},
                                           SectionCase{"16", "Section", 2}, SectionCase{"16,0", "Section", 2},
                                           // a = 0.52 rounds to 1 point per section: 64 sections of 0.13 ft.
                                           SectionCase{"0.13", "Section", 65}));

TEST(SimulationRunTest, BlanksAroundTheSectionLengthDoNotScaleIt)
{
    // "16 " would read as 1.6 if the blank counted as a decimal place: 20 sections instead of one.
    for (const std::string text : {"16", " 16", "16 ", "\t16\t "}) {
        SessionState state;
        state.profile = DipProfile();
        const ResultsGrid grid = Simulate(state, text);
        ASSERT_EQ(grid.Rows(), 2) << '"' << text << '"';
        EXPECT_EQ(grid.TextMatrix(1, 1), "0.00 - 15.75") << '"' << text << '"';
        EXPECT_EQ(grid.TextMatrix(1, 2), "50.0") << '"' << text << '"';
    }
}

TEST(SimulationRunTest, NumbersUseTheGivenDecimalSeparatorAndRunsRepeat)
{
    SessionState state;
    state.profile = DipProfile();
    const ResultsGrid first = Simulate(state, "", ',');
    EXPECT_EQ(first.TextMatrix(2, 0), "8,0000");
    const ResultsGrid second = Simulate(state, "", ',');
    EXPECT_EQ(SummaryText(first, Delimiter::Comma), SummaryText(second, Delimiter::Comma));
}

TEST(SimulationRunTest, PendingEventsRunOnceAfterTheEngine)
{
    SessionState state;
    state.profile = DipProfile();
    NullProgress progress;
    int calls = 0;
    const SimulationOutcome outcome = RunSimulation(state, "", progress, [&] {
        ++calls;
        EXPECT_EQ(state.straightedge.results.placements.size(), 3u) << "the engine has run";
    });
    EXPECT_TRUE(outcome.ran);
    EXPECT_EQ(calls, 1);
}

TEST(SimulationRunTest, ProfileOfOneStraightedgeAndOnePointGivesOnePlacement)
{
    SessionState state;
    state.profile = LevelProfile(65, 0.25);
    const ResultsGrid grid = Simulate(state);
    ASSERT_EQ(state.straightedge.results.placements.size(), 1u);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 0), "0.0000");
}

struct RefusalCase {
    std::string label;
    ElevationProfile profile;
    std::string sectionText;
    std::string expectedPhrase;
};

void PrintTo(const RefusalCase& c, std::ostream* os)
{
    *os << c.label;
}

ElevationProfile WithPoint(ElevationProfile profile, std::size_t index, double value)
{
    profile.elevations[index] = value;
    return profile;
}

ElevationProfile Truncated(ElevationProfile profile)
{
    profile.elevations.pop_back();
    return profile;
}

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, RefusesWithAReasonAndChangesNothing)
{
    const RefusalCase& c = GetParam();

    // A state holding the results of an earlier run on another profile.
    SessionState state;
    state.profile = DipProfile();
    Simulate(state);
    state.profile = c.profile;
    state.straightedge.results.method.baseLength = 12.5; // marks the fields a run would set
    state.straightedge.results.method.tolerance = 0.5f;
    const SessionState before = state;

    NullProgress progress;
    bool eventsRan = false;
    const SimulationOutcome outcome = RunSimulation(state, c.sectionText, progress, [&] { eventsRan = true; });

    EXPECT_FALSE(outcome.ran);
    EXPECT_NE(outcome.refusal.find(c.expectedPhrase), std::string::npos) << outcome.refusal;
    EXPECT_FALSE(eventsRan);
    EXPECT_EQ(state.workingElevations, before.workingElevations);
    ASSERT_EQ(state.straightedge.results.placements.size(), before.straightedge.results.placements.size());
    for (std::size_t i = 0; i < state.straightedge.results.placements.size(); ++i) {
        EXPECT_EQ(state.straightedge.results.placements[i].MaxDeviation,
                  before.straightedge.results.placements[i].MaxDeviation);
    }
    EXPECT_EQ(state.straightedge.results.overallPercentExceeding, before.straightedge.results.overallPercentExceeding);
    EXPECT_EQ(state.straightedge.results.method.baseLength, 12.5);
    EXPECT_EQ(state.straightedge.results.method.tolerance, 0.5f);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusalTest,
    ::testing::Values(
        RefusalCase{"NoProfileOpen", ElevationProfile{}, "", "No profile is open"},
        RefusalCase{"ZeroInterval", LevelProfile(200, 0.0), "", "sample interval"},
        RefusalCase{"NegativeInterval", LevelProfile(200, -0.25), "", "sample interval"},
        RefusalCase{"NaNInterval", LevelProfile(200, kNaN), "", "sample interval"},
        RefusalCase{"InfiniteInterval", LevelProfile(200, kInf), "", "sample interval"},
        // 16 / 11 rounds to 1: a straightedge of one point has no supports.
        RefusalCase{"IntervalLongerThanTheStraightedgeAllows", LevelProfile(200, 11.0), "", "too large"},
        RefusalCase{"IntervalBeyondAnyPointCount", LevelProfile(200, 1e-12), "", "too small"},
        // 16 / 0.0001 = 160,000 points under one straightedge: beyond what is analysed.
        RefusalCase{"IntervalFinerThanAnyProfiler", LevelProfile(200, 1e-4), "", "more than 32768 points"},
        // L = 64: 64 points are one short of a placement.
        RefusalCase{"ProfileShorterThanOneStraightedge", LevelProfile(64, 0.25), "", "15.75 ft long"},
        RefusalCase{"ShortProfileSaysWhatIsNeeded", LevelProfile(3, 0.25), "", "At least 16 ft"},
        RefusalCase{"NaNElevation", WithPoint(LevelProfile(200, 0.25), 4, kNaN), "", "invalid elevations at point 5"},
        RefusalCase{"InfiniteElevation", WithPoint(LevelProfile(200, 0.25), 199, -kInf), "",
                    "invalid elevations at point 200"},
        RefusalCase{"ElevationBeyondSinglePrecision", WithPoint(LevelProfile(200, 0.25), 0, 1e39), "",
                    "invalid elevations at point 1"},
        RefusalCase{"ElevationBeyondAnyRoad", WithPoint(LevelProfile(200, 0.25), 7, -2e9), "",
                    "invalid elevations at point 8"},
        RefusalCase{"FewerElevationsThanPoints", Truncated(LevelProfile(200, 0.25)), "", "incomplete"},
        // a = S / dx rounds below 1 in single precision: 0.4 and, tie to even, 0.5.
        RefusalCase{"SectionShorterThanHalfAPoint", LevelProfile(200, 0.25), "0.1", "section length is too short"},
        RefusalCase{"SectionOfExactlyHalfAPoint", LevelProfile(200, 0.25), "0.125", "section length is too short"}),
    [](const auto& info) { return info.param.label; });

} // namespace
} // namespace zlm

namespace zlm {
namespace {

TEST(SimulationRunWorkingCopy, TakingTheProfileGivesTheSameRunWithoutASecondArray)
{
    ElevationProfile profile;
    profile.interval = 0.25;
    for (int i = 0; i < 400; ++i)
        profile.elevations.push_back(0.001 * ((i * 37) % 23));
    profile.pointCount = 400;
    profile.elevations.reserve(401);

    SessionState copied;
    copied.profile = profile;
    NullProgress none;
    ASSERT_TRUE(RunSimulation(copied, "", none).ran);

    SessionState taken;
    taken.profile = profile;
    taken.profile.elevations.reserve(401);
    const double* array = taken.profile.elevations.data();
    ASSERT_TRUE(RunSimulation(taken, "", none, {}, WorkingCopy::TakeProfile).ran);

    EXPECT_EQ(taken.workingElevations, copied.workingElevations);
    EXPECT_EQ(taken.workingElevations.data(), array); // moved, not copied
    EXPECT_TRUE(taken.profile.elevations.empty());
    EXPECT_EQ(SummaryText(ResultsTableText(taken.straightedge.results, taken.units, '.'), Delimiter::Comma),
              SummaryText(ResultsTableText(copied.straightedge.results, copied.units, '.'), Delimiter::Comma));
}

} // namespace
} // namespace zlm
