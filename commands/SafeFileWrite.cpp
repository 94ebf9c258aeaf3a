#include "commands/SafeFileWrite.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace zlm {

namespace {

std::string Reason(int error)
{
    return std::strerror(error);
}

SafeWriteResult Failure(const std::string& path, const std::string& reason)
{
    return {false, "Could not save \"" + path + "\": " + reason + "."};
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

/** Creates a new, uniquely named file in `folder`; the kernel applies the umask to 0666. */
int CreateTemporaryFile(const std::string& folder, std::string& tempPath, int& error)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix(8, ' ');
        for (char& c : suffix) {
            c = kLetters[pick(random)];
        }
        // A short fixed-form name, so that a target name near the length limit still leaves room.
        tempPath = (folder == "/" ? "" : folder) + "/.zlm-save-" + suffix + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return fd;
        }
        if (errno != EEXIST && errno != EINTR) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

/** Follows a symbolic link at `path`, so that the link itself is not replaced by the rename. */
std::string ResolveLink(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path; // a dangling link: replace the link, as a new file would
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

SafeWriteResult WriteInPlace(const std::string& path, const std::string& target, std::string_view bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return Failure(path, Reason(errno));
    }
    int error = 0;
    if (!WriteAll(fd, bytes, error)) {
        ::close(fd);
        return Failure(path, Reason(error));
    }
    if (::close(fd) != 0) {
        return Failure(path, Reason(errno));
    }
    return {true, {}};
}

} // namespace

bool WriteAll(int fd, std::string_view bytes, int& error)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        if (written == 0) {
            error = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

SafeWriteResult WriteFileSafely(const std::string& path, std::string_view bytes)
{
    if (path.empty()) {
        return Failure(path, "no file name was given");
    }
    const std::string target = ResolveLink(path);

    struct stat existing {};
    bool exists = false;
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            return Failure(path, "it is a folder");
        }
        exists = true;
    } else if (errno != ENOENT) {
        return Failure(path, Reason(errno));
    }

    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or a pipe (/dev/null, /dev/stdout, a FIFO) takes the bytes as they come: renaming a
        // file over it would replace the device itself.
        return WriteInPlace(path, target, bytes);
    }

    const std::string folder = FolderOf(target);
    std::string tempPath;
    int error = 0;
    const int fd = CreateTemporaryFile(folder, tempPath, error);
    if (fd < 0) {
        return Failure(path, Reason(error));
    }

    auto abandon = [&](int reason, bool open) {
        if (open) {
            ::close(fd);
        }
        ::unlink(tempPath.c_str());
        return Failure(path, Reason(reason) + (exists ? "; the existing file was left unchanged" : ""));
    };

    if (!WriteAll(fd, bytes, error)) {
        return abandon(error, true);
    }
    if (exists && S_ISREG(existing.st_mode) && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        return abandon(errno, true);
    }
    if (::fsync(fd) != 0) {
        return abandon(errno, true);
    }
    if (::close(fd) != 0) {
        return abandon(errno, false);
    }
    if (::rename(tempPath.c_str(), target.c_str()) != 0) {
        return abandon(errno, false);
    }
    // Make the rename itself durable; the data is already safe, so a failure here is not reported.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {true, {}};
}

} // namespace zlm
