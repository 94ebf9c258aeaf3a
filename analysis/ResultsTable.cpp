#include "analysis/ResultsTable.h"

#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace zlm {

namespace {

constexpr std::int32_t kHeaderRowHeight = 500;

std::string Parenthesised(const char* title, const std::string& unit)
{
    return std::string(title) + " (" + unit + ")";
}

/** Share of `part` in `whole` in percent, single precision; 0 for an empty whole. */
float Percentage(std::int64_t part, std::int64_t whole)
{
    if (whole <= 0) {
        return 0.0f;
    }
    return static_cast<float>(100.0 * static_cast<double>(part) / static_cast<double>(whole));
}

void SetRowBackground(ResultsGrid& grid, std::int32_t row, CellColor color)
{
    grid.SetRow(row);
    for (std::int32_t col = 0; col < 3; ++col) {
        grid.SetCol(col);
        grid.SetCellBackColor(color);
    }
}

/** Counts the records (and the exceeding ones) of each section, in one pass. */
struct SectionCounts {
    std::vector<std::int64_t> placements; // k, index i - 1 for section i
    std::vector<std::int64_t> exceeding;  // j
};

SectionCounts CountSections(const DeviationList& deviations, float sectionLength, std::int32_t sectionCount)
{
    SectionCounts counts;
    counts.placements.assign(static_cast<std::size_t>(std::max(sectionCount, 0)), 0);
    counts.exceeding.assign(counts.placements.size(), 0);
    const double s = static_cast<double>(sectionLength);
    if (sectionCount <= 0 || !(s > 0.0)) {
        return counts;
    }
    // The bounds exactly as a row compares them: (i - 1) * S <= Station < i * S,
    // each product in double from the single-precision S.
    const auto lower = [s](std::int64_t i) { return static_cast<double>(i - 1) * s; };
    for (const DeviationRecord& record : deviations) {
        const double station = record.Station;
        if (!(station >= 0.0)) {
            continue; // before the first section, or NaN
        }
        const double estimate = std::floor(station / s) + 1.0;
        if (!(estimate <= static_cast<double>(sectionCount) + 1.0)) {
            continue; // well beyond the last section
        }
        // The quotient may be one off near a bound; the exact comparisons decide.
        auto i = static_cast<std::int64_t>(estimate);
        while (i > 1 && station < lower(i)) {
            --i;
        }
        while (i <= sectionCount && station >= lower(i + 1)) {
            ++i;
        }
        if (i < 1 || i > sectionCount || !(lower(i) <= station && station < lower(i + 1))) {
            continue;
        }
        ++counts.placements[static_cast<std::size_t>(i - 1)];
        if (record.AmountExceeded > 0.0) {
            ++counts.exceeding[static_cast<std::size_t>(i - 1)];
        }
    }
    return counts;
}

} // namespace

void LayoutResultsHeader(ResultsGrid& grid, const UnitTexts& units)
{
    const float width = static_cast<float>(grid.Width() - 350) / 3.0f;
    const std::int32_t colWidth = RoundToInt32(static_cast<double>(width));
    grid.SetCols(3);
    grid.SetFixedCols(0);
    for (std::int32_t col = 0; col < 3; ++col) {
        grid.SetColWidth(col, colWidth);
    }
    grid.SetWordWrap(true);
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetRowHeight(0, kHeaderRowHeight);
    grid.SetFontBold(true);
    const std::string headers[3] = {Parenthesised("Station", units.station),
                                    Parenthesised("Maximum Dev.", units.deviation),
                                    Parenthesised("Amount Exceeded", units.deviation)};
    for (std::int32_t col = 0; col < 3; ++col) {
        grid.SetCol(col);
        grid.SetCellAlignment(CellAlignment::Centre);
        grid.SetText(headers[col]);
    }
}

