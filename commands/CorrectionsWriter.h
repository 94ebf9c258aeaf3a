#pragma once

#include "analysis/CorrectionZone.h"
#include "analysis/ResultsTable.h"
#include "commands/SummaryWriter.h"

#include <string>

namespace zlm {

/**
 * The corrections file's bytes: the corrections list (CorrectionsTable) as
 * comma-separated text, CR LF after each line, numbers always with "." whatever
 * the user's locale, so that a spreadsheet or a script reads it alike
 * everywhere. Without a zone it is the header line alone.
 */
std::string CorrectionsText(const CorrectionSummary& zones, const UnitTexts& units);

/**
 * Writes CorrectionsText to fileName with the summary's safe write: a failure is
 * reported, naming the path, and leaves an existing file intact and no partial
 * file behind.
 */
SaveResult SaveCorrections(const std::string& fileName, const CorrectionSummary& zones, const UnitTexts& units);

} // namespace zlm
