#pragma once

#include "profile_input/DelimitedProfileReader.h"
#include "ride_quality/RideQuality.h"

#include <QDialog>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
template <typename T> class QFutureWatcher;

namespace zlm {

class ReportRunner;
class RideSectionsModel;
class RoughAreasModel;
struct RideJobOutcome;
struct SessionState;
class UserDialogs;

/**
 * The ride-quality window ("Ride Quality"): the settings of the analysis
 * (sections, section length, base length and threshold of localized roughness,
 * the wheel paths), the overall figures (IRI of each path, MRI and HRI, or the
 * one IRI; the localized-roughness areas and their percent of length), the
 * section table and the localized-roughness list, each sortable, copied with
 * Ctrl+C and saved as the CSV zlm-batch writes; Plot shows the ride-quality
 * graph, activating an area shows it zoomed to the area; F1 opens the guide's
 * page, Esc closes (or stops a running analysis).
 *
 * The file is read again for the wheel paths (channels 1 and 2 of a file of two
 * or more channels, or the two chosen, else its one profile) and analysed on a
 * worker thread, with progress and the busy pointer; Cancel or Esc stops it and
 * the last results stay. Results live in the session's ride-quality slot; the
 * window shows them as numbers, never reading its own texts back. Settings
 * that the analysis cannot use are refused with the core's text before a run.
 */
class RideQualityWindow final : public QDialog {
    Q_OBJECT

public:
    /** Shows the graph zoomed to a distance range (no range: the whole profile). Tests may replace it. */
    using GraphOpener = std::function<void(std::optional<std::pair<double, double>> range)>;
    /** Runs on the worker before the file is read (tests hold the worker there). */
    using WorkerGate = std::function<void()>;

    /**
     * `state` is the session (its ride-quality slot is read and written; the
     * open profile gives the point count and interval the settings are checked
     * against) and must outlive the window; `profilePath` is the open file,
     * read in `units`, with `delimitedUnits` for what a delimited file's header
     * does not say. The settings are the ones remembered for `units`.
     * When the slot holds no valid results the analysis starts at once.
     */
    RideQualityWindow(SessionState& state, const QString& profilePath, UnitSystem units,
                      const DelimitedUnits& delimitedUnits, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~RideQualityWindow() override;

    const QString& ProfilePath() const { return profilePath_; }
    UnitSystem Units() const { return units_; }

    /** Starts the analysis with the settings shown, unless they are refused or one is running. */
    void Analyse();
    /** Asks a running analysis to stop; its results are dropped and the last ones stay. */
    void CancelAnalysis();
    bool IsRunning() const;

    /**
     * The method the settings describe, or nothing with `problem` set to why not:
     * a text that is no number, or the core's refusal for the open profile.
     */
    std::optional<RideQualityMethod> SettingsMethod(QString& problem) const;
    /** The text of the problem label: the settings' refusal or why the last run failed. */
    QString ProblemText() const;
    /** The overall figures as shown, one line each. */
    QString OverallText() const;

    /** The section table (object name tblSections) and the areas list (tblAreas), sorted as the user chose. */
    QTableView* SectionsView() const;
    QTableView* AreasView() const;
    /** The selected rows of `view` in the order shown: cells joined by tabs, rows by line feeds. */
    static QString SelectedRowsText(const QTableView& view);

    /** Asks for a file and writes the section table's CSV to it; "File Error!" on failure. */
    void SaveSectionsAs();
    /** Asks for a file and writes the localized-roughness CSV to it; "File Error!" on failure. */
    void SaveAreasAs();
    /**
     * Report…: asks for the PDF's name (".pdf" added unless typed, a replaced
     * file confirmed) and writes the ride-quality report of the results there
     * with the busy pointer; "File Error!" names the path on failure.
     */
    void WriteReport();
    /** Opens the ride-quality graph of the results, not zoomed. */
    void Plot();
    /** Opens the graph zoomed to the area of a row of the areas view. */
    void OpenArea(const QModelIndex& viewIndex);

    /** Replaces how the graph is opened (tests). */
    void SetGraphOpener(GraphOpener opener);
    /** Sets what the worker runs before reading (tests). */
    void SetWorkerGate(WorkerGate gate);

    /**
     * The distances the graph shows for an area: the area with a quarter of its
     * length on each side, kept within the profile (0 .. profileLength).
     */
    static std::pair<double, double> AreaViewRange(const RoughArea& area, double profileLength);

signals:
    /** An analysis ended: finished, refused, failed or cancelled. */
    void AnalysisFinished();
    /** A report started by Report... ended: written, refused (its message shown) or cancelled. */
    void ReportFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    QWidget* BuildSettings();
    QWidget* BuildTables();
    void ArrangeControls();
    void ConnectCommands();
    void ShowSettings(const RideQualityMethod& method);
    void RefreshProblem();
    void SetRunning(bool running);
    void RefreshCommands();
    void AnalysisDone();
    void ReportDone();
    void FillPathChoices(const std::vector<std::string>& names, std::int32_t left, std::int32_t right);
    void ShowResults();
    void SaveCsv(const QString& title, const std::string& bytes);
    void OpenGraph(std::optional<std::pair<double, double>> range);

    SessionState& state_;
    QString profilePath_;
    UnitSystem units_;
    DelimitedUnits delimitedUnits_;
    UserDialogs& dialogs_;
    GraphOpener graphOpener_;
    WorkerGate workerGate_;
    std::atomic<bool> cancel_{false};
    bool running_ = false; ///< from the start of a run until its outcome has been taken
    QFutureWatcher<RideJobOutcome>* watcher_ = nullptr;
    ReportRunner* reports_ = nullptr; ///< writes Report... on a worker thread

    QCheckBox* chkSections_ = nullptr;
    QLineEdit* txtSectionLength_ = nullptr;
    QLineEdit* txtBaseLength_ = nullptr;
    QLineEdit* txtThreshold_ = nullptr;
    QComboBox* cboLeft_ = nullptr;
    QComboBox* cboRight_ = nullptr;
    QLabel* lblProblem_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QPushButton* cmdAnalyse_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QWidget* settingsBox_ = nullptr;
    QLabel* lblOverall_ = nullptr;
    RideSectionsModel* sectionsModel_ = nullptr;
    QSortFilterProxyModel* sectionsSorted_ = nullptr;
    QTableView* tblSections_ = nullptr;
    RoughAreasModel* areasModel_ = nullptr;
    QSortFilterProxyModel* areasSorted_ = nullptr;
    QTableView* tblAreas_ = nullptr;
    QPushButton* cmdSaveSections_ = nullptr;
    QPushButton* cmdSaveAreas_ = nullptr;
    QPushButton* cmdPlot_ = nullptr;
    QPushButton* cmdReport_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

} // namespace zlm
