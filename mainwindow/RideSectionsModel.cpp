#include "mainwindow/RideSectionsModel.h"

#include "analysis/DisplayFormat.h"
#include "ride_quality/RideQualityText.h"

namespace zlm {

namespace {

constexpr const char* kStationPattern = "0.000";

} // namespace

RideSectionsModel::RideSectionsModel(char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), separator_(decimalSeparator)
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

int RideSectionsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(sections_.size());
}

int RideSectionsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : (twoPaths_ ? 6 : 3);
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

QVariant RideSectionsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const double value = Value(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole: {
        const char* pattern = index.column() < 2 ? kStationPattern : RideUnitTextsFor(units_).pattern;
        return QString::fromStdString(FormatNumber(value, pattern, separator_));
    }
    case Qt::UserRole:
        return value;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant RideSectionsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const RideUnitTexts units = RideUnitTextsFor(units_);
    const QString length = QString::fromStdString(units.length);
    const QString roughness = QString::fromStdString(units.roughness);
    static const char* const twoPathNames[] = {"Start", "End", "IRI Left", "IRI Right", "MRI", "HRI"};
    const QString name =
        !twoPaths_ && section == 2 ? QStringLiteral("IRI") : QString::fromLatin1(twoPathNames[section]);
    return QStringLiteral("%1 (%2)").arg(name, section < 2 ? length : roughness);
}

} // namespace zlm
