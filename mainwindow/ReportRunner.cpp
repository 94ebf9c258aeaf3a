#include "mainwindow/ReportRunner.h"

#include "report/PdfReport.h"

#include <QTimer>

#include <utility>

namespace zlm {

ReportRunner::ReportRunner(QObject* parent) : QObject(parent) {}

ReportRunner::~ReportRunner() = default;

bool ReportRunner::Start(const SessionState& state, const ReportRequest& request, std::string path)
{
    if (Running())
        return false;
    writing_ = std::make_unique<PdfReportWriting>(state, request);
    path_ = std::move(path);
    cancel_ = false;
    pdf_.clear();
    outcome_ = {};
    // The checksum starts on its own thread; the set-up steps and pages follow from the event loop.
    writing_->Begin();
    emit Progress(0);
    QTimer::singleShot(0, this, &ReportRunner::Step);
    return true;
}

void ReportRunner::Cancel()
{
    if (Running())
        cancel_ = true;
}

void ReportRunner::Step()
{
    if (!Running())
        return;
    if (cancel_) {
        End({false, true, {}});
        return;
    }
    if (!pdf_.isEmpty()) {
        const SaveResult saved = SavePdfReport(path_, pdf_, QString());
        End({saved.ok, false, saved.message});
        return;
    }
    if (!writing_->SetUp()) {
        QString error;
        if (!writing_->SetUpNext(error)) {
            End({false, false, error.toStdString()});
            return;
        }
    } else if (!writing_->Done()) {
        writing_->DrawNextPage();
    } else {
        // The document's end (its fonts and index) and the file's writing are a step each.
        pdf_ = writing_->Finish();
        if (pdf_.isEmpty()) {
            End({false, false, "The report could not be finished."});
            return;
        }
    }
    emit Progress(pdf_.isEmpty() ? writing_->Percent() : 100);
    // The next step waits for the events that came meanwhile.
    QTimer::singleShot(0, this, &ReportRunner::Step);
}

void ReportRunner::End(Outcome outcome)
{
    writing_.reset();
    pdf_.clear();
    outcome_ = std::move(outcome);
    emit Finished();
}

} // namespace zlm
