#include "batch/BatchRun.h"

#include "analysis/ProgressSink.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>

namespace zlm {
namespace {

TEST(BatchRunTest, DecimalSeparatorReachesTheTableAndThePercentLine)
{
    test::TempFolder folder;
    std::string erd = "ERDFILEV2.00\r\n1,129,1,1,1,0.25,0\r\nUNITSNAM    ft\r\nEND\r\n";
    for (int i = 0; i < 129; ++i) {
        erd += i == 16 ? "-0.05\r\n" : "0\r\n";
    }
    test::WriteBytes(folder / "dip.erd", erd);
    BatchOptions options;
    options.profilePath = folder / "dip.erd";
    NullProgress progress;

    const BatchOutcome outcome = RunBatch(options, ',', progress);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.message;
    EXPECT_EQ(outcome.summary, "Station (ft),Maximum Dev. (in),Amount Exceeded (in)\r\n"
                               "0,0000,0,6000,0,3500\r\n8,0000,0,0000,0,0000\r\n16,0000,0,0000,0,0000\r\n");
    EXPECT_EQ(outcome.percentLine, "Percent Exceeded Threshold (0.25 in) = 33,33% Overall");
}

/**
 * The same road written as an ERD file in feet or in metres: 200 points 3 in
 * (0.0762 m) apart, level but for a few dips and a bump.
 */
std::string RoadErd(bool metres)
{
    const double scale = metres ? 0.3048 : 1.0;
    const char* unit = metres ? "m" : "ft";
    char interval[32];
    std::snprintf(interval, sizeof interval, "%.17g", 0.25 * scale);
    std::string erd = std::string("ERDFILEV2.00\r\n1,200,1,1,1,") + interval + ",0\r\nUNITSNAM    " + unit +
                      "\r\nXUNITS      " + unit + "\r\nEND\r\n";
    for (int i = 0; i < 200; ++i) {
        const double feet = i % 37 == 5 ? -0.04 : i % 53 == 20 ? 0.02 : i % 11 == 3 ? -0.013 : 0.0;
        char value[32];
        std::snprintf(value, sizeof value, "%.17g", feet * scale);
        erd += std::string(value) + "\r\n";
    }
    return erd;
}

BatchOutcome RunOn(const std::string& path, const StraightedgeMethod& method)
{
    BatchOptions options;
    options.profilePath = path;
    options.method = method;
    NullProgress progress;
    return RunBatch(options, '.', progress);
}

TEST(BatchRunTest, SiUnitsGiveTheSameRoadTheSameResultsFromFeetOrMetres)
{
    test::TempFolder folder;
    test::WriteBytes(folder / "feet.erd", RoadErd(false));
    test::WriteBytes(folder / "metres.erd", RoadErd(true));
    const StraightedgeMethod si{3.0, 1.0, false, 1.5f, UnitSystem::SI};

    const BatchOutcome fromFeet = RunOn(folder / "feet.erd", si);
    const BatchOutcome fromMetres = RunOn(folder / "metres.erd", si);
    ASSERT_EQ(fromFeet.exitCode, 0) << fromFeet.message;
    ASSERT_EQ(fromMetres.exitCode, 0) << fromMetres.message;
    EXPECT_EQ(fromFeet.summary, fromMetres.summary);
    EXPECT_TRUE(fromMetres.summary.starts_with("Station (m),Maximum Dev. (mm),Amount Exceeded (mm)\r\n"
                                               "0.0000,13.7160,12.2160\r\n0.9906,"))
        << fromMetres.summary;
    EXPECT_EQ(fromMetres.percentLine, fromFeet.percentLine);
    EXPECT_TRUE(fromMetres.percentLine.starts_with("Percent Exceeded Threshold (1.5 mm) = ")) << fromMetres.percentLine;
}

TEST(BatchRunTest, ContinuousRollingVisitsEveryPointAndNamesItsTolerance)
{
    test::TempFolder folder;
    test::WriteBytes(folder / "feet.erd", RoadErd(false));
    const BatchOutcome outcome = RunOn(folder / "feet.erd", {10.0, 8.0, true, 0.125f, UnitSystem::US});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.message;
    // 200 points, a straightedge of 40 intervals: 160 placements, one per point.
    EXPECT_EQ(std::count(outcome.summary.begin(), outcome.summary.end(), '\n'), 161);
    EXPECT_NE(outcome.summary.find("\r\n0.2500,"), std::string::npos);
    EXPECT_TRUE(outcome.percentLine.starts_with("Percent Exceeded Threshold (0.125 in) = ")) << outcome.percentLine;
}

TEST(BatchRunTest, UnusableMethodsAreRefusedNamingTheValue)
{
    test::TempFolder folder;
    test::WriteBytes(folder / "feet.erd", RoadErd(false));
    const struct {
        StraightedgeMethod method;
        std::string phrase;
    } cases[] = {
        {{0.0, 8.0, false, 0.25f, UnitSystem::US}, "The straightedge length of 0 ft is not usable"},
        {{16.0, -2.5, false, 0.25f, UnitSystem::US}, "The step of -2.5 ft is not usable"},
        {{16.0, 8.0, false, 0.0f, UnitSystem::SI}, "The tolerance of 0 mm is not usable"},
        {{16.0, 8.0, false, std::numeric_limits<float>::infinity(), UnitSystem::US}, "tolerance of inf in"},
        {{16.0, 0.12, false, 0.25f, UnitSystem::US}, "The step of 0.12 ft would not move the straightedge"},
        {{0.3, 8.0, true, 0.25f, UnitSystem::US}, "too large: a 0.3 ft straightedge needs points"},
        {{60.0, 8.0, false, 0.25f, UnitSystem::US}, "At least 60 ft is needed"},
    };
    for (const auto& c : cases) {
        const BatchOutcome outcome = RunOn(folder / "feet.erd", c.method);
        EXPECT_EQ(outcome.exitCode, 1) << c.phrase;
        EXPECT_NE(outcome.message.find(c.phrase), std::string::npos) << outcome.message;
    }
    // A step shorter than the interval that still moves the straightedge is accepted.
    EXPECT_EQ(RunOn(folder / "feet.erd", {16.0, 0.13, false, 0.25f, UnitSystem::US}).exitCode, 0);
}

} // namespace
} // namespace zlm
