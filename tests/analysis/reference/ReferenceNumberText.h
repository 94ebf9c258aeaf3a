#pragma once

#include <string_view>

namespace zlm::reference {

/**
 * The number conversions as they were before the one-pass reader: a grammar
 * check, then std::from_chars, each its own pass over the text. Never
 * optimised: the differential test holds the production conversions of
 * analysis/NumberText.h (and IsNumberText) to these, bit for bit.
 */
float ParseSingle(std::string_view text);
double ParseDouble(std::string_view text);
bool ConvertPlainNumber(std::string_view text, double& value);
bool ConvertPlainNumber(std::string_view text, float& value);
bool ConvertDecimalNumber(std::string_view text, char decimalSeparator, double& value);
bool IsNumberText(std::string_view text);

} // namespace zlm::reference
