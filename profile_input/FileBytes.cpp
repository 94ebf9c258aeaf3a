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
    std::error_code error;
    const auto hint = std::filesystem::file_size(path, error);
    return ReadRemainingBytes(file.get(), error ? 0 : hint, bytes);
}

bool ReadRemainingBytes(std::FILE* file, std::uintmax_t sizeHint, std::string& bytes)
{
    bytes.clear();
    // The size is only a hint for the first read: the file may change while it
    // is read, so the loop goes on until the end actually reached.
    std::size_t chunk = (sizeHint > 0 && sizeHint < (std::uintmax_t{1} << 40)) ? static_cast<std::size_t>(sizeHint) + 1
                                                                               : std::size_t{1} << 20;
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + chunk);
        const std::size_t got = std::fread(bytes.data() + used, 1, chunk, file);
        bytes.resize(used + got);
        if (got < chunk) {
            break;
        }
        chunk = std::size_t{1} << 20;
    }
    return std::ferror(file) == 0;
}

} // namespace zlm
