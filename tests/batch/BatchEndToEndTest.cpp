#include "support/TempFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <regex>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zlm {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

struct Finished {
    int exitCode = -1;
    std::string out;
    std::string err;
};

/**
 * Runs the built zlm-batch under the C locale. stdoutFd, when given, replaces
 * the captured standard output (a closed pipe, /dev/full).
 */
Finished RunBatch(const std::vector<std::string>& arguments, const TempFolder& folder, int stdoutFd = -1,
                  const std::string& locale = "C")
{
    const std::string outPath = folder / ".stdout";
    const std::string errPath = folder / ".stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> words{ZLM_BATCH_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    std::vector<std::string> environment{"LC_ALL=" + locale};
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        if (!entry.starts_with("LC_") && !entry.starts_with("LANG")) {
            environment.push_back(entry);
        }
    }
    std::vector<char*> envp;
    for (auto& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    Finished finished;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, ZLM_BATCH_PATH, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0) << "cannot start " << ZLM_BATCH_PATH;
    if (spawned != 0) {
        return finished;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    finished.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    finished.out = stdoutFd >= 0 ? "" : ReadBytes(outPath);
    finished.err = ReadBytes(errPath);
    ::unlink(outPath.c_str());
    ::unlink(errPath.c_str());
    return finished;
}

/**
 * An ERD profile of `points` level points at 0.25 ft with a dip at point 16:
 * 0.05 ft in channel 1, 0.1 ft in channel 2 when there are two channels.
 */
std::string DipErd(int points, int channels)
{
    std::string text = "ERDFILEV2.00\r\n" + std::to_string(channels) + "," + std::to_string(points) +
                       ",1,1,1,0.25,0\r\nTITLE    Dip test\r\nUNITSNAM    ft\r\nXUNITS      ft\r\nEND\r\n";
    for (int i = 0; i < points; ++i) {
        text += i == 16 ? "-0.05" : "0";
        if (channels == 2) {
            text += i == 16 ? " -0.1" : " 0";
        }
        text += "\r\n";
    }
    return text;
}

const std::string kHeader = "Station (ft),Maximum Dev. (in),Amount Exceeded (in)\r\n";
const std::string kChannel1 = kHeader + "0.0000,0.6000,0.3500\r\n8.0000,0.0000,0.0000\r\n16.0000,0.0000,0.0000\r\n";
const std::string kChannel2 = kHeader + "0.0000,1.2000,0.9500\r\n8.0000,0.0000,0.0000\r\n16.0000,0.0000,0.0000\r\n";
const std::string kPercentLine = "Percent Exceeded Threshold (0.25 in) = 33.33% Overall\n";

std::string Golden(const std::string& name)
{
    return ReadBytes(std::string(ZLM_SOURCE_DIR) + "/tests/commands/golden/" + name);
}

class BatchEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(one_, DipErd(129, 1));
        WriteBytes(two_, DipErd(129, 2));
    }

    TempFolder folder_;
    std::string one_ = folder_ / "one.erd";
    std::string two_ = folder_ / "two.erd";
};

TEST_F(BatchEndToEndTest, SummaryOnStandardOutputAndThePercentLineOnStandardError)
{
    const Finished run = RunBatch({one_}, folder_);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, kChannel1);
    EXPECT_EQ(run.out, Golden("dip-run-comma.txt")) << "what Save As writes for the same grid";
    EXPECT_EQ(run.err, kPercentLine);
}

TEST_F(BatchEndToEndTest, OptionsReachTheRun)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string expected;
    };
    const std::vector<Case> cases{
        {{"--delimiter", "space", one_}, Golden("dip-run-space.txt")},
        {{"--section", "16", one_}, Golden("dip-sections-comma.txt")},
        {{"--section", "16 ", "--delimiter=space", one_}, Golden("dip-sections-space.txt")},
        {{"--section", "abc", one_}, kChannel1},
        {{two_}, kChannel1},
        {{"--channel", "1", two_}, kChannel1},
        {{"--channel", "2", two_}, kChannel2},
    };
    for (const Case& c : cases) {
        const Finished run = RunBatch(c.arguments, folder_);
        EXPECT_EQ(run.exitCode, 0) << c.arguments.front() << ": " << run.err;
        EXPECT_EQ(run.out, c.expected) << c.arguments.front();
        EXPECT_EQ(run.err, kPercentLine) << c.arguments.front();
    }
}

