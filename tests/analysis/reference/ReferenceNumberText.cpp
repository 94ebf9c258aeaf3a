// A verbatim copy of the number conversions before the one-pass reader (see the header).

#include "analysis/reference/ReferenceNumberText.h"

#include "analysis/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace zlm::reference {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

/** What the grammar check learnt about a number text it accepted. */
struct NumberShape {
    std::string_view body;         // sign (without a leading '+') to the end of the exponent
    std::int64_t leadExponent = 0; // decimal exponent of the first non-zero digit
    bool allZero = true;           // no non-zero digit in the mantissa
    bool negative = false;
};

/**
 * Checks the whole grammar before std::from_chars sees the text: from_chars
 * would accept "inf", "nan" and hexadecimal forms, and stop silently before
 * trailing letters. `point` is the decimal point allowed among the digits, or 0
 * for none.
 */
bool CheckNumberGrammar(std::string_view text, char point, NumberShape& shape)
{
    text = TrimBlanks(text);
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        shape.negative = text[i] == '-';
        ++i;
    }
    // from_chars takes a '-' but not a '+'.
    shape.body = text.substr(i == 1 && !shape.negative ? 1 : 0);

    std::int64_t digitsBeforePoint = 0;
    std::int64_t firstNonZero = -1; // position among all mantissa digits
    std::int64_t digitCount = 0;
    bool seenPoint = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            if (c != '0' && firstNonZero < 0) {
                firstNonZero = digitCount;
            }
            ++digitCount;
            if (!seenPoint) {
                ++digitsBeforePoint;
            }
        } else if (point != 0 && c == point && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (digitCount == 0) {
        return false;
    }
    std::int64_t exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        if (i == n || !IsDigit(text[i])) {
            return false;
        }
        for (; i < n && IsDigit(text[i]); ++i) {
            // Saturates far beyond any representable exponent.
            if (exponent < 1'000'000'000) {
                exponent = exponent * 10 + (text[i] - '0');
            }
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (i != n) {
        return false;
    }
    shape.allZero = firstNonZero < 0;
    shape.leadExponent = digitsBeforePoint - 1 - firstNonZero + exponent;
    return true;
}

/**
 * Converts a text CheckNumberGrammar accepted. A result out of range is a
 * failure when it is too large, and a signed zero when it is too small.
 */
template <typename Real> bool ConvertChecked(std::string_view body, const NumberShape& shape, Real& value)
{
    Real result{};
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), result);
    if (ec == std::errc::result_out_of_range) {
        if (shape.allZero || shape.leadExponent >= 0) {
            return false;
        }
        result = shape.negative ? -Real{0} : Real{0};
    } else if (ec != std::errc{} || end != body.data() + body.size()) {
        return false;
    }
    value = result;
    return true;
}

template <typename Real> bool ConvertPlain(std::string_view text, Real& value)
{
    NumberShape shape;
    if (!CheckNumberGrammar(text, 0, shape)) {
        return false;
    }
    return ConvertChecked(shape.body, shape, value);
}

double PowerOfTen(std::size_t count)
{
    // Exact for every count a double can hold exactly; std::pow beyond.
    static constexpr std::array<double, 23> kExact = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (count < kExact.size()) {
        return kExact[count];
    }
    return std::pow(10.0, static_cast<double>(count));
}

/**
 * The shared steps of ParseSingle and ParseDouble: find the separator, count the
 * characters after it, remove it, convert (to Real) and divide in double.
 * Returns the quotient in double; 0 for any failure.
 */
template <typename Real> double ParseWithSeparator(std::string_view text)
{
    std::size_t p = text.find('.');
    if (p == std::string_view::npos) {
        p = text.find(',');
    }
    Real converted{};
    if (p == std::string_view::npos) {
        return ConvertPlain(text, converted) ? static_cast<double>(converted) : 0.0;
    }
    const std::size_t c = text.size() - p - 1;

    // Short texts (every typed value and file field) are joined on the stack.
    std::array<char, 128> small;
    std::string large;
    std::string_view joined;
    if (text.size() <= small.size()) {
        text.copy(small.data(), p);
        text.substr(p + 1).copy(small.data() + p, c);
        joined = std::string_view(small.data(), text.size() - 1);
    } else {
        large.reserve(text.size() - 1);
        large.append(text.substr(0, p));
        large.append(text.substr(p + 1));
        joined = large;
    }
    if (!ConvertPlain(joined, converted)) {
        return 0.0;
    }
    return static_cast<double>(converted) / PowerOfTen(c);
}

} // namespace

float ParseSingle(std::string_view text)
{
    // The quotient never exceeds the converted single in magnitude, so it fits.
    return static_cast<float>(ParseWithSeparator<float>(text));
}

double ParseDouble(std::string_view text)
{
    return ParseWithSeparator<double>(text);
}

bool ConvertPlainNumber(std::string_view text, double& value)
{
    return ConvertPlain(text, value);
}

bool ConvertPlainNumber(std::string_view text, float& value)
{
    return ConvertPlain(text, value);
}

bool ConvertDecimalNumber(std::string_view text, char decimalSeparator, double& value)
{
    NumberShape shape;
    const bool usableSeparator = !IsDigit(decimalSeparator) && !IsBlank(decimalSeparator) && decimalSeparator != 0 &&
                                 decimalSeparator != '+' && decimalSeparator != '-' && decimalSeparator != 'e' &&
                                 decimalSeparator != 'E';
    if (!usableSeparator || !CheckNumberGrammar(text, decimalSeparator, shape)) {
        return false;
    }
    if (decimalSeparator == '.' || shape.body.find(decimalSeparator) == std::string_view::npos) {
        return ConvertChecked(shape.body, shape, value);
    }
    std::string withPoint(shape.body);
    withPoint[withPoint.find(decimalSeparator)] = '.';
    return ConvertChecked(std::string_view(withPoint), shape, value);
}

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

} // namespace zlm::reference
