#include "report/PdfReport.h"

#include "commands/SafeFileWrite.h"
#include "report/ReportDocument.h"
#include "report/RideQualityReportPart.h"
#include "report/StraightedgeReportPart.h"

#include <utility>

namespace zlm {

namespace {

QString ReportName(ReportAnalysis analysis)
{
    return analysis == ReportAnalysis::RideQuality ? QStringLiteral("Evenrule (ZLM) ride-quality report")
                                                   : QStringLiteral("Evenrule (ZLM) straightedge report");
}

std::unique_ptr<ReportPart> MakeReportPart(const SessionState& state, const ReportRequest& request)
{
    if (request.analysis == ReportAnalysis::RideQuality)
        return std::make_unique<RideQualityReportPart>(state, request);
    return std::make_unique<StraightedgeReportPart>(state, request);
}

} // namespace

QByteArray PdfReportBytes(const SessionState& state, const ReportRequest& request, QString& error)
{
    ReportDocument document(state, request, ReportName(request.analysis));
    const std::unique_ptr<ReportPart> part = MakeReportPart(state, request);
    document.AddPart(*part);
    return document.Bytes(error);
}

SaveResult WritePdfReport(const std::string& path, const SessionState& state, const ReportRequest& request)
{
    QString error;
    return SavePdfReport(path, PdfReportBytes(state, request, error), error);
}

SaveResult SavePdfReport(const std::string& path, const QByteArray& pdf, const QString& error)
{
    SaveResult result;
    if (pdf.isEmpty()) {
        result.message = error.toStdString();
        return result;
    }
    const SafeWriteResult written = WriteFileSafely(path, std::string_view(pdf.constData(), pdf.size()));
    result.ok = written.ok;
    result.message = written.message;
    return result;
}

PdfReportWriting::PdfReportWriting(SessionState state, ReportRequest request)
    : state_(std::move(state)), request_(std::move(request)),
      document_(std::make_unique<ReportDocument>(state_, request_, ReportName(request_.analysis))),
      part_(MakeReportPart(state_, request_))
{
    document_->AddPart(*part_);
}

PdfReportWriting::~PdfReportWriting() = default;

bool PdfReportWriting::RecordNext()
{
    return document_->RecordNext();
}

QByteArray PdfReportWriting::Write(QString& error, const std::function<void()>& pageDone)
{
    return document_->Write(error, pageDone);
}

void PdfReportWriting::Stop()
{
    document_->Stop();
}

bool PdfReportWriting::Stopped() const
{
    return document_->Stopped();
}

int PdfReportWriting::Percent() const
{
    return document_->Percent();
}

} // namespace zlm
