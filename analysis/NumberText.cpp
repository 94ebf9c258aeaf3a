#include "analysis/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace zlm {

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

// ---------------------------------------------------------------------------
// The full conversion: a grammar check, then std::from_chars.

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
 * The full conversion behind ParseSingle and ParseDouble, for the texts the one
 * pass leaves to it: find the separator, count the characters after it, remove
 * it, convert (to Real) and divide in double. `quotient` is the quotient in
 * double, 0 for any failure; returns whether the text is a number.
 */
template <typename Real> bool ParseWithSeparatorFully(std::string_view text, double& quotient)
{
    quotient = 0.0;
    std::size_t p = text.find('.');
    if (p == std::string_view::npos) {
        p = text.find(',');
    }
    Real converted{};
    if (p == std::string_view::npos) {
        if (!ConvertPlain(text, converted)) {
            return false;
        }
        quotient = static_cast<double>(converted);
        return true;
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
        return false;
    }
    quotient = static_cast<double>(converted) / PowerOfTen(c);
    return true;
}

// ---------------------------------------------------------------------------
// The one pass: the grammar is checked and the digits gathered together. Where
// the digits and the exponent are few enough that one multiplication or
// division by an exact power of ten is correctly rounded (the mantissa and the
// power both exact in Real), that is the value std::from_chars gives, bit for
// bit; every other number goes through the full conversion above.

/** Where a decimal point may stand in a number text. */
enum class PointRule {
    None,    ///< nowhere (ConvertPlainNumber)
    Field,   ///< one '.' or ',' anywhere, removed before the grammar applies (ParseSingle, ParseDouble)
    Decimal, ///< one given character among the mantissa's digits (ConvertDecimalNumber)
};

enum class Scanned { NotNumber, Number };

/** What the one pass gathered from a number text. */
struct ScannedNumber {
    std::uint64_t mantissa = 0;                     // the digits as a whole number, while it is below 2^59
    bool tooManyDigits = false;                     // more digits than that
    bool negative = false;                          // a '-' before the digits
    std::int64_t exponent = 0;                      // the written exponent, saturated far beyond any range
    std::int64_t fraction = 0;                      // digits after a Decimal point
    std::size_t separator = std::string_view::npos; // where a Field separator stood
};

/**
 * Checks the grammar of ConvertPlainNumber (blanks, a sign, digits, an optional
 * exponent, blanks) with `rule`'s decimal point, and gathers the digits. Written
 * as one loop per part, so that the digits, nearly all of a file's text, cost a
 * subtraction and a comparison each.
 */
template <PointRule rule> class NumberScanner {
public:
    NumberScanner(std::string_view text, char point, ScannedNumber& number)
        : begin_(text.data()), end_(text.data() + text.size()), p_(begin_), point_(point), number_(number)
    {
    }

    Scanned Scan()
    {
        const bool complete = Lead() && Mantissa() && Exponent() && Trail();
        return complete ? Scanned::Number : Scanned::NotNumber;
    }

private:
    static bool IsSeparator(char c) { return rule == PointRule::Field && (c == '.' || c == ','); }

    static unsigned Digit(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - unsigned{'0'}; }

    // A Field separator may stand anywhere; a second one stays in the text, which is then no number.
    bool TakeSeparator()
    {
        if (number_.separator != std::string_view::npos) {
            return false;
        }
        number_.separator = static_cast<std::size_t>(p_ - begin_);
        return true;
    }

    bool PassSeparator()
    {
        if (p_ != end_ && IsSeparator(*p_)) {
            if (!TakeSeparator()) {
                return false;
            }
            ++p_;
        }
        return true;
    }

    // Blanks, then a sign.
    bool Lead()
    {
        for (; p_ != end_; ++p_) {
            if (IsSeparator(*p_)) {
                if (!TakeSeparator()) {
                    return false;
                }
            } else if (!IsBlank(*p_)) {
                break;
            }
        }
        if (p_ != end_ && (*p_ == '+' || *p_ == '-')) {
            number_.negative = *p_ == '-';
            ++p_;
        }
        return true;
    }

    // At least one digit, with a Decimal point among them.
    bool Mantissa()
    {
        // Digits beyond what 64 bits hold exactly only mark the number for the full conversion.
        constexpr std::uint64_t kMantissaLimit = std::uint64_t{1} << 59;
        std::int64_t digits = 0;
        bool seenPoint = false;
        for (; p_ != end_; ++p_) {
            const unsigned digit = Digit(*p_);
            if (digit < 10) {
                if (number_.mantissa < kMantissaLimit) {
                    number_.mantissa = number_.mantissa * 10 + digit;
                } else {
                    number_.tooManyDigits = true;
                }
                ++digits;
                number_.fraction += seenPoint ? 1 : 0;
            } else if (IsSeparator(*p_)) {
                if (!TakeSeparator()) {
                    return false;
                }
            } else if (rule == PointRule::Decimal && *p_ == point_ && !seenPoint) {
                seenPoint = true;
            } else {
                break;
            }
        }
        return digits > 0;
    }

    // An optional exponent: 'e' or 'E', a sign, at least one digit.
    bool Exponent()
    {
        if (p_ == end_ || (*p_ != 'e' && *p_ != 'E')) {
            return true;
        }
        ++p_;
        if (!PassSeparator()) {
            return false;
        }
        bool negative = false;
        if (p_ != end_ && (*p_ == '+' || *p_ == '-')) {
            negative = *p_ == '-';
            ++p_;
        }
        std::int64_t exponent = 0;
        std::int64_t digits = 0;
        for (; p_ != end_; ++p_) {
            const unsigned digit = Digit(*p_);
            if (digit < 10) {
                // Saturates far beyond any exponent the exact path takes.
                exponent = exponent < 100'000 ? exponent * 10 + digit : exponent;
                ++digits;
            } else if (IsSeparator(*p_)) {
                if (!TakeSeparator()) {
                    return false;
                }
            } else {
                break;
            }
        }
        number_.exponent = negative ? -exponent : exponent;
        return digits > 0;
    }

    // Blanks to the end.
    bool Trail()
    {
        for (; p_ != end_; ++p_) {
            if (IsSeparator(*p_)) {
                if (!TakeSeparator()) {
                    return false;
                }
            } else if (!IsBlank(*p_)) {
                return false;
            }
        }
        return true;
    }

    const char* const begin_;
    const char* const end_;
    const char* p_;
    const char point_;
    ScannedNumber& number_;
};

