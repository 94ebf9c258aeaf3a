#pragma once

#include "analysis/ResultsGrid.h"
#include "analysis/StraightedgeResults.h"
#include "mainwindow/AnalysisCommands.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace zlm {

class CommandHost;
class ResultsGridView;
class ReportRunner;
class SimulationRunner;

/**
 * The straightedge's commands on the main window: Simulate with the section
 * option and Cancel, Method…, the results table grdSKI, Save As, Plot,
 * Corrections… and Report…. It makes their controls (the window lays them out)
 * and holds their slots; it owns the results table and the worker a run goes on.
 * While a run works the window is busy (no other command starts), and the
 * commands that need results stay disabled until the run hands its results over.
 */
class StraightedgeCommands final : public QObject, public AnalysisCommands {
    Q_OBJECT

public:
    /** The controls, named as users, the guide and the tests know them; the window lays them out. */
    struct Controls {
        QCheckBox* chkSection = nullptr;
        QPushButton* cmdSimulate = nullptr;
        QPushButton* cmdMethod = nullptr;
        QPushButton* cmdCancel = nullptr;
        QLabel* lblMethod = nullptr;
        QLabel* lblSectionLength = nullptr;
        QLineEdit* txtSectionLength = nullptr;
        QLabel* lblSectionFormat = nullptr;
        ResultsGridView* grdSKI = nullptr;
        QPushButton* cmdSaveAs = nullptr;
        QPushButton* cmdPlot = nullptr;
        QPushButton* cmdCorrections = nullptr;
        QPushButton* cmdReport = nullptr;
    };

    /** Makes the controls as children of `parent` and connects them; `host` is the window. */
    StraightedgeCommands(CommandHost& host, QWidget* parent);
    ~StraightedgeCommands() override;

    const Controls& Widgets() const { return controls_; }
    const ResultsGrid& Grid() const { return grid_; }
    /** True when the session holds results of the open profile's last run. */
    bool ResultsValid() const;

    /** Takes the method in force from the settings, lays the window out and the empty table in it. */
    void Load();

    /** The commands, as their controls run them; `origin` gets the focus back when a run is over. */
    void Simulate(QWidget* origin);
    void chkSection_Click();
    void cmdSaveAs_Click();
    void cmdPlot_Click();
    void cmdMethod_Click();
    void cmdCorrections_Click();
    void cmdReport_Click();
    /** Makes `method` the one the next run uses and remembers it (see frmSkiMain::ApplyMethod). */
    void ApplyMethod(const StraightedgeMethod& method);
    /** Replaces the opening of the graph window (tests). */
    void SetPlotWindowOpener(std::function<void()> opener);

    void SetEnabled(bool enabled) override;
    /** The grid back to its header alone, in the method's units: no results shown. */
    void ClearResults() override;
    bool RunInProgress() const override;
    void CancelRun() override;
    void StopRun() override;

signals:
    /** A run started by Simulate has ended (finished, refused or cancelled) and its results are shown. */
    void RunFinished();
    /** A report started by Report... has ended: written, refused (its message shown) or cancelled. */
    void ReportFinished();

private:
    void CreateControls(QWidget* parent);
    void ConnectControls();
    void FinishRun();
    void FinishReport();
    void ShowMethod();

    CommandHost& host_;
    Controls controls_;
    ResultsGrid grid_;
    std::unique_ptr<SimulationRunner> runner_;
    ReportRunner* reports_ = nullptr;
    QPointer<QWidget> runOrigin_; ///< the control that started the run, for the focus when it ends
    std::function<void()> plotOpener_;
};

} // namespace zlm
