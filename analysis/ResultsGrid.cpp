#include "analysis/ResultsGrid.h"

#include <algorithm>
#include <utility>

namespace zlm {

namespace {

std::uint8_t StoredAlignment(CellAlignment alignment)
{
    return static_cast<std::uint8_t>(alignment);
}

} // namespace

ResultsGrid::ResultsGrid()
    : texts_(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_)), backColors_(texts_.size(), kWhite),
      alignments_(texts_.size(), StoredAlignment(CellAlignment::General)),
      colWidths_(static_cast<std::size_t>(cols_), -1)
{
}

std::size_t ResultsGrid::CellIndex(std::int32_t row, std::int32_t col) const
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col);
}

bool ResultsGrid::Contains(std::int32_t row, std::int32_t col) const
{
    return row >= 0 && row < rows_ && col >= 0 && col < cols_;
}

void ResultsGrid::ResizeCells(std::int32_t rows, std::int32_t cols)
{
    if (rows == rows_ && cols == cols_) {
        return;
    }
    if (shown_ != nullptr) {
        StoreShownRows(cols == cols_ ? std::min(rows, rows_) : rows_);
    }
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    if (cols == cols_) {
        // Rows only: the cells of the kept rows stay where they are, so this is
        // linear in the rows added or dropped.
        texts_.resize(count);
        backColors_.resize(count, kWhite);
        alignments_.resize(count, StoredAlignment(CellAlignment::General));
        // Give the memory of a long table back once the grid is cut back.
        if (texts_.capacity() > 4 * count + 64) {
            texts_.shrink_to_fit();
            backColors_.shrink_to_fit();
            alignments_.shrink_to_fit();
        }
    } else {
        std::vector<std::string> texts(count);
        std::vector<CellColor> colors(count, kWhite);
        std::vector<std::uint8_t> alignments(count, StoredAlignment(CellAlignment::General));
        const std::int32_t keptRows = std::min(rows, rows_);
        const std::int32_t keptCols = std::min(cols, cols_);
        for (std::int32_t r = 0; r < keptRows; ++r) {
            for (std::int32_t c = 0; c < keptCols; ++c) {
                const std::size_t from = CellIndex(r, c);
                const std::size_t to =
                    static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c);
                texts[to] = std::move(texts_[from]);
                colors[to] = backColors_[from];
                alignments[to] = alignments_[from];
            }
        }
        texts_ = std::move(texts);
        backColors_ = std::move(colors);
        alignments_ = std::move(alignments);
        colWidths_.resize(static_cast<std::size_t>(cols), -1);
    }
    if (rowHeights_.size() > static_cast<std::size_t>(rows)) {
        rowHeights_.resize(static_cast<std::size_t>(rows));
    }
    if (rows != rows_ || cols != cols_) {
        ++layoutRevision_;
    }
    rows_ = rows;
    cols_ = cols;
    fixedCols_ = std::min(fixedCols_, cols_ - 1);
    row_ = std::min(row_, rows_ - 1);
    col_ = std::min(col_, cols_ - 1);
    if (!hasSelection_) {
        selection_ = {row_, col_, row_, col_};
    }
}

std::int32_t ResultsGrid::Rows() const
{
    return rows_;
}

void ResultsGrid::SetRows(std::int32_t rows)
{
    ResizeCells(std::max(rows, 1), cols_);
}

std::int32_t ResultsGrid::Cols() const
{
    return cols_;
}

void ResultsGrid::SetCols(std::int32_t cols)
{
    ResizeCells(rows_, std::max(cols, 1));
}

std::int32_t ResultsGrid::FixedCols() const
{
    return fixedCols_;
}

void ResultsGrid::SetFixedCols(std::int32_t fixedCols)
{
    fixedCols_ = std::clamp(fixedCols, 0, cols_ - 1);
}

std::int32_t ResultsGrid::ColWidth(std::int32_t col) const
{
    if (col < 0 || col >= cols_) {
        return -1;
    }
    return colWidths_[static_cast<std::size_t>(col)];
}

void ResultsGrid::SetColWidth(std::int32_t col, std::int32_t twips)
{
    if (col < 0 || col >= cols_) {
        return;
    }
    colWidths_[static_cast<std::size_t>(col)] = twips < 0 ? -1 : twips;
}

std::int32_t ResultsGrid::RowHeight(std::int32_t row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= rowHeights_.size()) {
        return -1;
    }
    return rowHeights_[static_cast<std::size_t>(row)];
}

void ResultsGrid::SetRowHeight(std::int32_t row, std::int32_t twips)
{
    if (row < 0 || row >= rows_) {
        return;
    }
    const auto index = static_cast<std::size_t>(row);
    if (index >= rowHeights_.size()) {
        if (twips < 0) {
            return; // already the default
        }
        rowHeights_.resize(index + 1, -1);
    }
    rowHeights_[index] = twips < 0 ? -1 : twips;
}

std::int32_t ResultsGrid::Row() const
{
    return row_;
}

void ResultsGrid::SetRow(std::int32_t row)
{
    if (row < 0 || row >= rows_) {
        return;
    }
    row_ = row;
    hasSelection_ = false;
    selection_ = {row_, col_, row_, col_};
}

std::int32_t ResultsGrid::Col() const
{
    return col_;
}

