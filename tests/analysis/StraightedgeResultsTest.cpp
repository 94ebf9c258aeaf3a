#include "analysis/DisplayFormat.h"
#include "analysis/StraightedgeResults.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zlm {
namespace {

// The placement list counts an exceedance by the text it shows; the numeric rule
// must agree with that text on both sides of the rounding boundary.
TEST(ShowsAsExceeding, AgreesWithTheFourDecimalTextAroundTheBoundary)
{
    std::vector<double> amounts{0.0, 1e-300, 0.00004, 0.0001, 0.25, 3.0};
    double value = 0.00005;
    for (int i = 0; i < 40; ++i) {
        value = std::nextafter(value, 0.0);
    }
    for (int i = 0; i < 80; ++i) {
        amounts.push_back(value);
        value = std::nextafter(value, 1.0);
    }
    for (const double amount : amounts) {
        const bool shown = FormatNumber(amount, "##0.0000", '.') != "0.0000";
        EXPECT_EQ(ShowsAsExceeding(amount), shown) << amount;
    }
}

TEST(SummariseRun, ListAndSectionFormsCountTinyAmountsAsTheyAlwaysHave)
{
    DeviationList placements(4);
    for (std::size_t i = 0; i < placements.size(); ++i) {
        placements[i].Station = 8.0 * static_cast<double>(i);
    }
    placements[1].AmountExceeded = 0.00001; // yellow, but shows 0.0000
    placements[2].AmountExceeded = 0.1;
    const StraightedgeResults list = SummariseRun(placements, StraightedgeMethod{}, 400, 0.25, 0.0f);
    EXPECT_EQ(list.exceedingCount, 1);
    EXPECT_EQ(list.overallPercentExceeding, 25.0f);
    EXPECT_TRUE(list.sections.empty());

    const StraightedgeResults sections = SummariseRun(placements, StraightedgeMethod{}, 400, 0.25, 16.0f);
    EXPECT_EQ(sections.exceedingCount, 2);
    EXPECT_EQ(sections.overallPercentExceeding, 50.0f);
    ASSERT_EQ(sections.sections.size(), 2u);
    EXPECT_EQ(sections.sections[0].placements, 2);
    EXPECT_EQ(sections.sections[0].exceeding, 1);
    EXPECT_EQ(sections.sections[0].percentExceeding, 50.0f);
    EXPECT_EQ(sections.sections[1].end, 99.75);
}

} // namespace
} // namespace zlm
