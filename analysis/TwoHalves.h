#pragma once

#include <exception>
#include <system_error>
#include <thread>

namespace zlm {

/**
 * Runs front() on this thread and, when `split`, back() on a second thread at
 * the same time (or on this one after front() when no second thread can be
 * had), for work cut into two halves that do not depend on each other. Returns
 * once both have finished: an exception of front() is rethrown then, and one
 * of back() is returned, for the caller to weigh against what front() found.
 */
template <typename Front, typename Back>
[[nodiscard]] std::exception_ptr RunInTwoHalves(bool split, const Front& front, const Back& back)
{
    std::exception_ptr backError;
    const auto guardedBack = [&] {
        try {
            back();
        } catch (...) {
            backError = std::current_exception();
        }
    };
    std::thread second;
    if (split) {
        try {
            second = std::thread(guardedBack);
        } catch (const std::system_error&) {
            // No second thread: this one takes the second half after the first.
        }
    }
    try {
        front();
    } catch (...) {
        if (second.joinable())
            second.join();
        throw;
    }
    if (second.joinable())
        second.join();
    else if (split)
        guardedBack();
    return backError;
}

} // namespace zlm
