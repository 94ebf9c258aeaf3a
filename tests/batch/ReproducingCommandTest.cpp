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
    Channel channel;
};

class ReproducingCommandTest : public ::testing::TestWithParam<RunCase> {};

// zlm-batch reads the command line back to the very method, section and channel of the run.
TEST_P(ReproducingCommandTest, ReadsBackToTheSameRun)
{
    SessionState state;
    state.results.method = GetParam().method;
    state.results.sectionLength = GetParam().sectionLength;
    state.channel = GetParam().channel;
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
    EXPECT_EQ(parsed.options.channel, GetParam().channel == Channel::Two ? 2 : 1) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ReproducingCommandTest,
    ::testing::Values(
        RunCase{{}, 0.0f, Channel::One}, RunCase{{}, 528.0f, Channel::Two},
        RunCase{{16.0 * 0.3048, 8.0 * 0.3048, false, SingleTolerance(0.25 * 25.4), UnitSystem::SI}, 0.1f, Channel::One},
        RunCase{{3.0, 0.0, true, 0.1f, UnitSystem::SI}, 1e-3f, Channel::One},
        RunCase{{10.123456789012, 0.333333333333, false, 0.3f, UnitSystem::US}, 123456.7f, Channel::Two}));

} // namespace
} // namespace zlm
