#include "batch/BatchOptions.h"

#include "analysis/MethodPresets.h"
#include "profile_input/Channel.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

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

/** Whether the arguments give `option` (alone or with "=value") before any "--". */
bool GivesOption(const std::vector<std::string>& arguments, const std::string& option)
{
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            return false;
        }
        if (argument == option || argument.starts_with(option + "=")) {
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

/** What the parse has gathered so far. */
struct ParseState {
    explicit ParseState(BatchOptions& target) : options(target) {}

    BatchOptions& options;
    MethodArguments method;
    bool survey = false;
    bool ride = false;
    bool pathsGiven = false;
    std::optional<double> rideSection;
    double rideBase = 0.0;      ///< --base as given
    double rideThreshold = 0.0; ///< --lr-threshold as given
    bool rideBaseGiven = false;
    bool rideThresholdGiven = false;
};

/** Applies one option's value (absent for a flag given without "="); the usage error, or nothing. */
using OptionApplier = std::optional<std::string> (*)(const std::optional<std::string>& value, ParseState& state);

struct OptionEntry {
    BatchOptionSpec spec;
    OptionApplier apply;
};

using Outcome = std::optional<std::string>;

Outcome Fine()
{
    return std::nullopt;
}

Outcome NeedsName(const std::string& value, std::string& target, const char* error)
{
    if (value.empty()) {
        return std::string(error);
    }
    target = value;
    return Fine();
}

Outcome ApplyNumber(const std::string& name, const std::string& value, bool& has, double& target)
{
    const std::optional<double> number = NumberArgument(value);
    if (!number) {
        return name + " must be a number, not \"" + value + "\"";
    }
    has = true;
    target = *number;
    return Fine();
}

std::optional<std::int32_t> ChannelArgument(std::string_view text)
{
    std::int32_t channel = 0;
    const char* end = text.data() + text.size();
    const auto read = std::from_chars(text.data(), end, channel);
    if (text.empty() || read.ec != std::errc() || read.ptr != end || channel < 1 || channel > kMaxChannels) {
        return std::nullopt;
    }
    return channel;
}

Outcome ApplyChannel(const std::optional<std::string>& value, ParseState& state)
{
    const std::optional<std::int32_t> channel = ChannelArgument(*value);
    if (!channel) {
        return "--channel must be a channel from 1 to " + std::to_string(kMaxChannels) + ", not \"" + *value + "\"";
    }
    state.options.channel = *channel;
    state.options.channelGiven = true;
    return Fine();
}

Outcome ApplyPaths(const std::optional<std::string>& value, ParseState& state)
{
    const std::size_t comma = value->find(',');
    const std::optional<std::int32_t> left =
        comma == std::string::npos ? std::nullopt : ChannelArgument(std::string_view(*value).substr(0, comma));
    const std::optional<std::int32_t> right =
        comma == std::string::npos ? std::nullopt : ChannelArgument(std::string_view(*value).substr(comma + 1));
    if (!left || !right || *left == *right) {
        return "--paths must be two different channels L,R from 1 to " + std::to_string(kMaxChannels) + ", not \"" +
               *value + "\"";
    }
    state.options.ridePaths = {*left, *right};
    state.pathsGiven = true;
    return Fine();
}

Outcome ApplyColumnUnits(const std::optional<std::string>& value, ParseState& state)
{
    const std::size_t comma = value->find(',');
    const std::optional<LengthUnit> distance =
        comma == std::string::npos ? std::nullopt : UnitArgument(std::string_view(*value).substr(0, comma));
    const std::optional<LengthUnit> elevation =
        comma == std::string::npos ? std::nullopt : UnitArgument(std::string_view(*value).substr(comma + 1));
    if (!distance || !elevation) {
        return "--columns-units must be two units DIST,ELEV, each ft, in, m, mm or mil, not \"" + *value + "\"";
    }
    state.options.columnUnits.distanceUnit = distance;
    state.options.columnUnits.elevationUnit = elevation;
    return Fine();
}

Outcome ApplyInterval(const std::optional<std::string>& value, ParseState& state)
{
    const std::optional<double> number = NumberArgument(*value);
    if (!number || !(*number > 0.0) || !std::isfinite(*number)) {
        return "--interval must be a number greater than 0, not \"" + *value + "\"";
    }
    state.options.columnUnits.interval = number;
    return Fine();
}

Outcome ApplySection(const std::optional<std::string>& value, ParseState& state)
{
    state.options.sectionText = *value;
    if (state.ride) {
        state.rideSection = NumberArgument(*value);
        if (!state.rideSection) {
            return "--section must be a number with --ride, not \"" + *value + "\"";
        }
    }
    return Fine();
}

Outcome ApplyDelimiter(const std::optional<std::string>& value, ParseState& state)
{
    if (*value != "comma" && *value != "space") {
        return "--delimiter must be comma or space, not \"" + *value + "\"";
    }
    state.options.delimiter = *value == "comma" ? Delimiter::Comma : Delimiter::Space;
    return Fine();
}

Outcome ApplyUnits(const std::optional<std::string>& value, ParseState& state)
{
    if (*value != "us" && *value != "si") {
        return "--units must be us or si, not \"" + *value + "\"";
    }
    state.method.units = *value == "us" ? UnitSystem::US : UnitSystem::SI;
    return Fine();
}

Outcome ApplyStep(const std::optional<std::string>& value, ParseState& state)
{
    if (*value == "continuous") {
        state.method.continuous = true;
        state.method.hasStep = false;
        return Fine();
    }
    state.method.continuous = false;
    return ApplyNumber("--step", *value, state.method.hasStep, state.method.step);
}

// A flag that takes no value: set `target`, or refuse "--name=value" with `error`.
Outcome Flag(const std::optional<std::string>& value, bool& target, const char* error)
{
    if (value) {
        return std::string(error);
    }
    target = true;
    return Fine();
}

Outcome ApplyPaper(const std::optional<std::string>& value, ParseState& state)
{
    if (*value != "a4" && *value != "letter") {
        return "--paper must be a4 or letter, not \"" + *value + "\"";
    }
    state.options.paper = *value == "a4" ? PaperSize::A4 : PaperSize::Letter;
    return Fine();
}

constexpr unsigned kStraightedgeRuns = kForStraightedge | kForRuns;
constexpr unsigned kRideRuns = kForRide | kForRuns;

using V = const std::optional<std::string>&;

// Every option of zlm-batch, in the usage text's order: what the usage says of
// it and how the parser applies it.
const OptionEntry kOptionEntries[] = {
    {{"--section", "LENGTH", kForAll,
      "summarise per section of this length instead of listing every placement\n"
      "(with --ride: the IRI of each section of S ft or m)"},
     ApplySection},
    {{"--channel", "K", kForAll,
      "the channel of a file of several (1 to 64; default 1); for a PRO file\n"
      "1 is the left path and 2 the right"},
     ApplyChannel},
    {{"--delimiter", "WORD", kStraightedgeRuns, "comma (default) or space"}, ApplyDelimiter},
    {{"--output", "FILE", kForAll, "write the summary to FILE instead of standard output"},
     [](V v, ParseState& s) { return NeedsName(*v, s.options.outputPath, "--output needs a file name"); }},
    {{"--units", "us|si", kForAll,
      "us (default): lengths in feet, deviations in inches;\n"
      "si: metres and millimetres (the default method becomes 4.8768 m,\n"
      "2.4384 m steps, 6.35 mm)"},
     ApplyUnits},
    {{"--length", "N", kStraightedgeRuns, "the straightedge's length (default 16 ft)"},
     [](V v, ParseState& s) { return ApplyNumber("--length", *v, s.method.hasLength, s.method.length); }},
    {{"--step", "N|continuous", kStraightedgeRuns,
      "how far it moves between placements (default 8 ft), or continuous:\n"
      "one sample point at a time"},
     ApplyStep},
    {{"--threshold", "N", kStraightedgeRuns, "the tolerance a gap is compared with (default 0.25 in)"},
     [](V v, ParseState& s) { return ApplyNumber("--threshold", *v, s.method.hasThreshold, s.method.threshold); }},
    {{"--corrections", "FILE", kForStraightedge | kForSingleRun,
      "also write the exceedance zones, where to correct, as comma-separated text"},
     [](V v, ParseState& s) { return NeedsName(*v, s.options.correctionsPath, "--corrections needs a file name"); }},
    {{"--columns-units", "DIST,ELEV", kForAll,
      "the units of a delimited profile's distances (or interval) and\n"
      "elevations where its header names none: each ft, in, m, mm or mil"},
     ApplyColumnUnits},
    {{"--interval", "N", kForAll,
      "the sample interval, in DIST units, of a delimited profile without a\n"
      "distance column"},
     ApplyInterval},
    {{"--summary", "FILE", kForAll,
      "a survey: analyse every PROFILE (files, and folders: every .erd, .dat,\n"
      ".pro, .csv and .txt file in them, any case, by name) with the same\n"
      "options, every channel of each unless --channel is given, and write\n"
      "one comma-separated line per file and channel to FILE"},
     [](V v, ParseState& s) { return NeedsName(*v, s.options.summaryPath, "--summary needs a file name"); }},
    {{"--output-dir", "DIR", kForAll,
      "in a survey, also write each profile's summary to DIR, named after\n"
      "it (NAME.txt, or NAME.channelK.txt for a file of several channels)"},
     [](V v, ParseState& s) { return NeedsName(*v, s.options.outputDir, "--output-dir needs a folder name"); }},
    {{"--corrections", "", kForStraightedge | kForSurvey,
      "in a survey with --output-dir, also write each profile's corrections\n"
      "list there (NAME.corrections.csv, NAME.channelK.corrections.csv)"},
     [](V v, ParseState& s) {
         return Flag(v, s.options.surveyCorrections,
                     "in a survey --corrections takes no file name: each profile's list goes to --output-dir");
     }},
    {{"--recursive", "", kForAll, "in a survey, look into the folders' subfolders as well"},
     [](V v, ParseState& s) { return Flag(v, s.options.recursive, "--recursive takes no value"); }},
    {{"--report", "FILE.pdf", kForAll,
      "also write the acceptance report as a PDF: profile, checksum, method,\n"
      "result, the deviation graph page by page and the corrections list (with\n"
      "--ride: the overall figures, the section table, the ride-quality graph\n"
      "page by page and the localized-roughness areas); with SOURCE_DATE_EPOCH\n"
      "set, its time is the analysis time and the same inputs give the same bytes"},
     [](V v, ParseState& s) { return NeedsName(*v, s.options.reportPath, "--report needs a file name"); }},
    {{"--paper", "a4|letter", kForAll, "the report's paper (default: the locale's, Letter for US locales)"},
     ApplyPaper},
    {{"--ride", "", kForAll,
      "ride quality instead of the straightedge: the IRI of each wheel path\n"
      "(channels 1 and 2 of a file of several; one profile otherwise), MRI and\n"
      "HRI, per section, as comma-separated text"},
     [](V v, ParseState& s) { return Flag(v, s.options.ride, "--ride takes no value"); }},
    {{"--paths", "L,R", kRideRuns, "the channels of the left and right wheel paths (default 1,2)"}, ApplyPaths},
    {{"--localized", "FILE", kForRide | kForSingleRun,
      "also find localized roughness and write its areas to FILE as\n"
      "comma-separated text"},
     [](V v, ParseState& s) {
         s.options.rideMethod.localized = true;
         return NeedsName(*v, s.options.localizedPath, "--localized needs a file name");
     }},
    {{"--localized", "", kForRide | kForSurvey,
      "in a ride survey, also find localized roughness (and with --output-dir\n"
      "write each profile's areas there, NAME.localized.csv)"},
     [](V v, ParseState& s) {
         return Flag(v, s.options.rideMethod.localized,
                     "in a survey --localized takes no file name: each profile's areas go to --output-dir");
     }},
    {{"--base", "B", kRideRuns, "the continuous IRI's base length (default 25 ft or 7.62 m)"},
     [](V v, ParseState& s) { return ApplyNumber("--base", *v, s.rideBaseGiven, s.rideBase); }},
    {{"--lr-threshold", "T", kRideRuns,
      "localized roughness is a continuous IRI at or above T (default\n"
      "125 in/mi or 2.0 m/km)"},
     [](V v, ParseState& s) { return ApplyNumber("--lr-threshold", *v, s.rideThresholdGiven, s.rideThreshold); }},
    {{"--help", "", kForAll, "show this text"}, nullptr},
    {{"--version", "", kForAll, "show the version"}, nullptr},
};

std::span<const OptionEntry> Entries()
{
    return kOptionEntries;
}

// The entry for `name` in the run asked for; an entry of the name for another
// run (or nullptr when the name is unknown) otherwise.
const OptionEntry* FindEntry(const std::string& name, unsigned run)
{
    const OptionEntry* other = nullptr;
    for (const OptionEntry& entry : Entries()) {
        if (name == entry.spec.name) {
            if ((entry.spec.modes & run) == run) {
                return &entry;
            }
            other = &entry;
        }
    }
    return other;
}

// Why an option of another analysis cannot be given, or nothing.
Outcome WrongAnalysis(const OptionEntry& entry, bool ride)
{
    if (ride && (entry.spec.modes & kForRide) == 0) {
        return std::string(entry.spec.name) + " is for the straightedge: it cannot be used with --ride";
    }
    if (!ride && (entry.spec.modes & kForStraightedge) == 0) {
        return std::string(entry.spec.name) + " is for ride quality: give --ride as well";
    }
    return Fine();
}

/** The checks of the whole command line, once every option is read. */
Outcome CheckCombination(ParseState& state)
{
    BatchOptions& options = state.options;
    if (options.profilePaths.empty()) {
        return std::string("no PROFILE was given");
    }
    if (state.survey) {
        if (!options.outputPath.empty()) {
            return std::string("--output cannot be used with --summary: each profile's summary goes to --output-dir");
        }
        // A report is of one profile's run; a survey would otherwise drop it without a word.
        if (!options.reportPath.empty()) {
            return std::string("--report cannot be used with --summary: a report is of one profile");
        }
        if (options.surveyCorrections && options.outputDir.empty()) {
            return std::string("--corrections in a survey needs --output-dir, where each profile's list goes");
        }
    } else if (!options.outputDir.empty() || options.recursive) {
        return std::string(options.recursive ? "--recursive" : "--output-dir") +
               " is for a survey: give --summary FILE as well";
    }
    if (state.ride && state.pathsGiven && options.channelGiven) {
        return std::string("--channel and --paths cannot both be given: --channel K analyses one profile");
    }
    return Fine();
}

/**
 * Puts the ride method together: the values given (the run's refusals name a
 * value out of range) over the defaults of the units.
 */
void ComposeRide(ParseState& state)
{
    BatchOptions& options = state.options;
    RideQualityMethod method = DefaultRideQualityMethod(state.method.units);
    method.localized = options.rideMethod.localized;
    method.sectionLength = state.rideSection.value_or(0.0);
    if (state.rideBaseGiven) {
        method.baseLength = state.rideBase;
    }
    if (state.rideThresholdGiven) {
        method.threshold = state.rideThreshold;
    }
    options.rideMethod = method;
    if (options.channelGiven) {
        options.ridePaths = {options.channel, 0};
    }
}

// Adds an option's lines to the usage: the name and argument, padded to the help's column.
void AddUsageLines(std::string& text, const BatchOptionSpec& spec)
{
    constexpr std::size_t kHelpColumn = 24;
    std::string label = std::string("  ") + spec.name + (*spec.argument != '\0' ? " " : "") + spec.argument;
    label += label.size() < kHelpColumn ? std::string(kHelpColumn - label.size(), ' ')
                                        : "\n" + std::string(kHelpColumn, ' ');
    text += label;
    for (const char* c = spec.help; *c != '\0'; ++c) {
        text += *c;
        if (*c == '\n') {
            text += std::string(kHelpColumn, ' ');
        }
    }
    text += '\n';
}

} // namespace

