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
 */
class ReportPart {
public:
    virtual ~ReportPart() = default;

    /** Writes the sections that follow the profile: the method, the result, what the graph pages show. */
    virtual void WriteOpening(ReportText& text, const GraphPager& pager) const = 0;

    /**
     * Gets the graph ready to be drawn page by page (after the texts are laid
     * out, before any page is drawn). Returns false when the part has no graph.
     */
    virtual bool PrepareGraph() = 0;
    /** The graph's name in each page's note ("Deviation graph"). */
    virtual QString GraphName() const = 0;
    /** Draws the graph of the distances `start` to `end` in a width × height area at the painter's origin. */
    virtual void DrawGraph(QCPPainter& painter, double start, double end, int width, int height) = 0;

    /** Writes the sections that follow the graph pages (a corrections list), before the reproducing command. */
    virtual void WriteClosing(ReportText& text) const = 0;
};

} // namespace zlm
