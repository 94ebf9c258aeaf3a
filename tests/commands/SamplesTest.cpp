#include "analysis/StraightedgeEngine.h"
#include "analysis/StraightedgeResults.h"
#include "commands/OpenCommand.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace zlm {
namespace {

// Placements of the 16-foot straightedge whose gap exceeds 0.25 in.
std::size_t PlacementsExceeding(const ElevationProfile& profile)
{
    std::vector<double> working = profile.elevations;
    working.push_back(0.0);
    DeviationList deviations;
    NullProgress progress;
    SimulateStraightedge(working, profile.pointCount, profile.interval, static_cast<float>(8.0 / profile.interval),
                         0.25f, 16.0, deviations, progress, DeviationPerLength(UnitSystem::US));
    EXPECT_FALSE(deviations.empty());
    return static_cast<std::size_t>(std::count_if(deviations.begin(), deviations.end(),
                                                  [](const DeviationRecord& r) { return r.AmountExceeded > 0; }));
}

struct SampleCase {
    const char* name;
    const char* file;
    ChannelNumber channel;
    std::int32_t pointCount;
    double interval;
    const char* title;
};

class SampleProfileTest : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SampleProfileTest, LoadsAndShowsBumps)
{
    const SampleCase& c = GetParam();
    const std::string path = std::string(ZLM_SOURCE_DIR) + "/samples/" + c.file;
    ChannelNumber channel = 1;
    const OpenOutcome outcome =
        ReadProfileFile(path, channel, [&c](ChannelNumber, const std::vector<std::string>&) { return c.channel; });
    ASSERT_TRUE(outcome.loaded) << outcome.message;
    EXPECT_LT(std::filesystem::file_size(path), 200u * 1024u);
    EXPECT_EQ(outcome.profile.pointCount, c.pointCount);
    EXPECT_EQ(outcome.profile.interval, c.interval);
    EXPECT_EQ(outcome.title, c.title);
    EXPECT_GT(PlacementsExceeding(outcome.profile), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, SampleProfileTest,
    ::testing::Values(SampleCase{"OneChannelErd", "one-channel.erd", 1, 1200, 0.5, "Sample County Road 12, westbound"},
                      SampleCase{"TwoChannelErdLeft", "two-channel.erd", 1, 3000, 100.0 / 1000.0 * 3.281,
                                 "Sample State Highway 7, northbound, left and right wheel paths"},
                      SampleCase{"TwoChannelErdRight", "two-channel.erd", 2, 3000, 100.0 / 1000.0 * 3.281,
                                 "Sample State Highway 7, northbound, left and right wheel paths"},
                      SampleCase{"ColumnText", "column-text.dat", 1, 2000, 0.25, "Sample Airport Access Road, lane 1"}),
    [](const ::testing::TestParamInfo<SampleCase>& info) { return std::string(info.param.name); });

// A measured profile kept beside the repository: two channels, extra keyword
// lines, blanks after END, CR LF.
TEST(MeasuredProfile, LoadsOnBothChannels)
{
    const std::string path = std::string(ZLM_SOURCE_DIR) + "/../shared/profiles/track-run-e1.erd";
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "the measured profile is not beside the repository: " << path;
    }
    const double firsts[2] = {-0.000037, -0.000050};
    const double lasts[2] = {0.863239, 0.685689};
    for (const ChannelNumber channel : {1, 2}) {
        ChannelNumber choice = 3 - channel;
        int asked = 0;
        const OpenOutcome outcome = ReadProfileFile(path, choice, [&](ChannelNumber, const std::vector<std::string>&) {
            ++asked;
            return channel;
        });
        ASSERT_TRUE(outcome.loaded) << outcome.message;
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(outcome.title, "Track Run E1");
        EXPECT_EQ(outcome.profile.pointCount, 25544);
        ASSERT_EQ(outcome.profile.elevations.size(), 25544u);
        // "0.2069167" read as 2069167 / 10^7 in double.
        EXPECT_EQ(outcome.profile.interval, 2069167.0 / 1e7);
        EXPECT_NEAR(outcome.profile.interval, 0.2069167, 1e-15);
        EXPECT_NEAR(outcome.profile.elevations.front(), firsts[channel - 1], 1e-15);
        EXPECT_NEAR(outcome.profile.elevations.back(), lasts[channel - 1], 1e-15);
    }
}

} // namespace
} // namespace zlm
