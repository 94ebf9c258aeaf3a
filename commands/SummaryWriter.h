#pragma once

#include "analysis/TextTable.h"
#include "commands/SafeFileWrite.h"

#include <string>

namespace zlm {

/** How the output summary separates its columns. */
enum class Delimiter {
    Comma, ///< trimmed cells joined by ","
    Space  ///< every column but the last padded to its widest text + 5 spaces
};

/** Outcome of saving the output summary. */
using SaveResult = SafeWriteResult;

/**
 * The output summary's bytes for a table: one line per row, CR LF after each.
 * Comma: cells trimmed of spaces and joined by ","; Space: every column but the
 * last padded to its widest untrimmed text + 5, the last trimmed.
 */
std::string SummaryText(const TextTable& table, Delimiter delimiter);

/**
 * Writes SummaryText to fileName safely: a temporary file in the target folder,
 * renamed over the target. A failure is reported and leaves an existing file
 * intact and no temporary file behind.
 */
SaveResult SaveSummary(const std::string& fileName, const TextTable& table, Delimiter delimiter);

} // namespace zlm
