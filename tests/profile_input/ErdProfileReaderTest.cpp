#include "profile_input/ErdProfileReader.h"

#include "support/ProfileFiles.h"

#include <gtest/gtest.h>
#include <optional>

namespace zlm {
namespace {

using test::JoinLines;
using test::TempFolder;

// Elevation in feet as the reader forms it: value times gain, then times the
// single-precision unit factor, in double.
double Feet(double value, float gain, float factor)
{
    return value * static_cast<double>(gain) * static_cast<double>(factor);
}

const float kMm = 0.00328f;
const float kM = 3.281f;
const float kIn = static_cast<float>(1.0 / 12.0);

std::vector<std::string> OneChannel(std::vector<std::string> keywords,
                                    std::vector<std::string> data = {"1.0", "2.5", "-0.125"})
{
    std::vector<std::string> lines = {"ERDFILEV2.00", "      1,      3,     -1,      1,      5,      0.25,     -1,"};
    lines.insert(lines.end(), keywords.begin(), keywords.end());
    lines.push_back("END     ");
    lines.insert(lines.end(), data.begin(), data.end());
    return lines;
}

std::vector<std::string> TwoChannels(std::vector<std::string> keywords,
                                     std::vector<std::string> data = {"1.0 10.0", "2.5 -20.5 ", " -0.125  0.5"})
{
    std::vector<std::string> lines = OneChannel(std::move(keywords), std::move(data));
    lines[1] = "      2,      3,     -1,      1,      5,      0.25,     -1,";
    return lines;
}

struct ReadCase {
    const char* name;
    std::vector<std::string> lines;
    ChannelNumber channelChoice;
    std::vector<double> elevations;
    double interval;
};

class ErdReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ErdReadTest, ReadsElevationsInFeet)
{
    const ReadCase& c = GetParam();
    TempFolder folder;
    for (const char* lineEnd : {"\r\n", "\n"}) {
        const std::string path = folder.Write("road.erd", JoinLines(c.lines, lineEnd));
        ChannelNumber channel = c.channelChoice;
        const ErdReadResult result = ReadErdProfile(path, channel, nullptr);
        ASSERT_TRUE(result.ok) << result.failureText;
        EXPECT_EQ(result.profile.elevations, c.elevations);
        EXPECT_EQ(result.profile.pointCount, static_cast<std::int32_t>(c.elevations.size()));
        EXPECT_EQ(result.profile.interval, c.interval);
    }
}

const std::vector<std::string> kFeet = {"UNITSNAMft", "XUNITS  ft"};

INSTANTIATE_TEST_SUITE_P(
    Files, ErdReadTest,
    ::testing::Values(
        ReadCase{"Feet", OneChannel(kFeet), 1, {1.0, 2.5, -0.125}, 0.25},
        ReadCase{"Millimetres", OneChannel({"UNITSNAMmm", "XUNITS  mm"}, {"1000", "-2,5"}), 1,
                 {Feet(1000, 1, kMm), Feet(-2.5, 1, kMm)}, 0.25 / 1000.0 * 3.281},
        ReadCase{"MillimetresAnyCase", OneChannel({"UNITSNAMMm", "XUNITS  MM"}, {"1000"}), 1, {Feet(1000, 1, kMm)},
                 0.25 / 1000.0 * 3.281},
        ReadCase{"MetresWrittenOut", OneChannel({"UNITSNAM Meters", "XUNITS  Metres"}, {"1.5"}), 1,
                 {Feet(1.5, 1, kM)}, 0.25 * 3.281},
        ReadCase{"Inches", OneChannel({"UNITSNAMinches", "XUNITS  in"}, {"3"}), 1, {Feet(3, 1, kIn)}, 0.25 / 12.0},
        ReadCase{"MillimetreBeforeMetreBeforeInch", OneChannel({"UNITSNAM in / m / mm", "XUNITS  ft"}, {"1"}), 1,
                 {Feet(1, 1, kMm)}, 0.25},
        ReadCase{"UnitSearchFromNinthCharacter", OneChannel({"  UNITSNAMft", "XUNITS  ft"}, {"1"}), 1,
                 {Feet(1, 1, kM)}, 0.25}, // the "AM" of the shifted keyword holds an "m"
        ReadCase{"NoXunitsMeansFeet", OneChannel({"UNITSNAMft"}, {"1"}), 1, {1.0}, 0.25},
        ReadCase{"XunitsConvertsEachTime", OneChannel({"UNITSNAMft", "XUNITS  in", "XUNITS  in"}, {"1"}), 1, {1.0},
                 0.25 / 12.0 / 12.0},
        ReadCase{"KeywordsAreExactCase", OneChannel({"UNITSNAMft", "gain 5", "xunits  in"}, {"1"}), 1, {1.0}, 0.25},
        ReadCase{"GainOne", OneChannel({"UNITSNAMft", "GAIN 2"}, {"1.5"}), 1, {Feet(1.5, 2, 1)}, 0.25},
        ReadCase{"GainWithBlanksAfter", OneChannel({"UNITSNAMft", "GAIN 0.5   "}, {"3"}), 1, {1.5}, 0.25},
        ReadCase{"GainZeroBecomesOne", OneChannel({"UNITSNAMft", "GAIN 0"}, {"3"}), 1, {3.0}, 0.25},
        ReadCase{"GainNoNumberBecomesOne", OneChannel({"UNITSNAMft", "GAIN high"}, {"3"}), 1, {3.0}, 0.25},
        ReadCase{"GainTimesSingleFactor", OneChannel({"UNITSNAMmm", "GAIN 0.1"}, {"0.3"}), 1,
                 {Feet(0.3, 0.1f, kMm)}, 0.25},
        ReadCase{"OneChannelDataNotTrimmedIntoDecimals", OneChannel(kFeet, {"  0.5  ", "\t1.25"}), 1, {0.5, 1.25},
                 0.25},
        ReadCase{"NoNumberReadsZero", OneChannel(kFeet, {"1", "x", "", "2"}), 1, {1, 0, 0, 2}, 0.25},
        ReadCase{"EmptyLineInsideIsAPoint", OneChannel(kFeet, {"1", "", "2"}), 1, {1, 0, 2}, 0.25},
        ReadCase{"TrailingEmptyLinesAreNoPoints", OneChannel(kFeet, {"1", "2", "", "  ", ""}), 1, {1, 2}, 0.25},
        ReadCase{"SampleCountDoesNotLimit", OneChannel(kFeet, {"1", "2", "3", "4", "5"}), 1, {1, 2, 3, 4, 5}, 0.25},
        ReadCase{"Channel1", TwoChannels({"UNITSNAMft", "GAIN 2, 4"}), 1, {2.0, 5.0, -0.25}, 0.25},
        ReadCase{"Channel2", TwoChannels({"UNITSNAMft", "GAIN 2, 4"}), 2, {40.0, -82.0, 2.0}, 0.25},
        ReadCase{"AnyOtherChoiceIsChannel2", TwoChannels({"UNITSNAMft"}), 8, {10.0, -20.5, 0.5}, 0.25},
        ReadCase{"GainTrailingCommaSetsGain1Only", TwoChannels({"UNITSNAMft", " GAIN 2 ,  "}), 2, {10.0, -20.5, 0.5},
                 0.25},
        ReadCase{"GainTrailingCommaGain1", TwoChannels({"UNITSNAMft", "GAIN 2 ,  "}), 1, {2.0, 5.0, -0.25}, 0.25},
        ReadCase{"GainThirdPartIgnored", TwoChannels({"UNITSNAMft", "GAIN 1,3,9"}), 2, {30.0, -61.5, 1.5}, 0.25},
        ReadCase{"GainEmptyFirstPart", TwoChannels({"UNITSNAMft", "GAIN ,3"}), 1, {1.0, 2.5, -0.125}, 0.25},
        ReadCase{"TwoChannelsDecimalComma", TwoChannels({"UNITSNAMft"}, {"1,5 2,25"}), 2, {2.25}, 0.25},
        ReadCase{"TwoChannelsMoreBlanksBetween", TwoChannels({"UNITSNAMft"}, {"1.5    2.25   "}), 2, {2.25}, 0.25},
        ReadCase{"DimensionsFieldsTrimmed",
                 [] {
                     auto lines = OneChannel(kFeet, {"1"});
                     lines[1] = " 1 , 3 ,0,0,0,\t0.5  ";
                     return lines;
                 }(),
                 1, {1.0}, 0.5},
        ReadCase{"DimensionsWithExtraFields",
                 [] {
                     auto lines = OneChannel(kFeet, {"1"});
                     lines[1] = "1,3,a,b,c,2.0,x,y,z";
                     return lines;
                 }(),
                 1, {1.0}, 2.0}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ErdRead, SignatureBetweenBlanksAndTitle)
{
    TempFolder folder;
    std::vector<std::string> lines = OneChannel({"TITLE   Track Run E1  ", "UNITSNAMft"});
    lines[0] = "  ERDFILEV2.00 \t";
    ChannelNumber channel = 1;
    const ErdReadResult result = ReadErdProfile(folder.Write("road.erd", JoinLines(lines)), channel, nullptr);
    ASSERT_TRUE(result.ok) << result.failureText;
    EXPECT_TRUE(result.hasTitle);
    EXPECT_EQ(result.title, "Track Run E1");
}

TEST(ErdRead, KeepsEveryKeywordLineAsAHeaderField)
{
    TempFolder folder;
    const std::vector<std::string> lines =
        OneChannel({"TITLE   Track Run E1  ", "SHORTNAMLElev.", "", "SURVDATE 03/01/2001 13:27", "UNITSNAMft"});
    ChannelNumber channel = 1;
    const ErdReadResult result = ReadErdProfile(folder.Write("road.erd", JoinLines(lines)), channel, nullptr);
    ASSERT_TRUE(result.ok) << result.failureText;
    const std::vector<std::pair<std::string, std::string>> expected{
        {"TITLE", "Track Run E1"}, {"SHORTNAM", "LElev."}, {"SURVDATE", "03/01/2001 13:27"}, {"UNITSNAM", "ft"}};
    EXPECT_EQ(result.profile.headerFields, expected);
}

TEST(ErdRead, WithoutTitleLine)
{
    TempFolder folder;
    ChannelNumber channel = 1;
    const ErdReadResult result =
        ReadErdProfile(folder.Write("road.erd", JoinLines(OneChannel(kFeet))), channel, nullptr);
    ASSERT_TRUE(result.ok);
    EXPECT_FALSE(result.hasTitle);
    EXPECT_EQ(result.title, "");
}

TEST(ErdRead, LastLineWithoutLineEnd)
{
    TempFolder folder;
    std::string text = JoinLines(OneChannel(kFeet));
    text.resize(text.size() - 2);
    ChannelNumber channel = 1;
    const ErdReadResult result = ReadErdProfile(folder.Write("road.erd", text), channel, nullptr);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.profile.elevations, (std::vector<double>{1.0, 2.5, -0.125}));
}

// The last data line's CR LF, and CR LF pairs after it, add no points: a point
// of 0 read from a trailing empty line would show as a false deviation.
TEST(ErdRead, EndOfFileLineEndsAreNoPoints)
{
    ChannelNumber channel = 1;
    for (const std::string tail : {"", "\r\n", "\r\n\r\n", "\n\n\n", "\r\n \r\n\t\r\n"}) {
        const std::string text = JoinLines(OneChannel(kFeet)) + tail;
        const ErdReadResult result = ParseErdProfile(text, channel, nullptr);
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(result.profile.pointCount, 3);
    }
}

struct FailureCase {
    const char* name;
    std::vector<std::string> lines;
    std::string failureText;
};

class ErdFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ErdFailureTest, RefusesWithItsText)
{
    const FailureCase& c = GetParam();
    for (ChannelNumber choice : {1, 2}) {
        for (const char* lineEnd : {"\r\n", "\n"}) {
            ChannelNumber channel = choice;
            const ErdReadResult result = ParseErdProfile(JoinLines(c.lines, lineEnd), channel, nullptr);
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.failureText, c.failureText);
            EXPECT_TRUE(result.profile.elevations.empty());
        }
    }
}

