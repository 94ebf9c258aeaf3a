#pragma once

#include "profile_input/Channel.h"
#include "profile_input/ElevationProfile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zlm {

/**
 * What the first three lines of a PRO profile say, learnt before the data is
 * read: the number of paths (1 for "L" or "R", 2 for "LR"), so that the caller
 * can ask which one to analyse before reading. ok is false, with the message
 * reading the whole file would give, when those lines are refused.
 */
struct ProProbeResult {
    bool ok = false;
    std::string message;        ///< why the file is refused; empty when ok
    std::int32_t pathCount = 0; ///< 1 or 2 when ok
};

/** Outcome of ReadProProfile: the profile only when ok, else the exact message. */
struct ProReadResult {
    bool ok = false;
    std::string message;        ///< why the file is refused, naming the line where there is one; empty when ok
    ElevationProfile profile;   ///< elevations and interval in feet or metres, header fields, native units
    std::int32_t pathCount = 0; ///< paths the file holds (1 or 2) when ok
    char pathRead = 0;          ///< 'L' or 'R': the path the elevations belong to, when ok
};

/**
 * Reads the header lines of a PRO profile and tells how many paths it holds,
 * without reading the data: the file is read only up to its third line. Refuses
 * what ReadProProfile refuses in those lines, with the same messages, and
 * "Unable to open " + path when the file cannot be read.
 */
ProProbeResult ProbeProProfile(const std::string& path);

/** ProbeProProfile on bytes already in memory. */
ProProbeResult ProbeProText(std::string_view bytes);

/**
 * Reads a PRO profile: comma-separated text, lines ending in CR LF or LF.
 *  - Line 1: "HEAD3", date, district, county, highway, reference marker, lane.
 *  - Line 2: "CMET3", profiler, surface, operator, serial number, cut-off,
 *    certification code, certification date.
 *  - Line 3: maker, elevation unit ("mil", "in" or "mm"), paths ("L", "R" or
 *    "LR"), sample interval, interval unit ("i", inches).
 *  - Line 4: latitude, longitude, altitude, heading and speed at the start.
 *  - Line 5: a free comment.
 *  - From line 6 on, one point a line: the elevation of each path (left before
 *    right for "LR"), an event field, and optionally latitude, longitude,
 *    altitude, heading and speed: 2 or 7 fields for one path, 3 or 8 for two.
 * The text fields of lines 1 to 5 become the profile's header fields, named
 * ("Date", "Highway", "Comment", ...); missing ones are kept as empty values.
 * Event and position fields are not used and may hold anything. Empty lines
 * at the very end are no points.
 *
 * `channel` picks the path of a two-path file: 1 the left, any other the
 * right; a one-path file ignores it. Only the path read must hold
 * numbers, so a dropout in the other path does not stop the analysis of this one. In US units
 * elevations become feet (mil / 12000, in / 12, mm / 304.8), the interval too (i / 12), in double;
 * in SI units metres with the exact factors (in x 0.0254, mil x 0.0254 / 1000, mm / 1000; i x 0.0254).
 * Numbers are read strictly (blanks around, sign, digits, one ".", exponent);
 * no "nan" or "inf", no decimal comma (the comma separates fields).
 *
 * Refusals, each naming the line and the problem: "Line 1 does not begin with
 * HEAD3 ...", "Line 2 does not begin with CMET3 ...", a short line 3, an
 * unknown elevation unit, paths or interval unit (named), a sample interval
 * that is no number, not above 0 or not usable, an empty data line, a data line with the wrong
 * number of fields, an elevation that is no number or beyond single
 * precision, no data line at all, more points than can be analysed, and
 * "Unable to open " + path. Nothing is allocated from a number the file declares.
 */
ProReadResult ReadProProfile(const std::string& path, ChannelNumber channel, UnitSystem units = UnitSystem::US);

/** ReadProProfile on bytes already in memory (for tests, fuzzing and the benchmark). */
ProReadResult ParseProProfile(std::string_view bytes, ChannelNumber channel, UnitSystem units = UnitSystem::US);

} // namespace zlm
