#pragma once

#include "analysis/TextTable.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zlm {

/** An RGB colour of a grid cell. */
struct CellColor {
    std::uint8_t red = 255;
    std::uint8_t green = 255;
    std::uint8_t blue = 255;
    friend bool operator==(const CellColor&, const CellColor&) = default;
};

inline constexpr CellColor kWhite{255, 255, 255};
inline constexpr CellColor kYellow{255, 255, 0};

/** The width of the main window's results grid in twips; a new grid has it. */
inline constexpr std::int32_t kMainWindowGridWidth = 6615;

/** Horizontal alignment of a grid cell's text. */
enum class CellAlignment { General, Left, Centre, Right };

/**
 * The results grid grdSKI as a model: a table of text cells, R rows by C columns,
 * row 0 the header row, with a current cell to which the cell-wise settings
 * apply. It holds what the view shows and the clipboard copies; the numbers
 * behind it are the run's results.
 * A new grid has 2 rows and 3 columns of empty white cells with General
 * alignment, no fixed column, the current cell at row 1, column 0, and the width
 * of the main window's grid. Any number of rows.
 * Lengths are in twips (1/1440 inch).
 *
 * Arguments outside the grid never fail: a setter ignores them, TextMatrix gives
 * an empty text, CellBackColor white and CellAlignmentAt General. The current
 * cell stays inside the grid when rows or columns are dropped.
 */
class ResultsGrid final : public TextTable {
public:
    /** The selected range, inclusive corners, for Clip. */
    struct Selection {
        std::int32_t row1 = 0;
        std::int32_t col1 = 0;
        std::int32_t row2 = 0;
        std::int32_t col2 = 0;
    };

    ResultsGrid();

    std::int32_t Rows() const override;
    /** Dropping rows drops their cells; new rows are empty and white. At least 1. */
    void SetRows(std::int32_t rows);
    std::int32_t Cols() const override;
    /** Like SetRows for columns; at least 1. */
    void SetCols(std::int32_t cols);
    std::int32_t FixedCols() const;
    /** Kept between 0 and Cols() - 1. */
    void SetFixedCols(std::int32_t fixedCols);

    /** Columns without a width of their own report -1 (the view's default). */
    std::int32_t ColWidth(std::int32_t col) const;
    /** A negative width gives the column back the view's default (-1). */
    void SetColWidth(std::int32_t col, std::int32_t twips);
    /** Rows without a height of their own report -1 (the view's default). */
    std::int32_t RowHeight(std::int32_t row) const;
    /** A negative height gives the row back the view's default (-1). */
    void SetRowHeight(std::int32_t row, std::int32_t twips);

    std::int32_t Row() const;
    /** Makes `row` current and collapses the selection to the current cell. */
    void SetRow(std::int32_t row);
    std::int32_t Col() const;
    /** Makes `col` current and collapses the selection to the current cell. */
    void SetCol(std::int32_t col);

    /** Text of the current cell. */
    std::string Text() const;
    void SetText(std::string text);
    std::string TextMatrix(std::int32_t row, std::int32_t col) const;
    /** TextMatrix as a copy, for readers of any text table. */
    std::string Cell(std::int32_t row, std::int32_t col) const override { return TextMatrix(row, col); }
    void SetTextMatrix(std::int32_t row, std::int32_t col, std::string text);

    /** Background of the current cell. */
    void SetCellBackColor(CellColor color);
    CellColor CellBackColor(std::int32_t row, std::int32_t col) const;
    /** Alignment of the current cell. */
    void SetCellAlignment(CellAlignment alignment);
    CellAlignment CellAlignmentAt(std::int32_t row, std::int32_t col) const;

    bool FontBold() const;
    void SetFontBold(bool bold);
    bool WordWrap() const;
    void SetWordWrap(bool wrap);

    /** Width of the grid in twips, kept up to date by the view that shows it. */
    std::int32_t Width() const;
    void SetWidth(std::int32_t twips);

    /** The selected range as set; without one, the current cell. */
    const Selection& CurrentSelection() const;
    /** Selects a range; its corners may be given in any order. */
    void SetSelection(const Selection& selection);
    /**
     * Texts of the selected cells: a tab between the cells of a row, a line feed between
     * rows, nothing after the last. Without a selection, the current cell's text.
     * Only the part of the range inside the grid counts (none: an empty text).
     */
    std::string Clip() const;

    /** Increases on every change of the row or column count, so a view knows to reload. */
    std::uint64_t LayoutRevision() const;

    /** The background of data row `row` (1 or more) of rows shown with ShowRows. */
    using RowColour = std::function<CellColor(std::int32_t row)>;
    /**
     * Shows `rows`' data rows (1 to rows->Rows() - 1) as this grid's, without
     * holding their texts: a cell is read from `rows` when it is asked for, its
     * background from `rowColour` (white when there is none), its alignment
     * General, as the rows a writer fills. The header row stays the grid's own, and
     * the grid has rows->Rows() rows. So a long run's table costs no text until a
     * cell is shown, copied or saved. Whatever `rows` reads must stay unchanged
     * while it is shown; the first change of the row or column count, or of a data
     * cell, writes the rows the grid keeps into the grid itself.
     */
    void ShowRows(std::shared_ptr<const TextTable> rows, RowColour rowColour = {});

private:
    /** Writes the first `keptRows` rows of the shown rows into the grid's cells, and stops showing them. */
    void StoreShownRows(std::int32_t keptRows);
    bool Shown(std::int32_t row) const { return shown_ != nullptr && row > 0; }

    std::size_t CellIndex(std::int32_t row, std::int32_t col) const;
    bool Contains(std::int32_t row, std::int32_t col) const;
    void ResizeCells(std::int32_t rows, std::int32_t cols);

    std::int32_t rows_ = 2;
    std::int32_t cols_ = 3;
    std::int32_t fixedCols_ = 0;
    // Row-major, rows_ * cols_ entries each: one text, colour and alignment per cell
    // and nothing per row, so a long table stays compact.
    std::vector<std::string> texts_;
    std::vector<CellColor> backColors_;
    std::vector<std::uint8_t> alignments_; // CellAlignment values
    std::vector<std::int32_t> colWidths_;
    // Heights of rows 0 .. size() - 1 only; usually just the header row has one.
    std::vector<std::int32_t> rowHeights_;
    std::int32_t row_ = 1;
    std::int32_t col_ = 0;
    bool fontBold_ = false;
    bool wordWrap_ = false;
    std::int32_t width_ = kMainWindowGridWidth;
    bool hasSelection_ = false;
    Selection selection_{1, 0, 1, 0};
    std::uint64_t layoutRevision_ = 0;
    // Rows shown without their texts (ShowRows); the cells above then hold row 0 alone.
    std::shared_ptr<const TextTable> shown_;
    RowColour shownColour_;
};

} // namespace zlm
