#pragma once

#include "profile_input/Channel.h"
#include "profile_input/ElevationProfile.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zlm {

/**
 * Asked, exactly when the channel selection window would appear, for a file of
 * more than one channel. It is given the channel chosen earlier and the file's
 * channels (their names in order, so their count too), and returns the channel
 * to read, or nothing when the user cancelled: the read then stops there, with
 * nothing read and the channel as it was.
 */
using ChannelQuestion =
    std::function<std::optional<ChannelNumber>(ChannelNumber earlier, const std::vector<std::string>& channelNames)>;

/**
 * Outcome of ReadErdProfile: the profile only when ok; else the failure text,
 * or, when the channel question was cancelled, `cancelled` and no text.
 */
struct ErdReadResult {
    bool ok = false;
    bool cancelled = false;  ///< the user cancelled the channel question: no failure to report
    std::string failureText; ///< shown as "Error 0 " + failureText
    ElevationProfile profile;
    bool hasTitle = false;
    std::string title;
    /** The file's channels in order, named by its SHORTNAM line or "Channel k"; set when ok. */
    std::vector<std::string> channelNames;
};

/**
 * Reads an ERD profile ("ERDFILEV2.00"): dimensions line, keyword lines up to END
 * (UNITSNAM, XUNITS, GAIN, TITLE, SHORTNAM), then 1 to kMaxChannels channels of data, converted
 * to feet (in US units, with the long-standing factors: 3.281 ft per metre) or
 * to metres (in SI units, with the exact factors: 0.3048 m per foot). For a
 * file of more than one channel askChannel (when set) is asked and `channel`
 * becomes its answer; `channel` then says which channel is read. A cancelled
 * question ends the read as `cancelled`, `channel` unchanged. Empty and
 * blank-only lines at the very end are no data. Failures come back as values
 * with their exact texts, e.g. "File is is not in ERD format".
 *
 * Files of one or two channels read one value, or two separated by a blank, a
 * line, with the GAIN line's first and second values. Files of three or more
 * read fields separated by blanks or commas (a line with fewer than the channel
 * count is refused, naming it), and channel k takes the k-th GAIN value (blanks
 * or commas between; a missing or 0 gain is 1), and a chosen channel beyond
 * the file's is refused. (A two-channel file reads its second channel, and a
 * one-channel file its only one, for any choice but 1, as they always have.)
 * SHORTNAM names the channels, separated by commas or else by blanks.
 */
ErdReadResult ReadErdProfile(const std::string& path, ChannelNumber& channel, const ChannelQuestion& askChannel,
                             UnitSystem units = UnitSystem::US);

/**
 * Reads an ERD profile already in memory, exactly as ReadErdProfile reads a
 * file's bytes (for the benchmark, fuzzing and tests that need no file).
 */
ErdReadResult ParseErdProfile(std::string_view bytes, ChannelNumber& channel, const ChannelQuestion& askChannel,
                              UnitSystem units = UnitSystem::US);

} // namespace zlm