std::vector<std::string> WithDimensions(const std::string& line2)
{
    auto lines = OneChannel(kFeet);
    lines[1] = line2;
    return lines;
}

std::vector<std::string> WithoutEnd()
{
    auto lines = OneChannel(kFeet);
    lines.resize(4);
    return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ErdFailureTest,
    ::testing::Values(
        FailureCase{"SignatureLowerCase",
                    {"erdfilev2.00", "1,3,0,0,0,0.25", "UNITSNAMft", "END", "1"},
                    "File is is not in ERD format"},
        FailureCase{"SignatureOtherVersion",
                    {"ERDFILEV1.00", "1,3,0,0,0,0.25", "UNITSNAMft", "END", "1"},
                    "File is is not in ERD format"},
        FailureCase{"Empty", {}, "File is is not in ERD format"},
        FailureCase{"OnlySignature", {"ERDFILEV2.00"}, "Error: Line 2 holds fewer than six comma-separated fields"},
        FailureCase{"FiveFields", WithDimensions("1,3,0,0,0.25"),
                    "Error: Line 2 holds fewer than six comma-separated fields"},
        FailureCase{"ChannelCountNoNumber", WithDimensions("one,3,0,0,0,0.25"),
                    "Error: The channel count (field 1 of line 2) is not a whole number"},
        FailureCase{"ChannelCountBeyond32Bits", WithDimensions("2147483648,3,0,0,0,0.25"),
                    "Error: The channel count (field 1 of line 2) is not a whole number"},
        FailureCase{"SixtyFiveChannels", WithDimensions("65,3,0,0,0,0.25"),
                    "Error: The file has 65 channels; only files of 1 to 64 channels can be read"},
        FailureCase{"NoChannels", WithDimensions("0,3,0,0,0,0.25"),
                    "Error: The file has 0 channels; only files of 1 to 64 channels can be read"},
        FailureCase{"SampleCountNoNumber", WithDimensions("1,many,0,0,0,0.25"),
                    "Error: The sample count (field 2 of line 2) is not a whole number"},
        FailureCase{"IntervalNoNumber", WithDimensions("1,3,0,0,0,quarter"),
                    "Error: The sample interval (field 6 of line 2) is not a number"},
        FailureCase{"IntervalEmpty", WithDimensions("1,3,0,0,0,  "),
                    "Error: The sample interval (field 6 of line 2) is not a number"},
        FailureCase{"IntervalZero", WithDimensions("1,3,0,0,0,0"), "Error: The sample interval is not greater than 0"},
        FailureCase{"IntervalNegative", WithDimensions("1,3,0,0,0,-0.25"),
                    "Error: The sample interval is not greater than 0"},
        FailureCase{"IntervalBelowSingle", WithDimensions("1,3,0,0,0,1E-300"),
                    "Error: The sample interval is too large or too small to be analysed"},
        FailureCase{"IntervalBeyondSingle", WithDimensions("1,3,0,0,0,1E300"),
                    "Error: The sample interval is too large or too small to be analysed"},
        FailureCase{"NoEnd", WithoutEnd(), "Error: The file ends before its END line"},
        FailureCase{"NothingAfterEnd", OneChannel(kFeet, {}), "Error: The file holds no data after its END line"},
        FailureCase{"OnlyEmptyLinesAfterEnd", OneChannel(kFeet, {"", " ", ""}),
                    "Error: The file holds no data after its END line"},
        FailureCase{"NoUnitsnam", OneChannel({"XUNITS  ft"}),
                    "Error: The file has no UNITSNAM line naming the unit of its data"},
        FailureCase{"UnitWrittenAsFeet", OneChannel({"UNITSNAM Feet"}), "Error: Data unit format not recognized"},
        FailureCase{"UnitsnamWithoutUnit", OneChannel({"UNITSNAM"}), "Error: Data unit format not recognized"},
        FailureCase{"XunitsAsFeet", OneChannel({"UNITSNAMft", "XUNITS  Feet"}),
                    "Error: Data increment unit format not recognized"},
        FailureCase{"XunitsUnitBeforeNinthCharacter", OneChannel({"UNITSNAMft", "XUNITS ft"}),
                    "Error: Data increment unit format not recognized"},
        FailureCase{"TwoChannelLineWithOneValue", TwoChannels({"UNITSNAMft"}, {"1 2", "3 4", "5"}),
                    "Error: Line 7 holds fewer than two values"},
        FailureCase{"TwoChannelEmptyLineInside", TwoChannels({"UNITSNAMft"}, {"1 2", "", "5 6"}),
                    "Error: Line 6 holds fewer than two values"},
        FailureCase{"ElevationBeyondSingle", OneChannel(kFeet, {"1", "1E308"}),
                    "Error: Line 7 holds an elevation too large to be analysed"},
        FailureCase{"ElevationBeyondSingleAfterGain", OneChannel({"UNITSNAMft", "GAIN 1E30"}, {"1E9"}),
                    "Error: Line 6 holds an elevation too large to be analysed"},
        // A value written as not-a-number or infinity is no elevation: read as 0 it
        // would show as a dip the road does not have.
        FailureCase{"ElevationWrittenAsNan", OneChannel(kFeet, {"1", "nan"}),
                    "Error: Line 7 holds an elevation that is not a finite number"},
        FailureCase{"ElevationWrittenAsInfinity", OneChannel(kFeet, {" -Infinity ", "1"}),
                    "Error: Line 6 holds an elevation that is not a finite number"},
        FailureCase{"TwoChannelsWrittenAsInf", TwoChannels({"UNITSNAMft"}, {"1 2", "+inf INF"}),
                    "Error: Line 6 holds an elevation that is not a finite number"},
        FailureCase{"GainBeyondSingle", OneChannel({"UNITSNAMft", "GAIN 1E300"}, {"3"}),
                    "Error: Line 4 holds a gain that is not a finite number within single precision"},
        FailureCase{"SecondGainNotFinite", TwoChannels({"UNITSNAMft", "GAIN 1, nan"}, {"1 2"}),
                    "Error: Line 4 holds a gain that is not a finite number within single precision"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(ErdRead, UnopenableFile)
{
    TempFolder folder;
    ChannelNumber channel = 1;
    for (const std::string& path : {folder.File("missing.erd"), folder.File("")}) {
        const ErdReadResult result = ReadErdProfile(path, channel, nullptr);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.failureText, "Unable to open " + path);
    }
}

TEST(ErdRead, DimensionsLineOfManyFields)
{
    auto lines = OneChannel(kFeet);
    lines[1] = "1,3,0,0,0,0.25";
    for (int i = 0; i < 100000; ++i) {
        lines[1] += ",7";
    }
    ChannelNumber channel = 1;
    const ErdReadResult result = ParseErdProfile(JoinLines(lines), channel, nullptr);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.profile.pointCount, 3);
}

// --- The channel question ----------------------------------------------------

struct QuestionLog {
    int asked = 0;
    std::optional<ChannelNumber> answer; ///< nothing: the user cancels
    ChannelQuestion question()
    {
        return [this](ChannelNumber, const std::vector<std::string>&) {
            ++asked;
            return answer;
        };
    }
};

TEST(ErdChannelQuestion, NotAskedForOneChannel)
{
    QuestionLog log;
    ChannelNumber channel = 2;
    const ErdReadResult result = ParseErdProfile(JoinLines(OneChannel(kFeet)), channel, log.question());
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(log.asked, 0);
    EXPECT_EQ(channel, 2) << "a one-channel file keeps the earlier answer";
}

TEST(ErdChannelQuestion, AnswerSelectsTheChannel)
{
    for (ChannelNumber answer : {1, 2}) {
        QuestionLog log;
        log.answer = answer;
        ChannelNumber channel = answer == 1 ? 2 : 1;
        const ErdReadResult result = ParseErdProfile(JoinLines(TwoChannels({"UNITSNAMft"})), channel, log.question());
        ASSERT_TRUE(result.ok);
        EXPECT_FALSE(result.cancelled);
        EXPECT_EQ(log.asked, 1);
        EXPECT_EQ(channel, answer);
        EXPECT_EQ(result.profile.elevations.front(), answer == 1 ? 1.0 : 10.0);
    }
}

// A cancelled question stops the read at once: nothing read, nothing refused,
// even in a file that would be refused further on, and the channel as it was.
TEST(ErdChannelQuestion, CancelStopsTheReadWithoutARefusal)
{
    TempFolder folder;
    for (const std::string units : {"UNITSNAMft", "UNITSNAM Feet"}) {
        const std::string text = JoinLines(TwoChannels({units}));
        for (ChannelNumber earlier : {1, 2}) {
            QuestionLog log;
            ChannelNumber inMemory = earlier;
            ChannelNumber fromFile = earlier;
            const ErdReadResult parsed = ParseErdProfile(text, inMemory, log.question());
            const ErdReadResult read = ReadErdProfile(folder.Write("road.erd", text), fromFile, log.question());
            for (const ErdReadResult* result : {&parsed, &read}) {
                EXPECT_FALSE(result->ok) << units;
                EXPECT_TRUE(result->cancelled) << units;
                EXPECT_TRUE(result->failureText.empty()) << result->failureText;
                EXPECT_EQ(result->profile.pointCount, 0);
                EXPECT_TRUE(result->profile.elevations.empty());
                EXPECT_FALSE(result->hasTitle);
            }
            EXPECT_EQ(log.asked, 2);
            EXPECT_EQ(inMemory, earlier);
            EXPECT_EQ(fromFile, earlier);
        }
    }
}

TEST(ErdChannelQuestion, AskedBeforeTheKeywordLinesAreRead)
{
    QuestionLog log;
    log.answer = 1;
    ChannelNumber channel = 1;
    const ErdReadResult result = ParseErdProfile(JoinLines(TwoChannels({"UNITSNAM Feet"})), channel, log.question());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(log.asked, 1);
}

TEST(ErdChannelQuestion, NotAskedWhenTheDimensionsAreRefused)
{
    for (const std::string line2 : {"2,3,0,0,0.25", "x,3,0,0,0,0.25", "65,3,0,0,0,0.25"}) {
        QuestionLog log;
        ChannelNumber channel = 1;
        auto lines = TwoChannels({"UNITSNAMft"});
        lines[1] = line2;
        EXPECT_FALSE(ParseErdProfile(JoinLines(lines), channel, log.question()).ok);
        EXPECT_EQ(log.asked, 0) << line2;
    }
}

// --- Files of three or more channels ------------------------------------------

std::vector<std::string> ThreeChannels(std::vector<std::string> keywords, std::vector<std::string> data)
{
    std::vector<std::string> lines = OneChannel(std::move(keywords), std::move(data));
    lines[1] = "3,2,0,0,0,0.25";
    return lines;
}

TEST(ErdManyChannels, EachChannelTakesItsFieldItsGainAndItsName)
{
    const auto lines =
        ThreeChannels({"SHORTNAMLeft    Centre", "UNITSNAMft", "GAIN    2 0 , 4"}, {"1 2 3", " 4,5 , 6  7"});
    const std::vector<std::vector<double>> expected = {{2.0, 8.0}, {2.0, 5.0}, {12.0, 24.0}};
    for (std::int32_t k = 0; k < 3; ++k) {
        std::vector<std::string> shown;
        ChannelNumber channel = 1;
        const ErdReadResult result =
            ParseErdProfile(JoinLines(lines), channel, [&](ChannelNumber, const std::vector<std::string>& names) {
                shown = names;
                return k + 1;
            });
        ASSERT_TRUE(result.ok) << result.failureText;
        EXPECT_EQ(result.profile.elevations, expected[static_cast<std::size_t>(k)]) << "channel " << k + 1;
        EXPECT_EQ(shown, (std::vector<std::string>{"Left", "Centre", "Channel 3"}));
        EXPECT_EQ(result.channelNames, shown);
    }
}

TEST(ErdManyChannels, RefusesAShortLineAndAChannelBeyondTheFile)
{
    ChannelNumber third = 3;
    const ErdReadResult shortLine =
        ParseErdProfile(JoinLines(ThreeChannels({"UNITSNAMft"}, {"1 2 3", "4,5"})), third, nullptr);
    EXPECT_EQ(shortLine.failureText, "Error: Line 6 holds fewer than 3 values");

    ChannelNumber fourth = 4;
    const ErdReadResult beyond = ParseErdProfile(JoinLines(ThreeChannels({"UNITSNAMft"}, {"1 2 3"})), fourth, nullptr);
    EXPECT_EQ(beyond.failureText, "Error: Channel 4 was chosen, but the file has 3 channels");

    auto sixtyFour = ThreeChannels({"UNITSNAM ft", "SHORTNAM a,,c"}, {std::string(63 * 2, ' ') + "9"});
    sixtyFour[1] = "64,1,0,0,0,0.25";
    for (std::int32_t k = 1; k < 64; ++k) {
        sixtyFour.back()[static_cast<std::size_t>(2 * (k - 1))] = '0';
    }
    ChannelNumber last = 64;
    const ErdReadResult widest = ParseErdProfile(JoinLines(sixtyFour), last, nullptr);
    ASSERT_TRUE(widest.ok) << widest.failureText;
    EXPECT_EQ(widest.profile.elevations, std::vector<double>{9.0});
    EXPECT_EQ(widest.channelNames.size(), 64u);
    EXPECT_EQ(widest.channelNames[1], "Channel 2");
    EXPECT_EQ(widest.channelNames[2], "c");
}

} // namespace
} // namespace zlm
