#include "graph/RideQualityGraph.h"

#include "analysis/DisplayFormat.h"
#include "analysis/StraightedgeResults.h"
#include "commands/SessionState.h"
#include "graph/GraphControl.h"
#include "graph/LocaleText.h"
#include "profile_input/PathText.h"
#include "ride_quality/RideQualityText.h"

#include <algorithm>
#include <cmath>

namespace zlm {

namespace {

/** What the left axis shows: the IRI of one profile, the MRI of two paths. */
QString RoughnessName(const RideQualityResults& results)
{
    return results.twoPaths ? QStringLiteral("MRI") : QStringLiteral("IRI");
}

void SetTitles(GraphControl& graph, const RideQualityResults& results, const QString& profilePath, char separator)
{
    const RideUnitTexts units = RideUnitTextsFor(results.method.units);
    graph.SetMainTitle(FromCoreText(DescribeRideMethod(results.method)));
    std::string directory;
    graph.SetSubtitle(FromCoreText(SplitFilePath(profilePath.toStdString(), directory)));
    const std::vector<std::string> lines = RideOverallLines(results, separator);
    // The overall figures on the first line, the localized roughness on the second.
    QStringList overall;
    QString localized;
    for (const std::string& line : lines) {
        if (line.rfind("Localized", 0) == 0)
            localized = FromCoreText(line);
        else
            overall.append(FromCoreText(line));
    }
    graph.SetExtraTitleLine(0, QStringLiteral("|") + overall.join(QStringLiteral("    ")) + QStringLiteral("|"));
    graph.SetExtraTitleLine(1, localized.isEmpty() ? QString() : QStringLiteral("|") + localized + QStringLiteral("|"));
    graph.SetExtraTitleLine(2, QString());

    const QString roughness = FromCoreText(units.roughness);
    graph.SetXAxisLabel(QStringLiteral("Distance (") + FromCoreText(units.length) + QStringLiteral(")"));
    graph.SetYAxisLabel(0, RoughnessName(results) + QStringLiteral(" (") + roughness + QStringLiteral(")"));
    graph.SetYAxisLabel(1, QStringLiteral("Elevation (") +
                               (results.method.units == UnitSystem::SI ? QStringLiteral("mm") : QStringLiteral("in")) +
                               QStringLiteral(")"));
    graph.AddHorizontalLine(results.method.threshold, 0, QColor(255, 0, 0),
                            QStringLiteral("Threshold ") + FromCoreText(PlainDecimalText(results.method.threshold)) +
                                QStringLiteral(" ") + roughness);
}

GraphControl::Curve ContinuousCurve(const RideQualityResults& results)
{
    GraphControl::Curve curve{{QStringLiteral("Continuous ") + RoughnessName(results), QColor(0, 0, 255), 0}, {}, {}};
    const std::size_t count = results.continuous.size();
    curve.x.resize(count);
    curve.y.resize(count);
    for (std::size_t j = 0; j < count; ++j) {
        curve.x[j] = static_cast<float>(results.WindowCentre(static_cast<std::int64_t>(j)));
        curve.y[j] = static_cast<float>(results.continuous[j]);
    }
    return curve;
}

/** Each section's value held from its start to its end, the steps joined by vertical rises. */
GraphControl::Curve SectionCurve(const RideQualityResults& results)
{
    GraphControl::Curve curve{{QStringLiteral("Section ") + RoughnessName(results), QColor(0, 150, 0), 0}, {}, {}};
    for (const RideSection& section : results.sections) {
        const double value = results.twoPaths ? section.mri : section.iriLeft;
        for (const double at : {section.start, section.end}) {
            curve.x.push_back(static_cast<float>(at));
            curve.y.push_back(static_cast<float>(value));
        }
    }
    return curve;
}

GraphControl::Curve ProfileCurve(const ElevationProfile& profile, const RideQualityResults& results,
                                 const QString& label, const QColor& colour)
{
    GraphControl::Curve curve{{label, colour, 1}, {}, {}};
    const double scale = DeviationPerLength(results.method.units);
    const std::size_t count =
        std::min(profile.elevations.size(), static_cast<std::size_t>(std::max(0, results.pointCount)));
    curve.x.resize(count);
    curve.y.resize(count);
    for (std::size_t m = 0; m < count; ++m) {
        curve.x[m] = static_cast<float>(static_cast<double>(m) * results.interval);
        curve.y[m] = static_cast<float>(profile.elevations[m] * scale);
    }
    return curve;
}

} // namespace

void FillRideQualityGraph(GraphControl& graph, const RideQualitySlot& slot, const QString& profilePath,
                          char decimalSeparator)
{
    for (int piece = 0; piece < kRideQualityGraphPieces; ++piece)
        FillRideQualityGraphPiece(graph, slot, profilePath, decimalSeparator, piece);
}

void FillRideQualityGraphPiece(GraphControl& graph, const RideQualitySlot& slot, const QString& profilePath,
                               char decimalSeparator, int piece)
{
    const RideQualityResults& results = slot.results;
    switch (piece) {
    case 0:
        SetTitles(graph, results, profilePath, decimalSeparator);
        graph.SetData({ContinuousCurve(results), SectionCurve(results)});
        break;
    case 1:
        graph.AddCurve(results.twoPaths
                           ? ProfileCurve(slot.left, results, QStringLiteral("Left path"), QColor(110, 110, 110))
                           : ProfileCurve(slot.left, results, QStringLiteral("Profile"), QColor(110, 110, 110)));
        break;
    case 2:
        if (results.twoPaths)
            graph.AddCurve(ProfileCurve(slot.right, results, QStringLiteral("Right path"), QColor(170, 120, 60)));
        break;
    default:
        for (const RoughArea& area : results.areas)
            graph.AddBand(area.start, area.end, QColor(255, 140, 0, 60), QStringLiteral("Localized roughness"));
        break;
    }
}

} // namespace zlm
