#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the sample files in examples/: a cross-section file, a comma-delimited point file and a
synthetic ADCP transect in the Classic ASCII layout. Every number is made up; the shapes follow a
small gravel-bed river so that the ratings they give look like real ones. Deterministic: running
it again gives the same bytes."""

import math
import os
import random

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXAMPLES = os.path.join(ROOT, "examples")


def general(value):
    """Shortest text with at most 15 significant digits, as the program writes numbers."""
    text = format(value, ".15g")
    if "e" in text:
        mantissa, exponent = text.split("e")
        return mantissa + "E" + str(int(exponent))
    return text


def write_crlf(name, lines):
    with open(os.path.join(EXAMPLES, name), "wb") as out:
        for line in lines:
            out.write(line.encode("cp1252") + b"\r\n")


def mill_creek():
    """A surveyed section with a concrete wall on the left bank (two points at one station)."""
    rng = random.Random(11)
    points = [(0.0, 105.32), (0.0, 101.85)]  # wall: top, then foot
    station = 0.0
    while station < 46.0:
        station = round(station + rng.uniform(0.8, 2.2), 1)
        x = station / 46.0
        # Deepest near a third of the width, a gravel bar toward the right bank.
        if x < 0.33:
            bed = 98.4 + 3.3 * ((0.33 - x) / 0.33) ** 1.8
        else:
            bed = 98.4 + 6.3 * ((x - 0.33) / 0.67) ** 2.2
        bed += 0.5 * math.exp(-((x - 0.72) / 0.07) ** 2) + rng.uniform(-0.08, 0.08)
        points.append((station, round(bed, 2)))
    points.append((round(station + 1.5, 1), 105.18))
    lines = [
        "//Korvadel",
        "//Station\tMill Creek below the county bridge (survey 2024-06-11)",
        "//GHMinimum\t0.5",
        "//GHMaximum\t6",
        "//GHIncrement\t0.1",
        "//GHDatum\t98.2",
        "Station\tElevation",
    ]
    lines += [general(s) + "\t" + general(e) for s, e in points]
    write_crlf("mill-creek.kvd", lines)


def bear_river():
    """A wider section as a spreadsheet would export it: station, elevation, a point code."""
    rng = random.Random(23)
    lines = []
    station = 0.0
    codes = ["LEW", "", "", "", "TW", "", "", "", "REW"]
    while station <= 72.0:
        x = station / 72.0
        bed = 212.5 + 9.0 * abs(x - 0.45) ** 1.6 + rng.uniform(-0.05, 0.05)
        code = codes[int(x * (len(codes) - 1))]
        lines.append("%s,%s,%s" % (general(round(station, 2)), general(round(bed, 3)), code))
        station += rng.uniform(1.0, 2.5)
    write_crlf("bear-river.csv", lines)


def clearwater_transect():
    """An ADCP transect across a 86 m wide reach, one ensemble a second."""
    rng = random.Random(5)
    lines = [
        "Korvadel synthetic transect (made-up data, Classic ASCII layout)",
        "Back Scatter in dB",
        "  25  50  50   1   4 200   1",
    ]
    ensembles = 320
    width = 86.0
    distance_made_good = 1.8
    bad_all, bad_one = 117, 204
    elapsed_time = 0.0
    track = 0.0
    for number in range(1, ensembles + 1):
        elapsed_time += 1.0 + rng.uniform(-0.05, 0.05)
        step = width / ensembles * rng.uniform(0.6, 1.4)
        if number % 97 == 0:
            step = 0.0  # the boat held still for a second
        distance_made_good += step
        track += step * rng.uniform(1.0, 1.06)
        x = min(distance_made_good / (width + 4.0), 1.0)
        depth = 0.6 + 4.4 * math.sin(math.pi * x) ** 1.3 + 0.25 * math.sin(7.0 * x)
        beams = [max(0.3, depth + rng.uniform(-0.12, 0.12)) for _ in range(4)]
        depths = ["%8.2f" % b for b in beams]
        if number == bad_all:
            depths = ["-32768"] * 4
        elif number == bad_one:
            depths[2] = "-32768"
        north = track * 0.31
        east = track * 0.95
        second = int(elapsed_time) % 60
        minute = 14 + int(elapsed_time) // 60
        lines.append(
            " 24  6 11 10 %2d %2d %2d %5d      0  %6.2f %6.2f %7.2f %6.2f"
            % (minute, second, rng.randint(0, 99), number, rng.uniform(-2, 2),
               rng.uniform(-2, 2), 140.0 + rng.uniform(-6, 6), 14.2 + rng.uniform(-0.2, 0.2)))
        lines.append(
            "%8.3f %8.3f %8.3f %8.3f %8.3f %8.3f %8.3f %8.3f %s"
            % (rng.uniform(-0.9, -0.7), rng.uniform(0.2, 0.4), rng.uniform(-0.02, 0.02),
               rng.uniform(-0.03, 0.03), 0.0, 0.0, 0.0, 0.0, " ".join(depths)))
        lines.append(
            "%9.2f %9.2f %9.2f %9.2f %9.2f"
            % (track, elapsed_time, north, east, distance_made_good))
        lines.append(
            "  46.5163214 -116.9931820  %6.2f %6.2f   0.00   0.00"
            % (rng.uniform(-0.8, -0.6), rng.uniform(0.1, 0.3)))
        lines.append(
            "  %7.3f %7.3f %7.3f %7.3f %7.3f   %5.2f %5.2f"
            % (rng.uniform(0.05, 0.4), rng.uniform(0.0, 0.1), rng.uniform(0.0, 0.05),
               rng.uniform(-0.02, 0.0), rng.uniform(0.0, 0.02), 0.25, 0.25))
        bins = 0 if number == bad_all else max(0, int((min(beams) * 0.88 - 0.45) / 0.25))
        lines.append("%d cm BT dB 0.43 0.045" % bins)
        for b in range(bins):
            speed = 38.0 * (1.0 - (b / max(bins, 1)) ** 2) + rng.uniform(-4, 4)
            lines.append(
                "  %5.2f %7.1f %6.1f %7.1f %7.1f %6.1f %6.1f %5.1f %5.1f %5.1f %5.1f %4d %8.4f"
                % (0.45 + 0.25 * b, speed, 18.0 + rng.uniform(-8, 8), speed * 0.3,
                   speed * 0.95, rng.uniform(-2, 2), rng.uniform(-3, 3),
                   80 - b * 1.5, 81 - b * 1.5, 79 - b * 1.5, 80 - b * 1.4, 100,
                   rng.uniform(0.001, 0.02)))
    write_crlf("clearwater_000t.000", lines)


def main():
    os.makedirs(EXAMPLES, exist_ok=True)
    mill_creek()
    bear_river()
    clearwater_transect()


if __name__ == "__main__":
    main()
