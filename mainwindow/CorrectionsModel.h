#pragma once

#include "analysis/CorrectionZone.h"
#include "analysis/CorrectionsTable.h"
#include "analysis/ResultsTable.h"

#include <QAbstractTableModel>

namespace zlm {

/**
 * The corrections list for a view: one row per zone, the columns of
 * CorrectionsTable with its header texts, numbers shown with the user's decimal
 * separator. Qt::UserRole gives each cell's number, so a sort is by value.
 */
class CorrectionsModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    CorrectionsModel(CorrectionSummary zones, const UnitTexts& units, char decimalSeparator, QObject* parent = nullptr);

    const CorrectionSummary& Zones() const { return zones_; }
    /** The zone of a row of this model. */
    const CorrectionZone& Zone(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    CorrectionSummary zones_;
    CorrectionsTable table_; ///< reads zones_, declared before it
};

} // namespace zlm
