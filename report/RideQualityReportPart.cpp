#include "report/RideQualityReportPart.h"

#include "analysis/DisplayFormat.h"
#include "analysis/TextTable.h"
#include "commands/ReportRequest.h"
#include "commands/SessionState.h"
#include "graph/GraphControl.h"
#include "graph/RideQualityGraph.h"
#include "report/GraphPager.h"
#include "report/ReportStyle.h"
#include "report/ReportText.h"
#include "ride_quality/RideQualityText.h"

#include <qcustomplot.h>

#include <cmath>
#include <string>
#include <vector>

namespace zlm {

namespace {

/**
 * A table of the core's comma-separated text (cells hold no commas), its
 * numbers as the file writes them but with the report's decimal separator:
 * the report shows what Save As writes.
 */
class CsvTable final : public TextTable {
public:
    CsvTable(const std::string& csv, char decimalSeparator)
    {
        std::size_t lineStart = 0;
        while (lineStart < csv.size()) {
            std::size_t lineEnd = csv.find("\r\n", lineStart);
            if (lineEnd == std::string::npos)
                lineEnd = csv.size();
            std::vector<std::string> row;
            std::string cell;
            for (std::size_t k = lineStart; k <= lineEnd; ++k) {
                if (k == lineEnd || csv[k] == ',') {
                    row.push_back(cell);
                    cell.clear();
                } else {
                    // The header names hold no '.'; every other '.' is a number's.
                    cell += csv[k] == '.' && !rows_.empty() ? decimalSeparator : csv[k];
                }
            }
            rows_.push_back(std::move(row));
            lineStart = lineEnd + 2;
        }
    }

