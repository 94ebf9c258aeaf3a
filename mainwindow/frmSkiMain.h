#pragma once

#include "analysis/ResultsGrid.h"
#include "commands/OpenCommand.h"
#include "commands/SessionState.h"
#include "mainwindow/CommandHost.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class QVBoxLayout;
class TallylineProgress;

namespace zlm {

class AnalysisCommands;
class LinkLabel;
class RideQualityLauncher;
class StraightedgeCommands;
class UserDialogs;

/**
 * The main window: owns the shared state for the life of the program, and
 * carries Browse (and opening a profile file dropped on it), the profile's
 * labels, the busy state, the progress bar, About, the user guide (the link under
 * the commands, or F1) and the pointer reset on mouse movement. Each analysis'
 * commands are a class of their own the window holds (StraightedgeCommands:
 * Simulate with the section option, Method…, the table with Ctrl+C, Save As,
 * Plot, Corrections…, Report…); the window lays their controls out, enables them
 * and keeps them from starting while another command works.
 *
 * While a command works, the command controls are disabled, so that no second
 * command starts in the middle of the first; a close requested meanwhile is
 * carried out when the command has finished. Simulate runs on a worker thread
 * (SimulationRunner): the window stays alive, with Cancel and the progress bar,
 * and the commands that need results stay disabled until the run hands its
 * results over; closing the window cancels the run and waits for it. When a command is over, the focus is back on the
 * control that started it.
 */
class frmSkiMain final : public QWidget, private CommandHost {
    Q_OBJECT

public:
    /** The credits line under the commands. */
    static constexpr const char* kCredits = "Evenrule (ZLM) for pavement engineers";
    /** The text of the link to the user guide, beside the credits. */
    static constexpr const char* kGuideLink = "User Guide (F1)";

    /** Opens the graph window for the current results. Tests may replace it. */
    using PlotWindowOpener = std::function<void(frmSkiMain& window)>;

    /**
     * Loads the window. `dialogs` answers every dialog and message box (the
     * window keeps a reference); null uses the real Qt dialogs.
     */
    explicit frmSkiMain(UserDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~frmSkiMain() override;

    const SessionState& State() const { return state_; }
    /** The straightedge's results table, as grdSKI shows it. */
    const ResultsGrid& Grid() const;
    bool ResultsValid() const;

    /**
     * The Browse command after its dialog: opens `path` (also used for a profile
     * named on the command line). Nothing changes unless the file is read: a
     * refused file or a cancelled channel window leaves the profile, its results,
     * the grid and the file labels as they were; so does a cancelled units window.
     */
    void OpenProfile(const QString& path);

    /** The commands, as their buttons run them. */
    void cmdOpen_Click();
    void cmdSimulate_Click();
    void chkSection_Click();
    void cmdSaveAs_Click();
    void cmdPlot_Click();
    /** Opens the Method… dialog; a changed method takes force at once and needs a new run. */
    void cmdMethod_Click();
    /**
     * Makes `method` the one the next run uses and remembers it: the last run's
     * results go, and a profile open in other units is read again in the new ones.
     */
    void ApplyMethod(const StraightedgeMethod& method);
    /** Asks a run in progress to stop (Cancel, Esc); the last results stay. */
    void CancelRun();
    /** True while Simulate runs on its worker, or Report... draws its pages: until RunFinished or ReportFinished. */
    bool RunInProgress() const;
    /** Opens the corrections window for the current results; enabled exactly when Plot is. */
    void cmdCorrections_Click();
    void cmdAbout_Click();
    /**
     * Writes the acceptance report of the current results as a PDF: asks for the
     * file (".pdf" added when missing, replacing confirmed), then writes it on a
     * worker thread, busy with the progress bar and Cancel, and shows "File
     * Error!" naming the path when writing fails.
     * ReportFinished follows. Enabled exactly when Plot is.
     */
    void cmdReport_Click();
    /** Shows the user guide at `page` (a file of the guide, e.g. "graph.html"; empty: its contents). */
    void ShowHelp(const QString& page = QString());

    /** Replaces the opening of the graph window (tests). */
    void SetPlotWindowOpener(PlotWindowOpener opener);

signals:
    /** A run started by Simulate has ended (finished, refused or cancelled) and its results are shown. */
    void RunFinished();
    /** A report started by Report... has ended: written, refused or cancelled. */
    void ReportFinished();

protected:
    /** During a run, cancels it and waits for the worker before the window closes. */
    void closeEvent(QCloseEvent* event) override;
    /** Accepts a drag that carries one local file, unless a command is working. */
    void dragEnterEvent(QDragEnterEvent* event) override;
    /** Opens the dropped file as OpenProfile does, once the drop is over. */
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // CommandHost: what the analyses' commands use of the window.
    QWidget& HostWindow() override { return *this; }
    UserDialogs& Dialogs() override { return *dialogs_; }
    SessionState& Session() override { return state_; }
    QString ProfilePath() const override;
    bool Busy() const override { return busy_; }
    void EnterBusy(Qt::CursorShape pointer) override;
    void LeaveBusy() override;
    ProgressSink& ProgressBar() override;
    void ReadProfileAgain(UnitSystem units) override;

    void BuildControls();
    void CreateControls();
    void ArrangeControls();
    void AddProgressBar(QVBoxLayout& layout);
    QSize InitialSize() const;
    void ConnectCommands();
    void Load();
    void SetCommandsEnabled(bool enabled);
    void ShowOpenFailure(OpenFailureBox box, const QString& text);
    void ShowNoProfile();
    void ResetMousePointer();

    std::unique_ptr<UserDialogs> ownDialogs_;
    UserDialogs* dialogs_ = nullptr;

    SessionState state_;
    bool unloaded_ = false;
    bool busy_ = false;
    bool closeRequested_ = false;

    QFrame* mainFrame_ = nullptr;
    QLabel* promptLabel_ = nullptr;
    QPushButton* cmdOpen_ = nullptr;
    QLabel* lblFileVisible_ = nullptr;
    QPushButton* cmdAbout_ = nullptr;
    RideQualityLauncher* rideQuality_ = nullptr; ///< the Ride Quality command and its window
    QLabel* creditsLabel_ = nullptr;
    LinkLabel* guideLink_ = nullptr;
    QLabel* lblFile_ = nullptr;
    std::unique_ptr<TallylineProgress> progressBar_;
    // Each analysis' commands; they go before the bar their runs report to. A
    // second analysis adds its class here and to analyses_.
    std::unique_ptr<StraightedgeCommands> straightedge_;
    std::vector<AnalysisCommands*> analyses_;
};

} // namespace zlm
