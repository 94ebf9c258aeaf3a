// The delimited text reader and its layout probe on arbitrary bytes, with and
// without units from the caller.
#include "fuzz/FuzzFile.h"
#include "profile_input/DelimitedProfileReader.h"
#include "profile_input/FieldText.h"

#include <string>
#include <string_view>

namespace {

void CheckResult(const zlm::DelimitedReadResult& result)
{
    if (!result.ok) {
        ZLM_FUZZ_CHECK(!result.message.empty());
        ZLM_FUZZ_CHECK(result.profile.elevations.empty() && result.profile.pointCount == 0);
        return;
    }
    const zlm::DelimitedLayout& layout = result.layout;
    ZLM_FUZZ_CHECK(result.message.empty());
    ZLM_FUZZ_CHECK(layout.columnCount >= 1 && layout.columnCount <= 3);
    ZLM_FUZZ_CHECK(layout.elevationCount == 1 || layout.elevationCount == 2);
    ZLM_FUZZ_CHECK(layout.elevationCount + (layout.distanceColumn >= 0 ? 1 : 0) == layout.columnCount);
    ZLM_FUZZ_CHECK(result.profile.pointCount > 0);
    ZLM_FUZZ_CHECK(result.profile.elevations.size() == static_cast<std::size_t>(result.profile.pointCount));
    ZLM_FUZZ_CHECK(zlm::IsUsableInterval(result.profile.interval));
    for (const double z : result.profile.elevations) {
        ZLM_FUZZ_CHECK(zlm::FitsSingle(z));
    }
}

bool Same(const zlm::DelimitedReadResult& a, const zlm::DelimitedReadResult& b)
{
    return a.ok == b.ok && a.message == b.message && a.profile.elevations == b.profile.elevations &&
           a.profile.interval == b.profile.interval && a.profile.headerFields == b.profile.headerFields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte picks the channel and which units the caller gives; the
    // rest is the file.
    if (size == 0) {
        return 0;
    }
    const zlm::ChannelNumber channel = (data[0] & 1) + 1;
    zlm::DelimitedUnits units;
    if (data[0] & 2) {
        units.distanceUnit = zlm::LengthUnit::Inch;
    }
    if (data[0] & 4) {
        units.elevationUnit = zlm::LengthUnit::Millimetre;
    }
    if (data[0] & 8) {
        units.interval = (data[0] & 16) ? 3.0 : 0.0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const zlm::DelimitedReadResult read = zlm::ParseDelimitedProfile(bytes, channel, units);
    CheckResult(read);

    // The probe sees only the first lines: it refuses exactly what the read
    // refuses there, and the layout it finds is the read's.
    const zlm::DelimitedProbeResult probe = zlm::ProbeDelimitedText(bytes);
    ZLM_FUZZ_CHECK(probe.ok || (!read.ok && read.message == probe.message));
    if (read.ok) {
        ZLM_FUZZ_CHECK(probe.layout.columnCount == read.layout.columnCount &&
                       probe.layout.delimiter == read.layout.delimiter &&
                       probe.layout.distanceColumn == read.layout.distanceColumn &&
                       probe.layout.elevationCount == read.layout.elevationCount);
    }
    // A file reads as its bytes do in memory; its probe reads only the first lines.
    static const zlm::fuzz::FuzzFile file(".csv");
    const std::string& path = file.Write(data + 1, size - 1);
    ZLM_FUZZ_CHECK(Same(zlm::ReadDelimitedProfile(path, channel, units), read));
    const zlm::DelimitedProbeResult fileProbe = zlm::ProbeDelimitedProfile(path);
    ZLM_FUZZ_CHECK(fileProbe.ok == probe.ok && fileProbe.message == probe.message &&
                   fileProbe.layout.columnCount == probe.layout.columnCount &&
                   fileProbe.layout.delimiter == probe.layout.delimiter);

    // CR LF and LF alone are the same line end, and empty lines at the very end
    // are no data.
    std::string variant;
    if (zlm::fuzz::WithLfOnly(bytes, variant)) {
        ZLM_FUZZ_CHECK(Same(zlm::ParseDelimitedProfile(variant, channel, units), read));
    }
    if (bytes.empty() || bytes.back() != '\r') {
        variant.assign(bytes);
        variant += "\r\n\r\n\n";
        ZLM_FUZZ_CHECK(Same(zlm::ParseDelimitedProfile(variant, channel, units), read));
    }
    return 0;
}
