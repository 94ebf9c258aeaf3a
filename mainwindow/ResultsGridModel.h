#pragma once

#include "analysis/ResultsGrid.h"

#include <QAbstractTableModel>

namespace zlm {

/**
 * Shows the core results grid in a QTableView. The grid's row 0 (its header
 * row) is the model's horizontal header; grid row r + 1 is model row r.
 * The grid changes only inside commands, so the model does not watch it:
 * the window calls Reload() after every command that wrote the grid.
 */
class ResultsGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ResultsGridModel(const ResultsGrid& grid, QObject* parent = nullptr);

    /** Tells the views that the whole grid may have changed. */
    void Reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const ResultsGrid& grid_;
    // Captured at Reload: the grid may change in the middle of a command before the
    // views are told, and a view must never be handed a row that has gone.
    int rows_ = 0;
    int cols_ = 0;
};

} // namespace zlm
