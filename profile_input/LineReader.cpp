#include "profile_input/LineReader.h"

#include <algorithm>
#include <cstring>

namespace zlm {

bool LineReader::next(std::string_view& line)
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

std::string_view WithoutTrailingEmptyLines(std::string_view text)
{
    // Trailing blanks of the last real line go too; every reader trims its fields.
    std::size_t end = text.size();
    while (end > 0) {
        const char c = text[end - 1];
        if (c != '\n' && c != '\r' && c != ' ' && c != '\t') {
            break;
        }
        --end;
    }
    return text.substr(0, end);
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
