#pragma once

#include <QPixmap>
#include <QSize>

namespace zlm {

/**
 * Draws ZLM's picture: a straightedge resting on the crests of a road profile,
 * with the gap beneath it marked. Used for the about window and the program icon.
 */
QPixmap DrawStraightedgePicture(const QSize& size);

} // namespace zlm
