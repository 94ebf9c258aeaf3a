#include "mainwindow/WindowList.h"

#include <algorithm>
#include <limits>

namespace zlm {

namespace {
// The count is 16-bit: the list stops growing at the largest count it can hold.
constexpr std::size_t kMaxEntries = std::numeric_limits<std::int16_t>::max();
} // namespace

std::int16_t WindowList::RegisterWindow(const std::string& name)
{
    if (entries_.size() >= kMaxEntries) {
        return -1;
    }
    entries_.push_back(name);
    return static_cast<std::int16_t>(entries_.size() - 1);
}

void WindowList::UnregisterWindow(std::int16_t k)
{
    if (k < 0 || static_cast<std::size_t>(k) >= entries_.size()) {
        return;
    }
    entries_[static_cast<std::size_t>(k)].clear();
    if (std::all_of(entries_.begin(), entries_.end(), [](const std::string& entry) { return entry.empty(); })) {
        entries_.clear();
    }
}

std::int16_t WindowList::Count() const
{
    return static_cast<std::int16_t>(entries_.size());
}

const std::vector<std::string>& WindowList::Entries() const
{
    return entries_;
}

} // namespace zlm
