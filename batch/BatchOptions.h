#pragma once

#include "analysis/StraightedgeResults.h"
#include "commands/ReportRequest.h"
#include "commands/RideQualityCommand.h"
#include "commands/SummaryWriter.h"
#include "profile_input/DelimitedProfileReader.h"
#include "ride_quality/RideQuality.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zlm {

/** What one zlm-batch run is asked to do. */
struct BatchOptions {
    std::string sectionText;                ///< --section: read like the typed section length; empty = placement list
    ChannelNumber channel = 1;              ///< --channel K: the answer to the channel question
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
    bool channelGiven = false;                  ///< --channel was given: a survey then analyses that channel alone
    /**
     * --columns-units DIST,ELEV and --interval N: what a delimited profile's header
     * may not say (the header's units win); DIST is also the interval's unit.
     */
    DelimitedUnits columnUnits{};
    std::vector<std::string> profilePaths{}; ///< every PROFILE given: one, or a survey's files and folders
    std::string summaryPath{};               ///< --summary: a survey's summary; empty for one profile
    std::string outputDir{};                 ///< --output-dir: where a survey writes each profile's own files
    bool recursive = false;                  ///< --recursive: a survey's folders include their subfolders
    bool surveyCorrections = false;          ///< --corrections in a survey: each profile's list into outputDir
    bool ride = false;                       ///< --ride: the ride-quality analysis instead of the straightedge
    /**
     * --section S (a number), --base, --lr-threshold and --localized of a ride
     * run, in the units of --units; the defaults of those units otherwise.
     */
    RideQualityMethod rideMethod{};
    RidePathChoice ridePaths{};  ///< --paths L,R, or --channel K as (K, 0); unset: the file's default
    std::string localizedPath{}; ///< --localized FILE: where the areas go (a flag in a survey)

    /** True for a survey (--summary): many profiles, one summary line each. */
    bool IsSurvey() const { return !summaryPath.empty(); }
};

/** Which runs read an option: a bit for each analysis and each kind of run. */
enum OptionModes : unsigned {
    kForStraightedge = 1u,
    kForRide = 2u,
    kForSingleRun = 4u,
    kForSurvey = 8u,
    kForAnalyses = kForStraightedge | kForRide,
    kForRuns = kForSingleRun | kForSurvey,
    kForAll = kForAnalyses | kForRuns,
};

/**
 * One option of zlm-batch as the usage text, the guide and the parser know it.
 * The same name may appear twice for two kinds of run (--corrections takes a
 * file name for one profile and is a flag in a survey).
 */
struct BatchOptionSpec {
    const char* name;     ///< "--section"
    const char* argument; ///< what follows it in the usage ("LENGTH"); empty for a flag
    unsigned modes;       ///< OptionModes: the analyses and runs it belongs to
    const char* help;     ///< its description; each further line after a '\n'
};

/** Every option, in the usage text's order. */
const std::vector<BatchOptionSpec>& BatchOptionTable();

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
 * Exactly one PROFILE is required, or with --summary (a survey) one or more;
 * in a survey --corrections takes no value, needs --output-dir, and --output
 * is refused, while --output-dir and --recursive need --summary.
 */
ParsedArguments ParseBatchArguments(const std::vector<std::string>& arguments);

/** The usage text, ending in a newline. */
std::string BatchUsage();

} // namespace zlm
