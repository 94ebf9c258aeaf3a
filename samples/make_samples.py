#!/usr/bin/env python3
"""Writes the example profiles in this folder.

Each profile is a synthetic road: a gentle vertical curve, long-wave roughness
(a sum of sines), short-wave texture from a seeded random walk, and a few
bumps and dips of half an inch to an inch that a 16-foot straightedge catches.
The random generator is seeded, so running the script again gives the same
bytes. Usage: python3 samples/make_samples.py [output folder]
"""

import math
import os
import random
import sys


def road_profile(count, dx, seed, bumps):
    """Elevations in feet of `count` points spaced `dx` feet apart."""
    rng = random.Random(seed)
    waves = [(rng.uniform(40.0, 400.0), rng.uniform(0.002, 0.02), rng.uniform(0.0, 2.0 * math.pi))
             for _ in range(6)]
    walk = 0.0
    elevations = []
    for i in range(count):
        x = i * dx
        z = 0.0008 * x - 1.5e-7 * x * x  # grade and vertical curve
        for length, amplitude, phase in waves:
            z += amplitude * math.sin(2.0 * math.pi * x / length + phase)
        walk = 0.9 * walk + rng.gauss(0.0, 0.0015)
        z += walk
        for centre, width, height in bumps:
            if abs(x - centre) < width / 2.0:
                z += height * 0.5 * (1.0 + math.cos(2.0 * math.pi * (x - centre) / width))
        elevations.append(z)
    return elevations


def write_bytes(path, lines):
    with open(path, "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode("ascii"))


def one_channel_erd(folder):
    # 1,200 points at 0.5 ft (600 ft), elevations in inches, interval in feet.
    count, dx = 1200, 0.5
    feet = road_profile(count, dx, seed=11, bumps=[(130.0, 6.0, 0.06), (310.0, 10.0, -0.08), (470.0, 4.0, 0.05)])
    lines = ["ERDFILEV2.00",
             "%7d,%7d,%7d,%7d,%7d,%15.7f,%7d," % (1, count, -1, 1, 5, dx, -1),
             "TITLE   Sample County Road 12, westbound",
             "SHORTNAMElev.",
             "UNITSNAMin",
             "XLABEL  Distance",
             "XUNITS  ft",
             "GAIN    1.0",
             "END"]
    lines += ["%.4f" % (z * 12.0) for z in feet]
    write_bytes(os.path.join(folder, "one-channel.erd"), lines)


def two_channel_erd(folder):
    # 3,000 points at 100 mm (about 984 ft), both wheel paths in millimetres,
    # the interval in millimetres, a gain for each channel.
    count, dx_mm = 3000, 100.0
    dx_ft = dx_mm / 1000.0 * 3.281
    left = road_profile(count, dx_ft, seed=21, bumps=[(200.0, 8.0, 0.07), (640.0, 5.0, -0.06)])
    right = road_profile(count, dx_ft, seed=22, bumps=[(420.0, 12.0, 0.09), (800.0, 6.0, 0.05)])
    lines = ["ERDFILEV2.00",
             "%7d,%7d,%7d,%7d,%7d,%15.7f,%7d," % (2, count, -1, 1, 5, dx_mm, -1),
             "TITLE   Sample State Highway 7, northbound, left and right wheel paths",
             "SHORTNAMLElev.  RElev.",
             "UNITSNAMmm      mm",
             "XLABEL  Distance",
             "XUNITS  mm",
             "GAIN    0.1, 0.1,",
             "END"]
    # Stored in tenths of a millimetre; the gains of 0.1 scale them back.
    lines += ["%d %d" % (round(l / 0.00328 * 10.0), round(r / 0.00328 * 10.0)) for l, r in zip(left, right)]
    write_bytes(os.path.join(folder, "two-channel.erd"), lines)


def column_text(folder):
    # 2,000 points at 0.25 ft (500 ft), elevations in feet.
    count, dx = 2000, 0.25
    feet = road_profile(count, dx, seed=31, bumps=[(90.0, 5.0, 0.05), (260.0, 8.0, -0.07), (410.0, 6.0, 0.06)])

    def labelled(label, value):
        return label.ljust(16)[:16] + value

    lines = [labelled("Profile Title:", "Sample Airport Access Road, lane 1"),
             labelled("Operator:", "Sample data"),
             labelled("Date:", "2005-06-01"),
             labelled("Units:", "English"),
             labelled("Interval (ft):", "%.3f" % dx),
             labelled("Offset (ft):", "0.000"),
             labelled("Speed (mph):", "45"),
             labelled("Points:", "%d" % count),
             labelled("Comment:", "synthetic profile made by samples/make_samples.py"),
             "   Station (ft)   Elevation (ft)",
             "------------------------------------"]
    for i, z in enumerate(feet):
        lines.append("%11.3f%7s%9.4f" % (i * dx, "", z + 100.0))
    write_bytes(os.path.join(folder, "column-text.dat"), lines)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    one_channel_erd(folder)
    two_channel_erd(folder)
    column_text(folder)


if __name__ == "__main__":
    main()
