#include "mainwindow/MethodSettings.h"

#include <QSettings>

#include <cmath>

namespace zlm {

namespace {

// One method as a group of keys under the settings' current group.
void WriteMethod(QSettings& settings, const StraightedgeMethod& method)
{
    settings.setValue("length", method.baseLength);
    settings.setValue("step", method.step);
    settings.setValue("continuous", method.continuous);
    settings.setValue("tolerance", static_cast<double>(method.tolerance));
    settings.setValue("units", method.units == UnitSystem::SI ? "si" : "us");
}

bool Usable(double value)
{
    return std::isfinite(value) && value > 0.0;
}

// The method under the current group, or the default when any value is
// missing or not usable: a damaged settings file must not block every run.
StraightedgeMethod ReadMethod(const QSettings& settings)
{
    bool lengthOk = false;
    bool stepOk = false;
    bool toleranceOk = false;
    StraightedgeMethod method;
    method.baseLength = settings.value("length").toDouble(&lengthOk);
    method.step = settings.value("step").toDouble(&stepOk);
    method.continuous = settings.value("continuous", false).toBool();
    const double tolerance = settings.value("tolerance").toDouble(&toleranceOk);
    const QString units = settings.value("units").toString();
    if (!lengthOk || !stepOk || !toleranceOk || !Usable(method.baseLength) || !Usable(method.step) ||
        !Usable(tolerance) || (units != "us" && units != "si")) {
        return {};
    }
    method.tolerance = SingleTolerance(tolerance);
    method.units = units == "si" ? UnitSystem::SI : UnitSystem::US;
    return method;
}

} // namespace

MethodSettings::MethodSettings(QSettings& settings) : settings_(settings) {}

StraightedgeMethod MethodSettings::MethodInForce() const
{
    settings_.beginGroup("method");
    const StraightedgeMethod method = ReadMethod(settings_);
    settings_.endGroup();
    return method;
}

void MethodSettings::SetMethodInForce(const StraightedgeMethod& method)
{
    settings_.beginGroup("method");
    WriteMethod(settings_, method);
    settings_.endGroup();
}

std::vector<NamedMethod> MethodSettings::UserMethods() const
{
    std::vector<NamedMethod> methods;
    const int count = settings_.beginReadArray("userMethods");
    for (int i = 0; i < count; ++i) {
        settings_.setArrayIndex(i);
        const QString name = settings_.value("name").toString().trimmed();
        if (!name.isEmpty()) {
            methods.push_back({name.toStdString(), ReadMethod(settings_)});
        }
    }
    settings_.endArray();
    return methods;
}

void MethodSettings::SetUserMethods(const std::vector<NamedMethod>& methods)
{
    settings_.remove("userMethods");
    settings_.beginWriteArray("userMethods", static_cast<int>(methods.size()));
    for (int i = 0; i < static_cast<int>(methods.size()); ++i) {
        settings_.setArrayIndex(i);
        settings_.setValue("name", QString::fromStdString(methods[static_cast<std::size_t>(i)].name));
        WriteMethod(settings_, methods[static_cast<std::size_t>(i)].method);
    }
    settings_.endArray();
}

} // namespace zlm
