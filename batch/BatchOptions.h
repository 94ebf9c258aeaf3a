#pragma once

#include "analysis/RunResults.h"
#include "commands/ReportRequest.h"
#include "commands/SummaryWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zlm {

/** What one zlm-batch run is asked to do. */
struct BatchOptions {
    std::string sectionText;                ///< --section: read like the typed section length; empty = placement list
    std::int32_t channel = 1;               ///< --channel: the answer to the channel question, 1 or 2
    Delimiter delimiter = Delimiter::Comma; ///< --delimiter: comma or space
    std::string outputPath;                 ///< --output; empty = standard output
    std::string profilePath;                ///< PROFILE
    std::string correctionsPath;            ///< --corrections: where to write the corrections list; empty = none
    /**
     * --units, --length, --step, --threshold: the method, in the chosen system's
     * units. Without them the default method; --units si alone gives the default
     * converted exactly (4.8768 m, 2.4384 m, 6.35 mm).
     */
    StraightedgeMethod method;
    std::string reportPath = {};                ///< --report: where to write the PDF report; empty = none
    PaperSize paper = PaperSize::LocaleDefault; ///< --paper: a4 or letter; by default the locale's
};

/** Whether the command line asks for a run, for the usage text, for the version, or is wrong. */
enum class ArgumentsStatus { Run, Help, Version, UsageError };

/** Outcome of reading the command line; `error` says what is wrong for UsageError. */
struct ParsedArguments {
    ArgumentsStatus status = ArgumentsStatus::UsageError;
    BatchOptions options;
    std::string error;
};

/**
 * Reads zlm-batch's arguments (without the program name). Options take their
 * value as the next argument or after "=" (--section=100); "--" ends the options.
 * Exactly one PROFILE is required.
 */
ParsedArguments ParseBatchArguments(const std::vector<std::string>& arguments);

/** The usage text, ending in a newline. */
std::string BatchUsage();

} // namespace zlm
