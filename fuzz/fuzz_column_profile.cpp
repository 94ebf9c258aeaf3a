// CheckColumnProfile and ReadColumnProfile on arbitrary file contents. Both take
// a path, so every input is written to one file per process first.
#include "fuzz/FuzzFile.h"
#include "profile_input/ColumnProfileReader.h"
#include "profile_input/FieldText.h"

#include <cmath>
#include <string>

namespace {

void CheckProfile(const zlm::ColumnReadResult& read, const std::string& path)
{
    if (!read.ok) {
        // Every refusal names the file in the "File Error!" box.
        ZLM_FUZZ_CHECK(read.message.starts_with("File not found or invalid (" + path + ")."));
        ZLM_FUZZ_CHECK(read.profile.elevations.empty() && read.profile.pointCount == 0);
        return;
    }
    ZLM_FUZZ_CHECK(read.message.empty());
    ZLM_FUZZ_CHECK(read.profile.pointCount > 0);
    ZLM_FUZZ_CHECK(read.profile.elevations.size() == static_cast<std::size_t>(read.profile.pointCount));
    ZLM_FUZZ_CHECK(zlm::IsUsableInterval(read.profile.interval));
    for (const double z : read.profile.elevations) {
        ZLM_FUZZ_CHECK(zlm::FitsSingle(z));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const zlm::fuzz::FuzzFile file(".dat");
    const std::string& path = file.Write(data, size);

    const zlm::ColumnCheckResult check = zlm::CheckColumnProfile(path);
    ZLM_FUZZ_CHECK(check.accepted == (check.kind == zlm::ColumnCheckFailure::None));
    ZLM_FUZZ_CHECK(check.accepted == check.message.empty());
    ZLM_FUZZ_CHECK(check.kind != zlm::ColumnCheckFailure::NotAFile);

    // The open command reads only what the check accepted, but the reader must
    // stand on its own: it is run on every input.
    const zlm::ColumnReadResult read = zlm::ReadColumnProfile(path);
    CheckProfile(read, path);

    // CR LF and LF alone are the same line end: the file written with LF only
    // is checked and read alike.
    std::string lfOnly;
    lfOnly.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\r') {
            if (i + 1 == size || data[i + 1] != '\n') {
                return 0;
            }
            continue;
        }
        lfOnly += static_cast<char>(data[i]);
    }
    if (lfOnly.size() != size) {
        file.Write(reinterpret_cast<const std::uint8_t*>(lfOnly.data()), lfOnly.size());
        const zlm::ColumnCheckResult checkLf = zlm::CheckColumnProfile(path);
        ZLM_FUZZ_CHECK(checkLf.kind == check.kind && checkLf.message == check.message);
        const zlm::ColumnReadResult readLf = zlm::ReadColumnProfile(path);
        ZLM_FUZZ_CHECK(readLf.ok == read.ok && readLf.message == read.message && readLf.title == read.title);
        ZLM_FUZZ_CHECK(readLf.profile.elevations == read.profile.elevations);
        ZLM_FUZZ_CHECK(readLf.profile.pointCount == read.profile.pointCount);
        ZLM_FUZZ_CHECK(readLf.profile.interval == read.profile.interval ||
                       (std::isnan(readLf.profile.interval) && std::isnan(read.profile.interval)));
    }
    return 0;
}
