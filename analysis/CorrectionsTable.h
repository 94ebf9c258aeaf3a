#pragma once

#include "analysis/CorrectionZone.h"
#include "analysis/ResultsTable.h"
#include "analysis/TextTable.h"

#include <cstdint>
#include <string>

namespace zlm {

/**
 * The corrections list as text, row 0 the header: "Zone", "Start (ft)",
 * "End (ft)", "Length (ft)", "Placements", "Worst Dev. (in)", "Worst At (ft)",
 * "Support 1 (ft)", "Support 2 (ft)", "Low Point (ft)" (the unit texts of the
 * run), then one row per zone numbered from 1, stations, lengths and the
 * deviation with four decimals ("###0.0000"). A zone whose worst placement rested
 * on no pair leaves its support and low point cells empty. Numbers use
 * `decimalSeparator`; the corrections file uses ".".
 */
class CorrectionsTable final : public TextTable {
public:
    /** The columns, in order. */
    enum Column : std::int32_t {
        Number,
        Start,
        End,
        Length,
        Placements,
        WorstDeviation,
        WorstAt,
        Support1,
        Support2,
        LowPoint,
        ColumnCount
    };

    /** Keeps a reference to `zones`, which must outlive it; copies the unit texts. */
    CorrectionsTable(const CorrectionSummary& zones, const UnitTexts& units, char decimalSeparator);

    std::int32_t Rows() const override;
    std::int32_t Cols() const override { return ColumnCount; }
    std::string Cell(std::int32_t row, std::int32_t col) const override;

    /**
     * The number behind a data cell (row 1 is the first zone), for sorting: the
     * zone number, the count, or the station, length or deviation in full
     * precision. An empty cell gives the lowest double, so it sorts first.
     */
    double Value(std::int32_t row, std::int32_t col) const;

private:
    const CorrectionSummary& zones_;
    UnitTexts units_;
    char separator_;
};

} // namespace zlm
