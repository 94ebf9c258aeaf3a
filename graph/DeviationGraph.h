#pragma once

#include <QString>

namespace zlm {

class GraphControl;
struct SessionState;

/**
 * Fills `graph` with the deviation graph of the last run in `state`, as the
 * graph window and the report show it: the titles (base length, the profile's
 * file name from `profilePath`, the threshold, the profile's title, the overall
 * percentage), the placements' maximum deviations on the left axis and the
 * profile's elevations in the deviation unit on the right one, the threshold
 * line, a line closing each section labelled with its percentage, and the
 * exceedance zones shaded with the supports of each zone's worst placement
 * marked. Numbers in labels use `decimalSeparator`. Does not redraw.
 */
void FillDeviationGraph(GraphControl& graph, const SessionState& state, const QString& profilePath,
                        char decimalSeparator);

/**
 * FillDeviationGraph in pieces, for a caller that lets events in between (each
 * piece of a long road takes milliseconds): pieces 0 to kDeviationGraphPieces - 1,
 * in order, fill the same graph. 0: the titles, the threshold line and the
 * placements' curve; 1: the profile's curve; 2: the section lines and zones.
 */
void FillDeviationGraphPiece(GraphControl& graph, const SessionState& state, const QString& profilePath,
                             char decimalSeparator, int piece);
inline constexpr int kDeviationGraphPieces = 3;

} // namespace zlm
