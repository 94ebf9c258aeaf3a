#include "commands/SummaryWriter.h"

#include "analysis/ProgressSink.h"
#include "analysis/ResultsGrid.h"
#include "analysis/ResultsTable.h"
#include "commands/SimulateCommand.h"
#include "support/ProfileMaker.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zlm {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::string Golden(const std::string& name)
{
    const std::string path = std::string(ZLM_TEST_DATA_DIR) + "/golden/" + name;
    std::string bytes = ReadBytes(path);
    EXPECT_FALSE(bytes.empty()) << "missing golden file " << path;
    return bytes;
}

/** The grid as the main window shows it after loading: header and one empty row. */
ResultsGrid GridBeforeAnyRun()
{
    ResultsGrid grid;
    grid.SetWidth(kMainWindowGridWidth);
    LayoutResultsHeader(grid, UnitTexts{});
    return grid;
}

/** The grid after a run as the window fills it; `state` keeps the run's results. */
ResultsGrid GridAfterRun(SessionState& state, const std::string& sectionText)
{
    state.profile = test::DipProfile();
    ResultsGrid grid = GridBeforeAnyRun();
    NullProgress progress;
    const SimulationOutcome outcome = RunSimulation(state, sectionText, progress);
    EXPECT_TRUE(outcome.ran) << outcome.refusal;
    FillResultsTable(grid, state.straightedge.results, state.units, '.');
    return grid;
}

struct GoldenCase {
    std::string name;
    std::string sectionText; ///< "-" for the grid before any run
};

void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << c.name;
}

class GridGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GridGoldenTest, BothFormsMatchTheirGoldenFilesByteForByte)
{
    const GoldenCase& c = GetParam();
    SessionState state;
    const bool ran = c.sectionText != "-";
    ResultsGrid grid = ran ? GridAfterRun(state, c.sectionText) : GridBeforeAnyRun();
    for (const Delimiter form : {Delimiter::Comma, Delimiter::Space}) {
        const std::string expected = Golden(c.name + "-" + (form == Delimiter::Comma ? "comma" : "space") + ".txt");
        EXPECT_EQ(SummaryText(grid, form), expected);
        if (ran) {
            // The headless path writes the results without a grid: the same bytes.
            EXPECT_EQ(SummaryText(ResultsTableText(state.straightedge.results, state.units, '.'), form), expected);
        }

        TempFolder folder;
        const std::string target = folder / "summary.txt";
        const SaveResult saved = SaveSummary(target, grid, form);
        ASSERT_TRUE(saved.ok) << saved.message;
        EXPECT_EQ(ReadBytes(target), expected) << "as saved";
    }
}

INSTANTIATE_TEST_SUITE_P(Summaries, GridGoldenTest,
                         ::testing::Values(GoldenCase{"before-run", "-"}, GoldenCase{"dip-run", ""},
                                           GoldenCase{"dip-sections", "16"}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase(name, '-');
                             return name;
                         });

ResultsGrid HandGrid(const std::vector<std::vector<std::string>>& cells)
{
    ResultsGrid grid;
    grid.SetRows(static_cast<std::int32_t>(cells.size()));
    grid.SetCols(static_cast<std::int32_t>(cells.front().size()));
    for (std::size_t r = 0; r < cells.size(); ++r) {
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            grid.SetTextMatrix(static_cast<std::int32_t>(r), static_cast<std::int32_t>(c), cells[r][c]);
        }
    }
    return grid;
}

struct FormCase {
    std::string label;
    std::vector<std::vector<std::string>> cells;
    Delimiter delimiter;
    std::string expected;
};

void PrintTo(const FormCase& c, std::ostream* os)
{
    *os << c.label;
}

class GridFormTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(GridFormTest, WritesTheExpectedBytes)
{
    const FormCase& c = GetParam();
    EXPECT_EQ(SummaryText(HandGrid(c.cells), c.delimiter), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, GridFormTest,
    ::testing::Values(
        // Widths come from the untrimmed texts; leading spaces stay in every column but the last.
        FormCase{"SpaceKeepsLeadingSpacesOutsideTheLastColumn",
                 {{"a", "bb", "c"}, {"  x", " y ", "  z  "}},
                 Delimiter::Space,
                 "a       bb      c\r\n  x      y      z\r\n"},
        FormCase{"SpaceWidthIsTheLongestCellOfAnyRow",
                 {{"h", "h", "h"}, {"123456789", "1", "1"}, {"1", "12", " last "}},
                 Delimiter::Space,
                 "h             h      h\r\n123456789     1      1\r\n1             12     last\r\n"},
        FormCase{"CommaTrimsEveryCellAndNeverQuotes",
                 {{" a ", "b,c", "  "}, {"", "", ""}},
                 Delimiter::Comma,
                 "a,b,c,\r\n,,\r\n"},
        FormCase{"OnlySpacesAreTrimmed", {{"\ta\t", " b\t "}}, Delimiter::Comma, "\ta\t,b\t\r\n"},
        FormCase{"OneColumnIsItsOwnLastColumn", {{" a "}, {"bb"}}, Delimiter::Space, "a\r\nbb\r\n"}),
    [](const auto& info) { return info.param.label; });

/** A table's cells read one at a time, as a table that allows no second thread is. */
class OneThreadTable final : public TextTable {
public:
    explicit OneThreadTable(const TextTable& table) : table_(table) {}
    std::int32_t Rows() const override { return table_.Rows(); }
    std::int32_t Cols() const override { return table_.Cols(); }
    std::string Cell(std::int32_t row, std::int32_t col) const override { return table_.Cell(row, col); }

private:
    const TextTable& table_;
};

// A long run's rows are formatted in two halves at once: the text must be the
// one pass in order gives, rows neither lost, doubled nor moved, in both forms.
TEST(SummaryTextTest, TwoHalvesGiveTheTextOfOnePass)
{
    StraightedgeResults results;
    for (int i = 0; i < 50'001; ++i)
        results.placements.push_back({i * 8.0, (i % 977) * 0.0013, i % 3 == 0 ? (i % 977) * 0.0013 : 0.0});
    const UnitTexts units;
    const ResultsTableText table(results, units, '.');
    for (const Delimiter form : {Delimiter::Comma, Delimiter::Space}) {
        const std::string text = SummaryText(table, form);
        EXPECT_EQ(text, SummaryText(OneThreadTable(table), form));
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 50'002);
    }
}

TEST(SaveSummaryTest, ReplacesAnExistingFileAndKeepsItsMode)
{
    TempFolder folder;
    const std::string target = folder / "summary.txt";
    WriteBytes(target, "an older, longer summary that must be replaced completely\r\n");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ResultsGrid grid = GridBeforeAnyRun();

    const SaveResult saved = SaveSummary(target, grid, Delimiter::Comma);
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(ReadBytes(target), Golden("before-run-comma.txt"));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"summary.txt"});
}

