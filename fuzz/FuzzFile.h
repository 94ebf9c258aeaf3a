#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
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
