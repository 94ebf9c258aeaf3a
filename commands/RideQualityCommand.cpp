#include "commands/RideQualityCommand.h"

#include "commands/ProfileChecks.h"

#include <optional>
#include <utility>

namespace zlm {

namespace {

std::string ChannelsText(std::int32_t count)
{
    return std::to_string(count) + (count == 1 ? " channel" : " channels");
}

} // namespace

std::optional<std::string> PathsRefusal(const ElevationProfile& left, const ElevationProfile& right, UnitSystem units)
{
    for (const ElevationProfile* path : {&left, &right}) {
        if (path == &right && right.pointCount == 0) {
            break;
        }
        if (auto refusal = OpenProfileRefusal(*path, units)) {
            return refusal;
        }
        if (auto refusal = ElevationRefusal(*path, units)) {
            return refusal;
        }
    }
    return std::nullopt;
}

RidePathChoice DefaultRidePaths(std::int32_t channelCount)
{
    return channelCount >= 2 ? RidePathChoice{1, 2} : RidePathChoice{1, 0};
}

RidePathsRead ReadRidePaths(RidePathChoice choice, const ChannelReader& readChannel)
{
    RidePathsRead read;
    OpenOutcome first = readChannel(choice.left > 0 ? choice.left : 1);
    if (!first.loaded) {
        read.message = first.cancelled && first.message.empty() ? "The profile was not read" : first.message;
        return read;
    }
    const auto count = static_cast<std::int32_t>(first.channelNames.size());
    if (choice.left <= 0) {
        choice = DefaultRidePaths(count);
    }
    for (const ChannelNumber channel : {choice.left, choice.right}) {
        if (channel > count) {
            read.message =
                "The file has " + ChannelsText(count) + "; channel " + std::to_string(channel) + " was asked for";
            return read;
        }
    }
    read.paths = choice;
    read.left = std::move(first.profile);
    read.channelNames = std::move(first.channelNames);
    if (choice.right > 0) {
        OpenOutcome second = readChannel(choice.right);
        if (!second.loaded) {
            read.message = second.message;
            return read;
        }
        read.right = std::move(second.profile);
    }
    read.loaded = true;
    return read;
}

RidePathsRead ReadRidePaths(const std::string& path, RidePathChoice choice, UnitSystem units,
                            const DelimitedUnits& delimitedUnits)
{
    return ReadRidePaths(choice, [&](ChannelNumber channel) {
        ChannelNumber chosen = channel;
        const ChannelQuestion answerChannel = [chosen](ChannelNumber, const std::vector<std::string>&) {
            return chosen;
        };
        const UnitsQuestion answerUnits = [&](const DelimitedProbeResult&, const NeededUnits&) {
            return std::optional<DelimitedUnits>(delimitedUnits);
        };
        return ReadProfileFile(path, chosen, answerChannel, units, answerUnits);
    });
}

RideQualityRun RunRideQuality(SessionState& state, const RideQualityMethod& method, ProgressSink& progress)
{
    RideQualityRun run;
    RideQualitySlot& slot = state.rideQuality;
    if (const std::optional<std::string> refusal = PathsRefusal(slot.left, slot.right, method.units)) {
        run.refusal = *refusal;
        return run;
    }
    try {
        RideQualityOutcome outcome =
            AnalyseRideQuality(slot.left.elevations, slot.right.elevations, slot.left.interval, method, progress);
        if (!outcome.ok) {
            run.refusal = std::move(outcome.refusal);
            return run;
        }
        slot.method = method;
        slot.results = std::move(outcome.results);
        slot.valid = true;
    } catch (const RunCancelled&) {
        progress.SetVisible(false);
        run.cancelled = true;
        return run;
    }
    run.ran = true;
    return run;
}

} // namespace zlm