TEST(SaveSummaryTest, NewFileGetsTheModeOfAnyNewFile)
{
    TempFolder folder;
    const mode_t mask = ::umask(022);
    ResultsGrid grid = GridBeforeAnyRun();
    const SaveResult saved = SaveSummary(folder / "new.txt", grid, Delimiter::Space);
    ::umask(mask);
    ASSERT_TRUE(saved.ok) << saved.message;
    struct stat info {};
    ASSERT_EQ(::stat((folder / "new.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST(SaveSummaryTest, WritesThroughASymbolicLinkAndKeepsTheLink)
{
    TempFolder folder;
    const std::string real = folder / "real.txt";
    const std::string link = folder / "link.txt";
    WriteBytes(real, "old");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    ResultsGrid grid = GridBeforeAnyRun();
    ASSERT_TRUE(SaveSummary(link, grid, Delimiter::Comma).ok);
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadBytes(real), Golden("before-run-comma.txt"));
}

TEST(SaveSummaryTest, PipeTargetIsWrittenIntoNotReplaced)
{
    TempFolder folder;
    const std::string fifo = folder / "pipe";
    const std::string received = folder / "received.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t reader = ::fork();
    ASSERT_GE(reader, 0);
    if (reader == 0) {
        const std::string bytes = ReadBytes(fifo);
        WriteBytes(received, bytes);
        ::_exit(0);
    }
    ResultsGrid grid = GridBeforeAnyRun();
    const SaveResult saved = SaveSummary(fifo, grid, Delimiter::Comma);
    struct stat info {};
    const bool stillAPipe = ::lstat(fifo.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
    if (!stillAPipe) {
        ::kill(reader, SIGKILL); // it waits on the replaced pipe for ever
    }
    int status = 0;
    ASSERT_EQ(::waitpid(reader, &status, 0), reader);
    EXPECT_TRUE(stillAPipe) << "the pipe was replaced by a file";
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(ReadBytes(received), Golden("before-run-comma.txt"));
}

TEST(SaveSummaryTest, PathWithNonAsciiBytesIsWrittenAsGiven)
{
    TempFolder folder;
    const std::string target = folder / "r\xe9sum\xc3\xa9 \xff.txt";
    ResultsGrid grid = GridBeforeAnyRun();
    const SaveResult saved = SaveSummary(target, grid, Delimiter::Comma);
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(ReadBytes(target), Golden("before-run-comma.txt"));
}

/** A failed save: reported with the path, existing file intact, nothing else left in the folder. */
void ExpectCleanFailure(const SaveResult& saved, const std::string& target, const TempFolder& folder,
                        const std::vector<std::string>& namesBefore)
{
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.message.find(target), std::string::npos) << saved.message;
    auto names = folder.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, namesBefore) << "a temporary file was left behind";
}

TEST(SaveSummaryTest, TargetThatIsAFolderFailsCleanly)
{
    TempFolder folder;
    const std::string target = folder / "a folder";
    ASSERT_EQ(::mkdir(target.c_str(), 0755), 0);
    ResultsGrid grid = GridBeforeAnyRun();
    const SaveResult saved = SaveSummary(target, grid, Delimiter::Comma);
    ExpectCleanFailure(saved, target, folder, {"a folder"});
    EXPECT_NE(saved.message.find("folder"), std::string::npos) << saved.message;
}

TEST(SaveSummaryTest, MissingFolderFailsWithTheSystemsReason)
{
    TempFolder folder;
    const std::string target = folder / "not here/summary.txt";
    ResultsGrid grid = GridBeforeAnyRun();
    const SaveResult saved = SaveSummary(target, grid, Delimiter::Comma);
    ExpectCleanFailure(saved, target, folder, {});
    EXPECT_NE(saved.message.find("No such file or directory"), std::string::npos) << saved.message;
}

TEST(SaveSummaryTest, ReadOnlyFolderFailsAndKeepsTheExistingFile)
{
    TempFolder folder;
    const std::string target = folder / "summary.txt";
    WriteBytes(target, "keep me");
    ResultsGrid grid = GridBeforeAnyRun();

    // Permission bits do not stop root: as root, the save runs in a child process as an ordinary user
    // who owns the folder.
    const bool asRoot = ::geteuid() == 0;
    const uid_t user = 65534;
    if (asRoot) {
        ASSERT_EQ(::chown(folder.Path().c_str(), user, user), 0);
        ASSERT_EQ(::chown(target.c_str(), user, user), 0);
    }
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0555), 0);

    if (asRoot) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(user) != 0 || ::setuid(user) != 0) {
                ::_exit(3);
            }
            const SaveResult saved = SaveSummary(target, grid, Delimiter::Comma);
            const bool named = saved.message.find(target) != std::string::npos &&
                               saved.message.find("Permission denied") != std::string::npos;
            ::_exit(saved.ok ? 1 : (named ? 0 : 2));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success, 2: message without path or reason, 3: no user";
    } else {
        const SaveResult saved = SaveSummary(target, grid, Delimiter::Comma);
        EXPECT_FALSE(saved.ok);
        EXPECT_NE(saved.message.find(target), std::string::npos) << saved.message;
        EXPECT_NE(saved.message.find("Permission denied"), std::string::npos) << saved.message;
    }
    ::chmod(folder.Path().c_str(), 0755);
    EXPECT_EQ(ReadBytes(target), "keep me");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"summary.txt"});
}

TEST(SaveSummaryTest, FullDiskIsDetectedAndKeepsTheExistingFile)
{
    TempFolder folder;
    const std::string target = folder / "summary.txt";
    WriteBytes(target, "keep me");
    ResultsGrid grid = GridBeforeAnyRun(); // its summary is far longer than the limit below

    // The file-size limit stands in for a full disk; a child process keeps it away from the other tests.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(3);
        }
        const SaveResult saved = SaveSummary(target, grid, Delimiter::Space);
        const bool named = saved.message.find(target) != std::string::npos &&
                           saved.message.find("File too large") != std::string::npos;
        ::_exit(saved.ok ? 1 : (named ? 0 : 2));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success, 2: message without path or reason, 3: no limit";
    EXPECT_EQ(ReadBytes(target), "keep me");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"summary.txt"});
}

} // namespace
} // namespace zlm
