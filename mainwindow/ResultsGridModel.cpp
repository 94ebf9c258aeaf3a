#include "mainwindow/ResultsGridModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace zlm {

namespace {

Qt::Alignment ToQtAlignment(CellAlignment alignment)
{
    switch (alignment) {
    case CellAlignment::Left:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case CellAlignment::Centre:
        return Qt::AlignCenter;
    case CellAlignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case CellAlignment::General:
        break;
    }
    // The grid's general alignment puts texts to the left.
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

ResultsGridModel::ResultsGridModel(const ResultsGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), rows_(grid.Rows() - 1), cols_(grid.Cols())
{
}

void ResultsGridModel::Reload()
{
    beginResetModel();
    rows_ = grid_.Rows() - 1;
    cols_ = grid_.Cols();
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
}

int ResultsGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int ResultsGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QVariant ResultsGridModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row() + 1;
    const int col = index.column();
    if (!index.isValid() || row >= grid_.Rows() || col >= grid_.Cols()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(grid_.TextMatrix(row, col));
    case Qt::BackgroundRole: {
        const CellColor color = grid_.CellBackColor(row, col);
        return QBrush(QColor(color.red, color.green, color.blue));
    }
    case Qt::ForegroundRole:
        // Yellow and white rows both need dark text, whatever the desktop's palette.
        return QBrush(Qt::black);
    case Qt::TextAlignmentRole:
        return ToQtAlignment(grid_.CellAlignmentAt(row, col)).toInt();
    default:
        return {};
    }
}

QVariant ResultsGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= grid_.Cols()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(grid_.TextMatrix(0, section));
    case Qt::TextAlignmentRole:
        return ToQtAlignment(grid_.CellAlignmentAt(0, section)).toInt() | Qt::TextWordWrap;
    default:
        return {};
    }
}

Qt::ItemFlags ResultsGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace zlm
