#include "commands/OpenCommand.h"

#include "analysis/NumberText.h"
#include "profile_input/ColumnProfileReader.h"
#include "profile_input/FileBytes.h"
#include "profile_input/ProReader.h"

#include <array>
#include <cstdio>
#include <memory>

namespace zlm {

namespace {

bool EndsWithIgnoringCase(const std::string& text, std::string_view ending)
{
    if (text.size() < ending.size()) {
        return false;
    }
    const std::size_t from = text.size() - ending.size();
    for (std::size_t i = 0; i < ending.size(); ++i) {
        const char c = text[from + i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != ending[i]) {
            return false;
        }
    }
    return true;
}

// Whether a first line (of at most the first 4 KiB) begins like the ERD
// signature, in any case: such a file is meant as ERD, and the ERD reader says
// best what is wrong with a wrong version or case. A file that cannot be read
// is left to the ERD reader, which says so as it always has.
bool StartsLikeErd(const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(OpenFileForReading(path));
    if (!file) {
        return true;
    }
    std::array<char, 4096> head;
    const std::size_t got = std::fread(head.data(), 1, head.size(), file.get());
    if (std::ferror(file.get())) {
        return true;
    }
    std::string_view line(head.data(), got);
    line = line.substr(0, line.find('\n'));
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    line = TrimBlanks(line);
    constexpr std::string_view kSignature = "ERDFILE";
    if (line.size() < kSignature.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kSignature.size(); ++i) {
        const char c = line[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != kSignature[i]) {
            return false;
        }
    }
    return true;
}

OpenOutcome Refused(OpenFailureBox box, std::string message)
{
    OpenOutcome outcome;
    outcome.box = box;
    outcome.message = std::move(message);
    return outcome;
}

OpenOutcome Cancelled()
{
    OpenOutcome outcome;
    outcome.cancelled = true;
    return outcome;
}

// Names for channels a file does not name.
std::vector<std::string> NumberedChannels(std::int32_t count)
{
    std::vector<std::string> names;
    for (std::int32_t k = 1; k <= count; ++k) {
        names.push_back("Channel " + std::to_string(k));
    }
    return names;
}

// Asks for the channel of a file of several, as the ERD reader does. False when
// the user cancelled; `channel` is then left as it was.
bool ChooseChannel(const std::vector<std::string>& names, ChannelNumber& channel, const ChannelQuestion& askChannel)
{
    if (names.size() > 1 && askChannel) {
        const std::optional<ChannelNumber> answer = askChannel(channel, names);
        if (!answer) {
            return false;
        }
        channel = *answer;
    }
    return true;
}

OpenOutcome Loaded(ElevationProfile profile, std::vector<std::string> names)
{
    OpenOutcome outcome;
    outcome.loaded = true;
    outcome.profile = std::move(profile);
    outcome.channelNames = std::move(names);
    return outcome;
}

OpenOutcome ReadColumnText(const std::string& path, UnitSystem units)
{
    OpenOutcome outcome;
    const ColumnCheckResult check = CheckColumnProfile(path, units);
    if (!check.accepted) {
        if (check.kind == ColumnCheckFailure::NotAProfile) {
            outcome.box = OpenFailureBox::TakeoffError;
            outcome.message =
                check.message + "  Would you like to run the Varnholt to convert the file to Rondel format?";
        } else {
            outcome.box = OpenFailureBox::SkiError;
            outcome.message = check.message;
        }
        return outcome;
    }
    ColumnReadResult read = ReadColumnProfile(path, units);
    if (!read.ok) {
        outcome.box = OpenFailureBox::FileError;
        outcome.message = std::move(read.message);
        return outcome;
    }
    outcome.loaded = true;
    outcome.profile = std::move(read.profile);
    outcome.title = std::move(read.title);
    outcome.channelNames = NumberedChannels(1);
    return outcome;
}

OpenOutcome ReadErd(const std::string& path, ChannelNumber& channel, const ChannelQuestion& askChannel,
                    UnitSystem units)
{
    ErdReadResult read = ReadErdProfile(path, channel, askChannel, units);
    if (read.cancelled) {
        return Cancelled();
    }
    if (!read.ok) {
        return Refused(OpenFailureBox::ErdError, "Error 0 " + read.failureText);
    }
    OpenOutcome outcome = Loaded(std::move(read.profile), std::move(read.channelNames));
    if (read.hasTitle) {
        outcome.title = std::move(read.title);
    }
    return outcome;
}

OpenOutcome ReadPro(const std::string& path, ChannelNumber& channel, const ChannelQuestion& askChannel,
                    UnitSystem units)
{
    const ProProbeResult probe = ProbeProProfile(path);
    if (!probe.ok) {
        return Refused(OpenFailureBox::FileError, probe.message);
    }
    const std::vector<std::string> names =
        probe.pathCount == 2 ? std::vector<std::string>{"Left", "Right"} : NumberedChannels(1);
    if (!ChooseChannel(names, channel, askChannel)) {
        return Cancelled();
    }
    ProReadResult read = ReadProProfile(path, channel, units);
    if (!read.ok) {
        return Refused(OpenFailureBox::FileError, std::move(read.message));
    }
    std::vector<std::string> readNames = names;
    if (read.pathCount == 1) {
        readNames = {read.pathRead == 'R' ? "Right" : "Left"};
    }
    return Loaded(std::move(read.profile), std::move(readNames));
}

OpenOutcome ReadDelimited(const std::string& path, ChannelNumber& channel, const ChannelQuestion& askChannel,
                          UnitSystem units, const UnitsQuestion& askUnits)
{
    const DelimitedProbeResult probe = ProbeDelimitedProfile(path);
    if (!probe.ok) {
        return Refused(OpenFailureBox::FileError, probe.message);
    }
    std::vector<std::string> names = NumberedChannels(probe.layout.elevationCount);
    for (std::size_t k = 0; k < names.size(); ++k) {
        const std::string& header =
            probe.layout.headerTexts[static_cast<std::size_t>(probe.layout.elevationColumns[k])];
        if (!header.empty()) {
            names[k] = header;
        }
    }
    if (!ChooseChannel(names, channel, askChannel)) {
        return Cancelled();
    }
    DelimitedUnits given;
    const NeededUnits needed = UnitsNeeded(probe.layout, channel);
    if (needed.Any() && askUnits) {
        std::optional<DelimitedUnits> answer = askUnits(probe, needed);
        if (!answer) {
            return Cancelled();
        }
        given = *answer;
    }
    DelimitedReadResult read = ReadDelimitedProfile(path, channel, given, units);
    if (!read.ok) {
        return Refused(OpenFailureBox::FileError, std::move(read.message));
    }
    return Loaded(std::move(read.profile), std::move(names));
}

} // namespace

bool IsColumnTextPath(const std::string& path)
{
    return path.ends_with("dat");
}

NeededUnits UnitsNeeded(const DelimitedLayout& layout, ChannelNumber channel)
{
    const std::size_t pick = layout.elevationCount == 2 && channel != 1 ? 1 : 0;
    NeededUnits needed;
    needed.elevationUnit = !layout.elevationUnits[pick].has_value();
    needed.interval = layout.distanceColumn < 0;
    needed.distanceUnit = needed.interval || !layout.distanceUnit.has_value();
    return needed;
}

ProfileFormat ProfileFormatOf(const std::string& path)
{
    if (IsColumnTextPath(path)) {
        return ProfileFormat::ColumnText;
    }
    if (EndsWithIgnoringCase(path, ".pro")) {
        return ProfileFormat::Pro;
    }
    if (EndsWithIgnoringCase(path, ".csv")) {
        return ProfileFormat::Delimited;
    }
    if (EndsWithIgnoringCase(path, ".txt")) {
        return StartsLikeErd(path) ? ProfileFormat::Erd : ProfileFormat::Delimited;
    }
    return ProfileFormat::Erd;
}

OpenOutcome ReadProfileFile(const std::string& path, ChannelNumber& channel, const ChannelQuestion& askChannel,
                            UnitSystem units, const UnitsQuestion& askUnits)
{
    switch (ProfileFormatOf(path)) {
    case ProfileFormat::ColumnText:
        return ReadColumnText(path, units);
    case ProfileFormat::Pro:
        return ReadPro(path, channel, askChannel, units);
    case ProfileFormat::Delimited:
        return ReadDelimited(path, channel, askChannel, units, askUnits);
    case ProfileFormat::Erd:
        break;
    }
    return ReadErd(path, channel, askChannel, units);
}

ChannelNumber ChannelRead(ChannelNumber chosen, std::size_t channelCount)
{
    if (channelCount <= 1) {
        return 1;
    }
    if (channelCount == 2) {
        return chosen == 1 ? 1 : 2;
    }
    return chosen;
}

} // namespace zlm
