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

std::string GridAsText(const ResultsGrid& grid, const std::string& delimiterWord)
{
    const std::int32_t rows = grid.Rows();
    const std::int32_t cols = grid.Cols();
    const bool commaForm = delimiterWord == "comma";

    std::vector<std::size_t> widths(static_cast<std::size_t>(std::max(cols, 0)), 0);
    if (!commaForm) {
        for (std::int32_t r = 0; r < rows; ++r) {
            for (std::int32_t c = 0; c < cols; ++c) {
                auto& width = widths[static_cast<std::size_t>(c)];
                width = std::max(width, grid.TextMatrix(r, c).size());
            }
        }
    }

    std::string out;
    for (std::int32_t r = 0; r < rows; ++r) {
        for (std::int32_t c = 0; c < cols; ++c) {
            const std::string& text = grid.TextMatrix(r, c);
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

SaveResult SaveGridAsText(const std::string& fileName, const std::string& delimiterWord, ResultsGrid& grid)
{
    const std::string text = GridAsText(grid, delimiterWord);
    // Writing walks the grid's cells, which leaves the bottom-right cell current.
    grid.SetRow(grid.Rows() - 1);
    if (grid.Cols() > 0) {
        grid.SetCol(grid.Cols() - 1);
    }
    const SafeWriteResult written = WriteFileSafely(fileName, text);
    return {written.ok, written.message};
}

} // namespace zlm
