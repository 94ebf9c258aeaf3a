// The data lines of a large ERD text are converted on two threads: the result
// must be that of one pass in line order, values and refusals alike.

#include "profile_input/ErdDataLines.h"

#include "profile_input/LineReader.h"

#include <bit>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zlm {
namespace {

/** Two-channel data lines, with CR LF and LF ends and odd texts among them. */
std::string DataText(std::size_t lines)
{
    std::mt19937 random(7);
    const char* const odd[] = {"abc 1", "1.5E3 -2,5", " .25  0", "-0 -0.0", "1e-400 2", "9 x"};
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
        if (random() % 1000 == 0) {
            text += odd[random() % std::size(odd)];
        } else {
            text += std::to_string(static_cast<int>(random() % 200000) - 100000) + "." +
                    std::to_string(random() % 1000) + " " + std::to_string(random() % 5000) + ".0" +
                    std::to_string(random() % 10);
        }
        text += random() % 2 ? "\r\n" : "\n";
    }
    return text + "7.5 8.5 \r\r\n\n \n"; // the last data line, read without its trailing blanks
}

/** The one-pass result: every line converted in order, stopping at the first refusal. */
std::optional<std::string> OnePass(std::string_view text, std::int64_t dataLines, const ErdDataLineRule& rule,
                                   std::vector<double>& elevations)
{
    elevations.clear();
    LineReader lines(text);
    std::string_view line;
    std::string failure;
    for (std::int64_t i = 0; i < dataLines && lines.Next(line); ++i) {
        double elevation = 0.0;
        if (!ConvertErdDataLine(line, i, i + 1 == dataLines, rule, elevation, failure)) {
            return failure;
        }
        elevations.push_back(elevation);
    }
    return std::nullopt;
}

TEST(ErdDataText, TwoThreadsGiveTheOnePassResult)
{
    const std::string text = DataText(300000);
    const std::int64_t dataLines = CountLines(WithoutTrailingEmptyLines(text));
    for (const bool second : {false, true}) {
        ErdDataLineRule rule;
        rule.channelCount = 2;
        rule.secondChannel = second;
        rule.gain = 0.5;
        rule.unitFactor = 1.0 / 12.0;
        rule.firstDataLine = 7;
        std::vector<double> expected;
        std::vector<double> got;
        ASSERT_FALSE(OnePass(text, dataLines, rule, expected).has_value());
        ASSERT_FALSE(ConvertErdDataText(text, dataLines, rule, got).has_value());
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(got[i]), std::bit_cast<std::uint64_t>(expected[i])) << "line " << i;
        }
        EXPECT_GT(got.capacity(), got.size()) << "no spare place for the working copy's closing 0.0";
    }
}

TEST(ErdDataText, TheFirstRefusedLineInOrderIsNamed)
{
    std::string text = DataText(300000);
    const std::size_t late = text.find('\n', text.size() * 3 / 4) + 1;
    text.insert(late, "nan 1\n");
    ErdDataLineRule rule;
    rule.channelCount = 2;
    rule.firstDataLine = 7;
    const auto refusal = [&](const std::string& bytes) {
        std::vector<double> elevations;
        const std::int64_t dataLines = CountLines(WithoutTrailingEmptyLines(bytes));
        const std::optional<std::string> parallel = ConvertErdDataText(bytes, dataLines, rule, elevations);
        EXPECT_EQ(parallel, OnePass(bytes, dataLines, rule, elevations));
        return parallel.value_or("");
    };
    const std::string lateLine = std::to_string(7 + CountLineFeeds(std::string_view(text).substr(0, late)));
    EXPECT_EQ(refusal(text), "Error: Line " + lateLine + " holds an elevation that is not a finite number");

    const std::size_t early = text.find('\n', text.size() / 4) + 1;
    text.insert(early, "12\n");
    const std::string earlyLine = std::to_string(7 + CountLineFeeds(std::string_view(text).substr(0, early)));
    EXPECT_EQ(refusal(text), "Error: Line " + earlyLine + " holds fewer than two values");
}

} // namespace
} // namespace zlm
