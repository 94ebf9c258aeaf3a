#include "graph/DeviationGraph.h"

#include "analysis/CorrectionZone.h"
#include "analysis/DisplayFormat.h"
#include "analysis/NumberText.h"
#include "analysis/StraightedgeResults.h"
#include "commands/SessionState.h"
#include "graph/GraphControl.h"
#include "graph/LocaleText.h"
#include "profile_input/PathText.h"

#include <algorithm>

namespace zlm {

namespace {

void SetTitles(GraphControl& graph, const SessionState& state, const QString& profilePath, char separator)
{
    const StraightedgeResults& results = state.straightedge.results;
    const StraightedgeMethod& method = results.method;
    QString mainTitle = FromCoreText(PlainDecimalText(method.baseLength)) +
                        (method.units == UnitSystem::SI ? QStringLiteral("-Metre") : QStringLiteral("-Foot")) +
                        QStringLiteral(" Evenrule (ZLM)");
    // The default method's title is the long-standing one; any other says how the
    // straightedge moved, as the threshold line below says what it was held to.
    if (method != StraightedgeMethod{}) {
        mainTitle += method.continuous ? QStringLiteral(", rolled continuously")
                                       : QStringLiteral(", ") + FromCoreText(PlainDecimalText(method.step)) +
                                             FromCoreText(" " + state.units.length) + QStringLiteral(" steps");
    }
    graph.SetMainTitle(mainTitle);
    std::string directory;
    graph.SetSubtitle(FromCoreText(SplitFilePath(profilePath.toStdString(), directory)));

    const std::string thresholdText = PlainDecimalText(results.method.tolerance);
    const QString threshold = FromCoreText(thresholdText);
    const QString deviationUnit = FromCoreText(state.units.deviation);
    graph.SetExtraTitleLine(0, QStringLiteral("|Threshold Value = ") + threshold + QStringLiteral(" (") +
                                   deviationUnit + QStringLiteral(")|"));
    graph.SetExtraTitleLine(1, QStringLiteral("|") + FromCoreText(state.profileTitle) + QStringLiteral("|"));
    graph.SetExtraTitleLine(2, QStringLiteral("|Percent Exceeded Threshold (") + threshold + QStringLiteral(" ") +
                                   deviationUnit + QStringLiteral(") = ") +
                                   FromCoreText(FormatNumber(results.overallPercentExceeding, "#0.00", separator)) +
                                   QStringLiteral("% Overall|"));

    graph.SetXAxisLabel(QStringLiteral("Distance (") + FromCoreText(state.units.length) + QStringLiteral(")"));
    graph.SetYAxisLabel(0, QStringLiteral("Deviation From Straightedge (") + deviationUnit + QStringLiteral(")"));
    graph.SetYAxisLabel(1, QStringLiteral("Elevation (") + deviationUnit + QStringLiteral(")"));
    // The line stands where its label says: at the tolerance's text read back.
    graph.AddHorizontalLine(ParseDouble(thresholdText), 0, QColor(255, 0, 0), threshold);
}

/** An elevation of the analysed profile in the deviation unit, as the profile curve draws it. */
double ProfileValue(const SessionState& state, std::size_t point)
{
    const double elevation = point < state.workingElevations.size() ? state.workingElevations[point] : 0.0;
    return elevation * DeviationPerLength(state.straightedge.results.method.units);
}

void SetPlacementCurve(GraphControl& graph, const SessionState& state)
{
    // Both curves are drawn in single precision: placements by station, and the
    // profile's N points in the deviation unit (inches of feet, millimetres of metres).
    const StraightedgeResults& results = state.straightedge.results;
    const std::size_t pointCount = static_cast<std::size_t>(std::max(results.pointCount, 0));
    const std::size_t n = std::min(results.placements.size(), pointCount);
    GraphControl::Curve placements{{QStringLiteral("ZLM"), QColor(0, 0, 255), 0}, {}, {}};
    placements.x.resize(n);
    placements.y.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        placements.x[i] = static_cast<float>(results.placements[i].Station);
        placements.y[i] = static_cast<float>(results.placements[i].MaxDeviation);
    }
    graph.SetData({std::move(placements)});
}

void AddProfileCurve(GraphControl& graph, const SessionState& state)
{
    const StraightedgeResults& results = state.straightedge.results;
    const std::size_t pointCount = static_cast<std::size_t>(std::max(results.pointCount, 0));
    GraphControl::Curve profile{{QStringLiteral("Profile"), QColor(110, 110, 110), 1}, {}, {}};
    profile.x.resize(pointCount);
    profile.y.resize(pointCount);
    for (std::size_t m = 0; m < pointCount; ++m) {
        profile.x[m] = static_cast<float>(static_cast<double>(m) * results.interval);
        profile.y[m] = static_cast<float>(ProfileValue(state, m));
    }
    graph.AddCurve(profile);
}

void AddSectionLines(GraphControl& graph, const StraightedgeResults& results, char separator)
{
    if (!results.HasSectionSummary())
        return;
    // One line closing each section, labelled with its share as the table shows it;
    // the last closes at the last profile point.
    const std::size_t count = results.sections.size();
    for (std::size_t i = 0; i < count; ++i) {
        const double at = i + 1 == count ? static_cast<double>(results.pointCount - 1) * results.interval
                                         : static_cast<double>(results.sectionLength * static_cast<float>(i + 1));
        graph.AddVerticalLine(at, QColor(0, 0, 0),
                              FromCoreText(FormatNumber(results.sections[i].percentExceeding, "##0.0", separator)));
    }
}

void AddCorrectionZones(GraphControl& graph, const SessionState& state)
{
    const StraightedgeResults& results = state.straightedge.results;
    const CorrectionSummary& zones = results.zones;
    if (zones.zones.empty())
        return;
    // The supports sit on the profile curve: the same value through single
    // precision as the curve is drawn.
    const auto profileValue = [&](std::int32_t point) {
        return static_cast<double>(static_cast<float>(ProfileValue(state, static_cast<std::size_t>(point))));
    };
    const auto distance = [&](std::int32_t point) {
        return static_cast<double>(static_cast<float>(static_cast<double>(point) * results.interval));
    };
    QVector<QPointF> supports;
    for (const CorrectionZone& zone : zones.zones) {
        graph.AddBand(zone.start, zone.end, QColor(255, 140, 0, 60), QStringLiteral("Exceedance zones"));
        if (zone.HasSupports()) {
            supports.append(QPointF(distance(zone.leftSupport), profileValue(zone.leftSupport)));
            supports.append(QPointF(distance(zone.rightSupport), profileValue(zone.rightSupport)));
        }
    }
    graph.SetMarkers(supports, 1, QColor(200, 0, 0), QStringLiteral("Supports of worst placement"));
}

} // namespace

void FillDeviationGraph(GraphControl& graph, const SessionState& state, const QString& profilePath,
                        char decimalSeparator)
{
    for (int piece = 0; piece < kDeviationGraphPieces; ++piece)
        FillDeviationGraphPiece(graph, state, profilePath, decimalSeparator, piece);
}

void FillDeviationGraphPiece(GraphControl& graph, const SessionState& state, const QString& profilePath,
                             char decimalSeparator, int piece)
{
    switch (piece) {
    case 0:
        SetTitles(graph, state, profilePath, decimalSeparator);
        SetPlacementCurve(graph, state);
        break;
    case 1:
        AddProfileCurve(graph, state);
        break;
    default:
        AddSectionLines(graph, state.straightedge.results, decimalSeparator);
        AddCorrectionZones(graph, state);
        break;
    }
}

} // namespace zlm
