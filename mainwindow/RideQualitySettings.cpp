#include "mainwindow/RideQualitySettings.h"

#include <QSettings>
#include <QString>

#include <cmath>

namespace zlm {

namespace {

QString Group(UnitSystem units)
{
    return units == UnitSystem::SI ? QStringLiteral("rideQuality/si") : QStringLiteral("rideQuality/us");
}

/** A stored value that is a finite number above 0, else `fallback`. */
double PositiveOr(const QSettings& settings, const char* key, double fallback)
{
    bool ok = false;
    const double value = settings.value(key).toDouble(&ok);
    return ok && std::isfinite(value) && value > 0.0 ? value : fallback;
}

} // namespace

RideQualitySettings::RideQualitySettings(QSettings& settings) : settings_(settings) {}

RideQualityMethod RideQualitySettings::Method(UnitSystem units) const
{
    RideQualityMethod method = DefaultRideQualityMethod(units);
    method.localized = true;
    settings_.beginGroup(Group(units));
    const double offered = PositiveOr(settings_, "sectionLength", DefaultRideSectionLength(units));
    method.sectionLength = settings_.value("sections", true).toBool() ? offered : 0.0;
    method.baseLength = PositiveOr(settings_, "baseLength", method.baseLength);
    method.threshold = PositiveOr(settings_, "threshold", method.threshold);
    settings_.endGroup();
    return method;
}

double RideQualitySettings::SectionLengthOffered(UnitSystem units) const
{
    settings_.beginGroup(Group(units));
    const double offered = PositiveOr(settings_, "sectionLength", DefaultRideSectionLength(units));
    settings_.endGroup();
    return offered;
}

void RideQualitySettings::SetMethod(const RideQualityMethod& method)
{
    settings_.beginGroup(Group(method.units));
    settings_.setValue("sections", method.sectionLength > 0.0);
    // Without sections the length last used stays on offer.
    if (method.sectionLength > 0.0)
        settings_.setValue("sectionLength", method.sectionLength);
    settings_.setValue("baseLength", method.baseLength);
    settings_.setValue("threshold", method.threshold);
    settings_.endGroup();
}

} // namespace zlm
