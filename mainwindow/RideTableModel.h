#pragma once

#include "analysis/UnitSystem.h"

#include <QAbstractTableModel>
#include <QString>

namespace zlm {

/**
 * What the ride-quality tables of a view share: rows of numbers shown with the
 * user's decimal separator and their CSV's decimals, right-aligned, with
 * Qt::UserRole giving each cell's unrounded number (so a sort is by value), and
 * header texts "Name (unit)". A table says how many rows and columns it has,
 * each cell's number, its pattern and each column's header.
 */
class RideTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    int rowCount(const QModelIndex& parent = QModelIndex()) const final;
    int columnCount(const QModelIndex& parent = QModelIndex()) const final;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const final;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const final;

protected:
    RideTableModel(char decimalSeparator, QObject* parent);

    virtual int Rows() const = 0;
    virtual int Columns() const = 0;
    virtual double Value(int row, int column) const = 0;
    /** The display pattern of a column's numbers; null shows the number as a whole count. */
    virtual const char* Pattern(int column) const = 0;
    virtual QString Header(int column) const = 0;

    UnitSystem units_ = UnitSystem::US; ///< of the results shown
    char separator_;
};

} // namespace zlm
