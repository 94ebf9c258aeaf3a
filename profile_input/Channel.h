#pragma once

#include <cstdint>

namespace zlm {

/**
 * Which channel of a two-channel ERD file is read. The values are the indexes
 * of the channel window's options; a one-channel file reads its only channel
 * whatever is chosen.
 */
enum class Channel : std::int32_t { One = 0, Two = 1 };

} // namespace zlm
