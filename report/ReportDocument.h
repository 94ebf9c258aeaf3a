#pragma once

#include "report/GraphPager.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QCPPainter;
class QPdfWriter;

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

    /** Adds a part after those added before; the part must outlive Bytes. */
    void AddPart(ReportPart& part);

    /** How the graphs of the profile are paged, for the parts' texts. */
    const GraphPager& Pager() const { return pager_; }

    /**
     * The PDF bytes. Needs a QApplication (the graphs are widgets). Returns
     * empty bytes, with `error` saying why, when the profile file cannot be
     * read for its checksum or the pages cannot be started.
     */
    QByteArray Bytes(QString& error);

    /**
     * The same bytes a step at a time, for a window that answers its events
     * between steps while a long report is made: Begin, SetUpNext until SetUp()
     * (it returns false, with `error`, where Bytes refuses, and the report ends
     * there), then DrawNextPage until PagesDrawn() reaches PageCount(), then
     * Finish. Begin starts the checksum of the profile file on another thread;
     * the set-up steps prepare the parts' graphs a share at a time, lay out the
     * closing text pages, and last the opening ones, whose profile section is
     * the first to wait for the checksum. Ending the document between steps
     * writes nothing.
     */
    void Begin();
    bool SetUp() const;
    bool SetUpNext(QString& error);
    int PageCount() const;
    int PagesDrawn() const;
    void DrawNextPage();
    QByteArray Finish();
    /**
     * How far the report is, 0 to 100, never going back: each set-up step
     * counts as a page would, against the fewest pages the report can have,
     * and the pages share the rest.
     */
    int Percent() const;

    struct AnalysedProfile;

private:
    void WriteProfile(ReportText& text, qint64 size, const QString& sha256) const;
    void WriteReproduction(ReportText& text) const;
    void SetUpWriter(QPdfWriter& writer) const;
    void LayOutClosing();
    bool LayOutOpening(QString& error);
    void DrawGraphPage(int graphPage);

    const SessionState& state_;
    const ReportRequest& request_;
    QString name_;
    std::unique_ptr<AnalysedProfile> analysed_; ///< the profile of request.analysis, for the profile page and pager
    QString fileName_;
    double profileLength_ = 0.0;
    GraphPager pager_;
    std::vector<ReportPart*> parts_;
    struct Writing;
    std::unique_ptr<Writing> writing_; ///< between Begin and Finish
};

} // namespace zlm
