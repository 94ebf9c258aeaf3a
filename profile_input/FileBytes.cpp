#include "profile_input/FileBytes.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace zlm {

std::FILE* OpenFileForReading(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return nullptr;
    }
    return std::fopen(path.c_str(), "rb");
}

bool ReadFileBytes(const std::string& path, std::string& bytes)
{
    bytes.clear();
    std::unique_ptr<std::FILE, FileCloser> file(OpenFileForReading(path));
    if (!file) {
        return false;
    }
    // The size is only a hint for the first read: the file may change while it
    // is read, so the loop goes on until the end actually reached.
    std::error_code error;
    const auto hint = std::filesystem::file_size(path, error);
    std::size_t chunk = (!error && hint > 0 && hint < (std::uintmax_t{1} << 40)) ? static_cast<std::size_t>(hint) + 1
                                                                                 : std::size_t{1} << 20;
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + chunk);
        const std::size_t got = std::fread(bytes.data() + used, 1, chunk, file.get());
        bytes.resize(used + got);
        if (got < chunk) {
            break;
        }
        chunk = std::size_t{1} << 20;
    }
    return std::ferror(file.get()) == 0;
}

} // namespace zlm
