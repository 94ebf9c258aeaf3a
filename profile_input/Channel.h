#pragma once

#include <cstdint>

namespace zlm {

/** The most channels a profile file may hold. */
constexpr std::int32_t kMaxChannels = 64;

/**
 * Which channel of a file of several channels is read, as a 0-based index. One
 * and Two are the indexes of the channel window's options; any other channel is
 * static_cast<Channel>(k - 1) for channel k. A one-channel file reads its only
 * channel for One or Two.
 */
enum class Channel : std::int32_t { One = 0, Two = 1 };

} // namespace zlm
