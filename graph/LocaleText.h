#pragma once

namespace zlm {

/**
 * The user's decimal separator (QLocale::system()) as the one byte the display
 * formats take; "." when the locale's separator is not a single ASCII character.
 */
char LocaleDecimalSeparator();

} // namespace zlm
