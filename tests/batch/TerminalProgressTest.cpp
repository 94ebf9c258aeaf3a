#include "batch/TerminalProgress.h"

#include "support/TempFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zlm {
namespace {

/** Drives the sink as the engine does, with the given percentages, and returns what reached the terminal. */
std::string Show(std::chrono::milliseconds delay, const std::vector<std::int16_t>& values)
{
    test::TempFolder folder;
    const std::string path = folder / "terminal";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    EXPECT_GE(fd, 0);
    {
        TerminalProgress progress(fd, delay);
        progress.SetTextVisible(false);
        progress.SetVisible(true);
        for (const std::int16_t value : values) {
            progress.SetValue(value);
            progress.Refresh();
        }
        progress.SetVisible(false);
    }
    ::close(fd);
    return test::ReadBytes(path);
}

TEST(TerminalProgressTest, RewritesOneLineOnEachNewPercentageAndClearsIt)
{
    EXPECT_EQ(Show(std::chrono::milliseconds(0), {0, 0, 1, 1, 1, 99}),
              "\rSimulating... 0%\rSimulating... 1%\rSimulating... 99%\r                          \r");
}

TEST(TerminalProgressTest, AQuickRunShowsNothing)
{
    EXPECT_EQ(Show(std::chrono::hours(1), {0, 50, 99}), "");
}

} // namespace
} // namespace zlm
