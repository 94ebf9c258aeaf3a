#include "ride_quality/RideQualityText.h"

#include "analysis/DisplayFormat.h"

#include <cmath>

namespace zlm {

namespace {

constexpr const char* kStation = "0.000";
constexpr const char* kLineEnd = "\r\n";

// A value for a CSV cell with '.', or an empty cell for a section without slopes.
std::string Cell(double value, const char* pattern)
{
    return std::isnan(value) ? std::string() : FormatNumber(value, pattern, '.');
}

} // namespace

RideUnitTexts RideUnitTextsFor(UnitSystem units)
{
    if (units == UnitSystem::SI) {
        return {"m", "m/km", "0.000"};
    }
    return {"ft", "in/mi", "0.00"};
}

std::string RideSectionsCsv(const RideQualityResults& results)
{
    const RideUnitTexts u = RideUnitTextsFor(results.method.units);
    const std::string iri = " (" + u.roughness + ")";
    std::string text = "Start (" + u.length + "),End (" + u.length + "),";
    text += results.twoPaths ? "IRI Left" + iri + ",IRI Right" + iri + ",MRI" + iri + ",HRI" + iri : "IRI" + iri;
    text += kLineEnd;
    for (const RideSection& row : results.sections) {
        text += Cell(row.start, kStation) + "," + Cell(row.end, kStation) + "," + Cell(row.iriLeft, u.pattern);
        if (results.twoPaths) {
            for (const double value : {row.iriRight, row.mri, row.hri}) {
                text += ',';
                text += Cell(value, u.pattern);
            }
        }
        text += kLineEnd;
    }
    return text;
}

std::string RoughAreasCsv(const RideQualityResults& results)
{
    const RideUnitTexts u = RideUnitTextsFor(results.method.units);
    const std::string length = " (" + u.length + ")";
    std::string text = "Area,Start" + length + ",End" + length + ",Length" + length + ",Peak (" + u.roughness +
                       "),Peak At" + length + kLineEnd;
    for (std::size_t a = 0; a < results.areas.size(); ++a) {
        const RoughArea& area = results.areas[a];
        text += std::to_string(a + 1) + "," + Cell(area.start, kStation) + "," + Cell(area.end, kStation) + "," +
                Cell(area.length, kStation) + "," + Cell(area.peak, u.pattern) + "," + Cell(area.peakAt, kStation) +
                kLineEnd;
    }
    return text;
}

std::vector<std::string> RideOverallLines(const RideQualityResults& results, char decimalSeparator)
{
    const RideUnitTexts u = RideUnitTextsFor(results.method.units);
    const auto line = [&](const char* name, double value) {
        return std::string(name) + " = " + FormatNumber(value, u.pattern, decimalSeparator) + " " + u.roughness +
               " Overall";
    };
    std::vector<std::string> lines;
    if (results.twoPaths) {
        lines.push_back(line("MRI", results.mri));
        lines.push_back(line("HRI", results.hri));
    } else {
        lines.push_back(line("IRI", results.iriLeft));
    }
    if (results.method.localized) {
        lines.push_back("Localized Roughness = " + FormatNumber(results.percentLocalized, "#0.00", decimalSeparator) +
                        "% of length (areas: " + std::to_string(results.areas.size()) + ")");
    }
    return lines;
}

std::string DescribeRideMethod(const RideQualityMethod& method)
{
    const RideUnitTexts u = RideUnitTextsFor(method.units);
    const std::string sections = method.sectionLength > 0.0
                                     ? PlainDecimalText(method.sectionLength) + " " + u.length + " sections"
                                     : std::string("whole profile");
    return "IRI, " + sections + ", " + PlainDecimalText(method.baseLength) + " " + u.length + " continuous, " +
           PlainDecimalText(method.threshold) + " " + u.roughness;
}

} // namespace zlm
