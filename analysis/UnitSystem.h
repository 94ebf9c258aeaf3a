#pragma once

namespace zlm {

/**
 * The units a run measures in: US customary (lengths in feet, deviations in
 * inches) or SI (lengths in metres, deviations in millimetres).
 */
enum class UnitSystem { US, SI };

} // namespace zlm