void ResultsGrid::SetCol(std::int32_t col)
{
    if (col < 0 || col >= cols_) {
        return;
    }
    col_ = col;
    hasSelection_ = false;
    selection_ = {row_, col_, row_, col_};
}

std::string ResultsGrid::Text() const
{
    return TextMatrix(row_, col_);
}

void ResultsGrid::SetText(std::string text)
{
    SetTextMatrix(row_, col_, std::move(text));
}

std::string ResultsGrid::TextMatrix(std::int32_t row, std::int32_t col) const
{
    if (!Contains(row, col)) {
        return {};
    }
    if (Shown(row)) {
        return shown_->Cell(row, col);
    }
    return texts_[CellIndex(row, col)];
}

void ResultsGrid::SetTextMatrix(std::int32_t row, std::int32_t col, std::string text)
{
    if (!Contains(row, col)) {
        return;
    }
    if (Shown(row)) {
        StoreShownRows(rows_);
    }
    texts_[CellIndex(row, col)] = std::move(text);
}

void ResultsGrid::SetCellBackColor(CellColor color)
{
    if (Shown(row_)) {
        StoreShownRows(rows_);
    }
    backColors_[CellIndex(row_, col_)] = color;
}

CellColor ResultsGrid::CellBackColor(std::int32_t row, std::int32_t col) const
{
    if (!Contains(row, col)) {
        return kWhite;
    }
    if (Shown(row)) {
        return shownColour_ ? shownColour_(row) : kWhite;
    }
    return backColors_[CellIndex(row, col)];
}

void ResultsGrid::SetCellAlignment(CellAlignment alignment)
{
    if (Shown(row_)) {
        StoreShownRows(rows_);
    }
    alignments_[CellIndex(row_, col_)] = StoredAlignment(alignment);
}

CellAlignment ResultsGrid::CellAlignmentAt(std::int32_t row, std::int32_t col) const
{
    if (!Contains(row, col)) {
        return CellAlignment::General;
    }
    if (Shown(row)) {
        return CellAlignment::General;
    }
    return static_cast<CellAlignment>(alignments_[CellIndex(row, col)]);
}

bool ResultsGrid::FontBold() const
{
    return fontBold_;
}

void ResultsGrid::SetFontBold(bool bold)
{
    fontBold_ = bold;
}

bool ResultsGrid::WordWrap() const
{
    return wordWrap_;
}

void ResultsGrid::SetWordWrap(bool wrap)
{
    wordWrap_ = wrap;
}

std::int32_t ResultsGrid::Width() const
{
    return width_;
}

void ResultsGrid::SetWidth(std::int32_t twips)
{
    width_ = twips;
}

const ResultsGrid::Selection& ResultsGrid::CurrentSelection() const
{
    return selection_;
}

void ResultsGrid::SetSelection(const Selection& selection)
{
    selection_ = selection;
    hasSelection_ = true;
}

std::string ResultsGrid::Clip() const
{
    // The part of the selected range that lies inside the grid.
    const std::int32_t top = std::max(std::min(selection_.row1, selection_.row2), 0);
    const std::int32_t bottom = std::min(std::max(selection_.row1, selection_.row2), rows_ - 1);
    const std::int32_t left = std::max(std::min(selection_.col1, selection_.col2), 0);
    const std::int32_t right = std::min(std::max(selection_.col1, selection_.col2), cols_ - 1);
    std::string clip;
    if (top > bottom || left > right) {
        return clip;
    }
    for (std::int32_t r = top; r <= bottom; ++r) {
        if (r > top) {
            clip.push_back('\n');
        }
        for (std::int32_t c = left; c <= right; ++c) {
            if (c > left) {
                clip.push_back('\t');
            }
            clip.append(TextMatrix(r, c));
        }
    }
    return clip;
}

std::uint64_t ResultsGrid::LayoutRevision() const
{
    return layoutRevision_;
}

void ResultsGrid::ShowRows(std::shared_ptr<const TextTable> rows, RowColour rowColour)
{
    if (rows == nullptr) {
        return;
    }
    // The grid keeps its header row and drops every other; the shown rows take their place.
    SetRows(1);
    const std::int32_t count = std::max(rows->Rows(), 1);
    shown_ = std::move(rows);
    shownColour_ = std::move(rowColour);
    if (count != rows_) {
        ++layoutRevision_;
    }
    rows_ = count;
}

void ResultsGrid::StoreShownRows(std::int32_t keptRows)
{
    const std::shared_ptr<const TextTable> shown = std::move(shown_);
    const RowColour colour = std::move(shownColour_);
    shown_.reset();
    shownColour_ = {};
    const std::int32_t rows = std::clamp(keptRows, 1, rows_);
    // The cells hold row 0 alone while rows are shown.
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols_);
    texts_.resize(count);
    backColors_.resize(count, kWhite);
    alignments_.resize(count, StoredAlignment(CellAlignment::General));
    for (std::int32_t r = 1; r < rows; ++r) {
        const CellColor background = colour ? colour(r) : kWhite;
        for (std::int32_t c = 0; c < cols_; ++c) {
            texts_[CellIndex(r, c)] = shown->Cell(r, c);
            backColors_[CellIndex(r, c)] = background;
        }
    }
    if (rows != rows_) {
        ++layoutRevision_;
    }
    rows_ = rows;
    row_ = std::min(row_, rows_ - 1);
    if (!hasSelection_) {
        selection_ = {row_, col_, row_, col_};
    }
}

} // namespace zlm
