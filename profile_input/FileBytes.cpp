#include "profile_input/FileBytes.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

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

namespace {

// Below this a file is read on one thread: a second one would not pay.
constexpr std::uintmax_t kBytesForSecondThread = std::uintmax_t{1} << 20;

// Reads `count` bytes at `offset` of the file into `into`; false when the file
// ends first or cannot be read.
bool ReadExactly(int descriptor, char* into, std::size_t count, std::uintmax_t offset)
{
    while (count > 0) {
        const ssize_t got = ::pread(descriptor, into, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        into += got;
        count -= static_cast<std::size_t>(got);
        offset += static_cast<std::uintmax_t>(got);
    }
    return true;
}

} // namespace

bool ReadWholeFile(std::FILE* file, std::uintmax_t size, FileText& text)
{
    text = FileText();
    const int descriptor = ::fileno(file);
    if (size > 0 && size < (std::uintmax_t{1} << 40) && descriptor >= 0) {
        const auto bytes = static_cast<std::size_t>(size);
        text.read_.reset(new (std::nothrow) char[bytes]);
        if (text.read_) {
            char* const data = text.read_.get();
            const std::size_t half = size >= kBytesForSecondThread ? bytes / 2 : 0; // 0: all in the back half
            bool backRead = true;
            const auto readBack = [&] { backRead = ReadExactly(descriptor, data + half, bytes - half, half); };
            std::thread back;
            try {
                if (half > 0)
                    back = std::thread(readBack);
            } catch (const std::system_error&) {
                // No second thread to be had: this one reads both halves.
            }
            if (!back.joinable())
                readBack();
            const bool frontRead = ReadExactly(descriptor, data, half, 0);
            if (back.joinable())
                back.join();
            // One byte more would mean the file has grown since its size was taken.
            char beyond = 0;
            if (frontRead && backRead && ::pread(descriptor, &beyond, 1, static_cast<off_t>(bytes)) == 0) {
                text.size_ = bytes;
                return true;
            }
            text.read_.reset();
        }
    }
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return false;
    return ReadRemainingBytes(file, size, text.grown_);
}

} // namespace zlm
