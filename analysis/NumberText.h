#pragma once

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
 * exponent, and nothing else; it does not depend on the process locale.
 */
float ParseSingle(std::string_view text);

/** Converts a double to single precision (nearest); a value out of range gives 0. */
float ParseSingle(double value);

/** The double-precision counterpart of ParseSingle(std::string_view). */
double ParseDouble(std::string_view text);

/** Returns a double unchanged (a non-finite value gives 0). */
double ParseDouble(double value);

/**
 * Converts the text of a number without separators ("-125", " 15E3 ") strictly:
 * optional blanks, an optional sign, digits, an optional exponent, optional
 * blanks. Returns false for anything else, including "inf", "nan", hexadecimal
 * floats, an empty text, trailing letters and values out of double range.
 */
bool ConvertPlainNumber(std::string_view text, double& value);

/** Rounds to the nearest integer, ties to the even neighbour (26.5 -> 26, 27.5 -> 28, -0.5 -> -0). */
double RoundHalfEven(double value);

/**
 * Rounds to the nearest 32-bit integer, ties to even: the one conversion from a
 * real to an integer used throughout ZLM. Values beyond the 32-bit range
 * saturate; NaN gives 0. Callers that cannot accept saturation check the range
 * first.
 */
std::int32_t RoundToInt32(double value);

/** Removes leading and trailing blanks (spaces and tabs). */
std::string_view TrimBlanks(std::string_view text);

} // namespace zlm
