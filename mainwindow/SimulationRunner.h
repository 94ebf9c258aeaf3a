#pragma once

#include "commands/SessionState.h"
#include "commands/SimulateCommand.h"

#include <QFutureWatcher>
#include <QObject>

#include <memory>
#include <string>
#include <vector>

namespace zlm {

/** What a finished run hands back to the window: its outcome and, when it ran, what it made. */
struct SimulationHandOver {
    SimulationOutcome outcome;
    StraightedgeResults results;                    ///< valid when outcome.ran
    std::vector<double> workingElevations; ///< the elevations the results refer to, when outcome.ran
};

/**
 * Runs the Simulate command on a worker thread, so that the window stays alive
 * during a long run. The worker works on its own copy of the session (the
 * profile and the method), never on the window's, and touches no widget: its
 * progress reaches the window through queued signals (a value only when it
 * changes, so at most 101 of them), the window's Cancel reaches it through an
 * atomic flag, and the results come back once, in a slot of Finished.
 */
class SimulationRunner final : public QObject {
    Q_OBJECT

public:
    explicit SimulationRunner(QObject* parent = nullptr);
    /** Cancels a run in progress and waits for it: the worker never outlives the runner. */
    ~SimulationRunner() override;

    /**
     * Starts a run of `state`'s method on a copy of its profile with the section
     * length as typed. Does nothing and returns false while a run is in progress.
     */
    bool Start(const SessionState& state, const std::string& sectionLengthText);
    /** True from Start until Finished has been emitted. */
    bool Running() const { return running_; }
    /** Asks the run to stop after its current placement; harmless without a run. Thread-safe. */
    void Cancel();
    /**
     * Blocks until the worker has ended and emits Finished at once, if it has not
     * been emitted yet (used where the window cannot wait for its event loop).
     */
    void Wait();
    /** The finished run's hand-over; valid once, in a slot of Finished. */
    SimulationHandOver TakeResult();

signals:
    /** The engine's progress calls, delivered on the runner's thread. */
    void ProgressTextVisible(bool visible);
    void ProgressVisible(bool visible);
    void ProgressValue(int percent);
    /** The run has ended: finished, refused or cancelled (TakeResult tells which). */
    void Finished();

private:
    class WorkerProgress;

    void Deliver();

    std::unique_ptr<WorkerProgress> progress_;
    QFutureWatcher<SimulationHandOver> watcher_;
    bool running_ = false;
};

} // namespace zlm
