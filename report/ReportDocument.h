#pragma once

#include "report/GraphPager.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

class QPainter;
class QPdfWriter;
class QPicture;

namespace zlm {

class PageFrame;
class ReportPart;
class ReportText;
struct ReportRequest;
struct SessionState;

/**
 * The acceptance report as a PDF document, whatever its analyses: pages with a
 * running header and footer, the profile page (file name and path, size,
 * SHA-256 of its bytes, the channel or wheel paths the analysis read, points, interval, length, title and the file's
 * header fields), each part's sections and graph pages (cut into landscape
 * pages by the pager), and the program, analysis time and command line that
 * reproduce the run. The same state and request give the same bytes: the
 * document's dates are the analysis time and its identifier is derived from its
 * contents.
 */
class ReportDocument {
public:
    /** A report of `state` named `name` (its header and title) for `request`. */
    ReportDocument(const SessionState& state, const ReportRequest& request, QString name);
    ~ReportDocument();

    /**
     * Adds a part after those added before; every part is added before the
     * report is started, and must outlive it.
     */
    void AddPart(ReportPart& part);

    /** How the graphs of the profile are paged, for the parts' texts. */
    const GraphPager& Pager() const { return pager_; }

    /**
     * The PDF bytes: Write on a thread of its own while this thread, which must
     * be the application's (the graphs are widgets), records the graph pages.
     * Returns empty bytes, with `error` saying why, when the profile file cannot
     * be read for its checksum or the pages cannot be started.
     */
    QByteArray Bytes(QString& error);

    /**
     * The report made in two halves on two threads, so that a window stays
     * alive while the document is written. The application's thread calls
     * RecordNext until it returns false: each call is one short step, first the
     * parts' graphs prepared a share at a time, then one graph page drawn into
     * a recording. Any other thread calls Write once, at the same time: the
     * checksum of the profile file, the text pages laid out, and every page
     * drawn into the document in order, each graph page from its recording as
     * soon as it is made; `pageDone`, when given, is called after each page.
     * The bytes are Bytes' own.
     */
    bool RecordNext();
    QByteArray Write(QString& error, const std::function<void()>& pageDone = {});
    /**
     * Stops both halves before their next step (thread-safe): RecordNext returns
     * false, Write returns empty bytes with no error.
     * Write stops them too when it fails.
     */
    void Stop();
    bool Stopped() const { return stopped_; }
    /**
     * How far the report is, 0 to 100, never going back (thread-safe): the graph
     * steps and recordings, and the pages drawn, each counting alike, against
     * the fewest pages the report can have until its text is laid out; 100 once
     * the document is ended.
     */
    int Percent() const;

    struct AnalysedProfile;

private:
    void WriteProfile(ReportText& text, qint64 size, const QString& sha256) const;
    void WriteReproduction(ReportText& text) const;
    void SetUpWriter(QPdfWriter& writer) const;
    int GraphPages() const;
    bool TakeGraphPage(int graphPage, QPicture& picture);
    void DrawGraphPage(QPainter& painter, PageFrame& frame, int graphPage, const QPicture& picture) const;
    QByteArray Fail(QString& error, const QString& why);

    const SessionState& state_;
    const ReportRequest& request_;
    QString name_;
    std::unique_ptr<AnalysedProfile> analysed_; ///< the profile of request.analysis, for the profile page and pager
    QString fileName_;
    double profileLength_ = 0.0;
    GraphPager pager_;
    std::vector<ReportPart*> parts_;
    std::vector<std::pair<ReportPart*, int>> setUp_; ///< every part's graph steps, in order
    std::vector<ReportPart*> graphs_;                ///< the parts with a graph
    QSize graphSize_;                                ///< of a graph below its page's note

    // The application's thread's own.
    std::size_t recorded_ = 0; ///< set-up steps taken and pages recorded

    // Between the two halves.
    std::atomic<bool> stopped_{false};
    std::atomic<int> stepsDone_{0}; ///< set-up steps, recordings and pages drawn
    std::atomic<int> pageCount_{0}; ///< once the text is laid out
    std::atomic<bool> ended_{false};
    mutable std::atomic<int> shown_{0}; ///< the most Percent has said
    std::mutex pagesMutex_;
    std::condition_variable pageRecorded_;
    std::vector<QByteArray> recordings_; ///< by graph page, each let go once drawn
    int recordingsReady_ = 0;            ///< under pagesMutex_
};

} // namespace zlm
