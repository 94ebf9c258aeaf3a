#include "mainwindow/RideSectionsModel.h"

#include "ride_quality/RideQualityText.h"

namespace zlm {

RideSectionsModel::RideSectionsModel(char decimalSeparator, QObject* parent) : RideTableModel(decimalSeparator, parent)
{
}

void RideSectionsModel::SetResults(const RideQualityResults& results)
{
    beginResetModel();
    sections_ = results.sections;
    twoPaths_ = results.twoPaths;
    units_ = results.method.units;
    endResetModel();
}

const RideSection& RideSectionsModel::Section(int row) const
{
    return sections_.at(static_cast<std::size_t>(row));
}

int RideSectionsModel::Rows() const
{
    return static_cast<int>(sections_.size());
}

int RideSectionsModel::Columns() const
{
    return twoPaths_ ? 6 : 3;
}

double RideSectionsModel::Value(int row, int column) const
{
    const RideSection& section = Section(row);
    switch (column) {
    case 0:
        return section.start;
    case 1:
        return section.end;
    case 2:
        return section.iriLeft;
    case 3:
        return section.iriRight;
    case 4:
        return section.mri;
    default:
        return section.hri;
    }
}

const char* RideSectionsModel::Pattern(int column) const
{
    return column < 2 ? "0.000" : RideUnitTextsFor(units_).pattern;
}

QString RideSectionsModel::Header(int column) const
{
    const RideUnitTexts units = RideUnitTextsFor(units_);
    static const char* const twoPathNames[] = {"Start", "End", "IRI Left", "IRI Right", "MRI", "HRI"};
    const QString name = !twoPaths_ && column == 2 ? QStringLiteral("IRI") : QString::fromLatin1(twoPathNames[column]);
    return QStringLiteral("%1 (%2)").arg(name, QString::fromStdString(column < 2 ? units.length : units.roughness));
}

} // namespace zlm
