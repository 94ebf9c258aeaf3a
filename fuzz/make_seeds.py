#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Seeds are the example profiles, the real profile in ../shared/profiles (when
present), and hand-made nasty files: empty, only the signature, END missing or
last, a very long line, NUL bytes, a line of as many fields as fit, huge channel
counts, gains and elevations, odd intervals, a point count far beyond the data,
and CR-only line ends. Running it again gives the same bytes.
Usage: python3 fuzz/make_seeds.py [repository folder]
"""

import os
import shutil
import sys

# The fuzz targets read at most this many bytes (scripts/fuzz -max_len); a seed
# that would be longer is cut to fit, so the long-line seed is 60 KB, not 1 MB.
MAX_LEN = 64 * 1024


def crlf(lines):
    return "".join(line + "\r\n" for line in lines).encode("latin-1")


def erd(dimensions, keywords, data, end="END"):
    lines = ["ERDFILEV2.00", dimensions] + keywords
    if end is not None:
        lines.append(end)
    return crlf(lines + data)


def erd_one(data, gain="GAIN    1.0", dx="0.2500000", units="ft", count=None):
    dims = "      1,%7d,     -1,      1,      5,%15s,     -1," % (count if count is not None else len(data), dx)
    keys = ["TITLE   Nasty one channel", "UNITSNAM" + units, "XUNITS  ft"]
    if gain is not None:
        keys.append(gain)
    return erd(dims, keys, data)


def ramp(count, step=0.001):
    return ["%.4f" % (1.0 + 0.001 * ((i * 7) % 13) + step * i) for i in range(count)]


def column(count_text, data, dx="0.250", units="English"):
    header = [
        "Profile Title:  Nasty column profile",
        "Operator:       fuzz seeds",
        "Date:           2005-06-01",
        "Units:          " + units,
        "Interval (ft):  " + dx,
        "Offset (ft):    0.000",
        "Speed (mph):    45",
        "Points:         " + count_text,
        "Comment:        made by fuzz/make_seeds.py",
        "   Station (ft)   Elevation (ft)",
        "------------------------------------",
    ]
    return crlf(header + data)


def column_rows(values, dx=0.25):
    return ["%11.3f       %9s" % (i * dx, v) for i, v in enumerate(values)]


def nasty_erd():
    seeds = {}
    seeds["empty"] = b""
    seeds["signature-only"] = b"ERDFILEV2.00"
    seeds["signature-line"] = b"ERDFILEV2.00\r\n"
    seeds["end-missing"] = crlf(["ERDFILEV2.00", "      1,      3,     -1,      1,      5,      0.2500000,     -1,",
                                 "UNITSNAMft", "0.1", "0.2", "0.3"])
    seeds["end-last-line"] = erd("      1,      3,     -1,      1,      5,      0.2500000,     -1,",
                                 ["UNITSNAMft"], [])
    seeds["end-last-no-newline"] = seeds["end-last-line"][:-2]
    seeds["nul-bytes"] = erd_one(ramp(200)).replace(b"0.0", b"0\x000", 5) + b"\x00\x00\x00"
    seeds["nul-everywhere"] = bytes(2048)
    # As many fields on line 2 as fit within the input limit.
    fields = ",".join(["1", "100", "-1", "1", "5", "0.25"] + ["7"] * ((MAX_LEN - 200) // 2))
    seeds["many-fields-line2"] = crlf(["ERDFILEV2.00", fields, "UNITSNAMft", "END"] + ramp(20))
    seeds["channels-2147483648"] = erd("2147483648,    100,     -1,      1,      5,      0.2500000,     -1,",
                                       ["UNITSNAMft"], ramp(100))
    seeds["channels-minus-2147483649"] = erd("-2147483649,  100,     -1,      1,      5,      0.2500000,     -1,",
                                             ["UNITSNAMft"], ramp(100))
    seeds["gain-1e300"] = erd_one(ramp(200), gain="GAIN    1e300")
    seeds["gains-1e300-two"] = erd("      2,    200,     -1,      1,      5,      0.2500000,     -1,",
                                   ["UNITSNAMft      ft", "GAIN    1e300, 1e300,"],
                                   ["%s %s" % (v, v) for v in ramp(200)])
    for name, text in (("1e308", "1e308"), ("nan", "nan"), ("inf", "inf"), ("minus-inf", "-inf")):
        data = ramp(200)
        data[100] = text
        seeds["elevation-" + name] = erd_one(data)
    for name, dx in (("1e-300", "1e-300"), ("0", "0"), ("minus-0.25", "-0.25"), ("20", "20"), ("nan", "nan")):
        seeds["dx-" + name] = erd_one(ramp(300), dx=dx)
    seeds["count-999999999"] = erd_one(ramp(3), count=999999999)
    seeds["cr-only"] = erd_one(ramp(200)).replace(b"\r\n", b"\r")
    seeds["lf-only"] = erd_one(ramp(200)).replace(b"\r\n", b"\n")
    seeds["long-line"] = erd_one(["1" * (60 * 1024)] + ramp(10))
    seeds["two-channel-one-value"] = erd("      2,      4,     -1,      1,      5,      0.2500000,     -1,",
                                         ["UNITSNAMin      in"], ["1 2", "3 4", "5", "7 8"])
    # Elevations at the edge of single precision, alternating in sign: accepted,
    # and the deviations are near 1e40 inches.
    seeds["elevations-near-single-max"] = erd_one(
        [("-" if i % 3 == 0 else "") + "34" + "0" * 37 for i in range(300)])
    seeds["units-mm-in-metres"] = erd_one(ramp(400), units="mm")
    seeds["trailing-empty-lines"] = erd_one(ramp(100)) + b"\r\n\r\n\n"
    return seeds


def nasty_column():
    seeds = {}
    seeds["empty"] = b""
    seeds["header-only"] = column("3", [])
    seeds["count-999999999-three-lines"] = column("999999999", column_rows(["100.0001", "100.0002", "100.0003"]))
    seeds["count-2147483648"] = column("2147483648", column_rows(["100.0001"] * 3))
    seeds["count-negative"] = column("-3", column_rows(["100.0001"] * 3))
    seeds["count-fraction"] = column("2.5", column_rows(["100.0001"] * 3))
    seeds["metric"] = column("3", column_rows(["100.0001"] * 3), units="Metric")
    for name, dx in (("1e-300", "1e-300"), ("0", "0"), ("minus-0.25", "-0.25"), ("20", "20"), ("nan", "nan")):
        seeds["dx-" + name] = column("200", column_rows(ramp(200), 0.25), dx=dx)
    for name, text in (("1e308", "1e308"), ("nan", "nan"), ("inf", "inf"), ("9e38", "9e38")):
        values = ["%.4f" % (100 + 0.001 * i) for i in range(200)]
        values[50] = text
        seeds["elevation-" + name] = column("200", column_rows(values))
    good = column("200", column_rows(["%.4f" % (100 + 0.01 * ((i * 5) % 7)) for i in range(200)]))
    seeds["small-profile"] = good
    seeds["cr-only"] = good.replace(b"\r\n", b"\r")
    seeds["lf-only"] = good.replace(b"\r\n", b"\n")
    seeds["nul-bytes"] = good.replace(b"100.0", b"10\x00.0", 7)
    seeds["long-line"] = column("3", ["1" * (60 * 1024)] + column_rows(["100.0001"] * 3))
    seeds["many-fields-line2"] = crlf(["Profile Title:  x", ",".join(["7"] * ((MAX_LEN - 100) // 2))])
    seeds["short-data-lines"] = column("3", ["      0.000       1", "x", ""])
    return seeds


NUMBER_TEXTS = [
    "", "0", "-0", "12,5", "1,000", "12.5 ", " 12.5", "1.5E3", "1.2.3", "1.5,2", "inf", "-inf", "nan", "NaN",
    "1e308", "1e309", "-1e308", "1e-300", "1e-400", "-1e-400", "3.4028235e38", "3.4028236e38", "1e39",
    "1.17549435e-38", "1.4e-45", "0x1p3", "+5", "--5", "5e", "5e+", ".5", "5.", ",5", "0.2069167",
    "1" * 400, "0." + "1" * 320, "123456789012345678901234567890", "1e2147483648", "\t7\t", "7 7",
    "0.00000000000000000000000001", "9" * 39, "340282356779733661637539395458142568448",
]


def write_corpus(root, target, seeds):
    folder = os.path.join(root, "fuzz", "corpus", target)
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    for name, data in sorted(seeds.items()):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    samples = os.path.join(root, "samples")
    profiles = {}
    for name in sorted(os.listdir(samples)):
        if name.endswith((".erd", ".dat")):
            with open(os.path.join(samples, name), "rb") as f:
                profiles[name] = f.read()
    real = os.path.join(root, "..", "shared", "profiles", "track-run-e1.erd")
    if os.path.isfile(real):
        with open(real, "rb") as f:
            profiles["track-run-e1.erd"] = f.read()
    else:
        # Kept from an earlier run when the shared folder is not there.
        kept = os.path.join(root, "fuzz", "corpus", "fuzz_erd_profile", "1-track-run-e1.erd")
        if os.path.isfile(kept):
            with open(kept, "rb") as f:
                profiles["track-run-e1.erd"] = f.read()[1:]
    erd_files = {k: v for k, v in profiles.items() if k.endswith(".erd")}
    dat_files = {k: v for k, v in profiles.items() if k.endswith(".dat")}
    erd_files.update({"nasty-" + k + ".erd": v for k, v in nasty_erd().items()})
    dat_files.update({"nasty-" + k + ".dat": v for k, v in nasty_column().items()})

    write_corpus(root, "fuzz_number_text",
                 {"text-%02d" % i: t.encode("latin-1") for i, t in enumerate(NUMBER_TEXTS)})
    write_corpus(root, "fuzz_column_profile", dat_files)

    # First byte: the channel chosen before; both values for every file.
    erd_seeds = {}
    for name, data in erd_files.items():
        erd_seeds["0-" + name] = b"\x00" + data
        erd_seeds["1-" + name] = b"\x01" + data
    write_corpus(root, "fuzz_erd_profile", erd_seeds)

    # Byte 0: bit 0 column text, bit 1 channel answer, bit 2 "," as separator;
    # byte 1: the length of the section text that follows.
    sections = ["", "100", "0.5", "1e39", "-5", "nan", "528,0", "0.0001", " 200 "]
    batch_seeds = {}
    for i, (name, data) in enumerate(sorted(erd_files.items()) + sorted(dat_files.items())):
        section = sections[i % len(sections)].encode("latin-1")
        flags = (1 if name.endswith(".dat") else 0) | ((i & 1) << 1) | ((i & 2) << 1)
        batch_seeds[name] = bytes([flags, len(section)]) + section + data
    write_corpus(root, "fuzz_batch_path", batch_seeds)


if __name__ == "__main__":
    main()
