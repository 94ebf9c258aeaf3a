#pragma once

#include <QString>

#include <string>

namespace zlm {

/**
 * A text of the core (a message, a title, a path as bytes) for a window: the
 * core's texts are the bytes of the files and of the C library, which Qt reads as
 * the local 8-bit encoding (UTF-8 here).
 */
QString FromCoreText(const std::string& text);

/**
 * The user's decimal separator (QLocale::system()) as the one byte the display
 * formats take; "." when the locale's separator is not a single ASCII character.
 */
char LocaleDecimalSeparator();

} // namespace zlm
