#pragma once

#include <cstdint>

namespace zlm {

/** The most channels a profile file may hold. */
constexpr std::int32_t kMaxChannels = 64;

/**
 * A channel of a profile file, numbered as the channel window, the reports and
 * zlm-batch's --channel count them: 1 to kMaxChannels. A one-channel file reads
 * its only channel whatever the number; a two-channel file reads its second for
 * any number but 1, so that an answer given for a larger file still reads one.
 */
using ChannelNumber = std::int32_t;

} // namespace zlm
