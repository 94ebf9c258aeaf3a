#include "batch/BatchOptions.h"

#include "analysis/MethodPresets.h"
#include "profile_input/Channel.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace zlm {

namespace {

ParsedArguments UsageError(std::string error)
{
    ParsedArguments parsed;
    parsed.status = ArgumentsStatus::UsageError;
    parsed.error = std::move(error);
    return parsed;
}

/** A whole argument read as a decimal number ("10", "0.125", "1e-3"), or nothing. */
std::optional<double> NumberArgument(const std::string& text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) {
        return std::nullopt;
    }
    return value;
}

/** A unit of --columns-units: ft, in, m, mm or mil. */
std::optional<LengthUnit> UnitArgument(std::string_view text)
{
    for (const LengthUnit unit :
         {LengthUnit::Foot, LengthUnit::Inch, LengthUnit::Metre, LengthUnit::Millimetre, LengthUnit::Mil}) {
        if (text == LengthUnitSymbol(unit)) {
            return unit;
        }
    }
    return std::nullopt;
}

/** Whether the arguments ask for a survey: --summary before any "--". */
bool AsksForSurvey(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            return false;
        }
        if (argument == "--summary" || argument.starts_with("--summary=")) {
            return true;
        }
    }
    return false;
}

/** The method options as given, before they are put together. */
struct MethodArguments {
    UnitSystem units = UnitSystem::US;
    bool hasLength = false;
    double length = 0.0;
    bool hasStep = false;
    double step = 0.0;
    bool continuous = false;
    bool hasThreshold = false;
    double threshold = 0.0;
};

/**
 * The method of the options: each value given as it stands, each one left out
 * from the default method, converted exactly to SI units when they are chosen.
 */
StraightedgeMethod ComposeMethod(const MethodArguments& given)
{
    StraightedgeMethod method = ConvertMethod(StraightedgeMethod{}, given.units);
    if (given.hasLength) {
        method.baseLength = given.length;
    }
    if (given.hasStep) {
        method.step = given.step;
    }
    method.continuous = given.continuous;
    if (given.hasThreshold) {
        method.tolerance = SingleTolerance(given.threshold);
    }
    return method;
}

/** Reads --report or --paper into the options; the usage error, or nothing when the value is good. */
std::optional<std::string> ApplyReportOption(const std::string& name, const std::string& value, BatchOptions& options)
{
    if (name == "--report") {
        if (value.empty()) {
            return "--report needs a file name";
        }
        options.reportPath = value;
    } else if (value == "a4" || value == "letter") {
        options.paper = value == "a4" ? PaperSize::A4 : PaperSize::Letter;
    } else {
        return "--paper must be a4 or letter, not \"" + value + "\"";
    }
    return std::nullopt;
}

} // namespace

