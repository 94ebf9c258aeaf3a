#include "commands/SummaryWriter.h"

#include "commands/SafeFileWrite.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace zlm {

namespace {

/** The summary trims spaces only; the grid holds ASCII text. */
std::string_view TrimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

std::string SummaryText(const TextTable& table, Delimiter delimiter)
{
    const std::int32_t rows = table.Rows();
    const std::int32_t cols = table.Cols();
    const bool commaForm = delimiter == Delimiter::Comma;

    std::vector<std::size_t> widths(static_cast<std::size_t>(std::max(cols, 0)), 0);
    if (!commaForm) {
        for (std::int32_t r = 0; r < rows; ++r) {
            for (std::int32_t c = 0; c < cols; ++c) {
                auto& width = widths[static_cast<std::size_t>(c)];
                width = std::max(width, table.Cell(r, c).size());
            }
        }
    }

    std::string out;
    for (std::int32_t r = 0; r < rows; ++r) {
        for (std::int32_t c = 0; c < cols; ++c) {
            const std::string text = table.Cell(r, c);
            const bool last = c == cols - 1;
            if (commaForm) {
                out += TrimSpaces(text);
                if (!last) {
                    out += ',';
                }
            } else if (last) {
                out += TrimSpaces(text);
            } else {
                out += text;
                out.append(widths[static_cast<std::size_t>(c)] + 5 - text.size(), ' ');
            }
        }
        out += "\r\n";
    }
    return out;
}

SaveResult SaveSummary(const std::string& fileName, const TextTable& table, Delimiter delimiter)
{
    const SafeWriteResult written = WriteFileSafely(fileName, SummaryText(table, delimiter));
    return {written.ok, written.message};
}

} // namespace zlm