const std::vector<BatchOptionSpec>& BatchOptionTable()
{
    static const std::vector<BatchOptionSpec> table = [] {
        std::vector<BatchOptionSpec> specs;
        for (const OptionEntry& entry : Entries()) {
            specs.push_back(entry.spec);
        }
        return specs;
    }();
    return table;
}

std::string BatchUsage()
{
    std::string text =
        "Usage: zlm-batch [--section LENGTH] [--channel K] [--delimiter comma|space] [--output FILE]\n"
        "                 [--corrections FILE] [--units us|si] [--length N] [--step N|continuous]\n"
        "                 [--threshold N] [--columns-units DIST,ELEV] [--interval N] [--report FILE.pdf]\n"
        "                 [--paper a4|letter] PROFILE\n"
        "       zlm-batch --ride [--section S] [--channel K | --paths L,R] [--units us|si] [--output FILE]\n"
        "                 [--localized FILE [--base B] [--lr-threshold T]] [--report FILE.pdf]\n"
        "                 [--paper a4|letter] PROFILE\n"
        "       zlm-batch [options] --summary FILE [--output-dir DIR [--corrections]] [--recursive]\n"
        "                 PROFILE...\n"
        "\n"
        "Rolls a straightedge along the profile, as the Simulate command does (by default 16 ft long,\n"
        "in 8 ft steps, against 0.25 in), and writes the output summary, byte for byte what Save As writes;\n"
        "with --ride it measures ride quality (IRI) instead.\n"
        "\n"
        "  PROFILE               a profile: column text when the name ends in \"dat\", PRO (.pro),\n"
        "                        delimited text (.csv, or .txt that is not ERD), else ERD\n";
    for (const BatchOptionSpec& spec : BatchOptionTable()) {
        AddUsageLines(text, spec);
    }
    text += "\n"
            "Standard error gets the line \"Percent Exceeded Threshold (0.25 in) = X.XX% Overall\" (with the\n"
            "tolerance and unit of the method), and with --corrections then \"Percent Defective Length = X.XX%\"\n"
            "(zone length over profile length).\n"
            "With --ride, standard output (or --output) gets the section table \"Start (ft),End (ft),IRI Left\n"
            "(in/mi),IRI Right (in/mi),MRI (in/mi),HRI (in/mi)\" (one profile: \"Start (ft),End (ft),IRI (in/mi)\";\n"
            "si: m and m/km), standard error \"MRI = X in/mi Overall\" and \"HRI = Y in/mi Overall\" (one profile:\n"
            "\"IRI = X in/mi Overall\"), with --localized then \"Localized Roughness = X.XX% of length (areas: N)\",\n"
            "and --localized FILE the areas: Area, Start, End, Length, Peak, Peak At.\n"
            "A survey's summary has the columns File, Channel, Points, Interval (6 decimals), Length (3\n"
            "decimals; both in feet, or metres for si), Placements, Exceeding, Percent Exceeding, Percent\n"
            "Defective Length (2 decimals), Zones and Error; a refused file has its reason in Error.\n"
            "With --ride: File, Channels, Points, Interval, Length, IRI Left, IRI Right, MRI, HRI, Localized\n"
            "Areas, Percent Localized and Error, one line per file (NAME.ride.csv and NAME.localized.csv in\n"
            "--output-dir).\n"
            "Exit status: 0 done (every profile of a survey analysed), 1 a profile was refused or a file\n"
            "could not be written, 2 usage error.\n";
    return text;
}

