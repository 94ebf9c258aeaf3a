#pragma once

#include <string>
#include <string_view>

namespace zlm::reference {

/**
 * FormatNumber as it was before its exact integer path: every digit from
 * to_chars with guard digits. Never optimised: the differential test holds the
 * production FormatNumber to it.
 */
std::string FormatNumber(double value, std::string_view pattern, char decimalSeparator);

} // namespace zlm::reference
