#pragma once

#include <cstdint>
#include <string>

namespace zlm {

/**
 * Fits a path into `maxLength` characters for the main window's file label by
 * replacing directory names with "..": C:\Profiles\2005\Interstate 35 northbound
 * lane 2\run3.dat becomes C:\Profiles\2005\..\run3.dat at 42 characters. Both "\"
 * and "/" separate directories; a POSIX absolute path's prefix is "/".
 */
std::string ShortenPath(const std::string& path, std::int16_t maxLength);

/**
 * Splits a path at its last separator ("\" or "/"): returns the file name and
 * passes back the directory, separator included. Without a separator the whole
 * path is the name and the directory is empty.
 */
std::string SplitFilePath(const std::string& path, std::string& directory);

} // namespace zlm
