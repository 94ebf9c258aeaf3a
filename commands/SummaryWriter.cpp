#include "commands/SummaryWriter.h"

#include "analysis/TwoHalves.h"
#include "commands/SafeFileWrite.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <string_view>
#include <vector>

namespace zlm {

namespace {

// Below this many rows a second thread costs more than it saves.
constexpr std::int32_t kRowsForSecondThread = 20'000;

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

    const auto rowsText = [&](std::int32_t first, std::int32_t end) {
        std::string out;
        for (std::int32_t r = first; r < end; ++r) {
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
    };
    // A long table's rows are formatted in two halves at once when its cells allow it.
    const bool split =
        rows >= kRowsForSecondThread && table.CellsReadConcurrently() && std::thread::hardware_concurrency() > 1;
    const std::int32_t middle = split ? rows / 2 : rows;
    std::string out;
    std::string back;
    if (const std::exception_ptr error = RunInTwoHalves(
            split, [&] { out = rowsText(0, middle); }, [&] { back = rowsText(middle, rows); })) {
        std::rethrow_exception(error);
    }
    out += back;
    return out;
}

SaveResult SaveSummary(const std::string& fileName, const TextTable& table, Delimiter delimiter)
{
    const SafeWriteResult written = WriteFileSafely(fileName, SummaryText(table, delimiter));
    return {written.ok, written.message};
}

} // namespace zlm
