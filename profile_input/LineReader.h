#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
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
 * valid until the next call of Next. The reader reads at its own offsets,
 * never moving the file's position, so several may read one file on several
 * threads at once. With an `end`, the bytes from `end` on are as if the file
 * ended there.
 */
class FileLineReader {
public:
    static constexpr std::uint64_t kToTheEnd = ~std::uint64_t{0};

    FileLineReader(std::FILE* file, std::uint64_t offset, std::uint64_t end = kToTheEnd);

    /** Moves to the next line; false at the end of the file or on a read error. */
    bool Next(std::string_view& line);

    /** The byte offset just past the line last returned, its line feed included. */
    std::uint64_t Offset() const { return offset_; }

    /** True when reading the file failed (as opposed to ending). */
    bool Failed() const { return failed_; }

    /**
     * Reads the file to its end and returns how many of the lines from here on
     * are data lines (CountDataLines), looking at the bytes in bulk rather than
     * line by line; `lineFeeds`, when given, receives the number of line feeds read.
     */
    std::int64_t CountDataLinesToEnd(std::int64_t* lineFeeds = nullptr);

private:
    bool Fill();

    int descriptor_;
    // Filled by reads only, never cleared first: of capacity_ bytes, size_ hold file bytes.
    std::unique_ptr<char[]> buffer_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::size_t start_ = 0; // first unread byte in buffer_
    std::uint64_t offset_;
    std::uint64_t readAt_; // the file offset of the next chunk
    std::uint64_t end_;
    bool ended_ = false;
    bool failed_ = false;
};

/**
 * True for the characters that leave a line empty in the sense of the data-line
 * rule: blank, tab, carriage return and line feed. A line of nothing else at the
 * very end of a profile is not a data line.
 */
bool IsBlankLineCharacter(char c);

/** The number of line feeds in `text`, counted eight bytes at a time. */
std::int64_t CountLineFeeds(std::string_view text);

/** True when the line holds nothing but blank-line characters (or nothing at all). */
bool IsBlankLine(std::string_view line);

/** The line without the blank-line characters at its end: the form the last data line is read in. */
std::string_view WithoutTrailingBlanks(std::string_view line);

/**
 * The number of data lines among the lines a reader (LineReader or
 * FileLineReader) hands out from where it stands: every line up to and
 * including the last one that is not blank, so that empty and blank-only lines
 * at the very end are no data while those between data lines are. Reads the
 * reader to its end; a FileLineReader's Failed tells whether the count is whole.
 */
inline std::int64_t CountDataLines(FileLineReader& lines)
{
    return lines.CountDataLinesToEnd();
}

/** CountDataLines for any other reader, line by line. */
template <typename Lines> std::int64_t CountDataLines(Lines& lines)
{
    std::int64_t count = 0;
    std::string_view line;
    for (std::int64_t index = 1; lines.Next(line); ++index) {
        if (!IsBlankLine(line)) {
            count = index;
        }
    }
    return count;
}

/**
 * Removes the empty lines (and lines of blanks only) at the very end of a text,
 * with the line end of the last line that remains and that line's trailing
 * blanks; what is left holds exactly the lines CountDataLines counts for the
 * same text, the last of them in its WithoutTrailingBlanks form.
 */
std::string_view WithoutTrailingEmptyLines(std::string_view text);

/** The number of lines LineReader hands out for the text. */
std::int64_t CountLines(std::string_view text);

} // namespace zlm
