#include "analysis/DisplayFormat.h"
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/RideRun.h"
#include "batch/SurveyFiles.h"
#include "batch/SurveyRun.h"
#include "ride_quality/RideQualityText.h"
#include "support/TempFolder.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zlm {
namespace {

constexpr int kPoints = 2000;
constexpr double kInterval = 0.25;

// Elevation of channel c (0-based) at point i: three different rough roads, in feet.
double Elevation(int c, int i)
{
    return 0.01 * std::sin(i * (0.05 + 0.03 * c)) + 0.002 * std::sin(i * (1.3 + c));
}

// A three-channel ERD file of those roads, the values as written to the file.
std::string ThreeChannelErd()
{
    std::string erd = "ERDFILEV2.00\r\n3,2000,1,1,1,0.25,0\r\nUNITSNAM    ft ft ft\r\nEND\r\n";
    for (int i = 0; i < kPoints; ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "%.9f,%.9f,%.9f\r\n", Elevation(0, i), Elevation(1, i), Elevation(2, i));
        erd += line;
    }
    return erd;
}

// The roads as read back from the file's text.
std::vector<double> Channel(int c)
{
    std::vector<double> y;
    for (int i = 0; i < kPoints; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "%.9f", Elevation(c, i));
        y.push_back(std::stod(text));
    }
    return y;
}

BatchOutcome RunArguments(const std::vector<std::string>& arguments)
{
    const ParsedArguments parsed = ParseBatchArguments(arguments);
    EXPECT_EQ(parsed.status, ArgumentsStatus::Run) << parsed.error;
    NullProgress quiet;
    return RunBatch(parsed.options, '.', quiet);
}

TEST(RideBatchOptionsTest, ReadsTheRideOptionsWithTheDefaultsOfTheUnits)
{
    const ParsedArguments us = ParseBatchArguments({"--ride", "--section", "528", "--localized", "a.csv", "r.erd"});
    ASSERT_EQ(us.status, ArgumentsStatus::Run) << us.error;
    EXPECT_TRUE(us.options.ride);
    EXPECT_EQ(us.options.rideMethod.sectionLength, 528.0);
    EXPECT_TRUE(us.options.rideMethod.localized);
    EXPECT_EQ(us.options.localizedPath, "a.csv");
    EXPECT_EQ(us.options.rideMethod.baseLength, 25.0);
    EXPECT_EQ(us.options.rideMethod.threshold, 125.0);

    const ParsedArguments si = ParseBatchArguments({"--units=si", "--ride", "--paths", "3,2", "--base", "10", "r.erd"});
    ASSERT_EQ(si.status, ArgumentsStatus::Run) << si.error;
    EXPECT_EQ(si.options.rideMethod.units, UnitSystem::SI);
    EXPECT_EQ(si.options.rideMethod.baseLength, 10.0);
    EXPECT_EQ(si.options.rideMethod.threshold, 2.0);
    EXPECT_EQ(si.options.ridePaths, (RidePathChoice{3, 2}));
    EXPECT_FALSE(si.options.rideMethod.localized);

    const ParsedArguments one = ParseBatchArguments({"--ride", "--channel", "2", "r.erd"});
    EXPECT_EQ(one.options.ridePaths, (RidePathChoice{2, 0}));
    const ParsedArguments survey = ParseBatchArguments({"--ride", "--summary", "s.csv", "--localized", "a", "b"});
    ASSERT_EQ(survey.status, ArgumentsStatus::Run) << survey.error;
    EXPECT_TRUE(survey.options.rideMethod.localized);
    EXPECT_EQ(survey.options.profilePaths.size(), 2u);
}

TEST(RideBatchOptionsTest, OptionsOfTheOtherAnalysisAreUsageErrors)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--ride", "--length", "10", "r.erd"}, "--length is for the straightedge"},
        {{"--step", "continuous", "--ride", "r.erd"}, "--step is for the straightedge"},
        {{"--ride", "--threshold", "1", "r.erd"}, "--threshold is for the straightedge"},
        {{"--ride", "--corrections", "z.csv", "r.erd"}, "--corrections is for the straightedge"},
        {{"--ride", "--delimiter", "space", "r.erd"}, "--delimiter is for the straightedge"},
        {{"--paths", "1,2", "r.erd"}, "--paths is for ride quality: give --ride as well"},
        {{"--localized", "a.csv", "r.erd"}, "--localized is for ride quality"},
        {{"--ride", "--paths", "2,2", "r.erd"}, "--paths must be two different channels"},
        {{"--ride", "--paths", "1", "r.erd"}, "--paths must be two different channels"},
        {{"--ride", "--paths", "1,2", "--channel", "1", "r.erd"}, "--channel and --paths cannot both be given"},
        {{"--ride", "--section", "tenth", "r.erd"}, "--section must be a number with --ride"},
        {{"--ride", "--base", "x", "r.erd"}, "--base must be a number"},
        {{"--ride=yes", "r.erd"}, "--ride takes no value"},
        {{"--ride", "--summary", "s", "--localized=a.csv", "r.erd"}, "takes no file name"},
    };
    for (const auto& [arguments, error] : cases) {
        const ParsedArguments parsed = ParseBatchArguments(arguments);
        EXPECT_EQ(parsed.status, ArgumentsStatus::UsageError) << error;
        EXPECT_NE(parsed.error.find(error), std::string::npos) << parsed.error;
    }
}

