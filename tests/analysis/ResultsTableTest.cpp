#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"
#include "analysis/ResultsTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace zlm {
namespace {

/** Placements every 8 feet from station 0; those listed in `exceeding` exceed by 0.1 inch. */
DeviationList Placements(std::int32_t count, const std::vector<std::int32_t>& exceeding = {})
{
    DeviationList list(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        list[static_cast<std::size_t>(i)].Station = 8.0 * i;
        list[static_cast<std::size_t>(i)].MaxDeviation = 0.125;
    }
    for (const std::int32_t i : exceeding) {
        list[static_cast<std::size_t>(i)].MaxDeviation = 0.35;
        list[static_cast<std::size_t>(i)].AmountExceeded = 0.1;
    }
    return list;
}

/** Fills the grid with the results of a run of these placements, as the Simulate command does; the overall share. */
float FillFromPlacements(ResultsGrid& grid, const DeviationList& list, float dx, float sectionLength,
                         std::int32_t pointCount, char separator = '.')
{
    const StraightedgeResults results = SummariseRun(list, StraightedgeMethod{}, pointCount, dx, sectionLength);
    FillResultsTable(grid, results, UnitTexts{}, separator);
    return results.overallPercentExceeding;
}

std::vector<std::string> RowTexts(const ResultsGrid& grid, std::int32_t row)
{
    return {grid.TextMatrix(row, 0), grid.TextMatrix(row, 1), grid.TextMatrix(row, 2)};
}

std::vector<std::string> Texts(const char* a, const char* b, const char* c)
{
    return {a, b, c};
}

struct WidthCase {
    std::int32_t gridWidth;
    std::int32_t columnWidth;
};

class LayoutResultsHeaderWidth : public testing::TestWithParam<WidthCase> {};

TEST_P(LayoutResultsHeaderWidth, ColumnsShareTheWidthLessTheMargin)
{
    ResultsGrid grid;
    grid.SetWidth(GetParam().gridWidth);
    LayoutResultsHeader(grid, UnitTexts{});
    for (std::int32_t col = 0; col < 3; ++col) {
        EXPECT_EQ(grid.ColWidth(col), GetParam().columnWidth);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Widths, LayoutResultsHeaderWidth,
    testing::Values(WidthCase{6615, 2088}, WidthCase{6617, 2089}, WidthCase{350, 0}, WidthCase{9350, 3000},
                    // In single precision 50331651 is 50331652, and a third of it 16777218, not 16777217.
                    WidthCase{50332001, 16777218}));

TEST(LayoutResultsHeader, WritesTheCentredBoldHeaderAndKeepsTheRows)
{
    ResultsGrid grid;
    grid.SetRows(7);
    grid.SetCols(5);
    grid.SetFixedCols(2);
    grid.SetTextMatrix(3, 1, "kept");
    LayoutResultsHeader(grid, UnitTexts{});
    EXPECT_EQ(grid.Rows(), 7);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.FixedCols(), 0);
    EXPECT_TRUE(grid.WordWrap());
    EXPECT_TRUE(grid.FontBold());
    EXPECT_EQ(grid.RowHeight(0), 500);
    EXPECT_EQ(grid.RowHeight(1), -1);
    EXPECT_EQ(RowTexts(grid, 0), Texts("Station (ft)", "Maximum Dev. (in)", "Amount Exceeded (in)"));
    for (std::int32_t col = 0; col < 3; ++col) {
        EXPECT_EQ(grid.CellAlignmentAt(0, col), CellAlignment::Centre);
        EXPECT_EQ(grid.CellAlignmentAt(1, col), CellAlignment::General);
    }
    EXPECT_EQ(grid.TextMatrix(3, 1), "kept");

    LayoutResultsHeader(grid, UnitTexts{"m", "m", "mm"});
    EXPECT_EQ(RowTexts(grid, 0), Texts("Station (m)", "Maximum Dev. (mm)", "Amount Exceeded (mm)"));
}

class PlacementList : public testing::Test {
protected:
    PlacementList() { LayoutResultsHeader(grid, UnitTexts{}); }
    float Fill(const DeviationList& list, char separator = '.')
    {
        return FillFromPlacements(grid, list, 0.25f, 0.0f, 1000, separator);
    }
    ResultsGrid grid;
};

TEST_F(PlacementList, OneRowPerPlacementWithFourDecimals)
{
    DeviationList list = Placements(3);
    list[1].MaxDeviation = 0.12;
    list[2].MaxDeviation = 0.37654;
    list[2].AmountExceeded = 0.12654;
    const float percent = Fill(list);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(RowTexts(grid, 0), Texts("Station (ft)", "Maximum Dev. (in)", "Amount Exceeded (in)"));
    EXPECT_EQ(RowTexts(grid, 1), Texts("0.0000", "0.1250", "0.0000"));
    EXPECT_EQ(RowTexts(grid, 2), Texts("8.0000", "0.1200", "0.0000"));
    EXPECT_EQ(RowTexts(grid, 3), Texts("16.0000", "0.3765", "0.1265"));
    for (std::int32_t col = 0; col < 3; ++col) {
        EXPECT_EQ(grid.CellBackColor(1, col), kWhite);
        EXPECT_EQ(grid.CellBackColor(2, col), kWhite);
        EXPECT_EQ(grid.CellBackColor(3, col), kYellow);
    }
    EXPECT_EQ(percent, static_cast<float>(100.0 / 3.0));
}

TEST_F(PlacementList, CountsTheShownAmountNotTheStoredOne)
{
    DeviationList list = Placements(4, {0});
    list[3].MaxDeviation = 0.25003;
    list[3].AmountExceeded = 0.00003;
    const float percent = Fill(list);
    EXPECT_EQ(grid.TextMatrix(4, 2), "0.0000");
    for (std::int32_t col = 0; col < 3; ++col) {
        EXPECT_EQ(grid.CellBackColor(4, col), kYellow);
    }
    EXPECT_EQ(percent, 25.0f);
}

TEST_F(PlacementList, UsesTheGivenDecimalSeparator)
{
    DeviationList list = Placements(2, {1});
    const float percent = Fill(list, ',');
    EXPECT_EQ(RowTexts(grid, 2), Texts("8,0000", "0,3500", "0,1000"));
    EXPECT_EQ(percent, 50.0f);
}

TEST_F(PlacementList, ExceedingShareInSinglePrecision)
{
    // 5 of 13: 38.46153846... rounded once to single precision.
    const float percent = Fill(Placements(13, {0, 3, 5, 8, 12}));
    EXPECT_EQ(percent, static_cast<float>(100.0 * 5 / 13));
    EXPECT_EQ(FormatNumber(percent, "##0.0", '.'), "38.5");
}

TEST_F(PlacementList, EmptyListLeavesTheHeaderAndZero)
{
    Fill(Placements(5, {1, 2}));
    const float percent = Fill({});
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(percent, 0.0f);
    EXPECT_EQ(grid.TextMatrix(0, 0), "Station (ft)");
}

TEST_F(PlacementList, ReplacesALongerEarlierTable)
{
    Fill(Placements(6, {0, 1, 2, 3, 4, 5}));
    Fill(Placements(2));
    EXPECT_EQ(grid.Rows(), 3);
    for (std::int32_t col = 0; col < 3; ++col) {
        EXPECT_EQ(grid.CellBackColor(1, col), kWhite);
        EXPECT_EQ(grid.CellBackColor(2, col), kWhite);
    }
}

class SectionSummary : public testing::Test {
protected:
    SectionSummary() { LayoutResultsHeader(grid, UnitTexts{}); }
    float Fill(const DeviationList& list, float sectionLength, std::int32_t pointCount = 1000, float dx = 0.25f)
    {
        return FillFromPlacements(grid, list, dx, sectionLength, pointCount);
    }
    ResultsGrid grid;
};

TEST_F(SectionSummary, WholeSectionsEndOneIntervalBeforeTheNext)
{
    // a = 400 points, T = 800: two whole sections; the placement at 200 falls in none.
    Fill(Placements(26, {0, 2, 4, 6, 8, 25}), 100.0f);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(RowTexts(grid, 0), Texts("Section", "Stations (ft)", "% Exceeding Threshold"));
    EXPECT_EQ(RowTexts(grid, 1), Texts("1.0", "0.00 - 99.75", "38.5"));
    EXPECT_EQ(RowTexts(grid, 2), Texts("2.0", "100.00 - 199.75", "0.0"));
}

TEST_F(SectionSummary, LeftoverSectionEndsAtTheLastProfilePoint)
{
    // T = 832 = 2 * 400 + 32: a third row from 200 to dx * N - dx.
    Fill(Placements(27, {26}), 100.0f, 900);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(RowTexts(grid, 3), Texts("3.0", "200.00 - 224.75", "50.0"));
}

TEST_F(SectionSummary, OverallShareCountsTheStoredAmount)
{
    DeviationList list = Placements(26);
    list[3].AmountExceeded = 0.00003;
    const float percent = Fill(list, 100.0f);
    EXPECT_EQ(percent, static_cast<float>(100.0 / 26));
    EXPECT_EQ(grid.TextMatrix(1, 2), "7.7"); // 1 of 13
}

TEST_F(SectionSummary, SectionWithoutPlacementsShowsZero)
{
    // Sections of 4 feet: every other one holds no placement.
    Fill(Placements(5, {0, 1, 2, 3, 4}), 4.0f);
    ASSERT_EQ(grid.Rows(), 9);
    EXPECT_EQ(RowTexts(grid, 1), Texts("1.0", "0.00 - 3.75", "100.0"));
    EXPECT_EQ(RowTexts(grid, 2), Texts("2.0", "4.00 - 7.75", "0.0"));
    EXPECT_EQ(RowTexts(grid, 8), Texts("8.0", "28.00 - 31.75", "0.0"));
}

TEST_F(SectionSummary, RowsAreWhiteAndTheTableShrinks)
{
    FillFromPlacements(grid, Placements(30, {1, 2, 3}), 0.25f, 0.0f, 1000);
    ASSERT_EQ(grid.CellBackColor(2, 1), kYellow);
    Fill(Placements(30, {1, 2, 3}), 100.0f);
    EXPECT_EQ(grid.Rows(), 4); // T = 928: two whole sections and a leftover
    for (std::int32_t row = 1; row < 4; ++row) {
        for (std::int32_t col = 0; col < 3; ++col) {
            EXPECT_EQ(grid.CellBackColor(row, col), kWhite);
        }
    }
}

TEST_F(SectionSummary, PointsPerSectionComeFromASinglePrecisionQuotient)
{
    // 0.75f / 0.1f is 7.5 in single precision (a = 8) but 7.4999999 in double (7).
    // T = 80: ten whole sections with a = 8, eleven and a leftover with a = 7.
    Fill(Placements(2), 0.75f, 100, 0.1f);
    EXPECT_EQ(grid.Rows(), 11);
    EXPECT_EQ(RowTexts(grid, 1), Texts("1.0", "0.00 - 0.65", "0.0"));
}

TEST_F(SectionSummary, PlacementCountUsesADoubleQuotient)
{
    // 8 * 39323 / 0.15f is 2097226.6 in double, 2097226.5 (to even: 2097226) in single.
    const float dx = 0.15f;
    const auto sectionLength = static_cast<float>(2097227 * static_cast<double>(dx));
    ASSERT_EQ(RoundToInt32(sectionLength / dx), 2097227);
    Fill(Placements(39324), sectionLength, 10, dx);
    // T = a: one whole section, ending one interval before S, and no leftover.
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 1), "0.00 - " + FormatNumber(static_cast<double>(sectionLength) - dx, "0.00", '.'));
}

