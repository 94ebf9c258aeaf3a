#pragma once

#include "profile_input/DelimitedProfileReader.h"
#include "profile_input/ElevationProfile.h"
#include "profile_input/ErdProfileReader.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zlm {

/** Which message box an open that did not load shows. */
enum class OpenFailureBox {
    None,         ///< loaded, or a question was cancelled
    TakeoffError, ///< "Takeoff Error", Yes/No, no icon: not a valid column-text profile
    SkiError,     ///< "Ski Error", warning: "Not a file" or the SI message
    FileError,    ///< "File Error!", warning: column-text header or data failure, a PRO or delimited refusal
    ErdError      ///< title "ZLM", information: "Error 0 " + the reader's text
};

/**
 * Outcome of reading a chosen file; profile and title only when loaded. An open
 * the user cancelled (the channel question) is neither loaded nor refused: no
 * box, no message, and the caller changes nothing.
 */
struct OpenOutcome {
    bool loaded = false;
    bool cancelled = false; ///< a question was cancelled: nothing to show, nothing changes
    OpenFailureBox box = OpenFailureBox::None;
    std::string message; ///< the whole text of the box, exactly as shown
    ElevationProfile profile;
    std::string title;
    std::vector<std::string> channelNames; ///< the file's channels in order (their count), when loaded
};

/** How a profile file is read. */
enum class ProfileFormat { ColumnText, Erd, Pro, Delimited };

/**
 * What a delimited profile needs from the caller for the elevation column
 * chosen: the units and interval its header does not give.
 */
struct NeededUnits {
    bool distanceUnit = false;  ///< the distance column's unit, or the interval's without one
    bool elevationUnit = false; ///< the elevation column's unit
    bool interval = false;      ///< the sample interval: there is no distance column

    bool Any() const { return distanceUnit || elevationUnit || interval; }
};

/** What ReadDelimitedProfile would miss for the elevation column of `channel` (1 or 2) of the layout. */
NeededUnits UnitsNeeded(const DelimitedLayout& layout, ChannelNumber channel);

/**
 * Asked, after the channel, for a delimited profile that needs units or an
 * interval its header does not give: it is given the file's layout and what is
 * needed and returns them (a header's unit still wins), or nothing to cancel
 * the open.
 */
using UnitsQuestion =
    std::function<std::optional<DelimitedUnits>(const DelimitedProbeResult& probe, const NeededUnits& needed)>;

/** True when the path's last three characters are "dat" (exact case): a column-text profile. */
bool IsColumnTextPath(const std::string& path);

/**
 * How the file at `path` is read: ".dat" (exact case) column text; ".pro" (any
 * case) PRO; ".csv" (any case) delimited text; ".txt" (any case) ERD when its
 * first line begins like the ERD signature ("ERDFILE", any case) or it cannot
 * be read, else delimited text;
 * anything else ERD.
 */
ProfileFormat ProfileFormatOf(const std::string& path);

/**
 * Reads the chosen file the way the Browse command does, in feet or, for SI
 * units, in metres: column text through CheckColumnProfile and
 * ReadColumnProfile, ERD through ReadErdProfile, PRO and delimited text through
 * their readers (ProfileFormatOf). A file of several channels (ERD, a two-path
 * PRO, a delimited file of two elevation columns) asks askChannel, when set,
 * and reads its answer (any answer but 1 reads the second of two). A
 * delimited file that needs units asks askUnits (without it, the reader's
 * refusal names what is missing). PRO and delimited refusals are "File Error!"
 * boxes with the reader's text. A cancelled question gives `cancelled`, with
 * `channel` unchanged. The caller replaces its profile only when loaded.
 */
OpenOutcome ReadProfileFile(const std::string& path, ChannelNumber& channel, const ChannelQuestion& askChannel,
                            UnitSystem units = UnitSystem::US, const UnitsQuestion& askUnits = {});

/**
 * The 1-based channel a file of `channelCount` channels gives for the choice
 * `chosen`: its only one for a file of one, the second of two for any choice
 * but 1, else the channel chosen.
 */
ChannelNumber ChannelRead(ChannelNumber chosen, std::size_t channelCount);

} // namespace zlm
