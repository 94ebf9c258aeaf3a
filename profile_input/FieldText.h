#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace zlm {

/**
 * True when a file field is a number as ParseDouble reads it: once the first "."
 * (or, without one, the first ",") is removed, the text is a plain number
 * (ConvertPlainNumber). Blanks around the field are allowed. Tells a field that
 * holds 0 from one that holds no number, which ParseDouble alone cannot.
 */
bool IsNumberText(std::string_view text);

/**
 * Converts a file field that must hold a whole number (a point or channel
 * count): blanks around it are removed, it must be a number in the sense of
 * IsNumberText, its value is ParseDouble's (so "12.0" and "12,0" give 12), and it
 * is rounded to the nearest integer, ties to even ("2.5" gives 2). Returns false,
 * leaving `value` alone, for a text that is no number or a value outside the
 * 32-bit range.
 */
bool ConvertWholeNumber(std::string_view text, std::int32_t& value);

/**
 * True when a value is finite and within single precision: the engine turns
 * every elevation into a single, and a value beyond that range would silently
 * become 0 there.
 */
inline bool FitsSingle(double value)
{
    return std::isfinite(value) && std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max());
}

/**
 * True for a field that names a value no road has: "nan", "inf" or "infinity" in
 * any case, with an optional sign and blanks around. ParseDouble reads such a
 * text as 0, which would pass a missing value off as a real elevation.
 */
bool IsNonFiniteText(std::string_view text);

/**
 * True when a field cannot stand for a usable single-precision value: it names a
 * non-finite value, or it is a number beyond single precision (a gain of 1e300).
 */
bool IsUnusableSingleText(std::string_view text);

/**
 * True when a sample interval can be analysed: finite and greater than 0, and
 * still greater than 0 and finite in single precision, as the results table uses
 * it.
 */
bool IsUsableInterval(double interval);

/**
 * A reader's or probe's result that refuses the file with `message` (any result
 * type with a `message` member; everything else stays as it is by default).
 */
template <typename Result> Result RefusedWith(std::string message)
{
    Result result;
    result.message = std::move(message);
    return result;
}

} // namespace zlm
