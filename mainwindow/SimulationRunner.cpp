#include "mainwindow/SimulationRunner.h"

#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <cstdint>
#include <utility>

namespace zlm {

/**
 * The engine's progress sink on the worker thread: the signals it emits are
 * queued to the runner's thread, and a repeated value is not sent again, so the
 * window's queue gets a hundred events rather than one per placement.
 */
class SimulationRunner::WorkerProgress final : public ProgressSink {
public:
    explicit WorkerProgress(SimulationRunner& runner) : runner_(runner) {}

    /** Called on the runner's thread before a run starts, never during one. */
    void Reset()
    {
        cancel_.store(false);
        lastValue_ = -1;
    }
    void RequestCancel() { cancel_.store(true); }

    void SetTextVisible(bool visible) override { emit runner_.ProgressTextVisible(visible); }
    void SetVisible(bool visible) override { emit runner_.ProgressVisible(visible); }
    void SetValue(std::int16_t percent) override
    {
        if (percent != lastValue_) {
            lastValue_ = percent;
            emit runner_.ProgressValue(percent);
        }
    }
    // The window repaints its bar when a value arrives.
    void Refresh() override {}
    bool CancelRequested() override { return cancel_.load(std::memory_order_relaxed); }

private:
    SimulationRunner& runner_;
    std::atomic<bool> cancel_{false};
    std::int16_t lastValue_ = -1; // the worker's alone while a run is in progress
};

SimulationRunner::SimulationRunner(QObject* parent)
    : QObject(parent), progress_(std::make_unique<WorkerProgress>(*this))
{
    connect(&watcher_, &QFutureWatcher<SimulationHandOver>::finished, this, &SimulationRunner::Deliver);
}

SimulationRunner::~SimulationRunner()
{
    // Once a run is handed over its future holds nothing more to wait for.
    if (running_) {
        progress_->RequestCancel();
        watcher_.waitForFinished();
    }
}

bool SimulationRunner::Start(const SessionState& state, const std::string& sectionLengthText)
{
    if (running_) {
        return false;
    }
    // The worker's own session: the window's stays as it is until the results are handed over.
    SessionState run;
    run.profile = state.profile;
    run.profileTitle = state.profileTitle;
    run.straightedge.method = state.straightedge.method;
    run.units = state.units;
    run.channel = state.channel;
    progress_->Reset();
    running_ = true;
    watcher_.setFuture(
        QtConcurrent::run([run = std::move(run), sectionLengthText, progress = progress_.get()]() mutable {
            SimulationHandOver handOver;
            handOver.outcome = RunSimulation(run, sectionLengthText, *progress);
            if (handOver.outcome.ran) {
                handOver.results = std::move(run.straightedge.results);
                handOver.workingElevations = std::move(run.workingElevations);
            }
            return handOver;
        }));
    return true;
}

void SimulationRunner::Cancel()
{
    progress_->RequestCancel();
}

void SimulationRunner::Wait()
{
    if (!running_) {
        return;
    }
    watcher_.waitForFinished();
    Deliver();
}

SimulationHandOver SimulationRunner::TakeResult()
{
    QFuture<SimulationHandOver> future = watcher_.future();
    if (!future.isValid() || !future.isResultReadyAt(0)) {
        return {};
    }
    return future.takeResult();
}

void SimulationRunner::Deliver()
{
    // Wait() may have delivered already, and the watcher's signal for that run may
    // then arrive while the next one is in progress: only a finished run is handed over.
    if (!running_ || !watcher_.future().isFinished()) {
        return;
    }
    running_ = false;
    emit Finished();
}

} // namespace zlm
