#pragma once

#include "analysis/ResultsGrid.h"
#include "analysis/StraightedgeResults.h"
#include "analysis/TextTable.h"

#include <cstdint>
#include <string>

namespace zlm {

/**
 * The results of a run as the table shows them, row 0 the header: the placement
 * list ("Station (ft)", "Maximum Dev. (in)", "Amount Exceeded (in)"; one row per
 * placement with "###0.0000", "##0.0000", "##0.0000") or the section summary
 * ("Section", "Stations (ft)", "% Exceeding Threshold"; one row per section with
 * "###0.0", "0.00 - 0.00", "##0.0"). Cells are formatted when read, so a long
 * run costs no text in memory. Numbers use `decimalSeparator`.
 */
class ResultsTableText final : public TextTable {
public:
    /** Keeps references to `results` and `units`, which must outlive it. */
    ResultsTableText(const StraightedgeResults& results, const UnitTexts& units, char decimalSeparator);

    std::int32_t Rows() const override;
    std::int32_t Cols() const override { return 3; }
    std::string Cell(std::int32_t row, std::int32_t col) const override;
    /** Cells are formatted from the results alone, which do not change while it is read. */
    bool CellsReadConcurrently() const override { return true; }

private:
    const StraightedgeResults& results_;
    const UnitTexts& units_;
    char separator_;
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
 * Writes the results into a grid laid out by LayoutResultsHeader: the placement
 * list, each row yellow when its amount exceeded is above 0 and white otherwise,
 * or, for a run with a section length, the section summary (FillSectionSummary).
 */
void FillResultsTable(ResultsGrid& grid, const StraightedgeResults& results, const UnitTexts& units,
                      char decimalSeparator);

/**
 * The section form of FillResultsTable: the section header and one white row per
 * section. Without a section (a length below half an interval) the grid keeps
 * only the header row.
 */
void FillSectionSummary(ResultsGrid& grid, const StraightedgeResults& results, const UnitTexts& units,
                        char decimalSeparator);

} // namespace zlm