TEST(RideBatchOptionsTest, TheUsageDescribesEveryOptionOfTheTable)
{
    const std::string usage = BatchUsage();
    for (const BatchOptionSpec& spec : BatchOptionTable()) {
        EXPECT_NE(usage.find(std::string("\n  ") + spec.name), std::string::npos) << spec.name;
    }
}

TEST(RideBatchRunTest, ReadsTheNamedPathsOnceAndWritesTheCoresTables)
{
    test::TempFolder folder;
    const std::string path = folder / "three.erd";
    test::WriteBytes(path, ThreeChannelErd());
    RideQualityMethod method = DefaultRideQualityMethod(UnitSystem::US);
    method.sectionLength = 100.0;
    method.localized = true;
    method.threshold = 60.0;
    NullProgress quiet;
    const RideQualityOutcome expected = AnalyseRideQuality(Channel(2), Channel(0), kInterval, method, quiet);
    ASSERT_TRUE(expected.ok);

    const std::string areas = folder / "areas.csv";
    const BatchOutcome outcome = RunArguments(
        {"--ride", "--paths", "3,1", "--section", "100", "--localized", areas, "--lr-threshold", "60", path});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.message;
    EXPECT_EQ(outcome.summary, RideSectionsCsv(expected.results));
    EXPECT_EQ(test::ReadBytes(areas), RoughAreasCsv(expected.results));
    EXPECT_EQ(outcome.errorLines, RideOverallLines(expected.results, '.'));
    ASSERT_EQ(outcome.errorLines.size(), 3u);

    // --channel K: the one profile K.
    const RideQualityOutcome second =
        AnalyseRideQuality(Channel(1), {}, kInterval, DefaultRideQualityMethod(UnitSystem::US), quiet);
    const BatchOutcome one = RunArguments({"--ride", "--channel", "2", path});
    EXPECT_EQ(one.summary, RideSectionsCsv(second.results));
    EXPECT_EQ(one.errorLines, std::vector<std::string>{RideOverallLines(second.results, '.')});
}

TEST(RideBatchRunTest, RefusalsNameTheValue)
{
    test::TempFolder folder;
    const std::string path = folder / "three.erd";
    test::WriteBytes(path, ThreeChannelErd());
    const BatchOutcome beyond = RunArguments({"--ride", "--paths", "1,4", path});
    EXPECT_EQ(beyond.exitCode, 1);
    EXPECT_EQ(beyond.message, "The file has 3 channels; channel 4 was asked for");
    const BatchOutcome zero = RunArguments({"--ride", "--section", "0", path});
    EXPECT_EQ(zero.exitCode, 1);
    EXPECT_EQ(zero.message, "The section length of 0 ft is not a length of at least the slope base, 0.75 ft");
    const BatchOutcome longBase = RunArguments({"--ride", "--localized", folder / "a.csv", "--base", "600", path});
    EXPECT_EQ(longBase.exitCode, 1);
    EXPECT_NE(longBase.message.find("shorter than the base length of 600 ft"), std::string::npos) << longBase.message;
}

TEST(RideBatchRunTest, ASurveyLineCarriesTheSingleRunsNumbersAndItsOwnFiles)
{
    test::TempFolder folder;
    test::WriteBytes(folder / "three.erd", ThreeChannelErd());
    test::WriteBytes(folder / "bad.erd", "ERDFILEV2.00\r\n");
    const ParsedArguments parsed =
        ParseBatchArguments({"--ride", "--section", "100", "--summary", folder / "s.csv", "--output-dir",
                             folder / "out", "--localized", folder / "three.erd", folder / "bad.erd"});
    ASSERT_EQ(parsed.status, ArgumentsStatus::Run) << parsed.error;
    const std::vector<SurveyEntry> entries = ListSurveyProfiles(parsed.options.profilePaths, false, {});
    const SurveyOutcome survey = RunSurvey(parsed.options, entries, 2, '.');
    EXPECT_EQ(survey.analysed, 1u);
    EXPECT_EQ(survey.refused, 1u);

    RideQualityMethod method = DefaultRideQualityMethod(UnitSystem::US);
    method.sectionLength = 100.0;
    method.localized = true;
    NullProgress quiet;
    const RideQualityResults r = AnalyseRideQuality(Channel(0), Channel(1), kInterval, method, quiet).results;
    const auto two = [](double v) { return FormatNumber(v, "0.00", '.'); };
    const std::string line = folder / "three.erd" + ",1 2,2000,0.250000,499.750," + two(r.iriLeft) + "," +
                             two(r.iriRight) + "," + two(r.mri) + "," + two(r.hri) + "," +
                             std::to_string(r.areas.size()) + "," + FormatNumber(r.percentLocalized, "#0.00", '.') +
                             ",\r\n";
    EXPECT_TRUE(survey.summary.starts_with(std::string(kRideSurveyHeader) + "\r\n" + line)) << survey.summary;
    EXPECT_NE(survey.summary.find(folder / "bad.erd" + ",,,,,,,,,,,"), std::string::npos) << survey.summary;
    EXPECT_EQ(test::ReadBytes(folder / "out/three.erd.ride.csv"), RideSectionsCsv(r));
    EXPECT_EQ(test::ReadBytes(folder / "out/three.erd.localized.csv"), RoughAreasCsv(r));
}

} // namespace
} // namespace zlm
