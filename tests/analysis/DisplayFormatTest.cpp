#include "analysis/DisplayFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace zlm {
namespace {

struct FormatCase {
    double value;
    const char* pattern;
    char separator;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.value << " with \"" << c.pattern << "\"";
}

class FormatNumberTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, ShowsTheExpectedText)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.pattern, c.separator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    TablePatterns, FormatNumberTest,
    testing::Values(FormatCase{8.0, "###0.0000", '.', "8.0000"}, FormatCase{0.12, "##0.0000", '.', "0.1200"},
                    FormatCase{16.0, "###0.0000", '.', "16.0000"},
                    FormatCase{1234.56789, "###0.0000", '.', "1234.5679"},
                    FormatCase{123456.0, "###0.0000", '.', "123456.0000"}, FormatCase{1.0, "###0.0", '.', "1.0"},
                    FormatCase{38.46153846f, "##0.0", '.', "38.5"}, FormatCase{0.0, "##0.0", '.', "0.0"},
                    FormatCase{199.75, "0.00", '.', "199.75"}, FormatCase{7.5, "#0.00", '.', "7.50"},
                    FormatCase{-3.25, "0.00", '.', "-3.25"},
                    FormatCase{1e20, "0.00", '.', "100000000000000000000.00"}));

INSTANTIATE_TEST_SUITE_P(
    HalvesAwayFromZeroOnTheExactValue, FormatNumberTest,
    testing::Values(FormatCase{6.25, "##0.0", '.', "6.3"}, FormatCase{-6.25, "##0.0", '.', "-6.3"},
                    FormatCase{12.125, "#0.00", '.', "12.13"}, FormatCase{0.125, "0.00", '.', "0.13"},
                    FormatCase{2.5, "0", '.', "3"}, FormatCase{-2.5, "0", '.', "-3"},
                    // Just below the tie in binary.
                    FormatCase{2.675, "0.00", '.', "2.67"}, FormatCase{1.005, "0.00", '.', "1.00"},
                    // Just above it.
                    FormatCase{0.005, "0.00", '.', "0.01"}, FormatCase{-0.005, "0.00", '.', "-0.01"},
                    FormatCase{0.00005, "##0.0000", '.', "0.0001"},
                    // Carries into a new digit.
                    FormatCase{99.95, "##0.0", '.', "100.0"}, FormatCase{9.99995, "###0.0000", '.', "10.0000"},
                    FormatCase{0.9996, "###.000", '.', "1.000"}));

INSTANTIATE_TEST_SUITE_P(ZeroAndSign, FormatNumberTest,
                         testing::Values(FormatCase{-0.0001, "0.00", '.', "0.00"},
                                         FormatCase{-0.0, "0.00", '.', "0.00"}, FormatCase{-0.04, "##0.0", '.', "0.0"},
                                         FormatCase{0.00003, "##0.0000", '.', "0.0000"},
                                         FormatCase{-0.4, "0", '.', "0"}, FormatCase{5e-324, "0.00", '.', "0.00"}));

INSTANTIATE_TEST_SUITE_P(
    NoZeroBeforeThePoint, FormatNumberTest,
    testing::Values(FormatCase{0.25, "###.000", '.', ".250"}, FormatCase{0.0, "###.000", '.', ".000"},
                    FormatCase{-0.5, "###.000", '.', "-.500"}, FormatCase{12.345, "###.000", '.', "12.345"},
                    FormatCase{0.125, "###.000", '.', ".125"}, FormatCase{-0.0004, "###.000", '.', ".000"}));

INSTANTIATE_TEST_SUITE_P(SeparatorAndOtherPatterns, FormatNumberTest,
                         testing::Values(FormatCase{12.5, "###0.0000", ',', "12,5000"},
                                         FormatCase{0.25, "###.000", ',', ",250"},
                                         FormatCase{100.0, "0.00", ',', "100,00"}, FormatCase{3.0, "00.0", '.', "03.0"},
                                         FormatCase{2.5, "0.0#", '.', "2.5"}, FormatCase{2.25, "0.0#", '.', "2.25"},
                                         FormatCase{std::numeric_limits<double>::quiet_NaN(), "0.00", '.', "nan"},
                                         FormatCase{-std::numeric_limits<double>::infinity(), "0.00", '.', "-inf"}));

/** The expected text of n / 16 with d decimals, worked out in integers. */
std::string SixteenthsReference(std::int64_t n, int decimals)
{
    // n / 16 = n * 625 / 10^4 exactly.
    const std::int64_t scaled = std::llabs(n) * 625;
    std::int64_t divisor = 1;
    for (int i = decimals; i < 4; ++i) {
        divisor *= 10;
    }
    std::int64_t kept = scaled / divisor;
    if (2 * (scaled % divisor) >= divisor) {
        ++kept; // half away from zero
    }
    std::int64_t unit = 1;
    for (int i = 0; i < decimals; ++i) {
        unit *= 10;
    }
    std::string text = std::to_string(kept / unit);
    if (decimals > 0) {
        std::string fraction = std::to_string(kept % unit);
        text += '.' + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
    }
    return (n < 0 && kept != 0 ? "-" : "") + text;
}

TEST(FormatNumber, AgreesWithIntegerArithmeticOnExactBinaryFractions)
{
    const char* patterns[] = {"0", "0.0", "0.00", "0.000", "0.0000"};
    for (std::int64_t n = -40000; n <= 40000; n += 7) {
        for (int d = 0; d <= 4; ++d) {
            const double value = static_cast<double>(n) / 16.0;
            ASSERT_EQ(FormatNumber(value, patterns[d], '.'), SixteenthsReference(n, d)) << n << "/16, " << d;
        }
    }
}

TEST(FormatNumber, HugeValuesShowEveryIntegerDigit)
{
    const std::string text = FormatNumber(1e300, "0.00", '.');
    EXPECT_EQ(text.size(), 301u + 3u);
    EXPECT_EQ(text.substr(text.size() - 3), ".00");
    EXPECT_EQ(text.front(), '1');
}

} // namespace
} // namespace zlm
