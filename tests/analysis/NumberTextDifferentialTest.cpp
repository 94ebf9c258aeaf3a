// The one-pass number conversions against the grammar-check-then-from_chars ones
// they replaced (tests/analysis/reference/), bit for bit, on many generated
// texts: every value a reader takes must stay the same.

#include "analysis/NumberText.h"
#include "analysis/reference/ReferenceNumberText.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace zlm {
namespace {

/** The differences between the production and the reference conversions of `text`, as text; empty when none. */
std::string Differences(const std::string& text)
{
    std::string found;
    const auto differ = [&](const char* what) { found += std::string(what) + " "; };
    if (std::bit_cast<std::uint32_t>(ParseSingle(text)) != std::bit_cast<std::uint32_t>(reference::ParseSingle(text)))
        differ("ParseSingle");
    const double expected = reference::ParseDouble(text);
    if (std::bit_cast<std::uint64_t>(ParseDouble(text)) != std::bit_cast<std::uint64_t>(expected))
        differ("ParseDouble");
    double value = 7.0;
    if (ParseDouble(text, value) != reference::IsNumberText(text) ||
        std::bit_cast<std::uint64_t>(value) != std::bit_cast<std::uint64_t>(expected))
        differ("ParseDouble(text,value)/IsNumberText");
    double plain = 7.0, plainReference = 7.0;
    if (ConvertPlainNumber(text, plain) != reference::ConvertPlainNumber(text, plainReference) ||
        std::bit_cast<std::uint64_t>(plain) != std::bit_cast<std::uint64_t>(plainReference))
        differ("ConvertPlainNumber(double)");
    float single = 7.0f, singleReference = 7.0f;
    if (ConvertPlainNumber(text, single) != reference::ConvertPlainNumber(text, singleReference) ||
        std::bit_cast<std::uint32_t>(single) != std::bit_cast<std::uint32_t>(singleReference))
        differ("ConvertPlainNumber(float)");
    for (const char separator : {'.', ',', ';', 'e', '5', ' '}) {
        double decimal = 7.0, decimalReference = 7.0;
        if (ConvertDecimalNumber(text, separator, decimal) !=
                reference::ConvertDecimalNumber(text, separator, decimalReference) ||
            std::bit_cast<std::uint64_t>(decimal) != std::bit_cast<std::uint64_t>(decimalReference))
            differ((std::string("ConvertDecimalNumber '") + separator + "'").c_str());
    }
    return found;
}

/** Checks every text of `texts` and names the first ones that differ. */
void ExpectSame(const std::vector<std::string>& texts)
{
    int failures = 0;
    for (const std::string& text : texts) {
        const std::string differences = Differences(text);
        if (!differences.empty() && ++failures <= 10)
            ADD_FAILURE() << '"' << text << "\" (" << text.size() << " characters): " << differences;
    }
    EXPECT_EQ(failures, 0) << "of " << texts.size() << " texts";
}

std::string Digits(std::mt19937_64& random, int count)
{
    std::string digits;
    for (int i = 0; i < count; ++i)
        digits += static_cast<char>('0' + random() % 10);
    return digits;
}

/** Numbers as files and users write them: blanks, a sign, digits with a separator anywhere, an exponent. */
std::vector<std::string> WrittenNumbers(std::size_t count)
{
    std::mt19937_64 random(20261209);
    const char* const blanks[] = {"", "", "", " ", "\t", "  "};
    const char* const signs[] = {"", "", "-", "+"};
    const char* const separators[] = {".", ".", ",", ""};
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < count; ++i) {
        // Mostly short digit runs, some at the edge of exactness (16 to 20 digits), a few very long.
        const int lengths[] = {1, 2, 3, 6, 7, 8, 9, 15, 16, 17, 18, 19, 20, 21, 25, 40};
        std::string digits = std::string(random() % 4 == 0 ? random() % 4 : 0, '0') +
                             Digits(random, lengths[random() % std::size(lengths)]);
        const std::size_t at = random() % (digits.size() + 1);
        std::string text = std::string(blanks[random() % 6]) + signs[random() % 4] + digits.substr(0, at) +
                           separators[random() % 4] + digits.substr(at);
        if (random() % 3 == 0) {
            const int exponents[] = {0,  1,  5,   10,  11,  21,  22,  23,  30,  37,  38,  39,    44,
                                     45, 46, 300, 307, 308, 309, 320, 323, 324, 325, 400, 100000};
            text += std::string(random() % 2 ? "e" : "E") + signs[random() % 4] + (random() % 5 == 0 ? "0" : "") +
                    std::to_string(exponents[random() % std::size(exponents)]);
        }
        text += blanks[random() % 6];
        texts.push_back(text);
    }
    return texts;
}

