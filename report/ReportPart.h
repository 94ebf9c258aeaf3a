#pragma once

#include <QString>

class QCPPainter;

namespace zlm {

class GraphPager;
class ReportText;

/**
 * One analysis's share of the acceptance report. A ReportDocument writes the
 * profile, then every part's opening sections, every part's graph pages, every
 * part's closing sections, and last the command line that reproduces the run;
 * it draws the pages' header and footer and cuts each graph into pages with
 * its GraphPager. A new analysis adds a part beside StraightedgeReportPart.
 *
 * The document is written on a thread of its own while the application's
 * thread prepares and draws the graph (a widget): the writing thread calls only
 * the const members WriteOpening, WriteClosing and GraphName, which read the
 * session and never what the graph steps change; the application's thread
 * calls GraphSteps, PrepareGraph and DrawGraph.
 */
class ReportPart {
public:
    virtual ~ReportPart() = default;

    /** Writes the sections that follow the profile: the method, the result, what the graph pages show. */
    virtual void WriteOpening(ReportText& text, const GraphPager& pager) const = 0;

    /** How many steps getting the graph ready takes; 0 when the part has no graph. */
    virtual int GraphSteps() const = 0;
    /**
     * Step `step` of getting the graph ready to be drawn page by page: steps 0
     * to GraphSteps() - 1 are taken in order, before any page is recorded. Each is
     * a share of the work short enough for a window to answer its events
     * between two of them.
     */
    virtual void PrepareGraph(int step) = 0;
    /** The graph's name in each page's note ("Deviation graph"). */
    virtual QString GraphName() const = 0;
    /**
     * Draws the graph of the distances `start` to `end` in a width × height area
     * at the painter's origin, into the recording the writing thread draws on its page.
     */
    virtual void DrawGraph(QCPPainter& painter, double start, double end, int width, int height) = 0;

    /** Writes the sections that follow the graph pages (a corrections list), before the reproducing command. */
    virtual void WriteClosing(ReportText& text) const = 0;
};

} // namespace zlm
