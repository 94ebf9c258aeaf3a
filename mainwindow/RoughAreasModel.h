#pragma once

#include "mainwindow/RideTableModel.h"
#include "ride_quality/RideQuality.h"

#include <vector>

namespace zlm {

/**
 * The localized-roughness list for a view: one row per area, numbered from 1,
 * with the columns of the areas CSV (Area, Start, End, Length, Peak, Peak At)
 * and its header texts and decimals.
 */
class RoughAreasModel final : public RideTableModel {
    Q_OBJECT

public:
    RoughAreasModel(char decimalSeparator, QObject* parent = nullptr);

    /** Shows the areas of `results` (replacing what was shown). */
    void SetResults(const RideQualityResults& results);
    /** The area of a row of this model. */
    const RoughArea& Area(int row) const;

private:
    int Rows() const override;
    int Columns() const override;
    double Value(int row, int column) const override;
    const char* Pattern(int column) const override;
    QString Header(int column) const override;

    std::vector<RoughArea> areas_;
};

} // namespace zlm
