#include "mainwindow/ReportRunner.h"

#include "report/PdfReport.h"

#include <QPromise>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace zlm {

ReportRunner::ReportRunner(QObject* parent) : QObject(parent)
{
    connect(&watcher_, &QFutureWatcher<Outcome>::progressValueChanged, this, &ReportRunner::ShowProgress);
    connect(&watcher_, &QFutureWatcher<Outcome>::finished, this, &ReportRunner::Deliver);
}

ReportRunner::~ReportRunner()
{
    // The recorded graphs are widgets, destroyed here on the window's thread once the worker has let go.
    if (Running()) {
        writing_->Stop();
        watcher_.waitForFinished();
    }
}

bool ReportRunner::Start(const SessionState& state, const ReportRequest& request, std::string path)
{
    if (Running())
        return false;
    writing_ = std::make_unique<PdfReportWriting>(state, request);
    shown_ = -1;
    outcome_ = {};
    PdfReportWriting* writing = writing_.get();
    watcher_.setFuture(QtConcurrent::run([writing, path = std::move(path)](QPromise<Outcome>& promise) {
        promise.setProgressRange(0, 100);
        QString error;
        const QByteArray pdf = writing->Write(error, [&] { promise.setProgressValue(writing->Percent()); });
        // Stopped without an error is the user's Cancel, even when the document was finished.
        if (writing->Stopped() && error.isEmpty()) {
            promise.addResult(Outcome{false, true, {}});
            return;
        }
        promise.setProgressValue(writing->Percent());
        const SaveResult saved = SavePdfReport(path, pdf, error);
        promise.addResult(Outcome{saved.ok, false, saved.message});
    }));
    ShowProgress();
    QTimer::singleShot(0, this, &ReportRunner::Record);
    return true;
}

void ReportRunner::Cancel()
{
    if (Running())
        writing_->Stop();
}

void ReportRunner::Record()
{
    // One graph step or page between the window's events; the worker draws what is recorded meanwhile.
    if (!Running() || !writing_->RecordNext())
        return;
    ShowProgress();
    QTimer::singleShot(0, this, &ReportRunner::Record);
}

void ReportRunner::ShowProgress()
{
    if (!Running())
        return;
    const int percent = writing_->Percent();
    if (percent > shown_) {
        shown_ = percent;
        emit Progress(percent);
    }
}

void ReportRunner::Deliver()
{
    if (!Running() || !watcher_.future().isFinished())
        return;
    ShowProgress();
    outcome_ = watcher_.future().result();
    writing_.reset();
    emit Finished();
}

} // namespace zlm
