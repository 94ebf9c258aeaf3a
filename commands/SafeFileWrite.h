#pragma once

#include <string>
#include <string_view>

namespace zlm {

/** Outcome of a safe write: ok, or the reason it failed, naming the path. */
struct SafeWriteResult {
    bool ok = false;
    std::string message;
};

/**
 * Replaces the file at `path` with `bytes` so that a failure never leaves a
 * partial file: the bytes go to a new temporary file in the same folder, which
 * is flushed to disk, closed and then renamed over the target, every step
 * checked (a full disk or a file-size limit is a failure). On failure the
 * temporary file is removed, an existing target is left as it was, and the
 * message names the path and the system's reason.
 *
 * A new file gets the mode of any newly created file (0666 less the umask); a
 * replaced file keeps its mode. A target that is a symbolic link is resolved, so
 * the file it points to is replaced and the link stays. A target that is a
 * folder is refused. An existing target that is not a regular file (a device
 * such as /dev/null, a pipe) is written directly, never replaced.
 */
SafeWriteResult WriteFileSafely(const std::string& path, std::string_view bytes);

/**
 * Writes all of `bytes` to the open descriptor, retrying after interruptions.
 * False, with the system's error number in `error`, when a write fails or
 * writes nothing (a full disk).
 */
bool WriteAll(int fd, std::string_view bytes, int& error);

} // namespace zlm
