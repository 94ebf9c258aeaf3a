#pragma once

#include "analysis/StraightedgeResults.h"

#include <string>
#include <vector>

namespace zlm {

/** A method with the name a user knows it by. */
struct NamedMethod {
    std::string name;
    StraightedgeMethod method;
};

/**
 * The methods ZLM offers ready-made, the default first: 16 ft / 8 ft / 0.25 in;
 * 10 ft rolled continuously / 0.125 in; 12 ft / 6 ft / 0.25 in; 3 m rolled
 * continuously / 5 mm; and the metric 4 m and 3 m straightedges moved half
 * their length.
 */
const std::vector<NamedMethod>& MethodPresets();

/**
 * The method in words, as the main window and the report show it:
 * "16 ft straightedge, 8 ft steps, 0.25 in" or
 * "3 m straightedge rolled continuously, 5 mm".
 */
std::string DescribeMethod(const StraightedgeMethod& method);

/**
 * The method converted to another unit system with the exact factors
 * (0.3048 m per foot, 25.4 mm per inch), so that 16 ft / 8 ft / 0.25 in
 * becomes 4.8768 m / 2.4384 m / 6.35 mm; unchanged when already in `units`.
 */
StraightedgeMethod ConvertMethod(const StraightedgeMethod& method, UnitSystem units);

} // namespace zlm
