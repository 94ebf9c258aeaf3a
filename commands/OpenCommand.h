#pragma once

#include "profile_input/ElevationProfile.h"
#include "profile_input/ErdProfileReader.h"

#include <cstdint>
#include <string>

namespace zlm {

/** Which message box an open that did not load shows. */
enum class OpenFailureBox {
    None,         ///< loaded
    TakeoffError, ///< "Takeoff Error", Yes/No, no icon: not a valid column-text profile
    SkiError,     ///< "Ski Error", warning: "Not a file" or the SI message
    FileError,    ///< "File Error!", warning: column-text header or data failure
    ErdError      ///< title "ZLM", information: "Error 0 " + the reader's text
};

/**
 * Outcome of reading a chosen file; profile and title only when loaded. An open
 * the user cancelled (the channel question) is neither loaded nor refused: no
 * box, no message, and the caller changes nothing.
 */
struct OpenOutcome {
    bool loaded = false;
    bool cancelled = false;
    OpenFailureBox box = OpenFailureBox::None;
    std::string message; ///< the whole text of the box, exactly as shown
    ElevationProfile profile;
    std::string title;
};

/** True when the path's last three characters are "dat" (exact case): a column-text profile. */
bool IsColumnTextPath(const std::string& path);

/**
 * Reads the chosen file the way the Browse command does: ".dat" (exact case)
 * through CheckColumnProfile and ReadColumnProfile, anything else through
 * ReadErdProfile, in feet or, for SI units, in metres. The caller replaces its
 * profile only when loaded; a cancelled channel question gives `cancelled`,
 * with `channel` unchanged.
 */
OpenOutcome ReadProfileFile(const std::string& path, Channel& channel, const ChannelQuestion& askChannel,
                            UnitSystem units = UnitSystem::US);

} // namespace zlm
