#pragma once

#include "mainwindow/RideTableModel.h"
#include "ride_quality/RideQuality.h"

#include <vector>

namespace zlm {

/**
 * The ride-quality section table for a view: one row per section, with the
 * columns of the section CSV (Start, End, IRI Left, IRI Right, MRI, HRI; or
 * Start, End, IRI for one profile) and its header texts and decimals.
 */
class RideSectionsModel final : public RideTableModel {
    Q_OBJECT

public:
    RideSectionsModel(char decimalSeparator, QObject* parent = nullptr);

    /** Shows the sections of `results` (replacing what was shown). */
    void SetResults(const RideQualityResults& results);
    /** The section of a row of this model. */
    const RideSection& Section(int row) const;

private:
    int Rows() const override;
    int Columns() const override;
    double Value(int row, int column) const override;
    const char* Pattern(int column) const override;
    QString Header(int column) const override;

    std::vector<RideSection> sections_;
    bool twoPaths_ = false;
};

} // namespace zlm
