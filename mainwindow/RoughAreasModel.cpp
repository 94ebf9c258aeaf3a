#include "mainwindow/RoughAreasModel.h"

#include "analysis/DisplayFormat.h"
#include "ride_quality/RideQualityText.h"

namespace zlm {

namespace {

enum Column { Number, Start, End, Length, Peak, PeakAt, ColumnCount };

} // namespace

RoughAreasModel::RoughAreasModel(char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), separator_(decimalSeparator)
{
}

void RoughAreasModel::SetResults(const RideQualityResults& results)
{
    beginResetModel();
    areas_ = results.areas;
    units_ = results.method.units;
    endResetModel();
}

const RoughArea& RoughAreasModel::Area(int row) const
{
    return areas_.at(static_cast<std::size_t>(row));
}

int RoughAreasModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(areas_.size());
}

int RoughAreasModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

double RoughAreasModel::Value(int row, int column) const
{
    const RoughArea& area = Area(row);
    switch (column) {
    case Number:
        return row + 1;
    case Start:
        return area.start;
    case End:
        return area.end;
    case Length:
        return area.length;
    case Peak:
        return area.peak;
    default:
        return area.peakAt;
    }
}

QVariant RoughAreasModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const double value = Value(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == Number)
            return QString::number(index.row() + 1);
        return QString::fromStdString(
            FormatNumber(value, index.column() == Peak ? RideUnitTextsFor(units_).pattern : "0.000", separator_));
    case Qt::UserRole:
        return value;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant RoughAreasModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == Number)
        return QStringLiteral("Area");
    const RideUnitTexts units = RideUnitTextsFor(units_);
    static const char* const names[] = {"Area", "Start", "End", "Length", "Peak", "Peak At"};
    return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(names[section]),
                                         QString::fromStdString(section == Peak ? units.roughness : units.length));
}

} // namespace zlm