/** Short texts of the characters a number is made of, and a few it is not, in any order. */
std::vector<std::string> ShuffledCharacters(std::size_t count)
{
    std::mt19937_64 random(1729);
    const std::string alphabet = "0123456789012345.,.,+-eE \tx9inf";
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < count; ++i) {
        std::string text;
        const std::size_t length = random() % 9;
        for (std::size_t k = 0; k < length; ++k)
            text += alphabet[random() % alphabet.size()];
        texts.push_back(text);
    }
    return texts;
}

/** Values printed as programs print them: every double's shortest and longest forms, and singles. */
std::vector<std::string> PrintedValues(std::size_t count)
{
    std::mt19937_64 random(42);
    std::vector<std::string> texts;
    char text[512];
    for (std::size_t i = 0; i < count; ++i) {
        const double value = std::bit_cast<double>(random());
        const double moderate =
            std::ldexp(static_cast<double>(random() % 2000000) - 1e6, -static_cast<int>(random() % 40));
        std::snprintf(text, sizeof text, "%.*g", static_cast<int>(random() % 18) + 1, value);
        texts.push_back(text);
        std::snprintf(text, sizeof text, "%.*f", static_cast<int>(random() % 12), moderate);
        texts.push_back(text);
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(static_cast<float>(moderate)));
        texts.push_back(text);
    }
    return texts;
}

/** The edges: exactness limits, range limits, signed zeros, long texts. */
std::vector<std::string> EdgeTexts()
{
    std::vector<std::string> texts = {
        "",
        " ",
        ".",
        ",",
        "-",
        "+",
        "e",
        "-.",
        ".e1",
        "0",
        "-0",
        "+0",
        "-0.0",
        "0e999999999999",
        "-0e-99999",
        "9007199254740992",
        "9007199254740993",
        "9007199254740991",
        "900719925474099.3",
        "16777216",
        "16777217",
        "1677721.7",
        "16777217e3",
        "1e22",
        "1e23",
        "9007199254740993e22",
        "1e-22",
        "1e-23",
        "1.7976931348623157e308",
        "1.7976931348623159e308",
        "2.2250738585072014e-308",
        "4.9e-324",
        "2.4e-324",
        "1e-400",
        "-1e-400",
        "1e400",
        "3.4028234e38",
        "3.4028235e38",
        "3.4028236e38",
        "340282356779733661637539395458142568448",
        "1.17549435e-38",
        "1.4e-45",
        "7e-46",
        "123456789012345678901234567890",
        "0.000000000000000000000000000001",
        "1.5E3",
        "1,5e2",
        "2.5e-1",
        "12.5 ",
        " 12.5",
        "1 000",
        "1.2.3",
        "1.5,2",
        "1,2,3",
        "12.-5",
        ".-5",
        "- 5",
        "5 e3",
        "5e 3",
        "5e3 ",
        "\t8\t",
        "0x10",
        "inf",
        "nan",
        "-infinity",
        "1e",
        "1e+",
        "1e-",
        "e5",
        "+-5",
    };
    const std::string longDigits(320, '7');
    for (const std::string& middle : {std::string("."), std::string(","), std::string()}) {
        texts.push_back("1" + middle + longDigits);
        texts.push_back(longDigits + middle + "5");
        texts.push_back("0" + middle + std::string(310, '0') + "1");
        texts.push_back("-" + std::string(305, '0') + middle + "25e-3");
        texts.push_back(std::string(127, '1') + middle);
        texts.push_back(std::string(128, '1') + middle + "1");
    }
    return texts;
}

TEST(NumberTextDifferential, WrittenNumbers)
{
    ExpectSame(WrittenNumbers(300000));
}
TEST(NumberTextDifferential, ShuffledCharacters)
{
    ExpectSame(ShuffledCharacters(300000));
}
TEST(NumberTextDifferential, PrintedValues)
{
    ExpectSame(PrintedValues(100000));
}
TEST(NumberTextDifferential, Edges)
{
    ExpectSame(EdgeTexts());
}

} // namespace
} // namespace zlm
