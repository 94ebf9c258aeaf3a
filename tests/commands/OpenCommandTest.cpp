#include "commands/OpenCommand.h"

#include "support/ProfileFiles.h"

#include <gtest/gtest.h>
#include <optional>

namespace zlm {
namespace {

using test::ColumnHeader;
using test::ColumnLines;
using test::DataLine;
using test::JoinLines;
using test::TempFolder;

std::string ColumnText(const ColumnHeader& header = ColumnHeader{})
{
    return JoinLines(ColumnLines(header, {DataLine("0", "1.5"), DataLine("0.25", "2.5"), DataLine("0.5", "3.5")}));
}

const std::string kErdText = JoinLines(
    {"ERDFILEV2.00", "2,2,0,0,0,0.5", "TITLE   Ramp B", "UNITSNAMft", "GAIN 1,2", "END", "1.0 4.0", "2.0 5.0"});

struct OpenCase {
    const char* name;
    std::string fileName;
    std::string text;
    OpenFailureBox box;
    std::string message; ///< "%" stands for the full path
    std::string title;
};

class ReadProfileFileTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(ReadProfileFileTest, GivesTheBoxAndItsWholeText)
{
    const OpenCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.Write(c.fileName, c.text);
    std::string expected = c.message;
    if (const auto at = expected.find('%'); at != std::string::npos) {
        expected.replace(at, 1, path);
    }
    ChannelNumber channel = 2;
    int asked = 0;
    const OpenOutcome outcome =
        ReadProfileFile(path, channel, [&asked](ChannelNumber earlier, const std::vector<std::string>&) {
            ++asked;
            return earlier;
        });
    EXPECT_EQ(outcome.box, c.box);
    EXPECT_EQ(outcome.loaded, c.box == OpenFailureBox::None);
    EXPECT_EQ(outcome.message, expected);
    EXPECT_EQ(outcome.title, c.title);
    if (outcome.loaded) {
        EXPECT_EQ(outcome.profile.pointCount, static_cast<std::int32_t>(outcome.profile.elevations.size()));
        EXPECT_GT(outcome.profile.pointCount, 0);
    } else {
        EXPECT_TRUE(outcome.profile.elevations.empty());
    }
}

ColumnHeader Header(const std::string& units, const std::string& line6)
{
    ColumnHeader header;
    header.units = units;
    header.line6 = line6;
    return header;
}

const std::string kTakeoff = "The file you selected is not a valid Rondel format profile.  Would you like to run the "
                             "Varnholt to convert the file to Rondel format?";

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ReadProfileFileTest,
    ::testing::Values(
        OpenCase{"ColumnText", "road.dat", ColumnText(), OpenFailureBox::None, "", "Test road, lane 1"},
        OpenCase{"Metric", "road.dat", ColumnText(Header("Metric", "1")), OpenFailureBox::SkiError,
                 "Please change to SI mode to use SI format profiles.", ""},
        OpenCase{"NotAProfile", "road.dat", "not a profile\r\n", OpenFailureBox::TakeoffError, kTakeoff, ""},
        OpenCase{"HeaderFailure", "road.dat", ColumnText(Header("English", "none")), OpenFailureBox::FileError,
                 "File not found or invalid (%).", ""},
        OpenCase{"UpperCaseDatIsErd", "ROAD1.DAT", ColumnText(), OpenFailureBox::ErdError,
                 "Error 0 File is is not in ERD format", ""},
        OpenCase{"Erd", "ramp.erd", kErdText, OpenFailureBox::None, "", "Ramp B"},
        OpenCase{"OtherExtensionIsErd", "ramp.txt", kErdText, OpenFailureBox::None, "", "Ramp B"},
        OpenCase{"ErdHoldingColumnText", "road.erd", ColumnText(), OpenFailureBox::ErdError,
                 "Error 0 File is is not in ERD format", ""},
        OpenCase{"ErdRefusal", "ramp.erd", "ERDFILEV2.00\r\n1,2,0,0,0,0.5\r\nEND\r\n1\r\n", OpenFailureBox::ErdError,
                 "Error 0 Error: The file has no UNITSNAM line naming the unit of its data", ""}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

TEST(ReadProfileFile, PathWithoutFolderIsNotAFile)
{
    ChannelNumber channel = 1;
    const OpenOutcome outcome = ReadProfileFile("road.dat", channel, nullptr);
    EXPECT_EQ(outcome.box, OpenFailureBox::SkiError);
    EXPECT_EQ(outcome.message, "Not a file");
}

TEST(ReadProfileFile, MissingErdFile)
{
    TempFolder folder;
    const std::string path = folder.File("gone.erd");
    ChannelNumber channel = 1;
    const OpenOutcome outcome = ReadProfileFile(path, channel, nullptr);
    EXPECT_EQ(outcome.box, OpenFailureBox::ErdError);
    EXPECT_EQ(outcome.message, "Error 0 Unable to open " + path);
}

TEST(ReadProfileFile, TwoChannelErdAsksAndUsesTheAnswer)
{
    TempFolder folder;
    const std::string path = folder.Write("ramp.erd", kErdText);
    ChannelNumber channel = 1;
    const OpenOutcome outcome =
        ReadProfileFile(path, channel, [](ChannelNumber, const std::vector<std::string>&) { return 2; });
    ASSERT_TRUE(outcome.loaded);
    EXPECT_EQ(outcome.profile.elevations, (std::vector<double>{8.0, 10.0}));
    EXPECT_EQ(outcome.profile.interval, 0.5);
}

// Cancelling the channel window is neither a load nor a refusal: no box, no text.
TEST(ReadProfileFile, TwoChannelErdCancelledShowsNothing)
{
    TempFolder folder;
    const std::string path = folder.Write("ramp.erd", kErdText);
    ChannelNumber channel = 2;
    const OpenOutcome outcome = ReadProfileFile(
        path, channel, [](ChannelNumber, const std::vector<std::string>&) { return std::optional<ChannelNumber>(); });
    EXPECT_FALSE(outcome.loaded);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.box, OpenFailureBox::None);
    EXPECT_TRUE(outcome.message.empty());
    EXPECT_TRUE(outcome.profile.elevations.empty());
    EXPECT_EQ(channel, 2);
}

TEST(IsColumnTextPath, LastThreeCharactersExactCase)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"/p/road.dat", true}, {"/p/road.DAT", false},     {"/p/road.Dat", false}, {"dat", true}, {"at", false},
        {"", false},           {"/p/road.dat.erd", false}, {"/p/roaddat", true}};
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(IsColumnTextPath(path), expected) << path;
    }
}

