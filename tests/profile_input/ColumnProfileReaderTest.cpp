#include "profile_input/ColumnProfileReader.h"

#include "support/ProfileFiles.h"

#include <functional>
#include <gtest/gtest.h>

namespace zlm {
namespace {

using test::ColumnHeader;
using test::ColumnLines;
using test::DataLine;
using test::JoinLines;
using test::TempFolder;

const std::string kNotAProfile = "The file you selected is not a valid Rondel format profile.";
const std::string kMetric = "Please change to SI mode to use SI format profiles.";

std::vector<std::string> ThreePoints()
{
    return {DataLine("0.000", "100.125"), DataLine("0.250", "100.250"), DataLine("0.500", "-2.5")};
}

// --- CheckColumnProfile ----------------------------------------------------

struct CheckCase {
    const char* name;
    std::function<std::vector<std::string>()> lines;
    ColumnCheckFailure expected;
};

std::vector<std::string> WithHeader(std::function<void(ColumnHeader&)> change)
{
    ColumnHeader header;
    change(header);
    return ColumnLines(header, ThreePoints());
}

std::vector<std::string> WithFirstDataLine(const std::string& line)
{
    return ColumnLines(ColumnHeader{}, {line, DataLine("0.250", "1.0"), DataLine("0.500", "1.0")});
}

class CheckColumnProfileTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckColumnProfileTest, AcceptsOrRefusesWithTheKindsMessage)
{
    const CheckCase& c = GetParam();
    TempFolder folder;
    for (const char* lineEnd : {"\r\n", "\n"}) {
        const std::string path = folder.Write("profile.dat", JoinLines(c.lines(), lineEnd));
        const ColumnCheckResult result = CheckColumnProfile(path);
        EXPECT_EQ(result.kind, c.expected) << "line end " << (lineEnd[0] == '\r' ? "CR LF" : "LF");
        EXPECT_EQ(result.accepted, c.expected == ColumnCheckFailure::None);
        switch (c.expected) {
        case ColumnCheckFailure::None:
            EXPECT_EQ(result.message, "");
            break;
        case ColumnCheckFailure::MetricProfile:
            EXPECT_EQ(result.message, kMetric);
            break;
        case ColumnCheckFailure::NotAProfile:
            EXPECT_EQ(result.message, kNotAProfile);
            break;
        case ColumnCheckFailure::NotAFile:
            ADD_FAILURE() << "a written file always has a folder in its path";
            break;
        }
    }
}

using F = ColumnCheckFailure;

INSTANTIATE_TEST_SUITE_P(
    Files, CheckColumnProfileTest,
    ::testing::Values(
        CheckCase{"Valid", [] { return ColumnLines(ColumnHeader{}, ThreePoints()); }, F::None},
        CheckCase{"Metric", [] { return WithHeader([](ColumnHeader& h) { h.units = "Metric"; }); }, F::MetricProfile},
        CheckCase{"MetricBetweenBlanks", [] { return WithHeader([](ColumnHeader& h) { h.units = "  Metric (m)"; }); },
                  F::MetricProfile},
        CheckCase{"MetricLowerCasePasses", [] { return WithHeader([](ColumnHeader& h) { h.units = "metric"; }); },
                  F::None},
        CheckCase{"OtherUnitTextPasses", [] { return WithHeader([](ColumnHeader& h) { h.units = "SI"; }); }, F::None},
        CheckCase{"IntervalZero", [] { return WithHeader([](ColumnHeader& h) { h.interval = "0.000"; }); },
                  F::NotAProfile},
        CheckCase{"IntervalNoNumber", [] { return WithHeader([](ColumnHeader& h) { h.interval = "quarter"; }); },
                  F::NotAProfile},
        CheckCase{"IntervalNegative", [] { return WithHeader([](ColumnHeader& h) { h.interval = "-0.25"; }); },
                  F::NotAProfile},
        CheckCase{"IntervalBeyondSingle", [] { return WithHeader([](ColumnHeader& h) { h.interval = "1E39"; }); },
                  F::NotAProfile},
        CheckCase{"IntervalWithTrailingBlanks",
                  [] { return WithHeader([](ColumnHeader& h) { h.interval = "0.25  "; }); }, F::None},
        CheckCase{"IntervalDecimalComma", [] { return WithHeader([](ColumnHeader& h) { h.interval = "0,25"; }); },
                  F::None},
        CheckCase{"CountZero", [] { return WithHeader([](ColumnHeader& h) { h.count = "0"; }); }, F::NotAProfile},
        CheckCase{"CountNoNumber", [] { return WithHeader([](ColumnHeader& h) { h.count = "three"; }); },
                  F::NotAProfile},
        CheckCase{"CountNegative", [] { return WithHeader([](ColumnHeader& h) { h.count = "-3"; }); }, F::NotAProfile},
        CheckCase{"CountBeyond32Bits", [] { return WithHeader([](ColumnHeader& h) { h.count = "2147483648"; }); },
                  F::NotAProfile},
        CheckCase{"CountWithDecimals", [] { return WithHeader([](ColumnHeader& h) { h.count = " 3.0 "; }); }, F::None},
        CheckCase{"LeadingFieldNotBlankInColumn12",
                  [] { return WithFirstDataLine(std::string(11, '0') + "x" + std::string(6, ' ') + "  100.125"); },
                  F::NotAProfile},
        CheckCase{"LeadingFieldNotBlankInColumn18",
                  [] { return WithFirstDataLine("0.000" + std::string(12, ' ') + "x" + "  100.125"); }, F::NotAProfile},
        CheckCase{"ElevationNotRightAligned",
                  [] { return WithFirstDataLine("0.000" + std::string(13, ' ') + " 100.125 "); }, F::NotAProfile},
        CheckCase{"FirstDataLineShort", [] { return WithFirstDataLine("0.000" + std::string(13, ' ') + "  100.12"); },
                  F::NotAProfile},
        CheckCase{"LaterDataLinesNotExamined",
                  [] {
                      return ColumnLines(ColumnHeader{}, {DataLine("0", "1.0"), "garbage", ""});
                  },
                  F::None},
        CheckCase{"NoDataLine", [] { return ColumnLines(ColumnHeader{}, {}); }, F::NotAProfile},
        CheckCase{"EndsInHeader",
                  [] {
                      auto lines = ColumnLines(ColumnHeader{}, {});
                      lines.resize(8);
                      return lines;
                  },
                  F::NotAProfile},
        CheckCase{"Empty", [] { return std::vector<std::string>{}; }, F::NotAProfile}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST(CheckColumnProfileFile, PathWithoutSeparatorIsNotAFile)
{
    const ColumnCheckResult result = CheckColumnProfile("profile.dat");
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.kind, ColumnCheckFailure::NotAFile);
    EXPECT_EQ(result.message, "Not a file");
}

TEST(CheckColumnProfileFile, UnreadableFileIsNotAProfile)
{
    TempFolder folder;
    for (const std::string& path : {folder.File("missing.dat"), folder.File(""), std::string(R"(C:\no\such.dat)")}) {
        const ColumnCheckResult result = CheckColumnProfile(path);
        EXPECT_EQ(result.kind, ColumnCheckFailure::NotAProfile) << path;
        EXPECT_EQ(result.message, kNotAProfile);
    }
}

// --- ReadColumnProfile -------------------------------------------------------

TEST(ReadColumnProfile, ReadsTitleIntervalAndElevations)
{
    TempFolder folder;
    for (const char* lineEnd : {"\r\n", "\n"}) {
        const std::string path =
            folder.Write("road.dat", JoinLines(ColumnLines(ColumnHeader{}, ThreePoints()), lineEnd));
        const ColumnReadResult result = ReadColumnProfile(path);
        ASSERT_TRUE(result.ok) << result.message;
        EXPECT_EQ(result.title, "Test road, lane 1");
        EXPECT_EQ(result.profile.pointCount, 3);
        EXPECT_EQ(result.profile.interval, 0.25);
        EXPECT_EQ(result.profile.elevations, (std::vector<double>{100.125, 100.25, -2.5}));
    }
}

TEST(ReadColumnProfile, TitleKeepsItsBlanksAndLabelIsIgnored)
{
    TempFolder folder;
    ColumnHeader header;
    header.title = "  I-35 NB  ";
    std::vector<std::string> lines = ColumnLines(header, ThreePoints());
    lines[0].replace(0, 16, "any label text::");
    const ColumnReadResult result = ReadColumnProfile(folder.Write("road.dat", JoinLines(lines)));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.title, "  I-35 NB  ");
}

struct ElevationCase {
    const char* name;
    std::string line;
    double expected;
};

class ColumnElevationTest : public ::testing::TestWithParam<ElevationCase> {};

TEST_P(ColumnElevationTest, ReadsTheSecondDataLine)
{
    const ElevationCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.Write(
        "road.dat", JoinLines(ColumnLines(ColumnHeader{}, {DataLine("0", "1.0"), c.line, DataLine("0.5", "2.0")})));
    const ColumnReadResult result = ReadColumnProfile(path);
    ASSERT_TRUE(result.ok) << result.message;
    ASSERT_EQ(result.profile.elevations.size(), 3u);
    EXPECT_EQ(result.profile.elevations[1], c.expected);
    EXPECT_EQ(result.profile.elevations[2], 2.0) << "reading goes on after the line";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ColumnElevationTest,
    ::testing::Values(ElevationCase{"DecimalComma", DataLine("0.25", "1,5"), 1.5},
                      ElevationCase{"Negative", DataLine("0.25", "-0.0625"), -0.0625},
                      ElevationCase{"TextAfterColumn27Ignored", DataLine("0.25", "12.5") + "  7.0 extra", 12.5},
                      ElevationCase{"NoNumberReadsZero", DataLine("0.25", "n/a"), 0.0},
                      ElevationCase{"EmptyLineReadsZero", "", 0.0},
                      ElevationCase{"ShortLineReadsToItsEnd", "0.25              12.5", 12.5},
                      ElevationCase{"ShortLineTrailingBlanksIgnored", "0.25              12.5  ", 12.5},
                      ElevationCase{"LineEndingBeforeColumn19", "0.25", 0.0},
                      ElevationCase{"LeadingFieldNeverRead", "999999999999999999    3.25", 3.25}),
    [](const ::testing::TestParamInfo<ElevationCase>& info) { return std::string(info.param.name); });

struct FileErrorCase {
    const char* name;
    std::function<std::vector<std::string>()> lines;
    std::string detail; ///< the text after "File not found or invalid (path)."
};

class ReadColumnFileErrorTest : public ::testing::TestWithParam<FileErrorCase> {};

TEST_P(ReadColumnFileErrorTest, RefusesWholly)
{
    const FileErrorCase& c = GetParam();
    TempFolder folder;
    for (const char* lineEnd : {"\r\n", "\n"}) {
        const std::string path = folder.Write("road.dat", JoinLines(c.lines(), lineEnd));
        const ColumnReadResult result = ReadColumnProfile(path);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, "File not found or invalid (" + path + ")." + c.detail);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadColumnFileErrorTest,
    ::testing::Values(
        FileErrorCase{"Line6NoNumber", [] { return WithHeader([](ColumnHeader& h) { h.line6 = "none"; }); }, ""},
        FileErrorCase{"Line6Empty", [] { return WithHeader([](ColumnHeader& h) { h.line6 = ""; }); }, ""},
        FileErrorCase{"CountNoNumber", [] { return WithHeader([](ColumnHeader& h) { h.count = "many"; }); }, ""},
        FileErrorCase{"CountNegative", [] { return WithHeader([](ColumnHeader& h) { h.count = "-3"; }); }, ""},
        FileErrorCase{"IntervalZero", [] { return WithHeader([](ColumnHeader& h) { h.interval = "0"; }); }, ""},
        FileErrorCase{"HeaderShort",
                      [] {
                          auto lines = ColumnLines(ColumnHeader{}, {});
                          lines.resize(10);
                          return lines;
                      },
                      ""},
        FileErrorCase{"FewerDataLinesThanCount", [] { return WithHeader([](ColumnHeader& h) { h.count = "5"; }); },
                      " Its header declares 5 points but it holds only 3 data lines."},
        FileErrorCase{"TrailingEmptyLinesAreNoDataLines",
                      [] {
                          auto lines = WithHeader([](ColumnHeader& h) { h.count = "5"; });
                          lines.insert(lines.end(), {"", "   "});
                          return lines;
                      },
                      " Its header declares 5 points but it holds only 3 data lines."},
        FileErrorCase{"HugeCountFewLines", [] { return WithHeader([](ColumnHeader& h) { h.count = "999999999"; }); },
                      " Its header declares 999999999 points but it holds only 3 data lines."},
        FileErrorCase{"ElevationBeyondSingle",
                      [] {
                          return ColumnLines(ColumnHeader{},
                                             {DataLine("0", "1.0"), DataLine("0.25", "1.0"), DataLine("0.5", "-4E38")});
                      },
                      " Line 14 holds an elevation too large to be analysed."},
        FileErrorCase{"ElevationWrittenAsNan",
                      [] {
                          return ColumnLines(ColumnHeader{},
                                             {DataLine("0", "1.0"), DataLine("0.25", "NaN"), DataLine("0.5", "1.0")});
                      },
                      " Line 13 holds an elevation that is not a finite number."}),
    [](const ::testing::TestParamInfo<FileErrorCase>& info) { return std::string(info.param.name); });

TEST(ReadColumnProfile, MissingFileIsAFileError)
{
    TempFolder folder;
    const std::string path = folder.File("missing.dat");
    const ColumnReadResult result = ReadColumnProfile(path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "File not found or invalid (" + path + ").");
}

TEST(ReadColumnProfile, ReadsOnlyTheDeclaredCount)
{
    TempFolder folder;
    const std::string path =
        folder.Write("road.dat", JoinLines(ColumnLines(ColumnHeader{}, {DataLine("0", "1.0"), DataLine("0", "2.0"),
                                                                        DataLine("0", "3.0"), DataLine("0", "4.0")})));
    const ColumnReadResult result = ReadColumnProfile(path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.profile.elevations, (std::vector<double>{1.0, 2.0, 3.0}));
}

TEST(ReadColumnProfile, LastLineWithoutLineEndCounts)
{
    TempFolder folder;
    std::string text = JoinLines(ColumnLines(ColumnHeader{}, ThreePoints()));
    text.resize(text.size() - 2);
    const ColumnReadResult result = ReadColumnProfile(folder.Write("road.dat", text));
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.profile.elevations.back(), -2.5);
}

} // namespace
} // namespace zlm
