#include "analysis/NumberText.h"
#include "batch/BatchOptions.h"
#include "commands/ReportRequest.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zlm {
namespace {

/** The words of a command line without quotes (the cases use none). */
std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

struct RunCase {
    StraightedgeMethod method;
    float sectionLength;
    std::int32_t channel;
    DelimitedUnits units = {};       ///< a delimited profile's, as it was read with them
    DelimitedUnits expected = units; ///< what the command gives (a unit the header gave as the profile records it)
};

class ReproducingCommandTest : public ::testing::TestWithParam<RunCase> {};

// zlm-batch reads the command line back to the very method, section and channel of the run.
TEST_P(ReproducingCommandTest, ReadsBackToTheSameRun)
{
    SessionState state;
    state.straightedge.results.method = GetParam().method;
    state.straightedge.results.sectionLength = GetParam().sectionLength;
    state.channelRead = GetParam().channel;
    state.delimitedUnits = GetParam().units;
    state.profile.nativeDistanceUnit = "m";
    state.profile.nativeElevationUnit = "mm";
    const std::string line = ReproducingCommandLine(state, "/roads/r.erd");
    std::vector<std::string> words = Words(line);
    ASSERT_EQ(words.front(), "zlm-batch");
    words.erase(words.begin());

    const ParsedArguments parsed = ParseBatchArguments(words);
    ASSERT_EQ(parsed.status, ArgumentsStatus::Run) << line << ": " << parsed.error;
    EXPECT_EQ(parsed.options.profilePath, "/roads/r.erd");
    const StraightedgeMethod& read = parsed.options.method;
    const StraightedgeMethod& run = GetParam().method;
    EXPECT_EQ(read.units, run.units) << line;
    EXPECT_EQ(read.baseLength, run.baseLength) << line;
    EXPECT_EQ(read.continuous, run.continuous) << line;
    if (!run.continuous) {
        EXPECT_EQ(read.step, run.step) << line;
    }
    EXPECT_EQ(read.tolerance, run.tolerance) << line;
    const float section = parsed.options.sectionText.empty() ? 0.0f : ParseSingle(parsed.options.sectionText);
    EXPECT_EQ(section, GetParam().sectionLength) << line;
    EXPECT_EQ(parsed.options.channel, GetParam().channel) << line;
    const DelimitedUnits& units = parsed.options.columnUnits;
    EXPECT_EQ(units.distanceUnit, GetParam().expected.distanceUnit) << line;
    EXPECT_EQ(units.elevationUnit, GetParam().expected.elevationUnit) << line;
    EXPECT_EQ(units.interval, GetParam().expected.interval) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ReproducingCommandTest,
    ::testing::Values(
        RunCase{{}, 0.0f, 1}, RunCase{{}, 528.0f, 2}, RunCase{{}, 0.0f, 3}, RunCase{{}, 0.0f, kMaxChannels},
        RunCase{{16.0 * 0.3048, 8.0 * 0.3048, false, SingleTolerance(0.25 * 25.4), UnitSystem::SI}, 0.1f, 1},
        RunCase{{3.0, 0.0, true, 0.1f, UnitSystem::SI}, 1e-3f, 1},
        RunCase{{10.123456789012, 0.333333333333, false, 0.3f, UnitSystem::US}, 123456.7f, 2},
        // Delimited profiles: both units and an interval given; the elevation unit alone (the header gave the
        // distance unit); the distance unit and an interval alone (the header gave the elevation unit).
        RunCase{{}, 0.0f, 2, {LengthUnit::Foot, LengthUnit::Mil, 0.1 + 0.2}},
        RunCase{{},
                0.0f,
                1,
                {std::nullopt, LengthUnit::Inch, std::nullopt},
                {LengthUnit::Metre, LengthUnit::Inch, std::nullopt}},
        RunCase{{}, 0.0f, 1, {LengthUnit::Inch, std::nullopt, 3.0}, {LengthUnit::Inch, LengthUnit::Millimetre, 3.0}}));

} // namespace
} // namespace zlm