    std::int32_t Rows() const override { return static_cast<std::int32_t>(rows_.size()); }
    std::int32_t Cols() const override { return rows_.empty() ? 0 : static_cast<std::int32_t>(rows_[0].size()); }
    std::string Cell(std::int32_t row, std::int32_t col) const override
    {
        if (row < 0 || row >= Rows() || col < 0 || col >= static_cast<std::int32_t>(rows_[row].size()))
            return {};
        return rows_[row][col];
    }

private:
    std::vector<std::vector<std::string>> rows_;
};

QString WithUnit(const std::string& number, const std::string& unit)
{
    return ReportString(number + " " + unit);
}

} // namespace

RideQualityReportPart::RideQualityReportPart(const SessionState& state, const ReportRequest& request)
    : state_(state), request_(request)
{
}

RideQualityReportPart::~RideQualityReportPart() = default;

void RideQualityReportPart::WriteOpening(ReportText& text, const GraphPager& pager) const
{
    WriteMethod(text);
    WriteResult(text);
    const RideQualityResults& results = state_.rideQuality.results;
    text.Heading(QStringLiteral("Sections"));
    text.Table(CsvTable(RideSectionsCsv(results), request_.decimalSeparator));
    text.Heading(QStringLiteral("Ride-quality graph"));
    text.Paragraph(QStringLiteral("The graph follows on %1 landscape page%2, each covering at most %3 %4 of road, "
                                  "with the continuous %5 and the section values, the threshold line, the "
                                  "localized-roughness areas shaded and the analysed profile%6.")
                       .arg(pager.Pages())
                       .arg(pager.Pages() == 1 ? QString() : QStringLiteral("s"))
                       .arg(GraphPageDistanceText(pager.Units()))
                       .arg(ReportString(RideUnitTextsFor(results.method.units).length))
                       .arg(results.twoPaths ? QStringLiteral("MRI") : QStringLiteral("IRI"))
                       .arg(results.twoPaths ? QStringLiteral("s") : QString()));
}

void RideQualityReportPart::WriteMethod(ReportText& text) const
{
    const RideQualityResults& results = state_.rideQuality.results;
    const RideQualityMethod& method = results.method;
    const RideUnitTexts units = RideUnitTextsFor(method.units);
    text.Heading(QStringLiteral("Method"));
    text.BeginFacts();
    text.Fact(QStringLiteral("Model"), QStringLiteral("Quarter car at 80 km/h"));
    text.Fact(QStringLiteral("Slope base"), QStringLiteral("250 mm (%1 sample interval%2)")
                                                .arg(results.slopeBase)
                                                .arg(results.slopeBase == 1 ? QString() : QStringLiteral("s")));
    text.Fact(QStringLiteral("Section length"), method.sectionLength > 0.0
                                                    ? WithUnit(PlainDecimalText(method.sectionLength), units.length)
                                                    : QStringLiteral("whole profile (one section)"));
    text.Fact(QStringLiteral("Base length"), WithUnit(PlainDecimalText(method.baseLength), units.length));
    text.Fact(QStringLiteral("Threshold"), WithUnit(PlainDecimalText(method.threshold), units.roughness));
    text.Fact(QStringLiteral("Localized roughness"),
              method.localized ? QStringLiteral("searched") : QStringLiteral("not searched"));
    text.Fact(QStringLiteral("Unit system"),
              method.units == UnitSystem::SI ? QStringLiteral("SI (m, m/km)") : QStringLiteral("US (ft, in/mi)"));
}

void RideQualityReportPart::WriteResult(ReportText& text) const
{
    const RideQualityResults& results = state_.rideQuality.results;
    const RideUnitTexts units = RideUnitTextsFor(results.method.units);
    const char separator = request_.decimalSeparator;
    const auto roughness = [&](double value) {
        return std::isnan(value) ? QStringLiteral("none")
                                 : WithUnit(FormatNumber(value, units.pattern, separator), units.roughness);
    };
    text.Heading(QStringLiteral("Result"));
    text.BeginFacts();
    if (results.twoPaths) {
        text.Fact(QStringLiteral("IRI left"), roughness(results.iriLeft));
        text.Fact(QStringLiteral("IRI right"), roughness(results.iriRight));
        text.Fact(QStringLiteral("MRI"), roughness(results.mri));
        text.Fact(QStringLiteral("HRI"), roughness(results.hri));
    } else {
        text.Fact(QStringLiteral("IRI"), roughness(results.iriLeft));
    }
    text.Fact(QStringLiteral("Sections"), QString::number(results.sections.size()));
    if (results.method.localized) {
        text.Fact(QStringLiteral("Localized roughness areas"), QString::number(results.areas.size()));
        text.Fact(QStringLiteral("Percent of length localized"),
                  ReportString(FormatNumber(results.percentLocalized, "#0.00", separator)) + QStringLiteral("%"));
    }
}

int RideQualityReportPart::GraphSteps() const
{
    // The graph's pieces (a long road's curves take milliseconds each), then its extent.
    return kRideQualityGraphPieces + 1;
}

void RideQualityReportPart::PrepareGraph(int step)
{
    if (step == 0)
        graph_ = std::make_unique<GraphControl>();
    if (step < kRideQualityGraphPieces)
        FillRideQualityGraphPiece(*graph_, state_.rideQuality, ReportString(request_.profilePath),
                                  request_.decimalSeparator, step);
    else
        graph_->Redraw();
}

QString RideQualityReportPart::GraphName() const
{
    return QStringLiteral("Ride-quality graph");
}

void RideQualityReportPart::DrawGraph(QCPPainter& painter, double start, double end, int width, int height)
{
    graph_->SetZoomWindow(start, end);
    graph_->Render(painter, width, height);
}

void RideQualityReportPart::WriteClosing(ReportText& text) const
{
    const RideQualityResults& results = state_.rideQuality.results;
    if (!results.method.localized)
        return;
    text.Heading(QStringLiteral("Localized roughness"));
    if (results.areas.empty()) {
        text.Paragraph(QStringLiteral("No continuous value reaches the threshold: there is no localized roughness."));
        return;
    }
    text.Paragraph(QStringLiteral("Each area is a stretch of road whose continuous value is at or above the threshold; "
                                  "its peak is the largest continuous value in it, at the centre of that window."));
    text.Table(CsvTable(RoughAreasCsv(results), request_.decimalSeparator));
}

} // namespace zlm
