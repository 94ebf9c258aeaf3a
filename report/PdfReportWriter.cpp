// The PDF report behind zlm-batch's --report: the ReportWriter of commands/,
// with the application object Qt needs when the process has none.

#include "commands/ReportRequest.h"
#include "report/PdfReport.h"

#include <QApplication>
#include <QHashSeed>

#include <cstdio>
#include <memory>

namespace zlm {

namespace {

class PdfReportWriter final : public ReportWriter {
public:
    SaveResult Write(const std::string& path, const SessionState& state, const ReportRequest& request) override
    {
        if (QCoreApplication::instance() == nullptr) {
            // No display is needed to draw into a PDF; the platform is only chosen
            // when the user has not named one.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            // Qt orders some of the document's objects by hash; a fixed seed keeps
            // the bytes of the same report the same from one run to the next.
            QHashSeed::setDeterministicGlobalSeed();
            // Starting Qt without a desktop session brings notes (no runtime
            // folder, no session bus) that mean nothing to a zlm-batch user.
            const QtMessageHandler previous =
                qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
                    if (type == QtCriticalMsg || type == QtFatalMsg)
                        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
                });
            application_ = std::make_unique<QApplication>(argc_, argv_);
            qInstallMessageHandler(previous);
        }
        return WritePdfReport(path, state, request);
    }

private:
    char name_[10] = "zlm-batch";
    char* argv_[2] = {name_, nullptr};
    int argc_ = 1;
    std::unique_ptr<QApplication> application_;
};

} // namespace

std::unique_ptr<ReportWriter> MakePdfReportWriter()
{
    return std::make_unique<PdfReportWriter>();
}

} // namespace zlm
