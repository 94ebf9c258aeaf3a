#pragma once

#include "analysis/ResultsGrid.h"
#include "analysis/ResultsTable.h"

#include <QTableView>

#include <cstdint>

namespace zlm {

class ResultsGridModel;

/**
 * grdSKI: the view of the core results grid on the main window. The grid's
 * header row is the view's header (500 twips high, wrapped, centred), column
 * widths come from the grid's ColWidth, rows are yellow where the grid says so.
 * It keeps the grid's Width up to date, hands its selection to the grid for
 * Clip, and copies that selection to the clipboard on Ctrl+C (Ctrl alone).
 */
class ResultsGridView final : public QTableView {
    Q_OBJECT

public:
    explicit ResultsGridView(ResultsGrid& grid, QWidget* parent = nullptr);

    /** Shows the grid afresh after a command wrote it: rows, texts, colours, widths, font. */
    void Reload();

    /**
     * Shows a run's results in the grid, laid out by LayoutResultsHeader, exactly
     * as FillResultsTable writes them (texts, yellow rows, header, current cell),
     * but formatted only when a cell is shown, copied or saved: the grid reads
     * `results` and `units`, which must stay unchanged until the grid's rows next
     * change. Then reloads.
     */
    void ShowResults(const StraightedgeResults& results, const UnitTexts& units, char decimalSeparator);

    /** Writes the view's current selection into the grid (row 0 of the grid is the header). */
    void SyncSelection();

    /** Puts the grid's Clip of the current selection on the clipboard as plain text. */
    void CopySelection();

    /** Screen lengths: twips to pixels and back at the screen's logical resolution. */
    int TwipsToPixels(std::int32_t twips) const;
    std::int32_t PixelsToTwips(int pixels) const;

    /** Column width in twips for a grid of the given width: (width - 350) / 3, rounded half-even. */
    static std::int32_t ColumnWidthFor(std::int32_t gridWidthTwips);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyColumnWidths();
    void ApplyLook();

    ResultsGrid& grid_;
    ResultsGridModel* model_ = nullptr;
};

} // namespace zlm
