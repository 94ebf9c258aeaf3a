#include "analysis/ResultsGrid.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zlm {
namespace {

void Fill(ResultsGrid& grid)
{
    for (std::int32_t r = 0; r < grid.Rows(); ++r) {
        for (std::int32_t c = 0; c < grid.Cols(); ++c) {
            grid.SetTextMatrix(r, c, std::to_string(r) + "," + std::to_string(c));
        }
    }
}

TEST(ResultsGrid, StartsWithTwoRowsOfThreeEmptyWhiteCells)
{
    const ResultsGrid grid;
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.FixedCols(), 0);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.Width(), 6615);
    EXPECT_FALSE(grid.FontBold());
    EXPECT_FALSE(grid.WordWrap());
    for (std::int32_t r = 0; r < 2; ++r) {
        EXPECT_EQ(grid.RowHeight(r), -1);
        for (std::int32_t c = 0; c < 3; ++c) {
            EXPECT_EQ(grid.TextMatrix(r, c), "");
            EXPECT_EQ(grid.CellBackColor(r, c), kWhite);
            EXPECT_EQ(grid.CellAlignmentAt(r, c), CellAlignment::General);
            EXPECT_EQ(grid.ColWidth(c), -1);
        }
    }
}

TEST(ResultsGrid, DroppedRowsComeBackEmptyAndWhite)
{
    ResultsGrid grid;
    grid.SetRows(5);
    Fill(grid);
    grid.SetRow(4);
    grid.SetCol(2);
    grid.SetCellBackColor(kYellow);
    grid.SetRowHeight(4, 300);
    grid.SetRows(3);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Row(), 2); // the current cell stays inside the grid
    EXPECT_EQ(grid.TextMatrix(2, 1), "2,1");
    EXPECT_EQ(grid.TextMatrix(3, 0), "");
    grid.SetRows(5);
    EXPECT_EQ(grid.TextMatrix(4, 2), "");
    EXPECT_EQ(grid.CellBackColor(4, 2), kWhite);
    EXPECT_EQ(grid.RowHeight(4), -1);
    EXPECT_EQ(grid.TextMatrix(1, 0), "1,0"); // kept rows keep their text
}

TEST(ResultsGrid, RowAndColumnCountsStayAtLeastOne)
{
    ResultsGrid grid;
    for (const std::int32_t count : {0, -1, INT32_MIN}) {
        grid.SetRows(count);
        grid.SetCols(count);
        EXPECT_EQ(grid.Rows(), 1);
        EXPECT_EQ(grid.Cols(), 1);
        EXPECT_EQ(grid.Row(), 0);
        EXPECT_EQ(grid.Col(), 0);
        grid.SetText("still here");
        EXPECT_EQ(grid.TextMatrix(0, 0), "still here");
    }
}

TEST(ResultsGrid, LayoutRevisionCountsRealChangesOnly)
{
    ResultsGrid grid;
    const std::uint64_t start = grid.LayoutRevision();
    grid.SetRows(2);
    grid.SetCols(3);
    EXPECT_EQ(grid.LayoutRevision(), start);
    grid.SetRows(10);
    EXPECT_GT(grid.LayoutRevision(), start);
    const std::uint64_t afterRows = grid.LayoutRevision();
    grid.SetCols(4);
    EXPECT_GT(grid.LayoutRevision(), afterRows);
    const std::uint64_t afterCols = grid.LayoutRevision();
    grid.SetTextMatrix(3, 3, "text");
    EXPECT_EQ(grid.LayoutRevision(), afterCols);
}

