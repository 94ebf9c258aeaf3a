#include "batch/BatchRun.h"

#include "analysis/ProgressSink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace zlm
