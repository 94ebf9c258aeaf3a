#pragma once

#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace zlm::test {

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