TEST(ResultsGrid, ChangingColumnsKeepsEveryRemainingCell)
{
    ResultsGrid grid;
    grid.SetRows(4);
    Fill(grid);
    grid.SetRow(3);
    grid.SetCol(1);
    grid.SetCellBackColor(kYellow);
    grid.SetCellAlignment(CellAlignment::Right);
    grid.SetColWidth(1, 700);
    grid.SetCols(5);
    EXPECT_EQ(grid.TextMatrix(3, 1), "3,1");
    EXPECT_EQ(grid.TextMatrix(2, 2), "2,2");
    EXPECT_EQ(grid.TextMatrix(3, 4), "");
    EXPECT_EQ(grid.CellBackColor(3, 1), kYellow);
    EXPECT_EQ(grid.CellAlignmentAt(3, 1), CellAlignment::Right);
    EXPECT_EQ(grid.ColWidth(1), 700);
    EXPECT_EQ(grid.ColWidth(4), -1);
    grid.SetCol(4);
    grid.SetCols(2);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.TextMatrix(3, 1), "3,1");
    EXPECT_EQ(grid.TextMatrix(3, 2), "");
    grid.SetCols(3);
    EXPECT_EQ(grid.TextMatrix(0, 2), "");
    EXPECT_EQ(grid.ColWidth(2), -1);
}

TEST(ResultsGrid, CellSettingsApplyToTheCurrentCellOnly)
{
    ResultsGrid grid;
    grid.SetRows(3);
    grid.SetRow(2);
    grid.SetCol(1);
    grid.SetCellBackColor(kYellow);
    grid.SetCellAlignment(CellAlignment::Centre);
    grid.SetText("x");
    for (std::int32_t r = 0; r < 3; ++r) {
        for (std::int32_t c = 0; c < 3; ++c) {
            const bool current = r == 2 && c == 1;
            EXPECT_EQ(grid.CellBackColor(r, c), current ? kYellow : kWhite);
            EXPECT_EQ(grid.CellAlignmentAt(r, c), current ? CellAlignment::Centre : CellAlignment::General);
            EXPECT_EQ(grid.TextMatrix(r, c), current ? "x" : "");
        }
    }
    EXPECT_EQ(grid.Text(), "x");
}

TEST(ResultsGrid, SizesInTwips)
{
    ResultsGrid grid;
    grid.SetRowHeight(0, 500);
    grid.SetColWidth(2, 2088);
    EXPECT_EQ(grid.RowHeight(0), 500);
    EXPECT_EQ(grid.RowHeight(1), -1);
    EXPECT_EQ(grid.ColWidth(2), 2088);
    grid.SetRowHeight(0, -7);
    grid.SetColWidth(2, -7);
    EXPECT_EQ(grid.RowHeight(0), -1);
    EXPECT_EQ(grid.ColWidth(2), -1);
    grid.SetFixedCols(5);
    EXPECT_EQ(grid.FixedCols(), 2);
    grid.SetFixedCols(-1);
    EXPECT_EQ(grid.FixedCols(), 0);
    grid.SetWidth(9000);
    EXPECT_EQ(grid.Width(), 9000);
}

struct Place {
    std::int32_t row;
    std::int32_t col;
};

class OutsideTheGrid : public testing::TestWithParam<Place> {};

