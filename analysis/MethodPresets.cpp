#include "analysis/MethodPresets.h"

#include "analysis/DisplayFormat.h"

namespace zlm {

const std::vector<NamedMethod>& MethodPresets()
{
    static const std::vector<NamedMethod> presets{
        {"16 ft, 8 ft steps, 0.25 in (default)", {}},
        {"10 ft rolled continuously, 0.125 in", {10.0, 5.0, true, 0.125f, UnitSystem::US}},
        {"12 ft, 6 ft steps, 0.25 in", {12.0, 6.0, false, 0.25f, UnitSystem::US}},
        {"3 m rolled continuously, 5 mm", {3.0, 1.5, true, 5.0f, UnitSystem::SI}},
        {"4 m, 2 m steps, 6 mm", {4.0, 2.0, false, 6.0f, UnitSystem::SI}},
        {"3 m, 1.5 m steps, 3 mm", {3.0, 1.5, false, 3.0f, UnitSystem::SI}},
    };
    return presets;
}

std::string DescribeMethod(const StraightedgeMethod& method)
{
    const bool si = method.units == UnitSystem::SI;
    const std::string length = si ? " m" : " ft";
    std::string text = PlainDecimalText(method.baseLength) + length + " straightedge";
    text += method.continuous ? " rolled continuously" : ", " + PlainDecimalText(method.step) + length + " steps";
    return text + ", " + PlainDecimalText(method.tolerance) + (si ? " mm" : " in");
}

StraightedgeMethod ConvertMethod(const StraightedgeMethod& method, UnitSystem units)
{
    if (method.units == units) {
        return method;
    }
    StraightedgeMethod converted = method;
    converted.units = units;
    if (units == UnitSystem::SI) {
        converted.baseLength = method.baseLength * 0.3048;
        converted.step = method.step * 0.3048;
        converted.tolerance = SingleTolerance(static_cast<double>(method.tolerance) * 25.4);
    } else {
        converted.baseLength = method.baseLength / 0.3048;
        converted.step = method.step / 0.3048;
        converted.tolerance = SingleTolerance(static_cast<double>(method.tolerance) / 25.4);
    }
    return converted;
}

} // namespace zlm