TEST_F(BatchEndToEndTest, OutputFileGetsTheSameBytesSafely)
{
    const std::string target = folder_ / "summary.txt";
    WriteBytes(target, "an older summary");
    const Finished run = RunBatch({"--output", target, one_}, folder_);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, kPercentLine);
    EXPECT_EQ(ReadBytes(target), kChannel1);
}

TEST_F(BatchEndToEndTest, CorrectionsGoToTheirFileAndTheDefectiveShareFollowsThePercentLine)
{
    const std::string target = folder_ / "zones.csv";
    // With the summary on standard output, and whatever the locale's decimal separator.
    Finished run = RunBatch({"--corrections", target, one_}, folder_, -1, "de_DE.UTF-8");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadBytes(target), "Zone,Start (ft),End (ft),Length (ft),Placements,Worst Dev. (in),Worst At (ft),"
                                 "Support 1 (ft),Support 2 (ft),Low Point (ft)\r\n"
                                 "1,0.0000,16.0000,16.0000,1,0.6000,0.0000,2.5000,13.5000,4.0000\r\n");
    run = RunBatch({"--corrections", target, one_}, folder_);
    EXPECT_EQ(run.out, kChannel1);
    EXPECT_EQ(run.err, kPercentLine + "Percent Defective Length = 50.00%\n"); // 16 ft of 32 ft

    const std::string missing = folder_ / "no such folder/zones.csv";
    run = RunBatch({"--corrections", missing, one_}, folder_);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
}

TEST_F(BatchEndToEndTest, OutputIntoAMissingFolderFailsWithNoFile)
{
    const std::string target = folder_ / "no such folder/summary.txt";
    const Finished run = RunBatch({"--output", target, one_}, folder_);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(target), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Percent Exceeded"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "no such folder"));
}

TEST_F(BatchEndToEndTest, AFullDiskIsReportedAndLeavesTheOldFileAndNoTemporaryFile)
{
    // A file-size limit of 8 bytes stands for a full disk: the write must fail with
    // a message, not end the program by the file-size signal.
    const std::string target = folder_ / "summary.txt";
    int errorPipe[2];
    ASSERT_EQ(::pipe(errorPipe), 0); // not a file: the limit would cut the message short
    WriteBytes(target, "an older summary");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const rlimit limit{8, 8};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::dup2(errorPipe[1], STDERR_FILENO);
        ::close(errorPipe[0]);
        const std::string profile = one_;
        const char* argv[] = {ZLM_BATCH_PATH, "--output", target.c_str(), profile.c_str(), nullptr};
        ::execv(ZLM_BATCH_PATH, const_cast<char* const*>(argv));
        ::_exit(127);
    }
    ::close(errorPipe[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    std::string message;
    char buffer[4096];
    for (ssize_t got; (got = ::read(errorPipe[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<std::size_t>(got));
    ::close(errorPipe[0]);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(message.find(target), std::string::npos) << message;
    EXPECT_EQ(ReadBytes(target), "an older summary");
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(BatchEndToEndTest, RefusedProfilesExitOneWithTheWindowsMessage)
{
    const std::string shortProfile = folder_ / "short.erd";
    WriteBytes(shortProfile, DipErd(20, 1));
    const std::string notErd = folder_ / "notes.txt";
    WriteBytes(notErd, "erdfilev2.00\r\n");
    struct Case {
        std::string path;
        std::string message;
    };
    for (const Case& c :
         {Case{shortProfile, "The profile is too short to simulate: it is 4.75 ft long"},
          Case{notErd, "Error 0 File is is not in ERD format\n"}, Case{folder_ / "absent.erd", "absent.erd"}}) {
        const Finished run = RunBatch({c.path}, folder_);
        EXPECT_EQ(run.exitCode, 1) << c.path;
        EXPECT_EQ(run.out, "") << c.path;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(run.err.ends_with("\n")) << run.err;
    }
}

TEST_F(BatchEndToEndTest, UsageErrorsExitTwoWithTheUsageOnStandardError)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"--channel", "65", one_}, {"--delimiter", "tab", one_}, {"--bogus", one_}, {one_, two_}}) {
        const Finished run = RunBatch(arguments, folder_);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("zlm-batch: ")) << run.err;
        EXPECT_NE(run.err.find("Usage: zlm-batch"), std::string::npos) << run.err;
    }
}

