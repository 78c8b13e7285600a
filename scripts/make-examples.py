#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the sample files in examples/: a cross-section file, a comma-delimited point file, a
synthetic ADCP transect in the Classic ASCII layout, and an index-velocity station (its standard
cross section, discharge measurements and a week of stage and index-velocity record). Every number is made up; the shapes follow a
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


# The standard cross section of the index-velocity station: a lined canal, surveyed at nine
# points (metres), gage datum 95.00.
HARLAN_POINTS = [(0.0, 101.20), (2.0, 99.10), (5.0, 96.60), (8.0, 95.80), (14.0, 95.60),
                 (20.0, 95.70), (24.0, 96.50), (27.0, 99.00), (29.0, 101.30)]
HARLAN_DATUM = 95.0


def wetted_area(points, gage_height, datum):
    """The water area below a gage height between vertical walls at the end points."""
    level = gage_height + datum
    area = 0.0
    for (s1, e1), (s2, e2) in zip(points, points[1:]):
        width = abs(s2 - s1)
        if e1 > level and e2 > level:
            continue
        if e1 > level:
            area += width / (e1 - e2) * 0.5 * (level - e2) ** 2
        elif e2 > level:
            area += width / (e2 - e1) * 0.5 * (level - e1) ** 2
        else:
            area += width * (level - (e1 + e2) / 2)
    return area


def harlan_canal():
    """An index-velocity station on a canal whose flow is checked by a downstream gate, so that
    stage and velocity vary apart: its section, 24 discharge measurements over two years (a
    few held back to validate the rating, two excluded with the reason) and a week of record
    at 15-minute steps. The mean velocity follows V = 0.04 + 0.87 Vi with scatter of about 2 %;
    the measured areas scatter about 2 % around the section's, one of them beyond 5 %."""
    rng = random.Random(31)
    lines = [
        "//Korvadel",
        "//Station\tHarlan Canal at the Route 9 siphon, standard cross section (2024-02-20)",
        "//GHMinimum\t1",
        "//GHMaximum\t5",
        "//GHIncrement\t0.05",
        "//GHDatum\t95.00",
        "Station\tElevation",
    ]
    lines += ["%s\t%s" % (general(s), "%.2f" % e) for s, e in HARLAN_POINTS]
    write_crlf("harlan-canal.kvd", lines)

    uses = {5: ("validate", ""), 11: ("validate", ""), 17: ("validate", ""),
            8: ("exclude", "Moving bed; loop test failed"),
            20: ("exclude", "Index-velocity meter fouled by weed, cleaned after the measurement")}
    rows = ["number,start,end,gage_height,discharge,index_velocity,measured_area,use,comment"]
    day = 0
    for k in range(24):
        number = 301 + k
        day += rng.randint(20, 40)
        start_minutes = rng.randint(8 * 60, 14 * 60)
        duration = rng.randint(18, 45)
        date = _date_after("2023-03-01", day)
        start = "%sT%02d:%02d" % (date, start_minutes // 60, start_minutes % 60)
        end_minutes = start_minutes + duration
        end = "%sT%02d:%02d" % (date, end_minutes // 60, end_minutes % 60)
        gage_height = round(rng.uniform(1.6, 4.4), 2)
        if k == 6:
            gage_height = 3.0  # the measurement worked by hand in the README
        index_velocity = round(rng.uniform(0.15, 1.35), 3)
        if k == 6:
            index_velocity = 0.76
        velocity = (0.04 + 0.87 * index_velocity) * (1.0 + rng.gauss(0.0, 0.02))
        use, comment = uses.get(k, ("fit", ""))
        if use == "exclude":
            velocity *= 1.12 if k == 8 else 0.86
        area = wetted_area(HARLAN_POINTS, gage_height, HARLAN_DATUM)
        discharge = velocity * area
        measured_area = area * (1.0 + rng.gauss(0.0, 0.02))
        if k == 14:
            measured_area = area * 1.07  # a section that has silted since the survey
        if comment and "," in comment:
            comment = '"%s"' % comment
        rows.append("%d,%s,%s,%.2f,%.3g,%.3f,%.1f,%s,%s"
                    % (number, start, end, gage_height, discharge, index_velocity,
                       measured_area, use, comment))
    write_crlf("harlan-canal-measurements.csv", rows)

    rows = ["time,gage_height,index_velocity"]
    for step in range(7 * 96):
        hours = step / 4.0
        # The gate is opened each morning and closed in the evening; the pool rises as it closes.
        gate = 0.5 + 0.5 * math.tanh(3.0 * math.sin(2 * math.pi * (hours - 7.0) / 24.0))
        gage_height = 2.6 + 0.9 * (1.0 - gate) + 0.15 * math.sin(2 * math.pi * hours / 61.0)
        gage_height += rng.uniform(-0.005, 0.005)
        index_velocity = 0.25 + 0.75 * gate + rng.uniform(-0.02, 0.02)
        date = _date_after("2024-06-03", int(hours // 24))
        time = "%sT%02d:%02d" % (date, int(hours) % 24, int(round((hours % 1) * 60)))
        stage_text = "%.3f" % gage_height
        velocity_text = "%.3f" % index_velocity
        if 3 * 96 + 40 <= step < 3 * 96 + 44:
            velocity_text = ""  # the meter was out of the water for an hour
        rows.append("%s,%s,%s" % (time, stage_text, velocity_text))
    write_crlf("harlan-canal-record.csv", rows)


def _date_after(first, days):
    """The ISO date `days` after `first`."""
    import datetime
    return (datetime.date.fromisoformat(first) + datetime.timedelta(days=days)).isoformat()


def main():
    os.makedirs(EXAMPLES, exist_ok=True)
    mill_creek()
    bear_river()
    clearwater_transect()
    harlan_canal()


if __name__ == "__main__":
    main()
