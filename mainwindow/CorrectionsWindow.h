#pragma once

#include "analysis/CorrectionZone.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <utility>

class QLabel;
class QModelIndex;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace zlm {

class CorrectionsModel;
struct SessionState;
class UserDialogs;

/**
 * The corrections window ("Corrections"): the exceedance zones of the last run,
 * where the crew has to grind or fill, as a list sortable by any column, with
 * the zone count, their total length and the percent defective length above it.
 * Ctrl+C copies the selected rows (cells separated by tabs, rows by line feeds);
 * Save As writes the list as the corrections file; activating a zone
 * (double-click or Enter) opens the deviation graph zoomed to it.
 *
 * The zones are taken from the results as they are when the window is built.
 */
class CorrectionsWindow final : public QDialog {
    Q_OBJECT

public:
    /** Shows the graph zoomed to a distance range. Tests may replace it. */
    using ZoneGraphOpener = std::function<void(double start, double end)>;

    /**
     * `state` holds the run's results and working elevations and must outlive the
     * window; `profileCaption` is the profile's full path, for the graph's title.
     * `dialogs` answers the save dialog and shows the messages.
     */
    CorrectionsWindow(const SessionState& state, const QString& profileCaption, UserDialogs& dialogs,
                      QWidget* parent = nullptr);
    ~CorrectionsWindow() override;

    const CorrectionSummary& Zones() const;
    /** The list (object name tblZones), sorted as the user chose. */
    QTableView* View() const;
    /** The line above the list: zone count, total length, percent defective length. */
    QString SummaryLine() const;

    /** The selected rows in the order shown: cells joined by tabs, rows by line feeds. */
    QString SelectedRowsText() const;
    /** Puts SelectedRowsText on the clipboard. */
    void CopySelection();
    /** Asks for a file and writes the corrections file to it; failures are shown as "File Error!". */
    void cmdSaveAs_Click();
    /** Opens the graph zoomed to the zone of a row of the view. */
    void OpenZone(const QModelIndex& viewIndex);

    /** Replaces how the graph is opened (tests). */
    void SetZoneGraphOpener(ZoneGraphOpener opener);

    /**
     * The distances the graph shows for a zone: the zone with a quarter of its
     * length on each side, kept within the profile (0 .. profileLength).
     */
    static std::pair<double, double> ZoneViewRange(const CorrectionZone& zone, double profileLength);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const SessionState& state_;
    QString profileCaption_;
    UserDialogs& dialogs_;
    ZoneGraphOpener graphOpener_;
    CorrectionsModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    QLabel* lblSummary_ = nullptr;
    QTableView* view_ = nullptr;
    QPushButton* cmdSaveAs_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

} // namespace zlm
