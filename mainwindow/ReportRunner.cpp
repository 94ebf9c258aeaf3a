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
    if (!writing_->SetUp()) {
        QString error;
        if (!writing_->SetUpNext(error)) {
            End({false, false, error.toStdString()});
            return;
        }
    } else if (!writing_->Done()) {
        writing_->DrawNextPage();
    } else {
        const SaveResult saved =
            SavePdfReport(path_, writing_->Finish(), QStringLiteral("The report could not be finished."));
        End({saved.ok, false, saved.message});
        return;
    }
    emit Progress(writing_->Percent());
    // The next step waits for the events that came meanwhile.
    QTimer::singleShot(0, this, &ReportRunner::Step);
}

void ReportRunner::End(Outcome outcome)
{
    writing_.reset();
    outcome_ = std::move(outcome);
    emit Finished();
}

} // namespace zlm
