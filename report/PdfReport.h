#pragma once

#include "commands/ReportRequest.h"
#include "commands/SessionState.h"
#include "report/GraphPager.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <string>

namespace zlm {

/**
 * The acceptance report of the straightedge run in `state` as PDF bytes: a
 * ReportDocument with a StraightedgeReportPart. Every page carries the
 * report's name, the profile's file name and "Page i of n" at the top and the
 * program, its version and the analysis time at the bottom. The pages hold, in
 * order: the profile (file name and path, size, SHA-256 of its bytes, channel,
 * points, interval, length, title and the file's header fields), the method,
 * the result (placements, exceeding placements, percentages, zones; the section
 * table of a section run), the deviation graph split into landscape pages of at
 * most GraphPageDistance each, the corrections list, and the command line and
 * time that reproduce the run. Text is text; the graph is drawn as vectors.
 * The same state and request give the same bytes: the document's dates are the
 * analysis time and its identifier is derived from its contents.
 *
 * Needs a QApplication and is called on its thread (the graph is a widget):
 * the document is written on another thread while this one records the graph
 * pages. Returns empty bytes, with `error` saying why, when the profile file
 * cannot be read for its checksum.
 */
/**
 * With request.analysis RideQuality, the ride-quality report of
 * state.rideQuality instead: a ReportDocument with a RideQualityReportPart,
 * the same header, footer, profile page (naming the paths analysed) and
 * reproduction rules.
 */
QByteArray PdfReportBytes(const SessionState& state, const ReportRequest& request, QString& error);

/** PdfReportBytes written safely to `path`: a failure leaves no partial file and names the path. */
SaveResult WritePdfReport(const std::string& path, const SessionState& state, const ReportRequest& request);

/** Report bytes written safely to `path`; empty bytes are the refusal `error`, and nothing is written. */
SaveResult SavePdfReport(const std::string& path, const QByteArray& pdf, const QString& error);

class ReportDocument;
class ReportPart;

/**
 * The report PdfReportBytes makes, of its own copy of the session and the
 * request, for a window that stays alive meanwhile: the window's thread calls
 * RecordNext between its events until it returns false (the graphs are
 * widgets: their pages are recorded there, a step at a time), while a worker
 * thread calls Write once for the same bytes. Stop ends both. The steps are
 * ReportDocument's; the window's thread must be the one to destroy it.
 */
class PdfReportWriting {
public:
    PdfReportWriting(SessionState state, ReportRequest request);
    ~PdfReportWriting();
    PdfReportWriting(const PdfReportWriting&) = delete;
    PdfReportWriting& operator=(const PdfReportWriting&) = delete;

    bool RecordNext();
    QByteArray Write(QString& error, const std::function<void()>& pageDone);
    void Stop();
    bool Stopped() const;
    /** How far the report is, 0 to 100, never going back (thread-safe). */
    int Percent() const;

private:
    SessionState state_;
    ReportRequest request_;
    std::unique_ptr<ReportDocument> document_;
    std::unique_ptr<ReportPart> part_;
};

} // namespace zlm
