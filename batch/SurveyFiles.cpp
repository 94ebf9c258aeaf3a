#include "batch/SurveyFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace zlm {

namespace {

namespace fs = std::filesystem;

fs::path Normal(const fs::path& path)
{
    std::error_code ignored;
    const fs::path absolute = fs::absolute(path, ignored);
    return (absolute.empty() ? path : absolute).lexically_normal();
}

bool IsExcluded(const fs::path& path, const std::vector<fs::path>& excluded)
{
    const fs::path normal = Normal(path);
    for (const fs::path& out : excluded) {
        const auto [outEnd, pathAt] = std::mismatch(out.begin(), out.end(), normal.begin(), normal.end());
        if (outEnd == out.end()) {
            return true; // the excluded file itself, or anything inside an excluded folder
        }
    }
    return false;
}

std::string Refusal(const std::string& what, const std::error_code& error)
{
    return what + ": " + error.message();
}

// Lists one folder argument into `found` as paths relative to it; false, with
// the refusal, when a folder of it cannot be listed.
bool ListFolder(const fs::path& root, const fs::path& relative, bool recursive, const std::vector<fs::path>& excluded,
                std::vector<fs::path>& found, std::string& refusal)
{
    std::error_code error;
    fs::directory_iterator it(root / relative, error);
    if (error) {
        refusal = Refusal("Unable to list the folder " + (root / relative).string(), error);
        return false;
    }
    std::vector<fs::path> folders;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        const fs::directory_entry& entry = *it;
        const fs::path name = relative / entry.path().filename();
        if (IsExcluded(entry.path(), excluded)) {
            continue;
        }
        std::error_code statusError;
        if (recursive && entry.is_directory(statusError) && !entry.is_symlink(statusError)) {
            folders.push_back(name);
        } else if (entry.is_regular_file(statusError) && IsSurveyProfileName(entry.path().filename().string())) {
            found.push_back(name);
        }
    }
    if (error) {
        refusal = Refusal("Unable to list the folder " + (root / relative).string(), error);
        return false;
    }
    for (const fs::path& folder : folders) {
        if (!ListFolder(root, folder, recursive, excluded, found, refusal)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IsSurveyProfileName(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    std::string extension(name.substr(dot + 1));
    for (char& c : extension) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return extension == "erd" || extension == "dat" || extension == "pro" || extension == "csv" || extension == "txt";
}

std::vector<SurveyEntry> ListSurveyProfiles(const std::vector<std::string>& arguments, bool recursive,
                                            const std::vector<std::string>& excluded)
{
    std::vector<fs::path> outputs;
    for (const std::string& path : excluded) {
        if (!path.empty()) {
            outputs.push_back(Normal(path));
        }
    }
    std::vector<SurveyEntry> entries;
    for (const std::string& argument : arguments) {
        std::error_code error;
        const fs::file_status status = fs::status(argument, error);
        if (!fs::is_directory(status)) {
            SurveyEntry entry{argument, fs::path(argument).filename().string(), ""};
            if (!fs::exists(status)) {
                entry.refusal = "Unable to open " + argument + ": no such file or folder";
            }
            entries.push_back(std::move(entry));
            continue;
        }
        std::vector<fs::path> found;
        std::string refusal;
        if (!ListFolder(argument, fs::path(), recursive, outputs, found, refusal)) {
            entries.push_back(SurveyEntry{argument, "", refusal});
            continue;
        }
        if (found.empty()) {
            entries.push_back(
                SurveyEntry{argument, "", "The folder holds no profile file (.erd, .dat, .pro, .csv, .txt)"});
            continue;
        }
        // Sorted by their text, byte by byte, so the order is the same on every system.
        std::sort(found.begin(), found.end(),
                  [](const fs::path& a, const fs::path& b) { return a.generic_string() < b.generic_string(); });
        for (const fs::path& relative : found) {
            entries.push_back(SurveyEntry{(fs::path(argument) / relative).string(), relative.generic_string(), ""});
        }
    }
    return entries;
}

} // namespace zlm
