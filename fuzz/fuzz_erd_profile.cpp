// The ERD reader on arbitrary bytes, with both answers to the channel question
// and with the question cancelled.
#include "fuzz/FuzzFile.h"
#include "profile_input/ErdProfileReader.h"
#include "profile_input/FieldText.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace {

struct Read {
    zlm::ErdReadResult result;
    bool asked = false;
    zlm::ChannelNumber channelAfter = 1;
};

Read ParseWithAnswer(std::string_view bytes, zlm::ChannelNumber earlier, std::optional<zlm::ChannelNumber> answer)
{
    Read read;
    zlm::ChannelNumber channel = earlier;
    read.result =
        zlm::ParseErdProfile(bytes, channel, [&read, answer](zlm::ChannelNumber, const std::vector<std::string>&) {
            read.asked = true;
            return answer;
        });
    read.channelAfter = channel;
    return read;
}

void CheckResult(const zlm::ErdReadResult& result)
{
    if (result.cancelled) {
        ZLM_FUZZ_CHECK(!result.ok && result.failureText.empty() && !result.hasTitle);
        ZLM_FUZZ_CHECK(result.profile.elevations.empty() && result.profile.pointCount == 0);
        return;
    }
    if (!result.ok) {
        ZLM_FUZZ_CHECK(!result.failureText.empty());
        ZLM_FUZZ_CHECK(result.profile.elevations.empty() && result.profile.pointCount == 0);
        return;
    }
    ZLM_FUZZ_CHECK(result.failureText.empty());
    ZLM_FUZZ_CHECK(result.profile.pointCount > 0);
    ZLM_FUZZ_CHECK(result.profile.elevations.size() == static_cast<std::size_t>(result.profile.pointCount));
    ZLM_FUZZ_CHECK(zlm::IsUsableInterval(result.profile.interval));
    for (const double z : result.profile.elevations) {
        ZLM_FUZZ_CHECK(zlm::FitsSingle(z));
    }
}

bool SameProfile(const zlm::ErdReadResult& a, const zlm::ErdReadResult& b)
{
    return a.ok == b.ok && a.cancelled == b.cancelled && a.failureText == b.failureText &&
           a.profile.pointCount == b.profile.pointCount && a.profile.elevations == b.profile.elevations &&
           (a.profile.interval == b.profile.interval ||
            (std::isnan(a.profile.interval) && std::isnan(b.profile.interval))) &&
           a.hasTitle == b.hasTitle && a.title == b.title;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte picks the channel chosen before this file (as the window
    // remembers it); the rest is the file.
    if (size == 0) {
        return 0;
    }
    const zlm::ChannelNumber earlier = (data[0] & 1) != 0 ? 2 : 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const Read first = ParseWithAnswer(bytes, earlier, 1);
    const Read second = ParseWithAnswer(bytes, earlier, 2);
    const Read cancelled = ParseWithAnswer(bytes, earlier, std::nullopt);
    CheckResult(first.result);
    CheckResult(second.result);
    CheckResult(cancelled.result);
    ZLM_FUZZ_CHECK(!first.result.cancelled && !second.result.cancelled);
    // Any channel of a file of many, picked by the first byte's other bits.
    const Read any = ParseWithAnswer(bytes, earlier, (data[0] >> 1) % zlm::kMaxChannels + 1);
    CheckResult(any.result);
    ZLM_FUZZ_CHECK(any.asked == first.asked);
    if (first.result.ok) {
        ZLM_FUZZ_CHECK(!first.result.channelNames.empty() && first.result.channelNames.size() <= 64);
        ZLM_FUZZ_CHECK(first.asked == (first.result.channelNames.size() > 1));
    }

    // The question is asked for the same files whatever the answer, and the
    // answer only matters when it is asked.
    ZLM_FUZZ_CHECK(first.asked == second.asked && first.asked == cancelled.asked);
    // A cancelled question stops the read as cancelled, with the channel as it was.
    ZLM_FUZZ_CHECK(cancelled.result.cancelled == cancelled.asked);
    ZLM_FUZZ_CHECK(cancelled.channelAfter == earlier);
    if (!first.asked) {
        ZLM_FUZZ_CHECK(first.channelAfter == earlier && second.channelAfter == earlier);
        ZLM_FUZZ_CHECK(SameProfile(first.result, second.result));
        ZLM_FUZZ_CHECK(SameProfile(first.result, cancelled.result));
    } else {
        ZLM_FUZZ_CHECK(first.channelAfter == 1 && second.channelAfter == 2);
        // Both channels come from the same lines: same count and interval.
        if (first.result.ok && second.result.ok) {
            ZLM_FUZZ_CHECK(first.result.profile.pointCount == second.result.profile.pointCount);
            ZLM_FUZZ_CHECK(first.result.profile.interval == second.result.profile.interval);
        }
    }

    // A file is read in chunks by its own procedure: it must read exactly as the
    // same bytes do in memory.
    static const zlm::fuzz::FuzzFile file(".erd");
    zlm::ChannelNumber fileChannel = earlier;
    const zlm::ErdReadResult fromFile =
        zlm::ReadErdProfile(file.Write(data + 1, size - 1), fileChannel,
                            [](zlm::ChannelNumber, const std::vector<std::string>&) { return 1; });
    ZLM_FUZZ_CHECK(SameProfile(fromFile, first.result));

    // CR LF and LF alone are the same line end, and empty lines at the very end
    // are no data: neither may change what is read.
    std::string variant;
    if (zlm::fuzz::WithLfOnly(bytes, variant)) {
        ZLM_FUZZ_CHECK(SameProfile(ParseWithAnswer(variant, earlier, 1).result, first.result));
    }
    if (bytes.empty() || bytes.back() != '\r') {
        variant.assign(bytes);
        variant += "\r\n\r\n\n";
        ZLM_FUZZ_CHECK(SameProfile(ParseWithAnswer(variant, earlier, 1).result, first.result));
    }
    return 0;
}
