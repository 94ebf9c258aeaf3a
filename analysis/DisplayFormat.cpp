#include "analysis/DisplayFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <system_error>

namespace zlm {

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

/**
 * The kept digits (integer and decimals together, the integer part at least
 * "0") of `magnitude` rounded half away from zero to `decimals` decimals, by
 * exact integer arithmetic on its binary value: mantissa x 10^decimals, shifted
 * by its binary exponent, the dropped bits deciding the rounding. False for a
 * magnitude or a count of decimals beyond what 128 bits hold, which then take
 * the printed digits.
 */
bool RoundDigitsExactly(double magnitude, int decimals, std::string& digits, std::size_t& integerLength)
{
    static constexpr std::array<std::uint64_t, 9> kPowers = {1,      10,      100,      1000,     10000,
                                                             100000, 1000000, 10000000, 100000000};
    if (decimals < 0 || decimals > 8 || !(magnitude < 0x1p63) || (magnitude != 0.0 && magnitude < 0x1p-60)) {
        return false;
    }
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent); // magnitude = fraction x 2^exponent, 0.5 <= fraction < 1
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53)); // exact: 53 bits
    const int shift = exponent - 53;                                            // magnitude = mantissa x 2^shift
    const unsigned __int128 scaled =
        static_cast<unsigned __int128>(mantissa) * kPowers[static_cast<std::size_t>(decimals)];
    unsigned __int128 rounded = 0;
    if (shift >= 0) {
        rounded = scaled << shift; // below 2^63 x 10^8
    } else {
        const int dropped = -shift; // at most 113
        rounded = scaled >> dropped;
        const unsigned __int128 remainder = scaled - (rounded << dropped);
        if (remainder >= (static_cast<unsigned __int128>(1) << (dropped - 1))) {
            ++rounded;
        }
    }
    char text[48];
    std::size_t length = 0;
    // Most values fit 64 bits, whose division by 10 is a multiplication.
    for (; rounded > std::numeric_limits<std::uint64_t>::max(); rounded /= 10) {
        text[length++] = static_cast<char>('0' + static_cast<int>(rounded % 10));
    }
    auto small = static_cast<std::uint64_t>(rounded);
    do {
        text[length++] = static_cast<char>('0' + static_cast<int>(small % 10));
        small /= 10;
    } while (small != 0);
    while (length < static_cast<std::size_t>(decimals) + 1) {
        text[length++] = '0';
    }
    digits.assign(std::make_reverse_iterator(text + length), std::make_reverse_iterator(text));
    integerLength = length - static_cast<std::size_t>(decimals);
    return true;
}

// The kept digits of `magnitude` from the printed digits, for any magnitude and count of decimals.
void RoundPrintedDigits(double magnitude, int decimals, std::string& digits, std::size_t& integerLength)
{
    // to_chars is exact and locale-free: "ddd.ddd..." of the magnitude.
    std::array<char, 320 + kMaxDecimals + kGuardDigits> exact;
    const auto result = std::to_chars(exact.data(), exact.data() + exact.size(), magnitude, std::chars_format::fixed,
                                      decimals + kGuardDigits);
    if (result.ec != std::errc{}) {
        return; // cannot happen: the buffer holds any double with kMaxDecimals decimals
    }
    const std::string_view printed(exact.data(), static_cast<std::size_t>(result.ptr - exact.data()));
    const std::size_t point = printed.find('.');

    // The kept digits, integer and decimals together; the point is re-inserted later.
    digits.reserve(point + static_cast<std::size_t>(decimals) + 2);
    digits.append(printed.substr(0, point));
    digits.append(printed.substr(point + 1, static_cast<std::size_t>(decimals)));
    integerLength = point;

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
}

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

    // The kept digits, integer and decimals together; the point is re-inserted later.
    std::string digits;
    std::size_t integerLength = 0;
    if (!RoundDigitsExactly(std::fabs(value), decimals, digits, integerLength)) {
        RoundPrintedDigits(std::fabs(value), decimals, digits, integerLength);
        if (digits.empty()) {
            return {};
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

namespace {

template <typename Real> std::string PlainText(Real value)
{
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return "0";
    std::string text(buffer, result.ptr);
    std::size_t significant = 0;
    bool leading = true;
    for (const char c : text) {
        if (c >= '1' && c <= '9')
            leading = false;
        if (!leading && c >= '0' && c <= '9')
            ++significant;
    }
    if (significant <= 7)
        return text;
    // Rounded to 7 significant digits in fixed notation, trailing zeros dropped.
    const double magnitude = std::fabs(static_cast<double>(value));
    const int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    const int decimals = std::clamp(6 - exponent, 0, 340);
    result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    text.assign(buffer, result.ptr);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

} // namespace

std::string PlainDecimalText(float value)
{
    return PlainText(value);
}

std::string PlainDecimalText(double value)
{
    return PlainText(value);
}

} // namespace zlm
