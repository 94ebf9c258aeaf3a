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

/** A path as the file system takes it: its bytes in the file names' encoding. */
std::string ToFileName(const QString& path);

/** A path of the file system, as ToFileName gave it, for a window. */
QString FromFileName(const std::string& path);

/**
 * The user's decimal separator (QLocale::system()) as the one byte the display
 * formats take; "." when the locale's separator is not a single ASCII character.
 */
char LocaleDecimalSeparator();

} // namespace zlm
