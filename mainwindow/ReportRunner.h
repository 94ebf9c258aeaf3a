#pragma once

#include "commands/ReportRequest.h"
#include "commands/SessionState.h"

#include <QByteArray>
#include <QObject>

#include <memory>
#include <string>

namespace zlm {

class PdfReportWriting;

/**
 * Writes a report a step at a time from the event loop, so that the window
 * that asked for it keeps answering, repaints and can cancel (the graphs are
 * widgets, which only the window's thread may use; each step is a few
 * milliseconds): the set-up steps (the graphs prepared a share at a time, the
 * text pages laid out, while the profile's checksum is made on another thread),
 * then one page a step, the document's end, and the file's writing. The report
 * is of a copy of the session, so nothing the user does meanwhile changes it.
 * Progress follows the steps and never goes back; Cancel stops before the next
 * step and writes nothing. Finished comes once the file is written, refused or
 * the writing cancelled.
 */
class ReportRunner : public QObject {
    Q_OBJECT
public:
    explicit ReportRunner(QObject* parent = nullptr);
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
    void Step();
    void End(Outcome outcome);

    std::unique_ptr<PdfReportWriting> writing_;
    std::string path_;
    QByteArray pdf_; ///< the finished document, until the next step writes it
    bool cancel_ = false;
    Outcome outcome_;
};

} // namespace zlm
