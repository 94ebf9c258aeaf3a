#pragma once

#include "commands/ReportRequest.h"

#include <memory>
#include <string>
#include <vector>

namespace zlm {

/** The report writer zlm-batch loaded, or why there is none. */
struct LoadedReportWriter {
    std::unique_ptr<ReportWriter> writer;
    std::string message; ///< when writer is null: what is missing, naming where it was looked for
};

/**
 * The folders the report module is looked for in, in order: those of the
 * ZLM_PLUGIN_PATH variable (':'-separated), zlm-plugins beside the program (the
 * build tree), the configured install folder and the same folder relative to
 * the program (an install moved elsewhere). The window's plugins are found the
 * same way.
 */
std::vector<std::string> ReportModuleFolders();

/**
 * Loads the report module (the PDF report and Qt with it) from the first of
 * `folders` that holds one that loads and was built for this version, and makes
 * its writer. The module stays loaded for the rest of the process. A straightedge
 * run without a report never calls this, so it never loads Qt.
 */
LoadedReportWriter LoadReportWriter(const std::vector<std::string>& folders = ReportModuleFolders());

} // namespace zlm
