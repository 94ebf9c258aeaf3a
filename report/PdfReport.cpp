#include "report/PdfReport.h"

#include "commands/SafeFileWrite.h"
#include "report/ReportDocument.h"
#include "report/RideQualityReportPart.h"
#include "report/StraightedgeReportPart.h"

namespace zlm {

QByteArray PdfReportBytes(const SessionState& state, const ReportRequest& request, QString& error)
{
    if (request.analysis == ReportAnalysis::RideQuality) {
        ReportDocument document(state, request, QStringLiteral("Evenrule (ZLM) ride-quality report"));
        RideQualityReportPart ride(state, request);
        document.AddPart(ride);
        return document.Bytes(error);
    }
    ReportDocument document(state, request, QStringLiteral("Evenrule (ZLM) straightedge report"));
    StraightedgeReportPart straightedge(state, request);
    document.AddPart(straightedge);
    return document.Bytes(error);
}

SaveResult WritePdfReport(const std::string& path, const SessionState& state, const ReportRequest& request)
{
    SaveResult result;
    QString error;
    const QByteArray pdf = PdfReportBytes(state, request, error);
    if (pdf.isEmpty()) {
        result.message = error.toStdString();
        return result;
    }
    const SafeWriteResult written = WriteFileSafely(path, std::string_view(pdf.constData(), pdf.size()));
    result.ok = written.ok;
    result.message = written.message;
    return result;
}

} // namespace zlm
