#include "batch/SurveyRun.h"

#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zlm {
namespace {

using test::ReadBytes;
using test::TempFolder;

/** `points` level points at 0.25 ft with a dip at point 16: 0.05 ft in channel 1, 0.1 ft in 2, 0.15 ft in 3. */
std::string DipErd(int points, int channels)
{
    std::string text = "ERDFILEV2.00\r\n" + std::to_string(channels) + "," + std::to_string(points) +
                       ",1,1,1,0.25,0\r\nSHORTNAM Left,Right,Mid\r\nUNITSNAM    ft\r\nXUNITS      ft\r\nEND\r\n";
    for (int i = 0; i < points; ++i) {
        for (int k = 1; k <= channels; ++k) {
            const char* const dips[] = {"-0.05", "-0.1", "-0.15"};
            text += (k > 1 ? " " : "") + std::string(i == 16 ? dips[k - 1] : "0");
        }
        text += "\r\n";
    }
    return text;
}

BatchOptions Survey(std::vector<std::string> paths)
{
    BatchOptions options;
    options.profilePaths = std::move(paths);
    options.summaryPath = "summary.csv";
    return options;
}

std::string Summary(const BatchOptions& options, unsigned threads)
{
    return RunSurvey(options, ListSurveyProfiles(options.profilePaths, options.recursive, {}), threads, '.').summary;
}

const std::string kHeader = std::string(kSurveyHeader) + "\r\n";

TEST(SurveyRunTest, OneLinePerChannelInTheOrderGivenWithRefusalsInTheirPlace)
{
    TempFolder folder;
    const std::string two = folder.Write("two.erd", DipErd(129, 2));
    const std::string bad = folder.Write("bad, \"old\".pro", "HEAD3\r\n");
    const std::string one = folder.Write("one.txt", DipErd(129, 1));
    const std::string shortOne = folder.Write("short.erd", DipErd(20, 1));
    BatchOptions options = Survey({two, bad, folder / "gone.erd", one, shortOne});
    const SurveyOutcome outcome = RunSurvey(options, ListSurveyProfiles(options.profilePaths, false, {}), 1, '.');
    EXPECT_EQ(
        outcome.summary,
        kHeader + two + ",1,129,0.250000,32.000,3,1,33.33,50.00,1,\r\n" + two +
            ",2,129,0.250000,32.000,3,1,33.33,50.00,1,\r\n\"" + folder.File("bad, \"\"old\"\".pro") +
            "\",,,,,,,,,,Line 2 does not begin with CMET3: the file is not a PRO profile\r\n" +
            folder.File("gone.erd") + ",,,,,,,,,,Unable to open " + folder.File("gone.erd") +
            ": no such file or folder\r\n" + one + ",1,129,0.250000,32.000,3,1,33.33,50.00,1,\r\n" + shortOne +
            ",1,,,,,,,,,The profile is too short to simulate: it is 4.75 ft long (20 points at 0.25 ft). At least "
            "16 ft is needed for one placement of the straightedge.\r\n");
    EXPECT_EQ(outcome.analysed, 3u);
    EXPECT_EQ(outcome.refused, 3u);

    options.channelGiven = true;
    options.channel = 2;
    EXPECT_EQ(Summary(options, 2), kHeader + two + ",2,129,0.250000,32.000,3,1,33.33,50.00,1,\r\n\"" +
                                       folder.File("bad, \"\"old\"\".pro") +
                                       "\",,,,,,,,,,Line 2 does not begin with CMET3: the file is not a PRO "
                                       "profile\r\n" +
                                       folder.File("gone.erd") + ",,,,,,,,,,Unable to open " + folder.File("gone.erd") +
                                       ": no such file or folder\r\n" + one +
                                       ",,,,,,,,,,The file has 1 channel; channel 2 was asked for\r\n" + shortOne +
                                       ",,,,,,,,,,The file has 1 channel; channel 2 was asked for\r\n");
}

TEST(SurveyRunTest, FoldersListTheirProfilesByNameAndSubfoldersOnlyWhenRecursive)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "road" / "b-sub");
    std::filesystem::create_directories(folder.Path() / "road" / "out");
    std::filesystem::create_directories(folder.Path() / "empty");
    for (const char* name : {"road/c.ERD", "road/a.Pro", "road/B.csv", "road/notes.md", "road/b-sub/x.dat",
                             "road/out/old.txt", "road/d.txt"}) {
        folder.Write(name, "x");
    }
    const std::string road = folder / "road";
    const auto names = [&](bool recursive) {
        std::vector<std::string> found;
        for (const SurveyEntry& entry :
             ListSurveyProfiles({road, folder / "empty"}, recursive, {road + "/out", road + "/d.txt"})) {
            found.push_back(entry.outputName + (entry.refusal.empty() ? "" : "!"));
        }
        return found;
    };
    EXPECT_EQ(names(false), (std::vector<std::string>{"B.csv", "a.Pro", "c.ERD", "!"}));
    EXPECT_EQ(names(true), (std::vector<std::string>{"B.csv", "a.Pro", "b-sub/x.dat", "c.ERD", "!"}));
    EXPECT_EQ(ListSurveyProfiles({road}, false, {}).front().path, (std::filesystem::path(road) / "B.csv").string());
}

TEST(SurveyRunTest, ThreadsNeverChangeTheSummary)
{
    TempFolder folder;
    for (int i = 0; i < 24; ++i) {
        const std::string name = "p" + std::to_string(10 + i);
        folder.Write(name + (i % 5 == 3 ? ".pro" : ".erd"), DipErd(100 + 7 * i, 1 + i % 3));
    }
    BatchOptions options = Survey({folder.Path().string()});
    options.sectionText = "20";
    const std::string one = Summary(options, 1);
    EXPECT_EQ(Summary(options, 2), one);
    EXPECT_EQ(Summary(options, 7), one);
    // The header, 38 channels of the 19 ERD files, one refusal for each of the 5 PRO files.
    EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 44) << one;
}

TEST(SurveyRunTest, OutputFolderGetsEachChannelsFilesAndRefusesANameTwice)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "north");
    std::filesystem::create_directories(folder.Path() / "south");
    const std::string north = folder.Write("north/lane.erd", DipErd(129, 2));
    const std::string south = folder.Write("south/lane.erd", DipErd(129, 1));
    const std::string single = folder.Write("south/ramp.erd", DipErd(129, 1));
    BatchOptions options = Survey({north, south, single});
    options.outputDir = folder / "out/new";
    options.surveyCorrections = true;
    const SurveyOutcome outcome = RunSurvey(options, ListSurveyProfiles(options.profilePaths, false, {}), 2, '.');
    EXPECT_EQ(outcome.refused, 1u);
    EXPECT_NE(outcome.summary.find(south + ",,,,,,,,,,\"An earlier profile of the survey has the same name, lane.erd"),
              std::string::npos)
        << outcome.summary;
    const std::string kList = "Station (ft),Maximum Dev. (in),Amount Exceeded (in)\r\n";
    EXPECT_EQ(ReadBytes(folder / "out/new/lane.erd.channel2.txt"),
              kList + "0.0000,1.2000,0.9500\r\n8.0000,0.0000,0.0000\r\n16.0000,0.0000,0.0000\r\n");
    EXPECT_TRUE(ReadBytes(folder / "out/new/lane.erd.channel1.corrections.csv").starts_with("Zone,"));
    EXPECT_TRUE(std::filesystem::exists(folder / "out/new/ramp.erd.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder / "out/new/ramp.erd.corrections.csv"));
}

} // namespace
} // namespace zlm
