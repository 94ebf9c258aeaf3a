#pragma once

#include "ride_quality/RideQuality.h"

#include <QAbstractTableModel>

namespace zlm {

/**
 * The ride-quality section table for a view: one row per section, with the
 * columns of the section CSV (Start, End, IRI Left, IRI Right, MRI, HRI; or
 * Start, End, IRI for one profile) and its header texts, numbers with the
 * user's decimal separator and the CSV's decimals. Qt::UserRole gives each
 * cell's unrounded number, so a sort is by value.
 */
class RideSectionsModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    RideSectionsModel(char decimalSeparator, QObject* parent = nullptr);

    /** Shows the sections of `results` (replacing what was shown). */
    void SetResults(const RideQualityResults& results);
    /** The section of a row of this model. */
    const RideSection& Section(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    double Value(int row, int column) const;

    char separator_;
    std::vector<RideSection> sections_;
    bool twoPaths_ = false;
    UnitSystem units_ = UnitSystem::US;
};

} // namespace zlm
