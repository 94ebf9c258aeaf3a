#include "batch/TerminalProgress.h"

#include "commands/SafeFileWrite.h"

#include <cstdio>

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
    int ignored = 0;
    WriteAll(fd_, std::string_view(text, length), ignored);
}

} // namespace zlm
