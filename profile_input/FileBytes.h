#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

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

/** The bytes of a file read whole by ReadWholeFile. */
class FileText {
public:
    std::string_view View() const { return read_ ? std::string_view(read_.get(), size_) : std::string_view(grown_); }

private:
    friend bool ReadWholeFile(std::FILE* file, std::uintmax_t size, FileText& text);
    std::unique_ptr<char[]> read_; ///< not cleared before it is read into
    std::size_t size_ = 0;
    std::string grown_; ///< the bytes of a file whose size changed while it was read
};

/**
 * Reads an open regular file from its start to its end into `text`, as
 * ReadRemainingBytes does, for a file that was `size` bytes long a moment ago.
 * A large one is read in two halves on two threads at once: mapping in the
 * fresh memory costs more than copying the bytes, and two cores share it. A
 * file that is not `size` bytes long when read is read again, from its start
 * to wherever its end is then. False on a read error.
 */
bool ReadWholeFile(std::FILE* file, std::uintmax_t size, FileText& text);

} // namespace zlm
