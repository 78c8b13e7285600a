#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Discharge of a stage and index-velocity record, scripted with pandas and numpy.

The job of `korvadel-cli discharge SECTION.kvd RECORD.csv --coefficients a,b --model simple`,
written the way a hydrologist would script it: read the section's points and datum, read the
record, take the wetted area of the channel (closed by vertical walls at the first and the last
point) at every distinct gage height, vectorised over the gage heights, look it up for every
row, apply the rating V = a + b*Vi, and write time, gage height, index velocity, area, V and
Q = V*A as comma-delimited text with CR LF line ends (or, with --daily, the mean discharge and
the number of values of every date).

    python3 discharge.py section.kvd record.csv --coefficients 0.04,0.87 [--daily] [-o out.csv]
"""

import argparse
import sys

import numpy as np
import pandas as pd


def read_section(path):
    """Points and datum of a cross-section file: the //GHDatum line, then station<TAB>elevation
    rows after the Station/Elevation heading."""
    datum = 0.0
    rows = []
    with open(path, encoding="cp1252") as f:
        in_points = False
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("//GHDatum"):
                datum = float(line.split("\t")[1])
            elif line.lower().startswith("station"):
                in_points = True
            elif in_points and line.strip():
                station, elevation = line.split("\t")[:2]
                rows.append((float(station), float(elevation)))
    points = pd.DataFrame(rows, columns=["station", "elevation"])
    return points.sort_values("station", kind="stable", ignore_index=True), datum


def wetted_area(points, levels, datum):
    """Area below each gage height: every segment between neighbouring points, for all the
    levels at once."""
    station = points["station"].to_numpy()
    height = points["elevation"].to_numpy() - datum
    width = np.abs(np.diff(station))
    low = np.minimum(height[:-1], height[1:])
    high = np.maximum(height[:-1], height[1:])
    drop = high - low
    factor = np.divide(width, 2 * drop, out=np.zeros_like(width), where=drop > 0)
    area = np.zeros(len(levels))
    for w, lo, hi, f in zip(width, low, high, factor):
        depth_low = np.maximum(levels - lo, 0.0)
        depth_high = np.maximum(levels - hi, 0.0)
        area += np.where(depth_high > 0, w * (depth_low + depth_high) / 2,
                         f * depth_low ** 2 if f > 0 else w * depth_low)
    return area


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("section")
    parser.add_argument("record")
    parser.add_argument("--coefficients", required=True)
    parser.add_argument("--daily", action="store_true")
    parser.add_argument("-o", "--output", default=None)
    args = parser.parse_args()
    a, b = (float(c) for c in args.coefficients.split(","))

    points, datum = read_section(args.section)
    record = pd.read_csv(args.record, dtype={"time": str})
    record.columns = [c.strip().lower().replace(" ", "_") for c in record.columns]
    stage = pd.to_numeric(record["gage_height"], errors="coerce")
    index = pd.to_numeric(record["index_velocity"], errors="coerce")

    levels, inverse = np.unique(stage.to_numpy(), return_inverse=True)
    area = wetted_area(points, levels, datum)[inverse]
    area[stage.isna().to_numpy()] = np.nan
    velocity = a + b * index.to_numpy()
    discharge = velocity * area

    out = open(args.output, "w", newline="") if args.output else sys.stdout
    with out:
        if args.daily:
            table = pd.DataFrame({"date": record["time"].str[:10], "discharge": discharge})
            daily = table.groupby("date")["discharge"].agg(["mean", "count"])
            daily.to_csv(out, header=["mean_discharge", "values"], index_label="date",
                         float_format="%.15g", lineterminator="\r\n")
        else:
            table = pd.DataFrame({"time": record["time"], "gage_height": stage,
                                  "index_velocity": index, "area": area,
                                  "mean_velocity": velocity, "discharge": discharge})
            table.to_csv(out, index=False, float_format="%.15g", lineterminator="\r\n")


if __name__ == "__main__":
    main()
