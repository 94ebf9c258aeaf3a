#pragma once

#include <cstdint>
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

/** Horizontal alignment of a grid cell's text. */
enum class CellAlignment { General, Left, Centre, Right };

/**
 * The results grid grdSKI as a model: a table of text cells, R rows by C columns,
 * row 0 the header row, with a current cell to which the cell-wise settings
 * apply. It is the only place the results table lives: the export, the
 * clipboard copy and the graph read their texts back from it.
 * A new grid has 2 rows and 3 columns of empty white cells. Any number of rows.
 * Lengths are in twips (1/1440 inch).
 */
class ResultsGrid {
public:
    /** The selected range, inclusive corners, for Clip. */
    struct Selection {
        std::int32_t row1 = 0;
        std::int32_t col1 = 0;
        std::int32_t row2 = 0;
        std::int32_t col2 = 0;
    };

    ResultsGrid();

    std::int32_t Rows() const;
    /** Dropping rows drops their cells; new rows are empty and white. At least 1. */
    void SetRows(std::int32_t rows);
    std::int32_t Cols() const;
    void SetCols(std::int32_t cols);
    std::int32_t FixedCols() const;
    void SetFixedCols(std::int32_t fixedCols);

    std::int32_t ColWidth(std::int32_t col) const;
    void SetColWidth(std::int32_t col, std::int32_t twips);
    /** Rows without a height of their own report -1 (the view's default). */
    std::int32_t RowHeight(std::int32_t row) const;
    void SetRowHeight(std::int32_t row, std::int32_t twips);

    std::int32_t Row() const;
    void SetRow(std::int32_t row);
    std::int32_t Col() const;
    void SetCol(std::int32_t col);

    /** Text of the current cell. */
    const std::string& Text() const;
    void SetText(std::string text);
    const std::string& TextMatrix(std::int32_t row, std::int32_t col) const;
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

    const Selection& CurrentSelection() const;
    void SetSelection(const Selection& selection);
    /** Texts of the selected cells: a tab between the cells of a row, a CR between rows. */
    std::string Clip() const;

    /** Increases on every change of the row or column count, so a view knows to reload. */
    std::uint64_t LayoutRevision() const;

private:
    // implementation's choice
};

} // namespace zlm