TEST_F(SectionSummary, SectionShorterThanHalfAnIntervalLeavesOnlyTheHeader)
{
    Fill(Placements(10, {1}), 0.1f);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(RowTexts(grid, 0), Texts("Section", "Stations (ft)", "% Exceeding Threshold"));
    Fill(Placements(10, {1}), 10.0f, 1000, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(grid.Rows(), 1);
}

TEST_F(SectionSummary, SinglePlacementGivesNoSection)
{
    // T = 0: no whole section and no leftover.
    const float percent = Fill(Placements(1, {0}), 100.0f);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(percent, 100.0f);
}

/** The section rows as the step-by-step description gives them: every section looks at every record. */
std::vector<std::vector<std::string>> LiteralSections(float s, float dx, const DeviationList& list, std::int32_t n)
{
    const std::int32_t a = RoundToInt32(s / dx);
    const std::int32_t t =
        RoundToInt32(static_cast<double>(8 * (static_cast<std::int32_t>(list.size()) - 1)) / static_cast<double>(dx));
    const std::int32_t w = t / a;
    const std::int32_t r = t - w * a;
    std::vector<std::vector<std::string>> rows;
    for (std::int32_t i = 1; i <= w + (r > 0 ? 1 : 0); ++i) {
        std::int32_t k = 0;
        std::int32_t j = 0;
        for (const DeviationRecord& record : list) {
            if (static_cast<double>(i - 1) * static_cast<double>(s) <= record.Station &&
                record.Station < static_cast<double>(i) * static_cast<double>(s)) {
                ++k;
                if (record.AmountExceeded > 0.0) {
                    ++j;
                }
            }
        }
        const float percentage = k == 0 ? 0.0f : static_cast<float>(100.0 * j / k);
        const double end = i <= w ? static_cast<double>(i) * static_cast<double>(s) - static_cast<double>(dx)
                                  : static_cast<double>(dx) * n - static_cast<double>(dx);
        rows.push_back({FormatNumber(i, "###0.0", '.'),
                        FormatNumber(static_cast<double>(i - 1) * static_cast<double>(s), "0.00", '.') + " - " +
                            FormatNumber(end, "0.00", '.'),
                        FormatNumber(percentage, "##0.0", '.')});
    }
    return rows;
}

TEST(SectionSummaryCounting, AgreesWithTheLiteralCountOnRecordsAtAndAroundTheBounds)
{
    std::mt19937 random(7);
    const float lengths[] = {0.3f, 1.1f, 7.7f, 8.0f, 33.3f, 100.0f};
    const float intervals[] = {0.25f, 0.3f, 1.0f / 12.0f, 0.1f};
    for (const float s : lengths) {
        for (const float dx : intervals) {
            if (RoundToInt32(s / dx) < 1) {
                continue;
            }
            // Stations on the bounds, one ulp either side, in order and shuffled, some outside.
            DeviationList list;
            for (int i = -1; i < 60; ++i) {
                const double bound = static_cast<double>(i) * static_cast<double>(s);
                for (const double station : {bound, std::nextafter(bound, -1e9), std::nextafter(bound, 1e9)}) {
                    DeviationRecord record;
                    record.Station = station;
                    record.AmountExceeded = random() % 3 == 0 ? 0.01 : 0.0;
                    list.push_back(record);
                }
            }
            std::shuffle(list.begin(), list.end(), random);
            ResultsGrid grid;
            const std::int32_t n = 500;
            FillSectionSummary(grid, SummariseRun(list, StraightedgeMethod{}, n, dx, s), UnitTexts{}, '.');
            const auto expected = LiteralSections(s, dx, list, n);
            ASSERT_EQ(grid.Rows(), static_cast<std::int32_t>(expected.size()) + 1) << s << " " << dx;
            for (std::size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(RowTexts(grid, static_cast<std::int32_t>(i + 1)), expected[i]) << s << " " << dx;
            }
        }
    }
}

TEST(ResultsTable, LongPlacementListFillsQuickly)
{
    // A 100-mile profile at 1-inch spacing: 66,000 placements.
    ResultsGrid grid;
    LayoutResultsHeader(grid, UnitTexts{});
    std::vector<std::int32_t> exceeding;
    for (std::int32_t i = 0; i < 66'000; i += 3) {
        exceeding.push_back(i);
    }
    const float percent =
        FillFromPlacements(grid, Placements(66'000, exceeding), 1.0f / 12.0f, 0.0f, 6'336'000);
    EXPECT_EQ(grid.Rows(), 66'001);
    EXPECT_EQ(grid.TextMatrix(66'000, 0), "527992.0000");
    EXPECT_EQ(percent, static_cast<float>(100.0 * 22'000 / 66'000));
}

} // namespace
} // namespace zlm
