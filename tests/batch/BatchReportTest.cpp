// zlm-batch --report end to end, checked on the PDF as its readers see it:
// poppler's pdfinfo and pdftotext, run on the file the built zlm-batch wrote.

#include "batch/BatchRun.h"
#include "bench/TenMileProfile.h"
#include "commands/ReportRequest.h"
#include "support/ProfileFiles.h"
#include "support/TempFolder.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace zlm {
namespace {

using test::ReadBytes;
using test::TempFolder;

struct Ran {
    int exitCode = -1;
    std::string out;
};

/** Runs a shell command, its standard output and error captured together. */
Ran Shell(const std::string& command)
{
    Ran ran;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return ran;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        ran.out.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    ran.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    return ran;
}

/** zlm-batch in `folder` without a display, under the C locale; `environment` is put before it ("A=1 B=2"). */
Ran Batch(const TempFolder& folder, const std::string& arguments, const std::string& environment = "")
{
    return Shell("cd " + ShellQuoted(folder.Path().string()) + " && env -u DISPLAY -u WAYLAND_DISPLAY " +
                 "-u SOURCE_DATE_EPOCH LC_ALL=C " + environment + " " + ZLM_BATCH_PATH + " " + arguments);
}

/**
 * An ERD road of `points` at `interval` ft: level, with a dip of 0.06 ft
 * every 100 ft that a 16 ft straightedge bridges, so zones appear.
 */
std::string RoadErd(int points, double interval)
{
    std::ostringstream erd;
    erd << "ERDFILEV2.00\r\n1," << points << ",1,1,1," << interval << ",0\r\n"
        << "TITLE   Report test road\r\nSURVDATE 03/01/2001 13:27\r\nUNITSNAMft\r\nXUNITS  ft\r\nEND\r\n";
    for (int i = 0; i < points; ++i) {
        const double x = std::fmod(i * interval, 100.0);
        const double dip = x > 40.0 && x < 48.0 ? -0.06 * std::sin((x - 40.0) / 8.0 * 3.14159265358979) : 0.0;
        erd << dip << "\r\n";
    }
    return erd.str();
}

#ifdef ZLM_HAS_REPORT

std::string PdfText(const std::string& pdf)
{
    return Shell("pdftotext -layout " + ShellQuoted(pdf) + " -").out;
}

std::string PdfInfo(const std::string& pdf, const std::string& field)
{
    const std::string info = Shell("pdfinfo " + ShellQuoted(pdf)).out;
    std::smatch match;
    return std::regex_search(info, match, std::regex(field + ":\\s*([^\\n]*)")) ? match[1].str() : std::string();
}

TEST(BatchReport, StatesTheProfileMethodResultAndZones)
{
    TempFolder folder;
    const std::string profile = folder.Write("road one.erd", RoadErd(2400, 0.5));
    const Ran ran = Batch(folder,
                          "--section 500 --corrections zones.csv --output summary.txt --paper letter "
                          "--report report.pdf 'road one.erd'",
                          "SOURCE_DATE_EPOCH=1700000000");
    ASSERT_EQ(ran.exitCode, 0) << ran.out;
    const std::string pdf = folder / "report.pdf";
    const std::string text = PdfText(pdf);

    // 1199.5 ft of road: one page of profile, method and result, two graph pages, one of corrections.
    EXPECT_EQ(PdfInfo(pdf, "Pages"), "4");
    EXPECT_NE(PdfInfo(pdf, "Page size").find("612 x 792"), std::string::npos);
    EXPECT_NE(PdfInfo(pdf, "Page size").find("(letter)"), std::string::npos);
    EXPECT_EQ(PdfInfo(pdf, "CreationDate"), "Tue Nov 14 22:13:20 2023 UTC");

    const std::string sha = Shell("sha256sum " + ShellQuoted(profile) + " | cut -c1-64").out.substr(0, 64);
    const std::string percent =
        std::regex_replace(ran.out, std::regex("(?:.|\\n)*= ([0-9.]+)% Overall(?:.|\\n)*"), "$1");
    const std::vector<std::string> expected{
        "Evenrule \\(ZLM\\) straightedge report +road one\\.erd +Page 1 of 4",
        "Page 4 of 4",
        "File name +road one\\.erd",
        "Full path +" + std::regex_replace(profile, std::regex("[.()]"), "\\$&"),
        "SHA-256 +" + sha,
        "Size +" + std::to_string(std::filesystem::file_size(profile)) + " bytes",
        "Points +2400",
        "Sample interval +0\\.5 ft",
        "Profile length +1199\\.50 ft",
        "SURVDATE +03/01/2001 13:27",
        "Base length +16 ft",
        "Step +8 ft",
        "Tolerance +0\\.25 in",
        "Unit system +US \\(ft, in\\)",
        "Percent exceeding overall +" + percent + "%",
        "Section +Stations",
        "Deviation graph 2 of 2: distance 1000\\.00 to 1199\\.50 ft of 1199\\.50 ft \\(each page covers at most "
        "1,000 ft\\)",
        "Analysis time +2023-11-14 22:13:20 UTC",
        "Evenrule \\(ZLM\\) " ZLM_VERSION " .+ analysis of 2023-11-14 22:13:20 UTC",
    };
    for (const std::string& pattern : expected) {
        EXPECT_TRUE(std::regex_search(text, std::regex(pattern))) << pattern;
    }

    // The command line, continued over lines as a shell reads it, names the profile by its full path.
    const std::string command = std::regex_replace(text, std::regex(" \\\\\n +"), " ");
    EXPECT_NE(
        command.find("zlm-batch --units us --length 16 --step 8 --threshold 0.25 --section 500 '" + profile + "'"),
        std::string::npos);

    // Every zone of the corrections file is a row of the report, every column as the file has it.
    std::istringstream zones(ReadBytes(folder / "zones.csv"));
    std::string row;
    std::getline(zones, row);
    int rows = 0;
    while (std::getline(zones, row) && !row.empty()) {
        if (row.back() == '\r') {
            row.pop_back();
        }
        const std::string cells = " *" + std::regex_replace(row, std::regex(","), " +");
        EXPECT_TRUE(std::regex_search(text, std::regex(cells))) << row;
        ++rows;
    }
    EXPECT_EQ(rows, 12);
    EXPECT_TRUE(std::regex_search(text, std::regex("Exceedance zones +12")));
}

TEST(BatchReport, SameInputsSameBytesUnderSourceDateEpoch)
{
    TempFolder folder;
    folder.Write("road.erd", RoadErd(800, 0.5));
    const std::string arguments = "--paper a4 --report r.pdf road.erd";
    ASSERT_EQ(Batch(folder, arguments, "SOURCE_DATE_EPOCH=1700000000").exitCode, 0);
    const std::string first = ReadBytes(folder / "r.pdf");
    ASSERT_EQ(Batch(folder, arguments, "SOURCE_DATE_EPOCH=1700000000").exitCode, 0);
    EXPECT_TRUE(first == ReadBytes(folder / "r.pdf")) << "two runs of the same inputs differ";
    EXPECT_EQ(PdfInfo(folder / "r.pdf", "Page size"), "595 x 842 pts (A4)");

    ASSERT_EQ(Batch(folder, arguments, "SOURCE_DATE_EPOCH=1700000060").exitCode, 0);
    EXPECT_NE(PdfText(folder / "r.pdf").find("2023-11-14 22:14:20 UTC"), std::string::npos);

    const Ran refused = Batch(folder, arguments, "SOURCE_DATE_EPOCH=yesterday");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.out.find("SOURCE_DATE_EPOCH must be a whole number of seconds"), std::string::npos)
        << refused.out;
}