ParsedArguments ParseBatchArguments(const std::vector<std::string>& arguments)
{
    ParsedArguments parsed;
    ParseState state(parsed.options);
    state.survey = GivesOption(arguments, "--summary");
    state.ride = GivesOption(arguments, "--ride");
    const unsigned run = (state.ride ? kForRide : kForStraightedge) | (state.survey ? kForSurvey : kForSingleRun);
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            if (!state.survey && !parsed.options.profilePaths.empty()) {
                return UsageError("only one PROFILE can be given without --summary (also got \"" + argument + "\")");
            }
            parsed.options.profilePaths.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h" || argument == "--version") {
            parsed.status = argument == "--version" ? ArgumentsStatus::Version : ArgumentsStatus::Help;
            return parsed;
        }
        std::string name = argument;
        std::optional<std::string> value;
        if (const auto equals = argument.find('='); equals != std::string::npos && argument.starts_with("--")) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        const OptionEntry* entry = FindEntry(name, run);
        if (entry == nullptr || entry->apply == nullptr) {
            return UsageError("unknown option \"" + argument + "\"");
        }
        if (const Outcome wrong = WrongAnalysis(*entry, state.ride)) {
            return UsageError(*wrong);
        }
        if (*entry->spec.argument != '\0' && !value) {
            if (i + 1 >= arguments.size()) {
                return UsageError(name + " needs a value");
            }
            value = arguments[++i];
        }
        if (const Outcome error = entry->apply(value, state)) {
            return UsageError(*error);
        }
    }
    parsed.options.method = ComposeMethod(state.method);
    ComposeRide(state);
    if (const Outcome error = CheckCombination(state)) {
        return UsageError(*error);
    }
    parsed.options.profilePath = parsed.options.profilePaths.front();
    parsed.status = ArgumentsStatus::Run;
    return parsed;
}

} // namespace zlm
