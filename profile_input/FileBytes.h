#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace zlm {

/** Closes a file held in a std::unique_ptr. */
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

/**
 * Opens a regular file for reading as bytes; nullptr when it cannot be opened
 * or is not a regular file (a folder, a device).
 */
std::FILE* OpenFileForReading(const std::string& path);

/**
 * Reads a whole file into memory as 8-bit bytes, undecoded. Returns false when
 * the file cannot be opened or read (a folder, a missing file, an I/O error);
 * the size of `bytes` is then unspecified. The memory used grows with the bytes
 * actually read, never with anything the file declares.
 */
bool ReadFileBytes(const std::string& path, std::string& bytes);

/**
 * Reads an open file from where it stands to its end into `bytes`, as
 * ReadFileBytes does; `sizeHint` (the expected size, 0 when unknown) only sizes
 * the first read. False on a read error.
 */
bool ReadRemainingBytes(std::FILE* file, std::uintmax_t sizeHint, std::string& bytes);

} // namespace zlm
