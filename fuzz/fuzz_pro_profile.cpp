// The PRO reader and its header probe on arbitrary bytes, with both channels.
#include "fuzz/FuzzFile.h"
#include "profile_input/FieldText.h"
#include "profile_input/ProReader.h"

#include <string>
#include <string_view>

namespace {

void CheckResult(const zlm::ProReadResult& result)
{
    if (!result.ok) {
        ZLM_FUZZ_CHECK(!result.message.empty());
        ZLM_FUZZ_CHECK(result.profile.elevations.empty() && result.profile.pointCount == 0);
        return;
    }
    ZLM_FUZZ_CHECK(result.message.empty());
    ZLM_FUZZ_CHECK(result.pathCount == 1 || result.pathCount == 2);
    ZLM_FUZZ_CHECK(result.pathRead == 'L' || result.pathRead == 'R');
    ZLM_FUZZ_CHECK(result.profile.pointCount > 0);
    ZLM_FUZZ_CHECK(result.profile.elevations.size() == static_cast<std::size_t>(result.profile.pointCount));
    ZLM_FUZZ_CHECK(zlm::IsUsableInterval(result.profile.interval));
    for (const double z : result.profile.elevations) {
        ZLM_FUZZ_CHECK(zlm::FitsSingle(z));
    }
}

bool Same(const zlm::ProReadResult& a, const zlm::ProReadResult& b)
{
    return a.ok == b.ok && a.message == b.message && a.profile.elevations == b.profile.elevations &&
           a.profile.interval == b.profile.interval && a.profile.headerFields == b.profile.headerFields &&
           a.pathCount == b.pathCount && a.pathRead == b.pathRead;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte picks the channel; the rest is the file.
    if (size == 0) {
        return 0;
    }
    const zlm::ChannelNumber channel = (data[0] & 1) + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const zlm::ProReadResult read = zlm::ParseProProfile(bytes, channel);
    const zlm::ProReadResult other = zlm::ParseProProfile(bytes, 3 - channel);
    CheckResult(read);
    CheckResult(other);

    // The probe sees only the header: it refuses exactly what the read refuses
    // there, and the paths it counts are the ones the read finds.
    const zlm::ProProbeResult probe = zlm::ProbeProText(bytes);
    ZLM_FUZZ_CHECK(probe.ok || (!read.ok && read.message == probe.message));
    if (read.ok) {
        ZLM_FUZZ_CHECK(probe.pathCount == read.pathCount);
    }
    // The channel matters only for two paths (where only the path read must
    // hold numbers).
    if (probe.ok && probe.pathCount == 1) {
        ZLM_FUZZ_CHECK(Same(read, other));
    }
    if (read.ok && other.ok && read.pathCount == 2) {
        ZLM_FUZZ_CHECK(read.pathRead != other.pathRead && read.profile.pointCount == other.profile.pointCount);
    }

    // A file reads as its bytes do in memory; its probe reads only the header.
    static const zlm::fuzz::FuzzFile file(".pro");
    const std::string& path = file.Write(data + 1, size - 1);
    ZLM_FUZZ_CHECK(Same(zlm::ReadProProfile(path, channel), read));
    const zlm::ProProbeResult fileProbe = zlm::ProbeProProfile(path);
    ZLM_FUZZ_CHECK(fileProbe.ok == probe.ok && fileProbe.message == probe.message &&
                   fileProbe.pathCount == probe.pathCount);

    // CR LF and LF alone are the same line end, and empty lines at the very end
    // are no data.
    std::string variant;
    if (zlm::fuzz::WithLfOnly(bytes, variant)) {
        ZLM_FUZZ_CHECK(Same(zlm::ParseProProfile(variant, channel), read));
    }
    if (bytes.empty() || bytes.back() != '\r') {
        variant.assign(bytes);
        variant += "\r\n\r\n\n";
        const zlm::ProReadResult padded = zlm::ParseProProfile(variant, channel);
        // A file that ends within its header gains lines there, which may change
        // which header line is missing; from the data on nothing may change.
        if (read.ok) {
            ZLM_FUZZ_CHECK(Same(padded, read));
        }
    }
    return 0;
}
