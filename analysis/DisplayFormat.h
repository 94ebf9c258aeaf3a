#pragma once

#include <string>
#include <string_view>

namespace zlm {

/**
 * Formats a number for display with one of ZLM's patterns: "###0.0000",
 * "##0.0000", "###0.0", "0.00", "##0.0", "#0.00" and "###.000".
 * The count of "0" before the point is the least number of integer digits
 * ("###.000" shows .250, not 0.250), the count of "0" after it the exact number
 * of decimals. No grouping. Halves are rounded away from zero on the exact
 * binary value (6.25 -> "6.3" with one decimal; 12.125 -> "12.13" with two).
 * A value that rounds to zero shows no minus sign. decimalSeparator is the
 * user's (a "." under the C locale).
 * A "#" after the point is an optional decimal, shown only when not zero; other
 * characters of a pattern are ignored. NaN and infinities show as "nan", "inf"
 * and "-inf". Does not depend on the process locale.
 */
std::string FormatNumber(double value, std::string_view pattern, char decimalSeparator);

/**
 * A number as plain decimal text, as the method's settings are shown: the
 * shortest digits that read back as the same value, but no more than 7
 * significant digits, no exponent, no trailing zeros, "." as the decimal point
 * (0.25f gives "0.25", 16.0 gives "16", 4.8768 gives "4.8768").
 */
std::string PlainDecimalText(float value);
std::string PlainDecimalText(double value);

} // namespace zlm
