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
     * The same bytes a page at a time, for a window that stays responsive while
     * a long report is drawn: Begin (false, with `error`, where Bytes refuses),
     * then DrawNextPage until PagesDrawn() reaches PageCount(), then Finish.
     */
    bool Begin(QString& error);
    int PageCount() const;
    int PagesDrawn() const;
    void DrawNextPage();
    QByteArray Finish();

    struct AnalysedProfile;

private:
    void WriteProfile(ReportText& text, qint64 size, const QString& sha256) const;
    void WriteReproduction(ReportText& text) const;
    void SetUpWriter(QPdfWriter& writer) const;
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
