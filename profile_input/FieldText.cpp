#include "profile_input/FieldText.h"

#include "analysis/NumberText.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <string>

namespace zlm {

bool IsNumberText(std::string_view text)
{
    text = TrimBlanks(text);
    std::size_t separator = text.find('.');
    if (separator == std::string_view::npos) {
        separator = text.find(',');
    }
    double value = 0.0;
    if (separator == std::string_view::npos) {
        return ConvertPlainNumber(text, value);
    }
    std::string digits(text.substr(0, separator));
    digits.append(text.substr(separator + 1));
    return ConvertPlainNumber(digits, value);
}

bool ConvertWholeNumber(std::string_view text, std::int32_t& value)
{
    text = TrimBlanks(text);
    if (!IsNumberText(text)) {
        return false;
    }
    const double rounded = RoundHalfEven(ParseDouble(text));
    if (!(rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<std::int32_t>::max()))) {
        return false;
    }
    value = RoundToInt32(rounded);
    return true;
}

bool FitsSingle(double value)
{
    return std::isfinite(value) && std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max());
}

bool IsUsableInterval(double interval)
{
    return interval > 0.0 && FitsSingle(interval) && static_cast<float>(interval) > 0.0f;
}

bool IsNonFiniteText(std::string_view text)
{
    text = TrimBlanks(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    const auto equalsIgnoringCase = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) {
                return false;
            }
        }
        return true;
    };
    return equalsIgnoringCase(text, "nan") || equalsIgnoringCase(text, "inf") || equalsIgnoringCase(text, "infinity");
}

bool IsUnusableSingleText(std::string_view text)
{
    return IsNonFiniteText(text) || (IsNumberText(text) && !FitsSingle(ParseDouble(TrimBlanks(text))));
}

} // namespace zlm