template <PointRule rule> Scanned ScanNumber(std::string_view text, char point, ScannedNumber& number)
{
    return NumberScanner<rule>(text, point, number).Scan();
}

/** The largest mantissa and power of ten that Real holds exactly. */
template <typename Real> struct ExactRange;
template <> struct ExactRange<double> {
    static constexpr std::uint64_t kMantissa = std::uint64_t{1} << 53;
    static constexpr std::int64_t kPower = 22;
};
template <> struct ExactRange<float> {
    static constexpr std::uint64_t kMantissa = std::uint64_t{1} << 24;
    static constexpr std::int64_t kPower = 10;
};

template <typename Real> Real ExactPowerOfTen(std::int64_t count)
{
    static constexpr std::array<Real, 23> kPowers = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    return kPowers[static_cast<std::size_t>(count)];
}

/**
 * The value of `number` times 10^`power10` when one exact operation gives it
 * correctly rounded, as std::from_chars would; false when the full conversion is needed.
 */
template <typename Real> bool ExactValue(const ScannedNumber& number, std::int64_t power10, Real& value)
{
    if (number.tooManyDigits || number.mantissa > ExactRange<Real>::kMantissa || power10 > ExactRange<Real>::kPower ||
        power10 < -ExactRange<Real>::kPower) {
        return false;
    }
    Real result = static_cast<Real>(number.mantissa);
    if (power10 > 0) {
        result *= ExactPowerOfTen<Real>(power10);
    } else if (power10 < 0) {
        result /= ExactPowerOfTen<Real>(-power10);
    }
    value = number.negative ? -result : result;
    return true;
}

/** ParseSingle's (Real float) or ParseDouble's quotient of `text`, and whether the text is a number. */
template <typename Real> bool ParseWithSeparator(std::string_view text, double& quotient)
{
    ScannedNumber number;
    if (ScanNumber<PointRule::Field>(text, 0, number) == Scanned::NotNumber) {
        quotient = 0.0;
        return false;
    }
    Real converted{};
    if (!ExactValue(number, number.exponent, converted)) {
        return ParseWithSeparatorFully<Real>(text, quotient);
    }
    quotient = static_cast<double>(converted);
    if (number.separator != std::string_view::npos) {
        quotient /= PowerOfTen(text.size() - number.separator - 1);
    }
    return true;
}

template <typename Real> bool ConvertPlainInOnePass(std::string_view text, Real& value)
{
    ScannedNumber number;
    if (ScanNumber<PointRule::None>(text, 0, number) == Scanned::NotNumber) {
        return false;
    }
    return ExactValue(number, number.exponent, value) || ConvertPlain(text, value);
}

} // namespace

float ParseSingle(std::string_view text)
{
    // The quotient never exceeds the converted single in magnitude, so it fits.
    double quotient = 0.0;
    ParseWithSeparator<float>(text, quotient);
    return static_cast<float>(quotient);
}

double ParseDouble(std::string_view text)
{
    double quotient = 0.0;
    ParseWithSeparator<double>(text, quotient);
    return quotient;
}

bool ParseDouble(std::string_view text, double& value)
{
    return ParseWithSeparator<double>(text, value);
}

bool ConvertPlainNumber(std::string_view text, double& value)
{
    return ConvertPlainInOnePass(text, value);
}

bool ConvertPlainNumber(std::string_view text, float& value)
{
    return ConvertPlainInOnePass(text, value);
}

bool ConvertDecimalNumber(std::string_view text, char decimalSeparator, double& value)
{
    const bool usableSeparator = !IsDigit(decimalSeparator) && !IsBlank(decimalSeparator) && decimalSeparator != 0 &&
                                 decimalSeparator != '+' && decimalSeparator != '-' && decimalSeparator != 'e' &&
                                 decimalSeparator != 'E';
    if (!usableSeparator) {
        return false;
    }
    ScannedNumber number;
    if (ScanNumber<PointRule::Decimal>(text, decimalSeparator, number) == Scanned::NotNumber) {
        return false;
    }
    if (ExactValue(number, number.exponent - number.fraction, value)) {
        return true;
    }
    NumberShape shape;
    if (!CheckNumberGrammar(text, decimalSeparator, shape)) {
        return false;
    }
    if (decimalSeparator == '.' || shape.body.find(decimalSeparator) == std::string_view::npos) {
        return ConvertChecked(shape.body, shape, value);
    }
    std::string withPoint(shape.body);
    withPoint[withPoint.find(decimalSeparator)] = '.';
    return ConvertChecked(std::string_view(withPoint), shape, value);
}

double RoundHalfEven(double value)
{
    // nearbyint rounds in the current mode, which ZLM never changes from the
    // default round-to-nearest-even.
    return std::nearbyint(value);
}

std::int32_t RoundToInt32(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = RoundHalfEven(value);
    if (rounded >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (rounded <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(rounded);
}

} // namespace zlm
