// ParseSingle and ParseDouble on arbitrary bytes: every file field and typed
// number goes through them, so they must never fail, and what they give must be
// a number the rest of ZLM can use.
#include "analysis/NumberText.h"
#include "fuzz/FuzzFile.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

/**
 * The value written as a plain number without separator ("123456789e-12"), with
 * `digits` significant digits: enough to identify it, and read back by the same
 * function without any decimal-place scaling.
 */
std::string PlainText(double value, int digits)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
    // d.ddd...e±x  ->  dddd...e(x - (digits - 1))
    std::string s(text);
    const std::size_t point = s.find('.');
    const std::size_t e = s.find('e');
    if (point == std::string::npos || e == std::string::npos) {
        return s;
    }
    const int exponent = std::stoi(s.substr(e + 1)) - (digits - 1);
    return s.substr(0, point) + s.substr(point + 1, e - point - 1) + "e" + std::to_string(exponent);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const float single = zlm::ParseSingle(text);
    const double dbl = zlm::ParseDouble(text);

    ZLM_FUZZ_CHECK(std::isfinite(single));
    ZLM_FUZZ_CHECK(std::isfinite(dbl));

    // Both read the same digits and divide by the same power of ten, so they agree
    // on the sign, and where the single is a normal number it is the double to
    // within two single-precision roundings.
    if (single != 0.0f && dbl != 0.0) {
        ZLM_FUZZ_CHECK(std::signbit(single) == std::signbit(dbl));
        if (std::fabs(dbl) >= static_cast<double>(FLT_MIN) && std::fabs(dbl) <= static_cast<double>(FLT_MAX)) {
            ZLM_FUZZ_CHECK(std::fabs(static_cast<double>(single) - dbl) <= std::fabs(dbl) * 0x1p-22);
        }
    }

    // A result read back from its own plain text (9 significant digits identify
    // any single, 17 any double) is the same value, bit for bit. Subnormal results
    // are left out: a text that small reads as 0 by rule.
    if (std::fabs(single) >= FLT_MIN) {
        const float again = zlm::ParseSingle(PlainText(static_cast<double>(single), 9));
        ZLM_FUZZ_CHECK(again == single);
    }
    if (std::fabs(dbl) >= DBL_MIN) {
        const double again = zlm::ParseDouble(PlainText(dbl, 17));
        ZLM_FUZZ_CHECK(again == dbl);
    }
    return 0;
}
