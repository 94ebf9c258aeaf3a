#pragma once

#include <string>

namespace zlm {

/**
 * Reads a whole file into memory as 8-bit bytes, undecoded. Returns false when
 * the file cannot be opened or read (a folder, a missing file, an I/O error);
 * the size of `bytes` is then unspecified. The memory used grows with the bytes
 * actually read, never with anything the file declares.
 */
bool ReadFileBytes(const std::string& path, std::string& bytes);

} // namespace zlm
