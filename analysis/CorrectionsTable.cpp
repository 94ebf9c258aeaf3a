#include "analysis/CorrectionsTable.h"

#include "analysis/DisplayFormat.h"

#include <limits>

namespace zlm {

CorrectionsTable::CorrectionsTable(const CorrectionSummary& zones, const UnitTexts& units, char decimalSeparator)
    : zones_(zones), units_(units), separator_(decimalSeparator)
{
}

std::int32_t CorrectionsTable::Rows() const
{
    return static_cast<std::int32_t>(zones_.zones.size()) + 1;
}

double CorrectionsTable::Value(std::int32_t row, std::int32_t col) const
{
    if (row < 1 || row >= Rows())
        return std::numeric_limits<double>::lowest();
    const CorrectionZone& zone = zones_.zones[static_cast<std::size_t>(row - 1)];
    const bool supported = zone.HasSupports();
    switch (col) {
    case Number:
        return row;
    case Start:
        return zone.start;
    case End:
        return zone.end;
    case Length:
        return zone.length;
    case Placements:
        return static_cast<double>(zone.placements);
    case WorstDeviation:
        return zone.worstDeviation;
    case WorstAt:
        return zone.worstStation;
    case Support1:
        return supported ? zone.leftSupportStation : std::numeric_limits<double>::lowest();
    case Support2:
        return supported ? zone.rightSupportStation : std::numeric_limits<double>::lowest();
    case LowPoint:
        return supported && zone.lowPoint >= 0 ? zone.lowPointStation : std::numeric_limits<double>::lowest();
    default:
        return std::numeric_limits<double>::lowest();
    }
}

std::string CorrectionsTable::Cell(std::int32_t row, std::int32_t col) const
{
    if (row < 0 || row >= Rows() || col < 0 || col >= ColumnCount)
        return {};
    if (row == 0) {
        const std::string& station = units_.station;
        const std::string& length = units_.length;
        switch (col) {
        case Number:
            return "Zone";
        case Start:
            return "Start (" + station + ")";
        case End:
            return "End (" + station + ")";
        case Length:
            return "Length (" + length + ")";
        case Placements:
            return "Placements";
        case WorstDeviation:
            return "Worst Dev. (" + units_.deviation + ")";
        case WorstAt:
            return "Worst At (" + station + ")";
        case Support1:
            return "Support 1 (" + station + ")";
        case Support2:
            return "Support 2 (" + station + ")";
        default:
            return "Low Point (" + station + ")";
        }
    }
    if (col == Number)
        return std::to_string(row);
    if (col == Placements)
        return std::to_string(zones_.zones[static_cast<std::size_t>(row - 1)].placements);
    const double value = Value(row, col);
    if (value == std::numeric_limits<double>::lowest())
        return {};
    return FormatNumber(value, col == WorstDeviation ? "##0.0000" : "###0.0000", separator_);
}

} // namespace zlm