float FillResultsTable(ResultsGrid& grid, const DeviationList& deviations, float dx, float sectionLength,
                       std::int32_t pointCount, const UnitTexts& units, char decimalSeparator)
{
    const auto n = static_cast<std::int64_t>(deviations.size());
    const auto rows =
        static_cast<std::int32_t>(std::min<std::int64_t>(n + 1, std::numeric_limits<std::int32_t>::max()));
    grid.SetRow(1);
    grid.SetRows(rows);

    std::int64_t count = 0;
    if (sectionLength > 0.0f) {
        FillSectionSummary(sectionLength, dx, grid, deviations, pointCount, units, decimalSeparator);
        count = std::count_if(deviations.begin(), deviations.end(),
                              [](const DeviationRecord& record) { return record.AmountExceeded > 0.0; });
        return Percentage(count, n);
    }

    for (std::int32_t row = 1; row < rows; ++row) {
        const DeviationRecord& record = deviations[static_cast<std::size_t>(row - 1)];
        grid.SetTextMatrix(row, 0, FormatNumber(record.Station, "###0.0000", decimalSeparator));
        grid.SetTextMatrix(row, 1, FormatNumber(record.MaxDeviation, "##0.0000", decimalSeparator));
        grid.SetTextMatrix(row, 2, FormatNumber(record.AmountExceeded, "##0.0000", decimalSeparator));
        // Counted from the text shown, so an amount that shows as 0.0000 does not count.
        double shown = 0.0;
        if (ConvertDecimalNumber(grid.TextMatrix(row, 2), decimalSeparator, shown) && shown > 0.0) {
            ++count;
        }
        SetRowBackground(grid, row, record.AmountExceeded > 0.0 ? kYellow : kWhite);
    }
    return Percentage(count, n);
}

void FillSectionSummary(float sectionLength, float dx, ResultsGrid& grid, const DeviationList& deviations,
                        std::int32_t pointCount, const UnitTexts& units, char decimalSeparator)
{
    const auto n = static_cast<std::int64_t>(deviations.size());
    // Points per section, the quotient in single precision.
    const std::int32_t a = RoundToInt32(static_cast<double>(sectionLength / dx));
    // Points up to the start of the last placement, 8 feet per placement.
    const std::int32_t t = RoundToInt32(static_cast<double>(8 * (n - 1)) / static_cast<double>(dx));

    std::int64_t whole = 0;
    std::int64_t leftover = 0;
    // A section shorter than half a point (the Simulate command refuses it) leaves
    // the header alone rather than dividing by zero.
    if (a >= 1) {
        whole = t / a;
        leftover = t - whole * a;
    }
    // At most one row per point of a 32-bit profile; the clamp only keeps the row
    // count representable.
    whole = std::clamp<std::int64_t>(whole, 0, std::numeric_limits<std::int32_t>::max() - 2);
    const std::int64_t sectionCount = whole + (leftover > 0 ? 1 : 0);

    grid.SetRows(static_cast<std::int32_t>(whole + 1));
    if (leftover > 0) {
        grid.SetRows(static_cast<std::int32_t>(sectionCount + 1));
    }
    grid.SetTextMatrix(0, 0, "Section");
    grid.SetTextMatrix(0, 1, Parenthesised("Stations", units.station));
    grid.SetTextMatrix(0, 2, "% Exceeding Threshold");

    const SectionCounts counts = CountSections(deviations, sectionLength, static_cast<std::int32_t>(sectionCount));
    const double s = static_cast<double>(sectionLength);
    const double step = static_cast<double>(dx);
    for (std::int32_t i = 1; i <= sectionCount; ++i) {
        const auto index = static_cast<std::size_t>(i - 1);
        const float percentage = Percentage(counts.exceeding[index], counts.placements[index]);
        const double start = static_cast<double>(i - 1) * s;
        const double end = i <= whole ? static_cast<double>(i) * s - step : step * pointCount - step;
        grid.SetTextMatrix(i, 0, FormatNumber(i, "###0.0", decimalSeparator));
        grid.SetTextMatrix(
            i, 1, FormatNumber(start, "0.00", decimalSeparator) + " - " + FormatNumber(end, "0.00", decimalSeparator));
        grid.SetTextMatrix(i, 2, FormatNumber(percentage, "##0.0", decimalSeparator));
        SetRowBackground(grid, i, kWhite);
    }
}

} // namespace zlm
