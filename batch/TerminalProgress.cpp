#include "batch/TerminalProgress.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace zlm {

TerminalProgress::TerminalProgress(int fd, std::chrono::milliseconds delay) : fd_(fd), delay_(delay) {}

void TerminalProgress::SetTextVisible(bool) {}

void TerminalProgress::SetVisible(bool visible)
{
    if (visible) {
        running_ = true;
        shown_ = false;
        written_ = -1;
        started_ = std::chrono::steady_clock::now();
        return;
    }
    running_ = false;
    if (shown_) {
        static const char kClear[] = "\r                          \r";
        Write(kClear, sizeof kClear - 1);
        shown_ = false;
    }
}

void TerminalProgress::SetValue(std::int16_t percent)
{
    value_ = percent;
}

void TerminalProgress::Refresh()
{
    if (!running_ || value_ == written_) {
        return;
    }
    if (!shown_ && std::chrono::steady_clock::now() - started_ < delay_) {
        return;
    }
    char line[40];
    const int length = std::snprintf(line, sizeof line, "\rSimulating... %d%%", static_cast<int>(value_));
    Write(line, static_cast<std::size_t>(length));
    shown_ = true;
    written_ = value_;
}

void TerminalProgress::Write(const char* text, std::size_t length)
{
    // Progress is a courtesy: a terminal that cannot take it does not stop the run.
    while (length > 0) {
        const ssize_t n = ::write(fd_, text, length);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        text += n;
        length -= static_cast<std::size_t>(n);
    }
}

} // namespace zlm
