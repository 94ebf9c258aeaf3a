#include "analysis/NumberText.h"

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace zlm {
namespace {

struct ParseCase {
    const char* text;
    double expected;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class ParseTextTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseTextTest, DoubleGivesTheQuotient)
{
    EXPECT_EQ(ParseDouble(GetParam().text), GetParam().expected);
}

TEST_P(ParseTextTest, SingleGivesTheQuotientInSinglePrecision)
{
    EXPECT_EQ(ParseSingle(GetParam().text), static_cast<float>(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(SeparatorsAndDecimalPlaces, ParseTextTest,
                         testing::Values(ParseCase{"12.5", 12.5}, ParseCase{"12,5", 12.5}, ParseCase{"-3.25", -3.25},
                                         ParseCase{".5", 0.5}, ParseCase{"12.", 12.0}, ParseCase{"16", 16.0},
                                         ParseCase{"+7", 7.0}, ParseCase{"0.1", 0.1}, ParseCase{"12.50", 12.5},
                                         // Every character after the separator is a decimal place.
                                         ParseCase{"1,000", 1.0}, ParseCase{"12.5 ", 1.25}, ParseCase{" 12.5", 12.5},
                                         ParseCase{"1.5E3", 15.0}, ParseCase{"1,5e2", 1.5},
                                         ParseCase{"2.5e-1", 0.00025}, ParseCase{"\t8\t", 8.0},
                                         ParseCase{"-0.0", 0.0}));

INSTANTIATE_TEST_SUITE_P(FailuresGiveZero, ParseTextTest,
                         testing::Values(ParseCase{"", 0.0}, ParseCase{"abc", 0.0}, ParseCase{" ", 0.0},
                                         ParseCase{".", 0.0}, ParseCase{",", 0.0}, ParseCase{"-", 0.0},
                                         ParseCase{"inf", 0.0}, ParseCase{"-infinity", 0.0}, ParseCase{"nan", 0.0},
                                         ParseCase{"0x1p3", 0.0}, ParseCase{"0x10", 0.0}, ParseCase{"12abc", 0.0},
                                         ParseCase{"12.5ft", 0.0}, ParseCase{"1e", 0.0}, ParseCase{"1e+", 0.0},
                                         ParseCase{"e5", 0.0}, ParseCase{"--5", 0.0}, ParseCase{"+-5", 0.0},
                                         ParseCase{"5-", 0.0}, ParseCase{"1 000", 0.0}, ParseCase{"12.-5", 0.0},
                                         // A second separator is left after the first is removed.
                                         ParseCase{"1.2.3", 0.0}, ParseCase{"1.5,2", 0.0}, ParseCase{"1,2,3", 0.0},
                                         ParseCase{"1e400", 0.0}, ParseCase{"-1e400", 0.0}));

TEST(ParseSingleText, ConvertsTheTextToSinglePrecisionDirectly)
{
    // 2^54 + 2^30 + 1 lies just above a midpoint between two singles; through a
    // double it would land on the midpoint and round down to 2^54.
    const float expected = std::ldexp(1.0f, 54) + std::ldexp(1.0f, 31);
    EXPECT_EQ(ParseSingle("18014399583223809"), expected);
}

TEST(ParseSingleText, ValueBeyondSinglePrecisionIsAFailure)
{
    EXPECT_EQ(ParseSingle("1e38"), 1e38f);
    EXPECT_EQ(ParseSingle("1e39"), 0.0f);
    // "34e38" is converted before the division by 10^4, and does not fit.
    EXPECT_EQ(ParseSingle("3.4e38"), 0.0f);
    EXPECT_EQ(ParseDouble("3.4e38"), 3.4e35);
}

TEST(ParseText, TooManyDecimalPlacesForADoubleGiveZero)
{
    const std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(ParseDouble(tiny), 0.0);
    EXPECT_EQ(ParseSingle(tiny), 0.0f);
    const std::string megabyte = "1." + std::string(1'000'000, '5');
    EXPECT_EQ(ParseDouble(megabyte), 0.0);
}

TEST(ParseText, LongTextKeepsItsValue)
{
    // Longer than any buffer kept on the stack for short fields.
    const std::string text = "  25." + std::string(200, '0');
    EXPECT_DOUBLE_EQ(ParseDouble(text), 25.0);
}

TEST(ParseText, UnderflowReadsAsZero)
{
    EXPECT_EQ(ParseDouble("1e-400"), 0.0);
    EXPECT_EQ(ParseSingle("1e-50"), 0.0f);
    EXPECT_TRUE(std::signbit(ParseDouble("-1e-400")));
}

TEST(ParseText, DoesNotDependOnTheProcessLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE"};
    bool switched = false;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            switched = true;
            break;
        }
    }
    if (!switched) {
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    EXPECT_EQ(ParseDouble("12.5"), 12.5);
    EXPECT_EQ(ParseDouble("1.5E3"), 15.0);
    double value = 0.0;
    EXPECT_FALSE(ConvertPlainNumber("1,5", value));
    std::setlocale(LC_ALL, previous.c_str());
}

TEST(ParseSingleValue, RoundsToNearestSingle)
{
    EXPECT_EQ(ToSingle(0.1), 0.1f);
    EXPECT_EQ(ToSingle(-2.5), -2.5f);
    EXPECT_EQ(ToSingle(static_cast<double>(FLT_MAX)), FLT_MAX);
    // Just below the midpoint between FLT_MAX and 2^128 still rounds to FLT_MAX.
    EXPECT_EQ(ToSingle(std::nextafter(0x1.ffffffp+127, 0.0)), FLT_MAX);
}

TEST(ParseSingleValue, OutOfRangeAndNonFiniteGiveZero)
{
    EXPECT_EQ(ToSingle(0x1.ffffffp+127), 0.0f);
    EXPECT_EQ(ToSingle(1e39), 0.0f);
    EXPECT_EQ(ToSingle(-1e39), 0.0f);
    EXPECT_EQ(ToSingle(std::numeric_limits<double>::infinity()), 0.0f);
    EXPECT_EQ(ToSingle(std::numeric_limits<double>::quiet_NaN()), 0.0f);
}

TEST(ParseDoubleValue, KeepsFiniteValuesAndZeroesTheRest)
{
    EXPECT_EQ(FiniteOrZero(0.1), 0.1);
    EXPECT_EQ(FiniteOrZero(-1e300), -1e300);
    EXPECT_EQ(FiniteOrZero(std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(FiniteOrZero(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

struct PlainCase {
    const char* text;
    bool accepted;
    double value;
};

void PrintTo(const PlainCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class ConvertPlainNumberTest : public testing::TestWithParam<PlainCase> {};

TEST_P(ConvertPlainNumberTest, AcceptsOnlyTheStrictGrammar)
{
    double value = -42.0;
    EXPECT_EQ(ConvertPlainNumber(GetParam().text, value), GetParam().accepted);
    // A failure leaves the value alone.
    EXPECT_EQ(value, GetParam().accepted ? GetParam().value : -42.0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConvertPlainNumberTest,
    testing::Values(PlainCase{"-125", true, -125.0}, PlainCase{" 15E3 ", true, 15000.0}, PlainCase{"+4e-2", true, 0.04},
                    PlainCase{"007", true, 7.0}, PlainCase{"1E+2", true, 100.0}, PlainCase{"\t3", true, 3.0},
                    PlainCase{"1e-400", true, 0.0}, PlainCase{"0e999999999999", true, 0.0},
                    PlainCase{"1.5", false, 0.0}, PlainCase{"1,5", false, 0.0}, PlainCase{"", false, 0.0},
                    PlainCase{"+", false, 0.0}, PlainCase{"inf", false, 0.0}, PlainCase{"NaN", false, 0.0},
                    PlainCase{"0x1A", false, 0.0}, PlainCase{"1e400", false, 0.0}, PlainCase{"12a", false, 0.0},
                    PlainCase{"1 2", false, 0.0}, PlainCase{"1e2.5", false, 0.0}, PlainCase{"\n3", false, 0.0}));

TEST(ConvertPlainNumberSingle, FailsBeyondSinglePrecision)
{
    float value = 0.0f;
    EXPECT_TRUE(ConvertPlainNumber("1e38", value));
    EXPECT_EQ(value, 1e38f);
    EXPECT_FALSE(ConvertPlainNumber("1e39", value));
    EXPECT_TRUE(ConvertPlainNumber("-1e-50", value));
    EXPECT_EQ(value, 0.0f);
    EXPECT_TRUE(std::signbit(value));
}

TEST(ConvertDecimalNumber, ReadsTheDisplayedSeparator)
{
    double value = -1.0;
    EXPECT_TRUE(ConvertDecimalNumber("12,5000", ',', value));
    EXPECT_EQ(value, 12.5);
    EXPECT_TRUE(ConvertDecimalNumber("0,0000", ',', value));
    EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(ConvertDecimalNumber(",5", ',', value));
    EXPECT_EQ(value, 0.5);
    EXPECT_TRUE(ConvertDecimalNumber("0.0001", '.', value));
    EXPECT_EQ(value, 0.0001);
    value = -1.0;
    EXPECT_FALSE(ConvertDecimalNumber("12.5", ',', value));
    EXPECT_FALSE(ConvertDecimalNumber("1,2,3", ',', value));
    EXPECT_FALSE(ConvertDecimalNumber(",", ',', value));
    EXPECT_FALSE(ConvertDecimalNumber("12", '5', value));
    EXPECT_EQ(value, -1.0);
}

struct RoundCase {
    double value;
    double expected;
};

class RoundHalfEvenTest : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTest, TiesGoToTheEvenNeighbour)
{
    const double rounded = RoundHalfEven(GetParam().value);
    EXPECT_EQ(rounded, GetParam().expected);
    EXPECT_EQ(std::signbit(rounded), std::signbit(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Table, RoundHalfEvenTest,
                         testing::Values(RoundCase{26.5, 26.0}, RoundCase{27.5, 28.0}, RoundCase{-0.5, -0.0},
                                         RoundCase{2.5, 2.0}, RoundCase{-1.5, -2.0}, RoundCase{-2.5, -2.0},
                                         RoundCase{0.49999999999999994, 0.0}, RoundCase{2088.3333, 2088.0},
                                         RoundCase{1.5000000000000002, 2.0},
                                         RoundCase{4503599627370497.0, 4503599627370497.0}));

TEST(RoundToInt32, RoundsHalfEvenAndSaturates)
{
    EXPECT_EQ(RoundToInt32(26.5), 26);
    EXPECT_EQ(RoundToInt32(27.5), 28);
    EXPECT_EQ(RoundToInt32(-0.5), 0);
    EXPECT_EQ(RoundToInt32(-26.5), -26);
    EXPECT_EQ(RoundToInt32(2147483646.5), 2147483646);
    EXPECT_EQ(RoundToInt32(2147483647.4), INT32_MAX);
    EXPECT_EQ(RoundToInt32(1e10), INT32_MAX);
    EXPECT_EQ(RoundToInt32(-2147483648.4), INT32_MIN);
    EXPECT_EQ(RoundToInt32(-1e10), INT32_MIN);
    EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::infinity()), INT32_MAX);
    EXPECT_EQ(RoundToInt32(-std::numeric_limits<double>::infinity()), INT32_MIN);
    EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(TrimBlanks, RemovesSpacesAndTabsAroundOnly)
{
    EXPECT_EQ(TrimBlanks(" \t a b \t"), "a b");
    EXPECT_EQ(TrimBlanks("12.5"), "12.5");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks(""), "");
    EXPECT_EQ(TrimBlanks("\r12\n"), "\r12\n");
}

} // namespace
} // namespace zlm
