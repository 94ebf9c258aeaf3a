#include "profile_input/LineReader.h"

#include <algorithm>
#include <cstring>

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
constexpr std::size_t kChunk = std::size_t{1} << 20;
}

FileLineReader::FileLineReader(std::FILE* file, std::uint64_t offset) : file_(file), offset_(offset)
{
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
        failed_ = true;
        ended_ = true;
    }
}

bool FileLineReader::Fill()
{
    if (ended_) {
        return false;
    }
    // Keep the unread part, then append one chunk after it.
    buffer_.erase(0, start_);
    start_ = 0;
    const std::size_t used = buffer_.size();
    buffer_.resize(used + kChunk);
    const std::size_t got = std::fread(buffer_.data() + used, 1, kChunk, file_);
    buffer_.resize(used + got);
    if (got < kChunk) {
        ended_ = true;
        failed_ = std::ferror(file_) != 0;
    }
    return got > 0;
}

bool FileLineReader::Next(std::string_view& line)
{
    std::size_t searched = start_;
    for (;;) {
        const char* begin = buffer_.data() + start_;
        const void* feed = std::memchr(buffer_.data() + searched, '\n', buffer_.size() - searched);
        if (feed != nullptr) {
            const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(feed) - begin);
            line = std::string_view(begin, length);
            start_ += length + 1;
            offset_ += length + 1;
            break;
        }
        // No line feed yet: everything unread is searched; Fill moves it to the front.
        const std::size_t unread = buffer_.size() - start_;
        if (!Fill()) {
            if (unread == 0 || failed_) {
                return false;
            }
            // The last line, without a line feed after it.
            line = std::string_view(buffer_.data() + start_, unread);
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
    const auto feeds = std::count(text.begin(), text.end(), '\n');
    return text.back() == '\n' ? feeds : feeds + 1;
}

} // namespace zlm
