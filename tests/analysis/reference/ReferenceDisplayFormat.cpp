// A verbatim copy of FormatNumber before its exact integer path (see the header).

#include "analysis/reference/ReferenceDisplayFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace zlm::reference {

namespace {

struct PatternShape {
    int minIntegerDigits = 0; // '0' before the point
    int forcedDecimals = 0;   // '0' after the point
    int decimals = 0;         // '0' and '#' after the point
};

PatternShape ReadPattern(std::string_view pattern)
{
    PatternShape shape;
    const std::size_t point = pattern.find('.');
    const std::string_view integerPart = pattern.substr(0, point);
    shape.minIntegerDigits = static_cast<int>(std::count(integerPart.begin(), integerPart.end(), '0'));
    if (point != std::string_view::npos) {
        const std::string_view fraction = pattern.substr(point + 1);
        shape.forcedDecimals = static_cast<int>(std::count(fraction.begin(), fraction.end(), '0'));
        shape.decimals = shape.forcedDecimals + static_cast<int>(std::count(fraction.begin(), fraction.end(), '#'));
    }
    return shape;
}

// Digits printed beyond the shown decimals. The exact value of a double lies
// either on a decimal tie or at least about 10^-(17 + 2 * decimals) away from one,
// so with a few decimals this many extra digits tell a tie, a value above it and
// one below it apart, whatever to_chars does at its own last digit.
constexpr int kGuardDigits = 40;
constexpr int kMaxDecimals = 300;

} // namespace

std::string FormatNumber(double value, std::string_view pattern, char decimalSeparator)
{
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    const PatternShape shape = ReadPattern(pattern);
    const int decimals = std::min(shape.decimals, kMaxDecimals);

    // to_chars is exact and locale-free: "ddd.ddd..." of the magnitude.
    std::array<char, 320 + kMaxDecimals + kGuardDigits> exact;
    const auto result = std::to_chars(exact.data(), exact.data() + exact.size(), std::fabs(value),
                                      std::chars_format::fixed, decimals + kGuardDigits);
    if (result.ec != std::errc{}) {
        return {}; // cannot happen: the buffer holds any double with kMaxDecimals decimals
    }
    const std::string_view printed(exact.data(), static_cast<std::size_t>(result.ptr - exact.data()));
    const std::size_t point = printed.find('.');

    // The kept digits, integer and decimals together; the point is re-inserted later.
    std::string digits;
    digits.reserve(point + static_cast<std::size_t>(decimals) + 2);
    digits.append(printed.substr(0, point));
    digits.append(printed.substr(point + 1, static_cast<std::size_t>(decimals)));
    std::size_t integerLength = point;

    // Halves away from zero: on the magnitude, a first dropped digit of 5 or more rounds up.
    if (printed[point + 1 + static_cast<std::size_t>(decimals)] >= '5') {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
            ++integerLength;
        } else {
            ++digits[i - 1];
        }
    }

    // Trailing optional decimals ('#' after the point) are shown only when not zero.
    std::size_t shownDecimals = static_cast<std::size_t>(decimals);
    while (shownDecimals > static_cast<std::size_t>(shape.forcedDecimals) && digits.back() == '0') {
        digits.pop_back();
        --shownDecimals;
    }

    const bool isZero = digits.find_first_not_of('0') == std::string::npos;
    std::string_view integerDigits(digits.data(), integerLength);
    while (!integerDigits.empty() && integerDigits.front() == '0') {
        integerDigits.remove_prefix(1);
    }

    std::string text;
    text.reserve(digits.size() + static_cast<std::size_t>(shape.minIntegerDigits) + 2);
    if (value < 0 && !isZero) {
        text.push_back('-');
    }
    if (integerDigits.size() < static_cast<std::size_t>(shape.minIntegerDigits)) {
        text.append(static_cast<std::size_t>(shape.minIntegerDigits) - integerDigits.size(), '0');
    }
    text.append(integerDigits);
    if (shownDecimals > 0) {
        text.push_back(decimalSeparator);
        text.append(digits, integerLength, shownDecimals);
    }
    return text;
}

} // namespace zlm::reference
