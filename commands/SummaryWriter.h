#pragma once

#include "analysis/ResultsGrid.h"

#include <string>

namespace zlm {

/** Outcome of saving the output summary. */
struct SaveResult {
    bool ok = false;
    std::string message; ///< why it failed, naming the path
};

/**
 * The output summary's bytes for the grid: one line per row, CR LF after each.
 * "comma": trimmed cells joined by ","; "space": every column but the last
 * padded to its widest untrimmed text + 5, the last trimmed.
 */
std::string GridAsText(const ResultsGrid& grid, const std::string& delimiterWord);

/**
 * Writes GridAsText to fileName safely: a temporary file in the target folder,
 * renamed over the target. A failure is reported and leaves an existing file
 * intact and no temporary file behind. Moves the grid's current cell to the
 * bottom-right cell, as the window's Save As does.
 */
SaveResult SaveGridAsText(const std::string& fileName, const std::string& delimiterWord, ResultsGrid& grid);

} // namespace zlm
