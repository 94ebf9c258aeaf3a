#include "batch/BatchOptions.h"

#include "analysis/MethodPresets.h"

#include <charconv>
#include <cmath>
#include <optional>

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
    return "Usage: zlm-batch [--section LENGTH] [--channel 1|2] [--delimiter comma|space] [--output FILE]\n"
           "                 [--corrections FILE] [--units us|si] [--length N] [--step N|continuous]\n"
           "                 [--threshold N] [--report FILE.pdf] [--paper a4|letter] PROFILE\n"
           "\n"
           "Rolls a straightedge along the profile, as the Simulate command does (by default 16 ft long,\n"
           "in 8 ft steps, against 0.25 in), and writes the output summary, byte for byte what Save As writes.\n"
           "\n"
           "  PROFILE               an ERD profile, or a column-text profile when the name ends in \"dat\"\n"
           "  --section LENGTH      summarise per section of this length instead of listing every placement\n"
           "  --channel 1|2         the channel of a two-channel ERD profile (default 1)\n"
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
           "Exit status: 0 done, 1 the profile was refused or a file could not be written, 2 usage error.\n";
}

ParsedArguments ParseBatchArguments(const std::vector<std::string>& arguments)
{
    ParsedArguments parsed;
    BatchOptions& options = parsed.options;
    std::optional<std::string> profile;
    bool optionsEnded = false;
    MethodArguments method;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            if (profile) {
                return UsageError("only one PROFILE can be given (also got \"" + argument + "\")");
            }
            profile = argument;
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
        if (name != "--section" && name != "--channel" && name != "--delimiter" && name != "--output" &&
            name != "--corrections" && name != "--units" && name != "--length" && name != "--step" &&
            name != "--threshold") {
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
            if (*value != "1" && *value != "2") {
                return UsageError("--channel must be 1 or 2, not \"" + *value + "\"");
            }
            options.channel = *value == "1" ? 1 : 2;
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

    if (!profile) {
        return UsageError("no PROFILE was given");
    }
    options.profilePath = *profile;
    parsed.status = ArgumentsStatus::Run;
    return parsed;
}

} // namespace zlm
