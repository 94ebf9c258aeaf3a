#pragma once

#include "ride_quality/RideQuality.h"

#include <string>
#include <vector>

namespace zlm {

/** Unit texts of ride quality: "ft" / "in/mi" or "m" / "m/km", and the IRI's decimals. */
struct RideUnitTexts {
    std::string length;
    std::string roughness;
    const char* pattern = "0.00"; ///< display pattern of an IRI value: 2 decimals in in/mi, 3 in m/km
};

RideUnitTexts RideUnitTextsFor(UnitSystem units);

/** The section table as comma-separated text, CR LF, always '.'; header first. */
std::string RideSectionsCsv(const RideQualityResults& results);

/** The localized-roughness areas as comma-separated text, CR LF, always '.'; the header alone without areas. */
std::string RoughAreasCsv(const RideQualityResults& results);

/**
 * The overall lines zlm-batch prints: "IRI = X in/mi Overall" for one profile,
 * "MRI = …" then "HRI = …" for two paths, and with localized roughness
 * "Localized Roughness = X.XX% of length (areas: N)"; numbers with `decimalSeparator`.
 */
std::vector<std::string> RideOverallLines(const RideQualityResults& results, char decimalSeparator);

/** The method in words, for titles: "IRI, 528 ft sections, 25 ft continuous, 125 in/mi". */
std::string DescribeRideMethod(const RideQualityMethod& method);

} // namespace zlm
