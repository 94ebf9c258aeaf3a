#include "profile_input/DelimitedProfileReader.h"

#include "profile_input/ProReader.h"
#include "support/ProfileFiles.h"

#include <gtest/gtest.h>
#include <tuple>

namespace zlm {
namespace {

using test::JoinLines;
using test::TempFolder;

DelimitedUnits Units(std::optional<LengthUnit> distance, std::optional<LengthUnit> elevation,
                     std::optional<double> interval = std::nullopt)
{
    return DelimitedUnits{distance, elevation, interval};
}

const DelimitedUnits kNone;
const DelimitedUnits kFeet = Units(LengthUnit::Foot, LengthUnit::Foot);

struct ReadCase {
    const char* name;
    std::vector<std::string> lines;
    ChannelNumber channel;
    DelimitedUnits units;
    std::vector<double> elevations;
    double interval;
};

class DelimitedReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DelimitedReadTest, ReadsTheColumnInFeet)
{
    const ReadCase& c = GetParam();
    TempFolder folder;
    for (const char* lineEnd : {"\r\n", "\n"}) {
        const std::string path = folder.Write("road.csv", JoinLines(c.lines, lineEnd));
        const DelimitedReadResult result = ReadDelimitedProfile(path, c.channel, c.units);
        ASSERT_TRUE(result.ok) << result.message;
        EXPECT_EQ(result.profile.elevations, c.elevations);
        EXPECT_EQ(result.profile.pointCount, static_cast<std::int32_t>(c.elevations.size()));
        EXPECT_EQ(result.profile.interval, c.interval);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DelimitedReadTest,
    ::testing::Values(ReadCase{"OneColumnGivenInterval",
                               {"1.5", "-2", ""},
                               1,
                               Units(LengthUnit::Inch, LengthUnit::Mil, 3.0),
                               {1.5 / 12000.0, -2 / 12000.0},
                               0.25},
                      ReadCase{"DistanceElevation", {"0,1", "0.25,2", "0.5,3"}, 1, kFeet, {1, 2, 3}, 0.25},
                      ReadCase{"SecondElevation",
                               {"0,1,10", "2,2,20"},
                               2,
                               Units(LengthUnit::Foot, LengthUnit::Inch),
                               {10 / 12.0, 20 / 12.0},
                               2.0},
                      ReadCase{"HeaderUnitsWinOverCaller",
                               {"Elevation (mm)\tStation ( M )", "25.4\t100", "50.8\t100.1"},
                               1,
                               kFeet,
                               {25.4 / 304.8, 50.8 / 304.8},
                               (100.1 - 100.0) / 0.3048},
                      ReadCase{"HeaderDescriptionIsNoUnit",
                               {"Dist (left) (in);Left (mil) (raw)", "0;12", "3;24"},
                               1,
                               kNone,
                               {0.001, 0.002},
                               0.25},
                      ReadCase{"DecimalCommaWithSemicolon", {"0;1,5", "0,25;-2,5"}, 1, kFeet, {1.5, -2.5}, 0.25},
                      ReadCase{"TwoElevationsUnderHeader",
                               {"L (ft),R (in)", "1,12", "2,24"},
                               2,
                               Units(LengthUnit::Foot, {}, 0.5),
                               {1, 2},
                               0.5},
                      ReadCase{"SpacingWithinOnePercent", {"0,1", "0.995,2", "2.0,3"}, 1, kFeet, {1, 2, 3}, 1.0},
                      ReadCase{"ByteOrderMark",
                               {"\xEF\xBB\xBF"
                                "0,1",
                                "1,2"},
                               1,
                               kFeet,
                               {1, 2},
                               1.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    std::vector<std::string> lines;
    DelimitedUnits units;
    std::string message;
};

class DelimitedRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(DelimitedRefusalTest, NamesTheLineAndTheProblem)
{
    const RefusalCase& c = GetParam();
    const DelimitedReadResult result = ParseDelimitedProfile(JoinLines(c.lines), 1, c.units);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, c.message);
    EXPECT_TRUE(result.profile.elevations.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, DelimitedRefusalTest,
    ::testing::Values(
        RefusalCase{"Empty", {"", " "}, kFeet, "The file holds no data: it is empty"},
        RefusalCase{"HeaderOnly",
                    {"Distance (ft),Elevation (ft)"},
                    kFeet,
                    "The file holds no data: line 1 is a header and no line follows it"},
        RefusalCase{"ElevationUnitNoHeader",
                    {"0,1", "1,2"},
                    Units(LengthUnit::Foot, {}),
                    "The elevation unit is missing: the file has no header to name it, and none was given"},
        RefusalCase{"ElevationUnitHeader",
                    {"Station (ft),Elevation", "0,1"},
                    kNone,
                    "The elevation unit is missing: the header of column 2 names none (ft, in, m, mm or mil in "
                    "parentheses), and none was given"},
        RefusalCase{"DistanceUnit",
                    {"Station,Elevation (cm)", "0,1"},
                    Units({}, LengthUnit::Millimetre),
                    "The distance unit is missing: the header of column 1 names none (ft, in, m, mm or mil in "
                    "parentheses), and none was given"},
        RefusalCase{"Interval",
                    {"1", "2"},
                    kFeet,
                    "The sample interval is missing: the file has no distance column, and none was given"},
        RefusalCase{"IntervalUnit",
                    {"1", "2"},
                    Units({}, LengthUnit::Foot, 0.25),
                    "The unit of the sample interval is missing: the file has no distance column, and none was given"},
        RefusalCase{"IntervalZero",
                    {"1", "2"},
                    Units(LengthUnit::Foot, LengthUnit::Foot, 0.0),
                    "The sample interval given, 0, is not a number greater than 0"},
        RefusalCase{"UnevenSpacing",
                    {"0,1", "1,2", "2,3", "3.02,4", "4,5"},
                    kFeet,
                    "Line 4: the distance 3.02 lies 1.02 ft after the one before; every spacing must lie within 1 % "
                    "of the mean spacing, 1 ft"},
        RefusalCase{"Decreasing",
                    {"Distance (m),Z (m)", "10,1", "9,2"},
                    kNone,
                    "The distances do not increase: line 2 gives 10 and line 3 gives 9"},
        RefusalCase{"OnePointWithDistance",
                    {"0,1"},
                    kFeet,
                    "The profile holds one point: its distance column gives no spacing to find the interval from"},
        RefusalCase{"FieldCount", {"0,1", "1,2,3"}, kFeet, "Line 2 holds 3 fields; the profile's lines hold 2"},
        RefusalCase{"TrailingTabOnLastLine",
                    {"0\t1", "1\t2\t", ""},
                    kFeet,
                    "Line 2 holds 3 fields; the profile's lines hold 2"},
        RefusalCase{
            "DecimalCommaWithComma", {"0,1.5", "1,2,5"}, kFeet, "Line 2 holds 3 fields; the profile's lines hold 2"},
        RefusalCase{"FourColumns",
                    {"0;1;2;3"},
                    kFeet,
                    "Line 1 holds 4 fields; a delimited profile has at most 3 columns: distance, elevation 1, "
                    "elevation 2"},
        RefusalCase{"HeaderColumns",
                    {"Distance (ft)\tZ (ft)", "0\t1\t2"},
                    kNone,
                    "Line 1 (the header) holds 2 columns but line 2 holds 3"},
        RefusalCase{
            "TwoDistanceColumns", {"Distance,Station", "0,1"}, kFeet, "Line 1 names two distance columns: 1 and 2"},
        RefusalCase{"OnlyDistance",
                    {"Station (ft)", "1"},
                    kFeet,
                    "Line 1 names only a distance column: the profile has no elevation column"},
        RefusalCase{"ThreeColumnsNoDistance",
                    {"A,B,C", "0,1,2"},
                    kFeet,
                    "Line 1 names no distance column (a header containing \"dist\" or \"station\"); 3 columns need "
                    "one beside elevation 1 and elevation 2"},
        RefusalCase{
            "ElevationNoNumber", {"0,1", "1,nan"}, kFeet, "Line 2: the elevation \"nan\" (column 2) is not a number"},
        RefusalCase{"DistanceNoNumber", {"0,1", "x,2"}, kFeet, "Line 2: the distance \"x\" (column 1) is not a number"},
        RefusalCase{
            "ElevationTooLarge", {"0;1e300", "1;2"}, kFeet, "Line 1: the elevation 1e300 is too large to be analysed"},
        RefusalCase{"EmptyLineInside", {"0,1", "", "2,3"}, kFeet, "Line 2 is empty"},
        RefusalCase{"IntervalTooLarge",
                    {"0,1", "1e300,2"},
                    kFeet,
                    "The sample interval, 1e+300 ft, is too large or too small to be analysed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DelimitedProfileReaderTest, ProbeTellsColumnsAndUnitsFromTheFirstLines)
{
    TempFolder folder;
    // The third line is broken: the probe must not read it.
    const std::string path = folder.Write("road.txt", JoinLines({"Station (ft)\tLeft (mil)\tRight", "0\t1\t2", "x"}));
    const DelimitedProbeResult probe = ProbeDelimitedProfile(path);
    ASSERT_TRUE(probe.ok) << probe.message;
    EXPECT_EQ(probe.layout.delimiter, '\t');
    EXPECT_EQ(probe.layout.elevationCount, 2);
    EXPECT_EQ(probe.layout.distanceUnit, LengthUnit::Foot);
    EXPECT_EQ(probe.layout.elevationUnits[0], LengthUnit::Mil);
    EXPECT_EQ(probe.layout.elevationUnits[1], std::nullopt);

    const std::string blankSecond = folder.Write("blank.txt", JoinLines({"Z (ft)", " ", "1"}));
    EXPECT_EQ(ProbeDelimitedProfile(blankSecond).message, ReadDelimitedProfile(blankSecond, 1, kNone).message);
    EXPECT_EQ(ProbeDelimitedProfile(folder.File("none.csv")).message, "Unable to open " + folder.File("none.csv"));
}

// The same road, 3 points at 3 inches on two paths, written by two programs.
TEST(DelimitedProfileReaderTest, SameRoadAsProAndCsvGivesTheSameFeet)
{
    const std::string pro =
        JoinLines({"HEAD3,06/01/2005,14,227,IH0035,0350,L1", "CMET3,HSP-1,ACP,J. Doe,A1,300,C,05/01", "SSI,mil,LR,3,i",
                   "0,0,0,0,0", "", "125.5,-40,0", "130,-38.25,0", "-7,1e3,0"});
    const std::string csv =
        JoinLines({"Distance (in),Left (mil),Right (mil)", "0,125.5,-40", "3,130,-38.25", "6,-7,1e3"});
    for (const ChannelNumber channel : {1, 2}) {
        const ProReadResult fromPro = ParseProProfile(pro, channel);
        const DelimitedReadResult fromCsv = ParseDelimitedProfile(csv, channel, kNone);
        ASSERT_TRUE(fromPro.ok) << fromPro.message;
        ASSERT_TRUE(fromCsv.ok) << fromCsv.message;
        EXPECT_EQ(fromPro.profile.elevations, fromCsv.profile.elevations);
        EXPECT_EQ(fromPro.profile.interval, fromCsv.profile.interval);
        EXPECT_EQ(fromCsv.profile.nativeElevationUnit, "mil");
    }
}

// In SI units every unit becomes metres with the exact factor, with no detour through feet.
TEST(DelimitedProfileReaderTest, SiUnitsReadMetresWithTheExactFactors)
{
    const std::vector<std::tuple<std::string, double, double>> cases = {
        {"ft", 2.5 * 0.3048, 4 * 0.3048},
        {"in", 2.5 * 0.0254, 4 * 0.0254},
        {"mil", 2.5 * 0.0254 / 1000.0, 4 * 0.0254 / 1000.0},
        {"m", 2.5, 4.0},
        {"mm", 2.5 / 1000.0, 4.0 / 1000.0}};
    for (const auto& [unit, metres, interval] : cases) {
        const DelimitedReadResult read = ParseDelimitedProfile(
            JoinLines({"Station (" + unit + "),Z (" + unit + ")", "0,2.5", "4,2.5"}), 0, kNone, UnitSystem::SI);
        ASSERT_TRUE(read.ok) << read.message;
        EXPECT_EQ(read.profile.elevations.front(), metres) << unit;
        EXPECT_EQ(read.profile.interval, interval) << unit;
        EXPECT_EQ(read.profile.units, UnitSystem::SI);
    }
    const std::string pro = JoinLines({"HEAD3,d,14,227,IH0035,0350,L1", "CMET3,HSP-1,ACP,J,A1,300,C,05/01",
                                       "SSI,mil,L,3,i", "0,0,0,0,0", "", "2.5,0"});
    const ProReadResult fromPro = ParseProProfile(pro, 1, UnitSystem::SI);
    ASSERT_TRUE(fromPro.ok) << fromPro.message;
    EXPECT_EQ(fromPro.profile.elevations.front(), 2.5 * 0.0254 / 1000.0);
    EXPECT_EQ(fromPro.profile.interval, 3 * 0.0254);
    EXPECT_EQ(ParseProProfile(pro, 1).profile.elevations.front(), 2.5 / 12000.0) << "US units read as before";
}

} // namespace
} // namespace zlm