TEST_F(BatchEndToEndTest, HelpPrintsTheUsageOnStandardOutput)
{
    const Finished run = RunBatch({"--help"}, folder_);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with("Usage: zlm-batch [--section LENGTH]")) << run.out;
    EXPECT_EQ(run.err, "");
}

TEST_F(BatchEndToEndTest, VersionPrintsTheProgramAndItsVersionOnStandardOutput)
{
    const Finished run = RunBatch({"--version", "no-such-profile.erd"}, folder_);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(std::regex_match(run.out, std::regex("zlm 1\\.[0-9]+\\.[0-9]+\n"))) << run.out;
    EXPECT_EQ(run.err, "");
}

TEST_F(BatchEndToEndTest, FailingStandardOutputIsReported)
{
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]); // nobody reads: the write fails with a broken pipe
    const Finished broken = RunBatch({one_}, folder_, pipeEnds[1]);
    ::close(pipeEnds[1]);
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(broken.err.find("could not write the summary to standard output: Broken pipe"), std::string::npos)
        << broken.err;

    const int full = ::open("/dev/full", O_WRONLY);
    if (full < 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    const Finished noSpace = RunBatch({one_}, folder_, full);
    ::close(full);
    EXPECT_EQ(noSpace.exitCode, 1);
    EXPECT_NE(noSpace.err.find("No space left on device"), std::string::npos) << noSpace.err;
    EXPECT_EQ(noSpace.err.find("Percent Exceeded"), std::string::npos) << noSpace.err;
}

TEST_F(BatchEndToEndTest, DecimalSeparatorFollowsTheLocale)
{
    // Needs a locale whose separator is a comma; images often have none but C and C.UTF-8.
    const Finished run = RunBatch({one_}, folder_, -1, "de_DE.UTF-8");
    if (run.out.find("8,0000") == std::string::npos && run.out.find("8.0000") != std::string::npos) {
        GTEST_SKIP() << "no de_DE.UTF-8 locale installed";
    }
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("\r\n8,0000,0,0000,0,0000\r\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "Percent Exceeded Threshold (0.25 in) = 33,33% Overall\n");
}

TEST_F(BatchEndToEndTest, DelimitedUnitsAndAnyChannelComeFromTheOptions)
{
    const std::string csv = folder_ / "dip.csv";
    std::string text;
    for (int i = 0; i < 129; ++i) {
        text += i == 16 ? "-0.6\r\n" : "0\r\n";
    }
    WriteBytes(csv, text);
    const Finished refused = RunBatch({csv}, folder_);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "The file's header does not give its elevation unit, the unit of its sample interval, its "
                           "sample interval (it has no distance column): give --columns-units DIST,ELEV and "
                           "--interval N\n");
    const Finished read = RunBatch({"--columns-units", "in,in", "--interval", "3", csv}, folder_);
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, kChannel1);

    const Finished beyond = RunBatch({"--channel", "3", two_}, folder_);
    EXPECT_EQ(beyond.exitCode, 1);
    EXPECT_EQ(beyond.err, "The file has 2 channels; channel 3 was asked for\n");
}

TEST_F(BatchEndToEndTest, SurveyWritesItsSummaryAndExitsOneWhenAFileIsRefused)
{
    const std::string summary = folder_ / "survey.csv";
    const Finished done = RunBatch({"--summary", summary, one_, two_}, folder_);
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(done.out, "");
    EXPECT_EQ(done.err, "Survey: 3 analysed, 0 refused\n");
    const std::string row = ",129,0.250000,32.000,3,1,33.33,50.00,1,\r\n";
    EXPECT_EQ(ReadBytes(summary), "File,Channel,Points,Interval,Length,Placements,Exceeding,Percent Exceeding,"
                                  "Percent Defective Length,Zones,Error\r\n" +
                                      one_ + ",1" + row + two_ + ",1" + row + two_ +
                                      ",2,129,0.250000,32.000,3,1,33.33,50.00,1,\r\n");

    const Finished refused = RunBatch({"--summary", summary, one_, folder_ / "gone.pro"}, folder_);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Survey: 1 analysed, 1 refused\n");
    EXPECT_NE(ReadBytes(summary).find("gone.pro: no such file or folder"), std::string::npos);

    const Finished unwritable = RunBatch({"--summary", folder_ / "no/such/folder.csv", one_}, folder_);
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("no/such/folder.csv"), std::string::npos) << unwritable.err;
}

} // namespace
} // namespace zlm