// --- PRO and delimited text ---------------------------------------------------

using Names = std::vector<std::string>;

const std::string kProHead = "HEAD3,06/01/2005,14,227,IH0035,0350,L1\r\nCMET3,HSP-1,ACP,J. Doe,A1,300,C,05/01\r\n";

// One road, 4 points at 0.25 ft on two paths, as each format writes it.
TEST(ReadProfileFile, TheSameRoadInEveryFormatGivesTheSameProfile)
{
    TempFolder folder;
    const std::vector<std::string> paths = {
        folder.Write("road.erd", JoinLines({"ERDFILEV2.00", "2,4,0,0,0,0.25", "UNITSNAM ft", "XUNITS  ft", "END",
                                            "0.5 1", "0.25 -0.125", "-0.125 0", "0 0.75"})),
        folder.Write("road.PRO",
                     kProHead + JoinLines({"SSI,in,LR,3,i", "", "", "6,12,0", "3,-1.5,0", "-1.5,0,0", "0,9,0"})),
        folder.Write("road.Csv", JoinLines({"Station (ft),Left (in),Right (ft)", "0,6,1", "0.25,3,-0.125", "0.5,-1.5,0",
                                            "0.75,0,0.75"})),
        folder.Write("road.txt", JoinLines({"0;0,5;1", "0,25;0,25;-0,125", "0,5;-0,125;0", "0,75;0;0,75"}))};
    const std::vector<Names> named = {
        {"Channel 1", "Channel 2"}, {"Left", "Right"}, {"Left (in)", "Right (ft)"}, {"Channel 1", "Channel 2"}};
    const std::vector<std::vector<double>> expected = {{0.5, 0.25, -0.125, 0.0}, {1.0, -0.125, 0.0, 0.75}};
    for (std::size_t f = 0; f < paths.size(); ++f) {
        for (const ChannelNumber answer : {1, 2}) {
            ChannelNumber channel = 1;
            Names shown;
            const OpenOutcome outcome = ReadProfileFile(
                paths[f], channel,
                [&](ChannelNumber, const Names& names) {
                    shown = names;
                    return answer;
                },
                UnitSystem::US,
                [](const DelimitedProbeResult&, const NeededUnits&) {
                    return std::optional<DelimitedUnits>(DelimitedUnits{LengthUnit::Foot, LengthUnit::Foot, {}});
                });
            ASSERT_TRUE(outcome.loaded) << paths[f] << ": " << outcome.message;
            EXPECT_EQ(outcome.profile.elevations, expected[static_cast<std::size_t>(answer - 1)]) << paths[f];
            EXPECT_EQ(outcome.profile.interval, 0.25) << paths[f];
            EXPECT_EQ(shown, named[f]) << paths[f];
            EXPECT_EQ(outcome.channelNames, named[f]) << paths[f];
        }
    }
}

