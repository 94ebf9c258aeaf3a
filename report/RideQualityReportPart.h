#pragma once

#include "report/ReportPart.h"

#include <QString>

#include <memory>

namespace zlm {

class GraphControl;
struct ReportRequest;
struct SessionState;

/**
 * The ride quality's share of the report, from state.rideQuality: its method
 * (the quarter car at 80 km/h, the 250 mm slope base, section and base lengths,
 * threshold, unit system), the overall figures (each path's IRI, MRI and HRI,
 * or the one IRI; the localized roughness), the section table as the section
 * CSV gives it, the ride-quality graph, and the localized-roughness areas.
 */
class RideQualityReportPart final : public ReportPart {
public:
    RideQualityReportPart(const SessionState& state, const ReportRequest& request);
    ~RideQualityReportPart() override;

    void WriteOpening(ReportText& text, const GraphPager& pager) const override;
    int GraphSteps() const override;
    void PrepareGraph(int step) override;
    QString GraphName() const override;
    void DrawGraph(QCPPainter& painter, double start, double end, int width, int height) override;
    void WriteClosing(ReportText& text) const override;

private:
    void WriteMethod(ReportText& text) const;
    void WriteResult(ReportText& text) const;

    const SessionState& state_;
    const ReportRequest& request_;
    std::unique_ptr<GraphControl> graph_;
};

} // namespace zlm
