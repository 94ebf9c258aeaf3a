#pragma once

#include "ride_quality/RideQuality.h"

class QSettings;

namespace zlm {

/**
 * The Ride Quality window's settings remembered between sessions, one set per
 * unit system (a length in feet means nothing in metres): whether the profile
 * is cut into sections, the section length, the base length and the threshold
 * of localized roughness. A value that is missing or unusable reads as the
 * unit system's default, so a damaged settings file never blocks a run.
 */
class RideQualitySettings {
public:
    /** Works on `settings`, which must outlive it (tests pass their own file). */
    explicit RideQualitySettings(QSettings& settings);

    /**
     * The remembered method for `units`: sections of DefaultRideSectionLength,
     * and the defaults of DefaultRideQualityMethod, unless the user chose others.
     * Localized roughness is always searched: the window lists it.
     */
    RideQualityMethod Method(UnitSystem units) const;
    /** The section length to offer when sections are switched off (the last one used). */
    double SectionLengthOffered(UnitSystem units) const;

    /** Remembers `method` for its unit system. */
    void SetMethod(const RideQualityMethod& method);

private:
    QSettings& settings_;
};

} // namespace zlm
