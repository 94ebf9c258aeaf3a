#include "mainwindow/RideTableModel.h"

#include "analysis/DisplayFormat.h"

namespace zlm {

RideTableModel::RideTableModel(char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), separator_(decimalSeparator)
{
}

int RideTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Rows();
}

int RideTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns();
}

QVariant RideTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const double value = Value(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (const char* pattern = Pattern(index.column()))
            return QString::fromStdString(FormatNumber(value, pattern, separator_));
        return QString::number(static_cast<long long>(value));
    case Qt::UserRole:
        return value;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant RideTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    return Header(section);
}

} // namespace zlm
