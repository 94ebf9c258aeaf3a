#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zlm {

/** OpenWindowList: the names of the open tool windows, with a 16-bit count. */
class WindowList {
public:
    /**
     * Appends the name and returns its entry number (from 0). The count is 16-bit:
     * a list that already holds 32767 entries refuses the name and returns -1.
     */
    std::int16_t RegisterWindow(const std::string& name);
    /** Empties entry k; when every entry is empty the list is emptied. Out of range: no change. */
    void UnregisterWindow(std::int16_t k);
    std::int16_t Count() const;
    const std::vector<std::string>& Entries() const;

private:
    std::vector<std::string> entries_;
};

} // namespace zlm
