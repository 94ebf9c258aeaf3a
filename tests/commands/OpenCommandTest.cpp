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
    Channel channel = Channel::Two;
    int asked = 0;
    const OpenOutcome outcome = ReadProfileFile(path, channel, [&asked](Channel earlier) {
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
    Channel channel = Channel::One;
    const OpenOutcome outcome = ReadProfileFile("road.dat", channel, nullptr);
    EXPECT_EQ(outcome.box, OpenFailureBox::SkiError);
    EXPECT_EQ(outcome.message, "Not a file");
}

TEST(ReadProfileFile, MissingErdFile)
{
    TempFolder folder;
    const std::string path = folder.File("gone.erd");
    Channel channel = Channel::One;
    const OpenOutcome outcome = ReadProfileFile(path, channel, nullptr);
    EXPECT_EQ(outcome.box, OpenFailureBox::ErdError);
    EXPECT_EQ(outcome.message, "Error 0 Unable to open " + path);
}

TEST(ReadProfileFile, TwoChannelErdAsksAndUsesTheAnswer)
{
    TempFolder folder;
    const std::string path = folder.Write("ramp.erd", kErdText);
    Channel channel = Channel::One;
    const OpenOutcome outcome = ReadProfileFile(path, channel, [](Channel) { return Channel::Two; });
    ASSERT_TRUE(outcome.loaded);
    EXPECT_EQ(outcome.profile.elevations, (std::vector<double>{8.0, 10.0}));
    EXPECT_EQ(outcome.profile.interval, 0.5);
}

// Cancelling the channel window is neither a load nor a refusal: no box, no text.
TEST(ReadProfileFile, TwoChannelErdCancelledShowsNothing)
{
    TempFolder folder;
    const std::string path = folder.Write("ramp.erd", kErdText);
    Channel channel = Channel::Two;
    const OpenOutcome outcome = ReadProfileFile(path, channel, [](Channel) { return std::optional<Channel>(); });
    EXPECT_FALSE(outcome.loaded);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.box, OpenFailureBox::None);
    EXPECT_TRUE(outcome.message.empty());
    EXPECT_TRUE(outcome.profile.elevations.empty());
    EXPECT_EQ(channel, Channel::Two);
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

} // namespace
} // namespace zlm
