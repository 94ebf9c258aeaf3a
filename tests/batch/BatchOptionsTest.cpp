#include "batch/BatchOptions.h"

#include <gtest/gtest.h>

namespace zlm {
namespace {

struct GoodCase {
    std::vector<std::string> arguments;
    BatchOptions expected;
};

void PrintTo(const GoodCase& c, std::ostream* os)
{
    for (const auto& argument : c.arguments) {
        *os << '"' << argument << "\" ";
    }
}

class BatchArgumentsTest : public ::testing::TestWithParam<GoodCase> {};

TEST_P(BatchArgumentsTest, ReadsTheOptions)
{
    const ParsedArguments parsed = ParseBatchArguments(GetParam().arguments);
    ASSERT_EQ(parsed.status, ArgumentsStatus::Run) << parsed.error;
    const BatchOptions& got = parsed.options;
    const BatchOptions& want = GetParam().expected;
    EXPECT_EQ(got.sectionText, want.sectionText);
    EXPECT_EQ(got.channel, want.channel);
    EXPECT_EQ(got.delimiter, want.delimiter);
    EXPECT_EQ(got.outputPath, want.outputPath);
    EXPECT_EQ(got.correctionsPath, want.correctionsPath);
    EXPECT_EQ(got.profilePath, want.profilePath);
    EXPECT_EQ(got.method, want.method);
}

INSTANTIATE_TEST_SUITE_P(
    Good, BatchArgumentsTest,
    ::testing::Values(
        GoodCase{{"road.erd"}, {"", 1, Delimiter::Comma, "", "road.erd", "", {}}},
        GoodCase{{"--section", "100", "--channel", "2", "--delimiter", "space", "--output", "o.txt", "road.dat"},
                 {"100", 2, Delimiter::Space, "o.txt", "road.dat", "", {}}},
        GoodCase{{"road.erd", "--section=12,5", "--channel=1", "--delimiter=comma", "--output=a=b.txt"},
                 {"12,5", 1, Delimiter::Comma, "a=b.txt", "road.erd", "", {}}},
        // The section text is handed on as typed: the run reads it like the window's text box.
        GoodCase{{"--section", " abc ", "road.erd"}, {" abc ", 1, Delimiter::Comma, "", "road.erd", "", {}}},
        GoodCase{{"--section", "-5", "--", "--odd name.erd"},
                 {"-5", 1, Delimiter::Comma, "", "--odd name.erd", "", {}}},
        GoodCase{{"-"}, {"", 1, Delimiter::Comma, "", "-", "", {}}},
        GoodCase{{"--corrections", "z.csv", "road.erd"}, {"", 1, Delimiter::Comma, "", "road.erd", "z.csv", {}}},
        GoodCase{{"road.erd", "--corrections=z.csv"}, {"", 1, Delimiter::Comma, "", "road.erd", "z.csv", {}}}));

TEST(BatchHelpTest, HelpWinsWhereverItStands)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"road.erd", "--help"}, {"--channel", "2", "--help", "road.erd"}}) {
        EXPECT_EQ(ParseBatchArguments(arguments).status, ArgumentsStatus::Help) << arguments.front();
    }
}

TEST(BatchHelpTest, VersionWinsWhereverItStandsButNotAfterTheOptionsEnd)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--version"}, {"road.erd", "--version"}, {"--version", "--channel", "3"}}) {
        EXPECT_EQ(ParseBatchArguments(arguments).status, ArgumentsStatus::Version) << arguments.front();
    }
    const ParsedArguments profileNamedLikeTheOption = ParseBatchArguments({"--", "--version"});
    EXPECT_EQ(profileNamedLikeTheOption.status, ArgumentsStatus::Run);
    EXPECT_EQ(profileNamedLikeTheOption.options.profilePath, "--version");
    EXPECT_EQ(ParseBatchArguments({"--version=2", "road.erd"}).status, ArgumentsStatus::UsageError);
}

struct BadCase {
    std::vector<std::string> arguments;
    std::string phrase;
};

void PrintTo(const BadCase& c, std::ostream* os)
{
    *os << c.phrase;
}

class BatchUsageErrorTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BatchUsageErrorTest, SaysWhatIsWrong)
{
    const ParsedArguments parsed = ParseBatchArguments(GetParam().arguments);
    EXPECT_EQ(parsed.status, ArgumentsStatus::UsageError);
    EXPECT_NE(parsed.error.find(GetParam().phrase), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Bad, BatchUsageErrorTest,
    ::testing::Values(BadCase{{}, "no PROFILE"}, BadCase{{"--section", "100"}, "no PROFILE"},
                      BadCase{{"a.erd", "b.erd"}, "only one PROFILE"},
                      BadCase{{"--verbose", "a.erd"}, "unknown option"},
                      BadCase{{"a.erd", "--section"}, "--section needs a value"},
                      BadCase{{"--channel", "65", "a.erd"}, "--channel must be a channel from 1 to 64"},
                      BadCase{{"--channel", "0", "a.erd"}, "--channel must be a channel from 1 to 64"},
                      BadCase{{"--channel", "2.0", "a.erd"}, "--channel must be a channel from 1 to 64"},
                      BadCase{{"--channel=", "a.erd"}, "--channel must be a channel from 1 to 64"},
                      BadCase{{"--delimiter", "tab", "a.erd"}, "--delimiter must be comma or space"},
                      BadCase{{"--delimiter", "Comma", "a.erd"}, "--delimiter must be comma or space"},
                      BadCase{{"--output=", "a.erd"}, "--output needs a file name"},
                      BadCase{{"--units", "metric", "a.erd"}, "--units must be us or si"},
                      BadCase{{"--length", "ten", "a.erd"}, "--length must be a number"},
                      BadCase{{"--step", "8ft", "a.erd"}, "--step must be a number"},
                      BadCase{{"--threshold=", "a.erd"}, "--threshold must be a number"},
                      BadCase{{"--corrections=", "a.erd"}, "--corrections needs a file name"}));

TEST(BatchHelpTest, UsageNamesEveryOption)
{
    const std::string usage = BatchUsage();
    EXPECT_TRUE(usage.starts_with(
        "Usage: zlm-batch [--section LENGTH] [--channel K] [--delimiter comma|space] [--output FILE]\n"));
    EXPECT_TRUE(usage.ends_with("\n"));
    for (const char* option : {"--version", "--corrections", "--units", "--length", "--step", "--threshold"}) {
        EXPECT_NE(usage.find(std::string("\n  ") + option + " "), std::string::npos) << option;
    }
}

} // namespace
} // namespace zlm
