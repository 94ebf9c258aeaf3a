#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace zlm::fuzz {

/**
 * A file in /tmp that holds the current input, for the readers that take a
 * path. One per process and extension, rewritten for every input, removed at
 * exit; the process id keeps parallel fuzzers apart.
 */
class FuzzFile {
public:
    explicit FuzzFile(const std::string& extension) : path_("/tmp/zlm-fuzz-" + std::to_string(::getpid()) + extension)
    {
    }
    ~FuzzFile() { std::remove(path_.c_str()); }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    /** Replaces the file's bytes; aborts when that fails, as the run would test nothing. */
    const std::string& Write(const std::uint8_t* data, std::size_t size) const
    {
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
            std::perror(path_.c_str());
            std::abort();
        }
        return path_;
    }

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

/** The bytes with every CR LF turned into LF; false when a CR stands anywhere else. */
inline bool WithLfOnly(std::string_view bytes, std::string& lfOnly)
{
    lfOnly.clear();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 == bytes.size() || bytes[i + 1] != '\n') {
                return false;
            }
            continue;
        }
        lfOnly += bytes[i];
    }
    return true;
}

/** Stops the run with a message: libFuzzer keeps the input that broke an invariant. */
[[noreturn]] inline void Broken(const char* what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

#define ZLM_FUZZ_CHECK(condition)                                                                                      \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            ::zlm::fuzz::Broken(#condition);                                                                           \
        }                                                                                                              \
    } while (false)

} // namespace zlm::fuzz
