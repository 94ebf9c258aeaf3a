// A profile file read in chunks must give exactly the lines, and the profile,
// that the same bytes give when held in memory, wherever the chunks break.
#include "profile_input/ErdProfileReader.h"
#include "profile_input/FileBytes.h"
#include "profile_input/LineReader.h"
#include "support/ProfileFiles.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace zlm {
namespace {

std::vector<std::string> LinesInMemory(const std::string& bytes)
{
    std::vector<std::string> out;
    LineReader reader(bytes);
    std::string_view line;
    while (reader.Next(line))
        out.emplace_back(line);
    return out;
}

std::vector<std::string> LinesFromFile(const std::string& path, std::uint64_t offset = 0)
{
    std::vector<std::string> out;
    std::unique_ptr<std::FILE, FileCloser> file(OpenFileForReading(path));
    EXPECT_TRUE(file);
    FileLineReader reader(file.get(), offset);
    std::string_view line;
    while (reader.Next(line))
        out.emplace_back(line);
    EXPECT_FALSE(reader.Failed());
    return out;
}

// Lines of random length with CR LF, LF, a lone CR inside, and long lines that
// straddle the 1 MiB chunks.
std::string MixedText(std::uint64_t seed, std::size_t bytes)
{
    std::mt19937_64 rng(seed);
    std::string text;
    while (text.size() < bytes) {
        const auto kind = rng() % 10;
        const std::size_t length = kind == 0 ? 300000 + rng() % 900000 : rng() % 40;
        for (std::size_t i = 0; i < length; ++i)
            text += static_cast<char>('0' + rng() % 10);
        if (kind == 1)
            text += '\r';
        text += (rng() % 2) ? "\r\n" : "\n";
    }
    return text;
}

TEST(FileLineReader, GivesTheLinesOfTheTextInMemory)
{
    test::TempFolder folder;
    const std::string cases[] = {
        "",
        "one line, no line feed",
        "a\r\nb\r\n",
        "a\nb",
        "\n\n\r\n",
        "ends in a lone CR\r",
        std::string((1 << 20) - 1, 'x') + "\r\ny\n", // the CR is the last byte of the first chunk
        std::string(1 << 20, 'x') + "\nafter",       // a line exactly one chunk long
        std::string(3 << 20, 'z'),                   // one line of three chunks, no line feed
        MixedText(1, 3 << 20),
        MixedText(2, 5 << 20),
    };
    int index = 0;
    for (const auto& bytes : cases) {
        const auto path = folder.Write("case" + std::to_string(index++) + ".txt", bytes);
        EXPECT_EQ(LinesFromFile(path), LinesInMemory(bytes)) << "case " << index - 1;
    }
}

TEST(FileLineReader, StartsAtAnOffsetAndReportsWhereEachLineEnds)
{
    test::TempFolder folder;
    const std::string bytes = "first\r\nsecond\nthird";
    const auto path = folder.Write("lines.txt", bytes);
    EXPECT_EQ(LinesFromFile(path, 7), (std::vector<std::string>{"second", "third"}));

    std::unique_ptr<std::FILE, FileCloser> file(OpenFileForReading(path));
    FileLineReader reader(file.get(), 0);
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(reader.Offset(), 7u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(reader.Offset(), 14u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(reader.Offset(), bytes.size());
    EXPECT_FALSE(reader.Next(line));
}

TEST(FileLineReader, FoldersAndDevicesAreNotOpened)
{
    test::TempFolder folder;
    const std::string inside = folder.Write("inside.txt", "x");
    const std::string folderPath = inside.substr(0, inside.rfind('/'));
    EXPECT_EQ(OpenFileForReading(folderPath), nullptr);
    EXPECT_EQ(OpenFileForReading("/dev/null"), nullptr);
    EXPECT_EQ(OpenFileForReading(folderPath + "/missing.erd"), nullptr);
}

// Empty and blank-only lines at the very end are no data, those between data
// lines are; a file and the same bytes in memory count alike, and the column
// reader's trimmed text holds the same lines.
TEST(CountDataLines, CountsUpToTheLastLineThatIsNotBlank)
{
    test::TempFolder folder;
    const std::pair<std::string, std::int64_t> cases[] = {
        {"", 0},
        {" \t\r\n\n\r\n", 0},
        {"1", 1},
        {"1\r\n\r\n  \r\n\t\n", 1},
        {"1\n\n2", 3},
        {"\n \n3 \r\n", 3},
        {"1\r\r\n\r", 1},
        {"1\n\r\t\r\n", 1}, // a CR that does not end a line is blank too
        {std::string(1 << 20, ' ') + "\n" + std::string((1 << 20) + 5, 'x') + "\n" + std::string(3 << 20, '\n'), 2},
    };
    int index = 0;
    for (const auto& [bytes, count] : cases) {
        LineReader inMemory(bytes);
        EXPECT_EQ(CountDataLines(inMemory), count) << "case " << index;
        EXPECT_EQ(CountLines(WithoutTrailingEmptyLines(bytes)), count) << "case " << index;
        std::unique_ptr<std::FILE, FileCloser> file(
            OpenFileForReading(folder.Write("count" + std::to_string(index) + ".txt", bytes)));
        ASSERT_TRUE(file);
        FileLineReader fromFile(file.get(), 0);
        EXPECT_EQ(CountDataLines(fromFile), count) << "case " << index;
        EXPECT_FALSE(fromFile.Failed());
        ++index;
    }
}

// The word-at-a-time count must see every line feed and nothing else: bytes
// that differ from a line feed only in the high bit or by one, at every offset
// and across the points where its per-word sums are added up.
TEST(CountLineFeeds, AgreesWithCountingByteByByte)
{
    const char alphabet[] = {'\n', '\n', '\x8a', '\x0b', '\x09', '\x00', '\xff', '\x7f', '\r', '1'};
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 1);
    for (const std::size_t size : {0U, 7U, 8U, 9U, 2039U, 2040U, 2041U, 4087U, 20000U}) {
        std::string text(size, ' ');
        for (char& c : text)
            c = alphabet[pick(random)];
        for (const std::size_t from : {std::size_t{0}, std::size_t{3}}) {
            const std::string_view part = std::string_view(text).substr(std::min(from, text.size()));
            EXPECT_EQ(CountLineFeeds(part), std::count(part.begin(), part.end(), '\n')) << size << " from " << from;
        }
    }
    EXPECT_EQ(CountLineFeeds(std::string(5000, '\n')), 5000); // every byte at once, past 255 words
}

// The file reader and the in-memory reader are one procedure: same profile, same
// refusal, for files large enough to be read in several chunks.
TEST(ErdFileReading, AgreesWithReadingTheSameBytesInMemory)
{
    test::TempFolder folder;
    std::mt19937_64 rng(77);
    std::vector<std::string> files;
    std::string big = "ERDFILEV2.00\r\n1,0,1,1,1,1\r\nUNITSNAM ft\r\nXUNITS   in\r\nEND\r\n";
    for (int i = 0; i < 400000; ++i)
        big += std::to_string(static_cast<double>(rng() % 100000) / 1000.0) + "\r\n";
    files.push_back(big);
    files.push_back(big + "\r\n  \r\n\r\n");              // empty and blank lines at the end
    files.push_back(big.substr(0, big.size() - 2) + " "); // trailing blank, no line end
    files.push_back(big + std::string(big.size(), ' ') + "\n"); // blanks past the middle: one half holds all data
    const std::string twoHeader = "ERDFILEV2.00\n2,0,1,1,1,0.25\nUNITSNAM mm\nGAIN 0.5, 2,\nTITLE  Two lanes\nEND\n";
    std::string twoLines;
    for (int i = 0; i < 200000; ++i)
        twoLines += std::to_string(rng() % 1000) + " " + std::to_string(rng() % 1000) + "\n";
    const std::string two = twoHeader + twoLines;
    files.push_back(two);
    files.push_back(two + "12\n"); // a last line with one value is refused with its line number
    // Refused lines in both halves: the first one is named, as one pass in order would.
    files.push_back(twoHeader + twoLines + "7\n" + twoLines + "8\n" + twoLines);
    files.push_back("ERDFILEV2.00\n1,0,1,1,1,1\nUNITSNAM ft\n" + std::string(3 << 20, 'k') + "\nEND\n1\n");
    files.push_back("ERDFILEV2.00\n1,0,1,1,1,1\nUNITSNAM ft\nno end line\n");

    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto path = folder.Write("file" + std::to_string(i) + ".erd", files[i]);
        for (std::optional<ChannelNumber> answer :
             {std::optional(1), std::optional(2), std::optional<ChannelNumber>()}) {
            const auto ask = [answer](ChannelNumber, const std::vector<std::string>&) { return answer; };
            ChannelNumber fromFileChoice = 1;
            ChannelNumber inMemoryChoice = 1;
            const auto fromFile = ReadErdProfile(path, fromFileChoice, ask);
            const auto inMemory = ParseErdProfile(files[i], inMemoryChoice, ask);
            EXPECT_EQ(fromFile.ok, inMemory.ok) << "file " << i;
            EXPECT_EQ(fromFile.cancelled, inMemory.cancelled) << "file " << i;
            EXPECT_EQ(fromFile.failureText, inMemory.failureText) << "file " << i;
            EXPECT_EQ(fromFile.title, inMemory.title) << "file " << i;
            EXPECT_EQ(fromFile.profile.pointCount, inMemory.profile.pointCount) << "file " << i;
            EXPECT_EQ(fromFile.profile.interval, inMemory.profile.interval) << "file " << i;
            EXPECT_TRUE(fromFile.profile.elevations == inMemory.profile.elevations) << "file " << i;
            EXPECT_EQ(fromFileChoice, inMemoryChoice);
        }
    }
}

} // namespace
} // namespace zlm
