#pragma once

#include "profile_input/Channel.h"
#include "profile_input/ElevationProfile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zlm {

/** A unit of length a delimited profile may give its distances or elevations in. */
enum class LengthUnit { Foot, Inch, Mil, Metre, Millimetre };

/** The symbol of a unit as a column header writes it: "ft", "in", "mil", "m" or "mm". */
const char* LengthUnitSymbol(LengthUnit unit);

/**
 * How many of a unit make one foot (12 inches, 12000 mils, 0.3048 m, 304.8 mm):
 * a length in feet is the value divided by it, in double precision.
 */
double UnitsPerFoot(LengthUnit unit);

/**
 * How the lines of a delimited profile are laid out, as learnt from its first
 * lines.
 *
 * The delimiter is that of the first data line: a tab if it holds one, else a
 * semicolon, else a comma; a line with none is one column. The first line is a
 * header when one of its fields is no number; its fields are then split with
 * the data line's delimiter and must be as many. A profile has 1 to 3 columns.
 *
 * With a header, the column whose text contains "dist" or "station" (any case)
 * holds distances and the others elevations, in order (at most one distance
 * column; at most two elevation columns). Without a header, 1 column is an
 * elevation; 2 are distance, elevation; 3 are distance, elevation 1, elevation 2.
 *
 * A header text naming a unit in parentheses ("Elevation (mm)"; "ft", "in",
 * "m", "mm" or "mil", any case) sets that column's unit.
 */
struct DelimitedLayout {
    char delimiter = 0;                                      ///< '\t', ';', ',' or 0 (one column)
    bool hasHeader = false;                                  ///< line 1 is a header
    std::int32_t columnCount = 0;                            ///< 1 to 3
    std::int32_t distanceColumn = -1;                        ///< 0-based; -1 when there is none
    std::array<std::int32_t, 2> elevationColumns = {-1, -1}; ///< 0-based; the second -1 when there is one
    std::int32_t elevationCount = 0;                         ///< 1 or 2: the channels to choose from
    std::optional<LengthUnit> distanceUnit;                  ///< from the distance column's header
    std::array<std::optional<LengthUnit>, 2> elevationUnits; ///< from the elevation columns' headers
    std::array<std::string, 3> headerTexts;                  ///< the header's fields, trimmed; empty without one
};

/**
 * What the caller knows that the file may not say. Each is used only where the
 * header names no unit (a header's unit wins): elevationUnit for the elevation
 * column read, distanceUnit for the distance column; without a distance column,
 * interval is the sample interval, in distanceUnit.
 */
struct DelimitedUnits {
    std::optional<LengthUnit> distanceUnit;
    std::optional<LengthUnit> elevationUnit;
    std::optional<double> interval;
};

/** Outcome of ProbeDelimitedProfile: the layout only when ok. */
struct DelimitedProbeResult {
    bool ok = false;
    std::string message; ///< why the file is refused; empty when ok
    DelimitedLayout layout;
};

/** Outcome of ReadDelimitedProfile: the profile only when ok, else the exact message. */
struct DelimitedReadResult {
    bool ok = false;
    std::string message;      ///< why the file is refused, naming the line where there is one; empty when ok
    ElevationProfile profile; ///< elevations and interval in feet or metres, header fields, native units
    DelimitedLayout layout;   ///< when ok
};

/**
 * Learns the layout of a delimited profile from its header and first data line,
 * so that the caller can ask, before reading, which elevation column to analyse
 * (layout.elevationCount) and for whatever unit or interval the header does not
 * give: a distance unit when there is a distance column without distanceUnit,
 * an interval and its unit when there is no distance column, an elevation unit
 * for a column without elevationUnits[i]. Refuses what ReadDelimitedProfile
 * refuses in those lines, with the same messages.
 */
DelimitedProbeResult ProbeDelimitedProfile(const std::string& path);

/** ProbeDelimitedProfile on bytes already in memory. */
DelimitedProbeResult ProbeDelimitedText(std::string_view bytes);

/**
 * Reads a delimited text profile (".csv", ".txt"): lines of comma-, semicolon-
 * or tab-separated fields, laid out as DelimitedLayout describes, ending in
 * CR LF or LF; a UTF-8 byte order mark before line 1 and empty lines at the
 * very end are ignored. `channel` picks the elevation column: 1 the first,
 * any other the second (ignored when there is one).
 *
 * Only the distance column and the elevation column read must hold numbers.
 * Numbers are read strictly (blanks around, sign, digits, one decimal
 * separator, exponent; no "nan" or "inf"); the separator is "." and, with a
 * semicolon or tab delimiter, "," as well.
 *
 * With a distance column the interval is the mean spacing, (last − first) /
 * (N − 1), and every spacing must lie within 1 % of it. Elevations and the
 * interval become feet in double precision (UnitsPerFoot) or, in SI units,
 * metres with the exact factors (ft x 0.3048, in x 0.0254, mil x 0.0254 / 1000,
 * mm / 1000).
 *
 * Refusals name the line and the problem: an empty line, a line with another
 * number of fields than the first data line (or more than 3), a header naming
 * two distance columns, only a distance column or none among 3 columns, a field that is no number, an
 * elevation beyond single precision, a spacing outside 1 % of the mean, distances
 * that do not increase, fewer than two points with a distance column, a missing
 * unit or interval that neither header nor caller gives (naming which), a given
 * interval not above 0, an interval that cannot be analysed, no data, more
 * points than can be analysed, and "Unable to open " + path.
 */
DelimitedReadResult ReadDelimitedProfile(const std::string& path, ChannelNumber channel, const DelimitedUnits& units,
                                         UnitSystem system = UnitSystem::US);

/** ReadDelimitedProfile on bytes already in memory (for tests, fuzzing and the benchmark). */
DelimitedReadResult ParseDelimitedProfile(std::string_view bytes, ChannelNumber channel, const DelimitedUnits& units,
                                          UnitSystem system = UnitSystem::US);

} // namespace zlm
