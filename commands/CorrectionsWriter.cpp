#include "commands/CorrectionsWriter.h"

#include "analysis/CorrectionsTable.h"

namespace zlm {

std::string CorrectionsText(const CorrectionSummary& zones, const UnitTexts& units)
{
    return SummaryText(CorrectionsTable(zones, units, '.'), Delimiter::Comma);
}

SaveResult SaveCorrections(const std::string& fileName, const CorrectionSummary& zones, const UnitTexts& units)
{
    return SaveSummary(fileName, CorrectionsTable(zones, units, '.'), Delimiter::Comma);
}

} // namespace zlm
