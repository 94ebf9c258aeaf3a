#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zlm {

/**
 * Hands out the lines of a profile file held in memory, as views into it. A line
 * ends at a line feed; a carriage return before it is not part of the line, so
 * CR LF and LF-only files read alike. A line feed at the very end of the text does
 * not start another, empty line.
 */
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    /** Moves to the next line; false when the text has no more lines. */
    bool Next(std::string_view& line);

    /** The number of the line last returned by Next, counting from 1 (0 before the first). */
    std::int64_t LineNumber() const { return lineNumber_; }

    /** The text not read yet. */
    std::string_view Remaining() const { return text_.substr(position_); }

private:
    std::string_view text_;
    std::size_t position_ = 0;
    std::int64_t lineNumber_ = 0;
};

/**
 * Hands out the lines of an open file from a byte offset on, exactly as
 * LineReader does for the same bytes in memory, reading the file in chunks so
 * that memory holds one chunk (or one line, when a line is longer). A line stays
 * valid until the next call of Next.
 */
class FileLineReader {
public:
    FileLineReader(std::FILE* file, std::uint64_t offset);

    /** Moves to the next line; false at the end of the file or on a read error. */
    bool Next(std::string_view& line);

    /** The byte offset just past the line last returned, its line feed included. */
    std::uint64_t Offset() const { return offset_; }

    /** True when reading the file failed (as opposed to ending). */
    bool Failed() const { return failed_; }

private:
    bool Fill();

    std::FILE* file_;
    std::string buffer_;
    std::size_t start_ = 0; // first unread byte in buffer_
    std::uint64_t offset_;
    bool ended_ = false;
    bool failed_ = false;
};

/**
 * Removes the empty lines (and lines of blanks only) at the very end of a text,
 * with the line end of the last line that remains; what is left holds exactly
 * the lines a reader should count.
 */
std::string_view WithoutTrailingEmptyLines(std::string_view text);

/** The number of lines LineReader hands out for the text. */
std::int64_t CountLines(std::string_view text);

} // namespace zlm
