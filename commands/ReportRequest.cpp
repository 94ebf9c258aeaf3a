#include "commands/ReportRequest.h"

#include "analysis/UnitSystem.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace zlm {

namespace {

/** The shortest fixed-point text that reads back as `value` (no exponent: --section takes none). */
template <typename Real> std::string ShortestText(Real value)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

/**
 * --columns-units and --interval as the delimited profile was read with them.
 * The option takes both units; one the header gave (and which wins over the
 * option) is written as the profile records it.
 */
std::string DelimitedUnitsOptions(const DelimitedUnits& given, const ElevationProfile& profile)
{
    std::string options;
    if (given.distanceUnit || given.elevationUnit) {
        const auto symbol = [](const std::optional<LengthUnit>& unit, const std::string& recorded,
                               const std::optional<LengthUnit>& other) {
            return unit                ? std::string(LengthUnitSymbol(*unit))
                   : !recorded.empty() ? recorded
                                       : std::string(LengthUnitSymbol(*other));
        };
        options += " --columns-units " + symbol(given.distanceUnit, profile.nativeDistanceUnit, given.elevationUnit) +
                   "," + symbol(given.elevationUnit, profile.nativeElevationUnit, given.distanceUnit);
    }
    if (given.interval) {
        options += " --interval " + ShortestText(*given.interval);
    }
    return options;
}

/** The profile path as the command's last word, after "--" when it would read as an option. */
std::string ProfileWord(const std::string& profilePath)
{
    return (profilePath.starts_with("-") ? " -- " : " ") + ShellQuoted(profilePath);
}

} // namespace

std::string ShellQuoted(const std::string& word)
{
    bool safe = !word.empty();
    for (const char c : word) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                           c == '-' || c == '.' || c == '/' || c == ',' || c == '+' || c == ':' || c == '@' ||
                           c == '%' || c == '=';
        safe = safe && plain;
    }
    if (safe) {
        return word;
    }
    std::string quoted = "'";
    for (const char c : word) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string ReproducingCommandLine(const SessionState& state, const std::string& profilePath)
{
    const StraightedgeMethod& method = state.straightedge.results.method;
    std::string line = "zlm-batch --units ";
    line += method.units == UnitSystem::SI ? "si" : "us";
    line += " --length " + ShortestText(method.baseLength);
    line += " --step " + (method.continuous ? std::string("continuous") : ShortestText(method.step));
    line += " --threshold " + ShortestText(method.tolerance);
    if (state.straightedge.results.HasSectionSummary()) {
        line += " --section " + ShortestText(state.straightedge.results.sectionLength);
    }
    if (state.channelRead != 1) {
        line += " --channel " + std::to_string(state.channelRead);
    }
    line += DelimitedUnitsOptions(state.delimitedUnits, state.profile);
    return line + ProfileWord(profilePath);
}

std::string RideReproducingCommandLine(const SessionState& state, const std::string& profilePath)
{
    const RideQualitySlot& slot = state.rideQuality;
    const RideQualityMethod& method = slot.results.method;
    std::string line = "zlm-batch --ride --units ";
    line += method.units == UnitSystem::SI ? "si" : "us";
    if (method.sectionLength > 0.0) {
        line += " --section " + ShortestText(method.sectionLength);
    }
    if (slot.rightChannel == 0) {
        line += " --channel " + std::to_string(slot.leftChannel);
    } else if (slot.leftChannel != 1 || slot.rightChannel != 2) {
        line += " --paths " + std::to_string(slot.leftChannel) + "," + std::to_string(slot.rightChannel);
    }
    if (method.localized) {
        line += " --localized " + ShellQuoted(std::filesystem::path(profilePath).stem().string() + ".localized.csv");
    }
    line += " --base " + ShortestText(method.baseLength);
    line += " --lr-threshold " + ShortestText(method.threshold);
    line += DelimitedUnitsOptions(slot.delimitedUnits, slot.left);
    return line + ProfileWord(profilePath);
}

AnalysisTime ChooseAnalysisTime(const char* sourceDateEpoch, std::int64_t now)
{
    AnalysisTime time;
    if (sourceDateEpoch == nullptr) {
        time.ok = true;
        time.seconds = now;
        return time;
    }
    const std::string text(sourceDateEpoch);
    std::int64_t seconds = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || text[0] == '-' || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        time.message = "SOURCE_DATE_EPOCH must be a whole number of seconds since 1970, not \"" + text + "\"";
        return time;
    }
    time.ok = true;
    time.seconds = seconds;
    return time;
}

std::string UtcTimeText(std::int64_t seconds)
{
    using namespace std::chrono;
    const sys_seconds at{std::chrono::seconds(seconds)};
    const sys_days day = floor<days>(at);
    const year_month_day date(day);
    const hh_mm_ss clock(at - day);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld:%02ld:%02lld UTC", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>(clock.hours().count()), static_cast<long>(clock.minutes().count()),
                  static_cast<long long>(clock.seconds().count()));
    return text;
}

} // namespace zlm
