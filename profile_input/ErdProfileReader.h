#pragma once

#include "profile_input/ElevationProfile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zlm {

/**
 * Asked, exactly when the channel selection window would appear, for a file of
 * more than one channel. It may change channelChoice (0 = channel 1, 1 = channel
 * 2); leaving it alone keeps the earlier answer.
 */
using ChannelQuestion = std::function<void(std::int32_t& channelChoice)>;

/** Outcome of ReadErdProfile: the profile only when ok, else the failure text. */
struct ErdReadResult {
    bool ok = false;
    std::string failureText; ///< shown as "Error 0 " + failureText
    ElevationProfile profile;
    bool hasTitle = false;
    std::string title;
};

/**
 * Reads an ERD profile ("ERDFILEV2.00"): dimensions line, keyword lines up to END
 * (UNITSNAM, XUNITS, GAIN, TITLE), then one or two channels of data, converted
 * to feet. Failures come back as values with their exact texts, e.g.
 * "File is is not in ERD format".
 */
ErdReadResult ReadErdProfile(const std::string& path, std::int32_t& channelChoice, const ChannelQuestion& askChannel);

/**
 * Reads an ERD profile already in memory, exactly as ReadErdProfile reads a
 * file's bytes (for the benchmark, fuzzing and tests that need no file).
 */
ErdReadResult ParseErdProfile(std::string_view bytes, std::int32_t& channelChoice, const ChannelQuestion& askChannel);

} // namespace zlm