TEST_P(OutsideTheGrid, IsIgnoredOrReadsAsEmpty)
{
    ResultsGrid grid;
    Fill(grid);
    const Place place = GetParam();
    grid.SetTextMatrix(place.row, place.col, "lost");
    grid.SetRow(place.row);
    grid.SetCol(place.col);
    grid.SetColWidth(place.col, 100);
    grid.SetRowHeight(place.row, 100);
    EXPECT_EQ(grid.TextMatrix(place.row, place.col), "");
    EXPECT_EQ(grid.CellBackColor(place.row, place.col), kWhite);
    EXPECT_EQ(grid.CellAlignmentAt(place.row, place.col), CellAlignment::General);
    EXPECT_EQ(grid.RowHeight(place.row), place.row >= 0 && place.row < 2 ? 100 : -1);
    EXPECT_EQ(grid.ColWidth(place.col), place.col >= 0 && place.col < 3 ? 100 : -1);
    EXPECT_TRUE(grid.Row() >= 0 && grid.Row() < 2);
    EXPECT_TRUE(grid.Col() >= 0 && grid.Col() < 3);
    for (std::int32_t r = 0; r < 2; ++r) {
        for (std::int32_t c = 0; c < 3; ++c) {
            EXPECT_EQ(grid.TextMatrix(r, c), std::to_string(r) + "," + std::to_string(c));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Places, OutsideTheGrid,
                         testing::Values(Place{-1, 0}, Place{0, -1}, Place{2, 0}, Place{0, 3}, Place{2, 3},
                                         Place{INT32_MIN, INT32_MAX}, Place{INT32_MAX, INT32_MIN}));

TEST(ResultsGridClip, WithoutASelectionIsTheCurrentCell)
{
    ResultsGrid grid;
    Fill(grid);
    grid.SetRow(1);
    grid.SetCol(2);
    EXPECT_EQ(grid.Clip(), "1,2");
}

TEST(ResultsGridClip, TabsBetweenCellsAndCarriageReturnsBetweenRows)
{
    ResultsGrid grid;
    grid.SetRows(4);
    Fill(grid);
    const std::string expected = "1,0\t1,1\t1,2\n2,0\t2,1\t2,2";
    for (const ResultsGrid::Selection& selection :
         {ResultsGrid::Selection{1, 0, 2, 2}, ResultsGrid::Selection{2, 2, 1, 0}, ResultsGrid::Selection{1, 2, 2, 0},
          ResultsGrid::Selection{2, 0, 1, 2}}) {
        grid.SetSelection(selection);
        EXPECT_EQ(grid.Clip(), expected);
    }
    grid.SetSelection({3, 1, 3, 1});
    EXPECT_EQ(grid.Clip(), "3,1");
}

TEST(ResultsGridClip, CountsOnlyThePartInsideTheGrid)
{
    ResultsGrid grid;
    grid.SetRows(3);
    Fill(grid);
    grid.SetSelection({-5, 1, 1, 10});
    EXPECT_EQ(grid.Clip(), "0,1\t0,2\n1,1\t1,2");
    grid.SetSelection({0, 0, 2, 2});
    grid.SetRows(2); // the selected rows shrink with the grid
    EXPECT_EQ(grid.Clip(), "0,0\t0,1\t0,2\n1,0\t1,1\t1,2");
    grid.SetSelection({5, 0, 9, 2});
    EXPECT_EQ(grid.Clip(), "");
}

TEST(ResultsGridClip, MovingTheCurrentCellCollapsesTheSelection)
{
    ResultsGrid grid;
    Fill(grid);
    grid.SetSelection({0, 0, 1, 2});
    grid.SetRow(0);
    EXPECT_EQ(grid.Clip(), grid.TextMatrix(0, grid.Col()));
    const ResultsGrid::Selection collapsed = grid.CurrentSelection();
    EXPECT_EQ(collapsed.row1, 0);
    EXPECT_EQ(collapsed.row2, 0);
    EXPECT_EQ(collapsed.col1, grid.Col());
    EXPECT_EQ(collapsed.col2, grid.Col());
}

TEST(ResultsGrid, HoldsALongTable)
{
    ResultsGrid grid;
    constexpr std::int32_t kRows = 600'001;
    grid.SetRows(kRows);
    for (std::int32_t r = 1; r < kRows; ++r) {
        grid.SetTextMatrix(r, 0, "12345.0000");
        grid.SetTextMatrix(r, 2, std::to_string(r));
    }
    EXPECT_EQ(grid.TextMatrix(kRows - 1, 2), std::to_string(kRows - 1));
    grid.SetRows(2);
    EXPECT_EQ(grid.TextMatrix(1, 0), "12345.0000");
    grid.SetRows(kRows);
    EXPECT_EQ(grid.TextMatrix(kRows - 1, 0), "");
    // Growing one row at a time stays linear.
    grid.SetRows(1);
    for (std::int32_t r = 2; r <= 200'000; ++r) {
        grid.SetRows(r);
    }
    EXPECT_EQ(grid.Rows(), 200'000);
}

/** Rows a grid shows without holding them (ShowRows): "s<tag>:<row>,<col>". */
class TaggedRows final : public TextTable {
public:
    TaggedRows(std::int32_t rows, std::int32_t cols, int tag) : rows_(rows), cols_(cols), tag_(tag) {}
    std::int32_t Rows() const override { return rows_; }
    std::int32_t Cols() const override { return cols_; }
    std::string Cell(std::int32_t row, std::int32_t col) const override { return Text(tag_, row, col); }
    static std::string Text(int tag, std::int32_t row, std::int32_t col)
    {
        return "s" + std::to_string(tag) + ":" + std::to_string(row) + "," + std::to_string(col);
    }

private:
    std::int32_t rows_;
    std::int32_t cols_;
    int tag_;
};

/**
 * Random operations checked against a plain table of texts and colours; rows
 * shown from a table (odd rows yellow) must behave as if they had been written.
 */
TEST(ResultsGrid, AgreesWithASimpleModelUnderRandomOperations)
{
    std::mt19937 random(20240521);
    ResultsGrid grid;
    std::vector<std::vector<std::string>> texts(2, std::vector<std::string>(3));
    std::vector<std::vector<bool>> yellow(2, std::vector<bool>(3, false));
    auto resize = [&](std::size_t rows, std::size_t cols) {
        texts.resize(rows, std::vector<std::string>(cols));
        yellow.resize(rows, std::vector<bool>(cols, false));
        for (std::size_t r = 0; r < rows; ++r) {
            texts[r].resize(cols);
            yellow[r].resize(cols, false);
        }
    };
    std::uniform_int_distribution<int> operation(0, 6);
    std::uniform_int_distribution<std::int32_t> index(-2, 9);
    for (int step = 0; step < 20000; ++step) {
        const std::int32_t a = index(random);
        const std::int32_t b = index(random);
        switch (operation(random)) {
        case 0:
            grid.SetRows(a);
            resize(static_cast<std::size_t>(std::max(a, 1)), texts[0].size());
            break;
        case 1:
            grid.SetCols(a);
            resize(texts.size(), static_cast<std::size_t>(std::max(a, 1)));
            break;
        case 2:
            grid.SetTextMatrix(a, b, std::to_string(step));
            if (a >= 0 && b >= 0 && a < static_cast<std::int32_t>(texts.size()) &&
                b < static_cast<std::int32_t>(texts[0].size())) {
                texts[a][b] = std::to_string(step);
            }
            break;
        case 3:
            grid.SetRow(a);
            grid.SetCol(b);
            break;
        case 4:
            grid.SetText("t" + std::to_string(step));
            texts[grid.Row()][grid.Col()] = "t" + std::to_string(step);
            break;
        case 5:
            grid.SetCellBackColor(kYellow);
            yellow[grid.Row()][grid.Col()] = true;
            break;
        default: {
            const auto cols = static_cast<std::int32_t>(texts[0].size());
            grid.ShowRows(std::make_shared<TaggedRows>(a, cols, step),
                          [](std::int32_t row) { return row % 2 == 1 ? kYellow : kWhite; });
            resize(static_cast<std::size_t>(std::max(a, 1)), texts[0].size());
            for (std::int32_t r = 1; r < static_cast<std::int32_t>(texts.size()); ++r) {
                for (std::int32_t c = 0; c < cols; ++c) {
                    texts[r][c] = TaggedRows::Text(step, r, c);
                    yellow[r][c] = r % 2 == 1;
                }
            }
            break;
        }
        }
        ASSERT_EQ(grid.Rows(), static_cast<std::int32_t>(texts.size()));
        ASSERT_EQ(grid.Cols(), static_cast<std::int32_t>(texts[0].size()));
        ASSERT_LT(grid.Row(), grid.Rows());
        ASSERT_LT(grid.Col(), grid.Cols());
        for (std::int32_t r = 0; r < grid.Rows(); ++r) {
            for (std::int32_t c = 0; c < grid.Cols(); ++c) {
                ASSERT_EQ(grid.TextMatrix(r, c), texts[r][c]) << "step " << step;
                ASSERT_EQ(grid.CellBackColor(r, c), yellow[r][c] ? kYellow : kWhite) << "step " << step;
            }
        }
    }
}

} // namespace
} // namespace zlm