TEST(ReadProfileFile, UnitsAreAskedOnlyForWhatTheHeaderLeavesOut)
{
    TempFolder folder;
    const std::string bare = folder.Write("bare.csv", JoinLines({"1.5", "2.5", "3.5"}));
    const std::string named = folder.Write("named.csv", JoinLines({"Distance (m),Elevation (mm)", "0,1", "1,2"}));
    ChannelNumber channel = 1;
    int asked = 0;
    NeededUnits needed;
    std::optional<DelimitedUnits> answer;
    const UnitsQuestion question = [&](const DelimitedProbeResult& probe, const NeededUnits& what) {
        ++asked;
        needed = what;
        EXPECT_EQ(probe.layout.columnCount, 1);
        return answer;
    };

    EXPECT_TRUE(ReadProfileFile(named, channel, nullptr, UnitSystem::SI, question).loaded);
    EXPECT_EQ(asked, 0);

    const OpenOutcome cancelled = ReadProfileFile(bare, channel, nullptr, UnitSystem::US, question);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.loaded);
    EXPECT_EQ(cancelled.box, OpenFailureBox::None);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(needed.elevationUnit && needed.interval && needed.distanceUnit);

    answer = DelimitedUnits{LengthUnit::Inch, LengthUnit::Foot, 3.0};
    const OpenOutcome read = ReadProfileFile(bare, channel, nullptr, UnitSystem::US, question);
    ASSERT_TRUE(read.loaded) << read.message;
    EXPECT_EQ(read.profile.interval, 0.25);
    EXPECT_EQ(read.profile.elevations, (std::vector<double>{1.5, 2.5, 3.5}));

    const OpenOutcome unasked = ReadProfileFile(bare, channel, nullptr);
    EXPECT_EQ(unasked.box, OpenFailureBox::FileError);
    EXPECT_EQ(unasked.message, "The elevation unit is missing: the file has no header to name it, and none was given");
    const OpenOutcome badPro = ReadProfileFile(folder.Write("bad.pro", "HEAD3\r\n"), channel, nullptr);
    EXPECT_EQ(badPro.box, OpenFailureBox::FileError);
    EXPECT_EQ(badPro.message, "Line 2 does not begin with CMET3: the file is not a PRO profile");
}

} // namespace
} // namespace zlm
