#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace zlm::test {

/** A folder of its own under the system's temporary folder, removed with the object. */
class TempFolder {
public:
    TempFolder()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "zlm-readers-";
        if (info) {
            name += std::string(info->test_suite_name()) + "-" + info->name();
        }
        for (char& c : name) {
            if (c == '/') {
                c = '-';
            }
        }
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /** Writes `bytes` exactly to a file of that name and returns its full path. */
    std::string write(const std::string& name, const std::string& bytes) const
    {
        const std::filesystem::path file = path_ / name;
        std::ofstream out(file, std::ios::binary);
        out << bytes;
        return file.string();
    }

    std::string path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

/** Joins lines, each followed by `lineEnd`. */
inline std::string JoinLines(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n")
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += lineEnd;
    }
    return text;
}

/** A 16-character label followed by a value: one header line of a column-text profile. */
inline std::string Labelled(const std::string& label, const std::string& value)
{
    std::string line = label;
    line.resize(16, ' ');
    return line + value;
}

/** A column-text data line: an 18-character leading field and the elevation right-aligned in 9. */
inline std::string DataLine(const std::string& lead, const std::string& elevation)
{
    std::string line = lead.substr(0, 11);
    line.resize(18, ' ');
    std::string field = elevation;
    if (field.size() < 9) {
        field.insert(0, 9 - field.size(), ' ');
    }
    return line + field;
}

/** The header of a column-text profile, lines 1 to 11. */
struct ColumnHeader {
    std::string title = "Test road, lane 1";
    std::string units = "English";
    std::string interval = "0.250";
    std::string line6 = "1";
    std::string count = "3";
};

inline std::vector<std::string> ColumnLines(const ColumnHeader& header, const std::vector<std::string>& data)
{
    std::vector<std::string> lines = {
        Labelled("Title:", header.title),
        Labelled("Operator:", "J. Doe"),
        Labelled("Date:", "2005-06-01"),
        Labelled("Units:", header.units),
        Labelled("Interval (ft):", header.interval),
        Labelled("Offset:", header.line6),
        Labelled("Speed:", "45"),
        Labelled("Points:", header.count),
        Labelled("Comment:", "none"),
        "Station            Elevation",
        "-----------------------------------",
    };
    lines.insert(lines.end(), data.begin(), data.end());
    return lines;
}

} // namespace zlm::test
