#include "report/StraightedgeReportPart.h"

#include "analysis/CorrectionsTable.h"
#include "analysis/DisplayFormat.h"
#include "analysis/ResultsTable.h"
#include "commands/ReportRequest.h"
#include "commands/SessionState.h"
#include "graph/DeviationGraph.h"
#include "graph/GraphControl.h"
#include "report/GraphPager.h"
#include "report/ReportStyle.h"
#include "report/ReportText.h"

#include <qcustomplot.h>

#include <algorithm>
#include <limits>

namespace zlm {

namespace {

QString WithUnit(const std::string& number, const std::string& unit)
{
    return ReportString(number + " " + unit);
}

QString Percent(double value, char separator)
{
    return ReportString(FormatNumber(value, "#0.00", separator)) + QStringLiteral("%");
}

} // namespace

StraightedgeReportPart::StraightedgeReportPart(const SessionState& state, const ReportRequest& request)
    : state_(state), request_(request), zones_(state.straightedge.results.zones)
{
}

StraightedgeReportPart::~StraightedgeReportPart() = default;

void StraightedgeReportPart::WriteOpening(ReportText& text, const GraphPager& pager) const
{
    WriteMethod(text);
    WriteResult(text);
    const StraightedgeResults& results = state_.straightedge.results;
    if (results.HasSectionSummary()) {
        text.Heading(QStringLiteral("Sections"));
        text.Table(ResultsTableText(results, state_.units, request_.decimalSeparator));
    }
    text.Heading(QStringLiteral("Deviation graph"));
    text.Paragraph(QStringLiteral("The graph follows on %1 landscape page%2, each covering at most %3 %4 of road, "
                                  "with the tolerance line, the exceedance zones shaded and the section lines.")
                       .arg(pager.Pages())
                       .arg(pager.Pages() == 1 ? QString() : QStringLiteral("s"))
                       .arg(GraphPageDistanceText(pager.Units()))
                       .arg(ReportString(state_.units.length)));
}

void StraightedgeReportPart::WriteMethod(ReportText& text) const
{
    const StraightedgeResults& results = state_.straightedge.results;
    const StraightedgeMethod& method = results.method;
    const UnitTexts& units = state_.units;
    text.Heading(QStringLiteral("Method"));
    text.BeginFacts();
    text.Fact(QStringLiteral("Base length"), WithUnit(PlainDecimalText(method.baseLength), units.length));
    text.Fact(QStringLiteral("Step"), method.continuous ? QStringLiteral("continuous (one sample interval)")
                                                        : WithUnit(PlainDecimalText(method.step), units.length));
    text.Fact(QStringLiteral("Tolerance"), WithUnit(PlainDecimalText(method.tolerance), units.deviation));
    text.Fact(QStringLiteral("Unit system"),
              method.units == UnitSystem::SI ? QStringLiteral("SI (m, mm)") : QStringLiteral("US (ft, in)"));
    if (results.HasSectionSummary())
        text.Fact(QStringLiteral("Section length"), WithUnit(PlainDecimalText(results.sectionLength), units.length));
}

void StraightedgeReportPart::WriteResult(ReportText& text) const
{
    const StraightedgeResults& results = state_.straightedge.results;
    const char separator = request_.decimalSeparator;
    text.Heading(QStringLiteral("Result"));
    text.BeginFacts();
    text.Fact(QStringLiteral("Placements"), QString::number(results.placements.size()));
    text.Fact(QStringLiteral("Exceeding placements"), QString::number(results.exceedingCount));
    text.Fact(QStringLiteral("Percent exceeding overall"), Percent(results.overallPercentExceeding, separator));
    text.Fact(QStringLiteral("Percent defective length"), Percent(zones_.percentDefectiveLength, separator));
    text.Fact(QStringLiteral("Exceedance zones"), QString::number(zones_.zones.size()));
    text.Fact(QStringLiteral("Total zone length"),
              WithUnit(FormatNumber(zones_.totalLength, "0.00", separator), state_.units.length));
}

int StraightedgeReportPart::GraphSteps() const
{
    // The graph's pieces (a long road's curves take milliseconds each), then its extent and items.
    return kDeviationGraphPieces + 1;
}

void StraightedgeReportPart::PrepareGraph(int step)
{
    if (step == 0)
        graph_ = std::make_unique<GraphControl>();
    if (step < kDeviationGraphPieces) {
        FillDeviationGraphPiece(*graph_, state_, ReportString(request_.profilePath), request_.decimalSeparator, step);
        return;
    }
    graph_->Redraw();
    PlaceItems();
}

void StraightedgeReportPart::PlaceItems()
{
    // The zones, supports and section lines of a long road are thousands of items, each
    // drawn (and clipped away) on every page unless those far from the page are hidden.
    QCustomPlot& plot = *graph_->Plot();
    for (int k = 0; k < plot.itemCount(); ++k) {
        PlacedItem placed{plot.item(k), std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
        for (const QCPItemPosition* position : placed.item->positions()) {
            if (position->typeX() == QCPItemPosition::ptPlotCoords) {
                placed.from = std::min(placed.from, position->coords().x());
                placed.to = std::max(placed.to, position->coords().x());
            }
        }
        // A straight line through two distances runs across every page; one through one distance is local.
        const bool acrossAll = qobject_cast<QCPItemStraightLine*>(placed.item) != nullptr && placed.from != placed.to;
        if (placed.from <= placed.to && !acrossAll)
            placedItems_.push_back(placed);
    }
}

QString StraightedgeReportPart::GraphName() const
{
    return QStringLiteral("Deviation graph");
}

void StraightedgeReportPart::DrawGraph(QCPPainter& painter, double start, double end, int width, int height)
{
    graph_->SetZoomWindow(start, end);
    // A label reaches at most a quarter of a page beyond the distance it is tied to.
    const double margin = (end - start) / 4.0;
    for (const PlacedItem& placed : placedItems_)
        placed.item->setVisible(placed.to >= start - margin && placed.from <= end + margin);
    graph_->Render(painter, width, height);
}

void StraightedgeReportPart::WriteClosing(ReportText& text) const
{
    text.Heading(QStringLiteral("Corrections"));
    if (zones_.zones.empty()) {
        text.Paragraph(QStringLiteral("No placement exceeds the tolerance: there is nothing to correct."));
        return;
    }
    text.Paragraph(QStringLiteral("Each zone joins exceeding placements whose spans overlap or touch; the worst "
                                  "placement's supports and low point show where to grind or fill."));
    text.Table(CorrectionsTable(zones_, state_.units, request_.decimalSeparator));
}

} // namespace zlm
