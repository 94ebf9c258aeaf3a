#pragma once

#include "ride_quality/RideQuality.h"

#include <QAbstractTableModel>

namespace zlm {

/**
 * The localized-roughness list for a view: one row per area, numbered from 1,
 * with the columns of the areas CSV (Area, Start, End, Length, Peak, Peak At)
 * and its header texts, numbers with the user's decimal separator and the
 * CSV's decimals. Qt::UserRole gives each cell's unrounded number.
 */
class RoughAreasModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    RoughAreasModel(char decimalSeparator, QObject* parent = nullptr);

    /** Shows the areas of `results` (replacing what was shown). */
    void SetResults(const RideQualityResults& results);
    /** The area of a row of this model. */
    const RoughArea& Area(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    double Value(int row, int column) const;

    char separator_;
    std::vector<RoughArea> areas_;
    UnitSystem units_ = UnitSystem::US;
};

} // namespace zlm