/** A word's box on a page, in points from the page's top left. */
struct Box {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

/** The box of `word`'s first appearance on page `page` of a PDF; all 0 when it is not there. */
Box WordBox(const std::string& pdf, int page, const std::string& word)
{
    const std::string boxes = Shell("pdftotext -bbox -f " + std::to_string(page) + " -l " + std::to_string(page) + " " +
                                    ShellQuoted(pdf) + " -")
                                  .out;
    std::smatch match;
    if (!std::regex_search(boxes, match,
                           std::regex("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)"
                                      "\">" +
                                      word + "<")))
        return {};
    return {std::stod(match[1]), std::stod(match[2]), std::stod(match[3]), std::stod(match[4])};
}

// The graph is recorded on one thread and drawn into the PDF on another; on a screen of another
// resolution it still fills its page, its texts their size (a recording is made at a device's
// resolution and plays back scaled by the screen's).
TEST(BatchReport, GraphFillsItsPageWhateverTheScreensResolution)
{
    TempFolder folder;
    folder.Write("road.erd", RoadErd(800, 0.5));
    ASSERT_EQ(Batch(folder, "--paper a4 --report usual.pdf road.erd").exitCode, 0);
    ASSERT_EQ(
        Batch(folder, "--paper a4 --report fine.pdf road.erd", "QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=144").exitCode,
        0);
    // The right axis's title at the page's right edge, the distance axis's at the graph's foot.
    const Box right = WordBox(folder / "usual.pdf", 2, "Elevation");
    const Box bottom = WordBox(folder / "usual.pdf", 2, "Distance");
    ASSERT_GT(right.right, 0.0);
    ASSERT_GT(bottom.bottom, 0.0);
    const Box fineBottom = WordBox(folder / "fine.pdf", 2, "Distance");
    EXPECT_NEAR(WordBox(folder / "fine.pdf", 2, "Elevation").right, right.right, 20.0);
    EXPECT_NEAR(fineBottom.bottom, bottom.bottom, 25.0);
    EXPECT_NEAR(fineBottom.right - fineBottom.left, bottom.right - bottom.left, 1.0);
}

TEST(BatchReport, MetricRoadsArePagedEvery300Metres)
{
    TempFolder folder;
    folder.Write("road.erd", RoadErd(2400, 0.5));
    ASSERT_EQ(Batch(folder, "--units si --step continuous --report r.pdf road.erd").exitCode, 0);
    const std::string text = PdfText(folder / "r.pdf");
    // 1199.5 ft are 365.61 m: two graph pages.
    EXPECT_NE(text.find("Deviation graph 2 of 2: distance 300.00 to 365.61 m of 365.61 m (each page covers at most "
                        "300 m)"),
              std::string::npos);
    EXPECT_TRUE(std::regex_search(text, std::regex("Step +continuous")));
    EXPECT_TRUE(std::regex_search(text, std::regex("zlm-batch --units si --length 4.8768 --step continuous")));
}

TEST(BatchReport, TenMileProfileTakesAGraphPagePer1000Feet)
{
    TempFolder folder;
    bench::WriteTenMileErd(folder / "ten.erd");
    ASSERT_EQ(Batch(folder, "--output /dev/null --report ten.pdf ten.erd").exitCode, 0);
    const std::string text = PdfText(folder / "ten.pdf");
    // 633,599 intervals of 1 in are 52,799.92 ft: 53 pages of graph.
    EXPECT_NE(text.find("Deviation graph 53 of 53: distance 52000.00 to 52799.92 ft"), std::string::npos);
    EXPECT_EQ(text.find("Deviation graph 54"), std::string::npos);
    const std::string pages = PdfInfo(folder / "ten.pdf", "Pages");
    EXPECT_NE(text.find("Page " + pages + " of " + pages), std::string::npos);
    EXPECT_GT(std::stoi(pages), 53);

    // The corrections list runs over many pages: each starts with the table's header, and
    // every zone is there once, in order, however the rows fall on the pages.
    std::istringstream byPage(text);
    int zone = 0;
    int pagesOfZones = 0;
    const std::regex row("^ *([0-9]+) +[0-9]+\\.[0-9]{4} +[0-9]+\\.[0-9]{4} ");
    for (std::string page; std::getline(byPage, page, '\f');) {
        std::istringstream lines(page);
        bool header = false;
        for (std::string line; std::getline(lines, line);) {
            header = header || std::regex_search(line, std::regex("Zone +Start +End +Length +Placements"));
            std::smatch match;
            if (std::regex_search(line, match, row)) {
                EXPECT_TRUE(header) << "a row before the header: " << line;
                EXPECT_EQ(std::stoi(match[1]), ++zone) << line;
            }
        }
        pagesOfZones += header ? 1 : 0;
    }
    EXPECT_GT(pagesOfZones, 10);
    EXPECT_TRUE(std::regex_search(text, std::regex("Exceedance zones +" + std::to_string(zone) + "\n")));
}

TEST(BatchReport, FailedWriteLeavesNoFileAndSaysWhere)
{
    TempFolder folder;
    folder.Write("road.erd", RoadErd(800, 0.5));
    const Ran missing = Batch(folder, "--output s.txt --report no/such/folder/r.pdf road.erd");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.out.find("no/such/folder/r.pdf"), std::string::npos) << missing.out;

