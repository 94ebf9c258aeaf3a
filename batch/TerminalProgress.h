#pragma once

#include "analysis/ProgressSink.h"

#include <chrono>
#include <cstdint>

namespace zlm {

/**
 * Shows the engine's progress as one line on a terminal ("Simulating... 42%"),
 * rewritten in place and cleared at the end. Runs shorter than `delay` show
 * nothing, so a quick run leaves no flicker.
 */
class TerminalProgress final : public ProgressSink {
public:
    explicit TerminalProgress(int fd, std::chrono::milliseconds delay = std::chrono::milliseconds(300));

    void SetTextVisible(bool visible) override;
    void SetVisible(bool visible) override;
    void SetValue(std::int16_t percent) override;
    void Refresh() override;

private:
    void Write(const char* text, std::size_t length);

    int fd_;
    std::chrono::milliseconds delay_;
    std::chrono::steady_clock::time_point started_{};
    bool running_ = false;
    bool shown_ = false;
    std::int16_t value_ = 0;
    std::int16_t written_ = -1;
};

} // namespace zlm