std::string BatchUsage()
{
    return "Usage: zlm-batch [--section LENGTH] [--channel K] [--delimiter comma|space] [--output FILE]\n"
           "                 [--corrections FILE] [--units us|si] [--length N] [--step N|continuous]\n"
           "                 [--threshold N] [--columns-units DIST,ELEV] [--interval N] [--report FILE.pdf]\n"
           "                 [--paper a4|letter] PROFILE\n"
           "       zlm-batch [options] --summary FILE [--output-dir DIR [--corrections]] [--recursive]\n"
           "                 PROFILE...\n"
           "\n"
           "Rolls a straightedge along the profile, as the Simulate command does (by default 16 ft long,\n"
           "in 8 ft steps, against 0.25 in), and writes the output summary, byte for byte what Save As writes.\n"
           "\n"
           "  PROFILE               a profile: column text when the name ends in \"dat\", PRO (.pro),\n"
           "                        delimited text (.csv, or .txt that is not ERD), else ERD\n"
           "  --section LENGTH      summarise per section of this length instead of listing every placement\n"
           "  --channel K           the channel of a file of several (1 to 64; default 1); for a PRO file\n"
           "                        1 is the left path and 2 the right\n"
           "  --delimiter WORD      comma (default) or space\n"
           "  --output FILE         write the summary to FILE instead of standard output\n"
           "  --units us|si         us (default): lengths in feet, deviations in inches;\n"
           "                        si: metres and millimetres (the default method becomes 4.8768 m,\n"
           "                        2.4384 m steps, 6.35 mm)\n"
           "  --length N            the straightedge's length (default 16 ft)\n"
           "  --step N|continuous   how far it moves between placements (default 8 ft), or continuous:\n"
           "                        one sample point at a time\n"
           "  --threshold N         the tolerance a gap is compared with (default 0.25 in)\n"
           "  --corrections FILE    also write the exceedance zones, where to correct, as comma-separated text\n"
           "  --columns-units DIST,ELEV\n"
           "                        the units of a delimited profile's distances (or interval) and\n"
           "                        elevations where its header names none: each ft, in, m, mm or mil\n"
           "  --interval N          the sample interval, in DIST units, of a delimited profile without a\n"
           "                        distance column\n"
           "  --summary FILE        a survey: analyse every PROFILE (files, and folders: every .erd, .dat,\n"
           "                        .pro, .csv and .txt file in them, any case, by name) with the same\n"
           "                        options, every channel of each unless --channel is given, and write\n"
           "                        one comma-separated line per file and channel to FILE\n"
           "  --output-dir DIR      in a survey, also write each profile's summary to DIR, named after\n"
           "                        it (NAME.txt, or NAME.channelK.txt for a file of several channels)\n"
           "  --corrections         in a survey with --output-dir, also write each profile's corrections\n"
           "                        list there (NAME.corrections.csv, NAME.channelK.corrections.csv)\n"
           "  --recursive           in a survey, look into the folders' subfolders as well\n"
           "  --report FILE.pdf     also write the acceptance report as a PDF: profile, checksum, method,\n"
           "                        result, the deviation graph page by page and the corrections list;\n"
           "                        with SOURCE_DATE_EPOCH set, its time is the analysis time and the\n"
           "                        same inputs give the same bytes\n"
           "  --paper a4|letter     the report's paper (default: the locale's, Letter for US locales)\n"
           "  --help                show this text\n"
           "  --version             show the version\n"
           "\n"
           "Standard error gets the line \"Percent Exceeded Threshold (0.25 in) = X.XX% Overall\" (with the\n"
           "tolerance and unit of the method), and with --corrections then \"Percent Defective Length = X.XX%\"\n"
           "(zone length over profile length).\n"
           "A survey's summary has the columns File, Channel, Points, Interval (6 decimals), Length (3\n"
           "decimals; both in feet, or metres for si), Placements, Exceeding, Percent Exceeding, Percent\n"
           "Defective Length (2 decimals), Zones and Error; a refused file has its reason in Error.\n"
           "Exit status: 0 done (every profile of a survey analysed), 1 a profile was refused or a file\n"
           "could not be written, 2 usage error.\n";
}

