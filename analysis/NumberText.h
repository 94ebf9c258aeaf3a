#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace zlm {

/**
 * Converts a text to single precision the way every typed number and file field
 * becomes a value in ZLM: the first "." (or, when there is none, the first ",")
 * is the decimal separator; every character after it counts as one decimal
 * place, the separator is removed, the rest is converted and divided by 10 to
 * the power of that count in double precision. Any failure gives 0.
 * So "12,5" gives 12.5, "1,000" gives 1, "12.5 " gives 1.25 and "1.5E3" gives 15.
 * The conversion accepts blanks around the number, a sign, digits and an optional
 * exponent, and nothing else (ConvertPlainNumber); it does not depend on the
 * process locale. It checks the grammar and gathers the digits in one pass over
 * the text; its values are those of std::from_chars on the text without its
 * separator, bit for bit.
 *
 * ParseSingle converts the text without its separator to single precision
 * directly (a number beyond the single-precision range is a failure, even if the
 * division would bring it back into range), then divides in double and rounds
 * the quotient to single precision.
 * A text that still holds a "." or "," once the first separator is removed
 * ("1.2.3", "1.5,2") is not a number and gives 0. A value too small for the
 * target type reads as 0 (keeping its sign), as does the quotient when 10^c
 * exceeds the double range (a text of more than 308 characters after the
 * separator).
 */
float ParseSingle(std::string_view text);

/**
 * Converts a double to single precision (nearest); a value out of range (one that
 * would round to infinity), infinity and NaN give 0. Used on the engine's hot
 * path, hence inline.
 */
inline float ToSingle(double value)
{
    // Values from the midpoint between FLT_MAX and 2^128 upwards round to infinity;
    // the comparison is also false for NaN.
    if (!(std::fabs(value) < 0x1.ffffffp+127)) {
        return 0.0f;
    }
    return static_cast<float>(value);
}

/**
 * The double-precision counterpart of ParseSingle(std::string_view): the text
 * without its separator is converted to double, divided by 10^c and returned.
 */
double ParseDouble(std::string_view text);

/**
 * ParseDouble and the check of IsNumberText in one pass: `value` gets
 * ParseDouble(text) (0 when the text is no number), and the result says whether
 * the text is a number, which tells a field that holds 0 from one that holds none.
 */
bool ParseDouble(std::string_view text, double& value);

/** Returns a double unchanged (a non-finite value gives 0). */
inline double FiniteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

/**
 * Converts the text of a number without separators ("-125", " 15E3 ") strictly:
 * optional blanks, an optional sign, digits, an optional exponent, optional
 * blanks. Returns false for anything else, including "inf", "nan", hexadecimal
 * floats, an empty text, trailing letters and values out of double range.
 * A value too small for a double converts to 0 with its sign ("1e-400" -> 0,
 * "-1e-400" -> -0) and counts as a success. On failure `value` is unchanged.
 */
bool ConvertPlainNumber(std::string_view text, double& value);

/**
 * The single-precision counterpart of ConvertPlainNumber: the text is rounded to
 * single precision once, directly. Values beyond the single-precision range fail.
 */
bool ConvertPlainNumber(std::string_view text, float& value);

/**
 * Converts a number written with `decimalSeparator` as its decimal point, as
 * FormatNumber writes it ("12,5000" with ','): the grammar of ConvertPlainNumber
 * plus at most one separator among the digits (".5", "12." and "1,5E3" are
 * accepted with ','). Used to read a displayed value back from the grid.
 */
bool ConvertDecimalNumber(std::string_view text, char decimalSeparator, double& value);

/** Rounds to the nearest integer, ties to the even neighbour (26.5 -> 26, 27.5 -> 28, -0.5 -> -0). */
double RoundHalfEven(double value);

/**
 * Rounds to the nearest 32-bit integer, ties to even: the one conversion from a
 * real to an integer used throughout ZLM. Values beyond the 32-bit range
 * saturate; NaN gives 0. Callers that cannot accept saturation check the range
 * first.
 */
std::int32_t RoundToInt32(double value);

/** Removes leading and trailing blanks (spaces and tabs). Inline: every field of a file passes through it. */
inline std::string_view TrimBlanks(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
        --end;
    }
    return text.substr(begin, end - begin);
}

} // namespace zlm
