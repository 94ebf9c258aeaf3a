#pragma once

#include "analysis/CorrectionZone.h"
#include "report/ReportPart.h"

#include <QString>

#include <memory>
#include <vector>

class QCPAbstractItem;

namespace zlm {

class GraphControl;
struct ReportRequest;
struct SessionState;

/**
 * The straightedge's share of the report: its method, result (placements,
 * exceeding placements, percentages, zones; the section table of a section
 * run), the deviation graph with the tolerance line, the exceedance zones and
 * the section lines, and the corrections list.
 */
class StraightedgeReportPart final : public ReportPart {
public:
    StraightedgeReportPart(const SessionState& state, const ReportRequest& request);
    ~StraightedgeReportPart() override;

    void WriteOpening(ReportText& text, const GraphPager& pager) const override;
    int GraphSteps() const override;
    void PrepareGraph(int step) override;
    QString GraphName() const override;
    void DrawGraph(QCPPainter& painter, double start, double end, int width, int height) override;
    void WriteClosing(ReportText& text) const override;

private:
    void WriteMethod(ReportText& text) const;
    void WriteResult(ReportText& text) const;
    void PlaceItems();

    /** An item of the graph tied to distances, and the distances it spans. */
    struct PlacedItem {
        QCPAbstractItem* item = nullptr;
        double from = 0.0;
        double to = 0.0;
    };

    const SessionState& state_;
    const ReportRequest& request_;
    const CorrectionSummary& zones_;
    std::unique_ptr<GraphControl> graph_;
    std::vector<PlacedItem> placedItems_;
};

} // namespace zlm
