#include "batch/BatchOptions.h"

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

} // namespace

std::string BatchUsage()
{
    return "Usage: zlm-batch [--section FEET] [--channel 1|2] [--delimiter comma|space] [--output FILE]\n"
           "                 [--corrections FILE] PROFILE\n"
           "\n"
           "Rolls a 16 ft straightedge along the profile in 8 ft steps, as the Simulate command does,\n"
           "and writes the output summary, byte for byte what Save As writes.\n"
           "\n"
           "  PROFILE               an ERD profile, or a column-text profile when the name ends in \"dat\"\n"
           "  --section FEET        summarise per section of this length instead of listing every placement\n"
           "  --channel 1|2         the channel of a two-channel ERD profile (default 1)\n"
           "  --delimiter WORD      comma (default) or space\n"
           "  --output FILE         write the summary to FILE instead of standard output\n"
           "  --corrections FILE    also write the exceedance zones, where to correct, as comma-separated text\n"
           "  --help                show this text\n"
           "  --version             show the version\n"
           "\n"
           "Standard error gets the line \"Percent Exceeded Threshold (0.25 in) = X.XX% Overall\", and with\n"
           "--corrections then \"Percent Defective Length = X.XX%\" (zone length over profile length).\n"
           "Exit status: 0 done, 1 the profile was refused or a file could not be written, 2 usage error.\n";
}

ParsedArguments ParseBatchArguments(const std::vector<std::string>& arguments)
{
    ParsedArguments parsed;
    BatchOptions& options = parsed.options;
    std::optional<std::string> profile;
    bool optionsEnded = false;

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
        if (name != "--section" && name != "--channel" && name != "--delimiter" && name != "--output" &&
            name != "--corrections") {
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
        } else {
            if (value->empty()) {
                return UsageError("--output needs a file name");
            }
            options.outputPath = *value;
        }
    }

    if (!profile) {
        return UsageError("no PROFILE was given");
    }
    options.profilePath = *profile;
    parsed.status = ArgumentsStatus::Run;
    return parsed;
}

} // namespace zlm
