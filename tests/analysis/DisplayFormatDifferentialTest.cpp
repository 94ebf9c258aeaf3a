// FormatNumber's exact integer path against the printed-digits formatting it
// replaced (tests/analysis/reference/), text for text, on many values: every
// table, summary and report number must stay the same.

#include "analysis/DisplayFormat.h"
#include "analysis/reference/ReferenceDisplayFormat.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace zlm {
namespace {

std::vector<double> Values()
{
    std::mt19937_64 random(2026);
    std::vector<double> values = {0.0,      -0.0,   0.5,     -0.5,    1.5,     2.5,         6.25,      12.125,
                                  0.00005,  0.0005, 9.99995, 99.9995, 0.04999, 1e-300,      -1e-300,   0x1p-60,
                                  0x1p-61,  0x1p62, 0x1p63,  0x1p64,  1e300,   -123456.789, 4.8768e-5, 5280.0,
                                  0.014999, 0.015,  0.025,   0.035,   1.0 / 3, 2.0 / 3};
    for (int i = 0; i < 200000; ++i) {
        switch (i % 4) {
        case 0: // any double
            values.push_back(std::bit_cast<double>(random()));
            break;
        case 1: // ties and near-ties of few decimals: k / 2^n
            values.push_back(
                std::ldexp(static_cast<double>(random() % 2000001) - 1e6, -static_cast<int>(random() % 24)));
            break;
        case 2: // decimal texts of up to 6 decimals as a reader gives them
            values.push_back((static_cast<double>(random() % 20000001) - 1e7) / std::pow(10.0, random() % 7));
            break;
        default: // neighbours of those
            values.push_back(std::nextafter((static_cast<double>(random() % 200001) - 1e5) / 1e4 + 0.00005,
                                            random() % 2 ? 1e9 : -1e9));
            break;
        }
    }
    return values;
}

TEST(FormatNumberDifferential, SameTextAsThePrintedDigits)
{
    const char* const patterns[] = {"###0.0000", "##0.0000", "###0.0", "0.00",       "##0.0",       "#0.00",
                                    "###.000",   "0",        "#.##",   "0.00000000", "0.000000000", "##0.0#"};
    int failures = 0;
    std::size_t checked = 0;
    for (const double value : Values()) {
        for (const char* pattern : patterns) {
            const std::string got = FormatNumber(value, pattern, ',');
            const std::string expected = reference::FormatNumber(value, pattern, ',');
            ++checked;
            if (got != expected && ++failures <= 10)
                ADD_FAILURE() << std::hexfloat << value << " with " << pattern << ": " << got << " instead of "
                              << expected;
        }
    }
    EXPECT_EQ(failures, 0) << "of " << checked;
}

} // namespace
} // namespace zlm
