#pragma once

#include "analysis/DeviationRecord.h"
#include "analysis/ResultsGrid.h"

#include <cstdint>
#include <string>

namespace zlm {

/** The unit texts of the headers, titles and axis labels. */
struct UnitTexts {
    std::string station = "ft";
    std::string length = "ft";
    std::string deviation = "in";
};

/**
 * Lays the grid out for results: column width (Width - 350) / 3 twips in single
 * precision rounded half-even, 3 columns, none fixed, word wrap, header row
 * 500 twips high, bold font, and the centred placement-list header texts
 * "Station (ft)", "Maximum Dev. (in)", "Amount Exceeded (in)". Leaves the row
 * count as it is.
 */
void LayoutResultsHeader(ResultsGrid& grid, const UnitTexts& units);

/**
 * Writes the placement list (sectionLength <= 0) or the section summary into the
 * grid and returns OverallPercentExceeding (single precision, percent).
 * dx and sectionLength are single precision as the Simulate command hands them;
 * pointCount is N. Numbers use `decimalSeparator`. Needs n >= 1 (an empty list
 * gives the header and 0 %).
 */
float FillResultsTable(ResultsGrid& grid, const DeviationList& deviations, float dx, float sectionLength,
                       std::int32_t pointCount, const UnitTexts& units, char decimalSeparator);

/**
 * The section form of FillResultsTable: one row per section of `sectionLength`
 * feet with the share of its placements that exceeded. A row without placements
 * shows 0.0. When sectionLength / dx rounds below one point (or is not a number)
 * there is no section: the grid keeps only the section header row.
 */
void FillSectionSummary(float sectionLength, float dx, ResultsGrid& grid, const DeviationList& deviations,
                        std::int32_t pointCount, const UnitTexts& units, char decimalSeparator);

} // namespace zlm
