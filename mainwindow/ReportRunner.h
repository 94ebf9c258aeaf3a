#pragma once

#include "commands/ReportRequest.h"
#include "commands/SessionState.h"

#include <QFutureWatcher>
#include <QObject>

#include <memory>
#include <string>

namespace zlm {

class PdfReportWriting;

/**
 * Writes a report on a worker thread, so that the window that asked for it
 * keeps answering, repaints and can cancel. The worker computes the profile's
 * checksum, lays out the text, draws every page, ends the document and writes
 * the file; the graphs are widgets, which only the window's thread may use, so
 * that thread records each graph page for the worker, one short step between
 * its events. The report is of a copy of the session, so nothing the user does
 * meanwhile changes it. Progress comes by signal and never goes back; Cancel
 * stops both threads before their next step and writes nothing. Finished
 * comes once, when the worker has ended: the file written, refused or the
 * writing cancelled.
 */
class ReportRunner : public QObject {
    Q_OBJECT
public:
    explicit ReportRunner(QObject* parent = nullptr);
    /** Stops a report being written and waits for its worker: the worker never outlives the runner. */
    ~ReportRunner() override;

    /** Starts the report of a copy of `state` for `request`, to `path`; false while one is being written. */
    bool Start(const SessionState& state, const ReportRequest& request, std::string path);
    bool Running() const { return writing_ != nullptr; }
    /** Stops the report being written before its next step; Finished follows with `cancelled`. */
    void Cancel();

    /** How the last report ended. */
    struct Outcome {
        bool ok = false;
        bool cancelled = false;
        std::string message; ///< why it was not written, when neither ok nor cancelled
    };
    const Outcome& Result() const { return outcome_; }

signals:
    void Progress(int percent);
    void Finished();

private:
    void Record();
    void ShowProgress();
    void Deliver();

    std::unique_ptr<PdfReportWriting> writing_;
    QFutureWatcher<Outcome> watcher_;
    int shown_ = -1; ///< the last progress signalled
    Outcome outcome_;
};

} // namespace zlm
