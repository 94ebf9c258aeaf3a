#include "batch/SurveyProgressLine.h"

#include "commands/SafeFileWrite.h"

#include <cstdio>
#include <string>

namespace zlm {

SurveyProgressLine::SurveyProgressLine(int fd) : fd_(fd) {}

void SurveyProgressLine::Show(std::size_t done, std::size_t total)
{
    char line[64];
    const int length = std::snprintf(line, sizeof line, "\rProfiles: %zu/%zu", done, total);
    if (length <= 0) {
        return;
    }
    Write(line, static_cast<std::size_t>(length));
    width_ = static_cast<std::size_t>(length) - 1;
}

void SurveyProgressLine::Clear()
{
    if (width_ == 0) {
        return;
    }
    // Back to the line's start, blanks over the old text, and back again.
    std::string blank(width_ + 2, ' ');
    blank.front() = '\r';
    blank.back() = '\r';
    Write(blank.data(), blank.size());
    width_ = 0;
}

void SurveyProgressLine::Write(const char* text, std::size_t length)
{
    // Progress is a courtesy: a terminal that cannot take it does not stop the survey.
    int ignored = 0;
    WriteAll(fd_, std::string_view(text, length), ignored);
}

} // namespace zlm
