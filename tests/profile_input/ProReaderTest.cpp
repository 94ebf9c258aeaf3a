#include "profile_input/ProReader.h"

#include "support/ProfileFiles.h"

#include <gtest/gtest.h>

namespace zlm {
namespace {

using test::JoinLines;
using test::TempFolder;

const std::string kHead = "HEAD3,06/01/2005,14,227,IH0035,0350+0.5,L1";
const std::string kCmet = "CMET3,HSP-1,ACP,J. Doe,A123,300,C-77,05/01/2005";
const std::string kGps = "30.2672,-97.7431,150.2,180.0,55.0";

std::vector<std::string> Pro(const std::string& line3, std::vector<std::string> data)
{
    std::vector<std::string> lines = {kHead, kCmet, line3, kGps, "Northbound, after resurfacing"};
    lines.insert(lines.end(), data.begin(), data.end());
    return lines;
}

struct ReadCase {
    const char* name;
    std::vector<std::string> lines;
    ChannelNumber channel;
    std::vector<double> elevations;
    double interval;
    char pathRead;
    std::int32_t pathCount;
};

class ProReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProReadTest, ReadsThePathInFeet)
{
    const ReadCase& c = GetParam();
    TempFolder folder;
    for (const char* lineEnd : {"\r\n", "\n"}) {
        const ProReadResult result = ReadProProfile(folder.Write("road.pro", JoinLines(c.lines, lineEnd)), c.channel);
        ASSERT_TRUE(result.ok) << result.message;
        EXPECT_EQ(result.profile.elevations, c.elevations);
        EXPECT_EQ(result.profile.pointCount, static_cast<std::int32_t>(c.elevations.size()));
        EXPECT_EQ(result.profile.interval, c.interval);
        EXPECT_EQ(result.pathRead, c.pathRead);
        EXPECT_EQ(result.pathCount, c.pathCount);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProReadTest,
    ::testing::Values(
        ReadCase{"MilsLeftOnly",
                 Pro("SSI,mil,L,3,i", {"120,0", "-36.5,0", "0,1"}),
                 2,
                 {120 / 12000.0, -36.5 / 12000.0, 0.0},
                 0.25,
                 'L',
                 1},
        ReadCase{"RightOnly", Pro("SSI,mil,R,6,i", {"12,0"}), 1, {12 / 12000.0}, 0.5, 'R', 1},
        ReadCase{"TwoPathsLeft", Pro("SSI,mil,LR,3,i", {"120,240,0", "-12,24,0"}), 1, {0.01, -0.001}, 0.25, 'L', 2},
        ReadCase{"TwoPathsRight", Pro("SSI,mil,LR,3,i", {"120,240,0", "-12,24,0"}), 2, {0.02, 0.002}, 0.25, 'R', 2},
        ReadCase{"DropoutInTheOtherPath", Pro("SSI,mil,LR,3,i", {"12,,0"}), 1, {0.001}, 0.25, 'L', 2},
        ReadCase{"Inches", Pro("SSI, in ,L, 3 , i", {" 1.5 , 0"}), 1, {1.5 / 12.0}, 0.25, 'L', 1},
        ReadCase{"Millimetres", Pro("SSI,mm,L,3,i", {"25.4,0"}), 1, {25.4 / 304.8}, 0.25, 'L', 1},
        ReadCase{"PositionOnSomeLines",
                 Pro("SSI,mil,LR,3,i", {"1,2,0," + kGps, "3,4,E2", "5,6,0,,,,,"}),
                 2,
                 {2 / 12000.0, 4 / 12000.0, 6 / 12000.0},
                 0.25,
                 'R',
                 2},
        ReadCase{
            "TrailingEmptyLinesAreNoPoints", Pro("SSI,mil,L,3,i", {"1,0", "", "  "}), 1, {1 / 12000.0}, 0.25, 'L', 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    std::vector<std::string> lines;
    std::string message;
};

class ProRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ProRefusalTest, NamesTheLineAndTheProblem)
{
    const RefusalCase& c = GetParam();
    const ProReadResult result = ParseProProfile(JoinLines(c.lines), 1);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, c.message);
    EXPECT_TRUE(result.profile.elevations.empty());
}

std::vector<std::string> Replaced(std::vector<std::string> lines, std::size_t index, const std::string& line)
{
    lines[index] = line;
    return lines;
}

const std::vector<std::string> kGood = Pro("SSI,mil,LR,3,i", {"1,2,0"});

INSTANTIATE_TEST_SUITE_P(
    Files, ProRefusalTest,
    ::testing::Values(
        RefusalCase{"Empty", {}, "Line 1 does not begin with HEAD3: the file is not a PRO profile"},
        RefusalCase{"NoHead", Replaced(kGood, 0, "HEAD2,x"),
                    "Line 1 does not begin with HEAD3: the file is not a PRO profile"},
        RefusalCase{"NoCmet", Replaced(kGood, 1, "HEAD3"),
                    "Line 2 does not begin with CMET3: the file is not a PRO profile"},
        RefusalCase{"ShortLine3", Replaced(kGood, 2, "SSI,mil,LR,3"),
                    "Line 3 holds fewer than 5 fields: maker, elevation unit, paths, sample interval, interval unit"},
        RefusalCase{"ElevationUnit", Replaced(kGood, 2, "SSI,cm,LR,3,i"),
                    "Line 3: the elevation unit \"cm\" is not known (mil, in or mm)"},
        RefusalCase{"Paths", Replaced(kGood, 2, "SSI,mil,C,3,i"), "Line 3: the paths \"C\" are not known (L, R or LR)"},
        RefusalCase{"IntervalUnit", Replaced(kGood, 2, "SSI,mil,LR,3,ft"),
                    "Line 3: the interval unit \"ft\" is not known (i, inches)"},
        RefusalCase{"IntervalNoNumber", Replaced(kGood, 2, "SSI,mil,LR,nan,i"),
                    "Line 3: the sample interval \"nan\" is not a number"},
        RefusalCase{"IntervalZero", Replaced(kGood, 2, "SSI,mil,LR,0,i"),
                    "Line 3: the sample interval 0 i is not greater than 0"},
        RefusalCase{"IntervalNegative", Replaced(kGood, 2, "SSI,mil,LR,-3,i"),
                    "Line 3: the sample interval -3 i is not greater than 0"},
        RefusalCase{"IntervalHuge", Replaced(kGood, 2, "SSI,mil,LR,1e300,i"),
                    "Line 3: the sample interval 1e300 i is too large or too small to be analysed"},
        RefusalCase{"NoData", Pro("SSI,mil,LR,3,i", {"", ""}), "The file holds no data: its points begin on line 6"},
        RefusalCase{"FieldCountTwoPaths", Pro("SSI,mil,LR,3,i", {"1,2,0", "1,2"}),
                    "Line 7 holds 2 fields; a data line of two paths holds 3, or 8 with position"},
        RefusalCase{"FieldCountOnePath", Pro("SSI,mil,L,3,i", {"1,0,30.1,-97.2"}),
                    "Line 6 holds 4 fields; a data line of one path holds 2, or 7 with position"},
        RefusalCase{"EmptyLineInside", Pro("SSI,mil,L,3,i", {"1,0", "", "2,0"}), "Line 7 is empty"},
        RefusalCase{"ElevationNoNumber", Pro("SSI,mil,LR,3,i", {"1,2,0", "inf,2,0"}),
                    "Line 7: the left elevation \"inf\" is not a number"},
        RefusalCase{"ElevationEmpty", Pro("SSI,mil,L,3,i", {",0"}), "Line 6: the elevation \"\" is not a number"},
        RefusalCase{"ElevationTooLarge", Pro("SSI,mil,L,3,i", {"1e300,0"}),
                    "Line 6: the elevation 1e300 is too large to be analysed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProReaderTest, ProbeTellsThePathsFromTheHeaderAlone)
{
    TempFolder folder;
    // The data is broken: the probe must not read it.
    const ProProbeResult two = ProbeProProfile(folder.Write("two.pro", JoinLines(Pro("SSI,mil,LR,3,i", {"x"}))));
    ASSERT_TRUE(two.ok) << two.message;
    EXPECT_EQ(two.pathCount, 2);
    EXPECT_EQ(ProbeProText(JoinLines(Pro("SSI,mil,R,3,i", {}))).pathCount, 1);

    const ProProbeResult refused = ProbeProText(JoinLines(Replaced(kGood, 2, "SSI,cm,LR,3,i")));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, ParseProProfile(JoinLines(Replaced(kGood, 2, "SSI,cm,LR,3,i")), 1).message);
    EXPECT_EQ(ProbeProProfile(folder.File("missing.pro")).message, "Unable to open " + folder.File("missing.pro"));
}

TEST(ProReaderTest, KeepsHeaderFieldsAndNativeUnits)
{
    std::vector<std::string> lines = Pro("SSI,mm,L,3,i", {"1,0"});
    lines[1] = "CMET3,HSP-1"; // a short line 2 keeps its missing fields, empty
    const ProReadResult result = ParseProProfile(JoinLines(lines), 1);
    ASSERT_TRUE(result.ok) << result.message;
    const auto& fields = result.profile.headerFields;
    ASSERT_EQ(fields.size(), 6u + 7u + 5u + 5u + 1u);
    EXPECT_EQ(fields[3], std::make_pair(std::string("Highway"), std::string("IH0035")));
    EXPECT_EQ(fields[6], std::make_pair(std::string("Profiler"), std::string("HSP-1")));
    EXPECT_EQ(fields[7], std::make_pair(std::string("Surface"), std::string()));
    EXPECT_EQ(fields[18], std::make_pair(std::string("Start latitude"), std::string("30.2672")));
    EXPECT_EQ(fields.back(), std::make_pair(std::string("Comment"), std::string("Northbound, after resurfacing")));
    EXPECT_EQ(result.profile.nativeElevationUnit, "mm");
    EXPECT_EQ(result.profile.nativeDistanceUnit, "in");
    EXPECT_EQ(result.profile.nativeInterval, 3.0);
}

} // namespace
} // namespace zlm