ParsedArguments ParseBatchArguments(const std::vector<std::string>& arguments)
{
    ParsedArguments parsed;
    BatchOptions& options = parsed.options;
    bool optionsEnded = false;
    MethodArguments method;
    const bool survey = AsksForSurvey(arguments);

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            if (!survey && !options.profilePaths.empty()) {
                return UsageError("only one PROFILE can be given without --summary (also got \"" + argument + "\")");
            }
            options.profilePaths.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            parsed.status = ArgumentsStatus::Help;
            return parsed;
        }
        if (argument == "--version") {
            parsed.status = ArgumentsStatus::Version;
            return parsed;
        }

        std::string name = argument;
        std::optional<std::string> value;
        if (const auto equals = argument.find('='); equals != std::string::npos && argument.starts_with("--")) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (name == "--report" || name == "--paper") {
            if (!value && i + 1 >= arguments.size()) {
                return UsageError(name + " needs a value");
            }
            const std::string given = value ? *value : arguments[++i];
            if (const std::optional<std::string> error = ApplyReportOption(name, given, options)) {
                return UsageError(*error);
            }
            continue;
        }
        if (name == "--recursive" || (survey && name == "--corrections")) {
            if (value) {
                return UsageError(name == "--recursive"
                                      ? std::string("--recursive takes no value")
                                      : std::string("in a survey --corrections takes no file name: each profile's "
                                                    "list goes to --output-dir"));
            }
            (name == "--recursive" ? options.recursive : options.surveyCorrections) = true;
            continue;
        }
        if (name != "--section" && name != "--channel" && name != "--delimiter" && name != "--output" &&
            name != "--corrections" && name != "--units" && name != "--length" && name != "--step" &&
            name != "--threshold" && name != "--columns-units" && name != "--interval" && name != "--summary" &&
            name != "--output-dir") {
            return UsageError("unknown option \"" + argument + "\"");
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                return UsageError(name + " needs a value");
            }
            value = arguments[++i];
        }

        if (name == "--section") {
            options.sectionText = *value;
        } else if (name == "--channel") {
            std::int32_t channel = 0;
            const char* end = value->data() + value->size();
            const auto read = std::from_chars(value->data(), end, channel);
            if (value->empty() || read.ec != std::errc() || read.ptr != end || channel < 1 || channel > kMaxChannels) {
                return UsageError("--channel must be a channel from 1 to " + std::to_string(kMaxChannels) + ", not \"" +
                                  *value + "\"");
            }
            options.channel = channel;
            options.channelGiven = true;
        } else if (name == "--columns-units") {
            const std::size_t comma = value->find(',');
            const std::optional<LengthUnit> distance =
                comma == std::string::npos ? std::nullopt : UnitArgument(std::string_view(*value).substr(0, comma));
            const std::optional<LengthUnit> elevation =
                comma == std::string::npos ? std::nullopt : UnitArgument(std::string_view(*value).substr(comma + 1));
            if (!distance || !elevation) {
                return UsageError("--columns-units must be two units DIST,ELEV, each ft, in, m, mm or mil, not \"" +
                                  *value + "\"");
            }
            options.columnUnits.distanceUnit = distance;
            options.columnUnits.elevationUnit = elevation;
        } else if (name == "--interval") {
            const std::optional<double> number = NumberArgument(*value);
            if (!number || !(*number > 0.0) || !std::isfinite(*number)) {
                return UsageError("--interval must be a number greater than 0, not \"" + *value + "\"");
            }
            options.columnUnits.interval = number;
        } else if (name == "--summary" || name == "--output-dir") {
            if (value->empty()) {
                return UsageError(name + (name == "--summary" ? " needs a file name" : " needs a folder name"));
            }
            (name == "--summary" ? options.summaryPath : options.outputDir) = *value;
        } else if (name == "--delimiter") {
            if (*value != "comma" && *value != "space") {
                return UsageError("--delimiter must be comma or space, not \"" + *value + "\"");
            }
            options.delimiter = *value == "comma" ? Delimiter::Comma : Delimiter::Space;
        } else if (name == "--corrections") {
            if (value->empty()) {
                return UsageError("--corrections needs a file name");
            }
            options.correctionsPath = *value;
        } else if (name == "--units") {
            if (*value != "us" && *value != "si") {
                return UsageError("--units must be us or si, not \"" + *value + "\"");
            }
            method.units = *value == "us" ? UnitSystem::US : UnitSystem::SI;
        } else if (name == "--step" && *value == "continuous") {
            method.continuous = true;
            method.hasStep = false;
        } else if (name == "--length" || name == "--step" || name == "--threshold") {
            const std::optional<double> number = NumberArgument(*value);
            if (!number) {
                return UsageError(name + " must be a number, not \"" + *value + "\"");
            }
            if (name == "--length") {
                method.hasLength = true;
                method.length = *number;
            } else if (name == "--threshold") {
                method.hasThreshold = true;
                method.threshold = *number;
            } else {
                method.hasStep = true;
                method.step = *number;
                method.continuous = false;
            }
        } else {
            if (value->empty()) {
                return UsageError("--output needs a file name");
            }
            options.outputPath = *value;
        }
    }
    options.method = ComposeMethod(method);

    if (options.profilePaths.empty()) {
        return UsageError("no PROFILE was given");
    }
    if (survey) {
        if (!options.outputPath.empty()) {
            return UsageError("--output cannot be used with --summary: each profile's summary goes to --output-dir");
        }
        if (options.surveyCorrections && options.outputDir.empty()) {
            return UsageError("--corrections in a survey needs --output-dir, where each profile's list goes");
        }
    } else if (!options.outputDir.empty() || options.recursive) {
        return UsageError(std::string(options.recursive ? "--recursive" : "--output-dir") +
                          " is for a survey: give --summary FILE as well");
    }
    options.profilePath = options.profilePaths.front();
    parsed.status = ArgumentsStatus::Run;
    return parsed;
}

} // namespace zlm
