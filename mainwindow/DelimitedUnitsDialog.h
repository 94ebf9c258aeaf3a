#pragma once

#include "commands/OpenCommand.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zlm {

/**
 * The units window: asks, for a delimited text profile whose header does not
 * name them, only what the read needs: the distance unit (also the interval's),
 * the elevation unit, and the sample interval when the file has no distance
 * column. Units are chosen from ft, in, m, mm and mil; the interval is a number
 * above 0, with "." or "," as its decimal separator. OK with an interval that
 * is not such a number keeps the window open and says why beside the field;
 * Cancel (also Esc, or closing the window) answers nothing, which abandons the open.
 */
class DelimitedUnitsDialog : public QDialog {
    Q_OBJECT

public:
    DelimitedUnitsDialog(const DelimitedProbeResult& probe, const NeededUnits& needed, QWidget* parent = nullptr);

    /** The answer as it stands: the needed units and interval; an interval only when valid. */
    DelimitedUnits Answer() const;

    /** The interval typed, when it is a number above 0 ("." or "," as the separator). */
    static std::optional<double> ParseInterval(const QString& text);

    /** Shows a fresh window modally: the answer when closed with OK, nothing when cancelled. */
    static std::optional<DelimitedUnits> AskUnits(const DelimitedProbeResult& probe, const NeededUnits& needed,
                                                  QWidget* parent = nullptr);

    void accept() override;

private:
    QComboBox* NewUnitBox(const char* name, LengthUnit initial);

    NeededUnits needed_;
    QComboBox* distanceUnit_ = nullptr;
    QComboBox* elevationUnit_ = nullptr;
    QLineEdit* interval_ = nullptr;
    QLabel* intervalError_ = nullptr;
};

} // namespace zlm
