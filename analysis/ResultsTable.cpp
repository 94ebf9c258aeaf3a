#include "analysis/ResultsTable.h"

#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"

#include <algorithm>
#include <limits>

namespace zlm {

namespace {

constexpr std::int32_t kHeaderRowHeight = 500;

std::string Parenthesised(const char* title, const std::string& unit)
{
    return std::string(title) + " (" + unit + ")";
}

void SetRowBackground(ResultsGrid& grid, std::int32_t row, CellColor color)
{
    grid.SetRow(row);
    for (std::int32_t col = 0; col < 3; ++col) {
        grid.SetCol(col);
        grid.SetCellBackColor(color);
    }
}

/** Rows of a table of `count` data rows and a header, kept within the grid's 32-bit row count. */
std::int32_t TableRows(std::size_t count)
{
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(count) + 1, std::numeric_limits<std::int32_t>::max()));
}

void WriteRow(ResultsGrid& grid, const ResultsTableText& text, std::int32_t row)
{
    for (std::int32_t col = 0; col < 3; ++col) {
        grid.SetTextMatrix(row, col, text.Cell(row, col));
    }
}

} // namespace

ResultsTableText::ResultsTableText(const StraightedgeResults& results, const UnitTexts& units, char decimalSeparator)
    : results_(results), units_(units), separator_(decimalSeparator)
{
}

std::int32_t ResultsTableText::Rows() const
{
    return TableRows(results_.HasSectionSummary() ? results_.sections.size() : results_.placements.size());
}

std::string ResultsTableText::Cell(std::int32_t row, std::int32_t col) const
{
    if (row < 0 || row >= Rows() || col < 0 || col >= 3) {
        return {};
    }
    if (results_.HasSectionSummary()) {
        if (row == 0) {
            const std::string headers[3] = {"Section", Parenthesised("Stations", units_.station),
                                            "% Exceeding Threshold"};
            return headers[col];
        }
        const SectionRow& section = results_.sections[static_cast<std::size_t>(row - 1)];
        switch (col) {
        case 0:
            return FormatNumber(row, "###0.0", separator_);
        case 1:
            return FormatNumber(section.start, "0.00", separator_) + " - " +
                   FormatNumber(section.end, "0.00", separator_);
        default:
            return FormatNumber(section.percentExceeding, "##0.0", separator_);
        }
    }
    if (row == 0) {
        const std::string headers[3] = {Parenthesised("Station", units_.station),
                                        Parenthesised("Maximum Dev.", units_.deviation),
                                        Parenthesised("Amount Exceeded", units_.deviation)};
        return headers[col];
    }
    const DeviationRecord& record = results_.placements[static_cast<std::size_t>(row - 1)];
    switch (col) {
    case 0:
        return FormatNumber(record.Station, "###0.0000", separator_);
    case 1:
        return FormatNumber(record.MaxDeviation, "##0.0000", separator_);
    default:
        return FormatNumber(record.AmountExceeded, "##0.0000", separator_);
    }
}

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

void FillResultsTable(ResultsGrid& grid, const StraightedgeResults& results, const UnitTexts& units,
                      char decimalSeparator)
{
    grid.SetRow(1);
    grid.SetRows(TableRows(results.placements.size()));
    if (results.HasSectionSummary()) {
        FillSectionSummary(grid, results, units, decimalSeparator);
        return;
    }
    const ResultsTableText text(results, units, decimalSeparator);
    const std::int32_t rows = grid.Rows();
    for (std::int32_t row = 1; row < rows; ++row) {
        WriteRow(grid, text, row);
        const bool exceeded = results.placements[static_cast<std::size_t>(row - 1)].AmountExceeded > 0.0;
        SetRowBackground(grid, row, exceeded ? kYellow : kWhite);
    }
}

void FillSectionSummary(ResultsGrid& grid, const StraightedgeResults& results, const UnitTexts& units,
                        char decimalSeparator)
{
    const ResultsTableText text(results, units, decimalSeparator);
    grid.SetRows(text.Rows());
    for (std::int32_t col = 0; col < 3; ++col) {
        grid.SetTextMatrix(0, col, text.Cell(0, col));
    }
    for (std::int32_t row = 1; row < text.Rows(); ++row) {
        WriteRow(grid, text, row);
        SetRowBackground(grid, row, kWhite);
    }
}

} // namespace zlm
