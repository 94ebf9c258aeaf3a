#pragma once

#include <QString>

namespace zlm {

class GraphControl;
struct RideQualitySlot;

/**
 * Fills `graph` with the ride-quality graph of the slot's last run: the title
 * (the method in words, the profile's file name from `profilePath`, the overall
 * MRI and HRI or the one IRI, and the localized roughness), the continuous IRI
 * (continuous MRI for two paths) along the road and the section values as a
 * step line on the left axis in in/mi or m/km, the threshold as a labelled
 * line, the localized-roughness areas as shaded bands, and the analysed
 * profile(s) on the right axis in inches or millimetres. Numbers in titles use
 * `decimalSeparator`. Does not redraw.
 */
void FillRideQualityGraph(GraphControl& graph, const RideQualitySlot& slot, const QString& profilePath,
                          char decimalSeparator);

/**
 * FillRideQualityGraph in pieces, for a caller that lets events in between
 * (each curve of a long road takes milliseconds): pieces 0 to
 * kRideQualityGraphPieces - 1, in order, fill the same graph. 0: the titles,
 * the threshold line and the continuous and section curves; 1: the (left)
 * profile; 2: the right path's profile, when there is one; 3: the areas.
 */
void FillRideQualityGraphPiece(GraphControl& graph, const RideQualitySlot& slot, const QString& profilePath,
                               char decimalSeparator, int piece);
inline constexpr int kRideQualityGraphPieces = 4;

} // namespace zlm
