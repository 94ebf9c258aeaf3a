#pragma once

#include <string>

namespace zlm {

/**
 * The units a run measures in: US customary (lengths in feet, deviations in
 * inches) or SI (lengths in metres, deviations in millimetres).
 */
enum class UnitSystem { US, SI };

/** The unit texts of the headers, titles and axis labels. */
struct UnitTexts {
    std::string station = "ft";
    std::string length = "ft";
    std::string deviation = "in";
};

/** The unit texts of a unit system: "ft", "ft", "in" (US) or "m", "m", "mm" (SI). */
UnitTexts UnitTextsFor(UnitSystem units);

/** Deviation units per length unit: 12 inches per foot, 1000 millimetres per metre. */
double DeviationPerLength(UnitSystem units);

} // namespace zlm
