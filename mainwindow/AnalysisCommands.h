#pragma once

namespace zlm {

/**
 * The main window's view of one analysis' commands (StraightedgeCommands; a
 * second analysis adds its own class beside it): the window enables them, clears
 * their results when the profile changes, and stops their run when it closes.
 */
class AnalysisCommands {
public:
    virtual ~AnalysisCommands() = default;

    /** Enables the commands (false while the window is busy); those that need results only with valid ones. */
    virtual void SetEnabled(bool enabled) = 0;
    /** Drops the results: another profile was opened, or the open one is gone. */
    virtual void ClearResults() = 0;
    /** True while a run of the analysis works on its worker thread. */
    virtual bool RunInProgress() const = 0;
    /** Asks a run in progress to stop (Cancel, Esc); its last results stay. */
    virtual void CancelRun() = 0;
    /** Cancels a run in progress and waits for its worker: nothing of it outlives the window. */
    virtual void StopRun() = 0;
};

} // namespace zlm
