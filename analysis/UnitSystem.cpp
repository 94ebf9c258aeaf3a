#include "analysis/UnitSystem.h"

namespace zlm {

UnitTexts UnitTextsFor(UnitSystem units)
{
    if (units == UnitSystem::SI) {
        return {"m", "m", "mm"};
    }
    return {};
}

double DeviationPerLength(UnitSystem units)
{
    return units == UnitSystem::SI ? 1000.0 : 12.0;
}

} // namespace zlm