    // A folder in the report's place is refused and stays as it was.
    std::filesystem::create_directory(folder / "taken.pdf");
    const Ran folderInPlace = Batch(folder, "--report taken.pdf road.erd");
    EXPECT_EQ(folderInPlace.exitCode, 1);
    EXPECT_NE(folderInPlace.out.find("taken.pdf"), std::string::npos) << folderInPlace.out;
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.pdf"));
    EXPECT_EQ(folder.Names().size(), 3u) << "a partial report was left";

    const Ran gone = Batch(folder, "--report r.pdf gone.erd");
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "r.pdf"));
}

/** The words of a command line as a POSIX shell splits them, single quotes removed. */
std::vector<std::string> ShellWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool escaped = false;
    bool inWord = false;
    for (const char c : line) {
        if (escaped || (quoted && c != '\'') || (!quoted && c != '\'' && c != ' ' && c != '\\')) {
            word += c;
            escaped = false;
        } else if (c == '\'') {
            quoted = !quoted;
        } else if (c == '\\') {
            escaped = true;
        } else {
            if (inWord) {
                words.push_back(word);
            }
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

/** The dip of the road at distance x ft, `depth` deep, every 100 ft. */
double Dip(double x, double depth)
{
    const double along = std::fmod(x, 100.0);
    return along > 40.0 && along < 48.0 ? -depth * std::sin((along - 40.0) / 8.0 * 3.14159265358979) : 0.0;
}

/** Three channels at 0.5 ft, channel k dipping 0.03 k ft deep, so that each channel gives its own result. */
std::string ThreeChannelErd()
{
    std::ostringstream erd;
    erd << "ERDFILEV2.00\r\n3,1600,1,1,1,0.5,0\r\nTITLE   Three paths\r\nUNITSNAMft\r\nXUNITS  ft\r\nEND\r\n";
    for (int i = 0; i < 1600; ++i) {
        erd << Dip(i * 0.5, 0.03) << ' ' << Dip(i * 0.5, 0.06) << ' ' << Dip(i * 0.5, 0.09) << "\r\n";
    }
    return erd.str();
}

std::string ColumnTextDat()
{
    test::ColumnHeader header;
    header.count = "3200";
    std::vector<std::string> data;
    for (int i = 0; i < 3200; ++i) {
        data.push_back(test::DataLine(std::to_string(i * 0.25), std::to_string(Dip(i * 0.25, 0.05))));
    }
    return test::JoinLines(test::ColumnLines(header, data));
}

/** Two paths at 3 in, in mils; the right one dips deeper. */
std::string TwoPathPro()
{
    std::vector<std::string> lines = {"HEAD3,06/01/2005,14,227,IH0035,0350+0.5,L1",
                                      "CMET3,HSP-1,ACP,J. Doe,A123,300,C-77,05/01/2005", "SSI,mil,LR,3,i",
                                      "30.2672,-97.7431,150.2,180.0,55.0", "Northbound"};
    for (int i = 0; i < 3200; ++i) {
        const double x = i * 0.25;
        lines.push_back(std::to_string(std::lround(Dip(x, 0.02) * 12000.0)) + "," +
                        std::to_string(std::lround(Dip(x, 0.07) * 12000.0)) + ",0");
    }
    return test::JoinLines(lines);
}

/** Elevations in inches, one a line, with neither header nor distances. */
std::string BareDelimited()
{
    std::string text;
    for (int i = 0; i < 3200; ++i) {
        text += std::to_string(Dip(i * 0.25, 0.05) * 12.0) + "\n";
    }
    return text;
}

struct ReproductionCase {
    const char* name;
    const char* file;
    std::string (*bytes)();
    std::string options;
    std::string channel; ///< as the report names it
};

class ReportReproductionTest : public ::testing::TestWithParam<ReproductionCase> {};

// The command a report prints, given back to zlm-batch, gives the very result of the run it documents.
TEST_P(ReportReproductionTest, PrintedCommandGivesTheRunsResult)
{
    const ReproductionCase& c = GetParam();
    TempFolder folder;
    folder.Write(c.file, c.bytes());
    const Ran ran = Batch(folder, c.options + " --output run.txt --report r.pdf " + c.file);
    ASSERT_EQ(ran.exitCode, 0) << ran.out;
    const std::string text = PdfText(folder / "r.pdf");
    EXPECT_TRUE(std::regex_search(text, std::regex("\\n *Channel +" + c.channel + "\\n"))) << text;

    const std::string joined = std::regex_replace(text, std::regex(" \\\\\n +"), " ");
    std::smatch command;
    ASSERT_TRUE(std::regex_search(joined, command, std::regex("zlm-batch [^\\n]*"))) << text;
    std::vector<std::string> words = ShellWords(command.str());
    words.erase(words.begin());
    const ParsedArguments parsed = ParseBatchArguments(words);
    ASSERT_EQ(parsed.status, ArgumentsStatus::Run) << command.str() << ": " << parsed.error;
    NullProgress progress;
    const BatchOutcome again = RunBatch(parsed.options, '.', progress);
    ASSERT_EQ(again.exitCode, 0) << command.str() << ": " << again.message;
    EXPECT_TRUE(again.summary == ReadBytes(folder / "run.txt")) << command.str();
    EXPECT_NE(ran.out.find(again.percentLine), std::string::npos) << again.percentLine << " / " << ran.out;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ReportReproductionTest,
    ::testing::Values(ReproductionCase{"ErdChannel3", "road.erd", ThreeChannelErd, "--channel 3", "3"},
                      ReproductionCase{"ErdChannel1", "road.erd", ThreeChannelErd, "--section 200", "1"},
                      ReproductionCase{"ColumnText", "./road.dat", ColumnTextDat, "--step continuous --threshold 0.125",
                                       "1"},
                      ReproductionCase{"ProRightPath", "road.pro", TwoPathPro, "--channel 2 --length 10", "2"},
                      ReproductionCase{"DelimitedWithUnitsFromOptions", "road.csv", BareDelimited,
                                       "--columns-units ft,in --interval 0.25", "1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RideReportCase {
    const char* name;
    const char* file;
    std::string (*bytes)();
    std::string options;
    std::string paths;                ///< the profile page's line naming what was analysed, as a pattern
    std::vector<std::string> overall; ///< the names of the overall figures the report states
};

class RideReportTest : public ::testing::TestWithParam<RideReportCase> {};

/** The value zlm-batch printed for `name` ("MRI = 12.34 in/mi Overall"): "12.34 in/mi". */
std::string OverallFigure(const std::string& out, const std::string& name)
{
    std::smatch match;
    return std::regex_search(out, match, std::regex(name + " = ([^ ]+ [^ ]+) Overall")) ? match[1].str() : "";
}

// A ride report states the paths and overall figures zlm-batch printed, and its command repeats the run.
TEST_P(RideReportTest, StatesTheRunAndItsCommandRepeatsIt)
{
    const RideReportCase& c = GetParam();
    TempFolder folder;
    folder.Write(c.file, c.bytes());
    const Ran ran = Batch(folder, "--ride " + c.options + " --localized a.csv --output s.csv --report r.pdf " + c.file,
                          "SOURCE_DATE_EPOCH=1700000000");
    ASSERT_EQ(ran.exitCode, 0) << ran.out;
    const std::string text = PdfText(folder / "r.pdf");
    EXPECT_TRUE(std::regex_search(text, std::regex("Evenrule \\(ZLM\\) ride-quality report")));
    EXPECT_TRUE(std::regex_search(text, std::regex("\\n *" + c.paths + "\\n"))) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex("Model +Quarter car at 80 km/h")));
    for (const std::string& name : c.overall) {
        const std::string figure = OverallFigure(ran.out, name);
        ASSERT_FALSE(figure.empty()) << name << ": " << ran.out;
        EXPECT_TRUE(std::regex_search(text, std::regex("\\n *" + name + " +" + figure + "\\n"))) << name << text;
    }
    EXPECT_TRUE(std::regex_search(text, std::regex("Ride-quality graph 1 of 1: distance 0\\.00 to")));
    EXPECT_EQ(text.find("Deviation graph"), std::string::npos);

    const std::string joined = std::regex_replace(text, std::regex(" \\\\\n +"), " ");
    std::smatch command;
    ASSERT_TRUE(std::regex_search(joined, command, std::regex("zlm-batch --ride [^\\n]*"))) << text;
    std::vector<std::string> words = ShellWords(command.str());
    words.erase(words.begin());
    ParsedArguments parsed = ParseBatchArguments(words);
    ASSERT_EQ(parsed.status, ArgumentsStatus::Run) << command.str() << ": " << parsed.error;
    parsed.options.localizedPath = folder / "again.csv";
    NullProgress progress;
    const BatchOutcome again = RunBatch(parsed.options, '.', progress);
    ASSERT_EQ(again.exitCode, 0) << command.str() << ": " << again.message;
    EXPECT_TRUE(again.summary == ReadBytes(folder / "s.csv")) << command.str();
    EXPECT_TRUE(ReadBytes(folder / "again.csv") == ReadBytes(folder / "a.csv")) << command.str();

    ASSERT_EQ(Batch(folder, "--ride " + c.options + " --localized a.csv --output s.csv --report r2.pdf " + c.file,
                    "SOURCE_DATE_EPOCH=1700000000")
                  .exitCode,
              0);
    EXPECT_TRUE(ReadBytes(folder / "r.pdf") == ReadBytes(folder / "r2.pdf")) << "two runs of the same inputs differ";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RideReportTest,
    ::testing::Values(RideReportCase{"TwoPathsBySection",
                                     "road.pro",
                                     TwoPathPro,
                                     "--section 200 --lr-threshold 50",
                                     "Paths +1 \\(left\\), 2 \\(right\\)",
                                     {"MRI", "HRI"}},
                      RideReportCase{"PathsChosenSi",
                                     "road.erd",
                                     ThreeChannelErd,
                                     "--units si --paths 3,1",
                                     "Paths +3 \\(left\\), 1 \\(right\\)",
                                     {"MRI", "HRI"}},
                      RideReportCase{
                          "OneChannel", "road.erd", ThreeChannelErd, "--channel 2 --base 10", "Channel +2", {"IRI"}},
                      RideReportCase{"DelimitedWithUnitsFromOptions",
                                     "road.csv",
                                     BareDelimited,
                                     "--columns-units ft,in --interval 0.25",
                                     "Channel +1",
                                     {"IRI"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A road shorter than a graph page names the page's full distance, in the report's units.
TEST(BatchReport, ShortRoadNamesThePageLengthOfItsUnits)
{
    TempFolder folder;
    folder.Write("road.erd", RoadErd(400, 0.5));
    for (const auto& [units, page] : {std::pair{"us", "1,000 ft"}, std::pair{"si", "300 m"}}) {
        ASSERT_EQ(Batch(folder, std::string("--units ") + units + " --report r.pdf road.erd").exitCode, 0);
        const std::string text = std::regex_replace(PdfText(folder / "r.pdf"), std::regex("\\s+"), " ");
        EXPECT_NE(text.find(std::string("each covering at most ") + page), std::string::npos) << text;
        EXPECT_NE(text.find(std::string("(each page covers at most ") + page + ")"), std::string::npos) << text;
    }
}

#endif

TEST(BatchReport, ReportOptionsAreCheckedOrRefusedWithoutTheGraph)
{
    TempFolder folder;
    folder.Write("road.erd", RoadErd(100, 0.5));
    const Ran paper = Batch(folder, "--paper a5 --report r.pdf road.erd");
    EXPECT_EQ(paper.exitCode, 2);
    EXPECT_NE(paper.out.find("--paper must be a4 or letter, not \"a5\""), std::string::npos) << paper.out;
#ifndef ZLM_HAS_REPORT
    const Ran report = Batch(folder, "--report r.pdf road.erd");
    EXPECT_EQ(report.exitCode, 2);
    EXPECT_NE(report.out.find("reports are not available in this build"), std::string::npos) << report.out;
#endif
}

#ifdef ZLM_HAS_REPORT
// The report is a module loaded only for --report: a zlm-batch without it still
// runs, and refuses a report saying which module is missing or broken, and where.
TEST(BatchReport, MissingOrBrokenModuleIsNamed)
{
    TempFolder folder;
    folder.Write("road.erd", RoadErd(100, 0.5));
    std::filesystem::copy_file(ZLM_BATCH_PATH, folder.Path() / "zlm-batch");
    const std::string alone = "ZLM_PLUGIN_PATH= ./zlm-batch ";
    EXPECT_EQ(Shell("cd " + ShellQuoted(folder.Path().string()) + " && " + alone + "road.erd >/dev/null").exitCode, 0);
    const Ran missing = Shell("cd " + ShellQuoted(folder.Path().string()) + " && " + alone + "--report r.pdf road.erd");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.out.find("the report module libzlm-report.so was not found in " + folder.Path().string() +
                               "/zlm-plugins"),
              std::string::npos)
        << missing.out;

    std::filesystem::create_directory(folder.Path() / "zlm-plugins");
    folder.Write("zlm-plugins/libzlm-report.so", "not a library");
    const Ran broken = Shell("cd " + ShellQuoted(folder.Path().string()) + " && " + alone + "--report r.pdf road.erd");
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_NE(broken.out.find("the report module " + folder.Path().string() +
                              "/zlm-plugins/libzlm-report.so could not be loaded"),
              std::string::npos)
        << broken.out;
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "r.pdf"));
}
#endif

} // namespace
} // namespace zlm
