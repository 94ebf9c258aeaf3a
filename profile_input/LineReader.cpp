#include "profile_input/LineReader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <limits>

namespace zlm {

bool LineReader::Next(std::string_view& line)
{
    if (position_ >= text_.size()) {
        return false;
    }
    const char* start = text_.data() + position_;
    const std::size_t left = text_.size() - position_;
    const void* feed = std::memchr(start, '\n', left);
    const std::size_t length = feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - start) : left;
    line = std::string_view(start, length);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    position_ += feed ? length + 1 : length;
    ++lineNumber_;
    return true;
}

namespace {

// A chunk small enough to stay in the processor's cache between its read and its lines' use.
constexpr std::size_t kChunk = std::size_t{256} << 10;

} // namespace

FileLineReader::FileLineReader(std::FILE* file, std::uint64_t offset, std::uint64_t end)
    : descriptor_(::fileno(file)), offset_(offset), readAt_(offset), end_(end)
{
    if (descriptor_ < 0 || offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
        failed_ = true;
        ended_ = true;
    }
}

bool FileLineReader::Fill()
{
    if (ended_) {
        return false;
    }
    // Keep the unread part, moved to the front, then read one chunk after it.
    const std::size_t unread = size_ - start_;
    if (unread + kChunk > capacity_) {
        const std::size_t capacity = std::max(2 * capacity_, unread + kChunk);
        std::unique_ptr<char[]> grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (unread > 0) {
            std::memcpy(grown.get(), buffer_.get() + start_, unread);
        }
        buffer_ = std::move(grown);
        capacity_ = capacity;
    } else if (unread > 0 && start_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + start_, unread);
    }
    start_ = 0;
    size_ = unread;
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end_ - readAt_));
    std::size_t got = 0;
    while (got < wanted) {
        const ssize_t read = ::pread(descriptor_, buffer_.get() + size_ + got, wanted - got,
                                     static_cast<off_t>(readAt_ + got));
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read <= 0) {
            failed_ = read < 0;
            break;
        }
        got += static_cast<std::size_t>(read);
    }
    size_ += got;
    readAt_ += got;
    if (got < kChunk) {
        ended_ = true;
    }
    return got > 0;
}

bool FileLineReader::Next(std::string_view& line)
{
    std::size_t searched = start_;
    for (;;) {
        const char* begin = buffer_.get() + start_;
        const void* feed = size_ > searched ? std::memchr(buffer_.get() + searched, '\n', size_ - searched) : nullptr;
        if (feed != nullptr) {
            const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(feed) - begin);
            line = std::string_view(begin, length);
            start_ += length + 1;
            offset_ += length + 1;
            break;
        }
        // No line feed yet: everything unread is searched; Fill moves it to the front.
        const std::size_t unread = size_ - start_;
        if (!Fill()) {
            if (unread == 0 || failed_) {
                return false;
            }
            // The last line, without a line feed after it.
            line = std::string_view(buffer_.get() + start_, unread);
            start_ += unread;
            offset_ += unread;
            break;
        }
        searched = unread;
    }
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return true;
}

std::int64_t FileLineReader::CountDataLinesToEnd(std::int64_t* lineFeeds)
{
    // The data lines end with the line of the last byte that is not blank: their
    // count is one more than the line feeds before that byte.
    std::int64_t feeds = 0; // line feeds in the bytes looked at so far
    std::int64_t count = 0;
    do {
        const char* const begin = buffer_.get() + start_;
        const char* const end = buffer_.get() + size_;
        const char* last = end;
        while (last != begin && IsBlankLineCharacter(last[-1])) {
            --last;
        }
        if (last != begin) {
            --last; // the last byte that is not blank
            feeds += CountLineFeeds(std::string_view(begin, static_cast<std::size_t>(last - begin)));
            count = feeds + 1;
            feeds += CountLineFeeds(std::string_view(last, static_cast<std::size_t>(end - last)));
        } else {
            feeds += CountLineFeeds(std::string_view(begin, static_cast<std::size_t>(end - begin)));
        }
        offset_ += static_cast<std::uint64_t>(end - begin);
        start_ = size_;
    } while (Fill());
    if (lineFeeds != nullptr) {
        *lineFeeds = feeds;
    }
    return count;
}

std::int64_t CountLineFeeds(std::string_view text)
{
    // In each 8-byte word the bytes equal to a line feed become zero, and a zero
    // byte is the one whose high bit stays clear after adding 0x7f to its low
    // seven bits (no carry crosses a byte). That bit, moved to the bottom of its
    // byte, is added up byte by byte over at most 255 words (so no byte's sum
    // carries into the next); the eight sums are then added together. This needs
    // no population count, which a baseline x86-64 build makes a library call.
    constexpr std::uint64_t kFeeds = 0x0a0a0a0a0a0a0a0aULL;
    constexpr std::uint64_t kLow = 0x7f7f7f7f7f7f7f7fULL;
    constexpr std::uint64_t kEvenBytes = 0x00ff00ff00ff00ffULL;
    constexpr std::ptrdiff_t kWordsPerSum = 255;
    const char* p = text.data();
    const char* const end = p + text.size();
    std::int64_t count = 0;
    while (end - p >= 8) {
        const char* const stop = p + 8 * std::min(kWordsPerSum, (end - p) / 8);
        std::uint64_t byteSums = 0;
        for (; p != stop; p += 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            const std::uint64_t v = word ^ kFeeds;
            const std::uint64_t nonZero = ((v & kLow) + kLow) | v;
            byteSums += (~nonZero & ~kLow) >> 7;
        }
        // Pairs of byte sums (each at most 510) in four 16-bit lanes, then the lanes' total in the top one.
        const std::uint64_t pairSums = (byteSums & kEvenBytes) + ((byteSums >> 8) & kEvenBytes);
        count += static_cast<std::int64_t>((pairSums * 0x0001000100010001ULL) >> 48);
    }
    for (; p != end; ++p) {
        count += *p == '\n' ? 1 : 0;
    }
    return count;
}

bool IsBlankLineCharacter(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsBlankLine(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), IsBlankLineCharacter);
}

std::string_view WithoutTrailingBlanks(std::string_view line)
{
    while (!line.empty() && IsBlankLineCharacter(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

std::string_view WithoutTrailingEmptyLines(std::string_view text)
{
    // Line ends are blank-line characters too, so this also drops the empty
    // lines; trailing blanks of the last real line go as well.
    return WithoutTrailingBlanks(text);
}

std::int64_t CountLines(std::string_view text)
{
    if (text.empty()) {
        return 0;
    }
    const std::int64_t feeds = CountLineFeeds(text);
    return text.back() == '\n' ? feeds : feeds + 1;
}

} // namespace zlm
