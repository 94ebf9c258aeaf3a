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
                      BadCase{{"--corrections=", "a.erd"}, "--corrections needs a file name"},
                      BadCase{{"--columns-units", "ft", "a.csv"}, "--columns-units must be two units DIST,ELEV"},
                      BadCase{{"--columns-units", "ft,yd", "a.csv"}, "--columns-units must be two units DIST,ELEV"},
                      BadCase{{"--columns-units=FT,in", "a.csv"}, "--columns-units must be two units DIST,ELEV"},
                      BadCase{{"--interval", "0", "a.csv"}, "--interval must be a number greater than 0"},
                      BadCase{{"--interval", "nan", "a.csv"}, "--interval must be a number greater than 0"},
                      BadCase{{"--summary=", "a.erd"}, "--summary needs a file name"},
                      BadCase{{"--summary", "s.csv"}, "no PROFILE"},
                      BadCase{{"--summary", "s.csv", "--output", "o.txt", "a.erd"}, "--output cannot be used"},
                      BadCase{{"--summary", "s.csv", "--corrections", "a.erd"}, "needs --output-dir"},
                      BadCase{{"--summary", "s.csv", "--corrections=z.csv", "a.erd"}, "takes no file name"},
                      BadCase{{"--summary", "s.csv", "--report", "r.pdf", "a.erd"}, "--report cannot be used"},
                      BadCase{{"--ride", "--summary", "s", "--report=r.pdf", "a"}, "--report cannot be used"},
                      BadCase{{"--output-dir", "out", "a.erd"}, "--output-dir is for a survey"},
                      BadCase{{"--recursive", "a.erd"}, "--recursive is for a survey"},
                      BadCase{{"--", "--summary", "a.erd"}, "only one PROFILE"}));

TEST(BatchSurveyArgumentsTest, ASurveyTakesManyProfilesAndCorrectionsAsAFlag)
{
    const ParsedArguments parsed =
        ParseBatchArguments({"a.erd", "--corrections", "--output-dir", "out", "--channel", "17", "--summary=s.csv",
                             "roads/", "--recursive", "--columns-units", "m,mil", "--interval=0.1", "--", "-b.csv"});
    ASSERT_EQ(parsed.status, ArgumentsStatus::Run) << parsed.error;
    const BatchOptions& options = parsed.options;
    EXPECT_TRUE(options.IsSurvey());
    EXPECT_EQ(options.profilePaths, (std::vector<std::string>{"a.erd", "roads/", "-b.csv"}));
    EXPECT_EQ(options.summaryPath, "s.csv");
    EXPECT_EQ(options.outputDir, "out");
    EXPECT_TRUE(options.surveyCorrections && options.recursive && options.channelGiven);
    EXPECT_EQ(options.correctionsPath, "");
    EXPECT_EQ(options.channel, 17);
    EXPECT_EQ(options.columnUnits.distanceUnit, LengthUnit::Metre);
    EXPECT_EQ(options.columnUnits.elevationUnit, LengthUnit::Mil);
    EXPECT_EQ(options.columnUnits.interval, 0.1);

    const ParsedArguments single = ParseBatchArguments({"--channel", "64", "a.erd"});
    ASSERT_EQ(single.status, ArgumentsStatus::Run) << single.error;
    EXPECT_FALSE(single.options.IsSurvey());
    EXPECT_EQ(single.options.channel, 64);
}

TEST(BatchHelpTest, UsageNamesEveryOption)
{
    const std::string usage = BatchUsage();
    EXPECT_TRUE(usage.starts_with(
        "Usage: zlm-batch [--section LENGTH] [--channel K] [--delimiter comma|space] [--output FILE]\n"));
    EXPECT_TRUE(usage.ends_with("\n"));
    for (const char* option : {"--version", "--corrections", "--units", "--length", "--step", "--threshold",
                               "--columns-units", "--interval", "--summary", "--output-dir", "--recursive"}) {
        EXPECT_NE(usage.find(std::string("\n  ") + option + " "), std::string::npos) << option;
    }
}

} // namespace
} // namespace zlm
