#include "profile_input/PathText.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace zlm {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

} // namespace

std::string ShortenPath(const std::string& path, std::int16_t maxLength)
{
    const auto fits = [maxLength](const std::string& text) {
        return static_cast<std::int64_t>(text.size()) <= maxLength;
    };
    if (fits(path)) {
        return path;
    }

    // A network path keeps its two backslashes, a POSIX path its root and a
    // drive path its first three characters ("C:\").
    std::string prefix;
    std::size_t start = 0;
    if (!path.empty() && path[0] == '\\') {
        prefix = "\\\\";
        start = 2;
    } else if (!path.empty() && path[0] == '/') {
        prefix = "/";
        start = 1;
    } else {
        start = std::min<std::size_t>(3, path.size());
        prefix = path.substr(0, start);
    }

    // Directory names with the separator that follows each; the candidates keep
    // the path's own separators, so a "\" path stays all "\" and a "/" path all "/".
    struct Name {
        std::string_view text;
        char separator;
    };
    std::vector<Name> directories;
    const std::string_view rest = std::string_view(path).substr(std::min(start, path.size()));
    std::size_t from = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (IsSeparator(rest[i])) {
            directories.push_back({rest.substr(from, i - from), rest[i]});
            from = i + 1;
        }
    }
    const std::string fileName(rest.substr(from));
    const std::size_t lastSeparatorAt = path.find_last_of("\\/");
    const char lastSeparator = lastSeparatorAt == std::string::npos ? '\\' : path[lastSeparatorAt];
    const std::string tail = std::string("..") + lastSeparator + fileName;

    std::string best = prefix + tail;
    if (!fits(best)) {
        return fileName;
    }
    std::string middle;
    for (const Name& directory : directories) {
        middle.append(directory.text);
        middle.push_back(directory.separator);
        std::string candidate = prefix + middle + tail;
        if (!fits(candidate)) {
            return best;
        }
        best = std::move(candidate);
    }
    return best;
}

std::string SplitFilePath(const std::string& path, std::string& directory)
{
    const std::size_t last = path.find_last_of("\\/");
    if (last == std::string::npos) {
        directory.clear();
        return path;
    }
    directory = path.substr(0, last + 1);
    return path.substr(last + 1);
}

} // namespace zlm
