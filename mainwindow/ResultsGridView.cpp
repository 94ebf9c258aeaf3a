#include "mainwindow/ResultsGridView.h"

#include "analysis/NumberText.h"
#include "mainwindow/ResultsGridModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <memory>

namespace zlm {

namespace {

constexpr int kTwipsPerInch = 1440;

/** The header row's height comes from the grid, not from the texts in it. */
class ResultsHeaderView final : public QHeaderView {
public:
    explicit ResultsHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

    void SetFixedRowHeight(int pixels)
    {
        fixedHeight_ = pixels;
        updateGeometry();
    }

    QSize sizeHint() const override
    {
        QSize size = QHeaderView::sizeHint();
        if (fixedHeight_ > 0) {
            size.setHeight(fixedHeight_);
        }
        return size;
    }

private:
    int fixedHeight_ = 0;
};

} // namespace

ResultsGridView::ResultsGridView(ResultsGrid& grid, QWidget* parent) : QTableView(parent), grid_(grid)
{
    setObjectName("grdSKI");
    model_ = new ResultsGridModel(grid_, this);

    auto* header = new ResultsHeaderView(this);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setTextElideMode(Qt::ElideNone);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    setHorizontalHeader(header);

    setModel(model_);
    verticalHeader()->hide();
    // Data rows all have the same height, so scrolling through 100,000 rows never
    // measures a row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { SyncSelection(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { SyncSelection(); });
    ApplyLook();
}

int ResultsGridView::TwipsToPixels(std::int32_t twips) const
{
    return static_cast<int>(RoundToInt32(static_cast<double>(twips) * logicalDpiX() / kTwipsPerInch));
}

std::int32_t ResultsGridView::PixelsToTwips(int pixels) const
{
    return RoundToInt32(static_cast<double>(pixels) * kTwipsPerInch / logicalDpiX());
}

std::int32_t ResultsGridView::ColumnWidthFor(std::int32_t gridWidthTwips)
{
    const float width = static_cast<float>(gridWidthTwips - 350) / 3.0f;
    return RoundToInt32(width);
}

void ResultsGridView::Reload()
{
    model_->Reload();
    ApplyLook();
    if (model_->rowCount() > 0) {
        selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    }
    SyncSelection();
}

void ResultsGridView::ShowResults(const StraightedgeResults& results, const UnitTexts& units, char decimalSeparator)
{
    auto text = std::make_shared<const ResultsTableText>(results, units, decimalSeparator);
    if (results.HasSectionSummary()) {
        for (std::int32_t col = 0; col < 3; ++col) {
            grid_.SetTextMatrix(0, col, text->Cell(0, col));
        }
        grid_.ShowRows(std::move(text));
    } else {
        grid_.ShowRows(std::move(text), [&results](std::int32_t row) {
            return results.placements[static_cast<std::size_t>(row - 1)].AmountExceeded > 0.0 ? kYellow : kWhite;
        });
    }
    // Filling the grid row by row leaves its last cell current.
    if (grid_.Rows() > 1) {
        grid_.SetRow(grid_.Rows() - 1);
        grid_.SetCol(grid_.Cols() - 1);
    }
    Reload();
}

void ResultsGridView::ApplyLook()
{
    QFont gridFont = font();
    gridFont.setBold(grid_.FontBold());
    setFont(gridFont);
    horizontalHeader()->setFont(gridFont);

    auto* header = static_cast<ResultsHeaderView*>(horizontalHeader());
    const std::int32_t headerTwips = grid_.RowHeight(0);
    // The grid's height, or what the header's text needs in a larger font.
    header->SetFixedRowHeight(headerTwips > 0 ? std::max(TwipsToPixels(headerTwips), fontMetrics().height() + 8) : 0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    ApplyColumnWidths();
}

void ResultsGridView::ApplyColumnWidths()
{
    for (int c = 0; c < grid_.Cols(); ++c) {
        const std::int32_t twips = grid_.ColWidth(c);
        if (twips > 0) {
            setColumnWidth(c, TwipsToPixels(twips));
        }
    }
}

void ResultsGridView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    const std::int32_t widthTwips = PixelsToTwips(width());
    grid_.SetWidth(widthTwips);
    // The columns follow the grid's width as the window is resized, by the same rule
    // the layout of the results uses.
    if (grid_.Cols() == 3 && grid_.ColWidth(0) > 0) {
        const std::int32_t column = std::max<std::int32_t>(ColumnWidthFor(widthTwips), 1);
        for (int c = 0; c < 3; ++c) {
            grid_.SetColWidth(c, column);
        }
        ApplyColumnWidths();
    }
}

void ResultsGridView::SyncSelection()
{
    ResultsGrid::Selection selection;
    const QItemSelection ranges = selectionModel()->selection();
    if (!ranges.isEmpty()) {
        int top = ranges.first().top();
        int bottom = ranges.first().bottom();
        int left = ranges.first().left();
        int right = ranges.first().right();
        for (const QItemSelectionRange& range : ranges) {
            top = std::min(top, range.top());
            bottom = std::max(bottom, range.bottom());
            left = std::min(left, range.left());
            right = std::max(right, range.right());
        }
        selection = {top + 1, left, bottom + 1, right};
    } else if (currentIndex().isValid()) {
        const QModelIndex current = currentIndex();
        selection = {current.row() + 1, current.column(), current.row() + 1, current.column()};
    } else if (grid_.Rows() > 1) {
        selection = {1, 0, 1, 0};
    }
    grid_.SetSelection(selection);
}

void ResultsGridView::CopySelection()
{
    SyncSelection();
    QGuiApplication::clipboard()->setText(QString::fromStdString(grid_.Clip()));
}

void ResultsGridView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_C && modifiers == Qt::ControlModifier) {
        CopySelection();
        event->accept();
        return;
    }
    // The view's own copy (Ctrl+Insert and the like) would copy a different text
    // than Ctrl+C does; the grid copies on Ctrl+C alone.
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace zlm
