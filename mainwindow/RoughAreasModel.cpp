#include "mainwindow/RoughAreasModel.h"

#include "ride_quality/RideQualityText.h"

namespace zlm {

namespace {

enum Column { Number, Start, End, Length, Peak, PeakAt, ColumnCount };

} // namespace

RoughAreasModel::RoughAreasModel(char decimalSeparator, QObject* parent) : RideTableModel(decimalSeparator, parent) {}

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

int RoughAreasModel::Rows() const
{
    return static_cast<int>(areas_.size());
}

int RoughAreasModel::Columns() const
{
    return ColumnCount;
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

const char* RoughAreasModel::Pattern(int column) const
{
    if (column == Number)
        return nullptr;
    return column == Peak ? RideUnitTextsFor(units_).pattern : "0.000";
}

QString RoughAreasModel::Header(int column) const
{
    if (column == Number)
        return QStringLiteral("Area");
    const RideUnitTexts units = RideUnitTextsFor(units_);
    static const char* const names[] = {"Area", "Start", "End", "Length", "Peak", "Peak At"};
    return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(names[column]),
                                         QString::fromStdString(column == Peak ? units.roughness : units.length));
}

} // namespace zlm
