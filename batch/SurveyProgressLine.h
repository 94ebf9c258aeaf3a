#pragma once

#include <cstddef>

namespace zlm {

/**
 * Shows how far a survey has come as one line on a terminal ("Profiles: 12/200"),
 * rewritten in place as files are done and cleared at the end.
 */
class SurveyProgressLine {
public:
    explicit SurveyProgressLine(int fd);

    /** Shows `done` of `total`. */
    void Show(std::size_t done, std::size_t total);

    /** Removes the line, when one was shown. */
    void Clear();

private:
    void Write(const char* text, std::size_t length);

    int fd_;
    std::size_t width_ = 0; // characters of the line shown, 0 when none
};

} // namespace zlm
