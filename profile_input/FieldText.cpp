#include "profile_input/FieldText.h"

#include "analysis/NumberText.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <string>

namespace zlm {

bool IsNumberText(std::string_view text)
{
    // Blanks around the field change no number's grammar, so the text is read as it is.
    double value = 0.0;
    return ParseDouble(text, value);
}

bool ConvertWholeNumber(std::string_view text, std::int32_t& value)
{
    double number = 0.0;
    if (!ParseDouble(TrimBlanks(text), number)) {
        return false;
    }
    const double rounded = RoundHalfEven(number);
    if (!(rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<std::int32_t>::max()))) {
        return false;
    }
    value = RoundToInt32(rounded);
    return true;
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
    double number = 0.0;
    return IsNonFiniteText(text) || (ParseDouble(TrimBlanks(text), number) && !FitsSingle(number));
}

} // namespace zlm
