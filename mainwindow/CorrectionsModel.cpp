#include "mainwindow/CorrectionsModel.h"

#include <utility>

namespace zlm {

CorrectionsModel::CorrectionsModel(CorrectionSummary zones, const UnitTexts& units, char decimalSeparator,
                                   QObject* parent)
    : QAbstractTableModel(parent), zones_(std::move(zones)), table_(zones_, units, decimalSeparator)
{
}

const CorrectionZone& CorrectionsModel::Zone(int row) const
{
    return zones_.zones.at(static_cast<std::size_t>(row));
}

int CorrectionsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(zones_.zones.size());
}

int CorrectionsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : table_.Cols();
}

QVariant CorrectionsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(table_.Cell(index.row() + 1, index.column()));
    case Qt::UserRole:
        return table_.Value(index.row() + 1, index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CorrectionsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromStdString(table_.Cell(0, section));
}

} // namespace zlm
