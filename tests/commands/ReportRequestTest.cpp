#include "commands/ReportRequest.h"

#include <gtest/gtest.h>

namespace zlm {
namespace {

TEST(AnalysisTime, SourceDateEpochWhenSetElseNow)
{
    const AnalysisTime now = ChooseAnalysisTime(nullptr, 1234);
    EXPECT_TRUE(now.ok);
    EXPECT_EQ(now.seconds, 1234);
    const AnalysisTime fixed = ChooseAnalysisTime("1700000000", 1234);
    EXPECT_TRUE(fixed.ok);
    EXPECT_EQ(fixed.seconds, 1700000000);
    for (const char* bad : {"", "-5", "12x", "1.5", " 12", "99999999999999999999"}) {
        const AnalysisTime refused = ChooseAnalysisTime(bad, 1234);
        EXPECT_FALSE(refused.ok) << bad;
        EXPECT_EQ(refused.message,
                  std::string("SOURCE_DATE_EPOCH must be a whole number of seconds since 1970, not \"") + bad + "\"");
    }
}

TEST(AnalysisTime, ShownInUtc)
{
    EXPECT_EQ(UtcTimeText(0), "1970-01-01 00:00:00 UTC");
    EXPECT_EQ(UtcTimeText(1700000000), "2023-11-14 22:13:20 UTC");
    EXPECT_EQ(UtcTimeText(951868799), "2000-02-29 23:59:59 UTC");
}

TEST(ShellQuoted, QuotesOnlyWhatTheShellWouldChange)
{
    EXPECT_EQ(ShellQuoted("/data/roads/IH-35_north.erd"), "/data/roads/IH-35_north.erd");
    EXPECT_EQ(ShellQuoted("road one.erd"), "'road one.erd'");
    EXPECT_EQ(ShellQuoted("it's $HOME*.erd"), "'it'\\''s $HOME*.erd'");
    EXPECT_EQ(ShellQuoted(""), "''");
}

} // namespace
} // namespace zlm
