#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace zlm {

/**
 * The points of a curve that a plot `columns` pixels wide, showing the keys from
 * `start` to `end`, needs to draw exactly what the whole curve draws: in each
 * pixel column, the first and last point (which carry the lines to the
 * neighbouring columns) and the lowest and highest (which give the column's
 * vertical extent), in key order; the last point before the window and the first
 * after it (which carry the lines to the edges); and the first point of every
 * run of NaN values, which breaks the line there. So every column's minimum and
 * maximum, and every break, are the full curve's.
 *
 * `keys` must be in ascending order and as long as `values`. Returns the indices
 * of the points kept, ascending; every index when the window or the width cannot
 * be used (an empty window, no column, a NaN bound).
 */
std::vector<std::size_t> DecimatedIndices(std::span<const double> keys, std::span<const double> values, double start,
                                          double end, int columns);

} // namespace zlm
